#include "platform/system/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace sys {

namespace {
const char* CauseText(FileErrorCause c) {
  switch (c) {
    case FileErrorCause::none: return "no error";
    case FileErrorCause::generic: return "file error";
    case FileErrorCause::fileNotFound: return "file not found";
    case FileErrorCause::badPath: return "bad path";
    case FileErrorCause::tooManyOpenFiles: return "too many open files";
    case FileErrorCause::accessDenied: return "access denied";
    case FileErrorCause::invalidFile: return "invalid file";
    case FileErrorCause::removeCurrentDir: return "cannot remove the current folder";
    case FileErrorCause::directoryFull: return "folder full";
    case FileErrorCause::badSeek: return "bad seek";
    case FileErrorCause::hardIO: return "hardware I/O error";
    case FileErrorCause::sharingViolation: return "sharing violation";
    case FileErrorCause::lockViolation: return "lock violation";
    case FileErrorCause::diskFull: return "disk full";
    case FileErrorCause::endOfFile: return "end of file";
  }
  return "file error";
}

thread_local FileError tLastError;
}  // namespace

std::string FileError::Message() const {
  std::string m = CauseText(cause);
  if (!path.empty()) m += ": " + path;
  if (osError != 0) m += std::string(" (") + std::strerror(osError) + ")";
  return m;
}

FileErrorCause CauseFromErrno(int err) {
  switch (err) {
    case 0: return FileErrorCause::none;
    case ENOENT: return FileErrorCause::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EXDEV: return FileErrorCause::badPath;
    case EMFILE:
    case ENFILE: return FileErrorCause::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case ENOTEMPTY: return FileErrorCause::accessDenied;
    case EBADF: return FileErrorCause::invalidFile;
    case EMLINK: return FileErrorCause::directoryFull;
    case ESPIPE:
    case EOVERFLOW: return FileErrorCause::badSeek;
    case EIO: return FileErrorCause::hardIO;
    case EBUSY:
    case ETXTBSY: return FileErrorCause::sharingViolation;
    case EAGAIN:
    case EDEADLK:
    case ENOLCK: return FileErrorCause::lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileErrorCause::diskFull;
    default: return FileErrorCause::generic;
  }
}

FileError MakeFileError(int err, const std::string& path) { return FileError{CauseFromErrno(err), err, path}; }

const FileError& LastFileError() { return tLastError; }
void SetLastFileError(FileError error) { tLastError = std::move(error); }

BinaryFile::~BinaryFile() {
  if (fd_ >= 0) ::close(fd_);
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), error_(std::move(other.error_)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

bool BinaryFile::Fail(int err) {
  error_ = MakeFileError(err, path_);
  SetLastFileError(error_);
  return false;
}

bool BinaryFile::Open(const std::string& path, unsigned flags) {
  if (fd_ >= 0) Close();
  path_ = path;
  error_ = {};
  int oflags = O_CLOEXEC;
  if (flags & kReadWrite)
    oflags |= O_RDWR;
  else if (flags & kWrite)
    oflags |= O_WRONLY;
  else
    oflags |= O_RDONLY;
  if (flags & kCreate) {
    oflags |= O_CREAT;
    if (!(flags & kNoTruncate)) oflags |= O_TRUNC;
    if ((oflags & O_ACCMODE) == O_RDONLY) oflags = (oflags & ~O_ACCMODE) | O_RDWR;
  }
  if (path.empty()) return Fail(ENOENT);
  // The read-only attribute is the owner's write bit: it protects the file from writing
  // also when the program runs with rights that would ignore it.
  struct stat before {};
  if ((oflags & O_ACCMODE) != O_RDONLY && ::stat(path.c_str(), &before) == 0 && S_ISREG(before.st_mode) &&
      (before.st_mode & S_IWUSR) == 0)
    return Fail(EACCES);
  const int fd = ::open(path.c_str(), oflags, 0666);
  if (fd < 0) return Fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return Fail(EACCES);
  }
  fd_ = fd;
  return true;
}

std::size_t BinaryFile::Read(void* buffer, std::size_t count) {
  if (fd_ < 0) {
    Fail(EBADF);
    return 0;
  }
  auto* p = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd_, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
      return done;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool BinaryFile::ReadExact(void* buffer, std::size_t count) {
  const FileError before = error_;
  error_ = {};
  const std::size_t n = Read(buffer, count);
  if (error_.Failed()) return false;
  error_ = before;
  if (n == count) return true;
  error_ = FileError{FileErrorCause::endOfFile, 0, path_};
  SetLastFileError(error_);
  return false;
}

bool BinaryFile::Write(const void* buffer, std::size_t count) {
  if (fd_ < 0) return Fail(EBADF);
  const auto* p = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (n == 0) return Fail(ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool BinaryFile::Seek(std::int64_t offset, SeekFrom from) {
  if (fd_ < 0) return Fail(EBADF);
  const int whence = from == SeekFrom::Begin ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
  if (::lseek(fd_, static_cast<off_t>(offset), whence) < 0) return Fail(errno == EINVAL ? ESPIPE : errno);
  return true;
}

std::uint64_t BinaryFile::Position() const {
  if (fd_ < 0) return 0;
  const off_t p = ::lseek(fd_, 0, SEEK_CUR);
  return p < 0 ? 0 : static_cast<std::uint64_t>(p);
}

std::uint64_t BinaryFile::Length() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

bool BinaryFile::SetLength(std::uint64_t length) {
  if (fd_ < 0) return Fail(EBADF);
  if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) return Fail(errno);
  return true;
}

bool BinaryFile::Flush() {
  if (fd_ < 0) return Fail(EBADF);
  if (::fsync(fd_) != 0 && errno != EINVAL) return Fail(errno);
  return true;
}

bool BinaryFile::Close() {
  if (fd_ < 0) return true;
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) return Fail(errno);
  return true;
}

}  // namespace sys
