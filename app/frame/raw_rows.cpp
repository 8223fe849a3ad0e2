#include "app/frame/raw_rows.h"

std::vector<int> ShownRawRows(std::uint16_t pageRows) {
  if (pageRows == 1) return {2};
  if (pageRows == 3) return {1, 2, 3};
  return {0, 1, 2, 3, 4};
}

std::vector<int> RawRowsToRefresh(std::int16_t row, std::uint16_t pageRows) {
  if (row == -1) return ShownRawRows(pageRows);
  if (row < 0 || row >= kRawRowCount) return {};
  return {row};
}

std::vector<int> RawRowsToRepaint(std::int16_t row) {
  if (row == -1) return {0, 1, 2, 3, 4};
  if (row < 0 || row >= kRawRowCount) return {};
  return {row};
}
