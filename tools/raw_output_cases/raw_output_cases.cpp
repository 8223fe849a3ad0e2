#include "tools/raw_output_cases/raw_output_cases.h"

#include <array>
#include <functional>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/results/raw_output_file.h"
#include "common/fileaccess/fyn_file_records.h"
#include "common/fileaccess/fyn_file_write.h"

namespace rawcases {

std::uint16_t Word(int c, long long i) { return static_cast<std::uint16_t>(1000 * c + i); }

bool WriteSource(const std::string& path, const Source& s) {
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_RAWDATA", 0x0110};
  FynFileWriteRaw1_1 w(path.c_str());
  bool ok = w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0;
  _FynRawHeader h{3, 0};
  ok = ok && w.WriteHeader(&h, nullptr, &end) == 0;
  _FynRawG1Param g;
  g.channels = static_cast<std::uint16_t>(s.channels);
  g.dataCount = static_cast<std::uint32_t>(s.samples);
  g.samplingHz = s.rate;
  ok = ok && w.WriteGroup1Raw(&g, nullptr, &end) == 0 &&
       w.StartGroup2(static_cast<std::int16_t>(s.channels), nullptr, &end) == 0;
  for (int c = 0; c < s.channels; ++c) {
    _FynRawG2Param p;
    p.name = "CH" + std::to_string(c + 1);
    p.fullScale = 32768.0;
    p.unit = "uV";
    ok = ok && w.WriteGroup2Unit(&p, nullptr, &end) == 0;
  }
  ok = ok && w.EndGroup2(&end, &end) == 0;
  std::vector<std::uint16_t> frames;
  for (long long i = 0; i < s.samples; ++i)
    for (int c = 0; c < s.channels; ++c) frames.push_back(Word(c, i));
  FynFileWriteRaw data(path.c_str());
  return ok && data.WriteDataGroup(frames, nullptr, &end) == 0;
}

void Attach(CQLM2_AnalyzerDoc& doc, const std::string& path, const Source& s) {
  LyrRecordInfo& r = doc.RecordInfo;
  r.path = path;
  r.sourceKind = 0;
  r.channelCount = s.channels;
  r.subjectName = "Taro";
  r.gender = 1;
  r.ageYears = 35;
  r.ageMonths = 7;
  r.memo = "night 2";
  for (auto& item : r.freeComments) item = {};
  r.freeComments[0] = {"Bed", "A-3"};
  r.startTimeValid = 1;
  r.startDateTime = {2024, 4, 12, 23, 59, 59, 0};
  r.dataType = 0;
  for (int c = 0; c < s.channels; ++c) {
    LyrChInfo& ch = doc.ChInfo[static_cast<std::size_t>(c)];
    ch.name = "CH" + std::to_string(c + 1);
    ch.unit = "uV";
    ch.rate = s.rate;
    ch.dataCount = static_cast<std::uint32_t>(s.samples);
    ch.startOffset = 0;
    ch.unitsPerCm = 50.0 + c;
    ch.colour = 0x00332211u;
    ch.calibration.channel = static_cast<std::uint16_t>(7 + c);
    ch.calibration.fullScale = 400.0;
    ch.calibration.calibrated = c == 0 ? 1 : 0;
    ch.calibration.topSample = 30000;
    ch.calibration.bottomSample = 100;
    ch.calibration.topValue = 250.0;
    ch.calibration.bottomValue = -250.0;
  }
  doc.RecordSeconds = static_cast<std::int32_t>(s.samples / s.rate);
  doc.EventNames = {"Lights", "Arousal"};
  doc.Events.clear();
}

std::vector<std::string> WriteCases(const std::string& dir, std::string* error) {
  struct Case {
    const char* name;
    std::int32_t first, last;
    std::vector<int> channels;
    std::function<void(CQLM2_AnalyzerDoc&)> arrange;
  };
  // Epochs of 2 s at 10 Hz: epoch e holds samples 20e..20e+19.
  const std::vector<Case> cases = {
      {"a_events_at_the_ends", 1, 2, {0, 1, 2},
       [](CQLM2_AnalyzerDoc& d) { d.Events = {{0, 19}, {1, 20}, {0, 59}, {1, 60}}; }},
      {"b_no_events", 0, 4, {0, 1, 2}, [](CQLM2_AnalyzerDoc&) {}},
      {"c_no_start_time", 0, 1, {0}, [](CQLM2_AnalyzerDoc& d) { d.RecordInfo.startTimeValid = 0; }},
      {"c_past_midnight_with_offset", 2, 3, {1},
       [](CQLM2_AnalyzerDoc& d) {
         d.ChInfo[1].startOffset = 15;
         d.Events = {{1, 55}, {0, 75}};
       }},
      {"d_calibrated_and_not", 0, 0, {0, 1}, [](CQLM2_AnalyzerDoc&) {}},
      {"e_non_adjacent", 1, 3, {0, 2}, [](CQLM2_AnalyzerDoc&) {}},
      {"f_data_type_word", 0, 0, {2}, [](CQLM2_AnalyzerDoc& d) { d.RecordInfo.dataType = 3; }},
      {"g_empty_texts", 0, 0, {0},
       [](CQLM2_AnalyzerDoc& d) {
         d.RecordInfo.subjectName.clear();
         d.RecordInfo.memo.clear();
         for (auto& item : d.RecordInfo.freeComments) item = {};
       }},
      {"g_full_texts", 0, 0, {0},
       [](CQLM2_AnalyzerDoc& d) {
         d.RecordInfo.subjectName = std::string(20, 'N');
         d.RecordInfo.memo = std::string(60, 'M');
         for (auto& item : d.RecordInfo.freeComments) item = {std::string(20, 'L'), std::string(30, 'T')};
       }},
  };
  const std::int32_t savedEpoch = EpochSeconds;
  EpochSeconds = 2;
  std::vector<std::string> written;
  const Source source;
  const std::string sourcePath = dir + "/src_3ch_10hz.fyd";
  if (!WriteSource(sourcePath, source)) {
    if (error) *error = "cannot write " + sourcePath;
    EpochSeconds = savedEpoch;
    return {};
  }
  for (const Case& c : cases) {
    CQLM2_AnalyzerDoc doc;
    Attach(doc, sourcePath, source);
    c.arrange(doc);
    std::array<std::int32_t, 32> flags{};
    for (int ch : c.channels) flags[static_cast<std::size_t>(ch)] = 1;
    const std::string path = dir + "/case_" + c.name + ".fyd";
    if (rawout::WriteRawOutput(doc, path, c.first, c.last, flags) != 1) {
      if (error) *error = std::string("the cut of case ") + c.name + " failed";
      EpochSeconds = savedEpoch;
      return {};
    }
    written.push_back(path);
  }
  EpochSeconds = savedEpoch;
  return written;
}

}  // namespace rawcases
