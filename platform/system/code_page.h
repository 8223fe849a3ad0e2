#pragma once
// Code pages of the system's files. Texts in memory are UTF-8; texts stored in data,
// settings, result and template files are in the ANSI code page of the user-interface
// language (1252 for English, 932 for Japanese). Every conversion between the two
// happens here, at the file boundary.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sys {

enum class CodePage : std::uint16_t { Cp932 = 932, Cp1252 = 1252, Utf8 = 65001 };

// Decodes bytes of the code page into UTF-8. Bytes that do not form a character of code
// page 932 (or invalid UTF-8) become U+FFFD; nothing is dropped silently. The five unused
// bytes of code page 1252 map to the control characters of the same number, as Windows
// does, so that they survive a round trip.
std::string ToUtf8(std::string_view bytes, CodePage cp);

// Encodes UTF-8 into the code page. Characters the code page lacks, and bytes that are
// not valid UTF-8, become '?' (the system's default character).
std::string FromUtf8(std::string_view utf8, CodePage cp);

// Length in bytes of the longest prefix of `encoded` (already in the code page) that is no
// longer than `limitBytes` and does not end inside a character.
std::size_t CharBoundaryAtOrBelow(std::string_view encoded, std::size_t limitBytes, CodePage cp);

// Whether the terminating zero byte must fit inside a fixed-capacity field.
enum class Terminator { Keep, None };

// The longest prefix of the UTF-8 text whose encoding in the code page fits into a field of
// `capacityBytes` (one byte less when the terminator is kept), cut between characters.
// The result is UTF-8.
std::string CutToCapacity(std::string_view utf8, std::size_t capacityBytes, CodePage cp,
                          Terminator term = Terminator::Keep);

// Stores UTF-8 text into a fixed char field of a file record: encoded in the code page, cut
// between characters to fit (keeping room for the terminator when asked), the rest of the
// field filled with zero bytes. Returns the number of text bytes stored.
std::size_t WriteFixedField(std::span<char> field, std::string_view utf8, CodePage cp,
                            Terminator term = Terminator::Keep);
std::size_t WriteFixedField(std::span<std::uint8_t> field, std::string_view utf8, CodePage cp,
                            Terminator term = Terminator::Keep);

// Reads a fixed char field (text up to its first zero byte, or the whole field when it has
// none) and returns it as UTF-8.
std::string ReadFixedField(std::span<const char> field, CodePage cp);
std::string ReadFixedField(std::span<const std::uint8_t> field, CodePage cp);

// Whether a byte starts a double-byte character of code page 932.
bool IsCp932LeadByte(std::uint8_t b);

}  // namespace sys

namespace sys {

// Decodes one UTF-8 character at `pos` into `c` and returns its length in bytes (at least
// 1); an invalid sequence gives U+FFFD and length 1.
std::size_t DecodeUtf8Char(std::string_view utf8, std::size_t pos, char32_t& c);
void AppendUtf8Char(std::string& out, char32_t c);

}  // namespace sys
