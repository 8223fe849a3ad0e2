#pragma once
// Page (1) of the sleep-disturbance setup (child template 216): the air flow, chest (Resp.C)
// and abdomen (Resp.A) channels with their apnea and hypopnea criteria, snore, SpO2 and CPAP,
// the apnea, hypopnea, snore and SpO2 colours and the template buttons. The page writes the
// document's block directly; its "Cursor..." buttons hand a channel to the raw page, where a
// marked stretch gives the peak detect level and the 100 % amplitude.
#include <cstdint>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;
class LyrRawDlgSleepDisturbanceParent;

inline constexpr int IDD_SLEEP_DISTURBANCE_RESP = 216;

// Controls of one respiration row, the edits in the block's order of values (apnea level,
// hypopnea level, 100 % amplitude, peak detect level, apnea and hypopnea minimum duration,
// flow lag; 0 where the row has no such edit).
struct SdRespRowIds {
  int kind;
  int combo;
  int cursor;
  int values[7];
};
inline constexpr SdRespRowIds kSdAirflowIds{11, 1286, 1437, {1291, 1293, 1295, 1297, 1299, 1301, 1115}};
inline constexpr SdRespRowIds kSdRespCIds{12, 1287, 1438, {1303, 1305, 1308, 1310, 1312, 1314, 0}};
inline constexpr SdRespRowIds kSdRespAIds{13, 1289, 1440, {1304, 1307, 1309, 1311, 1313, 1315, 0}};

class LyrRawDlgSleepDisturbanceResp : public ui::Dialog {
 public:
  explicit LyrRawDlgSleepDisturbanceResp(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override {}  // Enter on the page does nothing
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  // Block into the controls.
  void LoadAirflow();
  void LoadRespC();
  void LoadRespA();
  void LoadSpO2();
  void LoadCPAP();
  void LoadSnore();
  void LoadAll();
  // Controls into the block (channels are stored by their lists at once).
  void SaveAirflow();
  void SaveRespC();
  void SaveRespA();
  void SaveSnore();
  void SaveSpO2();
  // A negative value stops with "ERROR" on its edit.
  bool CheckAirflow();
  bool CheckRespC();
  bool CheckRespA();
  bool CheckSnore();
  bool CheckSpO2() { return true; }

  void EnableGroup(int kind, bool enable);
  void UpdateColorButtons();
  void DisableForMenuContext();
  void PaintSwatches();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_FromScreening = 0;
  LyrRawDlgSleepDisturbanceParent* m_pParentDlg = nullptr;

 private:
  SleepDstrbParam* Block() const;
  SleepDstrbParam::Respiration* RowOf(const SdRespRowIds& ids) const;
  void LoadRow(const SdRespRowIds& ids);
  void SaveRow(const SdRespRowIds& ids);
  bool CheckRow(const SdRespRowIds& ids);
  void OnSelchangeChannel(int comboId);
  void OnCursor(int kind);
  void OnColour(int colourIndex);
  void OnShowSpO2();
};
