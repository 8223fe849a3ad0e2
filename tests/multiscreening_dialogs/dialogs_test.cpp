// The multi-screening window and its dialogs driven by control id: the file list, the channel
// rows, the filter, range, FFT, logic and time-occupancy dialogs and the setting files.
#include <filesystem>

#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/scoring/lyr_dlg_fft_condition.h"
#include "app/scoring/lyr_dlg_filter_condition.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/lyr_dlg_multi_screening_range.h"
#include "app/scoring/lyr_dlg_screening_logic.h"
#include "app/scoring/lyr_dlg_time_occupancy.h"
#include "app_shell/app_fixture.h"
#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/system/locale.h"
#include "platform/system/code_page.h"
#include "platform/ui/messages.h"
#include "sample_recording.h"

namespace fs = std::filesystem;

namespace {

class MultiScreeningDialogsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    data_ = folder_->Path() + "/data";
    fs::create_directories(data_);
    testhooks::Reset();
  }
  void TearDown() override {
    if (LyrDlgMultiScreening* dlg = Frame().MultiScreeningDlg) dlg->EndDialog(ui::IDCANCEL);
    testhooks::ProcessMessages();
    AppTest::TearDown();
  }
  std::string Write(const std::string& name) {
    samples::Options o;
    o.kind = samples::Kind::Animal;
    o.hours = 0.05;
    o.rateHz = 128;
    o.animals = 1;
    const std::string path = data_ + "/" + name + ".fyd";
    std::string error;
    EXPECT_TRUE(samples::WriteSampleRecording(o, path, &error)) << error;
    return path;
  }
  LyrDlgMultiScreening& Open() {
    Frame().OpenMultiScreeningDlg();
    EXPECT_NE(Frame().MultiScreeningDlg, nullptr);
    testhooks::Reset();
    return *Frame().MultiScreeningDlg;
  }
  static void Command(ui::Dialog& d, int id, std::uint16_t code) {
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(id), code), 0);
  }
  static void Notify(ui::Dialog& d, int id, int code) {
    ui::NotifyHeader h{id, code};
    d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  static void Choose(ui::Dialog& d, int combo, int entry) {
    d.Item(combo).SetCurSel(entry);
    Command(d, combo, ui::CBN_SELCHANGE);
  }
  static void SelectRows(ui::Dialog& d, int list, std::vector<int> rows) {
    ui::Control l = d.Item(list);
    for (int r = 0; r < l.GetCount(); ++r) l.SetSelected(r, std::find(rows.begin(), rows.end(), r) != rows.end());
    Notify(d, list, ui::NM_CLICK);
  }
  static void Type(ui::Dialog& d, int id, const std::string& text) {
    d.SetDlgItemText(id, text);
    Command(d, id, ui::EN_CHANGE);
  }
  static std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
    return texts;
  }
  std::string data_;
};

// ---- the window --------------------------------------------------------------------------

TEST_F(MultiScreeningDialogsTest, FileListStartsWithTheOpenRecordingAndKeepsEachFileOnce) {
  const std::string a = Write("a"), b = Write("b");
  {
    // The settings file listed a file: nothing open shows an empty list.
    LyrMultiScreeningSetting stored;
    stored.FileList = {a};
    ASSERT_EQ(stored.SaveResume(), 1);
  }
  LyrDlgMultiScreening& dlg = Open();
  EXPECT_EQ(dlg.Item(IDC_MS_FILE_LIST).GetCount(), 0);
  EXPECT_TRUE(dlg.Item(IDC_MS_ADD).IsEnabled());
  EXPECT_FALSE(dlg.Item(IDC_MS_DELETE).IsEnabled());
  // The same file in one step, then again in a second one.
  testhooks::AnswerFileDialog(ui::IDOK, {a, b, a});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_ADD));
  testhooks::AnswerFileDialog(ui::IDOK, {b});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_ADD));
  EXPECT_EQ(dlg.Settings.FileList, (std::vector<std::string>{a, b}));
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"The same Raw file has already been specified.",
                                               "The same Raw file has already been specified."}));
  EXPECT_EQ(dlg.Item(IDC_MS_FILE_LIST).GetItemText(1, 1), "b.fyd");
  EXPECT_EQ(dlg.Item(IDC_MS_FILE_LIST).GetItemText(1, 0), "2");
  // Names beyond the dialog's buffer: nothing is added.
  testhooks::Reset();
  std::vector<std::string> many(1000, data_ + "/" + std::string(30, 'x') + ".fyd");
  testhooks::AnswerFileDialog(ui::IDOK, many);
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_ADD));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"There are too many files to specify."});
  EXPECT_EQ(dlg.Settings.FileList.size(), 2u);
  // Delete the first: the row at its place is selected.
  SelectRows(dlg, IDC_MS_FILE_LIST, {0});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_DELETE));
  EXPECT_EQ(dlg.Settings.FileList, std::vector<std::string>{b});
  EXPECT_TRUE(dlg.Item(IDC_MS_FILE_LIST).IsSelected(0));
  // A file of another import plug-in may stand alone: Add is disabled.
  dlg.Settings.FileListPluginPath = "/opt/plugins/RXQD_IMP_Other.so";
  SelectRows(dlg, IDC_MS_FILE_LIST, {0});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_DELETE));
  EXPECT_FALSE(dlg.Item(IDC_MS_DELETE).IsEnabled());
  // Enter neither runs nor closes.
  testhooks::Reset();
  dlg.OnOK();
  EXPECT_EQ(Frame().MultiScreeningDlg, &dlg);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(MultiScreeningDialogsTest, OpenRecordingIsTheOnlyFileAndAnotherPluginDisablesAdd) {
  const std::string a = Write("a");
  ASSERT_NE(app_->OpenDocumentFile(a), nullptr);
  LyrDlgMultiScreening& dlg = Open();
  EXPECT_EQ(dlg.Settings.FileList, std::vector<std::string>{a});
  EXPECT_EQ(dlg.Settings.FileListPluginPath, "");
  dlg.EndDialog(ui::IDCANCEL);
  testhooks::ProcessMessages();
}

TEST_F(MultiScreeningDialogsTest, ResultFolderLongerThanItsFieldIsRefusedNotCut) {
  LyrDlgMultiScreening& dlg = Open();
  EXPECT_FALSE(dlg.Item(IDC_MS_SELECT_FOLDER).IsEnabled());
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_USE_FOLDER));
  EXPECT_EQ(dlg.Settings.UseResultFolder, 1u);
  ASSERT_TRUE(dlg.Item(IDC_MS_SELECT_FOLDER).IsEnabled());
  const std::string longFolder = data_ + "/" + std::string(300, 'f');
  testhooks::AnswerFolderDialog(ui::IDOK, longFolder);
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SELECT_FOLDER));
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(dlg.Settings.ResultFolder, "");
  testhooks::AnswerFolderDialog(ui::IDOK, data_);
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SELECT_FOLDER));
  EXPECT_EQ(dlg.Settings.ResultFolder, data_);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_FOLDER), data_);
}

TEST_F(MultiScreeningDialogsTest, ChannelRowsCountApplyAndMove) {
  LyrDlgMultiScreening& dlg = Open();
  ui::Control rows = dlg.Item(IDC_MS_CHANNEL_LIST);
  EXPECT_EQ(rows.GetCount(), 3);
  EXPECT_FALSE(dlg.Item(IDC_MS_UP).IsEnabled());
  Type(dlg, IDC_MS_COUNT, "5");
  ASSERT_EQ(rows.GetCount(), 5);
  // Row 4 (index 3): Locomotion, typed level 1.5; row 5: Locomotion, "auto".
  SelectRows(dlg, IDC_MS_CHANNEL_LIST, {3});
  Choose(dlg, IDC_MS_ATTRIBUTE, kMsLocomotion);
  EXPECT_TRUE(dlg.Item(IDC_MS_LEVEL).IsEnabled());
  dlg.Item(IDC_MS_LEVEL).SetText("1.5");
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_APPLY));
  SelectRows(dlg, IDC_MS_CHANNEL_LIST, {4});
  Choose(dlg, IDC_MS_ATTRIBUTE, kMsLocomotion);
  dlg.Item(IDC_MS_LEVEL).SetText("auto");
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_APPLY));
  EXPECT_EQ(rows.GetItemText(3, 2), "1.50");
  EXPECT_EQ(rows.GetItemText(4, 2), "Auto");
  EXPECT_EQ(rows.GetItemText(0, 2), "----");
  EXPECT_EQ(dlg.Settings.ChannelAttributes[3].LevelMode, 1);
  EXPECT_FLOAT_EQ(dlg.Settings.ChannelAttributes[3].Level, 1.5f);
  // 5 -> 2 -> 5 brings rows 3 to 5 back unchanged.
  const auto before = dlg.Settings.ChannelAttributes;
  Type(dlg, IDC_MS_COUNT, "2");
  EXPECT_EQ(rows.GetCount(), 2);
  Type(dlg, IDC_MS_COUNT, "5");
  EXPECT_EQ(rows.GetCount(), 5);
  EXPECT_EQ(rows.GetItemText(3, 2), "1.50");
  EXPECT_EQ(std::vector(dlg.Settings.ChannelAttributes.begin(), dlg.Settings.ChannelAttributes.begin() + 5),
            std::vector(before.begin(), before.begin() + 5));
  // "A&pply" to several rows, with a filter.
  dlg.CurrentFilter = {0, 2, 0.75f, 50.0f, 1, 60.0f};
  SelectRows(dlg, IDC_MS_CHANNEL_LIST, {0, 1});
  Choose(dlg, IDC_MS_ATTRIBUTE, kMsEeg);
  dlg.CurrentFilter = {0, 2, 0.75f, 50.0f, 1, 60.0f};
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_APPLY));
  EXPECT_EQ(rows.GetItemText(0, 4), "HPF:0.75Hz/Notch:60Hz");
  EXPECT_EQ(rows.GetItemText(1, 4), "HPF:0.75Hz/Notch:60Hz");
  EXPECT_EQ(rows.GetItemText(1, 3), "Off");
  EXPECT_EQ(rows.GetItemText(2, 4), "None");
  // Down from the last row adds a row; never below row 32; up off at row 0.
  SelectRows(dlg, IDC_MS_CHANNEL_LIST, {4});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_DOWN));
  EXPECT_EQ(rows.GetCount(), 6);
  EXPECT_EQ(rows.GetItemText(5, 2), "Auto");
  EXPECT_TRUE(rows.IsSelected(5));
  Type(dlg, IDC_MS_COUNT, "32");
  SelectRows(dlg, IDC_MS_CHANNEL_LIST, {30});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_DOWN));
  EXPECT_EQ(rows.GetCount(), 32);
  EXPECT_FALSE(dlg.Item(IDC_MS_DOWN).IsEnabled());
  SelectRows(dlg, IDC_MS_CHANNEL_LIST, {1});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_UP));
  EXPECT_FALSE(dlg.Item(IDC_MS_UP).IsEnabled());
}

TEST_F(MultiScreeningDialogsTest, FilterComboAndFilterDialog) {
  LyrDlgMultiScreening& dlg = Open();
  ui::Control combo = dlg.Item(IDC_MS_FILTER);
  EXPECT_EQ(combo.GetString(1), "Set Filter");
  EXPECT_EQ(combo.GetString(2), "None");
  // Type 0 with notch opens with "&Filter" ticked and low-pass chosen; band-pass enables cut 2.
  dlg.CurrentFilter = {1, 0, 20.0f, 50.0f, 1, 50.0f};
  testhooks::ScriptDialog(IDD_MS_FILTER_CONDITION, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_MSF_FILTER), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_MSF_LPF), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_MSF_50HZ), 1);
    EXPECT_TRUE(d.ClickButton(IDC_MSF_BPF));
    EXPECT_TRUE(d.Item(IDC_MSF_CUT2).IsEnabled());
    EXPECT_TRUE(d.ClickButton(IDC_MSF_HPF));
    EXPECT_FALSE(d.Item(IDC_MSF_CUT2).IsEnabled());
    EXPECT_TRUE(d.ClickButton(IDC_MSF_BPF));
    d.SetDlgItemText(IDC_MSF_CUT1, "20");
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_MSF_CUT1, ui::EN_KILLFOCUS), 0);
    d.SetDlgItemText(IDC_MSF_CUT2, "50");
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_MSF_CUT2, ui::EN_KILLFOCUS), 0);
    EXPECT_TRUE(d.ClickButton(ui::IDOK));
  });
  Choose(dlg, IDC_MS_FILTER, 1);
  EXPECT_EQ(combo.GetCurSel(), 0);
  EXPECT_EQ(combo.GetString(0), "Base:ON /BPF:20.00-50.00Hz/Notch:50Hz");
  // Cancel goes back to the set filter; "None" clears kind, notch and base offset.
  testhooks::ScriptDialog(IDD_MS_FILTER_CONDITION, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  Choose(dlg, IDC_MS_FILTER, 1);
  EXPECT_EQ(combo.GetCurSel(), 0);
  Choose(dlg, IDC_MS_FILTER, 2);
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(combo.GetString(0), "");
  EXPECT_EQ(dlg.CurrentFilter.FilterType, 0);
  EXPECT_EQ(dlg.CurrentFilter.NotchOn, 0u);
  EXPECT_FLOAT_EQ(dlg.CurrentFilter.Cutoff2, 50.0f);
  // A stored 55 Hz notch selects 60 Hz; notch alone reads "Base:OFF/Notch:60Hz".
  dlg.CurrentFilter = {0, 0, 1.0f, 2.0f, 1, 55.0f};
  testhooks::ScriptDialog(IDD_MS_FILTER_CONDITION, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_MSF_60HZ), 1);
    d.ClickButton(ui::IDOK);
  });
  Choose(dlg, IDC_MS_FILTER, 1);
  EXPECT_EQ(combo.GetString(0), "Base:OFF/Notch:60Hz");
}

TEST_F(MultiScreeningDialogsTest, RangeDialogAndTexts) {
  LyrDlgMultiScreening& dlg = Open();
  testhooks::ScriptDialog(IDD_MS_RANGE, [](ui::Dialog& d) {
    EXPECT_TRUE(d.ClickButton(IDC_MSR_START_SCHEDULED));
    ui::DateTime t;
    t.year = 2008;
    t.month = 10;
    t.day = 16;
    t.hour = 8;
    t.minute = 30;
    d.Item(IDC_MSR_START_TIME).SetDateTime(t);
    EXPECT_TRUE(d.ClickButton(IDC_MSR_END_ELAPSED));
    d.Item(IDC_MSR_DAYS_SPIN).SetPos(1);
    d.SetDlgItemText(IDC_MSR_DAYS, "1");
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_MSR_DAYS, ui::EN_CHANGE), 0);
    d.Item(IDC_MSR_HOURS).SetCurSel(1);  // "6"
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_MSR_HOURS, ui::CBN_SELCHANGE), 0);
    EXPECT_EQ(d.GetDlgItemText(IDC_MSR_TOTAL), "(All 30 hours)");
    d.ClickButton(ui::IDOK);
  });
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SET_TIME));
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_START_TEXT), "Scheduled time[08:30:00]");
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_END_TEXT), "1days 6hours [All:30 hours]");
  // "Recording &time" keeps days and hours; a typed 100 is stored.
  testhooks::ScriptDialog(IDD_MS_RANGE, [](ui::Dialog& d) {
    d.ClickButton(IDC_MSR_END_RECORDING);
    d.ClickButton(ui::IDOK);
  });
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SET_TIME));
  EXPECT_EQ(dlg.Settings.RangeEndMode, 0);
  EXPECT_EQ(dlg.Settings.RangeEndDays, 1);
  EXPECT_EQ(dlg.Settings.RangeEndHours, 6);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_END_TEXT), "Recording time");
  testhooks::ScriptDialog(IDD_MS_RANGE, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(IDC_MSR_HOURS), "6");
    d.ClickButton(IDC_MSR_END_ELAPSED);
    d.Item(IDC_MSR_HOURS).SetText("100");
    d.ClickButton(ui::IDOK);
  });
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SET_TIME));
  EXPECT_EQ(dlg.Settings.RangeEndHours, 100);
}

TEST_F(MultiScreeningDialogsTest, FftDialogBandsAndRefusal) {
  const std::string a = Write("a");
  ASSERT_NE(app_->OpenDocumentFile(a), nullptr);
  LyrDlgMultiScreening& dlg = Open();
  dlg.Settings.FftPoints = 256;
  dlg.Settings.FftAverage = 5;
  dlg.Settings.ChannelAttributes[0].Attribute = kMsEeg;
  testhooks::ScriptDialog(IDD_MS_FFT_CONDITION, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(IDC_MSFFT_TIME), "Analysis time :10.00[sec] (unit time :2.00[sec])");
    d.Item(IDC_MSFFT_BAND_COUNT).SetCurSel(2);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_MSFFT_BAND_COUNT, ui::CBN_SELCHANGE), 0);
    EXPECT_TRUE(d.Item(MsFftBandEdit(2, 1)).IsEnabled());
    EXPECT_FALSE(d.Item(MsFftBandEdit(3, 1)).IsEnabled());
    for (int r = 0; r < 3; ++r) {
      d.SetDlgItemText(MsFftBandEdit(r, 0), r == 0 ? "LongBandName" : "B" + std::to_string(r));
      d.SetDlgItemText(MsFftBandEdit(r, 1), "1");
      d.SetDlgItemText(MsFftBandEdit(r, 2), "4");
    }
    d.SetDlgItemText(MsFftBandEdit(1, 1), "-1");
    d.ClickButton(ui::IDOK);
    EXPECT_FALSE(static_cast<ui::Dialog&>(d).IsEnded());
    d.SetDlgItemText(MsFftBandEdit(1, 1), "0.5");
    d.ClickButton(ui::IDOK);
  });
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_FFT));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Input number over 0."});
  ASSERT_EQ(dlg.Settings.Bands.size(), 3u);
  EXPECT_EQ(dlg.Settings.BandCount, 3);
  EXPECT_EQ(dlg.Settings.Bands[0].Name, "LongBandN");
  EXPECT_FLOAT_EQ(dlg.Settings.Bands[1].From, 0.5f);
  // A Japanese name is cut between characters within 9 bytes of code page 932.
  EXPECT_EQ(sys::FromUtf8(LyrDlgFftCondition::FitBandName("\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88\xe3\x81\x8a"),
                          sys::AnsiCodePage())
                .size() <= 9,
            true);
  dlg.EndDialog(ui::IDCANCEL);
  testhooks::ProcessMessages();
}

TEST_F(MultiScreeningDialogsTest, TemplateLoadMarksChangesAndSaveProposesItsName) {
  LyrDlgMultiScreening& dlg = Open();
  LyrMultiScreeningSetting night{LyrMultiScreeningSetting::NoFile{}};
  night.ChannelsPerAnimal = 4;
  const std::string path = data_ + "/night.mss";
  ASSERT_EQ(night.SaveSettingFile(path), 1);
  dlg.Settings.FileList = {data_ + "/x.fyd"};
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_LOAD));
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_TEMPLATE), "night");
  EXPECT_EQ(dlg.Item(IDC_MS_CHANNEL_LIST).GetCount(), 4);
  EXPECT_EQ(dlg.Settings.FileList, std::vector<std::string>{data_ + "/x.fyd"});
  Type(dlg, IDC_MS_COUNT, "3");
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_TEMPLATE), "night*");
  // Save refuses two EMG rows and leaves them selected.
  dlg.Settings.ChannelAttributes[0].Attribute = kMsEmg;
  dlg.Settings.ChannelAttributes[1].Attribute = kMsEmg;
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SAVE));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Please set only one EMG attribute for 1 animal."});
  EXPECT_TRUE(dlg.Item(IDC_MS_CHANNEL_LIST).IsSelected(0));
  EXPECT_TRUE(dlg.Item(IDC_MS_CHANNEL_LIST).IsSelected(1));
  dlg.Settings.ChannelAttributes[0].Attribute = kMsEeg;
  const std::string saved = data_ + "/saved.mss";
  testhooks::AnswerFileDialog(ui::IDOK, {saved});
  EXPECT_TRUE(dlg.ClickButton(IDC_MS_SAVE));
  EXPECT_TRUE(fs::exists(saved));
  EXPECT_EQ(dlg.GetDlgItemText(IDC_MS_TEMPLATE), "saved");
  // "Close" writes the settings file.
  fs::remove(LyrMultiScreeningSetting::GetResumePath());
  dlg.OnCancel();
  EXPECT_TRUE(fs::exists(LyrMultiScreeningSetting::GetResumePath()));
}

// ---- the Logic and Time occupancy dialogs ------------------------------------------------

TEST_F(MultiScreeningDialogsTest, LogicCountAutoRuleAndHandBack) {
  LyrDlgMultiScreening& dlg = Open();
  ASSERT_TRUE(dlg.ClickButton(IDC_MS_LOGIC));
  LyrDlgScreeningLogic* logic = dlg.LogicDlg();
  ASSERT_NE(logic, nullptr);
  EXPECT_FALSE(dlg.IsWindowVisible());
  ui::Control list = logic->Item(IDC_MSL_LIST);
  EXPECT_EQ(logic->Item(IDC_MSL_LIST).GetColumnCount(), 15);
  Type(*logic, IDC_MSL_COUNT, "20");
  EXPECT_EQ(list.GetCount(), 20);
  for (const char* bad : {"21", "0"}) {
    testhooks::Reset();
    Type(*logic, IDC_MSL_COUNT, bad);
    Command(*logic, IDC_MSL_COUNT, ui::EN_KILLFOCUS);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Input Used condition number 1 to 20."});
    EXPECT_EQ(list.GetCount(), 20);
  }
  Type(*logic, IDC_MSL_COUNT, "3");
  // Two conditions of one stage with an Auto bound are refused; numbers pass.
  for (int r : {0, 1}) {
    auto& c = logic->Values.Conditions[static_cast<std::size_t>(r)];
    c.Stage = 2;
    c.First.LowerKind = kMsBoundAuto;
  }
  logic->SelectRow(-1);
  testhooks::Reset();
  logic->OnOK();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Please set only one \"Auto\" level state for each stage."});
  EXPECT_EQ(logic->SelectedRow(), 0);
  logic->Values.Conditions[1].First.LowerKind = kMsBoundValue;
  // A channel ordinal equal to the channels per animal names no channel.
  logic->Values.Conditions[1].First.ChannelNumber = static_cast<std::uint16_t>(logic->Values.ChannelsPerAnimal);
  logic->SelectRow(-1);
  testhooks::Reset();
  logic->OnOK();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Not specified."});
  EXPECT_EQ(logic->SelectedRow(), 1);
  logic->Values.Conditions[1].First.ChannelNumber = 0;
  // The default row: term controls disabled.
  logic->SelectRow(2);
  Notify(*logic, IDC_MSL_LIST, ui::NM_CLICK);
  EXPECT_FALSE(logic->Item(MsLogicTermControl(0, 2)).IsEnabled());
  logic->SelectRow(-1);
  testhooks::Reset();
  logic->OnOK();
  EXPECT_TRUE(Boxes().empty());
  testhooks::ProcessMessages();
  EXPECT_EQ(dlg.LogicDlg(), nullptr);
  EXPECT_TRUE(dlg.IsWindowVisible());
  ASSERT_EQ(dlg.Settings.Conditions.size(), 3u);
  EXPECT_EQ(dlg.Settings.Conditions[0].First.LowerKind, kMsBoundAuto);
}

TEST_F(MultiScreeningDialogsTest, LogicRowsDeleteAndApply) {
  const std::string a = Write("a");
  ASSERT_NE(app_->OpenDocumentFile(a), nullptr);
  LyrDlgMultiScreening& dlg = Open();
  dlg.Settings.ChannelAttributes[0].Attribute = kMsEeg;
  ASSERT_TRUE(dlg.ClickButton(IDC_MS_LOGIC));
  LyrDlgScreeningLogic& logic = *dlg.LogicDlg();
  ui::Control param = logic.Item(MsLogicTermControl(0, 2));
  EXPECT_EQ(param.GetString(0), "EMG- Integral");
  EXPECT_EQ(param.GetString(1).rfind("EEG- FFT:", 0), 0u);
  EXPECT_EQ(logic.Item(MsLogicTermControl(0, 3)).GetString(0).rfind("01:EEG01/ ", 0), 0u);
  EXPECT_EQ(logic.Item(MsLogicTermControl(0, 0)).GetString(2), "Median");
  // And cleared keeps Second; the stored row is rewritten.
  logic.SelectRow(0);
  Notify(logic, IDC_MSL_LIST, ui::NM_CLICK);
  const MultiScreeningTerm second = logic.Values.Conditions[0].Second;
  logic.CheckDlgButton(IDC_MSL_AND, 0);
  logic.Item(MsLogicTermControl(0, 0)).SetText("");
  testhooks::Reset();
  EXPECT_TRUE(logic.ClickButton(IDC_MSL_APPLY));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Parameter is not selected."});
  logic.Item(MsLogicTermControl(0, 0)).SetText("auto");
  logic.Item(MsLogicTermControl(0, 0)).SetCurSel(0);
  EXPECT_TRUE(logic.ApplyRow());
  EXPECT_EQ(logic.Values.Conditions[0].UseSecond, 0u);
  EXPECT_EQ(logic.Values.Conditions[0].Second, second);
  // Deleting the second of two makes the first the default row.
  Type(logic, IDC_MSL_COUNT, "2");
  logic.SelectRow(1);
  EXPECT_TRUE(logic.ClickButton(IDC_MSL_DELETE));
  EXPECT_EQ(logic.Item(IDC_MSL_LIST).GetCount(), 1);
  EXPECT_FALSE(logic.Item(IDC_MSL_DELETE).IsEnabled());
  EXPECT_FALSE(logic.Item(MsLogicTermControl(0, 2)).IsEnabled());
  EXPECT_EQ(logic.Item(IDC_MSL_LIST).GetItemText(0, 2), "");
  // Cancel hands nothing back.
  logic.OnCancel();
  testhooks::ProcessMessages();
  EXPECT_EQ(dlg.Settings.Conditions.size(), LyrMultiScreeningSetting{LyrMultiScreeningSetting::NoFile{}}.Conditions.size());
  dlg.EndDialog(ui::IDCANCEL);
  testhooks::ProcessMessages();
}

TEST_F(MultiScreeningDialogsTest, StageListsOfEachStageType) {
  // Without a document the program defaults name the stages and the extras read F1..F3.
  const auto defaults = LyrDlgScreeningLogic::StageList(nullptr);
  ASSERT_FALSE(defaults.empty());
  EXPECT_EQ(defaults.front().first, 1);
  const std::string a = Write("a");
  ASSERT_NE(app_->OpenDocumentFile(a), nullptr);
  StageTypeParam& block = Doc().Params.stageType;
  const std::vector<int> codes[4] = {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 7}, {1, 2, 3, 5, 7}, {1, 2, 3, 7}};
  for (int type = 0; type < 4; ++type)
    for (int extra = 0; extra <= 3; ++extra) {
      block.stageType = static_cast<std::uint16_t>(type);
      block.sharedInUse = static_cast<std::uint16_t>(extra);
      std::vector<int> got;
      for (const auto& [c, n] : LyrDlgScreeningLogic::StageList(&Doc())) got.push_back(c);
      std::vector<int> want = codes[type];
      for (int k = 0; k < extra; ++k) want.push_back(8 + k);
      EXPECT_EQ(got, want) << type << " " << extra;
    }
}

TEST_F(MultiScreeningDialogsTest, TimeOccupancyRowsSumsAndLightShare) {
  LyrDlgTimeOccupancy d;
  d.Stages = {{1, "W"}, {2, "S1"}, {3, "S2"}, {4, "S3"}, {5, "S4"}, {6, "R"}, {7, "M"}};
  d.TargetOccupancy = {10, 10, 10, 10, 10, 0, 0, 77};
  ASSERT_TRUE(d.CreateModeless(nullptr));
  EXPECT_EQ(d.GetDlgItemText(IDC_MSTO_NAME0 + 8), "R");
  EXPECT_FALSE(d.Item(MsOccupancyEdit(5)).IsEnabled());  // code 7: no row
  EXPECT_EQ(d.GetDlgItemText(IDC_MSTO_REST), "50.000");
  d.SetDlgItemText(MsOccupancyEdit(0), "60");
  d.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(MsOccupancyEdit(0)), ui::EN_KILLFOCUS), 0);
  EXPECT_EQ(d.GetDlgItemText(IDC_MSTO_REST), "0.000");
  d.SetDlgItemText(MsOccupancyEdit(1), "10.5");
  testhooks::Reset();
  d.OnOK();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Please set the time occupancy to become 100%."});
  d.SetDlgItemText(MsOccupancyEdit(1), "10");
  d.SetDlgItemText(IDC_MSTO_LIGHT, "100.5");
  testhooks::Reset();
  d.OnOK();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Please set the time occupancy of light and dark phase to become 100%."});
  d.SetDlgItemText(IDC_MSTO_LIGHT, "100");
  d.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_MSTO_LIGHT, ui::EN_KILLFOCUS), 0);
  EXPECT_EQ(d.GetDlgItemText(IDC_MSTO_DARK), "0.000");
  testhooks::Reset();
  d.OnOK();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(d.IsEnded());
  EXPECT_FLOAT_EQ(d.TargetOccupancy[0], 60.0f);
  EXPECT_FLOAT_EQ(d.TargetOccupancy[7], 77.0f);  // code 10 not listed: unchanged
  EXPECT_FLOAT_EQ(d.LightPhaseShare, 100.0f);
  d.DestroyWindow();
}

// ---- both languages -----------------------------------------------------------------------

TEST(MultiScreeningDialogTexts, TemplatesAndStringsInBothLanguages) {
  for (res::Language lang : {res::Language::English, res::Language::Japanese}) {
    res::SetLanguage(lang);
    for (int id : {327, 328, 329, 330, 331, 332}) EXPECT_TRUE(res::LoadDialogResource(id, lang == res::Language::English ? 1033 : 1041).has_value()) << id;
    for (std::uint32_t id = 62410; id <= 62431; ++id) EXPECT_FALSE(res::LoadString(id).empty()) << id;
  }
  res::SetLanguage(res::Language::English);
}

}  // namespace

// ---- a destroyed dialog's controls -------------------------------------------------------

TEST(DestroyedDialogControls, SendNothingToTheGoneDialog) {
  // A window's controls are deleted after the window object may be gone: disabling their
  // parent before then (a progress window disabling the frame) must not reach the dialog.
  std::string error;
  auto tmpl = res::ParseDialog("caption \"T\"\ncombo 1444 chars=4\ncombo 1445 dropdown chars=4\nedit 1446\n", &error);
  ASSERT_TRUE(tmpl.has_value()) << error;
  ui::Window parent;
  ASSERT_TRUE(parent.Create(nullptr, 0, ui::Rect{0, 0, 400, 300}, true));
  auto* dlg = new ui::Dialog(*tmpl, &parent);
  ASSERT_TRUE(dlg->CreateModeless(&parent));
  dlg->DestroyWindow();
  delete dlg;
  parent.EnableWindow(false);
  parent.EnableWindow(true);
  testhooks::ProcessMessages();
  parent.DestroyWindow();
  testhooks::ProcessMessages();
}
