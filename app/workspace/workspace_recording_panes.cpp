// What opening and closing a recording ask of the workspace panes. The panes that hold these
// lists are not built yet: each step keeps its place here, counted, so that the panes fill in
// their part without the document or the frame changing.
#include "app/video/cvp_info_exchange.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/system/file_system.h"

void LyrWorkspaceDummyView::ClearRecordingLists() {
  ++ListClears;
  MarkView.MarkForRefill();
}

void LyrWorkspaceDummyView::FillRecordingControls() {
  ++ControlFills;
  MarkView.MarkForRefill();
  MarkView.UpdateMarkList();
}

void LyrWorkspaceDummyView::RefreshRecordingViews() {
  ++ViewRefreshes;
  Invalidate();
}

int LyrWorkspaceDummyView::FindVideoRangeFile(const std::string& recordingPath) const {
  if (recordingPath.empty()) return 0;
  return sys::FileExists(CVPInfoExchange::RangeFilePathFor(recordingPath)) ? 1 : 0;
}

void LyrWorkspaceDummyView::OpenVideoForRecording(const std::string& recordingPath) { VideoSetPath = recordingPath; }

void LyrWorkspaceDummyView::OpenVideoSet(const std::string& recordingPath) {
  VideoSetPath = recordingPath;
  VideoPane.FileOpen = true;
}

void LyrWorkspaceDummyView::MarkNoVideo() {
  VideoPane.FileOpen = false;
  VideoPane.Playing = false;
  VideoSetPath.clear();
}
