#pragma once
// The "Artifact/Cross level" page of the "Other" settings (child template 304): per channel the
// artifact check level and the level-crossing count set-up. The page writes the document's
// blocks at once (Apply buttons); the host calls CheckChanged on OK and RestoreSettings on
// Cancel, which puts back the blocks as they were when the page opened.
#include <array>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_ARTIFACT_CROSS = 304;
inline constexpr int IDC_OAC_CHANNEL_LIST = 1078;
inline constexpr int IDC_OAC_CROSS_UP_DOWN = 1429;
inline constexpr int IDC_OAC_CROSS_DOWN_UP = 1431;
inline constexpr int IDC_OAC_CROSS_NONE = 1433;
inline constexpr int IDC_OAC_CROSS_LEVEL = 1434;
inline constexpr int IDC_OAC_ARTIFACT_LEVEL = 1435;
inline constexpr int IDC_OAC_ARTIFACT_CHECK = 1436;
inline constexpr int IDC_OAC_APPLY_ARTIFACT = 1695;
inline constexpr int IDC_OAC_APPLY_CROSS = 1702;

class LyrRawDlgOtherArtifactCross : public ui::Dialog {
 public:
  explicit LyrRawDlgOtherArtifactCross(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  // A page of a host: Esc is the host's Cancel; Enter does nothing here.
  void OnOK() override {}
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  // Sets the changed flag when any channel's entry differs from the copy taken at opening.
  void CheckChanged();
  // Puts both blocks back as they were at opening, every entry byte for byte.
  void RestoreSettings();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Changed = 0;

 private:
  int ChannelCount() const;
  void FillChannelList();
  void ShowSelectedChannel();
  void UpdateEditStates();
  void OnApplyArtifact();
  void OnApplyCross();
  void OnClickChannelList();

  ChDispScaleParam savedScale_;
  ChDispModeParam savedMode_;
};
