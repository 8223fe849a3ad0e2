// Counts, indexes and printable times of the recording's epochs, pages and samples.
#include <chrono>
#include <cmath>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"

namespace {

// "dd.HH:MM:SS" of an elapsed second count: the day counts from 01 and wraps after 30 days,
// as a date in a 30-day month would.
std::string ElapsedLabel(long long seconds) {
  if (seconds < 0) seconds = 0;
  const long long day = (seconds / 86400) % 30 + 1;
  const long long rest = seconds % 86400;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld.%02lld:%02lld:%02lld", day, rest / 3600, rest / 60 % 60, rest % 60);
  return text;
}

// Recording start plus seconds, as a calendar time: date in the user's short form, a gap
// of `gap` blanks, then "HH:MM:SS".
std::string ClockLabel(const LyrRecordInfo& r, long long seconds, int gap) {
  using namespace std::chrono;
  const year_month_day ymd{year{r.startDateTime[0]}, month{r.startDateTime[1]}, day{r.startDateTime[2]}};
  long long t = static_cast<long long>(sys_days{ymd}.time_since_epoch().count()) * 86400 +
                r.startDateTime[3] * 3600LL + r.startDateTime[4] * 60LL + r.startDateTime[5] + seconds;
  const long long days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
  const long long rest = t - days * 86400;
  const year_month_day d{sys_days{std::chrono::days{days}}};
  char text[64];
  const int y = static_cast<int>(d.year());
  const unsigned mo = static_cast<unsigned>(d.month()), da = static_cast<unsigned>(d.day());
  if (res::CurrentLanguage() == res::Language::Japanese)
    std::snprintf(text, sizeof text, "%04d/%02u/%02u%*s%02lld:%02lld:%02lld", y, mo, da, gap, "", rest / 3600,
                  rest / 60 % 60, rest % 60);
  else
    std::snprintf(text, sizeof text, "%02u/%02u/%04d%*s%02lld:%02lld:%02lld", da, mo, y, gap, "", rest / 3600,
                  rest / 60 % 60, rest % 60);
  return text;
}

}  // namespace

int CQLM2_AnalyzerDoc::GetPageNum(int span, int threshold) const {
  if (span == 0) return 1;
  int q = RecordSeconds / span;
  if (RecordSeconds % span >= threshold) ++q;
  return q < 1 ? 1 : q;
}

int CQLM2_AnalyzerDoc::GetPageOfEpoch(int epoch) const {
  return PageSeconds != 0 ? (EpochSeconds * epoch) / PageSeconds : 0;
}

std::int16_t CQLM2_AnalyzerDoc::GetEpochInPage() const {
  const int perPage = EpochSeconds != 0 ? PageSeconds / EpochSeconds : 0;
  return static_cast<std::int16_t>(CurrentEpoch - perPage * CurrentPage);
}

int CQLM2_AnalyzerDoc::GetEnableChNum() const {
  int n = 0;
  for (int c = 0; c < RecordInfo.channelCount && c < static_cast<int>(ChInfo.size()); ++c)
    if (ChInfo[c].show != 0) ++n;
  return n;
}

float* CQLM2_AnalyzerDoc::GetChDataPtr(short kind, unsigned channel, float* slot) const {
  if (kind < 0 || kind > 4 || slot == nullptr) return nullptr;
  std::size_t offset = 0;
  for (unsigned c = 0; c < channel && c < static_cast<unsigned>(RecordInfo.channelCount) && c < ChInfo.size(); ++c)
    offset += static_cast<std::size_t>(ChInfo[c].rate) * static_cast<std::size_t>(PageSeconds) + 1;
  return slot + offset;
}

void CQLM2_AnalyzerDoc::GetEpochTimeString(unsigned epoch, std::string& out) {
  out.clear();
  const long long elapsed = static_cast<long long>(EpochSeconds) * epoch;
  if (ClockTimeDisplay != 0 && RecordInfo.startTimeValid != 0) {
    const LyrChInfo& ch0 = ChInfo[0];
    const long long offset = ch0.rate > 0 ? ch0.startOffset / ch0.rate : 0;
    out = ClockLabel(RecordInfo, offset + elapsed, 1);
  } else {
    out = ElapsedLabel(elapsed);
  }
}

void CQLM2_AnalyzerDoc::GetSampleTimeString(int sampleIndex, unsigned channel, std::string& out) {
  out.clear();
  if (channel >= ChInfo.size() || ChInfo[channel].rate <= 0) return;
  const int rate = ChInfo[channel].rate;
  const long long seconds = (static_cast<long long>(sampleIndex) - ChInfo[0].startOffset) / rate;
  const double x = static_cast<double>(sampleIndex) / rate;
  const long ms = static_cast<long>((x - std::trunc(x)) * 1000.00001);
  char fraction[16];
  std::snprintf(fraction, sizeof fraction, ".%03ld", ms);
  if (ClockTimeDisplay != 0 && RecordInfo.startTimeValid != 0) {
    const LyrChInfo& ch0 = ChInfo[0];
    const long long offset = ch0.rate > 0 ? ch0.startOffset / ch0.rate : 0;
    out = ClockLabel(RecordInfo, offset + seconds, 2) + fraction;
  } else {
    // The elapsed sample label separates the day with a blank.
    std::string label = ElapsedLabel(seconds);
    label[2] = ' ';
    out = label + fraction;
  }
}

void CQLM2_AnalyzerDoc::GetMSecTimeString(int mode, std::int64_t ms, std::string* out) const {
  if (out == nullptr) return;
  if (ms < 0) ms = 0;
  char fraction[16];
  std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(ms % 1000));
  if (mode != 0 && RecordInfo.startTimeValid != 0) {
    const LyrChInfo& ch0 = ChInfo[0];
    const long long offset = ch0.rate > 0 ? ch0.startOffset / ch0.rate : 0;
    *out = ClockLabel(RecordInfo, offset + ms / 1000, 2) + fraction;
  } else {
    *out = ElapsedLabel(ms / 1000) + fraction;
  }
}

void CQLM2_AnalyzerDoc::GetStageName(signed char code, std::string& out) const {
  out.clear();
  if (code == 0) {
    out = res::LoadString(2064);
    return;
  }
  if (code == -1) {
    out = res::LoadString(2263);
    return;
  }
  out = ::GetStageName(Params.stageType, static_cast<unsigned char>(code));
}
