#include "platform/system/text_compare.h"

#include <vector>

#include "platform/system/code_page.h"

namespace sys {
namespace {

char32_t FoldChar(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

std::vector<char32_t> FoldedChars(std::string_view utf8) {
  std::vector<char32_t> out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t c = 0;
    pos += DecodeUtf8Char(utf8, pos, c);
    out.push_back(FoldChar(c));
  }
  return out;
}

}  // namespace

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t c = 0;
    const std::size_t n = DecodeUtf8Char(utf8, pos, c);
    const char32_t f = FoldChar(c);
    if (f == c && c != 0xFFFD)
      out.append(utf8.substr(pos, n));
    else
      AppendUtf8Char(out, f);
    pos += n;
  }
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      if (FoldChar(ca) != FoldChar(cb)) return false;
      ++i, ++j;
      continue;
    }
    char32_t x = 0, y = 0;
    i += DecodeUtf8Char(a, i, x);
    j += DecodeUtf8Char(b, j, y);
    if (FoldChar(x) != FoldChar(y)) return false;
  }
  return i == a.size() && j == b.size();
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  const std::vector<char32_t> p = FoldedChars(pattern);
  const std::vector<char32_t> n = FoldedChars(name);
  // Greedy match with backtracking to the last '*'.
  std::size_t pi = 0, ni = 0, starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
      ++pi, ++ni;
    } else if (pi < p.size() && p[pi] == U'*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  if (pi == p.size()) return true;
  // "name.*" also finds "name" without an extension.
  if (pattern.size() > 2 && pattern.substr(pattern.size() - 2) == ".*")
    return WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
  return false;
}

}  // namespace sys
