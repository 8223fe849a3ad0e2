// "&Raw data Output..." and "Ca&libration..." through the main frame: when they are offered,
// the dialog's checks by control id, and a cut that opens like the original with its stages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/frame/window_command_states.h"
#include "app/frame/lyr_dlg_calibration.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_raw_data_output.h"
#include "app_shell/app_fixture.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/ui/command.h"
#include "platform/ui/dialog.h"
#include "sample_recording.h"

namespace {

constexpr std::uint32_t kResultOpen = 33009;
constexpr std::uint32_t kFileClose = 57600;

class RawDataOutputCommand : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    EpochSeconds = 30;
    PageSeconds = 30;
    night_ = folder_->Path() + "/night.fyd";
    samples::Options o;
    o.hours = 0.05;  // 6 epochs
    o.channels = 3;
    o.rateHz = 64;
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, night_, &error)) << error;
    ASSERT_NE(app_->OpenDocumentFile(night_), nullptr);
    Doc().Params.stageType.stageType = 0;
    testhooks::Reset();
  }
  void TearDown() override {
    if (app_ && DocumentLoaded != 0) {
      sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
      Doc().OnNewDocument();
      sys::ClearKeyStateForTesting();
    }
    AppTest::TearDown();
  }
  std::vector<int> Stages() {
    std::vector<int> s;
    for (int e = 0; e < Doc().EpochTables.EpochCount(); ++e) s.push_back(Doc().EpochTables.GetStage(0, e, 0));
    return s;
  }
  // Physical samples of channel c from sample first, n of them, as the reader gives them.
  static std::vector<float> Samples(const std::string& path, int channels, int c, std::uint32_t first, std::uint32_t n) {
    FynFileAccessRaw raw(path.c_str());
    EXPECT_EQ(raw.InitParams(), 0);
    std::vector<float> all(static_cast<std::size_t>(channels) * n);
    EXPECT_EQ(raw.GetRawDataFloatAll(first, first + n - 1, all.data(), nullptr), 0);
    return {all.begin() + static_cast<std::ptrdiff_t>(c) * n, all.begin() + static_cast<std::ptrdiff_t>(c + 1) * n};
  }
  // Runs the command with a dialog script.
  void Run(std::function<void(LyrDlgRawDataOutput&)> script) {
    testhooks::ScriptDialog(LyrDlgRawDataOutput::kTemplateId, [script](ui::Dialog& d) {
      script(dynamic_cast<LyrDlgRawDataOutput&>(d));
    });
    ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_RAW_DATA_OUTPUT));
  }
  std::string night_;
};

TEST_F(RawDataOutputCommand, OfferedAsTheRulesSay) {
  EXPECT_TRUE(ui::QueryCommandState(Frame(), ID_RAW_DATA_OUTPUT).IsEnabled());
  EXPECT_TRUE(ui::QueryCommandState(Frame(), ID_CALIBRATION).IsEnabled());
  FrameWindowState s;
  s.loaded = true;
  for (std::uint32_t id : {ID_RAW_DATA_OUTPUT, ID_CALIBRATION, ID_RAW_TEXT_OUTPUT, ID_PRINT_RAW})
    EXPECT_TRUE(WindowCommandState(id, s)->enabled) << id;
  // Which state closes which command (1 closed, 0 open).
  struct Row {
    bool FrameWindowState::*flag;
    bool value;
    int raw, cal, text, print;
  };
  const Row rows[] = {
      {&FrameWindowState::loaded, false, 1, 1, 1, 1},
      {&FrameWindowState::screeningRunning, true, 1, 1, 1, 1},
      {&FrameWindowState::screeningOpen, true, 0, 1, 0, 0},
      {&FrameWindowState::reportOpen, true, 1, 1, 1, 1},
      {&FrameWindowState::multiScreeningOpen, true, 1, 1, 1, 1},
      {&FrameWindowState::analysisFile, true, 1, 1, 0, 0},
      {&FrameWindowState::oneRate, false, 1, 0, 0, 0},
  };
  for (const Row& r : rows) {
    FrameWindowState t = s;
    t.*r.flag = r.value;
    EXPECT_EQ(!WindowCommandState(ID_RAW_DATA_OUTPUT, t)->enabled, r.raw != 0);
    EXPECT_EQ(!WindowCommandState(ID_CALIBRATION, t)->enabled, r.cal != 0);
    EXPECT_EQ(!WindowCommandState(ID_RAW_TEXT_OUTPUT, t)->enabled, r.text != 0);
    EXPECT_EQ(!WindowCommandState(ID_PRINT_RAW, t)->enabled, r.print != 0);
  }
  // Channels of two rates close the raw output in the real window.
  Doc().ChInfo[1].rate = 32;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), ID_RAW_DATA_OUTPUT).IsEnabled());
  Doc().ChInfo[1].rate = 64;
}

TEST_F(RawDataOutputCommand, DialogAsksForWhatIsMissing) {
  const std::string out = folder_->Path() + "/cut.fyd";
  std::ofstream(folder_->Path() + "/cut.RAF") << "old result";
  Run([&](LyrDlgRawDataOutput& d) {
    // Initial state: range 0..N-1, video box hidden, nothing chosen.
    EXPECT_EQ(d.StartPanel()->GetEpoch(), 0);
    EXPECT_EQ(d.EndPanel()->GetEpoch(), 5);
    EXPECT_FALSE(d.Item(LyrDlgRawDataOutput::kVideoCheck).IsVisible());
    EXPECT_EQ(d.Item(LyrDlgRawDataOutput::kChannelList).GetCount(), 3);
    // No path: told, then the path dialog (cancelled here).
    testhooks::AnswerFileDialog(ui::IDCANCEL);
    testhooks::ClickControl(d, ui::IDOK);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "The file is not selected.");
    // The open recording is refused as the target.
    testhooks::AnswerFileDialog(ui::IDOK, {night_});
    testhooks::ClickControl(d, LyrDlgRawDataOutput::kPath);
    EXPECT_TRUE(d.m_Path.empty());
    testhooks::AnswerFileDialog(ui::IDOK, {out});
    testhooks::ClickControl(d, LyrDlgRawDataOutput::kPath);
    EXPECT_EQ(d.GetDlgItemText(LyrDlgRawDataOutput::kPathText), out);
    // No channel.
    testhooks::ClickControl(d, ui::IDOK);
    EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, "The channel is not selected.");
    d.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(2, true);
    // An existing result file: No (the default) opens the path dialog again.
    d.CheckDlgButton(LyrDlgRawDataOutput::kResultCheck, 1);
    testhooks::AnswerMessageBox(ui::IDNO);
    testhooks::AnswerFileDialog(ui::IDCANCEL);
    testhooks::ClickControl(d, ui::IDOK);
    const testhooks::ShownBox& box = testhooks::ShownMessageBoxes().back();
    EXPECT_EQ(box.text, "The same result file name already exists. Do you want to replace it?");
    EXPECT_NE(box.type & ui::MB_DEFBUTTON2, 0u);
    // Start after end is swapped; then Close.
    d.StartPanel()->SetEpoch(4);
    d.EndPanel()->SetEpoch(1);
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(testhooks::ShownMessageBoxes()[1].text, "This file is the recording that is open.\nChoose another file.");
}

TEST_F(RawDataOutputCommand, CutOpensLikeTheOriginalWithItsStages) {
  for (std::uint32_t key : {0u, 5u, 1u, 2u, 3u, 4u}) testhooks::SendToolkitKey(Frame(), ui::VK_NUMPAD0 + key);
  const std::vector<int> scored = Stages();
  ASSERT_EQ(scored, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  const std::string subject = Doc().RecordInfo.subjectName;
  const std::string third = Doc().ChInfo[2].name;
  const std::string out = folder_->Path() + "/cut.fyd";
  testhooks::AnswerFileDialog(ui::IDOK, {out});
  Run([](LyrDlgRawDataOutput& d) {
    testhooks::ClickControl(d, LyrDlgRawDataOutput::kPath);
    d.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(0, true);
    d.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(2, true);
    d.CheckDlgButton(LyrDlgRawDataOutput::kResultCheck, 1);
    d.StartPanel()->SetEpoch(4);
    d.EndPanel()->SetEpoch(1);
    testhooks::ClickControl(d, ui::IDOK);
  });
  ASSERT_TRUE(std::filesystem::exists(out));
  const std::string raf = folder_->Path() + "/cut.RAF";
  ASSERT_TRUE(std::filesystem::exists(raf));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  constexpr std::uint32_t kPerEpoch = 30 * 64;
  std::vector<std::vector<float>> expected;
  for (int c : {0, 2}) expected.push_back(Samples(night_, 3, c, kPerEpoch * 1, kPerEpoch * 4));

  testhooks::Reset();
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kFileClose));
  ASSERT_NE(app_->OpenDocumentFile(out), nullptr);
  EXPECT_EQ(Doc().RecordInfo.channelCount, 2);
  EXPECT_EQ(Doc().ChInfo[1].name, third);
  EXPECT_EQ(Doc().ChInfo[0].dataCount, kPerEpoch * 4);
  EXPECT_EQ(Doc().RecordInfo.subjectName, subject);
  EXPECT_EQ(Doc().EpochTables.EpochCount(), 4);
  for (int k = 0; k < 2; ++k) EXPECT_EQ(Samples(out, 2, k, 0, kPerEpoch * 4), expected[static_cast<std::size_t>(k)]);

  // The result file beside it opens without the "different data" question, epochs 1..4 from 0.
  testhooks::AnswerFileDialog(ui::IDOK, {raf});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kResultOpen));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(Stages(), (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(RawDataOutputCommand, CalibrationRebuildsOnlyAfterOk) {
  for (std::uint32_t key : {2u, 3u}) testhooks::SendToolkitKey(Frame(), ui::VK_NUMPAD0 + key);
  const int reloads = Doc().PageReads.fullReloads;
  testhooks::ScriptDialog(IDD_CALIBRATION, [](ui::Dialog& d) { testhooks::ClickControl(d, ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_CALIBRATION));
  EXPECT_EQ(Doc().PageReads.fullReloads, reloads);

  const double before = Doc().ChInfo[0].calibration.topValue;
  testhooks::ScriptDialog(IDD_CALIBRATION, [](ui::Dialog& d) {
    // Empty fields keep their values (the shown volts are rounded to mV).
    d.SetDlgItemText(IDC_CAL_UPPER_VOLTS, "");
    d.SetDlgItemText(IDC_CAL_LOWER_VOLTS, "");
    d.SetDlgItemText(IDC_CAL_UPPER_VALUE, "123");
    testhooks::ClickControl(d, ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_CALIBRATION));
  EXPECT_NE(Doc().ChInfo[0].calibration.topValue, before);
  for (const auto& b : testhooks::ShownMessageBoxes()) ADD_FAILURE() << b.text;
  EXPECT_EQ(Doc().PageReads.fullReloads, reloads + 1);
  // The tables are made anew with the stages kept.
  EXPECT_EQ(Stages()[0], 4);
  EXPECT_EQ(Stages()[1], 5);
}

}  // namespace
