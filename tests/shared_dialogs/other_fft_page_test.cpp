// The FFT page of the "Other" settings window, driven by control id.
#include "app/settings/lyr_raw_dlg_other.h"
#include "dialog_fixture.h"
#include "platform/res/ui_resource.h"

namespace {

class FftPage : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[2].name = "EOG";
    doc.ChInfo[2].rate = 100;
    SetDefaultFFTBandParam(0, &doc.Params.fftBand, 3);
  }

  // Runs the window on the document with a script acting on the FFT page; returns the end code.
  int Run(LyrRawDlgOther& dlg, std::function<void(LyrRawDlgOther&, LyrRawDlgOtherFFT&)> script) {
    dlg.m_pDoc = &doc;
    testhooks::ScriptDialog(IDD_OTHER_SETTINGS, [script](ui::Dialog& d) {
      auto& other = static_cast<LyrRawDlgOther&>(d);
      script(other, other.m_Fft);
    });
    return dlg.DoModal();
  }
};

void Click(ui::Dialog& page, std::initializer_list<int> rows) {
  ui::Control list = page.Item(IDC_OFFT_CHANNEL_LIST);
  for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
  for (int r : rows) list.SetSelected(r, true);
  ui::NotifyHeader h{IDC_OFFT_CHANNEL_LIST, ui::NM_CLICK};
  page.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
}

void Choose(ui::Dialog& page, int combo, int entry) {
  page.Item(combo).SetCurSel(entry);
  page.SendMessage(ui::WM_COMMAND, ui::MakeLong(combo, ui::CBN_SELCHANGE), 0);
}

// One press of the averaging spin: up (+1) or down (-1).
void Spin(ui::Dialog& page, int direction) {
  page.Item(IDC_OFFT_AVERAGE_SPIN).SetPos(1 + direction);
  ui::NotifyHeader h{IDC_OFFT_AVERAGE_SPIN, ui::UDN_DELTAPOS};
  page.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
}

std::string LastBox() {
  const auto& boxes = testhooks::ShownMessageBoxes();
  return boxes.empty() ? std::string() : boxes.back().text;
}

TEST_F(FftPage, ShowsTheStoredSettings) {
  auto& p = doc.Params.fftBand;
  p.channelSwitch[1] = 1;
  p.fftPoints = 1024;
  p.averagingCount = 4;
  p.windowType = 4;
  p.unit = 1;
  p.contentRange = 1;
  p.optionalFromHz = 0.5f;
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    ui::Control list = f.Item(IDC_OFFT_CHANNEL_LIST);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "  1:");
    EXPECT_EQ(list.GetItemText(2, 1), "EOG");
    EXPECT_EQ(list.GetSelectedIndexes(), std::vector<int>{1});
    EXPECT_EQ(f.Item(IDC_OFFT_POINTS).GetCount(), 10);
    EXPECT_EQ(f.Item(IDC_OFFT_POINTS).GetString(9), "32768");
    EXPECT_EQ(f.Item(IDC_OFFT_POINTS).GetCurSel(), 4);
    EXPECT_EQ(f.Item(IDC_OFFT_WINDOW).GetString(f.Item(IDC_OFFT_WINDOW).GetCurSel()), "Cosine taper");
    EXPECT_EQ(f.Item(IDC_OFFT_UNIT).GetCurSel(), 1);
    EXPECT_EQ(f.Item(IDC_OFFT_BAND_COUNT).GetCurSel(), 2);
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_AVERAGE), "4");
    // 1024 points at 200 Hz (channel 2): 5.12 s a unit, four of them.
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_TIME), "Analysis time :20.48[sec]   (unit time :5.12[sec])");
    EXPECT_EQ(f.GetDlgItemText(kOfftBandEdits[0][0]), "Delta");
    EXPECT_EQ(f.GetDlgItemText(kOfftBandEdits[0][1]), "0.250");
    EXPECT_EQ(f.GetDlgItemText(kOfftBandEdits[2][2]), "13.000");
    EXPECT_EQ(f.IsDlgButtonChecked(IDC_OFFT_OPTIONAL_BAND), 1);
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_OPTIONAL_LOW), "0.50");
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_OPTIONAL_HIGH), "13.00");
    // Bands above the count are disabled; the range edits follow the optional band.
    EXPECT_TRUE(f.Item(kOfftBandEdits[2][0]).IsEnabled());
    EXPECT_FALSE(f.Item(kOfftBandEdits[3][0]).IsEnabled());
    EXPECT_TRUE(f.Item(IDC_OFFT_OPTIONAL_LOW).IsEnabled());
    ASSERT_TRUE(f.ClickButton(IDC_OFFT_ALL_BANDS));
    EXPECT_FALSE(f.Item(IDC_OFFT_OPTIONAL_LOW).IsEnabled());
    d.EndDialog(ui::IDCANCEL);
  });
}

// Without a channel only the list and the averaging are usable; a click on a row enables the rest.
TEST_F(FftPage, ChannelClicksSetTheFlagsAndTheStates) {
  LyrRawDlgOther dlg;
  Run(dlg, [this](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    EXPECT_TRUE(f.Item(IDC_OFFT_CHANNEL_LIST).IsEnabled());
    EXPECT_TRUE(f.Item(IDC_OFFT_AVERAGE_SPIN).IsEnabled());
    for (int id : {IDC_OFFT_POINTS, IDC_OFFT_WINDOW, IDC_OFFT_BAND_COUNT, IDC_OFFT_ALL_BANDS, kOfftBandEdits[0][0]})
      EXPECT_FALSE(f.Item(id).IsEnabled()) << id;
    // The keyboard alone changes no flag.
    f.Item(IDC_OFFT_CHANNEL_LIST).SetSelected(2, true);
    EXPECT_EQ(doc.Params.fftBand.channelSwitch[2], 0);
    Click(f, {0, 2});
    EXPECT_EQ(doc.Params.fftBand.channelSwitch[0], 1);
    EXPECT_EQ(doc.Params.fftBand.channelSwitch[1], 0);
    EXPECT_EQ(doc.Params.fftBand.channelSwitch[2], 1);
    EXPECT_TRUE(f.Item(IDC_OFFT_POINTS).IsEnabled());
    EXPECT_TRUE(f.Item(kOfftBandEdits[2][2]).IsEnabled());
    EXPECT_FALSE(f.Item(kOfftBandEdits[3][2]).IsEnabled());
    EXPECT_FALSE(f.Item(IDC_OFFT_OPTIONAL_LOW).IsEnabled());
    d.EndDialog(ui::IDCANCEL);
  });
}

TEST_F(FftPage, AveragingAndPointsWriteAtOnceAndCancelPutsThemBack) {
  doc.Params.fftBand.channelSwitch[0] = 1;
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [this](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    Spin(f, -1);
    EXPECT_EQ(doc.Params.fftBand.averagingCount, 1);  // never below 1
    for (int i = 0; i < 120; ++i) Spin(f, +1);
    EXPECT_EQ(doc.Params.fftBand.averagingCount, 100);  // nor above 100
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_AVERAGE), "100");
    Choose(f, IDC_OFFT_POINTS, 3);
    EXPECT_EQ(doc.Params.fftBand.fftPoints, 512u);
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_TIME), "Analysis time :512.00[sec]   (unit time :5.12[sec])");
    Click(f, {1});
    ASSERT_TRUE(d.ClickButton(ui::IDCANCEL));
  }), ui::IDCANCEL);
  EXPECT_EQ(doc.Params.fftBand.averagingCount, 1);
  EXPECT_EQ(doc.Params.fftBand.fftPoints, 64u);
  EXPECT_EQ(doc.Params.fftBand.channelSwitch[0], 1);
  EXPECT_EQ(doc.Params.fftBand.channelSwitch[1], 0);
}

TEST_F(FftPage, OkStoresBandsWindowAndUnit) {
  doc.Params.fftBand.channelSwitch[0] = 1;
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    Choose(f, IDC_OFFT_BAND_COUNT, 3);
    f.SetDlgItemText(kOfftBandEdits[3][0], "Sigma123");  // eight characters: accepted
    f.SetDlgItemText(kOfftBandEdits[3][1], "12");
    f.SetDlgItemText(kOfftBandEdits[3][2], "0.001");   // below its low: accepted
    f.Item(IDC_OFFT_WINDOW).SetCurSel(2);  // Hamming
    f.Item(IDC_OFFT_UNIT).SetCurSel(1);
    f.SetDlgItemText(IDC_OFFT_OPTIONAL_LOW, "1.5");
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  const auto& p = doc.Params.fftBand;
  EXPECT_EQ(p.bandCount, 4);
  EXPECT_EQ(p.bands[3].name, "Sigma123");
  EXPECT_DOUBLE_EQ(p.bands[3].fromHz, 12.0);
  EXPECT_DOUBLE_EQ(p.bands[3].toHz, 0.001);
  EXPECT_EQ(p.windowType, 1);
  EXPECT_EQ(p.unit, 1);
  EXPECT_FLOAT_EQ(p.optionalFromHz, 1.5f);
  EXPECT_EQ(dlg.m_FftChanged, 1);  // the window and the unit changed
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

// Band names and frequencies alone do not count as a change.
TEST_F(FftPage, BandEditsAloneLeaveTheChangedFlag) {
  doc.Params.fftBand.channelSwitch[0] = 1;
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    f.SetDlgItemText(kOfftBandEdits[0][0], "Slow");
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  EXPECT_EQ(doc.Params.fftBand.bands[0].name, "Slow");
  EXPECT_EQ(dlg.m_FftChanged, 0);
}

TEST_F(FftPage, ChangingTheBandCountShowsTheStoredNamesAgain) {
  doc.Params.fftBand.channelSwitch[0] = 1;
  LyrRawDlgOther dlg;
  Run(dlg, [this](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    f.SetDlgItemText(kOfftBandEdits[0][0], "Slow");
    Choose(f, IDC_OFFT_BAND_COUNT, 1);
    EXPECT_EQ(doc.Params.fftBand.bandCount, 2);
    EXPECT_EQ(f.GetDlgItemText(kOfftBandEdits[0][0]), "Delta");
    EXPECT_FALSE(f.Item(kOfftBandEdits[2][0]).IsEnabled());
    d.EndDialog(ui::IDCANCEL);
  });
}

// Each fault shows its message, keeps the window open and stores nothing.
TEST_F(FftPage, InvalidValuesKeepTheWindowOpen) {
  struct Case {
    int id;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {kOfftBandEdits[1][0], "ThetaBand", "Input number of name less than 8."},
      {kOfftBandEdits[0][1], "0", "Input number greater than 0."},
      {kOfftBandEdits[2][2], "-1", "Please enter a number between 0 and 10000."},
      {kOfftBandEdits[2][2], "10001", "Please enter a number between 0 and 10000."},
      {kOfftBandEdits[1][1], "abc", "Please enter a number."},
      // A band above the count is not validated, but must still be a number in range.
      {kOfftBandEdits[5][1], "20000", "Please enter a number between 0 and 10000."},
      {IDC_OFFT_OPTIONAL_HIGH, "0", "Input number greater than 0."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    testhooks::Reset();
    SetDefaultFFTBandParam(0, &doc.Params.fftBand, 3);
    doc.Params.fftBand.channelSwitch[0] = 1;
    doc.Params.fftBand.contentRange = 1;
    LyrRawDlgOther dlg;
    Run(dlg, [&c](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
      f.Item(IDC_OFFT_UNIT).SetCurSel(1);
      f.SetDlgItemText(c.id, c.text);
      ASSERT_TRUE(d.ClickButton(ui::IDOK));
      EXPECT_FALSE(d.IsEnded());
      EXPECT_EQ(LastBox(), c.message);
      d.EndDialog(ui::IDCANCEL);
    });
    EXPECT_EQ(doc.Params.fftBand.unit, 0);
  }
}

// Without a channel nothing but the number check applies.
TEST_F(FftPage, NoChannelSkipsTheChecks) {
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    f.SetDlgItemText(kOfftBandEdits[0][1], "0");
    f.SetDlgItemText(kOfftBandEdits[0][0], "VeryLongName");
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(FftPage, ReadOnlyDisablesEverything) {
  doc.Params.fftBand.channelSwitch[0] = 1;
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    f.SetReadOnly(true);
    for (int id : f.ControlIds()) {
      if (id == IDC_OFFT_TIME || id == IDC_OFFT_HINT) continue;
      EXPECT_FALSE(f.Item(id).IsEnabled()) << id;
    }
    d.EndDialog(ui::IDCANCEL);
  });
}

TEST_F(FftPage, JapaneseTemplateCarriesTheControls) {
  res::SetLanguage(res::Language::Japanese);
  doc.Params.fftBand.channelSwitch[0] = 1;
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherFFT& f) {
    for (int id : {IDC_OFFT_CHANNEL_LIST, IDC_OFFT_AVERAGE, IDC_OFFT_POINTS, IDC_OFFT_WINDOW, IDC_OFFT_UNIT,
                   IDC_OFFT_BAND_COUNT, IDC_OFFT_ALL_BANDS, IDC_OFFT_OPTIONAL_HIGH, kOfftBandEdits[5][2], IDC_OFFT_HINT})
      EXPECT_TRUE(f.HasControl(id)) << id;
    EXPECT_EQ(f.Item(IDC_OFFT_WINDOW).GetString(0), "矩形");
    EXPECT_EQ(f.GetDlgItemText(IDC_OFFT_TIME).rfind("解析時間 :", 0), 0u);
    d.EndDialog(ui::IDCANCEL);
  });
  res::SetLanguage(res::Language::English);
  for (std::uint32_t s : {2311u, 2536u, 2537u, 64130u, 64139u}) EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
}

}  // namespace
