#include "app/workspace/lyr_workspace_text_out_dose_latency.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/document/text_sink.h"
#include "app/frame/program_settings.h"
#include "app/frame/time_point_scale.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrMakeFileFailed = 2518;  // "Failer to make file.\nStop to output data."
constexpr int kRem = 2;
constexpr int kNumberOfColumns = 10;

// Codes 1..7 that a stage type has, before its extra stages 8..10.
bool IsBaseCode(int stageType, int code) {
  switch (stageType) {
    case 0:
      return code >= 1 && code <= 7;
    case 1:
      return (code >= 1 && code <= 5) || code == 7;
    case 2:
      return (code >= 1 && code <= 3) || code == 5 || code == 7;
    case 3:
      return (code >= 1 && code <= 3) || code == 7;
    default:
      return false;
  }
}

std::int64_t CalendarSeconds(const CalendarTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600LL + t.minute * 60LL + t.second;
}

// "%D.%H:%M:%S" of a span of seconds: whole days, then the time of day.
std::string SpanText(std::int64_t seconds) {
  const char* sign = seconds < 0 ? "-" : "";
  if (seconds < 0) seconds = -seconds;
  char text[48];
  std::snprintf(text, sizeof text, "%s%lld.%02lld:%02lld:%02lld", sign, static_cast<long long>(seconds / 86400),
                static_cast<long long>(seconds % 86400 / 3600), static_cast<long long>(seconds % 3600 / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

std::string Fixed2(float value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  return text;
}

}  // namespace

LyrWorkspaceTextOutDoseLatency::LyrWorkspaceTextOutDoseLatency(int startEpoch, int endEpoch,
                                                               const std::array<std::int32_t, 3>& doseEpochs,
                                                               const std::array<std::int64_t, 3>& doseTimes,
                                                               const LyrReStageWithEpisode* restaging)
    : startEpoch_(startEpoch), endEpoch_(endEpoch), doseEpochs_(doseEpochs), doseTimes_(doseTimes), restaging_(restaging) {}

std::int64_t LyrWorkspaceTextOutDoseLatency::TimeOrigin(const CQLM2_AnalyzerDoc& doc) {
  const LyrRecordInfo& r = doc.RecordInfo;
  if (ClockTimeDisplay == 0 || r.startTimeValid == 0) return CalendarSeconds(kElapsedBaseDate);
  const auto& st = r.startDateTime;
  const CalendarTime start{st[0], st[1], st[2], st[3], st[4], st[5]};
  const LyrChInfo& ch0 = doc.ChInfo[0];
  const std::int64_t offset = ch0.rate > 0 ? ch0.startOffset / ch0.rate : 0;
  return CalendarSeconds(start) + offset;
}

std::int64_t LyrWorkspaceTextOutDoseLatency::EpochTimeValue(const CQLM2_AnalyzerDoc& doc, int epoch) {
  return TimeOrigin(doc) + static_cast<std::int64_t>(EpochSeconds) * epoch;
}

std::string LyrWorkspaceTextOutDoseLatency::FormatTimeLabel(std::int64_t timeValue) const {
  std::string label;
  if (m_pDoc != nullptr) m_pDoc->GetMSecTimeString(ClockTimeDisplay, (timeValue - TimeOrigin(*m_pDoc)) * 1000, &label);
  return label;
}

std::string LyrWorkspaceTextOutDoseLatency::EpochLabel(int epoch) const {
  std::string label;
  if (m_pDoc != nullptr) m_pDoc->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  return label;
}

LyrWorkspaceTextOutDoseLatency::StatStage LyrWorkspaceTextOutDoseLatency::GetStatStage(int epoch) const {
  int v = 0;
  if (UseEpisodeSetting != 0 && restaging_ != nullptr) {
    v = static_cast<std::uint8_t>(restaging_->GetStage(epoch));
  } else if (m_pDoc != nullptr) {
    v = m_pDoc->EpochTables.GetStage(m_pDoc->Params.stageType.stageType, epoch, 0);
  }
  if (v > 100) return {v - 100, kOutside};
  if (v < 21) return {v, kInEpisode};
  return {v - 20, kDiscarded};
}

LyrWorkspaceTextOutDoseLatency::StageColumn LyrWorkspaceTextOutDoseLatency::GetStageColumn(int index) const {
  StageColumn column;
  if (m_pDoc == nullptr || index < 0 || index >= kNumberOfColumns) return column;
  const StageTypeParam& block = m_pDoc->Params.stageType;
  const int code = index + 1;
  const bool present = code <= 7 ? IsBaseCode(block.stageType, code) : code - 7 <= block.sharedInUse;
  if (!present || block.stageType > 3) return column;
  column.found = true;
  column.name = GetStageName(block, code);
  column.row = LyrReStageWithEpisode::EpisodeRow(block.stageType, code);
  return column;
}

bool LyrWorkspaceTextOutDoseLatency::GetLatencySlotName(int slot, std::string& name) const {
  name.clear();
  if (m_pDoc == nullptr || slot < 0 || slot >= kSlots) return false;
  const StageTypeParam& block = m_pDoc->Params.stageType;
  const int code = kSlotCode[static_cast<std::size_t>(slot)];
  if (!IsBaseCode(block.stageType, code)) return false;
  name = GetStageName(block, code);
  return true;
}

// Last epoch the scans look at, inclusive: the end of the range, or the last screened epoch when
// a screening ended before it. A night scored by hand has no screened epoch and is read whole.
int LyrWorkspaceTextOutDoseLatency::LastEpoch() const {
  int last = endEpoch_;
  if (m_pDoc->LastScreenedEpoch >= 0) last = std::min(last, static_cast<int>(m_pDoc->LastScreenedEpoch));
  return std::min(last, m_pDoc->EpochTables.EpochCount() - 1);
}

// Epochs after `from` that continue its run of `code` within an episode, up to last.
int LyrWorkspaceTextOutDoseLatency::GetRunLength(int code, int from, int last) const {
  int e = from;
  while (e <= last) {
    const StatStage s = GetStatStage(e);
    if (s.code != code || s.flag == kOutside) break;
    ++e;
  }
  return std::max(e - from - 1, 0);
}

LyrWorkspaceTextOutDoseLatency::DoseResult LyrWorkspaceTextOutDoseLatency::FindDoseLatency(int dose) const {
  DoseResult result{};
  const int d = doseEpochs_[static_cast<std::size_t>(dose)];
  if (d < std::max(startEpoch_, 0)) return result;
  const int type = m_pDoc->Params.stageType.stageType;
  std::array<bool, kSlots> used{};
  for (int slot = 0; slot < kSlots; ++slot)
    used[static_cast<std::size_t>(slot)] = IsBaseCode(type, kSlotCode[static_cast<std::size_t>(slot)]);
  const int last = LastEpoch();
  int e = d;
  while (e <= last) {
    const StatStage s = GetStatStage(e);
    if (s.flag == kOutside || s.code < 2 || s.code > 6) {
      ++e;
      continue;
    }
    const int slot = s.code == kRem ? 4 : s.code - 3;
    SlotResult& r = result[static_cast<std::size_t>(slot)];
    if (r.epoch >= 0) {
      ++e;
      continue;
    }
    const int n = GetRunLength(s.code, e, last);
    if (UseEpisodeSetting != 0) {
      const int row = LyrReStageWithEpisode::EpisodeRow(type, s.code);
      const StageEpisodeRule& rule = StageEpisodeRules[static_cast<std::size_t>(row)];
      if (n + 1 < LyrReStageWithEpisode::SecondsToEpochs(rule.first, EpochSeconds)) {
        e += n + 1;
        continue;
      }
    }
    r.time = EpochTimeValue(*m_pDoc, e);
    r.epoch = e;
    e += n + 1;
    bool all = true;
    for (int k = 0; k < kSlots; ++k)
      if (used[static_cast<std::size_t>(k)] && result[static_cast<std::size_t>(k)].epoch < 0) all = false;
    if (all) break;
  }
  return result;
}

void LyrWorkspaceTextOutDoseLatency::CollectRemCycles() {
  cycles_.clear();
  latencyStat_ = {};
  cycleStat_ = {};
  const int last = LastEpoch();
  const int seconds = EpochSeconds;
  auto remInEpisode = [this](int epoch) {
    const StatStage s = GetStatStage(epoch);
    return s.code == kRem && s.flag != kOutside;
  };
  for (int e = std::max(startEpoch_, 0); e <= last; ++e) {
    // The first epoch of a REM run: REM within an episode, after an epoch that is not. An epoch
    // marked outside every episode before it ends the previous run as any other stage does.
    if (!remInEpisode(e) || (e > 0 && remInEpisode(e - 1))) continue;
    int latency = 0;
    for (int j = e - 1; j >= 0; --j) {
      const StatStage s = GetStatStage(j);
      if (s.flag == kOutside || s.code < 3 || s.code > 6) break;
      ++latency;
    }
    int runEnd = e;
    while (runEnd + 1 <= last && remInEpisode(runEnd + 1)) ++runEnd;
    int next = runEnd + 1;
    while (next <= last && !remInEpisode(next)) ++next;
    RemCycleRecord rec;
    rec.startEpoch = e;
    rec.latency = latency * seconds;
    rec.cycle = (next - e) * seconds;
    rec.length = (runEnd - e + 1) * seconds;
    cycles_.push_back(rec);
  }
  latencyStat_.count = static_cast<std::int32_t>(cycles_.size());
  cycleStat_.count = latencyStat_.count;
  if (!cycles_.empty()) {
    cycles_.back().cycle = -1;
    --cycleStat_.count;
  }
  auto finish = [this](RemStat& stat, auto value) {
    if (stat.count < 2) return;
    double sum = 0.0;
    for (const RemCycleRecord& r : cycles_)
      if (value(r) >= 0) sum += value(r);
    const double average = sum / stat.count;
    double squares = 0.0;
    for (const RemCycleRecord& r : cycles_)
      if (value(r) >= 0) squares += (value(r) - average) * (value(r) - average);
    stat.average = static_cast<float>(average);
    stat.sd = static_cast<float>(std::sqrt(squares / (stat.count - 1)));
  };
  finish(latencyStat_, [](const RemCycleRecord& r) { return r.latency; });
  finish(cycleStat_, [](const RemCycleRecord& r) { return r.cycle; });
}

std::string LyrWorkspaceTextOutDoseLatency::EpisodeHeader(char c) const {
  const bool rules = UseEpisodeSetting != 0;
  std::array<StageColumn, kNumberOfColumns> columns;
  for (int i = 0; i < kNumberOfColumns; ++i) columns[static_cast<std::size_t>(i)] = GetStageColumn(i);
  auto ruleCells = [&](auto value) {
    std::string cells;
    for (const StageColumn& col : columns)
      if (col.found) (cells += std::to_string(value(StageEpisodeRules[static_cast<std::size_t>(col.row)]))) += c;
    return cells;
  };
  std::string text;
  if (rules) {
    text.append(4, c);
    for (const StageColumn& col : columns)
      if (col.found) (text += col.name) += c;
  }
  text += "\n";
  text += std::string("Start time") + c + EpochLabel(startEpoch_);
  if (rules)
    text += std::string(2, c) + "Episode time(sec)" + c + ruleCells([](const StageEpisodeRule& r) { return r.first; });
  text += "\n";
  text += std::string("End time") + c + EpochLabel(endEpoch_);
  if (rules)
    text += std::string(2, c) + "Detect Interruption(sec)" + c + ruleCells([](const StageEpisodeRule& r) { return r.second; });
  text += "\n";
  if (rules)
    text += std::string(3, c) + "Allow Short Interruption" + c +
            ruleCells([](const StageEpisodeRule& r) { return static_cast<int>(static_cast<std::int16_t>(r.third)); });
  text += "\n\n";
  return text;
}

std::string LyrWorkspaceTextOutDoseLatency::DoseLatencyTable(char c, const std::array<DoseResult, 3>& results) const {
  static constexpr const char* kNone = "None";
  std::string text = std::string(1, c) + "1st dose" + c + "2nd dose" + c + "3rd dose\n";
  text += "Time";
  for (std::size_t k = 0; k < 3; ++k)
    (text += c) += doseEpochs_[k] == -1 ? std::string(kNone) : FormatTimeLabel(doseTimes_[k]);
  text += "\n\n";
  for (int slot = 0; slot < kSlots; ++slot) {
    std::string name;
    if (!GetLatencySlotName(slot, name)) continue;
    // The stage's own line always ends with a comma.
    text += name + ",\n";
    std::string latency = "latency", time = "time", epoch = "epochNo";
    for (int k = 0; k < 3; ++k) {
      const SlotResult& r = results[static_cast<std::size_t>(k)][static_cast<std::size_t>(slot)];
      const bool found = r.epoch >= 0;
      (latency += c) += found ? SpanText(r.time - doseTimes_[static_cast<std::size_t>(k)]) : kNone;
      (time += c) += found ? FormatTimeLabel(r.time) : kNone;
      (epoch += c) += found ? std::to_string(r.epoch) : kNone;
    }
    text += latency + "\n" + time + "\n" + epoch + "\n";
  }
  text += "\n";
  return text;
}

std::string LyrWorkspaceTextOutDoseLatency::RemTable(char c) const {
  std::string text = std::string(2, c) + "REM Length(sec)" + c + "REM Latency" + c + "REM Cycle\n";
  text += std::string("Average(sec)") + std::string(3, c) + Fixed2(latencyStat_.average) + c + Fixed2(cycleStat_.average) + "\n";
  text += std::string("SD") + std::string(3, c) + Fixed2(latencyStat_.sd) + c + Fixed2(cycleStat_.sd) + "\n";
  text += "\n";
  text += std::string("Time") + c + "EpochNo\n";
  for (const RemCycleRecord& r : cycles_) {
    text += EpochLabel(r.startEpoch) + c + std::to_string(r.startEpoch) + c + std::to_string(r.length) + c +
            std::to_string(r.latency) + c + (r.cycle < 0 ? std::string("-") : std::to_string(r.cycle)) + "\n";
  }
  return text;
}

int LyrWorkspaceTextOutDoseLatency::OutputText(const std::string& path) {
  auto fail = [] {
    ui::MessageBox(res::LoadString(kStrMakeFileFailed) + "\nLyrWorkspaceTextOutDoseLatency::OutputText()",
                   ui::MB_ICONEXCLAMATION);
    return 0;
  };
  if (m_pDoc == nullptr) return 0;
  TextSink sink;
  if (!sink.Open(path)) return fail();
  const char c = OutputDelimiterIsTab == 1 ? '\t' : ',';
  m_pDoc->OutputTextHeader(sink, nullptr);
  sink.Write(EpisodeHeader(c));
  std::array<DoseResult, 3> results{};
  for (int k = 0; k < 3; ++k) results[static_cast<std::size_t>(k)] = FindDoseLatency(k);
  sink.Write(DoseLatencyTable(c, results));
  CollectRemCycles();
  sink.Write(RemTable(c));
  if (!sink.Commit()) return fail();
  return 1;
}
