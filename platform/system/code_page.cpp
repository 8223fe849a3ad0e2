#include "platform/system/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <utility>
#include <cerrno>

namespace sys {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 1252 bytes 0x80..0x9F; the unused ones keep their own value.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 character at `pos`. Returns its length in bytes (at least 1) and
// sets `ok` false for a byte sequence that is not valid UTF-8 (then the length is 1).
std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& c, bool& ok) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  ok = true;
  if (b0 < 0x80) {
    c = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    ok = false;
    return 1;
  }
  if (pos + len > s.size()) {
    ok = false;
    return 1;
  }
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) {
      ok = false;
      return 1;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ok = false;
    return 1;
  }
  return len;
}

int EncodeCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i)
    if (kCp1252High[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

// Single bytes of code page 932 that the converter does not take: Windows maps them to
// these characters, and back.
constexpr std::array<std::pair<std::uint8_t, char32_t>, 5> kCp932Singles = {
    {{0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}}};

// One converter per thread and direction, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; returns the errno of the stop (0 when all was converted).
  int Run(const char*& in, std::size_t& inLeft, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return EINVAL;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[512];
    while (inLeft > 0) {
      char* o = buf;
      std::size_t oLeft = sizeof buf;
      char* i = const_cast<char*>(in);
      const std::size_t r = iconv(cd_, &i, &inLeft, &o, &oLeft);
      const int err = r == static_cast<std::size_t>(-1) ? errno : 0;
      in = i;
      out.append(buf, static_cast<std::size_t>(o - buf));
      if (err == E2BIG) continue;
      if (err != 0) return err;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

Converter& Cp932ToUtf8() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}
Converter& Utf8ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

std::string ValidUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) {
    char32_t c = 0;
    bool ok = true;
    const std::size_t n = DecodeUtf8(s, pos, c, ok);
    if (ok)
      out.append(s.substr(pos, n));
    else
      AppendUtf8(out, kReplacement);
    pos += n;
  }
  return out;
}

// Encoded form of one character (given as its UTF-8 bytes) in code page 932.
std::string EncodeCp932Char(std::string_view utf8Char) {
  std::string out;
  const char* in = utf8Char.data();
  std::size_t left = utf8Char.size();
  if (Utf8ToCp932().Run(in, left, out) != 0) return "?";
  return out;
}

}  // namespace

bool IsCp932LeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::string ToUtf8(std::string_view bytes, CodePage cp) {
  std::string out;
  switch (cp) {
    case CodePage::Utf8:
      return ValidUtf8(bytes);
    case CodePage::Cp1252:
      out.reserve(bytes.size() + bytes.size() / 4);
      for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
      }
      return out;
    case CodePage::Cp932: {
      out.reserve(bytes.size() * 3 / 2);
      const char* in = bytes.data();
      std::size_t left = bytes.size();
      while (left > 0) {
        const int err = Cp932ToUtf8().Run(in, left, out);
        if (err == 0) break;
        // An invalid or unfinished sequence: mark it and go on after its first byte
        // (after both bytes when a lead byte has an unusable trail byte).
        const auto first = static_cast<std::uint8_t>(*in);
        char32_t mark = kReplacement;
        for (const auto& [byte, ch] : kCp932Singles)
          if (byte == first) mark = ch;
        AppendUtf8(out, mark);
        std::size_t skip = 1;
        if (IsCp932LeadByte(static_cast<std::uint8_t>(*in)) && left >= 2 &&
            static_cast<unsigned char>(in[1]) >= 0x40)
          skip = 2;
        in += skip;
        left -= skip;
      }
      return out;
    }
  }
  return out;
}

std::string FromUtf8(std::string_view utf8, CodePage cp) {
  // Plain ASCII is the same in every code page served here; long tables are mostly that.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::string(utf8);
  std::string out;
  switch (cp) {
    case CodePage::Utf8:
      return ValidUtf8(utf8);
    case CodePage::Cp1252:
      out.reserve(utf8.size());
      for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = 0;
        bool ok = true;
        pos += DecodeUtf8(utf8, pos, c, ok);
        const int b = ok ? EncodeCp1252(c) : -1;
        out += b < 0 ? '?' : static_cast<char>(b);
      }
      return out;
    case CodePage::Cp932: {
      out.reserve(utf8.size());
      const char* in = utf8.data();
      std::size_t left = utf8.size();
      while (left > 0) {
        const int err = Utf8ToCp932().Run(in, left, out);
        if (err == 0) break;
        char32_t c = 0;
        bool ok = true;
        const std::size_t n = DecodeUtf8(std::string_view(in, left), 0, c, ok);
        char byte = '?';
        for (const auto& [b, ch] : kCp932Singles)
          if (ok && ch == c) byte = static_cast<char>(b);
        out += byte;
        in += n;
        left -= n;
      }
      return out;
    }
  }
  return out;
}

std::size_t CharBoundaryAtOrBelow(std::string_view encoded, std::size_t limitBytes, CodePage cp) {
  if (limitBytes >= encoded.size()) return encoded.size();
  switch (cp) {
    case CodePage::Cp1252:
      return limitBytes;
    case CodePage::Utf8: {
      std::size_t n = limitBytes;
      while (n > 0 && (static_cast<unsigned char>(encoded[n]) & 0xC0) == 0x80) --n;
      return n;
    }
    case CodePage::Cp932: {
      // Lead bytes can also be trail bytes, so the boundary is found from the start.
      std::size_t pos = 0;
      while (pos < limitBytes) {
        const std::size_t len = IsCp932LeadByte(static_cast<std::uint8_t>(encoded[pos])) ? 2 : 1;
        if (pos + len > limitBytes) break;
        pos += len;
      }
      return pos;
    }
  }
  return 0;
}

std::string CutToCapacity(std::string_view utf8, std::size_t capacityBytes, CodePage cp, Terminator term) {
  std::size_t room = capacityBytes;
  if (term == Terminator::Keep) {
    if (room == 0) return {};
    --room;
  }
  std::string out;
  std::size_t used = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t c = 0;
    bool ok = true;
    const std::size_t n = DecodeUtf8(utf8, pos, c, ok);
    std::size_t need = 1;
    if (ok) {
      if (cp == CodePage::Utf8)
        need = n;
      else if (cp == CodePage::Cp932 && c >= 0x80)
        need = EncodeCp932Char(utf8.substr(pos, n)).size();
    } else if (cp == CodePage::Utf8) {
      need = 3;  // becomes U+FFFD
    }
    if (used + need > room) break;
    used += need;
    if (ok)
      out.append(utf8.substr(pos, n));
    else
      AppendUtf8(out, kReplacement);
    pos += n;
  }
  return out;
}

namespace {
template <typename Byte>
std::size_t WriteField(std::span<Byte> field, std::string_view utf8, CodePage cp, Terminator term) {
  const std::string encoded = FromUtf8(utf8, cp);
  std::size_t room = field.size();
  if (term == Terminator::Keep && room > 0) --room;
  const std::size_t n = CharBoundaryAtOrBelow(encoded, room, cp);
  for (std::size_t i = 0; i < field.size(); ++i)
    field[i] = i < n ? static_cast<Byte>(encoded[i]) : Byte{0};
  return n;
}

template <typename Byte>
std::string ReadField(std::span<const Byte> field, CodePage cp) {
  std::size_t n = 0;
  while (n < field.size() && field[n] != Byte{0}) ++n;
  return ToUtf8(std::string_view(reinterpret_cast<const char*>(field.data()), n), cp);
}
}  // namespace

std::size_t WriteFixedField(std::span<char> field, std::string_view utf8, CodePage cp, Terminator term) {
  return WriteField(field, utf8, cp, term);
}
std::size_t WriteFixedField(std::span<std::uint8_t> field, std::string_view utf8, CodePage cp, Terminator term) {
  return WriteField(field, utf8, cp, term);
}
std::string ReadFixedField(std::span<const char> field, CodePage cp) { return ReadField(field, cp); }
std::string ReadFixedField(std::span<const std::uint8_t> field, CodePage cp) { return ReadField(field, cp); }

}  // namespace sys

namespace sys {

std::size_t DecodeUtf8Char(std::string_view utf8, std::size_t pos, char32_t& c) {
  bool ok = true;
  const std::size_t n = DecodeUtf8(utf8, pos, c, ok);
  if (!ok) c = kReplacement;
  return n;
}

void AppendUtf8Char(std::string& out, char32_t c) { AppendUtf8(out, c); }

}  // namespace sys
