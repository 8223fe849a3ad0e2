#pragma once
// The started program with the generated night open (12 channels), and helpers that drive the
// wave-form recognition window by control id.
#include <string>

#include "app/frame/frame_globals.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "app/settings/wave_form_template.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"
#include "screening/screening_fixture.h"

class WaveFormSetupTest : public ScreeningTest {
 protected:
  static constexpr std::uint32_t kCmdWaveForm = 32800;

  void TearDown() override {
    AnimalOnlyMode = 0;
    ScreeningTest::TearDown();
  }

  LyrRawDlgWaveFormRecognition& Open() {
    EXPECT_TRUE(ui::ExecuteCommand(Frame(), kCmdWaveForm));
    LyrRawDlgWaveFormRecognition* dlg = Frame().WaveFormRecognitionDlg;
    EXPECT_NE(dlg, nullptr);
    return *dlg;
  }
  WaveFormRecognitionParam& Block() { return Doc().Params.waveForm; }
  std::string Bytes() { return WaveFormTemplateBytes(Block()); }

  // Chooses entry `index` of a combo as the user would.
  static void Select(ui::Dialog& dlg, int combo, int index) {
    dlg.Item(combo).SetCurSel(index);
    dlg.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(combo), ui::CBN_SELCHANGE), 0);
  }
  // Ends the window as the frame does and runs the posted clean-ups.
  void Close(LyrRawDlgWaveFormRecognition& dlg, int button) {
    EXPECT_TRUE(dlg.ClickButton(button));
    testhooks::ProcessMessages();
  }
};
