#pragma once
// LyrTrendTool: the answers the hypnogram, the trend graphs and the information column
// share: which hypnogram rows the stage settings show (and a code's row, record and label),
// the time-scale step of a display span, and which logic condition of the current
// condition set holds the thresholds of a trend graph's item (read and written).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/program_settings.h"

class CQLM2_AnalyzerDoc;

// A graph's trend item: category 0..24, sub-item, third index (channel or measure).
struct TrendItemKey {
  int category = 0;
  int sub = 0;
  int third = 0;
};
// The item of graph 0..19 in the program-wide item arrays (every value of a graph asks:
// kept inline).
inline TrendItemKey TrendItemOfGraph(int graph) {
  if (graph < 0 || graph >= kMaxTrendGraphs) return {};
  const auto g = static_cast<std::size_t>(graph);
  return {TrendItem.category[g], TrendItem.subItem[g], TrendItem.third[g]};
}

// Logic parameter code of an item (1..32), 0 when the item has none.
int ItemParameterCode(const TrendItemKey& item);
// The item of a parameter code; channel items (21, 22) take the channel as third index.
std::optional<TrendItemKey> ItemOfParameterCode(int code, int channel);

class LyrTrendTool {
 public:
  LyrTrendTool() = default;
  explicit LyrTrendTool(CQLM2_AnalyzerDoc* doc) : doc_(doc) {}
  virtual ~LyrTrendTool() = default;
  void SetDocument(CQLM2_AnalyzerDoc* doc) { doc_ = doc; }

  // ---- Stage rows ----
  // Rows of the hypnogram: shown records of the stage type (normal) and of the extra
  // stages in use (extra).
  static int GetStageRowCount(int& normal, int& extra, const StageTypeParam& stages);
  // The display record of a code (n + 20 uses n's); 0 when the type has none.
  static int GetStageRow(int code, const StageTypeParam& stages, StageRecord* out);
  // 1-based row of a code; 0 when it has no shown record.
  static int GetStageRowNumber(int code, const StageTypeParam& stages);
  // Labels of the rows in row order (at most total).
  static int GetStageLabels(int total, int extraShown, const StageTypeParam& stages, std::vector<std::string>& labels);
  // Tick step in minutes for minutes shown per line.
  static int GetTimeScaleStep(int minutes);

  // ---- Logic thresholds (the document must be set) ----
  int GetLogicThreshold(int graph, float& lower, float& upper) const;
  int SetLogicThreshold(int graph, std::optional<float> lower, std::optional<float> upper) const;
  int GetItemThreshold(const TrendItemKey& item, float& lower, float& upper) const;
  int SetItemThreshold(const TrendItemKey& item, std::optional<float> lower, std::optional<float> upper) const;
  // Clause 1 or 2 of condition; graph in: the graph to test, out: the graph found.
  int GetConditionThreshold(int clause, const LogicCondition& condition, int& graph, float& lower, float& upper) const;
  int SetConditionThreshold(int row, int graph, std::optional<float> lower, std::optional<float> upper) const;
  static int IsSameTrendItem(int graphA, int graphB);

  // The record index (0..24) of a stage code under a stage type, -1 when none.
  static int StageRecordIndex(int code, int stageType);

 private:
  LogicCondition* CurrentSet() const;
  CQLM2_AnalyzerDoc* doc_ = nullptr;
};
