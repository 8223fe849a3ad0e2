// The mark window's two places: docked in the mark pane of the tab strip, or floating beside
// that pane on the screen.
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_dummy_view.h"

LyrWorkspaceMarkView* LyrWorkspaceDummyView::MarkView() const {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (frame == nullptr || !frame->WorkspaceTabs.MarkPane) return nullptr;
  return frame->WorkspaceTabs.MarkPane->MarkView();
}

void LyrWorkspaceFrame::FloatMarkWindow() {
  if (tabs_ == nullptr || !tabs_->MarkPane) return;
  LyrWorkspaceDummyMarkView& pane = *tabs_->MarkPane;
  LyrWorkspaceMarkFrame* mark = pane.MarkFrame();
  if (mark == nullptr) return;
  const ui::Rect client = pane.GetClientRect();
  const ui::Point corner = pane.ClientToScreen(ui::Point{0, 0});
  mark->Float();
  // Its right edge meets the pane's left edge on the screen.
  mark->MoveWindow(ui::Rect{corner.x - client.Width(), corner.y, corner.x, corner.y + client.Height()});
  mark->ShowWindow(ui::SW_SHOW);
  Invalidate();
  tabs_->MarkWindowDocked = 0;
  if (LyrWorkspaceMarkView* view = mark->View()) view->Item(LyrWorkspaceMarkView::kFloatId).SetCheck(1);
}

void LyrWorkspaceFrame::DockMarkWindow() {
  if (tabs_ == nullptr || !tabs_->MarkPane) return;
  LyrWorkspaceDummyMarkView& pane = *tabs_->MarkPane;
  LyrWorkspaceMarkFrame* mark = pane.MarkFrame();
  if (mark == nullptr) return;
  mark->Dock();
  const ui::Rect client = pane.GetClientRect();
  mark->MoveWindow(ui::Rect{0, 0, client.Width(), client.Height()});
  tabs_->MarkWindowDocked = 1;
  if (LyrWorkspaceMarkView* view = mark->View()) view->Item(LyrWorkspaceMarkView::kFloatId).SetCheck(0);
}

void RefreshMarkPaneAfterScreening(CMainFrame* frame, int appendEndMarks) {
  LyrWorkspaceDummyView* ws = frame != nullptr ? frame->WorkspaceView() : nullptr;
  LyrWorkspaceMarkView* marks = ws != nullptr ? ws->MarkView() : nullptr;
  if (marks == nullptr) return;
  if (appendEndMarks != 0) {
    marks->AppendEndMarks();
    marks->BuildMarkRuns();
  }
  marks->UpdateMarkTypeFlags();
  marks->FillMarkTypeList();
  marks->MarkForRefill();
  marks->UpdateMarkList();
  marks->EnableMarkButton(true);
}
