#pragma once
// Little-endian field access inside the fixed byte images of stored records.
// Every stored record of the program is written and read through these helpers,
// at the offsets of its layout; nothing is ever copied as a raw struct.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace bytes {

static_assert(std::endian::native == std::endian::little,
              "stored records are little-endian memory images");

using Span = std::span<std::uint8_t>;
using CSpan = std::span<const std::uint8_t>;

// Writes an arithmetic value at the offset. The caller keeps offset + sizeof(T) inside the span.
template <class T>
inline void Put(Span b, std::size_t off, T v) {
  static_assert(std::is_arithmetic_v<T>);
  std::memcpy(b.data() + off, &v, sizeof(T));
}

template <class T>
inline T Get(CSpan b, std::size_t off) {
  static_assert(std::is_arithmetic_v<T>);
  T v;
  std::memcpy(&v, b.data() + off, sizeof(T));
  return v;
}

template <class T, std::size_t N>
inline void PutArray(Span b, std::size_t off, const std::array<T, N>& a) {
  for (std::size_t i = 0; i < N; ++i) Put<T>(b, off + i * sizeof(T), a[i]);
}

template <class T, std::size_t N>
inline void GetArray(CSpan b, std::size_t off, std::array<T, N>& a) {
  for (std::size_t i = 0; i < N; ++i) a[i] = Get<T>(b, off + i * sizeof(T));
}

// Stores a UTF-8 text into a zero-terminated field of `width` bytes in the ANSI code page of
// the user-interface language, zero-padded. A text too long for the field is cut between
// characters so that the terminator always fits.
void PutText(Span b, std::size_t off, std::size_t width, std::string_view text);

// Reads a zero-terminated text field as UTF-8. A field without terminator yields its whole
// width, never more.
std::string GetText(CSpan b, std::size_t off, std::size_t width);

// Paths are stored as the file system's own bytes (UTF-8), zero-padded and cut between
// characters so that the terminator fits. On reading, a stored path that is not valid UTF-8
// was written in the code page of the language and is decoded from it.
void PutPath(Span b, std::size_t off, std::size_t width, std::string_view path);
std::string GetPath(CSpan b, std::size_t off, std::size_t width);

inline void Copy(Span dst, std::size_t dstOff, CSpan src, std::size_t srcOff, std::size_t n) {
  std::memcpy(dst.data() + dstOff, src.data() + srcOff, n);
}

}  // namespace bytes
