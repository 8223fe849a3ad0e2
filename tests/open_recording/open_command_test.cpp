// File > Open: the filter list of the import plug-ins, the command with its save question,
// the open dialog and the DSI-only mode, and its enable state.
#include "app/document/lyr_dlg_open_dsi_file.h"
#include "app/document/lyr_dlg_open_raw_data.h"
#include "app_shell/app_fixture.h"
#include "fileaccess/fixture.h"
#include "open_fixture.h"
#include "platform/ui/command.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

namespace {

const std::string kOwnFilter = "Morvane Raw data file(*.fyd)|*.fyd|";
const std::string kTestFilter = "Test file(*.tst)|*.tst|";

TEST(ImportFileFilter, EditionElevenOffersOwnFilesOnlyOthersListTwentyPlugins) {
  fixture::TempDir dir;
  const std::string folder = dir.Path("");
  // 25 loadable plug-ins, one that does not load (first by name), and the DSI plug-in under
  // another case of its name.
  for (int i = 1; i <= 25; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "RXQD_IMP_P%02d.so", i);
    ASSERT_TRUE(sys::CopyFile(TestPluginPath(), folder + "/" + name, false));
  }
  ASSERT_TRUE(sys::CopyFile(TestPluginPath(), folder + "/rxqd_imp_dsi.so", false));
  fixture::WriteBytes(folder + "/RXQD_IMP_A00.so", {'n', 'o', 't'});

  std::vector<std::string> paths;
  EXPECT_EQ(BuildImportFileFilter(11, folder, &paths), kOwnFilter);
  EXPECT_TRUE(paths.empty());
  EXPECT_EQ(BuildImportFileFilter(1, folder, &paths), kOwnFilter);
  EXPECT_TRUE(paths.empty());

  const std::string filter = BuildImportFileFilter(12, folder, &paths);
  ASSERT_EQ(paths.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/RXQD_IMP_P%02d.so", i + 1);
    EXPECT_EQ(paths[static_cast<std::size_t>(i)], folder + name);
  }
  std::string expected = kOwnFilter;
  for (int i = 0; i < 20; ++i) expected += kTestFilter;
  EXPECT_EQ(filter, expected);
  // In this build the application's own list is edition 11's.
  EXPECT_EQ(CQLM2_AnalyzerApp::GetImportFileFilter(&paths), kOwnFilter);
}

class OpenCommandTest : public AppTest {
 protected:
  std::string WriteNight(const std::string& name, int seconds = 130) {
    fixture::RawSpec s = fixture::TwoChannelSpec();
    s.g1.samplingHz = 10.0;
    s.g1.dataCount = static_cast<std::uint32_t>(seconds * 10);
    s.frames.assign(static_cast<std::size_t>(s.g1.dataCount) * 2, 100);
    s.withOV = true;
    s.patient.text1 = "Night Subject";
    const std::string path = dir_.Path(name);
    EXPECT_TRUE(fixture::WriteRaw(path, s));
    return path;
  }
  fixture::TempDir dir_;
};

TEST_F(OpenCommandTest, OpenDialogOpensTheChosenRecordingAsOwnFile) {
  ASSERT_TRUE(Start());
  const std::string path = WriteNight("a.fyd");
  PluginPath = "/somewhere/RXQD_IMP_OLD.so";
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_FILE_OPEN));
  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Doc().RecordInfo.path, path);
  EXPECT_EQ(Doc().GetPathName(), path);
  // With one filter entry no type change happens: the kept plug-in path stays for foreign files.
  EXPECT_EQ(PluginPath, "/somewhere/RXQD_IMP_OLD.so");
  ASSERT_FALSE(app_->RecentFiles().empty());
  EXPECT_EQ(app_->RecentFiles().front(), path);
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
}

TEST_F(OpenCommandTest, UnsavedResultsAreKeptUnlessSavedFirst) {
  ASSERT_TRUE(Start());
  const std::string first = WriteNight("first.fyd");
  const std::string second = WriteNight("second.fyd");
  testhooks::AnswerFileDialog(ui::IDOK, {first});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_FILE_OPEN));
  ASSERT_EQ(Doc().RecordInfo.path, first);
  struct Case { const char* what; int answer; bool saveDialogCancelled; };
  for (const Case& c : {Case{"cancel", ui::IDCANCEL, false}, Case{"no", ui::IDNO, false},
                        Case{"yes, but the save is cancelled", ui::IDYES, true}}) {
    SCOPED_TRACE(c.what);
    testhooks::Reset();
    ResultModifiedState = 2;
    testhooks::AnswerMessageBox(c.answer);
    if (c.saveDialogCancelled) testhooks::AnswerFileDialog(ui::IDCANCEL);
    ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_FILE_OPEN));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Save changes and open a new file?"});
    EXPECT_EQ(Doc().RecordInfo.path, first);
    EXPECT_EQ(DocumentLoaded, 1);
    EXPECT_EQ(ResultModifiedState, 2) << "the results stay to be saved";
    EXPECT_EQ(testhooks::UnansweredCount(), 0) << "no open dialog was shown";
  }
}

TEST_F(OpenCommandTest, DsiOnlyModeOpensTheFileChosenInTheBrowser) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(sys::CopyFile(std::string(QLM_PROGRAM_BIN_DIR) + "/RXQD_IMP_DSI.so", GetDsiPluginPath(), false));
  const std::string path = WriteNight("night.fyd");
  DsiOnlyMode = 1;
  LastFolderPath = dir_.Path("");
  PluginPath = GetDsiPluginPath();
  testhooks::ScriptDialog(IDD_OPEN_DSI_FILE, [&](ui::Dialog& d) {
    // Kind 1 (the DSI type) lists no .fyd files; the own type lists it.
    EXPECT_EQ(d.Item(IDC_DSI_FILE_LIST).GetCount(), 0);
    d.Item(IDC_DSI_TYPE).SetCurSel(0);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_DSI_TYPE, ui::CBN_SELCHANGE), 0);
    ASSERT_EQ(d.Item(IDC_DSI_FILE_LIST).GetCount(), 1);
    d.Item(IDC_DSI_FILE_LIST).SetSelected(0, true);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ui::ID_FILE_OPEN));
  DsiOnlyMode = 0;
  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Doc().RecordInfo.path, path);
  EXPECT_TRUE(PluginPath.empty());
}

TEST_F(OpenCommandTest, OpenIsDisabledWhileAScreeningOrAutoPlayRuns) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(ui::QueryCommandState(Frame(), ui::ID_FILE_OPEN).IsEnabled());
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), ui::ID_FILE_OPEN).IsEnabled());
  ScreeningRunning = 0;
  Frame().AutoPlayStart = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), ui::ID_FILE_OPEN).IsEnabled());
  Frame().AutoPlayStart = 0;
}

// ---- The open dialog's panel --------------------------------------------------------------

TEST_F(OpenTest, OpenDialogShowsSubjectOfOwnFilesAndAsksTheChosenPluginForOthers) {
  TestPluginAnswers& s = UseTestPlugin();
  const std::string own = WriteNight("own.fyd", Night(130));
  const std::string foreign = WriteText("rec.tst", "foreign");
  LyrDlgOpenRawData dlg(true, "fyd", "", ui::OFN_FILEMUSTEXIST, kOwnFilter + kTestFilter);
  dlg.m_PluginCount = 1;
  dlg.m_PluginPaths[0] = TestPluginPath();
  dlg.m_PluginPath = TestPluginPath();
  dlg.m_Classify = 1;
  dlg.SetFilterIndex(2);
  ASSERT_TRUE(dlg.CreatePanel());
  ui::Dialog& panel = *dlg.Panel();
  ui::Control list = panel.Item(IDC_OPEN_SUBJECT_LIST);
  EXPECT_EQ(dlg.m_TypePosition, 1);
  EXPECT_EQ(panel.GetDlgItemText(IDC_OPEN_PLUGIN_VERSION), "test 2.5");
  EXPECT_EQ(dlg.m_OtherPlugin, 1);
  auto firstValue = [&] { return list.GetCount() > 0 ? list.GetItemText(0, 1) : std::string("<none>"); };

  dlg.OnFileNameChange(own);
  EXPECT_EQ(firstValue(), "Hanako Test");
  // A foreign file the chosen plug-in rejects leaves the previous rows.
  std::snprintf(s.failExport, sizeof s.failExport, "CheckFileType");
  dlg.OnFileNameChange(foreign);
  EXPECT_EQ(firstValue(), "Hanako Test");
  s.failExport[0] = 0;
  dlg.OnFileNameChange(foreign);
  EXPECT_EQ(firstValue(), "Plug Subject");
  // A plug-in of another structure version gives no preview either.
  s.structVersion = 2;
  dlg.OnFileNameChange(own);
  dlg.OnFileNameChange(foreign);
  EXPECT_EQ(firstValue(), "Hanako Test");
  s.structVersion = 1;

  // The own type: no plug-in, no version; own files still show their rows.
  dlg.OnTypeChange(0);
  EXPECT_TRUE(dlg.m_PluginPath.empty());
  EXPECT_EQ(panel.GetDlgItemText(IDC_OPEN_PLUGIN_VERSION), "");
  EXPECT_EQ(dlg.m_OtherPlugin, 0);
  dlg.OnFileNameChange(foreign);
  EXPECT_EQ(firstValue(), "Hanako Test") << "no plug-in to ask";
  // Entry 2 is plug-in 0.
  dlg.OnTypeChange(1);
  EXPECT_EQ(dlg.m_PluginPath, TestPluginPath());
  EXPECT_EQ(panel.GetDlgItemText(IDC_OPEN_PLUGIN_VERSION), "test 2.5");
  EXPECT_EQ(dlg.m_OtherPlugin, 1);
  // An entry without a plug-in that loads changes nothing but the path.
  dlg.OnTypeChange(5);
  EXPECT_TRUE(dlg.m_PluginPath.empty());
  EXPECT_EQ(panel.GetDlgItemText(IDC_OPEN_PLUGIN_VERSION), "test 2.5");
  EXPECT_EQ(dlg.m_OtherPlugin, 1);

  // The modal run hands back the chosen file.
  testhooks::AnswerFileDialog(ui::IDOK, {own});
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.GetPathName(), own);
}

}  // namespace
