// Trend item names, units, scale ranges and draw types.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/document/trend_item_names.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"

namespace {

struct TrendItems : testing::Test {
  WaveFormRecognitionParam waveForm;
  FFTBandParam fftBand;
  SleepDstrbParam sleepDstrb;
  std::array<LyrChInfo, 2> channels;
  TrendItemSource src;
  TrendRangeTable savedUpper = TrendRangeUpper, savedLower = TrendRangeLower;

  void SetUp() override {
    res::SetLanguage(res::Language::English);
    waveForm.bands[WaveFormRecognitionParam::kBand1].name = "Sigma";
    fftBand.bands[0].name = "Delta";
    fftBand.bands[1].name = "Theta";
    channels[0].name = "C3-A2";
    channels[0].unit = "uV";
    channels[1].name = "O1-A2";
    channels[1].unit = "mV";
    src = {&waveForm, &fftBand, &sleepDstrb, channels};
  }
  void TearDown() override {
    TrendRangeUpper = savedUpper;
    TrendRangeLower = savedLower;
  }
};

TEST_F(TrendItems, NamesAndUnits) {
  struct Case {
    const char* what;
    std::string got, expected;
  } cases[] = {
      {"item 1", GetTrendItemName(src, 1), "Delta"},
      {"free wave 1 by its own name", GetTrendItemName(src, 5), "Sigma"},
      {"item 0", GetTrendItemName(src, 0), ""},
      {"item 25", GetTrendItemName(src, 25), ""},
      {"21/7", GetTrendItemFullName(src, 21, 7), "Theta_Ratio"},
      {"21/0", GetTrendItemFullName(src, 21, 0), "Delta_Power"},
      {"21/12", GetTrendItemFullName(src, 21, 12), ""},
      {"13/4", GetTrendItemFullName(src, 13, 4), "LF/HF"},
      {"10/4 not listed", GetTrendItemFullName(src, 10, 4), ""},
      {"12/0 has no text", GetTrendItemFullName(src, 12, 0), ""},
      {"15/5", GetTrendItemFullName(src, 15, 5), "RR(mean)"},
      {"20/0/1", GetTrendSubItemName(src, 20, 0, 1), "PLMs(LM Counts)"},
      {"20/3/0", GetTrendSubItemName(src, 20, 3, 0), ""},
      {"22/0/1 channel name", GetTrendSubItemName(src, 22, 0, 1), "O1-A2"},
      {"21/0/2 beyond the channels", GetTrendSubItemName(src, 21, 0, 2), ""},
      {"unit 21/2", GetTrendItemUnit(src, 21, 2, 0), "uV^2"},
      {"unit 21/8", GetTrendItemUnit(src, 21, 8, 1), "%"},
      {"unit 21/2 no channel", GetTrendItemUnit(src, 21, 2, 5), ""},
      {"unit 1/4", GetTrendItemUnit(src, 1, 4, 0), "Hz"},
      {"unit 10/4", GetTrendItemUnit(src, 10, 4, 0), ""},
      {"unit 10/2", GetTrendItemUnit(src, 10, 2, 0), "msec."},
      {"unit 20/1/2", GetTrendItemUnit(src, 20, 1, 2), "sec."},
      {"unit 20/1/1", GetTrendItemUnit(src, 20, 1, 1), ""},
      {"unit 22/6", GetTrendItemUnit(src, 22, 6, 0), "%"},
      {"draw type 1", GetDrawTypeName(1), "Crossbar"},
      {"draw type 4", GetDrawTypeName(4), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;

  fftBand.unit = 1;  // amplitude: the unit alone
  EXPECT_EQ(GetTrendItemUnit(src, 21, 2, 0), "uV");

  sleepDstrb.positionsInUse = 2;
  sleepDstrb.positions[1].name = "Left";
  sleepDstrb.positions[2].name = "Prone";
  EXPECT_EQ(GetPositionName(sleepDstrb, 1), "Left");
  EXPECT_EQ(GetPositionName(sleepDstrb, 2), "");
  EXPECT_EQ(GetPositionName(sleepDstrb, -1), "");
}

TEST_F(TrendItems, DrawTypesAllowed) {
  struct Case { int item, sub, type, allowed; } cases[] = {
      {15, 1, 3, 1}, {15, 2, 3, 0}, {14, 0, 3, 0}, {16, 4, 3, 0}, {16, 4, 2, 1},
      {17, 0, 3, 0}, {17, 1, 3, 1}, {1, 0, 3, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsDrawTypeAllowed(c.item, c.sub, c.type), c.allowed) << c.item << "/" << c.sub << "/" << c.type;
}

TEST_F(TrendItems, RangesKeepTheFormOfTheirMode) {
  struct Case { int channel, item, sub, index; std::uint16_t mode; bool listed; } cases[] = {
      {0, 1, 0, 0, 1, true},  {0, 1, 1, 0, 0, true},  {0, 7, 2, 0, 0, true}, {0, 7, 5, 0, 1, true},
      {0, 10, 3, 0, 1, true}, {0, 10, 4, 0, 0, false}, {0, 12, 1, 0, 0, false}, {0, 16, 5, 0, 1, true},
      {0, 17, 0, 0, 1, true}, {0, 17, 1, 0, 0, true},  {0, 20, 0, 2, 0, true}, {0, 20, 0, 3, 0, false},
      {0, 21, 11, 0, 1, true}, {31, 22, 6, 0, 1, true}, {32, 22, 0, 0, 0, false}, {0, 24, 0, 0, 0, true},
      {0, 24, 0, 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channel << "/" << c.item << "/" << c.sub << "/" << c.index);
    SetTrendItemRange(c.channel, c.item, c.sub, c.index, c.mode, 9, 2, 7.5, 0.25);
    const TrendItemRange r = GetTrendItemRange(c.channel, c.item, c.sub, c.index);
    EXPECT_EQ(r.mode, c.mode);
    if (!c.listed) {
      EXPECT_EQ(r.upperInt, 0);
      EXPECT_EQ(r.upperReal, 0.0);
      EXPECT_EQ(r.lowerReal, 0.0);
    } else if (c.mode == 1) {
      EXPECT_EQ(r.upperInt, 0);
      // Item 17's position scale is kept in whole numbers.
      EXPECT_EQ(r.upperReal, c.item == 17 ? 8.0 : 7.5);
      EXPECT_EQ(r.lowerReal, c.item == 17 ? 0.0 : 0.25);
    } else {
      EXPECT_EQ(r.upperInt, 9);
      EXPECT_EQ(r.lowerInt, 2);
      EXPECT_EQ(r.upperReal, 0.0);
    }
  }

  // Entries do not share storage: the Free item keeps one range per channel slot, and the
  // wave items one per item.
  SetTrendItemRange(3, 22, 2, 0, 1, 0, 0, 30.0, 3.0);
  SetTrendItemRange(4, 22, 2, 0, 1, 0, 0, 40.0, 4.0);
  SetTrendItemRange(0, 2, 4, 0, 1, 0, 0, 50.0, 5.0);
  SetTrendItemRange(0, 3, 3, 0, 1, 0, 0, 60.0, 6.0);
  EXPECT_EQ(GetTrendItemRange(3, 22, 2, 0).upperReal, 30.0);
  EXPECT_EQ(GetTrendItemRange(4, 22, 2, 0).upperReal, 40.0);
  EXPECT_EQ(GetTrendItemRange(0, 2, 4, 0).upperReal, 50.0);
  EXPECT_EQ(GetTrendItemRange(0, 3, 3, 0).lowerReal, 6.0);

  // A 16-bit integer entry keeps to what it can hold.
  SetTrendItemRange(0, 23, 0, 0, 0, 70000, -5, 0.0, 0.0);
  EXPECT_EQ(GetTrendItemRange(0, 23, 0, 0).upperInt, 65535);
  EXPECT_EQ(GetTrendItemRange(0, 23, 0, 0).lowerInt, 0);

  // The pointer form fills every output, 0 for an entry that is not listed.
  std::uint16_t mode = 7;
  std::int32_t ui = 7, li = 7;
  double ur = 7, lr = 7;
  GetTrendItemRange(0, 12, 1, 0, &mode, &ui, &li, &ur, &lr);
  EXPECT_EQ(mode + ui + li, 0);
  EXPECT_EQ(ur + lr, 0.0);
}

}  // namespace
