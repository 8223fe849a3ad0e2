#pragma once
// Toolkit side of the drawing layer, for the platform layer's own .cpp files only:
// device contexts over a QPainter, the QImage behind an Image, colour conversion.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <functional>
#include <memory>

#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/draw/print.h"

class QPrinter;

namespace draw {

// Makes sure a GUI application object exists (fonts and text need one). Creates a widget
// application when none exists, choosing the offscreen platform when no display is set.
void EnsureQtApp();

// Device capabilities a context reports.
struct DeviceInfo {
  DcKind kind = DcKind::Window;
  int dpiX = 96;
  int dpiY = 96;
  int widthPx = 1920;   // HORZRES
  int heightPx = 1080;  // VERTRES
  int widthMm = 508;    // HORZSIZE
  int heightMm = 286;   // VERTSIZE
  int bitsPixel = 32;
  // Printers: the whole sheet and the offset of the printable area, in device pixels.
  int physicalWidth = 0;
  int physicalHeight = 0;
  int physicalOffsetX = 0;
  int physicalOffsetY = 0;
  // Device pixels of the surface per device unit reported (print preview draws printer
  // units into a smaller page image).
  double surfaceScale = 1.0;
};

// The device information of the screen (window and compatible memory contexts).
DeviceInfo ScreenDeviceInfo();

// A device context drawing through a painter that the caller keeps active for the
// context's lifetime (a widget's paint event, a printer). Window kind reports the
// screen's capabilities, the other kinds those of the painter's device.
std::unique_ptr<Dc> MakeDcForPainter(QPainter* painter, DcKind kind = DcKind::Window);
std::unique_ptr<Dc> MakeDcForPainter(QPainter* painter, const DeviceInfo& device);
// Replaces the capabilities a context reports (and its surface scale).
void SetDeviceInfo(Dc& dc, const DeviceInfo& device);
// Lets a printer context start a new sheet (its StartPage after the first page calls it).
void SetNewPageHandler(Dc& dc, std::function<bool()> newPage);
// Called when the context is destroyed (after it stopped drawing).
void SetReleaseHandler(Dc& dc, std::function<void()> onRelease);
// Pages begun with StartPage since StartDoc.
int StartedPages(const Dc& dc);

struct Image::Impl {
  QImage image;
  int bits = 0;
  Dc::Impl* boundDc = nullptr;  // the memory context drawing into this image
};
// Ends the drawing of a context into the image, when one draws into it.
void ReleaseImageFromDc(Image::Impl* image);

// The QImage behind an image (32-bit RGB, or 8-bit indexed for palette images).
QImage& QtImage(Image& image);
const QImage& QtImage(const Image& image);
// Wraps a QImage (converted to RGB32 unless it is indexed) with the given bit count
// (0: 32 for colour, 8 for indexed).
Image ImageFromQt(const QImage& image, int bitsPerPixel = 0);

// A print job on a printer the caller configured (for example through the print dialog);
// the printer must outlive the job.
std::unique_ptr<PrintJob> PrintJobForPrinter(QPrinter* printer, PrintStatus* status);

inline QColor ToQColor(ColorRef c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline QRgb ToQRgb(ColorRef c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline ColorRef FromQRgb(QRgb c) { return Rgb(qRed(c), qGreen(c), qBlue(c)); }

// The realised toolkit font of a font object.
const QFont& QtFont(const Font& font);

struct Region::Data {
  QRegion region;
};
const QRegion& QtRegion(const Region& r);
Region RegionFromQt(const QRegion& r);

}  // namespace draw
