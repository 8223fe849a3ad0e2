#pragma once
// The workspace window's container in the lower right pane of the main frame, with
// the video pane services the frame's keys and moves use.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_dlg_video_owner.h"
#include "app/video/lyr_workspace_video_frame.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "platform/ui/document.h"

namespace draw {
class Dc;
}

class LyrWorkspaceFrame;
class LyrWorkspaceMarkView;

// The view in the main frame's lower right pane: it holds the workspace frame, which sits in
// it while docked.
class LyrWorkspaceDummyView : public ui::View {
 public:
  static constexpr int kMarkListPane = 11;
  LyrWorkspaceDummyView();
  ~LyrWorkspaceDummyView() override;
  // Makes the workspace frame (with the main frame's tab strip and the panes) inside the pane.
  int OnCreate() override;
  // The frame starts docked, the stored dock state untouched.
  void OnInitialUpdate() override;
  void OnDraw(draw::Dc& dc) override;
  // The docked frame covers the whole pane.
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  LyrWorkspaceFrame* Frame() const { return frame_.get(); }
  // Draws the video position mark (a red line at the last synchronised video time) on the
  // middle raw row's page: mode 7 (R2_XORPEN) draws it so that a second draw removes it, 13
  // (R2_COPYPEN) draws it plainly. With a context, it goes there (the page being painted).
  void DrawVideoCursor(int mode, draw::Dc* dc = nullptr);
  // The wave page follows the video: the epoch holding the time (seconds from the recording's
  // start) becomes current, on another page when needed, and the mark moves there.
  void SyncWaveToVideo(double seconds);
  // The last synchronised video time (-1: none) and the x of the drawn mark (0xFFFF: none).
  double VideoSyncTime = -1.0;
  std::uint16_t VideoMarkX = 0xFFFF;
  // Set while the wave page follows the video: the epoch jump then leaves the video alone.
  bool FollowingVideo = false;
  // --- What opening and closing a recording ask of the panes (workspace_recording_panes.cpp) ---
  // Closing: the data-information list, the logic list and the eight list controls of the
  // panes are emptied.
  void ClearRecordingLists();
  // Opening: the free search's channel combo, the stage search's combos and the mark pane's
  // type flags and list are filled for the new recording.
  void FillRecordingControls();
  // Opened: the event list, the data-information view and the logic list follow the recording.
  void RefreshRecordingViews();
  // After results were opened, written or cleared: the event list, the data information and
  // the logic rows (1: the logic columns made anew).
  void RefreshResultPanes(int rebuildLogicColumns);
  // Refills the logic pane's rows (1: its columns first).
  void UpdateLogicList(int rebuildColumns);
  // The stage type changed: the stage search offers its stages.
  void StageTypeChanged();
  // Non-zero when the recording has a video set: its range file in the folder named after it.
  int FindVideoRangeFile(const std::string& recordingPath) const;
  // Opens the recording's video set in the player and brings the video pane forward.
  // 1 when the player library was (re)bound for the recording's video set, else 0.
  int OpenVideoForRecording(const std::string& recordingPath);
  int OpenVideoSet(const std::string& recordingPath);
  // The recording has no video: the video pane shows none.
  void MarkNoVideo();
  int ListClears = 0;
  int ControlFills = 0;
  int ViewRefreshes = 0;
  std::string VideoSetPath;
  // Set while the workspace has an operation pending that blocks some commands.
  int PendingFlag = 0;
  // The pane shown in the workspace (11: the mark list).
  int CurrentPane = 0;
  int VideoCursorDraws = 0;
  // The mark list (the view of the mark window in pane 11); null before the panes exist.
  LyrWorkspaceMarkView* MarkView() const;
  // "Reset start time" keeps the video-file table and the video name it replaced; cancelling
  // the synchronisation that follows gives them back (1), or there is none to give (0).
  struct SavedVideoTable {
    std::vector<VideoFileRecord> records;
    std::string name;
  };
  std::optional<SavedVideoTable> SavedVideo;
  int RestoreVideoFileTable();
  // The video player controller of the workspace window (it outlives the video window).
  CVPInfoExchange Video;
  // The video window in the workspace's "Video" pane.
  LyrWorkspaceVideoFrame VideoPane;
  // The zoom pane of the workspace window.
  LyrWorkspaceZoomView Zoom;
  // The auto-play and video-set editing dialogs.
  LyrVideoDialogs VideoDialogs;

  // The free search pane's value edit box, where keys typed stay its own instead of moving
  // the epoch: the pane registers it with the window that holds it (null: none).
  void SetFreeSearchEdit(ui::Window* host, int controlId) {
    freeSearchHost_ = host;
    freeSearchEdit_ = controlId;
  }
  bool IsFreeSearchEdit(const ui::Window* host, int controlId) const {
    return host != nullptr && host == freeSearchHost_ && controlId == freeSearchEdit_;
  }

 private:
  std::unique_ptr<LyrWorkspaceFrame> frame_;
  ui::Window* freeSearchHost_ = nullptr;
  int freeSearchEdit_ = 0;
};
