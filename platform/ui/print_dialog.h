#pragma once
// The print dialog that every print command shows: the user picks a printer or a PDF file,
// the pages and the paper's orientation; the dialog then opens the print job there. Under
// the offscreen platform the answer comes from the testing script
// (testhooks::AnswerPrintDialog); without one the dialog is cancelled and recorded as
// unanswered.
#include <memory>
#include <string>

#include "platform/draw/print.h"

namespace ui {

class Window;

struct PrintSettings {
  bool toFile = false;      // a PDF file instead of a printer
  std::string printerName;  // empty: the default printer
  std::string pdfPath;      // with toFile
  int fromPage = 1;
  int toPage = 1;
  draw::PageSetup page;     // paper, orientation, colour, document name
};

class PrintDialog {
 public:
  explicit PrintDialog(Window* parent = nullptr);
  ~PrintDialog();

  // The pages the document has; the chosen range stays within (default 1..1).
  void SetPageRange(int minPage, int maxPage);
  PrintSettings& Settings() { return settings_; }
  const PrintSettings& Settings() const { return settings_; }

  // IDOK or IDCANCEL.
  int DoModal();
  // Opens the job on the chosen printer or PDF file; null with the status on failure
  // (NoPrinter: no printer installed or the chosen one is gone; CannotOpen: the file or the
  // spooler refused).
  std::unique_ptr<draw::PrintJob> OpenJob(draw::PrintStatus* status = nullptr) const;

 private:
  Window* parent_;
  int minPage_ = 1;
  int maxPage_ = 1;
  PrintSettings settings_;
};

}  // namespace ui
