#pragma once
// Which of the five raw wave rows the frame redraws. The document's row count
// says how many rows are shown: 1 shows row 2, 3 shows rows 1 to 3, any other
// value all five.
#include <cstdint>
#include <vector>

inline constexpr int kRawRowCount = 5;

// Rows shown for the document's row count, top to bottom.
std::vector<int> ShownRawRows(std::uint16_t pageRows);

// Rows whose page RefreshAllViews draws: the given row whatever the row count,
// or the shown rows for -1. A row outside 0..4 draws nothing.
std::vector<int> RawRowsToRefresh(std::int16_t row, std::uint16_t pageRows);

// Rows whose frame RedrawRawFrames repaints: the given row or all five for -1.
std::vector<int> RawRowsToRepaint(std::int16_t row);
