#include <gtest/gtest.h>

#include <vector>

#include "app/document/epoch_table_bindings.h"

namespace {

TEST(EpochTableBindings, SleepDisturbanceRolesComeFromTheBlock) {
  SleepDstrbParam b;
  b.airFlow.channel = 0, b.chest.channel = 1, b.abdomen.channel = 2, b.legLeft.channel = 3;
  b.legRight.channel = 4, b.ecgChannel = 5, b.spo2Channel = 6, b.positionChannel = 7;
  b.cpapChannel = 8, b.snore.channel = 9, b.arousal.channel = 10;
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(b);
  const int got[] = {ch.airFlow, ch.chest, ch.abdomen, ch.lmLeft, ch.lmRight, ch.ecg,
                     ch.spo2,    ch.position, ch.cpap, ch.snore, ch.arousal};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(got[i], i);
  EXPECT_EQ(SleepDstrbChannelsOf(SleepDstrbParam{}).arousal, -1);
}

TEST(EpochTableBindings, ValuesReadUnderTheDocumentSettings) {
  AnalysisParamBlocks blocks;
  blocks.fftBand.channelSwitch[1] = 1;
  blocks.fftBand.bandCount = 1;
  blocks.waveForm.bands[WaveFormRecognitionParam::kTheta].channel = 0;
  for (auto& e : blocks.chDispMode.entries) e.mode = 0;
  blocks.chDispMode.entries[0].mode = 2;

  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(1, 30, 2, 1, 1), 1);
  t.BandValues(0, 6)[0] = 42.0f;  // ratio of band 0, first band channel (channel 1)
  t.ChCrossCount(0)[0] = 3;
  t.ChCrossCount(0)[1] = 4;
  EXPECT_EQ(GetEpochValue(t, blocks, 30, 0, 15, 1), 42.0);
  EXPECT_EQ(GetEpochValue(t, blocks, 30, 0, 15, 0), kEpochValueNotAvailable);
  EXPECT_EQ(GetEpochValue(t, blocks, 30, 0, 30, 0), kEpochValueNotAvailable);  // display mode 2
  EXPECT_EQ(GetEpochValue(t, blocks, 30, 0, 30, 1), 4.0);

  std::vector<std::int32_t> codes;
  GetAvailableValueCodes(blocks, 2, 1, codes);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 2, 14, 15, 26, 27, 28, 29, 30, 31, 32}));
  GetAvailableValueCodes(blocks, 1, 1, codes);  // the flagged channel is not in the recording
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 2, 26, 27, 28, 29, 30, 31, 32}));
}

TEST(EpochTableBindings, StageRecordsOfTheStageTypeBlock) {
  StageTypeParam st;
  st.stageType = 1;
  for (auto& r : st.records) r.showInHypnogram = 0;
  for (auto& r : st.Set(1)) r.showInHypnogram = 1;
  st.Set(1)[4].colour = 0x123456;  // stage 3 (D) of type 1
  st.sharedInUse = 1;
  for (auto& r : st.shared) r.showInHypnogram = 1;

  std::uint32_t out[6] = {};
  EXPECT_EQ(GetStageDetail(st, 25, out), 1);
  EXPECT_EQ(out[1], 0x123456u);
  EXPECT_EQ(GetStageDetail(st, 6, out), 0);
  int stages = 0, extra = 0;
  EXPECT_EQ(GetShowStageNum(st, stages, extra), 7);
  EXPECT_EQ(stages, 6);
  EXPECT_EQ(extra, 1);

  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(2, 30, 1, 1, 1), 1);
  t.SetStage(0, 6);
  EXPECT_EQ(GetScoredEpochNum(t, st), 1);
}

}  // namespace
