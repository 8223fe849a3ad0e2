// "Wave detect" > "Setting" of the main frame: one modeless dialog on the current document.
#include "app/document/lyr_dlg_wave_detect.h"
#include "app/frame/window_command_states.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/menu.h"
#include "tests/app_shell/app_fixture.h"

namespace {

using WaveDetectCommand = AppTest;

TEST_F(WaveDetectCommand, OnlyTheAnimalEditionsMenuHasWaveDetect) {
  for (std::uint16_t language : {1033, 1041}) {
    const auto plain = ui::Menu::Load(128, language);
    const auto animal = ui::Menu::Load(293, language);
    ASSERT_TRUE(plain && animal) << language;
    EXPECT_FALSE(plain->Contains(ID_WAVE_DETECT_SETTING));
    EXPECT_TRUE(animal->Contains(ID_WAVE_DETECT_SETTING));
    EXPECT_TRUE(animal->Contains(ID_WAVE_DETECT_LIST));
    EXPECT_EQ(animal->GetItemCount(), plain->GetItemCount() + 1);
  }
  EXPECT_EQ(ui::Menu::Load(293, 1033)->GetItemText(ID_WAVE_DETECT_SETTING), "Setting");
  ASSERT_TRUE(Start());
  EXPECT_EQ(Frame().GetMenu()->Contains(ID_WAVE_DETECT_SETTING), WaveDetectAvailable());
  EXPECT_EQ(Frame().GetWindowText(), WaveDetectAvailable() ? "Vellisom for Animal" : "Vellisom");
}

TEST_F(WaveDetectCommand, SettingOpensOneDialogOnTheDocumentAndCancelClosesIt) {
  ASSERT_TRUE(Start());
  DocumentLoaded = 1;
  Doc().RecordInfo.channelCount = 1;
  Doc().ChInfo[0].name = "EEG";
  ASSERT_TRUE(ui::QueryCommandState(Frame(), ID_WAVE_DETECT_SETTING).IsEnabled());
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_WAVE_DETECT_SETTING));
  LyrDlgWaveDetect* dlg = Frame().WaveDetectDlg;
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->Document(), &Doc());
  EXPECT_EQ(dlg->Item(LyrDlgWaveDetect::kChannel).GetString(1), "  1:EEG");
  // A second Setting while it is open opens no other.
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_WAVE_DETECT_SETTING));
  EXPECT_EQ(Frame().WaveDetectDlg, dlg);
  ASSERT_TRUE(dlg->ClickButton(ui::IDCANCEL));
  EXPECT_EQ(Frame().WaveDetectDlg, nullptr);
  ui::PumpPendingMessages();  // the closed dialog is destroyed from the queue
  DocumentLoaded = 0;
}

}  // namespace
