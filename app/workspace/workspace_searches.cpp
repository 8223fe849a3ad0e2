#include "app/workspace/workspace_searches.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/document/epoch_parameter.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"

namespace {

int StageTypeMode(const CQLM2_AnalyzerDoc& doc) { return doc.Params.stageType.stageType; }

std::string StageName(const CQLM2_AnalyzerDoc& doc, std::uint8_t code) {
  std::string name;
  doc.GetStageName(static_cast<signed char>(code), name);
  return name;
}

// Starts a row: the hit number, the epoch and its time.
void BeginRow(SearchRows& rows, CQLM2_AnalyzerDoc& doc, int epoch) {
  rows.cells.push_back(Number3(rows.Count() + 1));
  rows.cells.push_back(Number3(epoch));
  std::string time;
  doc.GetEpochTimeString(static_cast<unsigned>(epoch), time);
  rows.cells.push_back(std::move(time));
}

}  // namespace

int SearchableEpochCount(const CQLM2_AnalyzerDoc& doc) {
  return std::max(0, std::min(doc.GetDivNum(EpochSeconds), doc.EpochTables.EpochCount()));
}

std::string Number3(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%3d", n);
  return buf;
}

SearchRows FindStageEpochs(CQLM2_AnalyzerDoc& doc, int code, bool* cut) {
  SearchRows rows;
  rows.columns = 3;
  if (cut != nullptr) *cut = false;
  const int n = SearchableEpochCount(doc);
  const int mode = StageTypeMode(doc);
  for (int e = 0; e < n; ++e) {
    const int stage = doc.EpochTables.GetStage(mode, e, 0);
    if (stage != code && stage != code + 20) continue;
    // The limit is only reported when a further epoch matches, so nothing is said to be cut
    // from exactly kStageSearchLimit hits.
    if (rows.Count() == kStageSearchLimit) {
      if (cut != nullptr) *cut = true;
      break;
    }
    BeginRow(rows, doc, e);
  }
  return rows;
}

SearchRows FindCandidateEpochs(CQLM2_AnalyzerDoc& doc) {
  SearchRows rows;
  rows.columns = 4;
  const int n = SearchableEpochCount(doc);
  const int mode = StageTypeMode(doc);
  for (int e = 0; e < n; ++e) {
    std::uint8_t candidates[kCandidateCount];
    doc.EpochTables.GetCandidates(mode, e, candidates);
    const std::uint8_t stage = doc.EpochTables.GetStage(mode, e, 0);
    std::string names;
    for (std::uint8_t c : candidates) {
      if (c == 0) break;
      if (c != stage) names += StageName(doc, c) + ",";
    }
    if (names.empty()) continue;
    BeginRow(rows, doc, e);
    rows.cells.push_back(std::move(names));
  }
  return rows;
}

SearchRows FindArtifactEpochs(CQLM2_AnalyzerDoc& doc) {
  SearchRows rows;
  rows.columns = 4;
  const int n = SearchableEpochCount(doc);
  for (int e = 0; e < n; ++e) {
    const std::uint8_t code = doc.EpochTables.GetStage(0, e, 0);
    if (static_cast<std::int8_t>(code) < 20) continue;
    BeginRow(rows, doc, e);
    rows.cells.push_back(StageName(doc, code));
  }
  return rows;
}

SearchRows ListEvents(CQLM2_AnalyzerDoc& doc) {
  SearchRows rows;
  rows.columns = 4;
  const std::int64_t rate = doc.EventRate;
  if (rate <= 0 || EpochSeconds <= 0) return rows;
  // The recording's first sample, counted at the events' rate.
  const LyrChInfo& ch0 = doc.ChInfo[0];
  const std::int64_t first = ch0.rate > 0 ? static_cast<std::int64_t>(ch0.startOffset) * rate / ch0.rate : 0;
  rows.cells.reserve(doc.Events.size() * 4);
  for (std::size_t i = 0; i < doc.Events.size(); ++i) {
    const CQLM2_AnalyzerDoc::EventEntry& ev = doc.Events[i];
    if (ev.position < first) continue;
    const std::int64_t offset = ev.position - first;
    rows.cells.push_back(Number3(static_cast<int>(i + 1)));
    rows.cells.push_back(std::to_string(offset / rate / EpochSeconds));
    std::string time;
    doc.GetMSecTimeString(ClockTimeDisplay, offset * 1000 / rate, &time);
    rows.cells.push_back(std::move(time));
    const bool named = ev.type >= 0 && static_cast<std::size_t>(ev.type) < doc.EventNames.size();
    rows.cells.push_back(named ? doc.EventNames[static_cast<std::size_t>(ev.type)] : std::string{});
  }
  return rows;
}

SearchRows FindAmplitudeEpochs(CQLM2_AnalyzerDoc& doc, int channel, int mode, double threshold, bool atLeast) {
  static constexpr int kKinds[] = {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral, kChCoefVariation};
  SearchRows rows;
  rows.columns = 5;
  if (mode < 0 || mode > 5 || channel < 0 || channel >= doc.EpochTables.ChCount()) return rows;
  const int n = SearchableEpochCount(doc);
  const int stageMode = StageTypeMode(doc);
  for (int e = 0; e < n; ++e) {
    const float* values = doc.EpochTables.ChValues(e, kKinds[mode]);
    if (values == nullptr) break;
    const double v = values[channel];
    if (atLeast ? !(v >= threshold) : !(v <= threshold)) continue;
    BeginRow(rows, doc, e);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    rows.cells.push_back(buf);
    rows.cells.push_back(StageName(doc, doc.EpochTables.GetStage(stageMode, e, 0)));
  }
  return rows;
}

double ReadSearchValue(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
