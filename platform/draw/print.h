#pragma once
// Print jobs: a printer context for each destination (a PDF file, a system printer, or
// page images for the print preview), with pages begun and ended by the caller. Drawing
// code receives the job's Dc and the printable page rectangle and draws in device units
// of the printer; its device capabilities (LOGPIXELSX/Y, HORZRES/VERTRES, HORZSIZE/VERTSIZE)
// describe the chosen paper. A preview renders the same drawing, scaled, into one image
// per page.
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/geometry.h"

#include "platform/draw/dc.h"
#include "platform/draw/image.h"

namespace draw {

struct PageSetup {
  double paperWidthMm = 210.0;  // of the sheet in portrait
  double paperHeightMm = 297.0;
  bool landscape = false;
  int dpi = 600;                // device resolution of the printer context
  double marginMm = 0.0;        // unprintable border on each side
  bool color = true;
  std::string documentName = "QLM2_Analyzer";
};

enum class PrintStatus {
  Ok,
  NoPrinter,        // no printer installed, or the named one is unknown
  CannotOpen,       // the destination could not be opened (file or spooler)
  NotStarted,       // page calls outside a started job
  Failed,           // the job broke off
};

class PrintJob {
 public:
  // A job writing a PDF file (replaced when it exists).
  static std::unique_ptr<PrintJob> OpenPdf(const std::string& path, const PageSetup& setup, PrintStatus* status);
  // A job on a system printer; an empty name takes the default printer.
  static std::unique_ptr<PrintJob> OpenPrinter(const std::string& printerName, const PageSetup& setup,
                                               PrintStatus* status);
  // A job that renders its pages into images at previewDpi (white paper).
  static std::unique_ptr<PrintJob> OpenPreview(const PageSetup& setup, int previewDpi);

  virtual ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // The printer context; valid until the job is destroyed.
  Dc& GetDc();
  // Printable area in device units: (0, 0, HORZRES, VERTRES).
  Rect PageRect() const;
  // Begins a new page (the first call begins page 1).
  PrintStatus StartPage();
  PrintStatus EndPage();
  // Finishes the document (the PDF file is complete afterwards).
  PrintStatus EndDoc();
  // Stops the job; a PDF file begun is removed.
  void Abort();
  int PageCount() const;
  // Preview jobs: the image of a page (0-based), null outside 0..PageCount()-1 and for
  // other jobs.
  const Image* PreviewPage(int index) const;

  struct Impl;
  explicit PrintJob(std::unique_ptr<Impl> impl);
  Impl* impl() const { return impl_.get(); }

 private:
  std::unique_ptr<Impl> impl_;
};

// Names of the installed printers and the default one (empty when none).
std::vector<std::string> AvailablePrinters();
std::string DefaultPrinterName();

}  // namespace draw
