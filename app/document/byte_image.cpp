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

}  // namespace bytes
