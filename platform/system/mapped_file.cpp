#include "platform/system/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

MappedFile::~MappedFile() { Close(); }

bool MappedFile::MapOpenFile() {
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || st.st_size <= 0) return false;
  void* view = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (view == MAP_FAILED) return false;
  data_ = static_cast<std::uint8_t*>(view);
  size_ = static_cast<std::size_t>(st.st_size);
  return true;
}

bool MappedFile::Open(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0 || !MapOpenFile()) {
    Close();
    return false;
  }
  return true;
}

bool MappedFile::Create(const std::string& path, std::size_t size) {
  Close();
  if (size == 0) return false;
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0 || !MapOpenFile()) {
    Close();
    return false;
  }
  return true;
}

void MappedFile::Close() {
  if (data_ != nullptr) ::munmap(data_, size_);
  if (fd_ >= 0) ::close(fd_);
  data_ = nullptr;
  size_ = 0;
  fd_ = -1;
}

}  // namespace sys
