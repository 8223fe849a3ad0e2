#pragma once
// String-table ids of the stage-graph, vigilance-state and mark panes
// (resources/<lang>/strings/workspace_stages.tsv) and the shared ones they show.
#include <cstdint>

inline constexpr std::uint32_t IDS_SG_PERCENT = 65400;
inline constexpr std::uint32_t IDS_SG_MINUTES = 65401;
inline constexpr std::uint32_t IDS_SG_DAY = 65402;
inline constexpr std::uint32_t IDS_SG_HOUR = 65403;
inline constexpr std::uint32_t IDS_SG_MIN = 65404;
inline constexpr std::uint32_t IDS_SG_TIME = 65405;
inline constexpr std::uint32_t IDS_SG_FILE_NAME = 65406;
inline constexpr std::uint32_t IDS_SG_SUBJECT = 65407;
inline constexpr std::uint32_t IDS_SG_GENDER = 65408;
inline constexpr std::uint32_t IDS_SG_MALE = 65409;
inline constexpr std::uint32_t IDS_SG_FEMALE = 65410;
inline constexpr std::uint32_t IDS_SG_AGE = 65411;
inline constexpr std::uint32_t IDS_SG_YEAR = 65412;
inline constexpr std::uint32_t IDS_SG_MONTH = 65413;
inline constexpr std::uint32_t IDS_SG_MEMO = 65414;
inline constexpr std::uint32_t IDS_SG_EVEN_ONLY = 65415;
inline constexpr std::uint32_t IDS_SG_UNSCORED = 65416;
inline constexpr std::uint32_t IDS_SG_RANGE = 65417;
inline constexpr std::uint32_t IDS_VSP_NO = 65420;
inline constexpr std::uint32_t IDS_VSP_EPOCH = 65421;
inline constexpr std::uint32_t IDS_VSP_TIME = 65422;
inline constexpr std::uint32_t IDS_VSP_EPISODE = 65423;
inline constexpr std::uint32_t IDS_VSP_COUNT = 65424;
inline constexpr std::uint32_t IDS_VSP_DURATION = 65425;
inline constexpr std::uint32_t IDS_VSP_DIVISION_START = 65426;
inline constexpr std::uint32_t IDS_VSP_STAGE = 65427;
inline constexpr std::uint32_t IDS_VSP_MEAN = 65428;
inline constexpr std::uint32_t IDS_VSP_SD = 65429;
inline constexpr std::uint32_t IDS_VSP_NONE = 65430;
inline constexpr std::uint32_t IDS_VSP_FIND_FAILED = 65431;
inline constexpr std::uint32_t IDS_VSP_TEXT_FAILED = 65432;
inline constexpr std::uint32_t IDS_VSP_DIVISION = 65433;
inline constexpr std::uint32_t IDS_MK_EPOCH = 65440;
inline constexpr std::uint32_t IDS_MK_TIME = 65441;
inline constexpr std::uint32_t IDS_MK_STAGE = 65442;
inline constexpr std::uint32_t IDS_MK_NAME = 65443;
inline constexpr std::uint32_t IDS_MK_DURATION = 65444;
inline constexpr std::uint32_t IDS_MK_TYPE = 65445;
inline constexpr std::uint32_t IDS_MK_COLOR = 65446;
inline constexpr std::uint32_t IDS_MK_FLOAT = 65447;
inline constexpr std::uint32_t IDS_MK_DELETE = 65448;
inline constexpr std::uint32_t IDS_MK_CREATE_FAILED = 65449;
inline constexpr std::uint32_t IDS_MK_REPLACE = 65450;
inline constexpr std::uint32_t IDS_MK_TIME_DIVISION = 65451;
inline constexpr std::uint32_t IDS_MK_RANGE_LABEL = 65452;
inline constexpr std::uint32_t IDS_MK_WEEK = 65453;
inline constexpr std::uint32_t IDS_MK_WINDOW = 65454;

// Shared texts.
inline constexpr std::uint32_t IDS_WS_FILE_NOT_SELECTED = 2253;  // "The file is not selected."
inline constexpr std::uint32_t IDS_WS_OUTPUT_DONE = 63475;       // "Text output is complete."
inline constexpr std::uint32_t IDS_WS_SAVE_FAILED = 61404;       // "There was an error saving this file."
inline constexpr std::uint32_t IDS_WS_CONTRADICTION = 61203;     // "There is a contradiction in %s. "
inline constexpr std::uint32_t IDS_WS_NOT_SPECIFIED = 2342;      // "%s is not specified."
inline constexpr std::uint32_t IDS_WS_PLUS_VALUE = 2497;         // "Input plus value on %s."
inline constexpr std::uint32_t IDS_WS_MARK_AUTO = 64160;         // "Mark auto detect: "
inline constexpr std::uint32_t IDS_WS_MARK_INVALID_TIME = 64162; // "Mark%d Invalid time value"
inline constexpr std::uint32_t IDS_WS_CHANNEL_NONE = 64115;      // "None"
inline constexpr std::uint32_t IDS_WS_UP_DOWN = 64116;           // "Up->Down"
inline constexpr std::uint32_t IDS_WS_DOWN_UP = 64117;           // "Down->Up"
