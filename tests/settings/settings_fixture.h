#pragma once
// Each settings test runs with the program folder in a fresh temporary folder, English texts,
// Ctrl released and every program-wide setting at its default.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/pane_layout.h"
#include "app/frame/program_settings.h"
#include "app/frame/resume_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/key_state.h"
#include "platform/system/locale.h"
#include "platform/system/program_folder.h"

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Other builds may run the same tests at the same time: the folder is this process's own.
    std::string leaf = std::string("settings_") + std::to_string(getpid()) + "_" + info->test_suite_name() + "_" +
                       info->name();
    for (char& c : leaf)
      if (c == '/') c = '_';
    folder_ = std::filesystem::path(::testing::TempDir()) / leaf;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    sys::SetProgramFolderForTesting(folder_.string());
    sys::ClearKeyStateForTesting();
    sys::SetThreadLocale(sys::kLcidEnglishUs);
    res::SetLanguage(res::Language::English);
    InitScreenItemFonts();
    SetDefaultSettings();
    TrendWindowDockState = WorkspaceWindowDockState = kDockShown;
    ResumeFile::StopWriteAfterBlocksForTesting(-1);
    SetDefaultAllBlocks(&blocks_, PageSeconds / EpochSeconds);
    for (auto& ch : channels_) ch.SetDefault();
  }
  void TearDown() override {
    ResumeFile::StopWriteAfterBlocksForTesting(-1);
    sys::ClearKeyStateForTesting();
    sys::SetProgramFolderForTesting("");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  static std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  std::filesystem::path folder_;
  AnalysisParamBlocks blocks_;
  std::array<LyrChInfo, 32> channels_;
};
