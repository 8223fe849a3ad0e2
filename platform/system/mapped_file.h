#pragma once
// A file mapped into memory for reading and writing: changes to the view reach the file.
#include <cstddef>
#include <cstdint>
#include <string>

namespace sys {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps an existing file whole, writable. False when it cannot be opened, is empty or
  // cannot be mapped.
  bool Open(const std::string& path);
  // Creates the file (replacing one that exists) with `size` zero bytes and maps it.
  bool Create(const std::string& path, std::size_t size);
  // Unmaps the view and closes the file (changes are kept).
  void Close();

  bool IsOpen() const { return data_ != nullptr; }
  std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  bool MapOpenFile();
  int fd_ = -1;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace sys
