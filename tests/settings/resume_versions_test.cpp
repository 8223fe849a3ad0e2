// Older and damaged settings files: which record versions are read, how the older layouts are
// converted, and how values from the file are brought back into range.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "app/frame/settings_startup.h"
#include "image_builder.h"
#include "settings_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Erase(Bytes& b, std::size_t at, std::size_t n) { b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n)); }
template <class T>
void Poke(Bytes& b, std::size_t at, T v) { std::memcpy(b.data() + at, &v, sizeof v); }

// A version-9 or version-8 file made from a current one by taking out what those layouts lack.
Bytes OlderFile(Bytes current, int version) {
  Bytes doc(current.begin() + 11056, current.end());
  Bytes global(current.begin(), current.begin() + 11056);
  Erase(global, 1620, 4);  // padding before the trend range tables
  Erase(global, 1368, 4);  // standard bar flag
  if (version == 8) Erase(global, 1320, 16);  // trend pane ratio 1, raw row ratio
  global.resize(version == 8 ? 11040 : 11056, 0);
  Poke<std::uint16_t>(global, 0, std::uint16_t(version));
  // Channel records of 224 bytes: no filter kind, notch switch and line frequency.
  const std::size_t table = 18104 - 11056;
  Bytes channels(doc.begin() + table, doc.begin() + table + 7680);
  Bytes old;
  for (std::size_t r = 0; r < 32; ++r) {
    const auto* rec = channels.data() + 240 * r;
    old.insert(old.end(), rec, rec + 8);
    old.insert(old.end(), rec + 12, rec + 16);
    old.insert(old.end(), 4, 0);
    old.insert(old.end(), rec + 16, rec + 32);
    old.insert(old.end(), rec + 48, rec + 240);
  }
  Bytes out = global;
  out.insert(out.end(), doc.begin(), doc.begin() + table);
  out.insert(out.end(), old.begin(), old.end());
  out.insert(out.end(), doc.begin() + table + 7680, doc.end());
  return out;
}

class SettingsVersions : public SettingsTest {
 protected:
  // A current file whose every checked value differs from the defaults.
  Bytes MarkedFile() {
    EpochSeconds = 20;
    PageSeconds = 60;
    ShowStandardBar = 0;
    ShowEpochBar = 0;
    TrendSplitRatio1 = 0.25;
    RawRowSplitRatio = 0.75;
    UtilityHypnogramFileCount = 3;
    TrendItem.category[19] = 9;
    TrendRangeUpper.a[0] = 55.0;
    TrendRangeLower.m[2] = -3.0;
    UserProgramTable.count = 2;
    HumanReportSettings.value = 42.0;
    blocks_.stageType.sharedInUse = 2;
    blocks_.sleepDstrb.ecgPeakLevel = 66.0;
    blocks_.waveForm.precision = 0;
    blocks_.logic.sets[3][5].stage = 8;
    blocks_.markType.items[9].name = "Pill";
    blocks_.optionWords.rest[17] = 0x42;
    channels_[7].gain = 3.5;
    channels_[7].filterKind = 1;
    channels_[7].notch = 1;
    channels_[7].lineFrequencyHz = 60.0;
    channels_[7].displayTypeWords[6] = 0;
    Bytes file = ResumeFile::BuildImage(blocks_, channels_);
    SetDefaultSettings();
    SetDefaultAllBlocks(&blocks_, 7);
    for (auto& ch : channels_) ch.SetDefault();
    return file;
  }
};

TEST_F(SettingsVersions, RecordVersionsTenNineAndEightAreRead) {
  const Bytes current = MarkedFile();
  for (int version : {10, 9, 8}) {
    SCOPED_TRACE("record version " + std::to_string(version));
    SetDefaultSettings();
    SetDefaultAllBlocks(&blocks_, 7);
    for (auto& ch : channels_) ch.SetDefault();
    const Bytes file = version == 10 ? current : OlderFile(current, version);
    ASSERT_EQ(file.size(), version == 10 ? 26340u : version == 9 ? 25828u : 25812u);
    ShowStandardBar = 0;  // the reader sets it before taking the record
    ASSERT_EQ(ResumeFile::ReadGlobalFrom(file), 1);
    ASSERT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 1);
    EXPECT_EQ(EpochSeconds, 20);
    EXPECT_EQ(PageSeconds, 60);
    EXPECT_EQ(ShowEpochBar, 0u);
    EXPECT_EQ(ShowStandardBar, version == 10 ? 0u : 1u);
    EXPECT_EQ(TrendSplitRatio1, version == 8 ? 0.4 : 0.25);
    EXPECT_EQ(RawRowSplitRatio, version == 8 ? 0.3 : 0.75);
    EXPECT_EQ(UtilityHypnogramFileCount, 3);
    EXPECT_EQ(TrendItem.category[19], 9);
    EXPECT_EQ(TrendRangeUpper.a[0], 55.0);
    EXPECT_EQ(TrendRangeLower.m[2], -3.0);
    EXPECT_EQ(UserProgramTable.count, 2);
    EXPECT_EQ(HumanReportSettings.value, 42.0);
    EXPECT_EQ(blocks_.stageType.sharedInUse, 2);
    EXPECT_EQ(blocks_.sleepDstrb.ecgPeakLevel, 66.0);
    EXPECT_EQ(blocks_.waveForm.precision, 0);
    EXPECT_EQ(blocks_.logic.sets[3][5].stage, 8);
    EXPECT_EQ(blocks_.markType.items[9].name, "Pill");
    EXPECT_EQ(blocks_.optionWords.rest[17], 0x42);
    EXPECT_EQ(channels_[7].gain, 3.5);
    EXPECT_EQ(channels_[7].displayTypeWords[6], 0);
    // Fields the 224-byte channel records lack take their fixed values.
    EXPECT_EQ(channels_[7].filterKind, version == 10 ? 1 : 0);
    EXPECT_EQ(channels_[7].notch, version == 10 ? 1 : 0);
    EXPECT_EQ(channels_[7].lineFrequencyHz, version == 10 ? 60.0 : 50.0);
  }
}

TEST_F(SettingsVersions, UnsupportedVersionsChangeNothing) {
  const Bytes current = MarkedFile();
  for (std::uint16_t version : {0, 1, 4, 7, 0xFFFF, 0x8000}) {
    SCOPED_TRACE("record version " + std::to_string(version));
    Bytes file = current;
    Poke<std::uint16_t>(file, 0, version);
    WaitingTime = 9;
    blocks_.sleepDstrb.ecgPeakLevel = 1.0;
    EXPECT_EQ(ResumeFile::ReadGlobalFrom(file), 0);
    EXPECT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 0);
    EXPECT_EQ(EpochSeconds, 4);
    EXPECT_EQ(WaitingTime, 9);
    EXPECT_EQ(blocks_.sleepDstrb.ecgPeakLevel, 1.0);
  }
  // Version 11: the global record is read as version 9, the document part is refused.
  Bytes file = OlderFile(current, 9);
  Poke<std::uint16_t>(file, 0, 11);
  EXPECT_EQ(ResumeFile::ReadGlobalFrom(file), 1);
  EXPECT_EQ(PageSeconds, 60);
  EXPECT_EQ(ShowEpochBar, 0u);
  EXPECT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 0);
  EXPECT_EQ(blocks_.sleepDstrb.ecgPeakLevel, 1.0);
  // Empty and one-byte files.
  EXPECT_EQ(ResumeFile::ReadGlobalFrom(Bytes{}), 0);
  EXPECT_EQ(ResumeFile::ReadDocumentFrom(Bytes{10}, blocks_, channels_), 0);
  // A missing file is no error, only nothing read.
  EXPECT_EQ(ResumeFile::ReadGlobal((folder_ / "none.RSM").string()), 0);
}

// A block whose own version is refused keeps its contents, and every later block is still
// read from its own place.
TEST_F(SettingsVersions, RefusedBlockDoesNotShiftTheBlocksAfterIt) {
  Bytes file = MarkedFile();
  Poke<std::uint16_t>(file, 12464, 7);  // sleep-disturbance block version
  Poke<std::uint16_t>(file, 13160, 3);  // wave-form block version
  blocks_.sleepDstrb.ecgPeakLevel = 11.0;
  blocks_.waveForm.precision = 1;
  ASSERT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 1);
  EXPECT_EQ(blocks_.sleepDstrb.ecgPeakLevel, 11.0);
  EXPECT_EQ(blocks_.waveForm.precision, 1);
  EXPECT_EQ(blocks_.logic.sets[3][5].stage, 8);
  EXPECT_EQ(blocks_.markType.items[9].name, "Pill");
  EXPECT_EQ(channels_[7].gain, 3.5);
  // A version-1 sleep-disturbance block is brought up to date on the way in.
  Poke<std::uint16_t>(file, 12464, 1);
  Poke<std::uint16_t>(file, 12464 + 410, 2);
  ASSERT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 1);
  EXPECT_EQ(blocks_.sleepDstrb.version, 2);
  EXPECT_EQ(blocks_.sleepDstrb.lfhfTimeS, 300);
}

TEST_F(SettingsVersions, ShortFileKeepsWhatLiesPastItsEnd) {
  Bytes file = MarkedFile();
  file.resize(18104 + 240 * 7 + 100);  // ends inside channel record 7
  channels_[7].gain = 8.0;
  blocks_.markType.items[9].name = "kept";
  ASSERT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 1);
  EXPECT_EQ(blocks_.logic.sets[3][5].stage, 8);
  EXPECT_EQ(channels_[7].gain, 8.0);
  EXPECT_EQ(blocks_.markType.items[9].name, "kept");
  // The global record of a short file reads its missing tail as zero, within range.
  Bytes global(file.begin(), file.begin() + 600);
  ASSERT_EQ(ResumeFile::ReadGlobalFrom(global), 1);
  EXPECT_EQ(EpochSeconds, 20);
  EXPECT_EQ(ChannelShowTypeTable.count, 1);
  EXPECT_EQ(TrendTimeEpochs, 0);
}

struct LengthCase { std::int32_t epoch, page, expectedEpoch, expectedPage; };

class EpochAndPageChecks : public SettingsVersions, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(EpochAndPageChecks, StoredLengthsAreChecked) {
  const LengthCase c = GetParam();
  Bytes file = MarkedFile();
  Poke<std::int32_t>(file, 524, c.epoch);
  Poke<std::int32_t>(file, 528, c.page);
  Poke<std::int32_t>(file, 1344, 12345);  // never taken
  Poke<std::int32_t>(file, 1348, 600);
  ASSERT_EQ(ResumeFile::ReadGlobalFrom(file), 1);
  EXPECT_EQ(EpochSeconds, c.expectedEpoch);
  EXPECT_EQ(PageSeconds, c.expectedPage);
  EXPECT_EQ(TrendTimeEpochs, 600 * 60 / c.expectedEpoch);
}

INSTANTIATE_TEST_SUITE_P(Table, EpochAndPageChecks,
                         ::testing::Values(LengthCase{20, 30, 20, 20}, LengthCase{20, 40, 20, 40},
                                           LengthCase{20, 10, 20, 20}, LengthCase{30, 86400, 30, 86400},
                                           LengthCase{4, 86404, 4, 4}, LengthCase{0, 28, 4, 28},
                                           LengthCase{-30, 60, 4, 60}, LengthCase{61, 120, 4, 120},
                                           LengthCase{3, 9, 4, 4}));

TEST_F(SettingsVersions, CountsAndIndexesFromTheFileAreBroughtIntoRange) {
  Bytes file = MarkedFile();
  Poke<std::uint16_t>(file, 1256, 33);
  Poke<std::uint16_t>(file, 1258, 0xFFFF);
  Poke<std::uint16_t>(file, 1260, 32);
  Poke<std::uint16_t>(file, 1268, 40);
  Poke<std::uint16_t>(file, 1270, 31);
  Poke<std::uint16_t>(file, 1366, 25);     // trend graphs
  Poke<std::uint16_t>(file, 7100, 11);     // user programs
  Poke<std::int16_t>(file, 10232, 5);      // current show type ...
  Poke<std::int16_t>(file, 10234, 3);      // ... of three
  std::memset(file.data() + 10236, 'A', 20);  // name without terminator
  Poke<std::uint16_t>(file, 11056, 7);             // stage type
  Poke<std::uint16_t>(file, 11056 + 532, 5);       // free stages in use
  Poke<std::uint16_t>(file, 12176 + 76, 9);        // FFT band count
  Poke<std::int32_t>(file, 12464 + 460, 0);        // positions in use
  Poke<std::uint16_t>(file, 17488 + 46, 0);        // page FFT band count
  Poke<std::int32_t>(file, 18092, 40);             // divided-page channel
  Poke<std::uint16_t>(file, 25784, 11);            // mark items with trigger detection
  Poke<std::int32_t>(file, 1348, INT32_MAX);       // trend minutes: the epoch span must not overflow
  ASSERT_EQ(ResumeFile::ReadGlobalFrom(file), 1);
  ASSERT_EQ(ResumeFile::ReadDocumentFrom(file, blocks_, channels_), 1);
  EXPECT_EQ(ParameterBarCodes[0], 0);
  EXPECT_EQ(ParameterBarCodes[1], 0);
  EXPECT_EQ(ParameterBarCodes[2], 32);
  EXPECT_EQ(ParameterBarChannels[0], 0);
  EXPECT_EQ(ParameterBarChannels[1], 31);
  EXPECT_EQ(TrendSettingWord2, 20);
  EXPECT_EQ(UserProgramTable.count, 10);
  EXPECT_EQ(ChannelShowTypeTable.count, 3);
  EXPECT_EQ(ChannelShowTypeTable.current, 0);
  EXPECT_EQ(ChannelShowTypeTable.names[0], std::string(20, 'A'));
  EXPECT_EQ(blocks_.stageType.stageType, 3);
  EXPECT_EQ(blocks_.stageType.sharedInUse, 3);
  EXPECT_EQ(blocks_.fftBand.bandCount, 6);
  EXPECT_EQ(blocks_.sleepDstrb.positionsInUse, 1);
  EXPECT_EQ(blocks_.fftPage.bandCount, 1);
  EXPECT_EQ(blocks_.fftPageChannels.channels[0], -1);
  EXPECT_EQ(blocks_.markType.triggerCount, 10);
  EXPECT_EQ(TrendTimeEpochs, INT32_MAX);
  // Written again, the unterminated name keeps its terminator in the file.
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  EXPECT_EQ(ReadBytes(ResumeFile::Path())[10236 + 19], 0);
}

TEST_F(SettingsVersions, ShowTypeCountsOutsideTheTable) {
  for (std::int16_t count : {0, -4, 10, 300}) {
    Bytes file = MarkedFile();
    Poke<std::int16_t>(file, 10232, -1);
    Poke<std::int16_t>(file, 10234, count);
    ASSERT_EQ(ResumeFile::ReadGlobalFrom(file), 1);
    EXPECT_EQ(ChannelShowTypeTable.count, count < 1 ? 1 : 9) << count;
    EXPECT_EQ(ChannelShowTypeTable.current, 0) << count;
  }
}

// ---- Presets ------------------------------------------------------------------------------------

TEST_F(SettingsTest, AnimalPresetAtTheFirstStartOnly) {
  EXPECT_FALSE(ApplyAnimalSettingIfFirstRun(false, blocks_, channels_));
  EXPECT_FALSE(std::filesystem::exists(ResumeFile::Path()));
  EXPECT_EQ(EpochSeconds, 4);

  blocks_.stageType.stageType = 1;
  ASSERT_TRUE(ApplyAnimalSettingIfFirstRun(true, blocks_, channels_));
  EXPECT_EQ(EpochSeconds, 10);
  EXPECT_EQ(PageSeconds, 40);
  EXPECT_EQ(blocks_.stageType.stageType, 3);
  for (const auto* table : {&blocks_.fftBand.bands, &blocks_.fftPage.bands}) {
    EXPECT_EQ((*table)[0].name, "Delta");
    EXPECT_EQ((*table)[0].fromHz, 0.75);
    EXPECT_EQ((*table)[0].toHz, 4.0);
    EXPECT_EQ((*table)[1].name, "Theta");
    EXPECT_EQ((*table)[1].fromHz, 6.0);
    EXPECT_EQ((*table)[1].toHz, 10.0);
    EXPECT_EQ((*table)[2].name, "Alpha");
    EXPECT_EQ((*table)[2].fromHz, 12.0);
    EXPECT_EQ((*table)[2].toHz, 14.0);
  }
  EXPECT_EQ(blocks_.fftBand.bandCount, 3);
  EXPECT_EQ(blocks_.fftPage.bandCount, 3);
  const auto& w = blocks_.waveForm.bands;
  EXPECT_EQ(w[WaveFormRecognitionParam::kDelta].frequencyMinHz, 0.65);
  EXPECT_EQ(w[WaveFormRecognitionParam::kDelta].frequencyMaxHz, 4.0);
  EXPECT_EQ(w[WaveFormRecognitionParam::kTheta].frequencyMinHz, 6.0);
  EXPECT_EQ(w[WaveFormRecognitionParam::kTheta].frequencyMaxHz, 10.0);
  EXPECT_EQ(w[WaveFormRecognitionParam::kAlpha].frequencyMinHz, 12.0);
  EXPECT_EQ(w[WaveFormRecognitionParam::kAlpha].frequencyMaxHz, 14.0);

  // The file was written at once; the next start reads it and applies nothing.
  ASSERT_TRUE(std::filesystem::exists(ResumeFile::Path()));
  SetDefaultSettings();
  EXPECT_FALSE(ApplyAnimalSettingIfFirstRun(true, blocks_, channels_));
  EXPECT_EQ(EpochSeconds, 4);
  ASSERT_EQ(LoadGlobalSettings(), 1);
  EXPECT_EQ(EpochSeconds, 10);
  EXPECT_EQ(PageSeconds, 40);
}

// "Initializes Environment": every setting back to its default, written, and a restart gives
// 4-s epochs, 7 to a page.
TEST_F(SettingsTest, ResetToDefaultsSurvivesARestart) {
  EpochSeconds = 30;
  PageSeconds = 120;
  DisplayColors[0] = 1;
  blocks_.logicOption.lastStageMode = 1;
  channels_[0].gain = 9.0;
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);

  InitScreenItemFonts();
  SetDefaultSettings();
  SetDefaultAllBlocks(&blocks_, PageSeconds / EpochSeconds);
  for (auto& ch : channels_) ch.SetDefault();
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);

  EpochSeconds = 30;
  ASSERT_EQ(LoadGlobalSettings(), 1);
  ASSERT_EQ(LoadDocumentSettings(blocks_, channels_), 1);
  EXPECT_EQ(EpochSeconds, 4);
  EXPECT_EQ(PageSeconds / EpochSeconds, 7);
  EXPECT_EQ(DisplayColors[0], 0x00FAFAFFu);
  EXPECT_EQ(blocks_.logicOption.lastStageMode, 0);
  EXPECT_EQ(blocks_.fftPage.dividedCount, 7);
  EXPECT_EQ(channels_[0].gain, 1.0);
}

TEST_F(SettingsTest, AdjustmentCopiesTheBandTableIntoThePageSpectrum) {
  FFTBandParam& band = blocks_.fftBand;
  band.averagingCount = 8;
  band.fftPoints = 1024;
  band.windowType = 1;
  band.unit = 1;
  band.bandCount = 2;
  band.bands[0] = {"Low", 1.0, 3.0};
  band.bands[1] = {"High", 0.5, 25.0};
  band.bands[2] = {"Unused", 0.1, 99.0};
  const FFTPageParam before = blocks_.fftPage;
  AdjustAnalysisSettings(blocks_);  // no FFT channel switched on: nothing happens
  EXPECT_EQ(blocks_.fftPage.epochFftPoints, before.epochFftPoints);

  band.channelSwitch[2] = 1;
  AdjustAnalysisSettings(blocks_);
  const FFTPageParam& page = blocks_.fftPage;
  EXPECT_EQ(page.epochAveraging, 8);
  EXPECT_EQ(page.dividedAveraging, 8);
  EXPECT_EQ(page.epochFftPoints, 1024u);
  EXPECT_EQ(page.dividedFftPoints, 1024u);
  EXPECT_EQ(page.windowType, 1);
  EXPECT_EQ(page.unit, 1);
  EXPECT_EQ(page.bandCount, 2);
  EXPECT_EQ(page.bands[1].name, "High");
  EXPECT_EQ(page.contentFromHz, 0.5f);
  EXPECT_EQ(page.contentToHz, 25.0f);
  band.contentRange = 1;
  band.optionalFromHz = 2.0f;
  band.optionalToHz = 12.0f;
  AdjustAnalysisSettings(blocks_);
  EXPECT_EQ(page.contentFromHz, 2.0f);
  EXPECT_EQ(page.contentToHz, 12.0f);
}

}  // namespace

namespace {

// Damaged files: bytes overwritten at random and files cut short at random never crash the
// readers, and what they take stays within the ranges the rest of the program relies on.
TEST_F(SettingsTest, DamagedFilesStayWithinRange) {
  const Bytes good = ResumeFile::BuildImage(blocks_, channels_);
  std::uint32_t seed = 12345;
  auto next = [&seed] { seed = seed * 1664525u + 1013904223u; return seed >> 8; };
  for (int round = 0; round < 300; ++round) {
    Bytes file = good;
    const int hits = 1 + int(next() % 200);
    for (int h = 0; h < hits; ++h) file[next() % file.size()] = std::uint8_t(next());
    if (round % 3 == 0) file.resize(next() % file.size());
    if (round % 5 == 0 && file.size() >= 2) Poke<std::uint16_t>(file, 0, std::uint16_t(8 + next() % 3));
    ResumeFile::ReadGlobalFrom(file);
    ResumeFile::ReadDocumentFrom(file, blocks_, channels_);
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_GE(EpochSeconds, 4);
    ASSERT_LE(EpochSeconds, 60);
    ASSERT_EQ(PageSeconds % EpochSeconds, 0);
    ASSERT_LE(PageSeconds, 86400);
    for (auto code : ParameterBarCodes) ASSERT_LE(code, 32);
    for (auto ch : ParameterBarChannels) ASSERT_LT(ch, 32);
    ASSERT_LE(UserProgramTable.count, 10);
    ASSERT_GE(ChannelShowTypeTable.count, 1);
    ASSERT_LE(ChannelShowTypeTable.count, 9);
    ASSERT_GE(ChannelShowTypeTable.current, 0);
    ASSERT_LT(ChannelShowTypeTable.current, ChannelShowTypeTable.count);
    ASSERT_LE(TrendSettingWord2, 20);
    ASSERT_LE(blocks_.stageType.stageType, 3);
    ASSERT_LE(blocks_.stageType.sharedInUse, 3);
    ASSERT_GE(blocks_.fftBand.bandCount, 1);
    ASSERT_LE(blocks_.fftBand.bandCount, 6);
    ASSERT_GE(blocks_.fftPage.bandCount, 1);
    ASSERT_LE(blocks_.fftPage.bandCount, 6);
    ASSERT_GE(blocks_.sleepDstrb.positionsInUse, 1);
    ASSERT_LE(blocks_.sleepDstrb.positionsInUse, 6);
    ASSERT_LE(blocks_.markType.triggerCount, 10);
    for (auto ch : blocks_.fftPageChannels.channels) ASSERT_TRUE(ch >= -1 && ch < 32);
    for (const auto& p : blocks_.sleepDstrb.positions) ASSERT_LE(p.name.size(), 3u * 15);
  }
}

}  // namespace
