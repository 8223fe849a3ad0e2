#pragma once
// The "FFT" page of the "Other" settings (child template 305): which channels take part in the
// per-epoch FFT, the averaging count, the FFT size, the window, the spectrum unit, the frequency
// bands and the range used for the rate of content. The channel list, the averaging spin, the
// FFT size, the band count and the rate-of-content choice write the document at once; the rest
// is written by ApplySettings when the host commits. RestoreSettings puts back the block as it
// was when the page opened.
#include <array>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/lyr_spin_button_ctrl.h"
#include "app/frame/tzr_static_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_FFT = 305;
inline constexpr int IDC_OFFT_CHANNEL_LIST = 9250;
inline constexpr int IDC_OFFT_AVERAGE = 1381;
inline constexpr int IDC_OFFT_AVERAGE_SPIN = 1383;
inline constexpr int IDC_OFFT_POINTS = 1395;
inline constexpr int IDC_OFFT_WINDOW = 1396;
inline constexpr int IDC_OFFT_UNIT = 1399;
inline constexpr int IDC_OFFT_BAND_COUNT = 1402;
inline constexpr int IDC_OFFT_TIME = 1428;
inline constexpr int IDC_OFFT_ALL_BANDS = 9147;
inline constexpr int IDC_OFFT_OPTIONAL_BAND = 9148;
inline constexpr int IDC_OFFT_OPTIONAL_LOW = 1430;
inline constexpr int IDC_OFFT_OPTIONAL_HIGH = 1432;
inline constexpr int IDC_OFFT_HINT = 9251;
// Name, low and high edits of bands 1 to 6.
inline constexpr std::array<std::array<int, 3>, 6> kOfftBandEdits = {{{1404, 1405, 1407},
                                                                      {1409, 1411, 1413},
                                                                      {1415, 1417, 1418},
                                                                      {1419, 1420, 1421},
                                                                      {1422, 1423, 1424},
                                                                      {1425, 1426, 1427}}};

class LyrRawDlgOtherFFT : public ui::Dialog, public LyrSpinOwner {
 public:
  explicit LyrRawDlgOtherFFT(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  // A page of a host: Esc is the host's Cancel; Enter does nothing here.
  void OnOK() override {}
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  // 1 when the page's values are valid and stored, 0 when a message was shown and the host must
  // stay open.
  int ApplySettings();
  // 1 when the page's values are valid; otherwise shows why and focuses the faulty control.
  int CheckSettings();
  // Puts the block back as it was when the page opened.
  void RestoreSettings();
  // Read-only: every control of the page is disabled.
  void SetReadOnly(bool readOnly);

  void OnSpinDelta(std::uint16_t kind, const NmUpDown& nm, long* result) override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Changed = 0;

 private:
  int ChannelCount() const;
  bool AnyChannelOn() const;
  void FillControls();
  void ShowSettings();
  void UpdateControlStates(bool readOnly);
  void UpdateRangeEdits();
  void ShowAnalysisTime();
  bool ExchangeNumbers();
  void FailAt(int id, const std::string& message);
  void OnSelchangeFftPoint();
  void OnSelchangeEffectiveBand();
  void OnAllBands();
  void OnOptionalBand();
  void OnClickChannelList();

  LyrSpinButtonCtrl spin_;
  TzrCStaticEx hint_;
  FFTBandParam saved_;
};
