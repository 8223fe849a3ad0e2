#include "app/video/lyr_workspace_video_frame.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/video/lyr_workspace_dlg_wait.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"

namespace {

constexpr std::uint32_t kIdsLoadingMovies = 2426;
constexpr draw::ColorRef kNoPictureBlue = draw::Rgb(0, 0, 250);

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

// The fastest channel of the recording (the first of the highest rate), -1 without one.
int FastestChannel(const CQLM2_AnalyzerDoc& doc) {
  int best = -1;
  for (int c = 0; c < doc.RecordInfo.channelCount && c < static_cast<int>(doc.ChInfo.size()); ++c) {
    if (best < 0 || doc.ChInfo[static_cast<std::size_t>(c)].rate > doc.ChInfo[static_cast<std::size_t>(best)].rate)
      best = c;
  }
  return best;
}

}  // namespace

// ---- Surface ---------------------------------------------------------------------------------

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
  if (video == nullptr || !video->IsBound()) return;
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

// ---- Base view -------------------------------------------------------------------------------

LyrWorkspaceVideoBaseView::LyrWorkspaceVideoBaseView(CVPInfoExchange*& video) : video_(video) {}
LyrWorkspaceVideoBaseView::~LyrWorkspaceVideoBaseView() = default;

int LyrWorkspaceVideoBaseView::OnCreate() {
  surface_ = std::make_unique<LyrWorkspaceVideoVideoView>(video_);
  if (!surface_->Create(this, 1, GetClientRect())) return -1;
  surface_->Handle = HandleOf(surface_.get(), kVideoRepaintMessage);
  return 0;
}

void LyrWorkspaceVideoBaseView::OnSize(std::uint32_t, int cx, int cy) {
  if (surface_ && surface_->IsWindow()) surface_->MoveWindow({0, 0, cx, cy});
}

void LyrWorkspaceVideoBaseView::ShowVideoOrStill() {
  if (surface_ && surface_->IsWindow()) surface_->Invalidate();
}

// ---- Frame -----------------------------------------------------------------------------------

LyrWorkspaceVideoFrame::LyrWorkspaceVideoFrame() = default;

LyrWorkspaceVideoFrame::~LyrWorkspaceVideoFrame() {
  if (Video == nullptr) return;
  // The player's thread posts to these windows: it stops before they go.
  if (Video->IsBound() && Video->Host == this) Video->Stop();
  if (Video->Host == this) Video->Host = nullptr;
}

bool LyrWorkspaceVideoFrame::CreateIn(ui::Window* pane) {
  if (IsWindow()) return true;
  if (pane == nullptr || !pane->IsWindow()) return false;
  return Create(pane, 1, pane->GetClientRect());
}

int LyrWorkspaceVideoFrame::OnCreate() {
  handle_ = HandleOf(this, 0);
  base_ = std::make_unique<LyrWorkspaceVideoBaseView>(Video);
  return base_->Create(this, 1, GetClientRect()) ? 0 : -1;
}

void LyrWorkspaceVideoFrame::OnSize(std::uint32_t, int cx, int cy) {
  if (base_ && base_->IsWindow()) base_->MoveWindow({0, 0, cx, cy});
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
  return ui::Window::WindowProc(msg, wParam, lParam);
}

void LyrWorkspaceVideoFrame::SetPlaying() {
  const bool active = Video != nullptr && Video->IsBound();
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
  if (Main != nullptr) Main->VideoPlaying = Playing ? 1 : 0;
}

void LyrWorkspaceVideoFrame::ShowVideoAtTime(double seconds) {
  ShownTime = seconds;
  if (Video != nullptr && Video->IsBound()) Video->ShowVideoAtTime(seconds);
}

void* LyrWorkspaceVideoFrame::FrameWindowHandle() { return IsWindow() ? &handle_ : nullptr; }

void* LyrWorkspaceVideoFrame::SurfaceWindowHandle() {
  LyrWorkspaceVideoVideoView* s = base_ ? base_->Surface() : nullptr;
  return s != nullptr && s->IsWindow() ? &s->Handle : nullptr;
}

void LyrWorkspaceVideoFrame::SurfaceClientSize(int& width, int& height) {
  width = height = 0;
  LyrWorkspaceVideoVideoView* s = base_ ? base_->Surface() : nullptr;
  if (s == nullptr || !s->IsWindow()) return;
  const ui::Rect r = s->GetClientRect();
  width = r.Width();
  height = r.Height();
}

void LyrWorkspaceVideoFrame::SetSurfaceRedraw(bool on) {
  if (LyrWorkspaceVideoVideoView* s = base_ ? base_->Surface() : nullptr) s->Redraw = on ? 1 : 0;
}

void LyrWorkspaceVideoFrame::FitToPane() {
  ui::Window* pane = IsWindow() ? GetParent() : nullptr;
  if (pane == nullptr) return;
  const ui::Rect want = pane->GetClientRect();
  const ui::Rect have = GetClientRect();
  if (have.Width() != want.Width() || have.Height() != want.Height()) MoveWindow(want);
}

void LyrWorkspaceVideoFrame::RefreshSurface() {
  FitToPane();
  LyrWorkspaceVideoVideoView* s = base_ ? base_->Surface() : nullptr;
  if (s == nullptr || !s->IsWindow()) return;
  const ui::Rect r = s->GetClientRect();
  s->OnSize(0, r.Width(), r.Height());
  s->Invalidate();
  s->UpdateWindow();
}

void LyrWorkspaceVideoFrame::ShowSurfacePane() {
  if (LyrWorkspaceVideoVideoView* s = base_ ? base_->Surface() : nullptr; s != nullptr && s->IsWindow())
    s->ShowWindow(ui::SW_SHOW);
}

void LyrWorkspaceVideoFrame::ShowNoPicture() {
  if (LyrWorkspaceVideoVideoView* s = base_ ? base_->Surface() : nullptr; s != nullptr && s->IsWindow()) s->Invalidate();
}

void LyrWorkspaceVideoFrame::RefreshPanes() {
  FitToPane();
  if (base_ && base_->IsWindow()) base_->ShowVideoOrStill();
}

bool LyrWorkspaceVideoFrame::VideoSynchronised() { return Main != nullptr && Main->VideoFollowsWave != 0; }

void LyrWorkspaceVideoFrame::SetVideoSynchronised(bool on) {
  if (Main != nullptr) Main->VideoFollowsWave = on ? 1 : 0;
}

void LyrWorkspaceVideoFrame::SyncWaveToVideo(double seconds) {
  CQLM2_AnalyzerDoc* doc = Main != nullptr ? Main->GetDocument() : nullptr;
  if (doc == nullptr || ::EpochSeconds <= 0) return;
  const int epoch = static_cast<int>(std::max(seconds, 0.0) / ::EpochSeconds);
  if (epoch != doc->CurrentEpoch) Main->JumpToEpoch(epoch, 1);
}

std::array<std::uint16_t, 3> LyrWorkspaceVideoFrame::SplitWords() {
  CQLM2_AnalyzerDoc* doc = Main != nullptr ? Main->GetDocument() : nullptr;
  return doc != nullptr ? doc->VideoSplit : std::array<std::uint16_t, 3>{0, 0, 0};
}

void LyrWorkspaceVideoFrame::SetSplitWords(const std::array<std::uint16_t, 3>& words) {
  if (CQLM2_AnalyzerDoc* doc = Main != nullptr ? Main->GetDocument() : nullptr) doc->VideoSplit = words;
}

double LyrWorkspaceVideoFrame::RecordingStartOffset() {
  CQLM2_AnalyzerDoc* doc = Main != nullptr ? Main->GetDocument() : nullptr;
  const int c = doc != nullptr ? FastestChannel(*doc) : -1;
  if (c < 0 || doc->ChInfo[static_cast<std::size_t>(c)].rate <= 0) return 0.0;
  return static_cast<double>(doc->ChInfo[static_cast<std::size_t>(c)].startOffset) /
         static_cast<double>(doc->ChInfo[static_cast<std::size_t>(c)].rate);
}

double LyrWorkspaceVideoFrame::HighestSamplingRate() {
  CQLM2_AnalyzerDoc* doc = Main != nullptr ? Main->GetDocument() : nullptr;
  const int c = doc != nullptr ? FastestChannel(*doc) : -1;
  return c < 0 ? 1.0 : std::max(1.0, static_cast<double>(doc->ChInfo[static_cast<std::size_t>(c)].rate));
}

double LyrWorkspaceVideoFrame::RecordingSeconds() {
  CQLM2_AnalyzerDoc* doc = Main != nullptr ? Main->GetDocument() : nullptr;
  return doc != nullptr ? static_cast<double>(doc->RecordSeconds) : 0.0;
}

double LyrWorkspaceVideoFrame::EpochSeconds() { return static_cast<double>(::EpochSeconds); }

std::string LyrWorkspaceVideoFrame::VideoName() { return Main != nullptr ? Main->VideoFilePath : std::string{}; }

void LyrWorkspaceVideoFrame::ClearVideoName() {
  if (Main != nullptr) Main->VideoFilePath.clear();
}

void LyrWorkspaceVideoFrame::ShowAutoPlayDialog(int) { ++AutoPlayDialogs; }

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
