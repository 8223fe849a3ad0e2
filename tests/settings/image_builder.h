#pragma once
// Builds expected byte images field by field at the offsets of a stored layout, independently
// of the code under test, so that a golden image follows the layout tables and not the code.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ImageBuilder {
 public:
  explicit ImageBuilder(std::size_t size) : bytes_(size, 0) {}

  template <class T>
  ImageBuilder& At(std::size_t offset, T value) {
    EXPECT_LE(offset + sizeof(T), bytes_.size()) << "field at " << offset << " outside the image";
    if (offset + sizeof(T) <= bytes_.size()) std::memcpy(bytes_.data() + offset, &value, sizeof(T));
    return *this;
  }
  // `count` values of T, `stride` bytes apart (default: packed).
  template <class T>
  ImageBuilder& Repeat(std::size_t offset, std::size_t count, T value, std::size_t stride = sizeof(T)) {
    for (std::size_t i = 0; i < count; ++i) At<T>(offset + i * stride, value);
    return *this;
  }
  ImageBuilder& Text(std::size_t offset, const std::string& text) {
    std::memcpy(bytes_.data() + offset, text.data(), text.size());
    return *this;
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Compares two images and names the first differing offsets.
inline ::testing::AssertionResult SameBytes(const std::vector<std::uint8_t>& expected,
                                            const std::vector<std::uint8_t>& actual) {
  if (expected.size() != actual.size())
    return ::testing::AssertionFailure() << "size: expected " << expected.size() << ", got " << actual.size();
  std::string diffs;
  int n = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] == actual[i]) continue;
    if (n++ < 8)
      diffs += " @" + std::to_string(i) + ": expected " + std::to_string(expected[i]) + " got " +
               std::to_string(actual[i]) + ";";
  }
  if (n == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << n << " bytes differ:" << diffs;
}

template <class Block>
std::vector<std::uint8_t> StoredImage(const Block& block) {
  std::vector<std::uint8_t> image(Block::kSize);
  block.Store(std::span<std::uint8_t, Block::kSize>(image.data(), Block::kSize));
  return image;
}
