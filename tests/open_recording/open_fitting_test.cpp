// What opening a recording fits to it: the event table of the source, the channel settings
// and the channel trend graphs.
#include "open_fixture.h"

namespace {

TEST_F(OpenTest, OpeningFillsTheEventTableOfOwnAndPluginRecordings) {
  fixture::RawSpec spec = Night(130);
  spec.withEvents = true;
  spec.eventNames = {"Lights off", "Arousal"};
  spec.events = {{1, 250}, {0xFFFD, 500}};  // a negative type is kept as type 0
  ASSERT_TRUE(Doc().OnOpenDocument(WriteNight("events.fyd", spec)));
  EXPECT_EQ(Doc().EventNames, (std::vector<std::string>{"Lights off", "Arousal"}));
  ASSERT_EQ(Doc().Events.size(), 2u);
  EXPECT_EQ(Doc().Events[0].type, 1);
  EXPECT_EQ(Doc().Events[0].position, 250);
  EXPECT_EQ(Doc().Events[1].type, 0);
  EXPECT_EQ(Doc().EventRate, 10);

  // A recording without events leaves none of the previous one behind.
  ASSERT_TRUE(Doc().OnOpenDocument(WriteNight("plain.fyd", Night(130))));
  EXPECT_TRUE(Doc().EventNames.empty());
  EXPECT_TRUE(Doc().Events.empty());

  TestPluginAnswers& s = UseTestPlugin();
  s.eventCount = 2;
  s.eventChannel = -1;  // channel 0's rate
  s.eventPositions[0] = 300;
  s.eventPositions[1] = 900;
  s.eventTypes[0] = 1;
  s.eventTypes[1] = -3;
  ASSERT_TRUE(Doc().OnOpenDocument(WriteText("rec.tst", "foreign")));
  EXPECT_EQ(Doc().EventNames, (std::vector<std::string>{"Lights off", "Arousal"}));
  ASSERT_EQ(Doc().Events.size(), 2u);
  EXPECT_EQ(Doc().Events[1].position, 900);
  EXPECT_EQ(Doc().Events[1].type, 0);
  EXPECT_EQ(Doc().EventRate, 100);

  // Events that cannot be read leave the table empty; the recording still opens.
  std::snprintf(s.failExport, sizeof s.failExport, "GetEventPos");
  ASSERT_TRUE(Doc().OnOpenDocument(WriteText("rec2.tst", "foreign")));
  EXPECT_TRUE(Doc().Events.empty());
  EXPECT_TRUE(Doc().EventNames.empty());
}

TEST_F(OpenTest, OpeningFitsChannelSettingsAndTrendGraphsToTheChannelCount) {
  const TrendItemTable savedTrend = TrendItem;
  // Graphs of category 22 name a channel in their third index.
  struct Graph { std::uint16_t category, subItem, channel; bool cleared; };
  const std::vector<Graph> graphs = {{22, 4, 7, true}, {22, 4, 2, true}, {22, 4, 1, false}, {5, 3, 9, false}};
  for (std::size_t g = 0; g < graphs.size(); ++g) {
    TrendItem.category[g] = graphs[g].category;
    TrendItem.subItem[g] = graphs[g].subItem;
    TrendItem.third[g] = graphs[g].channel;
  }
  Doc().Params.fftBand.channelSwitch[1] = 1;
  Doc().Params.fftBand.channelSwitch[5] = 1;
  Doc().Params.sleepDstrb.airFlow.channel = 1;
  Doc().Params.sleepDstrb.ecgChannel = 6;
  ASSERT_TRUE(Doc().OnOpenDocument(WriteNight("two.fyd", Night(130, 2))));
  for (std::size_t g = 0; g < graphs.size(); ++g) {
    SCOPED_TRACE(g);
    const bool cleared = graphs[g].cleared;
    EXPECT_EQ(TrendItem.category[g], cleared ? 0 : graphs[g].category);
    EXPECT_EQ(TrendItem.subItem[g], cleared ? 0 : graphs[g].subItem);
    EXPECT_EQ(TrendItem.third[g], cleared ? 0 : graphs[g].channel);
  }
  EXPECT_EQ(Doc().Params.fftBand.channelSwitch[1], 1);
  EXPECT_EQ(Doc().Params.fftBand.channelSwitch[5], 0);
  EXPECT_EQ(Doc().Params.sleepDstrb.airFlow.channel, 1);
  EXPECT_EQ(Doc().Params.sleepDstrb.ecgChannel, -1);
  TrendItem = savedTrend;
}

}  // namespace
