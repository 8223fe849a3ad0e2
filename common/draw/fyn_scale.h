#pragma once
// Scale panes drawn along the edge of a graph; dragging on a scale stretches the graph.
//   FynMoveScale   a time axis labelled in seconds; a drag changes the shown sample count.
//   FynFreqScale   a plain divided axis with the same drag.
//   FynMoveVScale  a value axis (horizontal or vertical); a drag changes the full-scale value.
// A derived class reacts to a drag through LDownUpdate, LMoveUpdate (0 suppresses the
// repaint during the drag) and LUpUpdate.
//
// Each is a view hosted by the caller's frame or splitter.
#include <cstdint>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/draw/geometry.h"
#include "platform/ui/document.h"

namespace draw {
class Dc;
}

// Cursor a scale pane asks for while the pointer is over it.
enum class FynScaleCursor { Arrow, SizeWE, SizeNS, No };

class FynScalePane : public ui::View {
 public:
  // Button face, DrawScale, raised edge.
  void OnDraw(draw::Dc& dc) override;

  // Drag notifications; the defaults return 1.
  virtual short LUpUpdate() { return 1; }
  virtual short LMoveUpdate() { return 1; }
  virtual short LDownUpdate() { return 1; }

  bool IsDragging() const { return dragging_; }
  bool HasCapture() const { return GetCapture() == this; }
  FynScaleCursor Cursor() const { return cursor_; }
  // Repaints asked for: at once (during a drag) and later (invalidations).
  int RepaintsNow() const { return repaintsNow_; }
  int Invalidations() const { return invalidations_; }

 protected:
  virtual void DrawPane(draw::Dc& dc, const draw::Rect& rect) = 0;
  // Line from (x1, y1) to (x2, y2) in the engraved look: dark (black, grey with the move
  // switch off) with a white twin one pixel to the right (vertical) or below (horizontal).
  static void EngravedLine(draw::Dc& dc, int x1, int y1, int x2, int y2, bool on);
  void RepaintNow();
  void InvalidatePane();
  // Shows the pointer shape over the pane.
  void SetPaneCursor(FynScaleCursor cursor);

  bool dragging_ = false;
  FynScaleCursor cursor_ = FynScaleCursor::Arrow;
  int repaintsNow_ = 0;
  int invalidations_ = 0;
};

class FynMoveScale : public FynScalePane {
 public:
  FynMoveScale() = default;
  FynMoveScale(double sampFreq, unsigned long startNum, unsigned long dataNum, int divNum, const draw::Font* font,
               unsigned long minDataNum, unsigned long maxDataNum, double tickRatio, unsigned long allDataNum,
               short moveSw);

  void SetSampFreq(double hz) { sampFreq_ = hz; }
  void SetStartNum(unsigned long n) { startNum_ = n; }
  void SetDataNum(unsigned long n) { dataNum_ = n; }
  void SetAllDataNum(unsigned long n) { allDataNum_ = n; }
  // Samples that move time 0 to the right.
  void SetMinusDataNum(unsigned long n) { minusDataNum_ = n; }
  void SetDivNum(int n) { divNum_ = n; }
  void SetFont(const draw::Font* font) { font_ = font; }
  // Shown-count limits while dragging; 0 is no limit.
  void SetLimit(unsigned long minDataNum, unsigned long maxDataNum) {
    minDataNum_ = minDataNum;
    maxDataNum_ = maxDataNum;
  }
  void SetMoveSw(short sw) { moveSw_ = sw; }

  unsigned long DataNum() const { return dataNum_; }
  unsigned long StartNum() const { return startNum_; }

  // Draws the axis, ticks and labels into rect. Returns 1.
  virtual short DrawScale(draw::Dc* dc, draw::Rect rect);
  // Label of a tick at t seconds; "%.3f" by default.
  virtual void CreateNumStr(double seconds, std::string* out);

  // Tick step in seconds for the shown time and division count (0 counts as 1); 0 when no
  // time is shown.
  static double StepSeconds(double shownSeconds, int divNum);

  void OnLButtonDown(std::uint32_t flags, draw::Point point) override;
  void OnMouseMove(std::uint32_t flags, draw::Point point) override;
  void OnLButtonUp(std::uint32_t flags, draw::Point point) override;

 protected:
  void DrawPane(draw::Dc& dc, const draw::Rect& rect) override { DrawScale(&dc, rect); }
  // The shown count a drag to x gives, within the limits.
  unsigned long DragCount(int x);

  double sampFreq_ = 200.0;
  double tickRatio_ = 0.4;
  unsigned long startNum_ = 0;
  unsigned long dataNum_ = 2000;
  int divNum_ = 6;
  const draw::Font* font_ = nullptr;
  unsigned long minDataNum_ = 0;
  unsigned long maxDataNum_ = 0;
  unsigned long allDataNum_ = 0;
  unsigned long minusDataNum_ = 0;
  short moveSw_ = 1;
  double samplesPerPixel_ = 0.0;
  double anchor_ = 0.0;
  int cursorX_ = 0;
};

class FynFreqScale : public FynMoveScale {
 public:
  FynFreqScale() = default;
  FynFreqScale(unsigned long startNum, unsigned long dataNum, int divNum, unsigned long minDataNum,
               unsigned long maxDataNum, unsigned long allDataNum, short moveSw);

  // The axis along the bottom and division count + 1 ticks, or the cursor line while dragging.
  short DrawScale(draw::Dc* dc, draw::Rect rect) override;
};

class FynMoveVScale : public FynScalePane {
 public:
  FynMoveVScale() = default;
  // The third argument is not used; the division count starts at 4. Orientation 1 is
  // horizontal (values grow to the right), 0 vertical (values grow upward).
  FynMoveVScale(double current, double base, short unused, short moveSw, short orientation);

  void SetCurValue(double current, double base) {
    current_ = current;
    base_ = base;
  }
  void GetCurValue(double* current) const { *current = current_; }
  // A lower limit below the base value is raised to it.
  void SetLimit(double upper, double lower);
  void GetLimit(double* upper, double* lower) const {
    *upper = upper_;
    *lower = lower_;
  }
  void SetDivNum(short n) { divNum_ = n; }
  void SetMoveSw(short sw) { moveSw_ = sw; }

  // Grid lines, or the cursor line while dragging. Returns 1.
  virtual short DrawScale(draw::Dc* dc);

  void OnLButtonDown(std::uint32_t flags, draw::Point point) override;
  void OnMouseMove(std::uint32_t flags, draw::Point point) override;
  void OnLButtonUp(std::uint32_t flags, draw::Point point) override;

 protected:
  void DrawPane(draw::Dc& dc, const draw::Rect&) override { DrawScale(&dc); }
  // Keeps the value inside the limits and above the base value.
  void CheckLimit();
  // Position along the axis (x, or the height above the bottom) and the new value.
  void DragTo(draw::Point point);

  double current_ = 1.0;
  double base_ = 0.0;
  double lower_ = 0.0;
  double upper_ = 10000.0;
  short divNum_ = 4;
  short moveSw_ = 1;
  short orientation_ = 1;
  double valuePerPixel_ = 0.0;
  double anchor_ = 0.0;
  draw::Point cursor_pt_{};
};
