// The settings made for the sample night: written only where the program has none, and with
// them screening the night agrees with its true hypnogram.
#include "sample_night/sample_night_fixture.h"

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "platform/ui/command.h"

namespace {

using SampleSettings = SampleNightTest;

TEST_F(SampleSettings, AreWrittenOnlyWhereThereAreNone) {
  const std::string path = ResumeFile::Path();
  folder_->WriteFile(std::filesystem::path(path).filename().string(), "the user's own");
  std::string error;
  ASSERT_TRUE(samples::WriteSampleSettings(samples::Kind::Human, path, &error)) << error;
  std::ifstream in(path);
  std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(kept, "the user's own");

  std::filesystem::remove(path);
  ASSERT_TRUE(samples::WriteSampleSettings(samples::Kind::Human, path, &error)) << error;
  EXPECT_EQ(std::filesystem::file_size(path), ResumeFile::kFileSize);
  EXPECT_FALSE(samples::WriteSampleSettings(samples::Kind::Human, folder_->Path() + "/missing/x.RSM", &error));
  EXPECT_NE(error.find("missing/x.RSM"), std::string::npos) << error;
}

TEST_F(SampleSettings, ScreeningAgreesWithTheTrueHypnogram) {
  ASSERT_TRUE(StartOnNight());
  // What the program took from the settings file.
  EXPECT_EQ(EpochSeconds, 30);
  EXPECT_EQ(PageSeconds, 30);
  const AnalysisParamBlocks& p = Doc().Params;
  EXPECT_EQ(p.stageType.stageType, 0) << "Wake, REM and stages 1 to 4";
  EXPECT_EQ(p.waveForm.eogLeft.channel, 2);
  EXPECT_EQ(p.waveForm.emgChannel, 4);
  EXPECT_EQ(p.sleepDstrb.spo2Channel, 9);
  EXPECT_EQ(Doc().ChInfo[9].name, "SpO2");
  EXPECT_EQ(Doc().ChInfo[9].displayTypeWords[1], 1) << "SpO2 drawn from its band's bottom";
  EXPECT_EQ(Doc().ChInfo[10].displayTypeWords[1], 1) << "position drawn from its band's bottom";

  Screen();
  const std::vector<int>& truth = SampleNight::Shared().stages;
  const int epochs = std::min<int>(Doc().EpochTables.EpochCount(), static_cast<int>(truth.size()));
  ASSERT_EQ(epochs, 240) << "2 h of 30-s epochs";
  int agree = 0;
  for (int e = 0; e < epochs; ++e) {
    int s = Doc().EpochTables.GetStage(0, e, 0);
    if (s >= 20) s -= 20;
    agree += s == truth[static_cast<std::size_t>(e)] ? 1 : 0;
  }
  EXPECT_GE(agree * 100, 95 * epochs) << agree << " of " << epochs << " epochs agree";
}

}  // namespace

namespace {

TEST_F(SampleSettings, TheScreeningWindowOpensInsideASmallScreen) {
  const FixedScreen laptop(1366, 768);
  ASSERT_TRUE(StartOnNight());
  testhooks::ProcessMessages();
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32985));
  ASSERT_NE(Frame().ScreeningDlg, nullptr);
  ui::Dialog& dlg = *Frame().ScreeningDlg;
  const ui::Rect r = dlg.GetWindowRect();
  EXPECT_GE(r.left, 0);
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.right, 1366);
  EXPECT_LE(r.bottom, 768);
  for (const auto& p : testhooks::FindUnfittedControls(dlg))
    ADD_FAILURE() << "control " << p.controlId << " \"" << p.text << "\": " << p.problem;
}

}  // namespace
