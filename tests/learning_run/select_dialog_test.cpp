// The Select Learning File (491), Input Item (223) and Learning (490) dialogs driven by
// control id under the offscreen platform, and the similarity ranking.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/scoring/candidate_similarity.h"
#include "app/scoring/lyr_dlg_input_item.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "app/scoring/lyr_dlg_select_learning_file.h"
#include "msf_fixture.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"

namespace {

using namespace learning_run;
using Dlg = LyrDlgSelectLearningFile;

class SelectDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    testhooks::Reset();
    LyrAutoStaging::MessageSink() = [this](const std::string& t) { messages.push_back(t); };
    dlg.modelFolder = folder.Path();
    dlg.parameters.pathTableSize = 20;
    dlg.parameters.cutPointLimit = 10;
    dlg.parameters.sampleLimit = 30000;
    dlg.parameters.significanceLevel = 0.05;
    dlg.parameters.confidenceFactor = 0.25;
    dlg.parameters.cumulativeThreshold = 0.8;
    dlg.parameters.selectionLimit = 10;
    dlg.displayItems.fill(1);
    dlg.learningInfo.recordingFile = "open.EEG";
    dlg.learningInfo.epochTime = 30;
    dlg.learningInfo.no = "1";
    dlg.modelTemplate.featurePresent = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    dlg.modelTemplate.classCount = 7;
  }
  void TearDown() override {
    LyrAutoStaging::MessageSink() = nullptr;
    testhooks::Reset();
  }
  // Runs the dialog with the script; the result of DoModal.
  int Open(std::function<void(Dlg&)> script) {
    testhooks::ScriptDialog(Dlg::kTemplateId, [script](ui::Dialog& d) { script(dynamic_cast<Dlg&>(d)); });
    return dlg.DoModal();
  }
  static std::vector<std::string> Column(const ui::Control& list, int col) {
    std::vector<std::string> out;
    for (int r = 0; r < list.GetCount(); ++r) out.push_back(list.GetItemText(r, col));
    return out;
  }
  MsfSpec Named(const std::string& recording, std::uint16_t stageType = 0) {
    MsfSpec s = SquaresSpec();
    s.recording = recording;
    s.stageType = stageType;
    return s;
  }

  TempFolder folder;
  Dlg dlg;
  std::vector<std::string> messages;
};

TEST_F(SelectDialogTest, ColumnsWidthsAndStageTypeTexts) {
  for (std::uint16_t t = 0; t < 4; ++t) folder.Write("type" + std::to_string(t) + ".msf", Named("n.EEG", t));
  Open([](Dlg& d) {
    const char* titles[] = {"No", "File Name", "Similarity", "StageType", "Day", "ExperimentNo", "Service",
                            "Engineer", "Doctor", "EpochTime", "Name", "ID", "Age", "Sex", "Height", "Weight"};
    for (int list : {Dlg::IDC_RAW_LIST, Dlg::IDC_CANDIDATES, Dlg::IDC_LEARNING_LIST}) {
      ui::Control l = d.Item(list);
      ASSERT_EQ(l.GetColumnCount(), 16) << list;
      for (int col = 0; col < 16; ++col) EXPECT_EQ(l.GetColumnTitle(col), titles[col]);
      EXPECT_EQ(l.GetColumnWidth(1), 100);
      // "No" and "Similarity" are at least as wide as their titles.
      EXPECT_GE(l.GetColumnWidth(0), 30);
      EXPECT_GE(l.GetColumnWidth(2), 50);
      EXPECT_EQ(l.GetColumnWidth(3), 100);
      EXPECT_EQ(l.GetColumnWidth(4), 80);
    }
    ui::Control c = d.Item(Dlg::IDC_CANDIDATES);
    ASSERT_EQ(c.GetCount(), 4);
    std::vector<std::string> types = Column(c, 3);
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<std::string>{"Wake,REM,Light,Deep,MT", "Wake,REM,NonREM,MT",
                                               "Wake,REM,S1,S2,Deep,MT", "Wake,REM,S1,S2,S3,S4,MT"}));
    EXPECT_EQ(Column(c, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(c.GetItemText(0, 14), "170.0");  // Height
    EXPECT_EQ(c.GetItemText(0, 12), "40");     // Age
    ui::Control raw = d.Item(Dlg::IDC_RAW_LIST);
    ASSERT_EQ(raw.GetCount(), 1);
    EXPECT_EQ(raw.GetItemText(0, 0), "");
    EXPECT_EQ(raw.GetItemText(0, 1), "open.EEG");
    EXPECT_EQ(raw.GetItemText(0, 2), "100");
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_MAXIMUM), "20");
  });
}

TEST_F(SelectDialogTest, ListsBothExtensionsAndNamesARefusedVersion) {
  folder.Write("a.msf", Named("a.EEG"));
  folder.Write("B.MSF", Named("b.EEG"));
  MsfSpec old = Named("c.EEG");
  old.version = 99;
  const std::string oldPath = folder.Write("old.msf", old);
  sys::WriteFileAtomic(folder.Path() + "/notes.txt", "not a learning file");
  Open([](Dlg& d) {
    std::vector<std::string> names = Column(d.Item(Dlg::IDC_CANDIDATES), 1);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.MSF", "a.msf"}));
  });
  EXPECT_EQ(messages, std::vector<std::string>{oldPath + " can't read or version incorrect. 2013"});
}

TEST_F(SelectDialogTest, ADamagedFileIsSkippedAlone) {
  folder.Write("a.msf", Named("a.EEG"));
  const std::string cut = folder.Path() + "/b.msf";
  sys::WriteFileAtomic(cut, MsfBytes(Named("b.EEG")).substr(0, 500));
  folder.Write("c.msf", Named("c.EEG"));
  Open([](Dlg& d) {
    std::vector<std::string> names = Column(d.Item(Dlg::IDC_CANDIDATES), 1);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.msf", "c.msf"})) << "the files around it stay listed";
  });
  EXPECT_EQ(messages, std::vector<std::string>{cut + " can't read or version incorrect. 2013"});
}

TEST_F(SelectDialogTest, AnEmptyFolderLeavesOkDisabled) {
  Open([](Dlg& d) {
    EXPECT_EQ(d.Item(Dlg::IDC_CANDIDATES).GetCount(), 0);
    EXPECT_EQ(d.Item(Dlg::IDC_LEARNING_LIST).GetCount(), 0);
    EXPECT_FALSE(d.Item(ui::IDOK).IsEnabled());
    for (int id : {Dlg::IDC_SELECT, Dlg::IDC_DELETE, Dlg::IDC_REMOVE, Dlg::IDC_PREVIOUS})
      EXPECT_FALSE(d.Item(id).IsEnabled()) << id;
  });
}

TEST_F(SelectDialogTest, TheRecordingsOwnFilePreselectsItsLearningFilesUpToTheMaximum) {
  MsfSpec own = Named("open.EEG");
  own.learningFiles = {"x.msf", "y.msf", "z.msf"};
  folder.Write("own.msf", own);
  for (const char* n : {"x.msf", "y.msf", "z.msf"}) folder.Write(n, Named("other.EEG"));
  Open([](Dlg& d) {
    EXPECT_EQ(d.LearningCount(), 3);
    EXPECT_EQ(d.Item(Dlg::IDC_LEARNING_LIST).GetCount(), 3);
    EXPECT_EQ(d.Item(Dlg::IDC_CANDIDATES).GetCount(), 1);
    EXPECT_TRUE(d.Item(ui::IDOK).IsEnabled());
  });
  dlg.parameters.pathTableSize = 2;
  Open([](Dlg& d) {
    EXPECT_EQ(d.LearningCount(), 2) << "the maximum number of data holds for the preselection too";
    EXPECT_EQ(d.Item(Dlg::IDC_LEARNING_LIST).GetCount(), 2);
  });
}

TEST_F(SelectDialogTest, SelectStaysDisabledPastTheMaximum) {
  MsfSpec own = Named("open.EEG");
  own.learningFiles = {"l1.msf", "l2.msf"};
  folder.Write("own.msf", own);
  for (const char* n : {"l1.msf", "l2.msf", "c1.msf", "c2.msf"}) folder.Write(n, Named("other.EEG"));
  dlg.parameters.pathTableSize = 3;
  Open([](Dlg& d) {
    ASSERT_EQ(d.LearningCount(), 2);
    ui::Control c = d.Item(Dlg::IDC_CANDIDATES);
    ASSERT_EQ(c.GetCount(), 3);
    c.SetSelected(0, true);
    c.SetSelected(1, true);
    EXPECT_FALSE(d.Item(Dlg::IDC_SELECT).IsEnabled()) << "2 + 2 files exceed 3";
    EXPECT_TRUE(d.Item(Dlg::IDC_REMOVE).IsEnabled());
    c.SetSelected(1, false);
    EXPECT_TRUE(d.Item(Dlg::IDC_SELECT).IsEnabled());
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_SELECT));
    EXPECT_EQ(d.LearningCount(), 3);
    EXPECT_EQ(d.Item(Dlg::IDC_LEARNING_LIST).GetCount(), 3);
    EXPECT_EQ(c.GetCount(), 2);
    EXPECT_FALSE(d.Item(Dlg::IDC_SELECT).IsEnabled());
    // Back out of the learning list.
    ui::Control l = d.Item(Dlg::IDC_LEARNING_LIST);
    l.SetSelected(0, true);
    EXPECT_TRUE(d.Item(Dlg::IDC_DELETE).IsEnabled());
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_DELETE));
    EXPECT_EQ(d.LearningCount(), 2);
    EXPECT_EQ(c.GetCount(), 3);
  });
}

TEST_F(SelectDialogTest, PreviousDataTakesTheFilesASelectedCandidateLearnedFrom) {
  MsfSpec earlier = Named("earlier.EEG");
  earlier.learningFiles = {"p1.msf", "p2.msf"};
  folder.Write("earlier.msf", earlier);
  for (const char* n : {"p1.msf", "p2.msf", "q.msf"}) folder.Write(n, Named("other.EEG"));
  Open([](Dlg& d) {
    ui::Control c = d.Item(Dlg::IDC_CANDIDATES);
    const std::vector<std::string> names = Column(c, 1);
    const auto row = static_cast<int>(std::find(names.begin(), names.end(), "earlier.msf") - names.begin());
    c.SetSelected(row, true);
    ASSERT_TRUE(d.Item(Dlg::IDC_PREVIOUS).IsEnabled());
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_PREVIOUS));
    std::vector<std::string> chosen = Column(d.Item(Dlg::IDC_LEARNING_LIST), 1);
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(chosen, (std::vector<std::string>{"p1.msf", "p2.msf"}));
  });
}

TEST_F(SelectDialogTest, SimilarityFirstSortsAscendingThenDescending) {
  MsfSpec same = Named("s.EEG");  // No "1" as the raw data
  MsfSpec other = Named("o.EEG");
  other.no = "9";
  other.service = "Neuro";
  folder.Write("same.msf", same);
  folder.Write("other.msf", other);
  Open([](Dlg& d) {
    ui::Control c = d.Item(Dlg::IDC_CANDIDATES);
    EXPECT_EQ(Column(c, 1), (std::vector<std::string>{"same.msf", "other.msf"})) << "most similar first";
    ASSERT_TRUE(c.ClickColumn(2));
    EXPECT_EQ(d.SortFlags()[Dlg::kSortSimilarity], 0);
    EXPECT_EQ(Column(c, 1), (std::vector<std::string>{"other.msf", "same.msf"}));
    ASSERT_TRUE(c.ClickColumn(2));
    EXPECT_EQ(Column(c, 1), (std::vector<std::string>{"same.msf", "other.msf"}));
    ASSERT_TRUE(c.ClickColumn(0));  // "No" sorts nothing
    EXPECT_EQ(d.SortFlags()[Dlg::kSortSimilarity], 1);
    ASSERT_TRUE(c.ClickColumn(1));  // File Name: ascending first too
    EXPECT_EQ(Column(c, 1), (std::vector<std::string>{"other.msf", "same.msf"}));
    ASSERT_TRUE(c.ClickColumn(1));
    EXPECT_EQ(Column(c, 1), (std::vector<std::string>{"same.msf", "other.msf"}));
  });
}

TEST_F(SelectDialogTest, FolderBringsBackRemovedFiles) {
  folder.Write("a.msf", Named("a.EEG"));
  folder.Write("b.msf", Named("b.EEG"));
  const std::string path = folder.Path();
  Open([path](Dlg& d) {
    ui::Control c = d.Item(Dlg::IDC_CANDIDATES);
    c.SetSelected(0, true);
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_REMOVE));
    EXPECT_EQ(c.GetCount(), 1);
    EXPECT_TRUE(std::filesystem::exists(path + "/a.msf") && std::filesystem::exists(path + "/b.msf"));
    testhooks::AnswerFolderDialog(ui::IDOK, path);
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_FOLDER));
    EXPECT_EQ(c.GetCount(), 2);
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_FOLDER_EDIT), path);
  });
}

TEST_F(SelectDialogTest, ListsScrollSidewaysAndSizeColumnsInStep) {
  folder.Write("a.msf", Named("a.EEG"));
  Open([](Dlg& d) {
    testhooks::RenderWindow(d);  // lays the lists out
    ui::Control c = d.Item(Dlg::IDC_CANDIDATES);
    ASSERT_GT(c.GetScrollXMax(), 40) << "the columns are wider than the list";
    c.ScrollHorizontally(40);
    EXPECT_EQ(d.Item(Dlg::IDC_RAW_LIST).GetScrollX(), 40);
    EXPECT_EQ(d.Item(Dlg::IDC_LEARNING_LIST).GetScrollX(), 40);
    c.ScrollHorizontally(10);
    EXPECT_EQ(d.Item(Dlg::IDC_RAW_LIST).GetScrollX(), 10);
    EXPECT_EQ(d.Item(Dlg::IDC_LEARNING_LIST).GetScrollX(), 10);
  });
}

TEST_F(SelectDialogTest, ADifferentStageTypeStopsOk) {
  MsfSpec own = Named("open.EEG", 1);
  own.learningFiles = {"other.msf"};
  folder.Write("own.msf", own);
  folder.Write("other.msf", Named("x.EEG", 1));
  EXPECT_EQ(Open([](Dlg& d) {
              ASSERT_EQ(d.LearningCount(), 1);
              d.ClickButton(ui::IDOK);
              EXPECT_FALSE(d.IsEnded());
            }),
            ui::IDCANCEL);
  EXPECT_EQ(messages, std::vector<std::string>{"Different StageType RawData and other.msf"});
  EXPECT_TRUE(testhooks::ShownDialogs() == std::vector<int>{Dlg::kTemplateId});
}

TEST_F(SelectDialogTest, OkLearnsTheChosenFilesAndHandsTheModelBack) {
  MsfSpec own = Named("open.EEG");
  own.learningFiles = {"a.msf", "b.msf"};
  folder.Write("own.msf", own);
  folder.Write("a.msf", Named("x.EEG"));
  folder.Write("b.msf", Named("y.EEG"));
  std::vector<std::pair<bool, bool>> buttons;
  testhooks::ScriptDialog(LyrDlgLearning::kTemplateId, [&buttons](ui::Dialog& d) {
    auto& l = dynamic_cast<LyrDlgLearning&>(d);
    EXPECT_EQ(l.learningSetCount, 2);
    EXPECT_EQ(l.models[0].featureChosen, (std::array<std::int32_t, 10>{1, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    l.onProgress = [&buttons, &l](int pos) {
      buttons.emplace_back(l.Item(ui::IDOK).IsEnabled(), l.Item(ui::IDCANCEL).IsEnabled());
      EXPECT_EQ(l.Item(LyrDlgLearning::IDC_PROGRESS).GetPos(), pos);
    };
    d.ClickButton(ui::IDOK);
    EXPECT_EQ(l.Item(LyrDlgLearning::IDC_PROGRESS).GetRangeHigh(), 14);
  });
  EXPECT_EQ(Open([](Dlg& d) { d.ClickButton(ui::IDOK); }), ui::IDOK);
  EXPECT_EQ(buttons.size(), 13u);
  for (const auto& [ok, cancel] : buttons) EXPECT_FALSE(ok || cancel) << "disabled while learning";
  ASSERT_EQ(dlg.treeCount, 2);
  ASSERT_EQ(dlg.models.size(), 2u);
  EXPECT_EQ(dlg.selectionCount, 3);
  std::vector<std::string> names = {dlg.models[0].fileName, dlg.models[1].fileName};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.msf", "b.msf"}));
  EXPECT_TRUE(dlg.models[0].topNode);
  EXPECT_TRUE(messages.empty());
}

// --- Input Item -----------------------------------------------------------------------------

class InputItemTest : public testing::Test {
 protected:
  void SetUp() override { testhooks::Reset(); }
  void TearDown() override { testhooks::Reset(); }
};

TEST_F(InputItemTest, NamesAreCutAndNumbersRangeChecked) {
  LyrDlgInputItem dlg;
  dlg.record.Name = "old";
  dlg.record.EpochTime = 30;
  dlg.record.Age = 40;
  dlg.record.Height = 170.0;
  testhooks::ScriptDialog(LyrDlgInputItem::kTemplateId, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(LyrDlgInputItem::IDC_EPOCH_TIME), "30");
    EXPECT_EQ(d.GetDlgItemText(LyrDlgInputItem::IDC_HEIGHT), "170.0");
    d.SetDlgItemText(LyrDlgInputItem::IDC_NAME, "ABCDEFGHIJKLMNOPQRSTUVWXY");  // 25 characters
    d.SetDlgItemText(LyrDlgInputItem::IDC_AGE, "1001");
    d.ClickButton(ui::IDOK);
    EXPECT_FALSE(d.IsEnded());
    d.SetDlgItemText(LyrDlgInputItem::IDC_AGE, "52");
    d.SetDlgItemText(LyrDlgInputItem::IDC_HEIGHT, "1000.1");
    d.ClickButton(ui::IDOK);
    EXPECT_FALSE(d.IsEnded());
    d.SetDlgItemText(LyrDlgInputItem::IDC_HEIGHT, "165.5");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  const auto& boxes = testhooks::ShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Please enter a number between 0 and 1000.");
  EXPECT_EQ(boxes[1].text, "Please enter a number between 0.0 and 1000.0.");
  EXPECT_EQ(dlg.record.Name, "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(dlg.record.Age, 52);
  EXPECT_EQ(dlg.record.Height, 165.5);

  const LearningCandidate before = dlg.record;
  testhooks::ScriptDialog(LyrDlgInputItem::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrDlgInputItem::IDC_NAME, "Other");
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(dlg.record.Name, before.Name);
}

// --- Similarity -------------------------------------------------------------------------------

LearningCandidate Item(std::uint16_t type, std::string no, std::string service, std::string engineer,
                       std::string doctor, std::uint16_t epoch, std::string id, std::string sex) {
  LearningCandidate c;
  c.StageType = type;
  c.No = std::move(no);
  c.Service = std::move(service);
  c.Engineer = std::move(engineer);
  c.Doctor = std::move(doctor);
  c.EpochTime = epoch;
  c.ID = std::move(id);
  c.Sex = std::move(sex);
  return c;
}

LearningItemFlags AllShown() {
  LearningItemFlags f;
  f.fill(1);
  return f;
}

TEST(Similarity, FiveCandidatesMatchTheScript) {
  // Correspondence analysis of the item matrix by numpy's SVD: standard row coordinates on
  // the dimensions reaching 0.8 of the inertia (k = 2), (1 - d / sqrt(k (2A)^2)) x 100.
  const LearningCandidate raw = Item(0, "1", "Sleep", "Ito", "Mori", 30, "ID1", "M");
  const std::vector<LearningCandidate> c = {raw,
                                            Item(0, "2", "Sleep", "Sato", "Mori", 30, "ID2", "F"),
                                            Item(1, "3", "Neuro", "Ito", "Kato", 20, "ID3", "M"),
                                            Item(0, "1", "Sleep", "Ito", "Kato", 30, "ID1", "F"),
                                            Item(2, "5", "Neuro", "Sato", "Mori", 60, "ID5", "F")};
  const SimilarityResult r = ComputeSimilarities(c, raw, AllShown(), 0.8, 10);
  EXPECT_EQ(r.candidates, (std::vector<int>{100, 75, 51, 96, 52}));  // 75.48 51.67 96.83 52.44
  EXPECT_EQ(r.raw, 100);
  EXPECT_TRUE(r.failure.empty());
}

TEST(Similarity, StageTypeAloneAndEdgeCases) {
  const LearningCandidate raw = Item(0, "1", "S", "E", "D", 30, "I", "M");
  LearningItemFlags none{};
  // Two stage types: the raw data's gets 100.
  SimilarityResult r = ComputeSimilarities({Item(0, "", "", "", "", 0, "", ""), Item(2, "", "", "", "", 0, "", "")},
                                           raw, none, 0.8, 10);
  EXPECT_EQ(r.candidates[0], 100);
  EXPECT_LT(r.candidates[1], 100);
  EXPECT_EQ(r.raw, 100);
  // One stage type: no dimension is left.
  r = ComputeSimilarities({Item(0, "", "", "", "", 0, "", ""), Item(0, "", "", "", "", 0, "", "")}, raw, none, 0.8, 10);
  EXPECT_EQ(r.candidates, (std::vector<int>{0, 0}));
  EXPECT_EQ(r.raw, 100);
  // Every shown item equal.
  r = ComputeSimilarities({raw, raw, Item(1, "2", "X", "Y", "Z", 20, "J", "F")}, raw, AllShown(), 0.8, 10);
  EXPECT_EQ(r.candidates[0], 100);
  EXPECT_EQ(r.candidates[1], 100);
  // A 6-s epoch falls in none of the nine columns: it is a 7-s epoch's twin, not a 5-s one's.
  LearningItemFlags epochOnly{};
  epochOnly[kLiEpochTime] = 1;
  auto epoch = [](std::uint16_t e) { return Item(0, "", "", "", "", e, "", ""); };
  r = ComputeSimilarities({epoch(6), epoch(7), epoch(5), epoch(30), epoch(5)}, raw, epochOnly, 1.0, 10);
  EXPECT_EQ(r.candidates[0], r.candidates[1]);
  EXPECT_NE(r.candidates[0], r.candidates[2]);
  EXPECT_EQ(r.candidates[3], 100);
}

TEST_F(SelectDialogTest, DisplayItemsRebuildColumnsWithoutRecomputing) {
  MsfSpec a = Named("a.EEG");
  MsfSpec b = Named("b.EEG");
  b.no = "7";
  folder.Write("a.msf", a);
  folder.Write("b.msf", b);
  Open([](Dlg& d) {
    const std::vector<std::string> before = Column(d.Item(Dlg::IDC_CANDIDATES), 2);
    testhooks::ScriptDialog(489, [](ui::Dialog& items) {
      for (int id = 1201; id <= 1212; ++id) items.CheckDlgButton(id, 0);
      items.ClickButton(ui::IDOK);
    });
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_DISPLAY_ITEM));
    EXPECT_EQ(d.Item(Dlg::IDC_CANDIDATES).GetColumnCount(), 4);
    EXPECT_EQ(Column(d.Item(Dlg::IDC_CANDIDATES), 2), before);
    // Editing the raw data recomputes: now every candidate shares its stage type only.
    testhooks::ScriptDialog(LyrDlgInputItem::kTemplateId, [](ui::Dialog& in) { in.ClickButton(ui::IDOK); });
    ASSERT_TRUE(d.ClickButton(Dlg::IDC_INPUT_ITEM));
    EXPECT_EQ(Column(d.Item(Dlg::IDC_CANDIDATES), 2), (std::vector<std::string>{"0", "0"}));
  });
}

}  // namespace
