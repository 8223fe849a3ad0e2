#include "common/draw/fyn_scale.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "platform/draw/dc.h"

namespace {
constexpr draw::ColorRef kBlack = draw::Rgb(0, 0, 0);
constexpr draw::ColorRef kGrey = draw::Rgb(0x80, 0x80, 0x80);
constexpr draw::ColorRef kWhite = draw::Rgb(255, 255, 255);
constexpr double kStepTable[] = {1.0, 2.0, 2.5, 5.0, 10.0, 4.0, 3.0, 1.0};

void Line(draw::Dc& dc, int x1, int y1, int x2, int y2, draw::ColorRef colour) {
  draw::Pen pen;
  pen.color = colour;
  const draw::Pen old = dc.SelectPen(pen);
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(old);
}

// t rounded to the nearest multiple of step; an exact half goes toward zero.
double RoundToStep(double t, double step) {
  const double q = t / step;
  const double whole = std::trunc(q);
  const double r = std::fabs(q - whole) == 0.5 ? whole : std::round(q);
  const double v = r * step;
  return v == 0.0 ? 0.0 : v;  // no "-0.000" label
}
}  // namespace

// ---------------------------------------------------------------- FynScalePane

void FynScalePane::OnDraw(draw::Dc& dc) {
  const draw::Rect client = GetClientRect();
  dc.FillSolidRect(client, draw::GetSysColor(draw::COLOR_BTNFACE));
  DrawPane(dc, client);
  dc.DrawEdge(client, draw::EDGE_RAISED, draw::BF_RECT);
}

void FynScalePane::RepaintNow() {
  ++repaintsNow_;
  RedrawWindow();
}

void FynScalePane::SetPaneCursor(FynScaleCursor cursor) {
  cursor_ = cursor;
  switch (cursor) {
    case FynScaleCursor::SizeWE: SetCursorShape(ui::Window::Cursor::SizeWE); break;
    case FynScaleCursor::SizeNS: SetCursorShape(ui::Window::Cursor::SizeNS); break;
    case FynScaleCursor::No: SetCursorShape(ui::Window::Cursor::No); break;
    default: SetCursorShape(ui::Window::Cursor::Arrow); break;
  }
}

void FynScalePane::InvalidatePane() {
  ++invalidations_;
  Invalidate();
}

void FynScalePane::EngravedLine(draw::Dc& dc, int x1, int y1, int x2, int y2, bool on) {
  Line(dc, x1, y1, x2, y2, on ? kBlack : kGrey);
  if (x1 == x2) {
    Line(dc, x1 + 1, y1, x2 + 1, y2, kWhite);
  } else {
    Line(dc, x1, y1 + 1, x2, y2 + 1, kWhite);
  }
}

// ---------------------------------------------------------------- FynMoveScale

FynMoveScale::FynMoveScale(double sampFreq, unsigned long startNum, unsigned long dataNum, int divNum,
                           const draw::Font* font, unsigned long minDataNum, unsigned long maxDataNum,
                           double tickRatio, unsigned long allDataNum, short moveSw)
    : sampFreq_(sampFreq),
      tickRatio_(tickRatio),
      startNum_(startNum),
      dataNum_(dataNum),
      divNum_(divNum),
      font_(font),
      minDataNum_(minDataNum),
      maxDataNum_(maxDataNum),
      allDataNum_(allDataNum),
      moveSw_(moveSw) {}

double FynMoveScale::StepSeconds(double shownSeconds, int divNum) {
  if (!(shownSeconds > 0.0) || !std::isfinite(shownSeconds)) return 0.0;
  const double rough = shownSeconds / (divNum > 0 ? divNum : 1);
  const double lg = std::log10(rough);
  int e = static_cast<int>(lg);
  if (lg < 0) --e;
  const double mantissa = rough * std::pow(10.0, -e);
  double entry = kStepTable[0];
  for (double candidate : kStepTable) {
    if (std::fabs(candidate - mantissa) < std::fabs(entry - mantissa)) entry = candidate;
  }
  return std::pow(10.0, e) * entry;
}

void FynMoveScale::CreateNumStr(double seconds, std::string* out) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  *out = text;
}

short FynMoveScale::DrawScale(draw::Dc* dc, draw::Rect rect) {
  if (dc == nullptr) return 1;
  const int saved = dc->SaveDC();
  if (font_ != nullptr) dc->SelectFont(*font_);
  const bool on = moveSw_ != 0;
  const int height = rect.Height();
  const int tickBottom = rect.top + static_cast<int>(height * tickRatio_);
  EngravedLine(*dc, rect.left, tickBottom, rect.right, tickBottom, on);

  // A pane one pixel wide, fewer than two shown samples or no sampling frequency have no
  // time scale: the last samples-per-pixel value stays and no tick is drawn.
  if (rect.Width() > 1) samplesPerPixel_ = (static_cast<double>(dataNum_) - 1.0) / (rect.Width() - 1);
  if (!(sampFreq_ > 0.0) || dataNum_ < 2) {
    dc->RestoreDC(saved);
    return 1;
  }
  const double f = sampFreq_;
  const double shownSeconds = (static_cast<double>(dataNum_) - 1.0) / f;
  const double pixelsPerSecond = (rect.right - rect.left - 1) / shownSeconds;
  const double step = StepSeconds(shownSeconds, divNum_);
  const double stepSamples = std::trunc(f * step);
  const unsigned long n = stepSamples < 1.0 ? 1UL : stepSamples > 4e9 ? 4000000000UL : static_cast<unsigned long>(stepSamples);
  const unsigned long o = minusDataNum_;
  const unsigned long phase = o < n ? o : o % n;
  const double origin = startNum_ / f - o / f;
  const unsigned long last = startNum_ + (dataNum_ - 1);

  dc->SetBkMode(draw::TRANSPARENT);
  const int labelY = rect.top + static_cast<int>(height * 0.4) + 1;
  unsigned long v = startNum_ - startNum_ % n + phase;
  if (v < startNum_) v += n;
  for (; v <= last && v >= startNum_; v += n) {
    const double t = RoundToStep(v / f - o / f, step);
    const double xd = rect.left + std::trunc((t - origin) * pixelsPerSecond);
    if (xd >= rect.left && xd <= rect.right) {
      const int x = static_cast<int>(xd);
      EngravedLine(*dc, x, rect.top + 1, x, tickBottom, on);
      std::string label;
      CreateNumStr(t, &label);
      const draw::Size extent = dc->GetTextExtent(label);
      int labelX = std::min(x - extent.cx / 2, rect.right - 1 - extent.cx);
      labelX = std::max(labelX, rect.left + 1);
      if (on) {
        dc->SetTextColor(kBlack);
        dc->TextOut(labelX, labelY, label);
      } else {
        dc->SetTextColor(kWhite);
        dc->TextOut(labelX + 1, labelY + 1, label);
        dc->SetTextColor(kGrey);
        dc->TextOut(labelX, labelY, label);
      }
    }
    if (last - v < n) break;
  }
  dc->RestoreDC(saved);
  return 1;
}

unsigned long FynMoveScale::DragCount(int x) {
  const double perPixel = anchor_ / std::max(x, 1);
  samplesPerPixel_ = perPixel;
  double count = std::trunc(perPixel * (GetClientRect().right - GetClientRect().left));
  if (!(count >= 1.0)) count = 1.0;  // a scale shows at least one sample
  if (minDataNum_ != 0 && count < minDataNum_) count = static_cast<double>(minDataNum_);
  if (maxDataNum_ != 0 && count > maxDataNum_) count = static_cast<double>(maxDataNum_);
  // The shown samples stay inside the data when its length is known.
  if (allDataNum_ != 0 && static_cast<double>(startNum_) + count - 1.0 > allDataNum_) {
    count = std::max(static_cast<double>(allDataNum_) - startNum_ - 1.0, 1.0);
  }
  return static_cast<unsigned long>(std::min(count, 4294967295.0));
}

void FynMoveScale::OnLButtonDown(std::uint32_t, draw::Point point) {
  if (moveSw_ == 0) {
    SetPaneCursor(FynScaleCursor::No);
    return;
  }
  SetPaneCursor(FynScaleCursor::SizeWE);
  if (GetClientRect().Width() > 1) samplesPerPixel_ = (static_cast<double>(dataNum_) - 1.0) / (GetClientRect().Width() - 1);
  ui::Window::SetCapture();
  dragging_ = true;
  cursorX_ = point.x;
  anchor_ = samplesPerPixel_ * std::max(point.x, 1);
  LDownUpdate();
}

void FynMoveScale::OnMouseMove(std::uint32_t, draw::Point point) {
  SetPaneCursor(moveSw_ != 0 ? FynScaleCursor::SizeWE : FynScaleCursor::No);
  if (!dragging_) return;
  cursorX_ = point.x;
  const double perPixel = anchor_ / std::max(point.x, 1);
  const double raw = std::trunc(perPixel * (GetClientRect().right - GetClientRect().left));
  if (raw == static_cast<double>(dataNum_)) return;
  dataNum_ = DragCount(point.x);
  if (LMoveUpdate() != 0) RepaintNow();
}

void FynMoveScale::OnLButtonUp(std::uint32_t, draw::Point point) {
  if (!dragging_) return;
  ui::Window::ReleaseCapture();
  dragging_ = false;
  cursorX_ = point.x;
  dataNum_ = DragCount(point.x);
  LUpUpdate();
  InvalidatePane();
}

// ---------------------------------------------------------------- FynFreqScale

FynFreqScale::FynFreqScale(unsigned long startNum, unsigned long dataNum, int divNum, unsigned long minDataNum,
                           unsigned long maxDataNum, unsigned long allDataNum, short moveSw)
    : FynMoveScale(0.0, startNum, dataNum, divNum, nullptr, minDataNum, maxDataNum, 0.0, allDataNum, moveSw) {}

short FynFreqScale::DrawScale(draw::Dc* dc, draw::Rect rect) {
  if (dc == nullptr) return 1;
  const bool on = moveSw_ != 0;
  Line(*dc, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, kBlack);
  if (dragging_) {
    const int x = std::max(cursorX_, 0);
    EngravedLine(*dc, x, rect.top + 1, x, rect.bottom - 1, on);
    return 1;
  }
  const int divisions = divNum_ > 0 ? divNum_ : 1;
  for (int i = 0; i <= divisions; ++i) {
    const int x = rect.left + static_cast<int>(static_cast<long long>(i) * rect.Width() / divisions);
    EngravedLine(*dc, x, rect.top + 1, x, rect.bottom, on);
  }
  return 1;
}

// ---------------------------------------------------------------- FynMoveVScale

FynMoveVScale::FynMoveVScale(double current, double base, short, short moveSw, short orientation)
    : current_(current), base_(base), moveSw_(moveSw), orientation_(orientation) {}

void FynMoveVScale::SetLimit(double upper, double lower) {
  upper_ = upper;
  lower_ = std::max(lower, base_);
}

short FynMoveVScale::DrawScale(draw::Dc* dc) {
  if (dc == nullptr) return 1;
  const bool on = moveSw_ != 0;
  const draw::Rect r = GetClientRect();
  if (dragging_) {
    if (orientation_ == 1) {
      EngravedLine(*dc, cursor_pt_.x, r.top, cursor_pt_.x, r.bottom, on);
    } else {
      EngravedLine(*dc, r.left, cursor_pt_.y, r.right, cursor_pt_.y, on);
    }
    return 1;
  }
  const int divisions = divNum_ > 0 ? divNum_ : 1;
  for (int i = 0; i <= divisions; ++i) {
    if (orientation_ == 1) {
      const int x = r.left + static_cast<int>(static_cast<long long>(i) * r.Width() / divisions);
      EngravedLine(*dc, x, r.top, x, r.bottom, on);
    } else {
      const int y = r.top + static_cast<int>(static_cast<long long>(i) * r.Height() / divisions);
      EngravedLine(*dc, r.left, y, r.right, y, on);
    }
  }
  return 1;
}

void FynMoveVScale::CheckLimit() {
  if (current_ > upper_) current_ = upper_;
  if (current_ <= lower_) current_ = lower_;
  if (current_ <= base_) current_ = base_ + DBL_MIN;
}

void FynMoveVScale::OnLButtonDown(std::uint32_t, draw::Point point) {
  if (moveSw_ == 0) {
    SetPaneCursor(FynScaleCursor::No);
    return;
  }
  SetPaneCursor(orientation_ == 1 ? FynScaleCursor::SizeWE : FynScaleCursor::SizeNS);
  const int extent = orientation_ == 1 ? GetClientRect().Width() - 1 : GetClientRect().Height() - 1;
  if (extent > 0) valuePerPixel_ = (current_ - base_) / extent;
  const int position = orientation_ == 1 ? point.x : GetClientRect().bottom - point.y;
  anchor_ = position * valuePerPixel_;
  cursor_pt_ = point;
  ui::Window::SetCapture();
  dragging_ = true;
  LDownUpdate();
}

void FynMoveVScale::DragTo(draw::Point point) {
  cursor_pt_ = point;
  const int position = orientation_ == 1 ? std::clamp(point.x, 0, std::max(GetClientRect().right - 1, 0))
                                         : GetClientRect().bottom - std::clamp(point.y, 0, std::max(GetClientRect().bottom - 1, 0));
  // At the axis origin there is no scale to derive: the value stays.
  if (position == 0) return;
  valuePerPixel_ = (anchor_ - base_) / position;
  current_ = (orientation_ == 1 ? GetClientRect().Width() : GetClientRect().Height()) * valuePerPixel_;
  CheckLimit();
}

void FynMoveVScale::OnMouseMove(std::uint32_t, draw::Point point) {
  if (moveSw_ == 0) {
    SetPaneCursor(FynScaleCursor::No);
  } else {
    SetPaneCursor(orientation_ == 1 ? FynScaleCursor::SizeWE : FynScaleCursor::SizeNS);
  }
  if (!dragging_) return;
  DragTo(point);
  if (LMoveUpdate() != 0) RepaintNow();
}

void FynMoveVScale::OnLButtonUp(std::uint32_t, draw::Point point) {
  if (!dragging_) return;
  DragTo(point);
  dragging_ = false;
  ui::Window::ReleaseCapture();
  LUpUpdate();
  InvalidatePane();
}
