#include "app/workspace/stage_graph_table.h"

#include <cstdio>

#include "app/document/analysis_param_blocks.h"
#include "app/workspace/workspace_settings.h"

namespace {
constexpr std::array<std::array<int, kStageGraphItems>, 4> kItemCodes = {{
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
    {1, 2, 3, 4, 5, 7, 8, 9, 10, 0},
    {1, 2, 3, 5, 7, 8, 9, 10, 0, 0},
    {1, 2, 3, 7, 8, 9, 10, 0, 0, 0},
}};
int TypeRow(int stageType) { return stageType >= 0 && stageType <= 2 ? stageType : 3; }
}  // namespace

int StageGraphStageFlag(int item) {
  if (item < 0 || item >= kStageGraphItems) return 0;
  return static_cast<int>((ReportWorkspaceSettings[static_cast<std::size_t>(item / 2)] >> (16 * (item % 2))) & 0xFFFFu);
}

void SetStageGraphStageFlag(int item, int value) {
  if (item < 0 || item >= kStageGraphItems) return;
  std::uint32_t& word = ReportWorkspaceSettings[static_cast<std::size_t>(item / 2)];
  const int shift = 16 * (item % 2);
  word = (word & ~(0xFFFFu << shift)) | ((static_cast<std::uint32_t>(value) & 0xFFFFu) << shift);
}

int StageGraphItemCount(int stageType) { return 10 - TypeRow(stageType); }

int StageGraphItemCode(int stageType, int item) {
  if (item < 0 || item >= kStageGraphItems) return 0;
  return kItemCodes[static_cast<std::size_t>(TypeRow(stageType))][static_cast<std::size_t>(item)];
}

int StageGraphItemOf(int stageType, int code) {
  if (code <= 0 || code == 20) return -1;
  if (code > 20) code -= 20;
  const auto& row = kItemCodes[static_cast<std::size_t>(TypeRow(stageType))];
  for (int i = 0; i < kStageGraphItems; ++i)
    if (row[static_cast<std::size_t>(i)] == code) return i;
  return -1;
}

std::vector<std::string> StageGraphItemNames(const StageTypeParam& block) {
  std::vector<std::string> names;
  const int type = TypeRow(block.stageType);
  for (const StageRecord& r : block.Set(type)) names.push_back(r.name);
  const int extra = block.sharedInUse > 3 ? 3 : block.sharedInUse;
  for (int i = 0; i < extra; ++i) names.push_back(block.shared[static_cast<std::size_t>(i)].name);
  return names;
}

std::string StageGraphTable::Value(int division, int item, int yUnit) const {
  if (division < 0 || division >= Divisions() || item < 0 || item >= kStageGraphItems) return {};
  const int count = counts[static_cast<std::size_t>(division)][static_cast<std::size_t>(item)];
  char cell[32];
  if (yUnit == 0)
    std::snprintf(cell, sizeof cell, "%.1f", epochsPerDivision > 0 ? count * 100.0 / epochsPerDivision : 0.0);
  else
    std::snprintf(cell, sizeof cell, "%3ld", static_cast<long>(count) * epochSeconds);
  return cell;
}

StageGraphTable CountStageGraph(const std::function<int(int)>& stageOf, int stageType, int first, int last,
                                int lastValid, int epochSeconds, int divisionMinutes,
                                const std::array<std::uint16_t, kStageGraphItemFlags>& flags) {
  StageGraphTable t;
  t.epochSeconds = epochSeconds;
  t.first = first;
  t.epochsPerDivision = epochSeconds > 0 ? static_cast<int>(static_cast<long long>(divisionMinutes) * 60 / epochSeconds) : 0;
  for (int i = 0; i < kStageGraphItems; ++i)
    if (flags[static_cast<std::size_t>(i)] != 0) t.shownItems.push_back(i);
  if (t.epochsPerDivision <= 0 || first < 0) return t;
  if (last > lastValid) last = lastValid;
  std::array<int, kStageGraphItems> count{};
  for (int e = first; e <= last; ++e) {
    const int item = StageGraphItemOf(stageType, stageOf(e));
    if (item >= 0) ++count[static_cast<std::size_t>(item)];
    if ((e - first + 1) % t.epochsPerDivision == 0) {
      t.counts.push_back(count);
      count = {};
    }
  }
  return t;
}

int StageGraphDivisionLimitMinutes(int epochCount, int epochSeconds) {
  return static_cast<int>(static_cast<long long>(epochCount / 2) * epochSeconds / 60);
}

const StageRecord* StageGraphItemRecord(const StageTypeParam& block, int item) {
  const auto set = block.Set(TypeRow(block.stageType));
  if (item < 0) return nullptr;
  if (item < static_cast<int>(set.size())) return &set[static_cast<std::size_t>(item)];
  const int shared = item - static_cast<int>(set.size());
  return shared < StageTypeParam::kFreeStageCount ? &block.shared[static_cast<std::size_t>(shared)] : nullptr;
}
