#pragma once
// Staging of one animal of a multi-screening run by the user's ordered conditions: each
// condition tests one or two per-epoch parameters against a lower and an upper level (a
// value, a statistic of the epochs not yet staged, or a level searched so that the
// condition's stage reaches its target share of the time); the first condition that holds
// gives an epoch its stage, the last gives the rest the default stage, and an optional rule
// then replaces a stage after a given predecessor.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/scoring/multi_screening_setting.h"

namespace msstage {

// What the staging reads of one animal.
struct AnimalValues {
  int epochs = 0;
  // The N values of a parameter (13 .. 32) on a recording channel; a channel of -1, or a
  // parameter the animal has no table for, gives zeros.
  std::function<std::vector<float>(int parameter, int channel)> values;
  // The animal's first recording channel and the recording's channel count.
  int firstChannel = 0;
  int channelCount = 0;
};

// What the target time occupancy depends on beyond the settings.
struct OccupancyFrame {
  int stageType = 0;       // the document's stage type, 0 .. 3
  int extraStages = 0;     // extra stage codes in use, 0 .. 3 (codes 8, 9, 10)
  bool hasStartTime = false;
  int firstEpochSecondOfDay = 0;  // clock time of the range's first epoch, seconds
  int epochSeconds = 10;
};

// Target occupancy T (percent of the epochs) of a stage code.
double TargetOccupancy(const LyrMultiScreeningSetting& s, int stage, const OccupancyFrame& frame, int epochs);
// The stage share t before the light and dark split.
double StageShare(const LyrMultiScreeningSetting& s, int stage, const OccupancyFrame& frame);
// Epochs of the range that lie in light phases.
int LightEpochs(const LyrMultiScreeningSetting& s, const OccupancyFrame& frame, int epochs);

// Steps reported while staging; the callback returns false when the user cancelled.
enum class Step { AutoLevel, Scoring, FinalScoring };
using Progress = std::function<bool(Step)>;

// Whether a value lies between a level pair under the operators of a logic term.
bool TermHolds(const LogicTerm& t, float value);

// Stages the animal: `levels` receives the 20 condition records with the levels used,
// `stages` one code per epoch (0 where nothing staged it). False when cancelled.
bool StageAnimal(const LyrMultiScreeningSetting& s, const AnimalValues& animal, const OccupancyFrame& frame,
                 std::array<LogicCondition, LogicParam::kConditionsPerSet>* levels, std::vector<std::uint8_t>* stages,
                 const Progress& progress = {});

}  // namespace msstage
