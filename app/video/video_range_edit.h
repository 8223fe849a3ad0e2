#pragma once
// Cutting a video set down to chosen ranges, and the checks a new range or a new auto-play
// stretch must pass. Times are seconds on the video clock; the play ranges of a file are
// seconds from the file's start.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/video/cvp_info_exchange.h"

using VideoRange = std::pair<double, double>;

// What a listed range does to the set.
enum class RangeEditMode : int { Save = 0, Delete = 1 };

// Message ids of the checks.
inline constexpr std::uint32_t kIdsStartAfterEnd = 64924;
inline constexpr std::uint32_t kIdsNoMovieInRange = 64925;
inline constexpr std::uint32_t kIdsWholeMovieData = 64926;
inline constexpr std::uint32_t kIdsConflictsWithListed = 64927;
inline constexpr std::uint32_t kIdsRepeatsAutoPlay = 64928;
inline constexpr std::uint32_t kIdsNoMovieAtStartOrEnd = 64918;
inline constexpr std::uint32_t kIdsSameStartAndEnd = 64919;
inline constexpr std::uint32_t kIdsNotContiguous = 64920;

// The raw data file of the recording whose set a range file belongs to: the range file's path
// without its last two parts, "/", the range file's base name and ".fyd".
std::string RecordingRawPathOf(const std::string& rangeFilePath);

// One range [d1, d2] cut out of the kept ranges of a table. A file left without ranges is left
// out; the result may be empty.
std::vector<VideoFileRecord> CutVideoRange(const std::vector<VideoFileRecord>& table, double d1, double d2);

// The ranges to cut that keep exactly the listed ranges of a recording (save mode).
std::vector<VideoRange> RangesOutside(const std::vector<VideoRange>& list, double recordingStart,
                                      double recordingEnd);

// Applies a list to a table in a mode. Save mode first turns the list into the ranges to cut
// (the list is replaced by them). A cut that would leave no file leaves the table as it was.
void SetRangeInfo(RangeEditMode mode, std::vector<VideoFileRecord>& table, std::vector<VideoRange>& list,
                  double recordingStart, double recordingEnd);

// What a new range [start, end] of the "Edit video files" list is checked against.
struct RangeCheckContext {
  RangeEditMode mode = RangeEditMode::Save;
  const std::vector<VideoFileRecord>* table = nullptr;
  const std::vector<VideoRange>* list = nullptr;
  const std::vector<AutoPlayEntry>* autoPlay = nullptr;
  std::string recordingRawPath;
  double recordingStart = 0.0;
  double recordingEnd = 0.0;
};
// 0 when the range may be added, else the id of the message that says why not.
std::uint32_t CheckNewRange(const RangeCheckContext& c, double start, double end);

// The bytes of the set's video files; a file that cannot be read adds nothing. Names are found
// as opening the set finds them.
std::uint64_t VideoSetBytes(const std::vector<VideoFileRecord>& table, const std::string& rangeFilePath);

// Checks an auto-play stretch [start, end] (start <= end) against the open set: both ends must
// lie in kept ranges (the end may be a range's last moment), start and end must differ, and
// ends in different ranges more than 2 s apart need files that follow each other with gaps of
// at most 2 s. 0 when it passes, else the message id.
std::uint32_t CheckAutoPlayStretch(const std::vector<VideoFileRecord>& table, double start, double end);
