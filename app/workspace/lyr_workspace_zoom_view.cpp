#include "app/workspace/lyr_workspace_zoom_view.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_peak_information.h"
#include "app/frame/program_settings.h"
#include "platform/draw/dc.h"
#include "platform/ui/app.h"

LyrWorkspaceZoomView::LyrWorkspaceZoomView() { ResetZoom(); }

LyrWorkspaceZoomView::~LyrWorkspaceZoomView() {
  if (peakDlg_ == nullptr) return;
  if (peakDlg_->IsWindow()) peakDlg_->DestroyWindow();
  delete peakDlg_;
  peakDlg_ = nullptr;
}

void LyrWorkspaceZoomView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0x00FFFFFF);
}

void LyrWorkspaceZoomView::ResetZoom() {
  Spans.fill(ZoomSpan{});
  Peaks.fill(ZoomPeakRecord{});
  Gain = 1.0;
  AreaMode = 0;
  Mode = 0;
  ShowPeaks = 1;
  ClosePeakDlg();
}

int LyrWorkspaceZoomView::GetShownChannelCount() const {
  if (m_pDoc == nullptr) return 0;
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  int n = 0;
  for (int c = 0; c < channels; ++c) n += Spans[static_cast<std::size_t>(c)].shown != 0 ? 1 : 0;
  return n;
}

std::pair<double, double> LyrWorkspaceZoomView::GetShownTimeRange() const {
  double lo = std::numeric_limits<double>::max();
  double hi = -std::numeric_limits<double>::max();
  if (m_pDoc == nullptr) return {lo, hi};
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) {
    const ZoomSpan& s = Spans[static_cast<std::size_t>(c)];
    const int rate = m_pDoc->ChInfo[static_cast<std::size_t>(c)].rate;
    if (s.shown == 0 || rate <= 0) continue;
    lo = std::min(lo, static_cast<double>(s.first) / rate);
    hi = std::max(hi, static_cast<double>(s.last) / rate);
  }
  return {lo, hi};
}

void LyrWorkspaceZoomView::SearchPeaks(std::int32_t from, std::int32_t to) {
  Peaks.fill(ZoomPeakRecord{});
  if (m_pDoc == nullptr) return;
  const std::vector<float>& page = m_pDoc->RecordInfo.pageBuffers[2];
  if (page.empty()) return;
  if (from > to) std::swap(from, to);
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) {
    const ZoomSpan& s = Spans[static_cast<std::size_t>(c)];
    const int rate = m_pDoc->ChInfo[static_cast<std::size_t>(c)].rate;
    if (s.shown == 0 || rate <= 0) continue;
    const float* data = m_pDoc->GetChDataPtr(2, static_cast<unsigned>(c), const_cast<float*>(page.data()));
    const std::size_t channelStart = static_cast<std::size_t>(data - page.data());
    const std::size_t channelLength = static_cast<std::size_t>(rate) * static_cast<std::size_t>(PageSeconds) + 1;
    // Only samples of the span that the page holds are visited.
    const std::int32_t lastIndex = std::min<std::int32_t>(s.last - s.first, to);
    ZoomPeakRecord& p = Peaks[static_cast<std::size_t>(c)];
    for (std::int32_t i = std::max<std::int32_t>(from, 0); i <= lastIndex; ++i) {
      const std::int64_t sample = static_cast<std::int64_t>(s.first) + i;
      if (sample < 0 || static_cast<std::size_t>(sample) >= channelLength ||
          channelStart + static_cast<std::size_t>(sample) >= page.size())
        break;
      const float v = data[sample];
      const std::int64_t ms = sample * 1000 / rate;
      if (v > p.maxValue) {
        p.maxValue = v;
        p.maxIndex = i;
        p.maxTimeMs = ms;
      }
      if (v < p.minValue) {
        p.minValue = v;
        p.minIndex = i;
        p.minTimeMs = ms;
      }
    }
  }
}

void LyrWorkspaceZoomView::ShowList(ui::Window* owner) {
  if (DocumentLoaded == 0 || GetShownChannelCount() == 0 || (Mode != 5 && Mode != 6) || peakDlg_ != nullptr) return;
  auto* dlg = new LyrDlgPeakInformation(this, owner);
  dlg->SetCloseCallback([this](int) { ClosePeakDlg(); });
  if (!dlg->CreateModeless(owner)) {
    delete dlg;
    return;
  }
  peakDlg_ = dlg;
  ShowPeaks = dlg->ShowPeakChecked() ? 1 : 0;
}

void LyrWorkspaceZoomView::ClosePeakDlg() {
  LyrDlgPeakInformation* dlg = peakDlg_;
  peakDlg_ = nullptr;
  Mode = 0;
  if (dlg == nullptr) return;
  // The dialog may be ending itself: it goes once its own message is handled.
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}
