#include "app/raw/raw_dummy_view.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/raw_rows.h"
#include "platform/draw/dc.h"
#include "platform/ui/splitter.h"

namespace {
constexpr draw::ColorRef kPaneBackground = 0x00FFFFFF;
constexpr int kRowIdBase = 100;
}  // namespace

LyrRawFrame::~LyrRawFrame() = default;

int LyrRawFrame::OnCreate() {
  splitter_ = std::make_unique<ui::Splitter>();
  if (!splitter_->CreateStatic(this, 2, 1)) return -1;
  ui::CreateContext context;
  context.currentDocument = doc_;
  auto area = std::make_unique<LyrRawAreaView>();
  auto fft = std::make_unique<LyrFFTDiviedPageView>();
  area_ = area.get();
  fft_ = fft.get();
  area_->SetRowIndex(static_cast<std::int16_t>(row_));
  fft_->SetRowIndex(static_cast<std::int16_t>(row_));
  if (!splitter_->CreateView(0, 0, std::move(area), ui::Size{0, 0}, &context)) return -1;
  if (!splitter_->CreateView(1, 0, std::move(fft), ui::Size{0, 0}, &context)) return -1;
  LayoutPanes();
  return 0;
}

void LyrRawFrame::OnSize(std::uint32_t, int cx, int cy) {
  if (splitter_ && splitter_->IsWindow()) {
    splitter_->MoveWindow(ui::Rect{0, 0, cx, cy});
    LayoutPanes();
  }
}

void LyrRawFrame::LayoutPanes() {
  if (!splitter_ || !splitter_->IsWindow()) return;
  const int height = GetClientRect().Height();
  // Without the divided-page mode the page view takes the whole row.
  splitter_->SetRowInfo(0, DividedFftMode != 0 ? height * 7 / 10 : height, 0);
  splitter_->RecalcLayout();
}

LyrRawDummyView::~LyrRawDummyView() = default;

int LyrRawDummyView::OnCreate() {
  for (int r = 0; r < kRows; ++r) {
    rows_[r] = std::make_unique<LyrRawFrame>(GetDocument(), r);
    if (!rows_[r]->Create(this, kRowIdBase + r)) return -1;
  }
  LayoutRawFrames();
  return 0;
}

void LyrRawDummyView::OnSize(std::uint32_t, int, int) { LayoutRawFrames(); }

void LyrRawDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), kPaneBackground);
}

LyrRawFrame* LyrRawDummyView::Row(int row) const {
  return (row >= 0 && row < kRows) ? rows_[row].get() : nullptr;
}

void LyrRawDummyView::LayoutRawFrames() {
  const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(GetDocument());
  const std::vector<int> shown = ShownRawRows(doc != nullptr ? doc->PageRows : 1);
  const ui::Rect client = GetClientRect();
  const int count = static_cast<int>(shown.size());
  int top = 0;
  for (int r = 0; r < kRows; ++r) {
    LyrRawFrame* frame = rows_[r].get();
    if (frame == nullptr || !frame->IsWindow()) continue;
    auto it = std::find(shown.begin(), shown.end(), r);
    if (it == shown.end()) {
      frame->ShowWindow(0);
      continue;
    }
    const int index = static_cast<int>(it - shown.begin());
    const int bottom = client.Height() * (index + 1) / count;
    frame->MoveWindow(ui::Rect{0, top, client.Width(), bottom});
    frame->ShowWindow(5);
    top = bottom;
  }
}
