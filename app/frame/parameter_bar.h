#pragma once
// Names and value texts of the parameter bar's 33 value codes (0 none, 1-13 wave
// recognition, 14-25 FFT band powers and ratios, 26-32 channel statistics).
#include <cstdint>
#include <string>

#include "app/document/epoch_record.h"

struct AnalysisParamBlocks;
struct EpochBandBlock;
struct EpochChannelStatsRecord;

inline constexpr int kParameterBarCombo[6] = {1446, 1452, 1458, 1464, 1470, 1476};
inline constexpr int kParameterBarValue[6] = {1499, 1502, 1506, 1500, 1504, 1508};
inline constexpr int kParameterBarTemplate = 162;
inline constexpr int kParameterBarId = 59403;

// Name of a value code; empty above 32.
std::string BuildParameterName(std::uint16_t code, const AnalysisParamBlocks& params);

// Value text of a code for one epoch: empty for code 0, "None" when the value's
// source is not configured. colour is the underline colour of codes 1-11, -1 else.
struct ParameterValueText {
  std::string text;
  std::int64_t colour = -1;
};
ParameterValueText FormatParameterValue(std::uint16_t code, std::uint16_t channel, const LyrEpochRec& wave,
                                        const EpochBandBlock& bands, const EpochChannelStatsRecord& stats,
                                        const AnalysisParamBlocks& params, int channelCount,
                                        std::int32_t epochSeconds);

// The code when it lies in 0..32, else 0.
std::uint16_t IsParameterCodeInRange(std::uint16_t code);
