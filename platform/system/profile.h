#pragma once
// Private-profile (ini) files: sections of "key=value" lines, read and written with the
// semantics the system's settings files were made with:
// - section and key names compare without regard to case; the first section of a name
//   and the first key of a name in it count;
// - values are trimmed of surrounding blanks and of one pair of matching quotes;
// - lines before the first section and lines starting with ';' are not keys;
// - writing keeps every other line (comments, blank lines, order) as it was; the file is
//   replaced through a new file beside it, so a failed write leaves it intact.
// Files are stored in the ANSI code page of the language (AnsiCodePage() unless given);
// names and values are UTF-8 in memory. A file starting with a UTF-8 byte-order mark is
// read and written as UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/code_page.h"

namespace sys {

// The value, or the default (trailing blanks removed) when the file, section or key is
// missing.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& file,
                                    std::optional<CodePage> cp = std::nullopt);

// The value read as a decimal number: optional blanks, an optional sign, then the leading
// digits ("12abc" gives 12, "abc" gives 0, "-5" gives -5); the default when the key is
// missing or its value is empty. Overflow wraps as a 32-bit number.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& file, std::optional<CodePage> cp = std::nullopt);

// Names of all sections, and of all keys of a section, in file order.
std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file,
                                                       std::optional<CodePage> cp = std::nullopt);
std::vector<std::string> GetPrivateProfileKeys(std::string_view section, const std::string& file,
                                               std::optional<CodePage> cp = std::nullopt);

// Sets a key, creating the file, the section (at the end of the file) and the key (after
// the last line of its section) as needed. Names or values with line breaks, and keys with
// '=' or an empty section or key name, are refused (false) and nothing is written.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& file, std::optional<CodePage> cp = std::nullopt);
// Removes the key (true also when there was none to remove).
bool DeletePrivateProfileKey(std::string_view section, std::string_view key, const std::string& file,
                             std::optional<CodePage> cp = std::nullopt);
// Removes the section header and all its lines.
bool DeletePrivateProfileSection(std::string_view section, const std::string& file,
                                 std::optional<CodePage> cp = std::nullopt);

}  // namespace sys
