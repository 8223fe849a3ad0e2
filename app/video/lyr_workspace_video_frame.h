#pragma once
// The video window inside the workspace's "Video" pane: a frame with the transport bar above
// its base view, which holds the video surface, the still pane, the clock line and the
// location bar. The frame receives the player library's notifications, runs the play clock
// (timer 8103), carries the transport and mark commands, and docks in its pane or floats as a
// window of its own. It is what the controller asks of the windows around it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_workspace_dlg_video_bar.h"
#include "app/video/video_player_abi.h"
#include "platform/ui/dock_frame.h"
#include "platform/ui/window.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;
class LyrWorkspaceVideoBaseView;
class LyrWorkspaceVideoVideoView;
class LyrWorkspaceVideoTimeView;
class LyrWorkspaceVideoLocationView;
class LyrWorkspaceVideoViewPauseOnly;

inline constexpr std::uint32_t kVideoPlayTimer = 8103;
// Posted by the player to the surface when a new picture is ready.
inline constexpr std::uint32_t kVideoRepaintMessage = 0x8000 + 0x0352;
// The mark menu: "Pre Mark", then the n-th shown mark type at kCmdVideoPreMark + n.
inline constexpr std::uint32_t kCmdVideoPreMark = 33129;

// Which bars of the video window show (each on at first).
struct VideoBarFlags {
  int toolBar = 1;
  int time = 1;
  int location = 1;
};

// Heights of the clock line and the location bar for a font height and a scroll bar height.
struct VideoPaneHeights {
  int time = 0;
  int location = 0;
};
VideoPaneHeights VideoPaneHeightsFor(int fontHeight, int scrollBarHeight);
// Places of the surface, the clock line and the location bar in a base view of width x
// height, from the bottom up (a bar that is off gets no height).
struct VideoPaneLayout {
  ui::Rect surface, time, location;
};
VideoPaneLayout LayoutVideoPanes(int width, int height, const VideoBarFlags& flags);

// The video surface: the library draws the picture into it.
class LyrWorkspaceVideoVideoView : public ui::Window {
 public:
  explicit LyrWorkspaceVideoVideoView(CVPInfoExchange*& video) : video_(video) {}
  void OnPaint(draw::Dc& dc) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  QlmNativeWindow Handle{};
  int Redraw = 1;

 private:
  CVPInfoExchange*& video_;
};

// In the surface's place while no play range holds the current time: plain blue.
class LyrWorkspaceVideoViewPauseOnly : public ui::Window {
 public:
  void OnPaint(draw::Dc& dc) override;
};

// The clock line: the current time of the video at the top right corner.
class LyrWorkspaceVideoTimeView : public ui::Window {
 public:
  explicit LyrWorkspaceVideoTimeView(CVPInfoExchange*& video) : video_(video) {}
  // Draws the time when its text changed or when forced.
  void ShowTime(int force);
  void OnPaint(draw::Dc& dc) override;
  // The text for t seconds from the recording's start: clock time from the recording's start
  // (start: year, month, day, hour, minute, second) or elapsed time counted from day 01.
  static std::string FormatClock(double t, bool clockDisplay, const std::array<std::uint16_t, 7>& start);
  std::string LastText;
  int Draws = 0;

 private:
  void DrawText(draw::Dc& dc, const std::string& text);
  CVPInfoExchange*& video_;
};

// The container of the video panes.
class LyrWorkspaceVideoBaseView : public ui::Window {
 public:
  LyrWorkspaceVideoBaseView(CVPInfoExchange*& video, const VideoBarFlags& flags);
  ~LyrWorkspaceVideoBaseView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Shows the surface when the current time lies in a play range, else the still pane.
  void ShowVideoOrStill();
  // Lays the panes out again for the current flags and size.
  void Relayout();
  LyrWorkspaceVideoVideoView* Surface() const { return surface_.get(); }
  LyrWorkspaceVideoViewPauseOnly* Still() const { return still_.get(); }
  LyrWorkspaceVideoTimeView* TimeView() const { return time_.get(); }
  LyrWorkspaceVideoLocationView* LocationView() const { return location_.get(); }

 private:
  CVPInfoExchange*& video_;
  const VideoBarFlags& flags_;
  std::unique_ptr<LyrWorkspaceVideoVideoView> surface_;
  std::unique_ptr<LyrWorkspaceVideoViewPauseOnly> still_;
  std::unique_ptr<LyrWorkspaceVideoTimeView> time_;
  std::unique_ptr<LyrWorkspaceVideoLocationView> location_;
};

class LyrWorkspaceVideoFrame : public ui::DockFrame, public CVPHost {
 public:
  LyrWorkspaceVideoFrame();
  ~LyrWorkspaceVideoFrame() override;
  // Makes the window docked inside the workspace's video pane (once).
  bool CreateIn(ui::Window* pane);
  int OnCreate() override;
  bool OnCreateClient(ui::CreateContext* context) override;
  void OnTimer(std::uint32_t id) override;
  // The video shows while the window is not minimised and is either floating or docked with
  // the "Video" pane forward.
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  // The play/stop toggle: the controller plays or stops (while a video is bound), the play
  // clock runs while playing, the ">>" button reads "[]" and the mark button is usable.
  void SetPlaying();
  // The mark menu ("M" and the mark key): the first call takes the start, the second the end
  // and offers the shown mark types.
  void ShowMarkMenu();
  // Marks [start, end] (seconds) with the index-th shown mark type (1..10), or from the nearest
  // earlier mark within 5 s (index 0, "Pre Mark").
  void SetMarkRange(double start, double end, int index);
  // Shows the video frame of a time on the video clock.
  void ShowVideoAtTime(double seconds);
  // The transport bar's commands.
  void OnSkip(bool forward);
  void OnFloatButton();
  // Out of the pane as a window of its own, and back.
  void FloatVideoWindow();
  void DockVideoWindow();
  // Re-lays out the panes: WM_SIZE to the base view, repainted at once.
  void RelayoutPanes();
  // A click on the location bar at time t (video clock): the waves follow while synchronised.
  void SeekFromLocationBar(double t);
  // The location bar may seek: a bound video, not playing, no automatic paging forward.
  bool CanSeek() const;

  bool FileOpen = false;
  bool Playing = false;
  int MenuState = -1;
  int MarkMenuRuns = 0;
  // Set when the mark menu stopped playback: it starts again after the choice.
  bool ResumeAfterMark = false;
  double PendingMarkStart = 0.0;
  double PendingMarkEnd = 0.0;
  double ShownTime = -1.0;
  // The workspace frame's video-showing flag.
  int VideoShowingFlag = 1;
  // 1 while docked in its pane, 0 while floating.
  int Docked = 1;
  VideoBarFlags Bars;
  CVPInfoExchange* Video = nullptr;
  CMainFrame* Main = nullptr;
  LyrWorkspaceVideoBaseView* Base() const { return base_; }
  LyrWorkspaceDlgVideoBar& Bar() { return bar_; }
  LyrWorkspaceVideoLocationView* LocationBar() const;
  LyrWorkspaceVideoTimeView* TimeBar() const;

  // ---- CVPHost ----
  void* FrameWindowHandle() override;
  void* SurfaceWindowHandle() override;
  void SurfaceClientSize(int& width, int& height) override;
  void SetSurfaceRedraw(bool on) override;
  void RefreshSurface() override;
  void ShowSurfacePane() override;
  void ShowNoPicture() override;
  void RefreshPanes() override;
  void UpdateLocationBar() override;
  void ShowTime(int force) override;
  bool IsPlaying() override { return Playing; }
  void SetPlayingFlag(bool playing) override { Playing = playing; }
  void TogglePlaying() override { SetPlaying(); }
  bool VideoShowing() override { return VideoShowingFlag != 0; }
  void SetVideoShowing(bool showing) override { VideoShowingFlag = showing ? 1 : 0; }
  bool VideoSynchronised() override;
  void SetVideoSynchronised(bool on) override;
  void SyncWaveToVideo(double seconds) override;
  std::array<std::uint16_t, 3> SplitWords() override;
  void SetSplitWords(const std::array<std::uint16_t, 3>& words) override;
  double RecordingStartOffset() override;
  double HighestSamplingRate() override;
  double RecordingSeconds() override;
  double EpochSeconds() override;
  std::string VideoName() override;
  void ClearVideoName() override;
  void ShowAutoPlayDialog(int entry) override;
  std::array<int, 4> SurfaceScreenRect() override;
  void PlaceSurface(const std::array<int, 4>& screenRect) override;
  void BeginWait(int count) override;
  void StepWait(int index) override;
  void EndWait() override;
  // Whether the wait dialog is up.
  bool WaitShown() const { return wait_ != nullptr && wait_->IsWindow(); }
  // The auto-play runs whose end showed the auto-play information dialog.
  int AutoPlayDialogs = 0;

 private:
  void MapTransportCommands();
  void ArmPlayClock();
  CQLM2_AnalyzerDoc* Doc() const;
  bool VideoReady() const;
  // The docked window fills the video pane it lies in.
  void FitToPane();
  QlmNativeWindow handle_{};
  LyrWorkspaceVideoBaseView* base_ = nullptr;  // adopted by the frame
  LyrWorkspaceDlgVideoBar bar_;
  std::unique_ptr<ui::Window> wait_;
};
