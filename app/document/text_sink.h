#pragma once
// The one way text outputs reach a file. Texts are UTF-8 in memory; the file gets the
// language's code page and CR LF line ends. It is written beside its target and renamed into
// place by Commit, so a failed or abandoned output leaves any earlier file whole. In clipboard
// mode the text is gathered as it is (LF line ends) and Commit puts it on the clipboard.
#include <string>
#include <string_view>

#include "platform/system/file_io.h"

class TextSink {
 public:
  TextSink() = default;
  explicit TextSink(const std::string& targetPath) { Open(targetPath); }
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  bool Open(const std::string& targetPath);
  // Starts a clipboard portion (any file in progress is dropped).
  bool OpenClipboard();
  bool IsClipboard() const { return clipboard_; }
  bool IsOpen() const { return clipboard_ || file_.IsOpen(); }
  // Appends UTF-8 text; each "\n" becomes CR LF. False once any write has failed.
  bool Write(std::string_view utf8);
  // Puts the file in place of the target (clipboard mode: the text on the clipboard). False
  // (target kept) after any failure.
  bool Commit();
  // Drops the new file; the target is kept as it was.
  void Abort();
  bool Failed() const { return failed_; }
  const std::string& TargetPath() const { return file_.TargetPath(); }

 private:
  bool Flush();

  sys::AtomicFileWriter file_;
  std::string pending_;
  bool failed_ = false;
  bool clipboard_ = false;
};
