#include "app/workspace/lyr_workspace_frame.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_utils.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/pane_layout.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_report.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_area_view.h"
#include "app/workspace/lyr_workspace_dlg_marks.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kCmdFloat = 32773;
constexpr std::uint32_t kCmdDocking = 32774;
constexpr std::uint32_t kCmdZoomAreaFirst = 32960;  // Free, 1, 2, 3 seconds
constexpr std::uint32_t kCmdZoomGainFirst = 32964;  // x10 ... x1/10
constexpr std::uint32_t kCmdZoomLatency = 32974;
constexpr std::uint32_t kCmdZoomPeakDetect = 32975;
constexpr std::uint32_t kCmdBindUpCsv = 33164;
constexpr std::uint32_t kStrBookFilter = 65229;
// Gains of the "&Gain" items, compared with the stored gain as these same constants.
constexpr double kZoomGains[9] = {10.0, 5.0, 3.0, 2.0, 1.0, 0.5, 0.3, 0.2, 0.1};

CMainFrame* MainFrameOf() { return CQLM2_AnalyzerDoc::MainFrame(); }

// A recording is open, no screening runs and no multi-screening window is open.
bool UsualEnable() {
  const CMainFrame* frame = MainFrameOf();
  return DocumentLoaded != 0 && ScreeningRunning != 1 && (frame == nullptr || frame->MultiScreeningDlg == nullptr);
}
}  // namespace

void FloatFractions(std::uint16_t trendState, FloatGeometry& g) {
  if (trendState == kDockShown) {
    g.savedColumn = g.column;
    g.column = 1.0;
  } else if (trendState == kDockFloating) {
    g.savedRow = g.row;
    g.row = 1.0;
    g.column = 1.0;
  }
}

void DockFractions(std::uint16_t trendState, FloatGeometry& g) {
  if (trendState == kDockShown) {
    g.column = g.savedColumn;
    return;
  }
  g.column = 0.0;
  if (trendState == kDockFloating) g.row = g.savedRow;
}

LyrWorkspaceFrame::LyrWorkspaceFrame() {
  MapVideoDialogCommands(*this);
  MapMenuCommands();
  MapAnalysisCommands();
  MapVideoCommands();
}

LyrWorkspaceFrame::~LyrWorkspaceFrame() {
  // The report dialog goes with the frame.
  if (report_ != nullptr && report_->IsWindow()) report_->DestroyWindow();
}

bool LyrWorkspaceFrame::CreateInPane(LyrWorkspaceDummyView* host, CQLM2_AnalyzerDoc* doc, LyrWorkspaceAreaTabCtrl* tabs) {
  HostPane = host;
  m_pDoc = doc;
  tabs_ = tabs;
  ui::CreateContext context;
  context.currentDocument = doc;
  if (!CreateDocked(host, kMenuId, &context)) return false;
  SetWindowText("WorkspaceFrame");
  return true;
}

bool LyrWorkspaceFrame::OnCreateClient(ui::CreateContext*) {
  ui::CreateContext context;
  context.currentDocument = m_pDoc;
  area_ = std::make_unique<LyrWorkspaceAreaView>(tabs_);
  if (!area_->CreateView(this, ui::AFX_IDW_PANE_FIRST, context, GetClientRect())) {
    ui::MessageBox("LyrWorkspaceFrame::OnCreateClient");
    area_.reset();
    return true;
  }
  SetActiveView(area_.get());
  return true;
}

LyrWorkspaceAreaTabCtrl* LyrWorkspaceFrame::Tabs() const { return tabs_; }

bool LyrWorkspaceFrame::PreTranslateMessage(ui::Message& msg) {
  const bool keyMessage = msg.message == ui::WM_KEYDOWN || msg.message == ui::WM_KEYUP;
  const std::uint16_t key = ui::LowWord(msg.wParam);
  // While screening runs, keys (and any message carrying a page key) take their default path.
  if (ScreeningRunning == 1 && (keyMessage || key == ui::VK_PRIOR || key == ui::VK_NEXT))
    return ui::DockFrame::PreTranslateMessage(msg);
  // Typing in the free search's value box is never intercepted.
  const LyrWorkspaceSearchFreeView* free = tabs_ != nullptr && tabs_->SearchStrip ? tabs_->SearchStrip->FreePane.get() : nullptr;
  if (free != nullptr && ui::Window::GetFocus() == free &&
      ui::Window::GetFocusControlId() == LyrWorkspaceSearchFreeView::kValueEdit)
    return ui::DockFrame::PreTranslateMessage(msg);
  const bool navigation = key == ui::VK_RIGHT || key == ui::VK_LEFT || key == ui::VK_UP || key == ui::VK_DOWN ||
                          key == ui::VK_PRIOR || key == ui::VK_NEXT;
  if (keyMessage && navigation) {
    if (CMainFrame* frame = MainFrameOf()) frame->HandleNavigationKey(msg.message, msg.wParam, msg.lParam, 0);
    return true;
  }
  return ui::DockFrame::PreTranslateMessage(msg);
}

void LyrWorkspaceFrame::DockWindow(int remember) {
  if (remember != 0) {
    WorkspaceWindowDockState = kDockShown;
    if (CMainFrame* frame = MainFrameOf()) frame->LayoutPanes();
  }
  Dock();
}

void LyrWorkspaceFrame::FloatWindow(int remember) {
  Float();
  if (remember != 0) {
    WorkspaceWindowDockState = kDockFloating;
    if (CMainFrame* frame = MainFrameOf()) frame->LayoutPanes();
  }
}

void LyrWorkspaceFrame::OnFloat() {
  FloatGeometry g{SavedPaneColumnRatio, SavedPaneRowRatio, PaneRowRatio, PaneColumnRatio};
  FloatFractions(TrendWindowDockState, g);
  SavedPaneColumnRatio = g.savedColumn;
  SavedPaneRowRatio = g.savedRow;
  PaneRowRatio = g.row;
  PaneColumnRatio = g.column;
  FloatWindow(1);
}

void LyrWorkspaceFrame::OnDocking() {
  FloatGeometry g{SavedPaneColumnRatio, SavedPaneRowRatio, PaneRowRatio, PaneColumnRatio};
  DockFractions(TrendWindowDockState, g);
  SavedPaneColumnRatio = g.savedColumn;
  SavedPaneRowRatio = g.savedRow;
  PaneRowRatio = g.row;
  PaneColumnRatio = g.column;
  DockWindow(1);
}

void LyrWorkspaceFrame::OnBindUpCsv() {
  CQLM2_AnalyzerDoc* doc = m_pDoc;
  if (doc == nullptr) return;
  std::string source = doc->RecordInfo.path;
  if (ResultModifiedState != 0 && !doc->ResultPath.empty()) source = doc->ResultPath;
  // The dialog offers the workbook kind the converter writes; a new book may be named.
  ui::FileDialog dlg(false, "xlsx", sys::FileTitleOf(source), ui::OFN_OVERWRITEPROMPT | ui::OFN_HIDEREADONLY,
                     res::LoadString(kStrBookFilter), this);
  dlg.SetInitialFolder(sys::FolderOf(source));
  if (dlg.DoModal() != ui::IDOK) return;
  ui::WaitCursor wait;
  const std::string book = dlg.GetPathName();
  RunCSVBOOK(sys::FolderOf(book), book, 0);
}

void LyrWorkspaceFrame::MapMenuCommands() {
  auto zoom = [this]() -> LyrWorkspaceZoomView* { return tabs_ != nullptr ? tabs_->ZoomPane : nullptr; };
  auto bringZoom = [this] { BringPane(1); };
  MapCommand(kCmdFloat, [this] { OnFloat(); });
  MapUpdate(kCmdFloat, [](ui::CmdUI& c) {
    c.Enable(WorkspaceWindowDockState != kDockFloating);
    c.SetCheck(WorkspaceWindowDockState == kDockFloating ? 1 : 0);
  });
  MapCommand(kCmdDocking, [this] { OnDocking(); });
  MapUpdate(kCmdDocking, [](ui::CmdUI& c) {
    c.Enable(WorkspaceWindowDockState != kDockShown);
    c.SetCheck(WorkspaceWindowDockState == kDockShown ? 1 : 0);
  });
  MapCommand(kCmdBindUpCsv, [this] { OnBindUpCsv(); });
  MapUpdate(kCmdBindUpCsv, [](ui::CmdUI& c) { c.Enable(UsualEnable()); });

  MapCommandRange(kCmdZoomAreaFirst, kCmdZoomAreaFirst + 3, [zoom, bringZoom](std::uint32_t id) {
    bringZoom();
    if (LyrWorkspaceZoomView* z = zoom()) z->AreaMode = static_cast<std::uint16_t>(id - kCmdZoomAreaFirst);
  });
  MapUpdateRange(kCmdZoomAreaFirst, kCmdZoomAreaFirst + 3, [zoom](ui::CmdUI& c) {
    c.Enable(DocumentLoaded != 0 && ScreeningRunning != 1);
    const LyrWorkspaceZoomView* z = zoom();
    c.SetCheck(z != nullptr && z->AreaMode == c.Id() - kCmdZoomAreaFirst ? 1 : 0);
  });
  MapCommandRange(kCmdZoomGainFirst, kCmdZoomGainFirst + 8, [zoom, bringZoom](std::uint32_t id) {
    bringZoom();
    if (LyrWorkspaceZoomView* z = zoom()) {
      z->Gain = kZoomGains[id - kCmdZoomGainFirst];
      z->Invalidate();
      z->UpdateWindow();
    }
  });
  MapUpdateRange(kCmdZoomGainFirst, kCmdZoomGainFirst + 8, [zoom](ui::CmdUI& c) {
    c.Enable(DocumentLoaded != 0 && ScreeningRunning != 1);
    const LyrWorkspaceZoomView* z = zoom();
    c.SetCheck(z != nullptr && z->Gain == kZoomGains[c.Id() - kCmdZoomGainFirst] ? 1 : 0);
  });
  // Latency (mode 3) and peak detection (mode 5) start from the read-out mode with a channel shown.
  auto measureUpdate = [zoom](std::uint16_t mode) {
    return [zoom, mode](ui::CmdUI& c) {
      const LyrWorkspaceZoomView* z = zoom();
      const bool ready = z != nullptr && z->Mode == 0 && z->GetShownChannelCount() > 0;
      c.Enable(DocumentLoaded != 0 && ScreeningRunning != 1 && ready);
      c.SetCheck(z != nullptr && z->Mode == mode ? 1 : 0);
    };
  };
  MapCommand(kCmdZoomLatency, [zoom, bringZoom] {
    bringZoom();
    if (LyrWorkspaceZoomView* z = zoom()) z->Mode = 3;
  });
  MapUpdate(kCmdZoomLatency, measureUpdate(3));
  MapCommand(kCmdZoomPeakDetect, [this, zoom, bringZoom] {
    bringZoom();
    if (LyrWorkspaceZoomView* z = zoom()) {
      z->Mode = 5;
      z->ShowList(this);
    }
  });
  MapUpdate(kCmdZoomPeakDetect, measureUpdate(5));
}
