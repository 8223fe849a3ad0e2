#include "app/frame/program_settings.h"

#include <algorithm>
#include <climits>

#include "platform/res/resource_store.h"

double PaneRowRatio = 0.5;
double PaneColumnRatio = 0.6;
double SavedPaneRowRatio = 0.6;
double SavedPaneColumnRatio = 0.6;
double TrendSplitRatio2 = 0.7;
double TrendSplitRatio1 = 0.4;
double RawRowSplitRatio = 0.3;

std::int32_t EpochSeconds = 4;
std::int32_t PageSeconds = 28;
std::int32_t WaitingTime = 1;

std::string LastFolderPath = "c:\\";
std::string PluginPath;

std::uint32_t SpareSetting1 = 0;
std::uint16_t SpareSetting2 = 1;

std::uint16_t ClockTimeDisplay = 1;
std::uint32_t DrawActualSize = 0;
double ScreenWidthMm = 360.0;
double ScreenHeightMm = 260.0;
std::uint32_t ShowEvent = 1;
std::uint32_t ShowStageName = 1;
std::uint16_t ShowScreeningRaw = 1;
std::uint32_t ShowStageHistory = 0;
std::uint32_t ShowMarkName = 1;
std::uint32_t LineUpWithTrend = 0;
std::uint32_t ShowLogicLine = 1;
std::uint32_t ShowChannelName = 1;
std::uint16_t ShowEpochMode = 1;
std::uint32_t HideSubjectName = 0;

std::array<std::uint32_t, 9> DisplayColors{0x00FAFAFF, 0x000025F9, 0x0000FFFF, 0x00B200FF, 0x004C4C4C,
                                           0x004913E9, 0x00665A4B, 0x000FC814, 0x00C81C69};
std::int16_t StagePositionOffset = 0;
std::uint32_t ScreenItemHeight = 22;
std::uint32_t WorkspaceViewSetting = 30;

std::array<std::uint16_t, kParameterBarSlots> ParameterBarCodes{};
std::array<std::uint16_t, kParameterBarSlots> ParameterBarChannels{};

std::uint16_t UtilityHypnogramFileCount = 1;
std::uint16_t HypnogramSettingWord = 1;
std::uint16_t TrendSettingWord1 = 1;
std::uint16_t TrendSettingWord2 = 1;
std::uint16_t TrendSettingsWord = 0;
std::int32_t TrendTimeMinutes = 720;
std::int32_t TrendTimeEpochs = 720 * 60 / 4;
std::array<std::uint32_t, 6> TrendColors{0x00000000, 0x00FFFFFF, 0x00000000,
                                         0x00008000, 0x00FF0000, 0x000000FF};

std::uint32_t ShowStandardBar = 1;
std::uint32_t ShowEpochBar = 1;
std::uint32_t ShowParameterBar = 1;

TrendItemTable TrendItem;
TrendRangeTable TrendRangeUpper;
TrendRangeTable TrendRangeLower;
std::array<std::uint16_t, kTrendRangeScales> TrendRangeMode{};
std::array<std::uint16_t, kTrendRangeScales> TrendRangeFlag{};

UserProgramList UserProgramTable;

std::uint16_t StageGraphSearchSetting1 = 0;
std::uint16_t StageGraphSearchSetting2 = 0;
std::uint16_t StageGraphSetting = 0;
std::int32_t StageGraphSearchLength = 30;
std::uint16_t WorkspaceOutputSetting = 0;
std::uint16_t WorkspaceSetting = 0;
std::uint16_t VigilanceTextOutputSetting = 0;
std::uint16_t OutputDelimiterIsTab = 1;
std::int32_t OutputMaxLines = 0xFFFF;
std::uint16_t ReportOutputSetting = 1;
std::uint16_t OutputToClipboard = 0;
std::int32_t WorkspaceEpochSpan = 3600 / 4;
std::uint32_t AnimalReportSetting = 0;
std::array<std::int32_t, 3> ReportEpochSelections{-1, -1, -1};
std::array<std::uint32_t, 5> AnimalReportSettings{};
std::array<std::uint32_t, 5> ReportWorkspaceSettings{};
std::uint32_t VigilanceSetting = 0;
std::array<StageEpisodeRule, 10> StageEpisodeRules{};
ChannelShowTypes ChannelShowTypeTable;
HumanReportSettingsRecord HumanReportSettings;
std::array<std::uint16_t, 2> StageTypeWords{};

void TrendRangeTable::Fill(double v) {
  auto u16 = static_cast<std::uint16_t>(v);
  auto u32 = static_cast<std::uint32_t>(v);
  a.fill(v);
  b.fill(u16);
  c.fill(u32);
  d.fill(v);
  e = u16;
  f.fill(v);
  g = u16;
  h.fill(v);
  i.fill(u16);
  j = u32;
  k.fill(v);
  l.fill(u16);
  m.fill(v);
}

std::int32_t TrendEpochsFor(std::int32_t minutes, std::int32_t epochSeconds) {
  if (epochSeconds <= 0) return 0;
  const std::int64_t epochs = std::int64_t{minutes} * 60 / epochSeconds;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(epochs, INT32_MIN, INT32_MAX));
}

void SetTrendTimeScale(std::int32_t minutes) {
  TrendTimeMinutes = minutes;
  TrendTimeEpochs = TrendEpochsFor(minutes, EpochSeconds);
}
void SetTrendSettingWord1(std::int16_t word) { TrendSettingWord1 = static_cast<std::uint16_t>(word); }
void SetTrendSettingWord2(std::int16_t word) { TrendSettingWord2 = static_cast<std::uint16_t>(word); }
void SetHypnogramSettingWord(std::int16_t word) { HypnogramSettingWord = static_cast<std::uint16_t>(word); }

void SetDefaultSettings() {
  LastFolderPath = "c:\\";
  PluginPath.clear();
  EpochSeconds = (QLM_PRODUCT_EDITION >= 10 && QLM_PRODUCT_EDITION <= 12) ? 4 : 30;
  PageSeconds = (QLM_PRODUCT_EDITION >= 10 && QLM_PRODUCT_EDITION <= 12) ? 28 : 30;
  WaitingTime = 1;
  SpareSetting1 = 0;
  SpareSetting2 = 1;
  ClockTimeDisplay = 1;
  DrawActualSize = 0;
  ScreenWidthMm = 360.0;
  ScreenHeightMm = 260.0;
  ShowEvent = 1;
  ShowStageName = 1;
  ShowScreeningRaw = 1;
  ShowStageHistory = 0;
  ShowMarkName = 1;
  LineUpWithTrend = 0;
  ShowLogicLine = 1;
  ShowChannelName = 1;
  ShowEpochMode = 1;
  HideSubjectName = 0;
  DisplayColors[6] = 0x00665A4B;
  DisplayColors[7] = 0x000FC814;
  DisplayColors[8] = 0x00C81C69;
  ScreenItemHeight = 22;
  WorkspaceViewSetting = 30;
  ParameterBarCodes.fill(0);
  ParameterBarChannels.fill(0);
  PaneColumnRatio = 0.6;
  PaneRowRatio = 0.5;
  SavedPaneRowRatio = 0.6;
  SavedPaneColumnRatio = 0.6;
  TrendSplitRatio2 = 0.7;
  TrendSplitRatio1 = 0.4;
  RawRowSplitRatio = 0.3;
  UtilityHypnogramFileCount = 1;
  SetHypnogramSettingWord(1);
  SetTrendSettingWord1(1);
  SetTrendTimeScale(720);
  TrendColors = {0x00000000, 0x00FFFFFF, 0x00000000, 0x00008000, 0x00FF0000, 0x000000FF};
  TrendSettingsWord = 0;
  SetTrendSettingWord2(1);
  ShowStandardBar = 1;
  ShowEpochBar = 1;
  ShowParameterBar = 1;
  TrendItem = TrendItemTable{};
  TrendItem.word4.fill(2);
  TrendItem.word6.fill(1);
  TrendRangeUpper.Fill(100.0);
  TrendRangeLower.Fill(0.0);
  TrendRangeMode.fill(2);
  TrendRangeFlag.fill(1);
  UserProgramTable = UserProgramList{};
  StageGraphSearchSetting1 = 0;
  StageGraphSearchSetting2 = 0;
  StageGraphSetting = 0;
  StageGraphSearchLength = 30;
  WorkspaceOutputSetting = 0;
  WorkspaceSetting = 0;
  VigilanceTextOutputSetting = 0;
  OutputDelimiterIsTab = 1;
  OutputMaxLines = 0xFFFF;
  ReportOutputSetting = 1;
  OutputToClipboard = 0;
  WorkspaceEpochSpan = 3600 / EpochSeconds;
  AnimalReportSetting = 0;
  ReportEpochSelections = {-1, -1, -1};
  AnimalReportSettings.fill(0);
  ReportWorkspaceSettings.fill(0);
  VigilanceSetting = 0;
  StageEpisodeRules[0] = {30, 30, 3};
  StageEpisodeRules[1] = {20, 20, 2};
  for (std::size_t r = 2; r < StageEpisodeRules.size(); ++r) StageEpisodeRules[r] = {30, 20, 3};
  ChannelShowTypeTable = ChannelShowTypes{};
  ChannelShowTypeTable.names[0] = res::LoadString(2284);
  for (auto& set : ChannelShowTypeTable.flags) set.fill(1);
  HumanReportSettings = HumanReportSettingsRecord{};
  HumanReportSettings.words.fill(1);
}
