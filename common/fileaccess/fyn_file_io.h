#pragma once
// File access of the data-file classes, over the platform's binary files: the readers,
// writers and the editor share the same open/read/write/seek rules and error causes, and a
// rewritten recording is always built beside itself and renamed into place.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace sys {
class BinaryFile;
class AtomicFileWriter;
}  // namespace sys

namespace fyn {

// Error causes reported through GetErrCode, numbered as the system's file errors.
constexpr std::int16_t kCauseNone = 0;
constexpr std::int16_t kCauseGeneric = 1;
constexpr std::int16_t kCauseFileNotFound = 2;
constexpr std::int16_t kCauseAccessDenied = 5;
constexpr std::int16_t kCauseInvalidFile = 6;
constexpr std::int16_t kCauseBadSeek = 9;
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
  FynFile();
  FynFile(const FynFile&) = delete;
  FynFile& operator=(const FynFile&) = delete;
  ~FynFile();

  bool Open(const std::string& path, Mode mode);
  void Close();
  bool IsOpen() const;

  // Reads exactly n bytes at the current position; a short read fails with kCauseEndOfFile.
  bool Read(void* buffer, std::size_t n);
  // Reads exactly n bytes at `offset` (the position moves past them).
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t n);
  bool Write(const void* buffer, std::size_t n);
  bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t n);
  bool Seek(std::uint64_t offset);
  bool SeekToEnd();
  std::uint64_t Position() const;
  bool Length(std::uint64_t* length);

  // Cause of the last failure.
  std::int16_t cause() const;

 private:
  std::unique_ptr<sys::BinaryFile> file_;
  std::int16_t cause_ = kCauseNone;
};

// The new contents of a file, written front to back beside it; Commit renames it over the
// file in one step. Without Commit (or after any failure) the file keeps its old contents.
class FynRebuild {
 public:
  explicit FynRebuild(const std::string& target);
  ~FynRebuild();
  FynRebuild(const FynRebuild&) = delete;
  FynRebuild& operator=(const FynRebuild&) = delete;

  bool IsOpen() const;
  bool Write(const void* buffer, std::size_t n);
  bool Commit();
  void Abort();
  std::int16_t cause() const;

 private:
  std::unique_ptr<sys::AtomicFileWriter> writer_;
};

// Texts are stored in the files in the ANSI code page and held in memory as UTF-8.
// DecodeFileText takes at most `capacity` stored bytes, cut at a character boundary.
std::string DecodeFileText(std::string_view stored, std::size_t capacity);
std::string EncodeFileText(std::string_view text);

}  // namespace fyn
