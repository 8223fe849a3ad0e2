#pragma once
// File access of the data-file classes: one small seam, so that the readers, writers and the
// editor share the same open/read/write/seek rules and error causes, and so that a rewritten
// recording is always written beside itself and renamed into place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fyn {

// Error causes reported through GetErrCode, numbered as the system's file errors.
constexpr std::int16_t kCauseNone = 0;
constexpr std::int16_t kCauseGeneric = 1;
constexpr std::int16_t kCauseFileNotFound = 2;
constexpr std::int16_t kCauseBadPath = 3;
constexpr std::int16_t kCauseTooManyOpenFiles = 4;
constexpr std::int16_t kCauseAccessDenied = 5;
constexpr std::int16_t kCauseInvalidFile = 6;
constexpr std::int16_t kCauseBadSeek = 9;
constexpr std::int16_t kCauseHardIO = 10;
constexpr std::int16_t kCauseDiskFull = 13;
constexpr std::int16_t kCauseEndOfFile = 14;

// A file opened for one call and closed again (by Close or the destructor).
class FynFile {
 public:
  enum class Mode {
    Read,    // existing file, read only
    Write,   // existing file, read and write, not truncated
    Create,  // created or emptied, read and write
  };
  FynFile() = default;
  FynFile(const FynFile&) = delete;
  FynFile& operator=(const FynFile&) = delete;
  ~FynFile();

  bool Open(const std::string& path, Mode mode);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Reads exactly n bytes at the current position; a short read fails with kCauseEndOfFile.
  bool Read(void* buffer, std::size_t n);
  // Reads exactly n bytes at `offset` (the position moves past them).
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t n);
  bool Write(const void* buffer, std::size_t n);
  bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t n);
  bool Seek(std::uint64_t offset);
  bool SeekToEnd();
  std::uint64_t Position() const { return pos_; }
  bool Length(std::uint64_t* length);
  // Flushes the written bytes to the disk.
  bool Sync();

  // Cause of the last failure.
  std::int16_t cause() const { return cause_; }

 private:
  bool Fail(int err);
  int fd_ = -1;
  std::uint64_t pos_ = 0;
  std::int16_t cause_ = kCauseNone;
};

// Creates an empty file named "TMP..." in the folder of `target`, for a rebuilt copy of it.
bool CreateTempBeside(const std::string& target, FynFile& file, std::string* tempPath,
                      std::int16_t* cause);
// Moves the finished temporary file over `target` in one step, keeping the target's
// permission bits; on failure `target` is unchanged and the temporary file is removed.
bool ReplaceWithTemp(const std::string& tempPath, const std::string& target, std::int16_t* cause);
void RemoveFile(const std::string& path);

// Texts are stored in the files in the ANSI code page and held in memory as UTF-8.
// DecodeFileText takes at most `capacity` stored bytes, cut at a character boundary.
std::string DecodeFileText(std::string_view stored, std::size_t capacity);
std::string EncodeFileText(std::string_view text);

}  // namespace fyn
