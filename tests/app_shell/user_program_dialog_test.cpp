// The "User program" dialog of the Tool menu: adding and removing entries, their names, and
// the menu that follows the table when the dialog closes.
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_raw_dlg_user_program.h"
#include "app_shell/app_fixture.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/command.h"
#include "platform/ui/menu.h"

namespace {

constexpr std::uint32_t kCmdUserProgramAdd = 33001;

class UserProgramDialog : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    UserProgramTable = UserProgramList{};
    ASSERT_TRUE(Start());
    testhooks::Reset();
  }
  void TearDown() override {
    UserProgramTable = UserProgramList{};
    AppTest::TearDown();
  }
  void SetTable(std::initializer_list<const char*> names) {
    UserProgramTable = UserProgramList{};
    for (const char* n : names) {
      UserProgram& p = UserProgramTable.entries[UserProgramTable.count++];
      p.name = n;
      p.commandLine = std::string("/opt/") + n;
    }
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < UserProgramTable.count; ++i) names.push_back(UserProgramTable.entries[i].name);
    return names;
  }
  // Runs the dialog through the frame's command with the clicks of the script.
  void RunDialog(std::function<void(ui::Dialog&)> clicks) {
    testhooks::ScriptDialog(IDD_USER_PROGRAM, [clicks](ui::Dialog& d) {
      clicks(d);
      d.ClickButton(ui::IDOK);
    });
    ASSERT_TRUE(ui::ExecuteCommand(Frame(), kCmdUserProgramAdd));
  }
};

TEST(UserProgramDialogResources, BothLanguagesHaveTheTemplatesAndTexts) {
  for (int id : {IDD_USER_PROGRAM, IDD_USER_PROGRAM_FILE_PANEL}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(en->nodes.size(), ja->nodes.size());
  }
  // The column titles here, the texts of the remote screening request and the workspace tabs.
  for (std::uint32_t s = 62301; s <= 62315; ++s) {
    EXPECT_TRUE(res::HasString(s, res::Language::English)) << s;
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  }
}

TEST(UserProgramItemName, TypedNameElseFileTitleCutTo31Bytes) {
  EXPECT_EQ(UserProgramItemName("", "/opt/tools/viewer"), "viewer");
  EXPECT_EQ(UserProgramItemName("", "/opt/tools/viewer.exe"), "viewer");
  EXPECT_EQ(UserProgramItemName("EEG viewer", "/opt/tools/viewer"), "EEG viewer");
  EXPECT_EQ(UserProgramItemName(std::string(40, 'n'), "/x"), std::string(31, 'n'));
}

TEST_F(UserProgramDialog, AddAppendsTheChosenProgramAndTheMenuFollows) {
  SetTable({"Export", "Notes"});
  RunDialog([](ui::Dialog& d) {
    EXPECT_EQ(d.Item(IDC_USER_PROGRAM_LIST).GetCount(), 2);
    EXPECT_EQ(d.Item(IDC_USER_PROGRAM_LIST).GetItemText(1, 1), "/opt/Notes");
    testhooks::AnswerFileDialog(ui::IDOK, {"/opt/tools/viewer"});
    d.ClickButton(IDC_USER_PROGRAM_ADD);
    EXPECT_EQ(d.Item(IDC_USER_PROGRAM_LIST).GetCount(), 3);
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"Export", "Notes", "viewer"}));
  EXPECT_EQ(UserProgramTable.entries[2].commandLine, "/opt/tools/viewer");
  ui::Menu* tool = Frame().GetMenu()->GetSubMenu(3);
  EXPECT_EQ(tool->GetItemText(32993), "viewer");
}

TEST_F(UserProgramDialog, AddDoesNothingWithTenEntriesOrWhenCancelled) {
  SetTable({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
  RunDialog([](ui::Dialog& d) { d.ClickButton(IDC_USER_PROGRAM_ADD); });
  EXPECT_EQ(UserProgramTable.count, 10);
  SetTable({"a"});
  RunDialog([](ui::Dialog& d) {
    testhooks::AnswerFileDialog(ui::IDCANCEL);
    d.ClickButton(IDC_USER_PROGRAM_ADD);
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"a"}));
}

TEST_F(UserProgramDialog, RemoveTakesTheSelectedEntryAndKeepsTheOrder) {
  SetTable({"Export", "Notes", "Viewer"});
  RunDialog([](ui::Dialog& d) {
    d.ClickButton(IDC_USER_PROGRAM_REMOVE);  // nothing selected: nothing goes
    d.Item(IDC_USER_PROGRAM_LIST).SetSelected(1, true);
    d.ClickButton(IDC_USER_PROGRAM_REMOVE);
    EXPECT_EQ(d.Item(IDC_USER_PROGRAM_LIST).GetCount(), 2);
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"Export", "Viewer"}));
  EXPECT_TRUE(UserProgramTable.entries[2].name.empty());
  ui::Menu* tool = Frame().GetMenu()->GetSubMenu(3);
  EXPECT_EQ(tool->GetItemText(32992), "Viewer");
  EXPECT_LT(tool->FindPosition(32993), 0);
}

TEST_F(UserProgramDialog, CommandNeedsARecordingAndNoScreening) {
  EXPECT_FALSE(ui::QueryCommandState(Frame(), kCmdUserProgramAdd).IsEnabled());
  DocumentLoaded = 1;
  EXPECT_TRUE(ui::QueryCommandState(Frame(), kCmdUserProgramAdd).IsEnabled());
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), kCmdUserProgramAdd).IsEnabled());
  DocumentLoaded = 0;
  ScreeningRunning = 0;
}

}  // namespace
