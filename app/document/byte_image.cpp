#include "app/document/byte_image.h"

#include <algorithm>

#include "platform/system/code_page.h"
#include "platform/system/locale.h"

namespace bytes {

void PutText(Span b, std::size_t off, std::size_t width, std::string_view text) {
  std::size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  sys::WriteFixedField(b.subspan(off, width), text, sys::AnsiCodePage());
}

std::string GetText(CSpan b, std::size_t off, std::size_t width) {
  return sys::ReadFixedField(b.subspan(off, width), sys::AnsiCodePage());
}

void PutPath(Span b, std::size_t off, std::size_t width, std::string_view path) {
  std::size_t end = path.find('\0');
  if (end != std::string_view::npos) path = path.substr(0, end);
  sys::WriteFixedField(b.subspan(off, width), path, sys::CodePage::Utf8);
}

std::string GetPath(CSpan b, std::size_t off, std::size_t width) {
  const std::string raw = sys::ReadFixedField(b.subspan(off, width), sys::CodePage::Utf8);
  const CSpan field = b.subspan(off, width);
  const auto zero = std::find(field.begin(), field.end(), std::uint8_t{0});
  const std::string stored(field.begin(), zero);
  // Valid UTF-8 is the file system's own name; anything else was written in the code page.
  if (raw == stored) return stored;
  return sys::ReadFixedField(field, sys::AnsiCodePage());
}

}  // namespace bytes
