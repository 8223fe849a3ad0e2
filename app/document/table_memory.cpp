#include "app/document/table_memory.h"

#include <sys/mman.h>

#include <cstdlib>

#include "platform/res/resource_store.h"

namespace tablemem {
namespace {
long g_failCountdown = 0;
}

void CheckInjectedFailure() {
  if (g_failCountdown <= 0) return;
  if (--g_failCountdown == 0) throw std::bad_alloc();
}

namespace {
// From this size on a table gets a mapping of its own: calloc may hand back reused heap
// memory that it must clear by writing, a new mapping is zero until written.
constexpr std::size_t kMappedBytes = 256 * 1024;
}  // namespace

void* AllocateZeroedBytes(std::size_t bytes) noexcept {
  if (bytes == 0) bytes = 1;
  if (bytes < kMappedBytes) return std::calloc(1, bytes);
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

void FreeZeroedBytes(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  if (bytes == 0) bytes = 1;
  if (bytes < kMappedBytes) {
    std::free(block);
  } else {
    munmap(block, bytes);
  }
}

void FailNthAllocationForTesting(long nth) { g_failCountdown = nth < 0 ? 0 : nth; }

std::string OutOfMemoryMessage(const std::string& method) {
  return method + "\n" + res::LoadString(2522);
}

}  // namespace tablemem
