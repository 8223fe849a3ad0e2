#pragma once
// Run-time state of navigation and step-by-step runs that other windows read.
#include <cstdint>

// 1 while every written result file also writes a learning-sample file.
extern std::uint16_t LearningSampleMode;
// Screening condition being worked on, -1 when no batch runs.
extern std::int32_t ScreeningFileIndex;
// The screening dialog knows the same index by this name.
inline std::int32_t& ScreeningIndex = ScreeningFileIndex;

// Stage key identifiers: 2000 + digit 0..9 stand for the digit keys.
inline constexpr std::uint32_t kStageKeyFirst = 2000;
inline constexpr std::uint32_t kStageKeyLast = 2009;

// Frame timers.
inline constexpr std::uint32_t kTimerAutoPaging = 8100;
inline constexpr std::uint32_t kTimerHeldKeyScroll = 8101;
inline constexpr std::uint32_t kTimerAviCapture = 8104;
inline constexpr std::uint32_t kTimerAviSpeedCheck = 8107;
inline constexpr std::uint32_t kTimerScreeningStep = 8108;
inline constexpr std::uint32_t kHeldKeyScrollMs = 10;

// Number of epochs and pages of the open recording for the program-wide lengths.
class CQLM2_AnalyzerDoc;
int NavEpochCount(const CQLM2_AnalyzerDoc& doc);
int NavPageCount(const CQLM2_AnalyzerDoc& doc);
int NavEpochsPerPage();

struct StageTypeParam;
// Stage code assigned to a stage key identifier (2000..2009) under the block's
// stage type; 0 when the key scores nothing.
std::uint8_t StageCodeOfKey(const StageTypeParam& block, std::uint32_t key);
