// Tool windows still open when the program ends go with the main window (nothing is left
// behind for the leak check, nothing is destroyed twice).
#include "app_shell/app_fixture.h"

namespace {

class FrameTeardown : public AppTest {};

TEST_F(FrameTeardown, OpenToolWindowsGoWithTheFrame) {
  ASSERT_TRUE(Start());
  Frame().OnWaveDetectSetting();
  Frame().OnAviOutput();
  ASSERT_NE(Frame().WaveDetectDlg, nullptr);
  ASSERT_NE(Frame().MakeAviDlg, nullptr);
  Frame().DestroyOpenToolDialogs();
  EXPECT_EQ(Frame().WaveDetectDlg, nullptr);
  EXPECT_EQ(Frame().MakeAviDlg, nullptr);
  // Opened again and left open: the frame's end takes them.
  Frame().OnWaveDetectSetting();
  Frame().OnAviOutput();
  Stop();
}

}  // namespace
