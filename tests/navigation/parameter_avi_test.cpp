#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/frame/parameter_bar.h"
#include "app/trend/lyr_dlg_channel_selection.h"
#include "app/video/avi_film_file.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "tests/navigation/nav_fixture.h"

namespace {

class ParameterSlots : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& doc = Doc();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[0].name = "C3-A2";
    doc.ChInfo[1].name = "O1-A2";
    doc.ChInfo[2].name = "EMG";
    doc.Params.fftBand.channelSwitch = {};
    doc.Params.fftBand.channelSwitch[1] = 1;
    savedCodes_ = ParameterBarCodes;
    savedChannels_ = ParameterBarChannels;
  }
  void TearDown() override {
    ParameterBarCodes = savedCodes_;
    ParameterBarChannels = savedChannels_;
    NavTest::TearDown();
  }
  ui::Control Combo(int slot) {
    return static_cast<ui::DialogBar*>(Frame().ParameterBar)->Item(kParameterBarCombo[slot]);
  }
  decltype(ParameterBarCodes) savedCodes_{};
  decltype(ParameterBarChannels) savedChannels_{};
};

// Picks a row of "Channel Selection" and OK, or cancels.
void AnswerChannel(int row) {
  testhooks::ScriptDialog(LyrDlgChannelSelection::kTemplateId, [row](ui::Dialog& d) {
    if (row < 0) {
      testhooks::ClickControl(d, ui::IDCANCEL);
      return;
    }
    d.Item(LyrDlgChannelSelection::kChannelList).SetCurSel(row);
    testhooks::ClickControl(d, ui::IDOK);
  });
}

}  // namespace

TEST_F(ParameterSlots, ListPositionsAndCodes) {
  CMainFrame& f = Frame();
  const int minPos = f.FindParameterListIndex(26);
  ASSERT_GE(minPos, 0) << "statistics are offered for any recording";
  EXPECT_EQ(f.GetParameterAt(minPos), 26);
  EXPECT_EQ(f.GetParameterAt(-1), 0);
  EXPECT_EQ(f.GetParameterAt(1000), 0);
  EXPECT_EQ(f.FindParameterListIndex(99), -1);
}

TEST_F(ParameterSlots, ChannelIsTakenOrAskedByCode) {
  CMainFrame& f = Frame();
  const int powerPos = f.FindParameterListIndex(14);
  ASSERT_GE(powerPos, 0);
  // One FFT channel: a band code takes it without asking.
  EXPECT_EQ(f.SelectParameter(0, powerPos), 1);
  EXPECT_EQ(ParameterBarCodes[0], 14);
  EXPECT_EQ(ParameterBarChannels[0], 1);

  // Two FFT channels: asked among the FFT channels only (row 1 is channel 2).
  Doc().Params.fftBand.channelSwitch[2] = 1;
  AnswerChannel(1);
  EXPECT_EQ(f.SelectParameter(0, powerPos), 1);
  EXPECT_EQ(ParameterBarChannels[0], 2);

  // Statistics of any channel: all channels listed; Cancel keeps the channel.
  const int maxPos = f.FindParameterListIndex(27);
  AnswerChannel(0);
  EXPECT_EQ(f.SelectParameter(1, maxPos), 1);
  EXPECT_EQ(ParameterBarChannels[1], 0) << "row 0 of every channel is channel 0";
  ParameterBarChannels[1] = 2;
  AnswerChannel(-1);
  EXPECT_EQ(f.SelectParameter(1, maxPos), 0);
  EXPECT_EQ(ParameterBarChannels[1], 2);

  // A code without channel asks nothing.
  EXPECT_EQ(f.SelectParameter(2, f.FindParameterListIndex(0)), 1);
  EXPECT_EQ(ParameterBarCodes[2], 0);
}

TEST_F(ParameterSlots, CombosShowTheChosenChannel) {
  ParameterBarCodes = {32, 26, 0, 0, 0, 0};
  ParameterBarChannels = {2, 0, 0, 0, 0, 0};
  Frame().ReloadParameterCombos();
  const int cv = Frame().FindParameterListIndex(32);
  const int min = Frame().FindParameterListIndex(26);
  EXPECT_EQ(Combo(0).GetCurSel(), cv);
  EXPECT_EQ(Combo(0).GetString(cv), "CV%_ 3:EMG");
  EXPECT_EQ(Combo(1).GetString(min), "Min._ 1:C3-A2");
  EXPECT_EQ(Combo(1).GetString(cv), "CV%") << "other items keep the plain name";
  EXPECT_EQ(Combo(2).GetCurSel(), Frame().FindParameterListIndex(0));

  // Before dropping down, the per-channel items get their plain names back, except
  // while the slot holds a code of 15 to 31.
  ui::Control first = Combo(0);
  Frame().RefreshParameterComboNames(0, first);
  EXPECT_EQ(Combo(0).GetString(cv), "CV%");
  EXPECT_EQ(Combo(0).GetCurSel(), cv);
  ui::Control second = Combo(1);
  Frame().RefreshParameterComboNames(1, second);
  EXPECT_EQ(Combo(1).GetString(min), "Min._ 1:C3-A2");
}

TEST_F(ParameterSlots, WaveValuesAreUnderlinedInTheirColour) {
  Doc().Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  Doc().Params.waveForm.bands[WaveFormRecognitionParam::kDelta].colour = 0x0000FF;
  Frame().EpochWaveRecords[0].wave[kWaveDelta].durationMs = 7500.0f;
  ParameterBarCodes = {1, 26, 0, 0, 0, 0};
  ParameterBarChannels = {0, 0, 0, 0, 0, 0};
  GoTo(0);
  // The arrays hold this page (as the page's drawing leaves them).
  Frame().PageValuesComputed();
  auto* bar = static_cast<ui::DialogBar*>(Frame().ParameterBar);
  EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[0]), " 25.0");
  EXPECT_EQ(Frame().ParameterUnderline[0], 0x0000FF);
  EXPECT_EQ(Frame().ParameterUnderline[1], -1) << "statistics are not underlined";
}

TEST_F(NavTest, FrameKeepsItsSizeWhileTheFilmCaptures) {
  ui::MinMaxInfo info;
  info.maxTrackWidth = 5000;
  Frame().OnGetMinMaxInfo(info);
  EXPECT_EQ(info.maxTrackWidth, 5000) << "no capture: no limits";
  auto* dlg = new LyrDlgMakeAvi(&Frame());
  Frame().MakeAviDlg = dlg;
  Frame().AviRunning = 1;
  Frame().OnGetMinMaxInfo(info);
  const ui::Rect r = Frame().GetWindowRect();
  EXPECT_EQ(info.minTrackWidth, r.Width());
  EXPECT_EQ(info.maxTrackWidth, r.Width());
  EXPECT_EQ(info.maxTrackHeight, r.Height());
  Frame().AviRunning = 0;
  Frame().CloseAviDlg();
  testhooks::ProcessMessages();
}

namespace {

// A film window on a clock of the test's own.
class ScriptedAviDlg : public LyrDlgMakeAvi {
 public:
  using LyrDlgMakeAvi::LyrDlgMakeAvi;
  std::int64_t now = 1000;
  bool captureWorks = true;
  bool writeWorks = true;
  int* writes = nullptr;
  std::int64_t NowMs() const override { return now; }
  int captures = 0;
  bool CaptureFrame() override {
    ++captures;
    return captureWorks;
  }
  bool WriteAviFile() override {
    if (writes != nullptr) ++*writes;
    return writeWorks;
  }
};

}  // namespace

TEST_F(NavTest, AviCaptureEndsByLengthEscapeOrFailure) {
  struct Case {
    const char* how;
    bool captureWorks;
    bool writeWorks;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"length", true, true, {"The maximum time came.", "The AVI file was created."}},
      {"escape", true, false, {"The error occurred in creation of an AVI file."}},
      {"failure", false, true, {"The screen capture went wrong.", "The AVI file was created."}},
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    int writes = 0;
    auto* dlg = new ScriptedAviDlg(&Frame());
    dlg->MaxFilmSeconds = 2;
    dlg->captureWorks = c.captureWorks;
    dlg->writeWorks = c.writeWorks;
    dlg->writes = &writes;
    Frame().MakeAviDlg = dlg;
    Frame().AviRunning = 1;
    Frame().SetTimer(kTimerAviCapture, 40);
    for (int step = 0; step < 100 && Frame().MakeAviDlg != nullptr; ++step) {
      if (std::string(c.how) == "escape" && step == 3)
        Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_ESCAPE, 0, 0);
      Frame().OnTimer(kTimerAviCapture);
      dlg->now += 40;
    }
    EXPECT_EQ(Frame().MakeAviDlg, nullptr) << c.how << ": the window is closed";
    EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviCapture)) << c.how;
    EXPECT_EQ(Frame().AviRunning, 0) << c.how;
    EXPECT_EQ(writes, 1) << c.how << ": the film is written once";
    std::vector<std::string> shown;
    for (const auto& box : testhooks::ShownMessageBoxes()) shown.push_back(box.text);
    EXPECT_EQ(shown, c.messages) << c.how;
    testhooks::ProcessMessages();
  }
}

TEST_F(NavTest, AviSpeedCheckEndsAfterNinetyStepsWithoutMessage) {
  testhooks::Reset();
  auto* dlg = new ScriptedAviDlg(&Frame());
  Frame().MakeAviDlg = dlg;
  Frame().AviRunning = 1;
  Frame().SetTimer(kTimerAviSpeedCheck, 32);
  int ticks = 0;
  while (Frame().AviRunning != 0 && ticks < 200) {
    Frame().OnTimer(kTimerAviSpeedCheck);
    dlg->now += ticks == 10 ? 70 : 32;
    ++ticks;
  }
  // The first tick only starts the clock; the count passes 90 on the 91st step.
  EXPECT_EQ(ticks, 92);
  EXPECT_EQ(dlg->StepCount, 91);
  EXPECT_EQ(dlg->LargestIntervalMs, 70);
  EXPECT_EQ(dlg->ProgressPos, 0) << "the measured rate takes the bar back to 0";
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviSpeedCheck));
  EXPECT_EQ(Frame().MakeAviDlg, dlg) << "the window stays for the film itself";
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  Frame().CloseAviDlg();
  testhooks::ProcessMessages();
}

namespace {

// A film as a reader finds it in the file: the fields of the main header, the stream
// header and format, and the frames of the movie list with the index entries.
struct ReadFilm {
  bool valid = false;
  std::uint32_t microsPerFrame = 0, totalFrames = 0, streams = 0, width = 0, height = 0;
  std::string streamType, handler, streamName;
  std::uint32_t scale = 0, rate = 0, length = 0;
  std::int32_t bmWidth = 0, bmHeight = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 99, imageSize = 0;
  std::vector<std::string> frames;
  std::vector<std::uint32_t> indexOffsets, indexSizes, indexFlags;
};

std::uint32_t U32At(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  if (at + 4 <= b.size()) std::memcpy(&v, b.data() + at, 4);
  return v;
}
std::uint16_t U16At(const std::string& b, std::size_t at) {
  std::uint16_t v = 0;
  if (at + 2 <= b.size()) std::memcpy(&v, b.data() + at, 2);
  return v;
}

ReadFilm ReadAvi(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ReadFilm f;
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "AVI ") != 0) return f;
  if (U32At(b, 4) + 8 != b.size()) return f;
  std::size_t moviTag = 0;
  // Walks the chunks of a range, descending into lists.
  auto walk = [&](auto& self, std::size_t at, std::size_t end) -> void {
    while (at + 8 <= end) {
      const std::string id = b.substr(at, 4);
      const std::uint32_t size = U32At(b, at + 4);
      const std::size_t data = at + 8;
      if (id == "LIST") {
        if (b.compare(data, 4, "movi") == 0) moviTag = data;
        self(self, data + 4, data + size);
      } else if (id == "avih") {
        f.microsPerFrame = U32At(b, data);
        f.totalFrames = U32At(b, data + 16);
        f.streams = U32At(b, data + 24);
        f.width = U32At(b, data + 32);
        f.height = U32At(b, data + 36);
      } else if (id == "strh") {
        f.streamType = b.substr(data, 4);
        f.handler = b.substr(data + 4, 4);
        f.scale = U32At(b, data + 20);
        f.rate = U32At(b, data + 24);
        f.length = U32At(b, data + 32);
      } else if (id == "strf") {
        f.bmWidth = static_cast<std::int32_t>(U32At(b, data + 4));
        f.bmHeight = static_cast<std::int32_t>(U32At(b, data + 8));
        f.bitCount = U16At(b, data + 14);
        f.compression = U32At(b, data + 16);
        f.imageSize = U32At(b, data + 20);
      } else if (id == "strn") {
        f.streamName = std::string(b.c_str() + data);
      } else if (id == "00db") {
        f.frames.push_back(b.substr(data, size));
      } else if (id == "idx1") {
        for (std::size_t e = data; e + 16 <= data + size; e += 16) {
          f.indexFlags.push_back(U32At(b, e + 4));
          f.indexOffsets.push_back(U32At(b, e + 8));
          f.indexSizes.push_back(U32At(b, e + 12));
        }
      }
      at = data + size + (size & 1u);
    }
  };
  walk(walk, 12, b.size());
  // Every index entry must point at its frame's chunk.
  for (std::size_t i = 0; i < f.indexOffsets.size(); ++i)
    if (b.compare(moviTag + f.indexOffsets[i], 4, "00db") != 0) return f;
  f.valid = true;
  return f;
}

// A film window on a clock of the test's own that grabs the real frame.
class TimedAviDlg : public LyrDlgMakeAvi {
 public:
  using LyrDlgMakeAvi::LyrDlgMakeAvi;
  std::int64_t now = 5000;
  std::int64_t NowMs() const override { return now; }
  // Size of the window as the grabs found it.
  ui::Rect* grabbed = nullptr;
  bool CaptureFrame() override {
    const bool ok = LyrDlgMakeAvi::CaptureFrame();
    if (grabbed != nullptr) *grabbed = ui::Rect{0, 0, FrameWidth, FrameHeight};
    return ok;
  }
};

}  // namespace

TEST_F(NavTest, CapturedFramesBecomeAnUncompressedFilmAtTheMeasuredRate) {
  testhooks::Reset();
  auto* dlg = new TimedAviDlg(&Frame());
  ui::Rect client;
  dlg->grabbed = &client;
  dlg->AviFilePath = folder_->Path() + "/night.avi";
  dlg->FrameRate = 20;
  Frame().MakeAviDlg = dlg;
  Frame().AviRunning = 1;
  Frame().SetTimer(kTimerAviCapture, 1000 / 21);
  // Five grabs 125 ms apart: the first starts the clock, four steps span 500 ms.
  for (int tick = 0; tick < 5; ++tick) {
    if (tick == 4) Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_ESCAPE, 0, 0);
    Frame().OnTimer(kTimerAviCapture);
    dlg->now += 125;
  }
  EXPECT_EQ(Frame().MakeAviDlg, nullptr);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The AVI file was created."}));
  testhooks::ProcessMessages();

  const ReadFilm film = ReadAvi(folder_->Path() + "/night.avi");
  ASSERT_TRUE(film.valid);
  ASSERT_GT(client.Width(), 0) << "the main window was grabbed";
  const std::uint32_t row = static_cast<std::uint32_t>(client.Width()) * 4;
  EXPECT_EQ(film.totalFrames, 5u);
  EXPECT_EQ(film.length, 5u);
  EXPECT_EQ(film.frames.size(), 5u);
  EXPECT_EQ(film.streams, 1u);
  EXPECT_EQ(film.width, static_cast<std::uint32_t>(client.Width()));
  EXPECT_EQ(film.height, static_cast<std::uint32_t>(client.Height()));
  EXPECT_EQ(film.streamType, "vids");
  EXPECT_EQ(film.handler, "DIB ");
  EXPECT_EQ(film.streamName, "Video #1");
  EXPECT_EQ(film.scale, 1u);
  EXPECT_EQ(film.rate, 8u) << "4 steps in 500 ms, not the chosen 20";
  EXPECT_EQ(film.microsPerFrame, 125000u);
  EXPECT_EQ(film.bmWidth, client.Width());
  EXPECT_EQ(film.bmHeight, client.Height()) << "bottom-up rows";
  EXPECT_EQ(film.bitCount, 32);
  EXPECT_EQ(film.compression, 0u);
  EXPECT_EQ(film.imageSize, row * static_cast<std::uint32_t>(client.Height()));
  ASSERT_EQ(film.indexSizes.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(film.frames[i].size(), film.imageSize);
    EXPECT_EQ(film.indexSizes[i], film.imageSize);
    EXPECT_EQ(film.indexFlags[i], 0x10u) << "every frame is a key frame";
  }
}

TEST(AviFilmFile, RefusesFilmsItCannotWriteAndLeavesNoFile) {
  testhooks::TempProgramFolder folder;
  AviFilmFrames good;
  good.width = 3;
  good.height = 2;
  good.bitsPerPixel = 24;
  good.framesPerSecond = 15;
  EXPECT_EQ(AviFrameImageSize(3, 2, 24), 24u) << "rows of 9 bytes padded to 12";
  good.frames.assign(2, std::vector<std::uint8_t>(AviFrameImageSize(3, 2, 24), 0x40));
  const std::string path = folder.Path() + "/film.avi";
  ASSERT_TRUE(WriteDibAviFile(path, good));
  const ReadFilm read = ReadAvi(path);
  ASSERT_TRUE(read.valid);
  EXPECT_EQ(read.rate, 15u);
  EXPECT_EQ(read.frames, (std::vector<std::string>(2, std::string(12 * 2, '\x40'))));

  struct Case {
    const char* what;
    AviFilmFrames film;
  };
  std::vector<Case> cases;
  cases.push_back({"no frame", good});
  cases.back().film.frames.clear();
  cases.push_back({"a frame of another size", good});
  cases.back().film.frames[1].pop_back();
  cases.push_back({"no rate", good});
  cases.back().film.framesPerSecond = 0;
  cases.push_back({"8 bits without a colour table", good});
  cases.back().film.bitsPerPixel = 8;
  for (const Case& c : cases) {
    const std::string target = folder.Path() + "/refused.avi";
    EXPECT_FALSE(WriteDibAviFile(target, c.film)) << c.what;
    EXPECT_FALSE(std::filesystem::exists(target)) << c.what;
  }
  EXPECT_FALSE(WriteDibAviFile(folder.Path() + "/no/such/folder/film.avi", good));
}
