// "Sleep stage data" of the human report: the time points, durations, stage distribution,
// REM cycles, REM latency, stage shifts and sleep efficiencies.
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/results/human_report_format.h"
#include "app/results/human_report_strings.h"
#include "app/results/lyr_dlg_report.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

bool IsFreeStage(int code) { return code >= 8 && code <= 10; }

double Minutes(std::int32_t epochs) { return static_cast<double>(epochs) * EpochSeconds / 60.0; }

}  // namespace

std::vector<int> LyrDlgReport::StageList() const {
  switch (StageType()) {
    case 0: return {1, 2, 3, 4, 5, 6, 7};
    case 1: return {1, 2, 3, 4, 5, 7};
    case 2: return {1, 2, 3, 5, 7};
    default: return {1, 2, 3, 7};
  }
}

std::vector<int> LyrDlgReport::NremSet() const {
  switch (StageType()) {
    case 0: return {3, 4, 5, 6};
    case 1: return {3, 4, 5};
    case 2: return {3, 5};
    default: return {3};
  }
}

std::int32_t LyrDlgReport::CountWASO() const {
  const std::int32_t k = EpochSeconds > 0 ? HumanReportSettings.second / EpochSeconds : 0;
  std::int32_t total = 0, run = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    if (Stage(e) == 1) {
      ++run;
      continue;
    }
    if (run >= k) total += run;
    run = 0;
  }
  if (run >= k) total += run;
  return total;
}

int LyrDlgReport::OutputSleepStageData() {
  const char d = Delimiter();
  const int type = StageType();
  const std::int32_t n = Epochs();
  Line(res::LoadString(kIdsReportSleepStageData));
  Line("Times");
  const std::pair<const char*, std::int32_t> points[] = {
      {"Recording start(RS)", 0},           {"Bed in(BI)", BedInEpoch},   {"Sleep onset(SO)", SleepOnsetEpoch},
      {"Last sleep page(LSP)", LastSleepPageEpoch}, {"Bed out(BO)", BedOutEpoch}, {"Recording end(RE)", n - 1}};
  for (const auto& [label, epoch] : points) Line(report::Format("%s%c%s", label, d, EpochTime(epoch).c_str()));
  OutputCR();

  Line("Duration");
  auto noted = [&](const char* label, const char* formula, std::int32_t epochs, const char* note) {
    Line(report::Format("%s%c%s%c%.1f%c(min.)%c%s", label, d, formula, d, Minutes(epochs), d, d, note));
  };
  auto plain = [&](const char* label, const char* formula, std::int32_t epochs) {
    Line(report::Format("%s%c%s%c%.1f%c(min.)", label, d, formula, d, Minutes(epochs), d));
  };
  auto inTib = [&](std::initializer_list<int> codes) {
    std::int32_t sum = 0;
    for (int c : codes) sum += CountStage(type, c, BedInEpoch, BedOutEpoch);
    return sum;
  };
  std::vector<int> nrem = NremSet();
  std::int32_t nremTib = 0;
  for (int c : nrem) nremTib += CountStage(type, c, BedInEpoch, BedOutEpoch);
  noted("Total recording period(TRP)", "RE - RS", n, "Recording start->end");
  noted("Time in bed(TIB)", "BO - BI", m_TIB, "Light off->on");
  noted("Total sleep time(TST)", "REM + NREM + MT", m_TST, "during SPT");
  noted("Sleep period time(SPT)", "LSP - SO", m_SPT, "Sleep onset->Last sleep page");
  noted("Wake after sleep onset(WASO)", "Wake", CountWASO(), "during SPT");
  plain("Sleep latency(SL)", "SO - BI", SleepOnsetEpoch - BedInEpoch);
  plain("Bed out latency(BOL)", "BO - LSP", BedOutEpoch - LastSleepPageEpoch);
  noted("Wake total time", "Wake", inTib({1}), "during TIB");
  noted("REM total time", "REM", inTib({2}), "during TIB");
  noted("NREM total time", "NREM", nremTib, "during TIB");
  if (type != 3) {
    // Stage 2 is held in Stage 1 under type 2, Stage 4 in Stage 3 under types 1 and 2.
    noted("Light total time", "Stage1 + Stage2", inTib({3, 4}), "during TIB");
    noted("Deeply total time", "Stage3 + Stage4", inTib({5, 6}), "during TIB");
  }
  noted("MT total time", "MT", inTib({7}), "during TIB");

  OutputCR();
  Line("Stage distribution");
  Line(std::string() + d + "TIB" + d + d + d + "SPT" + d + d + d + "TST");
  Line(std::string("Stage") + d + "Counts" + d + "Duration(min.)" + d + "%" + d + "Counts" + d + "Duration(min.)" + d +
       "%" + d + "%");
  if (OutputStageDistribution() == 0) return 0;

  OutputCR();
  Line(report::Format("REM cycle%cduring SPT", d));
  if (OutputREMCycle() == 0) return 0;
  OutputCR();
  if (OutputREMLatency() == 0) return 0;
  OutputCR();
  Line("Common");
  if (OutputCommon() == 0) return 0;
  OutputCR();
  OutputCR();
  return 1;
}

int LyrDlgReport::OutputStageDistribution() {
  const char d = Delimiter();
  const int type = StageType();
  const std::vector<int> codes = StageList();
  std::vector<std::int32_t> tib, spt;
  std::int32_t totT = 0, totS = 0, totSleep = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    tib.push_back(CountStage(type, codes[i], BedInEpoch, BedOutEpoch));
    spt.push_back(CountStage(type, codes[i], SleepOnsetEpoch, LastSleepPageEpoch));
    totT += tib.back();
    totS += spt.back();
    if (i > 0) totSleep += spt.back();
  }
  for (std::size_t i = 0; i < codes.size(); ++i) {
    std::string name;
    m_pDoc->GetStageName(static_cast<signed char>(codes[i]), name);
    std::string line = report::Format("%s%c", name.c_str(), d);
    if (totT > 0)
      line += report::Format("%ld%c%.1f%c%.2f%c", static_cast<long>(tib[i]), d, Minutes(tib[i]), d,
                             100.0 * tib[i] / totT, d);
    if (totS > 0)
      line += report::Format("%ld%c%.1f%c%.2f%c", static_cast<long>(spt[i]), d, Minutes(spt[i]), d,
                             100.0 * spt[i] / totS, d);
    if (totSleep > 0 && i > 0) line += report::Format("%.2f", 100.0 * spt[i] / totSleep);
    Line(line);
  }
  OutputCR();
  return 1;
}

int LyrDlgReport::OutputREMCycle() {
  const char d = Delimiter();
  const std::int32_t gap = EpochSeconds > 0 ? HumanReportSettings.first * 60 / EpochSeconds : 0;
  Line(report::Format("%cStart time%cDuration(min.)%cfrom BI%cfrom SO", d, d, d, d));
  auto isRem = [&](std::int32_t e) { return Stage(e) == 2; };
  // The first epoch after the REM block that begins at e.
  auto skipBlock = [&](std::int32_t e) {
    ++e;
    while (e <= LastSleepPageEpoch && (isRem(e) || IsFreeStage(Stage(e)))) ++e;
    return e;
  };
  long cycle = 0;
  std::int32_t e = SleepOnsetEpoch;
  while (e <= LastSleepPageEpoch) {
    if (!isRem(e)) {
      ++e;
      continue;
    }
    const std::int32_t start = e;
    std::int32_t r = skipBlock(e);
    bool written = false;
    while (r <= LastSleepPageEpoch) {
      if (!isRem(r)) {
        ++r;
        continue;
      }
      if (r - start < gap) {
        r = skipBlock(r);
        continue;
      }
      const long long minutes = static_cast<long long>(r - start) * EpochSeconds / 60;
      Line(report::Format("REM %ld%c%s%c%ld%c%s%c%s", ++cycle, d, EpochTime(start).c_str(), d,
                          static_cast<long>(minutes), d,
                          report::ClockText(static_cast<long long>(start - BedInEpoch) * EpochSeconds).c_str(), d,
                          report::ClockText(static_cast<long long>(start - SleepOnsetEpoch) * EpochSeconds).c_str()));
      written = true;
      break;
    }
    if (!written) break;  // the last cycle is still open
    e = r;
  }
  return 1;
}

int LyrDlgReport::OutputREMLatency() {
  const char d = Delimiter();
  std::int32_t latency = 0;
  for (std::int32_t e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e)
    if (Stage(e) == 2) {
      latency = e - SleepOnsetEpoch;
      break;
    }
  Line(report::Format("REM latency%c%.1f(min.)%c%s", d, Minutes(latency), d, "from SO"));
  return 1;
}

int LyrDlgReport::OutputCommon() {
  const char d = Delimiter();
  auto shifts = [&](std::int32_t first, std::int32_t last) {
    long count = 0;
    int previous = -1;
    for (std::int32_t e = first; e <= last; ++e) {
      const int c = Stage(e);
      if (IsFreeStage(c)) continue;
      if (previous >= 0 && c != previous) ++count;
      previous = c;
    }
    return count;
  };
  Line(report::Format("Stage shift%c%ld%c%s", d, shifts(BedInEpoch, BedOutEpoch), d, "during TIB"));
  Line(report::Format("Stage shift%c%ld%c%s", d, shifts(SleepOnsetEpoch, LastSleepPageEpoch), d, "during SPT"));
  if (m_TIB != 0) Line(report::Format("Sleep efficiency1%c%.1f%c%s", d, 100.0 * m_TST / m_TIB, d, "TST / TIB (%)"));
  if (m_SPT != 0) {
    Line(report::Format("Sleep efficiency2%c%.1f%c%s", d, 100.0 * m_TST / m_SPT, d, "TST / SPT (%)"));
    Line(report::Format("Inter-sleep wake%c%.1f%c%s", d, 100.0 * CountWASO() / m_SPT, d, "WASO / SPT (%)"));
  }
  return 1;
}
