// Fuzz target: any bytes as a video file (.mpg, .avi or .mp4 by the first byte). The decoder
// must refuse the file or measure it, seek into it, step and hand out whole pictures.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "video_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const char* const kExtensions[] = {".mpg", ".avi", ".mp4"};
  const std::string path = "/tmp/qlm_fuzz_video_" + std::to_string(::getpid()) + kExtensions[data[0] % 3];
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
  } else {
    return 0;
  }
  VideoDecoder d;
  if (d.Open(path)) {
    const std::int64_t count = d.FrameCount();
    if (count <= 0 || d.Width() <= 0 || d.Height() <= 0 || !(d.FrameDuration() > 0.0)) __builtin_trap();
    for (std::int64_t f : {count / 2, count - 1, std::int64_t{0}, count + 5, std::int64_t{-3}}) {
      if (!d.ShowFrame(f)) continue;
      if (d.Current() < 0 || d.Current() >= count) __builtin_trap();
      if (d.Picture().size() != static_cast<std::size_t>(d.Width()) * d.Height() * 4) __builtin_trap();
    }
    d.NextFrame();
  }
  std::remove(path.c_str());
  return 0;
}
