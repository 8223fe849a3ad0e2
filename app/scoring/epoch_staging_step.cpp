#include "app/scoring/epoch_staging_step.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"

namespace {

using W = WaveFormRecognitionParam;

void Raise(std::uint8_t& code) {
  if (code != 0 && code < 20) code = static_cast<std::uint8_t>(code + 20);
}
void Lower(std::uint8_t& code) {
  if (code >= 20) code = static_cast<std::uint8_t>(code - 20);
}

}  // namespace

StagingFeatureRecord BuildStagingFeatureRecord(const CQLM2_AnalyzerDoc& doc, int epoch, int epochSeconds) {
  StagingFeatureRecord r;
  const LyrEpochRec* rec = doc.EpochTables.Record(epoch);
  if (rec == nullptr) return r;
  const W& w = doc.Params.waveForm;
  const double epochMs = epochSeconds > 0 ? epochSeconds * 1000.0 : 0.0;
  auto percent = [&](int wave) {
    return epochMs > 0.0 ? static_cast<float>(rec->wave[wave].durationMs * 100.0 / epochMs) : 0.0f;
  };
  auto set = [&](int band) { return w.bands[static_cast<std::size_t>(band)].channel != -1; };
  auto count = [](std::int16_t c) { return static_cast<std::uint16_t>(c); };
  if (set(W::kAlpha)) r.alphaPercent = percent(kWaveAlpha);
  if (set(W::kSpindle)) r.spindleCount = count(rec->wave[kWaveSpindle].count);
  if (set(W::kTheta)) r.thetaPercent = percent(kWaveTheta);
  if (set(W::kDelta)) r.deltaPercent = percent(kWaveDelta);
  if (w.eogRight.channel != -1 || w.eogLeft.channel != -1) r.remsCount = count(rec->remsBoth);
  if (w.kComplex.channel != -1) r.kComplexCount = count(rec->kComplex.count);
  if (w.emgChannel != -1) r.emgIntegral = rec->emg;
  if (set(W::kBand1)) r.band1Percent = percent(kWaveBand1);
  if (set(W::kBand2)) r.band2Percent = percent(kWaveBand2);
  if (set(W::kBand3)) r.band3Percent = percent(kWaveBand3);
  return r;
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
      code = page.classifier != nullptr ? page.classifier->StageEpoch(BuildStagingFeatureRecord(doc, e, page.epochSeconds))
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
