#pragma once
// The tests' tiny recording, a scripted message box and temporary folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/result_analysis_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/ui/messages.h"
#include "tiny_recording.h"

// Answers from a script (IDCANCEL when it runs out) and keeps every text shown.
class ScriptedUi : public ResultFileUi {
 public:
  std::deque<int> answers;
  std::vector<std::string> shown;
  int Message(const std::string& text, std::uint32_t) override {
    shown.push_back(text);
    if (answers.empty()) return ui::IDCANCEL;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
};

// A fresh folder under the test's temporary directory.
inline std::string TempFolder(const std::string& name) {
  namespace fs = std::filesystem;
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  fs::path p = fs::temp_directory_path() / ("raf_" + std::to_string(::getpid()) + "_" + info->name() + "_" + name);
  fs::remove_all(p);
  fs::create_directories(p);
  return p.string();
}

inline std::vector<std::uint8_t> FileBytes(const std::string& path) {
  auto s = sys::ReadWholeFile(path);
  if (!s) return {};
  return {s->begin(), s->end()};
}

inline void PutFile(const std::string& path, const std::vector<std::uint8_t>& b) {
  sys::WriteFileAtomic(path, std::string(b.begin(), b.end()));
}

class RafTest : public testing::Test {
 protected:
  void SetUp() override {
    res::SetLanguage(res::Language::English);
    ResultSaveState = 0;
    AnimalOnlyMode = 0;
    EpochSeconds = 10;
  }
  static std::string S(std::uint32_t id) { return res::LoadString(id); }
};
