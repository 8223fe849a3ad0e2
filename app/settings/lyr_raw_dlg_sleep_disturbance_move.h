#pragma once
// Page (2) of the sleep-disturbance setup (child template 217): the left and right leg
// movement channels with their criteria and the periodic-limb-movement series, the ECG with
// its R-wave criteria and LF/HF analysis, arousal with its threshold, the body positions with
// up to six named ranges, and the leg, ECG and arousal colours. Like page (1) it writes the
// document's block directly. "Thresh&old..." tunes the arousal threshold on the shown page in
// the confirmation window, opened beside the setup window.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;
class LyrRawDlgSleepDisturbanceParent;
class LyrRawDlgSleepDisturbanceCnfrm;

inline constexpr int IDD_SLEEP_DISTURBANCE_MOVE = 217;

// Name, lower and upper bound edits of position row k.
struct SdPositionRowIds {
  int name;
  int lower;
  int upper;
};
inline constexpr std::array<SdPositionRowIds, 6> kSdPositionRows{{
    {1338, 1337, 1336}, {1341, 1340, 1339}, {1344, 1343, 1342},
    {1347, 1346, 1345}, {1352, 1349, 1348}, {1353, 1350, 1351}}};

// The LF/HF analysis times offered at an epoch length: 10, 20 and 30 s where an epoch fits,
// then 1, 3 and 5 minutes.
std::vector<int> AnalysisTimeList(int epochSeconds);
// "30sec", "1min".
std::string AnalysisTimeText(int seconds);

class LyrRawDlgSleepDisturbanceMove : public ui::Dialog {
 public:
  explicit LyrRawDlgSleepDisturbanceMove(ui::Window* parent = nullptr);
  ~LyrRawDlgSleepDisturbanceMove() override;

  bool OnInitDialog() override;
  void OnOK() override {}  // Enter on the page does nothing
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  void LoadLMLeft();
  void LoadLMRight();
  void LoadPLM();
  void LoadECG();
  void LoadPosition();
  void LoadArousal();
  void LoadAll();
  void SaveLMLeft();
  void SaveLMRight();
  void SavePLM();
  void SaveECG();
  void SavePosition();
  void SaveArousal();
  bool CheckLMLeft();
  bool CheckLMRight();
  bool CheckPLM();
  bool CheckECG();
  bool CheckPosition() { return true; }
  bool CheckArousal();

  void EnableGroup(int kind, bool enable);
  void DisableForMenuContext();
  void EnablePositionRows();
  void EnablePositionArea(bool enable);
  // Row k's texts; an upper bound below the lower one is exchanged with it.
  void GetPositionRow(int k, std::string* name, std::string* lower, std::string* upper) const;
  void SetPositionRow(int k, const std::string& name, const std::string& lower, const std::string& upper);
  void PaintSwatches();

  // The arousal threshold tuned on the shown page in the confirmation window.
  void OpenThresholdConfirm();
  void CloseThresholdConfirm();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_FromScreening = 0;
  LyrRawDlgSleepDisturbanceParent* m_pParentDlg = nullptr;
  LyrRawDlgSleepDisturbanceCnfrm* ThresholdDlg = nullptr;

 private:
  SleepDstrbParam* Block() const;
  void LoadLeg(int kind);
  void SaveLeg(int kind);
  void OnSelchangeChannel(int comboId);
  void OnCursor(int kind);
  void OnColour(int colourIndex);
  void SaveAllGroups();
};
