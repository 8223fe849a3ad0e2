#pragma once
// Logic scoring of one epoch: an ordered list of up to 20 logic conditions over the
// per-epoch values; the first condition that holds decides the stage, and the stages of
// all conditions that hold are the epoch's candidates. Nothing here writes to the tables:
// the callers store the stage and the candidates.
//
// The same evaluation serves the frame's re-scoring after the Logic dialog, the per-page
// staging step of a screening run and the tests; the document's EvaluateLogic forwards here.
#include <array>
#include <cstdint>
#include <span>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/document/epoch_values.h"

inline constexpr int kLogicConditionCount = LogicParam::kConditionsPerSet;  // 20
// Result stage code of a condition that takes the stage of the previous epoch.
inline constexpr std::uint8_t kStagePreviousEpoch = 255;

// What an evaluation reads: the per-epoch tables, the settings the values depend on and
// the stage type (0..3) under which the previous epoch's code is read.
class LogicScoringContext {
 public:
  LogicScoringContext(const LyrEpochParameter& tables, const AnalysisParamBlocks& blocks, int epochSeconds);

  // Value `code` of an epoch as a 32-bit real; the largest finite float when there is none.
  float GetLogicParameter(int epoch, int code, int channel) const;
  // The stage a condition's result code stands for at an epoch: 255 is the previous
  // epoch's current code under the stage type (1 at epoch 0); any other code unchanged.
  std::uint8_t ResolveStage(std::uint8_t code, int epoch) const;

  const LyrEpochParameter& Tables() const { return tables_; }
  int StageType() const { return stageType_; }

 private:
  const LyrEpochParameter& tables_;
  std::array<std::uint32_t, 32> chDispModes_{};
  EpochValueContext values_;
  int stageType_ = 0;
};

// 1 when the condition holds for the two values, else 0. Each term is
// lower (op) value (op) upper with "<"/"<=" as coded (lower 0/1, upper 2/3); any other
// operator pair makes the term false. Term 2 (on value2) counts only with the "And" switch.
int TestLogicCondition(const LogicCondition& condition, float value1, float value2);

// Number of conditions in use: the leading ones whose stage is not 0, at most 20.
int CountLogicConditions(std::span<const LogicCondition> conditions);

// Stage of an epoch from conditions (at least 20 entries are read when present; fewer
// entries end the list). candidates (20 bytes) receives the resolved stages of the
// conditions that held, in list order, the rest 0. The last condition in use is the
// default: it is never tested and gives the stage when nothing earlier holds; an empty
// list gives 1.
std::uint8_t EvaluateLogic(const LogicScoringContext& ctx, std::span<const LogicCondition> conditions, int epoch,
                           std::uint8_t candidates[kCandidateCount]);
