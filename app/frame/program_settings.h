#pragma once
// Program-wide settings that have no owning object and are kept in the settings
// file. Dialogs edit them in place; the frame rewrites the file afterwards.
#include <array>
#include <cstdint>
#include <string>

// Share of the outer splitter's height given to the raw wave row (1.0: no bottom row).
extern double PaneRowRatio;
// Share of the bottom row's width given to the trend window (0.0: all to the workspace).
extern double PaneColumnRatio;
// Ratios in force before a window was hidden, restored when it is shown again.
extern double SavedPaneRowRatio;
extern double SavedPaneColumnRatio;
// Pane ratios of the trend window and the raw frame's row height ratio.
extern double TrendSplitRatio2;
extern double TrendSplitRatio1;
extern double RawRowSplitRatio;

// Epoch and page length in whole seconds; every epoch count is computed from them.
// The epoch is 4 .. 60 s; the page a whole multiple of the epoch, at most 86,400 s.
extern std::int32_t EpochSeconds;
extern std::int32_t PageSeconds;
constexpr std::int32_t kMinEpochSeconds = 4;
constexpr std::int32_t kMaxEpochSeconds = 60;
constexpr std::int32_t kMaxPageSeconds = 86400;
// Seconds between two automatic paging steps (0: no wait).
extern std::int32_t WaitingTime;

// Folder first shown by every file dialog; import plug-in chosen at the last File Open.
extern std::string LastFolderPath;
extern std::string PluginPath;

// Two spare settings, stored and restored.
extern std::uint32_t SpareSetting1;
extern std::uint16_t SpareSetting2;

// Display switches.
extern std::uint16_t ClockTimeDisplay;   // 1 clock time, 0 elapsed time
extern std::uint32_t DrawActualSize;
extern double ScreenWidthMm;
extern double ScreenHeightMm;
extern std::uint32_t ShowEvent;
extern std::uint32_t ShowStageName;
extern std::uint16_t ShowScreeningRaw;
extern std::uint32_t ShowStageHistory;
extern std::uint32_t ShowMarkName;
extern std::uint32_t LineUpWithTrend;    // never taken from the file: 0 after every start
extern std::uint32_t ShowLogicLine;
extern std::uint32_t ShowChannelName;
extern std::uint16_t ShowEpochMode;      // 0 off, 1 epoch number, 2 epoch time
extern std::uint32_t HideSubjectName;

// Screen item look: nine colours (COLORREF, slot 1 first), the stage position slider
// offset (-50 .. 50) and the mark line height in pixels. The ten fonts are in display_fonts.h.
extern std::array<std::uint32_t, 9> DisplayColors;
extern std::int16_t StagePositionOffset;
extern std::uint32_t ScreenItemHeight;

extern std::uint32_t WorkspaceViewSetting;

// Parameter bar: value code (0 .. 32) and channel of each of the six slots.
constexpr int kParameterBarSlots = 6;
constexpr std::uint16_t kMaxParameterCode = 32;
extern std::array<std::uint16_t, kParameterBarSlots> ParameterBarCodes;
extern std::array<std::uint16_t, kParameterBarSlots> ParameterBarChannels;

// Utility hypnogram window: number of loaded result files.
extern std::uint16_t UtilityHypnogramFileCount;
// Trend and hypnogram display words.
extern std::uint16_t HypnogramSettingWord;
extern std::uint16_t TrendSettingWord1;
extern std::uint16_t TrendSettingWord2;   // number of trend graphs
extern std::uint16_t TrendSettingsWord;
constexpr int kMaxTrendGraphs = 20;
// Trend time span: minutes, and the epochs they span (minutes x 60 / EpochSeconds).
extern std::int32_t TrendTimeMinutes;
extern std::int32_t TrendTimeEpochs;
// Trend window colours: three stored, three fixed.
extern std::array<std::uint32_t, 6> TrendColors;

// Bars shown.
extern std::uint32_t ShowStandardBar;
extern std::uint32_t ShowEpochBar;
extern std::uint32_t ShowParameterBar;

// Per-graph trend words of graphs 1 .. 20: the item (category, sub-item, third index)
// and three display words.
struct TrendItemTable {
  std::array<std::uint16_t, kMaxTrendGraphs> category{};
  std::array<std::uint16_t, kMaxTrendGraphs> subItem{};
  std::array<std::uint16_t, kMaxTrendGraphs> third{};
  std::array<std::uint16_t, kMaxTrendGraphs> word4{};
  std::array<std::uint16_t, kMaxTrendGraphs> word5{};
  std::array<std::uint16_t, kMaxTrendGraphs> word6{};
};
extern TrendItemTable TrendItem;

// Scale values of the trend items, one table for the upper and one for the lower ends.
// The groups follow the trend item range accessors of the document.
struct TrendRangeTable {
  static constexpr std::size_t kSize = 2520;
  std::array<double, 7> a{};
  std::array<std::uint16_t, 7> b{};
  std::array<std::uint32_t, 7> c{};
  std::array<double, 26> d{};
  std::uint16_t e = 0;
  std::array<double, 30> f{};
  std::uint16_t g = 0;
  std::array<double, 3> h{};
  std::array<std::uint16_t, 2> i{};
  std::uint32_t j = 0;
  std::array<double, 236> k{};
  std::array<std::uint16_t, 2> l{};
  std::array<double, 3> m{};
  // Every element set to the value (converted to each element's type).
  void Fill(double value);
};
constexpr int kTrendRangeScales = 109;
extern TrendRangeTable TrendRangeUpper;
extern TrendRangeTable TrendRangeLower;
extern std::array<std::uint16_t, kTrendRangeScales> TrendRangeMode;
extern std::array<std::uint16_t, kTrendRangeScales> TrendRangeFlag;

// Up to ten user programs: item name (31 characters) and command line (259 characters).
struct UserProgram {
  std::string name;
  std::string commandLine;
};
constexpr int kMaxUserPrograms = 10;
struct UserProgramList {
  std::uint16_t count = 0;
  std::array<UserProgram, kMaxUserPrograms> entries;
};
extern UserProgramList UserProgramTable;

// Workspace, stage graph, output and report settings.
extern std::uint16_t StageGraphSearchSetting1;
extern std::uint16_t StageGraphSearchSetting2;
extern std::uint16_t StageGraphSetting;
extern std::int32_t StageGraphSearchLength;
extern std::uint16_t WorkspaceOutputSetting;
extern std::uint16_t WorkspaceSetting;
extern std::uint16_t VigilanceTextOutputSetting;
extern std::uint16_t OutputDelimiterIsTab;   // 1 tab, any other value comma
extern std::int32_t OutputMaxLines;          // raw text output; positive: limit on, negative: off
extern std::uint16_t ReportOutputSetting;
extern std::uint16_t OutputToClipboard;      // 0 file, 1 clipboard
extern std::int32_t WorkspaceEpochSpan;      // epochs
extern std::uint32_t AnimalReportSetting;
extern std::array<std::int32_t, 3> ReportEpochSelections;
extern std::array<std::uint32_t, 5> AnimalReportSettings;
extern std::array<std::uint32_t, 5> ReportWorkspaceSettings;
extern std::uint32_t VigilanceSetting;

struct StageEpisodeRule {
  std::int32_t first = 0;
  std::int32_t second = 0;
  std::uint16_t third = 0;
};
extern std::array<StageEpisodeRule, 10> StageEpisodeRules;

// Named sets of channel show flags, chosen in the epoch bar's "Show type:" list.
constexpr int kMaxShowTypes = 9;
struct ChannelShowTypes {
  std::int16_t current = 0;
  std::int16_t count = 1;
  std::array<std::string, kMaxShowTypes> names;
  std::array<std::array<std::uint16_t, 32>, kMaxShowTypes> flags{};
};
extern ChannelShowTypes ChannelShowTypeTable;

struct HumanReportSettingsRecord {
  std::int32_t first = 30;
  std::int32_t second = 60;
  double value = 90.0;
  std::array<std::uint16_t, 10> words{};
};
extern HumanReportSettingsRecord HumanReportSettings;

// Stage-type words used by automatic scoring and the Stage dialog.
extern std::array<std::uint16_t, 2> StageTypeWords;

// Epochs that `minutes` span at the epoch length: minutes x 60 / epochSeconds, truncated;
// 0 for a non-positive epoch, and never beyond the 32-bit range.
std::int32_t TrendEpochsFor(std::int32_t minutes, std::int32_t epochSeconds);
// Stores minutes and the epochs they span (minutes x 60 / EpochSeconds).
void SetTrendTimeScale(std::int32_t minutes);
void SetTrendSettingWord1(std::int16_t word);
void SetTrendSettingWord2(std::int16_t word);
void SetHypnogramSettingWord(std::int16_t word);

// Every program-wide setting of the settings file to its default, fonts and colours excepted
// (InitScreenItemFonts sets those).
void SetDefaultSettings();

// The display dialogs and bars know some of these settings by other names; they are the
// same objects.
inline std::uint32_t& MarkLineWidth = ScreenItemHeight;
inline std::uint16_t& DrawWhileScreening = ShowScreeningRaw;
inline std::int16_t& StagePosition = StagePositionOffset;
inline std::uint32_t& StandardBarShown = ShowStandardBar;
inline std::uint32_t& WaveViewBarShown = ShowEpochBar;
inline std::uint32_t& WaveParameterBarShown = ShowParameterBar;
inline ChannelShowTypes& ShowTypeSets = ChannelShowTypeTable;
inline std::int16_t& ShowTypeIndex = ChannelShowTypeTable.current;
