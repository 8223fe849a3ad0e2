// Rebuilding the per-epoch tables for an epoch length, and the events of own raw files.
#include "app/document/seizure_finding.h"
#include "page_fixture.h"

using namespace pagefix;

TEST_F(PageTest, EpochLengthChangeRebuildsTablesForTheAssignedChannels) {
  EpochSeconds = 30;
  PageSeconds = 30;
  CQLM2_AnalyzerDoc doc;
  doc.RecordSeconds = 3000;
  doc.PageEndEpoch = 7;
  SleepDstrbParam& sd = doc.Params.sleepDstrb;
  sd.airFlow.channel = 2;
  sd.legLeft.channel = 3;
  sd.snore.channel = -1;
  doc.Params.fftBand.channelSwitch = {};
  doc.Params.fftBand.channelSwitch[0] = 1;
  doc.Params.fftBand.channelSwitch[4] = 1;
  doc.Params.fftBand.channelSwitch[5] = 2;  // only switches equal to 1 count
  EXPECT_EQ(doc.RcgnzReady, 0u);
  ASSERT_EQ(doc.Init4ChangeEpochTime(100, 30, 6, 1), 1);
  EXPECT_EQ(doc.PageEndEpoch, -1);
  EXPECT_EQ(doc.RcgnzReady, 1u);
  // The Wave detect marks exist only in the edition that has the feature.
  EXPECT_EQ(SeizureMarks.size(), WaveDetectAvailable() ? 30000u : 0u);
  EXPECT_EQ(doc.EpochTables.EpochCount(), 100);
  EXPECT_EQ(doc.EpochTables.BandChCount(), 2);
  EXPECT_TRUE(doc.EpochTables.HasRprsntTable());
  EXPECT_EQ(doc.EpochTables.RprsntCount(kRprsntAirFlow), 120);  // 0.25 s
  EXPECT_EQ(doc.EpochTables.RprsntCount(kRprsntLMLeft), 300);   // 0.1 s
  EXPECT_EQ(doc.EpochTables.Rprsnt(kRprsntSnore, 0), nullptr);
  EXPECT_EQ(doc.RecognitionTables.RespRcgnz().size(), 100u * 120);
  EXPECT_EQ(doc.RecognitionTables.AirFlow().size(), 100u * 120);
  EXPECT_TRUE(doc.RecognitionTables.RespC().empty());
  EXPECT_EQ(doc.RecognitionTables.LMLeft().size(), 100u * 300);
  EXPECT_TRUE(doc.RecognitionTables.Snore().empty());

  // Records kept (flag 0) across a longer recording; a channel taken away frees its tables.
  ASSERT_NE(doc.EpochTables.Record(5), nullptr);
  ASSERT_EQ(doc.EpochTables.SetStage(5, 4), 1);
  sd.airFlow.channel = -1;
  ASSERT_EQ(doc.Init4ChangeEpochTime(150, 30, 6, 0), 1);
  EXPECT_EQ(doc.EpochTables.EpochCount(), 150);
  EXPECT_EQ(doc.EpochTables.GetStage(0, 5, 0), 4);
  EXPECT_EQ(doc.EpochTables.Rprsnt(kRprsntAirFlow, 0), nullptr);
  EXPECT_TRUE(doc.RecognitionTables.RespRcgnz().empty());

  // No FFT-band channels: zero band channels.
  doc.Params.fftBand.channelSwitch = {};
  ASSERT_EQ(doc.Init4ChangeEpochTime(10, 30, 6, 1), 1);
  EXPECT_EQ(doc.EpochTables.BandChCount(), 0);
}

TEST_F(PageTest, EventsOfAnOwnRawFile) {
  const std::string path = Path("ev.raw");
  {
    std::uint64_t end = 0;
    _FynIdBlock id{2, "FY_VEX_RAWDATA", 0x0110};
    FynFileWriteRaw1_1 w(path.c_str());
    ASSERT_EQ(w.CreateNewFile(), 0);
    ASSERT_EQ(w.WriteIDBlock(&id, &end), 0);
    _FynRawHeader h{4, 1};
    ASSERT_EQ(w.WriteHeader(&h, nullptr, &end), 0);
    _FynRawG1Param g;
    g.channels = 1;
    g.dataCount = 4;
    g.samplingHz = 199.999;  // stored rates are taken with the usual rounding up
    ASSERT_EQ(w.WriteGroup1Raw(&g, nullptr, &end), 0);
    ASSERT_EQ(w.StartGroup2(1, nullptr, &end), 0);
    _FynRawG2Param p;
    p.name = "EEG";
    ASSERT_EQ(w.WriteGroup2Unit(&p, nullptr, &end), 0);
    ASSERT_EQ(w.EndGroup2(&end, &end), 0);
    FynFileWriteRaw data(path.c_str());
    const std::vector<std::uint16_t> words{1, 2, 3, 4};
    ASSERT_EQ(data.WriteDataGroup(words, nullptr, &end), 0);
    const std::vector<FynRawEvent> events{{1, 120}, {static_cast<std::uint16_t>(-3), 340}};
    ASSERT_EQ(data.WriteEventGroup({"Lights off", "Arousal"}, events, nullptr, &end), 0);
  }
  CQLM2_AnalyzerDoc doc;
  doc.RecordInfo.path = path;
  doc.RecordInfo.sourceKind = 0;
  ASSERT_EQ(doc.getEventInfo(), 1);
  EXPECT_EQ(doc.EventNames, (std::vector<std::string>{"Lights off", "Arousal"}));
  ASSERT_EQ(doc.getEventData(), 1);
  ASSERT_EQ(doc.Events.size(), 2u);
  EXPECT_EQ(doc.EventRate, 200);
  EXPECT_EQ(doc.Events[0].type, 1);
  EXPECT_EQ(doc.Events[0].position, 120);
  EXPECT_EQ(doc.Events[1].type, 0);  // a negative type is stored as 0
  EXPECT_EQ(doc.Events[1].position, 340);

  // A file without events: failure and nothing left from before.
  Recording r;
  r.channels = 1;
  r.rate = 10;
  r.samples = 10;
  r.sample = [](int, long long) { return 0.0; };
  ASSERT_TRUE(WriteOwnRaw(Path("none.raw"), r));
  doc.RecordInfo.path = Path("none.raw");
  EXPECT_EQ(doc.getEventInfo(), 0);
  EXPECT_TRUE(doc.EventNames.empty());
  EXPECT_EQ(doc.getEventData(), 0);
  EXPECT_TRUE(doc.Events.empty());
}
