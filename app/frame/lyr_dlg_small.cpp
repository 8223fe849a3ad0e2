#include "app/frame/lyr_dlg_small.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_rules.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

// ---- EpochJump ------------------------------------------------------------------------------

LyrDlgEpochJump::LyrDlgEpochJump(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_EPOCH_JUMP, parent), m_pDoc(doc) {}

bool LyrDlgEpochJump::OnInitDialog() {
  SetDlgItemInt(IDC_EJ_EPOCH, m_pDoc ? m_pDoc->CurrentEpoch : 0);
  return true;
}

void LyrDlgEpochJump::OnOK() {
  const std::int32_t count = m_pDoc ? m_pDoc->GetDivNum(EpochSeconds) : 0;
  const auto epoch = ParseJumpEpoch(GetDlgItemText(IDC_EJ_EPOCH), count);
  if (!epoch) {
    ui::MessageBox(res::LoadString(IDS_SD_INVALID_EPOCH));
    return;
  }
  m_Epoch = *epoch;
  EndDialog(ui::IDOK);
}

// ---- Select Channels ------------------------------------------------------------------------

LyrDlgSelectChannels::LyrDlgSelectChannels(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_SELECT_CHANNELS, parent), m_pDoc(doc) {
  MapNotify(IDC_SC_LIST, ui::NM_CLICK, [this] { OnListClick(); });
  MapNotify(IDC_SC_LIST, ui::LVN_ITEMCHANGED, [this] { OnListClick(); });
}

bool LyrDlgSelectChannels::OnInitDialog() {
  ui::Control list = Item(IDC_SC_LIST);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  list.InsertColumn(0, res::LoadString(IDS_SD_COL_NO), 40);
  list.InsertColumn(1, res::LoadString(IDS_SD_COL_CH), 100);
  list.InsertColumn(2, res::LoadString(IDS_SD_COL_SAMPLING), 100);
  const int count = m_pDoc ? std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32) : 0;
  adjusting_ = true;
  for (int i = 0; i < count; ++i) {
    const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(i)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, std::to_string(static_cast<unsigned long>(ch.rate)));
    if (m_Flags[static_cast<std::size_t>(i)] != 0) list.SetSelected(row, true);
  }
  adjusting_ = false;
  return true;
}

void LyrDlgSelectChannels::OnListClick() {
  if (adjusting_ || !m_pDoc) return;
  ui::Control list = Item(IDC_SC_LIST);
  std::vector<std::int32_t> rates;
  for (int i = 0; i < list.GetCount(); ++i) rates.push_back(m_pDoc->ChInfo[static_cast<std::size_t>(i)].rate);
  const std::vector<int> keep = KeepFirstSelectedRate(list.GetSelectedIndexes(), rates);
  adjusting_ = true;
  m_Flags.fill(0);
  for (int i = 0; i < list.GetCount(); ++i) {
    const bool on = std::find(keep.begin(), keep.end(), i) != keep.end();
    list.SetSelected(i, on);
    m_Flags[static_cast<std::size_t>(i)] = on ? 1 : 0;
  }
  adjusting_ = false;
}

// ---- Stage Change ---------------------------------------------------------------------------

namespace {

// Display name of a stage code under the document's stage type.
std::string StageName(const CQLM2_AnalyzerDoc& doc, int code) {
  const StageTypeParam& p = doc.Params.stageType;
  const int type = std::clamp<int>(p.stageType, 0, StageTypeParam::kSetCount - 1);
  if (code >= 8 && code <= 10) return p.shared[static_cast<std::size_t>(code - 8)].name;
  const std::vector<int> regular = OfferedStageCodes(type, 0);
  const auto it = std::find(regular.begin(), regular.end(), code);
  if (it == regular.end()) return {};
  const auto set = p.Set(type);
  const auto k = static_cast<std::size_t>(it - regular.begin());
  return k < set.size() ? set[k].name : std::string();
}

constexpr int kStageLists[3] = {IDC_STC_FIRST, IDC_STC_SECOND, IDC_STC_THIRD};

}  // namespace

LyrDlgStageChange::LyrDlgStageChange(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_STAGE_CHANGE, parent), m_pDoc(doc) {}

bool LyrDlgStageChange::OnInitDialog() {
  if (!m_pDoc) return true;
  const StageTypeParam& p = m_pDoc->Params.stageType;
  const std::vector<int> codes = OfferedStageCodes(p.stageType, p.sharedInUse);
  const LogicOptionParam& o = m_pDoc->Params.logicOption;
  const int stored[3] = {o.stageA, o.stageB, o.stageC};
  for (int l = 0; l < 3; ++l) {
    ui::Control list = Item(kStageLists[l]);
    list.ResetContent();
    for (int code : codes) {
      const int row = list.AddString(StageName(*m_pDoc, code));
      list.SetItemData(row, code);
    }
    const auto it = std::find(codes.begin(), codes.end(), stored[l]);
    list.SetCurSel(it == codes.end() ? -1 : static_cast<int>(it - codes.begin()));
  }
  return true;
}

void LyrDlgStageChange::OnOK() {
  if (m_pDoc) {
    LogicOptionParam& o = m_pDoc->Params.logicOption;
    std::uint8_t* targets[3] = {&o.stageA, &o.stageB, &o.stageC};
    for (int l = 0; l < 3; ++l) {
      ui::Control list = Item(kStageLists[l]);
      const int sel = list.GetCurSel();
      // A list left without a selection keeps its stored code.
      if (sel >= 0) *targets[l] = static_cast<std::uint8_t>(list.GetItemData(sel));
    }
  }
  EndDialog(ui::IDOK);
}

// ---- Set dose time --------------------------------------------------------------------------

LyrDlgSetDoseTime::LyrDlgSetDoseTime(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_SET_DOSE_TIME, parent), m_pDoc(doc) {
  MapCommand(IDC_DOSE_USE, [this] {
    m_UseDoseLatency = IsDlgButtonChecked(IDC_DOSE_USE);
    ShowChoice();
  });
  MapCommand(IDC_DOSE_REAL_TIME, [this] {
    m_Choice = 0;
    ShowChoice();
  });
  MapCommand(IDC_DOSE_EVENT, [this] {
    m_Choice = 1;
    ShowChoice();
  });
}

LyrDlgSetDoseTime::~LyrDlgSetDoseTime() = default;

bool LyrDlgSetDoseTime::OnInitDialog() {
  if (!m_pDoc) return true;
  const bool clock = ClockTimeDisplay != 0 && m_pDoc->RecordInfo.startTimeValid != 0;
  const auto& st = m_pDoc->RecordInfo.startDateTime;
  const CalendarTime base = clock ? CalendarTime{st[0], st[1], st[2], st[3], st[4], st[5]} : kElapsedBaseDate;
  const CalendarTime dose{m_DoseDateTime[0], m_DoseDateTime[1], m_DoseDateTime[2],
                          m_DoseDateTime[3], m_DoseDateTime[4], m_DoseDateTime[5]};
  const std::int64_t length = std::max<std::int32_t>(m_pDoc->GetRecordSec(), 0);
  m_DoseTime = static_cast<std::int32_t>(std::clamp<std::int64_t>(SecondsBetween(base, dose), 0, length));

  panel_ = std::make_unique<LyrDlgTimePointCompact>(this);
  panel_->CreatePanel(this);
  panel_->m_pDoc = m_pDoc;
  panel_->SetCaption(res::LoadString(IDS_SD_SET_TIME));
  panel_->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
  panel_->SetSeconds(m_DoseTime);

  ui::Control list = Item(IDC_DOSE_EVENTS);
  list.SetFullRowSelect(true);
  list.SetGridLines(true);
  list.InsertColumn(0, res::LoadString(IDS_SD_COL_DATE), 120);
  list.InsertColumn(1, res::LoadString(IDS_SD_COL_EVENT_NAME), 150);
  for (const CQLM2_AnalyzerDoc::EventEntry& e : m_pDoc->Events) {
    std::string when;
    const std::int64_t ms = m_pDoc->EventRate > 0 ? static_cast<std::int64_t>(e.position) * 1000 / m_pDoc->EventRate : 0;
    m_pDoc->GetMSecTimeString(ClockTimeDisplay, ms, &when);
    const int row = list.InsertItem(-1, when);
    const bool known = e.type >= 0 && e.type < static_cast<std::int32_t>(m_pDoc->EventNames.size());
    list.SetItemText(row, 1, known ? m_pDoc->EventNames[static_cast<std::size_t>(e.type)] : std::string());
  }
  CheckDlgButton(IDC_DOSE_USE, m_UseDoseLatency != 0 ? 1 : 0);
  CheckRadioButton(IDC_DOSE_REAL_TIME, IDC_DOSE_EVENT, m_Choice == 1 ? IDC_DOSE_EVENT : IDC_DOSE_REAL_TIME);
  ShowChoice();
  return true;
}

void LyrDlgSetDoseTime::ShowChoice() {
  const bool use = m_UseDoseLatency != 0;
  EnableItem(IDC_DOSE_REAL_TIME, use);
  EnableItem(IDC_DOSE_EVENT, use);
  EnableItem(IDC_DOSE_EVENTS, use);
  if (panel_) panel_->EnableControls(use);
  // The panel for a time of the recording, the list for an event; never both.
  ShowItem(IDC_DOSE_EVENTS, m_Choice == 1);
  if (panel_) panel_->ShowWindow(m_Choice == 1 ? ui::SW_HIDE : ui::SW_SHOW);
}

void LyrDlgSetDoseTime::OnOK() {
  m_UseDoseLatency = IsDlgButtonChecked(IDC_DOSE_USE);
  if (m_UseDoseLatency != 0 && m_pDoc) {
    if (m_Choice == 0) {
      m_DoseTime = panel_ ? panel_->GetSeconds() : m_DoseTime;
    } else {
      const std::vector<int> rows = Item(IDC_DOSE_EVENTS).GetSelectedIndexes();
      if (rows.empty() || rows.front() >= static_cast<int>(m_pDoc->Events.size())) {
        ui::MessageBox(res::LoadString(IDS_SD_SELECT_EVENT));
        return;
      }
      const auto& e = m_pDoc->Events[static_cast<std::size_t>(rows.front())];
      m_DoseTime = m_pDoc->EventRate > 0 ? e.position / m_pDoc->EventRate : 0;
    }
  }
  EndDialog(ui::IDOK);
}
