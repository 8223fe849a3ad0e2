#pragma once
// The "Waveform recognition" window (modeless, template 142) that sets the wave-form
// recognition block of the document. The main frame creates it, keeps the one pointer and is
// told how it ended through CMainFrame::CloseWaveFormRecognitionDlg (1 OK, 2 Cancel, 1000 a
// restart). This is the part its callers need: the settings themselves are edited in the
// document's block.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_WAVEFORM_RECOGNITION = 142;

class LyrRawDlgWaveFormRecognition : public ui::Dialog {
 public:
  explicit LyrRawDlgWaveFormRecognition(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_WAVEFORM_RECOGNITION, parent), m_pDoc(doc) {}

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
};
