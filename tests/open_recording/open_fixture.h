#pragma once
// A document in a fresh program folder, own raw recordings written by our writers, and the
// test import plug-in whose answers a test sets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "fileaccess/fixture.h"
#include "platform/res/resource_store.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"
#include "platform/testing/ui_testing.h"
#include "test_plugin_state.h"

inline std::string TestPluginPath(bool minimal = false) {
  return std::string(QLM_TEST_PLUGIN_DIR) + (minimal ? "/RXQD_IMP_TESTMIN.so" : "/RXQD_IMP_TEST.so");
}

class OpenTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<testhooks::TempProgramFolder>();
    testhooks::Reset();
    res::SetLanguage(res::Language::English);
    DocumentLoaded = 0;
    ResultModifiedState = 0;
    ScreeningRunning = 0;
    VideoAttached = 0;
    EpochSeconds = 10;
    PageSeconds = 30;
    PluginPath.clear();
    ClockTimeDisplay = 0;
    HideSubjectName = 0;
    doc_ = std::make_unique<CQLM2_AnalyzerDoc>();
  }
  void TearDown() override {
    doc_.reset();
    ReleasePluginModule("");
    testPlugin_.Unload();
    testhooks::Reset();
    DocumentLoaded = 0;
    ResultModifiedState = 0;
    PluginPath.clear();
    folder_.reset();
  }

  CQLM2_AnalyzerDoc& Doc() { return *doc_; }

  // Channels of `rateHz` for `seconds`, with subject data and a start time.
  fixture::RawSpec Night(int seconds, int channels = 2, double rateHz = 10.0) {
    fixture::RawSpec s = fixture::TwoChannelSpec();
    s.g1.channels = static_cast<std::uint16_t>(channels);
    s.g1.samplingHz = rateHz;
    s.g1.dataCount = static_cast<std::uint32_t>(seconds * rateHz);
    std::vector<_FynRawG2Param> chs;
    for (int c = 0; c < channels; ++c) {
      _FynRawG2Param p = s.channels[static_cast<std::size_t>(c % 2)];
      p.name = "CH" + std::to_string(c + 1);
      chs.push_back(p);
    }
    s.channels = chs;
    s.frames.assign(static_cast<std::size_t>(s.g1.dataCount) * static_cast<std::size_t>(channels), 0);
    for (std::size_t i = 0; i < s.frames.size(); ++i) s.frames[i] = static_cast<std::uint16_t>(i % 500);
    s.withOV = true;
    s.patient.text1 = "Hanako Test";
    s.patient.patientWord = 1;
    s.patient.ageYears = 35;
    s.patient.ageMonths = 2;
    s.patient.text2 = "after shift work";
    s.comments.assign(10, {});
    s.comments[0] = {"Height", "158 cm"};
    s.comments[2] = {"Subject name", "H.T."};
    return s;
  }
  std::string WriteNight(const std::string& name, const fixture::RawSpec& spec) {
    const std::string path = dir_.Path(name);
    EXPECT_TRUE(fixture::WriteRaw(path, spec));
    return path;
  }
  std::string WriteText(const std::string& name, const std::string& text) {
    const std::string path = dir_.Path(name);
    fixture::WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
    return path;
  }
  // The test plug-in's answers, reset to their defaults; the plug-in stays loaded meanwhile.
  TestPluginAnswers& UseTestPlugin(bool minimal = false) {
    PluginPath = TestPluginPath(minimal);
    EXPECT_TRUE(testPlugin_.Load(PluginPath)) << testPlugin_.LastError();
    auto state = testPlugin_.Function<TestPluginStateFn>("TestPluginState");
    *state() = TestPluginAnswers{};
    return *state();
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : testhooks::ShownMessageBoxes()) texts.push_back(box.text);
    return texts;
  }

  fixture::TempDir dir_;
  std::unique_ptr<testhooks::TempProgramFolder> folder_;
  std::unique_ptr<CQLM2_AnalyzerDoc> doc_;
  sys::DynamicLibrary testPlugin_;
};
