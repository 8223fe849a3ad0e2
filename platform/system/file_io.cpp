#include "platform/system/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "platform/system/binary_file.h"

namespace sys {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  BinaryFile f;
  if (!f.Open(path, BinaryFile::kRead)) return std::nullopt;
  std::string out;
  out.resize(static_cast<std::size_t>(f.Length()));
  const std::size_t n = f.Read(out.data(), out.size());
  if (f.LastError().Failed()) return std::nullopt;
  out.resize(n);
  // The file may have grown since its length was taken.
  char buf[65536];
  for (std::size_t m; (m = f.Read(buf, sizeof buf)) > 0;) out.append(buf, m);
  if (f.LastError().Failed()) return std::nullopt;
  return out;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
  AtomicFileWriter w;
  if (!w.Open(path)) return false;
  if (!w.Write(bytes)) return false;
  return w.Commit();
}

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

bool AtomicFileWriter::Fail(int err, const std::string& path) {
  failed_ = true;
  error_ = MakeFileError(err, path);
  SetLastFileError(error_);
  return false;
}

bool AtomicFileWriter::Open(const std::string& targetPath) {
  Abort();
  target_ = targetPath;
  failed_ = false;
  error_ = {};
  if (targetPath.empty()) return Fail(ENOENT, targetPath);
  // A link is followed, so that the file it points to is replaced and the link kept.
  struct stat lst {};
  if (::lstat(targetPath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    char* real = ::realpath(targetPath.c_str(), nullptr);
    if (real != nullptr) {
      target_ = real;
      std::free(real);
    }
  }

  struct stat st {};
  mode_t mode = 0;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR, target_);
    // A read-only file is protected: it is not replaced behind the user's back.
    // The read-only attribute is the owner's write bit, whoever runs the program.
    if ((st.st_mode & S_IWUSR) == 0 || ::access(target_.c_str(), W_OK) != 0) return Fail(EACCES, target_);
    mode = st.st_mode & 07777;
  }

  const std::size_t slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  // New files get the usual permissions (0666 less the umask) from open(); a replaced
  // file's own permission bits are copied onto its successor.
  static std::atomic<unsigned> counter{0};
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp_ = folder + "." + name + "." + std::to_string(::getpid()) + "-" +
            std::to_string(counter.fetch_add(1)) + ".tmp";
    fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int err = errno;
    temp_.clear();
    return Fail(err, target_);
  }
  if (exists) ::fchmod(fd, mode);
  fd_ = fd;
  return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t count) {
  if (fd_ < 0) return Fail(EBADF, target_);
  if (failed_) return false;
  const auto* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(errno, target_);
    }
    if (n == 0) return Fail(ENOSPC, target_);
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFileWriter::Commit() {
  if (fd_ < 0) return Fail(EBADF, target_);
  if (failed_) {
    Abort();
    return false;
  }
  if (::fsync(fd_) != 0 && errno != EINVAL) {
    const int err = errno;
    Abort();
    return Fail(err, target_);
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) {
    const int err = errno;
    ::unlink(temp_.c_str());
    temp_.clear();
    return Fail(err, target_);
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    temp_.clear();
    return Fail(err, target_);
  }
  temp_.clear();
  // Make the rename itself durable: a power cut must not bring the old file back.
  const std::size_t slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target_.substr(0, slash));
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

void AtomicFileWriter::Abort() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

}  // namespace sys
