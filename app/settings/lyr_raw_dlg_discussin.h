#pragma once
// The "Logic" window (modeless, template 221) that sets the staging logic conditions. The
// main frame opens it with a caller code (0 the menu, 1 the Logic command, others the
// Screening window) and is told how it ended through CMainFrame::CloseLogicDlg (1 OK,
// 2 Cancel). This is the part its callers need: the conditions themselves are edited in
// the document's logic block.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_LOGIC = 221;

class LyrRawDlgDiscussin : public ui::Dialog {
 public:
  LyrRawDlgDiscussin(CQLM2_AnalyzerDoc* doc, int caller, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_LOGIC, parent), m_pDoc(doc), m_Caller(caller) {}

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Caller = 0;
};
