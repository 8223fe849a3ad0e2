#pragma once
// The "Sleep Disturbance Recognition Setup" window (modeless, template 215) that sets the
// sleep-disturbance recognition block of the document. The main frame opens it with a caller
// code (0 the menu, 1 the Screening window), keeps the one pointer and is told how it ended
// through CMainFrame::CloseSleepDisturbanceParentDlg (1 OK, 2 Cancel). This is the part its
// callers need: the settings themselves are edited in the document's block.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_SLEEP_DISTURBANCE_SETUP = 215;

class LyrRawDlgSleepDisturbanceParent : public ui::Dialog {
 public:
  LyrRawDlgSleepDisturbanceParent(CQLM2_AnalyzerDoc* doc, int caller, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_SLEEP_DISTURBANCE_SETUP, parent), m_pDoc(doc), m_Caller(caller) {}

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Caller = 0;
};
