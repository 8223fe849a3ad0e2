// The wave-form recognition window by control id: rows, restoring Cancel, the results question
// of OK, Preview and the animal-only layout.
#include "platform/res/resource_store.h"
#include "wfr_fixture.h"

namespace {

using W = WaveFormRecognitionParam;

}  // namespace

TEST_F(WaveFormSetupTest, RowsFollowTheirChannelAndEmgCancel) {
  LyrRawDlgWaveFormRecognition& dlg = Open();
  const auto* delta = LyrRawDlgWaveFormRecognition::Row(1);
  ui::Control combo = dlg.Item(delta->channel);
  ASSERT_EQ(combo.GetCount(), 13);
  EXPECT_EQ(combo.GetString(0), "None");
  EXPECT_EQ(combo.GetString(1), "  1:C3-A2");
  EXPECT_EQ(combo.GetString(12), " 12:Leg EMG");
  // "None": everything but the combo is disabled.
  EXPECT_EQ(combo.GetCurSel(), 0);
  for (const int id : {delta->colour, delta->show, delta->cursor, delta->values[0], delta->showPeak, delta->emgCancel,
                       delta->emgLevel})
    EXPECT_FALSE(dlg.Item(id).IsEnabled()) << id;
  // A channel enables the row; the EMG cancel level only while EMG cancel is ticked (Delta's is).
  Select(dlg, delta->channel, 3);
  EXPECT_EQ(Block().bands[W::kDelta].channel, 2);
  for (const int id : {delta->colour, delta->show, delta->cursor, delta->values[5], delta->showPeak, delta->emgCancel})
    EXPECT_TRUE(dlg.Item(id).IsEnabled()) << id;
  EXPECT_TRUE(dlg.Item(delta->emgLevel).IsEnabled());
  ASSERT_TRUE(dlg.ClickButton(delta->emgCancel));
  EXPECT_EQ(Block().bands[W::kDelta].emgCancel, 0);
  EXPECT_FALSE(dlg.Item(delta->emgLevel).IsEnabled());

  // A refresh replaces text typed and not stored.
  dlg.SetDlgItemText(delta->values[0], "123");
  Select(dlg, delta->channel, 3);
  EXPECT_EQ(dlg.GetDlgItemText(delta->values[0]), "75.000");
  EXPECT_EQ(dlg.GetDlgItemText(delta->values[5]), "2");
  EXPECT_EQ(dlg.GetDlgItemText(delta->emgLevel), "3.50");

  // Stored as C decimals: 12.5 half waves are 12, text that is no number 0.
  dlg.SetDlgItemText(delta->values[5], "12.5");
  dlg.SetDlgItemText(delta->values[0], "abc");
  dlg.SaveAllRows();
  EXPECT_EQ(Block().bands[W::kDelta].halfWaveCount, 12);
  EXPECT_EQ(Block().bands[W::kDelta].amplitudeMin, 0.0);

  // The EMG row and the K-complex row refill the same way.
  Select(dlg, LyrRawDlgWaveFormRecognition::kEmgChannel, 5);
  EXPECT_EQ(Block().emgChannel, 4);
  Select(dlg, 1168, 1);
  EXPECT_EQ(Block().kComplex.channel, 0);
  EXPECT_EQ(dlg.GetDlgItemText(1171), "500.000");
  Close(dlg, ui::IDCANCEL);
}

TEST_F(WaveFormSetupTest, BandNameButtonsRenameTheFreeBands) {
  LyrRawDlgWaveFormRecognition& dlg = Open();
  EXPECT_EQ(dlg.GetDlgItemText(1165), "Band2");
  testhooks::ScriptDialog(144, [](ui::Dialog& d) {
    d.SetDlgItemText(1282, "Sawtooth waves");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(dlg.ClickButton(1165));
  EXPECT_EQ(Block().bands[W::kBand2].name, "Sawtooth ");
  EXPECT_EQ(dlg.GetDlgItemText(1165), "Sawtooth ");
  Close(dlg, ui::IDOK);
}

TEST_F(WaveFormSetupTest, CancelGivesBackTheBlockAsAtSetUp) {
  Block().bands[W::kBand1].channel = 0;
  const std::string before = Bytes();
  LyrRawDlgWaveFormRecognition& dlg = Open();
  // Preview, a colour, a channel, the precision, a band name and a pick.
  dlg.SetDlgItemText(1120, "55");
  ASSERT_TRUE(dlg.ClickButton(1174));
  testhooks::AnswerColorDialog(ui::IDOK, 0x123456);
  ASSERT_TRUE(dlg.ClickButton(1233));
  EXPECT_EQ(Block().bands[W::kBand1].colour, 0x123456u);
  Select(dlg, 1188, 4);
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kHigh));
  EXPECT_EQ(Block().precision, 0);
  testhooks::ScriptDialog(144, [](ui::Dialog& d) {
    d.SetDlgItemText(1282, "Mu");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(dlg.ClickButton(1164));
  // A template load.
  WaveFormRecognitionParam other = Block();
  other.bands[W::kSpindle].frequencyMaxHz = 16.0;
  const std::string path = OutPath("other.wtf");
  ASSERT_TRUE(WriteWaveFormTemplate(path, other));
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
  EXPECT_EQ(Block().bands[W::kSpindle].frequencyMaxHz, 16.0);
  ASSERT_TRUE(dlg.ClickButton(1250));
  EXPECT_EQ(PreviewKind, 5);
  EXPECT_EQ(RawPreviewMode, 1);
  EXPECT_NE(Bytes(), before);
  Close(dlg, ui::IDCANCEL);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(Frame().WaveFormRecognitionDlg, nullptr);
  EXPECT_EQ(RawPreviewMode, 0);
}

// OK with and without analysis results, by what changed.
TEST_F(WaveFormSetupTest, OkAsksBeforeDiscardingResultsOnlyWhenARecognitionValueChanged) {
  struct Case {
    const char* what;
    bool results;
    std::function<void(LyrRawDlgWaveFormRecognition&)> edit;
    bool asks;
    int answer;
  };
  const auto colour = [](LyrRawDlgWaveFormRecognition& d) {
    testhooks::AnswerColorDialog(ui::IDOK, 0xFF);
    d.ClickButton(1218);
  };
  const auto show = [](LyrRawDlgWaveFormRecognition& d) {
    d.CheckDlgButton(1057, 0);
    d.CheckDlgButton(1209, 1);
  };
  const auto name = [](LyrRawDlgWaveFormRecognition& d) {
    testhooks::ScriptDialog(144, [](ui::Dialog& n) {
      n.SetDlgItemText(1282, "Mu");
      n.ClickButton(ui::IDOK);
    });
    d.ClickButton(1166);
  };
  const auto channel = [](LyrRawDlgWaveFormRecognition& d) { Select(d, 1074, 2); };
  const auto emgCancel = [](LyrRawDlgWaveFormRecognition& d) { d.ClickButton(1211); };
  const auto precision = [](LyrRawDlgWaveFormRecognition& d) { d.ClickButton(LyrRawDlgWaveFormRecognition::kHigh); };
  // Each edit differs from what the block holds by then.
  const auto limit = [](LyrRawDlgWaveFormRecognition& d) {
    d.SetDlgItemText(1044, std::to_string(std::atof(d.GetDlgItemText(1044).c_str()) + 1.0));
  };
  const auto previewed = [](LyrRawDlgWaveFormRecognition& d) {
    d.SetDlgItemText(1170, "300");
    d.ClickButton(1174);
  };
  for (const Case& c : {Case{"no results, a limit", false, limit, false, 0}, Case{"colour", true, colour, false, 0},
                        Case{"Show and Show peak", true, show, false, 0}, Case{"band name", true, name, false, 0},
                        Case{"channel, OK", true, channel, true, ui::IDOK},
                        Case{"EMG cancel, OK", true, emgCancel, true, ui::IDOK},
                        Case{"precision, Cancel", true, precision, true, ui::IDCANCEL},
                        Case{"limit, OK", true, limit, true, ui::IDOK},
                        Case{"limit stored by Preview, Cancel", true, previewed, true, ui::IDCANCEL}}) {
    SCOPED_TRACE(c.what);
    Doc().LastScreenedEpoch = c.results ? 50 : -1;
    ResultModifiedState = c.results ? 1 : 0;
    if (c.results) Doc().EpochTables.SetStage(3, 4);
    Block().bands[W::kTheta].channel = 0;
    LyrRawDlgWaveFormRecognition& dlg = Open();
    const std::string before = Bytes();
    c.edit(dlg);
    testhooks::Reset();
    if (c.asks) testhooks::AnswerMessageBox(c.answer);
    ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
    testhooks::ProcessMessages();
    EXPECT_EQ(Frame().WaveFormRecognitionDlg, nullptr);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), c.asks ? 1u : 0u);
    if (c.asks) {
      EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, res::LoadString(2348));
    }
    const bool discarded = !c.results || (c.asks && c.answer == ui::IDOK);
    const bool kept = c.results && !c.asks;
    EXPECT_EQ(Doc().LastScreenedEpoch, kept || (c.asks && c.answer == ui::IDCANCEL) ? 50 : -1);
    if (c.results) {
      EXPECT_EQ(Doc().EpochTables.GetStage(0, 3, 0), discarded ? 0 : 4);
    }
    EXPECT_EQ(ResultModifiedState, discarded ? 0 : 1);
    if (c.asks && c.answer == ui::IDCANCEL) {
      EXPECT_EQ(Bytes(), before) << "Cancel restores the block";
    }
  }
}

TEST_F(WaveFormSetupTest, PreviewHidesTheWindowUntilItsTimer) {
  LyrRawDlgWaveFormRecognition& dlg = Open();
  dlg.SetDlgItemText(1030, "41");
  ASSERT_TRUE(dlg.ClickButton(1174));
  EXPECT_EQ(Block().bands[W::kDelta].peakDetectLevel, 41.0);
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.m_bShown, 0);
  EXPECT_EQ(dlg.TimerPeriod(8108), 2500);
  ASSERT_TRUE(testhooks::FireTimer(dlg, 8108));
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.m_bShown, 1);
  EXPECT_FALSE(dlg.IsTimerArmed(8108));
  Close(dlg, ui::IDCANCEL);
}

TEST_F(WaveFormSetupTest, AnimalOnlyShowsFreeBandsAndEmgAndStoresNormalPrecision) {
  Block().bands[W::kDelta].channel = 0;
  Block().eogLeft.channel = 3;
  Block().kComplex.channel = 1;
  Block().bands[W::kBand1].channel = 2;
  Block().precision = 0;
  AnimalOnlyMode = 1;
  LyrRawDlgWaveFormRecognition& dlg = Open();
  // The established bands go with their group box, the precision radios with theirs.
  for (const int id : {9193, 9195, 1168, 1173, 1188, 1197, 1199, 9201, 9212})
    EXPECT_FALSE(dlg.Item(id).IsVisible()) << id;
  for (const int id : {9194, 1117, 1164, 1203, 1275, 1276, 1174})
    EXPECT_TRUE(dlg.Item(id).IsVisible()) << id;
  EXPECT_EQ(Block().bands[W::kDelta].channel, -1);
  EXPECT_EQ(Block().eogLeft.channel, -1);
  EXPECT_EQ(Block().kComplex.channel, -1);
  EXPECT_EQ(Block().bands[W::kBand1].channel, 2);
  // The free bands stand at the top, where the established bands were.
  EXPECT_LT(dlg.Item(9194).GetRectInOwner().top, 40);
  EXPECT_EQ(dlg.IsDlgButtonChecked(1379), 1);
  Close(dlg, ui::IDOK);
  EXPECT_EQ(Block().precision, 1);
}
