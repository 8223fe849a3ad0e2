#include "app/workspace/workspace_dummy_view.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "platform/draw/dc.h"
#include "platform/ui/message_box.h"

LyrWorkspaceDummyView::LyrWorkspaceDummyView() {
  Video.Host = &VideoPane;
  VideoPane.Video = &Video;
}

LyrWorkspaceDummyView::~LyrWorkspaceDummyView() = default;

int LyrWorkspaceDummyView::OnCreate() {
  auto* main = dynamic_cast<CMainFrame*>(GetTopLevel());
  VideoPane.Main = main;
  ConnectVideoDialogs(*this, main);
  auto frame = std::make_unique<LyrWorkspaceFrame>();
  Zoom.m_pDoc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  LyrWorkspaceAreaTabCtrl* tabs = main != nullptr ? &main->WorkspaceTabs : nullptr;
  if (tabs != nullptr) tabs->ZoomPane = &Zoom;
  if (!frame->CreateInPane(this, dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument()), tabs)) {
    ui::MessageBox("LyrWorkspaceDummyView::OnCreate");
    return 0;
  }
  frame_ = std::move(frame);
  // Keys typed into the free search's value box stay its own.
  if (tabs != nullptr && tabs->SearchStrip && tabs->SearchStrip->FreePane)
    SetFreeSearchEdit(tabs->SearchStrip->FreePane.get(), LyrWorkspaceSearchFreeView::kValueEdit);
  return 0;
}

void LyrWorkspaceDummyView::OnInitialUpdate() {
  ui::View::OnInitialUpdate();
  if (frame_) frame_->DockWindow(0);
}

void LyrWorkspaceDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0x00FFFFFF);
}

void LyrWorkspaceDummyView::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::View::OnSize(sizeType, cx, cy);
  if (frame_ && frame_->IsWindow() && frame_->IsDocked()) frame_->MoveWindow(draw::RectFromSize(0, 0, cx, cy));
}
