// Data Processing: the list of channel settings, the controls of a row, Apply, the filter
// family and Cancel.
#include <string>

#include "app/raw/lyr_raw_dlg_data_processing.h"
#include "dialog_fixture.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

namespace {

using D = LyrRawDlgDataProcessing;

class DataProcessingDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 5;
    const char* names[] = {"EEG", "EMG", "EOG", "ECG", "RESP"};
    for (int i = 0; i < 5; ++i) doc.ChInfo[static_cast<std::size_t>(i)].name = names[i];
    doc.ScreeningMarker = -1;
  }
  // Runs the dialog with a script; the script gets the dialog itself.
  int Run(std::function<void(D&)> script) {
    testhooks::ScriptDialog(IDD_DATA_PROCESSING, [&](ui::Dialog& d) { script(static_cast<D&>(d)); });
    D dlg(&doc);
    return dlg.DoModal();
  }
  static void Select(D& d, std::initializer_list<int> rows) {
    ui::Control list = d.Item(D::kChannelList);
    for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
    for (int r : rows) list.SetSelected(r, true);
    d.ShowSelectedRow();
  }
};

TEST_F(DataProcessingDialogTest, ListShowsEveryChannelsProcessing) {
  doc.ChInfo[0].baseLine = 1;
  doc.ChInfo[0].smoothingCount = 5;
  doc.ChInfo[1].filterMode = 2;
  doc.ChInfo[1].cut1Hz = 0.5;
  doc.ChInfo[1].cut2Hz = 35.0;
  doc.ChInfo[2].filterMode = 1;
  doc.ChInfo[2].cut1Hz = 0.3;
  doc.ChInfo[2].notch = 1;
  doc.ChInfo[2].lineFrequencyHz = 60.0;
  doc.ChInfo[3].filterMode = 3;
  doc.ChInfo[3].cut1Hz = 45;
  doc.ChInfo[3].cut2Hz = 55;
  doc.ChInfo[3].notch = 1;
  doc.ChInfo[3].lineFrequencyHz = 50.0;
  Run([](D& d) {
    ui::Control list = d.Item(D::kChannelList);
    ASSERT_EQ(list.GetCount(), 5);
    ASSERT_EQ(list.GetColumnCount(), 6);
    const char* expected[5][6] = {{"  1", "EEG", "ON", "ON:5", "OFF", "OFF"},
                                  {"  2", "EMG", "OFF", "OFF", "BPF:0.50-35.00", "OFF"},
                                  {"  3", "EOG", "OFF", "OFF", "HPF:0.30", "60Hz"},
                                  {"  4", "ECG", "OFF", "OFF", "BSF:45.00-55.00", "50Hz"},
                                  {"  5", "RESP", "OFF", "OFF", "OFF", "OFF"}};
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 6; ++c) EXPECT_EQ(list.GetItemText(r, c), expected[r][c]) << r << "," << c;
    // Opening shows row 0: smoothing.
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_EQ(d.IsDlgButtonChecked(D::kBaseOffsetCheck), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(D::kProcessingCheck), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(D::kSmoothingRadio), 1);
    EXPECT_EQ(d.GetDlgItemText(D::kPointsEdit), "5");
    EXPECT_TRUE(d.Item(D::kPointsEdit).IsEnabled());
    EXPECT_FALSE(d.Item(D::kSelectFilterCheck).IsEnabled());
    // A high-pass with a 60 Hz notch.
    Select(d, {2});
    EXPECT_EQ(d.IsDlgButtonChecked(D::kFilterRadio), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(D::kSelectFilterCheck), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(D::kHighPassRadio), 1);
    EXPECT_EQ(d.GetDlgItemText(D::kCut1Edit), "0.30");
    EXPECT_EQ(d.IsDlgButtonChecked(D::kNotchCheck), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(D::k60HzRadio), 1);
    EXPECT_TRUE(d.Item(D::kCut1Edit).IsEnabled());
    EXPECT_FALSE(d.Item(D::kCut2Edit).IsEnabled());
    EXPECT_FALSE(d.Item(D::kPointsEdit).IsEnabled());
    // A band-stop enables the second cut-off.
    Select(d, {3});
    EXPECT_EQ(d.IsDlgButtonChecked(D::kBandStopRadio), 1);
    EXPECT_TRUE(d.Item(D::kCut2Edit).IsEnabled());
    EXPECT_EQ(d.IsDlgButtonChecked(D::k50HzRadio), 1);
    // Nothing: everything below the processing check is off.
    Select(d, {4});
    EXPECT_EQ(d.IsDlgButtonChecked(D::kProcessingCheck), 0);
    for (int id : {D::kSmoothingRadio, D::kFilterRadio, D::kPointsEdit, D::kSelectFilterCheck, D::kNotchCheck,
                   D::kLowPassRadio, D::kCut1Edit, D::k50HzRadio})
      EXPECT_FALSE(d.Item(id).IsEnabled()) << id;
    EXPECT_TRUE(d.Item(D::kBaseOffsetCheck).IsEnabled());
    EXPECT_TRUE(d.Item(D::kFirRadio).IsEnabled());
    d.ClickButton(ui::IDOK);
  });
}

TEST_F(DataProcessingDialogTest, SmoothingPointsAreOddAndAtLeastOne) {
  struct Case {
    const char* text;
    std::int32_t stored;
    const char* cell;
  };
  for (const Case& c : {Case{"4", 5, "ON:5"}, Case{"7", 7, "ON:7"}, Case{"0", 1, "OFF"}, Case{"", 1, "OFF"},
                        Case{"-3", 1, "OFF"}}) {
    SCOPED_TRACE(c.text);
    doc.ChInfo[0].smoothingCount = 1;
    Run([&](D& d) {
      d.ClickButton(D::kProcessingCheck);
      ASSERT_TRUE(d.ClickButton(D::kSmoothingRadio));
      d.SetDlgItemText(D::kPointsEdit, c.text);
      d.ClickButton(D::kApplyButton);
      EXPECT_EQ(d.Item(D::kChannelList).GetItemText(0, 3), c.cell);
      d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(doc.ChInfo[0].smoothingCount, c.stored);
  }
}

TEST_F(DataProcessingDialogTest, ApplyWritesOnlyTheSelectedRows) {
  EXPECT_EQ(Run([](D& d) {
              Select(d, {0, 2, 4});
              d.ClickButton(D::kProcessingCheck);
              d.ClickButton(D::kFilterRadio);
              d.ClickButton(D::kSelectFilterCheck);
              d.ClickButton(D::kBandPassRadio);
              d.SetDlgItemText(D::kCut1Edit, "0.5");
              d.SetDlgItemText(D::kCut2Edit, "35");
              d.ClickButton(D::kNotchCheck);
              d.ClickButton(D::k60HzRadio);
              d.ClickButton(D::kBaseOffsetCheck);
              d.ClickButton(D::kApplyButton);
              ui::Control list = d.Item(D::kChannelList);
              EXPECT_EQ(list.GetItemText(2, 4), "BPF:0.50-35.00");
              EXPECT_EQ(list.GetItemText(1, 4), "OFF");
              EXPECT_TRUE(list.IsSelected(4));  // refilling keeps the selection
              EXPECT_FALSE(list.IsSelected(1));
              Select(d, {2});
              EXPECT_EQ(d.IsDlgButtonChecked(D::k60HzRadio), 1);
              EXPECT_EQ(d.IsDlgButtonChecked(D::kBandPassRadio), 1);
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  for (int i : {0, 2, 4}) {
    const LyrChInfo& ch = doc.ChInfo[static_cast<std::size_t>(i)];
    EXPECT_EQ(ch.filterMode, 2) << i;
    EXPECT_DOUBLE_EQ(ch.cut1Hz, 0.5);
    EXPECT_DOUBLE_EQ(ch.cut2Hz, 35.0);
    EXPECT_EQ(ch.notch, 1);
    EXPECT_DOUBLE_EQ(ch.lineFrequencyHz, 60.0);
    EXPECT_EQ(ch.baseLine, 1);
  }
  for (int i : {1, 3}) {
    EXPECT_EQ(doc.ChInfo[static_cast<std::size_t>(i)].filterMode, 4) << i;
    EXPECT_EQ(doc.ChInfo[static_cast<std::size_t>(i)].baseLine, 0) << i;
  }
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(DataProcessingDialogTest, CancelPutsEverythingBackAndFamilySwitchesAllChannels) {
  doc.ChInfo[0].filterKind = 0;
  doc.ChInfo[1].smoothingCount = 9;
  for (int i = 1; i < 32; ++i) doc.ChInfo[static_cast<std::size_t>(i)].filterKind = 1;  // mixed on purpose
  EXPECT_EQ(Run([&](D& d) {
              EXPECT_EQ(d.IsDlgButtonChecked(D::kFirRadio), 1);
              d.ClickButton(D::kIirRadio);
              for (const LyrChInfo& ch : doc.ChInfo) EXPECT_EQ(ch.filterKind, 1);
              Select(d, {0, 1});
              d.CheckDlgButton(D::kProcessingCheck, 0);
              d.ClickButton(D::kApplyButton);
              EXPECT_EQ(doc.ChInfo[1].smoothingCount, 1);
              d.ClickButton(ui::IDCANCEL);
            }),
            ui::IDCANCEL);
  EXPECT_EQ(doc.ChInfo[1].smoothingCount, 9);
  for (const LyrChInfo& ch : doc.ChInfo) EXPECT_EQ(ch.filterKind, 0);
}

TEST_F(DataProcessingDialogTest, OkWithScreeningResultsAsksFirst) {
  doc.ScreeningMarker = 3;
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  EXPECT_EQ(Run([](D& d) {
              d.ClickButton(D::kBaseOffsetCheck);
              d.ClickButton(ui::IDOK);
            }),
            ui::IDCANCEL);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text,
            "The screening condition was changed. The analysis result will be initialized. Continue?");
  EXPECT_EQ(doc.ChInfo[0].baseLine, 0);

  testhooks::AnswerMessageBox(ui::IDOK);
  EXPECT_EQ(Run([](D& d) {
              d.ClickButton(D::kBaseOffsetCheck);
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_EQ(doc.ChInfo[0].baseLine, 1);
}

}  // namespace

namespace {

TEST_F(DataProcessingDialogTest, JapaneseTemplateOpensWithJapaneseHeaders) {
  res::SetLanguage(res::Language::Japanese);
  bool ran = false;
  Run([&](D& d) {
    ran = true;
    ASSERT_EQ(d.Item(D::kChannelList).GetCount(), 5);
    EXPECT_TRUE(d.HasControl(D::kApplyButton));
    d.ClickButton(ui::IDOK);
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(res::LoadString(9855) + res::LoadString(9854), "ノッチフィルタ");
  res::SetLanguage(res::Language::English);
}

}  // namespace
