#pragma once
// Memory and disk queries, used to check that an operation (an AVI film, a copy of a
// video set, a large allocation) fits before it starts.
#include <cstdint>
#include <optional>
#include <string>

namespace sys {

struct MemoryStatus {
  std::uint32_t memoryLoadPercent = 0;  // 0..100, share of physical memory in use
  std::uint64_t totalPhysicalBytes = 0;
  std::uint64_t availablePhysicalBytes = 0;  // what can be had without swapping
  std::uint64_t totalSwapBytes = 0;
  std::uint64_t availableSwapBytes = 0;
};
// Nothing when the system does not tell.
std::optional<MemoryStatus> GetMemoryStatus();

struct DiskSpace {
  std::uint64_t freeBytesForUser = 0;  // what this user may still write
  std::uint64_t totalBytes = 0;
  std::uint64_t totalFreeBytes = 0;
};
// Space of the file system holding the path (a file or a folder); nothing when the path
// does not exist.
std::optional<DiskSpace> GetDiskFreeSpace(const std::string& path);

}  // namespace sys
