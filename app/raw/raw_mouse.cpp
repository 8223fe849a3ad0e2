// Mouse on the raw page: a click makes an epoch current, a drag across the rows selects a
// stretch and offers the range commands, the right button offers the display settings, and
// the picks that settings dialogs ask for are taken on the waves.
#include "app/raw/raw_mouse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_page_geometry.h"
#include "app/raw/wave_recognition.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "app/video/video_time_pick.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"

RawSelectionState RawSelection;
RawPreviewHooks RawPreview;

namespace rawmouse {

int EpochAtX(int x, int pageWidth, int pageRight, int epochsPerPage, std::int64_t firstEpoch,
             std::int64_t epochCount) {
  if (epochsPerPage <= 0) return 0;
  const double cell = static_cast<double>(pageWidth + 1) / epochsPerPage;
  int index = epochsPerPage - 1;
  if (x <= pageRight && cell > 0.0) index = std::clamp(static_cast<int>(std::max(x, 0) / cell), 0, epochsPerPage - 1);
  while (index > 0 && firstEpoch + index >= epochCount) --index;
  return index;
}

std::int64_t SampleAtX(int x, std::span<const std::int32_t> columns, std::int64_t pageStartSeconds, int rate,
                       std::int64_t startOffset, int pageSeconds) {
  const std::int64_t pageStart = pageStartSeconds * rate;
  const int column = std::max(x, 0);
  if (static_cast<std::size_t>(column) >= columns.size())
    return pageStart + static_cast<std::int64_t>(rate) * pageSeconds - 1;
  return pageStart + startOffset + columns[static_cast<std::size_t>(column)];
}

std::int64_t PageBufferSample(std::int64_t sample, std::int64_t pageStartSeconds, int rate, std::int64_t startOffset) {
  return sample - pageStartSeconds * rate - startOffset;
}

bool IsDrag(draw::Point anchor, draw::Point p) { return std::abs(p.x - anchor.x) > 5 && std::abs(p.y - anchor.y) > 5; }

std::array<BandSpan, kRawSelectionRows> DragBands(int anchorRow, int anchorX, int row, int x, int pageLeft,
                                                  int pageRight) {
  std::array<BandSpan, kRawSelectionRows> bands{};
  if (anchorRow < 0 || anchorRow >= kRawSelectionRows || row < 0 || row >= kRawSelectionRows) return bands;
  if (row == anchorRow) {
    bands[static_cast<std::size_t>(row)] = {std::min(anchorX, x), std::max(anchorX, x)};
    return bands;
  }
  const bool forward = row > anchorRow;
  const int first = std::min(anchorRow, row);
  const int last = std::max(anchorRow, row);
  for (int r = first; r <= last; ++r) bands[static_cast<std::size_t>(r)] = {pageLeft, pageRight};
  if (forward) {
    bands[static_cast<std::size_t>(anchorRow)].left = anchorX;
    bands[static_cast<std::size_t>(row)].right = x;
  } else {
    bands[static_cast<std::size_t>(anchorRow)].right = anchorX;
    bands[static_cast<std::size_t>(row)].left = x;
  }
  return bands;
}

draw::Rect SpectrumSpanBox(int x, int top, int bottom, int clientWidth, std::uint32_t points, int count, int rate,
                           int pageSeconds) {
  if (rate <= 0 || pageSeconds <= 0) return draw::Rect{x, top, x, bottom};
  const double samples = static_cast<double>(points) * std::max(count, 1);
  const int width = static_cast<int>(samples / (static_cast<double>(rate) * pageSeconds) * clientWidth);
  const int left = std::max(0, std::min(x, clientWidth - width));
  return draw::Rect{left, top, left + width, bottom};
}

RawPreviewPick PickInRowPage(const CQLM2_AnalyzerDoc& doc, const RawPreviewPick& pick) {
  RawPreviewPick out = pick;
  if (pick.channel < 0 || pick.channel >= static_cast<int>(doc.ChInfo.size())) return out;
  const LyrChInfo& ch = doc.ChInfo[static_cast<std::size_t>(pick.channel)];
  const std::int64_t rowPageStart = (static_cast<std::int64_t>(doc.CurrentPage) + pick.row - 2) * PageSeconds;
  const auto local = [&](std::int64_t s) {
    const std::int64_t i = PageBufferSample(s, rowPageStart, ch.rate, ch.startOffset);
    return i < 0 ? std::int64_t{-1} : i;
  };
  out.first = local(pick.first);
  out.last = local(pick.last);
  return out;
}

draw::Point WaveListWindowPos(const draw::Rect& frame, int windowWidth, int screenWidth) {
  int left = frame.right + 5;
  if (left + windowWidth > screenWidth) left = frame.left - windowWidth - 5;
  return draw::Point{std::max(left, 0), frame.top};
}

}  // namespace rawmouse

namespace {

constexpr int kMiddleRow = 2;

// Texts of the right-button menu (string table ids) and the frame commands they send.
constexpr std::uint32_t kIdsShowChannel = 9740;
struct DisplayItem {
  std::uint32_t text;
  std::uint32_t command;
};
constexpr DisplayItem kDisplayItems[] = {
    {kIdsShowChannel, 32778}, {9741, 32779}, {9742, 32780}, {9743, 32782}, {9744, 32781}, {0, 0}, {9745, 33171},
};

CQLM2_AnalyzerDoc* Doc(const ui::View& view) { return dynamic_cast<CQLM2_AnalyzerDoc*>(view.GetDocument()); }

CMainFrame* Frame() { return CQLM2_AnalyzerDoc::MainFrame(); }

// The fastest shown channel, which positions of a range are counted in; -1 when none.
int ReferenceChannel() {
  std::uint32_t rate = 0;
  std::int16_t channel = -1;
  if (CMainFrame* f = Frame(); f != nullptr && f->GetMaxShownChannelRate(&rate, &channel) != 0) return channel;
  return -1;
}

// The page view of a row of the frame's raw window, or null.
LyrRawAreaView* RowView(int row) {
  CMainFrame* f = Frame();
  LyrRawDummyView* raw = f != nullptr ? f->RawView() : nullptr;
  LyrRawFrame* frame = raw != nullptr ? raw->Row(row) : nullptr;
  return frame != nullptr ? frame->AreaView() : nullptr;
}

// Colour of an address slot (6 background ... 1 stage in artifact), as the page drawing maps it.
draw::ColorRef DisplayColour(int slot) { return DisplayColors[static_cast<std::size_t>(6 - slot)]; }

// No mouse action while nothing is loaded, the row has no page, a screening batch runs, or a
// batch or analysis window is busy.
bool MouseAllowed(const LyrRawAreaView& view) {
  const CQLM2_AnalyzerDoc* doc = Doc(view);
  if (doc == nullptr || DocumentLoaded == 0) return false;
  const int row = view.RowIndex();
  if (row < 0 || row >= LyrRecordInfo::kPageBufferCount || doc->RecordInfo.pageBuffers[static_cast<std::size_t>(row)].empty())
    return false;
  if (ScreeningRunning == 1) return false;
  if (const CMainFrame* f = Frame()) {
    if (f->MultiScreeningDlg != nullptr || f->LogicDlg != nullptr) return false;
    // A hidden analysis-range dialog is waiting for a time pick on the page.
    if (f->AnalysisRangeDlg != nullptr && f->AnalysisRangeDlg->m_Shown != 0) return false;
  }
  return true;
}

// The video dialogs waiting for a time picked on the waves, null when none waits.
LyrVideoDialogs* VideoPicker() {
  CMainFrame* f = Frame();
  LyrWorkspaceDummyView* ws = f != nullptr ? f->WorkspaceView() : nullptr;
  return ws != nullptr && ws->VideoDialogs.Picking() ? &ws->VideoDialogs : nullptr;
}

// A wave pick (kinds 1-10) waits while the wave-form recognition window is shown.
bool WaveFormSettingsShown() {
  if (RawPreviewMode != 1 || PreviewKind < 1 || PreviewKind > 10) return false;
  const LyrRawDlgWaveFormRecognition* dlg = OpenWaveFormRecognitionDialog();
  return dlg != nullptr && dlg->m_bShown != 0;
}

void InvertBand(int row, LyrRawAreaView* fallback) {
  draw::Rect& band = RawSelection.band[static_cast<std::size_t>(row)];
  if (band.right <= band.left) return;
  LyrRawAreaView* view = RowView(row);
  if (view == nullptr && fallback != nullptr && fallback->RowIndex() == row) view = fallback;
  if (view != nullptr && view->IsWindow()) {
    ui::ClientDc dc(*view);
    dc.dc().InvertRect(band);
  }
}

}  // namespace

// ---- Geometry under the pointer -----------------------------------------------------------

const RecognizedWaveTable* LyrRawAreaView::RecognizedWaves() const {
  return recognition_ ? &recognition_->Table() : nullptr;
}

std::int64_t LyrRawAreaView::GetRowPageNo() const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  return doc != nullptr ? static_cast<std::int64_t>(doc->CurrentPage) + rowIndex_ - kMiddleRow : 0;
}

int LyrRawAreaView::GetEpochAtX(int x) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  const int perPage = rawpage::EpochsPerPage(PageSeconds, EpochSeconds);
  if (doc == nullptr || perPage <= 0) return 0;
  const draw::Rect page = GetPageRect(nullptr);
  return rawmouse::EpochAtX(x, page.right - page.left, page.right, perPage, GetRowPageNo() * perPage,
                            doc->GetDivNum(EpochSeconds));
}

int LyrRawAreaView::ChannelAtY(int, int y) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (doc == nullptr) return -1;
  const int count = std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));
  for (int c = 0; c < count; ++c) {
    int top = 0;
    int bottom = 0;
    if (GetChannelBand(c, &top, &bottom) && y >= top && y <= bottom) return c;
  }
  return -1;
}

std::int64_t LyrRawAreaView::SampleAtX(int channel, int x) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (doc == nullptr || channel < 0 || channel >= static_cast<int>(doc->ChInfo.size())) return -1;
  const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(channel)];
  return rawmouse::SampleAtX(x, ch.readX, GetPageStartSec(), ch.rate, ch.startOffset, PageSeconds);
}

int LyrRawAreaView::GetChannelBandOffset(int channel, int top, int bottom) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (doc == nullptr) return 0;
  const int count = std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));
  int shown = 0;
  int upTo = 0;
  for (int c = 0; c < count; ++c) {
    if (doc->ChInfo[static_cast<std::size_t>(c)].show == 0) continue;
    ++shown;
    if (c <= channel) ++upTo;
  }
  if (shown == 0) return 0;
  return (bottom - top + 1) / shown * (upTo - 1);
}

int LyrRawAreaView::TrackCapture(int x, int y) {
  if (ui::Window::GetCapture() != this) SetCapture();
  const ui::Rect window = GetWindowRect();
  const ui::Point screen = ClientToScreen(ui::Point{x, y});
  if (screen.x >= window.left && screen.x < window.right && screen.y >= window.top && screen.y < window.bottom) return 1;
  ui::Window::ReleaseCapture();
  return 0;
}

LyrRawAreaView* LyrRawAreaView::RowUnder(ui::Point client, ui::Point* local) {
  *local = client;
  const ui::Rect own = GetClientRect();
  if (client.x >= own.left && client.x < own.right && client.y >= own.top && client.y < own.bottom) return this;
  // While the button is down the toolkit keeps sending to the row where it went down; the
  // row under the pointer takes the message as if it had the mouse.
  const ui::Point screen = ClientToScreen(client);
  for (int r = 0; r < kRawSelectionRows; ++r) {
    LyrRawAreaView* view = RowView(r);
    if (view == nullptr || view == this || !view->IsWindow() || !view->IsWindowVisible()) continue;
    const ui::Point p = view->ScreenToClient(screen);
    const ui::Rect c = view->GetClientRect();
    if (p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom) {
      *local = p;
      return view;
    }
  }
  return this;
}

// ---- Drawing over the page ----------------------------------------------------------------

void LyrRawAreaView::DrawTimeCursor(int x, int previousX) {
  if (!IsWindow()) return;
  const draw::Rect page = GetPageRect(nullptr);
  ui::ClientDc client(*this);
  draw::Dc& dc = client.dc();
  const int oldRop = dc.SetROP2(draw::R2_NOT);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, draw::Rgb(0, 0, 0)});
  for (int at : {previousX, x}) {
    if (at == -1) continue;
    dc.MoveTo(at, page.top);
    dc.LineTo(at, page.bottom);
  }
  dc.SelectPen(oldPen);
  dc.SetROP2(oldRop);
  timeCursorX_ = x;
}

void LyrRawAreaView::DrawSpectrumSpanBox(int x, int y) {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (doc == nullptr) return;
  const int count = std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));
  int channel = ChannelAtY(x, y);
  if (channel < 0) {
    // Above the page the first enabled channel, below it the last.
    const draw::Rect page = GetPageRect(nullptr);
    const bool above = y < page.top;
    for (int c = 0; c < count; ++c) {
      if (doc->ChInfo[static_cast<std::size_t>(c)].show == 0) continue;
      channel = c;
      if (above) break;
    }
  }
  int top = 0;
  int bottom = 0;
  if (channel < 0 || !GetChannelBand(channel, &top, &bottom)) return;
  const FFTPageParam& p = doc->Params.fftPage;
  const draw::Rect box = rawmouse::SpectrumSpanBox(x, top, bottom, GetClientRect().Width(), p.simpleFftPoints,
                                                   p.simpleAveraging, doc->ChInfo[static_cast<std::size_t>(channel)].rate,
                                                   PageSeconds);
  if (IsWindow()) {
    ui::ClientDc client(*this);
    if (spanBoxShown_) client.dc().InvertRect(spanBox_);
    client.dc().InvertRect(box);
  }
  spanBox_ = box;
  spanBoxShown_ = true;
  spanChannel_ = channel;
}

void LyrRawAreaView::DrawXorRect(const draw::Rect& r, std::uint32_t colour) {
  if (!IsWindow()) return;
  ui::ClientDc client(*this);
  draw::Dc& dc = client.dc();
  const int oldRop = dc.SetROP2(draw::R2_NOTXORPEN);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
  const int left = std::min(r.left, r.right);
  const int right = std::max(r.left, r.right);
  const int top = std::min(r.top, r.bottom);
  const int bottom = std::max(r.top, r.bottom);
  dc.MoveTo(left, top);
  dc.LineTo(right, top);
  dc.LineTo(right, bottom);
  dc.LineTo(left, bottom);
  dc.LineTo(left, top);
  dc.SelectPen(oldPen);
  dc.SetROP2(oldRop);
}

void LyrRawAreaView::TrackPreviewRect(ui::Point p) {
  if (previewRectShown_) DrawXorRect(previewRect_, DisplayColour(6));
  previewRect_ = draw::Rect{previewAnchor_.x, previewAnchor_.y, p.x, p.y};
  DrawXorRect(previewRect_, DisplayColour(6));
  previewRectShown_ = true;
}

void LyrRawAreaView::InvertRangeBands() {
  for (int r = 0; r < kRawSelectionRows; ++r) {
    InvertBand(r, nullptr);
    RawSelection.band[static_cast<std::size_t>(r)] = draw::Rect{};
  }
}

void LyrRawAreaView::DragTo(ui::Point client) {
  const draw::Rect page = GetPageRect(nullptr);
  const auto spans = rawmouse::DragBands(RawSelection.rangeRow, RawSelection.anchor.x, rowIndex_, client.x, page.left,
                                         page.right);
  for (int r = 0; r < kRawSelectionRows; ++r) {
    const rawmouse::BandSpan& s = spans[static_cast<std::size_t>(r)];
    const draw::Rect wanted = s.Empty() ? draw::Rect{} : draw::Rect{s.left, page.top, s.right, page.bottom};
    draw::Rect& held = RawSelection.band[static_cast<std::size_t>(r)];
    if (wanted == held) continue;
    InvertBand(r, this);
    held = wanted;
    InvertBand(r, this);
  }
  if (rowIndex_ >= 0 && rowIndex_ < kRawSelectionRows) RawSelection.rowEnd[static_cast<std::size_t>(rowIndex_)] = client;
}

// ---- Messages -----------------------------------------------------------------------------

void LyrRawAreaView::OnSize(std::uint32_t, int, int) {
  CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (doc == nullptr || rowIndex_ != kMiddleRow) return;
  const draw::Rect page = GetPageRect(nullptr);
  const int columns = std::max(page.right - page.left + 1, 1);
  const int count = std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));
  for (int c = 0; c < count; ++c) doc->ChInfo[static_cast<std::size_t>(c)].GetReadX(columns);
}

void LyrRawAreaView::OnLButtonDown(std::uint32_t, ui::Point client) {
  if (!MouseAllowed(*this)) return;
  if (RawPreviewMode != 0) {
    PreviewButtonDown(client);
    return;
  }
  if (ChannelAtY(client.x, client.y) < 0 || RawSelection.pressState == 2) return;
  InvertRangeBands();
  RawSelection.rangeRow = rowIndex_;
  RawSelection.pressState = 1;
  RawSelection.anchor = client;
  RawSelection.ClearRowEnds();
  const int reference = ReferenceChannel();
  RawSelection.startChannel = reference;
  RawSelection.startSample = SampleAtX(reference, client.x);
}

void LyrRawAreaView::OnMouseMove(std::uint32_t flags, ui::Point client) {
  CMainFrame* frame = Frame();
  if (frame != nullptr && frame->IsReportDlgOpen()) return;
  if (!MouseAllowed(*this)) return;
  if (RawPreviewMode != 0) {
    PreviewMouseMove(flags, client);
    return;
  }
  if (RawSelection.pressState == 0) return;
  ui::Point local;
  LyrRawAreaView* target = RowUnder(client, &local);
  if (!rawmouse::IsDrag(RawSelection.anchor, local)) return;
  RawSelection.pressState = 2;
  target->DragTo(local);
}

void LyrRawAreaView::OnLButtonUp(std::uint32_t, ui::Point client) {
  const auto reset = [] {
    RawSelection.ClearRowEnds();
    RawSelection.pressState = 0;
    RawSelection.startSample = RawSelection.endSample = -1;
    RawSelection.startChannel = RawSelection.endChannel = -1;
  };
  if (!MouseAllowed(*this)) {
    if (RawSelection.pressState != 0) {
      InvertRangeBands();
      RawSelection.rangeRow = -1;
      reset();
    }
    return;
  }
  if (RawPreviewMode != 0) {
    PreviewButtonUp(client);
    return;
  }
  ui::Point local;
  LyrRawAreaView* target = RowUnder(client, &local);
  if (target->ChannelAtY(local.x, local.y) < 0) {
    // Released off the waves: the drag ends without a command instead of staying armed.
    if (RawSelection.pressState == 2) {
      InvertRangeBands();
      RawSelection.rangeRow = -1;
    }
    reset();
    return;
  }
  if (RawSelection.pressState == 1) {
    target->ClickEpoch(local);
  } else if (RawSelection.pressState == 2) {
    const int reference = ReferenceChannel();
    RawSelection.endChannel = reference;
    RawSelection.endSample = target->SampleAtX(reference, local.x);
    if (RawSelection.startSample > RawSelection.endSample) {
      std::swap(RawSelection.startSample, RawSelection.endSample);
      std::swap(RawSelection.startChannel, RawSelection.endChannel);
    }
    if (local.x != RawSelection.anchor.x && local.y != RawSelection.anchor.y) target->ShowEventPopup();
    if (RawSelection.pressState == 2) {
      InvertRangeBands();
      RawSelection.rangeRow = -1;
    }
  }
  reset();
}

void LyrRawAreaView::ClickEpoch(ui::Point client) {
  CQLM2_AnalyzerDoc* doc = Doc(*this);
  CMainFrame* frame = Frame();
  const int perPage = rawpage::EpochsPerPage(PageSeconds, EpochSeconds);
  if (doc == nullptr) return;
  const std::int64_t rowPage = GetRowPageNo();
  const auto epoch = static_cast<std::int32_t>(rowPage * perPage + GetEpochAtX(client.x));
  if (rowPage != doc->CurrentPage) {
    if (frame != nullptr) {
      frame->SetPageByEpoch(static_cast<std::int32_t>(rowPage), epoch);
    } else {
      doc->CurrentEpoch = epoch;
      doc->CurrentPage = static_cast<std::int32_t>(rowPage);
      doc->SetPageData();
    }
  } else {
    // The page stays: its image comes back with the new current-epoch frame.
    doc->CurrentEpoch = epoch;
    RedrawWindow();
  }
  if (frame != nullptr) frame->UpdateFrameBarTime();
  doc->CalcEpochFFTData();
  if (frame != nullptr) frame->RedrawWorkspaceViews();
}

void LyrRawAreaView::OnRButtonUp(std::uint32_t, ui::Point client) {
  if (!MouseAllowed(*this)) return;
  if (RawPreviewMode != 0) {
    EndPreview();
    return;
  }
  if (RawSelection.pressState == 2) {
    InvertRangeBands();
    RawSelection.pressState = 0;
    RawSelection.rangeRow = -1;
    RawSelection.startSample = RawSelection.endSample = -1;
    RawSelection.startChannel = RawSelection.endChannel = -1;
    return;
  }
  if (RawSelection.pressState != 0) return;
  // A recognised wave under the pointer opens its list window; a click elsewhere closes an
  // open list, and the context menu comes when there was none.
  if (RawPreview.openWaveList) {
    const RecognizedWaveRecord* wave = nullptr;
    int index = -1;
    if (recognition_) {
      const auto records = recognition_->Table().Records();
      for (std::size_t i = 0; i < records.size(); ++i) {
        const RecognizedWaveRecord& w = records[i];
        if (w.type == 0) break;
        if (client.x >= w.left && client.x <= w.right && client.y >= w.top && client.y <= w.bottom) {
          wave = &w;
          index = static_cast<int>(i);
          break;
        }
      }
    }
    draw::Rect onScreen{};
    if (wave != nullptr) {
      const ui::Point tl = ClientToScreen(ui::Point{wave->left, wave->top});
      const ui::Point br = ClientToScreen(ui::Point{wave->right, wave->bottom});
      onScreen = draw::Rect{tl.x, tl.y, br.x, br.y};
    }
    if (RawPreview.openWaveList(rowIndex_, wave, index, onScreen)) return;
  }
  ShowDisplayPopup(client);
}

void LyrRawAreaView::ShowDisplayPopup(ui::Point client) {
  CMainFrame* frame = Frame();
  if (frame == nullptr) return;
  ui::Menu menu;
  for (const DisplayItem& item : kDisplayItems) {
    if (item.command == 0) {
      menu.AppendSeparator();
    } else {
      menu.AppendItem(item.command, res::LoadString(item.text));
    }
  }
  menu.CheckItem(33171, DividedFftMode != 0);
  const ui::Point screen = ClientToScreen(client);
  ui::TrackPopupMenu(menu, ui::PopupPosition{screen.x, screen.y}, frame);
}

// ---- Picks for the settings windows -------------------------------------------------------

void LyrRawAreaView::PreviewButtonDown(ui::Point client) {
  if (WaveFormSettingsShown()) return;
  const draw::Rect page = GetPageRect(nullptr);
  previewRectShown_ = false;
  if (RawPreviewMode == 1) {
    previewAnchor_ = client;
    previewChannel_ = ChannelAtY(client.x, client.y);
    previewStartSample_ = previewChannel_ >= 0 ? SampleAtX(previewChannel_, client.x) : -1;
    previewStartX_ = client.x;
    SetCapture();
  } else if (RawPreviewMode == 4) {
    previewAnchor_ = ui::Point{client.x, std::clamp(client.y, page.top, page.bottom)};
    previewChannel_ = ChannelAtY(previewAnchor_.x, previewAnchor_.y);
    int x = client.x;
    if (const CQLM2_AnalyzerDoc* doc = Doc(*this); doc != nullptr && previewChannel_ >= 0) {
      const auto& columns = doc->ChInfo[static_cast<std::size_t>(previewChannel_)].readX;
      if (!columns.empty()) x = std::min(x, static_cast<int>(columns.size()) - 1);
    }
    previewStartX_ = x;
    previewStartSample_ = previewChannel_ >= 0 ? SampleAtX(previewChannel_, x) : -1;
    SetCapture();
  }
}

void LyrRawAreaView::PreviewMouseMove(std::uint32_t flags, ui::Point client) {
  if (WaveFormSettingsShown()) return;
  const bool button = (flags & ui::MK_LBUTTON) != 0;
  switch (RawPreviewMode) {
    case 1:
      if (button) {
        TrackPreviewRect(client);
      } else {
        previewChannel_ = ChannelAtY(client.x, client.y);
      }
      break;
    case 2:
      DrawSpectrumSpanBox(client.x, client.y);
      break;
    case 3:
      DrawTimeCursor(client.x, timeCursorX_);
      break;
    case 4:
      if (button) TrackPreviewRect(client);
      break;
    default:
      break;
  }
}

void LyrRawAreaView::PreviewButtonUp(ui::Point client) {
  if (WaveFormSettingsShown()) return;
  CMainFrame* frame = Frame();
  const auto eraseRect = [this] {
    if (previewRectShown_) DrawXorRect(previewRect_, DisplayColour(6));
    previewRectShown_ = false;
  };
  switch (RawPreviewMode) {
    case 1: {
      eraseRect();
      ui::Window::ReleaseCapture();
      previewEndSample_ = previewChannel_ >= 0 ? SampleAtX(previewChannel_, client.x) : -1;
      RawPreviewPick pick;
      pick.row = rowIndex_;
      pick.channel = previewChannel_;
      pick.first = std::min(previewStartSample_, previewEndSample_);
      pick.last = std::max(previewStartSample_, previewEndSample_);
      int result = ui::IDCANCEL;
      const bool valid = previewChannel_ >= 0 && previewStartSample_ >= 0 && previewEndSample_ >= 0 &&
                         pick.first != pick.last;
      const int kind = PreviewKind;
      const bool sleepKind = (kind >= 11 && kind <= 15) || kind == 17 || kind == 18 ||
                             (kind == 19 && !RawPreview.thresholdConfirmationRunning);
      if (valid) {
        if (sleepKind && RawPreview.sleepDisturbanceConfirmation) {
          result = RawPreview.sleepDisturbanceConfirmation(pick);
        } else if (!sleepKind && kind != 19 && RawPreview.waveFormConfirmation) {
          result = RawPreview.waveFormConfirmation(pick);
        }
      }
      if (result == ui::IDOK) {
        if (RawPreview.showRequester) RawPreview.showRequester();
        RawPreviewMode = 0;
      } else if (frame != nullptr) {
        frame->RefreshAllViews(-1);
      }
      RawSelection.pressState = 0;
      break;
    }
    case 2: {
      const int channel = ChannelAtY(client.x, client.y);
      CQLM2_AnalyzerDoc* doc = Doc(*this);
      if (channel < 0 || doc == nullptr) break;
      const auto& columns = doc->ChInfo[static_cast<std::size_t>(channel)].readX;
      if (columns.empty()) break;
      // The spectrum starts at the box's left edge.
      const int x = spanBoxShown_ && spanChannel_ == channel ? spanBox_.left : client.x;
      const int start = columns[static_cast<std::size_t>(std::clamp(x, 0, static_cast<int>(columns.size()) - 1))];
      if (doc->CalcSimpleFFTData(static_cast<short>(rowIndex_), channel, start) != 0) {
        if (frame != nullptr) frame->RedrawWorkspaceViews();
        if (RawPreview.simpleSpectrum) RawPreview.simpleSpectrum(rowIndex_, channel, start);
      }
      break;
    }
    case 3: {
      if (LyrVideoDialogs* video = VideoPicker()) {
        PickVideoTime(video, client);
        break;
      }
      if (VideoTimePickPending()) {
        PickVideoTime(nullptr, client);
        break;
      }
      LyrDlgAnalysisRange* dlg = frame != nullptr ? frame->AnalysisRangeDlg : nullptr;
      const CQLM2_AnalyzerDoc* doc = Doc(*this);
      if (dlg == nullptr || doc == nullptr) break;
      int channel = ChannelAtY(client.x, client.y);
      if (channel < 0) channel = ReferenceChannel();
      if (channel < 0) break;
      const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(channel)];
      std::int64_t seconds = GetPageStartSec() + PageSeconds - 1;
      const int column = std::max(client.x, 0);
      if (ch.rate > 0 && static_cast<std::size_t>(column) < ch.readX.size())
        seconds = GetPageStartSec() + (ch.startOffset + ch.readX[static_cast<std::size_t>(column)]) / ch.rate;
      if (timeCursorX_ != -1) DrawTimeCursor(-1, timeCursorX_);
      timeCursorX_ = -1;
      dlg->SetPickedSeconds(static_cast<std::int32_t>(seconds));
      RawPreviewMode = 0;
      ui::Window::ReleaseCapture();
      break;
    }
    case 4: {
      eraseRect();
      ui::Window::ReleaseCapture();
      const int channel = ChannelAtY(client.x, std::clamp(client.y, 0, GetPageRect(nullptr).bottom));
      if (client.x != previewStartX_ && RawPreview.zoomRange) {
        RawPreviewPick press{rowIndex_, previewChannel_, previewStartSample_, previewStartSample_, previewStartX_};
        const std::int64_t sample = channel >= 0 ? SampleAtX(channel, client.x) : -1;
        RawPreviewPick release{rowIndex_, channel, sample, sample, client.x};
        RawPreview.zoomRange(press, release);
      }
      break;
    }
    default:
      break;
  }
}

void LyrRawAreaView::PickVideoTime(LyrVideoDialogs* video, ui::Point client) {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (timeCursorX_ != -1) DrawTimeCursor(-1, timeCursorX_);
  timeCursorX_ = -1;
  ui::Window::ReleaseCapture();
  int channel = ChannelAtY(client.x, client.y);
  if (channel < 0) channel = ReferenceChannel();
  if (doc == nullptr || channel < 0) {
    if (video == nullptr) CancelVideoTimePick();
    return;
  }
  // The time on the video clock: the page start plus the column's sample, offset included.
  const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(channel)];
  const int column = std::max(client.x, 0);
  double seconds = static_cast<double>(GetPageStartSec() + PageSeconds);
  if (ch.rate > 0 && static_cast<std::size_t>(column) < ch.readX.size())
    seconds = static_cast<double>(GetPageStartSec()) +
              static_cast<double>(ch.startOffset + ch.readX[static_cast<std::size_t>(column)]) / ch.rate;
  if (video != nullptr) {
    video->DeliverPick(seconds);
    return;
  }
  DeliverVideoTimePick(seconds);
  CMainFrame* frame = Frame();
  if (LyrWorkspaceDummyView* ws = frame != nullptr ? frame->WorkspaceView() : nullptr;
      ws != nullptr && ws->VideoPane.VideoShowingFlag != 0)
    ws->VideoPane.ShowVideoAtTime(seconds);
}

void LyrRawAreaView::EndPreview() {
  if (spanBoxShown_ && IsWindow()) {
    ui::ClientDc client(*this);
    client.dc().InvertRect(spanBox_);
  }
  spanBoxShown_ = false;
  if (previewRectShown_) DrawXorRect(previewRect_, DisplayColour(6));
  previewRectShown_ = false;
  if (timeCursorX_ != -1) DrawTimeCursor(-1, timeCursorX_);
  timeCursorX_ = -1;
  ui::Window::ReleaseCapture();
  CMainFrame* frame = Frame();
  if (LyrVideoDialogs* video = RawPreviewMode == 3 ? VideoPicker() : nullptr) {
    video->CancelPick();
    return;
  }
  if (RawPreviewMode == 3 && VideoTimePickPending()) {
    CancelVideoTimePick();
    return;
  }
  if (RawPreviewMode == 3 && frame != nullptr && frame->AnalysisRangeDlg != nullptr) {
    LyrDlgAnalysisRange* dlg = frame->AnalysisRangeDlg;
    dlg->m_Picking = -1;
    dlg->ShowWindow(ui::SW_SHOW);
    dlg->m_Shown = 1;
  } else if (RawPreview.showRequester) {
    RawPreview.showRequester();
  }
  RawPreviewMode = 0;
}
