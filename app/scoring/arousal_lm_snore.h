#pragma once
// Arousal, limb-movement and snore events over a whole recording, one point per
// 0.1 s: runs of points above a level whose length lies between a minimum and a
// maximum become events, and runs in Wake or movement-time epochs are dropped.
// A run belongs to the epoch that holds its last point, for dropping as for
// counting. The run and count rules are plain functions over arrays; the classes
// bind them to the document's epoch tables, settings block and mark tables.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"
#include "app/scoring/recog_series.h"

// What the recognisers read and write; the document fills it from its own members.
struct SleepDstrbSources {
  const SleepDstrbParam* param = nullptr;
  const LyrEpochParameter* epochs = nullptr;
  SleepDstrbTables* tables = nullptr;
  int stageType = 0;                          // merging mode of the stage codes
  int epochSeconds = 30;
  int epochCount = 0;
  std::int32_t* lmRecognisedWord = nullptr;   // the limb-movement-recognised word, or null
  tablemem::FailureReporter report = nullptr;  // shown by the window code; may be empty
  // The epoch that point 0 of the tables lies in, for the stage of a run: 0 for the
  // whole recording, the page's first epoch when the arousal counters of a page run
  // from its start.
  int firstEpoch = 0;
};

namespace sleeprun {
// Runs body; running out of memory is reported with the method's name.
void Guarded(const SleepDstrbSources& src, const char* method, const std::function<void()>& body);
}  // namespace sleeprun


class LyrRecognizeArousal {
 public:
  LyrRecognizeArousal() = default;
  explicit LyrRecognizeArousal(const SleepDstrbSources& src) : src_(src), bound_(true) {}

  // Detection over epochCount x pointsPerEpoch points of the arousal counters into
  // the arousal marks (the whole mark range is rewritten).
  void Recognize(int epochCount, int pointsPerEpoch);

  // The kernel: a point whose count squared is at or above the threshold extends a
  // run; a run of minPts..maxPts points outside Wake/MT epochs becomes 1s, every
  // other point 0. stages holds the stage of each epoch.
  static void Detect(std::span<const std::uint8_t> values, std::span<std::uint8_t> marks, unsigned threshold,
                     int minPts, int maxPts, int pointsPerEpoch, std::span<const std::uint8_t> stages);

  // Arousals that end in the epoch.
  static int CountInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch) {
    return sleeprun::CountRunsInEpoch(epoch, mask, pointsPerEpoch);
  }

 private:
  SleepDstrbSources src_;
  bool bound_ = false;
};

class LyrRecognizeLimbMovement {
 public:
  LyrRecognizeLimbMovement() = default;
  explicit LyrRecognizeLimbMovement(const SleepDstrbSources& src) : src_(src), bound_(true) {}

  // Left leg, right leg, then the both-legs table; sets the recognised word.
  // skip != 0 drops movements in epochs of stage 0, 1, 7, 20, 21 or 27.
  void Recognize(int skip);

  // After the leg tables were edited by hand: rebuilds the both-legs table over
  // pointCount points from the legs switched on (a side counts only when its table
  // exists). Nothing happens when neither side is on.
  void Recount(int pointCount, int leftOn, int rightOn);

  // Kernels. Marks runs of |value| > level of minPts..maxPts points in mask and leg
  // (mask is cleared first, leg is not).
  static void DetectMovements(std::span<const float> values, double level, int minPts, int maxPts,
                              int pointsPerEpoch, std::span<const std::uint8_t> stages, bool skip,
                              std::span<std::uint8_t> mask, std::span<std::uint8_t> leg);
  // Removes the movements that start less than separationPts after the start of the
  // previous remaining movement, from mask and leg alike.
  static void ApplySeparation(std::span<std::uint8_t> mask, std::span<std::uint8_t> leg, int separationPts);
  // Both-legs table from one or two leg tables (an empty span is an absent leg):
  // 2 on the first point of each movement, 1 on its further points, 0 elsewhere.
  static void BuildBothLegs(std::span<const std::uint8_t> left, std::span<const std::uint8_t> right,
                            std::span<std::uint8_t> both);

  // Movements that end in the epoch.
  static int CountInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch) {
    return sleeprun::CountRunsInEpoch(epoch, mask, pointsPerEpoch);
  }
  // 1 when a periodic series ends with the last movement that ends in the epoch:
  // the next movement does not follow it within [minIntervalS, maxIntervalS] (end to
  // start), and walking back while each gap lies in that interval gathers at least
  // minCount movements; *durationMs is then the series span in ms, else 0. A gap
  // below the minimum inside the series gives 0.
  static int CountPLMsInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch,
                              double minIntervalS, double maxIntervalS, int minCount, double* durationMs);

 private:
  SleepDstrbSources src_;
  bool bound_ = false;
};

class LyrRecognizeSnore {
 public:
  LyrRecognizeSnore() = default;
  explicit LyrRecognizeSnore(const SleepDstrbSources& src) : src_(src), bound_(true) {}

  // Adds snore marks; skip != 0 drops runs in Wake/MT epochs.
  void Recognize(int skip);

  // Kernel: marks runs of |value| > level of minPts..maxPts points with 1 (other
  // points are left as they are).
  static void Detect(std::span<const float> values, double level, int minPts, int maxPts, int pointsPerEpoch,
                     std::span<const std::uint8_t> stages, bool skip, std::span<std::uint8_t> marks);

  // Snore episodes that end in the epoch; *points receives their length in points.
  static int CountInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch, int* points) {
    return sleeprun::CountRunsInEpoch(epoch, mask, pointsPerEpoch, points);
  }

 private:
  SleepDstrbSources src_;
  bool bound_ = false;
};
