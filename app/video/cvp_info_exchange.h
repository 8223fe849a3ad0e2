#pragma once
// The controller of a video recorded with the subject: binds the video player library beside
// the program and keeps the auto-play list (AutoPlay.inf beside the program) that the
// command line's "/AutoPlay /n" plays from. One controller exists; the workspace window
// holds it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/video/video_player_abi.h"
#include "platform/system/dynamic_library.h"

// One stretch of a recording to replay, video and waves together.
struct AutoPlayEntry {
  std::string rawPath;     // 260 bytes stored
  std::string resultPath;  // 260 bytes stored; empty = none
  double startTime = 0.0;  // video clock
  double endTime = 0.0;
  std::string comment;  // 128 bytes stored
  std::uint16_t splitKind = 0;
  std::uint16_t splitColumn = 0;
  std::uint16_t splitRow = 0;
  // Year, month, day of week, day, hour, minute, second, millisecond.
  std::array<std::uint16_t, 8> recordingStart{};
  double recordingOffset = 0.0;
};

// One video file of a video set with its play ranges (seconds from the file's start).
struct VideoFileRecord {
  double startTime = 0.0;  // video clock
  double endTime = 0.0;
  std::string name;  // 256 bytes stored
  std::vector<std::pair<double, double>> ranges;
};

inline constexpr std::size_t kAutoPlayEntryBytesV2 = 694;
inline constexpr std::size_t kAutoPlayEntryBytesV1 = 720;

// File name of the video player library beside the program.
inline constexpr const char* kVideoPlayerLibraryName = "QXVideoPlayerDX.so";

class CVPInfoExchange {
 public:
  CVPInfoExchange() = default;
  virtual ~CVPInfoExchange();
  CVPInfoExchange(const CVPInfoExchange&) = delete;
  CVPInfoExchange& operator=(const CVPInfoExchange&) = delete;

  // Binds the library beside the program and reads the auto-play list. 1 when bound; 0 after
  // message 2470 when it cannot be loaded.
  int LoadVideoDll();
  // Releases the player and the library; frees the video table and the auto-play list.
  void UnloadVideoDll();
  // The library's initialisation; 0 (after message 2470) when it fails or nothing is bound.
  int InitVideoDll();
  bool IsBound() const { return bound_ != 0; }
  // Whether the library file exists beside the program.
  static bool LibraryExists();

  // Reads AutoPlay.inf: 1 when the list was read, else 0 with an empty list.
  int ReadAutoPlayFile();
  // Writes the list (an empty list deletes the file). False when the file could not be written;
  // the old file is then left as it was.
  bool WriteAutoPlayFile();
  static std::string AutoPlayFilePath();
  // The result of reading the list when the library was bound.
  int AutoPlayFileRead() const { return autoPlayRead_; }

  // Stops playback.
  void Stop();
  // Writes the edited play ranges of the open video set.
  void SaveEditedRanges() {}
  // Makes a one-file video set of the chosen file. 1 when the library measured its length.
  int LoadVideoFileTable(const std::string& path);
  // Opens the video set in the player: 1 when bound, 0 when unbound.
  int OpenVideo(int reload);
  // Shifts the set by the synchronised start and writes its range file into the recording's
  // set folder ("<folder>/<name>/<name>.hdr"). 1 when written, 0 when it could not be.
  int SaveRangeFile(double shift, const std::string& recordingPath);
  // The range file of a recording's video set: "<folder>/<name>/<name>.hdr".
  static std::string RangeFilePathFor(const std::string& recordingPath);
  const std::vector<VideoFileRecord>& Records() const { return records_; }
  // Whether a video set is open in a bound player.
  bool IsVideoAttached() const { return bound_ != 0 && OpenState != 0; }
  // Moves the open video to the start of the analysed span (frames of the file that holds
  // that time, up to the span's end). 1 when the player was positioned, 0 without a bound
  // player, an open set or a file that holds the start.
  int RepositionAfterResultOpen();
  // The analysed span of the recording on the video clock, in seconds.
  double AnalysisStartSeconds = 0.0;
  double AnalysisEndSeconds = 0.0;
  const std::string& RangeFilePath() const { return rangeFilePath_; }

  // Told when the library is bound (true) or released (false); the main frame keeps the
  // module state and empties its video name on release.
  std::function<void(bool)> BindingChanged;
  // The video frame window handed to the player (native handle; may be null).
  void* VideoFrameWindow = nullptr;

  std::int16_t AutoPlayRunning = 0;
  std::int16_t ActiveAutoPlayEntry = -1;
  std::vector<AutoPlayEntry> AutoPlayEntries;
  // 16-bit open-state word: non-zero while a video set is open in the player.
  std::uint16_t OpenState = 0;

 private:
  bool BindEntryPoints();

  std::vector<VideoFileRecord> records_;
  std::int16_t setWord_ = 1;
  std::string rangeFilePath_;
  int rangeFileWritten_ = 0;
  sys::DynamicLibrary library_;
  VideoPlayerEntryPoints dll_;
  int bound_ = 0;
  int autoPlayRead_ = 0;
};

// The stored form of a range file (version 2).
std::string EncodeRangeFile(std::int16_t setWord, const std::vector<VideoFileRecord>& records);

// The stored forms of the auto-play list (exposed for tests of the layout).
std::string EncodeAutoPlayList(const std::vector<AutoPlayEntry>& entries);
// False for an unknown version, a negative count or a short file.
bool DecodeAutoPlayList(std::string_view bytes, std::vector<AutoPlayEntry>& entries);
