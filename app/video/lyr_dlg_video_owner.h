#pragma once
// The owner of the video dialogs that maintain the auto-play list and cut the video set: it
// holds the one instance of each, what they need of the windows around them, and the time pick
// they ask of the wave page (a Cursor button hides the dialog; the next click on the waves is
// the time).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/video/video_dialog_times.h"
#include "app/video/video_range_edit.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;
class CVPInfoExchange;
class LyrWorkspaceDummyView;
class LyrWorkspaceFrame;
class LyrWorkspaceDlgVideoAutoPlay;
class LyrWorkspaceDlgVideoAutoPlayRange;
class LyrWorkspaceDlgVideoEditPath;
class CVPDlgEditFile;
class LyrWorkspaceDlgVideoRange;

namespace ui {
class Dialog;
class Window;
}  // namespace ui

// Pick targets of a Cursor button.
inline constexpr int kVideoPickStart = 1;
inline constexpr int kVideoPickEnd = 2;

class LyrVideoDialogs {
 public:
  LyrVideoDialogs();
  ~LyrVideoDialogs();
  LyrVideoDialogs(const LyrVideoDialogs&) = delete;
  LyrVideoDialogs& operator=(const LyrVideoDialogs&) = delete;

  // ---- What the dialogs need ----
  CQLM2_AnalyzerDoc* Doc = nullptr;
  CVPInfoExchange* Video = nullptr;
  // Puts a dialog in the middle of the main window (none: where it was built).
  std::function<void(ui::Window&)> Centre;
  // The video window laid out again and repainted.
  std::function<void()> RepaintVideo;
  // The video shows a picked time (only while the video window is shown).
  std::function<void(double)> ShowVideoAt;
  // The list of "Edit video files" shown on the video window's time bar (null: none) in a
  // mode (0 save, 1 delete).
  std::function<void(const std::vector<VideoRange>*, int)> ShowRangesOnTimeBar;

  // The document's recording start as a calendar time, and the day scale of the open set.
  CalendarTime RecordingStart() const;
  VideoDayScale DayScale() const;
  // The raw data file of the recording whose set is open.
  std::string RecordingRawPath() const;
  void Repaint() const;
  void CentreDialog(ui::Window& w) const;

  // ---- The dialogs (at most one of each) ----
  // "&Auto play information": the list dialog made anew.
  void OpenAutoPlay();
  // "&Save range" (Save) and "&Delete range" (Delete): the editing dialog made anew.
  void OpenEditFile(RangeEditMode mode);
  // The entry dialog of the list (mode 0 add, 1 edit range) and its edit-path dialog.
  // The setup fills the dialog's values before its window is made.
  LyrWorkspaceDlgVideoAutoPlayRange* OpenAutoPlayRange(
      const std::function<void(LyrWorkspaceDlgVideoAutoPlayRange&)>& setup);
  LyrWorkspaceDlgVideoEditPath* OpenEditPath(const std::function<void(LyrWorkspaceDlgVideoEditPath&)>& setup);
  // The range dialog of "Edit video files".
  LyrWorkspaceDlgVideoRange* OpenRange();
  // An auto-play run started by "Previe&w" has ended: the list comes back with its entry.
  void ShowAutoPlayAfterRun(int entry);

  // Each is destroyed after the message that ended it has been handled.
  void CloseAutoPlay();
  void CloseAutoPlayRange();
  void CloseEditPath();
  void CloseEditFile();
  void CloseRange();
  // Every dialog at once (the recording or the window goes).
  void CloseAll();

  LyrWorkspaceDlgVideoAutoPlay* AutoPlay() const { return autoPlay_.get(); }
  LyrWorkspaceDlgVideoAutoPlayRange* AutoPlayRange() const { return autoPlayRange_.get(); }
  LyrWorkspaceDlgVideoEditPath* EditPath() const { return editPath_.get(); }
  CVPDlgEditFile* EditFile() const { return editFile_.get(); }
  LyrWorkspaceDlgVideoRange* Range() const { return range_.get(); }

  // ---- The time pick ----
  // A Cursor button: the wave page takes the next click as the start (1) or end (2) of the
  // entry dialog (forAutoPlay) or of the range dialog; a start goes to the main frame's
  // synchronisation dialog too. Only applied ranges count as an edit of
  // the video set, so the pick leaves that flag alone.
  void BeginPick(int target, bool forAutoPlay);
  bool Picking() const { return pickTarget_ != 0; }
  int PickTarget() const { return pickTarget_; }
  // The clicked time on the video clock: handed to the waiting dialogs, the video moves there,
  // the dialogs come back and the pick ends.
  void DeliverPick(double videoTime);
  // The pick given up (right click): the dialogs come back.
  void CancelPick();

 private:
  void ShowPickers();
  std::unique_ptr<LyrWorkspaceDlgVideoAutoPlay> autoPlay_;
  std::unique_ptr<LyrWorkspaceDlgVideoAutoPlayRange> autoPlayRange_;
  std::unique_ptr<LyrWorkspaceDlgVideoEditPath> editPath_;
  std::unique_ptr<CVPDlgEditFile> editFile_;
  std::unique_ptr<LyrWorkspaceDlgVideoRange> range_;
  int pickTarget_ = 0;
  bool pickForAutoPlay_ = false;
  bool pickForRange_ = false;
};

// Gives the dialogs of a workspace pane its document, video controller and windows.
void ConnectVideoDialogs(LyrWorkspaceDummyView& view, CMainFrame* main);

// Maps the video menu's "&Save range", "&Delete range" and "&Auto play information" of the
// workspace frame to the dialogs of the frame's host pane, with their enable rules.
void MapVideoDialogCommands(LyrWorkspaceFrame& frame);
