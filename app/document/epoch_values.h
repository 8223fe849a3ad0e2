#pragma once
// Small reads over the per-epoch tables: one value of an epoch by value code (the
// codes the logic conditions and the trend window name), the value codes the current
// settings can deliver, the rank of a channel among the FFT-band channels, the
// display records of stage codes, the leading scored epochs and the recording length.
// The document's methods of the same names forward here with its settings.
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/epoch_parameter.h"

// Returned by GetEpochValue when a value does not exist: the largest finite float.
constexpr double kEpochValueNotAvailable = 3.4028234663852886e38;

struct EpochValueContext {
  int epochSeconds = 0;
  // Per channel: 1 = the channel is an FFT-band channel (FFT band block).
  std::span<const std::uint16_t> fftBandFlags;
  // Per channel: the first word of the channel's display-mode pair.
  std::span<const std::uint32_t> chDispModes;
};

// Value `code` (1..32) of an epoch, for `channel` where the code is per channel.
double GetEpochValue(const LyrEpochParameter& tables, const EpochValueContext& ctx, int epoch, int code,
                     int channel);

// Which wave recognitions and channels are set up (-1 = none).
struct ValueCodeSources {
  int delta = -1, theta = -1, alpha = -1, spindle = -1;
  int band1 = -1, band2 = -1, band3 = -1;
  int kComplex = -1, eyeR = -1, eyeL = -1, emg = -1;
  std::span<const std::uint16_t> fftBandFlags;  // per channel, 1 = flagged
  int fftBandCount = 0;                          // bands in use, 1..6
};

// Fills codes (emptied first) with the value codes the settings can deliver.
void GetAvailableValueCodes(const ValueCodeSources& sources, int emgRequired, std::vector<std::int32_t>& codes);

// Rank of the channel among the entries equal to 1 of a per-channel flag array;
// -1 when the channel is not below chCount or its own entry is not 1.
int GetSelectedChIndex(int channel, std::span<const std::uint16_t> flags, int chCount);

// Stage display records, read from the stored image of the stage-type block
// (608 bytes: the stage type, four record sets, the free-stage count, three
// records of the free stages F1..F3).
constexpr std::size_t kStageTypeBlockBytes = 608;
// Copies the six 32-bit values of a stage code's record under the block's stage
// type; 1 when the code has a record, 0 otherwise (out untouched).
int GetStageDetail(std::span<const std::uint8_t> stageTypeBlock, int code, std::uint32_t out[6]);
// Number of shown stages of the current type plus shown free stages; the parts
// are returned through outStages and outExtra.
int GetShowStageNum(std::span<const std::uint8_t> stageTypeBlock, int& outStages, int& outExtra);

// Leading epochs, from epoch 0, whose current stage (merged by stageType) is
// neither 0 nor 20.
int GetScoredEpochNum(const LyrEpochParameter& tables, int stageType);

struct ChannelLength {
  std::int64_t sampleCount = 0;
  int sampleRateHz = 0;
};
// Recording length in whole seconds: the smallest sampleCount / rate over the
// channels; -1 without channels. A channel with no rate counts as 0 seconds.
int GetRecordSec(std::span<const ChannelLength> channels);
