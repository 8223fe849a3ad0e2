#pragma once
// Motion-JPEG compression of the film's frames: each captured frame (bottom-up DIB rows of
// 24 or 32 bits a pixel, rows padded to 4 bytes) becomes one full-range JPEG image.
#include <cstdint>
#include <memory>
#include <string>

class MjpegFrameEncoder {
 public:
  MjpegFrameEncoder();
  ~MjpegFrameEncoder();
  MjpegFrameEncoder(const MjpegFrameEncoder&) = delete;
  MjpegFrameEncoder& operator=(const MjpegFrameEncoder&) = delete;

  // Sets the encoder up for frames of this size and bit count; quality 1 (smallest files)
  // to 100 (best picture), held to that range. False when the encoder is not available or
  // refuses the size.
  bool Open(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, int quality);
  bool IsOpen() const;
  // Compresses one frame of the opened size (AviFrameImageSize bytes) into *jpeg. False when
  // the frame is too short or the encoder fails.
  bool Encode(const std::uint8_t* dib, std::size_t size, std::string* jpeg);
  void Close();

  // The encoder's quantiser (2 best .. 31 coarsest) for a quality of 1..100.
  static int QuantiserForQuality(int quality);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
