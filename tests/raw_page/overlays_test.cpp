// Overlays of the raw page: the runs a recognition table gives on a page, and what the
// overlay routines put into an image: heart-beat ticks at the ECG channel's own times,
// events at their own rate's times, mark strips stacked above the page bottom, boxes and
// labels in black on paper without colour.
#include <gtest/gtest.h>

#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/raw/page_overlays.h"
#include "common/draw/fyn_draw_wave.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"

namespace {

TEST(PageOverlayBoxes, RunsOfAPage) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> runs;  // [from, to) intervals holding code 1
    std::int64_t first;
    std::int64_t last;
    int width;
    std::vector<OverlayBox> expected;
  };
  // 40-s pages of 0.25-s intervals: 160 per page; 800 pixels give 5 pixels an interval.
  const std::vector<Case> cases = {
      {"a run inside the page", {{10, 20}}, 0, 1000, 800, {{50, 100, 1}}},
      {"a run over the page end is cut at the right edge", {{150, 170}}, 0, 1000, 800, {{750, 800, 1}}},
      {"its rest starts the next page at 0", {{150, 170}}, 160, 1000, 800, {{0, 50, 1}}},
      {"the recording's end stops the walk", {{10, 20}}, 0, 15, 800, {{50, 75, 1}}},
      // 100 pixels: 0.625 a interval; interval 2 spans columns 1.25 .. 1.875, no pixel.
      {"a run of less than a pixel is left out", {{2, 3}}, 0, 1000, 100, {}},
      {"a run of one pixel stays", {{1, 2}}, 0, 1000, 100, {{0, 1, 1}}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> table(400, 0);
    for (auto [from, to] : c.runs)
      for (int i = from; i < to; ++i) table[static_cast<std::size_t>(i)] = 1;
    const auto boxes = PageOverlayBoxes(table, c.first, c.last, 0.25, 40, c.width);
    ASSERT_EQ(boxes.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].x1, c.expected[i].x1) << c.name;
      EXPECT_EQ(boxes[i].x2, c.expected[i].x2) << c.name;
      EXPECT_EQ(boxes[i].code, c.expected[i].code) << c.name;
    }
  }
}

TEST(PageOverlayBoxes, NeighbouringCodesMakeTheirOwnBoxesAndTheTableEndStopsTheWalk) {
  std::vector<std::uint8_t> table(170, 0);
  for (int i = 10; i < 20; ++i) table[static_cast<std::size_t>(i)] = 4;
  for (int i = 20; i < 30; ++i) table[static_cast<std::size_t>(i)] = 1;
  for (int i = 165; i < 170; ++i) table[static_cast<std::size_t>(i)] = 3;
  auto boxes = PageOverlayBoxes(table, 0, 1000, 0.25, 40, 800);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].code, 4);
  EXPECT_EQ(boxes[1].code, 1);
  EXPECT_EQ(boxes[1].x1, 100);
  // The second page reads the table's last ten intervals only.
  boxes = PageOverlayBoxes(table, 160, 1000, 0.25, 40, 800);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].x1, 25);
  EXPECT_EQ(boxes[0].x2, 50);
}

constexpr draw::ColorRef kWhite = draw::Rgb(255, 255, 255);

// A 40-s page of 800 x 400 pixels, 10-s epochs; the page is page 1 (epochs 4 to 7).
class OverlayDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_.RecordInfo.channelCount = 2;
    doc_.RecordSeconds = 400;
    doc_.ChInfo[0].rate = 100;
    doc_.ChInfo[1].rate = 200;
    ctx_.doc = &doc_;
    ctx_.dc = &dc_;
    ctx_.page = draw::Rect{0, 0, 800, 400};
    ctx_.epochSeconds = 10;
    ctx_.pageSeconds = 40;
    ctx_.epochsPerPage = 4;
    ctx_.firstEpoch = 4;
    ctx_.epochCount = 40;
    ctx_.pageStartSeconds = 40;
    ctx_.enabledChannels = 2;
    dc_.FillSolidRect(draw::Rect{0, 0, 800, 420}, kWhite);
  }
  // A painter of one channel of `rate` over the page: 20 pixels a second.
  FynDrawWave Painter(int rate) {
    samples_.assign(static_cast<std::size_t>(rate) * 40 + 1, 0.0f);
    param_ = _FynDrawWaveParam{};
    param_.dc = &dc_;
    param_.chNum = 1;
    param_.showFlags = &show_;
    param_.data = samples_.data();
    param_.firstIndex = 0;
    param_.lastIndex = static_cast<std::uint32_t>(samples_.size() - 1);
    param_.sampFreq = rate;
    param_.baseLines = &base_;
    param_.xScale = 20.0;
    param_.yScales = &yScale_;
    param_.rect = ctx_.page;
    return FynDrawWave(&param_);
  }
  // Columns of a row holding the colour.
  std::vector<int> ColumnsAt(int y, draw::ColorRef colour) {
    std::vector<int> xs;
    for (int x = 0; x < 800; ++x)
      if (dc_.GetPixel(x, y) == colour) xs.push_back(x);
    return xs;
  }

  CQLM2_AnalyzerDoc doc_;
  draw::Image image_{800, 420, 32};
  draw::Dc dc_{image_};
  PageDrawContext ctx_;
  std::vector<float> samples_;
  _FynDrawWaveParam param_{};
  std::int16_t show_ = 1;
  std::int32_t base_ = 300;
  double yScale_ = 1.0;
};

TEST_F(OverlayDrawing, HeartBeatTicksSitAtTheEcgChannelsOwnTimes) {
  // The ECG is channel 1 at 200 Hz, twice the rate of channel 0. A peak 1.5 s into the page
  // lies at sample (4 x 10 + 1.5) x 200 = 8,300 of the ECG: x = 1.5 s x 20 = 30.
  const draw::ColorRef tick = draw::Rgb(0, 0, 255);
  SleepDstrbParam& sd = doc_.Params.sleepDstrb;
  sd.ecgChannel = 1;
  sd.ecgShowPeak = 1;
  sd.eventColours[5] = tick;
  EcgRcgnzTable& peaks = doc_.RecognitionTables.ECGRcgnz();
  peaks.positions = {100, 8300, 8000 + 39 * 200, 8000 + 40 * 200 + 1};
  peaks.count = 4;
  const FynDrawWave painter = Painter(200);
  DrawHeartBeatPeaks(ctx_, 1, painter);
  // At the base line (samples 0): ticks at 1.5 s and 39 s only; 0.5 s before the page and
  // the sample after its end are not drawn.
  EXPECT_EQ(ColumnsAt(300, tick), (std::vector<int>{30, 780}));
  EXPECT_EQ(dc_.GetPixel(30, 295), tick);
  EXPECT_EQ(dc_.GetPixel(30, 294), kWhite);
  // Another channel or the switch off: nothing.
  dc_.FillSolidRect(draw::Rect{0, 0, 800, 420}, kWhite);
  DrawHeartBeatPeaks(ctx_, 0, painter);
  sd.ecgShowPeak = 0;
  DrawHeartBeatPeaks(ctx_, 1, painter);
  EXPECT_TRUE(ColumnsAt(300, tick).empty());
}

TEST_F(OverlayDrawing, EventsAreMappedFromTheirOwnRate) {
  // Events counted at 1,000 Hz, drawn on a 100 Hz channel: an event 10 s into the page is
  // at x = 200, the name beside it.
  const draw::ColorRef ink = draw::Rgb(255, 0, 178);
  ctx_.eventColour = ink;
  doc_.EventRate = 1000;
  doc_.EventNames = {"Lights off"};
  doc_.Events = {{0, 50000}, {0, 39000}, {0, 81000}};
  const FynDrawWave painter = Painter(100);
  DrawEvents(ctx_, painter, 100, 4001);
  EXPECT_EQ(ColumnsAt(399, ink), (std::vector<int>{200}));
  bool name = false;
  for (int x = 201; x < 300 && !name; ++x)
    for (int y = 0; y < 30 && !name; ++y) name = dc_.GetPixel(x, y) != kWhite;
  EXPECT_TRUE(name) << "the event's name is written right of its line";
}

TEST_F(OverlayDrawing, MarkStripsStackUpFromTheBottomLastTypeLowest) {
  const draw::ColorRef c10 = draw::Rgb(10, 200, 10);
  const draw::ColorRef c9 = draw::Rgb(200, 10, 10);
  ASSERT_EQ(doc_.Marks.AllocateMark(400), 1);
  MarkTypeParam& types = doc_.Params.markType;
  for (auto& item : types.items) item.triggerDetect = 0;
  types.items[9] = {};
  types.items[9].triggerDetect = 1;
  types.items[9].show = 1;
  types.items[9].colour = c10;
  types.items[8].triggerDetect = 1;
  types.items[8].show = 1;
  types.items[8].colour = c9;
  ctx_.markLineWidth = 12;
  // Type 10 marks 50.0 .. 60.0 s (points 500 .. 599): x = (500 - 400) / 400 x 801 = 200 to
  // (599 - 400 + 1) / 400 x 801 = 400. Type 9 marks the page's first second (x 0 .. 20).
  std::uint8_t* flags10 = doc_.Marks.Flags(9);
  for (int p = 500; p < 600; ++p) flags10[p] = 1;
  std::uint8_t* flags9 = doc_.Marks.Flags(8);
  for (int p = 400; p < 410; ++p) flags9[p] = 1;
  DrawMarkStrips(ctx_);
  // Type 10: rows 383 .. 394 (bottom 5 pixels above the page bottom 400); type 9: 2 pixels higher.
  const std::vector<int> strip10 = ColumnsAt(390, c10);
  ASSERT_FALSE(strip10.empty());
  EXPECT_EQ(strip10.front(), 200);
  EXPECT_EQ(strip10.back(), 399);
  EXPECT_EQ(dc_.GetPixel(300, 395), kWhite);
  EXPECT_EQ(dc_.GetPixel(300, 383), c10);
  EXPECT_EQ(dc_.GetPixel(300, 382), kWhite);
  EXPECT_EQ(dc_.GetPixel(10, 380), c9);
  EXPECT_EQ(dc_.GetPixel(10, 369), c9);
  EXPECT_EQ(dc_.GetPixel(25, 375), kWhite);
}

TEST_F(OverlayDrawing, RespirationBoxesAreBlackOnPaperWithoutColour) {
  SleepDstrbParam& sd = doc_.Params.sleepDstrb;
  sd.airFlow.channel = 0;
  doc_.RecognitionTables.RespRcgnz().assign(400 * 4, 0);
  // An obstructive apnea 42 .. 47 s: page intervals 8 .. 27, x = 40 .. 140 (5 pixels each).
  for (int i = 168; i < 188; ++i) doc_.RecognitionTables.RespRcgnz()[static_cast<std::size_t>(i)] = 1;
  ctx_.printing = true;
  ctx_.monochrome = true;
  DrawRespirationEvents(ctx_, 0, 300);
  const draw::ColorRef black = draw::Rgb(0, 0, 0);
  EXPECT_EQ(ColumnsAt(300, black), (std::vector<int>{40, 140}));
  // On the chest channel (not set) nothing is drawn.
  dc_.FillSolidRect(draw::Rect{0, 0, 800, 420}, kWhite);
  DrawRespirationEvents(ctx_, 1, 300);
  EXPECT_TRUE(ColumnsAt(300, black).empty());
}

}  // namespace

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/raw/page_epoch_values.h"
#include "app/raw/raw_dummy_view.h"

namespace {

// The middle row's drawing during a screening batch: the staging end epoch of the page and
// one staging step over the same page values the drawing computed.
TEST(ScreeningPageDrawing, SetsTheStagingEndAndRunsTheStagingStepOnce) {
  const auto savedEpoch = EpochSeconds;
  const auto savedPage = PageSeconds;
  const auto savedTarget = PrintTarget;
  EpochSeconds = 10;
  PageSeconds = 30;
  PrintTarget = 1;
  ScreeningRunning = 1;
  CQLM2_AnalyzerDoc doc;
  doc.RecordSeconds = 100;  // 10 epochs; page 3 holds epochs 9 (in the recording), 10 and 11
  doc.CurrentPage = 3;
  doc.CurrentEpoch = 9;
  doc.RecordInfo.channelCount = 1;
  doc.ChInfo[0].rate = 10;
  doc.ChInfo[0].unitsPerCm = 50.0;
  doc.RecordInfo.pageBuffers[2].assign(10 * 30 + 1, 1.0f);
  LyrRawAreaView view;
  view.SetDocument(&doc);
  view.SetRowIndex(2);
  view.SetPrintRect(draw::Rect{0, 0, 300, 200}, 0);
  int steps = 0;
  std::int64_t firstEpoch = -1;
  PageAutoStagingTransaction = [&](CQLM2_AnalyzerDoc& d, PageEpochValues& values) {
    ++steps;
    firstEpoch = values.FirstEpoch();
    EXPECT_EQ(&d, &doc);
  };
  draw::Image image(320, 220, 32);
  draw::Dc dc(image);
  view.DrawPage(dc);
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(firstEpoch, 9);
  EXPECT_EQ(doc.StagingEndEpoch, 9) << "min(9 + 3 - 1, 10 - 1)";
  // Another row draws no staging step.
  view.SetRowIndex(1);
  view.DrawPage(dc);
  EXPECT_EQ(steps, 1);
  PageAutoStagingTransaction = nullptr;
  view.SetDocument(nullptr);
  ScreeningRunning = 0;
  PrintTarget = savedTarget;
  PageSeconds = savedPage;
  EpochSeconds = savedEpoch;
}

}  // namespace
