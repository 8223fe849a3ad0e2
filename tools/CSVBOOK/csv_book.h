#pragma once
// The spreadsheet converter's parts: reading the program's CSV outputs (quoted fields, CR LF
// or LF line ends, texts in the code page of the program's language), telling number cells
// from text cells, and naming the workbook's sheets after the files.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace csvbook {

// Limits of one worksheet.
inline constexpr std::size_t kMaxRows = 1048576;
inline constexpr std::size_t kMaxColumns = 16384;
inline constexpr std::size_t kMaxCellChars = 32767;
inline constexpr std::size_t kMaxSheetNameChars = 31;

using Table = std::vector<std::vector<std::string>>;

// Splits CSV bytes into rows of fields: fields are separated by commas; a field that starts
// with a double quote runs to the matching quote, "" standing for one quote, and may hold
// commas and line ends. A final line end adds no row. nullopt with a reason when the text
// exceeds a worksheet's rows, columns or cell length, or a quote is never closed.
std::optional<Table> ParseCsv(std::string_view bytes, std::string* reason);

// The value of a cell that is wholly a finite decimal number ("-1.25", "3e2", "+7", ".5"):
// optional blanks around it are allowed. nullopt for anything else (empty, "1,5", "0x10",
// "inf", "nan").
std::optional<double> NumberOf(std::string_view cell);

// The sheet name of a file name: the name without its extension, each of []:*?/\ replaced by
// "_", cut to 31 characters, and made unique among `taken` (compared without regard to
// case) by a " (2)", " (3)" ... ending. The name is added to `taken`.
std::string SheetName(const std::string& fileName, std::vector<std::string>& taken);

// The arguments the program passes, one text "folder","book",mode; or three arguments.
struct Request {
  std::string folder;
  std::string book;
  int mode = 0;
};
std::optional<Request> ParseRequest(const std::vector<std::string>& args);

// The workbook's path: a ".xls" name becomes ".xlsx".
std::string BookPath(const std::string& path);

}  // namespace csvbook
