#pragma once
// Where a workspace text output goes: a file, written beside its target and put in place when
// the output ends, or the clipboard, which gets the text gathered when the output ends. It
// counts lines for the line limit and runs the limit's "Enter new file name." exchange.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/document/text_sink.h"

class CQLM2_AnalyzerDoc;
namespace ui {
class Window;
}

class WorkspaceTextOut {
 public:
  // toClipboard 1: the clipboard, else the file at path. False when the file cannot be made.
  bool Open(int toClipboard, const std::string& path);
  bool IsClipboard() const { return clipboard_; }
  // Appends UTF-8 text; false once any write failed.
  bool Put(std::string_view text);
  // The document's header lines (counted in Lines); false when it cannot be written.
  bool Header(CQLM2_AnalyzerDoc& doc);
  // Ends the output: the file put in place or the text copied. False when that fails.
  bool Finish();
  // Drops the output (the file's target stays as it was).
  void Abort();
  bool Failed() const { return failed_; }
  // The user ended the output at the line limit.
  bool Stopped() const { return stopped_; }
  // The text gathered for the clipboard since the last copy.
  const std::string& ClipboardText() const { return text_; }

  // The line limit after a data line: 1 go on, 0 stop. A limit above 0 that Lines exceeds
  // ends the current part (file put in place, or text copied) and asks for a new file (Cancel
  // stops: Stopped()); OK
  // goes on in a file chosen in a save dialog (file output: *path becomes it; its header and
  // an empty line when doc is given) or in fresh clipboard text, Lines starting again at 1.
  int CheckMaxLine(std::int32_t maxLine, CQLM2_AnalyzerDoc* doc, ui::Window* owner, std::string* path);

  int Lines = 0;

 private:
  int Stop() {
    stopped_ = true;
    return 0;
  }
  bool clipboard_ = false;
  bool failed_ = false;
  bool stopped_ = false;
  TextSink sink_;
  std::string text_;
};

// The delimiter of every text output: a tab when OutputDelimiterIsTab is 1, else a comma.
char WorkspaceDelimiter();
// Path of a recording's text output: the result file's when results are not saved as they are
// and it has one, else the recording's; its extension replaced by suffix + ".txt".
std::string WorkspaceOutputPath(const CQLM2_AnalyzerDoc& doc, std::string_view suffix);
