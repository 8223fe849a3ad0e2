#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "app/document/seizure_finding.h"
#include "platform/testing/ui_testing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The settings of the 5 Hz case: 4..6 Hz, 50..150 units, level 20, 4 half waves.
WaveDetectParamRecord FiveHz() {
  WaveDetectParamRecord p;
  p.channel = 0;
  p.frqMinHz = 4.0;
  p.frqMaxHz = 6.0;
  p.ampMin = 50.0;
  p.ampMax = 150.0;
  p.peakLevel = 20.0;
  p.halfWaveCount = 4;
  return p;
}

// 20 s at 100 Hz, flat for 10 s and then a 5 Hz sine of 100 units peak to peak to the end;
// the channel's data starts 50 samples before recording time 0.
struct Channel {
  static constexpr int kOffset = 50;
  std::vector<float> data;
  SeizureChannel ch;
  Channel() {
    data.assign(2000 + kOffset, 0.0f);
    for (int t = 1000; t < 2000; ++t) data[t + kOffset] = static_cast<float>(50.0 * std::sin(2 * kPi * 5.0 * (t - 1000) / 100.0));
    ch.rate = 100;
    ch.startOffset = kOffset;
    ch.dataCount = static_cast<std::int64_t>(data.size());
    ch.epochSeconds = 4;
    ch.pageSeconds = 10;
    ch.currentPage = 1;
    ch.wholeEpochs = 5;
  }
  SeizureSampleReader Reader() {
    return [this](std::int64_t first, std::int64_t count, float* out) {
      if (first < 0 || first + count > static_cast<std::int64_t>(data.size())) return false;
      std::memcpy(out, data.data() + first, static_cast<std::size_t>(count) * sizeof(float));
      return true;
    };
  }
};

std::vector<std::uint8_t> Stretch(std::size_t size, std::size_t from, std::size_t to) {
  std::vector<std::uint8_t> m(size, 0);
  for (std::size_t j = from; j < to; ++j) m[j] = 1;
  return m;
}

class Seizure : public ::testing::Test {
 protected:
  void SetUp() override { testhooks::Reset(); }
  void TearDown() override {
    testhooks::Reset();
    WaveDetectParam = {};
    SeizureMarks.clear();
  }
};

TEST_F(Seizure, FiveHertzRunIsMarkedFromItsFirstToItsSecondToLastExtreme) {
  Channel c;
  // Extremes every 10 samples from recording time 1005 to 1995; the closing check ends the
  // run at the second-to-last, 1985: bytes 1005 x 10 / 100 = 100 up to 198.
  const std::vector<std::uint8_t> expected = Stretch(200, 100, 198);
  for (bool whole : {true, false}) {
    std::vector<std::uint8_t> marks(200, 0);
    FindSeizure(whole, c.ch, c.Reader(), false, FiveHz(), marks);
    EXPECT_EQ(marks, expected) << (whole ? "whole recording" : "preview of page 1");
  }
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(Seizure, SearchRangesCountTheOffsetOnceAndStopAtTheLastSample) {
  Channel c;
  const SeizureRange whole = SeizureSearchRange(c.ch, true);
  EXPECT_EQ(whole.first, 50);
  EXPECT_EQ(whole.last, 2049);  // 50 + 100 x 4 x 5 = 2050, beyond the data
  EXPECT_EQ(whole.TimeBase(c.ch), 0);
  c.ch.currentPage = 0;
  const SeizureRange page = SeizureSearchRange(c.ch, false);
  EXPECT_EQ(page.first, 50);
  EXPECT_EQ(page.last, 1050);  // one page and the first sample of the next
  EXPECT_EQ(page.TimeBase(c.ch), 0);
}

TEST_F(Seizure, RunCheckCases) {
  // Flat, then a maximum at 200, a minimum at 210 and a maximum at 260: the third extreme
  // is 600 ms after the first, beyond the longest period of 250 ms.
  std::vector<float> x(400, 0.0f);
  auto ramp = [&x](int a, float va, int b, float vb) {
    for (int k = a; k <= b; ++k) x[k] = va + (vb - va) * static_cast<float>(k - a) / static_cast<float>(b - a);
  };
  ramp(190, 0, 200, 50);
  ramp(200, 50, 210, -50);
  ramp(210, -50, 260, 50);
  ramp(260, 50, 270, 0);
  struct Case {
    int halfWaves;
    double frqMin;
    std::vector<std::uint8_t> marks;
  };
  const Case cases[] = {
      {1, 4.0, Stretch(40, 20, 21)},  // the run ends at once and still covers 200 .. 210
      {2, 4.0, Stretch(40, 0, 0)},
      {1, 0.0, Stretch(40, 0, 0)},    // no lowest frequency: nothing is judged
  };
  for (const Case& c : cases) {
    WaveDetectParamRecord p = FiveHz();
    p.halfWaveCount = c.halfWaves;
    p.frqMinHz = c.frqMin;
    std::vector<std::uint8_t> marks(40, 0);
    EXPECT_EQ(ScanSeizure(x, 0, 100, p, marks), SeizureScanResult::Done);
    EXPECT_EQ(marks, c.marks) << c.halfWaves << " half waves, " << c.frqMin << " Hz";
  }
  Channel five;
  WaveDetectParamRecord p = FiveHz();
  p.frqMinHz = 0.0;
  std::vector<std::uint8_t> marks(200, 0);
  FindSeizure(true, five.ch, five.Reader(), false, p, marks);
  EXPECT_EQ(marks, Stretch(200, 0, 0));
}

TEST_F(Seizure, ChainClosesGapsUpToNineteenTenths) {
  struct Case {
    std::size_t gap;
    bool joined;
  };
  for (const Case c : {Case{19, true}, Case{20, false}, Case{1, true}}) {
    std::vector<std::uint8_t> marks = Stretch(100, 10, 20);
    for (std::size_t j = 20 + c.gap; j < 30 + c.gap; ++j) marks[j] = 1;
    std::vector<std::uint8_t> expected = marks;
    if (c.joined) expected = Stretch(100, 10, 30 + c.gap);
    ChainSeizureMarks(marks);
    EXPECT_EQ(marks, expected) << "gap " << c.gap;
  }
  std::vector<std::uint8_t> tail = Stretch(30, 20, 25);  // nothing follows within the array
  ChainSeizureMarks(tail);
  EXPECT_EQ(tail, Stretch(30, 20, 25));
}

TEST_F(Seizure, FailuresAreShownAndTheChainStillRuns) {
  // Shorter than one second: no room for a single extreme.
  std::vector<float> shortRange(50, 0.0f);
  shortRange[40] = 100.0f;
  std::vector<std::uint8_t> marks(10, 0);
  EXPECT_EQ(ScanSeizure(shortRange, 0, 100, FiveHz(), marks), SeizureScanResult::WorkListFull);
  EXPECT_EQ(marks, Stretch(10, 0, 0));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "A DetectLv value is too small.");

  testhooks::Reset();
  Channel c;
  std::vector<std::uint8_t> chained = Stretch(200, 10, 20);
  chained[30] = 1;
  FindSeizure(true, c.ch, [](std::int64_t, std::int64_t, float*) { return false; }, true, FiveHz(), chained);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "CQLM2_AnalyzerDoc::FindSeizure");
  EXPECT_EQ(chained, Stretch(200, 10, 31));
}

TEST_F(Seizure, CancelRestoresTheSettingsAndMarksOfTheOpening) {
  AllocateSeizureMarksForEdition(12, 20);
  SeizureMarks[5] = 1;
  WaveDetectParam = FiveHz();
  const std::vector<std::uint8_t> before = SeizureMarks;
  const WaveDetectParamRecord paramBefore = WaveDetectParam;

  Channel c;
  WaveDetectSession session;
  session.Open();
  for (int page : {0, 1}) {  // two previews, each from cleared marks
    std::fill(SeizureMarks.begin(), SeizureMarks.end(), 0);
    c.ch.currentPage = page;
    FindSeizure(false, c.ch, c.Reader(), false, WaveDetectParam, SeizureMarks);
    WaveDetectParam.peakLevel += 5.0;
  }
  EXPECT_NE(SeizureMarks, before);
  session.Cancel();
  EXPECT_EQ(SeizureMarks, before);
  EXPECT_EQ(WaveDetectParam, paramBefore);
}

TEST_F(Seizure, MarksExistOnlyInTheAnimalEdition) {
  AllocateSeizureMarksForEdition(12, 28);
  EXPECT_EQ(SeizureMarks, std::vector<std::uint8_t>(280, 0));
  AllocateSeizureMarksForEdition(11, 28);
  EXPECT_TRUE(SeizureMarks.empty());
  EXPECT_TRUE(WaveDetectInEdition(12));
  EXPECT_FALSE(WaveDetectInEdition(11));
  EXPECT_EQ(WaveDetectAvailable(), QLM_PRODUCT_EDITION == 12);
  AllocateSeizureMarks(28);
  EXPECT_EQ(SeizureMarks.size(), QLM_PRODUCT_EDITION == 12 ? 280u : 0u);
}

TEST_F(Seizure, SettingsRecordKeepsItsByteLayout) {
  WaveDetectParamRecord p = FiveHz();
  p.channel = 3;
  p.colour = 0x0000FF;
  p.carried0[0] = 0xAB;
  p.carried68[11] = 0xCD;
  const auto bytes = p.ToBytes();
  EXPECT_EQ(bytes[0], 0xAB);
  EXPECT_EQ(bytes[12], 3);
  EXPECT_EQ(bytes[20], 0xFF);
  double ampMin = 0;
  std::memcpy(&ampMin, bytes.data() + 24, 8);
  EXPECT_EQ(ampMin, 50.0);
  EXPECT_EQ(bytes[64], 4);
  EXPECT_EQ(bytes[79], 0xCD);
  EXPECT_EQ(WaveDetectParamRecord::FromBytes(bytes), p);
}

}  // namespace
