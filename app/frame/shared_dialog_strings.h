#pragma once
// String-table ids of the shared dialogs (resources/<lang>/strings/shared_dialogs.tsv).
#include <cstdint>

inline constexpr std::uint32_t IDS_SD_DATA_TOO_SHORT = 2272;       // "Data less than %dsec is invalid."
inline constexpr std::uint32_t IDS_SD_CONDITION_CHANGED = 61201;
inline constexpr std::uint32_t IDS_SD_INVALID_EPOCH = 61202;
inline constexpr std::uint32_t IDS_SD_CONTRADICTION = 61203;
inline constexpr std::uint32_t IDS_SD_SELECT_EVENT = 61204;
inline constexpr std::uint32_t IDS_SD_START_CAPTION = 61205;
inline constexpr std::uint32_t IDS_SD_END_CAPTION = 61206;
inline constexpr std::uint32_t IDS_SD_SET_TIME = 61207;
inline constexpr std::uint32_t IDS_SD_TEXT_FILE_TITLE = 61208;
inline constexpr std::uint32_t IDS_SD_TEXT_FILE_FILTER = 61209;
inline constexpr std::uint32_t IDS_SD_CANNOT_OPEN_FILE = 61210;
inline constexpr std::uint32_t IDS_SD_VIDEO_DIFFERS = 61211;
inline constexpr std::uint32_t IDS_SD_VIDEO_FILTER = 61212;
inline constexpr std::uint32_t IDS_SD_HYPNOGRAM_UTILITY = 61213;
inline constexpr std::uint32_t IDS_SD_VIDEO_MENU_ITEM = 61214;
// Column title pieces of "Peak Information", joined without blanks.
inline constexpr std::uint32_t IDS_SD_PI_TOP = 61215;
inline constexpr std::uint32_t IDS_SD_PI_BOTTOM = 61216;
inline constexpr std::uint32_t IDS_SD_PI_TIME = 61217;
inline constexpr std::uint32_t IDS_SD_PI_AMPLITUDE = 61218;
inline constexpr std::uint32_t IDS_SD_PI_PP = 61219;
inline constexpr std::uint32_t IDS_SD_PI_SEC = 61238;
// Column titles of the lists.
inline constexpr std::uint32_t IDS_SD_COL_TIME = 61220;
inline constexpr std::uint32_t IDS_SD_COL_EPOCH = 61221;
inline constexpr std::uint32_t IDS_SD_COL_LATENCY = 61222;
inline constexpr std::uint32_t IDS_SD_COL_DURATION = 61223;
inline constexpr std::uint32_t IDS_SD_COL_NO = 61224;
inline constexpr std::uint32_t IDS_SD_COL_CH = 61225;
inline constexpr std::uint32_t IDS_SD_COL_SWITCH = 61226;
inline constexpr std::uint32_t IDS_SD_COL_UPPER_AD = 61227;
inline constexpr std::uint32_t IDS_SD_COL_UPPER_CAL = 61228;
inline constexpr std::uint32_t IDS_SD_COL_LOWER_AD = 61229;
inline constexpr std::uint32_t IDS_SD_COL_LOWER_CAL = 61230;
inline constexpr std::uint32_t IDS_SD_COL_UNIT = 61231;
inline constexpr std::uint32_t IDS_SD_COL_SENSITIVITY = 61232;
inline constexpr std::uint32_t IDS_SD_COL_SAMPLING = 61233;
inline constexpr std::uint32_t IDS_SD_ON = 61234;
inline constexpr std::uint32_t IDS_SD_OFF = 61235;
inline constexpr std::uint32_t IDS_SD_COL_DATE = 61236;
inline constexpr std::uint32_t IDS_SD_COL_EVENT_NAME = 61237;
