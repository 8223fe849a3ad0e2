#pragma once
// FileVersionInfo: the version texts of one of the system's program files (the program, the
// video player library), as the About window shows them.
//
// Our program files carry their version data as a block in their read-only data: a marker,
// a 32-bit little-endian length and "key<TAB>value" lines, the keys being
// "\VarFileInfo\Translation" (value: pairs "llll cccc" of 16-bit language id and code page
// in hex) and "\StringFileInfo\llllcccc\<name>".
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class FileVersionInfo {
 public:
  // Reads the version data of path, or of the running program when path is null. A file
  // without version data (or one that cannot be read) answers every question with nothing.
  explicit FileVersionInfo(const char* path);
  virtual ~FileVersionInfo() = default;

  // The text of field which: 0 "Comments", 1 "CompanyName", 2 "FileDescription",
  // 3 "FileVersion", 4 "InternalName", 5 "LegalCopyright", 6 "LegalTrademarks",
  // 7 "OriginalFilename", 8 "PrivateBuild", 9 "ProductName", 10 "ProductVersion",
  // 11 "SpecialBuild". Returns 1 and the text, or 0 and an empty text.
  int GetString(std::string* out, int which) const;

  bool HasData() const { return hasData_; }
  const std::string& Path() const { return path_; }

 private:
  const std::string* Find(const std::string& key) const;

  std::string path_;
  bool hasData_ = false;
  std::map<std::string, std::string> values_;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> translations_;
};
