#pragma once
// The screening window (modeless; template 199, or 317 in the animal-only mode). The main
// frame creates it and destroys it through CMainFrame::CloseScreeningSettingDlgs when the
// window ends its settings mode. This is the part the frame's commands need; the settings and
// the run are the screening window's own work.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_SCREENING = 199;
inline constexpr int IDD_SCREENING_ANIMAL = 317;

class LyrDlgScreening : public ui::Dialog {
 public:
  LyrDlgScreening(CQLM2_AnalyzerDoc* doc, int templateId, ui::Window* parent = nullptr);
  // Closes the screening progress window, when one shows.
  void CloseProgress() {}
  // Told by the frame that the analysis range it opened has ended (1 OK, 2 Cancel).
  void EndAnalysisRange(int result) { lastRangeResult_ = result; }
  int LastRangeResult() const { return lastRangeResult_; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  int lastRangeResult_ = 0;
};
