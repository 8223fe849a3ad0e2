#include "app/settings/lyr_raw_dlg_sleep_disturbance_move.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "app/document/epoch_parameter.h"
#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_mouse.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_cnfrm.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/sleep_disturbance_page_common.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/ui/app.h"

namespace {

struct LegIds {
  int kind;
  int combo;
  int cursor;
  int level;
  int minimum;
  int maximum;
};
constexpr LegIds kLeft{14, 1316, 1443, 1319, 1317, 1318};
constexpr LegIds kRight{15, 1320, 1445, 1323, 1321, 1322};

constexpr int kPlmLower = 1325;
constexpr int kPlmUpper = 1324;
constexpr int kPlmCount = 1326;
constexpr int kLmColour = 1382;

constexpr int kEcgCombo = 1327;
constexpr int kEcgCursor = 1331;
constexpr int kEcgLevel = 1329;
constexpr int kEcgInvalid = 1332;
constexpr int kEcgAmplitude = 1356;
constexpr int kEcgColour = 1829;
constexpr int kEcgShowPeak = 1685;
constexpr int kLfHfTime = 1378;
constexpr int kLfHfPoints = 1355;
constexpr int kLfHfAverage = 1367;
constexpr int kLfHfWindow = 1375;
constexpr int kLfHfBounds[4] = {1359, 1361, 1363, 1365};  // LF from, to, HF from, to
constexpr int kUnitPower = 1753;
constexpr int kUnitAmplitude = 1754;

constexpr int kArousalCombo = 1811;
constexpr int kArousalCursor = 1813;
constexpr int kArousalLevel = 1814;
constexpr int kArousalMinimum = 1815;
constexpr int kArousalMaximum = 1816;
constexpr int kThresholdButton = 1818;
constexpr int kThresholdEdit = 1820;
constexpr int kArousalColour = 1824;
constexpr int kArousalShowPeak = 1698;

constexpr int kPositionCombo = 1335;
constexpr int kPositionCount = 1124;

// Window words in the list's order: "Rectangular", "Hanning", "Hamming".
constexpr std::uint32_t kWindowNames[3] = {64132, 64133, 64134};
constexpr std::uint16_t kWindowWords[3] = {0, 2, 1};

constexpr std::uint32_t kTextSec = 63316;
constexpr std::uint32_t kTextMin = 63317;

// The stored position name holds 15 bytes and its terminator.
constexpr std::size_t kPositionNameField = 16;

struct Swatch {
  int button;
  int swatch;
  int colourIndex;
};
constexpr Swatch kSwatches[] = {{kLmColour, 1394, 3}, {kEcgColour, 1827, 5}, {kArousalColour, 1825, 6}};

}  // namespace

std::vector<int> AnalysisTimeList(int epochSeconds) {
  std::vector<int> list;
  if (epochSeconds < 11) list.push_back(10);
  if (epochSeconds < 21) list.push_back(20);
  if (epochSeconds < 31) list.push_back(30);
  for (int s : {60, 180, 300}) list.push_back(s);
  return list;
}

std::string AnalysisTimeText(int seconds) {
  if (seconds < 60) return std::to_string(seconds) + res::LoadString(kTextSec);
  return std::to_string(seconds / 60) + res::LoadString(kTextMin);
}

LyrRawDlgSleepDisturbanceMove::LyrRawDlgSleepDisturbanceMove(ui::Window* parent)
    : ui::Dialog(IDD_SLEEP_DISTURBANCE_MOVE, parent) {
  for (int combo : {kLeft.combo, kRight.combo, kEcgCombo, kArousalCombo, kPositionCombo, kPositionCount})
    MapNotify(combo, ui::CBN_SELCHANGE, [this, combo] { OnSelchangeChannel(combo); });
  MapCommand(kLeft.cursor, [this] { OnCursor(kSdLMLeft); });
  MapCommand(kRight.cursor, [this] { OnCursor(kSdLMRight); });
  MapCommand(kEcgCursor, [this] { OnCursor(kSdECG); });
  MapCommand(kArousalCursor, [this] { OnCursor(kSdArousal); });
  MapCommand(kThresholdButton, [this] { OpenThresholdConfirm(); });
  for (const Swatch& s : kSwatches) {
    const int index = s.colourIndex;
    MapCommand(static_cast<std::uint32_t>(s.button), [this, index] { OnColour(index); });
  }
}

LyrRawDlgSleepDisturbanceMove::~LyrRawDlgSleepDisturbanceMove() {
  if (ThresholdDlg != nullptr) {
    ArousalThresholdPreview = 0;
    RawPreview.thresholdConfirmationRunning = false;
    delete ThresholdDlg;
  }
}

SleepDstrbParam* LyrRawDlgSleepDisturbanceMove::Block() const {
  return m_pDoc != nullptr ? &m_pDoc->Params.sleepDstrb : nullptr;
}

bool LyrRawDlgSleepDisturbanceMove::OnInitDialog() {
  for (const Swatch& s : kSwatches) {
    const int index = s.colourIndex;
    sdpage::AttachSwatch(*this, s.swatch, [this, index]() -> std::uint32_t {
      const SleepDstrbParam* p = Block();
      return p != nullptr ? p->eventColours[static_cast<std::size_t>(index)] : 0u;
    });
  }
  for (const SdPositionRowIds& row : kSdPositionRows)
    Item(row.name).SetLimitText(static_cast<int>(kPositionNameField - 1));
  DisableForMenuContext();
  LoadAll();
  if (m_pDoc != nullptr) {
    // Kept for the setup window's Preview, OK and Cancel and the threshold tuning.
    SleepDstrbTables& t = m_pDoc->RecognitionTables;
    t.SaveECGRcgnz();
    t.SaveECGLFHF();
    t.SaveArousalPeakNum();
    t.SaveArousalRecognize();
  }
  const SleepDstrbParam* p = Block();
  if (p != nullptr && p->positionChannel >= 0)
    EnablePositionRows();
  else
    EnablePositionArea(false);
  PreviewKind = 0;
  return true;
}

void LyrRawDlgSleepDisturbanceMove::LoadAll() {
  LoadLMLeft();
  LoadLMRight();
  LoadPLM();
  LoadECG();
  LoadPosition();
  LoadArousal();
}

// ---- Loads -----------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceMove::LoadLeg(int kind) {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  const LegIds& ids = kind == kSdLMLeft ? kLeft : kRight;
  SleepDstrbParam::PeakEvent& leg = kind == kSdLMLeft ? p->legLeft : p->legRight;
  sdpage::LoadChannelCombo(*this, ids.combo, m_pDoc, &leg.channel);
  EnableGroup(kind, leg.channel != -1);
  sdpage::SetNumber(*this, ids.level, leg.values[0]);
  sdpage::SetNumber(*this, ids.minimum, leg.values[1]);
  sdpage::SetNumber(*this, ids.maximum, leg.values[2]);
}

void LyrRawDlgSleepDisturbanceMove::LoadLMLeft() { LoadLeg(kSdLMLeft); }
void LyrRawDlgSleepDisturbanceMove::LoadLMRight() { LoadLeg(kSdLMRight); }

void LyrRawDlgSleepDisturbanceMove::LoadPLM() {
  const SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::SetNumber(*this, kPlmLower, p->plmShortestS);
  sdpage::SetNumber(*this, kPlmUpper, p->plmLongestS);
  SetDlgItemText(kPlmCount, std::to_string(p->lmLeastCount));
}

void LyrRawDlgSleepDisturbanceMove::LoadECG() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::LoadChannelCombo(*this, kEcgCombo, m_pDoc, &p->ecgChannel);
  EnableGroup(kSdECG, p->ecgChannel != -1);
  CheckDlgButton(kEcgShowPeak, p->ecgShowPeak != 0 ? 1 : 0);
  sdpage::SetNumber(*this, kEcgLevel, p->ecgPeakLevel);
  sdpage::SetNumber(*this, kEcgInvalid, p->rWaveInvalidMs);
  sdpage::SetNumber(*this, kEcgAmplitude, p->ecgAmplitudeMax);

  ui::Control time = Item(kLfHfTime);
  time.ResetContent();
  const std::vector<int> times = AnalysisTimeList(EpochSeconds);
  int selected = 0;
  for (std::size_t i = 0; i < times.size(); ++i) {
    time.AddString(AnalysisTimeText(times[i]));
    if (times[i] == p->lfhfTimeS) selected = static_cast<int>(i);
  }
  time.SetCurSel(times.empty() ? -1 : selected);

  ui::Control points = Item(kLfHfPoints);
  points.ResetContent();
  for (int i = 0; i <= 6; ++i) points.AddString(std::to_string(64 << i));
  points.SetCurSel(p->lfhfPointsIndex <= 6 ? p->lfhfPointsIndex : -1);
  SetDlgItemText(kLfHfAverage, res::LoadString(IDS_SD_AUTO));

  ui::Control window = Item(kLfHfWindow);
  window.ResetContent();
  int windowSel = -1;
  for (int i = 0; i < 3; ++i) {
    window.AddString(res::LoadString(kWindowNames[i]));
    if (kWindowWords[i] == p->lfhfWindow) windowSel = i;
  }
  window.SetCurSel(windowSel);
  for (int i = 0; i < 4; ++i) sdpage::SetNumber(*this, kLfHfBounds[i], p->lfhfBands[static_cast<std::size_t>(i)]);
  CheckRadioButton(kUnitPower, kUnitAmplitude, p->lfhfUnit != 0 ? kUnitAmplitude : kUnitPower);
}

void LyrRawDlgSleepDisturbanceMove::LoadPosition() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::LoadChannelCombo(*this, kPositionCombo, m_pDoc, &p->positionChannel);
  ui::Control count = Item(kPositionCount);
  count.ResetContent();
  for (int i = 1; i <= 6; ++i) count.AddString(std::to_string(i));
  count.SetCurSel(p->positionsInUse >= 1 && p->positionsInUse <= 6 ? p->positionsInUse - 1 : -1);
  for (int k = 0; k < 6; ++k) {
    const SleepDstrbParam::Position& pos = p->positions[static_cast<std::size_t>(k)];
    SetPositionRow(k, pos.name, sdpage::Format("%.5f", pos.from), sdpage::Format("%.5f", pos.to));
  }
  EnablePositionRows();
}

void LyrRawDlgSleepDisturbanceMove::LoadArousal() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::LoadChannelCombo(*this, kArousalCombo, m_pDoc, &p->arousal.channel);
  EnableGroup(kSdArousal, p->arousal.channel != -1);
  CheckDlgButton(kArousalShowPeak, p->arousalShowPeak != 0 ? 1 : 0);
  sdpage::SetNumber(*this, kArousalLevel, p->arousal.values[0]);
  sdpage::SetNumber(*this, kArousalMinimum, p->arousal.values[1]);
  sdpage::SetNumber(*this, kArousalMaximum, p->arousal.values[2]);
  SetDlgItemText(kThresholdEdit, std::to_string(p->arousalThreshold));
}

// ---- Saves -----------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceMove::SaveLeg(int kind) {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  const LegIds& ids = kind == kSdLMLeft ? kLeft : kRight;
  SleepDstrbParam::PeakEvent& leg = kind == kSdLMLeft ? p->legLeft : p->legRight;
  sdpage::StoreNumber(*this, ids.level, &leg.values[0]);
  sdpage::StoreNumber(*this, ids.minimum, &leg.values[1]);
  sdpage::StoreNumber(*this, ids.maximum, &leg.values[2]);
}

void LyrRawDlgSleepDisturbanceMove::SaveLMLeft() { SaveLeg(kSdLMLeft); }
void LyrRawDlgSleepDisturbanceMove::SaveLMRight() { SaveLeg(kSdLMRight); }

void LyrRawDlgSleepDisturbanceMove::SavePLM() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  sdpage::StoreNumber(*this, kPlmLower, &p->plmShortestS);
  sdpage::StoreNumber(*this, kPlmUpper, &p->plmLongestS);
  const long long count = std::atoll(GetDlgItemText(kPlmCount).c_str());
  p->lmLeastCount = static_cast<std::int32_t>(
      std::clamp<long long>(count, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void LyrRawDlgSleepDisturbanceMove::SaveECG() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  p->ecgShowPeak = static_cast<std::uint16_t>(IsDlgButtonChecked(kEcgShowPeak) != 0 ? 1 : 0);
  sdpage::StoreNumber(*this, kEcgLevel, &p->ecgPeakLevel);
  sdpage::StoreNumber(*this, kEcgInvalid, &p->rWaveInvalidMs);
  sdpage::StoreNumber(*this, kEcgAmplitude, &p->ecgAmplitudeMax);
  const std::vector<int> times = AnalysisTimeList(EpochSeconds);
  const int timeSel = Item(kLfHfTime).GetCurSel();
  if (times.empty())
    p->lfhfTimeS = 60;
  else
    p->lfhfTimeS = static_cast<std::uint16_t>(
        times[timeSel >= 0 && timeSel < static_cast<int>(times.size()) ? static_cast<std::size_t>(timeSel) : 0]);
  // Without a choice the stored point count stays (a selection of -1 is no point count).
  const int pointsSel = Item(kLfHfPoints).GetCurSel();
  if (pointsSel >= 0 && pointsSel <= 6) p->lfhfPointsIndex = static_cast<std::uint16_t>(pointsSel);
  p->lfhfAveraging = 0xFFFF;
  const int windowSel = Item(kLfHfWindow).GetCurSel();
  p->lfhfWindow = windowSel == 1 ? 2 : windowSel == 2 ? 1 : 0;
  p->lfhfUnit = IsDlgButtonChecked(kUnitPower) != 0 ? 0 : 1;
  for (int i = 0; i < 4; ++i) sdpage::StoreNumber(*this, kLfHfBounds[i], &p->lfhfBands[static_cast<std::size_t>(i)]);
}

void LyrRawDlgSleepDisturbanceMove::SavePosition() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  const int sel = Item(kPositionCount).GetCurSel();
  if (sel >= 0 && sel < 6) p->positionsInUse = sel + 1;
  for (int k = 0; k < 6; ++k) {
    std::string name, lower, upper;
    GetPositionRow(k, &name, &lower, &upper);
    SleepDstrbParam::Position& pos = p->positions[static_cast<std::size_t>(k)];
    pos.name = sys::CutToCapacity(name, kPositionNameField, sys::AnsiCodePage());
    // A bound still shown as stored keeps its digits (the texts may have been exchanged).
    const double from = pos.from, to = pos.to;
    const auto value = [from, to](const std::string& text) {
      if (text == sdpage::Format("%.5f", from)) return from;
      if (text == sdpage::Format("%.5f", to)) return to;
      return std::atof(text.c_str());
    };
    pos.from = value(lower);
    pos.to = value(upper);
  }
}

void LyrRawDlgSleepDisturbanceMove::SaveArousal() {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  p->arousalShowPeak = static_cast<std::uint16_t>(IsDlgButtonChecked(kArousalShowPeak) != 0 ? 1 : 0);
  sdpage::StoreNumber(*this, kArousalLevel, &p->arousal.values[0]);
  sdpage::StoreNumber(*this, kArousalMinimum, &p->arousal.values[1]);
  sdpage::StoreNumber(*this, kArousalMaximum, &p->arousal.values[2]);
  // The word holds 0 .. 65535; OK refuses anything else, a Preview takes the nearest.
  const long long threshold = std::atoll(GetDlgItemText(kThresholdEdit).c_str());
  p->arousalThreshold = static_cast<std::uint16_t>(std::clamp<long long>(threshold, 0, 0xFFFF));
}

void LyrRawDlgSleepDisturbanceMove::SaveAllGroups() {
  SaveLMLeft();
  SaveLMRight();
  SavePLM();
  SaveECG();
  SavePosition();
  SaveArousal();
}

// ---- Checks ----------------------------------------------------------------------------------

bool LyrRawDlgSleepDisturbanceMove::CheckLMLeft() {
  return sdpage::CheckNotNegative(*this, {kLeft.level, kLeft.minimum, kLeft.maximum});
}
bool LyrRawDlgSleepDisturbanceMove::CheckLMRight() {
  return sdpage::CheckNotNegative(*this, {kRight.level, kRight.minimum, kRight.maximum});
}
bool LyrRawDlgSleepDisturbanceMove::CheckPLM() {
  return sdpage::CheckNotNegative(*this, {kPlmLower, kPlmUpper}) &&
         sdpage::CheckWord(*this, kPlmCount, std::numeric_limits<std::int32_t>::max());
}

bool LyrRawDlgSleepDisturbanceMove::CheckECG() {
  if (!sdpage::CheckNotNegative(*this, {kEcgLevel, kEcgInvalid})) return false;
  if (!sdpage::CheckNotNegative(*this, {kLfHfBounds[0], kLfHfBounds[1], kLfHfBounds[2], kLfHfBounds[3]}))
    return false;
  for (int band = 0; band < 2; ++band) {
    const int lower = kLfHfBounds[2 * band];
    const int upper = kLfHfBounds[2 * band + 1];
    if (sdpage::ReadNumber(*this, lower) == sdpage::ReadNumber(*this, upper)) {
      sdpage::ReportError(*this, upper);
      return false;
    }
  }
  return true;
}

bool LyrRawDlgSleepDisturbanceMove::CheckArousal() {
  return sdpage::CheckNotNegative(*this, {kArousalLevel, kArousalMinimum, kArousalMaximum}) &&
         sdpage::CheckWord(*this, kThresholdEdit, 0xFFFF);
}

// ---- Enabling --------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceMove::EnableGroup(int kind, bool enable) {
  const bool screening = m_FromScreening != 0;
  if (kind == kSdLMLeft || kind == kSdLMRight) {
    const LegIds& ids = kind == kSdLMLeft ? kLeft : kRight;
    if (screening) {
      EnableItem(ids.cursor, enable);
      EnableItem(ids.level, enable);
    }
    EnableItem(ids.minimum, enable);
    EnableItem(ids.maximum, enable);
    const SleepDstrbParam* p = Block();
    const bool anyLeg = p != nullptr && (p->legLeft.channel >= 0 || p->legRight.channel >= 0);
    EnableItem(kLmColour, anyLeg ? true : enable);
  } else if (kind == kSdECG) {
    if (screening)
      for (int id : {kEcgCursor, kEcgLevel, kEcgInvalid, kEcgAmplitude}) EnableItem(id, enable);
    EnableItem(kEcgColour, enable);
    EnableItem(kEcgShowPeak, enable);
  } else if (kind == kSdArousal) {
    if (screening)
      for (int id : {kArousalCursor, kArousalLevel, kThresholdEdit}) EnableItem(id, enable);
    for (int id : {kArousalMinimum, kArousalMaximum, kArousalColour, kArousalShowPeak}) EnableItem(id, enable);
  }
}

void LyrRawDlgSleepDisturbanceMove::DisableForMenuContext() {
  if (m_FromScreening != 0) return;
  for (int id : {kLeft.combo, kRight.combo, kEcgCombo, kArousalCombo, kPositionCombo, kLeft.cursor, kRight.cursor,
                 kEcgCursor, kArousalCursor, kLeft.level, kRight.level, kEcgLevel, kArousalLevel, kEcgInvalid,
                 kEcgAmplitude})
    EnableItem(id, false);
  const SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  const int count = sdpage::ChannelCount(m_pDoc);
  const auto set = [count](std::int32_t ch) { return ch >= 0 && ch < count; };
  const bool legs = set(p->legLeft.channel) || set(p->legRight.channel);
  for (int id : {kPlmLower, kPlmUpper, kPlmCount}) EnableItem(id, legs);
  const bool ecg = set(p->ecgChannel);
  for (int id : {kLfHfTime, kLfHfPoints, kLfHfWindow, kLfHfBounds[0], kLfHfBounds[1], kLfHfBounds[2], kLfHfBounds[3],
                 kUnitPower, kUnitAmplitude})
    EnableItem(id, ecg);
  const bool arousal = set(p->arousal.channel);
  EnableItem(kThresholdButton, arousal);
  EnableItem(kThresholdEdit, arousal);
}

void LyrRawDlgSleepDisturbanceMove::EnablePositionRows() {
  const int n = Item(kPositionCount).GetCurSel();
  for (int k = 0; k < 6; ++k) {
    const SdPositionRowIds& row = kSdPositionRows[static_cast<std::size_t>(k)];
    for (int id : {row.name, row.lower, row.upper}) EnableItem(id, k <= n);
  }
}

void LyrRawDlgSleepDisturbanceMove::EnablePositionArea(bool enable) {
  EnableItem(kPositionCount, enable);
  for (const SdPositionRowIds& row : kSdPositionRows)
    for (int id : {row.name, row.lower, row.upper}) EnableItem(id, enable);
}

void LyrRawDlgSleepDisturbanceMove::GetPositionRow(int k, std::string* name, std::string* lower,
                                                   std::string* upper) const {
  const SdPositionRowIds& row = kSdPositionRows[static_cast<std::size_t>(k)];
  *name = GetDlgItemText(row.name);
  *lower = GetDlgItemText(row.lower);
  *upper = GetDlgItemText(row.upper);
  if (std::atof(upper->c_str()) < std::atof(lower->c_str())) std::swap(*lower, *upper);
}

void LyrRawDlgSleepDisturbanceMove::SetPositionRow(int k, const std::string& name, const std::string& lower,
                                                   const std::string& upper) {
  const SdPositionRowIds& row = kSdPositionRows[static_cast<std::size_t>(k)];
  SetDlgItemText(row.name, name);
  SetDlgItemText(row.lower, lower);
  SetDlgItemText(row.upper, upper);
}

void LyrRawDlgSleepDisturbanceMove::PaintSwatches() {
  for (const Swatch& s : kSwatches) Item(s.swatch).Invalidate();
}

// ---- Handlers --------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceMove::OnSelchangeChannel(int comboId) {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  if (comboId == kLeft.combo) {
    sdpage::SelectChannel(*this, comboId, &p->legLeft.channel);
    LoadLMLeft();
  } else if (comboId == kRight.combo) {
    sdpage::SelectChannel(*this, comboId, &p->legRight.channel);
    LoadLMRight();
  } else if (comboId == kEcgCombo) {
    sdpage::SelectChannel(*this, comboId, &p->ecgChannel);
    LoadECG();
  } else if (comboId == kArousalCombo) {
    sdpage::SelectChannel(*this, comboId, &p->arousal.channel);
    LoadArousal();
  } else if (comboId == kPositionCombo) {
    if (sdpage::SelectChannel(*this, comboId, &p->positionChannel)) {
      EnableItem(kPositionCount, true);
      EnablePositionRows();
    } else {
      EnablePositionArea(false);
    }
  } else if (comboId == kPositionCount) {
    EnablePositionRows();
  }
}

void LyrRawDlgSleepDisturbanceMove::OnCursor(int kind) {
  if (kind == kSdArousal) ArousalThresholdPreview = 0;
  PreviewKind = static_cast<std::int16_t>(kind);
  SaveAllGroups();
  if (m_pParentDlg != nullptr) m_pParentDlg->StartPreviewPick();
}

void LyrRawDlgSleepDisturbanceMove::OnColour(int colourIndex) {
  SleepDstrbParam* p = Block();
  if (p == nullptr) return;
  if (sdpage::ChooseColour(*this, &p->eventColours[static_cast<std::size_t>(colourIndex)])) PaintSwatches();
}

// ---- Threshold tuning ------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceMove::OpenThresholdConfirm() {
  SleepDstrbParam* p = Block();
  if (p == nullptr || ThresholdDlg != nullptr) return;
  const int perPage = EpochSeconds > 0 ? static_cast<std::int16_t>(PageSeconds / EpochSeconds) : 0;
  const int values = perPage * LyrEpochParameter::GetRprsntNumArousal(EpochSeconds);
  SleepDstrbTables& t = m_pDoc->RecognitionTables;
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(*p);
  t.AllocateArousalPeakNum(ch, values);
  t.AllocateArousalRecognize(ch, values);
  t.AllocateArousalPageTbl(ch, EpochSeconds, PageSeconds);
  PreviewKind = kSdArousal;
  ArousalThresholdPreview = 1;
  if (m_pParentDlg != nullptr) m_pParentDlg->HideForPreview();
  t.ArousalPageCount() = 0;
  RawPreview.thresholdConfirmationRunning = true;
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RefreshAllViews(-1);
  SaveArousal();

  auto* dlg = new LyrRawDlgSleepDisturbanceCnfrm();
  dlg->m_pDoc = m_pDoc;
  dlg->m_PageBufferKind = 3;
  dlg->m_MarkedChannel = p->arousal.channel;
  dlg->m_StartSample = 0;
  dlg->m_EndSample = 0;
  dlg->m_ThresholdMode = 1;
  dlg->m_Modeless = 1;
  dlg->m_pMovePage = this;
  ThresholdDlg = dlg;
  if (!dlg->CreateModeless(nullptr)) {
    ThresholdDlg = nullptr;
    delete dlg;
    CloseThresholdConfirm();
  }
}

void LyrRawDlgSleepDisturbanceMove::CloseThresholdConfirm() {
  ArousalThresholdPreview = 0;
  RawPreview.thresholdConfirmationRunning = false;
  if (LyrRawDlgSleepDisturbanceCnfrm* dlg = ThresholdDlg) {
    ThresholdDlg = nullptr;
    // The window may be closing from its own handler: it goes once that has returned.
    ui::PostTask([dlg] {
      if (dlg->IsWindow()) dlg->DestroyWindow();
      delete dlg;
    });
  }
  if (m_pParentDlg != nullptr) m_pParentDlg->ShowAgain();
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RefreshAllViews(-1);
}
