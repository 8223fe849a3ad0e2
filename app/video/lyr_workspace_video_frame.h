#pragma once
// The video window inside the workspace's "Video" pane: the frame that receives the player
// library's notifications and runs the play clock (timer 8103), its base view, and the surface
// the picture is drawn in (blue where no play range holds the current time). It is what the
// controller asks of the windows around it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/video/cvp_info_exchange.h"
#include "app/video/video_player_abi.h"
#include "platform/ui/window.h"

class CMainFrame;
class LyrWorkspaceVideoBaseView;
class LyrWorkspaceVideoVideoView;

inline constexpr std::uint32_t kVideoPlayTimer = 8103;
// Posted by the player to the surface when a new picture is ready.
inline constexpr std::uint32_t kVideoRepaintMessage = 0x8000 + 0x0352;

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

// The container of the video panes.
class LyrWorkspaceVideoBaseView : public ui::Window {
 public:
  explicit LyrWorkspaceVideoBaseView(CVPInfoExchange*& video);
  ~LyrWorkspaceVideoBaseView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Shows the surface when the current time lies in a play range (else it paints blue).
  void ShowVideoOrStill();
  LyrWorkspaceVideoVideoView* Surface() const { return surface_.get(); }

 private:
  CVPInfoExchange*& video_;
  std::unique_ptr<LyrWorkspaceVideoVideoView> surface_;
};

class LyrWorkspaceVideoFrame : public ui::Window, public CVPHost {
 public:
  LyrWorkspaceVideoFrame();
  ~LyrWorkspaceVideoFrame() override;
  // Makes the window inside the workspace's video pane (once).
  bool CreateIn(ui::Window* pane);
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnTimer(std::uint32_t id) override;
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  // The play/stop toggle: the controller plays or stops (while a video is bound) and the play
  // clock runs while playing.
  void SetPlaying();
  // The mark menu; its state word is -1 while idle.
  void ShowMarkMenu() { ++MarkMenuRuns; }
  // Shows the video frame of a time on the video clock.
  void ShowVideoAtTime(double seconds);

  bool FileOpen = false;
  bool Playing = false;
  int MenuState = -1;
  int MarkMenuRuns = 0;
  double ShownTime = -1.0;
  // The workspace frame's video-showing flag.
  int VideoShowingFlag = 1;
  CVPInfoExchange* Video = nullptr;
  CMainFrame* Main = nullptr;
  LyrWorkspaceVideoBaseView* Base() const { return base_.get(); }

  // ---- CVPHost ----
  void* FrameWindowHandle() override;
  void* SurfaceWindowHandle() override;
  void SurfaceClientSize(int& width, int& height) override;
  void SetSurfaceRedraw(bool on) override;
  void RefreshSurface() override;
  void ShowSurfacePane() override;
  void ShowNoPicture() override;
  void RefreshPanes() override;
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
  void BeginWait(int count) override;
  void StepWait(int index) override;
  void EndWait() override;
  // Whether the wait dialog is up.
  bool WaitShown() const { return wait_ != nullptr && wait_->IsWindow(); }
  // The auto-play runs whose end showed the auto-play information dialog.
  int AutoPlayDialogs = 0;

 private:
  void ArmPlayClock();
  // The window fills the video pane it lies in.
  void FitToPane();
  QlmNativeWindow handle_{};
  std::unique_ptr<LyrWorkspaceVideoBaseView> base_;
  std::unique_ptr<ui::Window> wait_;
};
