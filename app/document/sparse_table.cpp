#include "app/document/sparse_table.h"

#include <new>

#include "app/document/table_memory.h"

bool SparseU32Table::Reset(std::size_t count) {
  Free();
  try {
    tablemem::CheckInjectedFailure();
  } catch (const std::bad_alloc&) {
    return false;
  }
  count_ = count;
  exists_ = true;
  return true;
}

void SparseU32Table::Free() {
  std::vector<std::unique_ptr<std::uint32_t[]>>().swap(blocks_);
  count_ = 0;
  exists_ = false;
}

std::uint32_t SparseU32Table::Get(std::size_t i) const {
  if (i >= count_ || i / kBlockEntries >= blocks_.size()) return 0;
  const auto& block = blocks_[i / kBlockEntries];
  return block ? block[i % kBlockEntries] : 0;
}

bool SparseU32Table::Set(std::size_t i, std::uint32_t value) {
  if (i >= count_) return true;
  const std::size_t b = i / kBlockEntries;
  if (b >= blocks_.size() || !blocks_[b]) {
    if (value == 0) return true;
    try {
      if (b >= blocks_.size()) blocks_.resize(b + 1);
      blocks_[b] = std::make_unique<std::uint32_t[]>(kBlockEntries);  // zeroed
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  auto& block = blocks_[b];
  block[i % kBlockEntries] = value;
  return true;
}

void SparseU32Table::Clear() {
  for (auto& block : blocks_) block.reset();
}

std::size_t SparseU32Table::BytesHeld() const {
  std::size_t n = 0;
  for (const auto& block : blocks_)
    if (block) n += kBlockEntries * sizeof(std::uint32_t);
  return n + blocks_.capacity() * sizeof(blocks_[0]);
}
