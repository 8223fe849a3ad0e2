#pragma once
// The raw wave window's container in the main frame's top pane: five rows of
// raw frames, each a page view over its divided-page FFT pane.
#include <array>
#include <memory>

#include "platform/ui/document.h"

namespace ui {
class Splitter;
}

// Page view of one row of raw waves.
class LyrRawAreaView : public ui::View {
 public:
  // Draws the row's whole page.
  void DrawPage(draw::Dc& dc);
  void OnDraw(draw::Dc& dc) override { DrawPage(dc); }
};

// Divided-page spectrum pane under a row's page view.
class LyrFFTDiviedPageView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
};

// One row: the page view over its FFT pane in a 2 x 1 splitter.
class LyrRawFrame : public ui::Window {
 public:
  explicit LyrRawFrame(ui::Document* doc) : doc_(doc) {}
  ~LyrRawFrame() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  LyrRawAreaView* AreaView() const { return area_; }
  LyrFFTDiviedPageView* FftView() const { return fft_; }
  // Gives the FFT pane its share of the row while the divided-page mode is on.
  void LayoutPanes();

 private:
  ui::Document* doc_;
  std::unique_ptr<ui::Splitter> splitter_;
  LyrRawAreaView* area_ = nullptr;
  LyrFFTDiviedPageView* fft_ = nullptr;
};

class LyrRawDummyView : public ui::View {
 public:
  static constexpr int kRows = 5;
  ~LyrRawDummyView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  // Places the wave rows for the document's row count.
  void LayoutRawFrames();
  LyrRawFrame* Row(int row) const;

 private:
  std::array<std::unique_ptr<LyrRawFrame>, kRows> rows_;
};
