#include "app/scoring/resp_event_recognition.h"

#include "app/scoring/recog_series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

using Resp = LyrRecgnizeSleepDisturbanceResp;

constexpr int kStartWindow = 150;  // points of the starting band (37.5 s)

const SleepDstrbParam::Respiration* RecordOf(const SleepDstrbParam& p, int kindIndex) {
  switch (kindIndex) {
    case 0: return &p.airFlow;
    case 1: return &p.chest;
    case 2: return &p.abdomen;
    default: return nullptr;
  }
}

// The first n elements of a table, n = min(size, limit).
template <class T>
std::span<T> Head(std::vector<T>& v, std::int64_t limit) {
  const auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(limit, 0, static_cast<std::int64_t>(v.size())));
  return std::span<T>(v.data(), n);
}

void Fill(std::span<std::uint8_t> t, std::int64_t from, std::int64_t to, std::uint8_t code) {
  from = std::max<std::int64_t>(from, 0);
  to = std::min<std::int64_t>(to, static_cast<std::int64_t>(t.size()));
  for (std::int64_t i = from; i < to; ++i) t[static_cast<std::size_t>(i)] = code;
}

}  // namespace

int Resp::SecondsToPoints(double seconds, int pointsPerEpoch, int epochSeconds) {
  if (epochSeconds <= 0 || pointsPerEpoch <= 0) return 0;
  const double pts = seconds * pointsPerEpoch / epochSeconds;
  if (!(pts > 0.0)) return 0;
  if (pts >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(pts);
}

int Resp::GetRespChannel(const SleepDstrbParam& p, int kindIndex, int* channel, double* peakLevel) {
  const auto* r = RecordOf(p, kindIndex);
  if (!r) {
    *channel = -1;
    *peakLevel = 0.0;
    return -1;
  }
  *channel = r->channel;
  *peakLevel = r->values[kRespPeakLevel];
  return kKindAirFlow + kindIndex;
}

double Resp::GetFullScaleAmplitude(const SleepDstrbParam& p, int kindIndex) {
  const auto* r = RecordOf(p, kindIndex);
  return r ? r->values[kRespFullScale] : 0.0;
}

bool Resp::CollectRepresentValues(const LyrEpochParameter& epochs, int slot, int pointsPerEpoch,
                                  std::span<float> out) {
  return sleeprun::CollectSeries(epochs, slot, pointsPerEpoch, out);
}

int Resp::FindStartDirection(std::span<const float> values, double level) {
  const std::size_t m = std::min<std::size_t>(values.size(), kStartWindow);
  if (m == 0) return 0;
  double sum = 0.0;
  for (std::size_t i = 0; i < m; ++i) sum += values[i];
  const double mean = sum / static_cast<double>(m);
  const double upper = mean + level / 2.0;
  const double lower = mean - level / 2.0;
  for (float v : values) {
    if (v > upper) return 1;
    if (v < lower) return -1;
  }
  return 0;
}

int Resp::GetPeakForSleepDisturbance(std::span<const float> values, double level,
                                     std::vector<RespPeakEntry>* tops, std::vector<RespPeakEntry>* bottoms) {
  tops->clear();
  bottoms->clear();
  const int direction = FindStartDirection(values, level);
  if (direction == 0) return 0;
  bool seekTop = direction > 0;
  double maxV = -std::numeric_limits<double>::infinity();
  double minV = std::numeric_limits<double>::infinity();
  std::int32_t maxI = 0;
  std::int32_t minI = 0;
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(values.size(), std::numeric_limits<std::int32_t>::max()));
  for (std::int32_t i = 0; i < n; ++i) {
    const double v = values[static_cast<std::size_t>(i)];
    if (seekTop) {
      if (v > maxV) {
        maxV = v;
        maxI = i;
      } else if (v <= maxV - level) {
        tops->push_back({maxI, static_cast<float>(maxV)});
        seekTop = false;
        minV = v;
        minI = i;
      }
    } else {
      if (v < minV) {
        minV = v;
        minI = i;
      } else if (v >= minV + level) {
        bottoms->push_back({minI, static_cast<float>(minV)});
        seekTop = true;
        maxV = v;
        maxI = i;
      }
    }
  }
  return 1;
}

std::vector<RespPeakEntry> Resp::MergePeaks(std::span<const RespPeakEntry> tops,
                                            std::span<const RespPeakEntry> bottoms) {
  const bool topFirst = !tops.empty() && (bottoms.empty() || tops[0].point < bottoms[0].point);
  const auto first = topFirst ? tops : bottoms;
  const auto second = topFirst ? bottoms : tops;
  std::vector<RespPeakEntry> out;
  out.reserve(tops.size() + bottoms.size());
  std::size_t a = 0;
  std::size_t b = 0;
  for (bool firstsTurn = true;; firstsTurn = !firstsTurn) {
    if (firstsTurn) {
      if (a >= first.size()) break;
      out.push_back(first[a++]);
    } else {
      if (b >= second.size()) break;
      out.push_back(second[b++]);
    }
  }
  return out;
}

std::vector<RespPeakEntry> Resp::PeakToPeakAmplitudes(std::span<const RespPeakEntry> tops,
                                                      std::span<const RespPeakEntry> bottoms) {
  const auto merged = MergePeaks(tops, bottoms);
  std::vector<RespPeakEntry> out;
  if (merged.size() < 2) return out;
  out.reserve(merged.size() - 1);
  for (std::size_t i = 1; i < merged.size(); ++i)
    out.push_back({merged[i].point, std::fabs(merged[i].value - merged[i - 1].value)});
  return out;
}

void Resp::BuildEnvelope(std::span<const RespPeakEntry> peaks, std::span<float> out) {
  const auto n = static_cast<std::int64_t>(out.size());
  if (n == 0) return;
  if (peaks.empty()) {
    std::fill(out.begin(), out.end(), 0.0f);
    return;
  }
  auto clampIndex = [n](std::int64_t i) { return std::clamp<std::int64_t>(i, -1, n - 1); };
  const std::int64_t first = clampIndex(peaks.front().point);
  for (std::int64_t p = 0; p <= first; ++p) out[static_cast<std::size_t>(p)] = peaks.front().value;
  std::int64_t done = first;  // last point written
  for (std::size_t k = 1; k < peaks.size(); ++k) {
    const std::int64_t e = peaks[k - 1].point;
    const std::int64_t l = peaks[k].point;
    if (l <= e) continue;
    const double ev = peaks[k - 1].value;
    const double lv = peaks[k].value;
    const std::int64_t to = clampIndex(l);
    for (std::int64_t p = std::max<std::int64_t>(e + 1, 0); p <= to; ++p)
      out[static_cast<std::size_t>(p)] = static_cast<float>(ev + (lv - ev) * static_cast<double>(p - e) /
                                                                     static_cast<double>(l - e));
    done = std::max(done, to);
  }
  const float last = peaks.back().value;
  const std::int64_t lastIndex = std::max(clampIndex(peaks.back().point), done);
  for (std::int64_t p = lastIndex + 1; p < n; ++p) out[static_cast<std::size_t>(p)] = last;
}

void Resp::ClearPeaklessGaps(std::span<const RespPeakEntry> tops, std::span<const RespPeakEntry> bottoms,
                             int gapPoints, int marginPoints, std::span<float> amplitude) {
  const auto n = static_cast<std::int64_t>(amplitude.size());
  std::int64_t previous = 0;
  for (const auto& peak : MergePeaks(tops, bottoms)) {
    const std::int64_t c = peak.point;
    if (c > previous + 2 * static_cast<std::int64_t>(marginPoints) + gapPoints) {
      const std::int64_t from = std::max<std::int64_t>(previous + marginPoints + 1, 0);
      const std::int64_t to = std::min<std::int64_t>(c - marginPoints - 1, n - 1);
      for (std::int64_t p = from; p <= to; ++p) amplitude[static_cast<std::size_t>(p)] = 0.0f;
    }
    previous = c;
  }
}

void Resp::MarkFlatRuns(std::span<const float> amplitude, float threshold, int minRun, std::uint8_t code,
                        std::span<std::uint8_t> flags) {
  const auto n = static_cast<std::int64_t>(std::min(amplitude.size(), flags.size()));
  std::int64_t start = -1;
  for (std::int64_t i = 0; i <= n; ++i) {
    const bool flat = i < n && amplitude[static_cast<std::size_t>(i)] < threshold;
    if (flat) {
      if (start < 0) start = i;
    } else if (start >= 0) {
      if (i - start >= minRun) Fill(flags, start, i, code);
      start = -1;
    }
  }
}

void Resp::AlignAmplitudeMarkers(std::array<std::span<float>, 3> amplitudes) {
  std::size_t n = std::numeric_limits<std::size_t>::max();
  bool any = false;
  for (const auto& a : amplitudes)
    if (!a.empty()) {
      n = std::min(n, a.size());
      any = true;
    }
  if (!any) return;
  for (std::size_t p = 0; p < n; ++p) {
    bool marked = false;
    for (const auto& a : amplitudes) marked = marked || (!a.empty() && a[p] == 2.0f);
    if (!marked) continue;
    for (auto& a : amplitudes)
      if (!a.empty()) a[p] = 2.0f;
  }
}

int Resp::JudgeEffortFlatness(std::span<const std::uint8_t> effort, int p, int q, int lagPoints, int minFlatRun) {
  if (q <= p) return 0;
  const auto size = static_cast<std::int64_t>(effort.size());
  auto at = [&](std::int64_t i) { return i >= 0 && i < size ? effort[static_cast<std::size_t>(i)] : 0; };
  std::int64_t s = static_cast<std::int64_t>(p) - 1;
  for (std::int64_t i = static_cast<std::int64_t>(q) - 1; i >= p; --i)
    if (at(i) == kFlatApnea) {
      s = i;
      break;
    }
  std::int64_t flat = 0;
  std::int64_t run = 0;
  for (std::int64_t i = p; i <= s + 1; ++i) {
    if (i <= s && at(i) == kFlatApnea) {
      ++run;
      continue;
    }
    if (run > 0 && run >= minFlatRun) flat += run;
    run = 0;
  }
  const double share = static_cast<double>(flat) / static_cast<double>(static_cast<std::int64_t>(q) - p);
  if (static_cast<std::int64_t>(q) - 1 - s < lagPoints) return share >= 0.5 ? 1 : 0;
  return share >= 0.25 ? 2 : 0;
}

std::uint8_t Resp::ApneaClass(int abdomen, int chest) {
  auto one = [](int r) -> std::uint8_t {
    return r == 1 ? kRespCentral : r == 2 ? kRespMixed : kRespObstructive;
  };
  if (abdomen < 0) return chest < 0 ? std::uint8_t{kRespObstructive} : one(chest);
  if (chest < 0) return one(abdomen);
  if (abdomen == 1) return one(chest);
  if (abdomen == 2) return chest == 0 ? std::uint8_t{kRespObstructive} : std::uint8_t{kRespMixed};
  return kRespObstructive;
}

void Resp::ClassifyRespEvents(Pass pass, std::span<const std::uint8_t> airFlow, int minEvent, int lagPoints,
                              const Effort& abdomen, const Effort& chest, std::span<std::uint8_t> events) {
  const std::uint8_t code = pass == kHypopneaPass ? kFlatHypopnea : kFlatApnea;
  const auto n = static_cast<std::int64_t>(airFlow.size());
  const auto eventCount = static_cast<std::int64_t>(events.size());
  std::int64_t p = 0;
  while (p < n) {
    if (airFlow[static_cast<std::size_t>(p)] != code) {
      ++p;
      continue;
    }
    std::int64_t q = p;
    if (pass == kApneaPass) {
      while (q < n && airFlow[static_cast<std::size_t>(q)] == kFlatApnea) ++q;
    } else {
      while (q < n && airFlow[static_cast<std::size_t>(q)] != 0) ++q;
    }
    if (q - p >= minEvent) {
      if (pass == kHypopneaPass) {
        Fill(events, p, q, kRespHypopnea);
      } else {
        const int pi = static_cast<int>(p);
        const int qi = static_cast<int>(q);
        const int a = abdomen.Present() ? JudgeEffortFlatness(abdomen.flags, pi, qi, lagPoints, abdomen.minFlatRun) : -1;
        const int c = chest.Present() ? JudgeEffortFlatness(chest.flags, pi, qi, lagPoints, chest.minFlatRun) : -1;
        Fill(events, p, q, ApneaClass(a, c));
        // A hypopnea joined to the new apnea through non-zero codes is part of it.
        for (std::int64_t i = std::min(p, eventCount) - 1; i >= 0 && events[static_cast<std::size_t>(i)] != 0; --i)
          if (events[static_cast<std::size_t>(i)] == kRespHypopnea) events[static_cast<std::size_t>(i)] = 0;
        for (std::int64_t i = q; i < eventCount && events[static_cast<std::size_t>(i)] != 0; ++i)
          if (events[static_cast<std::size_t>(i)] == kRespHypopnea) events[static_cast<std::size_t>(i)] = 0;
      }
    }
    p = q + 1;
  }
}

void Resp::Report(const char* method) const {
  if (src_.report) src_.report(method);
}

void Resp::Recognize() {
  // Running out of memory for the work series ends the run; the tables keep what
  // was written so far.
  try {
    Run();
  } catch (const std::bad_alloc&) {
    Report("LyrRecgnizeSleepDisturbanceResp::Recognize");
  } catch (const std::length_error&) {
    Report("LyrRecgnizeSleepDisturbanceResp::Recognize");
  }
}

void Resp::Run() {
  if (!src_.param || !src_.epochs || !src_.tables) return;
  const SleepDstrbParam& prm = *src_.param;
  const LyrEpochParameter& epochs = *src_.epochs;
  SleepDstrbTables& t = *src_.tables;
  if (t.AirFlow().empty() || (t.RespC().empty() && t.RespA().empty())) return;
  if (src_.epochCount <= 0 || !epochs.Rprsnt(kRprsntAirFlow, 0)) return;
  const int r = LyrEpochParameter::GetRprsntNumResp(src_.epochSeconds);
  if (r <= 0) return;
  const std::int64_t n64 = static_cast<std::int64_t>(r) * src_.epochCount;
  if (n64 > std::numeric_limits<std::int32_t>::max()) return;
  const auto n = static_cast<std::size_t>(n64);
  auto points = [&](double seconds) { return SecondsToPoints(seconds, r, src_.epochSeconds); };

  SleepDstrbChannels ch;
  ch.airFlow = prm.airFlow.channel;
  ch.chest = prm.chest.channel;
  ch.abdomen = prm.abdomen.channel;

  static constexpr int kSlots[3] = {kRprsntAirFlow, kRprsntRespC, kRprsntRespA};
  std::vector<std::uint8_t>* flagTables[3] = {&t.AirFlow(), &t.RespC(), &t.RespA()};
  RespPeakTable* ppTables[3] = {&t.AirFlowPPAmp(), &t.RespCPPAmp(), &t.RespAPPAmp()};

  std::vector<float> values(n), upper(n), lower(n);
  std::array<std::vector<float>, 3> amplitude;
  std::vector<RespPeakEntry> tops, bottoms;

  for (int k = 0; k < 3; ++k) {
    int channel = -1;
    double peakLevel = 0.0;
    const int kind = GetRespChannel(prm, k, &channel, &peakLevel);
    if (kind == -1 || channel == -1) continue;
    if (!CollectRepresentValues(epochs, kSlots[k], r, values)) continue;
    try {
      GetPeakForSleepDisturbance(values, peakLevel, &tops, &bottoms);
    } catch (const std::bad_alloc&) {  // go on with the peaks found so far
      Report("LyrRecgnizeSleepDisturbanceResp::GetPeakForSleepDisturbance");
    }

    // Peak tables, replaced on every run.
    const auto topCount = static_cast<int>(tops.size());
    const auto bottomCount = static_cast<int>(bottoms.size());
    switch (kind) {
      case kKindAirFlow:
        t.AllocateAirFlowPeakTopTbl(ch, topCount);
        t.AllocateAirFlowPeakBottomTbl(ch, bottomCount);
        t.AllocateAirFlowPPAmpTbl(ch, std::max(topCount + bottomCount - 1, 0));
        break;
      case kKindChest:
        t.AllocateRespCPeakTopTbl(ch, topCount);
        t.AllocateRespCPeakBottomTbl(ch, bottomCount);
        t.AllocateRespCPPAmpTbl(ch, std::max(topCount + bottomCount - 1, 0));
        break;
      default:
        t.AllocateRespAPeakTopTbl(ch, topCount);
        t.AllocateRespAPeakBottomTbl(ch, bottomCount);
        t.AllocateRespAPPAmpTbl(ch, std::max(topCount + bottomCount - 1, 0));
        break;
    }
    if (topCount > 0) t.SetRespPeakTbl(kind, 1, tops.data());
    if (bottomCount > 0) t.SetRespPeakTbl(kind, -1, bottoms.data());
    const auto pp = PeakToPeakAmplitudes(tops, bottoms);
    RespPeakTable& ppTable = *ppTables[k];
    const std::size_t ppCount = std::min(pp.size(), ppTable.entries.size());
    std::copy_n(pp.begin(), ppCount, ppTable.entries.begin());
    ppTable.count = static_cast<std::int32_t>(ppCount);

    BuildEnvelope(tops, upper);
    BuildEnvelope(bottoms, lower);
    auto& amp = amplitude[static_cast<std::size_t>(k)];
    amp.resize(n);
    for (std::size_t p = 0; p < n; ++p) amp[p] = upper[p] - lower[p];

    const auto& rec = *RecordOf(prm, k);
    const int margin = points(1.0);
    ClearPeaklessGaps(tops, bottoms, points(rec.values[kRespHypopneaMinS]), margin, amp);
    ClearPeaklessGaps(tops, bottoms, points(rec.values[kRespApneaMinS]), margin, amp);
    const auto threshold = static_cast<float>(rec.values[kRespHypopneaLevel] * 0.01 * GetFullScaleAmplitude(prm, k));
    MarkFlatRuns(amp, threshold, points(rec.values[kRespHypopneaMinS]), kFlatHypopnea, Head(*flagTables[k], n64));
  }

  AlignAmplitudeMarkers({std::span<float>(amplitude[0]), std::span<float>(amplitude[1]),
                         std::span<float>(amplitude[2])});

  for (int k = 0; k < 3; ++k) {
    const auto& amp = amplitude[static_cast<std::size_t>(k)];
    if (amp.empty()) continue;
    const auto& rec = *RecordOf(prm, k);
    const auto threshold = static_cast<float>(rec.values[kRespApneaLevel] * 0.01 * GetFullScaleAmplitude(prm, k));
    MarkFlatRuns(amp, threshold, points(rec.values[kRespApneaMinS]), kFlatApnea, Head(*flagTables[k], n64));
  }

  const auto airFlowFlags = Head(t.AirFlow(), n64);
  const Effort abdomen{Head(t.RespA(), n64), points(prm.abdomen.values[kRespHypopneaMinS])};
  const Effort chest{Head(t.RespC(), n64), points(prm.chest.values[kRespHypopneaMinS])};
  const int lag = points(prm.airFlow.values[kRespLagS]);
  const auto events = Head(t.RespRcgnz(), n64);
  ClassifyRespEvents(kHypopneaPass, airFlowFlags, points(prm.airFlow.values[kRespHypopneaMinS]), lag, abdomen,
                     chest, events);
  ClassifyRespEvents(kApneaPass, airFlowFlags, points(prm.airFlow.values[kRespApneaMinS]), lag, abdomen, chest,
                     events);

  if (src_.recognisedWord) *src_.recognisedWord = 1;
}
