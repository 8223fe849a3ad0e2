// The DSI file browser: its type list, folder scan, subject preview and the checks of OK,
// driven by control id.
#include <edflib.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <ctime>

#include "app/document/lyr_dlg_open_dsi_file.h"
#include "open_fixture.h"
#include "platform/ui/messages.h"

namespace {

TEST(DsiFilterText, PatternsDescriptionAndTimeText) {
  struct Case { std::string filter; std::vector<std::string> patterns; std::string description; };
  const std::vector<Case> cases = {
      {"EDF/BDF file(*.edf;*.bdf)|*.edf;*.BDF|", {"*.edf", "*.BDF"}, "EDF/BDF file(*.edf;*.bdf)"},
      {"Morvane Raw data file(*.fyd)|*.fyd|", {"*.fyd"}, "Morvane Raw data file(*.fyd)"},
      {"Nothing||", {}, "Nothing"},
      {"Gap|*.a;;*.b|", {"*.a"}, "Gap"},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DsiFilterPatterns(c.filter), c.patterns) << c.filter;
    EXPECT_EQ(DsiFilterDescription(c.filter), c.description) << c.filter;
  }
  const std::array<std::uint16_t, 8> t{2007, 3, 1, 5, 14, 9, 30, 0};
  EXPECT_EQ(DsiFileTimeText(t, true), "05/03/2007 14:09");
  EXPECT_EQ(DsiFileTimeText(t, false), "2007/03/05 14:09");
}

class DsiBrowserTest : public OpenTest {
 protected:
  void SetUp() override {
    OpenTest::SetUp();
    ASSERT_TRUE(sys::CopyFile(std::string(QLM_PROGRAM_BIN_DIR) + "/RXQD_IMP_DSI.so", GetDsiPluginPath(), false));
  }
  std::string WriteEdf(const std::string& name) {
    const std::string path = dir_.Path(name);
    const int handle = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS, 1);
    EXPECT_GE(handle, 0);
    edf_set_samplefrequency(handle, 0, 100);
    edf_set_physical_maximum(handle, 0, 500.0);
    edf_set_physical_minimum(handle, 0, -500.0);
    edf_set_digital_maximum(handle, 0, 32767);
    edf_set_digital_minimum(handle, 0, -32768);
    edf_set_label(handle, 0, "EEG");
    edf_set_patientname(handle, "Browser Subject");
    std::vector<double> buf(100, 0.0);
    for (int sec = 0; sec < 130; ++sec) edfwrite_physical_samples(handle, buf.data());
    edfclose_file(handle);
    return path;
  }
  static void SetModified(const std::string& path, int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_isdst = -1;
    const timeval times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
  }
  static void Notify(ui::Dialog& d, int id, int code) {
    ui::NotifyHeader h{id, code};
    d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  static void Select(ui::Dialog& d, std::initializer_list<int> rows) {
    ui::Control list = d.Item(IDC_DSI_FILE_LIST);
    for (int i = 0; i < list.GetCount(); ++i) list.SetSelected(i, false);
    for (int r : rows) list.SetSelected(r, true);
  }
};

TEST_F(DsiBrowserTest, ListsChecksAndReturnsTheChosenFiles) {
  const std::string rec = WriteEdf("rec.edf");
  WriteText("junk.edf", "not a recording");
  const std::string own = WriteNight("mixed.fyd", Night(130));
  ASSERT_TRUE(sys::CopyFile(own, dir_.Path("mixed.edf"), false));  // an own raw file by another name
  SetModified(rec, 2007, 3, 5, 14, 9);
  // Bookkeeping files and what is not a plain file are never offered.
  WriteEdf(".rec-backup.edf");
  ASSERT_EQ(mkfifo(dir_.Path("pipe.edf").c_str(), 0600), 0);

  LyrDlgOpenDsiFile dlg;
  dlg.m_FolderPath = dir_.Path("");
  dlg.m_FileKind = 1;
  dlg.m_SingleSelection = 0;
  dlg.m_ChosenPaths = {rec};
  testhooks::ScriptDialog(IDD_OPEN_DSI_FILE, [&](ui::Dialog& d) {
    ui::Control combo = d.Item(IDC_DSI_TYPE);
    ASSERT_EQ(combo.GetCount(), 2);
    EXPECT_EQ(combo.GetString(0), "Morvane Raw data file(*.fyd)");
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(d.GetDlgItemText(IDC_DSI_VERSION).rfind("DSI reader version: 1.0.0", 0), 0u);
    ui::Control list = d.Item(IDC_DSI_FILE_LIST);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "junk");
    EXPECT_EQ(list.GetItemText(1, 0), "mixed");
    EXPECT_EQ(list.GetItemText(2, 0), "rec");
    EXPECT_EQ(list.GetItemText(2, 1), "05/03/2007 14:09");
    // The chosen file is selected from the start, with its subject shown.
    EXPECT_TRUE(list.IsSelected(2));
    EXPECT_EQ(d.GetDlgItemText(IDC_DSI_FILE_NAME), "rec");
    ui::Control info = d.Item(IDC_DSI_INFO_LIST);
    ASSERT_GT(info.GetCount(), 0);
    EXPECT_EQ(info.GetItemText(0, 1), "Browser Subject");

    struct Check { std::initializer_list<int> rows; const char* message; };
    for (const Check& c : {Check{{}, "The file is not selected."}, Check{{1, 2}, "Select only one type file."},
                           Check{{0, 2}, "Select only readable file."}}) {
      testhooks::Reset();
      Select(d, c.rows);
      d.ClickButton(ui::IDOK);
      EXPECT_FALSE(d.IsEnded()) << c.message;
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.message});
    }
    // A click on empty space keeps the last file's information.
    Select(d, {});
    Notify(d, IDC_DSI_FILE_LIST, ui::NM_CLICK);
    EXPECT_EQ(info.GetItemText(0, 1), "Browser Subject");
    Select(d, {1, 2});
    Notify(d, IDC_DSI_FILE_LIST, ui::LVN_ITEMCHANGED);
    EXPECT_EQ(d.GetDlgItemText(IDC_DSI_FILE_NAME), "mixed, rec");
    Select(d, {2});
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  std::vector<std::string> chosen{"kept"};
  dlg.GetSelectedFiles(chosen);
  EXPECT_EQ(chosen, (std::vector<std::string>{"kept", rec}));
  EXPECT_EQ(dlg.GetPluginPath(), GetDsiPluginPath());
}

// Files that differ only in their extension are two recordings: each is listed with its
// extension and opens itself.
TEST_F(DsiBrowserTest, SameTitleDifferentExtensionsAreTwoEntries) {
  const std::string edf = WriteEdf("a.edf");
  const std::string bdf = WriteEdf("a.bdf");
  WriteEdf("b.EDF");
  for (int row : {0, 2}) {
    LyrDlgOpenDsiFile dlg;
    dlg.m_FolderPath = dir_.Path("");
    dlg.m_FileKind = 1;
    dlg.m_ChosenPaths = {bdf};
    std::vector<std::string> names;
    testhooks::ScriptDialog(IDD_OPEN_DSI_FILE, [&](ui::Dialog& d) {
      ui::Control list = d.Item(IDC_DSI_FILE_LIST);
      for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetItemText(i, 0));
      EXPECT_EQ(d.GetDlgItemText(IDC_DSI_FILE_NAME), "a.bdf") << "the chosen file itself is selected";
      Select(d, {row});
      Notify(d, IDC_DSI_FILE_LIST, ui::NM_CLICK);
      d.ClickButton(ui::IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(names, (std::vector<std::string>{"a.edf", "b", "a.bdf"}));
    std::vector<std::string> chosen;
    dlg.GetSelectedFiles(chosen);
    EXPECT_EQ(chosen, std::vector<std::string>{row == 0 ? edf : bdf}) << row;
  }
}

TEST_F(DsiBrowserTest, TypeAndFolderChangesRescan) {
  WriteEdf("rec.edf");
  WriteNight("night.fyd", Night(130));
  fixture::TempDir other;
  WriteNight("unused.fyd", Night(130));
  ASSERT_TRUE(fixture::WriteRaw(other.Path("second.fyd"), Night(130)));
  ASSERT_TRUE(fixture::WriteRaw(other.Path("third.fyd"), Night(130)));

  LyrDlgOpenDsiFile dlg;
  dlg.m_FolderPath = dir_.Path("");
  EXPECT_EQ(dlg.m_FileKind, 2);
  testhooks::ScriptDialog(IDD_OPEN_DSI_FILE, [&](ui::Dialog& d) {
    ui::Control list = d.Item(IDC_DSI_FILE_LIST);
    ASSERT_EQ(list.GetCount(), 2);  // night, unused
    d.Item(IDC_DSI_TYPE).SetCurSel(1);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_DSI_TYPE, ui::CBN_SELCHANGE), 0);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), "rec");
    EXPECT_EQ(static_cast<LyrDlgOpenDsiFile&>(d).GetPluginPath(), GetDsiPluginPath());
    d.Item(IDC_DSI_TYPE).SetCurSel(0);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_DSI_TYPE, ui::CBN_SELCHANGE), 0);
    EXPECT_TRUE(static_cast<LyrDlgOpenDsiFile&>(d).GetPluginPath().empty());
    // A cancelled folder choice keeps the folder; a chosen one is scanned.
    testhooks::AnswerFolderDialog(ui::IDCANCEL);
    d.ClickButton(IDC_DSI_SELECT_FOLDER);
    EXPECT_EQ(list.GetCount(), 2);
    const std::string folder = other.Path("second.fyd").substr(0, other.Path("second.fyd").rfind('/'));
    testhooks::AnswerFolderDialog(ui::IDOK, folder);
    d.ClickButton(IDC_DSI_SELECT_FOLDER);
    EXPECT_EQ(d.GetDlgItemText(IDC_DSI_FOLDER), folder);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 0), "second");
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
}

TEST_F(DsiBrowserTest, WithoutThePluginOnlyOwnFilesAreOffered) {
  ASSERT_TRUE(sys::DeleteFile(GetDsiPluginPath()));
  WriteEdf("rec.edf");
  LyrDlgOpenDsiFile dlg;
  dlg.m_FolderPath = dir_.Path("");
  dlg.m_TypeMode = 1;
  testhooks::ScriptDialog(IDD_OPEN_DSI_FILE, [&](ui::Dialog& d) {
    EXPECT_EQ(d.Item(IDC_DSI_TYPE).GetCount(), 0);
    EXPECT_EQ(d.Item(IDC_DSI_FILE_LIST).GetCount(), 0);
    EXPECT_EQ(d.GetDlgItemText(IDC_DSI_VERSION), "DSI reader version: ----");
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
}

}  // namespace
