// The trend tool: hypnogram rows of the stage settings, time-scale steps, and the logic
// condition that holds a graph's thresholds.
#include <gtest/gtest.h>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_tool.h"

namespace {

TEST(TrendTool, StageRowsOfTypeThreeWithExtraStages) {
  StageTypeParam s;
  s.stageType = 3;
  for (auto& r : s.records) r.showInHypnogram = 1, r.showOrder = 1;
  s.sharedInUse = 2;
  s.shared[0].showInHypnogram = 1;
  s.shared[0].showOrder = 9;
  s.shared[0].name = "F1";
  s.shared[1].showInHypnogram = 0;
  s.shared[2].showInHypnogram = 1;  // not in use
  int normal = 0, extra = 0;
  EXPECT_EQ(LyrTrendTool::GetStageRowCount(normal, extra, s), 5);
  EXPECT_EQ(normal, 4);
  EXPECT_EQ(extra, 1);
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(9, s), 0) << "Free2 hidden";
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(8, s), 5);
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(10, s), 0) << "Free3 not in use";
  EXPECT_EQ(LyrTrendTool::GetStageRow(24, s, nullptr), 0) << "code 4 has no record under type 3";
  EXPECT_EQ(LyrTrendTool::GetStageRow(4, s, nullptr), 0);
  EXPECT_EQ(LyrTrendTool::GetStageRow(0, s, nullptr), 0);
  // Equal show orders: record order. Type 3 records 18..21 are Wake, REM, NREM, MT.
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(1, s), 1);
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(21, s), 1) << "a discarded code uses its stage's row";
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(7, s), 4);
  // A later show order moves a record down.
  s.records[18].showOrder = 3;
  EXPECT_EQ(LyrTrendTool::GetStageRowNumber(1, s), 4);
  std::vector<std::string> labels;
  for (int i = 18; i <= 21; ++i) s.records[static_cast<std::size_t>(i)].name = "S" + std::to_string(i);
  LyrTrendTool::GetStageLabels(5, 1, s, labels);
  EXPECT_EQ(labels, (std::vector<std::string>{"S19", "S20", "S21", "S18", "F1"}));
}

TEST(TrendTool, TimeScaleSteps) {
  const std::pair<int, int> cases[] = {{10, 5}, {11, 10}, {30, 10}, {60, 30}, {120, 60},
                                       {720, 120}, {1440, 360}, {1441, 720}};
  for (auto [minutes, step] : cases) EXPECT_EQ(LyrTrendTool::GetTimeScaleStep(minutes), step) << minutes;
}

TEST(TrendTool, ItemsAndParameterCodesMapBothWays) {
  for (int code = 1; code <= 32; ++code) {
    const auto item = ItemOfParameterCode(code, 5);
    ASSERT_TRUE(item) << code;
    EXPECT_EQ(ItemParameterCode(*item), code) << code;
  }
  EXPECT_EQ(ItemParameterCode({21, 7, 0}), 17) << "band 2 ratio";
  EXPECT_EQ(ItemParameterCode({22, 3, 0}), 31) << "ABS. Max.";
  EXPECT_EQ(ItemParameterCode({1, 1, 0}), 0) << "detect count of Delta has no code";
}

class TrendThresholdTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = TrendItem;
    savedCount_ = TrendSettingWord2;
    TrendSettingWord2 = 4;
    doc_.Params.stageType.stageType = 0;
  }
  void TearDown() override {
    TrendItem = saved_;
    TrendSettingWord2 = savedCount_;
  }
  LogicCondition& Cond(int i) { return doc_.Params.logic.sets[0][static_cast<std::size_t>(i)]; }
  static LogicTerm Term(int code, int channel, float lo, float hi) {
    LogicTerm t;
    t.valueCode = static_cast<std::uint16_t>(code);
    t.channel = static_cast<std::uint16_t>(channel);
    t.lower = lo;
    t.upper = hi;
    return t;
  }
  CQLM2_AnalyzerDoc doc_;
  TrendItemTable saved_;
  std::uint16_t savedCount_ = 0;
};

TEST_F(TrendThresholdTest, FindsTheFirstMatchingConditionUntilAnEmptyRow) {
  TrendItem.category[3] = 21;
  TrendItem.subItem[3] = 7;  // band 2 ratio: code 17
  TrendItem.third[3] = 2;
  Cond(0).stage = 1;
  Cond(0).term1 = Term(17, 1, 1, 2);  // other channel
  Cond(1).stage = 2;
  Cond(1).term1 = Term(5, 0, 0, 0);
  Cond(1).andSwitch = 1;
  Cond(1).term2 = Term(17, 2, 3, 4);  // the graph's channel, second clause
  const LyrTrendTool tool(&doc_);
  float lo = -1, hi = -1;
  ASSERT_EQ(tool.GetLogicThreshold(3, lo, hi), 1);
  EXPECT_FLOAT_EQ(lo, 3);
  EXPECT_FLOAT_EQ(hi, 4);
  // A result stage 0 ends the search even when later rows match.
  Cond(0).stage = 0;
  EXPECT_EQ(tool.GetLogicThreshold(3, lo, hi), 0);
  EXPECT_FLOAT_EQ(lo, 0);
  EXPECT_FLOAT_EQ(hi, 0);
}

TEST_F(TrendThresholdTest, SettingBoundsSwapsWhenTheyCross) {
  TrendItem.category[0] = 8;  // EMG integral: code 13
  TrendItem.subItem[0] = 0;
  Cond(0).stage = 1;
  Cond(0).term1 = Term(13, 0, 10, 20);
  const LyrTrendTool tool(&doc_);
  ASSERT_EQ(tool.SetLogicThreshold(0, 25.0f, std::nullopt), 1);
  EXPECT_FLOAT_EQ(Cond(0).term1.lower, 20) << "the old upper becomes the lower";
  EXPECT_FLOAT_EQ(Cond(0).term1.upper, 25);
  ASSERT_EQ(tool.SetLogicThreshold(0, std::nullopt, 5.0f), 1);
  EXPECT_FLOAT_EQ(Cond(0).term1.lower, 5);
  EXPECT_FLOAT_EQ(Cond(0).term1.upper, 20);
  EXPECT_EQ(tool.SetLogicThreshold(1, 1.0f, 2.0f), 0) << "graph 1 has no item with a code";
  EXPECT_EQ(LyrTrendTool::IsSameTrendItem(0, 0), 1);
}

}  // namespace
