// "Respiration" of the human report: apneas and hypopneas over the time in bed, per sleep
// state over the sleep period, and the respiratory disturbance indices. Every event is
// counted through the trend window's per-epoch apnea value.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/frame/program_settings.h"
#include "app/results/human_report_format.h"
#include "app/results/human_report_strings.h"
#include "app/results/lyr_dlg_report.h"
#include "platform/res/resource_store.h"

namespace {

// The columns in their order: Central, Obstructive, Mixed, Hypopnea (category, sub-type).
constexpr std::array<std::pair<int, int>, 4> kTypes{{{11, 1}, {11, 0}, {11, 2}, {12, 0}}};
constexpr double kPointsPerSecond = 4.0;

double EpochMinutes(std::int32_t epochs) { return static_cast<double>(epochs) * EpochSeconds / 60.0; }

// Six cells: the four types and the two sums, in column order.
template <typename T>
std::string Cells(char d, const char* cellFormat, T c, T o, T m, T apneas, T h, T all) {
  std::string s;
  for (T v : {c, o, m, apneas, h, all}) s += d + report::Format(cellFormat, v);
  return s;
}

// Mean of the means of the types that have events (0 without any).
double MeanOfMeans(std::initializer_list<std::pair<double, std::int32_t>> means) {
  double sum = 0.0;
  int k = 0;
  for (const auto& [mean, count] : means) {
    sum += mean;
    if (count > 0) ++k;
  }
  return k > 0 ? sum / k : 0.0;
}

}  // namespace

void LyrDlgReport::GetApneaTypeStats(ApneaTypeStats& out, int category, int sub) {
  out = {};
  long long points = 0;
  for (std::int32_t e = BedInEpoch; e <= BedOutEpoch; ++e) {
    int n = 0;
    values_.GetApneaValue(category, sub, e, &n);
    if (n <= 0) continue;
    ++out.count;
    points += n;
    const double seconds = n / kPointsPerSecond;
    out.longestSeconds = std::max(out.longestSeconds, seconds);
    if (seconds >= 30.0) ++out.atLeast30;
    else if (seconds >= 20.0) ++out.from20To30;
    else if (seconds >= 10.0) ++out.from10To20;
  }
  out.totalMinutes = points / kPointsPerSecond / 60.0;
  out.meanSeconds = out.count > 0 ? static_cast<double>(points) / out.count / kPointsPerSecond : 0.0;
  const double hours = static_cast<double>(m_TIB) * EpochSeconds / 3600.0;
  out.indexPerHour = hours > 0.0 ? out.count / hours : 0.0;
}

void LyrDlgReport::GetApneaTypeStageStats(const int* stages, int setSize, int category, int sub,
                                          ApneaTypeStageStats& out) {
  out = {};
  long long points = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    const int code = Stage(e);
    if (std::find(stages, stages + setSize, code) == stages + setSize) continue;
    int n = 0;
    values_.GetApneaValue(category, sub, e, &n);
    if (n <= 0) continue;
    ++out.count;
    points += n;
    out.longestSeconds = std::max(out.longestSeconds, n / kPointsPerSecond);
  }
  out.totalMinutes = points / kPointsPerSecond / 60.0;
  out.meanSeconds = out.count > 0 ? static_cast<double>(points / out.count) / kPointsPerSecond : 0.0;
  out.countTimesEpochMinutes = out.count * EpochMinutes(1);
}

double LyrDlgReport::RespiratoryIndexSum(const std::vector<int>& set) {
  std::int32_t epochs = 0;
  for (int c : set) epochs += CountStage(StageType(), c, SleepOnsetEpoch, LastSleepPageEpoch);
  const double minutes = EpochMinutes(epochs);
  double sum = 0.0;
  for (const auto& [category, sub] : kTypes) {
    ApneaTypeStageStats s;
    GetApneaTypeStageStats(set.data(), static_cast<int>(set.size()), category, sub, s);
    if (s.totalMinutes != 0.0 && s.count != 0 && minutes > 0.0) sum += s.count * 60.0 / minutes;
  }
  return sum;
}

void LyrDlgReport::RespirationStageBlock(const std::string& name, const std::vector<int>& set, bool dottedMax,
                                         bool trailingCell) {
  const char d = Delimiter();
  std::int32_t epochs = 0;
  for (int c : set) epochs += CountStage(StageType(), c, SleepOnsetEpoch, LastSleepPageEpoch);
  const double minutes = EpochMinutes(epochs);
  std::array<ApneaTypeStageStats, 4> s;
  for (std::size_t i = 0; i < kTypes.size(); ++i)
    GetApneaTypeStageStats(set.data(), static_cast<int>(set.size()), kTypes[i].first, kTypes[i].second, s[i]);
  const auto& [c, o, m, h] = s;

  Line(trailingCell ? report::Format("%s events%c", name.c_str(), d)
                    : report::Format("%s events%c(during SPT)", name.c_str(), d));
  Line(report::Format("%s(min.)%c%.1f", name.c_str(), d, minutes));
  Line(report::Format("%cCentral%cObstructive%cMixed%cSum. Apnea%cHypopnea%cSum. Apnea+Hypopnea", d, d, d, d, d, d));
  const long apneas = static_cast<long>(c.count) + o.count + m.count;
  Line("Total number" + Cells<long>(d, "%ld", c.count, o.count, m.count, apneas, h.count, apneas + h.count));
  const double apneaMinutes = c.totalMinutes + o.totalMinutes + m.totalMinutes;
  Line("Total time(min.)" + Cells(d, "%.1f", c.totalMinutes, o.totalMinutes, m.totalMinutes, apneaMinutes,
                                  h.totalMinutes, apneaMinutes + h.totalMinutes));
  const double apneaMax = std::max({c.longestSeconds, o.longestSeconds, m.longestSeconds});
  Line((dottedMax ? "Max. duration(sec.)" : "Max duration(sec.)") +
       Cells(d, "%.1f", c.longestSeconds, o.longestSeconds, m.longestSeconds, apneaMax, h.longestSeconds,
             std::max(apneaMax, h.longestSeconds)));
  Line("Mean duration(sec.)" +
       Cells(d, "%.1f", c.meanSeconds, o.meanSeconds, m.meanSeconds,
             MeanOfMeans({{c.meanSeconds, c.count}, {o.meanSeconds, o.count}, {m.meanSeconds, m.count}}), h.meanSeconds,
             MeanOfMeans({{c.meanSeconds, c.count},
                          {o.meanSeconds, o.count},
                          {m.meanSeconds, m.count},
                          {h.meanSeconds, h.count}})));
  std::array<double, 4> share{}, index{};
  for (std::size_t i = 0; i < 4; ++i) {
    share[i] = minutes > 0.0 ? s[i].totalMinutes / minutes * 100.0 : 0.0;
    index[i] = minutes > 0.0 && s[i].count > 0 ? s[i].count * 60.0 / minutes : 0.0;
  }
  Line(report::Format("%% of %s", name.c_str()) +
       Cells(d, "%.1f", share[0], share[1], share[2], share[0] + share[1] + share[2], share[3],
             share[0] + share[1] + share[2] + share[3]));
  Line(report::Format("Index #/h(%s)", name.c_str()) +
       Cells(d, "%.1f", index[0], index[1], index[2], index[0] + index[1] + index[2], index[3],
             index[0] + index[1] + index[2] + index[3]));
}

int LyrDlgReport::OutputRespiration() {
  const char d = Delimiter();
  std::array<ApneaTypeStats, 4> t;
  for (std::size_t i = 0; i < kTypes.size(); ++i) GetApneaTypeStats(t[i], kTypes[i].first, kTypes[i].second);
  const auto& [c, o, m, h] = t;

  Line(res::LoadString(kIdsReportRespiration));
  Line(report::Format("Apnea summary%c(during TIB)", d));
  Line(report::Format("%cCentral%cObstructive%cMixed%cSum. Apnea%cHypopnea%cSum. Apnea+Hypopnea", d, d, d, d, d, d));
  const long apneas = static_cast<long>(c.count) + o.count + m.count;
  Line("Total number" + Cells<long>(d, "%ld", c.count, o.count, m.count, apneas, h.count, apneas + h.count));
  const double apneaMinutes = c.totalMinutes + o.totalMinutes + m.totalMinutes;
  Line("Total time(min.)" + Cells(d, "%.1f", c.totalMinutes, o.totalMinutes, m.totalMinutes, apneaMinutes,
                                  h.totalMinutes, apneaMinutes + h.totalMinutes));
  const double apneaMax = std::max({c.longestSeconds, o.longestSeconds, m.longestSeconds});
  Line("Max duration(sec.)" + Cells(d, "%.1f", c.longestSeconds, o.longestSeconds, m.longestSeconds, apneaMax,
                                    h.longestSeconds, std::max(apneaMax, h.longestSeconds)));
  Line("Mean duration(sec.)" +
       Cells(d, "%.1f", c.meanSeconds, o.meanSeconds, m.meanSeconds,
             MeanOfMeans({{c.meanSeconds, c.count}, {o.meanSeconds, o.count}, {m.meanSeconds, m.count}}), h.meanSeconds,
             MeanOfMeans({{c.meanSeconds, c.count},
                          {o.meanSeconds, o.count},
                          {m.meanSeconds, m.count},
                          {h.meanSeconds, h.count}})));
  const double hours = static_cast<double>(m_TIB) * EpochSeconds / 3600.0;
  Line("Index #/h" + Cells(d, "%.1f", c.indexPerHour, o.indexPerHour, m.indexPerHour,
                           hours > 0.0 ? apneas / hours : 0.0, h.indexPerHour,
                           hours > 0.0 ? (apneas + h.count) / hours : 0.0));
  Line("By classes");
  auto classes = [&, &c = c, &o = o, &m = m, &h = h](const char* label, std::int32_t ApneaTypeStats::*field) {
    const long a = static_cast<long>(c.*field) + o.*field + m.*field;
    Line(label + Cells<long>(d, "%ld", c.*field, o.*field, m.*field, a, h.*field, a + h.*field));
  };
  classes(">=30sec.", &ApneaTypeStats::atLeast30);
  classes(">=20 <30sec.", &ApneaTypeStats::from20To30);
  classes(">=10 <20sec.", &ApneaTypeStats::from10To20);

  const std::vector<int> list = StageList();
  const std::vector<int> nrem = NremSet();
  const std::vector<int> tst(list.begin() + 1, list.end());
  const std::pair<const char*, std::vector<int>> blocks[] = {
      {"REM", {2}}, {"NREM", nrem}, {"Wake", {1}}, {"SPT", list}, {"TST", tst}};
  for (const auto& [name, set] : blocks) {
    OutputCR();
    OutputCR();
    const std::string n = name;
    RespirationStageBlock(n, set, n != "NREM", n == "SPT" || n == "TST");
  }
  OutputCR();
  OutputCR();
  Line("Disturance index(SPT)");
  Line(report::Format("%cREM%cNREM%cTST", d, d, d));
  Line(report::Format("RDI(#/h)%c%.1f%c%.1f%c%.1f", d, RespiratoryIndexSum({2}), d, RespiratoryIndexSum(nrem), d,
                      RespiratoryIndexSum(tst)));
  OutputCR();
  OutputCR();
  return 1;
}
