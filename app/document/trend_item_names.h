#pragma once
// Names, units, scale ranges and allowed draw types of the trend items. A trend item (1..24)
// groups per-epoch values; its sub-items pick one value, and some items take a third index
// (a channel, or a count kind of the limb movements). Texts come from the string tables in
// the current language, or from names held in the analysis blocks.
#include <cstdint>
#include <span>
#include <string>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"

class CQLM2_AnalyzerDoc;

inline constexpr int kTrendItemCount = 24;
inline constexpr int kTrendFreeSlots = 32;  // channel slots of the Free item's ranges

// What the texts depend on: the blocks that hold names, and the open recording's channels.
struct TrendItemSource {
  const WaveFormRecognitionParam* waveForm = nullptr;
  const FFTBandParam* fftBand = nullptr;
  const SleepDstrbParam* sleepDstrb = nullptr;
  std::span<const LyrChInfo> channels;  // the channels of the open recording
};
TrendItemSource TrendItemSourceOf(const CQLM2_AnalyzerDoc& doc);

// The item's name; empty outside 1..24.
std::string GetTrendItemName(const TrendItemSource& src, int item);
// The sub-item's name (for the FFT item: the band name with "_Power" or "_Ratio").
std::string GetTrendItemFullName(const TrendItemSource& src, int item, int sub);
// Third-level name: the limb-movement count kinds of item 20, the channel of items 21 and 22.
std::string GetTrendSubItemName(const TrendItemSource& src, int item, int sub, int index);
// Unit text of a value; empty when it has none.
std::string GetTrendItemUnit(const TrendItemSource& src, int item, int sub, int index);
// "Dot", "Crossbar", "Column", "Chart" for 0..3; empty otherwise.
std::string GetDrawTypeName(int type);
// Body-position name i of the sleep-disturbance block; empty outside the names in use.
std::string GetPositionName(const SleepDstrbParam& block, int i);
// 0 for the chart type (3) on the per-breath values (items 14..16, sub-items 0, 2, 4) and on
// the position itself (item 17, sub-item 0); 1 otherwise.
int IsDrawTypeAllowed(int item, int sub, int type);

// Scale range of a trend value, kept in the program-wide trend range tables. mode 1 is a
// real range, 0 an integer one. The first bound is the upper one (top of the scale).
struct TrendItemRange {
  std::uint16_t mode = 0;
  std::int32_t upperInt = 0, lowerInt = 0;
  double upperReal = 0.0, lowerReal = 0.0;
};
// Every output 0 first; a listed entry gets its mode and the bounds of that mode. channel
// picks the slot of the Free item (22); index keys items 20, 23 and 24.
void GetTrendItemRange(int channel, int item, int sub, int index, std::uint16_t* mode, std::int32_t* upperInt,
                       std::int32_t* lowerInt, double* upperReal, double* lowerReal);
TrendItemRange GetTrendItemRange(int channel, int item, int sub, int index);
// Stores the bounds of a listed entry in the form of its mode; anything else is ignored.
// Integer bounds are kept within what their stored field holds.
void SetTrendItemRange(int channel, int item, int sub, int index, std::uint16_t mode, std::int32_t upperInt,
                       std::int32_t lowerInt, double upperReal, double lowerReal);
