#include <filesystem>

#include "app/frame/window_command_states.h"
#include "app/video/avi_film_file.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "film_reader.h"
#include "platform/ui/command.h"
#include "platform/ui/window_image.h"
#include "tests/navigation/nav_fixture.h"

namespace {

using Dlg = LyrDlgMakeAvi;

// The film window on a clock of the test's own; it keeps a copy of every grabbed frame, or
// only counts the grabs when `counting`.
class ClockedAviDlg : public LyrDlgMakeAvi {
 public:
  using LyrDlgMakeAvi::LyrDlgMakeAvi;
  std::int64_t now = 10000;
  bool counting = false;
  int grabs = 0;
  std::vector<std::vector<std::uint8_t>> grabbed;
  std::int64_t NowMs() const override { return now; }
  bool CaptureFrame() override {
    ++grabs;
    if (counting) {
      Frames.emplace_back(4, 0);
      return true;
    }
    const bool ok = LyrDlgMakeAvi::CaptureFrame();
    if (ok) grabbed.push_back(Frames.back());
    return ok;
  }
};

class MakeAvi : public NavTest {
 protected:
  // The window as the main frame opens it for "&AVI Output...".
  Dlg* OpenFromMenu() {
    EXPECT_TRUE(ui::ExecuteCommand(Frame(), ID_AVI_OUTPUT));
    return Frame().MakeAviDlg;
  }
  // A window on the test's clock, shown and held by the frame as its own.
  ClockedAviDlg* OpenClocked() {
    auto* dlg = new ClockedAviDlg(&Frame());
    dlg->SetCloseCallback([this](int) { Frame().CloseAviDlg(); });
    Frame().MakeAviDlg = dlg;
    EXPECT_TRUE(dlg->CreateModeless(&Frame()));
    return dlg;
  }
  void SelectRate(Dlg& dlg, int index) {
    dlg.Item(Dlg::kRateCombo).SetCurSel(index);
    dlg.SendMessage(ui::WM_COMMAND, ui::MakeLong(Dlg::kRateCombo, ui::CBN_SELCHANGE), 0);
  }
  // Answers the next compressor choice: Motion-JPEG at the quality, full frames (quality 0),
  // or Cancel (quality -1); `before` runs first.
  static void AnswerCompressor(int quality, std::function<void()> before = {}) {
    testhooks::ScriptDialog(IDD_AVI_COMPRESSOR, [quality, before](ui::Dialog& d) {
      if (before) before();
      if (quality < 0) {
        testhooks::ClickControl(d, ui::IDCANCEL);
        return;
      }
      testhooks::ClickControl(d, quality > 0 ? LyrDlgAviCompressor::kMotionJpeg : LyrDlgAviCompressor::kFullFrames);
      if (quality > 0) d.SetDlgItemText(LyrDlgAviCompressor::kQuality, std::to_string(quality));
      testhooks::ClickControl(d, ui::IDOK);
    });
  }
  void TearDown() override {
    Frame().AviRunning = 0;
    Frame().KillTimer(kTimerAviCapture);
    Frame().KillTimer(kTimerAviSpeedCheck);
    if (Frame().MakeAviDlg != nullptr) Frame().CloseAviDlg();
    testhooks::ProcessMessages();
    NavTest::TearDown();
  }
};

}  // namespace

TEST(MakeAviRules, TimerPeriodsRatesAndLongestFilm) {
  EXPECT_EQ(Dlg::CapturePeriodMs(30), 32u);
  EXPECT_EQ(Dlg::CapturePeriodMs(5), 166u);
  EXPECT_EQ(Dlg::CapturePeriodMs(10), 90u);

  // Longest interval of the speed check -> the rate shown.
  const std::pair<std::int64_t, int> shown[] = {{70, 10}, {20, 30}, {300, 5}, {0, 30},  {100, 10},
                                                {101, 5}, {66, 15}, {50, 20}, {5000, 5}, {-3, 30}};
  for (const auto& [interval, rate] : shown) EXPECT_EQ(Dlg::RateForLongestInterval(interval), rate) << interval;

  // 80% of the memory over the frame size and the rate, in whole seconds; nothing to divide by: 0.
  EXPECT_EQ(Dlg::MaxCaptureSeconds(1000000000, 6400000, 10), 12);
  EXPECT_EQ(Dlg::MaxCaptureSeconds(1000000000, 6400000, 30), 4);
  EXPECT_EQ(Dlg::MaxCaptureSeconds(1000000000, 0, 10), 0);
  EXPECT_EQ(Dlg::MaxCaptureSeconds(1000000000, 6400000, 0), 0);
}

TEST(MakeAviRules, FilmRateIsTheMeasuredOne) {
  Dlg dlg;
  dlg.FrameRate = 20;
  dlg.StepCount = 100;
  dlg.AccumulatedMs = 9900;
  EXPECT_EQ(dlg.FilmRate(), 10u) << "100 steps in 9,900 ms";
  dlg.StepCount = 1;
  dlg.AccumulatedMs = 3000;
  EXPECT_EQ(dlg.FilmRate(), 1u) << "at least 1";
  dlg.StepCount = 0;
  dlg.AccumulatedMs = 0;
  EXPECT_EQ(dlg.FilmRate(), 20u) << "stopped on the first step: the chosen rate";
  dlg.StepCount = 3;
  EXPECT_EQ(dlg.FilmRate(), 20u) << "steps at one instant divide by nothing";
}

TEST_F(MakeAvi, OpensWithTheRatesAndTheLongestFilm) {
  for (res::Language lang : {res::Language::English, res::Language::Japanese}) {
    res::SetLanguage(lang);
    Dlg* dlg = OpenFromMenu();
    ASSERT_NE(dlg, nullptr);
    ui::Control combo = dlg->Item(Dlg::kRateCombo);
    ASSERT_EQ(combo.GetCount(), 5);
    EXPECT_EQ(combo.GetString(0), " 5");
    EXPECT_EQ(combo.GetString(4), "30");
    EXPECT_EQ(combo.GetCurSel(), 1) << "10 fps at first";
    EXPECT_EQ(dlg->FrameRate, 10);
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kMaxTime), std::to_string(dlg->MaxCaptureTime(10)) + "sec");
    EXPECT_EQ(dlg->MaxFilmSeconds, dlg->MaxCaptureTime(10));
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kMaxFps), "");
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kStatus), "");
    EXPECT_EQ(dlg->Item(Dlg::kProgress).GetRangeHigh(), 100);
    for (const auto& p : testhooks::FindUnfittedControls(*dlg))
      ADD_FAILURE() << "control " << p.controlId << " '" << p.text << "': " << p.problem;

    SelectRate(*dlg, 4);
    EXPECT_EQ(dlg->FrameRate, 30);
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kMaxTime), std::to_string(dlg->MaxCaptureTime(30)) + "sec");
    EXPECT_GE(dlg->MaxCaptureTime(10), dlg->MaxCaptureTime(30));

    // Full frames: no longer than one file holds (at 4 bytes a pixel of the client area).
    const ui::Rect client = Frame().GetClientRect();
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(client.Width()) * client.Height() * 4;
    EXPECT_LE(static_cast<std::uint64_t>(dlg->MaxCaptureTime(5)) * 6 * (frameBytes + 24), 0xFFFFFFFFull);

    dlg->ClickButton(ui::IDCANCEL);
    EXPECT_EQ(Frame().MakeAviDlg, nullptr) << "Close ends the window";
    testhooks::ProcessMessages();
  }
}

TEST_F(MakeAvi, StartWithoutAFileAsksForOneAndStartsNothing) {
  Dlg* dlg = OpenFromMenu();
  ASSERT_NE(dlg, nullptr);
  const std::string path = folder_->Path() + "/night.avi";
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  dlg->ClickButton(ui::IDOK);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The file is not selected."}));
  EXPECT_EQ(testhooks::Beeps().size(), 1u);
  EXPECT_EQ(dlg->AviFilePath, path);
  EXPECT_EQ(dlg->GetDlgItemText(Dlg::kPathText), path);
  EXPECT_TRUE(testhooks::ShownDialogs().empty()) << "no compressor asked";
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviCapture));
  EXPECT_EQ(Frame().AviRunning, 0);
}

TEST_F(MakeAvi, AnUnusableCompressorIsRefusedAndAskedAgain) {
  Dlg* dlg = OpenFromMenu();
  ASSERT_NE(dlg, nullptr);
  const std::string folder = folder_->Path() + "/films";
  dlg->AviFilePath = folder + "/night.avi";
  SelectRate(*dlg, 4);
  // The film's folder is missing: no compressor can write there. Cancel the second choice.
  AnswerCompressor(60);
  AnswerCompressor(-1);
  dlg->ClickButton(ui::IDOK);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Selected CODEC cannot be used."}));
  EXPECT_EQ(testhooks::ShownDialogs(), (std::vector<int>{IDD_AVI_COMPRESSOR, IDD_AVI_COMPRESSOR}));
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviCapture)) << "cancelled: nothing starts";
  EXPECT_TRUE(dlg->IsWindowVisible());

  // Refused first, then usable once the folder is there: capture starts at 30 fps.
  testhooks::Reset();
  AnswerCompressor(0);
  AnswerCompressor(60, [folder] { std::filesystem::create_directory(folder); });
  dlg->ClickButton(ui::IDOK);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Selected CODEC cannot be used."}));
  EXPECT_EQ(dlg->Compressor.kind, AviCompressorChoice::Kind::MotionJpeg);
  EXPECT_EQ(dlg->Compressor.quality, 60);
  ASSERT_TRUE(Frame().IsTimerArmed(kTimerAviCapture));
  EXPECT_EQ(Frame().TimerPeriod(kTimerAviCapture), 32);
  EXPECT_EQ(Frame().AviRunning, 1);
  EXPECT_EQ(dlg->m_Capturing, 1u);
  EXPECT_FALSE(dlg->IsWindowVisible()) << "the window stays out of the film";
  EXPECT_TRUE(std::filesystem::is_empty(folder)) << "the test of the compressor leaves no file";
}

TEST_F(MakeAvi, SpeedCheckShowsTheRateOfTheLongestInterval) {
  const std::pair<std::int64_t, std::string> cases[] = {{70, "10fps"}, {20, "30fps"}, {300, "5fps"}, {0, "30fps"}};
  for (const auto& [interval, text] : cases) {
    ClockedAviDlg* dlg = OpenClocked();
    dlg->counting = true;
    ASSERT_TRUE(dlg->ClickButton(Dlg::kCheck));
    ASSERT_TRUE(Frame().IsTimerArmed(kTimerAviSpeedCheck));
    EXPECT_EQ(Frame().TimerPeriod(kTimerAviSpeedCheck), 32);
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kStatus), "Please Wait.");
    int ticks = 0;
    while (Frame().IsTimerArmed(kTimerAviSpeedCheck) && ticks < 200) {
      Frame().OnTimer(kTimerAviSpeedCheck);
      dlg->now += ticks == 40 ? interval : std::min<std::int64_t>(interval, 20);
      ++ticks;
    }
    EXPECT_EQ(ticks, 92) << interval;
    EXPECT_EQ(dlg->grabs, 92);
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kMaxFps), text) << interval;
    EXPECT_EQ(dlg->GetDlgItemText(Dlg::kStatus), "");
    EXPECT_EQ(dlg->Item(Dlg::kProgress).GetPos(), 0);
    EXPECT_TRUE(dlg->Frames.empty()) << "the check's frames are freed";
    EXPECT_EQ(dlg->m_Capturing, 0u);
    EXPECT_EQ(Frame().AviRunning, 0);
    EXPECT_TRUE(BoxTexts().empty());
    Frame().CloseAviDlg();
    testhooks::ProcessMessages();
  }
}

TEST_F(MakeAvi, EscapeInTheWindowEndsTheSpeedCheckNotTheWindow) {
  ClockedAviDlg* dlg = OpenClocked();
  dlg->counting = true;
  ASSERT_TRUE(dlg->ClickButton(Dlg::kCheck));
  Frame().OnTimer(kTimerAviSpeedCheck);
  dlg->now += 50;
  Frame().OnTimer(kTimerAviSpeedCheck);
  dlg->SendMessage(ui::WM_CLOSE);  // Esc and the close box come as Cancel
  EXPECT_EQ(Frame().MakeAviDlg, dlg) << "the window waits for the check to end";
  dlg->now += 50;
  Frame().OnTimer(kTimerAviSpeedCheck);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviSpeedCheck));
  EXPECT_EQ(dlg->GetDlgItemText(Dlg::kMaxFps), "20fps");
  EXPECT_EQ(dlg->m_Capturing, 0u);
  dlg->SendMessage(ui::WM_CLOSE);
  EXPECT_EQ(Frame().MakeAviDlg, nullptr);
}

TEST_F(MakeAvi, FramesAreTheClientAreaOfTheMainWindow) {
  ClockedAviDlg* dlg = OpenClocked();
  ASSERT_TRUE(dlg->CaptureFrame());
  const ui::Rect client = Frame().GetClientRect();
  EXPECT_EQ(dlg->FrameWidth, client.Width());
  EXPECT_EQ(dlg->FrameHeight, client.Height());
  EXPECT_EQ(dlg->FrameBitsPerPixel, 32);
  const draw::Image shown = ui::RenderWindowImage(Frame());
  ASSERT_EQ(dlg->Frames.size(), 1u);
  EXPECT_TRUE(dlg->Frames[0] == shown.ToDibBits(false)) << "the whole client area, bottom strip included";
}

TEST_F(MakeAvi, AMotionJpegCaptureIsWrittenAtTheMeasuredRate) {
  ClockedAviDlg* dlg = OpenClocked();
  const std::string path = folder_->Path() + "/night.avi";
  dlg->AviFilePath = path;
  SelectRate(*dlg, 2);
  AnswerCompressor(90);
  ASSERT_TRUE(dlg->ClickButton(ui::IDOK));
  ASSERT_TRUE(Frame().IsTimerArmed(kTimerAviCapture));
  EXPECT_EQ(Frame().TimerPeriod(kTimerAviCapture), 62) << "15 fps: 1000 / 16";
  // Six grabs 125 ms apart, pages changing between them; Esc before the last.
  for (int tick = 0; tick < 6; ++tick) {
    GoTo(tick * kPerPage % kEpochs);
    Frame().RedrawRawFrames(-1);
    if (tick == 5) Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_ESCAPE, 0, 0);
    Frame().OnTimer(kTimerAviCapture);
    dlg->now += 125;
  }
  ASSERT_EQ(Frame().MakeAviDlg, nullptr);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The AVI file was created."}));
  const std::vector<std::vector<std::uint8_t>> grabbed = dlg->grabbed;  // still alive until messages run
  const int width = dlg->FrameWidth, height = dlg->FrameHeight;
  testhooks::ProcessMessages();

  const FilmLayout layout = ReadFilmLayout(path);
  ASSERT_TRUE(layout.valid);
  EXPECT_EQ(layout.handler, "MJPG");
  EXPECT_EQ(layout.chunkIds, (std::vector<std::string>(6, "00dc")));
  EXPECT_EQ(layout.rate, 8u) << "5 steps in 625 ms";
  const DecodedFilm film = DecodeFilm(path);
  ASSERT_TRUE(film.opened);
  EXPECT_EQ(film.width, width);
  EXPECT_EQ(film.height, height);
  EXPECT_DOUBLE_EQ(film.framesPerSecond, 8.0);
  ASSERT_EQ(film.frames.size(), 6u);
  ASSERT_EQ(grabbed.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    const double diff = MeanDifference(film.frames[i], grabbed[i], width, height);
    EXPECT_GE(diff, 0.0);
    EXPECT_LT(diff, 4.0) << "frame " << i;
  }
}
