#pragma once
// "Filter condition" (modal, template 330): the filter a multi-screening channel gets (base
// offset, low-, high-, band-pass or band-stop filter, notch). Every control acts on Filter at
// once; the caller takes Filter after OK.
#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_MS_FILTER_CONDITION = 330;
inline constexpr int IDC_MSF_BASE_OFFSET = 3301;
inline constexpr int IDC_MSF_FILTER = 3302;
inline constexpr int IDC_MSF_LPF = 3303;
inline constexpr int IDC_MSF_HPF = 3304;
inline constexpr int IDC_MSF_BSF = 3305;
inline constexpr int IDC_MSF_BPF = 3306;
inline constexpr int IDC_MSF_CUT1 = 3307;
inline constexpr int IDC_MSF_CUT2 = 3308;
inline constexpr int IDC_MSF_NOTCH = 3309;
inline constexpr int IDC_MSF_50HZ = 3310;
inline constexpr int IDC_MSF_60HZ = 3311;

class LyrDlgFilterCondition : public ui::Dialog {
 public:
  explicit LyrDlgFilterCondition(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  MultiScreeningChannelFilter Filter;

 private:
  int RadioType() const;
  void EnableControls();
  void OnFilterCheck();
  void OnType();
  void OnNotch();
  void StoreCut(int id);
};
