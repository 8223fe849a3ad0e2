#pragma once
// Small shared dialogs whose result the opener reads after they close: the epoch to jump to,
// the channels of one sampling rate and the three stage codes of the stage change rule.
#include <array>
#include <cstdint>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_EPOCH_JUMP = 259;
inline constexpr int IDC_EJ_EPOCH = 1958;

class LyrDlgEpochJump : public ui::Dialog {
 public:
  explicit LyrDlgEpochJump(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::int32_t m_Epoch = 0;
};

inline constexpr int IDD_SELECT_CHANNELS = 478;
inline constexpr int IDC_SC_LIST = 1078;

class LyrDlgSelectChannels : public ui::Dialog {
 public:
  explicit LyrDlgSelectChannels(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::array<std::uint16_t, 32> m_Flags{};

 private:
  // Keeps the selection to the first selected channel's rate and rewrites the flags.
  void OnListClick();
  bool adjusting_ = false;
};

inline constexpr int IDD_STAGE_CHANGE = 476;
inline constexpr int IDC_STC_FIRST = 1812;
inline constexpr int IDC_STC_SECOND = 1808;
inline constexpr int IDC_STC_THIRD = 1807;

class LyrDlgStageChange : public ui::Dialog {
 public:
  explicit LyrDlgStageChange(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
};
