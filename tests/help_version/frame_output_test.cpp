// The frame's bitmap output, manual and About commands.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/frame/lyr_about.h"
#include "app_shell/app_fixture.h"
#include "platform/system/process.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

namespace {

using FrameOutput = AppTest;

std::vector<std::uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST_F(FrameOutput, TheChosenWindowIsSavedAsABitmapFile) {
  ASSERT_TRUE(Start());
  DocumentLoaded = 1;
  const std::string path = folder_->Path() + "/raw.bmp";
  testhooks::ScriptDialog(188, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(1649), 1) << "all windows first";
    d.CheckRadioButton(1649, 1656, 1652);
    d.ClickButton(ui::IDOK);
  });
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32982));
  const std::vector<std::uint8_t> bmp = Bytes(path);
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  const ui::Rect raw = Frame().BitmapOutputWindow(1)->GetClientRect();
  EXPECT_EQ(static_cast<int>(U32(bmp, 18)), raw.Width());
  EXPECT_EQ(static_cast<int>(U32(bmp, 22)), raw.Height());
  EXPECT_EQ(bmp.size(), 54u + static_cast<std::size_t>((raw.Width() * 3 + 3) / 4 * 4) * raw.Height());
  // A standard image tool reads the file as the same size.
  const std::string identify = "identify -format '%w %h' '" + path + "' > '" + path + ".txt' 2>/dev/null";
  if (std::system("command -v identify > /dev/null 2>&1") == 0) {
    ASSERT_EQ(std::system(identify.c_str()), 0);
    std::ifstream size(path + ".txt");
    int w = 0, h = 0;
    size >> w >> h;
    EXPECT_EQ(w, raw.Width());
    EXPECT_EQ(h, raw.Height());
  }

  // The whole frame, and no file for a choice outside the four windows.
  EXPECT_EQ(Frame().SaveWindowBitmap(0, folder_->Path() + "/all.bmp"), 1);
  const std::vector<std::uint8_t> all = Bytes(folder_->Path() + "/all.bmp");
  ASSERT_GT(all.size(), 54u);
  EXPECT_EQ(static_cast<int>(U32(all, 18)), Frame().GetClientRect().Width());
  // The tool bars are in the picture: the standard bar's area holds its buttons, not one
  // flat colour.
  ASSERT_NE(Frame().StandardBar, nullptr);
  ASSERT_TRUE(Frame().StandardBar->IsWindowVisible());
  const ui::Point barAt = Frame().ScreenToClient(Frame().StandardBar->ClientToScreen(ui::Point{0, 0}));
  const ui::Rect bar = Frame().StandardBar->GetClientRect();
  const int width = static_cast<int>(U32(all, 18)), height = static_cast<int>(U32(all, 22));
  const std::size_t stride = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
  std::set<std::uint32_t> colours;
  for (int y = std::max(barAt.y, 0); y < std::min(barAt.y + bar.Height(), height); ++y)
    for (int x = std::max(barAt.x, 0); x < std::min(barAt.x + bar.Width(), width); ++x) {
      const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
      colours.insert(all[at] | (all[at + 1] << 8) | (all[at + 2] << 16));
    }
  EXPECT_GE(colours.size(), 3u) << "bar at " << barAt.x << "," << barAt.y << " size " << bar.Width() << "x"
                                << bar.Height();
  EXPECT_EQ(Frame().SaveWindowBitmap(4, folder_->Path() + "/none.bmp"), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_->Path() + "/none.bmp"));

  // Cancel in the Bitmap dialog asks for no file.
  testhooks::Reset();
  testhooks::ScriptDialog(188, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32982));
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
}

TEST_F(FrameOutput, CommandStates) {
  ASSERT_TRUE(Start());
  DocumentLoaded = 0;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32982).IsEnabled());
  DocumentLoaded = 1;
  EXPECT_TRUE(ui::QueryCommandState(Frame(), 32982).IsEnabled());
  EXPECT_TRUE(ui::QueryCommandState(Frame(), 33126).IsEnabled());
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32982).IsEnabled());
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33126).IsEnabled());
  EXPECT_TRUE(ui::QueryCommandState(Frame(), 33153).IsEnabled());
  EXPECT_TRUE(ui::QueryCommandState(Frame(), ui::ID_APP_ABOUT).IsEnabled());
}

TEST_F(FrameOutput, HelpTopicsShowsTheShellsErrorWithThePath) {
  ASSERT_TRUE(Start());
  sys::SetOpenDocumentHandlerForTesting([](const std::string&) { return 2; });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33153));
  sys::SetOpenDocumentHandlerForTesting({});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ERROR_FILE_NOT_FOUND\n" + folder_->Path() + "/Vellisom.pdf"});
}

TEST_F(FrameOutput, OneAboutWindowAtATime) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_APP_ABOUT));
  LyrAbout* about = OpenAboutWindow();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->GetWindowText(), "ABOUT");
  EXPECT_EQ(about->GetClientRect().Width(), kAboutWidth);
  EXPECT_EQ(about->GetClientRect().Height(), kAboutHeight);
  EXPECT_EQ(about->KeepOpen(), 1);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_APP_ABOUT));
  EXPECT_EQ(OpenAboutWindow(), about) << "a second command opens no other window";
  about->SendMessage(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, 0);
  EXPECT_EQ(OpenAboutWindow(), nullptr);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_APP_ABOUT));
  ASSERT_NE(OpenAboutWindow(), nullptr);
  OpenAboutWindow()->DestroyWindow();
}

}  // namespace
