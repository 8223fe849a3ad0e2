// Default images of the analysis parameter blocks, built field by field from the layout tables.
#include <gtest/gtest.h>

#include <span>

#include "app/document/analysis_param_blocks.h"
#include "image_builder.h"
#include "platform/res/resource_store.h"
#include "platform/system/locale.h"

namespace {

class ParamBlockDefaults : public ::testing::Test {
 protected:
  void SetUp() override {
    res::SetLanguage(res::Language::English);
    sys::SetThreadLocale(sys::kLcidEnglishUs);
  }
};

void StageRecord(ImageBuilder& img, std::size_t at, const char* name, std::uint32_t colour, std::uint16_t order,
                 std::uint32_t key) {
  img.Text(at, name).At<std::uint32_t>(at + 4, colour).At<std::uint16_t>(at + 8, 1).At<std::uint32_t>(at + 12, 1);
  img.At<std::uint16_t>(at + 16, order).At<std::uint16_t>(at + 18, 0).At<std::uint32_t>(at + 20, key);
}

TEST_F(ParamBlockDefaults, StageTypeParam) {
  ImageBuilder img(608);
  img.At<std::uint16_t>(0, 3);
  struct R { const char* name; std::uint32_t colour, key; };
  const std::vector<std::vector<R>> sets = {
      {{"W", 0x000000, 2000}, {"R", 0x0000FF, 2005}, {"1", 0x008080, 2001}, {"2", 0x808000, 2002},
       {"3", 0x800000, 2003}, {"4", 0x000080, 2004}, {"M", 0x404040, 2006}},
      {{"W", 0x000000, 2000}, {"R", 0x0000FF, 2005}, {"1", 0x008080, 2001}, {"2", 0x808000, 2002},
       {"D", 0x800000, 2003}, {"M", 0x404040, 2006}},
      {{"W", 0x000000, 2000}, {"R", 0x0000FF, 2005}, {"L", 0x008080, 2001}, {"D", 0x800000, 2003},
       {"M", 0x404040, 2006}},
      {{"W", 0x000000, 2000}, {"R", 0x0000FF, 2005}, {"NR", 0x008080, 2001}, {"M", 0x404040, 2006}}};
  const std::size_t starts[] = {4, 172, 316, 436};
  for (std::size_t s = 0; s < 4; ++s)
    for (std::size_t i = 0; i < sets[s].size(); ++i)
      StageRecord(img, starts[s] + 24 * i, sets[s][i].name, sets[s][i].colour, std::uint16_t(i + 1), sets[s][i].key);
  img.At<std::uint16_t>(532, 0);
  StageRecord(img, 536, "F1", 0, 8, 2007);
  StageRecord(img, 560, "F2", 0, 9, 2008);
  StageRecord(img, 584, "F3", 0, 10, 2009);

  StageTypeParam block;
  block.stageType = 0;
  block.records[3].name = "XX";
  SetDefaultStageTypeParam(&block);
  EXPECT_TRUE(SameBytes(img.Bytes(), StoredImage(block)));
}

TEST_F(ParamBlockDefaults, ChannelDisplayBlocks) {
  ImageBuilder scale(256), mode(256);
  scale.Repeat<float>(4, 32, 1000.0f, 8);
  mode.Repeat<std::uint32_t>(0, 32, 2, 8);
  ChDispScaleParam s;
  s.entries[5] = {7, 3.0f};
  SetDefaultChDispScale(&s);
  ChDispModeParam m;
  m.entries[31] = {9, 9};
  SetDefaultChDispMode(&m);
  EXPECT_TRUE(SameBytes(scale.Bytes(), StoredImage(s)));
  EXPECT_TRUE(SameBytes(mode.Bytes(), StoredImage(m)));
}

TEST_F(ParamBlockDefaults, FFTBandParam) {
  ImageBuilder img(288);
  img.At<std::uint16_t>(64, 1).At<std::uint32_t>(68, 64).At<std::uint16_t>(72, 2).At<std::uint16_t>(74, 0);
  img.At<std::uint16_t>(76, 3);
  img.Text(80, "Delta").At<double>(96, 0.25).At<double>(104, 2.0);
  img.Text(112, "Theta").At<double>(128, 2.0).At<double>(136, 8.0);
  img.Text(144, "Alpha").At<double>(160, 8.0).At<double>(168, 13.0);
  img.At<std::uint16_t>(272, 0).At<float>(276, 0.25f).At<float>(280, 13.0f);
  FFTBandParam block;
  block.channelSwitch[3] = 1;
  SetDefaultFFTBandParam(0, &block, 4);
  EXPECT_TRUE(SameBytes(img.Bytes(), StoredImage(block)));
}

TEST_F(ParamBlockDefaults, SleepDstrbParam) {
  ImageBuilder img(696);
  img.At<std::uint16_t>(0, 2);
  const std::uint32_t colours[] = {0xFFFF00, 0x008080, 0xFF00FF, 0x00FF00, 0x00FF64, 0x0000FF, 0x0064FF, 0x00FF00};
  for (int i = 0; i < 8; ++i) img.At<std::uint32_t>(4 + 4 * i, colours[i]);
  const double resp[] = {10.0, 50.0, 100.0, 4.0, 10.0, 10.0};
  for (std::size_t base : {40u, 104u, 168u}) {
    img.At<std::int32_t>(base, -1);
    for (int i = 0; i < 6; ++i) img.At<double>(base + 8 + 8 * i, resp[i]);
  }
  img.At<double>(96, 10.0);  // air-flow lag; chest and abdomen store 0 there
  img.At<std::int32_t>(232, -1).At<std::uint16_t>(236, 1).At<double>(240, 90.0);
  img.At<std::int32_t>(248, -1);
  for (std::size_t base : {256u, 288u, 320u, 656u})
    img.At<std::int32_t>(base, -1).At<double>(base + 8, 20.0).At<double>(base + 16, 5.0).At<double>(base + 24, 10.0);
  img.At<double>(352, 5.0).At<double>(360, 90.0).At<std::int32_t>(368, 4);
  img.At<std::int32_t>(376, -1).At<double>(384, 50.0).At<double>(392, 400.0).At<double>(400, 100.0);
  img.At<std::uint16_t>(408, 1).At<std::uint16_t>(410, 60).At<std::uint16_t>(412, 0);
  img.At<std::uint16_t>(414, 0xFFFF).At<std::uint16_t>(416, 2).At<std::uint16_t>(418, 0);
  img.At<double>(424, 0.04).At<double>(432, 0.15).At<double>(440, 0.15).At<double>(448, 0.4);
  img.At<std::int32_t>(456, -1).At<std::int32_t>(460, 5);
  const char* names[] = {"Front", "Back", "Right", "Left", "SitUp", "Spare"};
  const double from[] = {0, 1, 2, 3, 4, 0}, to[] = {1, 2, 3, 4, 5, 0};
  for (int i = 0; i < 6; ++i)
    img.Text(464 + 32 * i, names[i]).At<double>(480 + 32 * i, from[i]).At<double>(488 + 32 * i, to[i]);
  img.At<std::uint16_t>(688, 0).At<std::uint16_t>(690, 1);

  SleepDstrbParam block;
  block.version = 1;
  block.ecgChannel = 3;
  SetDefaultSleepDstrbParam(0, &block, 4);
  EXPECT_TRUE(SameBytes(img.Bytes(), StoredImage(block)));
}

TEST_F(ParamBlockDefaults, WaveFormRecognitionParam) {
  ImageBuilder img(784);
  img.At<std::uint16_t>(0, 1).At<std::uint16_t>(2, 1);
  struct B { const char* name; std::uint32_t colour; double aMin, aMax, fMin, fMax, peak; std::int32_t half;
             std::uint16_t cancel; };
  const B bands[] = {{"Delta", 0xFFFF00, 75, 200, 0.25, 2.0, 40.0, 2, 1},
                     {"Alpha", 0x00FF00, 15, 100, 8.0, 13.0, 10.0, 8, 0},
                     {"Theta", 0x008080, 50, 120, 5.0, 10.0, 40.0, 4, 0},
                     {"Spindle", 0xFF00FF, 12, 60, 12.0, 15.0, 10.0, 7, 0},
                     {"Band1", 0x00FF00, 50, 200, 8.0, 13.0, 40.0, 10, 0},
                     {"Band2", 0xFF00FF, 270, 500, 2.0, 20.0, 250.0, 2, 0},
                     {"Band3", 0xFF0000, 270, 500, 2.0, 20.0, 250.0, 2, 0}};
  for (int i = 0; i < 7; ++i) {
    const std::size_t r = 8 + 80 * std::size_t(i);
    const B& b = bands[i];
    img.Text(r, b.name).At<std::int32_t>(r + 12, -1).At<std::uint16_t>(r + 16, 1).At<std::uint32_t>(r + 20, b.colour);
    img.At<double>(r + 24, b.aMin).At<double>(r + 32, b.aMax).At<double>(r + 40, b.fMin).At<double>(r + 48, b.fMax);
    img.At<double>(r + 56, b.peak).At<std::int32_t>(r + 64, b.half).At<std::uint16_t>(r + 68, 0);
    img.At<std::uint16_t>(r + 70, b.cancel).At<double>(r + 72, 3.5);
  }
  img.Text(568, "K-COMPLEX").At<std::int32_t>(580, -1).At<std::uint16_t>(584, 1).At<std::uint32_t>(588, 0x008080);
  img.At<double>(592, 100.0).At<double>(600, 350.0).At<double>(608, 500.0).At<double>(616, 4000.0);
  img.At<double>(624, 60.0).At<std::uint16_t>(632, 0);
  const struct { std::size_t r; const char* name; std::uint32_t colour; } eogs[] = {{640, "EOG(R)", 0x808000},
                                                                                   {704, "EOG(L)", 0xFF0000}};
  for (const auto& e : eogs) {
    img.Text(e.r, e.name).At<std::int32_t>(e.r + 12, -1).At<std::uint16_t>(e.r + 16, 1).At<std::uint32_t>(e.r + 20, e.colour);
    img.At<double>(e.r + 24, 25.0).At<double>(e.r + 32, 40.0).At<double>(e.r + 40, 40.0).At<double>(e.r + 48, 2000.0);
    img.At<std::uint16_t>(e.r + 56, 0);
  }
  img.Text(768, "EMG").At<std::int32_t>(780, -1);

  WaveFormRecognitionParam block;
  block.bands[2].channel = 7;
  SetDefaultWaveFormRecognitionParam(0, &block, 4);
  EXPECT_TRUE(SameBytes(img.Bytes(), StoredImage(block)));
}

TEST_F(ParamBlockDefaults, LogicParamEveryConditionCarriesItsMark) {
  ImageBuilder img(3520);
  img.Repeat<std::uint16_t>(0, 80, 2, 44);  // the record mark, also in the empty conditions
  struct C { float lo; std::uint16_t loOp, code, upOp; float up; std::uint8_t stage; };
  const std::vector<std::vector<C>> sets = {
      {{100, 1, 13, 3, 10000, 7}, {50, 1, 1, 3, 100, 6}, {20, 1, 1, 2, 50, 5}, {2, 1, 4, 2, 30, 4},
       {2, 1, 12, 3, 20, 2}, {25, 1, 3, 3, 100, 1}, {0, 0, 0, 0, 0, 3}},
      {{100, 1, 13, 3, 10000, 7}, {20, 1, 1, 3, 100, 5}, {2, 1, 4, 2, 30, 4}, {2, 1, 12, 3, 20, 2},
       {25, 1, 3, 3, 100, 1}, {0, 0, 0, 0, 0, 3}},
      {{100, 1, 13, 3, 10000, 7}, {20, 1, 1, 3, 100, 5}, {2, 1, 12, 3, 20, 2}, {25, 1, 3, 3, 100, 1},
       {0, 0, 0, 0, 0, 3}},
      {{100, 1, 13, 3, 10000, 7}, {2, 1, 12, 3, 20, 2}, {25, 1, 3, 3, 100, 1}, {0, 0, 0, 0, 0, 3}}};
  for (std::size_t s = 0; s < 4; ++s)
    for (std::size_t i = 0; i < sets[s].size(); ++i) {
      const std::size_t at = 880 * s + 44 * i;
      const C& c = sets[s][i];
      for (std::size_t term : {4u, 24u})
        img.At<float>(at + term, c.lo).At<std::uint16_t>(at + term + 4, c.loOp).At<std::uint16_t>(at + term + 6, c.code)
            .At<std::uint16_t>(at + term + 10, c.upOp).At<float>(at + term + 12, c.up);
      img.At<std::uint8_t>(at + 40, c.stage);
    }
  LogicParam block;
  block.sets[1][10].stage = 9;
  SetDefaultLogicParam(&block);
  EXPECT_TRUE(SameBytes(img.Bytes(), StoredImage(block)));
}

TEST_F(ParamBlockDefaults, LogicOptionAndOptionWordsAndMarks) {
  ImageBuilder opt(24);
  opt.At<std::uint16_t>(0, 0).At<std::uint16_t>(4, 1).At<float>(8, 100.0f).At<std::uint16_t>(12, 1);
  opt.At<std::uint16_t>(14, 1).At<std::uint16_t>(16, 1);
  opt.At<std::uint8_t>(20, 1).At<std::uint8_t>(21, 2).At<std::uint8_t>(22, 1).At<std::uint8_t>(23, 1);
  LogicOptionParam o;
  o.lastStageMode = 2;
  SetDefaultLogicOption(&o);
  EXPECT_TRUE(SameBytes(opt.Bytes(), StoredImage(o)));

  ImageBuilder words(32);
  words.At<std::uint16_t>(0, 1).At<std::uint16_t>(8, 1).At<std::uint16_t>(10, 1).At<std::uint16_t>(12, 2);
  DocumentOptionWords w;
  w.gap[0] = 5;
  SetDefaultOptionWords(&w);
  EXPECT_TRUE(SameBytes(words.Bytes(), StoredImage(w)));

  ImageBuilder marks(524);
  const std::uint32_t colours[] = {0x85B1EF, 0x71A328, 0xD22D2C, 0x13DCF1, 0xA3289E,
                                   0xBB8CF2, 0x42897B, 0x008DFF, 0xC99D6D, 0xCC65B8};
  for (int i = 0; i < 10; ++i) {
    const std::size_t r = 4 + 52 * std::size_t(i);
    marks.At<std::uint16_t>(r + 32, 1).At<std::uint32_t>(r + 36, colours[i]).At<std::int16_t>(r + 40, -1);
  }
  MarkTypeParam m;
  m.items[2].name = "old";
  m.triggerCount = 4;
  SetDefaultMarkTypeParam(0, &m, 4);
  EXPECT_TRUE(SameBytes(marks.Bytes(), StoredImage(m)));
}

TEST_F(ParamBlockDefaults, FFTPageBlocks) {
  // Divided-page count = epochs per page at the reset: 120-s pages of 30-s epochs give 4.
  ImageBuilder img(280);
  img.At<std::uint16_t>(0, 1).At<std::uint32_t>(4, 512).At<float>(8, 20.0f);
  img.At<std::uint16_t>(12, 5).At<std::uint32_t>(16, 256).At<float>(20, 20.0f);
  img.At<std::uint16_t>(24, 1).At<std::uint16_t>(26, 4).At<std::uint16_t>(28, 5).At<std::uint32_t>(32, 256);
  img.At<float>(36, 20.0f).At<std::uint16_t>(40, 0).At<std::uint16_t>(42, 2).At<std::uint16_t>(44, 0);
  img.At<std::uint16_t>(46, 3);
  img.Text(48, "Delta").At<double>(64, 0.75).At<double>(72, 4.0);
  img.Text(80, "Theta").At<double>(96, 6.0).At<double>(104, 10.0);
  img.Text(112, "Alpha").At<double>(128, 12.0).At<double>(136, 14.0);
  const std::uint32_t colours[] = {0xFFFF00, 0x008080, 0x00FF00, 0xFF00FF, 0xFFFFFF, 0xFFFFFF};
  for (int i = 0; i < 6; ++i) img.At<std::uint32_t>(240 + 4 * i, colours[i]);
  img.At<std::uint32_t>(264, 0xAAAAAA).At<std::uint16_t>(268, 0).At<std::uint16_t>(270, 0);
  img.At<float>(272, 0.75f).At<float>(276, 10.0f);

  ImageBuilder values(260);
  values.Repeat<float>(4, 32, 50.0f).Repeat<float>(132, 32, 500.0f);
  ImageBuilder channels(12);
  channels.Repeat<std::int32_t>(0, 3, -1);

  AnalysisParamBlocks blocks;
  blocks.fftPageSelection.flags[2] = 1;
  blocks.fftPageChannels.channels = {1, 2, 3};
  blocks.fftPageChannelValues.lower[0] = 1.0f;
  SetDefaultFFTPageParam(1, &blocks, 120 / 30, {});
  EXPECT_TRUE(SameBytes(img.Bytes(), StoredImage(blocks.fftPage)));
  EXPECT_TRUE(SameBytes(values.Bytes(), StoredImage(blocks.fftPageChannelValues)));
  EXPECT_TRUE(SameBytes(channels.Bytes(), StoredImage(blocks.fftPageChannels)));
  EXPECT_TRUE(SameBytes(std::vector<std::uint8_t>(64, 0), StoredImage(blocks.fftPageSelection)));
}

// A recording with 4 channels: every channel reference at or above 4 goes, those below stay.
TEST_F(ParamBlockDefaults, RepairModeDropsChannelsOutsideTheRecording) {
  AnalysisParamBlocks b;
  SetDefaultAllBlocks(&b, 7);
  b.sleepDstrb.airFlow.channel = 5;
  b.sleepDstrb.chest.channel = 3;
  b.sleepDstrb.arousal.channel = 4;
  b.fftBand.channelSwitch.fill(1);
  b.waveForm.bands[6].channel = 31;
  b.waveForm.emgChannel = 2;
  b.markType.items[0].triggerChannel = 4;
  b.fftPageChannels.channels = {1, 4, 2};
  b.fftPageSelection.flags = {};
  b.fftPageSelection.flags[0] = b.fftPageSelection.flags[1] = b.fftPageSelection.flags[3] = 1;
  const std::int32_t rates[] = {200, 100, 100, 200};

  SetDefaultSleepDstrbParam(1, &b.sleepDstrb, 4);
  SetDefaultFFTBandParam(1, &b.fftBand, 4);
  SetDefaultWaveFormRecognitionParam(1, &b.waveForm, 4);
  SetDefaultMarkTypeParam(1, &b.markType, 4);
  SetDefaultFFTPageParam(2, &b, 7, rates);

  EXPECT_EQ(b.sleepDstrb.airFlow.channel, -1);
  EXPECT_EQ(b.sleepDstrb.chest.channel, 3);
  EXPECT_EQ(b.sleepDstrb.arousal.channel, -1);
  for (int c = 0; c < 32; ++c) EXPECT_EQ(b.fftBand.channelSwitch[c], c < 4 ? 1 : 0) << "channel " << c;
  EXPECT_EQ(b.waveForm.bands[6].channel, -1);
  EXPECT_EQ(b.waveForm.emgChannel, 2);
  EXPECT_EQ(b.markType.items[0].triggerChannel, -1);
  // Channel 4 is outside; channel 2 has the rate of channel 1 and stays.
  EXPECT_EQ(b.fftPageChannels.channels, (std::array<std::int32_t, 3>{1, -1, 2}));
  // Channel 1 differs in rate from the first selected channel 0 and is cleared; 3 matches.
  EXPECT_EQ(b.fftPageSelection.flags[0], 1);
  EXPECT_EQ(b.fftPageSelection.flags[1], 0);
  EXPECT_EQ(b.fftPageSelection.flags[3], 1);
  // Repair never touches the settings themselves.
  EXPECT_EQ(b.sleepDstrb.airFlow.values[0], 10.0);
}

// The default stage type 3 scores W, R, NR and M on keys 0, 5, 1 and 6; free stages in use add
// their keys, and keys of the older form are rewritten.
TEST_F(ParamBlockDefaults, StageKeysOfTheActiveSet) {
  StageTypeParam block;
  SetDefaultStageTypeParam(&block);
  auto labels = CheckStageTypeParam(&block);
  EXPECT_EQ(labels, (std::array<std::string, 10>{"W", "NR", "", "", "", "R", "M", "", "", ""}));
  block.sharedInUse = 2;
  block.Set(3)[1].key = 61446 + 4;  // R moves to key 4, stored in the older form
  labels = CheckStageTypeParam(&block);
  EXPECT_EQ(block.Set(3)[1].key, 2004u);
  EXPECT_EQ(labels, (std::array<std::string, 10>{"W", "NR", "", "", "R", "", "M", "F1", "F2", ""}));
  block.stageType = 0;
  labels = CheckStageTypeParam(&block);
  EXPECT_EQ(labels[4], "4");
  EXPECT_EQ(labels[3], "3");
}

// Every block reads back from its image unchanged, and a text filling its whole field
// without terminator is cut so that the stored field keeps one.
TEST_F(ParamBlockDefaults, ImagesRoundTripAndTextsKeepTheirTerminator) {
  AnalysisParamBlocks b;
  SetDefaultAllBlocks(&b, 7);
  b.markType.items[1].name = std::string(40, 'x');
  b.fftBand.bands[4].name = "0123456789abcdefgh";
  auto roundTrip = [](const auto& block) {
    using Block = std::decay_t<decltype(block)>;
    std::vector<std::uint8_t> image = StoredImage(block);
    Block copy;
    copy.Load(std::span<const std::uint8_t, Block::kSize>(image.data(), Block::kSize));
    return SameBytes(image, StoredImage(copy));
  };
  EXPECT_TRUE(roundTrip(b.stageType));
  EXPECT_TRUE(roundTrip(b.sleepDstrb));
  EXPECT_TRUE(roundTrip(b.waveForm));
  EXPECT_TRUE(roundTrip(b.logic));
  EXPECT_TRUE(roundTrip(b.fftPage));
  EXPECT_TRUE(roundTrip(b.markType));
  auto marks = StoredImage(b.markType);
  EXPECT_EQ(marks[4 + 52 + 2 + 29], 0) << "name field of item 2 lost its terminator";
  EXPECT_EQ(marks[4 + 52 + 2 + 28], 'x');
  auto bands = StoredImage(b.fftBand);
  EXPECT_EQ(bands[80 + 4 * 32 + 15], 0);
}

}  // namespace
