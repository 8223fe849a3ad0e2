// The data-information and logic panes: their rows from the recording, the subject masking,
// the sampling-rate text, the logic conditions with their operators and channels, and the
// selection kept over a refill.
#include <string>
#include <vector>

#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_data_info_view.h"
#include "app/workspace/lyr_workspace_logic_view.h"
#include "platform/ui/messages.h"
#include "tests/navigation/nav_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows ListRows(const ui::Control& list) {
  Rows rows;
  for (int r = 0; r < list.GetCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < list.GetColumnCount(); ++c) row.push_back(list.GetItemText(r, c));
    rows.push_back(row);
  }
  return rows;
}

TEST(SamplingRateText, OneRateOrTheChannelsOfEachRate) {
  struct Case {
    std::vector<int> rates;
    const char* text;
  } cases[] = {
      {{1000, 1000, 1000}, "1000Hz"},
      {{200, 100, 200}, "1,3ch-200Hz/2ch-100Hz/"},
      {{500, 500, 500, 100}, "1,2,3ch-500Hz/4ch-100Hz/"},
      {{200}, "200Hz"},
  };
  for (const Case& c : cases) EXPECT_EQ(LyrWorkspaceDataInfoView::GetSamplingRateText(c.rates), c.text);
}

class WorkspacePanes : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& d = Doc();
    d.RecordInfo.path = "/data/night7.fyd";
    d.RecordInfo.channelCount = 3;
    d.ChInfo[0].name = "C3-A2";
    d.ChInfo[1].name = "EMG";
    d.ChInfo[2].name = "EOG";
    for (int c = 0; c < 3; ++c) d.ChInfo[static_cast<std::size_t>(c)].rate = c == 1 ? 100 : 200;
  }
  void TearDown() override {
    HideSubjectName = 0;
    NavTest::TearDown();
  }
  LyrWorkspaceDataInfoView& DataInfo() { return *Frame().WorkspaceTabs.DataInfoPane; }
  LyrWorkspaceLogicView& Logic() { return *Frame().WorkspaceTabs.LogicPane; }
};

TEST_F(WorkspacePanes, DataInformationListsWhatTheRecordingHas) {
  CQLM2_AnalyzerDoc& d = Doc();
  LyrRecordInfo& r = d.RecordInfo;
  r.subjectName = "Tanaka";
  r.gender = 0;
  r.ageYears = 34;
  r.ageMonths = 5;
  r.memo = "baseline";
  r.freeComments[0] = {"Subject name", "Taro Tanaka"};
  r.freeComments[4] = {"Ward", "3"};
  d.ResultPath = "/data/night7_01.raf";
  ResultModifiedState = 0;
  DataInfo().UpdateDataInfo();
  DataInfo().UpdateDataInfo();
  EXPECT_EQ(DataInfo().List().GetColumnCount(), 2) << "refreshing twice keeps two columns";
  // No result file row without results; comments 0 to 4 with the three empty between.
  const Rows expected = {{"File name", "night7.fyd"},
                         {"Subject", "Tanaka"},
                         {"Gender", "Male"},
                         {"Age", "34Year 5Month"},
                         {"Memo", "baseline"},
                         {"Subject name", "Taro Tanaka"},
                         {"", ""},
                         {"", ""},
                         {"", ""},
                         {"Ward", "3"},
                         {"Sampling(Hz)", "1,3ch-200Hz/2ch-100Hz/"}};
  EXPECT_EQ(ListRows(DataInfo().List()), expected);

  // Hidden names: six letters give six stars, the comment labelled as a name is masked.
  HideSubjectName = 1;
  ResultModifiedState = 1;
  r.gender = -1;
  r.ageYears = 0;
  r.ageMonths = 0;
  DataInfo().UpdateDataInfo();
  const Rows rows = ListRows(DataInfo().List());
  ASSERT_GE(rows.size(), 4u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"Result analysis file name", "night7_01.raf"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"Subject", "******"}));
  EXPECT_EQ(rows[3][0], "Memo") << "neither gender nor age without them";
  EXPECT_EQ(rows[4], (std::vector<std::string>{"Subject name", "***********"}));
  EXPECT_EQ(rows[8], (std::vector<std::string>{"Ward", "3"}));

  // No recording: the rows stay as they were.
  DocumentLoaded = 0;
  r.memo = "other";
  DataInfo().UpdateDataInfo();
  EXPECT_EQ(ListRows(DataInfo().List()), rows);
  DataInfo().ClearList();
  EXPECT_EQ(DataInfo().List().GetCount(), 0);
}

TEST_F(WorkspacePanes, JapaneseMaskingWordsHideTheirComments) {
  res::SetLanguage(res::Language::Japanese);
  Doc().RecordInfo.freeComments[0] = {"被検者名", "田中"};
  Doc().RecordInfo.freeComments[1] = {"病棟", "3"};
  HideSubjectName = 1;
  DataInfo().UpdateDataInfo();
  const Rows rows = ListRows(DataInfo().List());
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[1][1], "**");
  EXPECT_EQ(rows[2][1], "3");
  res::SetLanguage(res::Language::English);
}

LogicCondition Condition(std::uint8_t stage, std::uint16_t code, std::uint16_t channel, bool second = false) {
  LogicCondition c;
  c.stage = stage;
  c.term1.lower = 1.5f;
  c.term1.lowerOp = 0;
  c.term1.valueCode = code;
  c.term1.channel = channel;
  c.term1.upperOp = 2;
  c.term1.upper = 20.25f;
  c.andSwitch = second ? 1 : 0;
  c.term2 = c.term1;
  c.term2.lowerOp = 1;
  c.term2.upperOp = 1;
  return c;
}

TEST_F(WorkspacePanes, LogicListShowsTheConditionsAndTheDefaultStage) {
  auto& set = Doc().Params.logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)];
  set = {};
  set[0] = Condition(1, 20, 0, true);
  set[1] = Condition(2, 5, 0);
  set[2] = Condition(5, 5, 0);
  Logic().UpdateLogicList(1);
  ui::Control list = Logic().List();
  ASSERT_EQ(list.GetColumnCount(), 15);
  EXPECT_EQ(list.GetCount(), 3);
  const Rows rows = ListRows(list);
  std::string s1, s2, s5;
  Doc().GetStageName(1, s1);
  Doc().GetStageName(2, s2);
  Doc().GetStageName(5, s5);
  // Channel 0 with code 20 (measured on a channel) names it; code 5 leaves it empty.
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[0][1], s1);
  EXPECT_EQ(rows[0][2], "1.500");
  EXPECT_EQ(rows[0][3], "<");
  EXPECT_EQ(rows[0][5], " 1:C3-A2");
  EXPECT_EQ(rows[0][6], "<");
  EXPECT_EQ(rows[0][7], "20.250");
  EXPECT_EQ(rows[0][8], "&");
  EXPECT_EQ(rows[0][10], "<=") << "lower operator 1 shows <=";
  EXPECT_EQ(rows[0][13], "<=") << "upper operator 1 shows <= too";
  EXPECT_EQ(rows[1][5], "");
  EXPECT_EQ(rows[1][8], "") << "one range: no second part";
  EXPECT_EQ(rows[2], (std::vector<std::string>{"3", s5, "", "", "", "", "", "", "", "", "", "", "", "", ""}));

  // A refill keeps the second row selected; without a selection the first is selected.
  list.SetCurSel(1);
  Logic().UpdateLogicList(0);
  EXPECT_EQ(list.GetSelectedIndexes(), std::vector<int>{1});
  list.SetCurSel(-1);
  Logic().UpdateLogicList(0);
  EXPECT_EQ(list.GetSelectedIndexes(), std::vector<int>{0});

  // The first slot not in use: one row with its stage.
  set = {};
  Logic().UpdateLogicList(0);
  EXPECT_EQ(list.GetCount(), 0);
  set[0] = Condition(3, 5, 0);
  Logic().UpdateLogicList(0);
  EXPECT_EQ(list.GetCount(), 1);
  Logic().ClearList();
  EXPECT_EQ(list.GetColumnCount(), 0);
}

}  // namespace
