// "&Print..." of the File menu: the raw window on one page through the print dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/frame/frame_globals.h"
#include "app/frame/window_command_states.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/command.h"
#include "platform/ui/menu.h"
#include "tests/navigation/nav_fixture.h"

namespace {

class RawPrintCommand : public NavTest {};

TEST_F(RawPrintCommand, PrintsTheRawWindowToAPdfFileOnce) {
  CMainFrame& f = Frame();
  EXPECT_GE(f.GetMenu()->GetSubMenu(0)->FindPosition(ID_PRINT_RAW), 0);
  EXPECT_TRUE(ui::QueryCommandState(f, ID_PRINT_RAW).IsEnabled());
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(f, ID_PRINT_RAW).IsEnabled());
  ScreeningRunning = 0;

  const std::string pdf = ::testing::TempDir() + "raw_print_command.pdf";
  std::filesystem::remove(pdf);
  testhooks::AnswerPrintDialog(ui::IDCANCEL);
  f.OnCmdMsg(ID_PRINT_RAW, ui::CmdMode::Execute, nullptr);
  EXPECT_FALSE(std::filesystem::exists(pdf));

  testhooks::AnswerPrintDialog(ui::IDOK, pdf);
  f.OnCmdMsg(ID_PRINT_RAW, ui::CmdMode::Execute, nullptr);
  EXPECT_EQ(PrintTarget, 0);
  std::ifstream in(pdf, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
  // One page object in the file.
  std::size_t pages = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
    if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
  EXPECT_EQ(pages, 1u);
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
  std::filesystem::remove(pdf);
}

}  // namespace
