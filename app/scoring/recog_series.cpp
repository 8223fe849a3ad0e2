#include "app/scoring/recog_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sleeprun {

bool CollectSeries(const LyrEpochParameter& epochs, int slot, int pointsPerEpoch, std::span<float> out) {
  std::fill(out.begin(), out.end(), 0.0f);
  if (pointsPerEpoch <= 0) return false;
  const auto r = static_cast<std::size_t>(pointsPerEpoch);
  const auto perEpoch = static_cast<std::size_t>(std::clamp(epochs.RprsntCount(slot), 0, pointsPerEpoch));
  const std::size_t epochCount = out.size() / r;
  bool any = false;
  for (std::size_t e = 0; e < epochCount; ++e) {
    const float* v = epochs.Rprsnt(slot, static_cast<int>(e));
    if (!v) continue;
    any = true;
    std::copy_n(v, perEpoch, out.begin() + static_cast<std::ptrdiff_t>(e * r));
  }
  return any;
}

int TenthsToPoints(double seconds) {
  // Multiplying by 10 keeps typed tenths exact (4.9 s is 49 points, not 48).
  const double pts = seconds * 10.0;
  if (!(pts > 0.0)) return 0;
  if (pts >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(pts);
}

std::vector<std::uint8_t> EpochStages(const LyrEpochParameter& epochs, int stageType, int epochCount,
                                      int firstEpoch) {
  std::vector<std::uint8_t> stages(static_cast<std::size_t>(std::max(epochCount, 0)));
  for (int e = 0; e < epochCount; ++e)
    stages[static_cast<std::size_t>(e)] = epochs.GetStage(stageType, firstEpoch + e, 0);
  return stages;
}

std::uint8_t StageAt(std::span<const std::uint8_t> stages, std::int64_t p, int pointsPerEpoch) {
  if (pointsPerEpoch <= 0 || p < 0) return 0;
  const std::int64_t e = p / pointsPerEpoch;
  return e < static_cast<std::int64_t>(stages.size()) ? stages[static_cast<std::size_t>(e)] : 0;
}

bool IsWakeOrMT(std::uint8_t stage) { return stage == 1 || stage == 7 || stage == 21 || stage == 27; }

bool IsLimbDropStage(std::uint8_t stage) { return stage == 0 || stage == 20 || IsWakeOrMT(stage); }

int CountRunsInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch, int* points) {
  if (points) *points = 0;
  const auto n = static_cast<std::int64_t>(mask.size());
  if (epoch < 0 || pointsPerEpoch <= 0) return 0;
  const std::int64_t first = static_cast<std::int64_t>(epoch) * pointsPerEpoch;
  const std::int64_t last = std::min(first + pointsPerEpoch - 1, n - 1);
  int count = 0;
  std::int64_t length = 0;
  std::int64_t run = 0;  // marked points just before `first`, when a run crosses into the epoch
  for (std::int64_t i = first - 1; i >= 0 && mask[static_cast<std::size_t>(i)] != 0; --i) ++run;
  for (std::int64_t i = first; i <= last; ++i) {
    if (mask[static_cast<std::size_t>(i)] == 0) {
      run = 0;
      continue;
    }
    ++run;
    const bool ends = i + 1 >= n || mask[static_cast<std::size_t>(i + 1)] == 0;
    if (ends) {
      ++count;
      length += run;
      run = 0;
    }
  }
  if (points) *points = static_cast<int>(std::min<std::int64_t>(length, std::numeric_limits<int>::max()));
  return count;
}

}  // namespace sleeprun
