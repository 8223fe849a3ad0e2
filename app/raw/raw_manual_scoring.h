#pragma once
// Scoring a dragged stretch of the raw page: the positions of the range become epochs, the
// stage code goes into every epoch of the range, and the rows that show the range redraw.
#include <cstdint>
#include <vector>

namespace rawscoring {

// Epoch of a position in samples at rate R: trunc(p x 1000 / R) ms over the epoch's ms.
// -1 for a rate or epoch length of 0.
std::int64_t EpochOfPosition(std::int64_t position, std::uint32_t rate, int epochSeconds);

// Rows (top to bottom) that show the epochs from startEpoch to endEpoch. viewRow and
// viewRowPage locate the view the command came through; pageRows is the document's row
// count (1 one row, 3 three rows, other values five). An epoch in no shown row counts as
// row 2.
std::vector<int> RowsShowingEpochs(std::int64_t startEpoch, std::int64_t endEpoch, int viewRow,
                                   std::int64_t viewRowPage, int pageRows, int pageSeconds, int epochSeconds);

// Stage index of each stage command (1..10), 0 for another id.
int StageIndexOfCommand(std::uint32_t id);

}  // namespace rawscoring
