#pragma once
// Reading written films back: the RIFF layout as the bytes stand, and the decoded pictures
// as a player's demuxer and decoder find them.
#include <cstdint>
#include <string>
#include <vector>

// The chunks and headers of an AVI file.
struct FilmLayout {
  bool valid = false;  // sizes consistent and every index entry on its chunk
  std::string handler;
  std::uint32_t compression = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t rate = 0, scale = 0, length = 0, totalFrames = 0;
  std::int32_t width = 0, height = 0;
  std::vector<std::string> chunkIds;     // of the movie list, in order
  std::vector<std::string> chunks;       // their data
  std::vector<std::uint32_t> indexFlags;
  std::vector<std::string> indexIds;
};
FilmLayout ReadFilmLayout(const std::string& path);

// The film as the demuxer and decoder give it: frames top row first, 3 bytes (B, G, R) a pixel.
struct DecodedFilm {
  bool opened = false;
  std::string codec;
  int width = 0, height = 0;
  double framesPerSecond = 0;
  std::int64_t streamFrames = 0;  // as the container tells
  std::vector<std::vector<std::uint8_t>> frames;
};
DecodedFilm DecodeFilm(const std::string& path);

// Mean absolute difference per byte between a decoded frame (top-down BGR) and a captured
// bottom-up DIB frame of 24 or 32 bits a pixel (rows padded to 4 bytes); -1 when the sizes differ.
double MeanDifference(const std::vector<std::uint8_t>& decoded, const std::vector<std::uint8_t>& dib, int width,
                      int height, int bitsPerPixel = 32);
