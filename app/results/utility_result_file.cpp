#include "app/results/utility_result_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <span>

#include "app/document/byte_image.h"
#include "app/document/epoch_parameter.h"
#include "app/frame/frame_globals.h"
#include "app/results/human_report_format.h"
#include "app/results/result_analysis_file.h"
#include "app/results/result_file_layout.h"
#include "app/results/result_strings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kIdsNone = 2064;
constexpr std::uint32_t kIdsPreviousStage = 2263;
constexpr std::uint32_t kIdsTotalFormat = 65391;

// The day elapsed time counts from: 1 November 2000.
constexpr std::array<std::uint16_t, 7> kElapsedDay{2000, 11, 1, 0, 0, 0, 0};

// Per epoch after the records: the seven per-channel arrays of one channel.
constexpr std::size_t kChannelArraysPerEpoch = 4 + 4 + 4 + 4 + 4 + 2 + 4;

std::string Text(std::uint32_t id) { return res::LoadString(id); }

std::string Percent(double value) {
  char b[32];
  std::snprintf(b, sizeof b, "%.1f%%", value);
  return b;
}

}  // namespace

// ---- slots ---------------------------------------------------------------------------------

const UtilityResultFileRec* UtilityResultFiles::File(int slot) const {
  return slot >= 0 && slot < count_ ? &slots[static_cast<std::size_t>(slot)] : nullptr;
}

UtilityResultFileRec* UtilityResultFiles::File(int slot) {
  return slot >= 0 && slot < count_ ? &slots[static_cast<std::size_t>(slot)] : nullptr;
}

int UtilityResultFiles::Add(UtilityResultFileRec file) {
  if (IsFull()) return -1;
  file.epochCount = static_cast<std::int32_t>(file.epochs.size());
  slots[static_cast<std::size_t>(count_)] = std::move(file);
  return count_++;
}

// ---- loading -------------------------------------------------------------------------------

int UtilityResultFiles::ReadResultFile(const std::string& path, int displayMinutes, ResultFileUi& ui) {
  if (IsFull()) return 0;
  const std::optional<std::string> bytes = sys::ReadWholeFile(path);
  if (!bytes) {
    ui.Message(Text(kIdsCannotOpenFile), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  return ReadResultFileBytes(path, *bytes, displayMinutes, ui);
}

int UtilityResultFiles::ReadResultFileBytes(const std::string& path, const std::string& bytes, int displayMinutes,
                                            ResultFileUi& ui) {
  if (IsFull()) return 0;
  const auto data = std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  RafHead head;
  const RafHeadStatus status = ReadRafHead(data, &head);
  auto refuse = [&ui] {
    ui.Message(Text(kIdsCannotOpenFile), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  };
  if (status == RafHeadStatus::kVersionRefused) {
    ui.Message(Text(kIdsVersionDifferent), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  if (status != RafHeadStatus::kOk) return refuse();

  const bytes::CSpan info(head.info);
  const std::uint32_t epochTime = bytes::Get<std::uint32_t>(info, raf::kInfoEpochSeconds);
  const std::uint32_t channels = bytes::Get<std::uint32_t>(info, raf::kInfoChannelCount);
  if (epochTime < kUtilityMinEpochSeconds || epochTime > kUtilityMaxEpochSeconds) return refuse();
  if (channels < 1 || channels > kUtilityMaxChannels) return refuse();
  const std::uint64_t held = (data.size() - head.bodyOffset) / kEpochRecBytes;
  if (head.epochs > held || head.epochs > static_cast<std::uint32_t>(INT32_MAX)) return refuse();

  UtilityResultFileRec f;
  try {
    f.epochs.resize(head.epochs);
  } catch (const std::bad_alloc&) {
    ui.Message(Text(kIdsFailToGetResultMemory), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  for (std::size_t i = 0; i < f.epochs.size(); ++i)
    f.epochs[i] = LoadEpochRec(data.subspan(head.bodyOffset + i * kEpochRecBytes).first<kEpochRecBytes>());
  f.epochTime = static_cast<std::int32_t>(epochTime);
  f.epochCount = static_cast<std::int32_t>(head.epochs);
  f.epochsPerLine = std::max(displayMinutes, 0) * 60 / f.epochTime;
  f.stageType.Load(info.subspan<raf::kInfoStageType, StageTypeParam::kSize>());
  f.stageType.Sanitize();
  f.storedStageType = f.stageType;
  f.recordInfo.channelCount = static_cast<std::int32_t>(channels);
  LoadRafRecordInfo(info, raf::kInfoRecordInfo, f.recordInfo);
  for (std::size_t k = 0; k < 6; ++k)
    f.startDateTime[k] = bytes::Get<std::uint16_t>(info, raf::kInfoStartDateTime + 2 * k);
  f.startMsOfDay = (f.startDateTime[3] * 3600 + f.startDateTime[4] * 60 + f.startDateTime[5]) * 1000;
  for (std::size_t k = 0; k < 5; ++k) f.memos[k] = bytes::GetText(info, raf::kInfoMemo[k], raf::kMemoFieldSize);
  f.path = path;
  Add(std::move(f));
  UtilityHypnogramLoaded = 1;
  return 1;
}

// ---- closing -------------------------------------------------------------------------------

std::array<int, kUtilityFileSlots> UtilityResultFiles::CloseFiles(const std::array<bool, kUtilityFileSlots>& close) {
  std::array<int, kUtilityFileSlots> moved;
  moved.fill(-1);
  int kept = 0;
  for (int s = 0; s < count_; ++s) {
    const auto from = static_cast<std::size_t>(s);
    if (close[from]) {
      slots[from] = UtilityResultFileRec{};
      continue;
    }
    if (kept != s) {
      slots[static_cast<std::size_t>(kept)] = std::move(slots[from]);
      slots[from] = UtilityResultFileRec{};
    }
    moved[from] = kept++;
  }
  count_ = kept;
  if (count_ == 0) UtilityHypnogramLoaded = 0;
  return moved;
}

void UtilityResultFiles::CloseAll() {
  for (UtilityResultFileRec& f : slots) f = UtilityResultFileRec{};
  count_ = 0;
  UtilityHypnogramLoaded = 0;
}

void UtilityResultFiles::SetDisplayMinutes(int displayMinutes) {
  for (int s = 0; s < count_; ++s) {
    UtilityResultFileRec& f = slots[static_cast<std::size_t>(s)];
    f.epochsPerLine = f.epochTime > 0 ? std::max(displayMinutes, 0) * 60 / f.epochTime : 0;
  }
}

// ---- stages and labels ---------------------------------------------------------------------

void UtilityResultFiles::GetStageTypeParam(int slot, StageTypeParam& out) const {
  if (const UtilityResultFileRec* f = File(slot)) out = f->stageType;
}

std::uint8_t UtilityResultFiles::GetStage(int slot, int mode, std::int32_t epoch, int history) const {
  const UtilityResultFileRec* f = File(slot);
  if (f == nullptr || epoch < 0 || epoch >= static_cast<std::int32_t>(f->epochs.size()) || history < 0 ||
      history >= kStageSlots)
    return 0;
  return MergeStageCode(mode, f->epochs[static_cast<std::size_t>(epoch)].stage[history]);
}

std::string GetStageLabel(int code, const StageTypeParam& stageType) {
  if (code == 0) return Text(kIdsNone);
  if (code == -1) return Text(kIdsPreviousStage);
  const int n = code > 20 ? code - 20 : code;
  if (code < 1 || n > 10) return {};
  if (n >= 8) return stageType.shared[static_cast<std::size_t>(n - 8)].name;
  // Group position (1-based) of the codes 1 .. 7 by stage type.
  static constexpr int kName[4][8] = {{0, 1, 2, 3, 4, 5, 6, 7},
                                      {0, 1, 2, 3, 4, 5, 5, 6},
                                      {0, 1, 2, 3, 3, 4, 4, 5},
                                      {0, 1, 2, 3, 3, 3, 3, 4}};
  const int type = std::clamp<int>(stageType.stageType, 0, 3);
  return stageType.Set(type)[static_cast<std::size_t>(kName[type][n] - 1)].name;
}

// ---- time labels and time-scale ticks ------------------------------------------------------

namespace {

// The instant of an epoch's start as year, month, day, hour, minute, second.
std::array<std::uint16_t, 6> EpochInstant(const UtilityResultFileRec& f, std::int32_t epoch, bool clock) {
  const std::int64_t seconds = static_cast<std::int64_t>(epoch) * f.epochTime;
  if (!clock) return AddRafSeconds(kElapsedDay, seconds);
  const std::array<std::uint16_t, 7> start{f.startDateTime[0], f.startDateTime[1], f.startDateTime[2],
                                           f.startDateTime[3], f.startDateTime[4], f.startDateTime[5], 0};
  return AddRafSeconds(start, seconds);
}

// Second of day of an epoch's start.
std::int32_t SecondOfDay(const UtilityResultFileRec& f, std::int32_t epoch, bool clock) {
  const std::int64_t from = clock ? f.startMsOfDay / 1000 : 0;
  return static_cast<std::int32_t>((from + static_cast<std::int64_t>(epoch) * f.epochTime) % 86400);
}

}  // namespace

UtilityTimeParts UtilityResultFiles::GetEpochTimeParts(int slot, std::int32_t epoch,
                                                       const UtilityTimeScale& scale) const {
  const UtilityResultFileRec* f = File(slot);
  if (f == nullptr) return {};
  const auto t = EpochInstant(*f, epoch, scale.clock);
  return {std::to_string(t[0]), std::to_string(t[1]), std::to_string(t[2]),
          std::to_string(t[3]), std::to_string(t[4]), std::to_string(t[5])};
}

std::string UtilityResultFiles::GetEpochTimeString(int slot, std::int32_t epoch, const UtilityTimeScale& scale,
                                                   const std::function<std::string(int, int, int)>& shortDate) const {
  const UtilityResultFileRec* f = File(slot);
  if (f == nullptr) return {};
  const auto t = EpochInstant(*f, epoch, scale.clock);
  char b[48];
  if (!scale.clock) {
    std::snprintf(b, sizeof b, "%d.%02d:%02d:%02d", t[2], t[3], t[4], t[5]);
    return b;
  }
  std::snprintf(b, sizeof b, "  %02d:%02d:%02d", t[3], t[4], t[5]);
  if (shortDate) return shortDate(t[0], t[1], t[2]) + b;
  sys::LocalTime day;
  day.year = t[0];
  day.month = t[1];
  day.day = t[2];
  return report::ShortDate(day) + b;
}

std::int32_t UtilityResultFiles::GetTimeScaleStart(int slot, std::int32_t epoch, const UtilityTimeScale& scale,
                                                   std::int32_t& start, std::int32_t& end) const {
  const UtilityResultFileRec* f = File(slot);
  start = end = 0;
  if (f == nullptr) return 0;
  const int step = std::max(scale.stepSeconds, 1);
  start = SecondOfDay(*f, epoch, scale.clock);
  end = start + f->epochTime;
  return end / step * step;
}

int UtilityResultFiles::IsTimeScaleEpoch(int slot, std::int32_t epoch, const UtilityTimeScale& scale) const {
  if (File(slot) == nullptr) return 0;
  std::int32_t start = 0, end = 0;
  GetTimeScaleStart(slot, epoch, scale, start, end);
  const int step = std::max(scale.stepSeconds, 1);
  if (!scale.clock) return start % step == 0 ? 1 : 0;
  return start / step != end / step ? 1 : 0;
}

int UtilityResultFiles::GetTimeScaleOffset(int slot, std::int32_t epoch, int pixelWidth,
                                           const UtilityTimeScale& scale) const {
  const UtilityResultFileRec* f = File(slot);
  if (f == nullptr || !scale.clock || f->epochTime <= 0) return 0;
  std::int32_t start = 0, end = 0;
  const std::int32_t tick = GetTimeScaleStart(slot, epoch, scale, start, end);
  const int offset = static_cast<int>(static_cast<std::int64_t>(tick - start) * pixelWidth / f->epochTime);
  return offset == 1 ? 0 : offset;
}

int UtilityResultFiles::FindShortestFile(int* examined) const {
  int best = -1;
  std::int64_t shortest = 0;
  for (int s = 0; s < count_; ++s) {
    const UtilityResultFileRec& f = slots[static_cast<std::size_t>(s)];
    const std::int64_t length = static_cast<std::int64_t>(f.epochTime) * f.epochCount;
    if (best < 0 || length < shortest) {
      best = s;
      shortest = length;
    }
  }
  if (examined != nullptr) *examined = count_;
  return best;
}

// ---- the cursor ----------------------------------------------------------------------------

void UtilityResultFiles::SetCursorEpoch(int slot, std::int32_t epoch) {
  const UtilityResultFileRec* from = File(slot);
  if (from == nullptr) return;
  const std::int64_t t = static_cast<std::int64_t>(epoch) * from->epochTime;
  for (int s = 0; s < count_; ++s) {
    UtilityResultFileRec& f = slots[static_cast<std::size_t>(s)];
    f.previousCursorEpoch = f.cursorEpoch;
    f.cursorEpoch = f.epochTime > 0 ? static_cast<std::int32_t>(t / f.epochTime) : -1;
  }
}

int UtilityResultFiles::FindCursorLine(
    std::int32_t epoch,
    const std::function<bool(int slot, int line, std::int32_t& first, std::int32_t& last)>& lineRange) const {
  int found = 0;
  for (int s = 0; s < count_; ++s) {
    std::int32_t first = 0, last = 0;
    for (int line = 0; lineRange(s, line, first, last); ++line) {
      if (epoch >= first && epoch <= last) {
        found = line;
        break;
      }
    }
  }
  return found;
}

void UtilityResultFiles::ClearEpochMarkers(int mode) {
  for (int s = 0; s < count_; ++s) {
    UtilityResultFileRec& f = slots[static_cast<std::size_t>(s)];
    if (mode != 1) f.cursorEpoch = -1;
    if (mode != 0) f.previousCursorEpoch = -1;
  }
}

std::int32_t UtilityResultFiles::GetEpochMarker(int slot, int which) const {
  const UtilityResultFileRec* f = File(slot);
  if (f == nullptr) return -1;
  return which == 0 ? f->cursorEpoch : f->previousCursorEpoch;
}

// ---- writing back --------------------------------------------------------------------------

std::string BuildUtilityResultFileBytes(const UtilityResultFileRec& file, const std::array<std::string, 5>& memos) {
  std::vector<std::uint8_t> info(raf::kInfoBlockSize, 0);
  bytes::Span b(info);
  bytes::Put<std::uint32_t>(b, raf::kInfoVersion, raf::kVersion);
  for (std::size_t k = 0; k < 5; ++k) bytes::PutText(b, raf::kInfoMemo[k], raf::kMemoMaxChars + 1, memos[k]);
  // The subject travels with the file; the raw data path stays empty.
  StoreRafRecordInfo(file.recordInfo, b, raf::kInfoRecordInfo);
  bytes::Put<std::uint16_t>(b, raf::kInfoStartTimeFlag, 0);
  for (std::size_t k = 0; k < 6; ++k) bytes::Put<std::uint16_t>(b, raf::kInfoStartDateTime + 2 * k, file.startDateTime[k]);
  bytes::Put<std::uint32_t>(b, raf::kInfoChannelCount, 1);
  bytes::Put<std::uint32_t>(b, raf::kInfoEpochSeconds, static_cast<std::uint32_t>(file.epochTime));
  bytes::Put<std::uint32_t>(b, raf::kInfoRangeStart, 0);
  bytes::Put<std::int32_t>(b, raf::kInfoLastScreenedEpoch, -1);
  file.stageType.Store(b.subspan<raf::kInfoStageType, StageTypeParam::kSize>());
  ChDispScaleParam scale;
  SetDefaultChDispScale(&scale);
  scale.Store(b.subspan<raf::kInfoChDispScale, ChDispScaleParam::kSize>());
  ChDispModeParam mode;
  SetDefaultChDispMode(&mode);
  mode.Store(b.subspan<raf::kInfoChDispMode, ChDispModeParam::kSize>());
  FFTBandParam fft;
  SetDefaultFFTBandParam(0, &fft, 1);
  fft.Store(b.subspan<raf::kInfoFftBand, FFTBandParam::kSize>());
  // Every recognition channel -1: the file holds no recognition tables.
  SleepDstrbParam sd;
  SetDefaultSleepDstrbParam(0, &sd, 1);
  sd.Store(b.subspan<raf::kInfoSleepDstrb, SleepDstrbParam::kSize>());
  WaveFormRecognitionParam wf;
  SetDefaultWaveFormRecognitionParam(0, &wf, 1);
  wf.Store(b.subspan<raf::kInfoWaveForm, WaveFormRecognitionParam::kSize>());
  LogicParam logic;
  SetDefaultLogicParam(&logic);
  logic.Store(b.subspan<raf::kInfoLogic, LogicParam::kSize>());
  LogicOptionParam option;
  SetDefaultLogicOption(&option);
  option.Store(b.subspan<raf::kInfoLogicOption, LogicOptionParam::kSize>());
  for (std::size_t c = 0; c < 32; ++c) {
    const std::size_t at = raf::kInfoChannelRecords + c * raf::kChannelRecordSize;
    bytes::Put<std::uint32_t>(b, at, 1);
    bytes::Put<std::uint16_t>(b, at + 4, 0);
    bytes::Put<std::uint16_t>(b, at + 12, 4);
    bytes::Put<double>(b, at + 16, 0.2);
    bytes::Put<double>(b, at + 24, 20.0);
  }

  const std::size_t n = file.epochs.size();
  std::string out;
  out.reserve(10200 + 214 * n);
  auto put = [&out](const void* p, std::size_t size) { out.append(static_cast<const char*>(p), size); };
  auto putU32 = [&put](std::uint32_t v) { put(&v, sizeof v); };
  put(raf::kHeaderText, sizeof raf::kHeaderText);
  out.append(raf::kHeaderSize - sizeof raf::kHeaderText, '\0');
  put(info.data(), info.size());
  // Channel scale block: gain 1 everywhere, only the one channel shown.
  for (int k = 0; k < 32; ++k) {
    const float gain = 1.0f;
    put(&gain, sizeof gain);
  }
  for (int k = 0; k < 32; ++k) {
    const std::uint16_t shown = k == 0 ? 1 : 0;
    put(&shown, sizeof shown);
  }
  putU32(static_cast<std::uint32_t>(n));
  std::array<std::uint8_t, kEpochRecBytes> image;
  for (const LyrEpochRec& rec : file.epochs) {
    StoreEpochRec(rec, image);
    put(image.data(), image.size());
  }
  out.append(kChannelArraysPerEpoch * n, '\0');
  MarkTypeParam markType;
  SetDefaultMarkTypeParam(0, &markType, 1);
  std::array<std::uint8_t, raf::kMarkTypeBlockSize> markImage{};
  markType.Store(markImage);
  put(markImage.data(), markImage.size());
  putU32(0);  // no mark flags
  putU32(0);  // no mark intervals
  return out;
}

int WriteUtilityResultFile(const UtilityResultFileRec& file, const std::string& path,
                           const std::array<std::string, 5>& memos, ResultFileUi& ui) {
  std::string bytes;
  try {
    bytes = BuildUtilityResultFileBytes(file, memos);
  } catch (const std::bad_alloc&) {
    ui.Message(Text(kIdsFailToGetMemory), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  sys::AtomicFileWriter out;
  if (!out.Open(path)) {
    ui.Message(Text(kIdsFailToMakeFile) + "\n" + path, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  if (!out.Write(bytes) || !out.Commit()) {
    out.Abort();
    ui.Message(Text(kIdsErrorSavingFile) + "\n" + path, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  return 1;
}

bool CheckSaveFiles(const UtilityResultFiles& files, ResultFileUi& ui, const std::function<bool(int slot)>& save) {
  for (int s = 0; s < files.Count(); ++s) {
    if (files.File(s)->modified != 1) continue;
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    const int answer = ui.Message(Text(kIdsSaveChangesAndOpen), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
    if (answer == ui::IDCANCEL) return false;
    if (answer == ui::IDYES && !save(s)) return false;
  }
  return true;
}

// ---- stage compare -------------------------------------------------------------------------

StageCompareResult CompareStages(const UtilityResultFileRec& a, std::int32_t a0, const UtilityResultFileRec& b,
                                 std::int32_t b0) {
  const int type = std::clamp<int>(a.stageType.stageType, 0, 3);
  // Row (1-based) of the stage codes 0 .. 10 by stage type; 0 = no row.
  static constexpr int kRow[4][11] = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                                      {0, 1, 2, 3, 4, 5, 0, 6, 7, 8, 9},
                                      {0, 1, 2, 3, 0, 4, 0, 5, 6, 7, 8},
                                      {0, 1, 2, 3, 0, 0, 0, 4, 5, 6, 7}};
  const int baseRows = StageTypeParam::kSetSize[static_cast<std::size_t>(type)];
  const int freeRows = std::clamp<int>(a.stageType.sharedInUse, 0, StageTypeParam::kFreeStageCount);
  std::vector<int> count(static_cast<std::size_t>(baseRows + 3 + 1), 0), match(count.size(), 0);

  StageCompareResult r;
  auto stage = [type](const UtilityResultFileRec& f, std::int64_t e) {
    const int code = MergeStageCode(type, f.epochs[static_cast<std::size_t>(e)].stage[0]);
    return code >= 20 ? code - 20 : code;
  };
  for (std::int64_t i = 0; a0 >= 0 && b0 >= 0; ++i) {
    const std::int64_t ea = a0 + i, eb = b0 + i;
    if (ea >= static_cast<std::int64_t>(a.epochs.size()) || eb >= static_cast<std::int64_t>(b.epochs.size())) break;
    const int sa = stage(a, ea), sb = stage(b, eb);
    if (sa == 0 || sb == 0) continue;
    ++r.compared;
    const int row = sa <= 10 ? kRow[type][sa] : 0;
    if (row > 0) ++count[static_cast<std::size_t>(row)];
    if (sa == sb) {
      ++r.agreed;
      if (row > 0) ++match[static_cast<std::size_t>(row)];
    }
  }
  const auto names = a.stageType.Set(type);
  for (int row = 1; row <= baseRows + freeRows; ++row) {
    StageCompareRow line;
    line.label = row <= baseRows ? names[static_cast<std::size_t>(row - 1)].name
                                 : a.stageType.shared[static_cast<std::size_t>(row - baseRows - 1)].name;
    const int c = count[static_cast<std::size_t>(row)];
    if (r.compared > 0) line.distribution = Percent(100.0 * c / r.compared);
    line.eachStage = Percent(c > 0 ? 100.0 * match[static_cast<std::size_t>(row)] / c : 0.0);
    r.rows.push_back(std::move(line));
  }
  // The total's text holds "%.1f%%" where the figure goes.
  r.total = Text(kIdsTotalFormat);
  const std::string figure = Percent(r.compared > 0 ? 100.0 * r.agreed / r.compared : 0.0);
  if (const std::size_t at = r.total.find("%.1f%%"); at != std::string::npos) r.total.replace(at, 6, figure);
  return r;
}
