// Where the video mark lies on the raw page: the page's share of the position, never at 0,
// nothing before the page, past the recording or on an empty page.
#include <gtest/gtest.h>

#include "app/video/video_wave_sync.h"

namespace {

struct Case {
  std::int64_t position, pageStart, pageLength;
  int width;
  double recordingSamples;
  int x;
};

TEST(VideoCursor, MarkPositionOnThePage) {
  const Case cases[] = {
      {15000, 15000, 15000, 1000, 1e6, 1},    // at the page's start: 1 px, still visible
      {22500, 15000, 15000, 1000, 1e6, 500},  // half-way
      {29999, 15000, 15000, 1000, 1e6, 999},  // last sample of the page
      {14999, 15000, 15000, 1000, 1e6, -1},   // before the page
      {20000, 15000, 15000, 1000, 4000.0, -1},  // past the recording
      {20000, 15000, 0, 1000, 1e6, -1},       // an empty page draws nothing
      {20000, 15000, 15000, 0, 1e6, -1},      // nor does a page without width
  };
  for (const Case& c : cases)
    EXPECT_EQ(VideoCursorX(c.position, c.pageStart, c.pageLength, c.width, c.recordingSamples), c.x)
        << c.position << " on " << c.pageStart << "+" << c.pageLength;
}

}  // namespace
