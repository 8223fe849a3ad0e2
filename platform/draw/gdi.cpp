// Drawing objects: font records and realised fonts, stock objects, regions, system colours.
#include "platform/draw/gdi.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPolygon>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/draw/dc_qt.h"

namespace draw {

void EnsureQtApp() {
  if (QCoreApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  static int argc = 1;
  static char name[] = "QLM2_Analyzer";
  static char* argv[] = {name, nullptr};
  // Lives for the rest of the process: every later font and text use needs it.
  new QApplication(argc, argv);
}

// ---- LogFont ----

std::string LogFont::FaceName() const {
  return std::string(faceName.data(), strnlen(faceName.data(), faceName.size()));
}

void LogFont::SetFaceName(std::string_view name) {
  faceName.fill(0);
  std::size_t n = std::min(name.size(), faceName.size() - 1);
  // Do not split a UTF-8 sequence: back up over continuation bytes.
  if (n < name.size()) {
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(faceName.data(), name.data(), n);
}

// ---- Font ----

struct Font::Cache {
  QFont font;
};

namespace {

QFont BuildQFont(const LogFont& lf) {
  EnsureQtApp();
  QFont f = QGuiApplication::font();
  std::string face = lf.FaceName();
  if (!face.empty()) {
    f.setFamilies({QString::fromStdString(face)});
  }
  int height = lf.height;
  if (height == 0) {
    const QFontInfo info(f);
    height = -std::max(1, info.pixelSize());
  }
  if (height < 0) {
    f.setPixelSize(std::max(1, -height));
  } else {
    // Positive: the cell height (ascent + descent) is asked for.
    f.setPixelSize(100);
    const double cell = QFontMetricsF(f).height();
    const int px = cell > 0 ? static_cast<int>(std::lround(height * 100.0 / cell)) : height;
    f.setPixelSize(std::max(1, px));
  }
  const int weight = lf.weight <= 0 ? FW_NORMAL : std::clamp(lf.weight, 1, 1000);
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setItalic(lf.italic != 0);
  f.setUnderline(lf.underline != 0);
  f.setStrikeOut(lf.strikeOut != 0);
  if (lf.width > 0) {
    const double avg = QFontMetricsF(f).averageCharWidth();
    if (avg > 0) f.setStretch(std::clamp(static_cast<int>(std::lround(lf.width * 100.0 / avg)), 1, 4000));
  }
  f.setKerning(false);
  return f;
}

}  // namespace

Font::Font() {
  static const Font defaultFont(GetSystemLogFont(SystemFont::DefaultGui));
  *this = defaultFont;
}

Font::Font(const LogFont& lf) { CreateFontIndirect(lf); }

bool Font::CreateFontIndirect(const LogFont& lf) {
  lf_ = lf;
  cache_ = std::make_shared<Cache>();
  cache_->font = BuildQFont(lf);
  return true;
}

bool Font::CreatePointFont(int tenthsOfPoint, std::string_view face, int logPixelsY) {
  LogFont lf;
  lf.height = -static_cast<int>(std::lround(tenthsOfPoint / 10.0 * logPixelsY / 72.0));
  lf.SetFaceName(face);
  return CreateFontIndirect(lf);
}

const QFont& QtFont(const Font& font) { return font.cache()->font; }

LogFont GetSystemLogFont(SystemFont which) {
  EnsureQtApp();
  QFont f;
  switch (which) {
    case SystemFont::Fixed: f = QFontDatabase::systemFont(QFontDatabase::FixedFont); break;
    case SystemFont::Menu:
    case SystemFont::Message:
    case SystemFont::DefaultGui: f = QFontDatabase::systemFont(QFontDatabase::GeneralFont); break;
  }
  LogFont lf;
  int px = f.pixelSize();
  if (px <= 0) px = static_cast<int>(std::lround(f.pointSizeF() * 96.0 / 72.0));
  lf.height = -std::max(1, px);
  lf.weight = FW_NORMAL;
  lf.SetFaceName(f.family().toStdString());
  return lf;
}

// ---- Stock objects ----

Pen GetStockPen(int id) {
  switch (id) {
    case WHITE_PEN: return {PS_SOLID, 1, Rgb(255, 255, 255)};
    case NULL_PEN: return {PS_NULL, 1, 0};
    default: return {PS_SOLID, 1, 0};
  }
}

Brush GetStockBrush(int id) {
  switch (id) {
    case LTGRAY_BRUSH: return Brush::Solid(Rgb(192, 192, 192));
    case GRAY_BRUSH: return Brush::Solid(Rgb(128, 128, 128));
    case DKGRAY_BRUSH: return Brush::Solid(Rgb(64, 64, 64));
    case BLACK_BRUSH: return Brush::Solid(0);
    case NULL_BRUSH: return Brush::Null();
    default: return Brush::Solid(Rgb(255, 255, 255));
  }
}

Font GetStockFont(int id) {
  switch (id) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT: return Font(GetSystemLogFont(SystemFont::Fixed));
    default: return Font(GetSystemLogFont(SystemFont::DefaultGui));
  }
}

ColorRef GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return Rgb(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT: return 0;
    case COLOR_BTNFACE: return Rgb(240, 240, 240);
    case COLOR_BTNSHADOW: return Rgb(160, 160, 160);
    case COLOR_GRAYTEXT: return Rgb(109, 109, 109);
    case COLOR_BTNHIGHLIGHT: return Rgb(255, 255, 255);
    case COLOR_3DDKSHADOW: return Rgb(105, 105, 105);
    case COLOR_3DLIGHT: return Rgb(227, 227, 227);
    default: return 0;
  }
}

// ---- Region ----

namespace {
std::shared_ptr<const Region::Data> MakeData(QRegion r) {
  auto d = std::make_shared<Region::Data>();
  d->region = std::move(r);
  return d;
}
}  // namespace

const QRegion& QtRegion(const Region& r) { return r.data()->region; }
Region RegionFromQt(const QRegion& r) { return Region(MakeData(r)); }

Region::Region() : data_(MakeData(QRegion())) {}

Region Region::FromRect(const Rect& r) {
  const Rect n = r.Normalized();
  return Region(MakeData(QRegion(n.left, n.top, n.Width(), n.Height())));
}

Region Region::FromEllipse(const Rect& r) {
  const Rect n = r.Normalized();
  return Region(MakeData(QRegion(n.left, n.top, n.Width(), n.Height(), QRegion::Ellipse)));
}

Region Region::FromPolygon(std::span<const Point> points) {
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) poly.append(QPoint(p.x, p.y));
  return Region(MakeData(QRegion(poly, Qt::OddEvenFill)));
}

int Region::Combine(const Region& a, const Region& b, int mode) {
  const QRegion& ra = a.data_->region;
  const QRegion& rb = b.data_->region;
  QRegion out;
  switch (mode) {
    case RGN_AND: out = ra.intersected(rb); break;
    case RGN_OR: out = ra.united(rb); break;
    case RGN_XOR: out = ra.xored(rb); break;
    case RGN_DIFF: out = ra.subtracted(rb); break;
    case RGN_COPY: out = ra; break;
    default: return RGN_ERROR;
  }
  data_ = MakeData(out);
  return Type();
}

bool Region::Contains(Point p) const { return data_->region.contains(QPoint(p.x, p.y)); }

Rect Region::Bounds() const {
  const QRect b = data_->region.boundingRect();
  if (b.isEmpty()) return {};
  return {b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

bool Region::IsEmpty() const { return data_->region.isEmpty(); }

int Region::Type() const {
  if (data_->region.isEmpty()) return NULLREGION;
  return data_->region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::Offset(int dx, int dy) { data_ = MakeData(data_->region.translated(dx, dy)); }

bool Region::operator==(const Region& o) const { return data_->region == o.data_->region; }

}  // namespace draw
