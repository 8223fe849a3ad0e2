// The document's logic scoring and last-stage rules, over its tables and settings.
#include <span>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/scoring/last_stage_rules.h"
#include "app/scoring/logic_scoring.h"

namespace {

LastStageRuleContext RuleContext(CQLM2_AnalyzerDoc& doc, int lastEpoch) {
  LastStageRuleContext ctx;
  ctx.tables = &doc.EpochTables;
  ctx.option = doc.Params.logicOption;
  ctx.lastEpoch = lastEpoch;
  ctx.stageType = doc.Params.stageType.stageType;
  ctx.epochSeconds = EpochSeconds;
  ctx.learningSampleMode = LearningSampleMode;
  ctx.eogRightChannel = doc.Params.waveForm.eogRight.channel;
  ctx.eogLeftChannel = doc.Params.waveForm.eogLeft.channel;
  return ctx;
}

}  // namespace

std::uint8_t CQLM2_AnalyzerDoc::EvaluateLogic(const LogicCondition* conditions, int epoch,
                                              std::uint8_t* candidates) const {
  const LogicScoringContext ctx(EpochTables, Params, EpochSeconds);
  return ::EvaluateLogic(ctx, std::span<const LogicCondition>(conditions, kLogicConditionCount), epoch, candidates);
}

int CQLM2_AnalyzerDoc::TestLogicCondition(const LogicCondition& condition, float value1, float value2) {
  return ::TestLogicCondition(condition, value1, value2);
}

float CQLM2_AnalyzerDoc::GetLogicParameter(int epoch, std::uint16_t code, std::uint16_t channel) const {
  return LogicScoringContext(EpochTables, Params, EpochSeconds).GetLogicParameter(epoch, code, channel);
}

void CQLM2_AnalyzerDoc::ApplyLastStageScreening() { ApplyLastStageScreening(LastScreenedEpoch); }
void CQLM2_AnalyzerDoc::ApplyLastStageScreening(int lastEpoch) { ::ApplyLastStageScreening(RuleContext(*this, lastEpoch)); }
void CQLM2_AnalyzerDoc::ApplyStageChangeRule() { ApplyStageChangeRule(LastScreenedEpoch); }
void CQLM2_AnalyzerDoc::ApplyStageChangeRule(int lastEpoch) { ::ApplyStageChangeRule(RuleContext(*this, lastEpoch)); }
void CQLM2_AnalyzerDoc::ApplyRemSpindleCoexistence() { ApplyREMLevelRule(RuleContext(*this, LastScreenedEpoch)); }
void CQLM2_AnalyzerDoc::ApplyCeaseWithRem() { ApplyREMExtensionRule(RuleContext(*this, LastScreenedEpoch)); }
void CQLM2_AnalyzerDoc::ApplyThreeMinuteRule() { ApplyStage2Rule(RuleContext(*this, LastScreenedEpoch)); }
void CQLM2_AnalyzerDoc::ApplyWakeNeighbourRule() { ApplyMovementRule(RuleContext(*this, LastScreenedEpoch)); }
int CQLM2_AnalyzerDoc::ApplyLastStageRules(int lastEpoch) { return ::ApplyLastStageRules(RuleContext(*this, lastEpoch)); }
