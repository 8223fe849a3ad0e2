// "Raw data Text Output..." from the main frame's menu: when it is offered, and the dialog's
// choices reaching the written file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/frame/window_command_states.h"
#include "app/raw/lyr_raw_dlg_text_output.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/command.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "tests/navigation/nav_fixture.h"
#include "tests/page_buffers/page_fixture.h"

namespace {

class RawTextCommand : public NavTest {
 protected:
  void TearDown() override {
    ScreeningRunning = 0;
    NavTest::TearDown();
  }
};

TEST_F(RawTextCommand, OfferedWhileARecordingIsLoadedAndNoRunGoes) {
  CMainFrame& f = Frame();
  EXPECT_GE(f.GetMenu()->GetSubMenu(0)->FindPosition(ID_RAW_TEXT_OUTPUT), 0);
  EXPECT_TRUE(ui::QueryCommandState(f, ID_RAW_TEXT_OUTPUT).IsEnabled());
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(f, ID_RAW_TEXT_OUTPUT).IsEnabled());
  ScreeningRunning = 0;
  DocumentLoaded = 0;
  EXPECT_FALSE(ui::QueryCommandState(f, ID_RAW_TEXT_OUTPUT).IsEnabled());
  DocumentLoaded = 1;

  FrameWindowState s;
  s.loaded = true;
  EXPECT_TRUE(WindowCommandState(ID_RAW_TEXT_OUTPUT, s)->enabled);
  for (bool FrameWindowState::*flag : {&FrameWindowState::screeningRunning, &FrameWindowState::reportOpen,
                                       &FrameWindowState::multiScreeningOpen}) {
    FrameWindowState t = s;
    t.*flag = true;
    EXPECT_FALSE(WindowCommandState(ID_RAW_TEXT_OUTPUT, t)->enabled);
  }
  FrameWindowState screeningWindow = s;
  screeningWindow.screeningOpen = true;  // only the run matters, not the window
  EXPECT_TRUE(WindowCommandState(ID_RAW_TEXT_OUTPUT, screeningWindow)->enabled);
}

TEST_F(RawTextCommand, MenuCommandWritesTheChosenTable) {
  Load(2, 2, 3);
  pagefix::Recording rec;
  rec.channels = 2;
  rec.rate = 10;
  rec.samples = 60;
  rec.sample = [](int c, long long i) { return c == 0 ? static_cast<double>(i) : -1.0; };
  const std::string dir = ::testing::TempDir();
  const std::string source = dir + "raw_text_cmd.fyd";
  const std::string out = dir + "raw_text_cmd.txt";
  ASSERT_TRUE(pagefix::WriteOwnRaw(source, rec));
  pagefix::Attach(Doc(), source, 0, rec);
  Doc().ChInfo[0].unit = "uV";
  Doc().ChInfo[1].unit = "mV";
  const std::int32_t savedLimit = OutputMaxLines;
  const std::uint16_t savedTab = OutputDelimiterIsTab;
  OutputMaxLines = -100;
  OutputDelimiterIsTab = 1;

  // Closed: nothing is written.
  testhooks::ScriptDialog(LyrRawDlgTextOutput::kTemplateId,
                          [](ui::Dialog& d) { testhooks::ClickControl(d, ui::IDCANCEL); });
  Frame().OnCmdMsg(ID_RAW_TEXT_OUTPUT, ui::CmdMode::Execute, nullptr);
  EXPECT_FALSE(std::filesystem::exists(out));

  testhooks::AnswerFileDialog(ui::IDOK, {out});
  testhooks::ScriptDialog(LyrRawDlgTextOutput::kTemplateId, [](ui::Dialog& d) {
    testhooks::ClickControl(d, LyrRawDlgTextOutput::kPath);
    testhooks::ClickControl(d, ui::IDOK);
  });
  Frame().OnCmdMsg(ID_RAW_TEXT_OUTPUT, ui::CmdMode::Execute, nullptr);
  std::ifstream in(out, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Both channels (one rate), all three epochs, tab-separated, CR LF.
  EXPECT_NE(text.find("\r\n\r\nTime\tuV\tmV\t\r\n01.00:00:00.000\t0.000000\t-1.000000\t\r\n"), std::string::npos);
  EXPECT_NE(text.find("01.00:00:05.900\t59.000000\t-1.000000\t\r\n"), std::string::npos);
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, res::LoadString(63475));
  OutputMaxLines = savedLimit;
  OutputDelimiterIsTab = savedTab;
  std::filesystem::remove(source);
  std::filesystem::remove(out);
}

}  // namespace
