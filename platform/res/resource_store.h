#pragma once
// Resource store: every file under resources/<lang>/ is embedded into the program
// as text and looked up here by its path ("en/strings/frame.tsv").
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace res {

struct EmbeddedFile {
  const char* path;  // relative to resources/, e.g. "en/strings/frame.tsv"
  const char* text;
};
extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;

// Languages by their Windows language id, as the program's resources are keyed.
enum class Language : std::uint16_t { English = 1033, Japanese = 1041 };

// The language whose resources are loaded. Defaults to English.
void SetLanguage(Language lang);
Language CurrentLanguage();
// Called with the language on every SetLanguage (the window layer sets its fonts and its own
// translations by it).
void SetLanguageObserver(void (*observer)(Language));
// "en" or "ja".
std::string_view LanguageFolder(Language lang);

// Text of an embedded file, or empty when there is none.
std::string_view FileText(std::string_view path);
// Paths of the embedded files that start with the prefix, sorted.
std::vector<std::string_view> FilesUnder(std::string_view prefix);

// String table lookup in the current language (or the given one).
// String files are resources/<lang>/strings/*.tsv: one "id<TAB>text" a line, with
// \n, \t and \\ escapes; '#' starts a comment line. Returns empty when unknown.
std::string LoadString(std::uint32_t id);
std::string LoadString(std::uint32_t id, Language lang);
bool HasString(std::uint32_t id, Language lang);

}  // namespace res
