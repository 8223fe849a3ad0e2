#include "app/scoring/arousal_lm_snore.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

// Calls onRun(first, last) for every run of points where above(i) holds.
template <class Above, class OnRun>
void ForEachRun(std::int64_t n, Above above, OnRun onRun) {
  std::int64_t start = -1;
  for (std::int64_t i = 0; i <= n; ++i) {
    if (i < n && above(i)) {
      if (start < 0) start = i;
    } else if (start >= 0) {
      onRun(start, i - 1);
      start = -1;
    }
  }
}

bool LengthFits(std::int64_t first, std::int64_t last, int minPts, int maxPts) {
  const std::int64_t length = last - first + 1;
  return length >= minPts && length <= maxPts;
}

template <class T>
std::span<T> Head(std::vector<T>& v, std::int64_t limit) {
  const auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(limit, 0, static_cast<std::int64_t>(v.size())));
  return std::span<T>(v.data(), n);
}

void Fill(std::span<std::uint8_t> t, std::int64_t first, std::int64_t last, std::uint8_t value) {
  const std::int64_t to = std::min<std::int64_t>(last, static_cast<std::int64_t>(t.size()) - 1);
  for (std::int64_t i = std::max<std::int64_t>(first, 0); i <= to; ++i) t[static_cast<std::size_t>(i)] = value;
}

// Point count of the recording, or 0 when it does not fit the tables' index type.
std::int64_t PointCount(int epochCount, int pointsPerEpoch) {
  if (epochCount <= 0 || pointsPerEpoch <= 0) return 0;
  const std::int64_t n = static_cast<std::int64_t>(epochCount) * pointsPerEpoch;
  return n > std::numeric_limits<std::int32_t>::max() ? 0 : n;
}

}  // namespace

void sleeprun::Guarded(const SleepDstrbSources& src, const char* method, const std::function<void()>& body) {
  try {
    body();
  } catch (const std::bad_alloc&) {
    if (src.report) src.report(method);
  } catch (const std::length_error&) {
    if (src.report) src.report(method);
  }
}

// ---- arousal ---------------------------------------------------------------------------------

void LyrRecognizeArousal::Detect(std::span<const std::uint8_t> values, std::span<std::uint8_t> marks,
                                 unsigned threshold, int minPts, int maxPts, int pointsPerEpoch,
                                 std::span<const std::uint8_t> stages) {
  const auto n = static_cast<std::int64_t>(std::min(values.size(), marks.size()));
  std::fill_n(marks.begin(), n, std::uint8_t{0});
  ForEachRun(
      n,
      [&](std::int64_t i) {
        const unsigned v = values[static_cast<std::size_t>(i)];
        return v * v >= threshold;
      },
      [&](std::int64_t first, std::int64_t last) {
        if (sleeprun::IsWakeOrMT(sleeprun::StageAt(stages, last, pointsPerEpoch))) return;
        if (LengthFits(first, last, minPts, maxPts)) Fill(marks, first, last, 1);
      });
}

void LyrRecognizeArousal::Recognize(int epochCount, int pointsPerEpoch) {
  sleeprun::Guarded(src_, "LyrRecognizeArousal::Recognize", [&] {
    if (!bound_ || !src_.param || !src_.epochs || !src_.tables) return;
    const std::int64_t n = PointCount(epochCount, pointsPerEpoch);
    auto& values = src_.tables->ArousalPeakNum();
    auto& marks = src_.tables->ArousalRecognize();
    if (n < 1 || values.empty() || marks.empty()) return;
    const auto stages = sleeprun::EpochStages(*src_.epochs, src_.stageType, epochCount, src_.firstEpoch);
    const auto& a = src_.param->arousal;
    Detect(Head(values, n), Head(marks, n), src_.param->arousalThreshold, sleeprun::TenthsToPoints(a.values[1]),
           sleeprun::TenthsToPoints(a.values[2]), pointsPerEpoch, stages);
  });
}

// ---- limb movement ---------------------------------------------------------------------------

void LyrRecognizeLimbMovement::DetectMovements(std::span<const float> values, double level, int minPts,
                                               int maxPts, int pointsPerEpoch, std::span<const std::uint8_t> stages,
                                               bool skip, std::span<std::uint8_t> mask, std::span<std::uint8_t> leg) {
  std::fill(mask.begin(), mask.end(), std::uint8_t{0});
  const auto n = static_cast<std::int64_t>(std::min(values.size(), mask.size()));
  ForEachRun(
      n, [&](std::int64_t i) { return std::fabs(values[static_cast<std::size_t>(i)]) > level; },
      [&](std::int64_t first, std::int64_t last) {
        if (skip && sleeprun::IsLimbDropStage(sleeprun::StageAt(stages, last, pointsPerEpoch))) return;
        if (!LengthFits(first, last, minPts, maxPts)) return;
        Fill(mask, first, last, 1);
        Fill(leg, first, last, 1);
      });
}

void LyrRecognizeLimbMovement::ApplySeparation(std::span<std::uint8_t> mask, std::span<std::uint8_t> leg,
                                               int separationPts) {
  const auto n = static_cast<std::int64_t>(mask.size());
  auto marked = [&](std::int64_t i) { return i >= 0 && i < n && mask[static_cast<std::size_t>(i)] != 0; };
  std::int64_t i = 0;
  while (i < n) {
    if (!marked(i) || marked(i - 1)) {
      ++i;
      continue;
    }
    const std::int64_t s = i;
    const std::int64_t windowLast = std::min<std::int64_t>(s + separationPts - 1, n - 1);
    std::int64_t end = s;  // last point of the first movement
    while (marked(end + 1)) ++end;
    if (end >= windowLast) {
      i = end + 1;
      continue;
    }
    std::int64_t second = end + 1;
    while (second <= windowLast && !marked(second)) ++second;
    if (second > windowLast) {
      i = windowLast + 1;
      continue;
    }
    // A movement running on past the window goes with it.
    std::int64_t clearLast = windowLast;
    while (marked(windowLast) && marked(clearLast + 1)) ++clearLast;
    Fill(mask, second, clearLast, 0);
    Fill(leg, second, clearLast, 0);
    i = clearLast + 1;
  }
}

void LyrRecognizeLimbMovement::BuildBothLegs(std::span<const std::uint8_t> left, std::span<const std::uint8_t> right,
                                             std::span<std::uint8_t> both) {
  if (left.empty() && right.empty()) return;
  auto on = [](std::span<const std::uint8_t> t, std::size_t p) { return p < t.size() && t[p] != 0; };
  bool previous = false;
  for (std::size_t p = 0; p < both.size(); ++p) {
    const bool counted = (left.empty() || on(left, p)) && (right.empty() || on(right, p));
    both[p] = counted ? (previous ? 1 : 2) : 0;
    previous = counted;
  }
}

void LyrRecognizeLimbMovement::Recognize(int skip) {
  sleeprun::Guarded(src_, "LyrRecognizeLimbMovement::Recognize", [&] {
    if (!bound_ || !src_.param || !src_.epochs || !src_.tables) return;
    const SleepDstrbParam& prm = *src_.param;
    SleepDstrbTables& t = *src_.tables;
    const int r = LyrEpochParameter::GetRprsntNumLM(src_.epochSeconds);
    const std::int64_t n = PointCount(src_.epochCount, r);
    if (n > 0) {
      const auto stages = sleeprun::EpochStages(*src_.epochs, src_.stageType, src_.epochCount);
      const int separation = sleeprun::TenthsToPoints(prm.plmShortestS);
      std::vector<std::uint8_t> mask(static_cast<std::size_t>(n));
      std::vector<float> values(static_cast<std::size_t>(n));
      struct Leg {
        std::vector<std::uint8_t>* table;
        const SleepDstrbParam::PeakEvent* rec;
        int slot;
        bool present = false;
      };
      Leg legs[2] = {{&t.LMLeft(), &prm.legLeft, kRprsntLMLeft}, {&t.LMRight(), &prm.legRight, kRprsntLMRight}};
      for (Leg& leg : legs) {
        if (leg.table->empty() || leg.rec->channel == -1) continue;
        leg.present = true;
        sleeprun::CollectSeries(*src_.epochs, leg.slot, r, values);
        const auto table = Head(*leg.table, n);
        DetectMovements(values, leg.rec->values[0], sleeprun::TenthsToPoints(leg.rec->values[1]),
                        sleeprun::TenthsToPoints(leg.rec->values[2]), r, stages, skip != 0, mask, table);
        ApplySeparation(mask, table, separation);
      }
      if (!t.LMBoth().empty() && (legs[0].present || legs[1].present)) {
        BuildBothLegs(legs[0].present ? Head(*legs[0].table, n) : std::span<std::uint8_t>{},
                      legs[1].present ? Head(*legs[1].table, n) : std::span<std::uint8_t>{}, Head(t.LMBoth(), n));
      }
    }
    if (src_.lmRecognisedWord) *src_.lmRecognisedWord = 1;
  });
}

void LyrRecognizeLimbMovement::Recount(int pointCount, int leftOn, int rightOn) {
  if (!bound_ || !src_.tables || pointCount <= 0) return;
  SleepDstrbTables& t = *src_.tables;
  const auto left = leftOn ? Head(t.LMLeft(), pointCount) : std::span<std::uint8_t>{};
  const auto right = rightOn ? Head(t.LMRight(), pointCount) : std::span<std::uint8_t>{};
  if (left.empty() && right.empty()) return;
  BuildBothLegs(left, right, Head(t.LMBoth(), pointCount));
}

int LyrRecognizeLimbMovement::CountPLMsInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch,
                                               double minIntervalS, double maxIntervalS, int minCount,
                                               double* durationMs) {
  if (durationMs) *durationMs = 0.0;
  const auto n = static_cast<std::int64_t>(mask.size());
  if (epoch < 0 || pointsPerEpoch <= 0) return 0;
  const std::int64_t first = static_cast<std::int64_t>(epoch) * pointsPerEpoch;
  const std::int64_t last = std::min(first + pointsPerEpoch - 1, n - 1);
  auto marked = [&](std::int64_t i) { return i >= 0 && i < n && mask[static_cast<std::size_t>(i)] != 0; };

  // The last movement that ends in the epoch.
  std::int64_t end = -1;
  for (std::int64_t q = last; q >= first; --q)
    if (marked(q) && !marked(q + 1)) {
      end = q;
      break;
    }
  if (end < 0) return 0;
  std::int64_t start = end;
  while (marked(start - 1)) --start;

  const std::int64_t minGap = sleeprun::TenthsToPoints(minIntervalS);
  const std::int64_t maxGap = sleeprun::TenthsToPoints(maxIntervalS);
  auto inInterval = [&](std::int64_t gap) { return gap >= minGap && gap <= maxGap; };

  // A series that goes on past this movement ends in a later epoch.
  std::int64_t next = end + 1;
  while (next < n && !marked(next)) ++next;
  if (next < n && inInterval(next - end)) return 0;

  int count = 1;
  std::int64_t seriesStart = start;
  for (;;) {
    std::int64_t prevEnd = seriesStart - 1;
    while (prevEnd >= 0 && !marked(prevEnd)) --prevEnd;
    if (prevEnd < 0) break;
    const std::int64_t gap = seriesStart - prevEnd;
    if (gap < minGap) return 0;
    if (gap > maxGap) break;
    ++count;
    seriesStart = prevEnd;
    while (marked(seriesStart - 1)) --seriesStart;
  }
  if (count < minCount) return 0;
  if (durationMs) *durationMs = static_cast<double>(end - seriesStart + 1) * 0.1 * 1000.0;
  return 1;
}

// ---- snore -----------------------------------------------------------------------------------

void LyrRecognizeSnore::Detect(std::span<const float> values, double level, int minPts, int maxPts,
                               int pointsPerEpoch, std::span<const std::uint8_t> stages, bool skip,
                               std::span<std::uint8_t> marks) {
  const auto n = static_cast<std::int64_t>(std::min(values.size(), marks.size()));
  ForEachRun(
      n, [&](std::int64_t i) { return std::fabs(values[static_cast<std::size_t>(i)]) > level; },
      [&](std::int64_t first, std::int64_t last) {
        if (skip && sleeprun::IsWakeOrMT(sleeprun::StageAt(stages, last, pointsPerEpoch))) return;
        if (LengthFits(first, last, minPts, maxPts)) Fill(marks, first, last, 1);
      });
}

void LyrRecognizeSnore::Recognize(int skip) {
  sleeprun::Guarded(src_, "LyrRecognizeSnore::Recognize", [&] {
    if (!bound_ || !src_.param || !src_.epochs || !src_.tables) return;
    const auto& rec = src_.param->snore;
    auto& table = src_.tables->Snore();
    if (rec.channel == -1 || table.empty()) return;
    const int r = LyrEpochParameter::GetRprsntNumSnore(src_.epochSeconds);
    const std::int64_t n = PointCount(src_.epochCount, r);
    if (n == 0) return;
    std::vector<float> values(static_cast<std::size_t>(n));
    if (!sleeprun::CollectSeries(*src_.epochs, kRprsntSnore, r, values)) return;
    const auto stages = sleeprun::EpochStages(*src_.epochs, src_.stageType, src_.epochCount);
    Detect(values, rec.values[0], sleeprun::TenthsToPoints(rec.values[1]), sleeprun::TenthsToPoints(rec.values[2]), r,
           stages, skip != 0, Head(table, n));
  });
}
