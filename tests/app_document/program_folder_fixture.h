#pragma once
// A fresh, empty program folder for each test, so that files "beside the program"
// never leak between tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/system/key_state.h"
#include "platform/system/locale.h"
#include "platform/system/program_folder.h"

class ProgramFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "qlm_prog_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    sys::SetProgramFolderForTesting(folder_);
    sys::ResetThreadLocaleForTesting();
  }
  void TearDown() override {
    sys::SetProgramFolderForTesting("");
    sys::ResetThreadLocaleForTesting();
    sys::ClearKeyStateForTesting();
    std::filesystem::remove_all(folder_);
  }
  std::string Beside(const std::string& name) const { return folder_ + "/" + name; }
  void WriteBeside(const std::string& name, const std::string& text) const {
    std::ofstream out(Beside(name), std::ios::binary);
    out << text;
  }
  std::string ReadBeside(const std::string& name) const {
    std::ifstream in(Beside(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string folder_;
};
