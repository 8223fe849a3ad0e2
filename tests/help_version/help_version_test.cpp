#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/frame/file_version_info.h"
#include "app/frame/help_commands.h"
#include "platform/res/resource_store.h"
#include "platform/system/process.h"
#include "platform/testing/ui_testing.h"

namespace {

TEST(FileVersionInfo, AnswersFromTheProgramsOwnVersionData) {
  const FileVersionInfo info(nullptr);
  ASSERT_TRUE(info.HasData());
  std::string text = "x";
  EXPECT_EQ(info.GetString(&text, 3), 1);
  EXPECT_EQ(text, "1.0.0.1");
  EXPECT_EQ(info.GetString(&text, 9), 1);
  EXPECT_EQ(text, "Vellisom");
  EXPECT_EQ(info.GetString(&text, 1), 0);  // no company name in the data
  EXPECT_EQ(text, "");
  text = "x";
  EXPECT_EQ(info.GetString(&text, 12), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(info.GetString(&text, -1), 0);
}

// A file with a version block of its own, behind some other bytes.
std::string WriteVersionFile(const testhooks::TempProgramFolder& folder, const std::string& lines) {
  std::string marker = "\x7eQLM-VERSION-01\x7e";  // the marker is 0x7f..0x7f
  marker.front() = '\x7f';
  marker.back() = '\x7f';
  std::string bytes(1000, 'z');
  bytes += marker;
  const std::uint32_t n = static_cast<std::uint32_t>(lines.size());
  for (int k = 0; k < 4; ++k) bytes += static_cast<char>(n >> (8 * k));
  bytes += lines;
  bytes += std::string(50, '\0');
  return folder.WriteFile("other.so", bytes);
}

TEST(FileVersionInfo, LooksUpOtherFilesByTranslationThenEveryKnownPair) {
  testhooks::TempProgramFolder folder;
  struct Case {
    std::string lines;
    int result;
    std::string text;
  };
  const Case cases[] = {
      {"\\VarFileInfo\\Translation\t0411 03a4\n\\StringFileInfo\\041103a4\\FileVersion\t2.5\n", 1, "2.5"},
      // No translation table: found by trying the code pages and languages in turn.
      {"\\StringFileInfo\\041103a4\\FileVersion\t3.1\n", 1, "3.1"},
      // The translation names a pair without the text: the search goes on.
      {"\\VarFileInfo\\Translation\t0409 04b0\n\\StringFileInfo\\040904e4\\FileVersion\t4.0\n", 1, "4.0"},
      {"\\StringFileInfo\\0c0004e4\\FileVersion\t9\n", 0, ""},  // a language outside the list
  };
  for (const Case& c : cases) {
    const FileVersionInfo info(WriteVersionFile(folder, c.lines).c_str());
    std::string text;
    EXPECT_EQ(info.GetString(&text, 3), c.result) << c.lines;
    EXPECT_EQ(text, c.text) << c.lines;
  }
  const FileVersionInfo none(folder.WriteFile("plain.so", std::string(100, 'a')).c_str());
  std::string text;
  EXPECT_FALSE(none.HasData());
  EXPECT_EQ(none.GetString(&text, 3), 0);
  const FileVersionInfo missing((folder.Path() + "/missing.so").c_str());
  EXPECT_EQ(missing.GetString(&text, 3), 0);
}

class HelpCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    testhooks::Reset();
    res::SetLanguage(res::Language::English);
    sys::SetOpenDocumentHandlerForTesting([this](const std::string& path) {
      opened.push_back(path);
      return shellResult;
    });
  }
  void TearDown() override {
    sys::SetOpenDocumentHandlerForTesting({});
    testhooks::Reset();
  }
  testhooks::TempProgramFolder folder;
  std::vector<std::string> opened;
  int shellResult = 42;
};

TEST_F(HelpCommands, ManualIsOpenedBesideTheProgramAndShellErrorsAreShownWithThePath) {
  const std::string pdf = folder.Path() + "/Vellisom.pdf";
  struct Case {
    int result;
    std::string shown;  // empty: no box
  };
  const Case cases[] = {
      {42, ""}, {33, ""}, {1, ""},
      {2, "ERROR_FILE_NOT_FOUND\n" + pdf}, {3, "ERROR_PATH_NOT_FOUND\n" + pdf}, {0, "no memory" + pdf},
      {31, "SE_ERR_NOASSOC\n" + pdf}, {32, "SE_ERR_DLLNOTFOUND\n" + pdf}, {26, "SE_ERR_SHARE\n" + pdf},
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    opened.clear();
    shellResult = c.result;
    EXPECT_EQ(OpenHelpTopics(), c.result);
    EXPECT_EQ(opened, std::vector<std::string>{pdf});
    if (c.shown.empty()) {
      EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << c.result;
    } else {
      ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u) << c.result;
      EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, c.shown);
    }
  }
}

TEST_F(HelpCommands, VideoOptionManualNeedsThePlayerLibrary) {
  EXPECT_EQ(OpenVideoOptionHelp(), -1);
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, res::LoadString(kIdsVideoOptionMissing));
  EXPECT_FALSE(res::LoadString(kIdsVideoOptionMissing, res::Language::Japanese).empty());

  folder.WriteFile(kVideoPlayerLibraryName, "library");
  EXPECT_EQ(OpenVideoOptionHelp(), 42);
  EXPECT_EQ(opened, std::vector<std::string>{folder.Path() + "/VIDEOPLAYER.pdf"});
}

}  // namespace
