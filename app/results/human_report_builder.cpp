// The human report builder: its sink, the time markers and their check, the epoch counts the
// sections share, and the sections that describe the recording (header, information and
// analysis parameters).
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/human_report_format.h"
#include "app/results/human_report_strings.h"
#include "app/results/lyr_dlg_report.h"
#include "platform/res/resource_store.h"
#include "platform/system/locale.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

std::int32_t BedInEpoch = 0;
std::int32_t SleepOnsetEpoch = 0;
std::int32_t LastSleepPageEpoch = 0;
std::int32_t BedOutEpoch = 0;

sys::LocalTime (*LyrDlgReport::Now)() = &sys::GetLocalTime;

namespace {

// Codes that are no sleep: not scored, Wake, MT and the three free stages.
bool IsSleepCode(int code) { return code != 0 && code != 1 && code != 7 && (code < 8 || code > 10); }

}  // namespace

namespace report {

std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<std::size_t>(n));
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(out.data(), out.size(), format, args);
  va_end(args);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string ClockText(long long seconds) {
  if (seconds < 0) seconds = 0;
  return Format("%02lld:%02lld:%02lld", (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
}

std::string ShortDate(const sys::LocalTime& t) {
  // The short date as each language's date pickers show it.
  if (sys::AnsiCodePage() == sys::CodePage::Cp932) return Format("%04d/%02d/%02d", t.year, t.month, t.day);
  return Format("%d/%d/%04d", t.month, t.day, t.year);
}

std::string FilterText(int mode, double cut1, double cut2, const char* off) {
  switch (mode) {
    case 0: return Format("LPF:%.2f", cut1);
    case 1: return Format("HPF:%.2f", cut1);
    case 2: return Format("BPF:%.2f-%.2f", cut1, cut2);
    case 3: return Format("BSF:%.2f-%.2f", cut1, cut2);
    default: return off;
  }
}

bool IsFiftyHz(double hz) { return hz > 49.9998 && hz < 50.0001; }

}  // namespace report

// ---- Stage codes and counts -------------------------------------------------------------------

int LyrDlgReport::StageType() const { return m_pDoc != nullptr ? m_pDoc->Params.stageType.stageType : 0; }

int LyrDlgReport::Stage(std::int32_t epoch) const {
  if (m_pDoc == nullptr) return 0;
  const int code = m_pDoc->EpochTables.GetStage(StageType(), epoch, 0);
  return code >= 20 ? code - 20 : code;
}

std::int32_t LyrDlgReport::Epochs() const {
  return m_pDoc != nullptr && EpochSeconds > 0 ? std::max<std::int32_t>(m_pDoc->GetDivNum(EpochSeconds), 0) : 0;
}

std::string LyrDlgReport::EpochTime(std::int32_t epoch) const {
  std::string text;
  if (m_pDoc != nullptr) m_pDoc->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), text);
  return text;
}

char LyrDlgReport::Delimiter() const { return OutputDelimiterIsTab == 1 ? '\t' : ','; }

std::int32_t LyrDlgReport::CountTST() const {
  std::int32_t n = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    const int c = Stage(e);
    if (c != 0 && c != 1 && (c < 8 || c > 10)) ++n;
  }
  return n;
}

std::int32_t LyrDlgReport::CountStage(int stageType, int code, std::int32_t first, std::int32_t last) const {
  if (m_pDoc == nullptr) return 0;
  std::int32_t n = 0;
  for (std::int32_t e = first; e <= last; ++e) {
    const int c = m_pDoc->EpochTables.GetStage(stageType, e, 0);
    if (c == code || c == code + 20) ++n;
  }
  return n;
}

void LyrDlgReport::SetDefaultTimes() {
  const std::int32_t n = Epochs();
  const std::int32_t last = std::max(n - 1, 0);
  BedInEpoch = 0;
  SleepOnsetEpoch = 0;
  const std::int32_t run = EpochSeconds > 0 ? 300 / EpochSeconds : 0;
  for (std::int32_t e = 0; e < n; ++e) {
    if (!IsSleepCode(Stage(e))) continue;
    std::int32_t end = e;
    while (end < n && IsSleepCode(Stage(end))) ++end;
    if (end - e >= run) {
      SleepOnsetEpoch = e;
      break;
    }
    e = end;  // the run is too short; the next candidate starts after it
  }
  LastSleepPageEpoch = last;
  for (std::int32_t e = last; e >= 0 && e < n; --e)
    if (IsSleepCode(Stage(e))) {
      LastSleepPageEpoch = e;
      break;
    }
  BedOutEpoch = last;
  for (std::int32_t e = last; e >= 0 && e < n; --e) {
    const int c = Stage(e);
    if (c != 0 && (c < 8 || c > 10)) {
      BedOutEpoch = e;
      break;
    }
  }
  if (IsWindow()) ShowTimes();
}

int LyrDlgReport::CheckTimes() {
  if (!(BedInEpoch <= SleepOnsetEpoch && LastSleepPageEpoch <= BedOutEpoch && BedInEpoch < BedOutEpoch &&
        SleepOnsetEpoch < LastSleepPageEpoch)) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(report::Format(res::LoadString(kIdsContradictionIn).c_str(), res::LoadString(kIdsTime).c_str()),
                   ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  for (std::int32_t e = BedInEpoch; e <= BedOutEpoch; ++e) {
    if (Stage(e) == 0) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(kIdsAllEpochsMustBeSpecified, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      return 0;
    }
  }
  return 1;
}

// ---- Sink -------------------------------------------------------------------------------------

int LyrDlgReport::OutputString(const std::string& text) {
  if (toClipboard_) {
    clipText_ += text;
    return 1;
  }
  if (!file_.Write(text)) {
    writeFailed_ = true;
    return 0;
  }
  return 1;
}

int LyrDlgReport::OutputCR() { return OutputString("\n"); }

void LyrDlgReport::Line(const std::string& text) {
  OutputString(text);
  OutputCR();
}

int LyrDlgReport::Guarded(const char* name, int (LyrDlgReport::*section)()) {
  try {
    return (this->*section)();
  } catch (const std::exception&) {
    ui::MessageBox(name);
    return 0;
  }
}

int LyrDlgReport::OutputReport() {
  if (m_pDoc == nullptr) return 0;
  ui::WaitCursor wait;
  toClipboard_ = OutputToClipboard != 0;
  writeFailed_ = false;
  clipText_.clear();
  if (!toClipboard_ && !file_.Open(m_OutputPath)) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kIdsReportNotWritten, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  values_ = LyrTrendGraphValues(m_pDoc, 0);
  m_TIB = CountTIB();
  m_TST = CountTST();
  m_SPT = CountSPT();

  struct Step {
    int section;
    const char* name;
    int (LyrDlgReport::*run)();
  };
  static constexpr Step kSteps[] = {
      {kInformation, "LyrDlgReport::OutputDataInfomation", &LyrDlgReport::OutputDataInfomation},
      {kAnalysis, "LyrDlgReport::OutputAnalysisParameters", &LyrDlgReport::OutputAnalysisParameters},
      {kStages, "LyrDlgReport::OutputSleepStageData", &LyrDlgReport::OutputSleepStageData},
      {kRespiration, "LyrDlgReport::OutputRespiration", &LyrDlgReport::OutputRespiration},
      {kHeartRate, "LyrDlgReport::OutputHeartRate", &LyrDlgReport::OutputHeartRate},
      {kOximetry, "LyrDlgReport::OutputOXIMETRY", &LyrDlgReport::OutputOXIMETRY},
      {kPosition, "LyrDlgReport::OutputBodyPosition", &LyrDlgReport::OutputBodyPosition},
      {kArousal, "LyrDlgReport::OutputEEGArousal", &LyrDlgReport::OutputEEGArousal},
      {kCpap, "LyrDlgReport::OutputCPAP", &LyrDlgReport::OutputCPAP},
      {kOthers, "LyrDlgReport::OutputOthers", &LyrDlgReport::OutputOthers},
  };
  int result = Guarded("LyrDlgReport::OutputHedder", &LyrDlgReport::OutputHedder);
  for (const Step& step : kSteps) {
    if (result == 0) break;
    const auto i = static_cast<std::size_t>(step.section);
    if (m_Offered[i] != 0 && HumanReportSettings.words[i] != 0) result = Guarded(step.name, step.run);
  }

  // A report cut short by a failed section or write is not put in place of an earlier file.
  bool complete = result != 0 && !writeFailed_;
  if (toClipboard_) {
    if (complete) complete = ui::SetClipboardText(clipText_);
    clipText_.clear();
  } else if (complete) {
    complete = file_.Commit();
  } else {
    file_.Abort();
  }
  if (!complete) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kIdsReportNotWritten, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  ui::MessageBeep(ui::MB_ICONINFORMATION);
  ui::MessageBoxId(kIdsTextOutputComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
  return 1;
}

// ---- Sections describing the recording --------------------------------------------------------

int LyrDlgReport::OutputHedder() {
  const char d = Delimiter();
  const sys::LocalTime now = Now();
  Line(res::LoadString(kIdsReportPrintedDay) + d + report::ShortDate(now) + "  " +
       report::Format("%02d:%02d:%02d", now.hour, now.minute, now.second));
  OutputCR();
  return 1;
}

int LyrDlgReport::OutputDataInfomation() {
  const char d = Delimiter();
  Line(res::LoadString(kIdsReportInformation));
  if (toClipboard_)
    m_pDoc->OutputTextHeader(clipText_, nullptr);
  else
    m_pDoc->OutputTextHeader(file_, nullptr);
  OutputCR();
  Line(res::LoadString(kIdsReportRecordTimes));
  const std::int32_t n = Epochs();
  Line(std::string("Start time") + d + EpochTime(0));
  Line(std::string("End time") + d + EpochTime(n));
  const long long seconds = static_cast<long long>(n) * EpochSeconds;
  Line(report::Format("%s%c%s%c%s%c%ld", "Duration time", d, report::ClockText(seconds).c_str(), d, "Min.", d,
                      static_cast<long>(seconds / 60)));
  OutputCR();
  Line(res::LoadString(kIdsReportChannels));
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) Line(m_pDoc->ChInfo[static_cast<std::size_t>(c)].name);
  OutputCR();
  return 1;
}

int LyrDlgReport::OutputAnalysisParameters() {
  const char d = Delimiter();
  Line(res::LoadString(kIdsReportAnalysisParameters));
  Line(report::Format("%s%c%ld", "Epoch time(sec.)", d, static_cast<long>(EpochSeconds)));
  OutputCR();
  Line(res::LoadString(kIdsReportDataProcessing));
  Line(std::string("Channels") + d + "Base offset" + d + "Smoothing" + d + "Filter");
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) {
    const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(c)];
    const std::string smoothing =
        ch.smoothingCount > 1 ? report::Format("ON:%ld", static_cast<long>(ch.smoothingCount)) : "OFF";
    const std::string notch =
        ch.notch == 0 ? "OFF" : report::IsFiftyHz(ch.lineFrequencyHz) ? "Notch:50Hz" : "Notch:60Hz";
    Line(ch.name + d + (ch.baseLine != 0 ? "ON" : "OFF") + d + smoothing + d +
         report::FilterText(ch.filterMode, ch.cut1Hz, ch.cut2Hz, "OFF") + d + notch);
  }
  OutputCR();
  return 1;
}
