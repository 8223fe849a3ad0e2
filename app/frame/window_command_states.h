#pragma once
// Enable and check states of the main frame's commands that open windows and dialogs, from
// the state of the program. The frame's update handlers fill a FrameWindowState and apply the
// answer; keeping the rules here lets them be read and checked as one table.
#include <cstdint>
#include <optional>

// Command ids.
inline constexpr std::uint32_t ID_SCREEN_ITEM = 32823;
inline constexpr std::uint32_t ID_DATA_PROCESSING = 32835;
inline constexpr std::uint32_t ID_ANALYSIS_RANGE = 32848;
inline constexpr std::uint32_t ID_SCREENING = 32985;
inline constexpr std::uint32_t ID_EPOCH_JUMP = 33096;
inline constexpr std::uint32_t ID_WAVE_DETECT_SETTING = 33097;
inline constexpr std::uint32_t ID_WAVE_DETECT_LIST = 33098;
inline constexpr std::uint32_t ID_PARAMETER_OUTPUT = 33102;
inline constexpr std::uint32_t ID_AVI_OUTPUT = 33128;
inline constexpr std::uint32_t ID_VIDEO_FILE_OPEN = 33080;
inline constexpr std::uint32_t ID_RESULT_FILE_COMPARE = 33049;
inline constexpr std::uint32_t ID_RESULT_FILE_OPEN = 33009;
inline constexpr std::uint32_t ID_RESULT_FILE_SAVE = 33010;
inline constexpr std::uint32_t ID_MULTI_SCREENING = 33166;
inline constexpr std::uint32_t ID_AUTO_SCROLL = 33103;
inline constexpr std::uint32_t ID_DISPLAY_OPTION = 32790;
inline constexpr std::uint32_t ID_PAGE_TIME = 32775;
inline constexpr std::uint32_t ID_RAW_TEXT_OUTPUT = 33036;
inline constexpr std::uint32_t ID_PRINT_RAW = 57607;  // the File menu's "&Print..."
inline constexpr std::uint32_t ID_RAW_DATA_OUTPUT = 32981;
inline constexpr std::uint32_t ID_CALIBRATION = 33035;

struct FrameWindowState {
  bool loaded = false;              // a recording is loaded
  bool screeningRunning = false;    // ScreeningRunning non-zero
  bool screeningPaused = false;     // ScreeningRunning 2: a run stands paused
  bool screeningOpen = false;       // the screening window's slot is set
  bool multiScreeningOpen = false;  // the multi-screening window's slot is set
  bool reportOpen = false;          // the workspace's modeless report dialog exists
  bool analysisRangeOpen = false;
  bool aviOpen = false;
  bool autoPlayRunning = false;
  bool videoBound = false;          // the video player library is bound
  bool videoPaneBusy = false;       // the video pane's busy flag
  std::uint16_t videoOpenState = 0; // the video controller's open-state word
  std::uint32_t workspaceStateWord = 0;  // the workspace frame's first state word
  bool analysisFile = false;        // the recording is an analysis data file
  bool oneRate = true;              // every channel has the same sampling rate and data count
};

struct CommandState {
  bool enabled = true;
  int checked = -1;  // -1 not set, 0 off, 1 on
};

// The state of one of the commands above; nullopt for any other command. Screen Item and
// EpochJump follow the rule of the channel display commands: a recording loaded and no run
// going (a paused run lets them through).
std::optional<CommandState> WindowCommandState(std::uint32_t id, const FrameWindowState& s);
