// The frame commands around Data Processing and Screen Item: the processing reaches the
// document and the page is read again; the screen look reaches the globals only on OK.
#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/raw/lyr_raw_dlg_data_processing.h"
#include "app/raw/lyr_raw_dlg_screen_item.h"
#include "app_shell/app_fixture.h"
#include "platform/ui/command.h"

namespace {

class DisplayDialogCommands : public AppTest {
 protected:
  void Load() {
    ASSERT_TRUE(Start());
    CQLM2_AnalyzerDoc& d = Doc();
    d.RecordInfo.channelCount = 2;
    d.ChInfo[0].rate = 100;
    d.ChInfo[0].dataCount = 100u * 3600u;
    d.ChInfo[1].rate = 200;
    d.ChInfo[1].dataCount = 200u * 3600u;
    d.RecordSeconds = 3600;
    d.ScreeningMarker = -1;
    EpochSeconds = 30;
    DocumentLoaded = 1;
  }
};

TEST_F(DisplayDialogCommands, DataProcessingOkReachesTheDocumentOnce) {
  Load();
  testhooks::ScriptDialog(IDD_DATA_PROCESSING, [](ui::Dialog& d) {
    d.ClickButton(LyrRawDlgDataProcessing::kBaseOffsetCheck);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_DATA_PROCESSING));
  EXPECT_EQ(Doc().ChInfo[0].baseLine, 1);
  EXPECT_EQ(Doc().ChInfo[1].baseLine, 0);
  EXPECT_EQ(testhooks::ShownDialogs(), std::vector<int>{IDD_DATA_PROCESSING});
}

TEST_F(DisplayDialogCommands, ScreenItemCancelKeepsTheStagePosition) {
  Load();
  const std::int16_t saved = StagePosition;
  StagePosition = 7;
  testhooks::ScriptDialog(IDD_SCREEN_ITEM, [](ui::Dialog& d) {
    auto& s = static_cast<LyrRawDlgScreenItem&>(d);
    s.Item(LyrRawDlgScreenItem::kStageSlider).SetPos(0);
    s.OnStageSlider();  // the rows are drawn anew with the preview
    EXPECT_EQ(StagePosition, -50);
    d.ClickButton(ui::IDCANCEL);
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_SCREEN_ITEM));
  EXPECT_EQ(StagePosition, 7);
  StagePosition = saved;
}

}  // namespace
