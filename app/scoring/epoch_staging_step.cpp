#include "app/scoring/epoch_staging_step.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/scoring/learning_sample_file.h"

namespace {

void Raise(std::uint8_t& code) {
  if (code != 0 && code < 20) code = static_cast<std::uint8_t>(code + 20);
}
void Lower(std::uint8_t& code) {
  if (code >= 20) code = static_cast<std::uint8_t>(code - 20);
}

}  // namespace

LearningSample BuildStagingSample(const CQLM2_AnalyzerDoc& doc, int epoch, int epochSeconds) {
  const LyrEpochRec* rec = doc.EpochTables.Record(epoch);
  if (rec == nullptr) return LearningSample{};
  return BuildLearningSample(*rec, epochSeconds, GetLearningParametersUsed(doc.Params.waveForm));
}

void StoreEpochResult(LyrEpochParameter& tables, int epoch, std::uint8_t stage,
                      const std::uint8_t candidates[kCandidateCount]) {
  tables.SetStage(epoch, stage);
  for (int k = 0; k < kCandidateCount; ++k) {
    tables.SetCandidate(epoch, k, 0);
    if (candidates[k] != 0) tables.SetCandidate(epoch, k, candidates[k]);
  }
}

int LyrEpochStagingStep::StagePage(CQLM2_AnalyzerDoc& doc, const Page& page) {
  LyrEpochParameter& tables = doc.EpochTables;
  if (!tables.HasRecords() || page.epochSeconds <= 0) return 0;
  const int type = doc.Params.stageType.stageType;
  if (type >= 0 && type < 4) conditions_ = doc.Params.logic.sets[static_cast<std::size_t>(type)];
  const int n = page.pageSeconds / page.epochSeconds;
  if (n <= 0) return 0;
  const std::int64_t first = static_cast<std::int64_t>(page.pageNumber) * page.pageSeconds / page.epochSeconds;
  const int epochCount = std::min(doc.RecordSeconds / page.epochSeconds, tables.EpochCount());
  const LogicScoringContext logic(tables, doc.Params, page.epochSeconds);
  int staged = 0;
  for (int i = 0; i < n; ++i) {
    const std::int64_t e64 = first + i;
    if (e64 >= epochCount) break;
    const int e = static_cast<int>(e64);
    const bool artifact = page.overThreshold && page.overThreshold(i) != 0;
    std::uint8_t candidates[kCandidateCount] = {};
    std::uint8_t code = 0;
    if (page.learningSampleMode == 1) {
      code = page.classifier != nullptr ? page.classifier->StageEpoch(BuildStagingSample(doc, e, page.epochSeconds))
                                        : 0;
    } else {
      code = EvaluateLogic(logic, conditions_, e, candidates);
    }
    if (page.parameterOnly == 1) {
      if (artifact) {
        const std::uint8_t old = tables.GetStage(type, e, 0);
        const auto raised = static_cast<std::uint8_t>(old < 20 ? old + 20 : old);
        tables.SetStage(e, 20);
        if (page.learningSampleMode == 1) tables.SetEpochFlag(e, raised, 2);
        if (page.learningSampleMode == 2) tables.SetEpochFlag(e, raised, 0);
      }
    } else {
      if (artifact) {
        if (code < 20) code = static_cast<std::uint8_t>(code + 20);
        for (std::uint8_t& c : candidates) Raise(c);
      } else if (code >= 20) {
        code = static_cast<std::uint8_t>(code - 20);
        for (std::uint8_t& c : candidates) Lower(c);
      }
      StoreEpochResult(tables, e, code, candidates);
      if (page.learningSampleMode == 1) tables.SetEpochFlag(e, code, 2);
      if (page.learningSampleMode == 2) tables.SetEpochFlag(e, code, 0);
    }
    ++staged;
    if (page.staged) page.staged(i, i == n - 1);
  }
  return staged;
}

int LyrEpochStagingStep::RescoreByLogic(CQLM2_AnalyzerDoc& doc, int lastEpoch, int epochSeconds,
                                        int learningSampleMode) {
  LyrEpochParameter& tables = doc.EpochTables;
  const int type = doc.Params.stageType.stageType;
  if (!tables.HasRecords() || type < 0 || type > 3) return 0;
  const auto& conditions = doc.Params.logic.sets[static_cast<std::size_t>(type)];
  const LogicScoringContext logic(tables, doc.Params, epochSeconds);
  const int last = std::min(lastEpoch, tables.EpochCount() - 1);
  for (int e = 0; e <= last; ++e) {
    std::uint8_t candidates[kCandidateCount] = {};
    std::uint8_t code = EvaluateLogic(logic, conditions, e, candidates);
    if (tables.Record(e)->stage[0] >= 20) {
      if (code < 20) code = static_cast<std::uint8_t>(code + 20);
      for (std::uint8_t& c : candidates) Raise(c);
    }
    StoreEpochResult(tables, e, code, candidates);
    if (learningSampleMode != 0) tables.SetEpochFlag(e, code, 0);
  }
  return last + 1 > 0 ? last + 1 : 0;
}
