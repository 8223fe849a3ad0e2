#include "app/video/lyr_workspace_video_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/display_fonts.h"
#include "app/frame/program_settings.h"
#include "app/frame/time_point_scale.h"
#include "app/video/lyr_workspace_dlg_wait.h"
#include "app/video/lyr_workspace_video_location_view.h"
#include "app/video/video_wave_sync.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kIdsLoadingMovies = 2426;
constexpr std::uint32_t kIdsRun = 2422;
constexpr std::uint32_t kIdsStop = 2423;
constexpr std::uint32_t kIdsPreMark = 2458;
constexpr draw::ColorRef kNoPictureBlue = draw::Rgb(0, 0, 250);
constexpr draw::ColorRef kStillBlue = draw::Rgb(0, 0, 255);
constexpr int kScrollBarHeight = 17;
constexpr int kVideoPaneId = 12;
constexpr int kMarkPaneId = 11;
// A frame step may reach a range that ended or starts less than this before or after.
constexpr double kStepGapSeconds = 2.0;

int PostTo(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return static_cast<ui::Window*>(window)->PostMessage(message, wParam, lParam) ? 1 : 0;
}

void ClientSizeOf(void* window, int* width, int* height) {
  const ui::Rect r = static_cast<ui::Window*>(window)->GetClientRect();
  *width = r.Width();
  *height = r.Height();
}

int DrawBits(void* dc, int x, int y, int width, int height, const std::uint8_t* bits, int bitsWidth, int bitsHeight) {
  if (bits == nullptr || bitsWidth <= 0 || bitsHeight <= 0) return 0;
  const std::size_t bytes = static_cast<std::size_t>(bitsWidth) * static_cast<std::size_t>(bitsHeight) * 4;
  return static_cast<draw::Dc*>(dc)->StretchDIBits({x, y, x + width, y + height}, {0, 0, bitsWidth, bitsHeight},
                                                   bitsWidth, -bitsHeight, 32, {}, {bits, bytes}) != 0
             ? 1
             : 0;
}

QlmNativeWindow HandleOf(ui::Window* w, std::uint32_t repaint) {
  return QlmNativeWindow{w, &PostTo, &ClientSizeOf, repaint};
}

CQLM2_AnalyzerDoc* DocOf(CMainFrame* frame) { return frame != nullptr ? frame->GetDocument() : nullptr; }

}  // namespace

VideoPaneHeights VideoPaneHeightsFor(int fontHeight, int scrollBarHeight) {
  return {fontHeight + scrollBarHeight, 2 * scrollBarHeight + fontHeight};
}

VideoPaneLayout LayoutVideoPanes(int width, int height, const VideoBarFlags& flags) {
  const VideoPaneHeights h = VideoPaneHeightsFor(LyrWorkspaceVideoLocationView::kFontHeight, kScrollBarHeight);
  const int location = flags.location != 0 ? h.location : 0;
  const int time = flags.time != 0 ? h.time : 0;
  VideoPaneLayout l;
  l.location = {0, height - location, width, height};
  l.time = {0, l.location.top - time, width, l.location.top};
  l.surface = {0, 0, width, std::max(l.time.top, 0)};
  return l;
}

// ---- Surface and still pane ------------------------------------------------------------------

void LyrWorkspaceVideoVideoView::OnPaint(draw::Dc& dc) {
  const ui::Rect client = GetClientRect();
  CVPInfoExchange* video = video_;
  double s = 0.0, e = 0.0;
  if (video != nullptr && video->IsBound() && video->FindPlayRange(0, video->CurrentTime, s, e) != 0) {
    dc.FillSolidRect(client, draw::Rgb(0, 0, 0));
    video->ShowVideo(1);
    QlmNativeDc handle{&dc, &DrawBits};
    video->PaintVideo(&handle);
    return;
  }
  if (video != nullptr) video->ShowVideo(0);
  dc.FillSolidRect(client, kNoPictureBlue);
}

void LyrWorkspaceVideoVideoView::OnSize(std::uint32_t, int, int) {
  CVPInfoExchange* video = video_;
  if (video == nullptr || !video->IsBound() || DocumentLoaded == 0) return;
  video->SetVideoWindowPosition();
  if (video->CurrentFile == -1) Invalidate();
}

std::intptr_t LyrWorkspaceVideoVideoView::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == kVideoRepaintMessage) {
    Invalidate(false);
    return 0;
  }
  return ui::Window::WindowProc(msg, wParam, lParam);
}

void LyrWorkspaceVideoViewPauseOnly::OnPaint(draw::Dc& dc) { dc.FillSolidRect(GetClientRect(), kStillBlue); }

// ---- Clock line ------------------------------------------------------------------------------

std::string LyrWorkspaceVideoTimeView::FormatClock(double t, bool clockDisplay,
                                                   const std::array<std::uint16_t, 7>& start) {
  const auto whole = static_cast<std::int64_t>(std::max(t, 0.0));
  char text[48];
  if (clockDisplay && start[0] >= 1970 && start[0] <= 2037) {
    const CalendarTime c = AddSeconds({start[0], start[1], start[2], start[3], start[4], start[5]}, whole);
    std::snprintf(text, sizeof text, "%02d/%02d/%02d  %02d:%02d:%02d", c.year % 100, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
  }
  const CalendarTime base = clockDisplay ? CalendarTime{2002, 9, 1, start[3], start[4], start[5]}
                                         : CalendarTime{2002, 9, 1, 0, 0, 0};
  const CalendarTime c = AddSeconds(base, whole);
  std::snprintf(text, sizeof text, "%02d.%02d:%02d:%02d", c.day, c.hour, c.minute, c.second);
  return text;
}

void LyrWorkspaceVideoTimeView::ShowTime(int force) {
  CVPInfoExchange* video = video_;
  CQLM2_AnalyzerDoc* doc = DocOf(CQLM2_AnalyzerDoc::MainFrame());
  if (video == nullptr || !video->IsBound() || doc == nullptr || DocumentLoaded == 0) return;
  const double t = std::max(video->CurrentTime - video->AnalysisStartSeconds, 0.0);
  const std::string text = FormatClock(t, ClockTimeDisplay == 1, doc->RecordInfo.startDateTime);
  if (text == LastText && force == 0) return;
  LastText = text;
  ++Draws;
  if (!IsWindow()) return;
  ui::ClientDc client(*this);
  if (client.IsValid()) DrawText(client.dc(), text);
}

void LyrWorkspaceVideoTimeView::OnPaint(draw::Dc& dc) {
  dc.FillSolidRect(GetClientRect(), draw::Rgb(255, 255, 255));
  if (!LastText.empty()) DrawText(dc, LastText);
}

void LyrWorkspaceVideoTimeView::DrawText(draw::Dc& dc, const std::string& text) {
  const int w = GetClientRect().Width();
  const draw::Font oldFont = dc.SelectFont(draw::Font(DisplayFonts[2]));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::Size extent = dc.GetTextExtent(text);
  // The text ends at the right edge, in a white box that wipes the time drawn before.
  const draw::ColorRef oldColour = dc.SetTextColor(draw::Rgb(255, 255, 255));
  dc.TextOut(w - extent.cx - 5, 5, text);
  dc.FillSolidRect(draw::Rect{0, 5, w, 5 + extent.cy}, draw::Rgb(255, 255, 255));
  dc.SetTextColor(draw::Rgb(0, 0, 0));
  dc.TextOut(w - extent.cx - 4, 5, text);
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
  dc.SelectFont(oldFont);
}

// ---- Base view -------------------------------------------------------------------------------

LyrWorkspaceVideoBaseView::LyrWorkspaceVideoBaseView(CVPInfoExchange*& video, const VideoBarFlags& flags)
    : video_(video), flags_(flags) {}
LyrWorkspaceVideoBaseView::~LyrWorkspaceVideoBaseView() = default;

int LyrWorkspaceVideoBaseView::OnCreate() {
  surface_ = std::make_unique<LyrWorkspaceVideoVideoView>(video_);
  if (!surface_->Create(this, 1, GetClientRect())) {
    ui::MessageBox("LyrWorkspaceVideoVideoView::Create");
    surface_.reset();
  } else {
    surface_->SetWindowText("VideoVideoView");
    surface_->Handle = HandleOf(surface_.get(), kVideoRepaintMessage);
  }
  time_ = std::make_unique<LyrWorkspaceVideoTimeView>(video_);
  if (!time_->Create(this, 2, {})) {
    ui::MessageBox("LyrWorkspaceVideoTimeView::Create");
    time_.reset();
  } else {
    time_->SetWindowText("VideoTimeView");
  }
  location_ = std::make_unique<LyrWorkspaceVideoLocationView>(video_);
  if (!location_->Create(this, 3, {})) {
    ui::MessageBox("LyrWorkspaceVideoLocationView::Create");
    location_.reset();
  } else {
    location_->SetWindowText("VideoLocationView");
  }
  still_ = std::make_unique<LyrWorkspaceVideoViewPauseOnly>();
  if (!still_->Create(this, 4, {}, false)) {
    ui::MessageBox("LyrWorkspaceVideoViewPauseOnly::Create");
    still_.reset();
  } else {
    still_->SetWindowText("VideoViewPauseOnly");
  }
  return 0;
}

void LyrWorkspaceVideoBaseView::OnSize(std::uint32_t, int, int) { Relayout(); }

void LyrWorkspaceVideoBaseView::Relayout() {
  const ui::Rect client = GetClientRect();
  CVPInfoExchange* video = video_;
  const bool bound = video != nullptr && video->IsBound();
  ui::Window* panes[] = {surface_.get(), time_.get(), location_.get(), still_.get()};
  if (!bound) {
    // Without a video every pane is out of sight.
    for (ui::Window* p : panes)
      if (p != nullptr && p->IsWindow()) {
        p->MoveWindow({});
        p->ShowWindow(ui::SW_HIDE);
      }
    return;
  }
  const VideoPaneLayout l = LayoutVideoPanes(client.Width(), client.Height(), flags_);
  if (location_ && location_->IsWindow()) {
    location_->MoveWindow(l.location);
    location_->ShowWindow(l.location.Height() > 0 ? ui::SW_SHOW : ui::SW_HIDE);
  }
  if (time_ && time_->IsWindow()) {
    time_->MoveWindow(l.time);
    time_->ShowWindow(l.time.Height() > 0 ? ui::SW_SHOW : ui::SW_HIDE);
  }
  if (surface_ && surface_->IsWindow()) surface_->MoveWindow(l.surface);
  if (still_ && still_->IsWindow()) still_->MoveWindow(l.surface);
  ShowVideoOrStill();
}

void LyrWorkspaceVideoBaseView::ShowVideoOrStill() {
  CVPInfoExchange* video = video_;
  double s = 0.0, e = 0.0;
  const bool inRange = video != nullptr && video->IsBound() && video->FindPlayRange(0, video->CurrentTime, s, e) != 0;
  if (surface_ && surface_->IsWindow()) {
    surface_->ShowWindow(inRange || !still_ ? ui::SW_SHOW : ui::SW_HIDE);
    surface_->Invalidate();
  }
  if (still_ && still_->IsWindow()) {
    still_->ShowWindow(inRange ? ui::SW_HIDE : ui::SW_SHOW);
    still_->Invalidate();
  }
}

// ---- Frame -----------------------------------------------------------------------------------

LyrWorkspaceVideoFrame::LyrWorkspaceVideoFrame() { MapTransportCommands(); }

LyrWorkspaceVideoFrame::~LyrWorkspaceVideoFrame() {
  if (Video == nullptr) return;
  // The player's thread posts to these windows: it stops before they go.
  if (Video->IsBound() && Video->Host == this) Video->Stop();
  if (Video->Host == this) Video->Host = nullptr;
}

bool LyrWorkspaceVideoFrame::CreateIn(ui::Window* pane) {
  if (IsWindow()) return true;
  if (pane == nullptr || !pane->IsWindow()) return false;
  if (!CreateDocked(pane, 0, nullptr)) return false;
  SetWindowText("WorkspaceVideoFrame");
  // A child of the pane from the start, as after docking.
  Dock();
  Docked = 1;
  return true;
}

bool LyrWorkspaceVideoFrame::OnCreateClient(ui::CreateContext*) {
  auto base = std::make_unique<LyrWorkspaceVideoBaseView>(Video, Bars);
  if (!base->Create(this, ui::AFX_IDW_PANE_FIRST, GetClientRect())) {
    ui::MessageBox("LyrWorkspaceVideoFrame::OnCreate");
    return true;
  }
  base->SetWindowText("VideoBaseView");
  base_ = Adopt(std::move(base));
  return true;
}

int LyrWorkspaceVideoFrame::OnCreate() {
  if (ui::DockFrame::OnCreate() != 0) return -1;
  handle_ = HandleOf(this, 0);
  if (!bar_.CreateBar(this, LyrWorkspaceDlgVideoBar::kTemplateId, LyrWorkspaceDlgVideoBar::kTemplateId)) {
    ui::MessageBox("LyrWorkspaceDlgVideoBar::Create");
  } else {
    bar_.SetTitle("VideoToolBar");
    DockControlBar(&bar_);
    ShowControlBar(&bar_, Bars.toolBar != 0);
    bar_.Item(static_cast<int>(LyrWorkspaceDlgVideoBar::kMark)).Enable(false);
  }
  if (LyrWorkspaceVideoLocationView* bar = LocationBar()) {
    bar->CanSeek = [this] { return CanSeek(); };
    bar->Seek = [this](double t) { SeekFromLocationBar(t); };
  }
  return 0;
}

LyrWorkspaceVideoLocationView* LyrWorkspaceVideoFrame::LocationBar() const {
  return base_ != nullptr ? base_->LocationView() : nullptr;
}

LyrWorkspaceVideoTimeView* LyrWorkspaceVideoFrame::TimeBar() const {
  return base_ != nullptr ? base_->TimeView() : nullptr;
}

CQLM2_AnalyzerDoc* LyrWorkspaceVideoFrame::Doc() const { return DocOf(Main); }

bool LyrWorkspaceVideoFrame::VideoReady() const {
  return DocumentLoaded != 0 && Video != nullptr && Video->IsBound();
}

void LyrWorkspaceVideoFrame::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::DockFrame::OnSize(sizeType, cx, cy);
  if (DocumentLoaded == 0 || Main == nullptr) return;
  // A floating window shows whatever pane the workspace has forward.
  const bool forward = Docked == 0 || Main->WorkspaceTabs.CurrentPane == kVideoPaneId;
  VideoShowingFlag = sizeType != ui::SIZE_MINIMIZED && forward ? 1 : 0;
}

void LyrWorkspaceVideoFrame::ArmPlayClock() {
  // The clock ticks at the picture rate: a zero period would keep a processor busy.
  const double fd = Video != nullptr ? Video->GetFrameDuration() : 0.0;
  const int ms = fd > 0.0 ? std::clamp(static_cast<int>(fd * 1000.0), 10, 200) : 33;
  SetTimer(kVideoPlayTimer, static_cast<std::uint32_t>(ms));
}

void LyrWorkspaceVideoFrame::OnTimer(std::uint32_t id) {
  if (id != kVideoPlayTimer) return;
  KillTimer(kVideoPlayTimer);
  if (Video != nullptr) Video->OnPlayTimer();
  if (Playing) ArmPlayClock();
}

std::intptr_t LyrWorkspaceVideoFrame::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (Video != nullptr && Video->IsBound() && DocumentLoaded != 0 && (Main == nullptr || Main->AutoPlayStart == 0 ||
                                                                       Video->ActiveAutoPlayEntry != -1))
    Video->OnPlayerNotify(msg);
  return ui::DockFrame::WindowProc(msg, wParam, lParam);
}

void LyrWorkspaceVideoFrame::SetPlaying() {
  const bool active = Video != nullptr && Video->IsBound();
  LyrWorkspaceMarkView* marks = nullptr;
  if (Main != nullptr)
    if (LyrWorkspaceDummyView* ws = Main->WorkspaceView()) marks = ws->MarkView();
  if (!Playing) {
    Playing = true;
    if (active) {
      Video->Play();
      if (IsWindow()) ArmPlayClock();
    }
  } else {
    Playing = false;
    if (IsWindow()) KillTimer(kVideoPlayTimer);
    if (active) Video->Stop();
  }
  if (bar_.IsWindow()) {
    bar_.Item(static_cast<int>(LyrWorkspaceDlgVideoBar::kRunStop)).SetText(res::LoadString(Playing ? kIdsStop : kIdsRun));
    bar_.Item(static_cast<int>(LyrWorkspaceDlgVideoBar::kMark)).Enable(Playing);
  }
  // Marks are not deleted under a playing video.
  if (marks != nullptr && marks->IsWindow()) marks->EnableMarkButton(!Playing);
  if (Main != nullptr) Main->VideoPlaying = Playing ? 1 : 0;
}

void LyrWorkspaceVideoFrame::ShowVideoAtTime(double seconds) {
  ShownTime = seconds;
  if (Video != nullptr && Video->IsBound()) Video->ShowVideoAtTime(seconds);
}

// ---- Transport commands ----------------------------------------------------------------------

void LyrWorkspaceVideoFrame::MapTransportCommands() {
  using Bar = LyrWorkspaceDlgVideoBar;
  MapCommand(Bar::kRunStop, [this] { SetPlaying(); });
  MapUpdate(Bar::kRunStop, [this](ui::CmdUI& c) {
    double s = 0.0, e = 0.0;
    const bool ok = VideoReady() && Video->FindPlayRange(0, Video->CurrentTime, s, e) != 0 && Video->CurrentTime < e;
    c.Enable(ok);
  });
  MapCommand(Bar::kSkipBack, [this] { OnSkip(false); });
  MapUpdate(Bar::kSkipBack, [this](ui::CmdUI& c) {
    double s = 0.0, e = 0.0;
    c.Enable(VideoReady() && !Playing && Video->FindPlayRange(2, Video->CurrentTime, s, e) != 0);
  });
  MapCommand(Bar::kSkipForward, [this] { OnSkip(true); });
  MapUpdate(Bar::kSkipForward, [this](ui::CmdUI& c) {
    double s = 0.0, e = 0.0;
    c.Enable(VideoReady() && !Playing && Video->FindPlayRange(1, Video->CurrentTime, s, e) != 0);
  });
  MapCommand(Bar::kFrameBack, [this] {
    if (VideoReady()) Video->StepFrame(4);
  });
  MapUpdate(Bar::kFrameBack, [this](ui::CmdUI& c) {
    double s = 0.0, e = 0.0;
    bool ok = VideoReady() && Video->FindPlayRange(0, Video->CurrentTime, s, e) != 0;
    if (!ok && VideoReady() && Video->FindPlayRange(2, Video->CurrentTime, s, e) != 0)
      ok = Video->CurrentTime - e < kStepGapSeconds;
    c.Enable(ok);
  });
  MapCommand(Bar::kFrameForward, [this] {
    if (VideoReady()) Video->StepFrame(5);
  });
  MapUpdate(Bar::kFrameForward, [this](ui::CmdUI& c) {
    double s = 0.0, e = 0.0;
    bool ok = VideoReady() && Video->FindPlayRange(0, Video->CurrentTime, s, e) != 0;
    if (!ok && VideoReady() && Video->FindPlayRange(1, Video->CurrentTime, s, e) != 0)
      ok = s - Video->CurrentTime < kStepGapSeconds;
    c.Enable(ok);
  });
  MapCommand(Bar::kMark, [this] { ShowMarkMenu(); });
  MapUpdate(Bar::kMark, [this](ui::CmdUI& c) {
    c.Enable(DocumentLoaded != 0 && Playing);
    c.SetCheck(0);
  });
  MapCommand(Bar::kFloat, [this] { OnFloatButton(); });
  MapUpdate(Bar::kFloat, [this](ui::CmdUI& c) {
    c.Enable(VideoReady());
    c.SetCheck(Docked == 0 ? 1 : 0);
  });
  MapCommandRange(kCmdVideoPreMark, kCmdVideoPreMark + 10, [this](std::uint32_t id) {
    SetMarkRange(PendingMarkStart, PendingMarkEnd, static_cast<int>(id - kCmdVideoPreMark));
  });
}

void LyrWorkspaceVideoFrame::OnSkip(bool forward) {
  if (!VideoReady()) return;
  const double now = Video->CurrentTime;
  double s = 0.0, e = 0.0;
  bool found = false;
  if (forward) {
    found = Video->FindPlayRange(1, now, s, e) != 0;
  } else {
    // Within the first frames of its range the current time goes to the previous range.
    const double fd = Video->GetFrameDuration();
    found = Video->FindPlayRange(0, now, s, e) != 0 && now - s > 2.0 * std::max(fd, 0.0);
    if (!found) found = Video->FindPlayRange(2, now, s, e) != 0;
  }
  if (!found) return;
  if (VideoSynchronised()) {
    // The wave move must not move the video back: the flag is off meanwhile.
    SetVideoSynchronised(false);
    SyncWaveToVideo(std::max(s - Video->AnalysisStartSeconds, 0.0));
    SetVideoSynchronised(true);
  }
  Video->ShowVideoAtTime(s);
  if (forward && base_ != nullptr && base_->Surface() != nullptr) base_->Surface()->Invalidate();
  UpdateLocationBar();
}

void LyrWorkspaceVideoFrame::OnFloatButton() {
  // The button stands for the state it was clicked into: pressed floats, released docks.
  if (Docked != 0) {
    FloatVideoWindow();
  } else {
    DockVideoWindow();
  }
}

void LyrWorkspaceVideoFrame::FloatVideoWindow() {
  if (!IsWindow()) return;
  Float();
  SetWindowText("WorkspaceVideoFrame");
  Docked = 0;
  VideoShowingFlag = 1;
  RelayoutPanes();
}

void LyrWorkspaceVideoFrame::DockVideoWindow() {
  if (!IsWindow()) return;
  Dock();
  Docked = 1;
  int pane = -1;
  if (Main != nullptr) pane = Main->WorkspaceTabs.CurrentPane;
  VideoShowingFlag = pane == kVideoPaneId ? 1 : 0;
  RelayoutPanes();
}

void LyrWorkspaceVideoFrame::RelayoutPanes() {
  if (base_ == nullptr || !base_->IsWindow()) return;
  base_->Relayout();
  base_->Invalidate();
  base_->UpdateWindow();
}

bool LyrWorkspaceVideoFrame::CanSeek() const {
  return Video != nullptr && Video->IsBound() && !Playing && (Main == nullptr || Main->AutoPagingMode != 2);
}

void LyrWorkspaceVideoFrame::SeekFromLocationBar(double t) {
  if (!CanSeek()) return;
  if (VideoSynchronised()) SyncWaveToVideo(t - Video->AnalysisStartSeconds);
  Video->ShowVideoAtTime(t);
}

// ---- Marks -----------------------------------------------------------------------------------

void LyrWorkspaceVideoFrame::ShowMarkMenu() {
  ++MarkMenuRuns;
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || Video == nullptr || doc->Marks.MarksPresent() == 0 || doc->Marks.FlagLength() < 1) return;
  for (int t = 0; t < kMarkTypeCount; ++t)
    if (doc->Marks.Flags(t) == nullptr) return;
  if (MenuState == -1) {
    MenuState = 0;
    PendingMarkStart = Video->CurrentTime;
    return;
  }
  MenuState = 1;
  PendingMarkEnd = Video->CurrentTime;
  ResumeAfterMark = false;
  if (Playing) {
    ResumeAfterMark = true;
    SetPlaying();
  }
  ui::Menu menu;
  menu.AppendItem(kCmdVideoPreMark, res::LoadString(kIdsPreMark) + "(&+)");
  menu.AppendSeparator();
  int n = 0;
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const auto& item = doc->Params.markType.items[static_cast<std::size_t>(t)];
    if (item.show != 1 || item.triggerDetect != 1) continue;
    ++n;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "(&%d)", n);
    menu.AppendItem(kCmdVideoPreMark + static_cast<std::uint32_t>(n), item.name + suffix);
  }
  const ui::PopupPosition at = ui::GetCursorPos();
  const std::uint32_t chosen = ui::TrackPopupMenu(menu, at, this, ui::TPM_RETURNCMD);
  MenuState = -1;
  if (chosen != 0) {
    SetMarkRange(PendingMarkStart, PendingMarkEnd, static_cast<int>(chosen - kCmdVideoPreMark));
  } else {
    // Dismissed: playback stays stopped.
    ResumeAfterMark = false;
  }
}

void LyrWorkspaceVideoFrame::SetMarkRange(double start, double end, int index) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc != nullptr && doc->Marks.FlagLength() >= 1) {
    MarkTable& marks = doc->Marks;
    auto a = static_cast<std::int64_t>(start * 10.0);
    auto b = static_cast<std::int64_t>(end * 10.0);
    if (a > b) std::swap(a, b);
    const std::int64_t length = marks.FlagLength();
    int type = -1;
    std::int64_t from = a;
    if (index >= 1 && index <= 10) {
      int n = 0;
      for (int t = 0; t < kMarkTypeCount && type < 0; ++t) {
        const auto& item = doc->Params.markType.items[static_cast<std::size_t>(t)];
        if (item.show == 1 && item.triggerDetect == 1 && ++n == index) type = t;
      }
    } else if (index == 0) {
      // The nearest earlier mark within 5 s carries on to the end.
      for (std::int64_t p = a; p >= a - 50 && p >= 1 && type < 0; --p) {
        for (int t = 0; t < kMarkTypeCount; ++t) {
          const std::uint8_t* flags = marks.Flags(t);
          if (p < length && flags != nullptr && flags[p] != 0) {
            type = t;
            from = p;
            break;
          }
        }
      }
    }
    const std::int64_t to = std::min(b, length);
    if (type >= 0 && from < to && from >= 0) {
      // The flags and the span list change together, so that the mark list and a result
      // file written later both hold the new mark.
      marks.SetPoints(type, static_cast<int>(from), static_cast<int>(to), 1);
      marks.SetMarksPresent(1);
      if (ResultModifiedState == 1) ResultModifiedState = 2;
    }
    if (Main != nullptr) {
      Main->RefreshAllViews(-1);
      if (LyrWorkspaceDummyView* ws = Main->WorkspaceView()) {
        if (LyrWorkspaceMarkView* list = ws->MarkView()) {
          // A hidden list is refilled when it is shown next.
          list->MarkForRefill();
          if (Main->WorkspaceTabs.CurrentPane == kMarkPaneId) list->UpdateMarkList();
        }
      }
    }
  }
  MenuState = -1;
  if (ResumeAfterMark) {
    ResumeAfterMark = false;
    if (!Playing) SetPlaying();
  }
}

// ---- CVPHost ---------------------------------------------------------------------------------

void* LyrWorkspaceVideoFrame::FrameWindowHandle() { return IsWindow() ? &handle_ : nullptr; }

void* LyrWorkspaceVideoFrame::SurfaceWindowHandle() {
  LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr;
  return s != nullptr && s->IsWindow() ? &s->Handle : nullptr;
}

void LyrWorkspaceVideoFrame::SurfaceClientSize(int& width, int& height) {
  width = height = 0;
  LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr;
  if (s == nullptr || !s->IsWindow()) return;
  const ui::Rect r = s->GetClientRect();
  width = r.Width();
  height = r.Height();
}

void LyrWorkspaceVideoFrame::SetSurfaceRedraw(bool on) {
  if (LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr) s->Redraw = on ? 1 : 0;
}

void LyrWorkspaceVideoFrame::FitToPane() {
  if (Docked == 0 || !IsWindow() || Host() == nullptr) return;
  FitToHost();
}

void LyrWorkspaceVideoFrame::RefreshSurface() {
  FitToPane();
  if (base_ != nullptr && base_->IsWindow()) base_->Relayout();
  LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr;
  if (s == nullptr || !s->IsWindow()) return;
  const ui::Rect r = s->GetClientRect();
  s->OnSize(0, r.Width(), r.Height());
  s->Invalidate();
  s->UpdateWindow();
}

void LyrWorkspaceVideoFrame::ShowSurfacePane() {
  if (base_ == nullptr) return;
  if (LyrWorkspaceVideoVideoView* s = base_->Surface(); s != nullptr && s->IsWindow()) s->ShowWindow(ui::SW_SHOW);
  if (LyrWorkspaceVideoViewPauseOnly* still = base_->Still(); still != nullptr && still->IsWindow())
    still->ShowWindow(ui::SW_HIDE);
}

void LyrWorkspaceVideoFrame::ShowNoPicture() {
  if (LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr; s != nullptr && s->IsWindow())
    s->Invalidate();
}

void LyrWorkspaceVideoFrame::RefreshPanes() {
  FitToPane();
  if (base_ != nullptr && base_->IsWindow()) base_->ShowVideoOrStill();
}

void LyrWorkspaceVideoFrame::UpdateLocationBar() {
  if (LyrWorkspaceVideoLocationView* bar = LocationBar()) bar->UpdateBar();
}

void LyrWorkspaceVideoFrame::ShowTime(int force) {
  if (LyrWorkspaceVideoTimeView* t = TimeBar()) t->ShowTime(force);
}

bool LyrWorkspaceVideoFrame::VideoSynchronised() { return Main != nullptr && Main->VideoFollowsWave != 0; }

void LyrWorkspaceVideoFrame::SetVideoSynchronised(bool on) {
  if (Main != nullptr) Main->VideoFollowsWave = on ? 1 : 0;
}

void LyrWorkspaceVideoFrame::SyncWaveToVideo(double seconds) {
  if (LyrWorkspaceDummyView* ws = Main != nullptr ? Main->WorkspaceView() : nullptr) ws->SyncWaveToVideo(seconds);
}

std::array<std::uint16_t, 3> LyrWorkspaceVideoFrame::SplitWords() {
  CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? doc->VideoSplit : std::array<std::uint16_t, 3>{0, 0, 0};
}

void LyrWorkspaceVideoFrame::SetSplitWords(const std::array<std::uint16_t, 3>& words) {
  if (CQLM2_AnalyzerDoc* doc = Doc()) doc->VideoSplit = words;
}

double LyrWorkspaceVideoFrame::RecordingStartOffset() {
  CQLM2_AnalyzerDoc* doc = Doc();
  const int c = doc != nullptr ? FastestChannel(*doc) : -1;
  if (c < 0 || doc->ChInfo[static_cast<std::size_t>(c)].rate <= 0) return 0.0;
  return static_cast<double>(doc->ChInfo[static_cast<std::size_t>(c)].startOffset) /
         static_cast<double>(doc->ChInfo[static_cast<std::size_t>(c)].rate);
}

double LyrWorkspaceVideoFrame::HighestSamplingRate() {
  CQLM2_AnalyzerDoc* doc = Doc();
  const int c = doc != nullptr ? FastestChannel(*doc) : -1;
  return c < 0 ? 1.0 : std::max(1.0, static_cast<double>(doc->ChInfo[static_cast<std::size_t>(c)].rate));
}

double LyrWorkspaceVideoFrame::RecordingSeconds() {
  CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? static_cast<double>(doc->RecordSeconds) : 0.0;
}

double LyrWorkspaceVideoFrame::EpochSeconds() { return static_cast<double>(::EpochSeconds); }

std::string LyrWorkspaceVideoFrame::VideoName() { return Main != nullptr ? Main->VideoFilePath : std::string{}; }

void LyrWorkspaceVideoFrame::ClearVideoName() {
  if (Main != nullptr) Main->VideoFilePath.clear();
}

void LyrWorkspaceVideoFrame::ShowAutoPlayDialog(int entry) {
  ++AutoPlayDialogs;
  // A preview run from the auto-play list brings the list back when it ends.
  if (Main != nullptr)
    if (LyrWorkspaceDummyView* view = Main->WorkspaceView()) view->VideoDialogs.ShowAutoPlayAfterRun(entry);
}

std::array<int, 4> LyrWorkspaceVideoFrame::SurfaceScreenRect() {
  LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr;
  if (s == nullptr || !s->IsWindow()) return {0, 0, 0, 0};
  const ui::Rect r = s->GetClientRect();
  const ui::Point at = s->ClientToScreen({0, 0});
  return {at.x, at.y, at.x + r.Width(), at.y + r.Height()};
}

void LyrWorkspaceVideoFrame::PlaceSurface(const std::array<int, 4>& screenRect) {
  LyrWorkspaceVideoVideoView* s = base_ != nullptr ? base_->Surface() : nullptr;
  if (s == nullptr || !s->IsWindow()) return;
  const ui::Point at = base_->ScreenToClient({screenRect[0], screenRect[1]});
  s->MoveWindow({at.x, at.y, at.x + screenRect[2] - screenRect[0], at.y + screenRect[3] - screenRect[1]});
}

void LyrWorkspaceVideoFrame::BeginWait(int count) {
  auto dlg = std::make_unique<LyrWorkspaceDlgWait>();
  if (!dlg->CreateModeless(Main)) return;
  dlg->SetMessage(res::LoadString(kIdsLoadingMovies));
  dlg->SetRange(0, count);
  wait_ = std::move(dlg);
}

void LyrWorkspaceVideoFrame::StepWait(int index) {
  if (auto* dlg = dynamic_cast<LyrWorkspaceDlgWait*>(wait_.get())) dlg->SetPos(index);
}

void LyrWorkspaceVideoFrame::EndWait() {
  if (wait_ && wait_->IsWindow()) wait_->DestroyWindow();
  wait_.reset();
}
