#pragma once
// The multi-screening window (modeless, template 327): it holds the batch's settings record,
// lists the recordings of the batch and starts a run that stages every animal of every
// recording (LyrMultiScreening). The main frame creates it into its multi-screening slot; the
// window is taken back (slot cleared, window destroyed) when it closes or after a run.
#include <cstdint>
#include <string>

#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

class CMainFrame;
class LyrDlgScreeningLogic;

inline constexpr int IDD_MULTI_SCREENING = 327;
inline constexpr int IDC_MS_FILE_LIST = 3271;
inline constexpr int IDC_MS_SUMMARY = 3272;

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

 private:
  void OpenLogic();
  void FillFileList();
  CMainFrame* frame_;
  LyrDlgScreeningLogic* logic_ = nullptr;
  std::string lastNotes_;
};
