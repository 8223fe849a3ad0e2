#include "tools/CSVBOOK/csv_book.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace csvbook {
namespace {

std::size_t Utf8Chars(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// The first `chars` characters of UTF-8 text.
std::string CutChars(const std::string& s, std::size_t chars) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (n == chars) return s.substr(0, i);
      ++n;
    }
  }
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::optional<Table> ParseCsv(std::string_view bytes, std::string* reason) {
  auto fail = [reason](std::string why) -> std::optional<Table> {
    if (reason != nullptr) *reason = std::move(why);
    return std::nullopt;
  };
  Table table;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;        // inside a quoted field
  bool fieldStarted = false;  // the field has a character or an opening quote
  std::size_t i = 0;
  auto endField = [&]() -> bool {
    if (field.size() > kMaxCellChars && Utf8Chars(field) > kMaxCellChars) return false;
    row.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
    return row.size() <= kMaxColumns;
  };
  auto endRow = [&]() -> bool {
    table.push_back(std::move(row));
    row.clear();
    return table.size() <= kMaxRows;
  };
  const std::string tooBig = "beyond a worksheet's limits (1,048,576 rows, 16,384 columns, 32,767 characters a cell)";
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
          field += '"';
          i += 2;
          continue;
        }
        quoted = false;
        ++i;
        continue;
      }
      field += c;
      ++i;
      continue;
    }
    if (c == '"' && !fieldStarted) {
      quoted = true;
      fieldStarted = true;
      ++i;
      continue;
    }
    if (c == ',') {
      if (!endField()) return fail(tooBig);
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (!endField() || !endRow()) return fail(tooBig);
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      continue;
    }
    field += c;
    fieldStarted = true;
    ++i;
  }
  if (quoted) return fail("a quoted field is not closed");
  if (fieldStarted || !field.empty() || !row.empty()) {
    if (!endField() || !endRow()) return fail(tooBig);
  }
  return table;
}

std::optional<double> NumberOf(std::string_view cell) {
  std::size_t b = 0;
  std::size_t e = cell.size();
  while (b < e && (cell[b] == ' ' || cell[b] == '\t')) ++b;
  while (e > b && (cell[e - 1] == ' ' || cell[e - 1] == '\t')) --e;
  const std::string_view s = cell.substr(b, e - b);
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const std::string text(s);
  const double v = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::string SheetName(const std::string& fileName, std::vector<std::string>& taken) {
  std::string base = fileName;
  if (const auto dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.resize(dot);
  for (char& c : base)
    if (c == '[' || c == ']' || c == ':' || c == '*' || c == '?' || c == '/' || c == '\\') c = '_';
  // A sheet name may not begin or end with an apostrophe, nor be empty.
  if (!base.empty() && base.front() == '\'') base.front() = '_';
  if (!base.empty() && base.back() == '\'') base.back() = '_';
  if (base.empty()) base = "Sheet";
  std::string name = CutChars(base, kMaxSheetNameChars);
  auto isTaken = [&taken](const std::string& n) {
    const std::string l = Lower(n);
    for (const std::string& t : taken)
      if (Lower(t) == l) return true;
    return false;
  };
  for (int k = 2; isTaken(name); ++k) {
    const std::string suffix = " (" + std::to_string(k) + ")";
    name = CutChars(base, kMaxSheetNameChars - suffix.size()) + suffix;
  }
  taken.push_back(name);
  return name;
}

std::optional<Request> ParseRequest(const std::vector<std::string>& args) {
  Request r;
  if (args.size() == 3) {
    r.folder = args[0];
    r.book = args[1];
    r.mode = std::atoi(args[2].c_str());
    return r;
  }
  if (args.size() != 1) return std::nullopt;
  std::string reason;
  const std::optional<Table> t = ParseCsv(args[0], &reason);
  if (!t || t->size() != 1 || (*t)[0].size() != 3) return std::nullopt;
  r.folder = (*t)[0][0];
  r.book = (*t)[0][1];
  r.mode = std::atoi((*t)[0][2].c_str());
  return r;
}

std::string BookPath(const std::string& path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
  if (Lower(path.substr(dot)) == ".xls") return path.substr(0, dot) + ".xlsx";
  return path;
}

}  // namespace csvbook
