#include "platform/system/program_folder.h"

#include <unistd.h>

#include <mutex>

namespace sys {
namespace {
std::mutex gMutex;
std::string gOverride;

std::string ReadExePath() {
  std::string buf(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0) return {};
  buf.resize(static_cast<std::size_t>(n));
  return buf;
}
}  // namespace

std::string ProgramFilePath() {
  static const std::string path = ReadExePath();
  return path;
}

std::string ProgramBaseName() {
  std::string p = ProgramFilePath();
  const std::size_t slash = p.rfind('/');
  if (slash != std::string::npos) p.erase(0, slash + 1);
  const std::size_t dot = p.rfind('.');
  if (dot != std::string::npos && dot > 0) p.erase(dot);
  return p;
}

std::string ProgramFolder() {
  {
    std::lock_guard lock(gMutex);
    if (!gOverride.empty()) return gOverride;
  }
  const std::string p = ProgramFilePath();
  const std::size_t slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : p.substr(0, slash);
}

std::string PathBesideProgram(std::string_view fileName) {
  std::string folder = ProgramFolder();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder.append(fileName);
}

void SetProgramFolderForTesting(const std::string& folder) {
  std::lock_guard lock(gMutex);
  gOverride = folder;
  while (gOverride.size() > 1 && gOverride.back() == '/') gOverride.pop_back();
}

}  // namespace sys
