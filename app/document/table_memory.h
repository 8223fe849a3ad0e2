#pragma once
// Allocation of the document's tables. Every table is zero-filled when made, and
// running out of memory is a status, never an exception that reaches the caller:
// the table is left absent and the owner reports the failure through its callback.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace tablemem {

// Memory that reads as zero without being written: large blocks are fresh anonymous
// mappings, whose pages the system supplies zeroed when first touched, small ones come
// from calloc. Returns nullptr when memory runs out.
void* AllocateZeroedBytes(std::size_t bytes) noexcept;
void FreeZeroedBytes(void* block, std::size_t bytes) noexcept;

// Allocator of the document's and the frame's big per-epoch tables. A table of n
// value-initialised elements costs no writes: the memory is already zero, so the
// elements are not constructed one by one, and pages that are never written are never
// made resident. Only types whose value-initialised state is all zero bytes (trivial
// default construction) skip the construction.
template <class T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() noexcept = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* block = AllocateZeroedBytes(n * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, std::size_t n) noexcept { FreeZeroedBytes(block, n * sizeof(T)); }

  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    if constexpr (sizeof...(Args) == 0 && std::is_trivially_default_constructible_v<U>) {
      // Value-initialisation of a trivial type is all zero bytes, which the block already
      // holds: a table only grows into memory fresh from allocate (see AllocZeroed and
      // ResizeKeeping), never back into elements it once dropped.
      (void)at;
    } else {
      ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
  }

  template <class U>
  bool operator==(const ZeroedAllocator<U>&) const noexcept { return true; }
};

// A per-epoch table: made by AllocZeroed or ResizeKeeping, or constructed at its size.
template <class T>
using ZeroedTable = std::vector<T, ZeroedAllocator<T>>;

// Receives the text of an allocation failure (the failing method's name, and for
// some methods a line break and "Fail to get memory."). The window code shows it.
using FailureReporter = std::function<void(const std::string& message)>;

// Throws std::bad_alloc when a test has asked this allocation to fail.
void CheckInjectedFailure();

// Test hook: the nth table allocation from now on (1 = the next one) fails as if
// memory ran out; 0 switches the hook off.
void FailNthAllocationForTesting(long nth);

// Replaces the vector's contents by n zeroed elements. Returns false, with the
// vector empty, when memory runs out.
template <class T, class A>
bool AllocZeroed(std::vector<T, A>& table, std::size_t n) {
  table.clear();
  table.shrink_to_fit();
  try {
    CheckInjectedFailure();
    std::vector<T, A> fresh(n);
    table.swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return false;
}

// Resizes to n elements, keeping the first min(old, n) and zeroing the rest.
// Returns false, with the vector untouched, when memory runs out.
template <class T, class A>
bool ResizeKeeping(std::vector<T, A>& table, std::size_t n) {
  try {
    CheckInjectedFailure();
    std::vector<T, A> fresh(n);
    std::size_t keep = table.size() < n ? table.size() : n;
    std::copy_n(table.begin(), keep, fresh.begin());
    table.swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return false;
}

// Product of non-negative counts; 0 when any is negative, and a size no allocation
// can satisfy when the product overflows.
inline std::size_t Count(long long a, long long b = 1, long long c = 1) {
  if (a < 0 || b < 0 || c < 0) return 0;
  std::size_t ab = 0, abc = 0;
  if (__builtin_mul_overflow(static_cast<std::size_t>(a), static_cast<std::size_t>(b), &ab) ||
      __builtin_mul_overflow(ab, static_cast<std::size_t>(c), &abc))
    return static_cast<std::size_t>(-1);
  return abc;
}

// "<method>\n" followed by the "Fail to get memory." text of the current language.
std::string OutOfMemoryMessage(const std::string& method);

}  // namespace tablemem
