#pragma once
// A table of 32-bit entries that reads as zero-filled from the start but only holds
// memory for the blocks up to the last one written. Used for tables whose size is
// set by the page length while far fewer entries are used (filled from the front or
// here and there).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class SparseU32Table {
 public:
  static constexpr std::size_t kBlockEntries = 1024;

  // Makes a table of count zero entries. Returns false, with the table absent, when
  // memory runs out.
  bool Reset(std::size_t count);
  void Free();

  bool Exists() const { return exists_; }
  std::size_t Count() const { return count_; }
  // Entry i; 0 for an entry never written or beyond the table.
  std::uint32_t Get(std::size_t i) const;
  // Writes entry i; ignored beyond the table. Returns false when the block that
  // holds it cannot be made.
  bool Set(std::size_t i, std::uint32_t value);
  // Sets every entry back to 0.
  void Clear();
  // Bytes held by the blocks written so far.
  std::size_t BytesHeld() const;

 private:
  bool exists_ = false;
  std::size_t count_ = 0;
  std::vector<std::unique_ptr<std::uint32_t[]>> blocks_;
};
