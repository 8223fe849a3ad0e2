#include "app/scoring/logic_scoring.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr float kNoValue = std::numeric_limits<float>::max();

bool TermHolds(const LogicTerm& t, float v) {
  const bool strictLow = t.lowerOp == 0;
  const bool strictHigh = t.upperOp == 2;
  if ((t.lowerOp != 0 && t.lowerOp != 1) || (t.upperOp != 2 && t.upperOp != 3)) return false;
  const bool low = strictLow ? t.lower < v : t.lower <= v;
  const bool high = strictHigh ? v < t.upper : v <= t.upper;
  return low && high;
}

}  // namespace

LogicScoringContext::LogicScoringContext(const LyrEpochParameter& tables, const AnalysisParamBlocks& blocks,
                                         int epochSeconds)
    : tables_(tables), stageType_(blocks.stageType.stageType) {
  for (std::size_t c = 0; c < chDispModes_.size(); ++c) chDispModes_[c] = blocks.chDispMode.entries[c].mode;
  values_.epochSeconds = epochSeconds;
  values_.fftBandFlags = blocks.fftBand.channelSwitch;
  values_.chDispModes = chDispModes_;
}

float LogicScoringContext::GetLogicParameter(int epoch, int code, int channel) const {
  return static_cast<float>(GetEpochValue(tables_, values_, epoch, code, channel));
}

std::uint8_t LogicScoringContext::ResolveStage(std::uint8_t code, int epoch) const {
  if (code != kStagePreviousEpoch) return code;
  if (epoch <= 0) return 1;
  return tables_.GetStage(stageType_, epoch - 1, 0);
}

int TestLogicCondition(const LogicCondition& c, float value1, float value2) {
  if (!TermHolds(c.term1, value1)) return 0;
  if (c.andSwitch == 0) return 1;
  return TermHolds(c.term2, value2) ? 1 : 0;
}

int CountLogicConditions(std::span<const LogicCondition> conditions) {
  const std::size_t limit = std::min<std::size_t>(conditions.size(), kLogicConditionCount);
  int n = 0;
  while (static_cast<std::size_t>(n) < limit && conditions[static_cast<std::size_t>(n)].stage != 0) ++n;
  return n;
}

std::uint8_t EvaluateLogic(const LogicScoringContext& ctx, std::span<const LogicCondition> conditions, int epoch,
                           std::uint8_t candidates[kCandidateCount]) {
  const int n = CountLogicConditions(conditions);
  std::uint8_t result = n == 0 ? 1 : ctx.ResolveStage(conditions[static_cast<std::size_t>(n - 1)].stage, epoch);
  std::memset(candidates, 0, kCandidateCount);
  int held = 0;
  for (int i = 0; i + 1 < n; ++i) {
    const LogicCondition& c = conditions[static_cast<std::size_t>(i)];
    const float value1 = ctx.GetLogicParameter(epoch, c.term1.valueCode, c.term1.channel);
    const float value2 = c.andSwitch != 0 ? ctx.GetLogicParameter(epoch, c.term2.valueCode, c.term2.channel)
                                          : kNoValue;
    if (TestLogicCondition(c, value1, value2) == 0) continue;
    const std::uint8_t s = ctx.ResolveStage(c.stage, epoch);
    if (held == 0) result = s;
    candidates[held++] = s;
  }
  return result;
}
