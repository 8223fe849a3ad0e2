// Page window: which slots exist, what a move keeps, the processing chain of a page and
// how reading failures and unmakeable filters are reported.
#include <algorithm>
#include <cmath>

#include "app/frame/frame_globals.h"
#include "common/dsp/fyn_filter_fir.h"
#include "platform/system/key_state.h"
#include "page_fixture.h"

using namespace pagefix;

namespace {

// 10 Hz, one channel whose sample value is its index: a slot shows which page it holds.
Recording Ramp(long long seconds) {
  Recording r;
  r.channels = 1;
  r.rate = 10;
  r.samples = 10 * seconds;
  r.sample = [](int, long long i) { return static_cast<double>(i); };
  return r;
}

}  // namespace

TEST_F(PageTest, SlotsHeldForPageRowsAtFirstMiddleAndLastPage) {
  EpochSeconds = 4;
  PageSeconds = 8;
  const Recording r = Ramp(80);  // 10 pages
  ASSERT_TRUE(WriteOwnRaw(Path("a.raw"), r));
  struct Case { int rows; int page; const char* held; };  // held: slot kinds 0..4, 'x' present
  const Case cases[] = {
      {1, 0, "..x.."}, {1, 5, "..x.."}, {1, 9, "..x.."},
      {3, 0, "..xx."}, {3, 5, ".xxx."}, {3, 9, ".xx.."},
      {5, 0, "..xxx"}, {5, 1, ".xxxx"}, {5, 5, "xxxxx"}, {5, 9, "xxx.."},
  };
  for (const Case& c : cases) {
    CQLM2_AnalyzerDoc doc;
    Attach(doc, Path("a.raw"), 0, r);
    doc.PageRows = static_cast<std::uint16_t>(c.rows);
    doc.CurrentPage = c.page;
    doc.CurrentEpoch = c.page * 2;
    ASSERT_EQ(doc.SetPageData(), 0);
    for (int k = 0; k < 5; ++k) {
      SCOPED_TRACE(testing::Message() << "rows " << c.rows << " page " << c.page << " slot " << k);
      const bool held = c.held[k] == 'x';
      ASSERT_EQ(!doc.RecordInfo.pageBuffers[k].empty(), held);
      if (held) {
        EXPECT_EQ(doc.RecordInfo.pageBuffers[k].size(), 81u);
        EXPECT_EQ(doc.RecordInfo.pageBuffers[k][0], (c.page + k - 2) * 80.0f);
      }
    }
  }
}

TEST_F(PageTest, MovingByOnePageKeepsHeldPagesAndEqualsAFullReload) {
  EpochSeconds = 4;
  PageSeconds = 8;
  Recording r;
  r.channels = 2;
  r.rate = 200;
  r.samples = 200 * 56;  // 7 pages
  r.sample = [](int c, long long i) { return 800.0 * std::sin(2 * kPi * (7.0 + c) * i / 200.0) + (i % 37); };
  ASSERT_TRUE(WriteOwnRaw(Path("b.raw"), r));
  for (int rows : {1, 3, 5}) {
    CQLM2_AnalyzerDoc moving;
    Attach(moving, Path("b.raw"), 0, r);
    moving.PageRows = static_cast<std::uint16_t>(rows);
    moving.ChInfo[0].filterKind = 1;
    moving.ChInfo[0].filterMode = 2;
    moving.ChInfo[0].cut1Hz = 1.0;
    moving.ChInfo[0].cut2Hz = 30.0;
    moving.ChInfo[1].notch = 1;
    moving.ChInfo[1].filterMode = 1;
    moving.ChInfo[1].cut1Hz = 0.5;
    moving.ChInfo[1].baseLine = 1;
    ASSERT_EQ(moving.SetPageData(), 0);
    auto check = [&](const char* how) {
      CQLM2_AnalyzerDoc fresh;
      Attach(fresh, Path("b.raw"), 0, r);
      fresh.PageRows = moving.PageRows;
      fresh.ChInfo = moving.ChInfo;
      fresh.CurrentPage = moving.CurrentPage;
      ASSERT_EQ(fresh.SetPageData(), 0);
      for (int k = 0; k < 5; ++k)
        EXPECT_EQ(moving.RecordInfo.pageBuffers[k], fresh.RecordInfo.pageBuffers[k])
            << how << " rows " << rows << " page " << moving.CurrentPage << " slot " << k;
    };
    for (int step = 0; step < 6; ++step) {
      const float* current = moving.RecordInfo.pageBuffers[2].data();
      ++moving.CurrentPage;
      moving.MovePageRawData(1);
      // The old current page is taken over, not read again.
      if (rows != 1) {
        EXPECT_EQ(moving.RecordInfo.pageBuffers[1].data(), current);
      }
      check("forward");
    }
    for (int step = 0; step < 6; ++step) {
      --moving.CurrentPage;
      moving.MovePageRawData(0);
      check("backward");
    }
  }
}

TEST_F(PageTest, LastPageOwnFileZeroAfterEndAnalysisFileEndsAtLastSample) {
  EpochSeconds = 4;
  PageSeconds = 8;
  const Recording r = Ramp(20);  // pages of 8 s: two whole, the third holds 4 s
  ASSERT_TRUE(WriteOwnRaw(Path("c.raw"), r));
  ASSERT_TRUE(WriteAnalysis(Path("c.ana"), r));
  CQLM2_AnalyzerDoc own;
  Attach(own, Path("c.raw"), 0, r);
  own.CurrentPage = 2;
  ASSERT_EQ(own.SetPageData(), 0);
  const auto& o = own.RecordInfo.pageBuffers[2];
  ASSERT_EQ(o.size(), 81u);
  for (int i = 0; i < 81; ++i) EXPECT_EQ(o[i], i < 40 ? 160.0f + i : 0.0f) << i;

  CQLM2_AnalyzerDoc ana;
  Attach(ana, Path("c.ana"), 1, r);
  ana.CurrentPage = 2;
  ASSERT_EQ(ana.SetPageData(), 0);
  const auto& a = ana.RecordInfo.pageBuffers[2];
  ASSERT_EQ(a.size(), 81u);
  for (int i = 0; i < 81; ++i) EXPECT_EQ(a[i], 119.0f + i) << i;
}

// A slot is re-used from page to page without being cleared first: whatever the own file
// does not give (behind its end, a channel the file lacks, a mixed-rate recording) is zero
// all the same, not what the slot held before.
TEST_F(PageTest, WhatTheOwnFileDoesNotGiveIsZeroOverAnOldPage) {
  EpochSeconds = 4;
  PageSeconds = 8;
  const Recording r = Ramp(20);  // the third page holds 4 s
  ASSERT_TRUE(WriteOwnRaw(Path("z.raw"), r));
  struct Case {
    const char* what;
    int page;
    int extraChannels;
    std::uint32_t mixed;
  };
  const Case cases[] = {{"last page", 2, 0, 0}, {"channel not in the file", 0, 1, 0}, {"mixed rates", 1, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CQLM2_AnalyzerDoc doc;
    Recording shape = r;
    shape.channels += c.extraChannels;
    Attach(doc, Path("z.raw"), 0, shape);
    doc.MixedSampling = c.mixed;
    doc.CurrentPage = c.page;
    const std::size_t n = 81u * static_cast<std::size_t>(shape.channels);
    doc.RecordInfo.pageBuffers[2].assign(n, 7.0f);
    ASSERT_EQ(doc.SetPageData(), 0);
    const auto& slot = doc.RecordInfo.pageBuffers[2];
    ASSERT_EQ(slot.size(), n);
    for (std::size_t i = 0; i < n; ++i) {
      const long long sample = c.page * 80LL + static_cast<long long>(i);
      const float want = c.mixed == 0 && i < 81 && sample < r.samples ? static_cast<float>(sample) : 0.0f;
      ASSERT_EQ(slot[i], want) << i;
    }
  }
}

TEST_F(PageTest, NotchRemovesTheHumOfItsLineFrequency) {
  EpochSeconds = 4;
  PageSeconds = 8;
  for (double line : {50.0, 60.0}) {
    Recording r;
    r.channels = 2;
    r.rate = 200;
    r.samples = 200 * 16;
    r.sample = [line](int, long long i) { return 1000.0 * std::sin(2 * kPi * line * i / 200.0); };
    const std::string path = Path("hum.raw");
    ASSERT_TRUE(WriteOwnRaw(path, r));
    for (int kind : {0, 1}) {  // FIR and IIR designs
      CQLM2_AnalyzerDoc doc;
      Attach(doc, path, 0, r);
      for (int c = 0; c < 2; ++c) {
        doc.ChInfo[c].filterKind = kind;
        doc.ChInfo[c].filterMode = 1;
        doc.ChInfo[c].cut1Hz = 0.5;
        doc.ChInfo[c].lineFrequencyHz = line;
      }
      doc.ChInfo[0].notch = 1;
      ASSERT_EQ(doc.SetPageData(), 0);
      const double with = Rms(Channel(doc, 2, 0), 400, 1000);
      const double without = Rms(Channel(doc, 2, 1), 400, 1000);
      SCOPED_TRACE(testing::Message() << "line " << line << " kind " << kind);
      EXPECT_GT(without, 500.0);
      EXPECT_LT(with, without * 0.1);
    }
  }
}

TEST_F(PageTest, NotchStandsAsideForABandStopCoveringIt) {
  struct Case { double line; double cut1; double cut2; bool notchRuns; };
  const Case cases[] = {
      {50.0, 44.0, 56.0, false}, {50.0, 46.0, 56.0, true}, {50.0, 44.0, 54.0, true},
      {60.0, 54.0, 66.0, false}, {60.0, 44.0, 56.0, true}, {50.00005, 44.0, 56.0, false},
  };
  std::vector<float> base(2000);
  for (std::size_t i = 0; i < base.size(); ++i) base[i] = static_cast<float>(std::sin(2 * kPi * 50.0 * i / 200.0));
  for (const Case& c : cases) {
    for (int kind : {0, 1}) {
      std::vector<float> data = base;
      ASSERT_EQ(CQLM2_AnalyzerDoc::CalcNotchFilter(data.data(), data.size(), kind, 1, c.line, 3, c.cut1, c.cut2, 200.0), 1);
      EXPECT_EQ(data != base, c.notchRuns) << c.line << " " << c.cut1 << ".." << c.cut2 << " kind " << kind;
    }
  }
  // Any other mode never suppresses it; switched off it never runs.
  std::vector<float> data = base;
  CQLM2_AnalyzerDoc::CalcNotchFilter(data.data(), data.size(), 1, 1, 50.0, 2, 44.0, 56.0, 200.0);
  EXPECT_NE(data, base);
  data = base;
  CQLM2_AnalyzerDoc::CalcNotchFilter(data.data(), data.size(), 1, 0, 50.0, 2, 1.0, 30.0, 200.0);
  EXPECT_EQ(data, base);
}

TEST_F(PageTest, HourLongPagesSkipFiltersButRemoveTheBaseLine) {
  EpochSeconds = 30;
  PageSeconds = 3600;
  Recording r;
  r.channels = 1;
  r.rate = 4;
  r.samples = 4 * 7200;
  r.sample = [](int, long long i) { return 300.0 + 100.0 * std::sin(2 * kPi * 1.0 * i / 4.0 + 0.3) + (i % 5); };
  ASSERT_TRUE(WriteOwnRaw(Path("h.raw"), r));
  CQLM2_AnalyzerDoc doc;
  Attach(doc, Path("h.raw"), 0, r);
  LyrChInfo& ch = doc.ChInfo[0];
  ch.filterKind = 0;
  ch.filterMode = 0;
  ch.cut1Hz = 0.1;
  ch.notch = 1;
  ch.smoothingCount = 5;
  ch.baseLine = 1;
  ASSERT_EQ(doc.SetPageData(), 0);
  const float* p = Channel(doc, 2, 0);
  double mean = 0.0;
  for (int i = 0; i < 14401; ++i) mean += std::lround(r.sample(0, i));
  mean /= 14401;
  for (int i : {0, 1, 2, 777, 14400}) EXPECT_NEAR(p[i], std::lround(r.sample(0, i)) - mean, 1e-3) << i;
  EXPECT_EQ(doc.UnfilteredChannels, 0u);
}

TEST_F(PageTest, FilterThatCannotBeMadeLeavesTheChannelUnfilteredAndIsToldOnce) {
  EpochSeconds = 4;
  PageSeconds = 8;
  Recording r;
  r.channels = 3;
  r.rate = 50;  // at 60 Hz or less the recursive designs have no stop band
  r.samples = 50 * 40;
  r.sample = [](int c, long long i) { return 100.0 * c + (i % 23); };
  ASSERT_TRUE(WriteOwnRaw(Path("slow.raw"), r));
  CQLM2_AnalyzerDoc doc;
  Attach(doc, Path("slow.raw"), 0, r);
  doc.PageRows = 3;
  for (int c = 0; c < 2; ++c) {
    doc.ChInfo[c].filterKind = 1;
    doc.ChInfo[c].filterMode = 2;
    doc.ChInfo[c].cut1Hz = 0.5;
    doc.ChInfo[c].cut2Hz = 15.0;
  }
  ASSERT_EQ(doc.SetPageData(), 0);
  EXPECT_EQ(doc.UnfilteredChannels, 0b011u);
  for (int c = 0; c < 3; ++c)
    for (int i : {0, 5, 400}) EXPECT_EQ(Channel(doc, 2, c)[i], 100.0f * c + (i % 23));
  ++doc.CurrentPage;
  doc.MovePageRawData(1);
  ++doc.CurrentPage;
  doc.MovePageRawData(1);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_NE(testhooks::ShownMessageBoxes()[0].text.find("CH1, CH2"), std::string::npos);
  // Another recording is told again.
  std::filesystem::copy_file(Path("slow.raw"), Path("slow2.raw"));
  doc.RecordInfo.path = Path("slow2.raw");
  ASSERT_EQ(doc.SetPageData(), 0);
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
}

TEST_F(PageTest, ReadFailureIsToldApartFromASlotNotKept) {
  EpochSeconds = 4;
  PageSeconds = 8;
  const Recording r = Ramp(80);
  CQLM2_AnalyzerDoc doc;
  Attach(doc, Path("missing.raw"), 0, r);
  doc.PageRows = 3;
  EXPECT_EQ(doc.SetPageRawData(short{0}), kPageSlotNotKept);
  EXPECT_EQ(doc.SetPageRawData(short{2}), kPageSlotReadFailed);
  EXPECT_EQ(doc.RecordInfo.pageBuffers[2], std::vector<float>(81, 0.0f));
  EXPECT_EQ(doc.SetPageData(), 1);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_NE(testhooks::ShownMessageBoxes()[0].text.find("SetPageData"), std::string::npos);
  // An analysis file is not read as an own raw file either.
  ASSERT_TRUE(WriteAnalysis(Path("x.ana"), r));
  doc.RecordInfo.path = Path("x.ana");
  EXPECT_EQ(doc.SetPageRawData(short{2}), kPageSlotReadFailed);
}

TEST_F(PageTest, FirFiltersGiveTheLibrarysBlockConvolution) {
  std::vector<float> x(3001);
  for (std::size_t i = 0; i < x.size(); ++i)
    x[i] = static_cast<float>(300.0 * std::sin(2 * kPi * 3.0 * i / 200.0) + 200.0 * std::sin(2 * kPi * 50.0 * i / 200.0) +
                              (i % 17));
  struct Case { unsigned short mode; double c1; double c2; };
  for (const Case& c : {Case{0, 30.0, 0.0}, Case{1, 0.5, 0.0}, Case{2, 0.5, 35.0}, Case{3, 45.0, 55.0}}) {
    FynFilterFIR fir(static_cast<short>(c.mode), c.c1, c.c2, 22.0, 20, 200.0, 256);
    fir.SetRawDataNum(x.size());
    ASSERT_EQ(fir.CreateWorkArea(), 0);
    ASSERT_EQ(fir.SetHData(), 1);
    ASSERT_EQ(fir.SetRData(x.data(), x.size()), 0);
    ASSERT_EQ(fir.CalcFIRFilter(), 1);
    std::vector<float> expect(x.size());
    ASSERT_EQ(fir.GetResultData(expect.data()), 1);
    std::vector<float> got = x;
    ASSERT_EQ(CQLM2_AnalyzerDoc::CalcFilter(got.data(), got.size(), 0, c.mode, c.c1, c.c2, 200.0), 1);
    for (std::size_t i = 0; i < x.size(); ++i) ASSERT_NEAR(got[i], expect[i], 0.02) << "mode " << c.mode << " at " << i;
  }
}

TEST_F(PageTest, ShiftHeldReadsHalfAPageAgainstTheScrollDirection) {
  EpochSeconds = 4;
  PageSeconds = 8;
  const Recording r = Ramp(80);
  ASSERT_TRUE(WriteOwnRaw(Path("s.raw"), r));
  CQLM2_AnalyzerDoc doc;
  Attach(doc, Path("s.raw"), 0, r);
  doc.CurrentPage = 2;
  const std::int32_t savedDirection = ScrollDirection;
  struct Case { bool shift; int direction; float first; };
  for (const Case& c : {Case{false, -1, 160.0f}, Case{true, -1, 200.0f}, Case{true, 1, 120.0f}, Case{true, 0, 160.0f}}) {
    sys::SetKeyStateForTesting(sys::VirtualKey::Shift, c.shift);
    ScrollDirection = c.direction;
    ASSERT_EQ(doc.SetPageData(), 0);
    EXPECT_EQ(doc.RecordInfo.pageBuffers[2][0], c.first) << c.shift << " " << c.direction;
  }
  sys::SetKeyStateForTesting(sys::VirtualKey::Shift, false);
  ScrollDirection = savedDirection;
}

// Neighbouring channels of one recursive setting are filtered two at a time: every channel
// holds what filtering it alone gives, paired or not (channels 0 and 1 pair, 2 and 3 differ).
TEST_F(PageTest, PairedRecursiveChannelsEqualEachFilteredAlone) {
  EpochSeconds = 4;
  PageSeconds = 8;
  Recording r;
  r.channels = 4;
  r.rate = 200;
  r.samples = 200 * 40;
  r.sample = [](int c, long long i) { return 500.0 * std::sin(2 * kPi * (3.0 + 5 * c) * i / 200.0) + (i % 29) * c; };
  ASSERT_TRUE(WriteOwnRaw(Path("pairs.raw"), r));
  CQLM2_AnalyzerDoc doc;
  CQLM2_AnalyzerDoc raw;
  Attach(doc, Path("pairs.raw"), 0, r);
  Attach(raw, Path("pairs.raw"), 0, r);
  doc.PageRows = raw.PageRows = 3;
  for (int c = 0; c < 4; ++c) {
    LyrChInfo& ch = doc.ChInfo[c];
    ch.filterKind = 1;
    ch.filterMode = 2;
    ch.cut1Hz = 0.5;
    ch.cut2Hz = c == 3 ? 25.0 : 35.0;
    ch.notch = 1;
    ch.lineFrequencyHz = 50.0;
  }
  ASSERT_EQ(doc.SetPageData(), 0);
  ASSERT_EQ(raw.SetPageData(), 0);
  const unsigned long n = 8 * 200;
  for (int c = 0; c < 4; ++c) {
    const LyrChInfo& ch = doc.ChInfo[c];
    std::vector<float> alone(Channel(raw, 2, c), Channel(raw, 2, c) + n);
    ASSERT_EQ(CQLM2_AnalyzerDoc::CalcNotchFilter(alone.data(), n, 1, 1, 50.0, ch.filterMode, ch.cut1Hz, ch.cut2Hz,
                                                  ch.rate),
              1);
    ASSERT_EQ(CQLM2_AnalyzerDoc::CalcFilter(alone.data(), n, 1, ch.filterMode, ch.cut1Hz, ch.cut2Hz, ch.rate), 1);
    EXPECT_EQ(std::vector<float>(Channel(doc, 2, c), Channel(doc, 2, c) + n), alone) << "channel " << c;
  }
}
