#include "app/document/byte_image.h"

#include <algorithm>

namespace bytes {

std::size_t CutAtCharBoundary(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t n = limit;
  // Step back over continuation bytes so that a multi-byte character is not split.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

void PutText(Span b, std::size_t off, std::size_t width, std::string_view text) {
  std::memset(b.data() + off, 0, width);
  if (width == 0) return;
  std::size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  std::size_t n = CutAtCharBoundary(text, width - 1);
  std::memcpy(b.data() + off, text.data(), n);
}

std::string GetText(CSpan b, std::size_t off, std::size_t width) {
  const auto* p = reinterpret_cast<const char*>(b.data() + off);
  const auto* end = std::find(p, p + width, '\0');
  return std::string(p, end);
}

}  // namespace bytes
