#pragma once
// The result files of the hypnogram utility window: up to nine scored nights loaded side by
// side, apart from the recording the main window has open.
//
// UtilityResultFiles holds the nine slots, filled from slot 0 upward without gaps, and does
// everything that concerns the files themselves: loading, closing with compaction, writing a
// file back, the stage and label lookups, the time labels and time-scale ticks, the cursor
// across files and the epoch-by-epoch stage comparison. It knows nothing of windows: the
// window builds its panes and views around it and routes the commands to it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/document/epoch_record.h"

class ResultFileUi;

inline constexpr int kUtilityFileSlots = 9;
// Epoch lengths and channel counts a loaded file may state.
inline constexpr int kUtilityMinEpochSeconds = 4;
inline constexpr int kUtilityMaxEpochSeconds = 60;
inline constexpr int kUtilityMaxChannels = 32;

// One loaded result file.
struct UtilityResultFileRec {
  std::uint8_t modified = 0;           // 1: changed in the window since loading
  std::int32_t epochsPerLine = 0;      // display minutes x 60 / epochTime
  std::int32_t epochTime = 0;          // epoch length in seconds, 4 .. 60
  std::int32_t epochCount = 0;         // N, the size of `epochs`
  std::vector<LyrEpochRec> epochs;     // the file's epoch records
  StageTypeParam stageType{};          // working block: drawing, labels, comparison
  StageTypeParam storedStageType{};    // the file's own block
  LyrRecordInfo recordInfo;            // path empty; channel count and subject from the file
  std::array<std::uint16_t, 6> startDateTime{};  // year, month, day, hour, minute, second
  std::int32_t startMsOfDay = 0;       // (hour x 3600 + minute x 60 + second) x 1000
  std::string path;                    // full path of the loaded file
  std::int32_t cursorEpoch = -1;       // -1 none
  std::int32_t previousCursorEpoch = -1;
  std::array<std::string, 5> memos;    // at most 60 characters each
};

// Six decimal texts of an epoch's start.
struct UtilityTimeParts {
  std::string year, month, day, hour, minute, second;
};

// How the window shows times: the time-scale step and clock or elapsed time.
struct UtilityTimeScale {
  int stepSeconds = 3600;   // LyrTrendTool::GetTimeScaleStep(display minutes) x 60
  bool clock = true;        // ClockTimeDisplay: 1 clock time, 0 elapsed time from day 1
};

class UtilityResultFiles {
 public:
  std::array<UtilityResultFileRec, kUtilityFileSlots> slots;

  // Number of loaded files (slots 0 .. Count() - 1 hold one).
  int Count() const { return count_; }
  bool IsFull() const { return count_ >= kUtilityFileSlots; }
  // The loaded file of a slot, or null for an empty or invalid slot.
  const UtilityResultFileRec* File(int slot) const;
  UtilityResultFileRec* File(int slot);
  // Puts a file built elsewhere into slot Count(); its slot, or -1 when nine are loaded.
  int Add(UtilityResultFileRec file);

  // ReadResultFile: loads `path` into slot Count() and counts it; epochsPerLine from the
  // display minutes. Returns 1, or 0 with every slot and the count unchanged: an unopenable
  // or foreign file, a refused version, an epoch time outside 4 .. 60, a channel count outside
  // 1 .. 32 or fewer epoch records than the file states get their message through `ui`.
  // Sets UtilityHypnogramLoaded to 1 after a load.
  int ReadResultFile(const std::string& path, int displayMinutes, ResultFileUi& ui);
  // The same from bytes already in memory (`path` is only stored).
  int ReadResultFileBytes(const std::string& path, const std::string& bytes, int displayMinutes, ResultFileUi& ui);

  // CloseFiles: frees the marked slots and moves the kept files down in their order. Returns,
  // per old slot, the slot the file moved to, or -1 for a closed (or empty) slot; the caller
  // moves its per-file views the same way. UtilityHypnogramLoaded becomes 0 when none is left.
  std::array<int, kUtilityFileSlots> CloseFiles(const std::array<bool, kUtilityFileSlots>& close);
  // Frees every slot (the window's end); UtilityHypnogramLoaded becomes 0.
  void CloseAll();

  // Sets epochsPerLine of every file for new display minutes per line.
  void SetDisplayMinutes(int displayMinutes);

  // Copies the slot's working stage-type block; `out` is unchanged for an empty slot.
  void GetStageTypeParam(int slot, StageTypeParam& out) const;
  // Stage byte `history` (0 current, 1 and 2 the previous codes) of an epoch, merged by `mode`
  // (0 none, 1: 6 as 5, 2: also 4 as 3, 3 and more: 4, 5, 6 as 3; the same for 24 .. 26).
  // 0 for an empty slot, an epoch outside the file or history 3 and more.
  std::uint8_t GetStage(int slot, int mode, std::int32_t epoch, int history) const;

  // Time of an epoch's start: clock mode the file's start plus epoch x epochTime; elapsed mode
  // 1 November 2000 00:00:00 plus the same seconds, so the day number starts at 1.
  UtilityTimeParts GetEpochTimeParts(int slot, std::int32_t epoch, const UtilityTimeScale& scale) const;
  // The epoch's label: clock mode `shortDate` of the day then "  %H:%M:%S", elapsed mode
  // "%d.%H:%M:%S". `shortDate` turns year, month, day into the locale's short date (by
  // default as the language's date pickers show it).
  std::string GetEpochTimeString(int slot, std::int32_t epoch, const UtilityTimeScale& scale,
                                 const std::function<std::string(int, int, int)>& shortDate = {}) const;
  // 1 when a time-scale tick falls into the epoch.
  int IsTimeScaleEpoch(int slot, std::int32_t epoch, const UtilityTimeScale& scale) const;
  // Second of day of the tick the epoch reaches; `start` and `end` get the epoch's start and
  // end second of day.
  std::int32_t GetTimeScaleStart(int slot, std::int32_t epoch, const UtilityTimeScale& scale, std::int32_t& start,
                                 std::int32_t& end) const;
  // Pixel offset of that tick inside an epoch `pixelWidth` wide; 0 in elapsed mode and where
  // it comes out as 1.
  int GetTimeScaleOffset(int slot, std::int32_t epoch, int pixelWidth, const UtilityTimeScale& scale) const;

  // The loaded file with the smallest epochTime x epochCount (the first on ties), -1 with none;
  // `examined` gets the number of files looked at.
  int FindShortestFile(int* examined = nullptr) const;

  // The cursor of all files: the time of `epoch` in `slot` becomes each file's cursor epoch
  // (its own epochs), the cursor before becomes the previous one.
  void SetCursorEpoch(int slot, std::int32_t epoch);
  // Display line of an epoch number: per file in slot order its first line whose shown epochs
  // (`lineRange`: false past the last line) enclose the epoch, a later file's find winning;
  // 0 when none does.
  int FindCursorLine(std::int32_t epoch,
                     const std::function<bool(int slot, int line, std::int32_t& first, std::int32_t& last)>&
                         lineRange) const;
  // Mode 0 clears every current cursor, 1 every previous one, other modes both.
  void ClearEpochMarkers(int mode);
  // which 0: current cursor, otherwise the previous one; -1 for an empty slot.
  std::int32_t GetEpochMarker(int slot, int which) const;

 private:
  int count_ = 0;
};

// Label of a stage code under a stage-type block: 0 "None", -1 "Previous stage", 8 .. 10
// (and 28 .. 30) the free-stage names, other codes (n and n + 20 alike) the name of the
// type's group; empty for codes outside.
std::string GetStageLabel(int code, const StageTypeParam& stageType);

// ---- writing a file back ------------------------------------------------------------------

// The bytes of a loaded file as a version-9 result file that this program's readers take
// whole: the file's records, start, epoch time, subject and working stage-type block, the
// given memos, default settings and no per-epoch values beyond one channel's. 10,200 + 214 x N
// bytes.
std::string BuildUtilityResultFileBytes(const UtilityResultFileRec& file, const std::array<std::string, 5>& memos);
// Writes them beside `path` and renames them into place. Returns 1; 0 after a message through
// `ui` (a file that cannot be created, a failed write), with the old file whole.
int WriteUtilityResultFile(const UtilityResultFileRec& file, const std::string& path,
                           const std::array<std::string, 5>& memos, ResultFileUi& ui);

// The save question of the window's close: every modified file is offered with a beep and
// "Save changes and open a new file?" (Yes/No/Cancel). Yes calls `save` for the slot (false:
// cancelled or failed). Returns true when the window may close: false after Cancel and after a
// save that did not happen, so that no change is lost.
bool CheckSaveFiles(const UtilityResultFiles& files, ResultFileUi& ui, const std::function<bool(int slot)>& save);

// ---- stage compare ------------------------------------------------------------------------

struct StageCompareRow {
  std::string label;
  std::string distribution;  // "%.1f%%" of the compared pairs, empty when none compared
  std::string eachStage;     // "%.1f%%" agreement within the row
};
struct StageCompareResult {
  int compared = 0;
  int agreed = 0;
  std::vector<StageCompareRow> rows;
  std::string total;         // "Tatal %.1f%%"
};
// Compares file `a` from epoch a0 with file `b` from epoch b0, both merged by a's stage type,
// pairs while both lie inside their files; pairs with a 0 stage skipped. Rows: the base rows
// of a's stage type and a's free stages.
StageCompareResult CompareStages(const UtilityResultFileRec& a, std::int32_t a0, const UtilityResultFileRec& b,
                                 std::int32_t b0);
