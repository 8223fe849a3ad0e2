#include "app/document/recent_file_store.h"

#include <optional>

#include "platform/system/registry_store.h"

std::string RecentFileListKey() {
  return std::string("Software\\") + kRegistryCompanyKey + "\\QLM2_Analyzer\\Recent File List";
}

std::vector<std::string> LoadRecentFileList() {
  std::vector<std::string> files;
  const std::string key = RecentFileListKey();
  for (std::size_t i = 1; i <= kRecentFileCount; ++i) {
    const std::optional<std::string> path =
        sys::RegGetString(sys::RegRoot::CurrentUser, key, "File" + std::to_string(i));
    if (!path || path->empty()) break;
    files.push_back(*path);
  }
  return files;
}

bool SaveRecentFileList(const std::vector<std::string>& files) {
  const std::string key = RecentFileListKey();
  bool ok = sys::RegCreateKey(sys::RegRoot::CurrentUser, key);
  std::size_t stored = 0;
  for (const std::string& path : files) {
    if (path.empty() || stored == kRecentFileCount) continue;
    ++stored;
    ok = sys::RegSetString(sys::RegRoot::CurrentUser, key, "File" + std::to_string(stored), path) && ok;
  }
  for (std::size_t i = stored + 1; i <= kRecentFileCount; ++i) {
    const std::string name = "File" + std::to_string(i);
    if (sys::RegGetValue(sys::RegRoot::CurrentUser, key, name)) ok = sys::RegDeleteValue(sys::RegRoot::CurrentUser, key, name) && ok;
  }
  return ok;
}
