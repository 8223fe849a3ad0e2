#pragma once
// Sizes and rules of the video window that the video menu uses.
#include <cstdint>

struct VideoWindowSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const VideoWindowSize&, const VideoWindowSize&) = default;
};
// The surface size that shows the picture at its own size: the whole picture, half of it for
// a quarter, 0.3 of it for a ninth; 320 x 240 for any other split kind.
VideoWindowSize OriginalVideoSize(std::uint16_t splitKind, int pictureWidth, int pictureHeight);
// The video menu works with a recording open, a video bound, no screening run and no
// multi-screening window.
bool VideoCommandsUsable(bool videoBound);
