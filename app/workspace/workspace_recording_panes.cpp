// What opening and closing a recording ask of the workspace panes.
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/video/cvp_info_exchange.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_data_info_view.h"
#include "app/workspace/lyr_workspace_logic_view.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_placeholder_panes.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/system/file_system.h"

namespace {
LyrWorkspaceAreaTabCtrl* TabsOf() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  return frame != nullptr ? &frame->WorkspaceTabs : nullptr;
}
}  // namespace

void LyrWorkspaceDummyView::ClearRecordingLists() {
  ++ListClears;
  if (LyrWorkspaceMarkView* marks = MarkView()) marks->MarkForRefill();
  LyrWorkspaceAreaTabCtrl* tabs = TabsOf();
  if (tabs == nullptr) return;
  if (tabs->DataInfoPane) tabs->DataInfoPane->ClearList();
  if (tabs->LogicPane) tabs->LogicPane->ClearList();
  if (tabs->SearchStrip) {
    LyrWorkspaceAreaSearchTabCtrl& s = *tabs->SearchStrip;
    for (LyrWorkspaceListPane* pane : {static_cast<LyrWorkspaceListPane*>(s.FreePane.get()),
                                       static_cast<LyrWorkspaceListPane*>(s.StagePane.get()),
                                       static_cast<LyrWorkspaceListPane*>(s.EventPane.get()),
                                       static_cast<LyrWorkspaceListPane*>(s.ArtifactPane.get())})
      if (pane != nullptr && pane->IsWindow()) pane->List().DeleteAllItems();
  }
}

void LyrWorkspaceDummyView::FillRecordingControls() {
  ++ControlFills;
  if (LyrWorkspaceMarkView* marks = MarkView()) {
    marks->UpdateMarkTypeFlags();
    marks->FillMarkTypeList();
    marks->MarkForRefill();
    marks->UpdateMarkList();
  }
  LyrWorkspaceAreaTabCtrl* tabs = TabsOf();
  if (tabs == nullptr || !tabs->SearchStrip) return;
  if (tabs->SearchStrip->FreePane) tabs->SearchStrip->FreePane->FillChannelCombo();
  if (tabs->SearchStrip->StagePane) tabs->SearchStrip->StagePane->FillStageCombos();
}

void LyrWorkspaceDummyView::RefreshRecordingViews() {
  ++ViewRefreshes;
  RefreshResultPanes(1);
  Invalidate();
}

void LyrWorkspaceDummyView::RefreshResultPanes(int rebuildLogicColumns) {
  LyrWorkspaceAreaTabCtrl* tabs = TabsOf();
  if (tabs == nullptr) return;
  if (tabs->SearchStrip && tabs->SearchStrip->EventPane) tabs->SearchStrip->EventPane->UpdateEventList();
  if (tabs->DataInfoPane) tabs->DataInfoPane->UpdateDataInfo();
  if (tabs->LogicPane) tabs->LogicPane->UpdateLogicList(rebuildLogicColumns);
}

void LyrWorkspaceDummyView::UpdateLogicList(int rebuildColumns) {
  LyrWorkspaceAreaTabCtrl* tabs = TabsOf();
  if (tabs != nullptr && tabs->LogicPane) tabs->LogicPane->UpdateLogicList(rebuildColumns);
}

void LyrWorkspaceDummyView::StageTypeChanged() {
  LyrWorkspaceAreaTabCtrl* tabs = TabsOf();
  if (tabs != nullptr && tabs->SearchStrip && tabs->SearchStrip->StagePane) tabs->SearchStrip->StagePane->FillStageCombos();
}

int LyrWorkspaceDummyView::FindVideoRangeFile(const std::string& recordingPath) const {
  if (recordingPath.empty()) return 0;
  return sys::FileExists(CVPInfoExchange::RangeFilePathFor(recordingPath)) ? 1 : 0;
}

int LyrWorkspaceDummyView::OpenVideoForRecording(const std::string& recordingPath) {
  VideoSetPath = recordingPath;
  if (recordingPath.empty() || !sys::FolderExists(sys::FolderOf(CVPInfoExchange::RangeFilePathFor(recordingPath))))
    return 0;
  if (Video.IsBound() || Video.ActiveAutoPlayEntry != -1) Video.UnloadVideoDll();
  if (Video.LoadVideoDll() == 0) return 1;
  return Video.InitVideoDll();
}

int LyrWorkspaceDummyView::OpenVideoSet(const std::string& recordingPath) {
  VideoSetPath = recordingPath;
  // A new set: nothing edited, no synchronised time, no mark on the page.
  VideoAttached = 0;
  VideoSyncTime = -1.0;
  VideoMarkX = 0xFFFF;
  VideoPane.FileOpen = true;
  // The set is the recording's own: its range file is the video name the controller opens.
  const std::string range = CVPInfoExchange::RangeFilePathFor(recordingPath);
  if (VideoPane.Main != nullptr && sys::FileExists(range)) VideoPane.Main->VideoFilePath = range;
  const std::string name = VideoPane.Main != nullptr ? VideoPane.Main->VideoFilePath : range;
  if (name.empty()) {
    if (Video.IsBound() && Video.ActiveAutoPlayEntry == -1) Video.UnloadVideoDll();
    return 1;
  }
  LyrWorkspaceAreaTabCtrl* tabs = TabsOf();
  if (tabs != nullptr && tabs->VideoPane) VideoPane.CreateIn(tabs->VideoPane.get());
  if (Video.IsBound()) Video.OpenVideo(1);
  if (VideoPane.Main != nullptr) {
    VideoPane.Main->VideoOpenState = Video.OpenState;
    VideoPane.Main->VideoOpen = Video.OpenState != 0 ? 1 : 0;
  }
  if (Video.IsBound() && Video.ActiveAutoPlayEntry >= 0) Video.PlayAutoPlayEntry();
  return 1;
}

void LyrWorkspaceDummyView::MarkNoVideo() {
  VideoPane.FileOpen = false;
  if (VideoPane.Playing) VideoPane.SetPlaying();
  if (VideoPane.Main != nullptr) {
    VideoPane.Main->VideoOpenState = 0;
    VideoPane.Main->VideoOpen = 0;
  }
  VideoSetPath.clear();
}
