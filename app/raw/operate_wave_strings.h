#pragma once
// String-table ids of "Channel Display Information" (resources/<lang>/strings/operate_wave.tsv).
#include <cstdint>

inline constexpr std::uint32_t IDS_OW_COL_NO = 64771;
inline constexpr std::uint32_t IDS_OW_COL_CH = 64772;
inline constexpr std::uint32_t IDS_OW_COL_SHOW = 64773;
inline constexpr std::uint32_t IDS_OW_COL_GAIN = 64774;
inline constexpr std::uint32_t IDS_OW_COL_SCALE = 64775;
inline constexpr std::uint32_t IDS_OW_COL_TYPE = 64776;
inline constexpr std::uint32_t IDS_OW_COL_COLOR = 64777;
inline constexpr std::uint32_t IDS_OW_ON = 64778;
inline constexpr std::uint32_t IDS_OW_OFF = 64779;
inline constexpr std::uint32_t IDS_OW_WAVEFORM = 64780;
inline constexpr std::uint32_t IDS_OW_BASELINE = 64781;   // "B ", before the position word
inline constexpr std::uint32_t IDS_OW_CENTER = 64782;
inline constexpr std::uint32_t IDS_OW_UPPER = 64783;
inline constexpr std::uint32_t IDS_OW_LOWER = 64784;
inline constexpr std::uint32_t IDS_OW_NUMERIC = 64785;
inline constexpr std::uint32_t IDS_OW_CHARACTER = 64786;
