// Dc over QPainter: state keeping, lines and shapes with the program's pixel rules,
// raster operations, text, clipping, blits and device capabilities.
#include "platform/draw/dc.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPixmap>
#include <QScreen>
#include <QTransform>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include "platform/draw/dc_qt.h"
#include "platform/draw/line_raster.h"

namespace draw {

namespace {

std::optional<ScreenMetrics>& ScreenOverride() {
  static std::optional<ScreenMetrics> value;
  return value;
}

struct DcState {
  Pen pen;
  Brush brush = Brush::Solid(Rgb(255, 255, 255));
  Font font;
  ColorRef textColor = 0;
  ColorRef bkColor = Rgb(255, 255, 255);
  int bkMode = OPAQUE;
  unsigned textAlign = TA_LEFT | TA_TOP;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  Point pos;
  Point origin;
  bool hasClip = false;
  QRegion clip;  // device pixels
  std::vector<ColorRef> palette;
};

QPainter::CompositionMode ModeOfRop2(int rop) {
  switch (rop) {
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

Qt::BrushStyle QtHatch(int hatch) {
  switch (hatch) {
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    case HS_DIAGCROSS: return Qt::DiagCrossPattern;
    default: return Qt::HorPattern;
  }
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// Copies the pixel rows of `area` of a 32-bit image from the same-sized rectangle of another
// one that starts at `fromTopLeft`.
void CopyPixelRows(QImage& to, const QRect& area, const QImage& from, const QPoint& fromTopLeft) {
  const auto rowBytes = static_cast<std::size_t>(area.width()) * 4;
  for (int row = 0; row < area.height(); ++row)
    std::memcpy(to.scanLine(area.top() + row) + static_cast<std::ptrdiff_t>(area.left()) * 4,
                from.constScanLine(fromTopLeft.y() + row) + static_cast<std::ptrdiff_t>(fromTopLeft.x()) * 4,
                rowBytes);
}

}  // namespace

ScreenMetrics GetScreenMetrics() {
  if (ScreenOverride()) return *ScreenOverride();
  EnsureQtApp();
  ScreenMetrics m{1920, 1080, 508, 286, 96, 96};
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QSize px = s->size();
    const QSizeF mm = s->physicalSize();
    if (px.width() > 0 && px.height() > 0) {
      m.widthPx = px.width();
      m.heightPx = px.height();
    }
    if (mm.width() > 0 && mm.height() > 0) {
      m.widthMm = static_cast<int>(std::lround(mm.width()));
      m.heightMm = static_cast<int>(std::lround(mm.height()));
    } else {
      m.widthMm = static_cast<int>(std::lround(m.widthPx * 25.4 / 96.0));
      m.heightMm = static_cast<int>(std::lround(m.heightPx * 25.4 / 96.0));
    }
    m.dpiX = std::max(1, static_cast<int>(std::lround(s->logicalDotsPerInchX())));
    m.dpiY = std::max(1, static_cast<int>(std::lround(s->logicalDotsPerInchY())));
  }
  return m;
}

bool IsScreenMetricsOverridden() { return ScreenOverride().has_value(); }

void OverrideScreenMetrics(const ScreenMetrics* metrics) {
  if (metrics != nullptr) {
    ScreenOverride() = *metrics;
  } else {
    ScreenOverride().reset();
  }
}

DeviceInfo ScreenDeviceInfo() {
  const ScreenMetrics m = GetScreenMetrics();
  DeviceInfo d;
  d.kind = DcKind::Window;
  d.dpiX = m.dpiX;
  d.dpiY = m.dpiY;
  d.widthPx = m.widthPx;
  d.heightPx = m.heightPx;
  d.widthMm = m.widthMm;
  d.heightMm = m.heightMm;
  d.bitsPixel = 32;
  return d;
}

struct Dc::Impl {
  DeviceInfo dev;
  QPainter* painter = nullptr;
  std::unique_ptr<QPainter> ownPainter;
  Image* image = nullptr;  // the bitmap of a memory context
  Image::Impl* bound = nullptr;  // its data, which the painter draws into
  QImage work;             // 32-bit working copy while a palette image is selected
  QImage workBefore;       // the working copy as selected, to find the pixels drawn
  bool usesWork = false;
  DcState st;
  std::vector<DcState> saved;
  std::vector<QPoint> points;
  std::function<bool()> newPage;
  std::function<void()> onRelease;
  int pagesStarted = 0;

  // ---- binding a memory context to its bitmap ----
  // Stops drawing into the selected image without writing anything back.
  void Detach() {
    if (ownPainter && ownPainter->isActive()) ownPainter->end();
    if (bound != nullptr) bound->boundDc = nullptr;
    bound = nullptr;
    image = nullptr;
    work = QImage();
    workBefore = QImage();
    usesWork = false;
    painter = nullptr;
  }

  void Unbind() {
    if (ownPainter && ownPainter->isActive()) ownPainter->end();
    if (usesWork && bound != nullptr && !bound->image.isNull()) {
      // Back into the palette: each pixel drawn takes its nearest palette entry; pixels
      // not drawn keep their index (palettes may hold one colour twice).
      QImage& indexed = bound->image;
      const QList<QRgb> table = indexed.colorTable();
      for (int y = 0; y < work.height(); ++y) {
        const QRgb* now = reinterpret_cast<const QRgb*>(work.constScanLine(y));
        const QRgb* was = reinterpret_cast<const QRgb*>(workBefore.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < work.width(); ++x) {
          if (now[x] == was[x]) continue;
          int best = 0;
          long bestDist = -1;
          for (int i = 0; i < table.size(); ++i) {
            const long dr = qRed(table[i]) - qRed(now[x]);
            const long dg = qGreen(table[i]) - qGreen(now[x]);
            const long db = qBlue(table[i]) - qBlue(now[x]);
            const long d = dr * dr + dg * dg + db * db;
            if (bestDist < 0 || d < bestDist) {
              best = i;
              bestDist = d;
            }
          }
          out[x] = static_cast<uchar>(best);
        }
      }
    }
    Detach();
  }

  void Bind(Image* img) {
    image = img;
    if (img == nullptr || img->IsNull()) return;
    // One context draws into an image at a time: another one holding it lets it go.
    if (img->impl()->boundDc != nullptr && img->impl()->boundDc != this) img->impl()->boundDc->Detach();
    bound = img->impl();
    bound->boundDc = this;
    if (!ownPainter) ownPainter = std::make_unique<QPainter>();
    QImage* surface = &QtImage(*img);
    if (img->BitsPerPixel() <= 8) {
      work = surface->convertToFormat(QImage::Format_RGB32);
      workBefore = work.copy();
      usesWork = true;
      surface = &work;
    }
    if (ownPainter->begin(surface)) {
      painter = ownPainter.get();
      ApplyAll();
    }
  }

  // The image drawn on, when the surface is one in memory.
  QImage* SurfaceImage() const {
    if (painter == nullptr) return nullptr;
    if (usesWork) return const_cast<QImage*>(&work);
    QPaintDevice* d = painter->device();
    if (d != nullptr && d->devType() == QInternal::Image) return static_cast<QImage*>(d);
    return nullptr;
  }

  // A copy of a device rectangle of the surface (widgets are grabbed).
  QImage ReadSurface(const QRect& deviceRect) const {
    if (QImage* img = SurfaceImage()) return img->copy(deviceRect).convertToFormat(QImage::Format_RGB32);
    if (painter != nullptr && painter->device() != nullptr && painter->device()->devType() == QInternal::Pixmap) {
      const auto* pixmap = static_cast<const QPixmap*>(painter->device());
      return pixmap->copy(deviceRect).toImage().convertToFormat(QImage::Format_RGB32);
    }
    if (painter != nullptr && painter->device() != nullptr && painter->device()->devType() == QInternal::Widget) {
      auto* w = static_cast<QWidget*>(painter->device());
      return w->grab(deviceRect).toImage().convertToFormat(QImage::Format_RGB32);
    }
    return QImage();
  }

  QRect SurfaceRect() const {
    if (painter != nullptr && painter->device() != nullptr) {
      return QRect(0, 0, painter->device()->width(), painter->device()->height());
    }
    return QRect(0, 0, dev.widthPx, dev.heightPx);
  }

  // ---- pushing state to the painter ----
  void ApplyAll() {
    if (painter == nullptr) return;
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, st.stretchMode == HALFTONE);
    painter->setTransform(Transform());
    ApplyClip();
  }

  // A colour of the context: palette-index colours name an entry of the selected palette
  // (black when there is no such entry); the flag byte of other colours is ignored.
  QColor Q(ColorRef c) const {
    if ((c >> 24) == 1) {
      const std::size_t index = c & 0xFFFF;
      return index < st.palette.size() ? ToQColor(st.palette[index]) : QColor(Qt::black);
    }
    return ToQColor(c & 0xFFFFFF);
  }

  // Logical units to surface pixels.
  QTransform Transform() const {
    QTransform t;
    if (dev.surfaceScale != 1.0) t.scale(dev.surfaceScale, dev.surfaceScale);
    t.translate(st.origin.x, st.origin.y);
    return t;
  }

  void ApplyClip() {
    if (painter == nullptr) return;
    if (st.hasClip) {
      // Kept in device units; the painter maps logical units through the transform.
      painter->setClipRegion(st.clip.translated(-st.origin.x, -st.origin.y));
    } else {
      painter->setClipping(false);
    }
  }

  QPen MakePen() const {
    const Pen& p = st.pen;
    if (p.style == PS_NULL || st.rop2 == R2_NOP) return QPen(Qt::NoPen);
    QColor color = Q(p.color);
    if (st.rop2 == R2_BLACK) color = Qt::black;
    if (st.rop2 == R2_WHITE) color = Qt::white;
    QPen pen(color);
    const int width = std::max(1, p.width);
    // Patterns in pixels (on, off, ...), as the program's dotted grids were designed with.
    QList<qreal> dashes;
    switch (p.style) {
      case PS_DASH: dashes = {18, 6}; break;
      case PS_DOT: dashes = {3, 3}; break;
      case PS_DASHDOT: dashes = {9, 6, 3, 6}; break;
      case PS_DASHDOTDOT: dashes = {9, 3, 3, 3, 3, 3}; break;
      default: break;
    }
    // Patterned pens are always one pixel wide.
    if (width == 1 || !dashes.isEmpty()) {
      pen.setWidth(1);
      pen.setCosmetic(true);
      pen.setCapStyle(Qt::FlatCap);
      pen.setJoinStyle(Qt::MiterJoin);
    } else {
      pen.setWidth(width);
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
    }
    if (!dashes.isEmpty()) pen.setDashPattern(dashes);
    return pen;
  }

  QBrush MakeBrush(const Brush& b) const {
    if (b.style == BS_NULL || st.rop2 == R2_NOP) return QBrush(Qt::NoBrush);
    QColor color = Q(b.color);
    if (st.rop2 == R2_BLACK) color = Qt::black;
    if (st.rop2 == R2_WHITE) color = Qt::white;
    if (b.style == BS_HATCHED) return QBrush(color, QtHatch(b.hatch));
    return QBrush(color);
  }

  void PrepareShape(bool withBrush) {
    painter->setCompositionMode(ModeOfRop2(st.rop2));
    painter->setPen(MakePen());
    painter->setBrush(withBrush ? MakeBrush(st.brush) : QBrush(Qt::NoBrush));
    painter->setBackgroundMode(st.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    painter->setBackground(QBrush(Q(st.bkColor)));
  }

  // Fills a logical rectangle with a brush in the given composition mode; hatch gaps
  // take the background colour when the background mode is opaque.
  void FillWith(const QRect& r, const Brush& b, QPainter::CompositionMode mode) {
    if (painter == nullptr || r.isEmpty() || b.style == BS_NULL) return;
    if (b.style != BS_HATCHED && mode == QPainter::CompositionMode_SourceOver && FastSolidFill(r, Q(b.color))) return;
    painter->setCompositionMode(mode);
    if (b.style == BS_HATCHED && st.bkMode == OPAQUE) painter->fillRect(r, Q(st.bkColor));
    painter->setBackgroundMode(Qt::TransparentMode);
    painter->fillRect(r, b.style == BS_HATCHED ? QBrush(Q(b.color), QtHatch(b.hatch))
                                               : QBrush(Q(b.color)));
  }

  // Where solid fills go straight into the pixels of a 32-bit memory surface.
  struct FillTarget {
    std::uint32_t* pixels = nullptr;
    qsizetype stride = 0;
    QRect bounds;  // device pixels that may change
  };

  // Sets up the direct path of solid fills; false when the painter must fill (scaled or
  // complex-clipped surfaces, an origin out of the fast range).
  bool PrepareFastFill(FillTarget* t) const {
    if (dev.surfaceScale != 1.0) return false;
    QImage* img = SurfaceImage();
    if (img == nullptr || img->format() != QImage::Format_RGB32) return false;
    if (std::abs(st.origin.x) > kFastLineLimit || std::abs(st.origin.y) > kFastLineLimit) return false;
    QRect bounds = img->rect();
    if (st.hasClip) {
      if (st.clip.rectCount() > 1) return false;
      bounds &= st.clip.boundingRect();
    }
    t->bounds = bounds;
    t->pixels = reinterpret_cast<std::uint32_t*>(img->bits());
    t->stride = img->bytesPerLine() / 4;
    return true;
  }

  // Writes a rectangle (logical units) into the target; false when its coordinates are out
  // of the fast range.
  bool FastFill(const FillTarget& t, const QRect& r, const QColor& color) const {
    if (std::abs(r.left()) > kFastLineLimit || std::abs(r.top()) > kFastLineLimit ||
        std::abs(r.width()) > kFastLineLimit || std::abs(r.height()) > kFastLineLimit)
      return false;
    const QRect area = r.translated(st.origin.x, st.origin.y) & t.bounds;
    if (area.isEmpty()) return true;
    const std::uint32_t value = 0xFF000000u | (color.rgb() & 0xFFFFFFu);
    std::uint32_t* row = t.pixels + area.top() * t.stride + area.left();
    const int width = area.width();
    if (width == 1) {
      for (int y = area.top(); y <= area.bottom(); ++y, row += t.stride) *row = value;
      return true;
    }
    for (int y = area.top(); y <= area.bottom(); ++y, row += t.stride) std::fill_n(row, width, value);
    return true;
  }

  // The direct path of solid fills on a 32-bit memory surface: the rectangle (logical
  // units) is written straight into the pixels; false when the painter must fill (scaled or
  // complex-clipped surfaces, coordinates out of the fast range).
  bool FastSolidFill(const QRect& r, const QColor& color) const {
    FillTarget t;
    return PrepareFastFill(&t) && FastFill(t, r, color);
  }

  // Sets up the direct path for thin solid lines on a 32-bit memory surface; false when
  // the general path must draw (wide or patterned pens, other raster operations, scaled
  // or complex-clipped surfaces, coordinates out of the fast range).
  bool PrepareFastLine(LineTarget* t, const Point* pts, int count) const {
    return PointsInFastRange(pts, count) && PrepareFastLineTarget(t);
  }

  // |x| or |y| of no point above the fast path's limit.
  static bool PointsInFastRange(const Point* pts, int count) {
    // Without branches, so that the check vectorises.
    constexpr unsigned kSpan = 2u * kFastLineLimit;
    unsigned far = 0;
    for (int i = 0; i < count; ++i) {
      far |= static_cast<unsigned>(static_cast<unsigned>(pts[i].x) + kFastLineLimit > kSpan);
      far |= static_cast<unsigned>(static_cast<unsigned>(pts[i].y) + kFastLineLimit > kSpan);
    }
    return far == 0;
  }

  // The direct path's target for the current pen, whatever the points.
  bool PrepareFastLineTarget(LineTarget* t) const {
    const Pen& pen = st.pen;
    if (pen.style != PS_SOLID && pen.style != PS_INSIDEFRAME) return false;
    if (pen.width > 1 || dev.surfaceScale != 1.0) return false;
    QImage* img = SurfaceImage();
    if (img == nullptr || img->format() != QImage::Format_RGB32) return false;
    QRect bounds = img->rect();
    if (st.hasClip) {
      if (st.clip.rectCount() > 1) return false;
      bounds &= st.clip.boundingRect();
    }
    if (std::abs(st.origin.x) > kFastLineLimit || std::abs(st.origin.y) > kFastLineLimit) return false;
    const std::uint32_t rgb = ((pen.color >> 24) == 1 ? Q(pen.color).rgb() : ToQRgb(pen.color)) & 0xFFFFFFu;
    switch (st.rop2) {
      case R2_COPYPEN: t->op = LineOp::Copy; t->value = 0xFF000000u | rgb; break;
      case R2_BLACK: t->op = LineOp::Copy; t->value = 0xFF000000u; break;
      case R2_WHITE: t->op = LineOp::Copy; t->value = 0xFFFFFFFFu; break;
      case R2_XORPEN: t->op = LineOp::Xor; t->value = rgb; break;
      case R2_NOTXORPEN: t->op = LineOp::Xor; t->value = ~rgb & 0xFFFFFFu; break;
      case R2_NOT: t->op = LineOp::Not; t->value = 0xFFFFFFu; break;
      default: return false;
    }
    t->pixels = reinterpret_cast<std::uint32_t*>(img->bits());
    t->stridePixels = static_cast<int>(img->bytesPerLine() / 4);
    t->clip = bounds.isEmpty() ? Rect{} : Rect{bounds.left(), bounds.top(), bounds.left() + bounds.width(),
                                               bounds.top() + bounds.height()};
    return true;
  }

  // A straight copy of a rectangle of another memory surface (logical units of each) into
  // this one, row by row; false when the painter must draw it (scaled or complex-clipped
  // surfaces, a source rectangle not wholly on its surface, one surface for both).
  bool FastCopy(int x, int y, int width, int height, const Impl& src, int srcX, int srcY) const {
    if (dev.surfaceScale != 1.0 || width <= 0 || height <= 0) return false;
    QImage* to = SurfaceImage();
    const QImage* from = src.SurfaceImage();
    if (to == nullptr || from == nullptr || to == from) return false;
    if (to->format() != QImage::Format_RGB32 || from->format() != QImage::Format_RGB32) return false;
    const QRect source = QRect(srcX, srcY, width, height).translated(src.st.origin.x, src.st.origin.y);
    if (!from->rect().contains(source)) return false;
    if (std::abs(st.origin.x) > kFastLineLimit || std::abs(st.origin.y) > kFastLineLimit ||
        std::abs(x) > kFastLineLimit || std::abs(y) > kFastLineLimit)
      return false;
    QRect bounds = to->rect();
    if (st.hasClip) {
      if (st.clip.rectCount() > 1) return false;
      bounds &= st.clip.boundingRect();
    }
    const QRect target(x + st.origin.x, y + st.origin.y, width, height);
    const QRect area = target & bounds;
    if (area.isEmpty()) return true;
    CopyPixelRows(*to, area, *from, area.topLeft() + (source.topLeft() - target.topLeft()));
    return true;
  }

  const QPoint* ToQPoints(const Point* pts, int count) {
    points.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) points[static_cast<std::size_t>(i)] = QPoint(pts[i].x, pts[i].y);
    return points.data();
  }
};

// ---- construction ----

Dc::Dc(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Dc::Dc(Image& target) : impl_(std::make_unique<Impl>()) {
  impl_->dev = ScreenDeviceInfo();
  impl_->dev.kind = DcKind::Memory;
  impl_->Bind(&target);
}

std::unique_ptr<Dc> Dc::CreateCompatibleDC(const Dc* like) {
  auto impl = std::make_unique<Impl>();
  impl->dev = like != nullptr ? like->impl_->dev : ScreenDeviceInfo();
  impl->dev.kind = DcKind::Memory;
  return std::unique_ptr<Dc>(new Dc(std::move(impl)));
}

Dc::~Dc() {
  if (!impl_) return;
  impl_->Unbind();
  if (impl_->onRelease) impl_->onRelease();
}

std::unique_ptr<Dc> MakeDcForPainter(QPainter* painter, const DeviceInfo& device) {
  auto impl = std::make_unique<Dc::Impl>();
  impl->dev = device;
  if (painter != nullptr && painter->isActive()) impl->painter = painter;
  auto dc = std::unique_ptr<Dc>(new Dc(std::move(impl)));
  dc->impl()->ApplyAll();
  return dc;
}

std::unique_ptr<Dc> MakeDcForPainter(QPainter* painter, DcKind kind) {
  DeviceInfo d = ScreenDeviceInfo();
  if (kind != DcKind::Window && painter != nullptr && painter->device() != nullptr) {
    QPaintDevice* pd = painter->device();
    d.dpiX = pd->logicalDpiX();
    d.dpiY = pd->logicalDpiY();
    d.widthPx = pd->width();
    d.heightPx = pd->height();
    d.widthMm = pd->widthMM();
    d.heightMm = pd->heightMM();
    d.physicalWidth = d.widthPx;
    d.physicalHeight = d.heightPx;
  }
  d.kind = kind;
  return MakeDcForPainter(painter, d);
}

void ReleaseImageFromDc(Image::Impl* image) {
  if (image != nullptr && image->boundDc != nullptr) image->boundDc->Detach();
}

void SetDeviceInfo(Dc& dc, const DeviceInfo& device) {
  dc.impl()->dev = device;
  dc.impl()->ApplyAll();
}

void SetNewPageHandler(Dc& dc, std::function<bool()> newPage) { dc.impl()->newPage = std::move(newPage); }
void SetReleaseHandler(Dc& dc, std::function<void()> onRelease) { dc.impl()->onRelease = std::move(onRelease); }
int StartedPages(const Dc& dc) { return dc.impl()->pagesStarted; }

DcKind Dc::Kind() const { return impl_->dev.kind; }
bool Dc::IsPrinting() const { return impl_->dev.kind == DcKind::Printer || impl_->dev.kind == DcKind::Preview; }
Image* Dc::GetSelectedBitmap() const { return impl_->image; }

Image* Dc::SelectBitmap(Image* image) {
  Image* previous = impl_->image;
  impl_->Unbind();
  impl_->Bind(image);
  return previous;
}

// ---- objects and modes ----

Pen Dc::SelectPen(const Pen& pen) { return std::exchange(impl_->st.pen, pen); }
Brush Dc::SelectBrush(const Brush& brush) { return std::exchange(impl_->st.brush, brush); }
Font Dc::SelectFont(const Font& font) { return std::exchange(impl_->st.font, font); }
const Pen& Dc::GetCurrentPen() const { return impl_->st.pen; }
const Brush& Dc::GetCurrentBrush() const { return impl_->st.brush; }
const Font& Dc::GetCurrentFont() const { return impl_->st.font; }

std::vector<ColorRef> Dc::SelectPalette(std::span<const ColorRef> palette) {
  return std::exchange(impl_->st.palette, std::vector<ColorRef>(palette.begin(), palette.end()));
}
int Dc::RealizePalette() const { return static_cast<int>(impl_->st.palette.size()); }

ColorRef Dc::SetTextColor(ColorRef c) { return std::exchange(impl_->st.textColor, c); }
ColorRef Dc::GetTextColor() const { return impl_->st.textColor; }
ColorRef Dc::SetBkColor(ColorRef c) { return std::exchange(impl_->st.bkColor, c); }
ColorRef Dc::GetBkColor() const { return impl_->st.bkColor; }
int Dc::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(impl_->st.bkMode, mode);
}
int Dc::GetBkMode() const { return impl_->st.bkMode; }
unsigned Dc::SetTextAlign(unsigned align) { return std::exchange(impl_->st.textAlign, align); }
unsigned Dc::GetTextAlign() const { return impl_->st.textAlign; }
int Dc::SetROP2(int rop) {
  if (rop < R2_BLACK || rop > R2_WHITE) return 0;
  return std::exchange(impl_->st.rop2, rop);
}
int Dc::GetROP2() const { return impl_->st.rop2; }
int Dc::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int old = std::exchange(impl_->st.stretchMode, mode);
  if (impl_->painter != nullptr)
    impl_->painter->setRenderHint(QPainter::SmoothPixmapTransform, mode == HALFTONE);
  return old;
}
int Dc::GetStretchBltMode() const { return impl_->st.stretchMode; }

int Dc::SaveDC() {
  impl_->saved.push_back(impl_->st);
  return static_cast<int>(impl_->saved.size());
}

bool Dc::RestoreDC(int saved) {
  auto& stack = impl_->saved;
  if (stack.empty()) return false;
  std::size_t level;
  if (saved < 0) {
    if (static_cast<std::size_t>(-static_cast<long long>(saved)) > stack.size()) return false;
    level = stack.size() + 1 - static_cast<std::size_t>(-static_cast<long long>(saved));
  } else {
    if (saved == 0 || static_cast<std::size_t>(saved) > stack.size()) return false;
    level = static_cast<std::size_t>(saved);
  }
  impl_->st = stack[level - 1];
  stack.resize(level - 1);
  impl_->ApplyAll();
  return true;
}

// ---- coordinates ----

Point Dc::SetViewportOrg(Point origin) {
  const Point old = std::exchange(impl_->st.origin, origin);
  impl_->ApplyAll();
  return old;
}
Point Dc::OffsetViewportOrg(int dx, int dy) {
  const Point o = impl_->st.origin;
  return SetViewportOrg(Point{o.x + dx, o.y + dy});
}
Point Dc::GetViewportOrg() const { return impl_->st.origin; }
void Dc::LPtoDP(Point* points, int count) const {
  for (int i = 0; i < count; ++i) {
    points[i].x += impl_->st.origin.x;
    points[i].y += impl_->st.origin.y;
  }
}
void Dc::DPtoLP(Point* points, int count) const {
  for (int i = 0; i < count; ++i) {
    points[i].x -= impl_->st.origin.x;
    points[i].y -= impl_->st.origin.y;
  }
}

// ---- lines and shapes ----

Point Dc::MoveTo(int x, int y) { return std::exchange(impl_->st.pos, Point{x, y}); }
Point Dc::GetCurrentPosition() const { return impl_->st.pos; }

bool Dc::LineTo(int x, int y) {
  const Point from = std::exchange(impl_->st.pos, Point{x, y});
  if (impl_->painter == nullptr) return false;
  if (from.x == x && from.y == y) return true;
  const Point segment[2] = {from, {x, y}};
  LineTarget fast;
  if (impl_->PrepareFastLine(&fast, segment, 2)) {
    RasterPolyline(fast, segment, 2, impl_->st.origin.x, impl_->st.origin.y);
    return true;
  }
  impl_->PrepareShape(false);
  impl_->painter->drawLine(QPoint(from.x, from.y), QPoint(x, y));
  return true;
}

bool Dc::Polyline(const Point* points, int count) {
  if (points == nullptr || count < 2) return false;
  if (impl_->painter == nullptr) return false;
  LineTarget fast;
  if (impl_->PrepareFastLine(&fast, points, count)) {
    RasterPolyline(fast, points, count, impl_->st.origin.x, impl_->st.origin.y);
    return true;
  }
  impl_->PrepareShape(false);
  impl_->painter->drawPolyline(impl_->ToQPoints(points, count), count);
  return true;
}

bool Dc::Polygon(const Point* points, int count) {
  if (points == nullptr || count < 2) return false;
  if (impl_->painter == nullptr) return false;
  impl_->PrepareShape(true);
  impl_->painter->drawPolygon(impl_->ToQPoints(points, count), count, Qt::OddEvenFill);
  return true;
}

bool Dc::Rectangle(int left, int top, int right, int bottom) {
  Rect r = Rect{left, top, right, bottom}.Normalized();
  if (impl_->painter == nullptr) return false;
  QPainter* p = impl_->painter;
  const bool hasPen = impl_->st.pen.style != PS_NULL;
  if (r.Width() < 2 || r.Height() < 2) {
    if (!hasPen || r.IsEmpty()) return true;
    // One pixel thin: the outline is the whole rectangle.
    const QPen pen = impl_->MakePen();
    if (pen.style() != Qt::NoPen && impl_->st.pen.width <= 1) {
      p->setCompositionMode(ModeOfRop2(impl_->st.rop2));
      p->fillRect(ToQRect(r), pen.color());
      return true;
    }
  }
  // Interior first (inside the outline), so that no pixel is drawn twice.
  const QRect inner = hasPen ? QRect(r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2)
                             : QRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
  if (impl_->st.brush.style != BS_NULL && inner.width() > 0 && inner.height() > 0) {
    const QBrush brush = impl_->MakeBrush(impl_->st.brush);
    const QPainter::CompositionMode mode = ModeOfRop2(impl_->st.rop2);
    if (brush.style() != Qt::NoBrush) {
      p->setCompositionMode(mode);
      if (impl_->st.brush.style == BS_HATCHED && impl_->st.bkMode == OPAQUE)
        p->fillRect(inner, impl_->Q(impl_->st.bkColor));
      p->fillRect(inner, brush);
    }
  }
  if (hasPen) {
    impl_->PrepareShape(false);
    const int w = std::max(1, impl_->st.pen.width);
    if (w > 1 && impl_->st.pen.style == PS_INSIDEFRAME) r.Inflate(-(w / 2), -(w / 2));
    p->drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
  }
  return true;
}

bool Dc::Ellipse(int left, int top, int right, int bottom) {
  const Rect r = Rect{left, top, right, bottom}.Normalized();
  if (impl_->painter == nullptr) return false;
  if (r.Width() < 2 || r.Height() < 2) return true;
  impl_->PrepareShape(true);
  impl_->painter->drawEllipse(QRectF(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1));
  return true;
}

void Dc::FillRect(const Rect& r, const Brush& brush) {
  impl_->FillWith(ToQRect(r.Normalized()), brush, QPainter::CompositionMode_SourceOver);
}

void Dc::FillSolidRect(const Rect& r, ColorRef color) { FillRect(r, Brush::Solid(color)); }

void Dc::FillSolidRects(std::span<const SolidFill> fills) {
  if (impl_->painter == nullptr || fills.empty()) return;
  Impl::FillTarget target;
  if (!impl_->PrepareFastFill(&target)) {
    for (const SolidFill& f : fills) FillSolidRect(f.rect, f.colour);
    return;
  }
  // Runs of one colour convert it once.
  ColorRef last = fills.front().colour;
  QColor colour = impl_->Q(last);
  for (const SolidFill& f : fills) {
    const QRect q = ToQRect(f.rect.Normalized());
    if (q.isEmpty()) continue;
    if (f.colour != last) {
      last = f.colour;
      colour = impl_->Q(last);
    }
    if (!impl_->FastFill(target, q, colour)) FillSolidRect(f.rect, f.colour);
  }
}

void Dc::LineSegments(std::span<const Point> ends) {
  const std::size_t count = ends.size() / 2 * 2;
  if (count == 0) return;
  impl_->st.pos = ends[count - 1];
  if (impl_->painter == nullptr) return;
  LineTarget fast;
  const bool direct = impl_->PrepareFastLineTarget(&fast);
  bool shapePrepared = false;
  for (std::size_t i = 0; i < count; i += 2) {
    const Point segment[2] = {ends[i], ends[i + 1]};
    if (segment[0].x == segment[1].x && segment[0].y == segment[1].y) continue;
    if (direct && Impl::PointsInFastRange(segment, 2)) {
      RasterPolyline(fast, segment, 2, impl_->st.origin.x, impl_->st.origin.y);
      continue;
    }
    if (!shapePrepared) {
      impl_->PrepareShape(false);
      shapePrepared = true;
    }
    impl_->painter->drawLine(QPoint(segment[0].x, segment[0].y), QPoint(segment[1].x, segment[1].y));
  }
}

void Dc::FrameRect(const Rect& r0, const Brush& brush) {
  const Rect r = r0.Normalized();
  if (r.IsEmpty()) return;
  FillRect({r.left, r.top, r.right, r.top + 1}, brush);
  if (r.Height() > 1) FillRect({r.left, r.bottom - 1, r.right, r.bottom}, brush);
  if (r.Height() > 2) {
    FillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, brush);
    if (r.Width() > 1) FillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, brush);
  }
}

void Dc::InvertRect(const Rect& r) {
  if (impl_->painter == nullptr) return;
  const QRect q = ToQRect(r.Normalized());
  if (q.isEmpty()) return;
  impl_->painter->setCompositionMode(QPainter::RasterOp_NotDestination);
  impl_->painter->fillRect(q, Qt::white);
}

void Dc::DrawFocusRect(const Rect& r0) {
  if (impl_->painter == nullptr) return;
  const Rect r = r0.Normalized();
  if (r.IsEmpty()) return;
  // Every other pixel of the border, counted around the frame so that corners are
  // inverted once.
  QPainter* p = impl_->painter;
  p->setCompositionMode(QPainter::RasterOp_NotDestination);
  std::vector<QPoint> dots;
  auto dot = [&](int x, int y, int i) {
    if (i % 2 == 0) dots.emplace_back(x, y);
  };
  int i = 0;
  for (int x = r.left; x < r.right; ++x) dot(x, r.top, i++);
  for (int y = r.top + 1; y < r.bottom; ++y) dot(r.right - 1, y, i++);
  if (r.Height() > 1)
    for (int x = r.right - 2; x >= r.left; --x) dot(x, r.bottom - 1, i++);
  if (r.Width() > 1)
    for (int y = r.bottom - 2; y > r.top; --y) dot(r.left, y, i++);
  for (const QPoint& d : dots) p->fillRect(QRect(d.x(), d.y(), 1, 1), Qt::white);
}

void Dc::Draw3dRect(const Rect& r0, ColorRef topLeft, ColorRef bottomRight) {
  const Rect r = r0.Normalized();
  const int x = r.left, y = r.top, cx = r.Width(), cy = r.Height();
  if (cx <= 0 || cy <= 0) return;
  FillSolidRect(RectFromSize(x, y, cx - 1, 1), topLeft);
  FillSolidRect(RectFromSize(x, y, 1, cy - 1), topLeft);
  FillSolidRect(RectFromSize(x + cx - 1, y, 1, cy), bottomRight);
  FillSolidRect(RectFromSize(x, y + cy - 1, cx, 1), bottomRight);
}

bool Dc::DrawEdge(const Rect& r0, unsigned edge, unsigned flags) {
  Rect r = r0.Normalized();
  auto sides = [&](ColorRef tl, ColorRef br) {
    if (flags & BF_TOP) FillSolidRect({r.left, r.top, r.right, r.top + 1}, tl);
    if (flags & BF_LEFT) FillSolidRect({r.left, r.top, r.left + 1, r.bottom}, tl);
    if (flags & BF_BOTTOM) FillSolidRect({r.left, r.bottom - 1, r.right, r.bottom}, br);
    if (flags & BF_RIGHT) FillSolidRect({r.right - 1, r.top, r.right, r.bottom}, br);
  };
  if (edge & BDR_RAISEDOUTER) sides(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  else if (edge & BDR_SUNKENOUTER) sides(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
  r.Inflate(-1, -1);
  if (r.IsEmpty()) return true;
  if (edge & BDR_RAISEDINNER) sides(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  else if (edge & BDR_SUNKENINNER) sides(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  return true;
}

ColorRef Dc::SetPixel(int x, int y, ColorRef color) {
  if (impl_->painter == nullptr) return CLR_INVALID;
  const QColor c = impl_->Q(color);
  if (impl_->FastSolidFill(QRect(x, y, 1, 1), c)) return FromQRgb(c.rgb());
  impl_->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  impl_->painter->fillRect(QRect(x, y, 1, 1), c);
  return FromQRgb(c.rgb());
}

ColorRef Dc::GetPixel(int x, int y) const {
  const QImage* img = impl_->SurfaceImage();
  if (img == nullptr) return CLR_INVALID;
  const int dx = x + impl_->st.origin.x;
  const int dy = y + impl_->st.origin.y;
  if (!img->valid(dx, dy)) return CLR_INVALID;
  if (impl_->st.hasClip && !impl_->st.clip.contains(QPoint(dx, dy))) return CLR_INVALID;
  return FromQRgb(img->pixel(dx, dy));
}

// ---- text ----

namespace {

// Horizontal offset of the text start for the alignment, and the baseline offset.
void AlignOffsets(unsigned align, const QFontMetrics& fm, int width, int* dx, int* dy) {
  switch (align & TA_CENTER) {
    case TA_RIGHT: *dx = -width; break;
    case TA_CENTER: *dx = -width / 2; break;
    default: *dx = 0; break;
  }
  switch (align & TA_BASELINE) {
    case TA_BASELINE: *dy = 0; break;
    case TA_BOTTOM: *dy = -fm.descent(); break;
    default: *dy = fm.ascent(); break;
  }
}

}  // namespace

bool Dc::TextOut(int x, int y, std::string_view text) {
  DcState& st = impl_->st;
  const bool updateCp = (st.textAlign & TA_UPDATECP) != 0;
  const Point at = updateCp ? st.pos : Point{x, y};
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QPainter* p = impl_->painter;
  const QFont& font = QtFont(st.font);
  const QFontMetrics fm = p != nullptr ? QFontMetrics(font, p->device()) : QFontMetrics(font);
  const int width = fm.horizontalAdvance(s);
  if (updateCp) {
    const unsigned h = st.textAlign & TA_CENTER;
    if (h == TA_LEFT) st.pos.x += width;
    else if (h == TA_RIGHT) st.pos.x -= width;
  }
  if (p == nullptr) return false;
  if (s.isEmpty()) return true;
  int dx = 0, dy = 0;
  AlignOffsets(st.textAlign, fm, width, &dx, &dy);
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->translate(at.x, at.y);
  const int escapement = st.font.GetLogFont().escapement;
  if (escapement != 0) p->rotate(-escapement / 10.0);
  if (st.bkMode == OPAQUE) p->fillRect(QRect(dx, dy - fm.ascent(), width, fm.height()), impl_->Q(st.bkColor));
  p->setFont(font);
  p->setPen(impl_->Q(st.textColor));
  p->setBackgroundMode(Qt::TransparentMode);
  p->drawText(QPoint(dx, dy), s);
  p->restore();
  return true;
}

int Dc::DrawText(std::string_view text, Rect* rect, unsigned format) {
  if (rect == nullptr) return 0;
  DcState& st = impl_->st;
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QPainter* p = impl_->painter;
  const QFont& font = QtFont(st.font);
  const QFontMetrics fm = p != nullptr ? QFontMetrics(font, p->device()) : QFontMetrics(font);
  const bool single = (format & DT_SINGLELINE) != 0;
  int flags = 0;
  if (format & DT_CENTER) flags |= Qt::AlignHCenter;
  else if (format & DT_RIGHT) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  if (single) {
    flags |= Qt::TextSingleLine;
    if (format & DT_VCENTER) flags |= Qt::AlignVCenter;
    else if (format & DT_BOTTOM) flags |= Qt::AlignBottom;
    else flags |= Qt::AlignTop;
  } else {
    flags |= Qt::AlignTop;
  }
  if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
  if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
  if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
  const QRect box = ToQRect(*rect);
  if ((format & DT_END_ELLIPSIS) && single) s = fm.elidedText(s, Qt::ElideRight, std::max(0, box.width()));
  const QRect bounds = fm.boundingRect(box, flags, s);
  if (format & DT_CALCRECT) {
    rect->right = rect->left + bounds.width();
    rect->bottom = rect->top + bounds.height();
    return bounds.height();
  }
  if (p != nullptr && !s.isEmpty()) {
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!(format & DT_NOCLIP)) {
      if (st.hasClip) {
        p->setClipRect(box, Qt::IntersectClip);
      } else {
        p->setClipRect(box);
      }
    }
    if (st.bkMode == OPAQUE) p->fillRect(bounds, impl_->Q(st.bkColor));
    p->setFont(font);
    p->setPen(impl_->Q(st.textColor));
    p->setBackgroundMode(Qt::TransparentMode);
    p->drawText(box, flags, s);
    p->restore();
  }
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return bounds.bottom() + 1 - box.top();
  return bounds.height();
}

Size Dc::GetTextExtent(std::string_view text) const {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFont& font = QtFont(impl_->st.font);
  const QFontMetrics fm = impl_->painter != nullptr ? QFontMetrics(font, impl_->painter->device()) : QFontMetrics(font);
  return {fm.horizontalAdvance(s), fm.height()};
}

TextMetric Dc::GetTextMetrics() const {
  const QFont& font = QtFont(impl_->st.font);
  const QFontMetrics fm = impl_->painter != nullptr ? QFontMetrics(font, impl_->painter->device()) : QFontMetrics(font);
  TextMetric tm;
  tm.ascent = fm.ascent();
  tm.descent = fm.descent();
  tm.height = fm.ascent() + fm.descent();
  const int em = font.pixelSize() > 0 ? font.pixelSize() : tm.height;
  tm.internalLeading = std::max(0, tm.height - em);
  tm.externalLeading = std::max(0, fm.leading());
  tm.aveCharWidth = fm.averageCharWidth();
  tm.maxCharWidth = fm.maxWidth();
  tm.weight = impl_->st.font.GetLogFont().weight;
  return tm;
}

// ---- clipping ----

namespace {
int TypeOf(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

int Dc::SelectClipRgn(const Region* region) {
  DcState& st = impl_->st;
  if (region == nullptr) {
    st.hasClip = false;
    st.clip = QRegion();
    impl_->ApplyClip();
    return SIMPLEREGION;
  }
  st.hasClip = true;
  st.clip = QtRegion(*region);
  impl_->ApplyClip();
  return TypeOf(st.clip);
}

int Dc::IntersectClipRect(const Rect& r) {
  DcState& st = impl_->st;
  const QRect device = ToQRect(r.Normalized()).translated(st.origin.x, st.origin.y);
  st.clip = st.hasClip ? st.clip.intersected(device) : QRegion(device);
  st.hasClip = true;
  impl_->ApplyClip();
  return TypeOf(st.clip);
}

int Dc::ExcludeClipRect(const Rect& r) {
  DcState& st = impl_->st;
  const QRect device = ToQRect(r.Normalized()).translated(st.origin.x, st.origin.y);
  const QRegion base = st.hasClip ? st.clip : QRegion(impl_->SurfaceRect());
  st.clip = base.subtracted(device);
  st.hasClip = true;
  impl_->ApplyClip();
  return TypeOf(st.clip);
}

bool Dc::HasClipRegion() const { return impl_->st.hasClip; }

bool Dc::GetClipRgn(Region* out) const {
  if (!impl_->st.hasClip) return false;
  if (out != nullptr) *out = RegionFromQt(impl_->st.clip);
  return true;
}

int Dc::GetClipBox(Rect* out) const {
  const DcState& st = impl_->st;
  const QRegion visible = st.hasClip ? st.clip.intersected(impl_->SurfaceRect()) : QRegion(impl_->SurfaceRect());
  const QRect b = visible.boundingRect();
  if (out != nullptr) {
    *out = b.isEmpty() ? Rect{} : Rect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
    out->Offset(-st.origin.x, -st.origin.y);
  }
  return TypeOf(visible);
}

bool Dc::PtVisible(int x, int y) const {
  const DcState& st = impl_->st;
  const QPoint d(x + st.origin.x, y + st.origin.y);
  if (!impl_->SurfaceRect().contains(d)) return false;
  return !st.hasClip || st.clip.contains(d);
}

// ---- blits ----

namespace {

std::optional<QPainter::CompositionMode> ModeOfRop3(std::uint32_t rop) {
  switch (rop) {
    case SRCCOPY: return QPainter::CompositionMode_Source;
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    default: return std::nullopt;
  }
}

}  // namespace

bool Dc::PatBlt(int x, int y, int width, int height, std::uint32_t rop) {
  if (impl_->painter == nullptr) return false;
  Rect r = RectFromSize(x, y, width, height).Normalized();
  const QRect q = ToQRect(r);
  switch (rop) {
    case PATCOPY: impl_->FillWith(q, impl_->st.brush, QPainter::CompositionMode_SourceOver); return true;
    case PATINVERT: impl_->FillWith(q, impl_->st.brush, QPainter::RasterOp_SourceXorDestination); return true;
    case DSTINVERT: InvertRect(r); return true;
    case BLACKNESS: impl_->FillWith(q, Brush::Solid(0), QPainter::CompositionMode_SourceOver); return true;
    case WHITENESS:
      impl_->FillWith(q, Brush::Solid(Rgb(255, 255, 255)), QPainter::CompositionMode_SourceOver);
      return true;
    default: return false;
  }
}

bool Dc::StretchBlt(int x, int y, int width, int height, const Dc* src, int srcX, int srcY, int srcWidth,
                    int srcHeight, std::uint32_t rop) {
  if (impl_->painter == nullptr) return false;
  const std::optional<QPainter::CompositionMode> mode = ModeOfRop3(rop);
  if (!mode) return PatBlt(x, y, width, height, rop);
  if (src == nullptr || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return false;
  if (*mode == QPainter::CompositionMode_Source && width == srcWidth && height == srcHeight &&
      impl_->FastCopy(x, y, width, height, *src->impl_, srcX, srcY))
    return true;
  // Negative extents mirror: normalise both rectangles and flip the source to match.
  const bool flipX = (width < 0) != (srcWidth < 0);
  const bool flipY = (height < 0) != (srcHeight < 0);
  const Rect dst = RectFromSize(x, y, width, height).Normalized();
  Rect from = RectFromSize(srcX, srcY, srcWidth, srcHeight).Normalized();
  from.Offset(src->impl_->st.origin.x, src->impl_->st.origin.y);
  QImage pixels = src->impl_->ReadSurface(ToQRect(from));
  if (pixels.isNull()) return false;
  if (flipX || flipY) pixels = pixels.mirrored(flipX, flipY);
  QPainter* p = impl_->painter;
  p->setCompositionMode(*mode);
  p->drawImage(ToQRect(dst), pixels);
  return true;
}

bool Dc::BitBlt(int x, int y, int width, int height, const Dc* src, int srcX, int srcY, std::uint32_t rop) {
  if (width <= 0 || height <= 0) return false;
  return StretchBlt(x, y, width, height, src, srcX, srcY, width, height, rop);
}

bool Dc::DrawImage(const Rect& dst0, const Image& image, const Rect& src0, std::uint32_t rop) {
  if (impl_->painter == nullptr || image.IsNull()) return false;
  const std::optional<QPainter::CompositionMode> mode = ModeOfRop3(rop);
  if (!mode) return false;
  const Rect dst = dst0.Normalized();
  const Rect src = src0.Normalized();
  if (dst.IsEmpty() || src.IsEmpty()) return false;
  QPainter* p = impl_->painter;
  p->setCompositionMode(*mode);
  p->drawImage(ToQRect(dst), QtImage(image), ToQRect(src));
  return true;
}

int Dc::StretchDIBits(const Rect& dst, const Rect& src, int dibWidth, int dibHeight, int bitsPerPixel,
                      std::span<const std::uint8_t> colorTable, std::span<const std::uint8_t> bits,
                      std::uint32_t rop, int compression) {
  Image image;
  if (compression == BI_RGB) {
    image = Image::FromDibBits(dibWidth, dibHeight, bitsPerPixel, colorTable, bits);
  } else if ((compression == BI_RLE8 && bitsPerPixel == 8) || (compression == BI_RLE4 && bitsPerPixel == 4)) {
    image = Image::FromRleBits(dibWidth, dibHeight, bitsPerPixel, colorTable, bits);
  }
  if (image.IsNull()) return 0;
  if (!DrawImage(dst, image, src, rop)) return 0;
  return src.Normalized().Height();
}

Image Dc::CaptureImage(const Rect& r) const {
  Rect device = r.Normalized();
  device.Offset(impl_->st.origin.x, impl_->st.origin.y);
  QImage pixels = impl_->ReadSurface(ToQRect(device));
  if (pixels.isNull()) return Image();
  Image out = ImageFromQt(pixels, 32);
  out.SetDpi(impl_->dev.dpiX, impl_->dev.dpiY);
  return out;
}

void Dc::CaptureImageInto(const Rect& r, Image& out) const {
  Rect device = r.Normalized();
  device.Offset(impl_->st.origin.x, impl_->st.origin.y);
  const QRect from = ToQRect(device);
  const QImage* surface = impl_->SurfaceImage();
  QImage& into = QtImage(out);
  if (surface != nullptr && surface != &into && surface->format() == QImage::Format_RGB32 && surface->rect().contains(from) &&
      out.BitsPerPixel() == 32 && into.format() == QImage::Format_RGB32 && into.size() == from.size() &&
      !from.isEmpty()) {
    ReleaseImageFromDc(out.impl());
    CopyPixelRows(into, QRect(QPoint(0, 0), from.size()), *surface, from.topLeft());
    out.SetDpi(impl_->dev.dpiX, impl_->dev.dpiY);
    return;
  }
  out = CaptureImage(r);
}

// ---- device ----

int Dc::GetDeviceCaps(int index) const {
  const DeviceInfo& d = impl_->dev;
  switch (index) {
    case TECHNOLOGY: return d.kind == DcKind::Printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE: return d.widthMm;
    case VERTSIZE: return d.heightMm;
    case HORZRES: return d.widthPx;
    case VERTRES: return d.heightPx;
    case BITSPIXEL: return d.bitsPixel;
    case PLANES: return 1;
    case NUMCOLORS: return d.bitsPixel > 8 ? -1 : 1 << d.bitsPixel;
    case RASTERCAPS: return 0x0001 | 0x0008 | 0x0080 | 0x0800 | 0x2000;
    case LOGPIXELSX: return d.dpiX;
    case LOGPIXELSY: return d.dpiY;
    case SIZEPALETTE: return 0;
    case PHYSICALWIDTH: return d.physicalWidth;
    case PHYSICALHEIGHT: return d.physicalHeight;
    case PHYSICALOFFSETX: return d.physicalOffsetX;
    case PHYSICALOFFSETY: return d.physicalOffsetY;
    default: return 0;
  }
}

// ---- documents ----

int Dc::StartDoc(std::string_view) {
  impl_->pagesStarted = 0;
  return 1;
}

int Dc::StartPage() {
  if (impl_->pagesStarted > 0 && impl_->newPage) {
    if (!impl_->newPage()) return 0;
    impl_->ApplyAll();
  }
  ++impl_->pagesStarted;
  return 1;
}

int Dc::EndPage() { return 1; }
int Dc::EndDoc() { return 1; }
int Dc::AbortDoc() { return 1; }

}  // namespace draw
