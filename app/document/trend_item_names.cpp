#include "app/document/trend_item_names.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"

namespace {

std::string Str(std::uint32_t id) { return res::LoadString(id); }

// Sub-item texts of the wave items (1..7 and, up to sub-item 3, item 10).
constexpr std::array<std::uint32_t, 6> kWaveSubs{2134, 2212, 2066, 2213, 2214, 2215};
constexpr std::array<std::uint32_t, 6> kBreathSubs{2224, 2225, 2226, 2221, 2227, 2228};

constexpr std::array<std::uint32_t, kTrendItemCount + 1> kItemNames{
    0,    2054, 2055, 2053, 2056, 0,    0,    0,    2063, 2137, 2060, 2206, 2207,
    2167, 2163, 2165, 2166, 2208, 2209, 2338, 2210, 2211, 2255, 2320, 2321};

std::uint32_t SubItemId(int item, int sub) {
  auto pick = [sub](std::initializer_list<std::uint32_t> ids) -> std::uint32_t {
    return sub >= 0 && sub < static_cast<int>(ids.size()) ? *(ids.begin() + sub) : 0;
  };
  if (item >= 1 && item <= 7) return sub >= 0 && sub < 6 ? kWaveSubs[static_cast<std::size_t>(sub)] : 0;
  switch (item) {
    case 8: return pick({2136});
    case 9: return pick({2216, 2217, 2218});
    case 10: return sub >= 0 && sub < 4 ? kWaveSubs[static_cast<std::size_t>(sub)] : 0;
    case 11: return pick({2234, 2235, 2236});
    case 13: return pick({2220, 2221, 2222, 2223, 2308});
    case 14: case 15: case 16: return sub >= 0 && sub < 6 ? kBreathSubs[static_cast<std::size_t>(sub)] : 0;
    case 17: return pick({2208, 2229});
    case 18: return pick({2230, 2231, 2232});
    case 19: return pick({2339, 2340, 2341});
    case 20: return pick({2240, 2241, 2172});  // the legs, not the lying positions
    case 22: return pick({2256, 2257, 2258, 2259, 2260, 2261, 2502});
    case 23: return pick({2325});
    case 24: return pick({2326});
    default: return 0;
  }
}

const LyrChInfo* Channel(const TrendItemSource& src, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= src.channels.size()) return nullptr;
  return &src.channels[static_cast<std::size_t>(index)];
}

std::string BandName(const TrendItemSource& src, int band) {
  if (src.fftBand == nullptr || band < 0 || band >= static_cast<int>(src.fftBand->bands.size())) return {};
  return src.fftBand->bands[static_cast<std::size_t>(band)].name;
}

// Where an entry's bounds are kept in the trend range tables. The tables' layout is that of
// the settings file: per item group a run of reals or of 16- or 32-bit integers. Item 17's
// position value has a real scale but is kept in the group's 16-bit word (positions are
// whole category numbers).
struct RangeSlot {
  enum Kind { kReal, kU16, kU32 } kind = kReal;
  std::uint16_t mode = 1;  // 1 real, 0 integer
  double* upper = nullptr;
  double* lower = nullptr;
  std::uint16_t* upper16 = nullptr;
  std::uint16_t* lower16 = nullptr;
  std::uint32_t* upper32 = nullptr;
  std::uint32_t* lower32 = nullptr;
};

template <std::size_t N>
RangeSlot Real(std::array<double, N>& up, std::array<double, N>& low, int i) {
  RangeSlot s;
  s.upper = &up[static_cast<std::size_t>(i)];
  s.lower = &low[static_cast<std::size_t>(i)];
  return s;
}
RangeSlot U16(std::uint16_t& up, std::uint16_t& low, std::uint16_t mode) {
  RangeSlot s;
  s.kind = RangeSlot::kU16;
  s.mode = mode;
  s.upper16 = &up;
  s.lower16 = &low;
  return s;
}
RangeSlot U32(std::uint32_t& up, std::uint32_t& low) {
  RangeSlot s;
  s.kind = RangeSlot::kU32;
  s.mode = 0;
  s.upper32 = &up;
  s.lower32 = &low;
  return s;
}

std::optional<RangeSlot> FindRange(int channel, int item, int sub, int index) {
  TrendRangeTable& U = TrendRangeUpper;
  TrendRangeTable& L = TrendRangeLower;
  auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
  if (in(item, 1, 7)) {
    const int w = item - 1;
    const auto wi = static_cast<std::size_t>(w);
    switch (sub) {
      case 0: return Real(U.a, L.a, w);
      case 1: return U16(U.b[wi], L.b[wi], 0);
      case 2: return U32(U.c[wi], L.c[wi]);
      case 3: case 4: case 5: return Real(U.d, L.d, w * 3 + sub - 3);
      default: return std::nullopt;
    }
  }
  switch (item) {
    case 8: if (sub == 0) return Real(U.d, L.d, 21); break;
    case 10: if (in(sub, 0, 3)) return Real(U.d, L.d, 22 + sub); break;
    case 9: if (in(sub, 0, 2)) return Real(U.f, L.f, sub); break;
    case 11: if (in(sub, 0, 2)) return Real(U.f, L.f, 3 + sub); break;
    case 12: if (sub == 0) return Real(U.f, L.f, 6); break;
    case 13: if (in(sub, 0, 4)) return Real(U.f, L.f, 7 + sub); break;
    case 14: case 15: case 16:
      if (in(sub, 0, 5)) return Real(U.f, L.f, 12 + (item - 14) * 6 + sub);
      break;
    case 17:
      if (sub == 0) return U16(U.e, L.e, 1);
      if (sub == 1) return U16(U.g, L.g, 0);
      break;
    case 18: if (in(sub, 0, 2)) return Real(U.h, L.h, sub); break;
    case 19: if (in(sub, 0, 2)) return Real(U.m, L.m, sub); break;
    case 20:
      if (index == 0 || index == 1) return U16(U.i[static_cast<std::size_t>(index)], L.i[static_cast<std::size_t>(index)], 0);
      if (index == 2) return U32(U.j, L.j);
      break;
    case 21: if (in(sub, 0, 11)) return Real(U.k, L.k, sub); break;
    case 22:
      if (in(sub, 0, 6) && in(channel, 0, kTrendFreeSlots - 1)) return Real(U.k, L.k, 12 + sub * kTrendFreeSlots + channel);
      break;
    case 23: case 24:
      if (index == 0) return U16(U.l[static_cast<std::size_t>(item - 23)], L.l[static_cast<std::size_t>(item - 23)], 0);
      break;
    default: break;
  }
  return std::nullopt;
}

template <typename T>
T ClampTo(double v) {
  return static_cast<T>(std::clamp(v, 0.0, static_cast<double>(std::numeric_limits<T>::max())));
}

}  // namespace

TrendItemSource TrendItemSourceOf(const CQLM2_AnalyzerDoc& doc) {
  TrendItemSource s;
  s.waveForm = &doc.Params.waveForm;
  s.fftBand = &doc.Params.fftBand;
  s.sleepDstrb = &doc.Params.sleepDstrb;
  const int n = std::clamp(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
  s.channels = std::span<const LyrChInfo>(doc.ChInfo.data(), static_cast<std::size_t>(n));
  return s;
}

std::string GetTrendItemName(const TrendItemSource& src, int item) {
  if (item < 1 || item > kTrendItemCount) return {};
  if (item >= 5 && item <= 7) {
    if (src.waveForm == nullptr) return {};
    return src.waveForm->bands[static_cast<std::size_t>(WaveFormRecognitionParam::kBand1 + item - 5)].name;
  }
  return Str(kItemNames[static_cast<std::size_t>(item)]);
}

std::string GetTrendItemFullName(const TrendItemSource& src, int item, int sub) {
  if (item == 21) {
    if (sub >= 0 && sub < 6) return BandName(src, sub) + "_Power";
    if (sub >= 6 && sub < 12) return BandName(src, sub - 6) + "_Ratio";
    return {};
  }
  const std::uint32_t id = SubItemId(item, sub);
  return id != 0 ? Str(id) : std::string();
}

std::string GetTrendSubItemName(const TrendItemSource& src, int item, int sub, int index) {
  if (item == 20) {
    if (sub < 0 || sub > 2) return {};
    switch (index) {
      case 0: return Str(2237);
      case 1: return Str(2238);
      case 2: return Str(2239);
      default: return {};
    }
  }
  if (item == 21 || item == 22) {
    const LyrChInfo* ch = Channel(src, index);
    return ch != nullptr ? ch->name : std::string();
  }
  return {};
}

std::string GetTrendItemUnit(const TrendItemSource& src, int item, int sub, int index) {
  const bool wave = item >= 1 && item <= 7;
  if ((wave || item == 10) && sub == 0) return Str(2243);
  if ((wave || item == 10) && sub == 2) return Str(2312);
  if (wave && sub == 4) return Str(2313);
  if (item == 11 && sub >= 0 && sub <= 2) return Str(2314);
  if (item == 12 && sub == 0) return Str(2314);
  if (item == 13 && sub == 1) return Str(2312);
  if (item >= 14 && item <= 16 && (sub == 2 || sub == 3)) return Str(2314);
  if (item >= 14 && item <= 16 && (sub == 4 || sub == 5)) return Str(2312);
  if (item == 20 && sub >= 0 && sub <= 2 && index == 2) return Str(2314);
  if (item == 21) {
    const LyrChInfo* ch = Channel(src, index);
    if (ch == nullptr) return {};
    if (sub >= 0 && sub < 6) {
      const bool amplitude = src.fftBand != nullptr && src.fftBand->unit != 0;
      return amplitude ? ch->unit : ch->unit + Str(2315);
    }
    if (sub >= 6 && sub < 12) return "%";
    return {};
  }
  if (item == 22 && sub == 6) return "%";
  return {};
}

std::string GetDrawTypeName(int type) {
  static constexpr std::array<std::uint32_t, 4> kIds{2264, 2269, 2265, 2266};
  return type >= 0 && type < 4 ? Str(kIds[static_cast<std::size_t>(type)]) : std::string();
}

std::string GetPositionName(const SleepDstrbParam& block, int i) {
  const int count = std::clamp(block.positionsInUse, 0, static_cast<int>(block.positions.size()));
  return i >= 0 && i < count ? block.positions[static_cast<std::size_t>(i)].name : std::string();
}

int IsDrawTypeAllowed(int item, int sub, int type) {
  if (type != 3) return 1;
  if (item >= 14 && item <= 16 && (sub == 0 || sub == 2 || sub == 4)) return 0;
  if (item == 17 && sub == 0) return 0;
  return 1;
}

void GetTrendItemRange(int channel, int item, int sub, int index, std::uint16_t* mode, std::int32_t* upperInt,
                       std::int32_t* lowerInt, double* upperReal, double* lowerReal) {
  const TrendItemRange r = GetTrendItemRange(channel, item, sub, index);
  if (mode != nullptr) *mode = r.mode;
  if (upperInt != nullptr) *upperInt = r.upperInt;
  if (lowerInt != nullptr) *lowerInt = r.lowerInt;
  if (upperReal != nullptr) *upperReal = r.upperReal;
  if (lowerReal != nullptr) *lowerReal = r.lowerReal;
}

TrendItemRange GetTrendItemRange(int channel, int item, int sub, int index) {
  TrendItemRange r;
  const std::optional<RangeSlot> s = FindRange(channel, item, sub, index);
  if (!s) return r;
  r.mode = s->mode;
  double up = 0.0, low = 0.0;
  switch (s->kind) {
    case RangeSlot::kReal: up = *s->upper, low = *s->lower; break;
    case RangeSlot::kU16: up = *s->upper16, low = *s->lower16; break;
    case RangeSlot::kU32: up = *s->upper32, low = *s->lower32; break;
  }
  if (r.mode == 1) {
    r.upperReal = up, r.lowerReal = low;
  } else {
    r.upperInt = static_cast<std::int32_t>(std::min(up, 2147483647.0));
    r.lowerInt = static_cast<std::int32_t>(std::min(low, 2147483647.0));
  }
  return r;
}

void SetTrendItemRange(int channel, int item, int sub, int index, std::uint16_t mode, std::int32_t upperInt,
                       std::int32_t lowerInt, double upperReal, double lowerReal) {
  (void)mode;  // every entry keeps the form of its own mode
  const std::optional<RangeSlot> s = FindRange(channel, item, sub, index);
  if (!s) return;
  const double up = s->mode == 1 ? upperReal : upperInt;
  const double low = s->mode == 1 ? lowerReal : lowerInt;
  switch (s->kind) {
    case RangeSlot::kReal: *s->upper = up, *s->lower = low; break;
    case RangeSlot::kU16: *s->upper16 = ClampTo<std::uint16_t>(std::round(up)), *s->lower16 = ClampTo<std::uint16_t>(std::round(low)); break;
    case RangeSlot::kU32: *s->upper32 = ClampTo<std::uint32_t>(up), *s->lower32 = ClampTo<std::uint32_t>(low); break;
  }
}
