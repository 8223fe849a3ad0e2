#include "app/document/table_memory.h"

#include "platform/res/resource_store.h"

namespace tablemem {
namespace {
long g_failCountdown = 0;
}

void CheckInjectedFailure() {
  if (g_failCountdown <= 0) return;
  if (--g_failCountdown == 0) throw std::bad_alloc();
}

void FailNthAllocationForTesting(long nth) { g_failCountdown = nth < 0 ? 0 : nth; }

std::string OutOfMemoryMessage(const std::string& method) {
  return method + "\n" + res::LoadString(2522);
}

}  // namespace tablemem
