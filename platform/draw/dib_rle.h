#pragma once
// Run-length encoding of 4- and 8-bit bitmap rows in the bitmap-file layouts: rows
// bottom-up as stored, each row ended by 0,0 and the image by 0,1.
//   8 bits (compression 1): a pair (n, index) repeats the index n times; 0,n with n >= 3
//     is followed by n literal indexes, padded to an even byte count; 0,2,dx,dy moves.
//   4 bits (compression 2): a pair (n, ab) gives n pixels alternating a and b; 0,n with
//     n >= 3 is followed by n literal pixels two a byte, padded to an even byte count.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace draw {

constexpr int kBiRgb = 0;
constexpr int kBiRle8 = 1;
constexpr int kBiRle4 = 2;
constexpr int kBiBitfields = 3;

// Encodes packed, 4-byte-padded rows (bottom row first) of a 4- or 8-bit image. Nothing
// for other bit counts or too few bytes.
std::optional<std::vector<std::uint8_t>> EncodeDibRle(int width, int height, int bitsPerPixel,
                                                      std::span<const std::uint8_t> rows);
// Decodes into packed, 4-byte-padded rows (bottom row first); pixels that the data skips
// stay 0. Nothing when the data runs past its end or past the image.
std::optional<std::vector<std::uint8_t>> DecodeDibRle(int width, int height, int bitsPerPixel,
                                                      std::span<const std::uint8_t> data);

}  // namespace draw
