#include "app/scoring/lyr_multi_screening.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

#include "app/document/byte_image.h"
#include "app/document/epoch_record.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_output_progress.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/result_analysis_file.h"
#include "app/results/result_file_layout.h"
#include "app/scoring/multi_screening_staging.h"
#include "app/scoring/multi_screening_trend.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/shell.h"
#include "platform/ui/app.h"

namespace {

// Progress texts.
constexpr std::uint32_t kIdsCaption = 62358;
constexpr std::uint32_t kIdsFiles = 62359;
constexpr std::uint32_t kIdsAllocTrend = 62360;
constexpr std::uint32_t kIdsGetData = 62361;
constexpr std::uint32_t kIdsFiltering = 62362;
constexpr std::uint32_t kIdsBaseOffset = 62363;
constexpr std::uint32_t kIdsFreeTrend = 62364;
constexpr std::uint32_t kIdsAbsMax = 62365;
constexpr std::uint32_t kIdsLoc = 62366;
constexpr std::uint32_t kIdsEmg = 62367;
constexpr std::uint32_t kIdsEeg = 62368;
constexpr std::uint32_t kIdsWriteFile = 62369;
constexpr std::uint32_t kIdsFreeTrendMemory = 62370;
constexpr std::uint32_t kIdsAllocStage = 62371;
constexpr std::uint32_t kIdsGetTrend = 62372;
constexpr std::uint32_t kIdsAutoLevel = 62373;
constexpr std::uint32_t kIdsScoring = 62374;
constexpr std::uint32_t kIdsFinalScoring = 62375;
constexpr std::uint32_t kIdsGain = 62376;
constexpr std::uint32_t kIdsFreeStageMemory = 62377;
constexpr std::uint32_t kIdsRangeTooShort = 62378;
constexpr std::uint32_t kIdsNoSpectrum = 62381;

std::function<void(LyrMultiScreening&, int)>& StepHook() {
  static std::function<void(LyrMultiScreening&, int)> hook;
  return hook;
}

// A string-table text with up to two numbers ("%d/%d ...").
std::string Text(std::uint32_t id, int a = 0, int b = 0) {
  const std::string pattern = res::LoadString(id);
  std::string out;
  int args[2] = {a, b};
  int next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'd' && next < 2) {
      out += std::to_string(args[next++]);
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string FilesText(int file, int files, const std::string& name) {
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, "%02d/%02d", file, files);
  std::string pattern = res::LoadString(kIdsFiles);
  const std::size_t at = pattern.find("%02d/%02d");
  if (at != std::string::npos) pattern.replace(at, 9, numbers);
  const std::size_t s = pattern.find("%s");
  if (s != std::string::npos) pattern.replace(s, 2, name);
  return pattern;
}

int SecondOfDay(std::uint16_t h, std::uint16_t m, std::uint16_t s) { return h * 3600 + m * 60 + s; }

// Document filter mode for a settings filter type.
std::uint16_t FilterModeOf(std::uint16_t type) {
  switch (type) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    default: return 4;
  }
}

// Stage codes whose epochs give an EEG channel its gain, by stage type.
bool GainStage(int stageType, int code) {
  switch (stageType) {
    case 0: return code >= 3 && code <= 6;
    case 1: return code >= 3 && code <= 5;
    case 2: return code == 3 || code == 5;
    case 3: return code == 3;
    default: return false;
  }
}

// Layout of the result file as this engine writes it.
struct Layout {
  int channels = 0;  // C, all recording channels
  int fftChannels = 0;
  int epochs = 0;
  static constexpr std::size_t kInfo = raf::kHeaderSize;
  static constexpr std::size_t kScale = kInfo + raf::kInfoBlockSize;
  static constexpr std::size_t kEpochCount = kScale + raf::kScaleBlockSize;
  static constexpr std::size_t kRecords = kEpochCount + 4;
  std::size_t Fft() const { return kRecords + static_cast<std::size_t>(epochs) * kEpochRecBytes; }
  std::size_t FftPerEpoch() const { return static_cast<std::size_t>(fftChannels) * raf::kFftValuesPerChannel * 4; }
  std::size_t Arrays() const { return Fft() + static_cast<std::size_t>(epochs) * FftPerEpoch(); }
  std::size_t ArraysPerEpoch() const { return static_cast<std::size_t>(channels) * (6 * 4 + 2); }
  std::size_t End() const {
    return Arrays() + static_cast<std::size_t>(epochs) * ArraysPerEpoch() + raf::kMarkTypeBlockSize + 8;
  }
};

}  // namespace

// The recording being processed.
struct LyrMultiScreening::Recording {
  std::string path;
  int channels = 0;
  int s0 = 0;
  int rangeSeconds = 0;
  bool hasStartTime = false;
  int firstEpochSecondOfDay = 0;
  std::vector<int> rates;
};

// The trend tables of all animals of a recording.
struct LyrMultiScreening::Tables {
  // Per recording channel: N x {absMax, integral, max, min, mean, cv}.
  std::vector<std::vector<float>> free;
  // Per recording channel: N x 12 (powers, ratios) for EEG channels, else empty.
  std::vector<std::vector<float>> eeg;
  // Per animal: N EMG integrals (empty without an EMG position).
  std::vector<std::vector<float>> emg;
  // Per recording channel: N cross counts for Locomotion channels.
  std::vector<std::vector<std::uint16_t>> loc;
  std::vector<double> crossLevel;
};

enum FreeSlot { kAbsMax = 0, kIntegral, kMax, kMin, kMean, kCv, kFreeSlots };

LyrMultiScreening::LyrMultiScreening(LyrMultiScreeningSetting& settings) : settings_(settings) {
  ChannelGain.fill(-1.0f);
  FillInfoDefaults();
}

LyrMultiScreening::~LyrMultiScreening() { EndProgress(); }

void LyrMultiScreening::SetStepHookForTesting(std::function<void(LyrMultiScreening&, int)> hook) {
  StepHook() = std::move(hook);
}

void LyrMultiScreening::EndProgress() {
  if (progress_) {
    progress_->DestroyWindow();
    progress_.reset();
  }
}

bool LyrMultiScreening::Step(const std::string& text) {
  ++step_;
  if (progress_) progress_->SetText1(text);
  if (StepHook()) StepHook()(*this, step_);
  if (!progress_) return !cancelled_;
  // The window and the program's other windows are brought up to date and Cancel is looked
  // for at most every 40 ms: handling the messages costs more than most steps.
  const auto now = std::chrono::steady_clock::now();
  if (step_ == 1 || now - lastPump_ >= std::chrono::milliseconds(40) || progress_->CancelPending()) {
    lastPump_ = now;
    progress_->SetPos(static_cast<std::uint32_t>(step_));
    if (progress_->CheckCancel() != 0) cancelled_ = true;
  }
  return !cancelled_;
}

std::vector<std::uint8_t> LyrMultiScreening::DefaultInfoBlock() {
  LyrMultiScreeningSetting settings{LyrMultiScreeningSetting::NoFile{}};
  return LyrMultiScreening(settings).InfoBlock;
}

void LyrMultiScreening::FillInfoDefaults() {
  InfoBlock.assign(raf::kInfoBlockSize, 0);
  bytes::Span b(InfoBlock);
  bytes::Put<std::uint32_t>(b, raf::kInfoVersion, raf::kVersion);
  bytes::PutArray(b, raf::kInfoStartDateTime, std::array<std::uint16_t, 6>{2008, 1, 1, 0, 0, 0});
  bytes::Put<std::int32_t>(b, raf::kInfoLastScreenedEpoch, -1);
  AnalysisParamBlocks p;
  SetDefaultStageTypeParam(&p.stageType);
  SetDefaultChDispScale(&p.chDispScale);
  SetDefaultChDispMode(&p.chDispMode);
  SetDefaultFFTBandParam(1, &p.fftBand, 0);
  SetDefaultSleepDstrbParam(1, &p.sleepDstrb, 0);
  SetDefaultWaveFormRecognitionParam(1, &p.waveForm, 0);
  SetDefaultLogicParam(&p.logic);
  SetDefaultLogicOption(&p.logicOption);
  // No sleep-disturbance channel: the file announces no optional arrays.
  SleepDstrbParam& sd = p.sleepDstrb;
  for (auto* ch : {&sd.airFlow.channel, &sd.chest.channel, &sd.abdomen.channel, &sd.spo2Channel, &sd.cpapChannel,
                   &sd.snore.channel, &sd.legLeft.channel, &sd.legRight.channel, &sd.ecgChannel, &sd.positionChannel,
                   &sd.arousal.channel})
    *ch = -1;
  p.stageType.Store(b.subspan<raf::kInfoStageType, StageTypeParam::kSize>());
  p.chDispScale.Store(b.subspan<raf::kInfoChDispScale, ChDispScaleParam::kSize>());
  p.chDispMode.Store(b.subspan<raf::kInfoChDispMode, ChDispModeParam::kSize>());
  p.fftBand.Store(b.subspan<raf::kInfoFftBand, FFTBandParam::kSize>());
  sd.Store(b.subspan<raf::kInfoSleepDstrb, SleepDstrbParam::kSize>());
  p.waveForm.Store(b.subspan<raf::kInfoWaveForm, WaveFormRecognitionParam::kSize>());
  p.logic.Store(b.subspan<raf::kInfoLogic, LogicParam::kSize>());
  p.logicOption.Store(b.subspan<raf::kInfoLogicOption, LogicOptionParam::kSize>());
  const LyrChInfo channelDefaults;
  for (std::size_t k = 0; k < 32; ++k)
    StoreRafProcessingRecord(channelDefaults, b, raf::kInfoChannelRecords + k * raf::kChannelRecordSize);
}

std::string BuildMsTrendFile(const MsTrendFileData& data) {
  const int n = std::max(data.epochs, 0);
  const int channels = std::clamp(data.channels, 0, 32);
  const Layout layout{channels, static_cast<int>(data.eeg.size()), n};
  std::string out;
  out.reserve(layout.End());
  auto put = [&out](auto v) {
    char raw[sizeof v];
    std::memcpy(raw, &v, sizeof v);
    out.append(raw, sizeof v);
  };
  out.append(raf::kHeaderText, sizeof raf::kHeaderText);
  out.append(raf::kHeaderSize - sizeof raf::kHeaderText, '\0');
  std::vector<std::uint8_t> info = data.info;
  info.resize(raf::kInfoBlockSize, 0);
  out.append(reinterpret_cast<const char*>(info.data()), info.size());
  for (float v : data.scale) put(v);
  for (std::uint16_t v : data.flags) put(v);
  put(static_cast<std::uint32_t>(n));
  auto at = [](const std::vector<float>* v, std::size_t i) { return v != nullptr && i < v->size() ? (*v)[i] : 0.0f; };
  for (int e = 0; e < n; ++e) {
    char record[kEpochRecBytes] = {};
    const float v = at(data.emg, static_cast<std::size_t>(e));
    std::memcpy(record + 184, &v, 4);
    out.append(record, sizeof record);
  }
  for (int e = 0; e < n; ++e)
    for (int k = 0; k < 6; ++k)
      for (int slot : {k, k + 6})
        for (const std::vector<float>* v : data.eeg) put(at(v, static_cast<std::size_t>(e) * 12 + static_cast<std::size_t>(slot)));
  auto freeValue = [&](int c, int e, int slot) {
    const std::vector<float>* v = static_cast<std::size_t>(c) < data.free.size() ? data.free[static_cast<std::size_t>(c)] : nullptr;
    return at(v, static_cast<std::size_t>(e) * kFreeSlots + static_cast<std::size_t>(slot));
  };
  for (int e = 0; e < n; ++e) {
    for (int slot : {kMin, kMax, kMean, kAbsMax, kIntegral})
      for (int c = 0; c < channels; ++c) put(freeValue(c, e, slot));
    for (int c = 0; c < channels; ++c) {
      const std::vector<std::uint16_t>* v =
          static_cast<std::size_t>(c) < data.cross.size() ? data.cross[static_cast<std::size_t>(c)] : nullptr;
      put(static_cast<std::uint16_t>(v != nullptr && static_cast<std::size_t>(e) < v->size() ? (*v)[static_cast<std::size_t>(e)] : 0));
    }
    for (int c = 0; c < channels; ++c) put(freeValue(c, e, kCv));
  }
  out.append(reinterpret_cast<const char*>(data.markType.data()), data.markType.size());
  put(std::uint32_t{0});  // no marks
  put(std::uint32_t{0});  // no range lists
  return out;
}

// ---- static helpers --------------------------------------------------------------------

bool LyrMultiScreening::AnalysisRange(const LyrMultiScreeningSetting& s, bool hasStartTime,
                                      const std::array<std::uint16_t, 7>& start, int recordingSeconds, int* s0,
                                      int* s1) {
  *s0 = 0;
  if (s.RangeStartMode == 1 && hasStartTime) {
    *s0 = SecondOfDay(s.RangeStartTime[4], s.RangeStartTime[5], s.RangeStartTime[6]) -
          SecondOfDay(start[3], start[4], start[5]);
    if (*s0 < 0) *s0 += 86400;
  }
  if (*s0 >= recordingSeconds) return false;
  *s1 = recordingSeconds;
  if (s.RangeEndMode == 2) {
    const long long end = *s0 + (static_cast<long long>(s.RangeEndDays) * 24 + s.RangeEndHours) * 3600LL;
    *s1 = static_cast<int>(std::min<long long>(end, recordingSeconds));
  }
  return true;
}

int LyrMultiScreening::ChannelsPerAnimalFor(const LyrMultiScreeningSetting& s, int channels) {
  const int wanted = s.ChannelsPerAnimal;
  const int entries = static_cast<int>(std::min(s.ChannelAttributes.size(), s.ChannelFilters.size()));
  int cpa = 0;
  if (wanted <= channels) {
    cpa = wanted;
  } else if (wanted <= entries) {
    // The whole recording is one animal, provided every term names a channel it has (the
    // last condition holds only the default stage).
    for (std::size_t i = 0; i + 1 < s.Conditions.size() && s.Conditions[i].Stage != 0; ++i) {
      const MultiScreeningCondition& c = s.Conditions[i];
      for (const MultiScreeningTerm* t : {&c.First, &c.Second}) {
        if (t == &c.Second && c.UseSecond == 0) continue;
        const int position = s.FindPosition(t->ChannelKind, t->ChannelNumber);
        if (position < 0 || position >= channels) return 0;
      }
    }
    cpa = channels;
  } else {
    cpa = entries;
  }
  return cpa >= 1 ? cpa : 0;
}

std::string LyrMultiScreening::ResultName(const std::string& rawPath, int animal) {
  char number[16];
  std::snprintf(number, sizeof number, "_%02d", animal);
  return sys::FileTitleOf(rawPath) + number + ".raf";
}

std::string LyrMultiScreening::ResultFolderFor(const std::string& rawPath) {
  std::string folder;
  if (settings_.UseResultFolder == 0) folder = sys::FolderOf(rawPath);
  else folder = settings_.ResultFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!folder.empty()) {
    // The place must take a new file: one is created there and removed again.
    const std::string probe = folder + "/" + sys::FileTitleOf(rawPath) + "_01.raf.part";
    sys::AtomicFileWriter w;
    if (sys::FolderExists(folder) && w.Open(probe)) {
      w.Abort();
      return folder;
    }
  }
  return sys::DesktopFolder();
}

// ---- the run ---------------------------------------------------------------------------

int LyrMultiScreening::Run() {
  bool allProcessed = true;
  const int files = static_cast<int>(settings_.FileList.size());
  for (int f = 0; f < files; ++f) {
    Recording rec;
    if (!OpenRecording(f, &rec)) {
      allProcessed = false;
      continue;
    }
    // Progress over this recording.
    if (!progress_) {
      progress_ = std::make_unique<LyrDlgOutputProgress>(kIdsCaption);
      ui::Window* owner = CQLM2_AnalyzerDoc::MainFrame();
      if (progress_->Create(owner) == 0) progress_.reset();
    }
    const std::uint32_t a = static_cast<std::uint32_t>(AnimalCount);
    const std::uint32_t c = static_cast<std::uint32_t>(rec.channels);
    const std::uint32_t k = static_cast<std::uint32_t>(settings_.Conditions.size());
    const std::uint32_t h = static_cast<std::uint32_t>(FirstHourBlockCount);
    const std::uint32_t b = static_cast<std::uint32_t>(BlockCount);
    progressHigh_ = a + ((c + 1) * h + (c + 3) * b + (k + 2) * a) * 2 + 5;
    step_ = 0;
    if (progress_) {
      progress_->SetRange(0, progressHigh_);
      progress_->SetPos(0);
      progress_->SetText2(FilesText(f + 1, files, sys::FileTitleOf(rec.path)));
    }
    if (!ProcessRecording(f, rec)) return 0;
  }
  return allProcessed ? 1 : 0;
}

bool LyrMultiScreening::OpenRecording(int index, Recording* rec) {
  const std::string& path = settings_.FileList[static_cast<std::size_t>(index)];
  if (path.empty()) return false;
  if (!settings_.FileListPluginPath.empty()) PluginPath = settings_.FileListPluginPath;
  ui::App* app = ui::App::Current();
  if (app == nullptr) return false;
  // The batch stands in for the user: no question about results of the previous recording.
  ResultModifiedState = 0;
  doc_ = dynamic_cast<CQLM2_AnalyzerDoc*>(app->OpenDocumentFile(path));
  if (doc_ == nullptr || DocumentLoaded == 0 || doc_->RecordInfo.path != path) return false;
  CQLM2_AnalyzerDoc& d = *doc_;
  rec->path = path;
  rec->channels = std::clamp(d.RecordInfo.channelCount, 0, 32);
  const int e = EpochSeconds;
  if (rec->channels == 0 || e <= 0) return false;

  ChannelsPerAnimal = ChannelsPerAnimalFor(settings_, rec->channels);
  if (ChannelsPerAnimal < 1) return false;
  AnimalCount = rec->channels / ChannelsPerAnimal;

  for (int c = 0; c < rec->channels; ++c) {
    const std::size_t p = static_cast<std::size_t>(c % ChannelsPerAnimal);
    const MultiScreeningChannelFilter f =
        p < settings_.ChannelFilters.size() ? settings_.ChannelFilters[p] : MultiScreeningChannelFilter{};
    LyrChInfo& ch = d.ChInfo[static_cast<std::size_t>(c)];
    ch.show = 1;
    ch.baseLine = f.BaseOffset != 0 ? 1 : 0;
    ch.filterMode = FilterModeOf(f.FilterType);
    ch.cut1Hz = f.Cutoff1;
    ch.cut2Hz = f.Cutoff2;
    ch.notch = f.NotchOn != 0 ? 1 : 0;
    ch.lineFrequencyHz = f.NotchFrequency;
  }

  // The analysed range.
  const int length = d.GetRecordSec();
  rec->hasStartTime = d.RecordInfo.startTimeValid != 0;
  int s0 = 0, s1 = 0;
  if (!AnalysisRange(settings_, rec->hasStartTime, d.RecordInfo.startDateTime, length, &s0, &s1)) return false;
  if (rec->hasStartTime) {
    for (MsDateTime* t : {&settings_.RangeStartTime, &settings_.LightPhaseStart}) {
      (*t)[0] = d.RecordInfo.startDateTime[0];
      (*t)[1] = d.RecordInfo.startDateTime[1];
      (*t)[3] = d.RecordInfo.startDateTime[2];
    }
  }
  const int epochs = (s1 - s0) / e;
  if (epochs < 1) {
    // A range shorter than an epoch would give result files of no epochs.
    std::string note = res::LoadString(kIdsRangeTooShort);
    if (const auto at = note.find("%s"); at != std::string::npos) note.replace(at, 2, sys::FileNameOf(path));
    notes_.push_back(note);
    return false;
  }
  rec->s0 = s0;
  rec->rangeSeconds = epochs * e;
  rec->firstEpochSecondOfDay =
      (SecondOfDay(d.RecordInfo.startDateTime[3], d.RecordInfo.startDateTime[4], d.RecordInfo.startDateTime[5]) + s0) %
      86400;
  d.RecordSeconds = epochs * e;
  for (int c = 0; c < 32; ++c) d.ChInfo[static_cast<std::size_t>(c)].startOffset = d.ChInfo[static_cast<std::size_t>(c)].rate * s0;
  if (d.Init4ChangeEpochTime(epochs, e, rec->channels, 0) == 0) return false;
  ResultModifiedState = 0;

  EpochCount = epochs;
  BlockCount = mstrend::BlockCount(rec->rangeSeconds, e);
  FirstHourBlockCount = mstrend::FirstHourBlockCount(rec->rangeSeconds, e);
  rec->rates.clear();
  BlockSampleCount = 0;
  for (int c = 0; c < rec->channels; ++c) {
    const int r = std::max(d.ChInfo[static_cast<std::size_t>(c)].rate, 0);
    rec->rates.push_back(r);
    BlockSampleCount += r * mstrend::kBlockSeconds + 1;
  }
  ChannelGain.fill(-1.0f);
  ResultBasePath = ResultFolderFor(path) + "/" + sys::FileTitleOf(path);
  return true;
}

bool LyrMultiScreening::ReadFilteredBlock(Recording& rec, int block, std::vector<float>& buffer,
                                          std::vector<std::size_t>& valid) {
  CQLM2_AnalyzerDoc& d = *doc_;
  if (!Step(Text(kIdsGetData, block + 1, BlockCount))) return false;
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  if (d.GetRawData(block, mstrend::kBlockSeconds, buffer.data()) == 0) return false;
  const int processed = AnimalCount * ChannelsPerAnimal;
  std::size_t offset = 0;
  for (int c = 0; c < rec.channels; ++c) {
    const LyrChInfo& ch = d.ChInfo[static_cast<std::size_t>(c)];
    const std::size_t span = static_cast<std::size_t>(rec.rates[static_cast<std::size_t>(c)]) * mstrend::kBlockSeconds + 1;
    const long long first = static_cast<long long>(ch.rate) * block * mstrend::kBlockSeconds + ch.startOffset;
    const long long left = static_cast<long long>(ch.dataCount) - first;
    valid[static_cast<std::size_t>(c)] = static_cast<std::size_t>(std::clamp<long long>(left, 0, static_cast<long long>(span)));
    float* part = buffer.data() + offset;
    offset += span;
    if (c >= processed) continue;
    if (!Step(Text(kIdsFiltering, block + 1, BlockCount))) return false;
    const unsigned long m = valid[static_cast<std::size_t>(c)];
    if (ch.filterMode != 4 && m > 0) {
      if (CQLM2_AnalyzerDoc::CalcNotchFilter(part, m, ch.filterKind, ch.notch, ch.lineFrequencyHz, ch.filterMode,
                                             ch.cut1Hz, ch.cut2Hz, ch.rate) == 0 ||
          CQLM2_AnalyzerDoc::CalcFilter(part, m, ch.filterKind, ch.filterMode, ch.cut1Hz, ch.cut2Hz, ch.rate) == 0)
        return false;
    }
  }
  if (!Step(Text(kIdsBaseOffset, block + 1, BlockCount))) return false;
  offset = 0;
  for (int c = 0; c < rec.channels; ++c) {
    const std::size_t span = static_cast<std::size_t>(rec.rates[static_cast<std::size_t>(c)]) * mstrend::kBlockSeconds + 1;
    float* part = buffer.data() + offset;
    offset += span;
    const std::size_t m = valid[static_cast<std::size_t>(c)];
    if (c >= processed || m == 0 || doc_->ChInfo[static_cast<std::size_t>(c)].baseLine == 0) continue;
    double mean = 0.0;
    for (std::size_t i = 0; i < m; ++i) mean += part[i];
    mean /= static_cast<double>(m);
    for (std::size_t i = 0; i < m; ++i) part[i] = static_cast<float>(part[i] - mean);
  }
  return true;
}

bool LyrMultiScreening::TrendPhase(Recording& rec, Tables& t) {
  const int e = EpochSeconds;
  const int n = EpochCount;
  const int channels = rec.channels;
  const int processed = AnimalCount * ChannelsPerAnimal;
  const int perBlock = mstrend::kBlockSeconds / e;
  std::vector<float> buffer;
  std::vector<std::size_t> valid(static_cast<std::size_t>(channels), 0);
  std::vector<std::size_t> offsets(static_cast<std::size_t>(channels), 0);
  if (!Step(res::LoadString(kIdsAllocTrend))) return false;
  try {
    buffer.assign(static_cast<std::size_t>(BlockSampleCount), 0.0f);
    std::size_t off = 0;
    for (int c = 0; c < channels; ++c) {
      offsets[static_cast<std::size_t>(c)] = off;
      off += static_cast<std::size_t>(rec.rates[static_cast<std::size_t>(c)]) * mstrend::kBlockSeconds + 1;
    }
    t.free.assign(static_cast<std::size_t>(channels), {});
    t.eeg.assign(static_cast<std::size_t>(channels), {});
    t.loc.assign(static_cast<std::size_t>(channels), {});
    t.crossLevel.assign(static_cast<std::size_t>(channels), 0.0);
    t.emg.assign(static_cast<std::size_t>(AnimalCount), {});
    for (int c = 0; c < processed; ++c) {
      t.free[static_cast<std::size_t>(c)].assign(static_cast<std::size_t>(n) * kFreeSlots, 0.0f);
      const int kind = settings_.GetPositionAttribute(c, nullptr);
      if (kind == kMsEeg) t.eeg[static_cast<std::size_t>(c)].assign(static_cast<std::size_t>(n) * 12, 0.0f);
      if (kind == kMsLocomotion) t.loc[static_cast<std::size_t>(c)].assign(static_cast<std::size_t>(n), 0);
    }
    if (settings_.FindPosition(kMsEmg, 0) >= 0)
      for (auto& v : t.emg) v.assign(static_cast<std::size_t>(n), 0.0f);
  } catch (const std::bad_alloc&) {
    return false;
  }

  // Samples of epoch j of the block for channel c.
  auto epochOf = [&](int c, int j) {
    const std::size_t s = static_cast<std::size_t>(rec.rates[static_cast<std::size_t>(c)]) * static_cast<std::size_t>(e);
    const std::size_t from = static_cast<std::size_t>(j) * s;
    const std::size_t have = valid[static_cast<std::size_t>(c)];
    const std::size_t count = from >= have ? 0 : std::min(s, have - from);
    return std::span<const float>(buffer.data() + offsets[static_cast<std::size_t>(c)] + from, count);
  };
  auto forEachEpoch = [&](int block, auto&& fn) {
    for (int j = 0; j < perBlock; ++j) {
      const int epoch = block * perBlock + j;
      if (epoch >= n) break;
      fn(j, epoch);
    }
  };
  auto absMaxPass = [&](int block) {
    for (int c = 0; c < processed; ++c)
      forEachEpoch(block, [&](int j, int epoch) {
        t.free[static_cast<std::size_t>(c)][static_cast<std::size_t>(epoch) * kFreeSlots + kAbsMax] =
            mstrend::AbsMaxOf(epochOf(c, j));
      });
  };

  // First hour: the cross levels of the Locomotion channels.
  for (int block = 0; block < FirstHourBlockCount; ++block) {
    if (!ReadFilteredBlock(rec, block, buffer, valid)) return false;
    if (!Step(Text(kIdsAbsMax, block + 1, BlockCount))) return false;
    absMaxPass(block);
  }
  const int firstHourEpochs = std::min(n, std::min(rec.rangeSeconds, 2 * mstrend::kBlockSeconds) / e);
  for (int c = 0; c < processed; ++c) {
    if (settings_.GetPositionAttribute(c, nullptr) != kMsLocomotion) continue;
    float largest = -mstrend::kFloatMax;
    for (int epoch = 0; epoch < firstHourEpochs; ++epoch)
      largest = std::max(largest, t.free[static_cast<std::size_t>(c)][static_cast<std::size_t>(epoch) * kFreeSlots + kAbsMax]);
    const MultiScreeningChannelAttribute& a =
        settings_.ChannelAttributes[static_cast<std::size_t>(c % ChannelsPerAnimal)];
    t.crossLevel[static_cast<std::size_t>(c)] = a.LevelMode == 0 ? 0.7 * largest : a.Level;
  }

  // The band calculators, one per sampling rate of the EEG channels.
  std::vector<std::unique_ptr<mstrend::BandPowerCalculator>> bands(static_cast<std::size_t>(channels));
  for (int block = 0; block < BlockCount; ++block) {
    if (!ReadFilteredBlock(rec, block, buffer, valid)) return false;
    if (!Step(Text(kIdsFreeTrend, block + 1, BlockCount))) return false;
    for (int c = 0; c < processed; ++c)
      forEachEpoch(block, [&](int j, int epoch) {
        const mstrend::FreeTrend f = mstrend::FreeTrendOf(epochOf(c, j), rec.rates[static_cast<std::size_t>(c)]);
        float* v = &t.free[static_cast<std::size_t>(c)][static_cast<std::size_t>(epoch) * kFreeSlots];
        v[kIntegral] = f.integral;
        v[kMax] = f.maximum;
        v[kMin] = f.minimum;
        v[kMean] = f.mean;
        v[kCv] = f.cv;
      });
    if (!Step(Text(kIdsAbsMax, block + 1, BlockCount))) return false;
    absMaxPass(block);
    if (!Step(Text(kIdsLoc, block + 1, BlockCount))) return false;
    for (int c = 0; c < processed; ++c) {
      if (t.loc[static_cast<std::size_t>(c)].empty()) continue;
      forEachEpoch(block, [&](int j, int epoch) {
        const int count = mstrend::CrossCount(epochOf(c, j), t.crossLevel[static_cast<std::size_t>(c)]);
        t.loc[static_cast<std::size_t>(c)][static_cast<std::size_t>(epoch)] = static_cast<std::uint16_t>(std::min(count, 0xFFFF));
      });
    }
    if (!Step(Text(kIdsEmg, block + 1, BlockCount))) return false;
    const int emgPosition = settings_.FindPosition(kMsEmg, 0);
    if (emgPosition >= 0)
      for (int a = 0; a < AnimalCount; ++a) {
        const int c = a * ChannelsPerAnimal + emgPosition;
        forEachEpoch(block, [&](int j, int epoch) {
          t.emg[static_cast<std::size_t>(a)][static_cast<std::size_t>(epoch)] = mstrend::EmgIntegral(epochOf(c, j));
        });
      }
    if (!Step(Text(kIdsEeg, block + 1, BlockCount))) return false;
    for (int c = 0; c < processed; ++c) {
      if (t.eeg[static_cast<std::size_t>(c)].empty()) continue;
      auto& calc = bands[static_cast<std::size_t>(c)];
      if (!calc) calc = std::make_unique<mstrend::BandPowerCalculator>(settings_, rec.rates[static_cast<std::size_t>(c)]);
      // No spectrum work area: the run stops, as for its other tables, and says why.
      if (!calc->Ready()) {
        std::string note = res::LoadString(kIdsNoSpectrum);
        if (const auto at = note.find("%s"); at != std::string::npos) note.replace(at, 2, sys::FileNameOf(rec.path));
        notes_.push_back(note);
        return false;
      }
      forEachEpoch(block, [&](int j, int epoch) {
        float* v = &t.eeg[static_cast<std::size_t>(c)][static_cast<std::size_t>(epoch) * 12];
        calc->Compute(epochOf(c, j), v, v + 6);
      });
    }
  }
  return true;
}

bool LyrMultiScreening::ProcessRecording(int /*index*/, Recording& rec) {
  Tables t;
  if (!TrendPhase(rec, t)) return false;
  std::vector<std::string> parts;
  for (int a = 0; a < AnimalCount; ++a) {
    if (!Step(Text(kIdsWriteFile, a + 1, AnimalCount))) return false;
    const std::string part = sys::FolderOf(ResultBasePath) + "/" + ResultName(rec.path, a + 1) + ".part";
    if (!WriteTrendFile(rec, t, a, part)) return false;
    parts.push_back(part);
  }
  if (!Step(res::LoadString(kIdsFreeTrendMemory))) return false;
  t = Tables{};
  if (!Step(res::LoadString(kIdsAllocStage))) return false;
  for (int a = 0; a < AnimalCount; ++a) {
    const bool ok = StageAnimal(rec, a, parts[static_cast<std::size_t>(a)]);
    if (!ok) {
      // The unfinished files go; finished animals' files stay.
      for (std::size_t k = static_cast<std::size_t>(a); k < parts.size(); ++k) sys::DeleteFile(parts[k]);
      return false;
    }
  }
  return Step(res::LoadString(kIdsFreeStageMemory));
}

bool LyrMultiScreening::WriteTrendFile(Recording& rec, Tables& t, int a, const std::string& path) {
  CQLM2_AnalyzerDoc& d = *doc_;
  const int n = EpochCount;
  const int channels = rec.channels;
  const int first = a * ChannelsPerAnimal;
  auto ownChannel = [&](int c) { return c >= first && c < first + ChannelsPerAnimal; };
  std::vector<int> eegChannels;
  for (int c = first; c < first + ChannelsPerAnimal; ++c)
    if (settings_.GetPositionAttribute(c, nullptr) == kMsEeg) eegChannels.push_back(c);

  // The information block.
  FillInfoDefaults();
  bytes::Span b(InfoBlock);
  std::array<std::int32_t, 32> flags{};
  for (int c = 0; c < channels; ++c) flags[static_cast<std::size_t>(c)] = 1;
  bytes::Put<std::uint32_t>(b, raf::kInfoCheckValue, d.GetRawWordSum(rec.s0, nullptr));
  bytes::PutPath(b, raf::kInfoRawPath, raf::kRawPathTextSize, rec.path);
  StoreRafRecordInfo(d.RecordInfo, b, raf::kInfoRecordInfo);
  bytes::Put<std::int32_t>(b, raf::kInfoLastScreenedEpoch, n - 1);
  bytes::Put<std::uint16_t>(b, raf::kInfoStartTimeFlag, d.RecordInfo.startTimeValid);
  // The start of the analysed range, as the result file format has it.
  std::array<std::uint16_t, 6> when{2000, 1, 1, 0, 0, 0};
  if (d.RecordInfo.startTimeValid != 0) when = AddRafSeconds(d.RecordInfo.startDateTime, rec.s0);
  bytes::PutArray(b, raf::kInfoStartDateTime, when);
  bytes::Put<std::uint32_t>(b, raf::kInfoChannelCount, static_cast<std::uint32_t>(channels));
  bytes::Put<std::uint32_t>(b, raf::kInfoEpochSeconds, static_cast<std::uint32_t>(EpochSeconds));
  bytes::Put<std::uint32_t>(b, raf::kInfoRangeStart, static_cast<std::uint32_t>(rec.s0));
  FFTBandParam fft;
  fft.Load(std::span<const std::uint8_t, FFTBandParam::kSize>(InfoBlock.data() + raf::kInfoFftBand, FFTBandParam::kSize));
  fft.channelSwitch.fill(0);
  for (int c : eegChannels) fft.channelSwitch[static_cast<std::size_t>(c)] = 1;
  fft.averagingCount = settings_.FftAverage;
  fft.fftPoints = settings_.FftPoints;
  fft.windowType = static_cast<std::uint16_t>(mstrend::SpectrumWindowCode(settings_.FftWindow));
  fft.unit = static_cast<std::uint16_t>(mstrend::SpectrumUnitCode(settings_.FftUnit));
  const int bandCount = std::min<int>({settings_.BandCount, static_cast<int>(settings_.Bands.size()), 6});
  fft.bandCount = static_cast<std::uint16_t>(bandCount);
  for (int k = 0; k < bandCount; ++k) {
    const MultiScreeningBand& band = settings_.Bands[static_cast<std::size_t>(k)];
    fft.bands[static_cast<std::size_t>(k)].name = band.Name;
    fft.bands[static_cast<std::size_t>(k)].fromHz = band.From;
    fft.bands[static_cast<std::size_t>(k)].toHz = band.To;
  }
  fft.Store(b.subspan<raf::kInfoFftBand, FFTBandParam::kSize>());

  MsTrendFileData data;
  data.info = InfoBlock;
  data.channels = channels;
  data.epochs = n;
  for (int c = 0; c < 32; ++c) {
    const bool own = c < channels && ownChannel(c);
    data.scale[static_cast<std::size_t>(c)] = own ? static_cast<float>(d.ChInfo[static_cast<std::size_t>(c)].gain) : 1.0f;
    data.flags[static_cast<std::size_t>(c)] = own ? 1 : 0;
  }
  if (!t.emg[static_cast<std::size_t>(a)].empty()) data.emg = &t.emg[static_cast<std::size_t>(a)];
  for (int c : eegChannels) data.eeg.push_back(&t.eeg[static_cast<std::size_t>(c)]);
  for (int c = 0; c < channels; ++c) {
    const auto& f = t.free[static_cast<std::size_t>(c)];
    const auto& loc = t.loc[static_cast<std::size_t>(c)];
    data.free.push_back(f.empty() ? nullptr : &f);
    data.cross.push_back(ownChannel(c) && !loc.empty() ? &loc : nullptr);
  }
  MarkTypeParam marks;
  SetDefaultMarkTypeParam(1, &marks, channels);
  marks.Store(data.markType);
  std::string out;
  try {
    out = BuildMsTrendFile(data);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return sys::WriteFileAtomic(path, out);
}

bool LyrMultiScreening::StageAnimal(Recording& rec, int a, const std::string& part) {
  CQLM2_AnalyzerDoc& d = *doc_;
  const int n = EpochCount;
  const int channels = rec.channels;
  const int first = a * ChannelsPerAnimal;
  if (!Step(Text(kIdsGetTrend, a + 1, AnimalCount))) return false;
  auto file = sys::ReadWholeFile(part);
  std::vector<int> eegChannels;
  for (int c = first; c < first + ChannelsPerAnimal; ++c)
    if (settings_.GetPositionAttribute(c, nullptr) == kMsEeg) eegChannels.push_back(c);
  const Layout layout{channels, static_cast<int>(eegChannels.size()), n};
  if (!file || file->size() != layout.End()) return false;
  std::string& bytesOut = *file;
  const bytes::CSpan in(reinterpret_cast<const std::uint8_t*>(bytesOut.data()), bytesOut.size());
  InfoBlock.assign(in.begin() + Layout::kInfo, in.begin() + Layout::kInfo + raf::kInfoBlockSize);

  // Values of the animal, as the staging asks for them.
  auto eegIndex = [&](int channel) {
    const auto it = std::find(eegChannels.begin(), eegChannels.end(), channel);
    return it == eegChannels.end() ? -1 : static_cast<int>(it - eegChannels.begin());
  };
  auto arrayValue = [&](int slot, int channel, int epoch) -> float {
    const std::size_t base = layout.Arrays() + static_cast<std::size_t>(epoch) * layout.ArraysPerEpoch();
    const std::size_t c = static_cast<std::size_t>(channel);
    const std::size_t floats = static_cast<std::size_t>(channels) * 4;
    if (slot < 5) return bytes::Get<float>(in, base + static_cast<std::size_t>(slot) * floats + c * 4);
    if (slot == 5) return bytes::Get<std::uint16_t>(in, base + 5 * floats + c * 2);
    return bytes::Get<float>(in, base + 5 * floats + static_cast<std::size_t>(channels) * 2 + c * 4);
  };
  msstage::AnimalValues animal;
  animal.epochs = n;
  animal.firstChannel = first;
  animal.channelCount = channels;
  animal.values = [&](int parameter, int channel) {
    std::vector<float> v(static_cast<std::size_t>(n), 0.0f);
    if (parameter == 13) {
      if (settings_.FindPosition(kMsEmg, 0) < 0) return v;
      for (int e = 0; e < n; ++e)
        v[static_cast<std::size_t>(e)] = bytes::Get<float>(in, Layout::kRecords + static_cast<std::size_t>(e) * kEpochRecBytes + 184);
      return v;
    }
    if (channel < 0) return v;
    if (parameter >= 14 && parameter <= 25) {
      const int k = (parameter - 14) / 2;
      // Stored per epoch as band 1 powers, band 1 ratios, band 2 powers, ...
      const int slot = 2 * k + (parameter - 14) % 2;
      const int index = eegIndex(channel);
      if (index < 0 || k >= settings_.BandCount) return v;
      const std::size_t f = static_cast<std::size_t>(layout.fftChannels);
      for (int e = 0; e < n; ++e)
        v[static_cast<std::size_t>(e)] = bytes::Get<float>(
            in, layout.Fft() + static_cast<std::size_t>(e) * layout.FftPerEpoch() +
                    (static_cast<std::size_t>(slot) * f + static_cast<std::size_t>(index)) * 4);
      return v;
    }
    static constexpr int kSlotOf[] = {0, 1, 2, 4, 5, 3, 6};  // parameters 26..32 -> stored arrays
    if (parameter < 26 || parameter > 32) return v;
    if (parameter == 30 && settings_.GetPositionAttribute(channel, nullptr) != kMsLocomotion) return v;
    for (int e = 0; e < n; ++e) v[static_cast<std::size_t>(e)] = arrayValue(kSlotOf[parameter - 26], channel, e);
    return v;
  };
  msstage::OccupancyFrame frame;
  frame.stageType = d.Params.stageType.stageType;
  frame.extraStages = d.Params.stageType.sharedInUse;
  frame.hasStartTime = rec.hasStartTime;
  frame.firstEpochSecondOfDay = rec.firstEpochSecondOfDay;
  frame.epochSeconds = EpochSeconds;
  std::vector<std::uint8_t> stages;
  const bool staged = msstage::StageAnimal(settings_, animal, frame, &ConditionLevels, &stages, [&](msstage::Step s) {
    switch (s) {
      case msstage::Step::AutoLevel: return Step(Text(kIdsAutoLevel, a + 1, AnimalCount));
      case msstage::Step::Scoring: return Step(Text(kIdsScoring, a + 1, AnimalCount));
      default: return Step(Text(kIdsFinalScoring, a + 1, AnimalCount));
    }
  });
  if (!staged) return false;

  // Gains.
  if (!Step(Text(kIdsGain, a + 1, AnimalCount))) return false;
  const int stageType = d.Params.stageType.stageType;
  for (int c = first; c < first + ChannelsPerAnimal && c < 32; ++c) {
    const int kind = settings_.GetPositionAttribute(c, nullptr);
    const double scale = d.ChInfo[static_cast<std::size_t>(c)].scaleValue;
    if (kind == kMsEeg) {
      float largest = 0.0f;
      bool any = false;
      for (int e = 0; e < n; ++e)
        if (GainStage(stageType, stages[static_cast<std::size_t>(e)])) {
          const float m = arrayValue(1, c, e);
          largest = any ? std::max(largest, m) : m;
          any = true;
        }
      if (any && largest > 0 && scale > 0) ChannelGain[static_cast<std::size_t>(c)] = static_cast<float>(scale * 3.0 / largest);
    } else if (kind == kMsEmg && c - first == settings_.FindPosition(kMsEmg, 0)) {
      double sum = 0.0;
      int count = 0;
      for (int e = 0; e < n; ++e)
        if (stages[static_cast<std::size_t>(e)] == 1) {
          sum += arrayValue(1, c, e);
          ++count;
        }
      const double mean = count > 0 ? sum / count : 0.0;
      if (mean > 0 && scale > 0) ChannelGain[static_cast<std::size_t>(c)] = static_cast<float>(scale / mean);
    }
  }

  // The staged parts: information block, channel gains, epoch stages.
  if (!Step(Text(kIdsWriteFile, a + 1, AnimalCount))) return false;
  bytes::Span info(InfoBlock);
  d.Params.stageType.Store(info.subspan<raf::kInfoStageType, StageTypeParam::kSize>());
  LogicParam logic;
  logic.Load(std::span<const std::uint8_t, LogicParam::kSize>(InfoBlock.data() + raf::kInfoLogic, LogicParam::kSize));
  logic.sets[static_cast<std::size_t>(std::clamp(stageType, 0, 3))] = ConditionLevels;
  logic.Store(info.subspan<raf::kInfoLogic, LogicParam::kSize>());
  LogicOptionParam option;
  SetDefaultLogicOption(&option);
  if (settings_.LastStageScreening != 0) {
    option.lastStageMode = 2;
    option.stageA = settings_.LastStageFrom;
    option.stageB = settings_.LastStageTarget;
    option.byte22 = settings_.LastStageFrom;
    option.stageC = settings_.LastStageResult;
  }
  option.Store(info.subspan<raf::kInfoLogicOption, LogicOptionParam::kSize>());
  bytes::Put<std::int32_t>(info, raf::kInfoLastScreenedEpoch, n - 1);
  std::memcpy(bytesOut.data() + Layout::kInfo, InfoBlock.data(), InfoBlock.size());
  for (int c = 0; c < 32; ++c) {
    const float gain = ChannelGain[static_cast<std::size_t>(c)];
    if (gain > 0) std::memcpy(bytesOut.data() + Layout::kScale + static_cast<std::size_t>(c) * 4, &gain, 4);
  }
  for (int e = 0; e < n; ++e) bytesOut[Layout::kRecords + static_cast<std::size_t>(e) * kEpochRecBytes] = static_cast<char>(stages[static_cast<std::size_t>(e)]);
  const std::string target = sys::FolderOf(ResultBasePath) + "/" + ResultName(rec.path, a + 1);
  if (!sys::WriteFileAtomic(target, bytesOut)) return false;
  sys::DeleteFile(part);
  results_.push_back(target);
  return true;
}
