#include "app/video/lyr_workspace_dlg_video_sync.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/video/cvp_info_exchange.h"
#include "app/video/video_time_fields.h"
#include "app/video/video_wave_sync.h"
#include "platform/ui/messages.h"

namespace {

std::int64_t MsOfDay(const CalendarTime& t, int ms) {
  return t.hour * 3600000LL + t.minute * 60000LL + t.second * 1000LL + ms;
}

}  // namespace

VideoSyncFields VideoSyncFieldsOf(double t, bool clockDisplay, const CalendarTime& base, int baseMs) {
  const auto w = static_cast<std::int64_t>(std::trunc(t));
  const auto f = static_cast<std::int64_t>(std::trunc(t * 1000.0 - static_cast<double>(w) * 1000.0));
  VideoSyncFields out;
  if (clockDisplay) {
    const std::int64_t total = MsOfDay(base, baseMs) + f + w * 1000;
    const std::int64_t s = total / 1000;
    out.day = static_cast<int>(s / 86400);
    out.secondOfDay = s % 86400;
    out.milliseconds = static_cast<int>(total - s * 1000);
  } else {
    out.day = static_cast<int>(w / 86400);
    out.secondOfDay = w % 86400;
    out.milliseconds = static_cast<int>(f);
  }
  return out;
}

double VideoSyncMomentOf(const VideoSyncFields& f, bool clockDisplay, const CalendarTime& base, int baseMs,
                         double recordingStart) {
  std::int64_t w = 0;
  std::int64_t ms = 0;
  if (clockDisplay) {
    const std::int64_t d = f.secondOfDay * 1000 + f.milliseconds - MsOfDay(base, baseMs);
    const std::int64_t s = d / 1000;
    ms = d - s * 1000;
    w = s + static_cast<std::int64_t>(f.day) * 86400;
  } else {
    w = f.secondOfDay + static_cast<std::int64_t>(f.day) * 86400;
    ms = f.milliseconds;
  }
  return recordingStart + static_cast<double>(ms) * 0.001 + static_cast<double>(w);
}

CVPInfoExchange* LyrWorkspaceDlgVideoSync::Video() const {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  return frame != nullptr ? frame->VideoController() : nullptr;
}

double LyrWorkspaceDlgVideoSync::RecordingStart() const {
  // The start sample of the fastest channel over its rate: the controller's recording start.
  const int c = m_pDoc != nullptr ? FastestChannel(*m_pDoc) : -1;
  if (c < 0) return 0.0;
  const auto& ch = m_pDoc->ChInfo[static_cast<std::size_t>(c)];
  return ch.rate > 0 ? static_cast<double>(ch.startOffset) / ch.rate : 0.0;
}

bool LyrWorkspaceDlgVideoSync::OnInitDialog() {
  RegisterVideoPickClient(this);
  clock_ = ClockTimeDisplay == 1;
  const double r = RecordingStart();
  std::int64_t length = m_pDoc != nullptr ? m_pDoc->RecordSeconds : 0;
  if (const CVPInfoExchange* video = Video(); video != nullptr && video->AnalysisEndSeconds > video->AnalysisStartSeconds)
    length = static_cast<std::int64_t>(video->AnalysisEndSeconds - video->AnalysisStartSeconds);
  if (m_pDoc != nullptr) {
    const auto& s = m_pDoc->RecordInfo.startDateTime;
    base_ = clock_ ? AddSeconds({s[0], s[1], s[2], s[3], s[4], s[5]}, static_cast<std::int64_t>(std::trunc(r)))
                   : CalendarTime{2000, 1, 1, 0, 0, 0};
    baseMs_ = clock_ ? s[6] : 0;
  }
  ui::Control days = Item(IDC_VS_DAY);
  days.ResetContent();
  for (const std::string& d : VideoDayListItems(clock_, base_, length)) days.AddString(d);
  dayCount_ = std::max(days.GetCount(), 1);
  MapCommand(IDC_VS_CURSOR, [this] { OnCursor(); });
  MapNotify(IDC_VS_DAY, ui::CBN_SELCHANGE, [this] { OnDayChanged(); });
  ShowTime(0.0);
  return true;
}

void LyrWorkspaceDlgVideoSync::ShowTime(double t) {
  const VideoSyncFields f = VideoSyncFieldsOf(t, clock_, base_, baseMs_);
  Item(IDC_VS_DAY).SetCurSel(std::min(f.day, dayCount_ - 1));
  ui::DateTime time;
  time.hour = static_cast<int>(f.secondOfDay / 3600);
  time.minute = static_cast<int>(f.secondOfDay / 60 % 60);
  time.second = static_cast<int>(f.secondOfDay % 60);
  Item(IDC_VS_TIME).SetDateTime(time);
  Item(IDC_VS_MILLISECONDS).SetText(std::to_string(f.milliseconds));
}

void LyrWorkspaceDlgVideoSync::OnDayChanged() {
  const int item = std::max(Item(IDC_VS_DAY).GetCurSel(), 0);
  const auto& s = m_pDoc != nullptr ? m_pDoc->RecordInfo.startDateTime : std::array<std::uint16_t, 7>{};
  std::int64_t length = m_pDoc != nullptr ? m_pDoc->RecordSeconds : 0;
  if (const CVPInfoExchange* video = Video(); video != nullptr && video->AnalysisEndSeconds > video->AnalysisStartSeconds)
    length = static_cast<std::int64_t>(video->AnalysisEndSeconds - video->AnalysisStartSeconds);
  const DayTimeLimits range = VideoDayTimeRange(item, dayCount_, clock_, s[3] * 3600 + s[4] * 60 + s[5],
                                                static_cast<std::int64_t>(std::trunc(RecordingStart())), length);
  Item(IDC_VS_TIME).SetRange(static_cast<int>(range.from), static_cast<int>(range.to));
  ui::DateTime time;
  time.hour = static_cast<int>(range.from / 3600);
  time.minute = static_cast<int>(range.from / 60 % 60);
  time.second = static_cast<int>(range.from % 60);
  Item(IDC_VS_TIME).SetDateTime(time);
}

void LyrWorkspaceDlgVideoSync::OnCursor() { BeginVideoTimePick(kVideoPickStart, this); }

void LyrWorkspaceDlgVideoSync::SetStartFromCursor(double seconds) { ShowTime(seconds - RecordingStart()); }

double LyrWorkspaceDlgVideoSync::ChosenMoment() const {
  VideoSyncFields f;
  f.day = std::max(Item(IDC_VS_DAY).GetCurSel(), 0);
  const ui::DateTime time = Item(IDC_VS_TIME).GetDateTime();
  f.secondOfDay = time.hour * 3600 + time.minute * 60 + time.second;
  // Text that is not a number counts as 0.
  f.milliseconds = std::atoi(Item(IDC_VS_MILLISECONDS).GetText().c_str());
  return VideoSyncMomentOf(f, clock_, base_, baseMs_, RecordingStart());
}

void LyrWorkspaceDlgVideoSync::OnOK() {
  // A moment before the recording's start is taken as 0.
  const double t = std::max(ChosenMoment(), 0.0);
  double position = 0.0;
  if (CVPInfoExchange* video = Video(); video != nullptr && video->IsBound()) {
    std::int64_t frame = 0;
    video->GetPlayerPosition(frame, position);
  }
  m_Offset = t - position;
  EndDialog(ui::IDOK);
}
