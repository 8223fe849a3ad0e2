#pragma once
// The "FFT" page of the "Other" settings (child template 305): the per-epoch FFT set-up of the
// document. This is the part its host needs: the page keeps a copy of the FFT block taken at
// opening for Cancel, and commits nothing of its own yet (the block is edited elsewhere).
#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_FFT = 305;

class LyrRawDlgOtherFFT : public ui::Dialog {
 public:
  explicit LyrRawDlgOtherFFT(ui::Window* parent = nullptr) : ui::Dialog(IDD_OTHER_FFT, parent) {}

  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  // 1 when the page's values are valid and stored, 0 when the host must stay open.
  int ApplySettings();
  // Puts the block back as it was when the page opened.
  void RestoreSettings();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Changed = 0;

 private:
  FFTBandParam saved_;
};
