#include "app/frame/resume_file.h"

#include <algorithm>
#include <array>

#include "app/document/byte_image.h"
#include "app/frame/block_readers.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/pane_layout.h"
#include "app/frame/program_settings.h"
#include "platform/system/file_system.h"
#include "platform/system/file_io.h"
#include "platform/system/key_state.h"
#include "platform/system/program_folder.h"

using bytes::Get;
using bytes::GetText;
using bytes::GetPath;
using bytes::PutPath;
using bytes::Put;
using bytes::PutText;

namespace {

constexpr std::size_t kRecordSize = ResumeFile::kGlobalRecordSize;
using Record = std::array<std::uint8_t, kRecordSize>;

int g_stopAfterBlocks = -1;

// ---- Trend range tables -------------------------------------------------------------------------

void StoreTrendRange(bytes::Span b, std::size_t o, const TrendRangeTable& t) {
  bytes::PutArray(b, o + 0, t.a);
  bytes::PutArray(b, o + 56, t.b);
  bytes::PutArray(b, o + 72, t.c);
  bytes::PutArray(b, o + 104, t.d);
  Put<std::uint16_t>(b, o + 312, t.e);
  bytes::PutArray(b, o + 320, t.f);
  Put<std::uint16_t>(b, o + 560, t.g);
  bytes::PutArray(b, o + 568, t.h);
  bytes::PutArray(b, o + 592, t.i);
  Put<std::uint32_t>(b, o + 596, t.j);
  bytes::PutArray(b, o + 600, t.k);
  bytes::PutArray(b, o + 2488, t.l);
  bytes::PutArray(b, o + 2496, t.m);
}

void LoadTrendRange(bytes::CSpan b, std::size_t o, TrendRangeTable& t) {
  bytes::GetArray(b, o + 0, t.a);
  bytes::GetArray(b, o + 56, t.b);
  bytes::GetArray(b, o + 72, t.c);
  bytes::GetArray(b, o + 104, t.d);
  t.e = Get<std::uint16_t>(b, o + 312);
  bytes::GetArray(b, o + 320, t.f);
  t.g = Get<std::uint16_t>(b, o + 560);
  bytes::GetArray(b, o + 568, t.h);
  bytes::GetArray(b, o + 592, t.i);
  t.j = Get<std::uint32_t>(b, o + 596);
  bytes::GetArray(b, o + 600, t.k);
  bytes::GetArray(b, o + 2488, t.l);
  bytes::GetArray(b, o + 2496, t.m);
}

// ---- Global settings record ----------------------------------------------------------------------

void StoreGlobalRecord(bytes::Span b) {
  std::fill(b.begin(), b.end(), std::uint8_t{0});
  Put<std::uint16_t>(b, 0, ResumeFile::kRecordVersion);
  PutPath(b, 2, 260, LastFolderPath);
  PutPath(b, 262, 260, PluginPath);
  Put<std::int32_t>(b, 524, EpochSeconds);
  Put<std::int32_t>(b, 528, PageSeconds);
  Put<std::int32_t>(b, 532, WaitingTime);
  Put<std::uint32_t>(b, 536, SpareSetting1);
  Put<std::uint16_t>(b, 540, SpareSetting2);
  Put<std::uint16_t>(b, 542, ClockTimeDisplay);
  Put<std::uint32_t>(b, 544, DrawActualSize);
  Put<double>(b, 552, ScreenWidthMm);
  Put<double>(b, 560, ScreenHeightMm);
  Put<std::uint32_t>(b, 568, ShowEvent);
  Put<std::uint32_t>(b, 572, ShowStageName);
  Put<std::uint16_t>(b, 576, ShowScreeningRaw);
  Put<std::uint32_t>(b, 580, ShowStageHistory);
  Put<std::uint32_t>(b, 584, ShowMarkName);
  Put<std::uint32_t>(b, 588, LineUpWithTrend);
  Put<std::uint32_t>(b, 592, ShowLogicLine);
  Put<std::uint32_t>(b, 596, ShowChannelName);
  Put<std::uint16_t>(b, 600, ShowEpochMode);
  Put<std::uint32_t>(b, 604, HideSubjectName);
  bytes::PutArray(b, 608, DisplayColors);
  Put<std::int16_t>(b, 644, StagePositionOffset);
  for (int slot = 0; slot < kDisplayFontCount; ++slot)
    StoreDisplayFontRecord(b.subspan(648 + slot * kStoredFontSize).first<kStoredFontSize>(), slot);
  Put<std::uint32_t>(b, 1248, ScreenItemHeight);
  Put<std::uint32_t>(b, 1252, WorkspaceViewSetting);
  bytes::PutArray(b, 1256, ParameterBarCodes);
  bytes::PutArray(b, 1268, ParameterBarChannels);
  // A floating trend or workspace window stores the layout it will be docked back into.
  const bool floating = TrendWindowDockState == kDockFloating || WorkspaceWindowDockState == kDockFloating;
  const std::array<double, 7> ratios =
      floating ? std::array<double, 7>{0.6, 0.6, 0.6, 0.6, 0.7, 0.4, 0.3}
               : std::array<double, 7>{PaneColumnRatio, PaneRowRatio, SavedPaneRowRatio, SavedPaneColumnRatio,
                                       TrendSplitRatio2, TrendSplitRatio1, RawRowSplitRatio};
  bytes::PutArray(b, 1280, ratios);
  Put<std::uint16_t>(b, 1336, UtilityHypnogramFileCount);
  Put<std::uint16_t>(b, 1338, HypnogramSettingWord);
  Put<std::uint16_t>(b, 1340, TrendSettingWord1);
  Put<std::int32_t>(b, 1344, TrendEpochsFor(TrendTimeMinutes, EpochSeconds));
  Put<std::int32_t>(b, 1348, TrendTimeMinutes);
  for (int i = 0; i < 3; ++i) Put<std::uint32_t>(b, 1352 + 4 * i, TrendColors[i]);
  Put<std::uint16_t>(b, 1364, TrendSettingsWord);
  Put<std::uint16_t>(b, 1366, TrendSettingWord2);
  Put<std::uint32_t>(b, 1368, ShowStandardBar);
  Put<std::uint32_t>(b, 1372, ShowEpochBar);
  Put<std::uint32_t>(b, 1376, ShowParameterBar);
  bytes::PutArray(b, 1380, TrendItem.category);
  bytes::PutArray(b, 1420, TrendItem.subItem);
  bytes::PutArray(b, 1460, TrendItem.third);
  bytes::PutArray(b, 1500, TrendItem.word4);
  bytes::PutArray(b, 1540, TrendItem.word5);
  bytes::PutArray(b, 1580, TrendItem.word6);
  StoreTrendRange(b, 1624, TrendRangeUpper);
  StoreTrendRange(b, 4144, TrendRangeLower);
  bytes::PutArray(b, 6664, TrendRangeMode);
  bytes::PutArray(b, 6882, TrendRangeFlag);
  Put<std::uint16_t>(b, 7100, UserProgramTable.count);
  for (int i = 0; i < kMaxUserPrograms; ++i) {
    std::size_t r = 7102 + 292 * std::size_t(i);
    PutText(b, r, 32, UserProgramTable.entries[i].name);
    PutText(b, r + 32, 260, UserProgramTable.entries[i].commandLine);
  }
  Put<std::uint16_t>(b, 10022, StageGraphSearchSetting1);
  Put<std::uint16_t>(b, 10024, StageGraphSearchSetting2);
  Put<std::uint16_t>(b, 10026, StageGraphSetting);
  Put<std::int32_t>(b, 10028, StageGraphSearchLength);
  Put<std::uint16_t>(b, 10032, WorkspaceOutputSetting);
  Put<std::uint16_t>(b, 10034, WorkspaceSetting);
  Put<std::uint16_t>(b, 10036, VigilanceTextOutputSetting);
  Put<std::uint16_t>(b, 10038, OutputDelimiterIsTab);
  Put<std::int32_t>(b, 10040, OutputMaxLines);
  Put<std::uint16_t>(b, 10044, ReportOutputSetting);
  Put<std::uint16_t>(b, 10046, OutputToClipboard);
  Put<std::int32_t>(b, 10048, WorkspaceEpochSpan);
  Put<std::uint32_t>(b, 10052, AnimalReportSetting);
  bytes::PutArray(b, 10056, ReportEpochSelections);
  bytes::PutArray(b, 10068, AnimalReportSettings);
  bytes::PutArray(b, 10088, ReportWorkspaceSettings);
  Put<std::uint32_t>(b, 10108, VigilanceSetting);
  for (std::size_t i = 0; i < StageEpisodeRules.size(); ++i) {
    std::size_t r = 10112 + 12 * i;
    Put<std::int32_t>(b, r, StageEpisodeRules[i].first);
    Put<std::int32_t>(b, r + 4, StageEpisodeRules[i].second);
    Put<std::uint16_t>(b, r + 8, StageEpisodeRules[i].third);
  }
  Put<std::int16_t>(b, 10232, ChannelShowTypeTable.current);
  Put<std::int16_t>(b, 10234, ChannelShowTypeTable.count);
  for (int i = 0; i < kMaxShowTypes; ++i) {
    PutText(b, 10236 + 20 * std::size_t(i), 20, ChannelShowTypeTable.names[i]);
    bytes::PutArray(b, 10416 + 64 * std::size_t(i), ChannelShowTypeTable.flags[i]);
  }
  Put<std::int32_t>(b, 10992, HumanReportSettings.first);
  Put<std::int32_t>(b, 10996, HumanReportSettings.second);
  Put<double>(b, 11000, HumanReportSettings.value);
  bytes::PutArray(b, 11008, HumanReportSettings.words);
}

// Takes every field of a current-layout record into the program-wide settings, then brings
// what a damaged file could hold back into range.
void LoadGlobalRecord(bytes::CSpan b) {
  LastFolderPath = GetPath(b, 2, 260);
  PluginPath = GetPath(b, 262, 260);
  EpochSeconds = Get<std::int32_t>(b, 524);
  PageSeconds = Get<std::int32_t>(b, 528);
  WaitingTime = Get<std::int32_t>(b, 532);
  SpareSetting1 = Get<std::uint32_t>(b, 536);
  SpareSetting2 = Get<std::uint16_t>(b, 540);
  ClockTimeDisplay = Get<std::uint16_t>(b, 542);
  DrawActualSize = Get<std::uint32_t>(b, 544);
  ScreenWidthMm = Get<double>(b, 552);
  ScreenHeightMm = Get<double>(b, 560);
  ShowEvent = Get<std::uint32_t>(b, 568);
  ShowStageName = Get<std::uint32_t>(b, 572);
  ShowScreeningRaw = Get<std::uint16_t>(b, 576);
  ShowStageHistory = Get<std::uint32_t>(b, 580);
  ShowMarkName = Get<std::uint32_t>(b, 584);
  LineUpWithTrend = 0;  // never taken from the file
  ShowLogicLine = Get<std::uint32_t>(b, 592);
  ShowChannelName = Get<std::uint32_t>(b, 596);
  ShowEpochMode = Get<std::uint16_t>(b, 600);
  HideSubjectName = Get<std::uint32_t>(b, 604);
  bytes::GetArray(b, 608, DisplayColors);
  StagePositionOffset = Get<std::int16_t>(b, 644);
  for (int slot = 0; slot < kDisplayFontCount; ++slot)
    LoadDisplayFontRecord(b.subspan(648 + slot * kStoredFontSize).first<kStoredFontSize>(), slot);
  ScreenItemHeight = Get<std::uint32_t>(b, 1248);
  WorkspaceViewSetting = Get<std::uint32_t>(b, 1252);
  bytes::GetArray(b, 1256, ParameterBarCodes);
  bytes::GetArray(b, 1268, ParameterBarChannels);
  PaneColumnRatio = Get<double>(b, 1280);
  PaneRowRatio = Get<double>(b, 1288);
  SavedPaneRowRatio = Get<double>(b, 1296);
  SavedPaneColumnRatio = Get<double>(b, 1304);
  TrendSplitRatio2 = Get<double>(b, 1312);
  TrendSplitRatio1 = Get<double>(b, 1320);
  RawRowSplitRatio = Get<double>(b, 1328);
  UtilityHypnogramFileCount = Get<std::uint16_t>(b, 1336);
  HypnogramSettingWord = Get<std::uint16_t>(b, 1338);
  TrendSettingWord1 = Get<std::uint16_t>(b, 1340);
  TrendTimeMinutes = Get<std::int32_t>(b, 1348);  // the epoch span at 1,344 is recomputed below
  for (int i = 0; i < 3; ++i) TrendColors[i] = Get<std::uint32_t>(b, 1352 + 4 * i);
  TrendColors[3] = 0x00008000;
  TrendColors[4] = 0x00FF0000;
  TrendColors[5] = 0x000000FF;
  TrendSettingsWord = Get<std::uint16_t>(b, 1364);
  TrendSettingWord2 = Get<std::uint16_t>(b, 1366);
  ShowStandardBar = Get<std::uint32_t>(b, 1368);
  ShowEpochBar = Get<std::uint32_t>(b, 1372);
  ShowParameterBar = Get<std::uint32_t>(b, 1376);
  bytes::GetArray(b, 1380, TrendItem.category);
  bytes::GetArray(b, 1420, TrendItem.subItem);
  bytes::GetArray(b, 1460, TrendItem.third);
  bytes::GetArray(b, 1500, TrendItem.word4);
  bytes::GetArray(b, 1540, TrendItem.word5);
  bytes::GetArray(b, 1580, TrendItem.word6);
  LoadTrendRange(b, 1624, TrendRangeUpper);
  LoadTrendRange(b, 4144, TrendRangeLower);
  bytes::GetArray(b, 6664, TrendRangeMode);
  bytes::GetArray(b, 6882, TrendRangeFlag);
  UserProgramTable.count = Get<std::uint16_t>(b, 7100);
  for (int i = 0; i < kMaxUserPrograms; ++i) {
    std::size_t r = 7102 + 292 * std::size_t(i);
    UserProgramTable.entries[i].name = GetText(b, r, 32);
    UserProgramTable.entries[i].commandLine = GetText(b, r + 32, 260);
  }
  StageGraphSearchSetting1 = Get<std::uint16_t>(b, 10022);
  StageGraphSearchSetting2 = Get<std::uint16_t>(b, 10024);
  StageGraphSetting = Get<std::uint16_t>(b, 10026);
  StageGraphSearchLength = Get<std::int32_t>(b, 10028);
  WorkspaceOutputSetting = Get<std::uint16_t>(b, 10032);
  WorkspaceSetting = Get<std::uint16_t>(b, 10034);
  VigilanceTextOutputSetting = Get<std::uint16_t>(b, 10036);
  OutputDelimiterIsTab = Get<std::uint16_t>(b, 10038);
  OutputMaxLines = Get<std::int32_t>(b, 10040);
  ReportOutputSetting = Get<std::uint16_t>(b, 10044);
  OutputToClipboard = Get<std::uint16_t>(b, 10046);
  WorkspaceEpochSpan = Get<std::int32_t>(b, 10048);
  AnimalReportSetting = Get<std::uint32_t>(b, 10052);
  bytes::GetArray(b, 10056, ReportEpochSelections);
  bytes::GetArray(b, 10068, AnimalReportSettings);
  bytes::GetArray(b, 10088, ReportWorkspaceSettings);
  VigilanceSetting = Get<std::uint32_t>(b, 10108);
  for (std::size_t i = 0; i < StageEpisodeRules.size(); ++i) {
    std::size_t r = 10112 + 12 * i;
    StageEpisodeRules[i] = {Get<std::int32_t>(b, r), Get<std::int32_t>(b, r + 4), Get<std::uint16_t>(b, r + 8)};
  }
  ChannelShowTypeTable.current = Get<std::int16_t>(b, 10232);
  ChannelShowTypeTable.count = Get<std::int16_t>(b, 10234);
  for (int i = 0; i < kMaxShowTypes; ++i) {
    ChannelShowTypeTable.names[i] = GetText(b, 10236 + 20 * std::size_t(i), 20);
    bytes::GetArray(b, 10416 + 64 * std::size_t(i), ChannelShowTypeTable.flags[i]);
  }
  HumanReportSettings.first = Get<std::int32_t>(b, 10992);
  HumanReportSettings.second = Get<std::int32_t>(b, 10996);
  HumanReportSettings.value = Get<double>(b, 11000);
  bytes::GetArray(b, 11008, HumanReportSettings.words);
}

// Counts, indexes and lengths from the file are checked against what they index, so that a
// damaged or foreign file cannot lead any window past its tables or into a division by zero.
void ValidateGlobalSettings() {
  if (EpochSeconds < kMinEpochSeconds || EpochSeconds > kMaxEpochSeconds)
    EpochSeconds = (QLM_PRODUCT_EDITION >= 10 && QLM_PRODUCT_EDITION <= 12) ? 4 : 30;
  if (PageSeconds < EpochSeconds) PageSeconds = EpochSeconds;
  if (PageSeconds % EpochSeconds != 0 || PageSeconds > kMaxPageSeconds) PageSeconds = EpochSeconds;
  for (auto& code : ParameterBarCodes)
    if (code > kMaxParameterCode) code = 0;
  for (auto& ch : ParameterBarChannels)
    if (ch >= 32) ch = 0;
  if (UserProgramTable.count > kMaxUserPrograms) UserProgramTable.count = kMaxUserPrograms;
  auto& show = ChannelShowTypeTable;
  show.count = std::clamp<std::int16_t>(show.count, 1, kMaxShowTypes);
  if (show.current < 0 || show.current >= show.count) show.current = 0;
  if (TrendSettingWord2 > kMaxTrendGraphs) TrendSettingWord2 = kMaxTrendGraphs;
  StagePositionOffset = std::clamp<std::int16_t>(StagePositionOffset, -50, 50);
  TrendTimeEpochs = TrendEpochsFor(TrendTimeMinutes, EpochSeconds);
}

// Where each stretch of the current record lies in an older record: {current, old, length}.
struct Segment { std::size_t current, old, length; };

// Layout of a supported record version, or empty for the versions that are not read.
struct Layout {
  std::size_t recordSize = 0;
  std::size_t documentStart = 0;
  std::vector<Segment> segments;
};

Layout LayoutOf(int version) {
  switch (version) {
    case 10:
      return {kRecordSize, 11056, {{0, 0, kRecordSize}}};
    case 9:  // no standard-bar flag, no padding before the trend range tables
      return {11056, 11056, {{0, 0, 1368}, {1372, 1368, 248}, {1624, 1616, 9432}}};
    case 8:  // also no trend pane ratio 1 and raw row ratio
      return {11040, 11040, {{0, 0, 1320}, {1336, 1320, 32}, {1372, 1352, 248}, {1624, 1600, 9432}}};
    default:
      return {};
  }
}

// The record version as the global reader takes it: above 10 reads as 9; 0 and negative
// values, and the early layouts 1 .. 7, are not read.
int GlobalVersion(std::int16_t stored) {
  if (stored > 10) return 9;
  return stored;
}

// ---- Document part ------------------------------------------------------------------------

// Offsets of the document blocks in a file of the given channel-table size.
struct DocumentOffsets {
  std::size_t stageType, chDispScale, chDispMode, fftBand, sleepDstrb, waveForm, logic, logicOption,
      fftPage, fftPageChannelValues, fftPageSelection, fftPageChannels, channels, markType, optionWords, end;
};

DocumentOffsets OffsetsFrom(std::size_t start, std::size_t channelTableSize) {
  DocumentOffsets o{};
  std::size_t p = start;
  auto next = [&p](std::size_t size) { std::size_t at = p; p += size; return at; };
  o.stageType = next(StageTypeParam::kSize);
  o.chDispScale = next(ChDispScaleParam::kSize);
  o.chDispMode = next(ChDispModeParam::kSize);
  o.fftBand = next(FFTBandParam::kSize);
  o.sleepDstrb = next(SleepDstrbParam::kSize);
  o.waveForm = next(WaveFormRecognitionParam::kSize);
  o.logic = next(LogicParam::kSize);
  o.logicOption = next(LogicOptionParam::kSize);
  o.fftPage = next(FFTPageParam::kSize);
  o.fftPageChannelValues = next(FFTPageChannelValues::kSize);
  o.fftPageSelection = next(FFTPageSelection::kSize);
  o.fftPageChannels = next(FFTPageChannels::kSize);
  o.channels = next(channelTableSize);
  o.markType = next(MarkTypeParam::kSize);
  o.optionWords = next(DocumentOptionWords::kSize);
  o.end = p;
  return o;
}

template <class Block>
void AppendBlock(std::vector<std::uint8_t>& out, const Block& block) {
  std::array<std::uint8_t, Block::kSize> image;
  block.Store(image);
  out.insert(out.end(), image.begin(), image.end());
}

// Reads a block over its current contents: what lies past the end of the file stays.
template <class Block>
void ReadBlockAt(BlockStream& file, std::size_t offset, Block& block) {
  std::array<std::uint8_t, Block::kSize> image;
  block.Store(image);
  if (file.SeekTo(offset)) file.Read(image.data(), image.size());
  block.Load(image);
}

}  // namespace

std::string ResumeFile::Path() { return sys::PathBesideProgram(sys::ProgramBaseName() + ".RSM"); }

std::vector<std::uint8_t> ResumeFile::BuildImage(const AnalysisParamBlocks& blocks,
                                                 std::span<const LyrChInfo> channels) {
  std::vector<std::uint8_t> out(kRecordSize);
  StoreGlobalRecord(out);
  out.reserve(kFileSize);
  AppendBlock(out, blocks.stageType);
  AppendBlock(out, blocks.chDispScale);
  AppendBlock(out, blocks.chDispMode);
  AppendBlock(out, blocks.fftBand);
  AppendBlock(out, blocks.sleepDstrb);
  AppendBlock(out, blocks.waveForm);
  AppendBlock(out, blocks.logic);
  AppendBlock(out, blocks.logicOption);
  AppendBlock(out, blocks.fftPage);
  AppendBlock(out, blocks.fftPageChannelValues);
  AppendBlock(out, blocks.fftPageSelection);
  AppendBlock(out, blocks.fftPageChannels);
  const LyrChInfo defaults;
  std::array<std::uint8_t, kChannelSettingsSize> record;
  for (std::size_t c = 0; c < kChannelCount; ++c) {
    StoreChannelSettings(c < channels.size() ? channels[c] : defaults, record.data());
    out.insert(out.end(), record.begin(), record.end());
  }
  AppendBlock(out, blocks.markType);
  AppendBlock(out, blocks.optionWords);
  return out;
}

void ResumeFile::StopWriteAfterBlocksForTesting(int blocks) { g_stopAfterBlocks = blocks; }

namespace {
// The settings file found damaged at the last read: kept aside before the next write.
std::string g_damagedPath;
bool g_damageToTell = false;

void NoteDamaged(const std::string& path) {
  if (g_damagedPath != path) g_damageToTell = true;
  g_damagedPath = path;
}
}  // namespace

bool ResumeFile::IsWhole(std::span<const std::uint8_t> file) {
  if (file.size() < 2) return false;
  const std::int16_t version = static_cast<std::int16_t>(Get<std::uint16_t>(file, 0));
  if (version < 1 || version > kRecordVersion) return false;
  const Layout layout = LayoutOf(version);
  if (layout.segments.empty()) return false;
  return file.size() >= (version == kRecordVersion ? kFileSize : layout.recordSize);
}

std::string ResumeFile::TakeDamagedNotice() {
  if (!g_damageToTell) return {};
  g_damageToTell = false;
  return g_damagedPath;
}

void ResumeFile::ForgetDamageForTesting() {
  g_damagedPath.clear();
  g_damageToTell = false;
}

int ResumeFile::Write(const std::string& path, const AnalysisParamBlocks& blocks,
                      std::span<const LyrChInfo> channels, std::string* failure) {
  if (sys::IsKeyDown(sys::VirtualKey::Control)) return 1;
  const std::vector<std::uint8_t> image = BuildImage(blocks, channels);
  // A damaged file that the defaults replaced is kept beside for the user, once.
  if (!g_damagedPath.empty() && g_damagedPath == path) {
    if (sys::FileExists(path)) {
      sys::DeleteFile(path + ".damaged");
      sys::MoveFile(path, path + ".damaged");
    }
    g_damagedPath.clear();
  }

  // Written beside the target and renamed into place: a failure at any point, or the program
  // being stopped, leaves the previous file whole.
  sys::AtomicFileWriter writer;
  if (!writer.Open(path)) return 0;
  const DocumentOffsets o = OffsetsFrom(kRecordSize, kChannelSettingsTableSize);
  const std::size_t bounds[] = {0, o.stageType, o.chDispScale, o.chDispMode, o.fftBand, o.sleepDstrb,
                                o.waveForm, o.logic, o.logicOption, o.fftPage, o.fftPageChannelValues,
                                o.fftPageSelection, o.fftPageChannels, o.channels, o.markType,
                                o.optionWords, o.end};
  for (std::size_t i = 0; i + 1 < std::size(bounds); ++i) {
    if (g_stopAfterBlocks >= 0 && static_cast<int>(i) >= g_stopAfterBlocks) return 0;
    if (!writer.Write(image.data() + bounds[i], bounds[i + 1] - bounds[i])) {
      if (failure) *failure = "CMainFrame::WriteResumeFile";
      return 0;
    }
  }
  if (!writer.Commit()) {
    if (failure) *failure = "CMainFrame::WriteResumeFile";
    return 0;
  }
  return 1;
}

int ResumeFile::ReadGlobal(const std::string& path) {
  auto data = sys::ReadWholeFile(path);
  if (!data) return 0;
  if (!IsWhole({reinterpret_cast<const std::uint8_t*>(data->data()), data->size()})) {
    NoteDamaged(path);
    return 0;
  }
  return ReadGlobalFrom({reinterpret_cast<const std::uint8_t*>(data->data()), data->size()});
}

int ResumeFile::ReadGlobalFrom(std::span<const std::uint8_t> file) {
  if (file.size() < 2) return 0;
  const int version = GlobalVersion(static_cast<std::int16_t>(Get<std::uint16_t>(file, 0)));
  const Layout layout = LayoutOf(version);
  if (layout.segments.empty()) return 0;

  // The stored record, zero past the end of a short file.
  std::vector<std::uint8_t> stored(layout.recordSize, 0);
  std::copy_n(file.begin(), std::min(file.size(), stored.size()), stored.begin());

  // Settings an older layout lacks keep their values, except these presets.
  DisplayColors[7] = 0x000FC814;
  DisplayColors[8] = 0x00C81C69;
  ShowStandardBar = ShowEpochBar = ShowParameterBar = 1;
  TrendSplitRatio1 = 0.4;
  RawRowSplitRatio = 0.3;
  LineUpWithTrend = 0;

  Record record;
  StoreGlobalRecord(record);
  for (const Segment& s : layout.segments) bytes::Copy(record, s.current, stored, s.old, s.length);
  LoadGlobalRecord(record);
  ValidateGlobalSettings();
  return 1;
}

int ResumeFile::ReadDocument(const std::string& path, AnalysisParamBlocks& blocks,
                             std::span<LyrChInfo> channels) {
  for (auto& ch : channels) ch.displayInvert = 0;
  auto data = sys::ReadWholeFile(path);
  if (!data) return 0;
  if (!IsWhole({reinterpret_cast<const std::uint8_t*>(data->data()), data->size()})) {
    NoteDamaged(path);
    return 0;
  }
  return ReadDocumentFrom({reinterpret_cast<const std::uint8_t*>(data->data()), data->size()}, blocks, channels);
}

int ResumeFile::ReadDocumentFrom(std::span<const std::uint8_t> file, AnalysisParamBlocks& blocks,
                                 std::span<LyrChInfo> channels) {
  for (auto& ch : channels) ch.displayInvert = 0;
  if (file.size() < 2) return 0;
  const std::int16_t version = static_cast<std::int16_t>(Get<std::uint16_t>(file, 0));
  if (version > 10) return 0;
  const Layout layout = LayoutOf(version);
  if (layout.segments.empty()) return 0;

  const std::size_t tableSize = version >= 10 ? kChannelSettingsTableSize : kOldChannelSettingsTableSize;
  const DocumentOffsets o = OffsetsFrom(layout.documentStart, tableSize);
  BlockStream stream(file);

  // Every block is read at its own offset, so that a refused block cannot shift the others.
  ReadBlockAt(stream, o.stageType, blocks.stageType);
  ReadBlockAt(stream, o.chDispScale, blocks.chDispScale);
  ReadBlockAt(stream, o.chDispMode, blocks.chDispMode);
  ReadBlockAt(stream, o.fftBand, blocks.fftBand);
  if (stream.SeekTo(o.sleepDstrb)) ReadSleepDisturbanceBlock(&stream, &blocks.sleepDstrb);
  if (stream.SeekTo(o.waveForm)) ReadWaveFormRecognitionBlock(&stream, &blocks.waveForm);
  ReadBlockAt(stream, o.logic, blocks.logic);
  ReadBlockAt(stream, o.logicOption, blocks.logicOption);
  ReadBlockAt(stream, o.fftPage, blocks.fftPage);
  ReadBlockAt(stream, o.fftPageChannelValues, blocks.fftPageChannelValues);
  ReadBlockAt(stream, o.fftPageSelection, blocks.fftPageSelection);
  ReadBlockAt(stream, o.fftPageChannels, blocks.fftPageChannels);

  // Channel records past the end of a short file keep their settings.
  std::vector<std::uint8_t> table(kChannelSettingsTableSize, 0);
  const std::size_t available = o.channels < file.size() ? file.size() - o.channels : 0;
  const std::size_t storedRecord = version >= 10 ? kChannelSettingsSize : 224;
  const std::size_t wholeRecords = std::min<std::size_t>(kChannelCount, available / storedRecord);
  if (stream.SeekTo(std::min(o.channels, file.size()))) ReadChannelSettingsTable(&stream, version, table.data());
  ReadBlockAt(stream, o.markType, blocks.markType);
  ReadBlockAt(stream, o.optionWords, blocks.optionWords);

  for (std::size_t c = 0; c < std::min(wholeRecords, channels.size()); ++c)
    LoadChannelSettings(table.data() + c * kChannelSettingsSize, channels[c]);

  blocks.stageType.Sanitize();
  blocks.fftBand.Sanitize();
  blocks.sleepDstrb.Sanitize();
  blocks.fftPage.Sanitize();
  blocks.markType.Sanitize();
  for (auto& ch : blocks.fftPageChannels.channels)
    if (ch < -1 || ch >= static_cast<std::int32_t>(kChannelCount)) ch = -1;
  return 1;
}
