// CSVBOOK: binds the CSV files of a folder into one workbook, a worksheet per file in name
// order. Started by the program with one argument "folder","book",mode. On success it exits
// with 0; on failure it writes a one-line reason to its error output, exits with 1 and leaves
// any book already at the path as it was (the new book is written beside and renamed).
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/system/program_folder.h"
#include "tools/CSVBOOK/csv_book.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& reason) {
  std::fprintf(stderr, "%s\n", reason.c_str());
  return 1;
}

// The code page of the program's texts: English when the language file beside the programs
// says so or the environment is English, else Japanese.
sys::CodePage TextCodePage() {
  std::ifstream in(sys::ProgramFolder() + "/Language.md", std::ios::binary);
  std::string line;
  if (in && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string lower;
    for (char c : line) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "english") return sys::CodePage::Cp1252;
  }
  return sys::AnsiCodePageOf(sys::LocaleFromEnvironment());
}

// The library reports its own errors on the error output; while it writes, that output goes
// nowhere, so that the converter's reason stays the one line there.
int QuietErrorOutput() {
  const int saved = ::dup(2);
  if (const int devNull = ::open("/dev/null", O_WRONLY); devNull >= 0) {
    ::dup2(devNull, 2);
    ::close(devNull);
  }
  return saved;
}

void RestoreErrorOutput(int saved) {
  if (saved < 0) return;
  ::dup2(saved, 2);
  ::close(saved);
}

bool IsCsv(const fs::path& p) {
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".csv";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::optional<csvbook::Request> request = csvbook::ParseRequest(args);
  if (!request) return Fail("usage: CSVBOOK \"folder\",\"book\",mode");
  const std::string book = csvbook::BookPath(request->book);

  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(request->folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec) && IsCsv(it->path())) files.push_back(it->path());
  if (ec) return Fail("cannot read the folder " + request->folder + ": " + ec.message());
  if (files.empty()) return Fail("no CSV file in " + request->folder);
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().string() < b.filename().string();
  });

  // Every file is read and checked before anything is written.
  const sys::CodePage cp = TextCodePage();
  std::vector<csvbook::Table> tables;
  for (const fs::path& f : files) {
    std::ifstream in(f, std::ios::binary);
    if (!in) return Fail("cannot read " + f.string());
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string reason;
    std::optional<csvbook::Table> table = csvbook::ParseCsv(bytes, &reason);
    if (!table) return Fail(f.filename().string() + ": " + reason);
    for (auto& row : *table)
      for (std::string& cell : row) cell = sys::ToUtf8(cell, cp);
    tables.push_back(std::move(*table));
  }

  const std::string partial = book + ".partial-" + std::to_string(::getpid());
  const int savedErr = QuietErrorOutput();
  lxw_workbook* wb = workbook_new(partial.c_str());
  if (wb == nullptr) {
    RestoreErrorOutput(savedErr);
    return Fail("cannot write " + book);
  }
  std::vector<std::string> names;
  bool ok = true;
  for (std::size_t i = 0; i < files.size() && ok; ++i) {
    const std::string name = csvbook::SheetName(files[i].filename().string(), names);
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
    if (ws == nullptr) {
      ok = false;
      break;
    }
    const csvbook::Table& t = tables[i];
    for (std::size_t r = 0; r < t.size() && ok; ++r) {
      for (std::size_t c = 0; c < t[r].size(); ++c) {
        const std::string& cell = t[r][c];
        if (cell.empty()) continue;
        const auto row = static_cast<lxw_row_t>(r);
        const auto col = static_cast<lxw_col_t>(c);
        const std::optional<double> number = csvbook::NumberOf(cell);
        const lxw_error err = number ? worksheet_write_number(ws, row, col, *number, nullptr)
                                     : worksheet_write_string(ws, row, col, cell.c_str(), nullptr);
        if (err != LXW_NO_ERROR) {
          ok = false;
          break;
        }
      }
    }
  }
  const lxw_error closed = workbook_close(wb);
  RestoreErrorOutput(savedErr);
  if (!ok || closed != LXW_NO_ERROR) {
    fs::remove(partial, ec);
    return Fail("cannot write " + book + (closed != LXW_NO_ERROR ? std::string(": ") + lxw_strerror(closed) : std::string()));
  }
  fs::rename(partial, book, ec);
  if (ec) {
    fs::remove(partial, ec);
    return Fail("cannot write " + book + ": " + ec.message());
  }
  return 0;
}
