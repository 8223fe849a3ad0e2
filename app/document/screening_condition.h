#pragma once
// One screening condition: a full set of analysis settings under which the open recording
// is screened, and the result file that receives the results. The document keeps eight of
// them; the Screening dialog edits them and the screening run puts them into the document
// one after another.
#include <array>
#include <cstdint>
#include <string>

#include "app/document/analysis_param_blocks.h"

inline constexpr int kMaxScreeningConditions = 8;

struct ScreeningCondition {
  // Memos of the result file, stored in its information block.
  std::array<std::string, 5> memos;
  // Analysis range: each channel's start offset (samples) and the analysed seconds.
  std::array<std::int32_t, 32> channelStart{};
  std::int32_t rangeSeconds = 0;
  LogicParam logic;
  LogicOptionParam logicOption;
  WaveFormRecognitionParam waveform;
  ChDispScaleParam artifact;     // per-channel artifact check: switch and level
  ChDispModeParam crossCount;    // per-channel crossing-count words
  FFTBandParam fftBand;
  std::array<MarkTypeParam::Item, 10> markTrigger;
  SleepDstrbParam sleepDisturbance;
  // Result analysis file of this condition; empty: the condition is screened, not written.
  std::string resultPath;
};
