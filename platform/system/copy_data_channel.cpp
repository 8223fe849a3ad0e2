#include "platform/system/copy_data_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/system/program_folder.h"

namespace sys {

namespace {

constexpr char kRequestMagic[4] = {'Q', 'L', 'M', 'C'};
constexpr char kAnswerMagic[4] = {'Q', 'L', 'M', 'R'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 4 + 4 + 8 + 4;

void PutLe(std::uint8_t* out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t GetLe(const std::uint8_t* in, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return v;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads exactly size bytes; a negative time-out waits as long as it takes.
bool ReadAll(int fd, std::uint8_t* data, std::size_t size, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (size > 0) {
    if (timeoutMs >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return false;
      pollfd p{fd, POLLIN, 0};
      const int r = ::poll(&p, 1, static_cast<int>(left));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return false;
    }
    const ssize_t n = ::recv(fd, data, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string CopyDataSocketPath(const std::string& programName) {
  // FNV-1a of the folder: the same in every build.
  std::uint32_t hash = 2166136261u;
  for (const char c : ProgramFolder()) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 16777619u;
  }
  char hex[9];
  std::snprintf(hex, sizeof(hex), "%08x", static_cast<unsigned>(hash));
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0' && ::access(runtime, W_OK) == 0)
    return std::string(runtime) + "/" + programName + "-" + hex + ".sock";
  return "/tmp/" + programName + "-" + std::to_string(::getuid()) + "-" + hex + ".sock";
}

bool SendCopyData(const std::string& socketPath, const CopyDataMessage& message, std::int64_t* result,
                  std::string* error) {
  auto fail = [error](const std::string& why) {
    if (error != nullptr) *error = why;
    return false;
  };
  if (message.bytes.size() > kMaxCopyDataBytes) return fail("the block is too large");
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof(addr.sun_path)) return fail("the socket path is too long: " + socketPath);
  std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return fail(std::strerror(errno));
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    return fail("no program listens on " + socketPath + " (" + why + ")");
  }
  std::vector<std::uint8_t> out(kHeaderBytes + message.bytes.size());
  std::memcpy(out.data(), kRequestMagic, 4);
  PutLe(out.data() + 4, kVersion, 4);
  PutLe(out.data() + 8, message.code, 8);
  PutLe(out.data() + 16, message.bytes.size(), 4);
  if (!message.bytes.empty()) std::memcpy(out.data() + kHeaderBytes, message.bytes.data(), message.bytes.size());
  std::uint8_t answer[12];
  const bool ok = WriteAll(fd, out.data(), out.size()) && ReadAll(fd, answer, sizeof(answer), -1) &&
                  std::memcmp(answer, kAnswerMagic, 4) == 0;
  ::close(fd);
  if (!ok) return fail("the program closed the request without an answer");
  if (result != nullptr) *result = static_cast<std::int64_t>(GetLe(answer + 4, 8));
  return true;
}

bool ReadCopyDataMessage(int fd, int timeoutMs, CopyDataMessage* message) {
  std::uint8_t header[kHeaderBytes];
  if (!ReadAll(fd, header, sizeof(header), timeoutMs)) return false;
  if (std::memcmp(header, kRequestMagic, 4) != 0 || GetLe(header + 4, 4) != kVersion) return false;
  const std::uint64_t size = GetLe(header + 16, 4);
  if (size > kMaxCopyDataBytes) return false;
  message->code = GetLe(header + 8, 8);
  message->bytes.assign(static_cast<std::size_t>(size), 0);
  return size == 0 || ReadAll(fd, message->bytes.data(), message->bytes.size(), timeoutMs);
}

bool WriteCopyDataAnswer(int fd, std::int64_t result) {
  std::uint8_t answer[12];
  std::memcpy(answer, kAnswerMagic, 4);
  PutLe(answer + 4, static_cast<std::uint64_t>(result), 8);
  return WriteAll(fd, answer, sizeof(answer));
}

}  // namespace sys
