#pragma once
// The logic template file (.ltf): the condition set of one stage type with the last-stage
// option block. Current layout, 906 bytes: u16 stage type at 0, 20 condition records of 44
// bytes at 2, the 24-byte option block at 882. Older layout (read only), 466 bytes: the same
// stage type, 10 records of the older form (no channels; upper operators at 12 and 32), the
// option block at 442; a first record whose marker is below 2 (read signed) marks it.
//
// Nothing here shows a window: the reader returns a status that the Logic dialog turns into
// its message.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/document/analysis_param_blocks.h"

inline constexpr std::size_t kLogicTemplateBytes = 906;
inline constexpr std::size_t kOlderLogicTemplateBytes = 466;
inline constexpr int kLogicTemplateRecords = LogicParam::kConditionsPerSet;  // 20
inline constexpr int kOlderLogicTemplateRecords = 10;
inline constexpr std::uint16_t kNoLogicChannel = 0xFFFF;  // channel -1 as the record holds it

using LogicConditionSet = std::array<LogicCondition, kLogicTemplateRecords>;

// Channel kind of a logic value code: 0 the channel of the wave recognition (codes 1-12),
// 1 any channel of the recording (13 and 26-32; 13 uses the recognition EMG channel),
// 2 an FFT-flagged channel (14-25); -1 for code 0 and codes above 32.
int LogicChannelKind(int code);

// The leading conditions whose stage is not 0 (at most 20).
int CountUsedConditions(std::span<const LogicCondition> set);

// The 906 bytes of a template: the stage type, the set with the stage of every record from
// usedCount on cleared, the option block.
std::string BuildLogicTemplate(std::uint16_t stageType, const LogicConditionSet& set, int usedCount,
                               const LogicOptionParam& option);

struct LogicTemplate {
  std::uint16_t stageType = 0;
  LogicConditionSet set{};
  LogicOptionParam option;
  bool olderLayout = false;
};

enum class LogicTemplateStatus {
  ok,
  wrongStageType,  // another stage type than the one expected; nothing else was read
  damaged,         // cut short, or a used record that no dialog could have written
};

// Reads a template for a document of `stageType` with `channelCount` channels. A used
// record must give a stage 1..10 or 255 and test value codes 0..32; a channel of kind 1 or
// 2 at or above the channel count becomes none (0xFFFF), so the dialog asks for it. The
// records after the used ones come back empty. `out` is written only on ok.
LogicTemplateStatus ParseLogicTemplate(std::string_view bytes, std::uint16_t stageType, int channelCount,
                                       LogicTemplate& out);
