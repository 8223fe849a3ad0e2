// Help > Help Topics opens the manual that the build sets beside the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app_shell/app_fixture.h"
#include "platform/system/process.h"
#include "platform/system/program_folder.h"
#include "platform/ui/command.h"

namespace {

using HelpManual = AppTest;

TEST_F(HelpManual, HelpTopicsOpensTheManualBesideTheProgram) {
  const char* bin = std::getenv("QLM_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  const std::string manual = std::string(bin) + "/Vellisom.pdf";
  std::ifstream in(manual, std::ios::binary);
  ASSERT_TRUE(in) << manual << " is made by the build";
  char head[5] = {};
  in.read(head, 5);
  EXPECT_EQ(std::string(head, 5), "%PDF-");
  EXPECT_GT(std::filesystem::file_size(manual), 10000u);

  ASSERT_TRUE(Start());
  sys::SetProgramFolderForTesting(bin);
  std::string opened;
  sys::SetOpenDocumentHandlerForTesting([&opened](const std::string& path) {
    opened = path;
    return sys::kShellOk;
  });
  EXPECT_TRUE(ui::ExecuteCommand(Frame(), 33153));
  sys::SetOpenDocumentHandlerForTesting({});
  sys::SetProgramFolderForTesting(folder_->Path());
  EXPECT_EQ(std::filesystem::path(opened), std::filesystem::path(manual));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << "no shell error";
}

}  // namespace
