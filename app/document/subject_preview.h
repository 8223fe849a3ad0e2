#pragma once
// Subject data of a recording, read before it is opened, for the preview lists of the open
// dialogs; and the plug-in subject call that the document's header reader shares.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class FynFileAccess;
class LyrRecordInfo;
namespace sys {
class DynamicLibrary;
}
namespace ui {
class Control;
}

// Gender words: 0 male, 1 female, anything else not given.
inline constexpr std::uint16_t kGenderNotGiven = 65535;

struct SubjectBlock {
  struct Comment { std::string label; std::string text; };  // 20 and 30 bytes
  std::string name;                         // 20 bytes
  std::uint16_t gender = kGenderNotGiven;
  std::int32_t ageYears = 0;
  std::int32_t ageMonths = 0;
  std::string memo;                         // 60 bytes
  std::array<Comment, 10> comments;
};

// Text cut to a field of n bytes in the file code page (between characters).
std::string CutField(const std::string& text, std::size_t bytes);

// What a plug-in says of its subject: name, gender, age and the candidate comment items in
// their order (the plug-in's own pairs first, then the fields of the subject record).
struct PluginSubject {
  bool given = false;
  std::string name;
  std::int16_t gender = -1;
  std::int16_t ageYears = 0;
  std::int16_t ageMonths = 0;
  std::vector<std::pair<std::string, std::string>> items;
};
// Asks the module through GetSubjectInfo2, then GetSubjectInfo.
PluginSubject CallPluginSubject(sys::DynamicLibrary& module, const std::string& path);
// Fills up to ten items in order (label 20, text 30 bytes), stopping at the first candidate
// that finds no room.
template <typename Item, std::size_t N>
void FillSubjectItems(const PluginSubject& s, std::array<Item, N>& out);

// From an own data file whose reader is initialised. browserRule: the file browser's result
// (1 only when free comments were read); otherwise always 1.
int ReadOwnFileSubject(FynFileAccess& reader, const std::string& path, SubjectBlock& block, bool browserRule);
// Through an import plug-in speaking structure version 1; 0 otherwise.
int ReadPluginSubject(sys::DynamicLibrary& module, const std::string& path, SubjectBlock& block);
// Any file: an own data file through its reader, otherwise through the import plug-in at
// pluginPath when it takes the file. 1 when the block was read.
int ReadFileSubject(const std::string& path, const std::string& pluginPath, SubjectBlock& block, bool browserRule);
// The preview rows (label, value) of a block, names hidden while HideSubjectName is set.
std::vector<std::pair<std::string, std::string>> SubjectPreviewRows(const SubjectBlock& block);
// Refills a two-column report list with the rows.
void ShowSubjectPreview(ui::Control& list, const SubjectBlock& block);
// Whether a comment's title marks it as a subject name (its text is hidden with the name).
bool IsNameLabel(const std::string& title);
// One "*" per character of the text.
std::string HiddenText(const std::string& text);

template <typename Item, std::size_t N>
void FillSubjectItems(const PluginSubject& s, std::array<Item, N>& out) {
  std::size_t used = 0;
  for (const auto& [label, text] : s.items) {
    if (used == N) break;
    out[used].label = CutField(label, 20);
    out[used].text = CutField(text, 30);
    ++used;
  }
}
