#include "app/raw/raw_dummy_view.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/frame/raw_rows.h"
#include "app/raw/raw_page_geometry.h"
#include "platform/draw/dc.h"
#include "platform/ui/splitter.h"

namespace {
constexpr draw::ColorRef kPaneBackground = 0x00FFFFFF;
constexpr int kRowIdBase = 100;
}  // namespace

LyrRawFrame::~LyrRawFrame() = default;

int LyrRawFrame::OnCreate() {
  splitter_ = std::make_unique<LyrSplitterWnd>();
  splitter_->SplitterKind = 2;
  splitter_->ApplySplitterStyle();
  if (!splitter_->CreateStatic(this, 2, 1)) return -1;
  ui::CreateContext context;
  context.currentDocument = doc_;
  auto area = std::make_unique<LyrRawAreaView>();
  auto fft = std::make_unique<LyrFFTDiviedPageView>();
  area_ = area.get();
  fft_ = fft.get();
  area_->SetRowIndex(static_cast<std::int16_t>(row_));
  fft_->SetRowIndex(static_cast<std::int16_t>(row_));
  const ui::Rect client = GetClientRect();
  if (!splitter_->CreateView(0, 0, std::move(area), ui::Size{client.Width(), client.Height() * 3 / 4}, &context))
    return -1;
  if (!splitter_->CreateView(1, 0, std::move(fft), ui::Size{0, 0}, &context)) return -1;
  SetRowHeights();
  return 0;
}

void LyrRawFrame::OnSize(std::uint32_t, int cx, int cy) {
  if (splitter_ && splitter_->IsWindow()) {
    splitter_->MoveWindow(ui::Rect{0, 0, cx, cy});
    SetRowHeights();
  }
}

void LyrRawFrame::OnPaint(draw::Dc&) {
  // The divided-page mode may have changed since the last layout.
  if (!splitter_ || !splitter_->IsWindow()) return;
  if (splitter_->GetRowIdeal(0) != rawpage::PageViewHeight(GetClientRect().Height(), PageSpectrumShare()))
    SetRowHeights();
}

double LyrRawFrame::PageSpectrumShare() const { return DividedFftMode != 0 ? RawRowSplitRatio : 0.0; }

int LyrRawFrame::SetRowHeights() {
  if (!splitter_ || !splitter_->IsWindow()) return 0;
  splitter_->SetRowInfo(0, rawpage::PageViewHeight(GetClientRect().Height(), PageSpectrumShare()), 0);
  splitter_->SetRowInfo(1, 0, 0);
  splitter_->RecalcLayout();
  return 1;
}

void LyrRawFrame::SaveSplitRatio() {
  const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(doc_);
  bool channelChosen = false;
  if (doc != nullptr) {
    for (std::int32_t ch : doc->Params.fftPageChannels.channels) channelChosen = channelChosen || ch != -1;
  }
  if (channelChosen && fft_ != nullptr) {
    RawRowSplitRatio = rawpage::SpectrumShareOf(fft_->GetClientRect().Height(), GetClientRect().Height());
  }
  SetRowHeights();
}

void LyrRawFrame::OnSplitterDragged(LyrSplitterWnd&) { SaveSplitRatio(); }

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
  const double h = static_cast<double>(client.Height()) / static_cast<double>(shown.size());
  // Lined up with the trend window below, the waves start where its graphs do.
  const int x = LineUpWithTrend != 0 ? 40 : 0;
  const int w = std::max(client.Width() - x, 0);
  for (int r = 0; r < kRows; ++r) {
    LyrRawFrame* frame = rows_[r].get();
    if (frame == nullptr || !frame->IsWindow()) continue;
    auto it = std::find(shown.begin(), shown.end(), r);
    if (it == shown.end()) {
      // Rows above the shown ones close up at the top, rows below at the bottom edge.
      const int y = r < shown.front() ? 0 : client.Height();
      frame->MoveWindow(ui::Rect{x, y, x + w, y});
      frame->ShowWindow(0);
      continue;
    }
    const int index = static_cast<int>(it - shown.begin());
    const int top = static_cast<int>(index * h);
    frame->MoveWindow(ui::Rect{x, top, x + w, top + static_cast<int>(h)});
    frame->ShowWindow(5);
  }
}
