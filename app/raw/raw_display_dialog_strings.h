#pragma once
// String ids of the raw window's channel display dialogs.
#include <cstdint>

inline constexpr std::uint32_t IDS_RDD_COL_SCALE = 62770;
inline constexpr std::uint32_t IDS_RDD_SCALE_ON = 62771;
inline constexpr std::uint32_t IDS_RDD_OFF = 62772;
inline constexpr std::uint32_t IDS_RDD_SCALE_RANGE = 62773;
inline constexpr std::uint32_t IDS_RDD_FREE = 62774;
inline constexpr std::uint32_t IDS_RDD_COL_TYPE = 62775;
inline constexpr std::uint32_t IDS_RDD_WAVEFORM = 62776;
inline constexpr std::uint32_t IDS_RDD_HEAVY = 62777;
inline constexpr std::uint32_t IDS_RDD_NUMERIC = 62778;
inline constexpr std::uint32_t IDS_RDD_CHARACTER = 62779;
inline constexpr std::uint32_t IDS_RDD_CENTER = 62780;
inline constexpr std::uint32_t IDS_RDD_UPPER = 62781;
inline constexpr std::uint32_t IDS_RDD_LOWER = 62782;
