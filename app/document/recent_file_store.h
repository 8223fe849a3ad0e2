#pragma once
// The list of the ten most recently used files, kept in the registry store under
// the maker's key ("Software\Morvane\QLM2_Analyzer\Recent File List", values
// "File1" .. "File10", newest first).
#include <cstddef>
#include <string>
#include <vector>

inline constexpr std::size_t kRecentFileCount = 10;
inline constexpr const char* kRegistryCompanyKey = "Morvane";

std::string RecentFileListKey();
// Entries in order, stopping at the first missing one; at most ten.
std::vector<std::string> LoadRecentFileList();
// Replaces the stored list (empty entries are not stored). False when the store
// could not be written.
bool SaveRecentFileList(const std::vector<std::string>& files);
