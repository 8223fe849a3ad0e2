// The human report's event sections: heart rate, oximetry, body position, EEG arousal, CPAP,
// snoring and limb movements. Per-epoch event values come from the trend window's value
// service; SpO2 and CPAP from the document's representative values.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/results/human_report_format.h"
#include "app/results/human_report_strings.h"
#include "app/results/lyr_dlg_report.h"
#include "platform/res/resource_store.h"

namespace {

constexpr double kSpO2Artifact = 30.0;

double Hours(std::int32_t epochs) { return static_cast<double>(epochs) * EpochSeconds / 3600.0; }

bool InCodes(int code, const std::array<int, 4>& codes) {
  return code > 0 && std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The heart-rate columns of a stage type: title and up to four stage codes (0 unused).
struct HrColumn {
  const char* title;
  std::array<int, 4> codes;
};

std::vector<HrColumn> HeartRateColumns(int type) {
  switch (type) {
    case 0:
      return {{"Wake", {1}}, {"REM", {2}}, {"NREM", {3, 4, 5, 6}}, {"Stage1", {3}}, {"Stage2", {4}},
              {"Stage3", {5}}, {"Stage4", {6}}, {"MT", {7}}};
    case 1:
      return {{"Wake", {1}}, {"REM", {2}}, {"NREM", {3, 4, 5}}, {"Stage1", {3}}, {"Stage2", {4}}, {"Deeply", {5}},
              {"MT", {7}}};
    case 2: return {{"Wake", {1}}, {"REM", {2}}, {"NREM", {3, 5}}, {"Light", {3}}, {"Deeply", {5}}, {"MT", {7}}};
    default: return {{"Wake", {1}}, {"REM", {2}}, {"NREM", {3}}, {"MT", {7}}};
  }
}

// Mean, sample standard deviation and coefficient of variation (percent) of values.
void MeanSdCv(const std::vector<double>& v, double& mean, double& sd, double& cv) {
  mean = sd = cv = 0.0;
  if (v.empty()) return;  // no epochs in the column: no mean rather than a division by 0
  double sum = 0.0;
  for (double x : v) sum += x;
  mean = sum / static_cast<double>(v.size());
  if (v.size() > 1) {
    double squares = 0.0;
    for (double x : v) squares += (x - mean) * (x - mean);
    sd = std::sqrt(squares / static_cast<double>(v.size() - 1));
  }
  if (mean != 0.0) cv = sd / mean * 100.0;
}

}  // namespace

// ---- Heart rate -------------------------------------------------------------------------------

void LyrDlgReport::GetHeartRateStats(const std::array<int, 4>& codes, std::int32_t first, std::int32_t last,
                                     HeartRateStats& out) {
  out = {};
  std::vector<double> hr, rr;
  for (std::int32_t e = first; e <= last; ++e) {
    if (!InCodes(Stage(e), codes)) continue;
    hr.push_back(values_.GetECGValue(0, e).Number());
    rr.push_back(values_.GetECGValue(1, e).Number());
  }
  out.minutes = static_cast<double>(hr.size()) * EpochSeconds / 60.0;
  MeanSdCv(hr, out.meanHr, out.sdHr, out.cvHr);
  MeanSdCv(rr, out.meanRr, out.sdRr, out.cvRr);
}

int LyrDlgReport::OutputHeartRate() {
  const char d = Delimiter();
  const std::vector<HrColumn> columns = HeartRateColumns(StageType());
  Line(report::Format("%s%c(during TIB)", res::LoadString(kIdsReportHeartRate).c_str(), d));
  std::string header;
  for (const HrColumn& c : columns) (header += d) += c.title;
  Line(header);
  std::vector<HeartRateStats> stats(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i)
    GetHeartRateStats(columns[i].codes, BedInEpoch, BedOutEpoch, stats[i]);
  auto row = [&](const char* label, double HeartRateStats::*field) {
    std::string line = label;
    for (const HeartRateStats& s : stats) line += report::Format("%c%.1f", d, s.*field);
    Line(line);
  };
  row("Duration(min.)", &HeartRateStats::minutes);
  row("MeanHR(BPM)", &HeartRateStats::meanHr);
  row("SD", &HeartRateStats::sdHr);
  row("CV", &HeartRateStats::cvHr);
  row("MeanRR(msec.)", &HeartRateStats::meanRr);
  OutputCR();
  return 1;
}

// ---- Oximetry ---------------------------------------------------------------------------------

void LyrDlgReport::GetSpO2MeanLowest(double& mean, double& lowest) const {
  mean = lowest = 0.0;
  const int n = m_pDoc->EpochTables.RprsntCount(kRprsntSpO2);
  double sum = 0.0;
  long long taken = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    const float* v = m_pDoc->EpochTables.Rprsnt(kRprsntSpO2, e);
    if (v == nullptr) continue;
    for (int i = 0; i < n; ++i) {
      if (v[i] < kSpO2Artifact) continue;
      sum += v[i];
      lowest = taken == 0 ? v[i] : std::min<double>(lowest, v[i]);
      ++taken;
    }
  }
  if (taken > 0) mean = sum / static_cast<double>(taken);
}

void LyrDlgReport::GetDesaturationStats(double level, DesaturationStats& out) const {
  out = {};
  const int n = m_pDoc->EpochTables.RprsntCount(kRprsntSpO2);
  bool open = false;
  double minimum = 0.0, nadirSum = 0.0;
  auto close = [&] {
    if (!open) return;
    nadirSum += minimum;
    open = false;
  };
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    const float* v = m_pDoc->EpochTables.Rprsnt(kRprsntSpO2, e);
    if (v == nullptr) continue;
    for (int i = 0; i < n; ++i) {
      const double x = v[i];
      if (x < kSpO2Artifact) continue;  // an artifact neither counts nor ends an episode
      if (x < level) {
        ++out.pointsBelow;
        if (!open) {
          open = true;
          minimum = x;
          ++out.episodes;
        }
        minimum = std::min(minimum, x);
      } else {
        close();
      }
    }
  }
  close();
  const double hours = Hours(m_SPT);
  out.indexPerHour = hours > 0.0 ? out.episodes / hours : 0.0;
  if (out.episodes > 0) {
    out.meanSeconds = out.pointsBelow / 2.0 / out.episodes;
    out.meanNadir = nadirSum / out.episodes;
  }
}

int LyrDlgReport::OutputOXIMETRY() {
  const char d = Delimiter();
  Line(report::Format("%s%c(during SPT)", res::LoadString(kIdsReportOximetry).c_str(), d));
  double mean = 0.0, lowest = 0.0;
  GetSpO2MeanLowest(mean, lowest);
  Line(report::Format("Mean(%%)%c%.1f", d, mean));
  Line(report::Format("Lowest(%%)%c%.1f", d, lowest));
  const double level = HumanReportSettings.value;
  std::array<DesaturationStats, 3> s;
  for (int i = 0; i < 3; ++i) GetDesaturationStats(level - 4 + i, s[static_cast<std::size_t>(i)]);
  Line(report::Format("%s%c4%%%c3%%%c2%%", report::Format("Criteria level(%.1f%%)", level).c_str(), d, d, d));
  Line(report::Format("Counts%c%ld%c%ld%c%ld", d, static_cast<long>(s[0].episodes), d,
                      static_cast<long>(s[1].episodes), d, static_cast<long>(s[2].episodes)));
  Line(report::Format("Index #/h%c%.1f%c%.1f%c%.1f", d, s[0].indexPerHour, d, s[1].indexPerHour, d,
                      s[2].indexPerHour));
  Line(report::Format("Total time(min.)%c%.1f%c%.1f%c%.1f", d, s[0].pointsBelow / 2.0 / 60.0, d,
                      s[1].pointsBelow / 2.0 / 60.0, d, s[2].pointsBelow / 2.0 / 60.0));
  Line(report::Format("Mean time(sec.)%c%.1f%c%.1f%c%.1f", d, s[0].meanSeconds, d, s[1].meanSeconds, d,
                      s[2].meanSeconds));
  Line(report::Format("Mean nadir(%%)%c%.1f%c%.1f%c%.1f", d, s[0].meanNadir, d, s[1].meanNadir, d, s[2].meanNadir));
  Line(report::Format("Time spent SpO2%c%%%c(duration SPT)", d, d));
  const double sptPoints = static_cast<double>(m_SPT) * static_cast<int>(EpochSeconds / 0.5);
  for (int threshold : {90, 80, 70, 60}) {
    DesaturationStats below;
    GetDesaturationStats(threshold, below);
    const double share = sptPoints > 0.0 ? below.pointsBelow / sptPoints * 100.0 : 0.0;
    Line(report::Format("<%d%%%c%.2f%c%s", threshold, d, share, d,
                        report::ClockText(static_cast<long long>(below.pointsBelow / 2)).c_str()));
  }
  OutputCR();
  return 1;
}

// ---- Body position ----------------------------------------------------------------------------

std::int32_t LyrDlgReport::CountEventsInPosition(int positionClass, int category, int sub) {
  std::int32_t n = 0;
  for (std::int32_t e = BedInEpoch; e <= BedOutEpoch; ++e) {
    int points = 0;
    values_.GetApneaValue(category, sub, e, &points);
    if (points > 0 && values_.GetMainPositionValue(e).value == positionClass + 1) ++n;
  }
  return n;
}

std::int32_t LyrDlgReport::CountPositionEpochsInStages(int positionClass, const std::array<int, 4>& codes) {
  std::int32_t n = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e)
    if (InCodes(Stage(e), codes) && values_.GetMainPositionValue(e).value == positionClass + 1) ++n;
  return n;
}

void LyrDlgReport::GetBodyPositionStats(int positionClass, BodyPositionStats& out) {
  out = {};
  std::int32_t epochs = 0;
  bool inRun = false;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    const bool here = values_.GetMainPositionValue(e).value == positionClass + 1;
    if (here) {
      ++epochs;
      if (!inRun) ++out.entries;
    }
    inRun = here;
  }
  out.minutes = static_cast<double>(epochs) * EpochSeconds / 60.0;
  out.central = CountEventsInPosition(positionClass, 11, 1);
  out.obstructive = CountEventsInPosition(positionClass, 11, 0);
  out.mixed = CountEventsInPosition(positionClass, 11, 2);
  out.hypopnea = CountEventsInPosition(positionClass, 12, 0);
  if (epochs > 0) {
    std::array<int, 4> nrem{};
    const std::vector<int> set = NremSet();
    std::copy(set.begin(), set.end(), nrem.begin());
    out.wakePercent = 100.0 * CountPositionEpochsInStages(positionClass, {1}) / epochs;
    out.remPercent = 100.0 * CountPositionEpochsInStages(positionClass, {2}) / epochs;
    out.nremPercent = 100.0 * CountPositionEpochsInStages(positionClass, nrem) / epochs;
  }
}

int LyrDlgReport::OutputBodyPosition() {
  const char d = Delimiter();
  Line(report::Format("%s%c(during SPT)", res::LoadString(kIdsReportBodyPosition).c_str(), d));
  Line(report::Format("%cTotal%cduration(min.)%cIndex #/h%cCentral(#)%cObstructive(#)%cMixed(#)%cHypopnea(#)%cWake(%%)"
                      "%cREM(%%)%cNREM(%%)",
                      d, d, d, d, d, d, d, d, d, d));
  const SleepDstrbParam& p = m_pDoc->Params.sleepDstrb;
  const int classes = std::clamp<int>(p.positionsInUse, 0, static_cast<int>(p.positions.size()));
  for (int k = 0; k < classes; ++k) {
    BodyPositionStats s;
    GetBodyPositionStats(k, s);
    const long events = static_cast<long>(s.central) + s.obstructive + s.mixed + s.hypopnea;
    const double index = s.minutes > 0.0 ? events / (s.minutes / 60.0) : 0.0;
    Line(report::Format("%s%c %ld%c %.1f%c %.1f%c %ld%c %ld%c %ld%c %ld%c %.1f%c %.1f%c %.1f",
                        p.positions[static_cast<std::size_t>(k)].name.c_str(), d, static_cast<long>(s.entries), d,
                        s.minutes, d, index, d, static_cast<long>(s.central), d, static_cast<long>(s.obstructive), d,
                        static_cast<long>(s.mixed), d, static_cast<long>(s.hypopnea), d, s.wakePercent, d,
                        s.remPercent, d, s.nremPercent));
  }
  OutputCR();
  return 1;
}

// ---- CPAP -------------------------------------------------------------------------------------

void LyrDlgReport::ClassifyCPAPByEventType(int eventCode, std::array<std::int32_t, 23>& classes) const {
  const std::vector<std::uint8_t>& events = m_pDoc->RecognitionTables.RespRcgnz();
  const int n = m_pDoc->EpochTables.RprsntCount(kRprsntCPAP);
  const int perEpoch = static_cast<int>(EpochSeconds / 0.25);
  double sum = 0.0;
  long long points = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    const float* v = m_pDoc->EpochTables.Rprsnt(kRprsntCPAP, e);
    if (v == nullptr) continue;
    for (int i = 0; i < std::min(n, perEpoch); ++i) {
      const long long p = static_cast<long long>(e) * perEpoch + i;
      if (p < 0 || static_cast<std::size_t>(p) >= events.size() || events[static_cast<std::size_t>(p)] != eventCode)
        continue;
      sum += v[i];
      ++points;
    }
  }
  if (points == 0) return;
  const double mean = sum / static_cast<double>(points);
  const int k = mean < 4.0 ? 0 : mean >= 25.0 ? 22 : static_cast<int>(std::floor(mean)) - 3;
  ++classes[static_cast<std::size_t>(std::clamp(k, 0, 22))];
}

int LyrDlgReport::OutputCPAP() {
  // Without a respiratory event table there is nothing to classify; the report goes on.
  if (m_pDoc->RecognitionTables.RespRcgnz().empty()) return 1;
  const char d = Delimiter();
  Line(report::Format("%s%c(during SPT)", res::LoadString(kIdsReportCpap).c_str(), d));
  const std::int32_t channel = m_pDoc->Params.sleepDstrb.cpapChannel;
  const std::string unit =
      channel >= 0 && channel < 32 ? m_pDoc->ChInfo[static_cast<std::size_t>(channel)].unit : std::string();
  Line(report::Format("%s%cCentral%cObstructive%cMixed%cHypopnea%cIndex #/h", unit.c_str(), d, d, d, d, d));
  std::array<std::array<std::int32_t, 23>, 4> columns{};
  const int codes[] = {3, 1, 2, 4};
  for (std::size_t i = 0; i < 4; ++i) ClassifyCPAPByEventType(codes[i], columns[i]);
  const double hours = Hours(m_SPT);
  for (int k = 0; k < 23; ++k) {
    const std::string label = k == 0 ? report::Format("<%d", 4)
                              : k == 22 ? report::Format("<=%d", 25)
                                        : report::Format("%d<= <%d", k + 3, k + 4);
    const auto u = static_cast<std::size_t>(k);
    const long sum = static_cast<long>(columns[0][u]) + columns[1][u] + columns[2][u] + columns[3][u];
    Line(report::Format("%s%c%ld%c%ld%c%ld%c%ld%c%.1f", label.c_str(), d, static_cast<long>(columns[0][u]), d,
                        static_cast<long>(columns[1][u]), d, static_cast<long>(columns[2][u]), d,
                        static_cast<long>(columns[3][u]), d, hours > 0.0 ? sum / hours : 0.0));
  }
  OutputCR();
  return 1;
}

// ---- Snoring, limb movements and arousals -----------------------------------------------------

void LyrDlgReport::GetSnoreStats(std::int32_t& count, double& meanSeconds, double& totalMinutes,
                                 double& percentOfSpt) {
  count = 0;
  long long points = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    int n = 0;
    count += values_.GetSnoreValue(0, e, &n).value;
    points += n;
  }
  const double seconds = points / 10.0;
  meanSeconds = count > 0 ? seconds / count : 0.0;
  totalMinutes = seconds / 60.0;
  const double sptSeconds = static_cast<double>(m_SPT) * EpochSeconds;
  percentOfSpt = sptSeconds > 0.0 ? seconds / sptSeconds * 100.0 : 0.0;
}

void LyrDlgReport::GetPLMsStats(PLMsStats& both, PLMsStats& right, PLMsStats& left) {
  both = right = left = {};
  const std::pair<PLMsStats*, int> legs[] = {{&both, 2}, {&right, 0}, {&left, 1}};
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e)
    for (const auto& [stats, leg] : legs) {
      stats->movements += values_.GetPLMsValue(leg, 0, e).value;
      stats->periodic += values_.GetPLMsValue(leg, 1, e).value;
      stats->seconds += values_.GetPLMsValue(leg, 2, e).Number();
    }
}

int LyrDlgReport::OutputOthers() {
  const char d = Delimiter();
  Line(report::Format("%s%c(during SPT)", res::LoadString(kIdsReportSnoring).c_str(), d));
  std::int32_t count = 0;
  double mean = 0.0, minutes = 0.0, percent = 0.0;
  GetSnoreStats(count, mean, minutes, percent);
  Line(report::Format("Total%c%ld", d, static_cast<long>(count)));
  Line(report::Format("Mean(sec.)%c%.1f", d, mean));
  Line(report::Format("Total(min.)%c%.1f%c%.1f%%", d, minutes, d, percent));
  OutputCR();

  Line(report::Format("%s%c(during SPT)", res::LoadString(kIdsReportPlms).c_str(), d));
  Line(report::Format("%cCounts%cIndex #/h%cLM Counts%cMean(sec.)%cTotal(min.)", d, d, d, d, d));
  PLMsStats both, right, left;
  GetPLMsStats(both, right, left);
  const double hours = Hours(m_SPT);
  for (const auto& [label, s] : {std::pair{"Both", both}, std::pair{"Right", right}, std::pair{"Left", left}})
    Line(report::Format("%s%c%ld%c%.1f%c%ld%c%.1f%c%.1f", label, d, static_cast<long>(s.periodic), d,
                        hours > 0.0 ? s.periodic / hours : 0.0, d, static_cast<long>(s.movements), d,
                        s.periodic > 0 ? s.seconds / s.periodic : 0.0, d, s.seconds / 60.0));
  OutputCR();
  return 1;
}

int LyrDlgReport::OutputEEGArousal() {
  const char d = Delimiter();
  Line(report::Format("%s%c(during SPT)", res::LoadString(kIdsReportEegArousal).c_str(), d));
  long count = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) count += values_.GetArousalValue(0, e).value;
  const double hours = Hours(m_SPT);
  Line(report::Format("Counts%c%ld", d, count));
  Line(report::Format("Index #/h%c%.1f", d, hours > 0.0 ? count / hours : 0.0));
  OutputCR();
  return 1;
}
