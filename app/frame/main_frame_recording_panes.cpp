// What the frame's other windows do when a recording has been opened: the workspace lists and
// combos, the trend window's information area and the recording's video set.
#include <string>

#include "app/frame/main_frame.h"
#include "app/trend/trend_dummy_view.h"
#include "app/video/cvp_info_exchange.h"
#include "app/workspace/workspace_dummy_view.h"

namespace {
constexpr int kVideoPane = 12;
}

void CMainFrame::FillWorkspaceForRecording() {
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->FillRecordingControls();
}

void CMainFrame::RefreshWindowsAfterOpen() {
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->RefreshRecordingViews();
  if (LyrTrendDummyView* trend = TrendView()) trend->ResetInfoArea();
}

void CMainFrame::OpenRecordingVideo(const std::string& recordingPath) {
  LyrWorkspaceDummyView* ws = WorkspaceView();
  if (ws == nullptr) return;
  if (ws->FindVideoRangeFile(recordingPath) != 0) {
    if (ws->Video.ActiveAutoPlayEntry == -1) ws->OpenVideoForRecording(recordingPath);
    ws->OpenVideoSet(recordingPath);
    WorkspaceTabs.SelectPane(kVideoPane);
    WorkspaceTabs.ShowSelectedPane(kVideoPane);
    AddVideoMenuItem();
    return;
  }
  if (CVPInfoExchange::LibraryExists()) {
    AddVideoMenuItem();
    ws->MarkNoVideo();
  }
}
