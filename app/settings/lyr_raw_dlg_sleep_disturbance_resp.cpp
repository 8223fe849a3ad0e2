#include "app/settings/lyr_raw_dlg_sleep_disturbance_resp.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/sleep_disturbance_page_common.h"

namespace {

constexpr int kSnoreCombo = 1817;
constexpr int kSnoreCursor = 1819;
constexpr int kSnoreEdits[3] = {1821, 1822, 1823};  // level, minimum, maximum
constexpr int kSpO2Combo = 1333;
constexpr int kSpO2Show = 1684;
constexpr int kSpO2Level = 1903;
constexpr int kSpO2Unit = 1921;
constexpr int kCpapCombo = 1334;
constexpr int kApneaColour = 1408;
constexpr int kHypopneaColour = 1401;
constexpr int kSnoreColour = 1412;
constexpr int kSpO2Colour = 1416;
constexpr int kLead = 1899;
constexpr int kSave = 1900;

// Colours of the block's colour table (index) and the statics that show them.
struct Swatch {
  int button;
  int swatch;
  int colourIndex;
};
constexpr Swatch kSwatches[] = {{kApneaColour, 1406, 2}, {kHypopneaColour, 1403, 1}, {kSnoreColour, 1410, 4},
                                {kSpO2Colour, 1414, 7}};

// Order in which a row's edits are checked: peak level, amplitude, apnea level and duration,
// hypopnea level and duration, flow lag.
constexpr int kCheckOrder[7] = {3, 2, 0, 4, 1, 5, 6};

}  // namespace

LyrRawDlgSleepDisturbanceResp::LyrRawDlgSleepDisturbanceResp(ui::Window* parent)
    : ui::Dialog(IDD_SLEEP_DISTURBANCE_RESP, parent) {
  for (int combo : {kSdAirflowIds.combo, kSdRespCIds.combo, kSdRespAIds.combo, kSpO2Combo, kCpapCombo, kSnoreCombo})
    MapNotify(combo, ui::CBN_SELCHANGE, [this, combo] { OnSelchangeChannel(combo); });
  for (const SdRespRowIds* row : {&kSdAirflowIds, &kSdRespCIds, &kSdRespAIds}) {
    const int kind = row->kind;
    MapCommand(static_cast<std::uint32_t>(row->cursor), [this, kind] { OnCursor(kind); });
  }
  MapCommand(kSnoreCursor, [this] { OnCursor(kSdSnore); });
  for (const Swatch& s : kSwatches) {
    const int index = s.colourIndex;
    MapCommand(static_cast<std::uint32_t>(s.button), [this, index] { OnColour(index); });
  }
  MapCommand(kSpO2Show, [this] { OnShowSpO2(); });
  MapCommand(kLead, [this] {
    if (m_pParentDlg != nullptr) m_pParentDlg->ReadTemplate();
  });
  MapCommand(kSave, [this] {
    if (m_pParentDlg != nullptr) m_pParentDlg->SaveTemplate();
  });
}

SleepDstrbParam* LyrRawDlgSleepDisturbanceResp::Block() const {
  return m_pDoc != nullptr ? &m_pDoc->Params.sleepDstrb : nullptr;
}

SleepDstrbParam::Respiration* LyrRawDlgSleepDisturbanceResp::RowOf(const SdRespRowIds& ids) const {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return nullptr;
  if (ids.kind == kSdAirflow) return &p->airFlow;
  if (ids.kind == kSdRespC) return &p->chest;
  return &p->abdomen;
}

bool LyrRawDlgSleepDisturbanceResp::OnInitDialog() {
  for (const Swatch& s : kSwatches) {
    const int index = s.colourIndex;
    sdpage::AttachSwatch(*this, s.swatch, [this, index]() -> std::uint32_t {
      const SleepDstrbParam* p = Block();
      return p != nullptr ? p->eventColours[static_cast<std::size_t>(index)] : 0u;
    });
  }
  DisableForMenuContext();
  LoadAll();
  PreviewKind = 0;
  return true;
}

void LyrRawDlgSleepDisturbanceResp::LoadAll() {
  LoadAirflow();
  LoadRespC();
  LoadRespA();
  LoadSpO2();
  LoadCPAP();
  LoadSnore();
}

// ---- Loads -----------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceResp::LoadRow(const SdRespRowIds& ids) {
  SleepDstrbParam::Respiration* row = RowOf(ids);
  if (row == nullptr) return;
  sdpage::LoadChannelCombo(*this, ids.combo, m_pDoc, &row->channel);
  EnableGroup(ids.kind, row->channel != -1);
  for (int i = 0; i < 7; ++i)
    if (ids.values[i] != 0) sdpage::SetNumber(*this, ids.values[i], row->values[static_cast<std::size_t>(i)]);
}

void LyrRawDlgSleepDisturbanceResp::LoadAirflow() { LoadRow(kSdAirflowIds); }
void LyrRawDlgSleepDisturbanceResp::LoadRespC() { LoadRow(kSdRespCIds); }
void LyrRawDlgSleepDisturbanceResp::LoadRespA() { LoadRow(kSdRespAIds); }

void LyrRawDlgSleepDisturbanceResp::LoadSpO2() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::LoadChannelCombo(*this, kSpO2Combo, m_pDoc, &p->spo2Channel);
  if (p->spo2Channel >= 0) {
    CheckDlgButton(kSpO2Show, p->spo2Show != 0 ? 1 : 0);
    sdpage::SetNumber(*this, kSpO2Level, p->spo2ShowLevel, "%.1f");
    SetDlgItemText(kSpO2Unit, m_pDoc->ChInfo[static_cast<std::size_t>(p->spo2Channel)].unit);
  }
  EnableGroup(kSdSpO2, p->spo2Channel != -1);
}

void LyrRawDlgSleepDisturbanceResp::LoadCPAP() {
  if (SleepDstrbParam* p = Block()) sdpage::LoadChannelCombo(*this, kCpapCombo, m_pDoc, &p->cpapChannel);
}

void LyrRawDlgSleepDisturbanceResp::LoadSnore() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::LoadChannelCombo(*this, kSnoreCombo, m_pDoc, &p->snore.channel);
  EnableGroup(kSdSnore, p->snore.channel != -1);
  for (int i = 0; i < 3; ++i) sdpage::SetNumber(*this, kSnoreEdits[i], p->snore.values[static_cast<std::size_t>(i)]);
}

// ---- Saves -----------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceResp::SaveRow(const SdRespRowIds& ids) {
  SleepDstrbParam::Respiration* row = RowOf(ids);
  if (row == nullptr) return;
  for (int i = 0; i < 7; ++i) {
    double& value = row->values[static_cast<std::size_t>(i)];
    if (ids.values[i] != 0) sdpage::StoreNumber(*this, ids.values[i], &value);
    else value = 0.0;  // chest and abdomen have no flow lag
  }
}

void LyrRawDlgSleepDisturbanceResp::SaveAirflow() { SaveRow(kSdAirflowIds); }
void LyrRawDlgSleepDisturbanceResp::SaveRespC() { SaveRow(kSdRespCIds); }
void LyrRawDlgSleepDisturbanceResp::SaveRespA() { SaveRow(kSdRespAIds); }

void LyrRawDlgSleepDisturbanceResp::SaveSnore() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  for (int i = 0; i < 3; ++i) sdpage::StoreNumber(*this, kSnoreEdits[i], &p->snore.values[static_cast<std::size_t>(i)]);
}

void LyrRawDlgSleepDisturbanceResp::SaveSpO2() {
  SleepDstrbParam* p = Block();
  // Without an SpO2 channel the controls show nothing of the block: the stored values stay.
  if (p == nullptr || p->spo2Channel < 0) return;
  p->spo2Show = static_cast<std::uint16_t>(IsDlgButtonChecked(kSpO2Show) != 0 ? 1 : 0);
  sdpage::StoreNumber(*this, kSpO2Level, &p->spo2ShowLevel, "%.1f");
}

// ---- Checks ----------------------------------------------------------------------------------

bool LyrRawDlgSleepDisturbanceResp::CheckRow(const SdRespRowIds& ids) {
  for (int i : kCheckOrder)
    if (ids.values[i] != 0 && !sdpage::CheckNotNegative(*this, {ids.values[i]})) return false;
  return true;
}

bool LyrRawDlgSleepDisturbanceResp::CheckAirflow() { return CheckRow(kSdAirflowIds); }
bool LyrRawDlgSleepDisturbanceResp::CheckRespC() { return CheckRow(kSdRespCIds); }
bool LyrRawDlgSleepDisturbanceResp::CheckRespA() { return CheckRow(kSdRespAIds); }
bool LyrRawDlgSleepDisturbanceResp::CheckSnore() {
  return sdpage::CheckNotNegative(*this, {kSnoreEdits[0], kSnoreEdits[1], kSnoreEdits[2]});
}

// ---- Enabling --------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceResp::EnableGroup(int kind, bool enable) {
  const bool screening = m_FromScreening != 0;
  const SdRespRowIds* row = kind == kSdAirflow ? &kSdAirflowIds
                            : kind == kSdRespC ? &kSdRespCIds
                            : kind == kSdRespA ? &kSdRespAIds
                                               : nullptr;
  if (row != nullptr) {
    // The cursor, peak level and amplitude only where channels may be changed.
    if (screening) {
      EnableItem(row->cursor, enable);
      EnableItem(row->values[3], enable);
      EnableItem(row->values[2], enable);
    }
    for (int i : {0, 4, 1, 5, 6})
      if (row->values[i] != 0) EnableItem(row->values[i], enable);
    UpdateColorButtons();
    return;
  }
  if (kind == kSdSnore) {
    if (screening) {
      EnableItem(kSnoreCursor, enable);
      EnableItem(kSnoreEdits[0], enable);
    }
    EnableItem(kSnoreEdits[1], enable);
    EnableItem(kSnoreEdits[2], enable);
    EnableItem(kSnoreColour, enable);
  } else if (kind == kSdSpO2) {
    EnableItem(kSpO2Colour, enable);
    EnableItem(kSpO2Show, enable);
    EnableItem(kSpO2Level, enable);
    if (enable) {
      const SleepDstrbParam* p = Block();
      const bool shown = p != nullptr && p->spo2Show != 0;
      EnableItem(kSpO2Colour, shown);
      EnableItem(kSpO2Level, shown);
    }
  }
}

void LyrRawDlgSleepDisturbanceResp::UpdateColorButtons() {
  const SleepDstrbParam* p = Block();
  const bool on = p != nullptr && p->airFlow.channel >= 0 && (p->chest.channel >= 0 || p->abdomen.channel >= 0);
  EnableItem(kApneaColour, on);
  EnableItem(kHypopneaColour, on);
}

void LyrRawDlgSleepDisturbanceResp::DisableForMenuContext() {
  if (m_FromScreening != 0) return;
  for (int id : {kSdAirflowIds.combo, kSdRespCIds.combo, kSdRespAIds.combo, kSnoreCombo, kSpO2Combo, kCpapCombo,
                 kSdAirflowIds.cursor, kSdRespCIds.cursor, kSdRespAIds.cursor, kSnoreCursor,
                 kSdAirflowIds.values[3], kSdRespCIds.values[3], kSdRespAIds.values[3], kSnoreEdits[0]})
    EnableItem(id, false);
  const SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  EnableItem(kSdAirflowIds.values[2], p->airFlow.channel >= 0 && p->airFlow.channel < sdpage::ChannelCount(m_pDoc));
  EnableItem(kSdRespCIds.values[2], p->chest.channel >= 0 && p->chest.channel < sdpage::ChannelCount(m_pDoc));
  EnableItem(kSdRespAIds.values[2], p->abdomen.channel >= 0 && p->abdomen.channel < sdpage::ChannelCount(m_pDoc));
}

void LyrRawDlgSleepDisturbanceResp::PaintSwatches() {
  for (const Swatch& s : kSwatches) Item(s.swatch).Invalidate();
}

// ---- Handlers --------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceResp::OnSelchangeChannel(int comboId) {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  if (comboId == kSdAirflowIds.combo) {
    sdpage::SelectChannel(*this, comboId, &p->airFlow.channel);
    LoadAirflow();
  } else if (comboId == kSdRespCIds.combo) {
    sdpage::SelectChannel(*this, comboId, &p->chest.channel);
    LoadRespC();
  } else if (comboId == kSdRespAIds.combo) {
    sdpage::SelectChannel(*this, comboId, &p->abdomen.channel);
    LoadRespA();
  } else if (comboId == kSpO2Combo) {
    sdpage::SelectChannel(*this, comboId, &p->spo2Channel);
    LoadSpO2();
  } else if (comboId == kCpapCombo) {
    sdpage::SelectChannel(*this, comboId, &p->cpapChannel);
    LoadCPAP();
  } else if (comboId == kSnoreCombo) {
    sdpage::SelectChannel(*this, comboId, &p->snore.channel);
    LoadSnore();
  }
}

void LyrRawDlgSleepDisturbanceResp::OnCursor(int kind) {
  PreviewKind = static_cast<std::int16_t>(kind);
  SaveAirflow();
  SaveRespC();
  SaveRespA();
  SaveSnore();
  if (m_pParentDlg != nullptr) m_pParentDlg->StartPreviewPick();
}

void LyrRawDlgSleepDisturbanceResp::OnColour(int colourIndex) {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  if (sdpage::ChooseColour(*this, &p->eventColours[static_cast<std::size_t>(colourIndex)])) PaintSwatches();
}

void LyrRawDlgSleepDisturbanceResp::OnShowSpO2() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  p->spo2Show = static_cast<std::uint16_t>(IsDlgButtonChecked(kSpO2Show) != 0 ? 1 : 0);
  EnableGroup(kSdSpO2, true);
}
