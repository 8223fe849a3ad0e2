#pragma once
// The "Sleep Disturbance Recognition Setup" window (modeless, template 215) that sets the
// sleep-disturbance recognition block of the document on two tab pages. The main frame opens
// it with a caller code (0 the menu, 1 the Screening window), keeps the one pointer and is
// told how it ended through CMainFrame::CloseSleepDisturbanceParentDlg (1 OK, 2 Cancel).
// The pages edit the document's block in place; the window keeps the block as it was at
// opening, to tell at OK whether recognition must run again and to put it back at Cancel.
// Preview runs the recognisers with the edited settings and hides the window for 2.5 s.
#include <array>
#include <cstdint>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_move.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_resp.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_SLEEP_DISTURBANCE_SETUP = 215;
inline constexpr int IDC_SD_PREVIEW = 1174;
inline constexpr int IDC_SD_TAB = 1809;
inline constexpr std::uint32_t kSdPreviewTimer = 8108;
inline constexpr std::uint32_t kSdPreviewMs = 2500;

// Whether the settings that recognition reads are the same in both blocks: colours, the SpO2
// show flag and level, the two "Show peak" words and the position names do not count.
bool SameRecognitionSettings(const SleepDstrbParam& a, const SleepDstrbParam& b);

class LyrRawDlgSleepDisturbanceParent : public ui::Dialog {
 public:
  LyrRawDlgSleepDisturbanceParent(CQLM2_AnalyzerDoc* doc, int caller, ui::Window* parent = nullptr);
  ~LyrRawDlgSleepDisturbanceParent() override;

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnTimer(std::uint32_t id) override;

  // 1 when nothing recognition reads has changed since opening (the pages' controls are
  // saved into the block first).
  int IsSettingUnchanged();
  // The .sdr template commands of page (1).
  void SaveTemplate();
  void ReadTemplate();
  // The snore table made anew for the recording's epochs.
  void ResetSnoreTable();
  void OnPreview();

  // A page's "Cursor...": the raw page takes the mouse for a mark while the window is hidden.
  void StartPreviewPick();
  void HideForPreview();
  void ShowAgain();

  SleepDstrbParam OriginalParam;
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Caller = 0;  // 1 when the Screening window opened it
  int m_Visible = 1;
  LyrRawDlgSleepDisturbanceResp m_RespPage;
  LyrRawDlgSleepDisturbanceMove m_MovePage;
  SleepDstrbParam BackupParam;
  int m_Previewed = 0;

 private:
  void OnSelchangeTab();
  ui::Rect PageRect() const;
  bool CheckAll();
  void SaveAll();
  void LoadAll();
  int EpochCount() const;
  // The representative values the first Preview found, put back when the window closes.
  void PutBackRepresentativeValues();
  void FreeKeptCopies();
  void ShowPage(int index);

  LyrEpochParameter::RprsntCopy previewRprsnt_;
};
