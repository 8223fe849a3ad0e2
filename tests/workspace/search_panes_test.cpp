// The search panes: stage, candidate, artifact, event and free searches over the per-epoch
// tables, their messages, the 5,000-row limit, and a click on a row jumping to its epoch.
#include <string>
#include <vector>

#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/workspace_searches.h"
#include "platform/ui/messages.h"
#include "tests/navigation/nav_fixture.h"

namespace {

std::vector<int> EpochsOf(const SearchRows& rows) {
  std::vector<int> epochs;
  for (int r = 0; r < rows.Count(); ++r) epochs.push_back(std::stoi(rows.cells[static_cast<std::size_t>(r * rows.columns + 1)]));
  return epochs;
}

class SearchPanes : public NavTest {
 protected:
  LyrWorkspaceAreaSearchTabCtrl& Strip() { return *Frame().WorkspaceTabs.SearchStrip; }
  void Stage(int epoch, std::uint8_t code) { Doc().EpochTables.SetStage(epoch, code); }
  std::string Name(std::uint8_t code) {
    std::string n;
    Doc().GetStageName(static_cast<signed char>(code), n);
    return n;
  }
};

TEST_F(SearchPanes, StageSearchFindsTheStageAndItsArtifactCode) {
  Stage(3, 2);
  Stage(7, 22);
  Stage(9, 3);
  bool cut = true;
  EXPECT_EQ(EpochsOf(FindStageEpochs(Doc(), 2, &cut)), (std::vector<int>{3, 7}));
  EXPECT_FALSE(cut);
  // "Non stage": the unscored epochs, 0 and 20.
  Stage(3, 20);
  const std::vector<int> unscored = EpochsOf(FindStageEpochs(Doc(), 0, &cut));
  EXPECT_EQ(unscored.size(), static_cast<std::size_t>(kEpochs - 2));
  EXPECT_EQ(unscored[3], 3);
  const SearchRows rows = FindStageEpochs(Doc(), 3, &cut);
  ASSERT_EQ(rows.Count(), 1);
  EXPECT_EQ(rows.cells[0], "  1");
  EXPECT_EQ(rows.cells[1], "  9");
}

TEST_F(SearchPanes, LimitMessageOnlyWhenAHitIsLeftOut) {
  for (int epochs : {5000, 5001}) {
    SCOPED_TRACE(epochs);
    Load(4, 40, epochs);
    for (int e = 0; e < epochs; ++e) Stage(e, 1);
    testhooks::Reset();
    Strip().StagePane->SearchStage(1);
    EXPECT_EQ(Strip().StagePane->List().GetCount(), 5000);
    const std::vector<std::string> expected =
        epochs == 5000 ? std::vector<std::string>{} : std::vector<std::string>{"The epochs exceeded 5,000. The process stoped."};
    std::vector<std::string> texts;
    for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
    EXPECT_EQ(texts, expected);
  }
}

TEST_F(SearchPanes, NothingFoundBeepsAndSaysSo) {
  testhooks::Reset();
  Strip().StagePane->SearchStage(4);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Not found.");
  EXPECT_EQ(testhooks::Beeps(), std::vector<std::uint32_t>{ui::MB_ICONEXCLAMATION});
}

TEST_F(SearchPanes, StageComboOffersTheStagesOfTheStageType) {
  Strip().StagePane->FillStageCombos();
  ui::Control combo = Strip().StagePane->Item(LyrWorkspaceSearchStageView::kStageCombo);
  const int codes = Doc().Params.stageType.stageType == 0 ? 7 : Doc().Params.stageType.stageType == 1 ? 6
                    : Doc().Params.stageType.stageType == 2                                       ? 5
                                                                                                   : 4;
  EXPECT_EQ(combo.GetCount(), 1 + codes + Doc().Params.stageType.sharedInUse);
  EXPECT_EQ(combo.GetString(0), "Non stage");
  EXPECT_EQ(Strip().StagePane->SelectedCode(), 0);
  combo.SetCurSel(combo.GetCount() - 1);
  EXPECT_EQ(Strip().StagePane->SelectedCode(), Doc().Params.stageType.sharedInUse > 0 ? 7 + Doc().Params.stageType.sharedInUse : 7);
}

TEST_F(SearchPanes, CandidatesListOnlyThoseThatDiffer) {
  Stage(2, 1);
  Doc().EpochTables.SetCandidate(2, 0, 1);
  Doc().EpochTables.SetCandidate(2, 1, 2);
  Doc().EpochTables.SetCandidate(2, 2, 3);
  Stage(5, 2);
  Doc().EpochTables.SetCandidate(5, 0, 2);
  const SearchRows rows = FindCandidateEpochs(Doc());
  ASSERT_EQ(EpochsOf(rows), std::vector<int>{2});
  EXPECT_EQ(rows.cells[3], Name(2) + "," + Name(3) + ",");
}

TEST_F(SearchPanes, ArtifactSearchTakesCodesFrom20) {
  Stage(1, 20);
  Stage(2, 105);
  Stage(3, 7);
  Stage(4, 200);  // a negative signed byte
  const SearchRows rows = FindArtifactEpochs(Doc());
  EXPECT_EQ(EpochsOf(rows), (std::vector<int>{1, 2}));
  EXPECT_EQ(rows.cells[3], Name(20));
}

TEST_F(SearchPanes, EventListSkipsEventsBeforeTheFirstSampleAndKeepsTheirNumbers) {
  CQLM2_AnalyzerDoc& d = Doc();
  d.ChInfo[0].startOffset = 100;  // the first sample: 1 s into the file at 100 Hz
  d.EventNames = {"Lights off", "Arousal"};
  d.EventRate = 100;
  d.Events = {{0, 50}, {1, 100}, {1, 100 + 95 * 100}};
  SearchRows rows = ListEvents(d);
  ASSERT_EQ(rows.Count(), 2);
  EXPECT_EQ(rows.cells[0], "  2");
  EXPECT_EQ(rows.cells[1], "0");
  EXPECT_EQ(rows.cells[3], "Arousal");
  EXPECT_EQ(rows.cells[4], "  3");
  EXPECT_EQ(rows.cells[5], "3") << "95 s into 30-s epochs";
  EXPECT_EQ(rows.cells[6].substr(rows.cells[6].size() - 4), ".000");
  // A rate of 0 lists nothing instead of dividing by it.
  d.EventRate = 0;
  EXPECT_EQ(ListEvents(d).Count(), 0);
  d.EventRate = 100;
  Strip().EventPane->UpdateEventList();
  EXPECT_EQ(Strip().EventPane->List().GetCount(), 2);
  d.ChInfo[0].startOffset = 0;
}

TEST_F(SearchPanes, FreeSearchComparesTheStatisticWithTheValue) {
  for (int e = 0; e < kEpochs; ++e) Doc().EpochTables.ChValues(e, kChMax)[0] = static_cast<float>(e);
  // Equality matches both ways; "12abc" reads 12; text without a number reads 0.
  EXPECT_EQ(EpochsOf(FindAmplitudeEpochs(Doc(), 0, 1, ReadSearchValue("37"), true)), (std::vector<int>{37, 38, 39}));
  EXPECT_EQ(EpochsOf(FindAmplitudeEpochs(Doc(), 0, 1, ReadSearchValue("2"), false)), (std::vector<int>{0, 1, 2}));
  EXPECT_DOUBLE_EQ(ReadSearchValue("12abc"), 12.0);
  EXPECT_DOUBLE_EQ(ReadSearchValue("abc"), 0.0);
  const SearchRows rows = FindAmplitudeEpochs(Doc(), 0, 1, 39, true);
  ASSERT_EQ(rows.Count(), 1);
  EXPECT_EQ(rows.cells[3], "39.00");

  LyrWorkspaceSearchFreeView& pane = *Strip().FreePane;
  pane.FillChannelCombo();
  pane.Item(LyrWorkspaceSearchFreeView::kModeCombo).SetCurSel(1);
  testhooks::Reset();
  pane.Search();
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Not specified.");
  pane.Item(LyrWorkspaceSearchFreeView::kValueEdit).SetText("12abc");
  pane.Item(LyrWorkspaceSearchFreeView::kAtLeastRadio).SetCheck(0);
  pane.Item(LyrWorkspaceSearchFreeView::kAtMostRadio).SetCheck(1);
  pane.Search();
  EXPECT_EQ(pane.List().GetCount(), 13);
}

TEST_F(SearchPanes, ClickOnARowJumpsToItsEpochButNotWhileScreening) {
  Stage(17, 3);
  LyrWorkspaceSearchStageView& pane = *Strip().StagePane;
  pane.SearchStage(3);
  ASSERT_EQ(pane.List().GetCount(), 1);
  pane.List().SetCurSel(0);
  const ui::NotifyHeader click{LyrWorkspaceListPane::kListId, ui::NM_CLICK};
  GoTo(0);
  ScreeningRunning = 1;
  pane.SendMessage(ui::WM_NOTIFY, LyrWorkspaceListPane::kListId, reinterpret_cast<std::intptr_t>(&click));
  EXPECT_EQ(Epoch(), 0);
  ScreeningRunning = 0;
  pane.SendMessage(ui::WM_NOTIFY, LyrWorkspaceListPane::kListId, reinterpret_cast<std::intptr_t>(&click));
  EXPECT_EQ(Epoch(), 17);
}

}  // namespace
