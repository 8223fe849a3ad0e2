#pragma once
// Allocation of the document's tables. Every table is zero-filled when made, and
// running out of memory is a status, never an exception that reaches the caller:
// the table is left absent and the owner reports the failure through its callback.
#include <cstddef>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace tablemem {

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
template <class T>
bool AllocZeroed(std::vector<T>& table, std::size_t n) {
  table.clear();
  table.shrink_to_fit();
  try {
    CheckInjectedFailure();
    std::vector<T> fresh(n);
    table.swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return false;
}

// Resizes to n elements, keeping the first min(old, n) and zeroing the rest.
// Returns false, with the vector untouched, when memory runs out.
template <class T>
bool ResizeKeeping(std::vector<T>& table, std::size_t n) {
  try {
    CheckInjectedFailure();
    std::vector<T> fresh(n);
    std::size_t keep = table.size() < n ? table.size() : n;
    for (std::size_t i = 0; i < keep; ++i) fresh[i] = table[i];
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
