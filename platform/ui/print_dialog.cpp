// The print dialog over the toolkit's own (printers, and its "print to file" as PDF).
#include "platform/ui/print_dialog.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

#include "platform/ui/app.h"
#include "platform/ui/document.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {

PrintDialog::PrintDialog(Window* parent) : parent_(parent) {}
PrintDialog::~PrintDialog() = default;

void PrintDialog::SetPageRange(int minPage, int maxPage) {
  minPage_ = std::max(1, minPage);
  maxPage_ = std::max(minPage_, maxPage);
  settings_.fromPage = minPage_;
  settings_.toPage = maxPage_;
}

int PrintDialog::DoModal() {
  EnsureToolkit();
  if (ScriptedUi()) {
    CommonAnswer a;
    if (!TakeCommonAnswer(CommonAnswer::Kind::Print, a)) {
      ++Script().unanswered;
      return IDCANCEL;
    }
    if (a.result != IDOK) return IDCANCEL;
    settings_.toFile = !a.paths.empty();
    settings_.pdfPath = settings_.toFile ? a.paths.front() : std::string{};
    settings_.printerName = a.printer;
    return IDOK;
  }
  QPrinter printer(QPrinter::HighResolution);
  if (!settings_.printerName.empty()) printer.setPrinterName(Q(settings_.printerName));
  if (settings_.toFile) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Q(settings_.pdfPath));
  }
  printer.setPageOrientation(settings_.page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setColorMode(settings_.page.color ? QPrinter::Color : QPrinter::GrayScale);
  printer.setDocName(Q(settings_.page.documentName));
  printer.setFromTo(settings_.fromPage, settings_.toPage);
  Window* owner = parent_;
  if (!owner && App::Current()) owner = App::Current()->GetMainWnd();
  QPrintDialog dialog(&printer, owner && owner->IsWindow() ? WidgetOf(owner) : nullptr);
  dialog.setMinMax(minPage_, maxPage_);
  QPrintDialog::PrintDialogOptions options = QPrintDialog::PrintToFile;
  if (maxPage_ > minPage_) options |= QPrintDialog::PrintPageRange;
  dialog.setOptions(options);
  if (dialog.exec() != QDialog::Accepted) return IDCANCEL;
  settings_.toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  settings_.pdfPath = settings_.toFile ? U(printer.outputFileName()) : std::string{};
  settings_.printerName = settings_.toFile ? std::string{} : U(printer.printerName());
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    settings_.fromPage = std::clamp(printer.fromPage(), minPage_, maxPage_);
    settings_.toPage = std::clamp(std::max(printer.toPage(), printer.fromPage()), minPage_, maxPage_);
  } else {
    settings_.fromPage = minPage_;
    settings_.toPage = maxPage_;
  }
  const QPageLayout layout = printer.pageLayout();
  const QSizeF paper = layout.pageSize().size(QPageSize::Millimeter);
  if (paper.width() > 0 && paper.height() > 0) {
    settings_.page.paperWidthMm = std::min(paper.width(), paper.height());
    settings_.page.paperHeightMm = std::max(paper.width(), paper.height());
  }
  settings_.page.landscape = layout.orientation() == QPageLayout::Landscape;
  settings_.page.color = printer.colorMode() == QPrinter::Color;
  return IDOK;
}

std::unique_ptr<draw::PrintJob> PrintDialog::OpenJob(draw::PrintStatus* status) const {
  if (settings_.toFile) return draw::PrintJob::OpenPdf(settings_.pdfPath, settings_.page, status);
  return draw::PrintJob::OpenPrinter(settings_.printerName, settings_.page, status);
}

}  // namespace ui

namespace ui {

draw::PrintStatus View::OnFilePrint() {
  PrintSettings settings;
  PrintInfo info;
  info.settings = &settings;
  if (!OnPreparePrinting(info)) return draw::PrintStatus::NotStarted;
  info.minPage = std::max(1, info.minPage);
  info.maxPage = std::max(info.minPage, info.maxPage);
  PrintDialog dialog(this);
  dialog.SetPageRange(info.minPage, info.maxPage);
  dialog.Settings().page = settings.page;
  if (!info.direct && dialog.DoModal() != IDOK) return draw::PrintStatus::NotStarted;
  settings = dialog.Settings();
  draw::PrintStatus status = draw::PrintStatus::Ok;
  std::unique_ptr<draw::PrintJob> job = dialog.OpenJob(&status);
  if (!job) return status;
  draw::Dc& dc = job->GetDc();
  info.drawRect = job->PageRect();
  OnBeginPrinting(dc, info);
  for (int page = settings.fromPage; page <= settings.toPage && status == draw::PrintStatus::Ok; ++page) {
    info.currentPage = page;
    status = job->StartPage();
    if (status != draw::PrintStatus::Ok) break;
    OnPrint(dc, info);
    status = job->EndPage();
  }
  OnEndPrinting(dc, info);
  if (status == draw::PrintStatus::Ok) status = job->EndDoc();
  else job->Abort();
  return status;
}

}  // namespace ui
