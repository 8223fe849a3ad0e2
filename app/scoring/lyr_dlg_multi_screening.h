#pragma once
// The multi-screening window (modeless, template 327): it holds the batch's settings record,
// lists the recordings of the batch, describes one animal's channels, reaches the logic, FFT
// and range settings, keeps them as setting files (.mss) and starts a run that stages every
// animal of every recording (LyrMultiScreening). The main frame creates it into its
// multi-screening slot; the window is taken back (slot cleared, window destroyed) when it
// closes or after a run.
#include <cstdint>
#include <string>
#include <vector>

#include "app/frame/icon_button_ex.h"
#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

class CMainFrame;
class LyrDlgScreeningLogic;

inline constexpr int IDD_MULTI_SCREENING = 327;
inline constexpr int IDC_MS_FILE_LIST = 3271;
inline constexpr int IDC_MS_ADD = 3273;
inline constexpr int IDC_MS_DELETE = 3274;
inline constexpr int IDC_MS_UNDER_RAW = 3275;
inline constexpr int IDC_MS_USE_FOLDER = 3276;
inline constexpr int IDC_MS_SELECT_FOLDER = 3277;
inline constexpr int IDC_MS_FOLDER = 3278;
inline constexpr int IDC_MS_COUNT = 3279;
inline constexpr int IDC_MS_COUNT_SPIN = 3280;
inline constexpr int IDC_MS_CHANNEL_LIST = 3281;
inline constexpr int IDC_MS_UP = 3282;
inline constexpr int IDC_MS_DOWN = 3283;
inline constexpr int IDC_MS_ATTRIBUTE = 3284;
inline constexpr int IDC_MS_LEVEL = 3285;
inline constexpr int IDC_MS_FILTER = 3286;
inline constexpr int IDC_MS_APPLY = 3287;
inline constexpr int IDC_MS_LOGIC = 3288;
inline constexpr int IDC_MS_FFT = 3289;
inline constexpr int IDC_MS_SET_TIME = 3290;
inline constexpr int IDC_MS_START_TEXT = 3291;
inline constexpr int IDC_MS_END_TEXT = 3292;
inline constexpr int IDC_MS_TEMPLATE = 3293;
inline constexpr int IDC_MS_LOAD = 3294;
inline constexpr int IDC_MS_SAVE = 3295;

// Room of the open dialog's name buffer, in characters.
inline constexpr std::size_t kMsFileNameBuffer = 26100;

class LyrDlgMultiScreening : public ui::Dialog {
 public:
  // Builds the record from the settings file beside the program (defaults without one).
  explicit LyrDlgMultiScreening(CMainFrame* frame);
  ~LyrDlgMultiScreening() override;

  bool OnInitDialog() override;
  // Enter neither starts a run nor closes the window.
  void OnOK() override {}
  // "Close" (and Esc): the record is saved to the settings file and the window ends.
  void OnCancel() override;

  LyrMultiScreeningSetting Settings;

  // The run of Part "Start Screening": checks, saves the record, runs the engine, reports and
  // closes the window. Non-zero when every recording was processed; 0 when a check refused,
  // the user kept unsaved results, cancelled, or part of the data failed. silent: no
  // messages and the DSI plug-in's ini file left as it is (the remote request).
  int RunScreening(int silent);
  int CheckEmgAttribute(int silent);
  int CheckRawDataFiles(int silent);
  int CheckLogicChannels(int silent);
  void ReportResult(int result, int silent);
  // The Logic window hands its values back (conditions, last-stage and occupancy fields).
  void TakeLogic(const LyrMultiScreeningSetting& logic);
  // The Logic window is gone: this window shows again.
  void LogicClosed();
  LyrDlgScreeningLogic* LogicDlg() const { return logic_; }

  // The filter "A&pply" copies to the selected channel rows.
  MultiScreeningChannelFilter CurrentFilter;
  // The "Template" field's text.
  std::string TemplateName() const { return templateName_; }

  // Texts of the analysis range, of a channel row's level and of the filter combo's first item.
  static std::string StartText(const LyrMultiScreeningSetting& s);
  static std::string EndText(const LyrMultiScreeningSetting& s);
  static std::string LevelText(const MultiScreeningChannelAttribute& a);
  static std::string FilterComboText(const MultiScreeningChannelFilter& f);

 private:
  void OpenLogic();
  void FillFileList();
  void FillChannelList();
  void ShowChannelRow(int row);
  void SelectChannelRows(const std::vector<int>& rows);
  std::vector<int> SelectedChannelRows() const;
  void ShowSettings();
  void ShowRange();
  void ShowCurrentFilter();
  void SetButtonStates();
  void ShowTemplateName(const std::string& title);
  void MarkChanged();

  void OnAdd();
  void OnDelete();
  void OnResultMode();
  void OnSelectFolder();
  void OnCountChange();
  void OnSpin();
  void OnChannelSelection();
  void OnAttributeChange();
  void OnFilterChange();
  void OnApply();
  void OnMoveDown();
  void OnMoveUp();
  void OnFft();
  void OnSetTime();
  void OnLoad();
  void OnSave();
  // The setting file's message (LastMessageId), when there is one.
  void ShowSettingMessage();

  CMainFrame* frame_;
  LyrDlgScreeningLogic* logic_ = nullptr;
  std::string lastNotes_;
  std::string templateName_;
  CIconButtonEx upButton_;
  CIconButtonEx downButton_;
  std::uint32_t initialised_ = 0;
  bool filling_ = false;
};
