// Wave painter: runs handed to the device, point reduction and its fallbacks, base lines,
// right-to-left drawing, point mapping bounds, column buffers and the clip region.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "common/draw/fyn_draw_wave.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"

namespace {

struct Run {
  std::vector<draw::Point> points;
  draw::ColorRef color;
};

// Records every run instead of drawing it.
class RecordingWave : public FynDrawWave {
 public:
  using FynDrawWave::FynDrawWave;
  std::vector<Run> runs;

 protected:
  void DrawRun(const draw::Point* points, int count, draw::ColorRef color) override {
    runs.push_back({std::vector<draw::Point>(points, points + count), color});
  }
};

// A block of channels over a small image; one column per sample unless told otherwise.
struct Block {
  explicit Block(int channels, int samples, int width = -1)
      : image(400, 200, 32), dc(image), show(channels, 1), base(channels, 100), yScale(channels, 1.0),
        data(static_cast<std::size_t>(channels) * samples, 0.0f) {
    p.dc = &dc;
    p.chNum = static_cast<std::int16_t>(channels);
    p.showFlags = show.data();
    p.data = data.data();
    p.firstIndex = 1000;
    p.lastIndex = 1000 + samples - 1;
    p.sampFreq = 1.0;  // scales whose quotients are exact in double
    p.baseLines = base.data();
    p.xScale = 1.0;  // one device unit per sample
    p.yScales = yScale.data();
    p.rect = {10, 0, 10 + (width < 0 ? samples : width) - 1, 199};
  }
  float& at(int c, int s) { return data[static_cast<std::size_t>(c) * (p.lastIndex - p.firstIndex + 1) + s]; }

  draw::Image image;
  draw::Dc dc;
  std::vector<std::int16_t> show;
  std::vector<std::int32_t> base;
  std::vector<double> yScale;
  std::vector<float> data;
  _FynDrawWaveParam p;
};

std::vector<int> RunSizes(const RecordingWave& w) {
  std::vector<int> sizes;
  for (const auto& r : w.runs) sizes.push_back(static_cast<int>(r.points.size()));
  return sizes;
}

struct EveryCase {
  int samples;
  std::vector<int> runs;
};

TEST(FynDrawWave, EverySampleRunsOf50JoinedByOnePoint) {
  const std::vector<EveryCase> cases = {
      {50, {50}},
      {51, {51}},  // the second run holds one point and draws nothing
      {101, {51, 51}},
      {120, {51, 51, 20}},
      {1, {}},
  };
  for (const auto& tc : cases) {
    Block b(1, tc.samples);
    RecordingWave w(&b.p);
    w.DrawWave();
    EXPECT_EQ(RunSizes(w), tc.runs) << tc.samples << " samples";
  }
}

TEST(FynDrawWave, PointsFollowScalesBaseLinesAndColours) {
  Block b(3, 60);
  b.show[1] = 0;
  b.base = {40, 80, 150};
  b.yScale = {2.0, 1.0, -0.5};
  const std::vector<std::uint32_t> colours = {draw::Rgb(255, 0, 0), draw::Rgb(0, 255, 0), draw::Rgb(0, 0, 255)};
  b.p.colors = colours.data();
  b.p.xScale = 0.5;  // half a device unit per sample
  for (int s = 0; s < 60; ++s) {
    b.at(0, s) = static_cast<float>(s) * 0.75f;
    b.at(2, s) = -static_cast<float>(s);
  }
  RecordingWave w(&b.p);
  w.DrawWave();
  // Run by run, and within a run channel by channel; the hidden channel is skipped.
  ASSERT_EQ(w.runs.size(), 4u);
  EXPECT_EQ(w.runs[0].color, colours[0]);
  EXPECT_EQ(w.runs[1].color, colours[2]);
  EXPECT_EQ(w.runs[2].color, colours[0]);
  // Sample 37 of channel 0: x = trunc(10 + 37 x 0.5) = 28, y = 40 - trunc(27.75 x 2) = -15.
  EXPECT_EQ(w.runs[0].points[37], (draw::Point{28, -15}));
  // Sample 57 of channel 2 (run 2, point 7): x = trunc(10 + 28.5) = 38, y = 150 - trunc(28.5) = 122.
  EXPECT_EQ(w.runs[3].points[7], (draw::Point{38, 122}));
  // Runs join: the extra point of run 0 is the first point of run 1 of the same channel.
  EXPECT_EQ(w.runs[0].points[50], w.runs[2].points[0]);

  // Without a colour table every run is black.
  b.p.colors = nullptr;
  RecordingWave black(&b.p);
  black.DrawWave();
  for (const auto& r : black.runs) EXPECT_EQ(r.color, draw::Rgb(0, 0, 0));
}

// Every point's y is base - trunc(value x scale), a NaN product counting as 0 and the
// product held within +-1e9, four samples a step or one at a time alike.
TEST(FynDrawWave, EverySampleYsTruncateWithinLimits) {
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<float> values = {0.0f,    -0.0f,  0.99f,   -0.99f, 1.0f,  -1.5f,   2.5f,   37.999f,
                                     -37.999f, 1e-40f, -1e-40f, 1e6f,   -1e6f, 3e9f,    -3e9f,  inf,
                                     -inf,     std::nanf(""), 123.25f, -7.75f, 1e9f, -1e9f, 65535.5f};
  const std::vector<double> scales = {1.0, -0.5, 1e-3, 3.7, 0.0, 1e300, -1e-300};
  const int n = static_cast<int>(values.size());
  Block b(static_cast<int>(scales.size()), n);
  b.yScale = scales;
  for (std::size_t c = 0; c < scales.size(); ++c) {
    b.base[c] = 20 + 10 * static_cast<int>(c);
    for (int s = 0; s < n; ++s) b.at(static_cast<int>(c), s) = values[static_cast<std::size_t>((s + c) % n)];
  }
  RecordingWave w(&b.p);
  w.DrawWave();
  ASSERT_EQ(w.runs.size(), scales.size());
  for (std::size_t c = 0; c < scales.size(); ++c) {
    ASSERT_EQ(w.runs[c].points.size(), values.size());
    for (int s = 0; s < n; ++s) {
      double t = static_cast<double>(values[static_cast<std::size_t>((s + c) % n)]) * scales[c];
      if (std::isnan(t)) t = 0.0;
      t = std::clamp(t, -1e9, 1e9);
      EXPECT_EQ(w.runs[c].points[static_cast<std::size_t>(s)].y, b.base[c] - static_cast<int>(t))
          << "channel " << c << " sample " << s;
    }
  }
}

// Painters built one after another (as a page builds one per channel) each place every point
// at x = trunc(left + s / rate x scale), whatever geometry the painter before them had.
TEST(FynDrawWave, EverySamplePointsStayExactAcrossPaintersOfOtherGeometry) {
  struct Geometry {
    int left;
    double rate;
    double xScale;
    int samples;
  };
  const std::vector<Geometry> cases = {
      {10, 500.0, 1919.0 / 30.0, 15001}, {10, 500.0, 1919.0 / 30.0, 15001},  // the same page again
      {11, 500.0, 1919.0 / 30.0, 15001}, {10, 256.0, 1919.0 / 30.0, 15001},
      {10, 500.0, 64.0, 15001},          {10, 500.0, 1919.0 / 30.0, 7000},
      {0, 3.0, 7.0, (1 << 20) + 77},  // longer than the kept columns
  };
  for (const auto& g : cases) {
    Block b(1, g.samples, 2000);
    b.p.rect.left = g.left;
    b.p.sampFreq = g.rate;
    b.p.xScale = g.xScale;
    for (int s = 0; s < g.samples; s += 997) b.at(0, s) = static_cast<float>(s % 41) - 20.0f;
    RecordingWave w(&b.p);
    w.DrawWave();
    int checked = 0;
    for (std::size_t r = 0; r < w.runs.size(); r += 1 + w.runs.size() / 300) {
      for (std::size_t i = 0; i < w.runs[r].points.size(); ++i) {
        const double s = static_cast<double>(r * 50 + i);
        const int x = static_cast<int>(g.left + s / g.rate * g.xScale);
        ASSERT_EQ(w.runs[r].points[i].x, x) << "left " << g.left << " rate " << g.rate << " offset " << s;
        ++checked;
      }
    }
    EXPECT_GT(checked, 1000);
    // The last point of the block is the last sample.
    const double last = g.samples - 1;
    EXPECT_EQ(w.runs.back().points.back().x, static_cast<int>(g.left + last / g.rate * g.xScale));
  }
}

TEST(FynDrawWave, RightToLeftPutsNewestSampleAtTheRightEdge) {
  Block b(1, 60);
  b.p.drawMode = 4;
  for (int s = 0; s < 60; ++s) b.at(0, s) = static_cast<float>(s);
  std::vector<std::uint32_t> index(60);
  b.p.columnIndex = index.data();
  RecordingWave w(&b.p);
  w.DrawWave();
  ASSERT_EQ(RunSizes(w), (std::vector<int>{51, 10}));
  // Distance 0 is the last sample at the right edge (x 69), distance 59 the first at 10.
  EXPECT_EQ(w.runs[0].points[0], (draw::Point{69, 100 - 59}));
  EXPECT_EQ(w.runs[1].points[9], (draw::Point{10, 100}));
  // The index row grows toward the left, non-decreasing from right to left.
  for (int k = 0; k + 1 < 60; ++k) EXPECT_GE(index[k], index[k + 1]) << "column " << k;
}

// Every sample lies inside its column's stroke, a one-sample spike survives, and passes join.
TEST(FynDrawWave, AutomaticReductionFoldsColumnsIntoMinMaxStrokes) {
  constexpr int kSamples = 2000;
  constexpr int kWidth = 100;  // 20 samples per column
  Block b(2, kSamples, kWidth);
  b.p.drawMode = 1;
  b.p.sampFreq = 20.0;  // x = trunc(10 + s / 20)
  b.p.xScale = 1.0;
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < kSamples; ++s) b.at(c, s) = static_cast<float>(20.0 * std::sin(s * 0.37 + c));
  }
  b.at(1, 1234) = 90.0f;  // spike
  std::vector<std::uint32_t> index(kWidth);
  std::vector<float> values(2 * kWidth);
  b.p.columnIndex = index.data();
  b.p.columnValue = values.data();
  RecordingWave w(&b.p);
  w.DrawWave();

  std::vector<std::vector<draw::Point>> strokes(2);  // per channel, pairs of (x, ymin), (x, ymax)
  for (std::size_t i = 0; i < w.runs.size(); ++i) {
    const auto& pts = w.runs[i].points;
    ASSERT_LE(pts.size(), 52u);
    ASSERT_EQ(pts.size() % 2, 0u);
    const int c = static_cast<int>(i % 2);  // passes alternate between the two channels
    if (!strokes[c].empty()) {
      // The pass starts again at the previous pass's last column.
      EXPECT_EQ(pts[0].x, strokes[c][strokes[c].size() - 2].x);
      strokes[c].resize(strokes[c].size() - 2);
    }
    strokes[c].insert(strokes[c].end(), pts.begin(), pts.end());
  }
  for (int c = 0; c < 2; ++c) {
    ASSERT_EQ(strokes[c].size(), 2u * kWidth) << "channel " << c;
    for (int s = 0; s + 1 < kSamples; ++s) {
      const int col = s / (kSamples / kWidth);
      const int y = 100 - static_cast<int>(b.at(c, s));
      const auto& lo = strokes[c][2 * col];
      const auto& hi = strokes[c][2 * col + 1];
      ASSERT_EQ(lo.x, 10 + col);
      ASSERT_TRUE(y <= lo.y && y >= hi.y) << "channel " << c << " sample " << s << " y " << y << " outside ["
                                          << hi.y << ", " << lo.y << "]";
    }
  }
  EXPECT_EQ(strokes[1][2 * (1234 / 20) + 1].y, 100 - 90);
  EXPECT_FLOAT_EQ(values[kWidth + 1234 / 20], 90.0f);
  EXPECT_TRUE(std::is_sorted(index.begin(), index.end()));
  EXPECT_EQ(index[kWidth - 1], b.p.lastIndex);

  // A rectangle as wide as the block draws every sample.
  Block every(1, 300);
  every.p.drawMode = 1;
  RecordingWave all(&every.p);
  all.DrawWave();
  EXPECT_EQ(RunSizes(all), (std::vector<int>{51, 51, 51, 51, 51, 50}));
}

struct ManualCase {
  std::int16_t mode;
  std::int16_t step;
  int samples;
  std::vector<int> runs;
};

TEST(FynDrawWave, ManualReductionAndItsFallbacks) {
  const std::vector<ManualCase> cases = {
      {3, 1, 100, {51, 50}},    // step 1: every sample
      {3, 51, 100, {51, 50}},   // step above half the block: every sample
      {2, 0, 100, {51, 50}},
      {3, 50, 100, {3}},        // groups at 0 and 50, then the last sample
      {2, 50, 100, {3}},        // points at 0, 50 and the last sample 99
      {2, 10, 1000, {51, 51, 3}},  // passes of 51 points resume at the 50th: 0..500, 490..990, 980, 990, 999
      {3, 10, 1000, {51, 52}},  // the 51st point of pass 2 is the group 990..999 ending the block: plus the last sample
  };
  for (const auto& tc : cases) {
    Block b(1, tc.samples);
    b.p.drawMode = tc.mode;
    b.p.reduceStep = tc.step;
    RecordingWave w(&b.p);
    w.DrawWave();
    EXPECT_EQ(RunSizes(w), tc.runs) << "mode " << tc.mode << " step " << tc.step;
  }
}

TEST(FynDrawWave, PeakReductionKeepsLargestMagnitudeWithSign) {
  Block b(1, 10);
  b.p.drawMode = 3;
  b.p.reduceStep = 4;
  b.at(0, 1) = 5.0f;
  b.at(0, 2) = -7.0f;  // group 0..3: -7
  b.at(0, 4) = 3.0f;
  b.at(0, 6) = -3.0f;  // group 4..7: tie, the earlier 3 wins
  b.at(0, 9) = 2.0f;   // group 8..9 reaches the end: its peak at 8, then the last sample
  std::vector<std::uint32_t> index(10);
  b.p.columnIndex = index.data();
  RecordingWave w(&b.p);
  w.DrawWave();
  ASSERT_EQ(w.runs.size(), 1u);
  const std::vector<draw::Point> expected = {{10, 107}, {14, 97}, {18, 98}, {19, 98}};
  EXPECT_EQ(w.runs[0].points, expected);
  EXPECT_EQ(index[4], 1004u);  // the group's first sample
  EXPECT_EQ(index[9], 1009u);
}

TEST(FynDrawWave, ColumnBuffersFilledAndCompleted) {
  Block b(2, 20, 41);  // two columns per sample
  b.p.xScale = 2.0;
  b.show[1] = 0;
  for (int s = 0; s < 20; ++s) b.at(0, s) = static_cast<float>(s);
  std::vector<std::uint32_t> index(41, 77);
  std::vector<float> values(82, 5.0f);
  b.p.columnIndex = index.data();
  b.p.columnValue = values.data();
  RecordingWave w(&b.p);
  w.DrawWave();
  // Column 2s holds sample s; the odd columns take their left neighbour's entries.
  for (int k = 0; k < 40; ++k) {
    EXPECT_EQ(index[k], 1000u + k / 2) << "column " << k;
    EXPECT_FLOAT_EQ(values[k], static_cast<float>(k / 2)) << "column " << k;
  }
  EXPECT_EQ(index[40], 1019u);
  // The hidden channel's row keeps the no-value pattern.
  EXPECT_EQ(std::bit_cast<std::uint32_t>(values[41]), kFynNoValueBits);

  // With no channel shown the buffers are left alone, except in a reducing mode 1.
  b.show[0] = 0;
  std::fill(index.begin(), index.end(), 77u);
  RecordingWave none(&b.p);
  none.DrawWave();
  EXPECT_TRUE(none.runs.empty());
  EXPECT_EQ(index[5], 77u);
  b.p.drawMode = 1;
  b.p.rect.right = b.p.rect.left + 9;
  RecordingWave prepared(&b.p);
  prepared.DrawWave();
  EXPECT_TRUE(prepared.runs.empty());
  EXPECT_EQ(index[0], 1000u);
  EXPECT_EQ(index[5], 0u);
}

struct PtCase {
  int channel;
  unsigned long index;
  short status;
  draw::Point point;
};

TEST(FynDrawWave, GetDrawPtBounds) {
  Block b(2, 50);
  b.show[1] = 0;
  b.at(0, 10) = 30.0f;
  RecordingWave w(&b.p);
  const std::vector<PtCase> cases = {
      {0, 999, -1, {-1, -1}},   // first - 1
      {0, 1050, -1, {-1, -1}},  // last + 1
      {0, 1010, 0, {10, 70}},   // the left edge is not added
      {-1, 1049, 0, {49, -1}},
      {1, 1010, 0, {-1, -1}},   // hidden
      {2, 1010, -1, {-1, -1}},  // no such channel
  };
  for (const auto& tc : cases) {
    draw::Point pt{5, 5};
    EXPECT_EQ(w.GetDrawPt(tc.channel, tc.index, &pt), tc.status) << tc.channel << "/" << tc.index;
    EXPECT_EQ(pt, tc.point) << tc.channel << "/" << tc.index;
  }
}

TEST(FynDrawWave, SetStartEndPtKinds) {
  struct Case {
    unsigned long a, b;
    short kind;
    std::uint32_t first, last;
  };
  const std::vector<Case> cases = {
      {10, 5, 0, 10, 14}, {10, 5, 1, 5, 10}, {10, 20, 1, 10, 20}, {10, 99, 7, 10, 1049},
  };
  for (const auto& tc : cases) {
    Block b(1, 50);
    RecordingWave w(&b.p);
    w.SetStartEndPt(tc.a, tc.b, tc.kind);
    EXPECT_EQ(w.Param().firstIndex, tc.first);
    EXPECT_EQ(w.Param().lastIndex, tc.last);
  }
}

TEST(FynDrawWave, AutoCalcBaseLineSpreadsShownChannels) {
  Block two(2, 10);
  two.p.rect = {0, 0, 50, 100};
  two.show[0] = 0;
  RecordingWave w(&two.p);
  w.AutoCalcBaseLine(100);
  EXPECT_EQ(two.base, (std::vector<std::int32_t>{-1, 50}));

  Block three(3, 10);
  three.p.rect = {0, 20, 50, 110};
  RecordingWave w3(&three.p);
  w3.AutoCalcBaseLine(0);  // the rectangle's height, 90
  EXPECT_EQ(three.base, (std::vector<std::int32_t>{35, 65, 95}));

  Block hidden(2, 10);
  hidden.show = {0, 0};
  RecordingWave wh(&hidden.p);
  wh.AutoCalcBaseLine(100);
  EXPECT_EQ(hidden.base, (std::vector<std::int32_t>{100, 100}));
}

TEST(FynDrawWave, DrawsClippedAndLeavesNoClipRegion) {
  Block b(1, 200, 100);  // the block runs past the rectangle's right edge
  b.p.rect = {10, 20, 109, 180};
  for (int s = 0; s < 200; ++s) b.at(0, s) = static_cast<float>((s % 7) * 10);
  b.dc.FillSolidRect(draw::Rect{0, 0, 400, 200}, draw::Rgb(255, 255, 255));
  b.dc.IntersectClipRect(draw::Rect{0, 0, 300, 200});
  FynDrawWave w(&b.p);
  w.SetLineWidth(2);
  w.DrawWave();
  EXPECT_FALSE(b.dc.HasClipRegion());
  int inside = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (b.dc.GetPixel(x, y) == draw::Rgb(255, 255, 255)) continue;
      ASSERT_TRUE(x >= 10 && x < 109 && y >= 20 && y < 180) << "pixel drawn at " << x << "," << y;
      ++inside;
    }
  }
  EXPECT_GT(inside, 100);
}

}  // namespace
