// The frame's timers (automatic paging, held-key scrolling, the screening step)
// and the paging commands of the View menu and the epoch tool bar.
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"
#include "platform/system/key_state.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kCmdPreviousEpoch = 32783;
constexpr std::uint32_t kCmdNextEpoch = 32784;
constexpr std::uint32_t kCmdAutoPreviousEpoch = 32785;
constexpr std::uint32_t kCmdAutoNextEpoch = 32786;
constexpr std::uint32_t kCmdStopEpoch = 32787;
constexpr std::uint32_t kCmdPreviousPage = 32793;
constexpr std::uint32_t kCmdAutoPreviousPage = 32794;
constexpr std::uint32_t kCmdNextPage = 32795;
constexpr std::uint32_t kCmdAutoNextPage = 32796;
constexpr std::uint32_t kCmdStopPage = 32798;
constexpr std::uint32_t kCmdWaitingTime = 32799;
constexpr std::uint32_t kCmdAutoScroll = 33103;
constexpr std::uint32_t kStrAutoScrollIdle = 2422;
constexpr std::uint32_t kStrAutoScrollRunning = 2423;

std::uint32_t WaitingPeriodMs() { return WaitingTime > 0 ? static_cast<std::uint32_t>(WaitingTime) * 1000u : 0u; }

}  // namespace

void CMainFrame::OnTimer(std::uint32_t id) {
  switch (id) {
    case kTimerAutoPaging: {
      if (AutoPagingMode == 0) break;
      KillTimer(kTimerAutoPaging);
      int moved = 0;
      switch (AutoPagingMode) {
        case 1: moved = StepPreviousEpoch(); break;
        case 2: moved = StepNextEpoch(0); break;
        case 3: moved = StepPreviousPage(); break;
        case 4: moved = StepNextPage(); break;
        default: break;
      }
      if (moved != 0) SetTimer(kTimerAutoPaging, WaitingPeriodMs());
      else if (AutoPagingMode <= 2) StopAutoEpoch();
      else StopAutoPage();
      break;
    }
    case kTimerHeldKeyScroll: {
      if (ScrollDirection == 0) break;
      KillTimer(kTimerHeldKeyScroll);
      if (sys::IsKeyDown(sys::VirtualKey::Shift)) {
        SetTimer(kTimerHeldKeyScroll, kHeldKeyScrollMs);
        break;
      }
      // Shift released: one page against the scroll direction.
      if (CQLM2_AnalyzerDoc* doc = GetDocument()) {
        const int page = ScrollDirection < 0 ? doc->CurrentPage + 1 : doc->CurrentPage - 1;
        SetPageByEpoch(page, -1);
      }
      ScrollDirection = 0;
      break;
    }
    case kTimerAviCapture:
      OnAviCaptureStep();
      break;
    case kTimerAviSpeedCheck:
      OnAviSpeedCheckStep();
      break;
    case kTimerScreeningStep:
      if (ScreeningRunning != 1) break;
      KillTimer(kTimerScreeningStep);
      if (StepNextPageWhileScreening() == 1) {
        SetTimer(kTimerScreeningStep, 0);
        break;
      }
      FinishScreenedRecording();
      break;
    default:
      break;
  }
  ui::Frame::OnTimer(id);
}

int CMainFrame::StepPreviousEpoch() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || doc->CurrentEpoch <= 0) return 0;
  HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_LEFT, 0, 0);
  return 1;
}

int CMainFrame::StepNextEpoch(std::uint16_t source) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || doc->CurrentEpoch >= NavEpochCount(*doc) - 1) return 0;
  HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_RIGHT, 0, source);
  return 1;
}

int CMainFrame::StepPreviousPage() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || doc->CurrentPage <= 0) return 0;
  HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_UP, 0, 0);
  return 1;
}

int CMainFrame::StepNextPage() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || doc->CurrentPage >= NavPageCount(*doc) - 1) return 0;
  HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_DOWN, 0, 0);
  return 1;
}

int CMainFrame::StepNextPageWhileScreening() {
  // The run moves the page itself: the pause that throttles a held key has no place here.
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (ScreeningRunning == 1 && doc != nullptr && doc->CurrentPage < NavPageCount(*doc) - 1) {
    SetPageByEpoch(doc->CurrentPage + 1, -1);
    ScreenCurrentPage();
    return 1;
  }
  ScreeningRunning = 0;
  return 0;
}

namespace {
// Arms automatic paging in a mode when the position allows it. The video flag
// only decides whether the timer is armed; the answer follows the position.
int StartAutoPaging(CMainFrame& frame, std::uint16_t mode, bool positionOk, bool needsVideoFollow) {
  if (!positionOk) return 0;
  if (needsVideoFollow && frame.VideoFollowsWave == 0) return 1;
  frame.AutoPagingMode = mode;
  frame.SetTimer(kTimerAutoPaging, WaitingPeriodMs());
  return 1;
}
}  // namespace

int CMainFrame::StartAutoPreviousEpoch() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  return doc != nullptr ? StartAutoPaging(*this, 1, doc->CurrentEpoch > 0, true) : 0;
}

int CMainFrame::StartAutoNextEpoch() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  return doc != nullptr ? StartAutoPaging(*this, 2, doc->CurrentEpoch < NavEpochCount(*doc) - 1, true) : 0;
}

int CMainFrame::StartAutoPreviousPage() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  return doc != nullptr ? StartAutoPaging(*this, 3, doc->CurrentEpoch > 0, true) : 0;
}

int CMainFrame::StartAutoNextPage() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return 0;
  const int result = StartAutoPaging(*this, 4, doc->CurrentPage < NavPageCount(*doc) - 1, false);
  if (result != 0) SetAutoScrollText(res::LoadString(kStrAutoScrollRunning));
  return result;
}

void CMainFrame::StopAutoEpoch() {
  AutoPagingMode = 0;
  KillTimer(kTimerAutoPaging);
}

void CMainFrame::StopAutoPage() {
  SetAutoScrollText(res::LoadString(kStrAutoScrollIdle));
  AutoPagingMode = 0;
  KillTimer(kTimerAutoPaging);
}

void CMainFrame::OnAutoScroll() {
  if (AutoPagingMode == 0) StartAutoNextPage();
  else StopAutoPage();
}

void CMainFrame::OnSetWaitingTime() {
  WriteResumeFile();
  RunWaitTimeDialog();
  WriteResumeFile();
}

void CMainFrame::MapPagingCommands() {
  MapCommand(kCmdPreviousEpoch, [this] { StepPreviousEpoch(); });
  MapCommand(kCmdNextEpoch, [this] { StepNextEpoch(0); });
  MapCommand(kCmdAutoPreviousEpoch, [this] { StartAutoPreviousEpoch(); });
  MapCommand(kCmdAutoNextEpoch, [this] { StartAutoNextEpoch(); });
  MapCommand(kCmdStopEpoch, [this] { StopAutoEpoch(); });
  MapCommand(kCmdPreviousPage, [this] { StepPreviousPage(); });
  MapCommand(kCmdAutoPreviousPage, [this] { StartAutoPreviousPage(); });
  MapCommand(kCmdNextPage, [this] { StepNextPage(); });
  MapCommand(kCmdAutoNextPage, [this] { StartAutoNextPage(); });
  MapCommand(kCmdStopPage, [this] { StopAutoPage(); });
  MapCommand(kCmdWaitingTime, [this] { OnSetWaitingTime(); });
  MapCommand(kCmdAutoScroll, [this] { OnAutoScroll(); });

  // Conditions shared by every paging command.
  auto blocked = [this] {
    return DocumentLoaded == 0 || GetDocument() == nullptr || ScreeningRunning != 0 || MultiScreeningDlg != nullptr;
  };
  auto epoch = [this] { return GetDocument()->CurrentEpoch; };
  auto page = [this] { return GetDocument()->CurrentPage; };
  auto lastEpoch = [this] { return NavEpochCount(*GetDocument()) - 1; };
  auto lastPage = [this] { return NavPageCount(*GetDocument()) - 1; };
  auto videoPlaying = [this] { return VideoOpen != 0 && VideoPlaying != 0; };
  // The check mark is set after the item was unchecked, so a disabled item keeps it greyed.
  MapUpdate(kCmdPreviousEpoch, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || epoch() == 0 || AutoPagingMode != 0));
  });
  MapUpdate(kCmdAutoPreviousEpoch, [=, this](ui::CmdUI& ui) {
    const bool off = blocked() || epoch() == 0 || AutoPagingMode != 0 || videoPlaying();
    ui.Enable(!off);
    ui.SetCheck(AutoPagingMode == 1 ? 1 : 0);
  });
  MapUpdate(kCmdNextEpoch, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || epoch() == lastEpoch() || AutoPagingMode != 0));
  });
  MapUpdate(kCmdAutoNextEpoch, [=, this](ui::CmdUI& ui) {
    const bool off = blocked() || epoch() == lastEpoch() || AutoPagingMode != 0 || videoPlaying();
    ui.Enable(!off);
    ui.SetCheck(AutoPagingMode == 2 && !videoPlaying() ? 1 : 0);
  });
  MapUpdate(kCmdStopEpoch, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || AutoPagingMode == 0 || AutoPagingMode == 3 || AutoPagingMode == 4));
  });
  MapUpdate(kCmdPreviousPage, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || page() == 0 || AutoPagingMode != 0));
    ui.SetCheck(AutoPagingMode == 3 ? 1 : 0);
  });
  MapUpdate(kCmdAutoPreviousPage, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || page() == 0 || AutoPagingMode != 0 || videoPlaying()));
  });
  MapUpdate(kCmdNextPage, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || page() == lastPage() || AutoPagingMode != 0));
  });
  MapUpdate(kCmdAutoNextPage, [=, this](ui::CmdUI& ui) {
    const bool off = blocked() || page() == lastPage() || AutoPagingMode != 0 || videoPlaying();
    ui.Enable(!off);
    ui.SetCheck(!blocked() && AutoPagingMode == 4 && page() == lastPage() ? 1 : 0);
  });
  MapUpdate(kCmdStopPage, [=, this](ui::CmdUI& ui) {
    ui.Enable(!(blocked() || AutoPagingMode == 0 || AutoPagingMode == 1 || AutoPagingMode == 2));
  });
  MapUpdate(kCmdWaitingTime, [=, this](ui::CmdUI& ui) { ui.Enable(!(blocked() || AutoPagingMode != 0)); });
}

void CMainFrame::SetAutoScrollText(const std::string& text) {
  AutoScrollText = text;
  if (EpochBar != nullptr) EpochBar->SetAutoScrollText(text);
}

void CMainFrame::RunWaitTimeDialog() {
  LyrDlgWaitTime dlg(this);
  dlg.DoModal();
}
