// The frame's keyboard and wheel navigation, stage keys, and the two moves that
// every way of paging goes through (SetPageByEpoch, JumpToEpoch).
#include <chrono>
#include <thread>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/system/key_state.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

std::uint16_t LearningSampleMode = 0;
std::int32_t ScreeningFileIndex = -1;

int NavEpochsPerPage() { return EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0; }

int NavEpochCount(const CQLM2_AnalyzerDoc& doc) { return doc.GetDivNum(EpochSeconds); }

int NavPageCount(const CQLM2_AnalyzerDoc& doc) {
  // A last part page counts once it holds at least one whole epoch.
  return doc.GetPageNum(PageSeconds, EpochSeconds);
}

std::uint8_t StageCodeOfKey(const StageTypeParam& block, std::uint32_t key) {
  // Codes offered by each stage type, in the order of its records.
  static constexpr std::uint8_t kType0[] = {1, 2, 3, 4, 5, 6, 7};
  static constexpr std::uint8_t kType1[] = {1, 2, 3, 4, 5, 7};
  static constexpr std::uint8_t kType2[] = {1, 2, 3, 5, 7};
  static constexpr std::uint8_t kType3[] = {1, 2, 3, 7};
  std::span<const std::uint8_t> codes;
  const int type = block.stageType <= 2 ? block.stageType : 3;
  switch (type) {
    case 0: codes = kType0; break;
    case 1: codes = kType1; break;
    case 2: codes = kType2; break;
    default: codes = kType3; break;
  }
  const auto records = block.Set(type);
  for (std::size_t i = 0; i < codes.size() && i < records.size(); ++i) {
    if (records[i].key == key) return codes[i];
  }
  for (int f = 0; f < StageTypeParam::kFreeStageCount; ++f) {
    if (block.sharedInUse >= f + 1 && block.shared[static_cast<std::size_t>(f)].key == key)
      return static_cast<std::uint8_t>(8 + f);
  }
  return 0;
}

namespace {

bool IsWorkspaceAccelerator(std::uint32_t ch) {
  switch (ch) {
    case 'z': case 'Z': case 't': case 'T': case 'g': case 'G': case 'a': case 'A':
    case 'm': case 'M': case 'v': case 'V': case 'n': case 'N': return true;
    default: return false;
  }
}

bool IsTrendAccelerator(std::uint32_t ch) {
  switch (ch) {
    case 'r': case 'R': case 'e': case 'E': case 'i': case 'I': return true;
    default: return false;
  }
}

// Keypad digits become the stage key identifiers; identifiers pass unchanged.
std::uint32_t StageKeyOf(std::uint32_t vk) {
  if (vk >= ui::VK_NUMPAD0 && vk <= ui::VK_NUMPAD9) return kStageKeyFirst + (vk - ui::VK_NUMPAD0);
  if (vk >= kStageKeyFirst && vk <= kStageKeyLast) return vk;
  return 0;
}

bool IsNavigationKey(std::uint32_t vk) {
  return vk == ui::VK_CONTROL || vk == ui::VK_PRIOR || vk == ui::VK_NEXT || vk == ui::VK_LEFT || vk == ui::VK_UP ||
         vk == ui::VK_RIGHT || vk == ui::VK_DOWN || StageKeyOf(vk) != 0;
}

}  // namespace

void CMainFrame::DropPendingKey(std::uint32_t key) {
  ui::RemovePendingKeyMessage(ui::WM_KEYDOWN, key);
}

bool CMainFrame::PreTranslateMessage(ui::Message& msg) {
  const bool keyMessage = msg.message == ui::WM_KEYDOWN || msg.message == ui::WM_KEYUP;
  const std::uint16_t low = ui::LowWord(msg.wParam);
  const bool pageKey = low == ui::VK_PRIOR || low == ui::VK_NEXT;
  if (!(ScreeningRunning == 1 && (keyMessage || pageKey)))
    HandleNavigationKey(msg.message, msg.wParam, msg.lParam, 0);
  return ui::Frame::PreTranslateMessage(msg);
}

bool CMainFrame::OnMouseWheel(std::uint32_t flags, int delta, ui::Point screen) {
  const std::uintptr_t w = ui::MakeLong(static_cast<std::uint16_t>(flags), static_cast<std::uint16_t>(delta));
  const std::intptr_t l = ui::MakeLong(static_cast<std::uint16_t>(screen.x), static_cast<std::uint16_t>(screen.y));
  HandleNavigationKey(ui::WM_MOUSEWHEEL, w, l, 0);
  return true;
}

std::uint8_t CMainFrame::SetStageByKey(std::uint32_t key) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  return doc != nullptr ? StageCodeOfKey(doc->Params.stageType, key) : 0;
}

bool CMainFrame::IsShiftScrollStart() {
  const CQLM2_AnalyzerDoc* doc = GetDocument();
  return sys::IsKeyDown(sys::VirtualKey::Shift) && doc != nullptr && doc->PageRows == 1 && ScrollDirection == 0;
}

void CMainFrame::HandleNavigationKey(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                     std::uint16_t source) {
  if (DocumentLoaded == 0) return;
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  int spaceState = -1;
  const std::uint32_t key = static_cast<std::uint32_t>(wParam);

  // 1. Alt+letter accelerators of the trend and workspace windows.
  if (message == ui::WM_SYSCHAR && source == 0) {
    ui::Window* target = nullptr;
    if (IsWorkspaceAccelerator(key)) target = WorkspaceView();
    else if (IsTrendAccelerator(key)) target = TrendView();
    if (target != nullptr) {
      target->SetFocus();
      target->PostMessage(ui::WM_SYSCHAR, wParam, lParam);
    } else {
      ActivateFrame();
    }
  }

  // 2. Keys typed into the edit boxes of the workspace search and trend thresholds
  // belong to them.
  if (source == 0 && EditBoxHasFocus()) return;

  // 3. Navigation keys work wherever the focus was.
  if (ScreeningRunning == 0 && source == 0 && !sys::IsKeyDown(sys::VirtualKey::Control) &&
      (message == ui::WM_KEYDOWN || message == ui::WM_KEYUP)) {
    ui::Window* focus = ui::Window::GetFocus();
    if (focus != nullptr && focus != this) SetFocus();
  }

  // 4. Key-up.
  if (message == ui::WM_KEYUP) {
    if (key == ui::VK_F1) {
      ToggleVideoPlayback();
      return;
    }
    if (key == ui::VK_ESCAPE) AviRunning = 0;
    // Drop the auto-repeat of this key that piled up behind the last step; other
    // messages waiting in the queue stay.
    if (IsNavigationKey(key)) DropPendingKey(key);
    if (key == ui::VK_SPACE && AutoPagingMode == 0) spaceState = 1;
  }

  // 5. Wheel over the raw pane pages.
  if (message == ui::WM_MOUSEWHEEL && ScreeningRunning != 1 && RawPreviewMode == 0) {
    SetCapture();
    const ui::Point pt{ui::LowSigned(static_cast<std::uint64_t>(lParam)), ui::HighSigned(static_cast<std::uint64_t>(lParam))};
    const ui::Window* raw = outerSplitter_ ? outerSplitter_->GetPane(0, 0) : nullptr;
    if (raw != nullptr && raw->GetWindowRect().PtInRect(pt)) {
      const int delta = ui::HighSigned(wParam);
      SetPageByEpoch(delta > 0 ? doc->CurrentPage - 1 : doc->CurrentPage + 1, -1);
    }
    ui::Window::ReleaseCapture();
  }

  // 6. Key-down.
  if (message == ui::WM_KEYDOWN) {
    std::uint8_t code = 0;
    const bool epochIsPage = EpochSeconds == PageSeconds;
    const int E = doc->CurrentEpoch;
    const int P = doc->CurrentPage;
    const int N = NavEpochCount(*doc);
    const int M = NavPageCount(*doc);
    const int R = doc->PageRows;
    switch (key) {
      case ui::VK_LEFT:
        if (epochIsPage && IsShiftScrollStart()) {
          if (E - 1 < 0) break;
          ScrollDirection = -1;
          SetTimer(kTimerHeldKeyScroll, kHeldKeyScrollMs);
        }
        JumpToEpoch(E - 1, 1);
        break;
      case ui::VK_RIGHT:
        if (epochIsPage && IsShiftScrollStart()) {
          if (E + 1 > N - 1) break;
          ScrollDirection = 1;
          SetTimer(kTimerHeldKeyScroll, kHeldKeyScrollMs);
          JumpToEpoch(E + 1, 1);
          break;
        }
        JumpToEpoch(E + 1, source == 2 ? 0 : 1);
        break;
      case ui::VK_UP:
        if (IsShiftScrollStart()) {
          if (P - 1 < 0) break;
          ScrollDirection = -1;
          SetTimer(kTimerHeldKeyScroll, kHeldKeyScrollMs);
        }
        SetPageByEpoch(P - 1, -1);
        break;
      case ui::VK_DOWN:
        if (IsShiftScrollStart()) {
          if (P + 1 > M - 1) break;
          ScrollDirection = 1;
          SetTimer(kTimerHeldKeyScroll, kHeldKeyScrollMs);
        }
        SetPageByEpoch(P + 1, -1);
        break;
      case ui::VK_PRIOR:
        if (!IsShiftScrollStart()) SetPageByEpoch(P - R < 0 ? 0 : P - R, -1);
        break;
      case ui::VK_NEXT:
        if (!IsShiftScrollStart()) SetPageByEpoch(P + R > M - 1 ? M - 1 : P + R, -1);
        break;
      case ui::VK_SPACE:
        spaceState = 0;
        break;
      default:
        if (const std::uint32_t stageKey = StageKeyOf(key); stageKey != 0) code = SetStageByKey(stageKey);
        break;
    }

    // 7. Score the current epoch and move on.
    if (code != 0 && ScrollDirection == 0 && !IsReportDlgOpen()) {
      if (sys::IsKeyDown(sys::VirtualKey::Control)) code = static_cast<std::uint8_t>(code + 20);
      doc->EpochTables.SetStage(E, code);
      if (LearningSampleMode != 0) doc->EpochTables.SetEpochFlag(E, code, 3);
      for (int k = 0; k < 20; ++k) doc->EpochTables.SetCandidate(E, k, 0);
      if (LyrTrendDummyView* trend = TrendView()) {
        // The trend cursor leaves the scored epoch and stands on the next one.
        trend->SetCursorEpoch(-1, -1);
        trend->DrawCursor();
        trend->SetCursorEpoch(-1, E + 1);
        const int perPage = NavEpochsPerPage();
        trend->StageArea.ScrollToEpoch(0, perPage > 0 ? E % perPage : 0, 1);
        trend->TrendArea.SetCursor(E, 0);
        trend->DrawCursor();
      }
      JumpToEpoch(E + 1, 1);
      ResultModifiedState = 2;
      if (LyrWorkspaceDummyView* ws = WorkspaceView())
        if (LyrWorkspaceMarkView* marks = ws->MarkView()) {
          if (doc->Marks.MarksPresent() == 1 &&
              (ws->CurrentPane == LyrWorkspaceDummyView::kMarkListPane || WorkspaceTabs.MarkWindowDocked == 0))
            marks->MarkForRefill();
          marks->UpdateMarkList();
        }
    }

    // 8. Stage labels of the middle row; throttle auto-repeat.
    if (source != 2) RedrawRawFrames(2);
    if (spaceState == -1) {
      if (source == 0 && KeyRepeatPauseMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(KeyRepeatPauseMs));
      else if (source == 1)
        DropPendingKey(key);
    }
  }

  // 9. Space marks the video position while a video is open.
  if (spaceState != -1) MarkVideoPosition(spaceState);
}

bool CMainFrame::EditBoxHasFocus() const {
  const ui::Window* focus = ui::Window::GetFocus();
  if (focus == nullptr) return false;
  const int control = ui::Window::GetFocusControlId();
  const LyrWorkspaceDummyView* ws = WorkspaceView();
  const LyrTrendDummyView* trend = TrendView();
  return (ws != nullptr && ws->IsFreeSearchEdit(focus, control)) ||
         (trend != nullptr && trend->IsThresholdEdit(focus, control));
}

void CMainFrame::ToggleVideoPlayback() {
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->VideoPane.SetPlaying();
}

void CMainFrame::MarkVideoPosition(int spaceState) {
  LyrWorkspaceDummyView* ws = WorkspaceView();
  if (ws == nullptr || !ws->VideoPane.FileOpen) return;
  // Space down opens the mark menu from idle; Space up once it has been opened.
  const int wanted = spaceState == 0 ? -1 : 0;
  if (ws->VideoPane.MenuState == wanted) ws->VideoPane.ShowMarkMenu();
}

void CMainFrame::SetPageByEpoch(std::int32_t page, std::int32_t epoch) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  const int pages = NavPageCount(*doc);
  if (page < 0 || page > pages - 1) return;
  const int perPage = NavEpochsPerPage();
  const int P = doc->CurrentPage;
  if (page == P - 1) {
    doc->CurrentPage = page;
    doc->CurrentEpoch = epoch == -1 ? (page + 1) * perPage - 1 : epoch;
    doc->MovePageRawData(0);
    doc->MovePageDiviedPageFFTData(0);
  } else if (page == P + 1) {
    doc->CurrentPage = page;
    doc->CurrentEpoch = epoch == -1 ? page * perPage : epoch;
    doc->MovePageRawData(1);
    doc->MovePageDiviedPageFFTData(1);
  } else {
    doc->CurrentPage = page;
    doc->CurrentEpoch = epoch == -1 ? page * perPage : epoch;
    doc->SetPageData();
  }
  // The last page may hold fewer epochs than a whole page.
  const int N = NavEpochCount(*doc);
  if (doc->CurrentEpoch > N - 1 && N > 0) doc->CurrentEpoch = N - 1;
  UpdateTimePointPanel(doc->CurrentEpoch);
  RefreshAllViews(-1);
  UpdateFrameBarTime();
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->Invalidate();
  FollowVideo();
}

void CMainFrame::JumpToEpoch(std::int32_t epoch, int restore) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  const int N = NavEpochCount(*doc);
  if (epoch < 0 || epoch >= N) return;
  const int E = doc->CurrentEpoch;
  const int perPage = NavEpochsPerPage();
  const int inPage = E - perPage * doc->CurrentPage;
  if (epoch == E + 1) {
    if (inPage == perPage - 1) {
      SetPageByEpoch(doc->CurrentPage + 1, -1);
    } else {
      doc->CurrentEpoch = epoch;
      UpdateTimePointPanel(epoch);
      if (restore != 0) {
        RestoreCurrentEpochFrame();
        FollowVideo(true);
      }
      UpdateFrameBarTime();
    }
  } else if (epoch == E - 1) {
    if (inPage == 0) {
      SetPageByEpoch(doc->CurrentPage - 1, -1);
    } else {
      doc->CurrentEpoch = epoch;
      UpdateTimePointPanel(epoch);
      RestoreCurrentEpochFrame();
      FollowVideo(true);
      UpdateFrameBarTime();
    }
  } else {
    SetPageByEpoch(perPage > 0 ? epoch / perPage : 0, epoch);
    return;
  }
  doc->CalcEpochFFTData();
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->Invalidate();
}

void CMainFrame::RestoreCurrentEpochFrame() {
  ++EpochFrameRestores;
  if (LyrRawDummyView* raw = RawView()) {
    if (LyrRawFrame* row = raw->Row(2); row != nullptr && row->AreaView() != nullptr) row->AreaView()->Invalidate();
  }
}

void CMainFrame::FollowVideo(bool drawPositionMark) {
  if (VideoFollowsWave == 0) return;
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  // The fastest channel's clock, shifted by its start offset.
  int best = -1;
  for (int c = 0; c < doc->RecordInfo.channelCount && c < static_cast<int>(doc->ChInfo.size()); ++c) {
    if (best < 0 || doc->ChInfo[c].rate > doc->ChInfo[best].rate) best = c;
  }
  if (best < 0 || doc->ChInfo[best].rate <= 0) return;
  const double r = doc->ChInfo[best].rate;
  VideoTimeOfEpoch = (doc->ChInfo[best].startOffset + static_cast<double>(doc->CurrentEpoch) * EpochSeconds * r) / r;
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) {
    // While the page follows the video, the video leads: it is not sent back to the epoch.
    if (ws->FollowingVideo) return;
    // The mark moves to the epoch's start: erased at the old time, drawn at the new.
    if (drawPositionMark) ws->DrawVideoCursor(7);
    ws->VideoSyncTime = VideoTimeOfEpoch;
    if (drawPositionMark) ws->DrawVideoCursor(7);
    ws->VideoPane.ShowVideoAtTime(VideoTimeOfEpoch);
  }
}
