#pragma once
// A binary file opened for reading and/or writing. Every failing call returns false (or a
// short count) and keeps the cause in LastError(); nothing throws.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system/file_error.h"

namespace sys {

class BinaryFile {
 public:
  // Open flags, combined with |. Numbered as the framework's file modes.
  static constexpr unsigned kRead = 0x0000;
  static constexpr unsigned kWrite = 0x0001;
  static constexpr unsigned kReadWrite = 0x0002;
  static constexpr unsigned kCreate = 0x1000;      // create, truncating an existing file
  static constexpr unsigned kNoTruncate = 0x2000;  // with kCreate: keep an existing file

  enum class SeekFrom { Begin, Current, End };

  BinaryFile() = default;
  ~BinaryFile();
  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&& other) noexcept;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  bool Open(const std::string& path, unsigned flags);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

  // Reads up to `count` bytes; returns how many were read (fewer only at the end of the
  // file, 0 also on failure, which sets LastError()).
  std::size_t Read(void* buffer, std::size_t count);
  // Reads exactly `count` bytes; a short read fails with endOfFile.
  bool ReadExact(void* buffer, std::size_t count);
  // Writes all `count` bytes (diskFull when the medium is full).
  bool Write(const void* buffer, std::size_t count);

  // Moves the position; a position before the start fails with badSeek. Positions past the
  // end are allowed (a later write extends the file).
  bool Seek(std::int64_t offset, SeekFrom from = SeekFrom::Begin);
  bool SeekToEnd() { return Seek(0, SeekFrom::End); }
  std::uint64_t Position() const;
  std::uint64_t Length() const;
  bool SetLength(std::uint64_t length);
  bool Flush();  // to the medium
  // Closes the file; reports a failure of the final write-back.
  bool Close();

  const FileError& LastError() const { return error_; }

 private:
  bool Fail(int err);

  int fd_ = -1;
  std::string path_;
  FileError error_;
};

}  // namespace sys
