#pragma once
// The controller of a video recorded with the subject: binds the video player library beside
// the program, keeps the table of the video files that cover the recording (the video set)
// with the play ranges of each file, maps a time of the recording to a file and a frame, and
// shows, plays, stops and steps, passing from one play range to the next. It keeps the
// auto-play list (AutoPlay.inf beside the program) that the command line's "/AutoPlay /n"
// plays from. One controller exists; the workspace window holds it.
//
// Times are seconds on the video clock: the start offset of the recording's fastest channel
// plus the seconds from the recording's start. Positions inside a file are seconds from the
// file's start or frame numbers of the library.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
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
  double endTime = 0.0;    // negative in a range file: length still to be measured
  std::string name;        // 256 bytes stored: a full path, or "<set folder>/<file>"
  std::vector<std::pair<double, double>> ranges;
};

inline constexpr std::size_t kAutoPlayEntryBytesV2 = 694;
inline constexpr std::size_t kAutoPlayEntryBytesV1 = 720;
inline constexpr std::size_t kRangeRecordBytes = 276;

// File name of the video player library beside the program.
inline constexpr const char* kVideoPlayerLibraryName = "QXVideoPlayerDX.so";

// What the controller asks of the windows around it: the video window's panes, the main
// frame's flags and the document's words. Every call has a harmless default, so that the
// controller works (for the set and its files) before a video window exists.
class CVPHost {
 public:
  virtual ~CVPHost() = default;
  // Plain-C handles (QlmNativeWindow) of the video frame window, which receives the library's
  // notifications, and of the surface pane the picture is drawn in; null while none.
  virtual void* FrameWindowHandle() { return nullptr; }
  virtual void* SurfaceWindowHandle() { return nullptr; }
  virtual void SurfaceClientSize(int& width, int& height) { width = height = 0; }
  virtual void SetSurfaceRedraw(bool /*on*/) {}
  // WM_SIZE to the surface, invalidate with erase, update.
  virtual void RefreshSurface() {}
  // Shows the surface pane and hides the still picture.
  virtual void ShowSurfacePane() {}
  // The surface's no-picture state: it fills itself blue (the picture is hidden already).
  virtual void ShowNoPicture() {}
  // LyrWorkspaceVideoBaseView::ShowVideoOrStill.
  virtual void RefreshPanes() {}
  virtual void UpdateLocationBar() {}
  virtual void ShowTime(int /*force*/) {}
  // The video frame's playing flag and its play/stop toggle (which calls Play or Stop).
  virtual bool IsPlaying() { return false; }
  virtual void SetPlayingFlag(bool /*playing*/) {}
  virtual void TogglePlaying() {}
  // The workspace frame's video-showing flag.
  virtual bool VideoShowing() { return true; }
  virtual void SetVideoShowing(bool /*showing*/) {}
  // The main frame's video-synchronised flag and the wave move to e seconds from the start.
  virtual bool VideoSynchronised() { return false; }
  virtual void SetVideoSynchronised(bool /*on*/) {}
  virtual void SyncWaveToVideo(double /*seconds*/) {}
  // The document's split words: kind (0 whole, 1 four, 2 nine), column, row.
  virtual std::array<std::uint16_t, 3> SplitWords() { return {0, 0, 0}; }
  virtual void SetSplitWords(const std::array<std::uint16_t, 3>& /*words*/) {}
  // The fastest channel's start offset (seconds) and rate, the recording's length in whole
  // epochs (seconds) and the epoch length.
  virtual double RecordingStartOffset() { return 0.0; }
  virtual double HighestSamplingRate() { return 1.0; }
  virtual double RecordingSeconds() { return 0.0; }
  virtual double EpochSeconds() { return 30.0; }
  // The main frame's video name: the range file of the set to open.
  virtual std::string VideoName() { return {}; }
  virtual void ClearVideoName() {}
  // The auto-play information dialog with the entry's line selected (the run has ended).
  virtual void ShowAutoPlayDialog(int /*entry*/) {}
  // The wait dialog while the lengths of the set's files are read (string 2426).
  virtual void BeginWait(int /*count*/) {}
  virtual void StepWait(int /*index*/) {}
  virtual void EndWait() {}
  virtual void SetWaitCursor(bool /*on*/) {}
  // The surface's client rectangle on the screen, and the surface placed at a screen
  // rectangle (the stored window rectangle applied).
  virtual std::array<int, 4> SurfaceScreenRect() { return {0, 0, 0, 0}; }
  virtual void PlaceSurface(const std::array<int, 4>& /*screenRect*/) {}
};

// A playback build's placement of the surface from the stored window rectangle (left, top,
// right, bottom; relative to the surface; all zero = none): a stored left or top below 0 or
// beyond the screen is 0 first, then the rectangle moves to the surface's place on the screen.
std::array<std::int32_t, 4> AppliedWindowRect(const std::array<std::int32_t, 4>& stored, int surfaceLeft,
                                              int surfaceTop, int screenWidth, int screenHeight);
// A rectangle past both the screen's right and bottom edge ends one pixel inside it.
std::array<std::int32_t, 4> KeepWindowRectOnScreen(const std::array<std::int32_t, 4>& r, int screenWidth,
                                                   int screenHeight);

class CVPInfoExchange {
 public:
  CVPInfoExchange() = default;
  virtual ~CVPInfoExchange();
  CVPInfoExchange(const CVPInfoExchange&) = delete;
  CVPInfoExchange& operator=(const CVPInfoExchange&) = delete;

  // ---- Binding ----
  // Binds the library beside the program and reads the auto-play list. 1 when bound; 0 after
  // message 2470 when it cannot be loaded.
  int LoadVideoDll();
  // Binds a library at a path (tests, and a library placed elsewhere).
  int LoadVideoDllFrom(const std::string& path);
  // Binds a table of entry points instead of a library (tests drive the controller so).
  void BindEntryPoints(const VideoPlayerEntryPoints& entryPoints);
  // Releases the player and the library; frees the video table and the auto-play list.
  void UnloadVideoDll();
  // The library's initialisation; 0 (after message 2470) when it fails or nothing is bound.
  int InitVideoDll();
  bool IsBound() const { return bound_ != 0; }
  // Whether the library file exists beside the program.
  static bool LibraryExists();

  // ---- Auto-play list ----
  // Reads AutoPlay.inf: 1 when the list was read, else 0 with an empty list.
  int ReadAutoPlayFile();
  // Writes the list (an empty list deletes the file). False when the file could not be written;
  // the old file is then left as it was.
  bool WriteAutoPlayFile();
  static std::string AutoPlayFilePath();
  // The result of reading the list when the library was bound.
  int AutoPlayFileRead() const { return autoPlayRead_; }
  // Plays the active auto-play entry from its start.
  void PlayAutoPlayEntry();

  // ---- Video set and playback ----
  // Opens the video set in the player (reload: the range file first): 1 when bound.
  int OpenVideo(int reload);
  // Makes a one-file video set of the chosen file. 1 when the library measured its length.
  int LoadVideoFileTable(const std::string& path);
  // Reads the range file at RangeFilePath(): 1 when read (lengths still to measure are
  // measured and the file is rewritten).
  int LoadRangeFile();
  void ShowVideoAtTime(double t);
  // After a result file was opened: the recording's start, or the next play range.
  int RepositionAfterResultOpen();
  void Play();
  void Stop();
  // direction 5: one frame forward; other values: one frame back.
  void StepFrame(std::int16_t direction);
  void OnPlayTimer();
  void OnPlayerNotify(std::uint32_t message);
  // The surface pane's drawing: the picture through the library with the split words.
  void PaintVideo(void* dcHandle);
  void SetVideoWindowPosition();
  void ShowVideo(int show);
  double GetFrameDuration();
  int GetPlayerPosition(std::int64_t& frame, double& seconds);
  // mode 0 containing, 1 next, 2 previous range of t, clamped to the limits. 1 with the
  // stretch (video clock) in start and end, else 0.
  int FindPlayRange(std::int16_t mode, double t, double& start, double& end);
  // Index of the record that shows t, -1 when none.
  int FindVideoFileIndex(double t) const;
  // mode 2 play from here, 0 one frame forward, 1 one frame back.
  int SetPlayPositions(int mode);

  // ---- Play ranges and video file output ----
  // Writes the edited play ranges of the open set and removes the video files no record keeps.
  // 1 when written; 0 after message 2371 (nothing deleted then).
  int SaveEditedRanges();
  // Shifts the set by the synchronised start and writes its range file into the recording's
  // set folder ("<folder>/<name>/<name>.hdr"). 1 when written, 0 when it could not be.
  int SaveRangeFile(double shift, const std::string& recordingPath);
  // Copies the video files that cover [firstEpochTime, lastEpochTime + epoch] into a set
  // beside the output file. 1 when bound, else 0.
  int OutputVideoFile(const std::string& outputPath, double firstEpochTime, double lastEpochTime);
  // Free bytes of the file system holding a path (a test may stand in for the query).
  std::function<std::optional<std::uint64_t>(const std::string&)> FreeSpaceQuery;

  // The range file of a recording's video set: "<folder>/<name>/<name>.hdr".
  static std::string RangeFilePathFor(const std::string& recordingPath);
  // The file a record names: its name when it is a full path, else the folder that holds the
  // set folder + "/" + the name.
  std::string ResolveRecordPath(const VideoFileRecord& r) const;
  static std::string ResolveRecordPath(const VideoFileRecord& r, const std::string& rangeFilePath);

  const std::vector<VideoFileRecord>& Records() const { return records_; }
  std::vector<VideoFileRecord>& EditRecords() { return records_; }
  void SetRecords(std::vector<VideoFileRecord> records) { records_ = std::move(records); }
  std::int16_t SetWord() const { return setWord_; }
  void SetSetWord(std::int16_t w) { setWord_ = w; }
  const std::string& RangeFilePath() const { return rangeFilePath_; }
  void SetRangeFilePath(std::string path) { rangeFilePath_ = std::move(path); }
  // Whether a video set is open in a bound player.
  bool IsVideoAttached() const { return bound_ != 0 && OpenState != 0; }

  // The windows around the controller (null: none yet).
  CVPHost* Host = nullptr;
  // Told when the library is bound (true) or released (false); the main frame keeps the
  // module state and empties its video name on release.
  std::function<void(bool)> BindingChanged;

  // Recording start and end on the video clock (OpenVideo takes them from the host).
  double AnalysisStartSeconds = 0.0;
  double AnalysisEndSeconds = 0.0;
  double CurrentTime = 0.0;
  std::int32_t CurrentFile = -1;
  std::int16_t PlayMode = 0;
  std::int32_t PictureWidth = 0;
  std::int32_t PictureHeight = 0;
  std::int32_t RateCode = 2;
  // The surface's placement kept across playback builds (all zero: none), and where it was
  // last applied on the screen.
  std::array<std::int32_t, 4> StoredWindowRect{};
  std::array<std::int32_t, 4> AppliedRect{};
  std::int16_t Continuing = 0;
  std::int32_t RangeFileWritten = 0;

  std::int16_t AutoPlayRunning = 0;
  std::int16_t ActiveAutoPlayEntry = -1;
  std::vector<AutoPlayEntry> AutoPlayEntries;
  // 16-bit open-state word: non-zero while a video set is open in the player.
  std::uint16_t OpenState = 0;

 private:
  void BindByName();
  CVPHost& H();
  int OpenFileAt(double t);
  // Frame of a time in the open file, and the time of a frame.
  std::int64_t FrameOf(double seconds);
  double TimeOf(std::int64_t frame);
  bool UpdateTimeFromPlayer();
  void NoPicture();
  void SyncWave(double seconds);
  void ReopenPlayer();
  void RemoveCutFiles();
  bool WriteRanges(const std::vector<VideoFileRecord>& records, const std::string& path, bool relocate);
  bool CheckDiskSpace(const std::vector<VideoFileRecord>& records, const std::string& sourceRangeFile,
                      const std::string& outputRangeFile);
  void CopySet(const std::vector<VideoFileRecord>& records, const std::string& sourceRangeFile,
               const std::string& outputRangeFile);

  std::vector<VideoFileRecord> records_;
  std::int16_t setWord_ = 1;
  std::string rangeFilePath_;
  sys::DynamicLibrary library_;
  VideoPlayerEntryPoints dll_;
  int bound_ = 0;
  int autoPlayRead_ = 0;
};

// ---- Stored forms ----
// Range file: version 2 with the set word, the records and their play ranges.
std::string EncodeRangeFile(std::int16_t setWord, const std::vector<VideoFileRecord>& records);
// Reads versions 1 and 2. False for another version, a negative set word, no records, or a
// body that runs past the bytes (counts are bounded by the bytes left; names end at their
// field). A version-1 set word reads as 0.
bool DecodeRangeFile(std::string_view bytes, std::int16_t& setWord, std::vector<VideoFileRecord>& records);
// The stored forms of the auto-play list.
std::string EncodeAutoPlayList(const std::vector<AutoPlayEntry>& entries);
// False for an unknown version, a negative count or a short file.
bool DecodeAutoPlayList(std::string_view bytes, std::vector<AutoPlayEntry>& entries);

// "%.3fGB", "%.3fMB", "%.3fKB" or "%.3fB" of a byte count.
std::string VideoSizeText(std::uint64_t bytes);
// Closed intervals [a1, a2] and [b1, b2] meet.
int RangesOverlap(double a1, double a2, double b1, double b2);
// Appends a play range to a record; returns 1.
int AddEffectiveRangeInfo(VideoFileRecord& record, double begin, double end);
// A set whose lengths were just measured: each file but the last that runs past the next
// one's start ends there, and so does its last play range.
void TrimOverlappingFiles(std::vector<VideoFileRecord>& records);
