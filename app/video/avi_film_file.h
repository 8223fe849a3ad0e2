#pragma once
// Our own writer of AVI films (RIFF "AVI "): one video stream of uncompressed
// device-independent bitmap frames or of Motion-JPEG images, every frame a key frame, with
// the frame index that players seek by.
#include <cstdint>
#include <string>
#include <vector>

// One film as the capture leaves it: frames of bottom-up DIB rows (each row padded
// to 4 bytes), all of the same size.
struct AviFilmFrames {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitsPerPixel = 0;  // 16, 24 or 32
  std::uint32_t framesPerSecond = 0;
  std::vector<std::vector<std::uint8_t>> frames;
};

// Bytes of one frame: the row length rounded up to 4 bytes, times the height.
std::uint32_t AviFrameImageSize(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel);

// Writes the film with the uncompressed DIB handler ("DIB "): the stream named
// "Video #1", scale 1 and the film's rate. The file is written beside the target and
// renamed over it, so a failure never leaves a broken film behind. False for an empty
// or inconsistent film (no frame, a frame of another size, a rate of 0), for a film
// too long for one RIFF file, and when the file cannot be written.
bool WriteDibAviFile(const std::string& path, const AviFilmFrames& film);

// A Motion-JPEG film: every frame one JPEG image of the film's size.
struct AviJpegFilm {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t framesPerSecond = 0;
  std::vector<std::string> frames;
};

// Writes the film with the Motion-JPEG handler ("MJPG", frames in "00dc" chunks), otherwise
// as WriteDibAviFile: beside the target and renamed over it. False for an empty film, an
// empty frame, a rate of 0, and when the file cannot be written.
bool WriteMjpegAviFile(const std::string& path, const AviJpegFilm& film);
