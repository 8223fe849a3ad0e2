// Print jobs over the toolkit's PDF writer and printers, and page images for the preview.
#include "platform/draw/print.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <deque>

#include "platform/draw/dc_qt.h"

namespace draw {

struct PrintJob::Impl {
  enum class Kind { Pdf, Printer, Preview } kind = Kind::Pdf;
  std::unique_ptr<QPdfWriter> pdf;
  std::unique_ptr<QPrinter> ownPrinter;
  QPrinter* printer = nullptr;
  QPainter painter;
  std::unique_ptr<Dc> dc;
  std::deque<Image> pages;  // preview; a deque keeps selected pages in place
  DeviceInfo info;
  std::string path;
  int previewDpi = 0;
  bool finished = false;
};

namespace {

int MmToPx(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / 25.4)); }

QPageLayout LayoutOf(const PageSetup& s) {
  const double m = std::max(0.0, s.marginMm);
  return QPageLayout(QPageSize(QSizeF(s.paperWidthMm, s.paperHeightMm), QPageSize::Millimeter),
                     s.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(m, m, m, m),
                     QPageLayout::Millimeter);
}

// Device information of a page setup at a resolution.
DeviceInfo InfoOf(const PageSetup& s, int dpi, DcKind kind) {
  double w = s.paperWidthMm, h = s.paperHeightMm;
  if (s.landscape) std::swap(w, h);
  const double m = std::max(0.0, s.marginMm);
  DeviceInfo d;
  d.kind = kind;
  d.dpiX = d.dpiY = dpi;
  d.widthMm = static_cast<int>(std::lround(w - 2 * m));
  d.heightMm = static_cast<int>(std::lround(h - 2 * m));
  d.widthPx = MmToPx(w - 2 * m, dpi);
  d.heightPx = MmToPx(h - 2 * m, dpi);
  d.physicalWidth = MmToPx(w, dpi);
  d.physicalHeight = MmToPx(h, dpi);
  d.physicalOffsetX = d.physicalOffsetY = MmToPx(m, dpi);
  d.bitsPixel = s.color ? 24 : 1;
  return d;
}

// Device information as the painter's device reports it.
DeviceInfo InfoOfDevice(QPaintDevice* pd, const QPageLayout& layout, bool color) {
  DeviceInfo d;
  d.kind = DcKind::Printer;
  d.dpiX = pd->logicalDpiX();
  d.dpiY = pd->logicalDpiY();
  d.widthPx = pd->width();
  d.heightPx = pd->height();
  d.widthMm = pd->widthMM();
  d.heightMm = pd->heightMM();
  const QRect full = layout.fullRectPixels(d.dpiX);
  const QRect paint = layout.paintRectPixels(d.dpiX);
  d.physicalWidth = full.width();
  d.physicalHeight = full.height();
  d.physicalOffsetX = paint.left();
  d.physicalOffsetY = paint.top();
  d.bitsPixel = color ? 24 : 1;
  return d;
}

}  // namespace

PrintJob::PrintJob(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PrintJob::~PrintJob() {
  if (impl_ && !impl_->finished && impl_->kind != Impl::Kind::Preview) EndDoc();
}

std::unique_ptr<PrintJob> PrintJob::OpenPdf(const std::string& path, const PageSetup& setup, PrintStatus* status) {
  EnsureQtApp();
  auto impl = std::make_unique<Impl>();
  impl->kind = Impl::Kind::Pdf;
  impl->path = path;
  impl->pdf = std::make_unique<QPdfWriter>(QString::fromStdString(path));
  impl->pdf->setResolution(std::max(72, setup.dpi));
  impl->pdf->setPageLayout(LayoutOf(setup));
  impl->pdf->setTitle(QString::fromStdString(setup.documentName));
  impl->pdf->setCreator(QStringLiteral("QLM2_Analyzer"));
  if (!impl->painter.begin(impl->pdf.get())) {
    if (status) *status = PrintStatus::CannotOpen;
    return nullptr;
  }
  impl->info = InfoOfDevice(impl->pdf.get(), impl->pdf->pageLayout(), setup.color);
  impl->dc = MakeDcForPainter(&impl->painter, impl->info);
  QPdfWriter* writer = impl->pdf.get();
  SetNewPageHandler(*impl->dc, [writer] { return writer->newPage(); });
  impl->dc->StartDoc(setup.documentName);
  if (status) *status = PrintStatus::Ok;
  return std::unique_ptr<PrintJob>(new PrintJob(std::move(impl)));
}

std::unique_ptr<PrintJob> PrintJobForPrinter(QPrinter* printer, PrintStatus* status) {
  auto impl = std::make_unique<PrintJob::Impl>();
  impl->kind = PrintJob::Impl::Kind::Printer;
  impl->printer = printer;
  if (printer == nullptr || !printer->isValid()) {
    if (status) *status = PrintStatus::NoPrinter;
    return nullptr;
  }
  if (!impl->painter.begin(printer)) {
    if (status) *status = PrintStatus::CannotOpen;
    return nullptr;
  }
  impl->info = InfoOfDevice(printer, printer->pageLayout(), printer->colorMode() == QPrinter::Color);
  impl->dc = MakeDcForPainter(&impl->painter, impl->info);
  SetNewPageHandler(*impl->dc, [printer] { return printer->newPage(); });
  impl->dc->StartDoc(printer->docName().toStdString());
  if (status) *status = PrintStatus::Ok;
  return std::unique_ptr<PrintJob>(new PrintJob(std::move(impl)));
}

std::unique_ptr<PrintJob> PrintJob::OpenPrinter(const std::string& printerName, const PageSetup& setup,
                                                PrintStatus* status) {
  EnsureQtApp();
  const QPrinterInfo info = printerName.empty() ? QPrinterInfo::defaultPrinter()
                                                : QPrinterInfo::printerInfo(QString::fromStdString(printerName));
  if (info.isNull()) {
    if (status) *status = PrintStatus::NoPrinter;
    return nullptr;
  }
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  printer->setPageLayout(LayoutOf(setup));
  printer->setColorMode(setup.color ? QPrinter::Color : QPrinter::GrayScale);
  printer->setDocName(QString::fromStdString(setup.documentName));
  std::unique_ptr<PrintJob> job = PrintJobForPrinter(printer.get(), status);
  if (job) job->impl()->ownPrinter = std::move(printer);
  return job;
}

std::unique_ptr<PrintJob> PrintJob::OpenPreview(const PageSetup& setup, int previewDpi) {
  EnsureQtApp();
  auto impl = std::make_unique<Impl>();
  impl->kind = Impl::Kind::Preview;
  impl->previewDpi = std::max(1, previewDpi);
  const int dpi = std::max(72, setup.dpi);
  impl->info = InfoOf(setup, dpi, DcKind::Preview);
  impl->info.surfaceScale = static_cast<double>(impl->previewDpi) / dpi;
  impl->dc = Dc::CreateCompatibleDC(nullptr);
  Impl* raw = impl.get();
  auto addPage = [raw] {
    const DeviceInfo& d = raw->info;
    const int w = std::max(1, static_cast<int>(std::lround(d.widthPx * d.surfaceScale)));
    const int h = std::max(1, static_cast<int>(std::lround(d.heightPx * d.surfaceScale)));
    raw->pages.emplace_back(w, h, 32);
    Image& page = raw->pages.back();
    page.Fill(Rgb(255, 255, 255));
    page.SetDpi(raw->previewDpi, raw->previewDpi);
    raw->dc->SelectBitmap(&page);
    return !page.IsNull();
  };
  addPage();
  SetDeviceInfo(*impl->dc, impl->info);
  SetNewPageHandler(*impl->dc, addPage);
  impl->dc->StartDoc(setup.documentName);
  return std::unique_ptr<PrintJob>(new PrintJob(std::move(impl)));
}

Dc& PrintJob::GetDc() { return *impl_->dc; }

Rect PrintJob::PageRect() const { return {0, 0, impl_->info.widthPx, impl_->info.heightPx}; }

PrintStatus PrintJob::StartPage() {
  if (impl_->finished) return PrintStatus::NotStarted;
  return impl_->dc->StartPage() > 0 ? PrintStatus::Ok : PrintStatus::Failed;
}

PrintStatus PrintJob::EndPage() {
  if (impl_->finished) return PrintStatus::NotStarted;
  impl_->dc->EndPage();
  return PrintStatus::Ok;
}

PrintStatus PrintJob::EndDoc() {
  if (impl_->finished) return PrintStatus::NotStarted;
  impl_->finished = true;
  impl_->dc->EndDoc();
  if (impl_->kind == Impl::Kind::Preview) {
    impl_->dc->SelectBitmap(nullptr);
    return PrintStatus::Ok;
  }
  return impl_->painter.end() ? PrintStatus::Ok : PrintStatus::Failed;
}

void PrintJob::Abort() {
  if (impl_->finished) return;
  impl_->finished = true;
  impl_->dc->AbortDoc();
  switch (impl_->kind) {
    case Impl::Kind::Preview: impl_->dc->SelectBitmap(nullptr); break;
    case Impl::Kind::Printer:
      impl_->printer->abort();
      impl_->painter.end();
      break;
    case Impl::Kind::Pdf:
      impl_->painter.end();
      QFile::remove(QString::fromStdString(impl_->path));
      break;
  }
}

int PrintJob::PageCount() const {
  if (impl_->kind == Impl::Kind::Preview) return static_cast<int>(impl_->pages.size());
  return std::max(1, StartedPages(*impl_->dc));
}

const Image* PrintJob::PreviewPage(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= impl_->pages.size()) return nullptr;
  return &impl_->pages[static_cast<std::size_t>(index)];
}

std::vector<std::string> AvailablePrinters() {
  EnsureQtApp();
  std::vector<std::string> out;
  for (const QString& n : QPrinterInfo::availablePrinterNames()) out.push_back(n.toStdString());
  return out;
}

std::string DefaultPrinterName() {
  EnsureQtApp();
  return QPrinterInfo::defaultPrinterName().toStdString();
}

}  // namespace draw
