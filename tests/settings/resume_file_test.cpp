// The settings file: first run, read back, Ctrl, and the exact layout of what is written.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <sys/wait.h>
#include <unistd.h>

#include "app/frame/settings_startup.h"
#include "image_builder.h"
#include "settings_fixture.h"

namespace {

constexpr std::size_t kDocumentStart = 11056;
constexpr std::size_t kChannelTableAt = 18104;

// Expected global record of a first run, from the default column of the layout table. The
// fonts (648 .. 1247) come from the system font and are compared apart.
std::vector<std::uint8_t> DefaultGlobalRecord() {
  ImageBuilder g(11056);
  g.At<std::uint16_t>(0, 10).Text(2, "c:\\");
  g.At<std::int32_t>(524, 4).At<std::int32_t>(528, 28).At<std::int32_t>(532, 1).At<std::uint32_t>(536, 0);
  g.At<std::uint16_t>(540, 1).At<std::uint16_t>(542, 1).At<std::uint32_t>(544, 0);
  g.At<double>(552, 360.0).At<double>(560, 260.0);
  g.At<std::uint32_t>(568, 1).At<std::uint32_t>(572, 1).At<std::uint16_t>(576, 1).At<std::uint32_t>(580, 0);
  g.At<std::uint32_t>(584, 1).At<std::uint32_t>(588, 0).At<std::uint32_t>(592, 1).At<std::uint32_t>(596, 1);
  g.At<std::uint16_t>(600, 1).At<std::uint32_t>(604, 0);
  const std::uint32_t colours[] = {0x00FAFAFF, 0x000025F9, 0x0000FFFF, 0x00B200FF, 0x004C4C4C,
                                   0x004913E9, 0x00665A4B, 0x000FC814, 0x00C81C69};
  for (int i = 0; i < 9; ++i) g.At<std::uint32_t>(608 + 4 * i, colours[i]);
  g.At<std::int16_t>(644, 0).At<std::uint32_t>(1248, 22).At<std::uint32_t>(1252, 30);
  const double ratios[] = {0.6, 0.5, 0.6, 0.6, 0.7, 0.4, 0.3};
  for (int i = 0; i < 7; ++i) g.At<double>(1280 + 8 * i, ratios[i]);
  g.At<std::uint16_t>(1336, 1).At<std::uint16_t>(1338, 1).At<std::uint16_t>(1340, 1);
  g.At<std::int32_t>(1344, 43200 / 4).At<std::int32_t>(1348, 720);
  g.At<std::uint32_t>(1352, 0).At<std::uint32_t>(1356, 0x00FFFFFF).At<std::uint32_t>(1360, 0);
  g.At<std::uint16_t>(1364, 0).At<std::uint16_t>(1366, 1);
  g.At<std::uint32_t>(1368, 1).At<std::uint32_t>(1372, 1).At<std::uint32_t>(1376, 1);
  g.Repeat<std::uint16_t>(1500, 20, 2).Repeat<std::uint16_t>(1580, 20, 1);
  // Trend range tables: upper ends 100 in every element, lower ends 0.
  const std::size_t upper = 1624;
  g.Repeat<double>(upper + 0, 7, 100.0).Repeat<std::uint16_t>(upper + 56, 7, 100);
  g.Repeat<std::uint32_t>(upper + 72, 7, 100).Repeat<double>(upper + 104, 26, 100.0);
  g.At<std::uint16_t>(upper + 312, 100).Repeat<double>(upper + 320, 30, 100.0).At<std::uint16_t>(upper + 560, 100);
  g.Repeat<double>(upper + 568, 3, 100.0).Repeat<std::uint16_t>(upper + 592, 2, 100);
  g.At<std::uint32_t>(upper + 596, 100).Repeat<double>(upper + 600, 236, 100.0);
  g.Repeat<std::uint16_t>(upper + 2488, 2, 100).Repeat<double>(upper + 2496, 3, 100.0);
  g.Repeat<std::uint16_t>(6664, 109, 2).Repeat<std::uint16_t>(6882, 109, 1);
  g.At<std::uint16_t>(7100, 0);
  g.At<std::int32_t>(10028, 30).At<std::uint16_t>(10038, 1).At<std::uint32_t>(10040, 0xFFFF);
  g.At<std::uint16_t>(10044, 1).At<std::uint16_t>(10046, 0).At<std::int32_t>(10048, 3600 / 4);
  g.Repeat<std::int32_t>(10056, 3, -1);
  g.At<std::int32_t>(10112, 30).At<std::int32_t>(10116, 30).At<std::uint16_t>(10120, 3);
  g.At<std::int32_t>(10124, 20).At<std::int32_t>(10128, 20).At<std::uint16_t>(10132, 2);
  for (int r = 2; r < 10; ++r)
    g.At<std::int32_t>(10112 + 12 * r, 30).At<std::int32_t>(10116 + 12 * r, 20).At<std::uint16_t>(10120 + 12 * r, 3);
  g.At<std::int16_t>(10232, 0).At<std::int16_t>(10234, 1).Text(10236, "Default");
  g.Repeat<std::uint16_t>(10416, 9 * 32, 1);
  g.At<std::int32_t>(10992, 30).At<std::int32_t>(10996, 60).At<double>(11000, 90.0);
  g.Repeat<std::uint16_t>(11008, 10, 1);
  return g.Bytes();
}

std::vector<std::uint8_t> DefaultChannelRecord() {
  ImageBuilder c(240);
  c.At<std::uint32_t>(0, 0).At<std::uint32_t>(4, 1).At<std::uint32_t>(8, 0).At<std::uint32_t>(12, 4);
  c.At<double>(16, 0.2).At<double>(24, 20.0).At<std::uint32_t>(32, 0).At<double>(40, 50.0);
  c.At<std::uint16_t>(48, 0).At<std::uint16_t>(50, 0).At<std::uint16_t>(52, 1).At<double>(56, 1.0);
  c.At<std::uint16_t>(64, 1).At<double>(72, 50.0);
  c.At<std::uint16_t>(80, 1).At<std::uint16_t>(90, 1).At<std::uint16_t>(92, 1);
  return c.Bytes();
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
  return {b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n)};
}

TEST_F(SettingsTest, FirstRunWritesTheDefaultsAndTheSecondRunReadsThemBack) {
  // First run: nothing to read, so defaults everywhere.
  EpochSeconds = 17;
  ASSERT_EQ(LoadGlobalSettings(), 0);
  EXPECT_EQ(EpochSeconds, 4);
  blocks_.logic.sets[0][0].stage = 0;
  ASSERT_EQ(LoadDocumentSettings(blocks_, channels_), 0);
  EXPECT_EQ(blocks_.logic.sets[0][0].stage, 7);

  // Closing the main window writes the file.
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const auto file = ReadBytes((folder_ / (sys::ProgramBaseName() + ".RSM")).string());
  ASSERT_EQ(file.size(), 26340u);
  EXPECT_EQ(file[0], 0x0A);
  EXPECT_EQ(file[1], 0x00);

  auto global = Slice(file, 0, 11056);
  auto expected = DefaultGlobalRecord();
  std::fill(global.begin() + 648, global.begin() + 1248, 0);
  EXPECT_TRUE(SameBytes(expected, global));

  // Fonts: the system menu font with the slot heights, slot 8 bold.
  const int heights[] = {12, 10, 18, 12, 80, 36, 48, 20, 12, 24};
  for (int slot = 0; slot < 10; ++slot) {
    std::int32_t height, weight;
    std::memcpy(&height, file.data() + 648 + 60 * slot, 4);
    std::memcpy(&weight, file.data() + 648 + 60 * slot + 16, 4);
    EXPECT_EQ(height, heights[slot]) << "font slot " << slot + 1;
    if (slot == 7) {
      EXPECT_EQ(weight, 700);
    }
  }

  // The document part: each block at its offset as its reset writes it, then 32 default channel records.
  AnalysisParamBlocks fresh;
  SetDefaultAllBlocks(&fresh, 28 / 4);
  EXPECT_TRUE(SameBytes(StoredImage(fresh.stageType), Slice(file, kDocumentStart, 608)));
  EXPECT_TRUE(SameBytes(StoredImage(fresh.sleepDstrb), Slice(file, 12464, 696)));
  EXPECT_TRUE(SameBytes(StoredImage(fresh.waveForm), Slice(file, 13160, 784)));
  EXPECT_TRUE(SameBytes(StoredImage(fresh.fftPage), Slice(file, 17488, 280)));
  EXPECT_EQ(file[17488 + 26], 7) << "divided-page count: 28-s pages of 4-s epochs";
  for (int c = 0; c < 32; ++c)
    EXPECT_TRUE(SameBytes(DefaultChannelRecord(), Slice(file, kChannelTableAt + 240 * std::size_t(c), 240))) << c;
  EXPECT_TRUE(SameBytes(StoredImage(fresh.markType), Slice(file, 25784, 524)));
  EXPECT_TRUE(SameBytes(StoredImage(fresh.optionWords), Slice(file, 26308, 32)));

  // Second run: everything comes back, and writing again gives the same bytes.
  SetDefaultSettings();
  EpochSeconds = 30;
  PageSeconds = 60;
  DisplayFonts[2].height = 99;
  AnalysisParamBlocks other;
  std::array<LyrChInfo, 32> otherChannels;
  otherChannels[3].gain = 7.0;
  ASSERT_EQ(LoadGlobalSettings(), 1);
  ASSERT_EQ(LoadDocumentSettings(other, otherChannels), 1);
  EXPECT_EQ(EpochSeconds, 4);
  EXPECT_EQ(PageSeconds, 28);
  const std::string again = (folder_ / "again.RSM").string();
  ASSERT_EQ(ResumeFile::Write(again, other, otherChannels), 1);
  EXPECT_TRUE(SameBytes(file, ReadBytes(again)));
  // No companion file in this edition.
  EXPECT_FALSE(std::filesystem::exists(folder_ / (sys::ProgramBaseName() + ".SRM1")));
}

TEST_F(SettingsTest, ChangedSettingsSurviveARestart) {
  EpochSeconds = 20;
  PageSeconds = 60;
  LastFolderPath = "/data/sleep lab/ナイト1";
  UserProgramTable.count = 1;
  UserProgramTable.entries[0] = {"Viewer", "/usr/bin/viewer --night"};
  ChannelShowTypeTable.count = 2;
  ChannelShowTypeTable.current = 1;
  ChannelShowTypeTable.names[1] = "EEG only";
  DisplayFonts[4].height = 33;
  DisplayFonts[4].SetFaceName("Sans");
  blocks_.sleepDstrb.ecgChannel = 6;
  blocks_.fftPageChannels.channels = {2, -1, -1};
  channels_[5].gain = 2.5;
  channels_[5].filterMode = 2;
  channels_[31].colour = 0x123456;
  channels_[5].displayTypeData[100] = 9;
  channels_[5].displayInvert = 1;
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);

  SetDefaultSettings();
  InitScreenItemFonts();
  AnalysisParamBlocks read;
  std::array<LyrChInfo, 32> chans;
  ASSERT_EQ(ResumeFile::ReadGlobal(ResumeFile::Path()), 1);
  ASSERT_EQ(ResumeFile::ReadDocument(ResumeFile::Path(), read, chans), 1);
  EXPECT_EQ(EpochSeconds, 20);
  EXPECT_EQ(PageSeconds, 60);
  EXPECT_EQ(LastFolderPath, "/data/sleep lab/ナイト1") << "paths are the file system's own bytes in any language";
  EXPECT_EQ(UserProgramTable.entries[0].commandLine, "/usr/bin/viewer --night");
  EXPECT_EQ(ChannelShowTypeTable.current, 1);
  EXPECT_EQ(ChannelShowTypeTable.names[1], "EEG only");
  EXPECT_EQ(DisplayFonts[4].height, 33);
  EXPECT_EQ(DisplayFonts[4].FaceName(), "Sans");
  EXPECT_EQ(read.sleepDstrb.ecgChannel, 6);
  EXPECT_EQ(read.fftPageChannels.channels[0], 2);
  EXPECT_EQ(chans[5].gain, 2.5);
  EXPECT_EQ(chans[5].filterMode, 2);
  EXPECT_EQ(chans[31].colour, 0x123456u);
  EXPECT_EQ(chans[5].displayTypeData[100], 9);
  EXPECT_EQ(chans[5].displayInvert, 0) << "not stored: 0 after reading";
}

TEST_F(SettingsTest, JapaneseTextsRoundTripInTheirCodePage) {
  sys::SetThreadLocale(sys::kLcidJapanese);
  LastFolderPath = "/data/睡眠検査/ナイト1";
  blocks_.markType.items[0].name = "消灯";
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const auto file = ReadBytes(ResumeFile::Path());
  EXPECT_EQ(file[2 + 6], 0xE7) << "paths are stored as UTF-8, not in code page 932";
  LastFolderPath.clear();
  AnalysisParamBlocks read;
  ASSERT_EQ(ResumeFile::ReadGlobal(ResumeFile::Path()), 1);
  ASSERT_EQ(ResumeFile::ReadDocument(ResumeFile::Path(), read, channels_), 1);
  EXPECT_EQ(LastFolderPath, "/data/睡眠検査/ナイト1");
  EXPECT_EQ(read.markType.items[0].name, "消灯");
}

TEST_F(SettingsTest, CtrlHeldGivesDefaultsAndSkipsEveryWrite) {
  EpochSeconds = 10;
  PageSeconds = 40;
  blocks_.markType.items[0].name = "Lights off";
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const auto before = ReadBytes(ResumeFile::Path());

  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  EXPECT_EQ(LoadGlobalSettings(), 0);
  EXPECT_EQ(EpochSeconds, 4);
  EXPECT_EQ(LoadDocumentSettings(blocks_, channels_), 0);
  EXPECT_EQ(blocks_.markType.items[0].name, "");
  WaitingTime = 5;
  EXPECT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1) << "skipping counts as done";
  EXPECT_TRUE(SameBytes(before, ReadBytes(ResumeFile::Path())));

  sys::SetKeyStateForTesting(sys::VirtualKey::Control, false);
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const auto after = ReadBytes(ResumeFile::Path());
  std::int32_t epoch, waiting;
  std::memcpy(&epoch, after.data() + 524, 4);
  std::memcpy(&waiting, after.data() + 532, 4);
  EXPECT_EQ(epoch, 4);
  EXPECT_EQ(waiting, 5);
}

TEST_F(SettingsTest, AWriterStoppedPartWayLeavesThePreviousFile) {
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const auto before = ReadBytes(ResumeFile::Path());
  EpochSeconds = 30;
  PageSeconds = 30;
  for (int stop : {0, 1, 6, 15}) {
    ResumeFile::StopWriteAfterBlocksForTesting(stop);
    EXPECT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 0) << stop;
    EXPECT_TRUE(SameBytes(before, ReadBytes(ResumeFile::Path()))) << "stopped after " << stop << " blocks";
  }
  ResumeFile::StopWriteAfterBlocksForTesting(-1);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1) << "no partial file is left beside the settings file";
}

// A real kill at an arbitrary moment: the file is always one whole version, never a mixture
// or a truncated one.
TEST_F(SettingsTest, AProgramKilledWhileWritingLeavesAWholeFile) {
  WaitingTime = 1;
  const auto imageA = ResumeFile::BuildImage(blocks_, channels_);
  WaitingTime = 2;
  const auto imageB = ResumeFile::BuildImage(blocks_, channels_);
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  for (int round = 0; round < 3; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) {
        WaitingTime = 1 + (i & 1);
        ResumeFile::Write(ResumeFile::Path(), blocks_, channels_);
      }
    }
    usleep(20000 + 15000 * round);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const auto now = ReadBytes(ResumeFile::Path());
    EXPECT_TRUE(now == imageA || now == imageB) << "round " << round << ": " << now.size() << " bytes";
  }
}

TEST_F(SettingsTest, UnwritableFolderFailsWithoutTouchingTheOldFile) {
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const std::string missing = (folder_ / "no such folder" / "x.RSM").string();
  std::string failure;
  EXPECT_EQ(ResumeFile::Write(missing, blocks_, channels_, &failure), 0);
  EXPECT_TRUE(failure.empty()) << "a file that cannot be created is not reported";
}

TEST_F(SettingsTest, FloatingWindowStoresTheFixedRatiosAndLineUpIsNeverRead) {
  PaneColumnRatio = 0.1;
  PaneRowRatio = 0.2;
  TrendSplitRatio1 = 0.9;
  LineUpWithTrend = 1;
  WorkspaceWindowDockState = kDockFloating;
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  const auto file = ReadBytes(ResumeFile::Path());
  const double expected[] = {0.6, 0.6, 0.6, 0.6, 0.7, 0.4, 0.3};
  for (int i = 0; i < 7; ++i) {
    double v;
    std::memcpy(&v, file.data() + 1280 + 8 * i, 8);
    EXPECT_EQ(v, expected[i]) << "ratio " << i;
  }
  std::uint32_t lineUp;
  std::memcpy(&lineUp, file.data() + 588, 4);
  EXPECT_EQ(lineUp, 1u) << "written as it is";
  ASSERT_EQ(ResumeFile::ReadGlobal(ResumeFile::Path()), 1);
  EXPECT_EQ(LineUpWithTrend, 0u) << "off again after the next start";
}

TEST_F(SettingsTest, EightSecondEpochTurnsTheLastStageRulesOff) {
  EpochSeconds = 8;
  PageSeconds = 32;
  blocks_.logicOption.lastStageMode = 1;
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  AnalysisParamBlocks read;
  EXPECT_EQ(LoadDocumentSettings(read, channels_), 1);
  EXPECT_EQ(read.logicOption.lastStageMode, 0);
  // The same after the defaults (mode 0 there anyway), and mode 2 is kept.
  blocks_.logicOption.lastStageMode = 2;
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks_, channels_), 1);
  EXPECT_EQ(LoadDocumentSettings(read, channels_), 1);
  EXPECT_EQ(read.logicOption.lastStageMode, 2);
}

TEST_F(SettingsTest, ChannelRecordDefaults) {
  LyrChInfo ch;
  ch.name = "C3-A2";
  ch.rate = 200;
  ch.unitsPerCm = 50.0;
  ch.gain = 4.0;
  ch.scaleValue = 10.0;
  ch.filterMode = 1;
  ch.colour = 0xFF;
  ch.startOffset = 12;
  ASSERT_TRUE(ch.GetReadX(16));
  EXPECT_EQ(ch.readCount, 16);
  ch.SetDefault();
  EXPECT_EQ(ch.name, "C3-A2");
  EXPECT_EQ(ch.rate, 200);
  EXPECT_EQ(ch.unitsPerCm, 50.0);
  EXPECT_EQ(ch.gain, 1.0);
  EXPECT_EQ(ch.scaleValue, 50.0);
  EXPECT_EQ(ch.filterMode, 4);
  EXPECT_EQ(ch.colour, 0u);
  EXPECT_EQ(ch.startOffset, 0);
  EXPECT_EQ(ch.readCount, 0);
  EXPECT_TRUE(ch.readX.empty());
  EXPECT_TRUE(ch.GetReadX(0));
  EXPECT_EQ(ch.readCount, 0);
  EXPECT_TRUE(ch.readX.empty());
}

}  // namespace
