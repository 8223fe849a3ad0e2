#include "platform/system/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <thread>

extern char** environ;

namespace sys {
namespace {

std::mutex gMutex;
std::function<int(const std::string&)> gOpenHandler;

bool IsUrl(const std::string& s) {
  for (const char* scheme : {"http://", "https://", "mailto:", "file://"})
    if (s.rfind(scheme, 0) == 0) return true;
  return false;
}

}  // namespace

int StartProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingFolder) {
  if (program.empty()) return ENOENT;
  struct stat st {};
  // A program given without a folder is looked up on PATH; one with a folder must exist.
  if (program.find('/') != std::string::npos) {
    if (::stat(program.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode) || ::access(program.c_str(), X_OK) != 0) return EACCES;
  }
  std::vector<std::string> args;
  args.reserve(arguments.size() + 1);
  args.push_back(program);
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingFolder.empty()) {
    if (::stat(workingFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      posix_spawn_file_actions_destroy(&actions);
      return ENOENT;
    }
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  }
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return rc;
  // The program runs on its own; a small thread collects its exit so it leaves no zombie.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return 0;
}

int OpenDocument(const std::string& pathOrUrl) {
  {
    std::lock_guard lock(gMutex);
    if (gOpenHandler) return gOpenHandler(pathOrUrl);
  }
  if (pathOrUrl.empty()) return kShellFileNotFound;
  if (!IsUrl(pathOrUrl)) {
    struct stat st {};
    if (::stat(pathOrUrl.c_str(), &st) != 0) {
      if (errno == ENOENT) {
        const std::size_t slash = pathOrUrl.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : pathOrUrl.substr(0, slash + 1);
        return ::stat(folder.c_str(), &st) == 0 ? kShellFileNotFound : kShellPathNotFound;
      }
      return errno == EACCES ? kShellAccessDenied : kShellPathNotFound;
    }
  }
  const int rc = StartProcess("xdg-open", {pathOrUrl});
  if (rc == 0) return kShellOk;
  if (rc == ENOENT) return kShellNoAssociation;
  if (rc == EACCES) return kShellAccessDenied;
  return kShellOutOfResources;
}

void SetOpenDocumentHandlerForTesting(std::function<int(const std::string&)> handler) {
  std::lock_guard lock(gMutex);
  gOpenHandler = std::move(handler);
}

}  // namespace sys
