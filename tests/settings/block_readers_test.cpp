// Versioned block readers: which versions they take, how old forms are widened, and where
// they leave the file position.
#include <gtest/gtest.h>

#include "app/document/ch_info.h"
#include "app/frame/block_readers.h"
#include "image_builder.h"
#include "platform/system/locale.h"

namespace {

std::vector<std::uint8_t> SleepBlockImage(std::uint16_t version, std::uint16_t at410) {
  SleepDstrbParam p;
  SetDefaultSleepDstrbParam(0, &p, 0);
  p.version = version;
  p.lfhfTimeS = at410;
  p.ecgPeakLevel = 77.0;
  return StoredImage(p);
}

struct SleepCase { std::uint16_t version, stored, expected; };

class SleepDisturbanceVersions : public ::testing::TestWithParam<SleepCase> {};

TEST_P(SleepDisturbanceVersions, OldDurationCodesBecomeSeconds) {
  const SleepCase c = GetParam();
  auto file = SleepBlockImage(c.version, c.stored);
  BlockStream stream(file);
  SleepDstrbParam block;
  ASSERT_EQ(ReadSleepDisturbanceBlock(&stream, &block), 1);
  EXPECT_EQ(block.lfhfTimeS, c.expected);
  EXPECT_EQ(block.version, 2);
  EXPECT_EQ(block.ecgPeakLevel, 77.0);
  EXPECT_EQ(stream.Position(), SleepDstrbParam::kSize);
}

INSTANTIATE_TEST_SUITE_P(Table, SleepDisturbanceVersions,
                         ::testing::Values(SleepCase{1, 0, 60}, SleepCase{1, 1, 180}, SleepCase{1, 2, 300},
                                           SleepCase{1, 7, 60}, SleepCase{2, 30, 30}, SleepCase{2, 2, 2}));

TEST(BlockReaders, RefusedVersionsLeaveTheBlockAndStopTwoBytesIn) {
  for (std::uint16_t version : {0, 3, 0xFFFF}) {
    auto file = SleepBlockImage(version, 1);
    BlockStream stream(file);
    SleepDstrbParam block;
    block.ecgPeakLevel = 1.5;
    EXPECT_EQ(ReadSleepDisturbanceBlock(&stream, &block), 0) << "version " << version;
    EXPECT_EQ(block.ecgPeakLevel, 1.5);
    EXPECT_EQ(stream.Position(), 2u);
  }
  WaveFormRecognitionParam w;
  SetDefaultWaveFormRecognitionParam(0, &w, 0);
  w.version = 2;
  w.precision = 0;
  auto image = StoredImage(w);
  BlockStream stream(image);
  WaveFormRecognitionParam target;
  target.precision = 1;
  EXPECT_EQ(ReadWaveFormRecognitionBlock(&stream, &target), 0);
  EXPECT_EQ(target.precision, 1);
  EXPECT_EQ(stream.Position(), 2u);

  w.version = 1;
  image = StoredImage(w);
  BlockStream again(image);
  EXPECT_EQ(ReadWaveFormRecognitionBlock(&again, &target), 1);
  EXPECT_EQ(target.precision, 0);
  EXPECT_EQ(again.Position(), WaveFormRecognitionParam::kSize);
}

TEST(BlockReaders, ShortFileKeepsThePreviousTail) {
  auto file = SleepBlockImage(2, 60);
  file.resize(300);  // ends inside the leg-movement values
  BlockStream stream(file);
  SleepDstrbParam block;
  SetDefaultSleepDstrbParam(0, &block, 0);
  block.ecgPeakLevel = 12.0;   // offset 384: past the end, kept
  block.spo2ShowLevel = 55.0;  // offset 240: in the file, replaced
  ASSERT_EQ(ReadSleepDisturbanceBlock(&stream, &block), 1);
  EXPECT_EQ(block.ecgPeakLevel, 12.0);
  EXPECT_EQ(block.spo2ShowLevel, 90.0);
  // A file too short to hold the version word is refused.
  std::vector<std::uint8_t> one{2};
  BlockStream tiny(one);
  EXPECT_EQ(ReadSleepDisturbanceBlock(&tiny, &block), 0);
}

// The old FFT band forms: one channel index, fields at their old places, new fields defaulted
// (form 1) or taken from the end of the form (form 2).
TEST(BlockReaders, OldFftBandFormsAreWidened) {
  sys::SetThreadLocale(sys::kLcidEnglishUs);
  for (std::int16_t form : {1, 2}) {
    ImageBuilder old(form == 1 ? 216 : 232);
    old.At<std::int32_t>(0, 5).At<std::uint16_t>(4, 4).At<std::uint32_t>(8, 128).At<std::uint16_t>(0x0C, 1);
    old.At<std::uint16_t>(0x0E, 1).At<std::uint16_t>(0x10, 2);
    old.Text(0x18, "Slow").At<double>(0x18 + 16, 0.5).At<double>(0x18 + 24, 1.5);
    old.Text(0x18 + 32, "Fast").At<double>(0x18 + 48, 20.0).At<double>(0x18 + 56, 30.0);
    if (form == 2) old.At<std::uint16_t>(0xD8, 1).At<float>(0xDC, 1.25f).At<float>(0xE0, 9.5f);
    old.At<std::uint32_t>(0xD4, 0xDEADBEEF);  // not part of any new field
    BlockStream stream(old.Bytes());
    FFTBandParam block;
    SetDefaultFFTBandParam(0, &block, 0);
    block.channelSwitch[0] = 1;
    ASSERT_EQ(ReadFftPageBlock(&stream, &block, form), 1);
    EXPECT_EQ(stream.Position(), old.Bytes().size());
    for (int c = 0; c < 32; ++c) EXPECT_EQ(block.channelSwitch[c], c == 5 ? 1 : 0) << "form " << form;
    EXPECT_EQ(block.averagingCount, 4);
    EXPECT_EQ(block.fftPoints, 128u);
    EXPECT_EQ(block.windowType, 1);
    EXPECT_EQ(block.unit, 1);
    EXPECT_EQ(block.bandCount, 2);
    EXPECT_EQ(block.bands[0].name, "Slow");
    EXPECT_EQ(block.bands[1].toHz, 30.0);
    EXPECT_EQ(block.contentRange, form == 1 ? 0 : 1);
    EXPECT_EQ(block.optionalFromHz, form == 1 ? 0.75f : 1.25f);
    EXPECT_EQ(block.optionalToHz, form == 1 ? 10.0f : 9.5f);
  }
  std::vector<std::uint8_t> any(300, 1);
  BlockStream stream(any);
  FFTBandParam block;
  EXPECT_EQ(ReadFftPageBlock(&stream, &block, 3), 0);
  EXPECT_EQ(stream.Position(), 0u);
  // A channel index outside 0 .. 31 leaves every switch off.
  ImageBuilder old(216);
  old.At<std::int32_t>(0, 32);
  BlockStream outside(old.Bytes());
  block.channelSwitch.fill(1);
  ASSERT_EQ(ReadFftPageBlock(&outside, &block, 1), 1);
  for (auto s : block.channelSwitch) EXPECT_EQ(s, 0);
}

TEST(BlockReaders, OldChannelRecordsAreWidened) {
  ImageBuilder old(7168);
  for (std::size_t r = 0; r < 32; ++r) {
    const std::size_t o = r * 224;
    old.At<std::uint32_t>(o, 0x112233 + r).At<std::uint32_t>(o + 4, 5).At<std::uint32_t>(o + 8, 2);
    old.At<double>(o + 16, 0.5).At<double>(o + 24, 35.0);
    old.At<std::uint16_t>(o + 32, 1).At<std::uint16_t>(o + 34, 1).At<std::uint16_t>(o + 36, 0);
    old.At<double>(o + 40, 2.5).At<std::uint16_t>(o + 48, 3).At<double>(o + 56, 70.0);
    old.At<std::uint16_t>(o + 64, 1).At<std::uint16_t>(o + 74, 1).At<std::uint16_t>(o + 76, 0);
    old.At<std::uint8_t>(o + 80, 0xA5).At<std::uint8_t>(o + 223, 0x5A);
  }
  BlockStream stream(old.Bytes());
  std::vector<std::uint8_t> table(kChannelSettingsTableSize, 0xCC);
  ASSERT_EQ(ReadChannelSettingsTable(&stream, 9, table.data()), 1);
  LyrChInfo ch;
  LoadChannelSettings(table.data() + 31 * 240, ch);
  EXPECT_EQ(ch.colour, 0x112233u + 31);
  EXPECT_EQ(ch.smoothingCount, 5);
  EXPECT_EQ(ch.filterKind, 0);
  EXPECT_EQ(ch.filterMode, 2);
  EXPECT_EQ(ch.cut1Hz, 0.5);
  EXPECT_EQ(ch.cut2Hz, 35.0);
  EXPECT_EQ(ch.notch, 0);
  EXPECT_EQ(ch.lineFrequencyHz, 50.0);
  EXPECT_EQ(ch.baseLine, 1);
  EXPECT_EQ(ch.invert, 1);
  EXPECT_EQ(ch.show, 0);
  EXPECT_EQ(ch.gain, 2.5);
  EXPECT_EQ(ch.scaleMode, 3);
  EXPECT_EQ(ch.scaleValue, 70.0);
  EXPECT_EQ(ch.displayTypeWords, (std::array<std::uint16_t, 7>{1, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(ch.displayTypeData[0], 0xA5);
  EXPECT_EQ(ch.displayTypeData[143], 0x5A);
}

TEST(BlockReaders, StageKeyCodes) {
  EXPECT_EQ(ConvertStageKeyCode(0xF006), 2000);
  EXPECT_EQ(ConvertStageKeyCode(0xF00A), 2004);
  EXPECT_EQ(ConvertStageKeyCode(0xF00F), 2009);
  EXPECT_EQ(ConvertStageKeyCode(0xF010), 0);
  EXPECT_EQ(ConvertStageKeyCode(2004), 0);
  StageTypeParam block;
  for (auto& r : block.records) r.key = 0xF00A;
  for (auto& r : block.shared) r.key = 0xF006;
  block.records[0].colour = 0xF00A;  // not a key field
  ConvertStageKeyCodes(&block);
  for (const auto& r : block.records) EXPECT_EQ(r.key, 2004u);
  for (const auto& r : block.shared) EXPECT_EQ(r.key, 2000u);
  EXPECT_EQ(block.records[0].colour, 0xF00Au);
}

TEST(BlockReaders, ResultFileVersionWord) {
  struct Case { std::int32_t stored; int version; std::uint32_t extended; std::size_t position; };
  for (const Case c : {Case{5, 5, 0, 0}, Case{10005, 5, 1, 0}, Case{10009, 9, 1, 0}, Case{10, -1, 7, 4},
                       Case{0, -1, 7, 4}, Case{10010, -1, 7, 4}}) {
    ImageBuilder file(8);
    file.At<std::int32_t>(0, c.stored);
    BlockStream stream(file.Bytes());
    std::uint32_t extended = 7;
    EXPECT_EQ(ReadRafVersion(&stream, &extended), c.version) << c.stored;
    EXPECT_EQ(extended, c.extended) << c.stored;
    EXPECT_EQ(stream.Position(), c.position) << c.stored;
  }
}

}  // namespace
