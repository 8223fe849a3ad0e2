#include "app/document/text_sink.h"

#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/ui/common_dialogs.h"

namespace {
constexpr std::size_t kFlushBytes = 1 << 16;
}

bool TextSink::Open(const std::string& targetPath) {
  pending_.clear();
  clipboard_ = false;
  failed_ = !file_.Open(targetPath);
  return !failed_;
}

bool TextSink::OpenClipboard() {
  if (file_.IsOpen()) file_.Abort();
  pending_.clear();
  clipboard_ = true;
  failed_ = false;
  return true;
}

bool TextSink::Write(std::string_view utf8) {
  if (clipboard_) {
    if (!failed_) pending_.append(utf8);
    return !failed_;
  }
  if (failed_ || !file_.IsOpen()) return false;
  std::size_t from = 0;
  for (std::size_t nl = utf8.find('\n'); nl != std::string_view::npos; nl = utf8.find('\n', from)) {
    pending_.append(utf8.substr(from, nl - from));
    pending_ += "\r\n";
    from = nl + 1;
  }
  pending_.append(utf8.substr(from));
  return pending_.size() < kFlushBytes || Flush();
}

bool TextSink::Flush() {
  if (pending_.empty()) return !failed_;
  const std::string bytes = sys::FromUtf8(pending_, sys::AnsiCodePage());
  pending_.clear();
  if (!file_.Write(bytes)) failed_ = true;
  return !failed_;
}

bool TextSink::Commit() {
  if (clipboard_) {
    clipboard_ = false;
    const bool ok = !failed_ && ui::SetClipboardText(pending_);
    pending_.clear();
    return ok;
  }
  if (!file_.IsOpen()) return false;
  if (!Flush()) {
    file_.Abort();
    return false;
  }
  return file_.Commit();
}

void TextSink::Abort() {
  pending_.clear();
  clipboard_ = false;
  file_.Abort();
}
