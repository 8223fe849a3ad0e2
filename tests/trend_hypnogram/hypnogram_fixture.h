#pragma once
// A trend host view whose hypnogram container is created in a window of its own over a
// document whose stages the tests set: 30-s epochs, the stage type with Wake, REM, stages 1-4
// and MT, each stage in a colour of its own.
#include <gtest/gtest.h>

#include <array>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_stage_area.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/window.h"

class HypnogramTest : public testing::Test {
 protected:
  static constexpr draw::ColorRef kPlot = 0xFFFFFF;
  static constexpr draw::ColorRef kBack = 0xC0C0C0;
  static constexpr draw::ColorRef kSegment = 0x000080;
  static constexpr draw::ColorRef kDiscard = 0x00FFFF;
  // Colours of stage codes 1..7 (Wake, REM, S1..S4, MT).
  static constexpr std::array<draw::ColorRef, 7> kStage{0x0000FF, 0x00FF00, 0xFF0000, 0x808000,
                                                        0x800080, 0x008080, 0x404040};

  void SetUp() override {
    saved_ = {EpochSeconds, PageSeconds, TrendTimeMinutes, TrendTimeEpochs};
    savedWords_ = {TrendSettingWord1, HypnogramSettingWord, ClockTimeDisplay};
    savedColors_ = DisplayColors;
    savedTrend_ = TrendColors;
    testhooks::Reset();
    EpochSeconds = 30;
    PageSeconds = 120;
    ClockTimeDisplay = 0;
    DisplayColors[0] = kPlot;     // entry 5: the plot's background
    DisplayColors[5] = kDiscard;  // entry 0: the mark of discarded epochs
    TrendColors[1] = kBack;
    TrendColors[0] = kSegment;
    TrendSettingWord1 = 3;
    SetTrendTimeScale(60);  // 120 epochs per line
    DocumentLoaded = 1;
    StageTypeParam& st = doc_.Params.stageType;
    st.stageType = 0;
    for (int i = 0; i < 7; ++i) {
      StageRecord& r = st.records[static_cast<std::size_t>(i)];
      r.colour = kStage[static_cast<std::size_t>(i)];
      r.lineWeight = 1;
      r.showInHypnogram = 1;
      r.showOrder = static_cast<std::uint16_t>(i + 1);
      r.lineBetweenStages = 1;
    }
    host_.SetDocument(&doc_);
  }
  void TearDown() override {
    Area().DestroyWindow();
    if (top_.IsWindow()) top_.DestroyWindow();
    EpochSeconds = saved_[0];
    PageSeconds = saved_[1];
    TrendTimeMinutes = saved_[2];
    TrendTimeEpochs = saved_[3];
    TrendSettingWord1 = savedWords_[0];
    HypnogramSettingWord = savedWords_[1];
    ClockTimeDisplay = savedWords_[2];
    DisplayColors = savedColors_;
    TrendColors = savedTrend_;
    DocumentLoaded = 0;
    ScreeningRunning = 0;
    UtilityHypnogramLoaded = 0;
    TrendZoomState = 0;
    ScrollDirection = 0;
    testhooks::Reset();
  }

  // A recording of that many epochs, all unscored.
  void Record(int epochs) {
    doc_.RecordSeconds = epochs * 30;
    ASSERT_EQ(doc_.EpochTables.SetNew(epochs, 0, 1, 1, 1), 1);
  }
  void Score(int from, int to, int code) {
    for (int e = from; e < to; ++e) doc_.EpochTables.SetStage(e, static_cast<std::uint8_t>(code));
  }
  // Creates the container window: each line view is width wide and lineHeight high.
  void Create(int width = 400, int lineHeight = 80) {
    ASSERT_TRUE(top_.Create(nullptr, 0, ui::Rect{0, 0, width + 40, 18 + 12 * lineHeight}, false));
    ui::CreateContext ctx;
    ctx.currentDocument = &doc_;
    const int lines = HypnogramLinesHeld();
    Area().SetLineCount(lines);
    ASSERT_TRUE(Area().CreateView(&top_, 1, ctx, ui::Rect{0, 0, width + 40, 18 + lines * lineHeight}));
    Area().ApplyDisplaySetting();
  }
  LyrTrendStageAreaDummyView& Area() { return host_.StageArea; }
  LyrTrendStageAreaView& Line(int i) { return *Area().LineView(i); }
  draw::Image Render(LyrTrendStageAreaView& line) {
    const ui::Rect c = line.GetClientRect();
    draw::Image image(c.Width(), c.Height(), 32);
    draw::Dc dc(image);
    line.OnPaint(dc);
    return image;
  }
  // Pixels of a colour in column x.
  static int CountInColumn(const draw::Image& image, int x, draw::ColorRef colour) {
    int n = 0;
    for (int y = 0; y < image.Height(); ++y) n += image.GetPixel(x, y) == colour ? 1 : 0;
    return n;
  }
  // The y of row (1-based) in a line of that drawing height with 7 rows.
  static int RowY(const LyrTrendStageAreaView& line, int row) {
    const draw::Rect& r = line.DrawRect();
    return (r.bottom - r.top) / 8 * row;
  }

  CQLM2_AnalyzerDoc doc_;
  ui::Window top_;
  LyrTrendDummyView host_;
  std::array<std::int32_t, 4> saved_{};
  std::array<std::uint16_t, 3> savedWords_{};
  std::array<std::uint32_t, 9> savedColors_{};
  std::array<std::uint32_t, 6> savedTrend_{};
};
