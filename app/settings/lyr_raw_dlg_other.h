#pragma once
// The "Other" settings (modal, template 303): artifact and cross levels, mark triggers and the
// per-epoch FFT of the document. The caller sets the document, runs the dialog and, after OK,
// reads which of the three groups changed. This is the part its callers need: the settings
// themselves are edited in the document's blocks.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_SETTINGS = 303;

class LyrRawDlgOther : public ui::Dialog {
 public:
  explicit LyrRawDlgOther(ui::Window* parent = nullptr) : ui::Dialog(IDD_OTHER_SETTINGS, parent) {}

  // Whether any of the three groups changed a setting (read after OK).
  bool AnyPageChanged() const { return m_ArtifactCrossChanged != 0 || m_MarkChanged != 0 || m_FftChanged != 0; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // 1 when the group's settings differ from those at opening.
  int m_ArtifactCrossChanged = 0;
  int m_MarkChanged = 0;
  int m_FftChanged = 0;
};
