// The spreadsheet converter's CSV reader on any bytes: it must return rows or a reason,
// never read past the input, and every cell it returns must be classified without fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/CSVBOOK/csv_book.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string reason;
  const auto table = csvbook::ParseCsv(bytes, &reason);
  if (!table) {
    if (reason.empty()) __builtin_trap();
    return 0;
  }
  std::vector<std::string> taken;
  for (const auto& row : *table) {
    if (row.size() > csvbook::kMaxColumns) __builtin_trap();
    for (const std::string& cell : row) {
      (void)csvbook::NumberOf(cell);
      if (cell.size() > bytes.size()) __builtin_trap();
    }
    if (!row.empty() && taken.size() < 64) (void)csvbook::SheetName(row.front(), taken);
  }
  (void)csvbook::ParseRequest({std::string(bytes)});
  return 0;
}
