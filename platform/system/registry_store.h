#pragma once
// The registry: a hierarchy of keys holding named values (texts, 32-bit numbers, bytes),
// kept in one file of the user's configuration folder:
//   $XDG_CONFIG_HOME/QLM2_Analyzer/registry.txt   (or ~/.config/... without XDG_CONFIG_HOME)
// Key paths use '\' between levels ("Software\\Morvane\\QLM2_Analyzer\\Recent File List");
// key and value names compare without regard to case and keep the case they were made with.
// Every change is written to the file at once (through a new file and a rename); a store
// file that cannot be read or understood makes every call fail and is never overwritten.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sys {

enum class RegRoot { CurrentUser, LocalMachine };

// Value types, numbered as the system stores them.
enum class RegType : std::uint32_t { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4, MultiString = 7 };

struct RegValue {
  RegType type = RegType::None;
  std::string data;  // the stored bytes; texts are UTF-8 with their terminating zero
};

// Creates the key and every missing level above it (true also when it existed).
bool RegCreateKey(RegRoot root, std::string_view path);
bool RegKeyExists(RegRoot root, std::string_view path);
// Removes a key without sub-keys, with its values; false when it is missing or has sub-keys.
bool RegDeleteKey(RegRoot root, std::string_view path);
// Removes a key with everything below it; false when it is missing.
bool RegDeleteTree(RegRoot root, std::string_view path);

// Sets a value, creating the key path as needed. An empty name is the key's default value.
bool RegSetValue(RegRoot root, std::string_view path, std::string_view name, RegType type, std::string_view bytes);
bool RegSetString(RegRoot root, std::string_view path, std::string_view name, std::string_view text);
bool RegSetDword(RegRoot root, std::string_view path, std::string_view name, std::uint32_t value);
// Nothing when the key or the value is missing.
std::optional<RegValue> RegGetValue(RegRoot root, std::string_view path, std::string_view name);
// The text of a String or ExpandString value (up to its first zero byte).
std::optional<std::string> RegGetString(RegRoot root, std::string_view path, std::string_view name);
// A Dword value (4 bytes, little-endian).
std::optional<std::uint32_t> RegGetDword(RegRoot root, std::string_view path, std::string_view name);
// False when the key or the value is missing.
bool RegDeleteValue(RegRoot root, std::string_view path, std::string_view name);

// Names of the sub-keys / values of a key in the order they were made; nothing when the
// key is missing.
std::optional<std::vector<std::string>> RegEnumKeys(RegRoot root, std::string_view path);
std::optional<std::vector<std::string>> RegEnumValues(RegRoot root, std::string_view path);

// Path of the store file in use.
std::string RegistryFilePath();
// Makes the store live in the given file; an empty path restores the configuration folder.
void SetRegistryFileForTesting(const std::string& path);

}  // namespace sys
