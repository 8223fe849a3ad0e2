// The raw-data fingerprint of a recording and the single-channel simple spectrum.
#include <cmath>

#include "open_fixture.h"

namespace {

TEST_F(OpenTest, RawWordSumOfOwnFileAddsHundredSamplesOfEachSelectedChannel) {
  // Sample s of channel c stores s + 1000 c; 3 channels at 10 Hz for 130 s.
  fixture::RawSpec spec = Night(130, 3);
  for (std::size_t s = 0; s < spec.g1.dataCount; ++s)
    for (std::size_t c = 0; c < 3; ++c) spec.frames[s * 3 + c] = static_cast<std::uint16_t>(s + 1000 * c);
  ASSERT_TRUE(Doc().OnOpenDocument(WriteNight("sum.fyd", spec)));
  // From second 5 the samples 50..149: sum 9950 per channel, plus 100 x 1000 c.
  struct Case { const char* what; std::array<std::int32_t, 32> flags; bool all; std::uint32_t expected; };
  const std::vector<Case> cases = {
      {"all channels", {}, true, 3 * 9950 + 100000 + 200000},
      {"channel 0 only", {1}, false, 9950},
      {"channels 1 and 2", {0, 1, 7}, false, 2 * 9950 + 100000 + 200000},
      {"none flagged", {}, false, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Doc().GetRawWordSum(5, c.all ? nullptr : c.flags.data()), c.expected) << c.what;
  // The last samples: a range running past the end adds only what exists (1299 is the last).
  const std::uint32_t tail = 1290 + 1291 + 1292 + 1293 + 1294 + 1295 + 1296 + 1297 + 1298 + 1299;
  const std::array<std::int32_t, 32> first{1};
  EXPECT_EQ(Doc().GetRawWordSum(129, first.data()), tail);
}

TEST_F(OpenTest, RawWordSumOfPluginRecordingAsksEachSelectedChannel) {
  TestPluginAnswers& s = UseTestPlugin();
  s.channels = 3;
  ASSERT_TRUE(Doc().OnOpenDocument(WriteText("rec.tst", "foreign")));
  // Words are 1 + channel: two selected channels of all-1 and all-3 give 100 + 300.
  const std::array<std::int32_t, 32> flags{1, 0, 1};
  EXPECT_EQ(Doc().GetRawWordSum(7, flags.data()), 400u);
  EXPECT_EQ(s.wordFirst[0], 700);  // 100 Hz x 7 s
  EXPECT_EQ(s.wordFirst[2], 700);
  EXPECT_EQ(Doc().GetRawWordSum(0, nullptr), 600u);
  s.dataType = 1;
  EXPECT_EQ(Doc().GetRawWordSum(0, nullptr), 600u);
  s.dataType = 2;  // a data type the fingerprint cannot use
  EXPECT_EQ(Doc().GetRawWordSum(0, nullptr), 0u);
  s.dataType = 0;
  std::snprintf(s.failExport, sizeof s.failExport, "GetRawWordData");
  EXPECT_EQ(Doc().GetRawWordSum(0, nullptr), 0u);
}

TEST_F(OpenTest, RawWordSumOfNoRecordingIsZero) { EXPECT_EQ(Doc().GetRawWordSum(0, nullptr), 0u); }

TEST_F(OpenTest, SimpleSpectrumTakesPageDataFromStartAndZerosAfterIt) {
  ASSERT_TRUE(Doc().OnOpenDocument(WriteNight("fft.fyd", Night(130))));
  CQLM2_AnalyzerDoc& d = Doc();
  FFTPageParam& p = d.Params.fftPage;
  p.simpleAveraging = 1;
  p.simpleFftPoints = 64;
  p.windowType = 0;  // no window: bin 0 is (sum of the samples)^2 / N / fs
  p.unit = 0;
  // Channel 0 of slot 2 all ones, channel 1 all fives: a read past channel 0's page data
  // would take fives.
  const std::size_t page = static_cast<std::size_t>(d.ChInfo[0].rate) * PageSeconds;  // 300
  std::vector<float>& slot = d.RecordInfo.pageBuffers[2];
  std::fill(slot.begin(), slot.end(), 5.0f);
  std::fill(slot.begin(), slot.begin() + static_cast<std::ptrdiff_t>(page), 1.0f);
  struct Case { int start; double sum; };
  for (const Case& c : {Case{0, 64.0}, Case{static_cast<int>(page) - 10, 10.0}, Case{static_cast<int>(page) + 5, 0.0}}) {
    ASSERT_EQ(d.CalcSimpleFFTData(2, 0, c.start), 1) << c.start;
    EXPECT_EQ(d.SimpleSpectrum.channel, 0);
    ASSERT_EQ(d.SimpleSpectrum.valueCount, 33);
    ASSERT_EQ(d.SimpleSpectrum.values.size(), 33u);
    EXPECT_NEAR(d.SimpleSpectrum.values[0], c.sum * c.sum / 64.0 / 10.0, 1e-3) << c.start;
  }
  // A start outside the channel changes nothing.
  d.SimpleSpectrum.values.assign(3, 7.0f);
  d.SimpleSpectrum.channel = 9;
  for (int start : {-1, static_cast<int>(d.ChInfo[0].dataCount)}) {
    EXPECT_EQ(d.CalcSimpleFFTData(2, 0, start), 0);
    EXPECT_EQ(d.SimpleSpectrum.channel, 9);
    EXPECT_EQ(d.SimpleSpectrum.values, std::vector<float>(3, 7.0f));
  }
}

}  // namespace
