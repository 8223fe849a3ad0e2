#pragma once
// Causes of file failures, numbered as the system's file errors are numbered, so that a
// reader can keep the cause for its caller (2 file not found, 5 access denied, 13 disk full,
// 14 end of file ...), with the operating system's errno kept beside it.
#include <string>

namespace sys {

enum class FileErrorCause : int {
  none = 0,
  generic = 1,
  fileNotFound = 2,
  badPath = 3,
  tooManyOpenFiles = 4,
  accessDenied = 5,
  invalidFile = 6,
  removeCurrentDir = 7,
  directoryFull = 8,
  badSeek = 9,
  hardIO = 10,
  sharingViolation = 11,
  lockViolation = 12,
  diskFull = 13,
  endOfFile = 14,
};

struct FileError {
  FileErrorCause cause = FileErrorCause::none;
  int osError = 0;   // errno of the failing call, 0 when the failure was not the system's
  std::string path;  // the file concerned, when known

  bool Failed() const { return cause != FileErrorCause::none; }
  // English description for logs and messages: "access denied: /data/a.fyd (Permission denied)".
  std::string Message() const;
};

// Maps an errno value to the cause (ENOENT -> fileNotFound, EACCES -> accessDenied, ...).
FileErrorCause CauseFromErrno(int err);
FileError MakeFileError(int err, const std::string& path);

// Last failure of the free file functions of this layer (file_system.h, file_io.h) on the
// calling thread; set by every failing call, never cleared by a successful one.
const FileError& LastFileError();
void SetLastFileError(FileError error);

}  // namespace sys
