#pragma once
// Runs the program's start-up in a fresh program folder and registry, without the
// message loop: InitInstance, the test, then ExitInstance.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "app/frame/main_frame.h"
#include "app/raw/raw_dummy_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/system/key_state.h"
#include "platform/system/locale.h"
#include "platform/system/registry_store.h"
#include "platform/testing/ui_testing.h"

class AppTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* lang = std::getenv("LANG")) savedLang_ = lang;
    unsetenv("LC_ALL");
    setenv("LANG", "en_US.UTF-8", 1);
    sys::ResetThreadLocaleForTesting();
    folder_ = std::make_unique<testhooks::TempProgramFolder>();
    sys::SetRegistryFileForTesting(folder_->Path() + "/registry.txt");
    testhooks::Reset();
  }
  void TearDown() override {
    Stop();
    testhooks::Reset();
    sys::ClearKeyStateForTesting();
    sys::SetRegistryFileForTesting("");
    folder_.reset();
    if (savedLang_) setenv("LANG", savedLang_->c_str(), 1); else unsetenv("LANG");
    sys::ResetThreadLocaleForTesting();
    res::SetLanguage(res::Language::English);
    DocumentLoaded = 0;
    ResultModifiedState = 0;
    VideoAttached = 0;
    ScreeningRunning = 0;
  }

  // Starts the program with the given arguments after the program's name.
  bool Start(std::vector<std::string> args = {}) {
    app_ = std::make_unique<CQLM2_AnalyzerApp>();
    args.insert(args.begin(), "QLM2_Analyzer");
    app_->SetArguments(std::move(args));
    return app_->InitInstance();
  }
  void Stop() {
    if (!app_) return;
    app_->ExitInstance();
    app_.reset();
  }

  CMainFrame& Frame() { return *app_->MainFrame(); }
  CQLM2_AnalyzerDoc& Doc() { return *app_->Document(); }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : testhooks::ShownMessageBoxes()) texts.push_back(box.text);
    return texts;
  }

  std::unique_ptr<testhooks::TempProgramFolder> folder_;
  std::unique_ptr<CQLM2_AnalyzerApp> app_;
  std::optional<std::string> savedLang_;
};
