#pragma once
// One video file opened for showing single frames. Frames are numbered from the first decoded
// picture (frame 0, at time 0) on, one frame duration apart, whatever the container's first
// timestamp. The decoded pictures of the current group are kept, so that steps forward and
// back inside it need no new seek.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class VideoDecoder {
 public:
  VideoDecoder();
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  // Opens a file and measures its frame count; false (closed) for a missing file, one without
  // a video stream or one without a single decodable picture. Frame 0 is then current.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const;

  int Width() const;
  int Height() const;
  // Seconds per frame (from the stream's frame rate).
  double FrameDuration() const;
  // Number of frames the file holds (the last decodable frame + 1).
  std::int64_t FrameCount() const;
  double LengthSeconds() const { return static_cast<double>(FrameCount()) * FrameDuration(); }

  // Makes frame f (clamped to the file) current; false when no picture could be decoded.
  bool ShowFrame(std::int64_t frame);
  // The frame after the current one, decoding on from where the decoder stands; false at the
  // file's end.
  bool NextFrame();
  std::int64_t Current() const;
  // The current picture as 32-bit rows (blue, green, red, 255), top row first, Width() x
  // Height(); empty when none.
  const std::vector<std::uint8_t>& Picture() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
