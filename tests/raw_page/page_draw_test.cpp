// The raw page drawn on paper into an image: waves stay in their bands and inside the page,
// the painter never reads past a channel's span of the page buffer, and the guarded
// divisions (no shown channel, a 0 s page, a sensitivity of 0 units per cm) draw no wave.
#include <gtest/gtest.h>

#include <cmath>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/draw/print.h"

#include <cstdio>

namespace {

constexpr int kRate = 100;
constexpr draw::ColorRef kWhite = draw::Rgb(255, 255, 255);
constexpr draw::ColorRef kRed = draw::Rgb(255, 0, 0);
constexpr draw::ColorRef kBlue = draw::Rgb(0, 0, 255);

class RawPageDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {EpochSeconds, PageSeconds, PrintTarget, PrintInColor, static_cast<int>(ShowChannelName),
              static_cast<int>(ShowEpochMode)};
    EpochSeconds = 10;
    PageSeconds = 30;
    PrintTarget = 1;
    PrintInColor = 1;
    ShowChannelName = 0;
    ShowEpochMode = 0;
    savedColours_ = DisplayColors;
    DisplayColors[2] = kWhite;  // grid in the paper's colour: only waves leave marks
    doc_.RecordSeconds = 300;
    doc_.CurrentPage = 1;
    doc_.RecordInfo.channelCount = 2;
    for (int c = 0; c < 2; ++c) {
      LyrChInfo& ch = doc_.ChInfo[c];
      ch.rate = kRate;
      ch.unitsPerCm = 50.0;
      ch.scaleMode = 0;
      ch.colour = c == 0 ? kRed : kBlue;
    }
    view_.SetDocument(&doc_);
    view_.SetRowIndex(2);
    view_.SetPrintRect(draw::Rect{50, 0, 649, 400}, 5);
  }
  void TearDown() override {
    view_.SetDocument(nullptr);
    DisplayColors = savedColours_;
    EpochSeconds = saved_[0];
    PageSeconds = saved_[1];
    PrintTarget = static_cast<std::uint16_t>(saved_[2]);
    PrintInColor = saved_[3];
    ShowChannelName = static_cast<std::uint32_t>(saved_[4]);
    ShowEpochMode = static_cast<std::uint16_t>(saved_[5]);
  }
  // Fills row 2's buffer: each channel holds exactly rate x page seconds + 1 samples.
  void FillPage() {
    const std::size_t span = static_cast<std::size_t>(kRate) * PageSeconds + 1;
    std::vector<float> buffer(2 * span);
    for (std::size_t i = 0; i < span; ++i) {
      buffer[i] = static_cast<float>(40.0 * std::sin(i * 0.3));
      buffer[span + i] = static_cast<float>(40.0 * std::cos(i * 0.2));
    }
    buffer.shrink_to_fit();
    doc_.RecordInfo.pageBuffers[2] = std::move(buffer);
  }
  // Colours drawn, with the rows and columns they reach.
  struct Extent {
    int count = 0, minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
  };
  Extent Draw(draw::ColorRef colour) {
    draw::Image image(700, 450, 32);
    draw::Dc dc(image);
    dc.FillSolidRect(draw::Rect{0, 0, 700, 450}, kWhite);
    view_.DrawPage(dc);
    Extent e;
    for (int y = 0; y < 450; ++y) {
      for (int x = 0; x < 700; ++x) {
        if (dc.GetPixel(x, y) != colour) continue;
        ++e.count;
        e.minX = std::min(e.minX, x);
        e.maxX = std::max(e.maxX, x);
        e.minY = std::min(e.minY, y);
        e.maxY = std::max(e.maxY, y);
      }
    }
    return e;
  }

  CQLM2_AnalyzerDoc doc_;
  LyrRawAreaView view_;
  std::array<int, 6> saved_{};
  std::array<std::uint32_t, 9> savedColours_{};
};

TEST_F(RawPageDraw, WavesFillTheirBandsAcrossThePage) {
  FillPage();
  // Bands of (400 + 1) / 2 = 200.5 pixels: 0..200 and 200..401, base lines in the middle.
  EXPECT_EQ(view_.GetChannelBaseline(0), 100);
  EXPECT_EQ(view_.GetChannelBaseline(1), 300);
  // 1 cm over 50 units at the screen or printer resolution; the image reports the screen's.
  const Extent red = Draw(kRed);
  const Extent blue = Draw(kBlue);
  ASSERT_GT(red.count, 0);
  ASSERT_GT(blue.count, 0);
  EXPECT_GE(red.minX, 50);
  EXPECT_LE(red.maxX, 649);
  EXPECT_GE(red.maxX, 640);  // the page's 30 s reach the right edge
  EXPECT_LT(red.maxY, 200);
  EXPECT_GT(blue.minY, 200);
  EXPECT_LE(blue.maxY, 400);
}

TEST_F(RawPageDraw, TheLastPageStopsAtTheLastEpoch) {
  FillPage();
  doc_.RecordSeconds = 50;  // pages of 3 epochs, the second page holds epochs 3 and 4 only
  const Extent red = Draw(kRed);
  ASSERT_GT(red.count, 0);
  // Two epochs of three: the wave ends two thirds across (50 + 400).
  EXPECT_LE(red.maxX, 451);
  EXPECT_GE(red.maxX, 445);
}

TEST_F(RawPageDraw, GuardedDivisionsDrawNoWave) {
  FillPage();
  doc_.ChInfo[0].unitsPerCm = 0.0;  // 0 units per cm: channel 0 is not drawn, channel 1 is
  EXPECT_EQ(Draw(kRed).count, 0);
  EXPECT_GT(Draw(kBlue).count, 0);

  doc_.ChInfo[0].show = 0;
  doc_.ChInfo[1].show = 0;  // no channel shown
  EXPECT_EQ(view_.GetChannelBaseline(1), -1);
  EXPECT_EQ(Draw(kBlue).count, 0);

  doc_.ChInfo[1].show = 1;
  PageSeconds = 0;  // a page rounded down to 0 s
  EXPECT_EQ(Draw(kBlue).count, 0);
}

TEST_F(RawPageDraw, NoPageBufferDrawsOnlyTheGrid) {
  DisplayColors[2] = kRed;
  const Extent grid = Draw(kRed);
  // 31 dotted lines of one second and the epoch lines, nothing else.
  EXPECT_GT(grid.count, 0);
  EXPECT_EQ(Draw(kBlue).count, 0);
}

}  // namespace

namespace {

// The whole raw window on paper: header and the middle row, to a preview and to a PDF file.
TEST_F(RawPageDraw, PrintsHeaderAndRowsThroughAPrintJob) {
  FillPage();
  doc_.PageRows = 1;
  doc_.RecordInfo.path = "/data/night01.rec";
  doc_.RecordInfo.subjectName = "Subject A";
  LyrRawDummyView host;
  host.SetDocument(&doc_);
  draw::PageSetup setup;
  setup.landscape = true;
  setup.dpi = 150;
  auto preview = draw::PrintJob::OpenPreview(setup, 150);
  ASSERT_TRUE(preview);
  preview->StartPage();
  host.PrintRawWindow(preview->GetDc(), preview->PageRect());
  preview->EndPage();
  preview->EndDoc();
  ASSERT_EQ(preview->PageCount(), 1);
  const draw::Image* page = preview->PreviewPage(0);
  ASSERT_NE(page, nullptr);
  draw::Image copy = *page;
  draw::Dc dc(copy);
  int red = 0;
  for (int y = 0; y < copy.Height(); y += 1) {
    for (int x = 0; x < copy.Width(); x += 1) red += dc.GetPixel(x, y) == kRed;
  }
  EXPECT_GT(red, 100) << "the middle row's first channel on paper";
  EXPECT_EQ(PrintTarget, 1);  // the caller's target is left as it was

  const std::string path = ::testing::TempDir() + "raw_page_print.pdf";
  draw::PrintStatus status = draw::PrintStatus::Failed;
  auto pdf = draw::PrintJob::OpenPdf(path, setup, &status);
  ASSERT_EQ(status, draw::PrintStatus::Ok);
  pdf->StartPage();
  host.PrintRawWindow(pdf->GetDc(), pdf->PageRect());
  pdf->EndPage();
  EXPECT_EQ(pdf->EndDoc(), draw::PrintStatus::Ok);
  pdf.reset();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char head[5] = {};
  EXPECT_EQ(std::fread(head, 1, 4, f), 4u);
  std::fclose(f);
  EXPECT_STREQ(head, "%PDF");
  std::remove(path.c_str());
  host.SetDocument(nullptr);
}

// Level labels: the first named range holding the value, a value at a high bound belonging
// to the next range; ranges past the label count are not looked at.
TEST(ChannelLevelLabels, FirstRangeWithLowAtOrBelowAndHighAboveTheValue) {
  LyrChInfo ch;
  ch.SetNamedRange(0, {"Low", 0.0, 10.0});
  ch.SetNamedRange(1, {"High", 10.0, 20.0});
  ch.SetNamedRange(2, {"Over", 20.0, 99.0});
  ch.displayTypeWords[6] = 2;
  const std::pair<double, const char*> cases[] = {
      {-0.5, ""}, {0.0, "Low"}, {9.99, "Low"}, {10.0, "High"}, {19.9, "High"}, {20.0, ""}};
  for (const auto& [v, label] : cases) EXPECT_EQ(ch.LevelLabelOf(v), label) << v;
  ch.displayTypeWords[6] = 3;
  EXPECT_EQ(ch.LevelLabelOf(20.0), "Over");
  ch.SetNamedRange(0, {"TooLongLabel", 0.0, 1.0});  // 8 bytes with the terminator
  EXPECT_EQ(ch.GetNamedRange(0).label, "TooLong");
}

}  // namespace

