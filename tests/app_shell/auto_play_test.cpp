// Auto-play from the command line: the video player library bound beside the program, the
// auto-play list read from AutoPlay.inf, and the entry's recording opened.
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <fstream>

#include "app/video/cvp_info_exchange.h"
#include "app_shell/app_fixture.h"
#include "platform/system/file_io.h"
#include "sample_recording.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

AutoPlayEntry Entry(const std::string& raw, const std::string& result = {}) {
  AutoPlayEntry e;
  e.rawPath = raw;
  e.resultPath = result;
  e.startTime = 60.0;
  e.endTime = 180.0;
  e.comment = "arousal";
  e.splitKind = 2;
  e.splitColumn = 1;
  e.splitRow = 2;
  e.recordingStart = {2024, 3, 5, 12, 22, 30, 15, 250};
  e.recordingOffset = 1.5;
  return e;
}

class AutoPlay : public AppTest {
 protected:
  void InstallPlayer() {
    const char* bin = std::getenv("QLM_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    std::filesystem::copy_file(std::string(bin) + "/" + kVideoPlayerLibraryName,
                               folder_->Path() + "/" + kVideoPlayerLibraryName);
  }
  std::string MakeRecording() {
    samples::Options o;
    o.hours = 0.25;
    o.channels = 3;
    o.rateHz = 64;
    const std::string path = folder_->Path() + "/night.fyd";
    std::string error;
    EXPECT_TRUE(samples::WriteSampleRecording(o, path, &error)) << error;
    return path;
  }
  void WriteList(const std::vector<AutoPlayEntry>& entries) {
    ASSERT_TRUE(sys::WriteFileAtomic(folder_->Path() + "/AutoPlay.inf", EncodeAutoPlayList(entries)));
  }
};

TEST_F(AutoPlay, BoundPlayerOpensTheEntrysRecording) {
  InstallPlayer();
  const std::string raw = MakeRecording();
  WriteList({Entry("/nowhere/first.fyd"), Entry(raw, "/results/night.raf")});
  ASSERT_TRUE(Start({"/AutoPlay", "/2"}));
  EXPECT_TRUE(BoxTexts().empty()) << BoxTexts().front();
  EXPECT_EQ(Doc().GetPathName(), raw);
  EXPECT_EQ(DocumentLoaded, 1u);
  EXPECT_EQ(Frame().VideoLibraryBound, 1);
  EXPECT_EQ(Frame().AutoPlayRunning, 1);
  EXPECT_EQ(Frame().AutoPlayResultPath, "/results/night.raf");
  ASSERT_NE(Frame().VideoController(), nullptr);
  EXPECT_EQ(Frame().VideoController()->ActiveAutoPlayEntry, 1);
}

TEST_F(AutoPlay, MissingListOrEntryTellsThereIsNoInformation) {
  const std::string noInfo = "There is no Auto play information. Cannot run VideoPlayer.";
  InstallPlayer();
  // Bound, but no AutoPlay.inf.
  ASSERT_TRUE(Start({"/AutoPlay", "/1"}));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{noInfo});
  EXPECT_EQ(Frame().VideoLibraryBound, 1);
  EXPECT_EQ(Doc().GetPathName(), "");
  Stop();

  // An entry number beyond the list plays nothing.
  testhooks::Reset();
  WriteList({Entry(MakeRecording())});
  ASSERT_TRUE(Start({"/AutoPlay", "/5"}));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{noInfo});
  EXPECT_EQ(Doc().GetPathName(), "");
  EXPECT_EQ(Frame().AutoPlayRunning, 0);
}

TEST_F(AutoPlay, ListFileLayoutAndVersions) {
  // Version 2: 2 + 2 + 694 bytes per entry, and every field survives.
  const std::vector<AutoPlayEntry> one{Entry("/data/a.fyd", "/data/a.raf")};
  const std::string bytes = EncodeAutoPlayList(one);
  ASSERT_EQ(bytes.size(), 698u);
  std::vector<AutoPlayEntry> back;
  ASSERT_TRUE(DecodeAutoPlayList(bytes, back));
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].rawPath, "/data/a.fyd");
  EXPECT_EQ(back[0].resultPath, "/data/a.raf");
  EXPECT_EQ(back[0].endTime, 180.0);
  EXPECT_EQ(back[0].comment, "arousal");
  EXPECT_EQ(back[0].splitRow, 2);
  EXPECT_EQ(back[0].recordingStart[7], 250);
  EXPECT_EQ(back[0].recordingOffset, 1.5);

  // Version 1 keeps the shown part as fractions (top, bottom, left, right).
  struct Case {
    double f[4];
    std::uint16_t kind, column, row;
  };
  const Case cases[] = {{{0.0, 1.0, 0.0, 1.0}, 0, 0, 0}, {{0.0, 0.5, 0.0, 0.5}, 1, 0, 0},
                        {{0.5, 1.0, 0.0, 0.5}, 1, 0, 1}, {{0.0, 0.5, 0.5, 1.0}, 1, 1, 0},
                        {{0.5, 1.0, 0.5, 1.0}, 1, 1, 1}};
  for (const Case& c : cases) {
    std::string v1(4 + kAutoPlayEntryBytesV1, '\0');
    v1[0] = 1;
    v1[2] = 1;
    std::memcpy(v1.data() + 4 + 664, c.f, sizeof c.f);
    ASSERT_TRUE(DecodeAutoPlayList(v1, back));
    EXPECT_EQ(back[0].splitKind, c.kind);
    EXPECT_EQ(back[0].splitColumn, c.column);
    EXPECT_EQ(back[0].splitRow, c.row);
  }

  // Unknown version, negative count and a short file are unreadable: an empty list.
  std::string bad = bytes;
  bad[0] = 3;
  EXPECT_FALSE(DecodeAutoPlayList(bad, back));
  bad = bytes;
  bad[3] = static_cast<char>(0xFF);
  EXPECT_FALSE(DecodeAutoPlayList(bad, back));
  EXPECT_FALSE(DecodeAutoPlayList(bytes.substr(0, 500), back));
  EXPECT_TRUE(back.empty());
}

TEST_F(AutoPlay, WritingAnEmptyListDeletesTheFile) {
  CVPInfoExchange video;
  video.AutoPlayEntries = {Entry("/data/a.fyd")};
  ASSERT_TRUE(video.WriteAutoPlayFile());
  EXPECT_EQ(ReadAll(CVPInfoExchange::AutoPlayFilePath()).size(), 698u);
  EXPECT_EQ(video.ReadAutoPlayFile(), 1);
  video.AutoPlayEntries.clear();
  ASSERT_TRUE(video.WriteAutoPlayFile());
  EXPECT_FALSE(std::filesystem::exists(CVPInfoExchange::AutoPlayFilePath()));
  EXPECT_EQ(video.ReadAutoPlayFile(), 0);
  EXPECT_TRUE(video.AutoPlayEntries.empty());
}

}  // namespace
