#pragma once
// "Syncronized video and waveform files" (modeless, template 291): ties a chosen video file to
// the waves. OK gives the offset between the chosen moment and the player's position; OK and
// Cancel both end in the main frame's CMainFrame::EndVideoSyncDlg (1 OK, 2 Cancel).
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_VIDEO_SYNC = 291;
inline constexpr int IDC_VS_INSTRUCTION_TIME = 9130;
inline constexpr int IDC_VS_INSTRUCTION_FRAME = 9132;

class LyrWorkspaceDlgVideoSync : public ui::Dialog {
 public:
  explicit LyrWorkspaceDlgVideoSync(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_VIDEO_SYNC, parent), m_pDoc(doc) {}
  void OnOK() override;
  // Keeps a moment picked on the waves (video clock, seconds).
  void SetStartFromCursor(double seconds) { m_Offset = seconds; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // The picked moment; after OK the offset (moment - the player's position), never below 0.
  double m_Offset = 0.0;
};
