#include "app/workspace/vigilance_episodes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

VspStage ReadVspStage(int raw, bool artifactSeparate) {
  const int r = static_cast<signed char>(static_cast<std::uint8_t>(raw));
  if (r > 100) return {r - 100, 100};
  if (r >= 21) return {r - 20, artifactSeparate ? 20 : 0};
  return {r, 0};
}

namespace {
// Slot of codes 1..7 per stage type (-1 none).
constexpr std::array<std::array<int, 7>, 4> kSlot = {{
    {0, 1, 2, 3, 4, 5, 6},
    {0, 1, 2, 3, 4, -1, 5},
    {0, 1, 2, -1, 3, -1, 4},
    {0, 1, 2, -1, -1, -1, 3},
}};
int TypeRow(int t) { return t >= 0 && t <= 2 ? t : 3; }
}  // namespace

int StageSlotOf(int code, int stageType, int extraStages) {
  if (code > 20) code -= 20;
  if (code >= 1 && code <= 7) return kSlot[static_cast<std::size_t>(TypeRow(stageType))][static_cast<std::size_t>(code - 1)];
  if (code >= 8 && code <= 10 && code - 7 <= extraStages) return code - 1;
  return -1;
}

int SlotStage(int slot, int stageType, int extraStages) {
  for (int code = 1; code <= 10; ++code)
    if (StageSlotOf(code, stageType, extraStages) == slot && slot >= 0) return code;
  return 0;
}

bool IsSleepStage(int base) { return base >= 2 && base <= 6; }
bool IsNonREMStage(int base) { return base >= 3 && base <= 6; }

int DivisionCount(int divisionLength, int start, int end) {
  if (divisionLength <= 0) return 0;
  const int n = end - start + 1;
  if (n < divisionLength) return 1;
  return (n + divisionLength - 1) / divisionLength;
}

int TrimRange(const VspEpochs& epochs, int trimming, int& start, int& end) {
  if (start > end) std::swap(start, end);
  const int last = epochs.count - 1;
  if (start < 0 || end < 0 || start > last || end > last) return 0;
  auto firstScored = [&](int from, int to) {
    for (int e = from; e <= to; ++e)
      if (epochs.At(e).Scored()) return e;
    return -1;
  };
  auto lastScored = [&](int from, int to) {
    for (int e = to; e >= from; --e)
      if (epochs.At(e).Scored()) return e;
    return -1;
  };
  const int s = firstScored(start, end);
  if (s < 0) return 0;
  start = s;
  if (trimming == 0) {
    end = lastScored(start, end);
    return end >= 0 && start <= end ? 1 : 0;
  }
  // Auto: an episode that began before the range is not the range's.
  const int before = lastScored(0, start - 1);
  const int startBase = epochs.At(start).base;
  if (before < 0 || epochs.At(before).base == startBase) {
    int e = start;
    while (e <= end && (!epochs.At(e).Scored() || epochs.At(e).base == startBase)) ++e;
    if (e > end) return 0;
    start = e;
  }
  end = lastScored(start, end);
  if (end < 0) return 0;
  const int after = firstScored(end + 1, last);
  const int endBase = epochs.At(end).base;
  if (after < 0 || epochs.At(after).base == endBase) {
    int e = end;
    while (e >= start && (!epochs.At(e).Scored() || epochs.At(e).base == endBase)) --e;
    if (e < start) return 0;
    end = e;
  }
  return start <= end ? 1 : 0;
}

VspDivision FindEpisodes(const VspEpochs& epochs, int start, int end, int epochSeconds, int stageType,
                         int extraStages) {
  VspDivision d;
  // Every episode of a slot, in epochs, as the walk ends it.
  std::array<std::vector<int>, kVspSlots> lengths;
  VspStage cur = start <= end ? epochs.At(start) : VspStage{};
  int count = 0;
  int first = start;
  int sleepRun = 0;
  int nremRun = 0;
  auto addRuns = [&](bool closeSleep, bool closeNrem) {
    if (closeSleep) {
      lengths[kVspSleepSlot].push_back(sleepRun);
      sleepRun = 0;
    }
    if (closeNrem) {
      lengths[kVspNonRemSlot].push_back(nremRun);
      nremRun = 0;
    }
  };
  auto countEpoch = [&](const VspStage& s) {
    if (s.cls == 100) return;
    if (IsSleepStage(s.base)) ++sleepRun;
    if (IsNonREMStage(s.base)) ++nremRun;
  };
  auto endEpisode = [&](const VspStage* next) {
    if (count <= 0) return;
    if (cur.cls != 100) {
      if (next != nullptr) {
        const bool nextSleep = IsSleepStage(next->base) && next->cls != 100;
        const bool nextNrem = IsNonREMStage(next->base) && next->cls != 100;
        addRuns(IsSleepStage(cur.base) && !nextSleep, IsNonREMStage(cur.base) && !nextNrem);
      } else {
        addRuns(sleepRun > 0, nremRun > 0);
      }
      const int slot = StageSlotOf(cur.base, stageType, extraStages);
      if (slot >= 0) lengths[static_cast<std::size_t>(slot)].push_back(count);
    }
    d.episodes.push_back({cur.base + cur.cls, first, count});
  };
  for (int e = start; e <= end; ++e) {
    const VspStage s = epochs.At(e);
    if (!s.Scored()) continue;
    if (count > 0 && s.base == cur.base && s.cls == cur.cls) {
      ++count;
      countEpoch(s);
      continue;
    }
    endEpisode(&s);
    cur = s;
    count = 1;
    first = e;
    countEpoch(s);
  }
  endEpisode(nullptr);

  for (int slot = 0; slot < kVspSlots; ++slot) {
    const std::vector<int>& ls = lengths[static_cast<std::size_t>(slot)];
    VspSlotStat& st = d.slots[static_cast<std::size_t>(slot)];
    st.count = static_cast<long>(ls.size());
    for (int l : ls) st.total += static_cast<long>(l) * epochSeconds;
    if (st.count > 0) st.mean = static_cast<double>(st.total) / static_cast<double>(st.count);
    for (int l : ls) {
      const double dev = static_cast<double>(l) * epochSeconds - st.mean;
      st.sumSquares += dev * dev;
    }
    auto& dur = d.durations[static_cast<std::size_t>(slot)];
    for (int l : ls) {
      auto it = std::find_if(dur.begin(), dur.end(), [l](const auto& p) { return p.first == l; });
      if (it != dur.end())
        ++it->second;
      else
        dur.emplace_back(l, 1);
    }
    std::sort(dur.begin(), dur.end());
  }
  return d;
}

std::string VspMeanText(const VspSlotStat& s, const std::string& none) {
  if (s.count < 1) return none;
  char cell[32];
  std::snprintf(cell, sizeof cell, "%ld", s.total / s.count);
  return cell;
}

std::string VspSdText(const VspSlotStat& s, const std::string& none) {
  if (s.count < 2) return none;
  char cell[32];
  std::snprintf(cell, sizeof cell, "%ld", static_cast<long>(std::sqrt(s.sumSquares / static_cast<double>(s.count - 1))));
  return cell;
}
