#include "app/trend/lyr_trend_tool.h"

#include <algorithm>
#include <array>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/trend/trend_settings.h"
#include "app/workspace/logic_list_state.h"

namespace {

constexpr int kNoRecord = -1;
constexpr int kExtraFirst = 22;

// Records of codes 1..7 by stage type (-1: the type has no row for the code).
constexpr std::array<std::array<int, 7>, 4> kStageRecords{{
    {0, 1, 2, 3, 4, 5, 6},
    {7, 8, 9, 10, 11, kNoRecord, 12},
    {13, 14, 15, kNoRecord, 16, kNoRecord, 17},
    {18, 19, 20, kNoRecord, kNoRecord, kNoRecord, 21},
}};

const StageRecord& RecordAt(const StageTypeParam& s, int index) {
  return index >= kExtraFirst ? s.shared[static_cast<std::size_t>(index - kExtraFirst)]
                              : s.records[static_cast<std::size_t>(index)];
}

int TypeOf(const StageTypeParam& s) { return std::clamp<int>(s.stageType, 0, 3); }
int ExtrasInUse(const StageTypeParam& s) { return std::clamp<int>(s.sharedInUse, 0, StageTypeParam::kFreeStageCount); }

// Walks the shown records in show order; visit(record index) returns false to stop.
template <class Visit>
void WalkRows(const StageTypeParam& s, int extraLimit, Visit visit) {
  const int type = TypeOf(s);
  const int first = StageTypeParam::kSetFirst[static_cast<std::size_t>(type)];
  const int size = StageTypeParam::kSetSize[static_cast<std::size_t>(type)];
  for (int order = 1; order <= 10; ++order) {
    for (int i = first; i < first + size; ++i) {
      const StageRecord& r = s.records[static_cast<std::size_t>(i)];
      if (r.showInHypnogram != 0 && r.showOrder == order && !visit(i)) return;
    }
    for (int e = 0; e < extraLimit; ++e) {
      const StageRecord& r = s.shared[static_cast<std::size_t>(e)];
      if (r.showInHypnogram != 0 && r.showOrder == order && !visit(kExtraFirst + e)) return;
    }
  }
}

bool IsChannelItem(int category) { return category == 21 || category == 22; }

bool SameItem(const TrendItemKey& a, const TrendItemKey& b) {
  return a.category == b.category && a.sub == b.sub && (!IsChannelItem(a.category) || a.third == b.third);
}

bool TermMatches(const LogicTerm& term, int code, const TrendItemKey& item) {
  return code != 0 && term.valueCode == code && (!IsChannelItem(item.category) || term.channel == item.third);
}

// Stores new bounds into a pair: a new lower above the upper swaps them, a new upper below
// the lower likewise.
void ApplyBounds(LogicTerm& term, std::optional<float> lower, std::optional<float> upper) {
  if (lower) {
    if (*lower <= term.upper) {
      term.lower = *lower;
    } else {
      term.lower = term.upper;
      term.upper = *lower;
    }
  }
  if (upper) {
    if (*upper >= term.lower) {
      term.upper = *upper;
    } else {
      term.upper = term.lower;
      term.lower = *upper;
    }
  }
}

bool LogicPaneActive() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  return frame != nullptr && frame->WorkspaceTabs.IsLogicPaneActive();
}

// The selected condition row of the Logic pane that is not its last row, or -1.
int SelectedConditionRow() {
  if (!LogicPaneActive()) return -1;
  const LogicListState state = GetLogicListState();
  if (state.selectedRow < 0 || state.selectedRow >= state.rowCount - 1) return -1;
  if (state.selectedRow >= LogicParam::kConditionsPerSet) return -1;
  return state.selectedRow;
}

}  // namespace

int ItemParameterCode(const TrendItemKey& item) {
  const int c = item.category, s = item.sub;
  if (c >= 1 && c <= 3 && s == 0) return c;
  if (c == 4 && s == 1) return 4;
  if (c >= 5 && c <= 7 && (s == 0 || s == 1)) return 5 + 2 * (c - 5) + s;
  if (c == 10 && s == 1) return 11;
  if (c == 9 && s == 2) return 12;
  if (c == 8 && s == 0) return 13;
  if (c == 21 && s >= 0 && s < 12) return s < 6 ? 14 + 2 * s : 15 + 2 * (s - 6);
  if (c == 22) {
    static constexpr std::array<int, 7> kFree{26, 27, 28, 31, 29, 30, 32};
    if (s >= 0 && s < 7) return kFree[static_cast<std::size_t>(s)];
  }
  return 0;
}

std::optional<TrendItemKey> ItemOfParameterCode(int code, int channel) {
  if (code >= 1 && code <= 3) return TrendItemKey{code, 0, 0};
  if (code == 4) return TrendItemKey{4, 1, 0};
  if (code >= 5 && code <= 10) return TrendItemKey{5 + (code - 5) / 2, (code - 5) % 2, 0};
  if (code == 11) return TrendItemKey{10, 1, 0};
  if (code == 12) return TrendItemKey{9, 2, 0};
  if (code == 13) return TrendItemKey{8, 0, 0};
  if (code >= 14 && code <= 25) {
    const int band = (code - 14) / 2;
    return TrendItemKey{21, (code - 14) % 2 == 0 ? band : band + 6, channel};
  }
  static constexpr std::array<int, 7> kFreeSub{0, 1, 2, 4, 5, 3, 6};  // codes 26..32
  if (code >= 26 && code <= 32) return TrendItemKey{22, kFreeSub[static_cast<std::size_t>(code - 26)], channel};
  return std::nullopt;
}

int LyrTrendTool::StageRecordIndex(int code, int stageType) {
  if (code > 20) code -= 20;
  if (code >= 8 && code <= 10) return kExtraFirst + code - 8;
  if (code < 1 || code > 7 || stageType < 0 || stageType > 3) return kNoRecord;
  return kStageRecords[static_cast<std::size_t>(stageType)][static_cast<std::size_t>(code - 1)];
}

int LyrTrendTool::GetStageRowCount(int& normal, int& extra, const StageTypeParam& stages) {
  normal = 0;
  extra = 0;
  for (const StageRecord& r : stages.Set(TypeOf(stages)))
    if (r.showInHypnogram != 0) ++normal;
  for (int e = 0; e < ExtrasInUse(stages); ++e)
    if (stages.shared[static_cast<std::size_t>(e)].showInHypnogram != 0) ++extra;
  return normal + extra;
}

int LyrTrendTool::GetStageRow(int code, const StageTypeParam& stages, StageRecord* out) {
  const int index = StageRecordIndex(code, TypeOf(stages));
  if (index == kNoRecord) return 0;
  if (out != nullptr) *out = RecordAt(stages, index);
  return 1;
}

int LyrTrendTool::GetStageRowNumber(int code, const StageTypeParam& stages) {
  const int index = StageRecordIndex(code, TypeOf(stages));
  if (index == kNoRecord) return 0;
  int row = 0, found = 0;
  WalkRows(stages, ExtrasInUse(stages), [&](int i) {
    ++row;
    if (i == index) found = row;
    return found == 0;
  });
  return found;
}

int LyrTrendTool::GetStageLabels(int total, int extraShown, const StageTypeParam& stages,
                                 std::vector<std::string>& labels) {
  labels.clear();
  if (total <= 0) return 1;
  WalkRows(stages, std::clamp(extraShown, 0, ExtrasInUse(stages)), [&](int i) {
    labels.push_back(RecordAt(stages, i).name);
    return static_cast<int>(labels.size()) < total;
  });
  return 1;
}

int LyrTrendTool::GetTimeScaleStep(int minutes) {
  if (minutes <= 10) return 5;
  if (minutes <= 30) return 10;
  if (minutes <= 60) return 30;
  if (minutes <= 120) return 60;
  if (minutes <= 720) return 120;
  if (minutes <= 1440) return 360;
  return 720;
}

LogicCondition* LyrTrendTool::CurrentSet() const {
  if (doc_ == nullptr) return nullptr;
  return doc_->Params.logic.sets[static_cast<std::size_t>(TypeOf(doc_->Params.stageType))].data();
}

int LyrTrendTool::GetItemThreshold(const TrendItemKey& item, float& lower, float& upper) const {
  lower = upper = 0.0f;
  const int code = ItemParameterCode(item);
  const LogicCondition* set = CurrentSet();
  if (code == 0 || set == nullptr) return 0;
  for (int i = 0; i < LogicParam::kConditionsPerSet && set[i].stage != 0; ++i) {
    const LogicCondition& c = set[i];
    if (TermMatches(c.term1, code, item)) {
      lower = c.term1.lower;
      upper = c.term1.upper;
      return 1;
    }
    if (c.andSwitch != 0 && TermMatches(c.term2, code, item)) {
      lower = c.term2.lower;
      upper = c.term2.upper;
      return 1;
    }
  }
  return 0;
}

int LyrTrendTool::SetItemThreshold(const TrendItemKey& item, std::optional<float> lower,
                                   std::optional<float> upper) const {
  const int code = ItemParameterCode(item);
  LogicCondition* set = CurrentSet();
  if (code == 0 || set == nullptr) return 0;
  for (int i = 0; i < LogicParam::kConditionsPerSet && set[i].stage != 0; ++i) {
    LogicCondition& c = set[i];
    if (TermMatches(c.term1, code, item)) {
      ApplyBounds(c.term1, lower, upper);
      return 1;
    }
    if (c.andSwitch == 1 && TermMatches(c.term2, code, item)) {
      ApplyBounds(c.term2, lower, upper);
      return 1;
    }
  }
  return 0;
}

int LyrTrendTool::GetConditionThreshold(int clause, const LogicCondition& condition, int& graph, float& lower,
                                        float& upper) const {
  lower = upper = 0.0f;
  if (clause != 1 && (clause != 2 || condition.andSwitch != 1)) return 0;
  const LogicTerm& term = clause == 1 ? condition.term1 : condition.term2;
  const std::optional<TrendItemKey> item = ItemOfParameterCode(term.valueCode, term.channel);
  if (!item) return 0;
  const int count = TrendGraphCountHeld();
  for (int g = 0; g < count; ++g) {
    if (g == graph && SameItem(TrendItemOfGraph(g), *item)) {
      graph = g;
      lower = term.lower;
      upper = term.upper;
      return 1;
    }
  }
  return 0;
}

int LyrTrendTool::SetConditionThreshold(int row, int graph, std::optional<float> lower,
                                        std::optional<float> upper) const {
  LogicCondition* set = CurrentSet();
  if (set == nullptr || row < 0 || row >= LogicParam::kConditionsPerSet) return 0;
  LogicCondition& c = set[row];
  const TrendItemKey item = TrendItemOfGraph(graph);
  for (int clause = 1; clause <= 2; ++clause) {
    if (clause == 2 && c.andSwitch != 1) break;
    LogicTerm& term = clause == 1 ? c.term1 : c.term2;
    const std::optional<TrendItemKey> termItem = ItemOfParameterCode(term.valueCode, term.channel);
    if (termItem && SameItem(*termItem, item)) {
      ApplyBounds(term, lower, upper);
      return 1;
    }
  }
  return 0;
}

int LyrTrendTool::GetLogicThreshold(int graph, float& lower, float& upper) const {
  lower = upper = 0.0f;
  const LogicCondition* set = CurrentSet();
  if (set == nullptr) return 0;
  const int row = SelectedConditionRow();
  if (row >= 0) {
    for (int clause = 1; clause <= 2; ++clause) {
      int g = graph;
      if (GetConditionThreshold(clause, set[row], g, lower, upper)) return 1;
    }
  }
  return GetItemThreshold(TrendItemOfGraph(graph), lower, upper);
}

int LyrTrendTool::SetLogicThreshold(int graph, std::optional<float> lower, std::optional<float> upper) const {
  if (CurrentSet() == nullptr) return 0;
  const int row = SelectedConditionRow();
  if (row >= 0 && SetConditionThreshold(row, graph, lower, upper)) return 1;
  return SetItemThreshold(TrendItemOfGraph(graph), lower, upper);
}

int LyrTrendTool::IsSameTrendItem(int graphA, int graphB) {
  const TrendItemKey a = TrendItemOfGraph(graphA), b = TrendItemOfGraph(graphB);
  return a.category == b.category && a.sub == b.sub && (a.category != 22 || a.third == b.third) ? 1 : 0;
}
