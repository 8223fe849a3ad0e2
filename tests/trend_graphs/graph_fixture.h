#pragma once
// The trend graphs of the started program on a generated half-hour night (30-s epochs: 60
// epochs), with the trend settings restored after each test.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/document/trend_item_names.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_graph_container.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/trend_settings.h"
#include "platform/ui/app.h"
#include "sample_recording.h"
#include "tests/app_shell/app_fixture.h"

class GraphTest : public AppTest {
 protected:
  static constexpr int kEpochs = 60;
  static void SetUpTestSuite() {
    night_ = new std::string(
        (std::filesystem::temp_directory_path() / ("qlm_graph_night_" + std::to_string(::getpid()) + ".fyd")).string());
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = 0.5;
    o.rateHz = 64;
    o.seed = 7;
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, *night_, &error)) << error;
  }
  static void TearDownTestSuite() {
    for (const char* ext : {"", ".stages", ".events"}) {
      std::error_code ec;
      std::filesystem::remove(ext[0] ? samples::CompanionPath(*night_, ext) : *night_, ec);
    }
    delete night_;
  }
  void SetUp() override {
    AppTest::SetUp();
    savedItems_ = TrendItem;
    savedWords_ = {TrendSettingWord1, TrendSettingWord2, TrendSettingsWord};
    savedMinutes_ = TrendTimeMinutes;
    savedUpper_ = TrendRangeUpper;
    savedLower_ = TrendRangeLower;
    savedMode_ = TrendRangeMode;
    savedFlag_ = TrendRangeFlag;
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    savedLogicLine_ = ShowLogicLine;
    EpochSeconds = 30;
    PageSeconds = 120;
    ASSERT_TRUE(Start());
    Frame().MoveWindow(ui::Rect{0, 0, 1200, 900});
    EpochSeconds = 30;
    PageSeconds = 120;
    ASSERT_NE(ui::App::Current()->OpenDocumentFile(*night_, false), nullptr) << testing::PrintToString(BoxTexts());
    ASSERT_EQ(Doc().GetDivNum(EpochSeconds), kEpochs);
    ResultModifiedState = 1;
  }
  void TearDown() override {
    AppTest::TearDown();
    TrendItem = savedItems_;
    TrendSettingWord1 = savedWords_[0];
    TrendSettingWord2 = savedWords_[1];
    TrendSettingsWord = savedWords_[2];
    SetTrendTimeScale(savedMinutes_);
    TrendRangeUpper = savedUpper_;
    TrendRangeLower = savedLower_;
    TrendRangeMode = savedMode_;
    TrendRangeFlag = savedFlag_;
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    ShowLogicLine = savedLogicLine_;
    TrendZoomState = 0;
  }
  LyrTrendDummyView& Trend() { return *Frame().TrendView(); }
  LyrTrendTrendAreaDummyView& Area() { return Trend().TrendArea; }
  LyrTrendTrendAreaView& Graph(int g) { return *Area().GraphView(g); }
  void SetItem(int g, int category, int sub, int third = 0) {
    TrendItem.category[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(category);
    TrendItem.subItem[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(sub);
    TrendItem.third[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(third);
  }
  // Graph g shows the EMG integral: the epochs' values and the real scale given.
  void EmgGraph(int g, double upper, double lower) {
    Doc().Params.waveForm.emgChannel = 0;
    SetItem(g, 8, 0);
    SetTrendItemRange(0, 8, 0, 0, 1, 0, 0, upper, lower);
  }
  void SetEmg(int epoch, float value) { Doc().EpochTables.Record(epoch)->emg = value; }
  // lines x minutes: the shown epochs (1 line of 10 minutes: 20 epochs of 30 s).
  void Show(int lines, int minutes, int graphs) { Trend().Frame()->ApplyDisplaySetting(lines, minutes, graphs); }

  static inline std::string* night_ = nullptr;
  TrendItemTable savedItems_;
  std::array<std::uint16_t, 3> savedWords_{};
  std::int32_t savedMinutes_ = 0;
  TrendRangeTable savedUpper_, savedLower_;
  std::array<std::uint16_t, kTrendRangeScales> savedMode_{}, savedFlag_{};
  std::int32_t savedEpoch_ = 0, savedPage_ = 0;
  std::uint32_t savedLogicLine_ = 0;
};
