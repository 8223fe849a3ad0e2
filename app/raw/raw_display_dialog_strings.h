#pragma once
// String ids of the raw window's channel display dialogs.
#include <cstdint>

inline constexpr std::uint32_t IDS_RDD_COL_SCALE = 62770;
inline constexpr std::uint32_t IDS_RDD_SCALE_ON = 62771;
inline constexpr std::uint32_t IDS_RDD_OFF = 62772;
inline constexpr std::uint32_t IDS_RDD_SCALE_RANGE = 62773;
inline constexpr std::uint32_t IDS_RDD_FREE = 62774;
