// The frame's AVI timers: 8104 captures the wave display frame by frame into a
// film, 8107 measures how fast frames can be captured.
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kIdsAviCreated = 2487;
constexpr std::uint32_t kIdsAviFailed = 2481;
constexpr std::uint32_t kIdsMaxTime = 2488;
constexpr std::uint32_t kIdsCaptureFailed = 2489;
constexpr std::uint32_t kIdsMakingAvi = 2490;
// The speed check counts 3 x 30 steps.
constexpr int kSpeedCheckSteps = 90;
}  // namespace

void CMainFrame::OnAviCaptureStep() {
  LyrDlgMakeAvi* dlg = MakeAviDlg;
  if (dlg == nullptr) return;
  const std::int64_t now = dlg->NowMs();
  if (dlg->LastTimeMs == -1) {
    dlg->StartTimeMs = now;
    dlg->LastTimeMs = now;
    // The frame keeps its size while the film is made.
    UpdateSizeLimits();
  } else {
    dlg->AccumulatedMs += now - dlg->LastTimeMs;
    dlg->LastTimeMs = now;
    ++dlg->StepCount;
  }
  if (!dlg->CaptureFrame()) {
    KillTimer(kTimerAviCapture);
    AviRunning = 0;
    ui::MessageBeep(ui::MB_ICONASTERISK);
    ui::MessageBox(res::LoadString(kIdsCaptureFailed));
  }
  if (AviRunning != 0 && now - dlg->StartTimeMs > static_cast<std::int64_t>(dlg->MaxFilmSeconds) * 1000) {
    KillTimer(kTimerAviCapture);
    AviRunning = 0;
    ui::MessageBeep(ui::MB_ICONASTERISK);
    ui::MessageBox(res::LoadString(kIdsMaxTime));
  }
  if (AviRunning != 0) return;

  // The capture ended (failure, full length or Escape): close the film.
  KillTimer(kTimerAviCapture);
  dlg->ShowWindow(ui::SW_SHOW);
  dlg->RedrawWindow();
  dlg->ShowCapturingText(res::LoadString(kIdsMakingAvi));
  const bool written = dlg->WriteAviFile();
  dlg->ReleaseCompressor();
  dlg->FreeFrames();
  dlg->m_Capturing = 0;
  UpdateSizeLimits();
  CloseAviDlg();
  MakeAviDlg = nullptr;
  if (written) {
    ui::MessageBeep(ui::MB_ICONASTERISK);
    ui::MessageBox(res::LoadString(kIdsAviCreated));
  } else {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(res::LoadString(kIdsAviFailed));
  }
}

void CMainFrame::OnAviSpeedCheckStep() {
  LyrDlgMakeAvi* dlg = MakeAviDlg;
  if (dlg == nullptr) return;
  const std::int64_t now = dlg->NowMs();
  if (dlg->LastTimeMs == -1) {
    dlg->StartTimeMs = now;
    dlg->LastTimeMs = now;
  } else {
    const std::int64_t interval = now - dlg->LastTimeMs;
    if (interval > dlg->LargestIntervalMs) dlg->LargestIntervalMs = interval;
    dlg->LastTimeMs = now;
    ++dlg->StepCount;
    dlg->SetProgressPos(static_cast<int>(dlg->StepCount * 100.0 / kSpeedCheckSteps));
  }
  if (!dlg->CaptureFrame()) {
    KillTimer(kTimerAviSpeedCheck);
    AviRunning = 0;
    ui::MessageBeep(ui::MB_ICONASTERISK);
    ui::MessageBox(res::LoadString(kIdsCaptureFailed));
  }
  if (dlg->StepCount > kSpeedCheckSteps) AviRunning = 0;
  if (AviRunning != 0) return;
  KillTimer(kTimerAviSpeedCheck);
  dlg->ReleaseCompressor();
  dlg->FreeFrames();
  dlg->ShowMeasuredRate();
  dlg->m_Capturing = 0;
  UpdateSizeLimits();
}
