#pragma once
// Little-endian decoding and encoding of the block data file's fields.
// Every stored field goes through ByteReader (bounded: it never reads past its span and
// remembers the first overrun) or ByteWriter; no raw buffer is ever cast to a record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fyn {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const unsigned char> bytes) : data_(bytes) {}

  // False once any read asked for more bytes than were left; reads then yield zeros.
  bool ok() const { return ok_; }
  std::size_t pos() const { return pos_; }
  std::size_t size() const { return data_.size(); }
  std::size_t left() const { return ok_ ? data_.size() - pos_ : 0; }

  std::uint16_t U16() {
    unsigned char b[2] = {};
    Take(b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  }
  std::uint32_t U32() {
    unsigned char b[4] = {};
    Take(b, 4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  }
  std::uint64_t U64() {
    const std::uint64_t lo = U32();
    const std::uint64_t hi = U32();
    return lo | (hi << 32);
  }
  double F64() {
    const std::uint64_t bits = U64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  float F32() {
    const std::uint32_t bits = U32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  // The next n bytes as a view (empty and not ok when fewer are left).
  std::span<const unsigned char> Bytes(std::size_t n) {
    if (!ok_ || n > data_.size() - pos_) {
      ok_ = false;
      return {};
    }
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  // A stored text (u32 count and bytes) as its raw bytes.
  std::string_view Text() {
    const std::uint32_t n = U32();
    auto s = Bytes(n);
    return {reinterpret_cast<const char*>(s.data()), s.size()};
  }
  void Skip(std::size_t n) { Bytes(n); }
  // Moves to an absolute position inside the span.
  void Seek(std::size_t p) {
    if (p > data_.size()) {
      ok_ = false;
      return;
    }
    pos_ = p;
  }
  // A reader over the item that starts at the current position and is `length` bytes long
  // (length field included); the outer reader moves past the item. Lengths below
  // `minimum` or past the span fail.
  ByteReader Item(std::size_t minimum) {
    const std::size_t start = pos_;
    ByteReader peek(data_);
    peek.pos_ = pos_;
    peek.ok_ = ok_;
    const std::uint32_t length = peek.U32();
    if (!peek.ok() || length < minimum || length < 4 || length > data_.size() - start) {
      ok_ = false;
      return Failed();
    }
    pos_ = start + length;
    return ByteReader(data_.subspan(start, length));
  }
  static ByteReader Failed() {
    ByteReader r;
    r.ok_ = false;
    return r;
  }

 private:
  void Take(unsigned char* out, std::size_t n) {
    auto s = Bytes(n);
    if (!s.empty()) std::memcpy(out, s.data(), n);
  }
  std::span<const unsigned char> data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  std::vector<unsigned char>& bytes() { return buf_; }
  std::size_t size() const { return buf_.size(); }

  void U16(std::uint16_t v) {
    buf_.push_back(static_cast<unsigned char>(v));
    buf_.push_back(static_cast<unsigned char>(v >> 8));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  void U64(std::uint64_t v) {
    U32(static_cast<std::uint32_t>(v));
    U32(static_cast<std::uint32_t>(v >> 32));
  }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof v);
    U64(bits);
  }
  void F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof v);
    U32(bits);
  }
  void Bytes(std::string_view s) { buf_.insert(buf_.end(), s.begin(), s.end()); }
  void Zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }
  // A stored text: u32 count and the bytes.
  void Text(std::string_view s) {
    U32(static_cast<std::uint32_t>(s.size()));
    Bytes(s);
  }
  // Starts an item with a length placeholder; EndItem fills it with the item's length.
  std::size_t BeginItem() {
    const std::size_t at = buf_.size();
    U32(0);
    return at;
  }
  void EndItem(std::size_t at) { PatchU32(at, static_cast<std::uint32_t>(buf_.size() - at)); }
  void PatchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) buf_[at + i] = static_cast<unsigned char>(v >> (8 * i));
  }

 private:
  std::vector<unsigned char> buf_;
};

}  // namespace fyn
