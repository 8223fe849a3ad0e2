// The text of the parameter output: the delimited lines for files and the clipboard, and the
// fixed-width lines of the printed page.
#include <algorithm>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/subject_preview.h"
#include "app/frame/frame_globals.h"
#include "app/frame/parameter_bar.h"
#include "app/frame/program_settings.h"
#include "app/results/human_report_format.h"
#include "app/results/lyr_dlg_parameter_output.h"
#include "platform/system/file_system.h"

using report::Format;

namespace {

constexpr int kLineWidth = 128;

struct Context {
  CQLM2_AnalyzerDoc& doc;
  int channels;
  std::int32_t epochs;
};

Context Make(CQLM2_AnalyzerDoc& doc) {
  const std::int32_t epochs = EpochSeconds > 0 ? std::max<std::int32_t>(doc.GetDivNum(EpochSeconds), 0) : 0;
  return {doc, std::clamp<int>(doc.RecordInfo.channelCount, 0, 32), epochs};
}

std::string ChannelName(const Context& c, int channel) {
  return channel >= 0 && channel < c.channels ? c.doc.ChInfo[static_cast<std::size_t>(channel)].name : std::string();
}

std::string EpochTime(const Context& c, std::int32_t epoch) {
  std::string s;
  c.doc.GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), s);
  return s;
}

std::string StageName(const Context& c, int code) {
  std::string s;
  c.doc.GetStageName(static_cast<signed char>(code == 255 ? -1 : code), s);
  return s;
}

std::string ParameterName(const Context& c, std::uint16_t code, std::size_t cut = std::string::npos) {
  std::string s = BuildParameterName(code, c.doc.Params);
  return s.size() > cut ? s.substr(0, cut) : s;
}

// Writes text into a blank line at a column, widening it when needed.
void Place(std::string& line, std::size_t column, const std::string& text) {
  if (line.size() < column + text.size()) line.resize(column + text.size(), ' ');
  line.replace(column, text.size(), text);
}

std::string Notch(const LyrChInfo& ch, const char* off) {
  if (ch.notch == 0) return off;
  return report::IsFiftyHz(ch.lineFrequencyHz) ? "50Hz" : "60Hz";
}

// The conditions of the current stage type's set that the report lists: up to the first
// without a stage (all 20 when none ends it).
int ConditionCount(const Context& c) {
  const auto& set = c.doc.Params.logic.sets[std::min<std::size_t>(c.doc.Params.stageType.stageType, 3)];
  int n = 0;
  while (n < static_cast<int>(set.size()) && set[static_cast<std::size_t>(n)].stage != 0) ++n;
  return n;
}

const char* LowerOp(std::uint16_t op, bool print) { return op == 0 ? (print ? "< " : "<") : "<="; }
const char* UpperOp(std::uint16_t op, bool print) { return op == 2 ? (print ? "< " : "<") : "<="; }

// The band records in the report's order: Delta, Theta, Alpha, Spindle, then the free bands.
struct Wave {
  std::string name;
  const BandWaveRecord* band;
};
std::vector<Wave> Waves(const Context& c) {
  const auto& b = c.doc.Params.waveForm.bands;
  using W = WaveFormRecognitionParam;
  return {{"Delta", &b[W::kDelta]},   {"Theta", &b[W::kTheta]},        {"Alpha", &b[W::kAlpha]},
          {"Spindle", &b[W::kSpindle]}, {b[W::kBand1].name, &b[W::kBand1]}, {b[W::kBand2].name, &b[W::kBand2]},
          {b[W::kBand3].name, &b[W::kBand3]}};
}

bool AutoDetect(const Context& c) {
  const MarkTypeParam& m = c.doc.Params.markType;
  if (m.triggerCount == 0) return false;
  return std::any_of(m.items.begin(), m.items.end(), [](const MarkTypeParam::Item& i) {
    return i.triggerChannel >= 0 && static_cast<std::uint16_t>(i.triggerChannel) != 65535;
  });
}

}  // namespace

namespace paramout {

std::string DelimitedText(CQLM2_AnalyzerDoc& doc) {
  const Context c = Make(doc);
  const char d = OutputDelimiterIsTab == 1 ? '\t' : ',';
  std::string out;
  doc.OutputTextHeader(out, nullptr);
  auto line = [&](const std::string& text) { (out += "\n") += text; };
  auto cells = [&](std::initializer_list<std::string> list) {
    std::string s;
    bool first = true;
    for (const std::string& cell : list) {
      if (!first) s += d;
      s += cell;
      first = false;
    }
    line(s);
  };
  auto endSection = [&] { out += "\n"; };

  line("Record times");
  line(Format("%s%c%s", "Start time", d, EpochTime(c, 0).c_str()));
  line(Format("%s%c%s", "End time", d, EpochTime(c, c.epochs).c_str()));
  line(Format("%s%c%s", "Duration time", d, report::ClockText(static_cast<long long>(c.epochs) * EpochSeconds).c_str()));
  line(Format("%s%c%ld", "Epoch time(sec.)", d, static_cast<long>(EpochSeconds)));
  endSection();

  line("Data processing");
  cells({"Channels", "BaseOffset", "Smoothing", "Filter"});
  for (int i = 0; i < c.channels; ++i) {
    const LyrChInfo& ch = doc.ChInfo[static_cast<std::size_t>(i)];
    cells({ch.name, ch.baseLine != 0 ? "On" : "Off",
           ch.smoothingCount > 1 ? Format("ON:%ld", static_cast<long>(ch.smoothingCount)) : "Off",
           report::FilterText(ch.filterMode, ch.cut1Hz, ch.cut2Hz, "Off"), "Notch:" + Notch(ch, "OFF")});
  }
  endSection();

  const WaveFormRecognitionParam& w = doc.Params.waveForm;
  line("Waveform recognition");
  cells({"Channel name", "Peak detect level", "Amp.min.", "Amp.max.", "Freq.min", "Freq.max", "Halfwave Count",
         "EMG Cancel", "EMG Cancel level"});
  for (const Wave& wave : Waves(c)) {
    const BandWaveRecord& b = *wave.band;
    if (b.channel < 0 || b.channel >= c.channels) continue;
    std::string row = Format("%s%c%s%c%.3f%c%.3f%c%.3f%c%.3f%c%.3f%c%ld%c%s", wave.name.c_str(), d,
                             ChannelName(c, b.channel).c_str(), d, b.peakDetectLevel, d, b.amplitudeMin, d,
                             b.amplitudeMax, d, b.frequencyMinHz, d, b.frequencyMaxHz, d,
                             static_cast<long>(b.halfWaveCount), d, b.emgCancel != 0 ? "On" : "Off");
    if (b.emgCancel != 0) row += Format("%c%.2f", d, b.emgCancelLevel);
    line(row);
  }
  const KComplexRecord& k = w.kComplex;
  line(Format("%s%c%s%c%.3f%c%.3f%c%.3f%c%.3f%c%.3f", "K-Complex", d, ChannelName(c, k.channel).c_str(), d,
              k.peakDetectLevel, d, k.amplitudeMin, d, k.amplitudeMax, d, k.durationMinMs, d, k.durationMaxMs));
  for (const auto& [name, eog] : {std::pair{"EOG-R", &w.eogRight}, std::pair{"EOG-L", &w.eogLeft}})
    line(Format("%s%c%s%c%.3f%c%.3f%c%.3f%c%.3f", name, d, ChannelName(c, eog->channel).c_str(), d, eog->detectAngle,
                d, eog->amplitudeMin, d, eog->durationMinMs, d, eog->durationMaxMs));
  line(Format("%s%c%s", "EMG", d, ChannelName(c, w.emgChannel).c_str()));
  endSection();

  line("Logic");
  cells({"No.", "Stage", "Lower1", "Parameter1", "Upper1", "Lower2", "Parameter2", "Upper2"});
  const auto& set = doc.Params.logic.sets[std::min<std::size_t>(doc.Params.stageType.stageType, 3)];
  const int count = ConditionCount(c);
  for (int i = 0; i < count; ++i) {
    const LogicCondition& cond = set[static_cast<std::size_t>(i)];
    const std::string stage = StageName(c, cond.stage);
    if (i == count - 1 && cond.andSwitch == 0) {
      line(Format("%d%c%s", i + 1, d, stage.c_str()));
      continue;
    }
    const LogicTerm& t = cond.term1;
    std::string row = Format("%d%c%s%c%.3f%c%s%c%s%c%s%c%.3f", i + 1, d, stage.c_str(), d, t.lower, d,
                             LowerOp(t.lowerOp, false), d, ParameterName(c, t.valueCode).c_str(), d,
                             UpperOp(t.upperOp, false), d, t.upper);
    if (cond.andSwitch != 0) {
      const LogicTerm& u = cond.term2;
      row += Format("%c%s%c%.3f%c%s%c%s%c%s%c%.3f", d, "&", d, u.lower, d, LowerOp(u.lowerOp, false), d,
                    ParameterName(c, u.valueCode).c_str(), d, UpperOp(u.upperOp, false), d, u.upper);
    }
    line(row);
  }
  line("Last stage screening");
  const LogicOptionParam& o = doc.Params.logicOption;
  if (o.lastStageMode == 2)
    line(Format("%s%c%s->%s%c%s->%s", "Stage change", d, StageName(c, o.stageA).c_str(), StageName(c, o.stageB).c_str(),
                d, StageName(c, o.stageA).c_str(), StageName(c, o.stageC).c_str()));
  endSection();

  const MarkTypeParam& m = doc.Params.markType;
  if (m.triggerCount >= 1) {
    line("Mark");
    line("Mark auto detect");
    cells({"Mark name", "Channels", "Direction", "Level", "Invalid time(sec)"});
    for (const MarkTypeParam::Item& item : m.items) {
      if (item.triggerDetect == 0) continue;
      const bool channel = item.triggerChannel >= 0 && item.triggerChannel < c.channels;
      cells({item.name, channel ? ChannelName(c, item.triggerChannel) : "None",
             item.direction == 0 ? "Up->Down" : "Down->Up", channel ? Format("%.2f", item.triggerLevel) : "-",
             channel ? Format("%.2f", item.invalidTimeS) : "-"});
    }
    endSection();
  }
  return out;
}

std::vector<std::string> PrintLines(CQLM2_AnalyzerDoc& doc, const sys::LocalTime& now) {
  const Context c = Make(doc);
  std::vector<std::string> out;
  auto line = [&](const std::string& text) { out.push_back(text); };
  const LyrRecordInfo& r = doc.RecordInfo;
  const bool hide = HideSubjectName != 0;

  line(Format("%22s", "Morvane") + std::string(71, ' ') +
       Format("Printed day %s %02u:%02u", report::ShortDate(now).c_str(), static_cast<unsigned>(now.hour),
              static_cast<unsigned>(now.minute)));
  line("");
  line("Information");
  line("File name                     " + (r.path.empty() ? std::string() : sys::FileNameOf(r.path)));
  line("Result analysis file name     " + (doc.ResultFilePath.empty() ? std::string() : sys::FileNameOf(doc.ResultFilePath)));
  line("Subject                       " + (hide ? HiddenText(r.subjectName) : r.subjectName));
  if (r.gender == 0) line("Gender                        Male");
  if (r.gender == 1) line("Gender                        Female");
  if (r.ageYears != 0 || r.ageMonths != 0) line(Format("Age                           %dYear %dMonth", r.ageYears, r.ageMonths));
  line("");
  line("Memo:" + r.memo);
  for (int i = 0; i < 10; ++i) {
    const auto& item = r.freeComments[static_cast<std::size_t>(i)];
    if (item.label.empty() && item.text.empty()) continue;
    const std::string text = hide && IsNameLabel(item.label) ? HiddenText(item.text) : item.text;
    line(Format("Free comment%02d:%20s %30s", i + 1, item.label.c_str(), text.c_str()));
  }
  line("");

  line("Record times");
  line("");
  line("Start time    :" + EpochTime(c, 0));
  line("End time      :" + EpochTime(c, c.epochs));
  line("Duration time :" + report::ClockText(static_cast<long long>(c.epochs) * EpochSeconds));
  line(Format("Epoch time    :%ldsec", static_cast<long>(EpochSeconds)));

  line("Channels  Base offset  Smoothing  Filter  NotchFilter");
  for (int i = 0; i < c.channels; ++i) {
    const LyrChInfo& ch = doc.ChInfo[static_cast<std::size_t>(i)];
    std::string row(kLineWidth, ' ');
    Place(row, 0, ch.name);
    Place(row, 10, ch.baseLine != 0 ? "On" : "Off");
    Place(row, 23, ch.smoothingCount > 1 ? Format("On:%3ld", static_cast<long>(ch.smoothingCount)) : "Off");
    std::string filter = "Off";
    switch (ch.filterMode) {
      case 0: filter = Format("LPF:%5.2f", ch.cut1Hz); break;
      case 1: filter = Format("HPF:%5.2f", ch.cut1Hz); break;
      case 2: filter = Format("BPF:%5.2f-%5.2f", ch.cut1Hz, ch.cut2Hz); break;
      case 3: filter = Format("BSF:%5.2f-%5.2f", ch.cut1Hz, ch.cut2Hz); break;
      default: break;
    }
    Place(row, 34, filter);
    // A band filter's text reaches column 48: the notch text follows it after a blank rather
    // than overwriting its last digit.
    Place(row, std::max<std::size_t>(48, 34 + filter.size() + 1), ch.notch == 0 ? "Off" : "Notch:" + Notch(ch, "Off"));
    line(row);
  }
  line("");

  const WaveFormRecognitionParam& w = doc.Params.waveForm;
  line("Waveform recognition");
  line("          Channel  PeakDetectLv. Amp.min. Amp.Max. Freq.Min. Freq.Max. HalfwaveCount EMGCancel EMGCanvelLv.");
  for (const Wave& wave : Waves(c)) {
    const BandWaveRecord& b = *wave.band;
    if (b.channel < 0 || b.channel >= c.channels) continue;
    std::string name = wave.name;
    if (name.size() < 8) name.resize(8, ' ');
    const std::string channel = ChannelName(c, b.channel);
    if (b.emgCancel != 0)
      line(Format("%-10s%-10s     %7.2f  %7.2f  %7.2f     %5.2f     %5.2f            %2d %-3s           %7.2f",
                  name.c_str(), channel.c_str(), b.peakDetectLevel, b.amplitudeMin, b.amplitudeMax, b.frequencyMinHz,
                  b.frequencyMaxHz, b.halfWaveCount, "On ", b.emgCancelLevel));
    else
      line(Format("%-10s%-10s     %7.2f  %7.2f  %7.2f     %5.2f     %5.2f            %2d %-3s", name.c_str(),
                  channel.c_str(), b.peakDetectLevel, b.amplitudeMin, b.amplitudeMax, b.frequencyMinHz,
                  b.frequencyMaxHz, b.halfWaveCount, "Off"));
  }
  line("");
  line("          Channel  PeakDetectLv. Amp.min. Amp.Max. Dur.min. Dur.Max.");
  const KComplexRecord& k = w.kComplex;
  line(Format("K-Complex %-10s     %7.2f  %7.2f  %7.2f  %7.2f  %7.2f", ChannelName(c, k.channel).c_str(),
              k.peakDetectLevel, k.amplitudeMin, k.amplitudeMax, k.durationMinMs, k.durationMaxMs));
  line("");
  line("          Channel  DetectAngle Amp.min. Dur.min. Dur.Max.");
  line(Format("EOG-R     %-8s     %7.2f  %7.2f  %7.2f  %7.2f", ChannelName(c, w.eogRight.channel).c_str(),
              w.eogRight.detectAngle, w.eogRight.amplitudeMin, w.eogRight.durationMinMs, w.eogRight.durationMaxMs));
  line(Format("EOG-L     %-8s     %7.2f  %7.2f  %7.2f  %7.2f", ChannelName(c, w.eogLeft.channel).c_str(),
              w.eogLeft.detectAngle, w.eogLeft.amplitudeMin, w.eogLeft.durationMinMs, w.eogLeft.durationMaxMs));
  line("");
  line("          Channel");
  line(Format("EMG       %-8s", ChannelName(c, w.emgChannel).c_str()));

  line("");
  line("Logic");
  line("No. Stage  Lower1    Parameter1       Upper1    Lower2    Parameter2       Upper2");
  const auto& set = doc.Params.logic.sets[std::min<std::size_t>(doc.Params.stageType.stageType, 3)];
  const int count = ConditionCount(c);
  for (int i = 0; i < count; ++i) {
    const LogicCondition& cond = set[static_cast<std::size_t>(i)];
    const std::string stage = StageName(c, cond.stage);
    const LogicTerm& t = cond.term1;
    const LogicTerm& u = cond.term2;
    if (cond.andSwitch != 0)
      line(Format("%2d  %-6s%7.2f %-2s %12s %-2s %7.2f & %7.2f %-2s %-12s %-2s %7.2f", i + 1, stage.c_str(),
                  static_cast<double>(t.lower), LowerOp(t.lowerOp, true), ParameterName(c, t.valueCode, 12).c_str(),
                  UpperOp(t.upperOp, true), static_cast<double>(t.upper), static_cast<double>(u.lower),
                  LowerOp(u.lowerOp, true), ParameterName(c, u.valueCode, 12).c_str(), UpperOp(u.upperOp, true),
                  static_cast<double>(u.upper)));
    else if (i == count - 1)
      line(Format("%2d  %-6s", i + 1, stage.c_str()));
    else
      line(Format("%2d  %-6s%7.2f %-2s %12s %-2s %7.2f", i + 1, stage.c_str(), static_cast<double>(t.lower),
                  LowerOp(t.lowerOp, true), ParameterName(c, t.valueCode, 12).c_str(), UpperOp(t.upperOp, true),
                  static_cast<double>(t.upper)));
  }
  line("");
  const LogicOptionParam& o = doc.Params.logicOption;
  if (o.lastStageMode == 2) {
    line("Last stage screening");
    line(Format("Stage Change:%s->%s  %s->%s", StageName(c, o.stageA).c_str(), StageName(c, o.stageB).c_str(),
                StageName(c, o.stageA).c_str(), StageName(c, o.stageC).c_str()));
  }
  line("");

  const MarkTypeParam& m = doc.Params.markType;
  if (m.triggerCount >= 1) {
    const bool autoDetect = AutoDetect(c);
    line("Mark");
    if (autoDetect) {
      line("                Mark auto detect");
      line("Name            Channel  Direction   Level Invalid time(sec)");
    }
    for (const MarkTypeParam::Item& item : m.items) {
      if (item.triggerDetect == 0) continue;
      std::string row(kLineWidth, ' ');
      Place(row, 0, item.name);
      if (autoDetect && item.triggerChannel >= 0 && item.triggerChannel < c.channels) {
        Place(row, 16, ChannelName(c, item.triggerChannel));
        Place(row, 26, item.direction == 0 ? "Up->Down" : "Down->Up");
        Place(row, 36, Format("% 6.2f", static_cast<double>(item.triggerLevel)));
        Place(row, 54, Format("% 6.2f", static_cast<double>(item.invalidTimeS)));
      } else if (autoDetect) {
        Place(row, 16, "None");
        Place(row, 33, "-");
        Place(row, 41, "-");
        Place(row, 59, "-");
      }
      line(row);
      line("");
    }
  }
  return out;
}

}  // namespace paramout
