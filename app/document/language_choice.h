#pragma once
// Choice of the user-interface language at start-up: the file "Language.md"
// beside the program may ask for English; otherwise the thread locale decides.
#include <optional>
#include <string>
#include <string_view>

// Language ids as the resources are keyed.
inline constexpr unsigned kLangEnglishUs = 1033;
inline constexpr unsigned kLangJapanese = 1041;

// True when the first line of the language file asks for English: "english"
// in any case, nothing before or after it.
bool IsEnglishLanguageLine(std::string_view firstLine);

// First line of a text file without its line end, or nothing when the file
// cannot be opened. An empty file gives an empty line.
std::optional<std::string> ReadFirstTextLine(const std::string& path);

// Path of the language file in the given program folder.
std::string LanguageFilePath(const std::string& programFolder);

// Start-up language choice: reads the language file beside the program; when it
// asks for English the thread locale becomes 1033. Then, whatever the file said,
// the interface is English exactly when the thread locale is 1033, and the
// resources of that language are selected. Returns the EnglishMode flag (1 or 0).
int ChooseUserInterfaceLanguage();
