#pragma once
// Last-stage rules: finishing passes over the stages that a logic run has set. Either the
// four rules of the last-stage screening (REM level, REM extension backwards, stage-2
// continuity, movement between wake), each switched in the logic option block, or the
// stage-change rule (a run of stage B after stage A becomes stage C).
//
// Every rule works on epochs 0..lastEpoch, reads codes under the stage type's merging, and
// keeps the +20 family when it rewrites an epoch (a code of 20 or more becomes the new code
// + 20). A rewrite to the code the epoch already holds is not stored, so the epoch's stage
// history keeps the codes it had. In learning-sample mode, rules 1 to 4 also record every
// stored code in flag byte 1 of the epoch.
#include <cstdint>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"

struct LastStageRuleContext {
  LyrEpochParameter* tables = nullptr;
  LogicOptionParam option;
  // Last epoch the rules cover (clamped to the tables); nothing runs while it is below 0.
  int lastEpoch = -1;
  int stageType = 0;       // 0..3, also the merging mode of every read
  int epochSeconds = 30;
  int learningSampleMode = 0;
  int eogRightChannel = -1;  // channels of the eye-movement recognitions, -1 none
  int eogLeftChannel = -1;
};

// The switch word of the logic option block: 1 the four rules, 2 the stage-change rule,
// anything else nothing. Returns the mode that ran (0 when none).
int ApplyLastStageRules(const LastStageRuleContext& ctx);

// Rules 1..4 in order, each when its switch is on.
void ApplyLastStageScreening(const LastStageRuleContext& ctx);
// Rule 1: REM above the EMG level becomes stage 1; low-EMG epochs after REM become REM.
void ApplyREMLevelRule(const LastStageRuleContext& ctx);
// Rule 2: the epochs before a REM epoch back to a waking, movement, high-EMG or spindle
// epoch become REM.
void ApplyREMExtensionRule(const LastStageRuleContext& ctx);
// Rule 3: deep or light epochs between two spindle-bearing stage-2 epochs within three
// minutes become stage 2 (stage types 0 and 1 only).
void ApplyStage2Rule(const LastStageRuleContext& ctx);
// Rule 4: movement epochs next to wake become wake.
void ApplyMovementRule(const LastStageRuleContext& ctx);
// A following run of stage B after stage A becomes stage C (flag bytes untouched).
void ApplyStageChangeRule(const LastStageRuleContext& ctx);
