#include "app/frame/file_version_info.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"

namespace {

// The program's own version data.
constexpr char kVersionText[] =
    "\\VarFileInfo\\Translation\t0409 04e4\n"
    "\\StringFileInfo\\040904e4\\FileDescription\tQLM2_Analyzer\n"
    "\\StringFileInfo\\040904e4\\FileVersion\t1.0.0.1\n"
    "\\StringFileInfo\\040904e4\\InternalName\tQLM2_Analyzer\n"
    "\\StringFileInfo\\040904e4\\OriginalFilename\tQLM2_Analyzer\n"
    "\\StringFileInfo\\040904e4\\ProductName\tVellisom\n"
    "\\StringFileInfo\\040904e4\\ProductVersion\t1.0\n";
constexpr std::size_t kMarkerSize = 16;
constexpr std::size_t kTextSize = sizeof(kVersionText) - 1;
// The marker is kept scrambled in the code, so that the only plain copy in a file is the
// one in front of its version data.
constexpr std::uint8_t kScramble = 0x5A;
constexpr char kMarker[kMarkerSize + 1] = "\x7fQLM-VERSION-01\x7f";
static_assert(sizeof(kMarker) == kMarkerSize + 1);

struct VersionBlock {
  char marker[kMarkerSize];
  std::uint8_t size[4];
  char text[kTextSize];
};

constexpr VersionBlock MakeBlock() {
  VersionBlock b{};
  for (std::size_t k = 0; k < kMarkerSize; ++k) b.marker[k] = kMarker[k];
  for (int k = 0; k < 4; ++k) b.size[k] = static_cast<std::uint8_t>(kTextSize >> (8 * k));
  for (std::size_t k = 0; k < kTextSize; ++k) b.text[k] = kVersionText[k];
  return b;
}

constexpr std::array<std::uint8_t, kMarkerSize> ScrambledMarker() {
  std::array<std::uint8_t, kMarkerSize> m{};
  for (std::size_t k = 0; k < kMarkerSize; ++k) m[k] = static_cast<std::uint8_t>(kMarker[k]) ^ kScramble;
  return m;
}

[[gnu::used]] const VersionBlock kProgramVersion = MakeBlock();
// Only the scrambled form is stored; the plain marker exists in the block alone.
[[gnu::used]] const std::array<std::uint8_t, kMarkerSize> kMarkerScrambled = ScrambledMarker();

constexpr std::size_t kMaxText = 64 * 1024;

// Finds the version block in the file and returns its text; false when there is none.
bool ReadVersionText(const std::string& path, std::string* text) {
  const std::optional<std::string> file = sys::ReadWholeFile(path);
  if (!file) return false;
  std::string marker(kMarkerSize, '\0');
  for (std::size_t k = 0; k < kMarkerSize; ++k) marker[k] = static_cast<char>(kMarkerScrambled[k] ^ kScramble);
  for (std::size_t at = file->find(marker); at != std::string::npos; at = file->find(marker, at + 1)) {
    const std::size_t sizeAt = at + kMarkerSize;
    if (sizeAt + 4 > file->size()) break;
    const auto* b = reinterpret_cast<const std::uint8_t*>(file->data() + sizeAt);
    const std::size_t length = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::size_t>(b[3]) << 24);
    // Every line of the data starts with a key, and every key with a backslash.
    if (length == 0 || length > kMaxText || length > file->size() - sizeAt - 4 || (*file)[sizeAt + 4] != '\\') {
      continue;
    }
    *text = file->substr(sizeAt + 4, length);
    return true;
  }
  return false;
}

constexpr const char* kFieldNames[] = {"Comments",        "CompanyName",    "FileDescription",  "FileVersion",
                                       "InternalName",    "LegalCopyright", "LegalTrademarks",  "OriginalFilename",
                                       "PrivateBuild",    "ProductName",    "ProductVersion",   "SpecialBuild"};
constexpr std::uint16_t kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};

std::vector<std::uint16_t> LanguageIds() {
  std::vector<std::uint16_t> ids;
  for (std::uint16_t id = 0x401; id <= 0x421; ++id) ids.push_back(id);
  for (std::uint16_t id : {0x804, 0x807, 0x809, 0x80A, 0x80C, 0x810, 0x813, 0x814, 0x816, 0x81A, 0xC0C, 0x100C}) {
    ids.push_back(id);
  }
  return ids;
}

std::string StringKey(std::uint16_t language, std::uint16_t codePage, const char* name) {
  char key[96];
  std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
  return key;
}

}  // namespace

FileVersionInfo::FileVersionInfo(const char* path) : path_(path != nullptr ? path : sys::ProgramFilePath()) {
  std::string text;
  if (!ReadVersionText(path_, &text)) return;
  hasData_ = true;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    values_[line.substr(0, tab)] = line.substr(tab + 1);
  }
  if (const std::string* t = Find("\\VarFileInfo\\Translation")) {
    unsigned language = 0, codePage = 0;
    int used = 0;
    for (const char* p = t->c_str(); std::sscanf(p, "%4x %4x%n", &language, &codePage, &used) == 2; p += used) {
      translations_.emplace_back(static_cast<std::uint16_t>(language), static_cast<std::uint16_t>(codePage));
    }
  }
}

const std::string* FileVersionInfo::Find(const std::string& key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? nullptr : &it->second;
}

int FileVersionInfo::GetString(std::string* out, int which) const {
  if (out == nullptr) return 0;
  out->clear();
  if (which < 0 || which >= static_cast<int>(std::size(kFieldNames)) || !hasData_) return 0;
  const char* name = kFieldNames[which];
  // The first translation, when the data has one; otherwise every known pair in turn.
  if (!translations_.empty()) {
    if (const std::string* v = Find(StringKey(translations_[0].first, translations_[0].second, name))) {
      *out = *v;
      return 1;
    }
  }
  static const std::vector<std::uint16_t> languages = LanguageIds();
  for (std::uint16_t codePage : kCodePages) {
    for (std::uint16_t language : languages) {
      if (const std::string* v = Find(StringKey(language, codePage, name))) {
        *out = *v;
        return 1;
      }
    }
  }
  return 0;
}
