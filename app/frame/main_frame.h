#pragma once
// The single main window of the program. It owns the window layout (two static
// splitters holding the raw wave window on top and the trend and workspace
// windows below), the pointers to the modeless tool dialogs, the frame's timers
// and the per-epoch result arrays of the page shown. Every pane, dialog and
// computation reaches the document and the other windows through it.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/document/epoch_record.h"
#include "app/document/table_memory.h"
#include "app/frame/edit_range.h"
#include "app/frame/pane_layout.h"
#include "app/frame/window_command_states.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "platform/ui/frame.h"

class CQLM2_AnalyzerDoc;
class LyrSplitterWnd;
class LyrRawDummyView;
class LyrTrendDummyView;
class LyrWorkspaceDummyView;
class LyrRawDlgDiscussin;
class LyrDlgAnalysisRange;
class LyrRawDlgWaveFormRecognition;
class LyrRawDlgSleepDisturbanceParent;
class LyrRawDlgSleepDisturbance;
class LyrRawDlgOther;
class LyrDlgScreening;
class LyrDlgMakeAvi;
class LyrUtilityHypnogramFrame;
class LyrDlgWaveDetect;
class LyrDlgDetectList;
class LyrDlgMultiScreening;
class LyrDlgVideo;
class LyrFrameBar;
class RawPageRecognition;
class CVPInfoExchange;
class LyrWorkspaceDlgVideoSync;
namespace draw {
class Dc;
}
namespace ui {
class ControlBar;
class CopyDataListener;
class Control;
struct MinMaxInfo;
}

// Longest page (86,400 s) over the shortest epoch (4 s).
inline constexpr int kMaxEpochs = 21600;

// Band values of one epoch of the page: rows 0-5 band powers 1-6, rows 6-11 band
// ratios 1-6, one float per channel slot.
struct EpochBandBlock {
  float value[12][32];
};
static_assert(sizeof(EpochBandBlock) == 12 * 32 * 4);

// Amplitude statistics of one epoch of the page, one entry per channel slot.
struct EpochChannelStatsRecord {
  float minimum[32];
  float maximum[32];
  float mean[32];
  float absMaximum[32];
  float integral[32];
  std::int16_t crossCount[32];  // a count above 32,767 is stored as 32,767
  float cvPercent[32];
};
static_assert(sizeof(EpochChannelStatsRecord) == 832);

// True when the text after the path's last "." is "RAF" in any case: a dropped
// file of that kind is a result analysis file, any other a recording.
bool IsResultFileName(std::string_view path);

class CMainFrame : public ui::Frame {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // --- Window ----------------------------------------------------------------
  int OnCreate() override;
  bool OnCreateClient(ui::CreateContext* context) override;
  void OnPaint(draw::Dc& dc) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void PostNcDestroy() override;
  // Refuses while a run or capture forbids it, asks the close questions unless Ctrl
  // is held, writes the settings file, then closes the window and ends the program.
  void OnClose() override;
  // Minimise and maximise are swallowed while the AVI output captures the frame.
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnInitMenu(ui::Menu* menu) override;
  void OnInitMenuPopup(ui::Menu* popup, int index, bool systemMenu) override;
  void OnDropFiles(const std::vector<std::string>& paths) override;

  // Sizes the raw row and the trend column from PaneRowRatio and PaneColumnRatio.
  void LayoutPanes();
  // Takes the ratios from the panes after the user dragged a splitter bar.
  void StoreSplitRatios();
  // Adds or removes "Sleep Disturbance" in the third menu by the recording's
  // sleep-disturbance channels.
  void UpdateSleepDisturbanceMenu();

  // --- Accessors and refresh ------------------------------------------------
  // The active document, or null when the frame has no active view.
  CQLM2_AnalyzerDoc* GetDocument();
  // Repaints the raw frame of a row (-1: all five) from its stored image.
  void RedrawRawFrames(std::int16_t row);
  // Has a row (-1: the rows shown) draw its whole page anew.
  void RefreshAllViews(std::int16_t row);
  // Repaints the divided-page FFT panes while that mode is on.
  void RedrawPageFFTViews();
  // Writes the current epoch's time into the epoch tool bar.
  void UpdateFrameBarTime();
  // Reads the global part (0) or the per-document part (other) of the settings
  // file. 0 without reading while Ctrl is held; 1 when read.
  int ReadResumeFile(std::uint16_t part);
  // Writes the settings file. 1 when written (or skipped while Ctrl is held).
  int WriteResumeFile();

  // --- Services of other windows that this frame offers ---------------------
  // Opens a result analysis file.
  void OpenResultFile(const std::string& path);
  // Commands 33009 (result file open, with its dialog) and 33010 (result file save).
  void OnResultFileOpen();
  void OnResultFileSave();
  // Asks for the result file and writes it. 0 when cancelled or failed.
  int SaveResultFile();
  // Writes the result file of epochs first..last of the recording (app/results).
  // A selection (channel flags, with their count) stores only those channels; beside a raw
  // output the range starts at 0, as the new raw file begins at the range.
  int WriteResultAnalysisFile(const std::string& rawPath, const std::string& path, int first, int last,
                              const std::array<std::string, 5>& memos, const std::array<int, 32>* selected = nullptr,
                              bool besideRawOutput = false);
  // Cuts epochs first..last of the flagged channels into a new raw data file. 1 written; 0
  // after telling the user why (no file is left behind).
  int RawOutput(const std::string& path, std::int32_t first, std::int32_t last,
                const std::array<std::int32_t, 32>& selected);
  // Writes the learning-sample file of epochs first..last, named after the result file, into
  // the learning model folder; 1, or 0 after a message.
  int WriteMsfFile(const std::string& resultPath, int first, int last);
  // Writes a changed calibration into the open raw file before it is closed (own raw files
  // only). 1 written or nothing to write; 0 when the file could not be rebuilt (reported).
  int RebuildRawFileCalibration();
  // Clears the frame's analysis results and refreshes the views before a close.
  void CheckSaveAndClearResult();
  // Saves the edited play ranges of the recording's video files.
  void SaveEditedVideoRanges();
  // Applies the animal preset (10-s epochs, 40-s pages, animal bands).
  void ApplyAnimalSetting();
  // Empties the frame's text of the open recording.
  void ClearWorkingText() { workingText_.clear(); }
  // True while an open batch dialog or capture forbids closing the recording.
  bool ForbidsClosingRecording() const;
  // Whether the workspace's modeless report dialog is open.
  bool IsReportDlgOpen() const;

  // --- Bitmap output, manuals and About (main_frame_output.cpp) ---------------
  void MapOutputCommands();
  void OnBitmapOutput();
  // "&Print...": the raw window on one page, to a printer or a PDF file. 1 printed.
  int OnFilePrint();
  void OnHelpTopics();
  void OnVideoOptionHelp();
  void OnAbout();
  // The window the bitmap output saves for a choice of the Bitmap dialog: 0 the frame,
  // 1 the raw window, 2 the trend window, 3 the workspace window; null for other choices.
  ui::Window* BitmapOutputWindow(int choice);
  // Repaints the window of the choice and writes its client area as a BMP file. 1 when
  // written; 0 for a choice outside 0..3 or a failure (no file is left).
  int SaveWindowBitmap(int choice, const std::string& path);

  // --- Navigation (main_frame_navigation.cpp) -------------------------------
  // Hands keys and the wheel to HandleNavigationKey before any window sees them.
  bool PreTranslateMessage(ui::Message& msg) override;
  // Moves the epoch and the page, scores the current epoch by the stage keys.
  // source: 0 the frame, 1 the trend info area, 2 a step without page-image restore.
  void HandleNavigationKey(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::uint16_t source);
  bool OnMouseWheel(std::uint32_t flags, int delta, ui::Point screen) override;
  // Stage code of a stage key identifier under the current stage type, 0 when none.
  std::uint8_t SetStageByKey(std::uint32_t key);
  // Shift down, one raw row and no held-key scrolling yet.
  bool IsShiftScrollStart();
  // Makes a page current; epoch -1 derives the epoch from the direction of the move.
  void SetPageByEpoch(std::int32_t page, std::int32_t epoch);
  // Makes an epoch current; single steps inside the page reuse the page image.
  void JumpToEpoch(std::int32_t epoch, int restore);
  // Pause after a key from the frame, against piled-up auto-repeat (ms).
  std::uint32_t KeyRepeatPauseMs = 132;
  // Times the middle row restored its page image for an epoch step.
  int EpochFrameRestores = 0;
  // Whether an edit box whose keys stay its own has the focus: the workspace's free
  // search box or a threshold box of the trend info area (each registered by its owner).
  bool EditBoxHasFocus() const;
  // F1 released: playback of the workspace video pane starts or stops.
  void ToggleVideoPlayback();
  // Space down (0) or up (1) opens the video pane's mark menu when its menu state allows.
  void MarkVideoPosition(int spaceState);

  // --- Timers and paging commands (main_frame_timers.cpp) --------------------
  void OnTimer(std::uint32_t id) override;
  int StepPreviousEpoch();
  int StepNextEpoch(std::uint16_t source = 0);
  int StepPreviousPage();
  int StepNextPage();
  int StartAutoPreviousEpoch();
  int StartAutoNextEpoch();
  int StartAutoPreviousPage();
  int StartAutoNextPage();
  void StopAutoEpoch();
  void StopAutoPage();
  void OnSetWaitingTime();
  int StepNextPageWhileScreening();
  // The epoch tool bar's "AutoScroll" button: starts page paging or stops any paging.
  void OnAutoScroll();
  // The epoch tool bar, null until the bars are created.
  LyrFrameBar* EpochBar = nullptr;
  ui::ControlBar* StandardBar = nullptr;
  ui::ControlBar* ParameterBar = nullptr;

  // --- Bars (main_frame_bars.cpp) ---------------------------------------------
  // 1, 0 when the standard tool bar fails, -1 when the epoch or parameter bar fails.
  int CreateBars();
  std::string BuildParameterNames(std::uint16_t code);
  // Refreshes the six values of the parameter bar for the current epoch. The values come from
  // the per-page arrays; until they have been computed for the page now shown the fields stay
  // empty, so the bar never shows another page's epoch.
  void UpdateParameterBar();
  // Told by the page computations (the raw page's current row, the screening step) that the
  // per-page arrays now hold the current page; refreshes the bar.
  void PageValuesComputed();
  // Empties the six value fields and forgets the computed page (a recording closed or opened).
  void ClearParameterBar();
  // Refills the six parameter combos with the codes the recording offers.
  void ReloadParameterCombos();
  void OnParameterSelected(int slot);
  // Rewrites the selected item of a slot whose code is 14 to 32, with the channel
  // ("_ 3:name") when asked.
  void RefreshParameterComboItem(int slot, bool withChannel);
  // Position of a code in the recording's list of available value codes, or -1.
  int FindParameterListIndex(std::uint16_t code);
  // The code at a position of that list; 0 outside it.
  std::uint16_t GetParameterAt(int position);
  // Renames the per-channel items of a combo before it drops down (not while the
  // slot holds a code of 15 to 31).
  void RefreshParameterComboNames(int slot, ui::Control combo);
  // Stores the code at a list position in a slot and, for codes 14 to 32, its
  // channel: the only FFT channel for band codes, else asked in "Channel
  // Selection". 0 when that dialog was cancelled, else 1.
  int SelectParameter(int slot, int position);
  // Underline colour of each parameter value (-1: none).
  std::array<std::int64_t, 6> ParameterUnderline{-1, -1, -1, -1, -1, -1};

  // --- Display and window commands (main_frame_display.cpp) ------------------
  // Runs the Epoch dialog and applies a new epoch or page length.
  void OnEpochTime();
  // Before the per-epoch tables are made anew: with hand scoring not yet saved, asks to save it
  // (Yes/No/Cancel). True when the scoring was saved or given up; false on Cancel or when the
  // save did not happen, and the caller leaves the tables alone.
  bool KeepOrGiveUpUnsavedScoring();
  // The display dialogs of the View and Sleep menus (main_frame_display_dialogs.cpp).
  void OnPageTime();
  void OnChannelDisplayInformation();
  void OnRawChShow();
  void OnRawChGain();
  void OnRawChScale();
  void OnRawChType();
  void OnRawChColor();
  void OnDisplayOption();
  void OnStageType();
  // Refills the epoch tool bar's "Gain:", "Page:" and "Show type:" combos as asked.
  void RefreshBarCombos(bool gain, bool page, bool showType);
  // Shows or hides the trend (true) or workspace window in the bottom row.
  void ToggleBottomWindow(bool trend);
  // Puts 360 x 260 mm into a non-positive screen size; 1 when both were valid.
  static int CheckScreenSizeMillimetres();
  // Pixels per second (horizontal) and per signal unit (vertical) for a page drawn
  // 30 cm wide; either pointer may be null.
  static void CalcActualSizeScale(draw::Dc* dc, double* vertical, double* horizontal, double unit);
  // The epoch-offset buttons: jump by offset while the wave follows.
  void OnShiftEpoch(int offset);
  // The AVI output window exists and captures.
  bool AviCapturing() const;
  // While the AVI output captures, the frame keeps its current size.
  void OnGetMinMaxInfo(ui::MinMaxInfo& info);
  // Steps of the AVI timers 8104 (capture) and 8107 (speed check).
  void OnAviCaptureStep();
  void OnAviSpeedCheckStep();

  // --- Mode commands (main_frame_modes.cpp) ------------------------------------
  void OnDividedFft();
  void OnAnimalSettingOnly();
  void OnDsiFileOnly();
  void OnInitializeEnvironment();
  // Text of the "AutoScroll" button (">>" idle, "[]" while paging forward).
  std::string AutoScrollText;
  // Epoch-offset buttons act only while this is non-zero.
  std::int32_t WaveFollowFlag = 1;
  // 1 while the workspace's video pane plays its file.
  int VideoPlaying = 0;
  // After a recording's last screened page: last-stage rules, recognition, then the
  // next screening condition or the end of the batch.
  void FinishScreenedRecording();
  // Set when a mark search overflowed during the screening batch.
  bool ScreeningBatchTooManyMarks = false;

  // --- Screening (main_frame_screening.cpp; the start commands in app/results) -------
  void MapScreeningCommands();
  // Update of a command that opens a settings window of the open recording: greyed without a
  // recording, while the workspace has work pending, before the first page, or while `open`.
  void UpdateSetupWindowCommand(ui::CmdUI& cmd, bool open);
  // Sets up a staging run (StartScreening) or a parameter-only run from the first epoch,
  // or with resume from the epoch after the last screened one, and screens that page.
  // 1 when the run is set up; 0 (and ScreeningRunning back to 0) when the recording is
  // screened to its end or the per-epoch tables cannot be made.
  int StartScreening(int resume);
  int StartParameterScreening(int resume);
  // Puts screening condition n of the document into the document's settings; without
  // resume the results are cleared for the new settings. 1 ok, 0 when the tables or
  // the page cannot be made.
  int ApplyScreeningToCurrentFile(int n, int resume, int staging);
  // Pauses (stop != 0) or resumes the screening step timer.
  void StartStopScreeningTimer(int stop);
  // Ends a run at once (the progress window's "Stop"), keeping what was screened.
  void FinishScreening();
  // Runs every sleep-disturbance recogniser over the whole recording.
  void RunSleepDisturbanceRecognition(int arg);
  // Screening of the page shown: its wave forms, sleep-disturbance values and epoch
  // values, then the staging of its epochs. The last screened epoch moves to its end.
  void ScreenCurrentPage();
  // Brings the page spectra's FFT set-up and bands in line with the trend band table.
  void AdjustAnalysisSettings();
  // Opens the Logic window with its caller code (1 the Logic command, 2 the Screening window).
  void OpenDlgRawSetDiscussinTree(int caller);
  // Closing of the Logic window with its end code (1 OK): re-scores the screened epochs
  // unless the Screening window opened it.
  void CloseLogicDlg(int code);
  // Confirmation before the last-stage rules of a run stopped by the user.
  int ConfirmLastStage = 1;
  // Commands 33011 (the "Other" settings), 33012 and 33013 (start screening).
  void MapStartScreeningCommands();

  // --- Analysis settings windows (main_frame_analysis_dialogs.cpp) -------------------
  // Commands 32800 (wave-form recognition) and 32801 (sleep-disturbance recognition).
  void MapAnalysisDialogCommands();
  // Opens the wave-form recognition window (also the Screening window's button).
  void OnRawWaveFormRecognition();
  // Opens the sleep-disturbance setup window with its caller code (0 the menu, 1 the
  // Screening window).
  void OpenDlgDisturbFormRecognition(int caller);
  // Closing of those windows with their end code (1 OK, 2 Cancel; 1000 a restart of the
  // wave-form recognition window): previews end, the views redraw and the Screening window,
  // when open, is told.
  void CloseWaveFormRecognitionDlg(int code);
  void CloseSleepDisturbanceParentDlg(int code);
  // Runs the "Other" settings for the document; after OK the page spectra follow the band
  // table. Returns the dialog's end code.
  int RunOtherSettings(LyrRawDlgOther& dlg);
  // Command 33011: the "Other" settings, kept in the settings file after OK.
  void OnOtherSettings();
  // Enables or disables the trend and workspace panes (disabled while the Screening window
  // has a settings window open).
  void EnableTrendAndWorkspace(bool enable);

  // --- Commands that open windows and dialogs (main_frame_windows.cpp) ---------
  void MapWindowCommands();
  void MapFrameCommands();
  void MapResultFileCommands();
  // The program's state as the window commands' update handlers read it.
  FrameWindowState CurrentWindowState();
  void OnAnalysisRange();
  // Called by the Analysis Range dialog when it ends: 1 OK, 2 Cancel.
  void EndAnalysisRange(int result);
  // The first epoch of the analysed range made current everywhere, its pages read anew.
  void ShowRangeFromStart();
  void OnEpochJump();
  void OnWaveDetectSetting();
  void CloseWaveDetectDlg();
  void OnWaveDetectList();
  void CloseDetectListDlg();
  void OnScreening();
  // Called by the screening window when it ends its settings mode.
  void CloseScreeningSettingDlgs();
  void OnAviOutput();
  void CloseAviDlg();
  // "Multi-screening...": the DSI plug-in back to asking, then the multi-screening window.
  void OpenMultiScreeningDlg();
  // Puts a window of the frame in the middle of the frame's window rectangle.
  void CentreOnFrame(ui::Window& window) const;
  void OnScreenItem();
  void OnDataProcessing();
  void OnParameterOutput();
  void OnRawTextOutput();
  // "&Raw data Output...": the dialog, then the raw file, the video copy and the result file.
  void OnRawDataOutput();
  // "Ca&libration...": the calibration dialog, then everything that depends on it made anew.
  void OnCalibration();
  void OnResultFileCompare();
  // "Video file Open...": a video file chosen for the recording, then the video-sync dialog.
  void OnVideoFileOpen();
  // Makes the video-sync dialog anew (the previous one goes) and brings the video pane forward.
  void OpenVideoSyncDlg();
  // Called by the video-sync dialog when it ends: 1 OK, other Cancel.
  void EndVideoSyncDlg(int result);
  // Adds "Video file Open..." to the File menu when the video player library is beside the
  // program (once).
  void AddVideoMenuItem();
  // Puts the epoch into the range panel of the workspace's open report dialog.
  void UpdateTimePointPanel(int epoch);
  // Before a recording is closed: lets the video player library go unless an auto-play entry
  // plays, and empties the workspace lists and the zoom pane.
  void ReleaseVideoBeforeClose();
  void ClearWorkspaceLists();
  // After a recording's tables are made: the workspace's search combos and mark types.
  void FillWorkspaceForRecording();
  // After a recording is open: the workspace lists follow it, the trend window's information
  // area starts afresh (thresholds, undo history).
  void RefreshWindowsAfterOpen();
  // After a recording is open: its video set when it has one (unless an auto-play entry plays),
  // the video file menu entry.
  void OpenRecordingVideo(const std::string& recordingPath);
  // Commands the page-spectrum panes send the frame (page-FFT channels, FFT scale), passed on
  // to the workspace window that owns them (app/workspace).
  void MapWorkspaceCommands();
  // The workspace tab strip, through which every window brings a workspace pane forward.
  LyrWorkspaceAreaTabCtrl WorkspaceTabs;
  // The workspace window's video player controller, null before the panes exist.
  CVPInfoExchange* VideoController() const;
  // Brings the Tool menu's user-program entries into line with UserProgramTable.
  void BuildUserProgramMenu();
  // "User P&rogram Add...": the User program dialog, then the Tool menu follows the table.
  void OnUserProgramAdd();
  // Starts the user program of that entry (0..9) as a process of its own.
  void RunUserProgram(std::int16_t index);
  // Repaint the trend window (all: its first pane, else each graph) and the workspace panes.
  void RedrawTrendViews(int all);
  void RedrawWorkspaceViews();
  // The fastest channel (GetMaxShownChannelRate: among the shown channels), its rate and
  // index. 0, with rate 0 and channel -1, when there is none: callers that divide by the
  // rate have nothing to do then.
  int GetMaxChannelRate(std::uint32_t* rate, std::int16_t* channel);
  int GetMaxShownChannelRate(std::uint32_t* rate, std::int16_t* channel);
  // State of the workspace and video windows read by the update handlers.
  std::uint32_t WorkspaceStateWord = 0;
  int VideoLibraryBound = 0;
  int VideoPaneBusy = 0;
  std::uint16_t VideoOpenState = 0;
  int AutoPlayRunning = 0;

  // --- Remote screening request (main_frame_remote.cpp) -----------------------
  // A copy-data message of code 522 from another program: screens the recording it names
  // and copies the recording and its result files where it asks. Answers nothing.
  bool OnCopyData(ui::Window* sender, const ui::CopyData& data) override;
  // Opens the recording and screens it in the Multi-screening window: 1 done, 0xFFFF the run
  // failed, 0 the recording could not be opened or the window not made.
  std::uint16_t RunRemoteScreening(const std::string& dataPath, std::uint32_t* folderMode, std::string* folderText);
  // Receives the requests of other programs on the socket path; false when another program
  // listens there.
  bool ListenForRemoteRequests(const std::string& socketPath);
  bool IsListeningForRemoteRequests() const;

  // --- Layout ----------------------------------------------------------------
  LyrSplitterWnd* OuterSplitter() const { return outerSplitter_.get(); }
  LyrSplitterWnd* InnerSplitter() const { return innerSplitter_.get(); }
  LyrRawDummyView* RawView() const;
  LyrTrendDummyView* TrendView() const;
  LyrWorkspaceDummyView* WorkspaceView() const;

  // --- State -----------------------------------------------------------------
  int AviRunning = 0;
  int VideoFollowsWave = 1;
  double VideoTimeOfEpoch = 0.0;
  int VideoOpen = 0;
  std::string VideoFilePath;
  int AutoPlayStart = 0;
  int AutoPlayEntry = -1;
  std::string AutoPlayDataPath;
  std::string AutoPlayResultPath;
  std::uint16_t AutoPagingMode = 0;
  std::string ResultFilePath;
  // The raw page's selected stretch for the stage, event and mark commands.
  EditRangeRec EditRange;

  // Per-epoch results of the page shown, by the epoch's position in the page.
  tablemem::ZeroedTable<LyrEpochRec> EpochWaveRecords;
  tablemem::ZeroedTable<EpochBandBlock> EpochBandValues;
  tablemem::ZeroedTable<EpochChannelStatsRecord> EpochChannelStats;

  // Destroys the modeless tool dialogs that are still open (the frame's destruction).
  void DestroyOpenToolDialogs();
  // Modeless tool dialogs, null while closed.
  LyrRawDlgDiscussin* LogicDlg = nullptr;
  LyrDlgAnalysisRange* AnalysisRangeDlg = nullptr;
  LyrRawDlgWaveFormRecognition* WaveFormRecognitionDlg = nullptr;
  LyrRawDlgSleepDisturbanceParent* SleepDisturbanceParentDlg = nullptr;
  LyrRawDlgSleepDisturbance* SleepDisturbanceDlg = nullptr;
  LyrDlgScreening* ScreeningDlg = nullptr;
  LyrDlgMakeAvi* MakeAviDlg = nullptr;
  LyrUtilityHypnogramFrame* ResultCompareFrame = nullptr;
  LyrDlgWaveDetect* WaveDetectDlg = nullptr;
  LyrDlgDetectList* WaveDetectListDlg = nullptr;
  LyrDlgMultiScreening* MultiScreeningDlg = nullptr;
  LyrDlgVideo* VideoDlg = nullptr;
  // The video-sync dialog opened by "Video file Open...".
  LyrWorkspaceDlgVideoSync* VideoSyncDlg = nullptr;

 private:
  void MapPagingCommands();
  const std::vector<std::int32_t>& ParameterCodeList();
  void MapDisplayCommands();
  void MapDisplayDialogCommands();
  void MapModeCommands();
  void ToggleBar(ui::ControlBar* bar, std::uint32_t& flag);
  void SetAutoScrollText(const std::string& text);
  void RunWaitTimeDialog();
  void RestoreCurrentEpochFrame();
  void FollowVideo(bool drawPositionMark = false);
  // Removes the first queued key-down of that key (auto-repeat piled up behind a step).
  static void DropPendingKey(std::uint32_t key);
  DockStates CurrentDockStates() const;

  // Replaces the recent-file entries of the File menu by the current list.
  void ShowRecentFiles(ui::Menu& filePopup);
  // Default fonts, colours and settings when the settings file was not read.
  static void LoadDefaultGlobalSettings();

  // Wave-form recognition state of the pages a screening run screens.
  std::unique_ptr<RawPageRecognition> screeningRecognition_;
  std::unique_ptr<LyrSplitterWnd> innerSplitter_;
  std::unique_ptr<LyrSplitterWnd> outerSplitter_;
  ui::CreateContext savedCreateContext_;
  std::string workingText_;
  std::string recentFilePlaceholder_;
  std::vector<std::int32_t> availableCodes_;
  // The page (and page and epoch length) the per-page arrays were computed for; -1 none.
  std::int64_t pageValuesKey_ = -1;
  std::int64_t CurrentPageValuesKey();
  std::shared_ptr<ui::CopyDataListener> remoteRequests_;
};
