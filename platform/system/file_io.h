#pragma once
// Whole-file reading and safe replacement of files. A file that is rewritten is written to a
// new file beside it and renamed into place only when complete, so that a failure at any
// point leaves the previous contents intact.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/file_error.h"

namespace sys {

// The whole file's bytes, or nothing on failure (cause in LastFileError()).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces (or creates) the file with the bytes. An existing read-only file is not replaced
// (accessDenied). The new file keeps the permission bits of the one it replaces.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Streaming form of WriteFileAtomic: Write() any number of times, then Commit(). Abort(), or
// destruction without Commit(), removes the new file and leaves the target untouched.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  explicit AtomicFileWriter(const std::string& targetPath) { Open(targetPath); }
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool Open(const std::string& targetPath);
  bool IsOpen() const { return fd_ >= 0; }
  bool Write(const void* data, std::size_t count);
  bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
  // Flushes the new file and renames it over the target. After a failed write, Commit()
  // fails too, and the target is kept.
  bool Commit();
  void Abort();

  const FileError& LastError() const { return error_; }
  const std::string& TargetPath() const { return target_; }

 private:
  bool Fail(int err, const std::string& path);

  int fd_ = -1;
  bool failed_ = false;
  std::string target_;
  std::string temp_;
  FileError error_;
};

}  // namespace sys
