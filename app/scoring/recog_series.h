#pragma once
// Helpers the sleep-disturbance recognisers share: whole-recording series from the
// per-epoch representative values, durations in points, the stage of each epoch
// and the drop rules by stage, and counting runs of marked points per epoch.
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/epoch_parameter.h"

namespace sleeprun {

// Copies pointsPerEpoch values of every epoch of a representative-value slot into
// out, epoch after epoch (out.size() / pointsPerEpoch epochs); an epoch without
// values leaves zeros. Returns false when no epoch has values.
bool CollectSeries(const LyrEpochParameter& epochs, int slot, int pointsPerEpoch, std::span<float> out);

// Points of a 0.1-s table in d seconds (integer part; 0 for a negative or
// non-finite duration).
int TenthsToPoints(double seconds);

// The stage of epochCount epochs from firstEpoch on, as shown under the stage type.
std::vector<std::uint8_t> EpochStages(const LyrEpochParameter& epochs, int stageType, int epochCount,
                                      int firstEpoch = 0);

// The stage of the epoch holding point p (0 beyond the stages).
std::uint8_t StageAt(std::span<const std::uint8_t> stages, std::int64_t p, int pointsPerEpoch);

// Drop rules by the stage of a run's epoch.
bool IsWakeOrMT(std::uint8_t stage);       // 1, 7, 21, 27
bool IsLimbDropStage(std::uint8_t stage);  // 0, 1, 7, 20, 21, 27

// Runs of marked (non-zero) points of a mask that end in an epoch, each counted once
// in the epoch holding its last point. points (optional) receives the summed length
// of those runs, including their points before the epoch.
int CountRunsInEpoch(int epoch, std::span<const std::uint8_t> mask, int pointsPerEpoch, int* points = nullptr);

}  // namespace sleeprun
