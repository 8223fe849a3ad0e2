#include "common/fileaccess/fyn_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace fyn {

namespace {

std::int16_t CauseOf(int err) {
  switch (err) {
    case ENOENT:
      return kCauseFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
      return kCauseBadPath;
    case EMFILE:
    case ENFILE:
      return kCauseTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return kCauseAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kCauseDiskFull;
    case EIO:
      return kCauseHardIO;
    default:
      return kCauseGeneric;
  }
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

FynFile::~FynFile() { Close(); }

bool FynFile::Fail(int err) {
  cause_ = CauseOf(err);
  return false;
}

bool FynFile::Open(const std::string& path, Mode mode) {
  Close();
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::Read:
      flags |= O_RDONLY;
      break;
    case Mode::Write:
      flags |= O_RDWR;
      break;
    case Mode::Create:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
  }
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return Fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int err = errno ? errno : EISDIR;
    ::close(fd);
    return Fail(S_ISDIR(st.st_mode) ? EISDIR : err);
  }
  fd_ = fd;
  pos_ = 0;
  return true;
}

void FynFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pos_ = 0;
}

bool FynFile::Read(void* buffer, std::size_t n) {
  if (fd_ < 0) return Fail(EBADF);
  auto* p = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, p + done, n - done, static_cast<off_t>(pos_ + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (got == 0) {
      cause_ = kCauseEndOfFile;
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  pos_ += n;
  return true;
}

bool FynFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t n) {
  return Seek(offset) && Read(buffer, n);
}

bool FynFile::Write(const void* buffer, std::size_t n) {
  if (fd_ < 0) return Fail(EBADF);
  const auto* p = static_cast<const unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t put = ::pwrite(fd_, p + done, n - done, static_cast<off_t>(pos_ + done));
    if (put < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (put == 0) return Fail(ENOSPC);
    done += static_cast<std::size_t>(put);
  }
  pos_ += n;
  return true;
}

bool FynFile::WriteAt(std::uint64_t offset, const void* buffer, std::size_t n) {
  return Seek(offset) && Write(buffer, n);
}

bool FynFile::Seek(std::uint64_t offset) {
  if (fd_ < 0) return Fail(EBADF);
  if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
    cause_ = kCauseBadSeek;
    return false;
  }
  pos_ = offset;
  return true;
}

bool FynFile::SeekToEnd() {
  std::uint64_t len = 0;
  if (!Length(&len)) return false;
  pos_ = len;
  return true;
}

bool FynFile::Length(std::uint64_t* length) {
  if (fd_ < 0) return Fail(EBADF);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return Fail(errno);
  *length = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool FynFile::Sync() {
  if (fd_ < 0) return Fail(EBADF);
  if (::fsync(fd_) != 0) return Fail(errno);
  return true;
}

bool CreateTempBeside(const std::string& target, FynFile& file, std::string* tempPath,
                      std::int16_t* cause) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    char name[80];
    std::snprintf(name, sizeof name, "/TMP%ld_%u_%llx.tmp", static_cast<long>(::getpid()),
                  counter.fetch_add(1), static_cast<unsigned long long>(tick) & 0xFFFFFF);
    const std::string path = folder + name;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      *cause = CauseOf(errno);
      return false;
    }
    ::close(fd);
    if (!file.Open(path, FynFile::Mode::Write)) {
      *cause = file.cause();
      ::unlink(path.c_str());
      return false;
    }
    *tempPath = path;
    return true;
  }
  *cause = kCauseGeneric;
  return false;
}

bool ReplaceWithTemp(const std::string& tempPath, const std::string& target, std::int16_t* cause) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) ::chmod(tempPath.c_str(), st.st_mode & 07777);
  if (::rename(tempPath.c_str(), target.c_str()) != 0) {
    *cause = CauseOf(errno);
    ::unlink(tempPath.c_str());
    return false;
  }
  return true;
}

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

std::string DecodeFileText(std::string_view stored, std::size_t capacity) {
  if (stored.size() > capacity) stored = stored.substr(0, capacity);
  return std::string(stored);
}

std::string EncodeFileText(std::string_view text) { return std::string(text); }

}  // namespace fyn
