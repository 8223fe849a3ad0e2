// The stage graph pane in the program's workspace: its table and drawing over a scored
// recording, its set-up dialog's checks and its text output with the line limit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/frame/frame_globals.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/workspace_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "tests/navigation/nav_fixture.h"

namespace {

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

class StageGraphPane : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    saved_ = {StageGraphType, StageGraphYUnit, StageGraphXAxisMode};
    savedDivision_ = StageGraphTimeDivision;
    savedFlags_ = ReportWorkspaceSettings;
    savedMax_ = TextOutputMaxLine;
    savedTab_ = OutputDelimiterIsTab;
    OutputDelimiterIsTab = 0;
    testhooks::Reset();
  }
  void TearDown() override {
    StageGraphType = saved_[0];
    StageGraphYUnit = saved_[1];
    StageGraphXAxisMode = saved_[2];
    StageGraphTimeDivision = savedDivision_;
    ReportWorkspaceSettings = savedFlags_;
    TextOutputMaxLine = savedMax_;
    OutputDelimiterIsTab = savedTab_;
    testhooks::Reset();
    NavTest::TearDown();
  }
  LyrWorkspaceStageGraphView& Graph() { return *Frame().WorkspaceTabs.StageGraphPane; }
  LyrWorkspaceFrame& WsFrame() { return *Frame().WorkspaceView()->Frame(); }
  // A night of `epochs` 30-s epochs, all scored `code`.
  void Night(int epochs, int code, int epochSeconds = 30) {
    Load(epochSeconds, 240, epochs);
    for (int e = 0; e < epochs; ++e) Doc().EpochTables.SetStage(e, static_cast<std::uint8_t>(code));
  }
  std::array<std::uint16_t, 3> saved_{};
  std::int32_t savedDivision_ = 0;
  std::array<std::uint32_t, 5> savedFlags_{};
  std::int32_t savedMax_ = 0;
  std::uint16_t savedTab_ = 0;
};

TEST_F(StageGraphPane, TableHasOneRowPerFullDivisionAndItsClickJumps) {
  Night(95, 2);
  StageGraphTimeDivision = 5;  // 10 epochs of 30 s
  StageGraphYUnit = 0;
  Graph().FirstEpoch = 0;
  Graph().LastEpoch = 94;
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[1] = 1;
  ASSERT_EQ(Graph().OutputText(2), 1);
  EXPECT_EQ(Graph().TableRows(), 9) << "95 epochs at 10 a division; the last 5 appear nowhere";
  EXPECT_EQ(Graph().List().GetItemText(0, 1), "100.0");
  EXPECT_EQ(Graph().DivisionStarts[3], 30);
  // A click on row 3 makes its first epoch current.
  Graph().List().SetSelected(3, true);
  Graph().OnControlNotify(LyrWorkspaceListPane::kListId, ui::NM_CLICK);
  EXPECT_EQ(Doc().CurrentEpoch, 30);
  // Nothing chosen: no rows, nothing drawn.
  Graph().StageItemFlags = {};
  ASSERT_EQ(Graph().OutputText(2), 1);
  EXPECT_EQ(Graph().List().GetColumnCount(), 1);
}

// Counts the pixels of a colour inside a rectangle.
int CountColour(const draw::Image& img, const ui::Rect& r, draw::ColorRef c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (x >= 0 && y >= 0 && x < img.Width() && y < img.Height() && img.GetPixel(x, y) == c) ++n;
  return n;
}

TEST_F(StageGraphPane, BarsAreLinesFillsOrOutlinedBlocksByTheirWidth) {
  Night(100, 1);
  StageGraphTimeDivision = 5;  // 10 divisions
  StageGraphType = 1;
  Graph().FirstEpoch = 0;
  Graph().LastEpoch = 99;
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[0] = 1;
  Graph().UtilityMode = 1;  // the plot reaches 20 pixels short of the area's right edge
  Graph().Utility.stageType = &Doc().Params.stageType;
  Graph().Utility.epochSeconds = 30;
  Graph().Utility.lastEpoch = 99;
  Graph().Utility.stageOf = [](int) { return 1; };
  const draw::ColorRef colour = 0x0000FF;
  Doc().Params.stageType.Set(Doc().Params.stageType.stageType)[0].colour = colour;
  // Plot widths 29, 49 and 50 pixels give 2.9, 4.9 and 5.0 pixels a division.
  for (const auto& [plotWidth, outlined] : {std::pair{29, false}, std::pair{49, false}, std::pair{50, true}}) {
    draw::Image img(400, 300, 32);
    draw::Dc dc(img);
    dc.FillSolidRect(draw::RectFromSize(0, 0, 400, 300), 0xFFFFFF);
    const ui::Size text = dc.GetTextExtent("8888");
    const ui::Rect area{0, 0, text.cx + 10 + plotWidth - 1 + 20, 300};
    const ui::Rect g = Graph().GetGraphRect(area, text, 100 * 30);
    ASSERT_EQ(g.right - g.left + 1, plotWidth);
    Graph().DrawGraph(dc, area);
    // Inside the first bar, above its bottom edge.
    const ui::Rect inside{g.left + 1, g.top + 3, g.left + 3, g.bottom - 2};
    EXPECT_GT(CountColour(img, inside, colour), 0) << plotWidth;
    EXPECT_EQ(CountColour(img, ui::Rect{g.left, g.top + 2, g.left + plotWidth / 10 + 1, g.bottom - 2}, 0x000000) > 0,
              outlined)
        << plotWidth << ": only divisions of 5 pixels and more are outlined";
  }
  Graph().UtilityMode = 0;
  Graph().Utility = {};
}

TEST_F(StageGraphPane, MonochromePagesHatchTheFirstItemsAndGreyTheLast) {
  Night(40, 7);
  StageGraphTimeDivision = 10;  // 2 divisions: wide bands
  StageGraphType = 2;
  Graph().FirstEpoch = 0;
  Graph().LastEpoch = 39;
  Graph().StageItemFlags = {};
  // Type 0: item 6 is stage 7; items 6..9 print white, dark grey, black and light grey.
  Doc().Params.stageType.stageType = 0;
  Doc().Params.stageType.sharedInUse = 3;
  const std::pair<int, draw::ColorRef> items[] = {{6, 0xFFFFFF}, {7, 0x555555}, {8, 0x000000}, {9, 0xAAAAAA}};
  for (const auto& [item, grey] : items) {
    for (int e = 0; e < 40; ++e) Doc().EpochTables.SetStage(e, static_cast<std::uint8_t>(item + 1));
    Graph().StageItemFlags = {};
    Graph().StageItemFlags[static_cast<std::size_t>(item)] = 1;
    draw::Image img(1200, 900, 32);
    draw::Dc dc(img);
    dc.FillSolidRect(draw::RectFromSize(0, 0, 1200, 900), 0x00FF00);
    Graph().DrawPage(dc, draw::RectFromSize(0, 0, 1200, 900), false);
    const ui::Rect g = Graph().PrintRect;
    const ui::Rect mid{(g.left + g.right) / 2 - 5, (g.top + g.bottom) / 2 - 5, (g.left + g.right) / 2 + 5,
                       (g.top + g.bottom) / 2 + 5};
    EXPECT_EQ(CountColour(img, mid, grey), 100) << "item " << item;
  }
  // Item 0 is hatched: its colour and the page show through each other.
  for (int e = 0; e < 40; ++e) Doc().EpochTables.SetStage(e, 1);
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[0] = 1;
  const draw::ColorRef colour = Doc().Params.stageType.Set(0)[0].colour;
  draw::Image img(1200, 900, 32);
  draw::Dc dc(img);
  dc.FillSolidRect(draw::RectFromSize(0, 0, 1200, 900), 0x00FF00);
  Graph().DrawPage(dc, draw::RectFromSize(0, 0, 1200, 900), false);
  const ui::Rect g = Graph().PrintRect;
  const ui::Rect mid{(g.left + g.right) / 2 - 10, (g.top + g.bottom) / 2 - 10, (g.left + g.right) / 2 + 10,
                     (g.top + g.bottom) / 2 + 10};
  const int hatch = CountColour(img, mid, colour);
  EXPECT_GT(hatch, 0);
  EXPECT_LT(hatch, 400);
}

TEST_F(StageGraphPane, SetupRefusesOddDivisionsOfEightSecondEpochs) {
  Night(95, 2, 8);
  StageGraphTimeDivision = 2;
  std::vector<std::string> shown;
  testhooks::ScriptDialog(187, [&](ui::Dialog& d) {
    d.Item(1518).SetSelected(1, true);
    d.SetDlgItemText(1519, "3");
    d.ClickButton(ui::IDOK);
    for (const auto& b : testhooks::ShownMessageBoxes()) shown.push_back(b.text);
    EXPECT_FALSE(d.IsEnded());
    d.SetDlgItemText(1519, "4");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32956));
  EXPECT_EQ(shown, std::vector<std::string>{"Only an even number is valid for the 8sec. epoch."});
  EXPECT_EQ(StageGraphTimeDivision, 4);
  EXPECT_EQ(Graph().StageItemFlags[1], 1);
  EXPECT_EQ(StageGraphStageFlag(1), 1);
  EXPECT_EQ(Graph().TableRows(), 95 / (4 * 60 / 8)) << "30 epochs a division";
}

TEST_F(StageGraphPane, AnUnscoredEpochStoresNothingAndListsTheEpoch) {
  Night(40, 2);
  Doc().EpochTables.SetStage(7, 0);
  StageGraphType = 0;
  StageGraphTimeDivision = 5;
  testhooks::ScriptDialog(187, [](ui::Dialog& d) {
    d.Item(1518).SetSelected(0, true);
    d.CheckRadioButton(1513, 1515, 1514);
    d.SetDlgItemText(1519, "10");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32956));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "All the epochs must be specified.");
  EXPECT_EQ(StageGraphType, 0) << "nothing stored";
  EXPECT_EQ(StageGraphTimeDivision, 5);
  EXPECT_EQ(Frame().WorkspaceTabs.CurrentPane, 9);
  const ui::Control found = Frame().WorkspaceTabs.SearchStrip->StagePane->List();
  ASSERT_EQ(found.GetCount(), 1);
  EXPECT_EQ(std::atoi(found.GetItemText(0, 1).c_str()), 7);
}

TEST_F(StageGraphPane, CancelKeepsTheRangeAndItemsAndRefusesAnOutOfRangeDivision) {
  Night(40, 2);
  Graph().FirstEpoch = 2;
  Graph().LastEpoch = 30;
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[1] = 1;
  StageGraphType = 0;
  StageGraphTimeDivision = 5;
  // 40 epochs: at most 20 x 30 s = 10 min.
  testhooks::ScriptDialog(187, [](ui::Dialog& d) {
    d.Item(1518).SetSelected(0, true);
    d.CheckRadioButton(1513, 1515, 1514);
    d.SetDlgItemText(1519, "0");
    d.ClickButton(ui::IDCANCEL);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32956));
  EXPECT_EQ(StageGraphType, 1);
  EXPECT_EQ(StageGraphTimeDivision, 5) << "a division of 0 would hide the graph";
  EXPECT_EQ(Graph().FirstEpoch, 2);
  EXPECT_EQ(Graph().LastEpoch, 30);
  EXPECT_EQ(Graph().StageItemFlags[0], 0);
  // OK with a division above the limit keeps the dialog open and stores nothing.
  testhooks::Reset();
  bool open = false;
  testhooks::ScriptDialog(187, [&](ui::Dialog& d) {
    d.Item(1518).SetSelected(0, true);
    d.CheckRadioButton(1513, 1515, 1515);
    d.SetDlgItemText(1519, "11");
    d.ClickButton(ui::IDOK);
    open = !d.IsEnded();
    d.EndDialog(ui::IDCANCEL);
  });
  StageGraphType = 0;
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32956));
  EXPECT_TRUE(open);
  ASSERT_FALSE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Enter a whole number from 1 to 10.");
}

TEST_F(StageGraphPane, TextOutputSplitsAtTheLineLimitCountingTheHeader) {
  Night(40, 2);
  const std::string folder = sys::CreateTempFolder("i30sg");
  Doc().RecordInfo.path = folder + "/night.edf";
  Graph().FirstEpoch = 0;
  Graph().LastEpoch = 39;
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[1] = 1;
  StageGraphTimeDivision = 1;  // 2 epochs: 20 rows
  ASSERT_EQ(Graph().OutputText(2), 1);
  OutputToClipboard = 0;
  // The limit: 30 lines; the header (16 lines), an empty line and the heading count too.
  testhooks::AnswerMessageBox(ui::IDOK);
  testhooks::AnswerFileDialog(ui::IDOK, {folder + "/second.txt"});
  std::string path;
  testhooks::ScriptDialog(190, [&](ui::Dialog& d) {
    path = d.GetDlgItemText(1569);
    d.CheckDlgButton(1565, 1);
    d.SetDlgItemText(1566, "30");
    d.ClickButton(1627);
    d.EndDialog(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32959));
  EXPECT_EQ(path, folder + "/night_SG.txt");
  const std::vector<std::string> first = Lines(folder + "/night_SG.txt");
  const std::vector<std::string> second = Lines(folder + "/second.txt");
  ASSERT_EQ(first.size(), 30u);
  EXPECT_EQ(first[17], "Time," + StageGraphItemNames(Doc().Params.stageType)[1] + ",")
      << "the heading names the chosen item";
  // 20 rows: 12 in the first file, 8 after the header and its empty line in the second.
  ASSERT_EQ(second.size(), 17u + 8u);
  EXPECT_EQ(second[17].substr(second[17].find(',')), ",100.0,");
  std::vector<std::string> texts;
  for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Enter new file name.", "Text output is complete."}));
  std::filesystem::remove_all(folder);
}

TEST_F(StageGraphPane, AFileThatCannotBeMadeIsReportedAsSuch) {
  Night(40, 2);
  Graph().FirstEpoch = 0;
  Graph().LastEpoch = 39;
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[1] = 1;
  StageGraphTimeDivision = 5;
  ASSERT_EQ(Graph().OutputText(2), 1);
  ASSERT_GT(Graph().TableRows(), 0);
  OutputToClipboard = 0;
  Doc().RecordInfo.path = "/nonexistent-folder-i30/night.edf";
  testhooks::ScriptDialog(190, [&](ui::Dialog& d) {
    d.ClickButton(1627);
    d.EndDialog(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32959));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "There was an error saving this file.");
}

TEST_F(StageGraphPane, PrintCommandPrintsOnePageThroughThePrintDialog) {
  Night(40, 2);
  Graph().FirstEpoch = 0;
  Graph().LastEpoch = 39;
  Graph().StageItemFlags = {};
  Graph().StageItemFlags[1] = 1;
  StageGraphTimeDivision = 5;
  ASSERT_EQ(Graph().OutputText(2), 1);
  const std::string folder = sys::CreateTempFolder("i30pr");
  testhooks::AnswerPrintDialog(ui::IDOK, folder + "/graph.pdf");
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 33066));
  EXPECT_EQ(Frame().WorkspaceTabs.CurrentPane, 6);
  EXPECT_GT(std::filesystem::file_size(folder + "/graph.pdf"), 0u);
  EXPECT_EQ(PrintTarget, 0) << "back to the screen after printing";
  std::filesystem::remove_all(folder);
}

}  // namespace
