#include "app/frame/lyr_dlg_time_point.h"

#include <algorithm>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"

namespace {

CalendarTime StartOf(const CQLM2_AnalyzerDoc& doc) {
  const auto& s = doc.RecordInfo.startDateTime;
  return {s[0], s[1], s[2], s[3], s[4], s[5]};
}

}  // namespace

LyrTimePointPanel::LyrTimePointPanel(int templateId, ui::Window* parent) : ui::Dialog(templateId, parent) {
  MapNotify(IDC_TP_SLIDER, ui::TB_THUMBTRACK, [this] { OnSlider(); });
  MapNotify(IDC_TP_SLIDER, ui::TB_ENDTRACK, [this] { OnSlider(); });
  MapNotify(IDC_TP_EPOCH, ui::EN_CHANGE, [this] { OnValueTextChange(); });
  MapNotify(IDC_TP_EPOCH, ui::EN_KILLFOCUS, [this] { OnValueTextKillFocus(); });
  MapNotify(IDC_TP_TIME, ui::DTN_DATETIMECHANGE, [this] { OnTimeChange(); });
  MapNotify(IDC_TP_DAY, ui::CBN_SELCHANGE, [this] { OnDayChange(); });
}

bool LyrTimePointPanel::CreatePanel(ui::Window* owner, int holderId) {
  if (holderId != 0 && CreateInside(owner, holderId)) return true;
  return CreateModeless(owner);
}

void LyrTimePointPanel::SetCaption(std::string_view text) { SetDlgItemText(IDC_TP_CAPTION, text); }

void LyrTimePointPanel::EnableControls(bool on) {
  EnableItem(IDC_TP_DAY, on);
  EnableItem(IDC_TP_SLIDER, on);
  EnableItem(IDC_TP_TIME, on);
  if (HasEpochField()) EnableItem(IDC_TP_EPOCH, on);
}

bool LyrTimePointPanel::ClockMode(std::int16_t mode) const {
  return mode != 0 && m_pDoc != nullptr && m_pDoc->RecordInfo.startTimeValid != 0;
}

void LyrTimePointPanel::ShowAll() {
  const TimePointScale s = Scale();
  writing_ = true;
  ui::Control day = Item(IDC_TP_DAY);
  day.ResetContent();
  for (const std::string& d : s.DayEntries()) day.AddString(d);
  writing_ = false;
  SelectDay();
  SetSlider();
  SetValueText();
  SetTime();
}

void LyrTimePointPanel::SelectDay() {
  ui::Control day = Item(IDC_TP_DAY);
  const int count = day.GetCount();
  const int k = std::clamp(Scale().DayIndexOf(current_), 0, std::max(count - 1, 0));
  writing_ = true;
  day.SetCurSel(k);
  writing_ = false;
}

void LyrTimePointPanel::SetSlider() {
  writing_ = true;
  Item(IDC_TP_SLIDER).SetPos(Scale().SliderOf(current_));
  writing_ = false;
}

void LyrTimePointPanel::SetValueText() {
  if (!HasEpochField()) return;
  writing_ = true;
  SetDlgItemText(IDC_TP_EPOCH, std::to_string(current_));
  writing_ = false;
}

void LyrTimePointPanel::SetTime() {
  const TimePointScale s = Scale();
  ui::Control day = Item(IDC_TP_DAY);
  limits_ = s.LimitsFor(day.GetCurSel(), day.GetCount());
  const std::int64_t t = s.SecondOfDayOf(current_);
  writing_ = true;
  Item(IDC_TP_TIME).SetDateTime({2000, 11, 1, static_cast<int>(t / 3600), static_cast<int>(t % 3600 / 60),
                                 static_cast<int>(t % 60)});
  writing_ = false;
}

void LyrTimePointPanel::Store(std::int64_t v) { current_ = Scale().Clamp(v); }

void LyrTimePointPanel::OnSlider() {
  if (writing_) return;
  Store(Scale().FromSlider(Item(IDC_TP_SLIDER).GetPos()));
  SelectDay();
  SetValueText();
  SetTime();
}

void LyrTimePointPanel::OnValueTextChange() {
  if (writing_) return;
  Store(GetDlgItemInt(IDC_TP_EPOCH));
  SelectDay();
  SetSlider();
  SetTime();
}

void LyrTimePointPanel::OnValueTextKillFocus() {
  if (writing_) return;
  OnValueTextChange();
  ShowAll();
}

void LyrTimePointPanel::OnTimeChange() {
  if (writing_) return;
  const ui::DateTime t = Item(IDC_TP_TIME).GetDateTime();
  // The picker keeps to the selected day's limits.
  std::int64_t sec = std::clamp<std::int64_t>(t.hour * 3600LL + t.minute * 60LL + t.second, limits_.from, limits_.to);
  const int k = std::max(Item(IDC_TP_DAY).GetCurSel(), 0);
  Store(Scale().FromTime(static_cast<int>(sec / 3600), static_cast<int>(sec % 3600 / 60), static_cast<int>(sec % 60), k));
  SelectDay();
  SetSlider();
  SetValueText();
  SetTime();
}

void LyrTimePointPanel::OnDayChange() {
  if (writing_) return;
  ui::Control day = Item(IDC_TP_DAY);
  const int k = std::max(day.GetCurSel(), 0);
  limits_ = Scale().LimitsFor(k, day.GetCount());
  Store(Scale().FromDay(k));
  SetSlider();
  SetValueText();
  SetTime();
}

// ---- Epoch panel ----------------------------------------------------------------------------

LyrDlgTimePoint::LyrDlgTimePoint(ui::Window* parent) : LyrTimePointPanel(IDD_TIME_POINT, parent) {}

void LyrDlgTimePoint::SetTimeMode(std::int16_t mode) {
  m_TimeMode = mode;
  std::int64_t offset = 0;
  if (m_pDoc != nullptr && m_pDoc->ChInfo[0].rate > 0) offset = m_pDoc->ChInfo[0].startOffset / m_pDoc->ChInfo[0].rate;
  const CalendarTime from = ClockMode(mode) ? StartOf(*m_pDoc) : kElapsedBaseDate;
  const CalendarTime b = AddSeconds(from, offset);
  m_Base = {static_cast<std::int16_t>(b.year), static_cast<std::int16_t>(b.month), static_cast<std::int16_t>(b.day),
            static_cast<std::int16_t>(b.hour), static_cast<std::int16_t>(b.minute), static_cast<std::int16_t>(b.second)};
}

void LyrDlgTimePoint::SetRange(std::int32_t lowest, std::int32_t highest) {
  m_LowEpoch = lowest;
  m_HighEpoch = highest;
}

void LyrDlgTimePoint::SetEpoch(std::int32_t epoch) {
  current_ = epoch;
  ShowAll();
}

void LyrDlgTimePoint::SetFileTime(const std::array<std::uint16_t, 6>& start, std::int32_t epochSeconds,
                                  std::int16_t mode) {
  m_TimeMode = mode;
  m_FileEpochSeconds = std::max(epochSeconds, 1);
  const CalendarTime b = mode != 0 ? CalendarTime{start[0], start[1], start[2], start[3], start[4], start[5]}
                                   : kElapsedBaseDate;
  m_Base = {static_cast<std::int16_t>(b.year), static_cast<std::int16_t>(b.month), static_cast<std::int16_t>(b.day),
            static_cast<std::int16_t>(b.hour), static_cast<std::int16_t>(b.minute), static_cast<std::int16_t>(b.second)};
}

TimePointScale LyrDlgTimePoint::Scale() const {
  const CalendarTime base{m_Base[0], m_Base[1], m_Base[2], m_Base[3], m_Base[4], m_Base[5]};
  if (m_FileEpochSeconds > 0)
    return TimePointScale::ForEpochs(m_TimeMode != 0, base, m_FileEpochSeconds, m_LowEpoch, m_HighEpoch);
  return TimePointScale::ForEpochs(ClockMode(m_TimeMode), base, EpochSeconds, m_LowEpoch, m_HighEpoch);
}

// ---- Seconds panel --------------------------------------------------------------------------

LyrDlgTimePointCompact::LyrDlgTimePointCompact(ui::Window* parent) : LyrTimePointPanel(IDD_TIME_POINT_COMPACT, parent) {}

void LyrDlgTimePointCompact::SetSeconds(std::int32_t seconds) {
  current_ = seconds;
  ShowAll();
}

TimePointScale LyrDlgTimePointCompact::Scale() const {
  const bool clock = ClockMode(m_TimeMode);
  const std::int64_t length = m_pDoc ? std::max<std::int32_t>(m_pDoc->GetRecordSec(), 0) : 0;
  return TimePointScale::ForSeconds(clock, clock ? StartOf(*m_pDoc) : kElapsedBaseDate, length);
}

std::int32_t CreateEpochRangePanels(ui::Dialog& owner, CQLM2_AnalyzerDoc* doc, int startFrame, int endFrame,
                                    std::unique_ptr<LyrDlgTimePoint>* start, std::unique_ptr<LyrDlgTimePoint>* end) {
  *start = std::make_unique<LyrDlgTimePoint>(&owner);
  *end = std::make_unique<LyrDlgTimePoint>(&owner);
  const std::int32_t epochs = doc != nullptr && EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0;
  const std::int32_t last = std::max(epochs - 1, 0);
  for (auto [panel, frame] : {std::pair{start->get(), startFrame}, std::pair{end->get(), endFrame}}) {
    panel->m_pDoc = doc;
    panel->CreatePanel(&owner, frame);
    panel->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
    panel->SetRange(0, last);
  }
  (*start)->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  (*end)->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  return last;
}

void DestroyEpochRangePanels(LyrDlgTimePoint* start, LyrDlgTimePoint* end) {
  for (LyrDlgTimePoint* p : {start, end})
    if (p != nullptr && p->IsWindow()) p->DestroyWindow();
}
