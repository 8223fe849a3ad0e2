#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "common/draw/fyn_scale.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"

namespace {

constexpr draw::ColorRef kBlack = draw::Rgb(0, 0, 0);
constexpr draw::ColorRef kGrey = draw::Rgb(0x80, 0x80, 0x80);

// Mouse messages as the window system delivers them, in client coordinates.
void Mouse(ui::Window& w, std::uint32_t msg, draw::Point p) {
  w.SendMessage(msg, msg == ui::WM_LBUTTONUP ? 0 : ui::MK_LBUTTON,
                static_cast<std::intptr_t>(ui::MakeLong(static_cast<std::uint16_t>(p.x), static_cast<std::uint16_t>(p.y))));
}
void Drag(ui::Window& w, draw::Point down, draw::Point up) {
  Mouse(w, ui::WM_LBUTTONDOWN, down);
  Mouse(w, ui::WM_MOUSEMOVE, up);
  Mouse(w, ui::WM_LBUTTONUP, up);
}

TEST(ScaleStep, NearestEntryOfTheStepTable) {
  struct Case {
    double shownSeconds;
    int divisions;
    double step;
  };
  const Case cases[] = {
      {10.0, 6, 2.0},    // rough 1.666: nearest 2.0
      {0.6, 6, 0.1},     // rough exactly 0.1: e = -2, mantissa 10
      {10.0, 0, 10.0},   // no divisions count as one
      {3.0, 1, 3.0},     {7.0, 1, 5.0},  {1.5, 1, 1.0},  // a tie takes the first entry
      {0.0, 6, 0.0},     {-1.0, 6, 0.0}, {4000.0, 4, 1000.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(FynMoveScale::StepSeconds(c.shownSeconds, c.divisions), c.step, 1e-12)
        << c.shownSeconds << " s / " << c.divisions;
  }
}

// Keeps the labels and where the ticks of a time scale went.
class RecordingScale : public FynMoveScale {
 public:
  using FynMoveScale::FynMoveScale;
  void CreateNumStr(double seconds, std::string* out) override {
    FynMoveScale::CreateNumStr(seconds, out);
    labels.push_back(*out);
  }
  short LMoveUpdate() override {
    ++moves;
    return moveResult;
  }
  short LUpUpdate() override {
    ++ups;
    return 1;
  }
  std::vector<std::string> labels;
  int moves = 0, ups = 0;
  short moveResult = 1;
};

std::vector<int> TickColumns(const draw::Image& image, int y) {
  std::vector<int> xs;
  for (int x = 0; x < image.Width(); ++x) {
    if (image.GetPixel(x, y) == kBlack) xs.push_back(x);
  }
  return xs;
}

TEST(MoveScale, LabelsAndTicks) {
  struct Case {
    unsigned long start, count, offset;
    double hz;
    std::vector<std::string> labels;
    std::vector<int> ticks;  // x of the first three ticks
  };
  const Case cases[] = {
      // 10 s at 200 Hz over 400 pixels: a tick every 2 s = 80 pixels.
      {0, 2001, 0, 200.0, {"0.000", "2.000", "4.000", "6.000", "8.000", "10.000"}, {0, 80, 160}},
      // Time 0 moved half a second (100 samples) to the right.
      {0, 2001, 100, 200.0, {"0.000", "2.000", "4.000", "6.000", "8.000"}, {20, 100, 180}},
      {1000, 2001, 0, 200.0, {"6.000", "8.000", "10.000", "12.000", "14.000"}, {40, 120, 200}},
      // Nothing to divide: no ticks, no labels.
      {0, 1, 0, 200.0, {}, {}},
      {0, 2001, 0, 0.0, {}, {}},
  };
  for (const Case& c : cases) {
    RecordingScale scale(c.hz, c.start, c.count, 6, nullptr, 0, 0, 0.4, 0, 1);
    scale.SetMinusDataNum(c.offset);
    draw::Image image(401, 30, 32);
    image.Fill(draw::Rgb(255, 255, 255));
    draw::Dc dc(image);
    EXPECT_EQ(scale.DrawScale(&dc, {0, 0, 401, 30}), 1);
    EXPECT_EQ(scale.labels, c.labels) << c.start << "+" << c.count << " offset " << c.offset;
    std::vector<int> ticks = TickColumns(image, 5);
    if (ticks.size() > 3) ticks.resize(3);
    EXPECT_EQ(ticks, c.ticks) << c.start << "+" << c.count << " offset " << c.offset;
  }
}

TEST(MoveScale, DragByMouseMessages) {
  struct Case {
    int downX, upX;
    unsigned long min, max, all, start;
    unsigned long count;
  };
  // 2001 samples over 401 pixels: 5 samples a pixel; a press at x holds 5 x samples under
  // it, so the release at u gives trunc(5 x / u x 401).
  const Case cases[] = {
      {200, 100, 0, 0, 0, 0, 4010},
      {200, 400, 0, 0, 0, 0, 1002},
      {200, 400, 1500, 0, 0, 0, 1500},   // raised to the minimum
      {200, 100, 0, 3000, 0, 0, 3000},   // lowered to the maximum
      {200, 100, 0, 0, 3000, 1000, 1999},  // kept inside the data
      {200, 0, 0, 0, 0, 0, 401000},      // x 0 counts as 1
      {200, 200, 0, 0, 0, 0, 2005},      // unchanged position: still recomputed
  };
  for (const Case& c : cases) {
    RecordingScale scale(200.0, c.start, 2001, 6, nullptr, c.min, c.max, 0.4, c.all, 1);
    ASSERT_TRUE(scale.Create(nullptr, 0, {0, 0, 401, 30}));
    ASSERT_EQ(scale.GetClientRect().Width(), 401);
    Mouse(scale, ui::WM_LBUTTONDOWN, {c.downX, 10});
    EXPECT_TRUE(scale.HasCapture());
    Mouse(scale, ui::WM_MOUSEMOVE, {c.upX, 10});
    Mouse(scale, ui::WM_LBUTTONUP, {c.upX, 10});
    EXPECT_FALSE(scale.HasCapture());
    EXPECT_EQ(scale.DataNum(), c.count) << c.downX << " -> " << c.upX;
    EXPECT_EQ(scale.ups, 1);
  }
}

TEST(MoveScale, MoveRepaintsOnlyWhenAskedAndSwitchOffIgnoresTheMouse) {
  RecordingScale scale(200.0, 0, 2001, 6, nullptr, 0, 0, 0.4, 0, 1);
  ASSERT_TRUE(scale.Create(nullptr, 0, {0, 0, 401, 30}));
  scale.moveResult = 0;
  Mouse(scale, ui::WM_LBUTTONDOWN, {200, 10});
  Mouse(scale, ui::WM_MOUSEMOVE, {100, 10});
  EXPECT_EQ(scale.moves, 1);
  EXPECT_EQ(scale.RepaintsNow(), 0);
  scale.moveResult = 1;
  Mouse(scale, ui::WM_MOUSEMOVE, {150, 10});
  EXPECT_EQ(scale.RepaintsNow(), 1);
  Mouse(scale, ui::WM_LBUTTONUP, {150, 10});

  RecordingScale off(200.0, 0, 2001, 6, nullptr, 0, 0, 0.4, 0, 0);
  ASSERT_TRUE(off.Create(nullptr, 0, {0, 0, 401, 30}));
  Drag(off, {200, 10}, {100, 10});
  EXPECT_EQ(off.DataNum(), 2001u);
  EXPECT_FALSE(off.HasCapture());
  EXPECT_EQ(off.Cursor(), FynScaleCursor::No);
  EXPECT_EQ(off.ups, 0);

  // A pane one pixel wide has no samples-per-pixel: the drag cannot make the count 0.
  RecordingScale thin(200.0, 0, 2001, 6, nullptr, 0, 0, 0.4, 0, 1);
  ASSERT_TRUE(thin.Create(nullptr, 0, {0, 0, 1, 30}));
  Drag(thin, {0, 10}, {0, 10});
  EXPECT_GE(thin.DataNum(), 1u);
}

TEST(FreqScale, TicksAndCursorLine) {
  FynFreqScale scale(0, 2001, 4, 0, 0, 0, 1);
  ASSERT_TRUE(scale.Create(nullptr, 0, {0, 0, 200, 20}));
  draw::Image image(200, 20, 32);
  image.Fill(draw::Rgb(255, 255, 255));
  {
    draw::Dc dc(image);
    scale.DrawScale(&dc, {0, 0, 200, 20});
  }
  EXPECT_EQ(TickColumns(image, 5), (std::vector<int>{0, 50, 100, 150}));  // the fifth at 200 is outside
  scale.SetDivNum(0);  // counts as one division
  image.Fill(draw::Rgb(255, 255, 255));
  {
    draw::Dc dc(image);
    scale.DrawScale(&dc, {0, 0, 200, 20});
  }
  EXPECT_EQ(TickColumns(image, 5), (std::vector<int>{0}));
  Mouse(scale, ui::WM_LBUTTONDOWN, {120, 5});
  image.Fill(draw::Rgb(255, 255, 255));
  {
    draw::Dc dc(image);
    scale.DrawScale(&dc, {0, 0, 200, 20});
  }
  EXPECT_EQ(TickColumns(image, 5), (std::vector<int>{120}));
}

TEST(MoveVScale, DragByMouseMessages) {
  struct Case {
    short orientation;
    draw::Point down, up;
    double upper, lower;
    double value;
  };
  // 100 over 101 pixels: 1 a pixel. A press at 50 holds 50; released at 25 the full
  // scale is 101 x 50 / 25 = 202.
  const Case cases[] = {
      {1, {50, 5}, {25, 5}, 10000.0, 0.0, 202.0},
      {1, {50, 5}, {25, 5}, 150.0, 0.0, 150.0},           // upper limit
      {1, {50, 5}, {200, 5}, 10000.0, 60.0, 60.0},        // x kept to 100: 50.5, below the lower limit
      {1, {50, 5}, {0, 5}, 10000.0, 0.0, 100.0},          // the origin: value kept
      {1, {50, 5}, {-30, 5}, 10000.0, 0.0, 100.0},
      {1, {0, 5}, {30, 5}, 10000.0, 0.0, DBL_MIN},        // towards the base: never the base itself
      {0, {5, 51}, {5, 76}, 10000.0, 0.0, 202.0},         // vertical: height above the bottom
      {0, {5, 51}, {5, 500}, 10000.0, 0.0, 5050.0},       // y kept to 100: 1 pixel up
  };
  for (const Case& c : cases) {
    FynMoveVScale scale(100.0, 0.0, 0, 1, c.orientation);
    ASSERT_TRUE(scale.Create(nullptr, 0, {0, 0, 101, 101}));
    scale.SetLimit(c.upper, c.lower);
    Drag(scale, c.down, c.up);
    double value = 0;
    scale.GetCurValue(&value);
    EXPECT_DOUBLE_EQ(value, c.value) << c.orientation << " " << c.down.x << "," << c.down.y << " -> " << c.up.x
                                     << "," << c.up.y;
    EXPECT_EQ(scale.Invalidations(), 1);
  }
  FynMoveVScale scale(100.0, 10.0, 0, 1, 1);
  scale.SetLimit(500.0, 2.0);
  double upper = 0, lower = 0;
  scale.GetLimit(&upper, &lower);
  EXPECT_EQ(lower, 10.0);  // not below the base
  EXPECT_EQ(upper, 500.0);
}

TEST(MoveVScale, GridIsBlackAndGreyWithTheSwitchOff) {
  for (short sw : {1, 0}) {
    FynMoveVScale scale(1.0, 0.0, 0, sw, 1);
    ASSERT_TRUE(scale.Create(nullptr, 0, {0, 0, 100, 20}));
    const draw::Image image = testhooks::RenderWindow(scale);
    ASSERT_EQ(image.Width(), 100);
    const draw::ColorRef dark = sw ? kBlack : kGrey;
    EXPECT_EQ(image.GetPixel(50, 10), dark) << sw;
    EXPECT_EQ(image.GetPixel(51, 10), draw::Rgb(255, 255, 255)) << sw;
    EXPECT_EQ(image.GetPixel(40, 10), draw::GetSysColor(draw::COLOR_BTNFACE)) << sw;
    Mouse(scale, ui::WM_LBUTTONDOWN, {40, 10});
    EXPECT_EQ(scale.IsDragging(), sw == 1);
    EXPECT_EQ(scale.HasCapture(), sw == 1);
    Mouse(scale, ui::WM_LBUTTONUP, {40, 10});
  }
}

}  // namespace
