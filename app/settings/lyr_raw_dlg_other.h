#pragma once
// The "Other" settings (modal, template 303): artifact and cross levels, mark triggers and the
// per-epoch FFT of the document, one tab page each. The caller sets the document, runs the
// dialog and, after OK, reads which of the three groups changed.
#include "app/settings/lyr_raw_dlg_other_artifact_cross.h"
#include "app/settings/lyr_raw_dlg_other_fft.h"
#include "app/settings/lyr_raw_dlg_other_mark_trigger.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_SETTINGS = 303;
inline constexpr int IDC_OTHER_TAB = 9135;

class LyrRawDlgOther : public ui::Dialog {
 public:
  explicit LyrRawDlgOther(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;

  // Whether any of the three groups changed a setting (read after OK).
  bool AnyPageChanged() const { return m_ArtifactCrossChanged != 0 || m_MarkChanged != 0 || m_FftChanged != 0; }

  // The page shown: 0 artifact/cross, 1 mark, 2 FFT.
  int ShownPage() const { return shownTab_; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // 1 when the group's settings differ from those at opening; taken from the pages on OK.
  int m_ArtifactCrossChanged = 0;
  int m_MarkChanged = 0;
  int m_FftChanged = 0;

  LyrRawDlgOtherArtifactCross m_ArtifactCross;
  LyrRawDlgOtherMarkTrigger m_MarkTrigger;
  LyrRawDlgOtherFFT m_Fft;

 private:
  void OnSelchangeTab();
  void ShowPage(int index);
  void CreatePage(ui::Dialog& page);
  // The room of the pages: below the tab row, above the buttons.
  ui::Rect PageRect() const;
  void TakeChangedFlags();

  int shownTab_ = 0;
};
