#pragma once
// "List" of the wave detection (modeless): the detected waves of a time range with their time,
// epoch, latency in the time division and duration, divisions separated by "*****" rows; a
// click jumps to the wave's epoch; "Output..." writes the list with per-division statistics.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePointCompact;

// Minutes of one time division of the list (at least 1); kept in the settings file.
extern std::int32_t TimeDivisionMinutes;

inline constexpr int IDD_DETECT_LIST = 494;
inline constexpr int IDC_DL_START_FRAME = 1766;
inline constexpr int IDC_DL_END_FRAME = 1767;
inline constexpr int IDC_DL_LIST = 9006;
inline constexpr int IDC_DL_DIVISION = 1647;
inline constexpr int IDC_DL_FIND = 1768;
inline constexpr int IDC_DL_OUTPUT = 1077;

class LyrDlgDetectList : public ui::Dialog {
 public:
  explicit LyrDlgDetectList(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrDlgDetectList() override;

  bool OnInitDialog() override;
  // Close and the close box end the dialog; the opener destroys it (close callback).
  void OnOK() override { EndDialog(ui::IDOK); }

  void OnFind();
  void OnOutput();
  // Writes the list file; false when it cannot be created.
  bool WriteList(const std::string& path);

  LyrDlgTimePointCompact* StartPanel() const { return start_.get(); }
  LyrDlgTimePointCompact* EndPanel() const { return end_.get(); }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // Makes an epoch current (the main frame's jump to an epoch).
  std::function<void(std::int32_t)> m_JumpToEpoch;

 private:
  void OnListClick();
  // Reads the division field (below 1: 1) into TimeDivisionMinutes.
  void ReadDivision();

  std::unique_ptr<LyrDlgTimePointCompact> start_;
  std::unique_ptr<LyrDlgTimePointCompact> end_;
};
