#pragma once
// The screening window (modeless; template 199, or 317 in the animal-only mode): up to eight
// screening conditions, each a full set of analysis settings and a result file, edited
// through the program's settings dialogs and screened one after another by the main frame's
// step timer. While a run goes, the window hides and the small progress window (template
// 200) shows the condition being screened and offers Pause and Stop.
//
// The main frame creates the window and destroys it through CMainFrame::CloseScreeningSettingDlgs
// when the window closes.
#include <array>
#include <cstdint>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class CMainFrame;
class LyrDlgScreening;

inline constexpr int IDD_SCREENING = 199;
inline constexpr int IDD_SCREENING_ANIMAL = 317;
inline constexpr int IDD_SCREENING_PROGRESS = 200;

inline constexpr int IDC_SCR_LIST = 1745;
inline constexpr int IDC_SCR_ANALYSIS_RANGE = 1747;
inline constexpr int IDC_SCR_RESULT_FILE = 1748;
inline constexpr int IDC_SCR_LOGIC = 1749;
inline constexpr int IDC_SCR_SLEEP_DISTURBANCE = 1750;
inline constexpr int IDC_SCR_OTHER = 1751;
inline constexpr int IDC_SCR_ADD = 1752;
inline constexpr int IDC_SCR_REMOVE = 1754;
inline constexpr int IDC_SCR_STAGE_PARAMETER = 1755;
inline constexpr int IDC_SCR_PARAMETER = 1756;
inline constexpr int IDC_SCR_WAVEFORM = 1757;
inline constexpr int IDC_SCR_CONTINUATION = 1758;
inline constexpr int IDC_SCR_LEARNING = 1759;
inline constexpr int IDC_SCR_LEARNING_CHECK = 1760;
inline constexpr int IDC_SCR_PROGRESS_TEXT = 1761;
inline constexpr int IDC_SCR_PAUSE = 1762;
inline constexpr int IDC_SCR_STOP = 1763;

// The progress window of a run: "n/m" of the condition being screened, "Pause" (a button
// that stays down while pressed) and "Stop".
class LyrDlgScreeningProgress : public ui::Dialog {
 public:
  LyrDlgScreeningProgress(CMainFrame* frame, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void SetStatus(int index, int count);
  // Pause down: the run stops and the current epoch is remembered. Up: back to that epoch
  // when the user moved meanwhile, then the run goes on.
  void OnPause();
  void OnStop();
  // The window has no close of its own; Esc and Enter do nothing.
  void OnCancel() override {}
  void OnOK() override {}

 private:
  CMainFrame* frame_;
  std::int32_t pausedEpoch_ = -1;
};

class LyrDlgScreening : public ui::Dialog {
 public:
  // Per-condition "set" flags, in the order of the list's columns.
  enum SetFlag { kFlagRange, kFlagLogic, kFlagWaveform, kFlagSleepDisturbance, kFlagOther, kFlagResultFile, kFlagCount };

  LyrDlgScreening(CQLM2_AnalyzerDoc* doc, int templateId, ui::Window* parent = nullptr);
  ~LyrDlgScreening() override;
  bool OnInitDialog() override;
  void OnCancel() override { OnClose(); }
  void OnOK() override {}

  void OnAnalysisRange();
  void OnLogic();
  void OnWaveformRecognition();
  void OnSleepDisturbance();
  void OnOther();
  void OnResultFile();
  void OnAdd();
  void OnRemove();
  void OnStageParameter();
  void OnParameter();
  void OnLearning();
  void OnLearningCheck();
  void OnClose();

  // Told by the frame that a settings dialog opened from here has ended: 1 (OK) takes the
  // document's settings into the selected condition; anything else only shows the window.
  void EndAnalysisRange(int result);
  void EndLogic(int result);
  void EndWaveformRecognition(int result);
  void EndSleepDisturbance(int result);

  // Status "n/m" of condition index in the progress window.
  void SetProgressFile(int index);
  // busy disables everything that would change the conditions or start a run.
  void EnableControls(bool busy);
  // Closes the progress window, when one shows.
  void CloseProgress();
  // A run has ended (finished, stopped or failed): the progress window closes and this
  // window shows again, ready.
  void EndRun();

  int SetFlagOf(int condition, SetFlag flag) const { return flags_[static_cast<std::size_t>(condition)][flag]; }
  bool ContinuationAllowed() const { return continuationAllowed_; }
  LyrDlgScreeningProgress* Progress() const { return progress_; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  CMainFrame* Frame() const;
  int Count() const;
  int SelectedRow() const;
  void FillList(int select);
  // The recording's subject data, epoch time and stage type for the learning functions.
  void FillLearningInfo();
  // The condition's settings from the document's settings in force.
  void FillFromDocument(int condition);
  // Run continues after the last screened epoch (box ticked and continuation allowed).
  bool Continues() const;
  // The question before results are thrown away; true when the user agreed (or nothing
  // had to be asked). clearTables also makes the per-epoch tables anew.
  bool ConfirmClearResults(bool clearTables);
  // Steps before a settings dialog opens; false when it must not open.
  bool PrepareSettings();
  void HideForSettings();
  void ShowAfterSettings();
  void DisallowContinuation();
  void StartRun(bool parameterOnly);
  void OpenProgress();

  std::array<std::array<std::uint8_t, kFlagCount>, 8> flags_{};
  bool continuationAllowed_ = false;
  LyrDlgScreeningProgress* progress_ = nullptr;
};
