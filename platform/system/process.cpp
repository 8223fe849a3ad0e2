#include "platform/system/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <mutex>
#include <thread>

extern char** environ;

namespace sys {
namespace {

std::mutex gMutex;
std::function<int(const std::string&)> gOpenHandler;
std::function<int(const std::string&, const std::vector<std::string>&)> gStartHandler;

// The start a test put in place of the real one, if any.
std::function<int(const std::string&, const std::vector<std::string>&)> StartHandler() {
  std::lock_guard lock(gMutex);
  return gStartHandler;
}

bool IsUrl(const std::string& s) {
  for (const char* scheme : {"http://", "https://", "mailto:", "file://"})
    if (s.rfind(scheme, 0) == 0) return true;
  return false;
}

}  // namespace

int StartProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingFolder) {
  if (auto handler = StartHandler()) return handler(program, arguments);
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

int StartWatchedProcess(const std::string& program, const std::vector<std::string>& arguments,
                        std::function<void(int, std::string)> onEnd) {
  if (auto handler = StartHandler()) return handler(program, arguments);
  if (program.empty()) return ENOENT;
  struct stat st {};
  if (program.find('/') != std::string::npos) {
    if (::stat(program.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode) || ::access(program.c_str(), X_OK) != 0) return EACCES;
  }
  std::vector<std::string> args;
  args.push_back(program);
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return errno;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (rc != 0) {
    ::close(fds[0]);
    return rc;
  }
  std::thread([pid, fd = fds[0], onEnd = std::move(onEnd)] {
    std::string text;
    char buf[512];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      if (text.size() < 4096) text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (text.size() > 4096) text.resize(4096);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
    if (onEnd) onEnd(code, std::move(text));
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

void SetStartProcessHandlerForTesting(
    std::function<int(const std::string& program, const std::vector<std::string>& arguments)> handler) {
  std::lock_guard lock(gMutex);
  gStartHandler = std::move(handler);
}

}  // namespace sys
