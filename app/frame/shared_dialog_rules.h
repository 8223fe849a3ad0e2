#pragma once
// Rules of the small shared dialogs that do not need a window: which stages the Stage Change
// lists offer, how the channel selection keeps to one sampling rate, what the wait time radios
// stand for, how the progress bar fits long ranges into its 16-bit range, and the frame's
// search for the fastest channel.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class LyrChInfo;

// Stage codes offered for a stage type (0..3) and a count of free stages (0..3), in list order.
std::vector<int> OfferedStageCodes(int stageType, int freeStageCount);

// Channel selection of one sampling rate: the selected rows (ascending) reduced to the rows
// whose rate equals the first selected row's rate.
std::vector<int> KeepFirstSelectedRate(const std::vector<int>& selected, const std::vector<std::int32_t>& rates);

// An epoch number as the EpochJump dialog reads it: the leading integer of the text, valid
// from 0 to epochCount - 1.
std::optional<std::int32_t> ParseJumpEpoch(std::string_view text, std::int32_t epochCount);

// Wait time radios.
inline constexpr int IDC_WAIT_NONSTOP = 1119;
inline constexpr int IDC_WAIT_1SEC = 1122;
inline constexpr int IDC_WAIT_2SEC = 1126;
inline constexpr int IDC_WAIT_5SEC = 1032;
inline constexpr int IDC_WAIT_FREE = 1131;
inline constexpr int IDC_WAIT_EDIT = 1134;
// The radio that shows a waiting time.
int WaitTimeRadioOf(std::int32_t seconds);
// The waiting time of a radio; with Free, the edit's number, a negative one taken as 0.
std::int32_t WaitTimeOf(int radio, std::int64_t freeSeconds);

// The progress bar's range is 16-bit: a longer range is shown scaled down so that the bar
// still runs from its start to its end.
struct ProgressScale {
  std::uint32_t low = 0;
  std::uint32_t high = 100;
  std::uint32_t Shown(std::uint32_t v) const;
};

// The fastest channel among the first count channels (only those with both display flags on
// when shownOnly): its rate and index; rate 0 and index -1 when there is none.
struct ChannelRate {
  std::uint32_t rate = 0;
  std::int16_t channel = -1;
  bool Found() const { return channel >= 0 && rate > 0; }
};
ChannelRate FastestChannel(const LyrChInfo* channels, int count, bool shownOnly);
