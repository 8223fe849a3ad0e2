// The learning settings file ML.ini (the first copy, reading and validation) and Learn: the
// selection run, taking over its model and storing a changed model folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "app/document/byte_image.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/scoring/learned_staging_strings.h"
#include "app/scoring/lyr_dlg_select_learning_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"
#include "staging_model_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace learned;

std::vector<LyrStagingModel> TwoTrees() {
  std::vector<LyrStagingModel> models;
  for (const char* name : {"a.MSF", "b.MSF"}) {
    ModelSpec s;
    s.cuts = {{10}};
    s.tree = Split("1Axis", {100, 101}, {Leaf("Wake", {3, 1}), Leaf("Rem", {1, 3})});
    models.push_back(BuildModel(s));
    models.back().fileName = name;
  }
  return models;
}

class LearningSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    ui::EnsureToolkit();
    res::SetLanguage(res::Language::English);
    testhooks::Reset();
    folder = std::make_unique<testhooks::TempProgramFolder>();
    ini = folder->Path() + "/ML.ini";
  }
  void TearDown() override {
    testhooks::Reset();
    folder.reset();
  }

  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
    return texts;
  }
  // The default file with a field of the record changed.
  template <class T>
  std::string DefaultWith(std::size_t offset, T value) {
    std::string f = LyrAutoStaging::DefaultLearningIni();
    std::memcpy(f.data() + 3 + offset, &value, sizeof(T));
    return f;
  }
  std::string WithFolder(const std::string& folderText) {
    std::string f = LyrAutoStaging::DefaultLearningIni();
    std::fill(f.begin() + 3, f.begin() + 3 + 260, '\0');
    std::copy(folderText.begin(), folderText.end(), f.begin() + 3);
    return f;
  }
  static ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  }
  // The next selection ends with OK as after a learning run and hands back the two trees
  // (and runs `also` first).
  void AnswerWithTwoTrees(std::function<void(LyrDlgSelectLearningFile&)> also = {}) {
    testhooks::ScriptDialog(LyrDlgSelectLearningFile::kTemplateId, [also](ui::Dialog& d) {
      auto& dlg = dynamic_cast<LyrDlgSelectLearningFile&>(d);
      dlg.models = TwoTrees();
      dlg.treeCount = 2;
      dlg.selectionCount = 2;
      if (also) also(dlg);
      dlg.EndDialog(ui::IDOK);
    });
  }

  std::unique_ptr<testhooks::TempProgramFolder> folder;
  std::string ini;
};

TEST_F(LearningSettingsTest, FirstCopyHoldsTheDefaultsAndIsNotReplaced) {
  ASSERT_TRUE(LyrAutoStaging::InstallLearningIni());
  const std::string first = *sys::ReadWholeFile(ini);
  ASSERT_EQ(first.size(), 310u);
  EXPECT_EQ(first.substr(0, 3), "INI");
  EXPECT_EQ(first.substr(307), "FEN");
  LyrAutoStaging s;
  ASSERT_EQ(s.ReadLearningIni(), 1) << testing::PrintToString(Boxes());
  EXPECT_EQ(s.ModelFolder(), folder->Path() + "/");
  EXPECT_EQ(s.parameters.cumulativeThreshold, 0.8);
  EXPECT_EQ(s.parameters.selectionLimit, 10);
  EXPECT_EQ(s.parameters.pathTableSize, 20);
  EXPECT_EQ(s.parameters.sampleLimit, 30000);
  EXPECT_EQ(s.parameters.cutPointLimit, 10);
  EXPECT_EQ(s.parameters.significanceLevel, 0.05);
  EXPECT_EQ(s.parameters.confidenceFactor, 0.25);

  ASSERT_TRUE(sys::WriteFileAtomic(ini, WithFolder("Current")));
  EXPECT_TRUE(LyrAutoStaging::InstallLearningIni());
  ASSERT_EQ(s.ReadLearningIni(), 1);
  EXPECT_EQ(s.ModelFolder(), "Current") << "only \"current\" stands for the program's folder";
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(LearningSettingsTest, EachBadParameterGivesOneMessage) {
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"significance 0", DefaultWith<double>(288, 0.0)},
      {"confidence factor above 1", DefaultWith<double>(296, 1.5)},
      {"sample limit 0", DefaultWith<std::int32_t>(276, 0)},
      {"selection limit 101", DefaultWith<std::int16_t>(272, 101)},
      {"cut-point limit 0", DefaultWith<std::int16_t>(280, 0)},
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    ASSERT_TRUE(sys::WriteFileAtomic(ini, c.file));
    LyrAutoStaging s;
    EXPECT_EQ(s.ReadLearningIni(), 0) << c.what;
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Parameter incorrect in ini File !! : 1043"}) << c.what;
  }
  // All three wrong at once: still one message.
  std::string f = DefaultWith<double>(288, 0.0);
  const double cf = 2.0;
  const std::int32_t limit = 0;
  std::memcpy(f.data() + 3 + 296, &cf, 8);
  std::memcpy(f.data() + 3 + 276, &limit, 4);
  testhooks::Reset();
  ASSERT_TRUE(sys::WriteFileAtomic(ini, f));
  LyrAutoStaging s;
  EXPECT_EQ(s.ReadLearningIni(), 0);
  EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(LearningSettingsTest, LearnTakesTheModelAndSpellsOutTheCurrentFolderOnce) {
  ASSERT_TRUE(LyrAutoStaging::InstallLearningIni());
  LyrAutoStaging s;
  AnswerWithTwoTrees();
  ASSERT_EQ(s.Learn(), 1) << testing::PrintToString(Boxes());
  EXPECT_EQ(s.TreeCount(), 2);
  EXPECT_EQ(s.SelectionCount(), 2);
  EXPECT_EQ(s.Models()[1].fileName, "b.MSF");
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Learning Complete!");
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].type & 0xF0u, ui::MB_ICONINFORMATION);
  EXPECT_EQ(*sys::ReadWholeFile(ini), WithFolder(folder->Path() + "/"));
  EXPECT_EQ(s.StageEpoch(Emg(12)), 2);

  // The folder is now stored as it is used: a second learning leaves the file alone.
  const ino_t before = Inode(ini);
  AnswerWithTwoTrees();
  ASSERT_EQ(s.Learn(), 1);
  EXPECT_EQ(Inode(ini), before);
  EXPECT_EQ(*sys::ReadWholeFile(ini), WithFolder(folder->Path() + "/"));
}

TEST_F(LearningSettingsTest, LearnFailuresKeepOrDropTheModelAsTheyShould) {
  LyrAutoStaging s;
  s.SetModels(TwoTrees());
  // No settings: nothing happens to the held model and no selection is shown.
  EXPECT_EQ(s.Learn(), 0);
  EXPECT_EQ(s.TreeCount(), 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Can't find an ini File. : 1063"});
  EXPECT_TRUE(testhooks::ShownDialogs().empty());

  // Cancel: the old model was let go before the selection.
  ASSERT_TRUE(LyrAutoStaging::InstallLearningIni());
  testhooks::Reset();
  testhooks::ScriptDialog(LyrDlgSelectLearningFile::kTemplateId, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  EXPECT_EQ(s.Learn(), 0);
  EXPECT_EQ(s.TreeCount(), 0);
  EXPECT_TRUE(Boxes().empty());

  // ML.ini gone by the end of the selection: the model is held, the folder not stored.
  testhooks::Reset();
  AnswerWithTwoTrees([this](LyrDlgSelectLearningFile&) { fs::remove(ini); });
  EXPECT_EQ(s.Learn(), 0);
  EXPECT_EQ(s.TreeCount(), 2);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Learning Complete!", "Can't find an ini file.  1023"}));
  EXPECT_FALSE(fs::exists(ini));

  // A folder that does not fit the 260-byte field is refused, never stored cut.
  ASSERT_TRUE(LyrAutoStaging::InstallLearningIni());
  const std::string before = *sys::ReadWholeFile(ini);
  testhooks::Reset();
  AnswerWithTwoTrees([](LyrDlgSelectLearningFile& d) { d.modelFolder = "/" + std::string(259, 'f'); });
  EXPECT_EQ(s.Learn(), 0);
  EXPECT_EQ(s.TreeCount(), 2);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Learning Complete!", "Can't write an ini file. 1003"}));
  EXPECT_EQ(*sys::ReadWholeFile(ini), before);
  // 259 bytes fit.
  testhooks::Reset();
  const std::string longest = "/" + std::string(258, 'f');
  AnswerWithTwoTrees([&](LyrDlgSelectLearningFile& d) { d.modelFolder = longest; });
  EXPECT_EQ(s.Learn(), 1);
  EXPECT_EQ(*sys::ReadWholeFile(ini), WithFolder(longest));
}

TEST_F(LearningSettingsTest, ModelsAreLetGoWhole) {
  // Run under LeakSanitizer: freeing, learning over a held model and closing a document that
  // holds one leave nothing behind.
  auto doc = std::make_unique<CQLM2_AnalyzerDoc>();
  doc->AutoStaging.SetModels(TwoTrees());
  EXPECT_EQ(LyrAutoStaging::FreeNode(&doc->AutoStaging.Models()[0].topNode->children[0]), 1);
  EXPECT_EQ(doc->AutoStaging.FreeModel(), 1);
  EXPECT_EQ(doc->AutoStaging.FreeModel(), 1);
  EXPECT_EQ(doc->AutoStaging.TreeCount(), 0);
  doc->AutoStaging.SetModels(TwoTrees());
  ASSERT_TRUE(LyrAutoStaging::InstallLearningIni());
  AnswerWithTwoTrees();
  EXPECT_EQ(doc->AutoStaging.Learn(), 1);
  doc.reset();
}

TEST_F(LearningSettingsTest, CodedMessagesAreTheSameInBothLanguages) {
  for (std::uint32_t id = kIdsStagingError7000; id <= kIdsMsfUnreadable3023; ++id) {
    const std::string en = res::LoadString(id, res::Language::English);
    if (en.empty()) continue;
    EXPECT_EQ(res::LoadString(id, res::Language::Japanese), en) << id;
  }
  EXPECT_EQ(res::LoadString(kIdsLearningComplete, res::Language::Japanese), "Learning Complete!");
}

}  // namespace
