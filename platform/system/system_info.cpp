#include "platform/system/system_info.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>

#include <cerrno>
#include <cstdio>

#include "platform/system/file_error.h"

namespace sys {

std::optional<MemoryStatus> GetMemoryStatus() {
  struct sysinfo si {};
  if (::sysinfo(&si) != 0) return std::nullopt;
  const std::uint64_t unit = si.mem_unit == 0 ? 1 : si.mem_unit;
  MemoryStatus m;
  m.totalPhysicalBytes = static_cast<std::uint64_t>(si.totalram) * unit;
  m.availablePhysicalBytes = static_cast<std::uint64_t>(si.freeram + si.bufferram) * unit;
  m.totalSwapBytes = static_cast<std::uint64_t>(si.totalswap) * unit;
  m.availableSwapBytes = static_cast<std::uint64_t>(si.freeswap) * unit;
  // MemAvailable counts the page cache that can be given back, as "available" means here.
  if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f) != nullptr) {
      unsigned long long kb = 0;
      if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
        m.availablePhysicalBytes = static_cast<std::uint64_t>(kb) * 1024u;
        break;
      }
    }
    std::fclose(f);
  }
  if (m.availablePhysicalBytes > m.totalPhysicalBytes) m.availablePhysicalBytes = m.totalPhysicalBytes;
  if (m.totalPhysicalBytes > 0)
    m.memoryLoadPercent = static_cast<std::uint32_t>(
        100 - (m.availablePhysicalBytes * 100 + m.totalPhysicalBytes / 2) / m.totalPhysicalBytes);
  return m;
}

std::optional<DiskSpace> GetDiskFreeSpace(const std::string& path) {
  struct statvfs v {};
  if (::statvfs(path.c_str(), &v) != 0) {
    SetLastFileError(MakeFileError(errno, path));
    return std::nullopt;
  }
  const std::uint64_t unit = v.f_frsize != 0 ? v.f_frsize : v.f_bsize;
  DiskSpace d;
  d.freeBytesForUser = static_cast<std::uint64_t>(v.f_bavail) * unit;
  d.totalBytes = static_cast<std::uint64_t>(v.f_blocks) * unit;
  d.totalFreeBytes = static_cast<std::uint64_t>(v.f_bfree) * unit;
  return d;
}

}  // namespace sys
