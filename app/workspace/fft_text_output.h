#pragma once
// The tables of the average and continuous spectrum text outputs, apart from their dialogs:
// the stage rows of the average output, its per-division sums and counts, and the text of
// its two tables; the header and epoch lines of the continuous output. Every cell is followed
// by the delimiter, the last of a line too; lines end with "\n".
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"

namespace ffttext {

// Stage codes of the stage list rows for a stage type and its count of extra stages.
std::vector<int> StageRowCodes(int stageType, int extraStages);
// Row of a stage code (n and n + 20 share a row); -1 when the type has none.
int StageRow(int stageType, int code);

// Bins of a channel: B = N/2 + 1, the bins printed (below B, the value count and the display
// range's trunc(F / df) + 1) and the bins entering band values (below B and the value count).
struct Bins {
  double df = 0.0;
  int printed = 0;
  int banded = 0;
};
Bins BinsOf(double rateHz, int points, float upperHz, int valueCount);

// Division count of a range of n epochs in divisions of l epochs.
int DivisionCount(int epochs, int perDivision);

// Sums and counts of one stage row (or of all epochs) per division.
struct DivisionTable {
  std::vector<double> sums;  // division-major, B per division
  std::vector<std::int32_t> averaged;
  std::vector<std::int32_t> rejected;
  void Reset(int divisions, int bins);
  void Add(int division, std::span<const float> values);
};

// What the tables print besides the sums.
struct AverageLayout {
  const FFTPageParam* fp = nullptr;
  Bins bins;
  std::string unit;
  char delimiter = ',';
  int divisions = 0;
  // Unattended runs: the lines of the first and last epoch, the division length in hours.
  bool unattended = false;
  bool artifactExcludes = false;
  std::string firstLabel;
  std::string lastLabel;
  double divisionHours = 0.0;
  // "Time Division(%s)": the elapsed label of the division length.
  std::string divisionLabel;
};
// Lines after the common header of the per-stage table (rows: name and table of each
// selected row) and of the all-epoch table.
struct StageTable {
  std::string name;
  const DivisionTable* table = nullptr;
};
std::string PerStageText(const AverageLayout& layout, const std::vector<StageTable>& rows);
std::string AllEpochText(const AverageLayout& layout, const DivisionTable& all);

// Continuous output: a channel's two header lines and one epoch's line.
struct ContinuousLayout {
  const FFTPageParam* fp = nullptr;
  Bins bins;
  std::string name;
  std::string unit;
  char delimiter = ',';
};
std::string ContinuousHeader(const ContinuousLayout& layout);
std::string ContinuousLine(const ContinuousLayout& layout, int epoch, const std::string& stageName,
                           const std::string& timeLabel, std::span<const float> values);

// Band values over the band bins; in percentage mode divided by the total over the
// percentage range (sums kept when that total is 0).
std::vector<double> BandValues(const FFTPageParam& fp, const Bins& bins, std::span<const float> values);

}  // namespace ffttext
