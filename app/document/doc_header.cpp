// Reading a recording's channel count, header, subject data and calibration from its source:
// the program's own raw or analysis file, or the loaded import plug-in.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/subject_preview.h"
#include "app/frame/program_settings.h"
#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr int kMaxChannels = 32;

// Whole samples per second of a source frequency.
std::int32_t WholeRate(double hz) { return static_cast<std::int32_t>(hz * 1.00001); }

void ClearSubject(LyrRecordInfo& r) {
  r.subjectName.clear();
  r.gender = -1;
  r.ageYears = 0;
  r.ageMonths = 0;
  r.memo.clear();
  for (auto& item : r.freeComments) item = {};
}

// Stores a start time from the source when it is a plausible date; otherwise the default stays.
void StoreStartTime(LyrRecordInfo& r, unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                    unsigned second, unsigned ms) {
  if (year < 1970 || year > 2038 || month < 1 || month > 12 || day < 1 || day > 31) return;
  r.startDateTime = {static_cast<std::uint16_t>(year),   static_cast<std::uint16_t>(month),
                     static_cast<std::uint16_t>(day),    static_cast<std::uint16_t>(hour),
                     static_cast<std::uint16_t>(minute), static_cast<std::uint16_t>(second),
                     static_cast<std::uint16_t>(ms)};
  r.startTimeOfDayMs = ((hour * 60u + minute) * 60u + second) * 1000u + ms;
  r.startTimeValid = 1;
}

void ResetStartTime(LyrRecordInfo& r) {
  r.startDateTime = {2000, 1, 1, 0, 0, 0, 0};
  r.startTimeOfDayMs = 0;
  r.startTimeValid = 0;
}

// Subject data of an own file: the "SLEEP" comments, then the "ORVENTALIS" patient record.
void ReadOwnSubject(FynFileAccess& reader, LyrRecordInfo& r) {
  std::uint32_t offset = 0;
  if (reader.GetPropGroupAddress("SLEEP", &offset) == 0 && offset != 0)
    CQLM2_AnalyzerDoc::ReadSleepGroupComments(offset, r.path, r);
  offset = 0;
  if (reader.GetPropGroupAddress("ORVENTALIS", &offset) != 0 || offset == 0) return;
  _FynOVPatientInfo patient;
  if (reader.GetOVPatientInfo(&patient) == 0) {
    r.subjectName = CutField(patient.text1, 20);
    r.gender = static_cast<std::int16_t>(patient.patientWord);
    r.ageYears = patient.ageYears;
    r.ageMonths = patient.ageMonths;
    r.memo = CutField(patient.text2, 60);
  }
  std::array<_FynOVFreeCommentInfo, 10> comments;
  if (reader.GetOVFreeCommentInfo(comments.data(), 10) == 0) {
    for (std::size_t i = 0; i < comments.size(); ++i) {
      r.freeComments[i].label = CutField(comments[i].text1, 20);
      r.freeComments[i].text = CutField(comments[i].text2, 30);
    }
  }
}

// Display units per centimetre of an own raw channel. A stored draw rate of 0 or less would
// give no usable scale (the page drawing divides by it): such a channel keeps 100.0.
double OwnUnitsPerCm(const _FynRawG2Param& g2, bool sleepGroup, double current) {
  if (g2.drawRateFlag != 1) return current;
  if (!(g2.drawRate > 0.0)) return 100.0;
  return sleepGroup ? (g2.calTopPhysical - g2.calBottomPhysical) / (g2.drawRate * 0.1) : g2.drawRate;
}

}  // namespace

std::int16_t CQLM2_AnalyzerDoc::ReadChNum() {
  const std::string& path = RecordInfo.path;
  switch (RecordInfo.sourceKind) {
    case 0: {
      FynFileAccessRaw raw(path.c_str());
      std::int16_t channels = 0;
      if (raw.InitParams() != 0 || raw.GetGroup1_channels(channels) != 0) return 0;
      return channels;
    }
    case 1: {
      FynFileAccessAna ana(path.c_str());
      if (ana.InitParams() != 0) return 0;
      return ana.GetChannelNum();
    }
    case 3: {
      auto getChNum = PluginModule.IsLoaded() ? PluginModule.Function<ImpGetChNum>("GetChNum") : nullptr;
      if (getChNum == nullptr) return 0;
      return static_cast<std::int16_t>(getChNum(path.c_str(), MontageNumber));
    }
    default:
      return 0;
  }
}

int CQLM2_AnalyzerDoc::ReadRecordHeader() {
  LyrRecordInfo& r = RecordInfo;
  const int channels = std::clamp(r.channelCount, 0, kMaxChannels);
  ClearSubject(r);
  ResetStartTime(r);
  EventNames.clear();
  Events.clear();
  EventRate = 0;
  const char* path = r.path.c_str();
  if (r.sourceKind == 0) {
    FynFileAccessRaw raw(path);
    _FynRawG1Param g1;
    if (raw.InitParams() != 0 || raw.GetGroup1ParamRaw(&g1) != 0) return 0;
    r.dataType = g1.dataType;
    for (int c = 0; c < channels; ++c) {
      ChInfo[c].rate = WholeRate(g1.samplingHz);
      ChInfo[c].dataCount = g1.dataCount;
    }
    if (g1.startTimeFlag != 0) StoreStartTime(r, g1.year, g1.month, g1.day, g1.hour, g1.minute, g1.second, g1.millisecond);
    ReadOwnSubject(raw, r);
    // Events that cannot be read leave the event table empty; the recording still opens.
    if (raw.GetEventFlg() > 0 && getEventInfo() != 0 && getEventData() == 0) EventNames.clear();
    return 1;
  }
  if (r.sourceKind == 1) {
    FynFileAccessAna ana(path);
    if (ana.InitParams() != 0) return 0;
    for (int c = 0; c < channels; ++c) {
      _FynAnaG2Param g2;
      if (ana.GetGroup2ParamAna(c, &g2) != 0) return 0;
      ChInfo[c].rate = WholeRate(g2.value5);
      ChInfo[c].dataCount = g2.dataCount;
    }
    ReadOwnSubject(ana, r);
    return 1;
  }
  if (r.sourceKind != 3 || !PluginModule.IsLoaded()) return 0;
  auto checkType = PluginModule.Function<ImpCheckFileType>("CheckFileType");
  if (checkType == nullptr || checkType(path) == 0) return 0;
  auto dataType = PluginModule.Function<ImpGetDataType>("GetDataType");
  if (dataType == nullptr) return 0;
  const int type = dataType(path);
  if (type == -1) return 0;
  r.dataType = static_cast<std::uint16_t>(type);
  auto sampling = PluginModule.Function<ImpGetSampling>("GetSampling");
  auto dataNum = PluginModule.Function<ImpGetDataNum>("GetDataNum");
  if (sampling == nullptr || dataNum == nullptr) return 0;
  for (int c = 0; c < channels; ++c) {
    double hz = 0.0;
    if (sampling(path, MontageNumber, c, &hz) == 0) return 0;
    ChInfo[c].rate = WholeRate(hz);
  }
  for (int c = 0; c < channels; ++c) {
    std::uint32_t count = 0;
    if (dataNum(path, 0, MontageNumber, c, &count) == 0) return 0;
    ChInfo[c].dataCount = count;
  }
  auto actualTime = PluginModule.Function<ImpGetActualTime>("GetActualTime");
  if (actualTime == nullptr) return 0;
  ImpStartTime t = {};
  if (actualTime(path, 0, MontageNumber, 0, t) != 0) StoreStartTime(r, t[0], t[1], t[3], t[4], t[5], t[6], t[7]);
  if (ReadSubjectInfo() == 0) return 0;
  auto eventNum = PluginModule.Function<ImpGetEventNum>("GetEventNum");
  if (eventNum == nullptr) return 0;
  if (eventNum(path, 0, MontageNumber) != 0 && getEventInfo() != 0 && getEventData() == 0) EventNames.clear();
  return 1;
}

int CQLM2_AnalyzerDoc::ReadSubjectInfo() {
  if (!PluginModule.IsLoaded()) return 0;
  LyrRecordInfo& r = RecordInfo;
  ClearSubject(r);
  const PluginSubject s = CallPluginSubject(PluginModule, r.path);
  if (!s.given) return 1;
  r.subjectName = CutField(s.name, 20);
  r.gender = s.gender;
  r.ageYears = s.ageYears;
  r.ageMonths = s.ageMonths;
  FillSubjectItems(s, r.freeComments);
  return 1;
}

int CQLM2_AnalyzerDoc::ReadCalInfo() {
  LyrRecordInfo& r = RecordInfo;
  const int channels = std::clamp(r.channelCount, 0, kMaxChannels);
  const char* path = r.path.c_str();
  if (r.sourceKind == 0) {
    FynFileAccessRaw raw(path);
    if (raw.InitParams() != 0) return 0;
    std::uint32_t sleepOffset = 0;
    const bool sleepGroup = raw.GetPropGroupAddress("SLEEP", &sleepOffset) == 0 && sleepOffset != 0;
    for (int c = 0; c < channels; ++c) {
      _FynRawG2Param g2;
      if (raw.GetGroup2ParamRaw(c, &g2) != 0) return 0;
      LyrChInfo& ch = ChInfo[c];
      ch.calibration = ChCalibrationEntry{};
      ch.calibration.channel = g2.channelWord;
      ch.calibration.fullScale = g2.fullScale;
      ch.calibration.calibrated = g2.calFlag;
      ch.calibration.topSample = g2.calTopSample;
      ch.calibration.bottomSample = g2.calBottomSample;
      ch.calibration.topValue = g2.calTopPhysical;
      ch.calibration.bottomValue = g2.calBottomPhysical;
      ch.name = g2.name;
      ch.unit = g2.unit;
      ch.unitsPerCm = OwnUnitsPerCm(g2, sleepGroup, ch.unitsPerCm);
      ch.displayInvert = 0;
    }
    return 1;
  }
  if (r.sourceKind == 1) {
    FynFileAccessAna ana(path);
    if (ana.InitParams() != 0) return 0;
    for (int c = 0; c < channels; ++c) {
      _FynAnaG2Param g2;
      if (ana.GetGroup2ParamAna(c, &g2) != 0) return 0;
      ChInfo[c].name = g2.texts[0];
      ChInfo[c].unit = g2.texts[1];
      ChInfo[c].displayInvert = 0;
    }
    return 1;
  }
  if (r.sourceKind != 3 || !PluginModule.IsLoaded()) return 0;
  auto calInfo = PluginModule.Function<ImpGetCalInfo>("GetCalInfo");
  if (calInfo == nullptr) return 0;
  std::vector<ImpCalRecord> records;
  try {
    records.assign(static_cast<std::size_t>(std::max(channels, 1)), ImpCalRecord{});
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (calInfo(path, MontageNumber, CalibrationNumber, records.data()) != 0) {
    for (int c = 0; c < channels; ++c) {
      const ImpCalRecord& rec = records[static_cast<std::size_t>(c)];
      ChCalibrationEntry& e = ChInfo[c].calibration;
      e = ChCalibrationEntry{};
      e.calibrated = rec.calFlag;
      e.fullScale = rec.fullScale;
      e.topSample = rec.topSample;
      e.bottomSample = rec.bottomSample;
      e.topValue = rec.topValue;
      e.bottomValue = rec.bottomValue;
      ChInfo[c].unit = PluginText(rec.unit, IMP_NAME_CAPACITY);
    }
  }
  auto unitPerCm = PluginModule.Function<ImpGetCalUnitPerCm>("GetCalUnitPerCm");
  for (int c = 0; c < channels; ++c) {
    double value = 50.0;
    ChInfo[c].unitsPerCm = (unitPerCm != nullptr && unitPerCm(path, MontageNumber, c, &value) != 0) ? value : 50.0;
  }
  auto chName = PluginModule.Function<ImpGetChName>("GetChName");
  if (chName == nullptr) return 0;
  int result = 0;
  std::vector<char> names(static_cast<std::size_t>(std::max(channels, 1)) * IMP_NAME_CAPACITY, '\0');
  if (chName(path, MontageNumber, names.data(), IMP_NAME_CAPACITY) != 0) {
    for (int c = 0; c < channels; ++c)
      ChInfo[c].name = PluginText(names.data() + static_cast<std::size_t>(c) * IMP_NAME_CAPACITY, IMP_NAME_CAPACITY);
    result = 1;
  }
  if (PluginPath.find("RXQD_IMP_NK") != std::string::npos)
    for (int c = 0; c < channels; ++c) ChInfo[c].filterKind = 1;
  ReadFilterInfo();
  for (int c = 0; c < channels; ++c) ChInfo[c].displayInvert = 0;
  if (auto negativeUpper = PluginModule.Function<ImpGetChNegativeUpper>("GetChNegativeUpper")) {
    std::vector<std::int16_t> flags(static_cast<std::size_t>(std::max(channels, 1)), 0);
    if (negativeUpper(path, MontageNumber, -1, flags.data()) != 0)
      for (int c = 0; c < channels; ++c)
        if (flags[static_cast<std::size_t>(c)] == 0) ChInfo[c].displayInvert = 1;
  }
  return result;
}

void CQLM2_AnalyzerDoc::ReadFilterInfo() {
  if (!PluginModule.IsLoaded()) return;
  auto filterInfo = PluginModule.Function<ImpGetFilterInfo>("GetFilterInfo");
  if (filterInfo == nullptr) return;
  const int channels = std::clamp(RecordInfo.channelCount, 0, kMaxChannels);
  std::vector<ImpFilterRecord> records(static_cast<std::size_t>(std::max(channels, 1)));
  std::memset(records.data(), 0, records.size() * sizeof(ImpFilterRecord));
  if (filterInfo(RecordInfo.path.c_str(), MontageNumber, -1, records.data()) == 0) return;
  for (int c = 0; c < channels; ++c) {
    const ImpFilterRecord& f = records[static_cast<std::size_t>(c)];
    LyrChInfo& ch = ChInfo[c];
    const bool lOn = f.lowKind == 1, hOn = f.highKind == 1;
    if (f.lowPresent != 0 && f.highPresent != 0) {
      if (lOn && hOn) {
        if (f.highHz >= f.lowHz) {
          ch.filterMode = 2;
          ch.cut1Hz = f.highHz;
          ch.cut2Hz = f.lowHz;
        } else {
          ch.filterMode = 3;
          ch.cut1Hz = f.lowHz;
          ch.cut2Hz = f.highHz;
        }
      } else if (f.lowKind == 2 && f.highKind == 2) {
        ch.filterMode = 4;
        ch.cut1Hz = std::max(f.lowHz, f.highHz);
        ch.cut2Hz = std::min(f.lowHz, f.highHz);
      } else if (lOn) {
        ch.filterMode = 1;
        ch.cut1Hz = f.lowHz;
      } else if (f.lowKind == 0 || f.lowKind == 2) {
        ch.filterMode = 4;
        ch.cut1Hz = f.lowHz;
      } else if (hOn) {
        ch.filterMode = 0;
        ch.cut1Hz = f.highHz;
      } else {
        ch.filterMode = 4;
        ch.cut1Hz = f.highHz;
      }
    } else if (f.lowPresent != 0) {
      ch.filterMode = lOn ? 1 : 4;
      ch.cut1Hz = f.lowHz;
    } else if (f.highPresent != 0) {
      ch.filterMode = hOn ? 0 : 4;
      ch.cut1Hz = f.highHz;
    }
    if (f.notchPresent != 0) {
      ch.lineFrequencyHz = f.notchHz;
      ch.notch = f.notchOn == 1 ? 1 : 0;
    }
  }
}

int CQLM2_AnalyzerDoc::ReadSamplingInfo() {
  const int channels = std::clamp(RecordInfo.channelCount, 0, kMaxChannels);
  MixedSampling = 0;
  if (RecordInfo.sourceKind == 0) return 1;  // one rate and one count for all channels
  const char* path = RecordInfo.path.c_str();
  std::vector<std::pair<std::int32_t, std::uint32_t>> shape;
  if (RecordInfo.sourceKind == 1) {
    FynFileAccessAna ana(path);
    if (ana.InitParams() != 0) return 0;
    for (int c = 0; c < channels; ++c) {
      _FynAnaG2Param g2;
      if (ana.GetGroup2ParamAna(c, &g2) != 0) return 0;
      shape.emplace_back(WholeRate(g2.value5), g2.dataCount);
    }
  } else if (RecordInfo.sourceKind == 3) {
    if (!PluginModule.IsLoaded()) return 0;
    auto sampling = PluginModule.Function<ImpGetSampling>("GetSampling");
    auto dataNum = PluginModule.Function<ImpGetDataNum>("GetDataNum");
    if (sampling == nullptr || dataNum == nullptr) return 0;
    for (int c = 0; c < channels; ++c) {
      double hz = 0.0;
      std::uint32_t count = 0;
      if (sampling(path, MontageNumber, c, &hz) == 0 || dataNum(path, 0, MontageNumber, c, &count) == 0) return 0;
      shape.emplace_back(WholeRate(hz), count);
    }
  } else {
    return 0;
  }
  for (const auto& s : shape)
    if (s != shape.front()) MixedSampling = 1;
  return 1;
}

int CQLM2_AnalyzerDoc::CheckRecordLength() {
  auto fail = [](std::uint32_t id, int value) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    const std::string format = res::LoadString(id);
    std::vector<char> text(format.size() + 32);
    std::snprintf(text.data(), text.size(), format.c_str(), value);
    ui::MessageBox(text.data(), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  };
  const int channels = RecordInfo.channelCount;
  if (channels <= 0) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(2271, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  if (channels > kMaxChannels) return fail(2270, kMaxChannels);
  // (rate, count) per channel to check; a part the source cannot give is skipped.
  std::vector<std::pair<double, std::int64_t>> checks;
  const char* path = RecordInfo.path.c_str();
  if (RecordInfo.sourceKind == 0) {
    FynFileAccessRaw raw(path);
    _FynRawG1Param g1;
    if (raw.InitParams() != 0 || raw.GetGroup1ParamRaw(&g1) != 0) return 0;
    checks.emplace_back(g1.samplingHz, g1.dataCount);
  } else if (RecordInfo.sourceKind == 1) {
    FynFileAccessAna ana(path);
    if (ana.InitParams() != 0) return 0;
    for (int c = 0; c < channels; ++c) {
      _FynAnaG2Param g2;
      if (ana.GetGroup2ParamAna(c, &g2) != 0) return 0;
      checks.emplace_back(g2.value5, g2.dataCount);
    }
  } else if (RecordInfo.sourceKind == 3) {
    if (!PluginModule.IsLoaded()) return 0;
    auto sampling = PluginModule.Function<ImpGetSampling>("GetSampling");
    auto dataNum = PluginModule.Function<ImpGetDataNum>("GetDataNum");
    for (int c = 0; c < channels; ++c) {
      double hz = -1.0;
      std::uint32_t count = 0;
      const bool haveRate = sampling != nullptr && sampling(path, MontageNumber, c, &hz) != 0;
      const bool haveCount = dataNum != nullptr && dataNum(path, 0, MontageNumber, c, &count) != 0;
      checks.emplace_back(haveRate ? hz : -1.0, haveCount ? static_cast<std::int64_t>(count) : -1);
    }
  } else {
    return 0;
  }
  for (const auto& [hz, count] : checks) {
    if (hz < 0.0) continue;  // no rate given: neither part can be checked
    const std::int32_t rate = WholeRate(hz);
    if (rate < 1) return fail(2392, 1);
    if (count >= 0 && count / rate < 120) return fail(2272, 120);
  }
  return 1;
}

int CQLM2_AnalyzerDoc::GetFFTPointNum() const {
  return LfHfFftPoints(Params.sleepDstrb.lfhfPointsIndex);
}
