#pragma once
// Sample videos made once per test program, and the video player library bound by name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/video/video_player_abi.h"
#include "platform/system/dynamic_library.h"
#include "sample_video.h"

namespace video_fixture {

// A folder removed at the program's end.
inline const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path() /
                              ("qlm_video_" + std::to_string(static_cast<long>(::getpid())));
    std::filesystem::create_directories(p);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Folder(), ec);
    });
    return p;
  }();
  return folder;
}

// The sample file of a spec (path relative to Folder()), written at its first use.
inline std::string Sample(SampleVideoSpec spec) {
  static std::map<std::string, bool> made;
  const std::string path = (Folder() / spec.path).string();
  if (!made[path]) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    spec.path = path;
    std::string error;
    EXPECT_TRUE(WriteSampleVideo(spec, &error)) << error;
    made[path] = true;
  }
  return path;
}

inline std::string LibraryPath() {
  const char* bin = std::getenv("QLM_BIN_DIR");
  return std::string(bin != nullptr ? bin : ".") + "/QXVideoPlayerDX.so";
}

// A device context drawing into a 32-bit memory picture: stretched by nearest pixel, clipped.
struct MemoryDc {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;
  int draws = 0;
  MemoryDc(int w, int h) : width(w), height(h), bits(static_cast<std::size_t>(w) * h * 4, 0) {}
  static int Draw(void* self, int x, int y, int w, int h, const std::uint8_t* src, int sw, int sh) {
    auto& dc = *static_cast<MemoryDc*>(self);
    ++dc.draws;
    if (w <= 0 || h <= 0) return 0;
    for (int dy = std::max(0, y); dy < std::min(dc.height, y + h); ++dy)
      for (int dx = std::max(0, x); dx < std::min(dc.width, x + w); ++dx) {
        const int sx = static_cast<int>(static_cast<long long>(dx - x) * sw / w);
        const int sy = static_cast<int>(static_cast<long long>(dy - y) * sh / h);
        std::memcpy(&dc.bits[(static_cast<std::size_t>(dy) * dc.width + dx) * 4],
                    &src[(static_cast<std::size_t>(sy) * sw + sx) * 4], 4);
      }
    return 1;
  }
  QlmNativeDc Handle() { return QlmNativeDc{this, &Draw}; }
  int Code() const { return ReadFrameCode(bits.data(), width, height, width * 4); }
  // Colour 0xRRGGBB at a point.
  std::uint32_t At(int x, int y) const {
    const std::uint8_t* p = &bits[(static_cast<std::size_t>(y) * width + x) * 4];
    return (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
  }
};

// True when two colours differ by at most tol in every channel.
inline bool Near(std::uint32_t a, std::uint32_t b, int tol = 40) {
  for (int s = 0; s < 24; s += 8)
    if (std::abs(static_cast<int>((a >> s) & 255) - static_cast<int>((b >> s) & 255)) > tol) return false;
  return true;
}

}  // namespace video_fixture
