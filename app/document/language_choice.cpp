#include "app/document/language_choice.h"

#include <fstream>

#include "platform/res/resource_store.h"
#include "platform/system/locale.h"
#include "platform/system/program_folder.h"

namespace {
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool IsEnglishLanguageLine(std::string_view firstLine) {
  constexpr std::string_view kEnglish = "english";
  if (firstLine.size() != kEnglish.size()) return false;
  for (std::size_t i = 0; i < kEnglish.size(); ++i) {
    if (AsciiLower(firstLine[i]) != kEnglish[i]) return false;
  }
  return true;
}

std::optional<std::string> ReadFirstTextLine(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  std::getline(in, line);
  // Text-mode reading: a CR before the line feed belongs to the line end.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string LanguageFilePath(const std::string& programFolder) {
  std::string path = programFolder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + "Language.md";
}

int ChooseUserInterfaceLanguage() {
  int englishMode = 0;
  const std::optional<std::string> line = ReadFirstTextLine(LanguageFilePath(sys::ProgramFolder()));
  if (line && IsEnglishLanguageLine(*line)) {
    sys::SetThreadLocale(sys::kLcidEnglishUs);
    englishMode = 1;
  }
  if (sys::GetThreadLocale() == sys::kLcidEnglishUs) englishMode = 1;
  res::SetLanguage(englishMode ? res::Language::English : res::Language::Japanese);
  return englishMode;
}
