#pragma once
// Sample video files for tests, fuzz seeds, benchmarks and screenshots: every picture shows
// its own frame number, as a row of black and white blocks (one per bit) near the top and as
// digits below, over a background of four coloured quarters (red, green at the top; blue,
// grey at the bottom).
#include <cstdint>
#include <string>

struct SampleVideoSpec {
  std::string path;                 // .mpg, .avi or .mp4 decides the container
  std::string codec = "mpeg2video";  // mpeg1video, mpeg2video, mpeg4 or libx264
  int width = 160;
  int height = 120;
  int rateNum = 25;  // frames per second as a fraction
  int rateDen = 1;
  int frames = 50;
  int keyInterval = 15;
  int bFrames = 2;
  // Timestamp of the first picture, in frames (a container's start need not be 0).
  std::int64_t firstPts = 7;
};

// Writes the file; false with a reason in *error when the encoder or the file failed.
bool WriteSampleVideo(const SampleVideoSpec& spec, std::string* error = nullptr);

// Frame number shown by a picture (32-bit rows: blue, green, red, unused; rowBytes apart),
// read from its block row; -1 when the blocks cannot be read.
int ReadFrameCode(const std::uint8_t* bits, int width, int height, int rowBytes);

// Colour (0xRRGGBB) of each quarter of the background, indexed top-left, top-right,
// bottom-left, bottom-right.
std::uint32_t SampleQuarterColour(int quarter);
