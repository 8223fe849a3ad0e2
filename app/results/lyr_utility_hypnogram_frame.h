#pragma once
// The result-file comparison window ("Hypnogram Utility"): an overlapped frame of its own with
// menu 227, opened by the main frame's Result File Compare command, which stays disabled while
// the window is open. Up to nine result files are shown side by side: a hypnogram band per
// file on the left (the trend window's hypnogram classes in utility mode), a stage graph per
// file on the right, one display time for all. The panes read their stages, times and cursor
// through the frame from its set of loaded files.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "app/results/utility_result_file.h"
#include "platform/draw/print.h"
#include "platform/ui/frame.h"

namespace ui {
class DialogBar;
}
class LyrUtilityStageDummyView;
class LyrUtilityStageGraphDummyView;

inline constexpr std::uint32_t IDR_UTILITY_HYPNOGRAM = 227;

// Commands of menu 227.
inline constexpr std::uint32_t ID_UTILITY_FILE_OPEN = 33047;
inline constexpr std::uint32_t ID_UTILITY_FILE_CLOSE = 33050;
inline constexpr std::uint32_t ID_UTILITY_EXIT = 33051;
inline constexpr std::uint32_t ID_UTILITY_STAGE_GRAPH_SETUP = 33052;
inline constexpr std::uint32_t ID_UTILITY_WINDOW_SETTING = 33053;
inline constexpr std::uint32_t ID_UTILITY_BITMAP = 33055;
inline constexpr std::uint32_t ID_UTILITY_STAGE_COMPARE = 33056;
inline constexpr std::uint32_t ID_UTILITY_STAGE = 33057;
inline constexpr std::uint32_t ID_UTILITY_FILE_INFORMATION = 33059;
inline constexpr std::uint32_t ID_UTILITY_STAGE_GRAPH_WINDOW = 33060;
inline constexpr std::uint32_t ID_UTILITY_PRINT = 33062;
inline constexpr std::uint32_t ID_UTILITY_STAGE_GRAPH_TEXT = 33063;
inline constexpr std::uint32_t ID_UTILITY_HELP_TOPICS = 33153;

class LyrUtilityHypnogramFrame : public ui::Frame, public LyrSplitterOwner {
 public:
  // owner: the main window, disabled while this window exists.
  explicit LyrUtilityHypnogramFrame(ui::Window* owner = nullptr);
  ~LyrUtilityHypnogramFrame() override;
  // The display minutes of a hypnogram line.
  void SetTrendTimeScale(int minutes) { m_TimeScaleMinutes = minutes; }
  int OnCreate() override;
  bool OnCreateClient(ui::CreateContext* context) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnClose() override;
  void OnDestroy() override;
  void PostNcDestroy() override;
  void OnSplitterDragged(LyrSplitterWnd& splitter) override;

  int m_TimeScaleMinutes = 0;
  // Told after the window is gone, so that its opener forgets it.
  std::function<void()> Closed;

  // The loaded result files (slots 0 .. Files.Count() - 1).
  UtilityResultFiles Files;
  // The windows that show the files' hypnograms (repainted by RedrawStageAreas).
  std::vector<ui::Window*> StageAreas;
  int StageAreaRedraws = 0;
  // The cursor's file and line.
  std::int32_t CurrentFile = 0, CurrentLine = 0;
  // Whether the stage-graph column shows, and the share of the width it takes (kept while hidden).
  bool StageGraphShown = true;
  double StageGraphShare = 0.25, SavedStageGraphShare = 0.25;
  // The "Setup" choice: 0 every file its own stage type, 1 the type and free stages below.
  std::uint16_t SetupMode = 0, SetupStageType = 0, SetupFreeCount = 0;

  // ---- What the hypnogram panes ask of a file ----
  void GetStageTypeParam(int file, StageTypeParam& out) const;
  // Stage code of an epoch merged by mode; 0 out of range.
  int GetStage(int file, int mode, std::int32_t epoch, int slot) const;
  int EpochCount(int file) const;
  int IsTimeScaleEpoch(int file, std::int32_t epoch) const;
  int GetTimeScaleOffset(int file, int step, std::int32_t epoch, int width) const;
  std::int32_t GetTimeScaleStart(int file, std::int32_t epoch, std::int32_t& start, std::int32_t& end) const;
  std::int32_t GetEpochMarker(int file, int mode) const;
  // The cursor of all files at the time of the epoch; line -1: the line that shows the epoch.
  void SetCursorEpoch(int file, int line, std::int32_t epoch);
  // 0: markers := -1; 1: previous markers := -1; other: both.
  void ClearEpochMarkers(int mode);
  void RedrawStageAreas();
  using TimeParts = UtilityTimeParts;
  TimeParts GetEpochTimeParts(int file, std::int32_t epoch) const;
  std::string GetEpochTimeString(int file, std::int32_t epoch) const;
  // The file's name with its extension.
  std::string FileNameOf(int file) const;

  // ---- Commands ----
  // Loads a file into the next slot with its band and stage graph; false when refused.
  bool OpenResultFile(const std::string& path);
  void OnFileOpen();
  // The band and stage graph of a file just loaded into the slot.
  void ShowLoadedFile(int slot);
  void OnFileClose();
  // Closes the files whose flag is set, moving the others down with their views.
  void CloseFiles(const std::array<bool, kUtilityFileSlots>& close);
  // The save offer of every modified file; false when the window must stay open.
  bool CheckSaveFiles();
  // Asks for a name and writes the slot's file; false when cancelled or failed.
  bool SaveResultFile(int slot);
  void OnExit();
  void OnWindowSetting();
  void OnStage();
  void ApplySetup();
  void OnStageGraphWindow();
  void OnStageCompare();
  void OnFileInformation();
  void OnStageGraphSetup();
  void OnStageGraphText();
  void OnBitmap();
  // Writes the whole client area as a bitmap file; 1 written.
  int SaveBitmap(const std::string& path);
  void OnPrint();
  // Prints the hypnograms into a job, three files to a page; the number of pages.
  int PrintHypnograms(draw::PrintJob& job);
  // The display-time box of the bar: a fixed entry, or "Free" with the "Display Time" dialog.
  void OnDisplayTimeChange();
  // New display minutes for every band.
  void SetDisplayMinutes(int minutes);
  void SyncDisplayTimeBox();
  void ApplyColumnWidths();

  LyrUtilityStageDummyView* StageView() const { return stageView_; }
  LyrUtilityStageGraphDummyView* GraphView() const { return graphView_; }
  LyrSplitterWnd* Splitter() const { return splitter_; }
  ui::DialogBar* DisplayBar() const { return bar_; }

 private:
  void MapCommands();
  void ReleasePanes();
  // The time scale of the display minutes and the clock mode.
  UtilityTimeScale TimeScale() const;
  ui::Window* owner_;
  ui::DialogBar* bar_ = nullptr;
  LyrSplitterWnd* splitter_ = nullptr;
  LyrUtilityStageDummyView* stageView_ = nullptr;
  LyrUtilityStageGraphDummyView* graphView_ = nullptr;
};
