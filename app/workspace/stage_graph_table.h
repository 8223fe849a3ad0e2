#pragma once
// The numbers of the stage graph: per full time division of an epoch range, how many epochs
// each stage item holds. Items are indexes 0..9 whose stage code depends on the stage type;
// codes n and n + 20 count as one item, unscored epochs (0, 20) as none.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct StageTypeParam;

constexpr int kStageGraphItems = 10;
constexpr int kStageGraphItemFlags = 20;

// Number of items of a stage type: 10, 9, 8, or 7 for any other type.
int StageGraphItemCount(int stageType);
// Stage code of an item (0 when the type has no such item).
int StageGraphItemCode(int stageType, int item);
// Item of a stage code (folded below 21), -1 when it has none.
int StageGraphItemOf(int stageType, int code);
// Names of the items in the dialog's list: the stage type's display names, then the shared
// stages in use.
std::vector<std::string> StageGraphItemNames(const StageTypeParam& block);

struct StageGraphTable {
  int epochSeconds = 0;
  int epochsPerDivision = 0;
  int first = 0;
  // Items drawn and listed, in item order.
  std::vector<int> shownItems;
  // Per full division, the epochs of each item.
  std::vector<std::array<int, kStageGraphItems>> counts;

  int Divisions() const { return static_cast<int>(counts.size()); }
  // Seconds the full divisions cover (the scale of the X axis).
  long long SpanSeconds() const {
    return static_cast<long long>(Divisions()) * epochsPerDivision * epochSeconds;
  }
  int DivisionFirstEpoch(int d) const { return first + d * epochsPerDivision; }
  // A cell of the table: "%.1f" percent of the division (yUnit 0) or "%3ld" seconds.
  std::string Value(int division, int item, int yUnit) const;
};

// Counts epochs first..last (not beyond lastValid) by item; a trailing partial division is
// dropped. stageOf gives the stage code of an epoch (slot 0, merged by the stage type).
StageGraphTable CountStageGraph(const std::function<int(int)>& stageOf, int stageType, int first, int last,
                                int lastValid, int epochSeconds, int divisionMinutes,
                                const std::array<std::uint16_t, kStageGraphItemFlags>& flags);

// The largest time division the settings dialog takes, in minutes: half the epochs' time.
int StageGraphDivisionLimitMinutes(int epochCount, int epochSeconds);

// Display record of an item: the stage type's record set, then the shared stages.
const struct StageRecord* StageGraphItemRecord(const StageTypeParam& block, int item);
