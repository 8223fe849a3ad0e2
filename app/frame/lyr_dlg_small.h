#pragma once
// Small shared dialogs whose result the opener reads after they close: the epoch to jump to,
// the channels of one sampling rate and the three stage codes of the stage change rule.
#include <array>
#include <cstdint>
#include <memory>

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

inline constexpr int IDD_SET_DOSE_TIME = 313;
inline constexpr int IDC_DOSE_USE = 1692;
inline constexpr int IDC_DOSE_EVENTS = 1847;
inline constexpr int IDC_DOSE_REAL_TIME = 9182;
inline constexpr int IDC_DOSE_EVENT = 9183;
inline constexpr int IDC_DOSE_PANEL_FRAME = 9184;

class LyrDlgTimePointCompact;

// "Set dose time": the dose time in seconds from the recording start, picked as a time of the
// recording or as the time of an event, and whether the dose latency is used at all.
class LyrDlgSetDoseTime : public ui::Dialog {
 public:
  explicit LyrDlgSetDoseTime(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrDlgSetDoseTime() override;
  bool OnInitDialog() override;
  void OnOK() override;

  LyrDlgTimePointCompact* Panel() const { return panel_.get(); }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // In: the dose as a calendar time (year, month, day, hour, minute, second).
  std::array<int, 6> m_DoseDateTime{2000, 11, 1, 0, 0, 0};
  // Out: seconds from the recording start.
  std::int32_t m_DoseTime = 0;
  // 0 "Real time", 1 "Event".
  int m_Choice = 0;
  int m_UseDoseLatency = 1;

 private:
  void ShowChoice();
  std::unique_ptr<LyrDlgTimePointCompact> panel_;
};
