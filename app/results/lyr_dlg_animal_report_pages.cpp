// The animal report's two pages and "Set episode length": what they load from the settings,
// how their controls follow each other, their checks and their stores.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/results/lyr_dlg_animal_report.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/frame/time_point_scale.h"
#include "app/workspace/lyr_workspace_dlg_fft.h"
#include "app/workspace/lyr_workspace_text_out_dose_latency.h"
#include "app/workspace/workspace_settings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrNumberOver1 = 2507;
constexpr std::uint32_t kStrSelectObject = 2514;
constexpr std::uint32_t kStrEpisodeOver1 = 2515;
constexpr std::uint32_t kStrStageGraphDivision = 2516;
constexpr std::uint32_t kStrDivision = 2517;
constexpr std::uint32_t kStrNumberOver0 = 2527;
constexpr std::uint32_t kStrDosingTime = 2528;
constexpr std::uint32_t kStrSelectEpisodeRow = 64961;
constexpr std::uint32_t kStrColStage = 64965;
constexpr std::uint32_t kStrNone = 64969;
constexpr std::uint32_t kStrEnterNumber = 20801;
constexpr std::uint32_t kStrEnterNumberRange = 20802;
constexpr int kMaxMinutes = 5000;
constexpr int kMaxHours = 64;
// Room a vertical scroll bar takes from the list's width.
constexpr int kScrollBarWidth = 18;

void Warn(std::uint32_t id) { ui::MessageBox(res::LoadString(id), ui::MB_OK); }

void FocusAndSelect(ui::Dialog& dlg, int id) {
  dlg.Item(id).SetFocus();
  dlg.Item(id).SelectAll();
}

// A whole number typed into a field: blanks around it, a sign and digits only.
bool ParseWhole(const std::string& text, long long* value) {
  std::size_t a = text.find_first_not_of(" \t");
  if (a == std::string::npos) return false;
  const std::size_t b = text.find_last_not_of(" \t");
  const std::string t = text.substr(a, b - a + 1);
  char* end = nullptr;
  const long long v = std::strtoll(t.c_str(), &end, 10);
  if (end == t.c_str() || *end != '\0') return false;
  *value = v;
  return true;
}

std::int32_t Epoch() { return std::max<std::int32_t>(EpochSeconds, 1); }

}  // namespace

int AnimalObjectFlag(int k) {
  if (k < 0 || k >= kAnimalObjects) return 0;
  return static_cast<int>((AnimalReportSettings[static_cast<std::size_t>(k / 2)] >> (16 * (k % 2))) & 0xFFFFu) != 0 ? 1
                                                                                                                   : 0;
}

void SetAnimalObjectFlag(int k, int on) {
  if (k < 0 || k >= kAnimalObjects) return;
  std::uint32_t& word = AnimalReportSettings[static_cast<std::size_t>(k / 2)];
  const unsigned shift = 16u * static_cast<unsigned>(k % 2);
  word = (word & ~(0xFFFFu << shift)) | ((on != 0 ? 1u : 0u) << shift);
}

std::int64_t DoseTimeValue(const CQLM2_AnalyzerDoc& doc, std::int64_t seconds) {
  return LyrWorkspaceTextOutDoseLatency::TimeOrigin(doc) + seconds;
}

std::int64_t DoseSecondsOf(const CQLM2_AnalyzerDoc& doc, std::int64_t value) {
  return value - LyrWorkspaceTextOutDoseLatency::TimeOrigin(doc);
}

// ---- "Set episode length" ----------------------------------------------------------------------

LyrDlgSetEpisodeLength::LyrDlgSetEpisodeLength(ui::Window* parent) : ui::Dialog(IDD_SET_EPISODE_LENGTH, parent) {
  MapNotify(kEpisodeSec, ui::EN_CHANGE, [this] { Follow(kEpisodeSec, kEpisodeEpochs, true); });
  MapNotify(kEpisodeEpochs, ui::EN_CHANGE, [this] { Follow(kEpisodeEpochs, kEpisodeSec, false); });
  MapNotify(kDetectSec, ui::EN_CHANGE, [this] { Follow(kDetectSec, kDetectEpochs, true); });
  MapNotify(kDetectEpochs, ui::EN_CHANGE, [this] { Follow(kDetectEpochs, kDetectSec, false); });
}

bool LyrDlgSetEpisodeLength::OnInitDialog() {
  following_ = true;
  SetDlgItemText(kStage, m_StageName);
  SetDlgItemInt(kEpisodeSec, m_EpisodeSec);
  SetDlgItemInt(kEpisodeEpochs, LyrReStageWithEpisode::SecondsToEpochs(m_EpisodeSec, Epoch()));
  SetDlgItemInt(kDetectSec, m_DetectSec);
  SetDlgItemInt(kDetectEpochs, LyrReStageWithEpisode::SecondsToEpochs(m_DetectSec, Epoch()));
  SetDlgItemInt(kAllow, m_Allow);
  following_ = false;
  return true;
}

void LyrDlgSetEpisodeLength::Follow(int from, int to, bool fromSeconds) {
  if (following_) return;
  long long v = 0;
  if (!ParseWhole(GetDlgItemText(from), &v)) return;
  v = std::clamp<long long>(v, -1000000000LL, 1000000000LL);
  const auto n = static_cast<std::int32_t>(v);
  following_ = true;
  SetDlgItemInt(to, fromSeconds ? LyrReStageWithEpisode::SecondsToEpochs(n, Epoch()) : static_cast<long long>(n) * Epoch());
  following_ = false;
}

void LyrDlgSetEpisodeLength::OnOK() {
  auto read = [this](int id) {
    long long v = 0;
    return ParseWhole(GetDlgItemText(id), &v) ? v : -1;
  };
  const long long episodeSec = read(kEpisodeSec), episodeEpochs = read(kEpisodeEpochs);
  const long long detectSec = read(kDetectSec), detectEpochs = read(kDetectEpochs);
  const long long allow = read(kAllow);
  const bool episodeOk = episodeSec > 0 && episodeEpochs > 0;
  if (!episodeOk || detectSec <= 0 || detectEpochs <= 0) {
    Warn(kStrNumberOver1);
    FocusAndSelect(*this, episodeOk ? kDetectSec : kEpisodeSec);
    return;
  }
  if (allow < 0) {
    Warn(kStrNumberOver0);
    FocusAndSelect(*this, kAllow);
    return;
  }
  m_EpisodeSec = static_cast<std::int32_t>(std::min<long long>(episodeSec, 0x7FFFFFFF));
  m_DetectSec = static_cast<std::int32_t>(std::min<long long>(detectSec, 0x7FFFFFFF));
  m_Allow = static_cast<std::int32_t>(std::min<long long>(allow, 0xFFFF));
  EndDialog(ui::IDOK);
}

// ---- Page "Output object" ----------------------------------------------------------------------

LyrDlgReportObjectPage::LyrDlgReportObjectPage(ui::Window* parent) : ui::Dialog(IDD_REPORT_OBJECT_PAGE, parent) {
  for (int id : kObjectChecks) MapCommand(id, [this] { UpdateEnables(); });
  for (int k = 0; k < 3; ++k) MapCommand(kDose1 + k, [this, k] { EditDose(k); });
  MapCommand(kSelectCh, [this] { OnSelectChannels(); });
}

bool LyrDlgReportObjectPage::OnInitDialog() {
  for (int k = 0; k < kAnimalObjects; ++k) CheckDlgButton(kObjectChecks[static_cast<std::size_t>(k)], AnimalObjectFlag(k));
  m_Minutes = StageGraphTimeDivision;
  SetDlgItemInt(kSgMinutes, StageGraphTimeDivision);
  CheckRadioButton(kXOrigin, kXReal, StageGraphXAxisMode == 1 ? kXReal : kXOrigin);
  CheckRadioButton(kYPercent, kYTime, StageGraphYUnit == 1 ? kYTime : kYPercent);
  for (int k = 0; k < 3; ++k) DoseFromSeconds(k, ReportEpochSelections[static_cast<std::size_t>(k)]);
  const std::int32_t d = TextOutputTimeDivision;
  const std::int64_t epochs = d > 0 && d <= m_LastEpoch ? d : m_LastEpoch;
  m_Hours = static_cast<int>(std::clamp<std::int64_t>(epochs * Epoch() / 3600, 0, kMaxHours));
  SetDlgItemInt(kVsHours, epochs * Epoch() / 3600);
  CheckRadioButton(kTrimManual, kTrimAuto, VigilanceTrimmingMode == 1 ? kTrimAuto : kTrimManual);
  ui::Control combo = Item(kChannel);
  combo.ResetContent();
  const int channels = m_pDoc != nullptr ? std::clamp(m_pDoc->RecordInfo.channelCount, 0, 32) : 0;
  for (int c = 0; c < channels; ++c) {
    char text[96];
    std::snprintf(text, sizeof text, "% 2d:%s", c + 1, m_pDoc->ChInfo[static_cast<std::size_t>(c)].name.c_str());
    combo.AddString(text);
  }
  const int chosen = m_pDoc != nullptr ? m_pDoc->FftOutputChannel : -1;
  if (channels > 0) combo.SetCurSel(chosen >= 0 && chosen < channels ? chosen : 0);
  SetDlgItemText(kSelectChText, SelectedChannelsText());
  UpdateEnables();
  return true;
}

void LyrDlgReportObjectPage::UpdateEnables() {
  const bool sg = Checked(kObjStageGraph) != 0;
  for (int id : {kSgDuration, kSgMinutes, kSgMin, kGraphUnit, kXLabel, kXOrigin, kXReal, kYLabel, kYPercent, kYTime})
    EnableItem(id, sg);
  const bool dose = Checked(kObjDoseLatency) != 0;
  for (int k = 0; k < 3; ++k) {
    EnableItem(kDose1 + k, dose);
    EnableItem(kDoseText1 + k, dose);
  }
  const bool fft = Checked(kObjAverageFftStages) != 0 || Checked(kObjAverageFftAll) != 0;
  const bool vigilance = Checked(kObjVigilanceTransition) != 0 || Checked(kObjVigilanceCount) != 0;
  for (int id : {kVsDuration, kVsHours, kVsHr}) EnableItem(id, fft || vigilance);
  EnableItem(kChannelLabel, fft);
  EnableItem(kChannel, fft);
  EnableItem(kSelectCh, Checked(kObjContinuousFft) != 0);
  EnableItem(kSelectChText, Checked(kObjContinuousFft) != 0);
  for (int id : {kTrimLabel, kTrimManual, kTrimAuto}) EnableItem(id, vigilance);
}

bool LyrDlgReportObjectPage::ReadNumber(int id, int low, int high, int* value, bool tell) {
  long long v = 0;
  const bool ok = ParseWhole(GetDlgItemText(id), &v);
  if (!ok || v < low || v > high) {
    if (!tell) return false;
    std::string message = res::LoadString(ok ? kStrEnterNumberRange : kStrEnterNumber);
    if (ok) {
      for (const auto& [key, n] : {std::pair{"%1", low}, std::pair{"%2", high}})
        if (const std::size_t at = message.find(key); at != std::string::npos) message.replace(at, 2, std::to_string(n));
    }
    ui::MessageBox(message, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    FocusAndSelect(*this, id);
    return false;
  }
  *value = static_cast<int>(v);
  return true;
}

bool LyrDlgReportObjectPage::TakeValues(bool tell) {
  if (!tell) {
    // Closing: a field out of its range keeps the value it had.
    ReadNumber(kSgMinutes, 0, kMaxMinutes, &m_Minutes, false);
    ReadNumber(kVsHours, 0, kMaxHours, &m_Hours, false);
    return true;
  }
  return ReadNumber(kSgMinutes, 0, kMaxMinutes, &m_Minutes, true) && ReadNumber(kVsHours, 0, kMaxHours, &m_Hours, true);
}

bool LyrDlgReportObjectPage::Validate() {
  bool any = false;
  for (int k = 0; k < kAnimalObjects; ++k) any = any || Checked(k) != 0;
  if (!any) {
    Warn(kStrSelectObject);
    return false;
  }
  if (Checked(kObjStageGraph) != 0 && m_Minutes < 1) {
    Warn(kStrStageGraphDivision);
    FocusAndSelect(*this, kSgMinutes);
    return false;
  }
  if (Checked(kObjDoseLatency) != 0 && std::all_of(m_DoseEpoch.begin(), m_DoseEpoch.end(), [](std::int32_t e) { return e < 0; })) {
    Warn(kStrDosingTime);
    Item(kDose1).SetFocus();
    return false;
  }
  bool divided = false;
  for (int k = kObjAverageFftStages; k <= kObjVigilanceCount; ++k) divided = divided || Checked(k) != 0;
  if (divided && std::floor(m_Hours * 3600.0 / Epoch()) <= 0) {
    Warn(kStrDivision);
    FocusAndSelect(*this, kVsHours);
    return false;
  }
  return true;
}

void LyrDlgReportObjectPage::Store() {
  for (int k = 0; k < kAnimalObjects; ++k) SetAnimalObjectFlag(k, Checked(k));
  if (Checked(kObjStageGraph) != 0) {
    StageGraphTimeDivision = m_Minutes;
    StageGraphXAxisMode = IsDlgButtonChecked(kXReal) != 0 ? 1 : 0;
    StageGraphYUnit = IsDlgButtonChecked(kYTime) != 0 ? 1 : 0;
  }
  if (Checked(kObjDoseLatency) != 0 && m_pDoc != nullptr) {
    for (int k = 0; k < 3; ++k)
      if (m_DoseEpoch[static_cast<std::size_t>(k)] >= 0)
        ReportEpochSelections[static_cast<std::size_t>(k)] =
            static_cast<std::int32_t>(DoseSecondsOf(*m_pDoc, m_DoseTime[static_cast<std::size_t>(k)]));
  }
  bool divided = false;
  for (int k = kObjAverageFftStages; k <= kObjVigilanceCount; ++k) divided = divided || Checked(k) != 0;
  if (divided) TextOutputTimeDivision = static_cast<std::int32_t>(std::floor(m_Hours * 3600.0 / Epoch()));
  const int channel = Item(kChannel).GetCurSel();
  const int channels = m_pDoc != nullptr ? std::clamp(m_pDoc->RecordInfo.channelCount, 0, 32) : 0;
  if ((Checked(kObjAverageFftStages) != 0 || Checked(kObjAverageFftAll) != 0) && channel >= 0 && channel < channels)
    m_pDoc->FftOutputChannel = channel;
  VigilanceTrimmingMode = IsDlgButtonChecked(kTrimAuto) != 0 ? 1 : 0;
}

void LyrDlgReportObjectPage::DoseFromSeconds(int k, std::int64_t seconds) {
  if (k < 0 || k > 2) return;
  const auto slot = static_cast<std::size_t>(k);
  const std::int64_t length = m_pDoc != nullptr ? std::max<std::int32_t>(m_pDoc->GetRecordSec(), 0) : -1;
  if (m_pDoc == nullptr || seconds < 0 || seconds > length) {
    m_DoseEpoch[slot] = -1;
    if (m_pDoc != nullptr) m_DoseTime[slot] = DoseTimeValue(*m_pDoc, seconds < 0 ? 0 : length);
    SetDlgItemText(kDoseText1 + k, res::LoadString(kStrNone));
    return;
  }
  m_DoseTime[slot] = DoseTimeValue(*m_pDoc, seconds);
  m_DoseEpoch[slot] = static_cast<std::int32_t>(seconds / Epoch());
  std::string text;
  m_pDoc->GetMSecTimeString(ClockTimeDisplay, seconds * 1000, &text);
  if (const std::size_t dot = text.rfind('.'); dot != std::string::npos) text.resize(dot);
  SetDlgItemText(kDoseText1 + k, text);
}

void LyrDlgReportObjectPage::EditDose(int k) {
  if (m_pDoc == nullptr || k < 0 || k > 2) return;
  const auto slot = static_cast<std::size_t>(k);
  LyrDlgSetDoseTime dlg(m_pDoc, this);
  // The dialog counts from the recording's start (clock) or 1 November 2000.
  const auto& st = m_pDoc->RecordInfo.startDateTime;
  const bool clock = ClockTimeDisplay != 0 && m_pDoc->RecordInfo.startTimeValid != 0;
  const CalendarTime base = clock ? CalendarTime{st[0], st[1], st[2], st[3], st[4], st[5]} : kElapsedBaseDate;
  const CalendarTime t =
      m_DoseEpoch[slot] >= 0 ? AddSeconds(base, DoseSecondsOf(*m_pDoc, m_DoseTime[slot])) : kElapsedBaseDate;
  dlg.m_DoseDateTime = {t.year, t.month, t.day, t.hour, t.minute, t.second};
  if (dlg.DoModal() != ui::IDOK) return;
  if (dlg.m_UseDoseLatency != 0) {
    ReportEpochSelections[slot] = dlg.m_DoseTime;
    DoseFromSeconds(k, dlg.m_DoseTime);
  } else {
    // A dose switched off stays off at the next opening.
    ReportEpochSelections[slot] = -1;
    DoseFromSeconds(k, -1);
  }
}

void LyrDlgReportObjectPage::OnSelectChannels() {
  if (m_pDoc == nullptr) return;
  if (RunFftChannelSelection(m_pDoc, 0, this) == ui::IDOK) SetDlgItemText(kSelectChText, SelectedChannelsText());
}

std::string LyrDlgReportObjectPage::SelectedChannelsText() const {
  std::string text = "[ ";
  bool first = true;
  const int channels = m_pDoc != nullptr ? std::clamp(m_pDoc->RecordInfo.channelCount, 0, 32) : 0;
  for (int c = 0; c < channels; ++c) {
    if (m_pDoc->Params.fftPageSelection.flags[static_cast<std::size_t>(c)] != 1) continue;
    if (!first) text += "/";
    first = false;
    text += std::to_string(c + 1) + ":" + m_pDoc->ChInfo[static_cast<std::size_t>(c)].name;
  }
  return text + " ]";
}

// ---- Page "Set Episode length" -----------------------------------------------------------------

LyrDlgEpisodeLengthPage::LyrDlgEpisodeLengthPage(ui::Window* parent) : ui::Dialog(IDD_EPISODE_LENGTH_PAGE, parent) {
  MapCommand(kUse, [this] {
    EnableItem(kList, IsDlgButtonChecked(kUse) != 0);
    if (OnUseChanged) OnUseChanged();
  });
  MapNotify(kList, ui::NM_DBLCLK, [this] { OnDoubleClick(); });
}

bool LyrDlgEpisodeLengthPage::OnInitDialog() {
  CheckDlgButton(kUse, UseEpisodeSetting != 0 ? 1 : 0);
  ui::Control list = Item(kList);
  list.SetGridLines(true);
  list.SetFullRowSelect(true);
  for (int c = 0; c < 4; ++c) list.InsertColumn(c, res::LoadString(kStrColStage + static_cast<std::uint32_t>(c)), 80);
  const int rows = std::min<int>(static_cast<int>(m_Stages.size()), static_cast<int>(StageEpisodeRules.size()));
  for (int r = 0; r < rows; ++r) {
    list.InsertItem(-1, m_Stages[static_cast<std::size_t>(r)]);
    FillRow(r, StageEpisodeRules[static_cast<std::size_t>(r)]);
  }
  EnableItem(kList, UseEpisodeSetting != 0);
  SizeColumns();
  return true;
}

void LyrDlgEpisodeLengthPage::FillRow(int row, const StageEpisodeRule& rule) {
  ui::Control list = Item(kList);
  list.SetItemText(row, 1, std::to_string(rule.first));
  list.SetItemText(row, 2, std::to_string(rule.second));
  list.SetItemText(row, 3, std::to_string(rule.third));
}

void LyrDlgEpisodeLengthPage::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Dialog::OnSize(sizeType, cx, cy);
  SizeColumns();
}

void LyrDlgEpisodeLengthPage::SizeColumns() {
  ui::Control list = Item(kList);
  if (!list.Exists()) return;
  const int width = std::max(list.GetClientRect().Width() - kScrollBarWidth, 40);
  constexpr std::array<int, 4> kShares{10, 25, 30, 35};
  for (int c = 0; c < 4 && c < list.GetColumnCount(); ++c) list.SetColumnWidth(c, width * kShares[static_cast<std::size_t>(c)] / 100);
}

bool LyrDlgEpisodeLengthPage::Validate() {
  ui::Control list = Item(kList);
  for (int r = 0; r < list.GetCount(); ++r) {
    const int episode = std::atoi(list.GetItemText(r, 1).c_str());
    const int detect = std::atoi(list.GetItemText(r, 2).c_str());
    const int allow = std::atoi(list.GetItemText(r, 3).c_str());
    if (episode >= 1 && detect >= 1 && allow >= 0) continue;
    Warn(kStrEpisodeOver1);
    for (int i = 0; i < list.GetCount(); ++i) list.SetSelected(i, i == r);
    list.EnsureVisible(r);
    list.SetFocus();
    return false;
  }
  return true;
}

void LyrDlgEpisodeLengthPage::Store() {
  UseEpisodeSetting = IsDlgButtonChecked(kUse) != 0 ? 1 : 0;
  ui::Control list = Item(kList);
  for (int r = 0; r < list.GetCount() && r < static_cast<int>(StageEpisodeRules.size()); ++r) {
    StageEpisodeRule& rule = StageEpisodeRules[static_cast<std::size_t>(r)];
    rule.first = std::atoi(list.GetItemText(r, 1).c_str());
    rule.second = std::atoi(list.GetItemText(r, 2).c_str());
    rule.third = static_cast<std::uint16_t>(std::clamp(std::atoi(list.GetItemText(r, 3).c_str()), 0, 0xFFFF));
  }
}

void LyrDlgEpisodeLengthPage::OnDoubleClick() {
  ui::Control list = Item(kList);
  const std::vector<int> rows = list.GetSelectedIndexes();
  if (rows.empty()) {
    Warn(kStrSelectEpisodeRow);
    return;
  }
  const int row = rows.front();
  LyrDlgSetEpisodeLength dlg(this);
  dlg.m_StageName = list.GetItemText(row, 0);
  dlg.m_EpisodeSec = std::atoi(list.GetItemText(row, 1).c_str());
  dlg.m_DetectSec = std::atoi(list.GetItemText(row, 2).c_str());
  dlg.m_Allow = std::atoi(list.GetItemText(row, 3).c_str());
  if (dlg.DoModal() != ui::IDOK) return;
  FillRow(row, StageEpisodeRule{dlg.m_EpisodeSec, dlg.m_DetectSec, static_cast<std::uint16_t>(dlg.m_Allow)});
}
