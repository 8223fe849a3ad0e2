// "&Print..." of the File menu: the raw window on one page through the print dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
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

  Doc().RecordInfo.subjectName = "Hanako";
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
  // The page starts with the subject header (read back with poppler's text extraction).
  const std::string text = pdf + ".txt";
  ASSERT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + text + "'").c_str()), 0);
  std::ifstream txt(text);
  const std::string words((std::istreambuf_iterator<char>(txt)), std::istreambuf_iterator<char>());
  EXPECT_NE(words.find("Subject:"), std::string::npos) << words;
  EXPECT_NE(words.find("Hanako"), std::string::npos) << words;
  std::filesystem::remove(text);
  std::filesystem::remove(pdf);
}

}  // namespace
