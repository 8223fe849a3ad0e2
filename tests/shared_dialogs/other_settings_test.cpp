// The "Other" settings window and its artifact / cross-level page, driven by control id.
#include <bit>
#include <cstring>

#include "app/settings/lyr_raw_dlg_other.h"
#include "dialog_fixture.h"
#include "platform/res/ui_resource.h"

namespace {

class OtherSettings : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[2].name = "EOG";
    doc.ChInfo[2].rate = 100;
  }

  // Runs the window on the document with a script; returns the end code.
  int Run(LyrRawDlgOther& dlg, std::function<void(LyrRawDlgOther&)> script) {
    dlg.m_pDoc = &doc;
    testhooks::ScriptDialog(IDD_OTHER_SETTINGS, [script](ui::Dialog& d) { script(static_cast<LyrRawDlgOther&>(d)); });
    return dlg.DoModal();
  }
};

void Notify(ui::Dialog& d, int id, int code) {
  ui::NotifyHeader h{id, code};
  d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
}

// Selects exactly the given rows, as a click or the keyboard leaves them.
void Select(ui::Dialog& page, std::initializer_list<int> rows) {
  ui::Control list = page.Item(IDC_OAC_CHANNEL_LIST);
  for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
  for (int r : rows) list.SetSelected(r, true);
}

float CrossLevel(const CQLM2_AnalyzerDoc& doc, int ch) {
  return std::bit_cast<float>(doc.Params.chDispMode.entries[static_cast<std::size_t>(ch)].value);
}

TEST_F(OtherSettings, OpensOnTheArtifactPageWithTheChannelsListed) {
  doc.Params.chDispScale.entries[0] = {1, -12.5f};
  doc.Params.chDispMode.entries[0] = {1, std::bit_cast<std::uint32_t>(3.25f)};
  doc.Params.chDispMode.entries[1] = {0, std::bit_cast<std::uint32_t>(-1.0f)};
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d) {
    d.ShowWindow(ui::SW_SHOW);  // the pages show only inside a shown window
    ui::Control tab = d.Item(IDC_OTHER_TAB);
    ASSERT_EQ(tab.GetCount(), 3);
    EXPECT_EQ(tab.GetString(0), "Artifact/Cross level");
    EXPECT_EQ(tab.GetString(1), "Mark");
    EXPECT_EQ(tab.GetString(2), "FFT");
    EXPECT_EQ(d.ShownPage(), 0);
    EXPECT_TRUE(d.m_ArtifactCross.IsWindowVisible());
    EXPECT_FALSE(d.m_MarkTrigger.IsWindowVisible());
    EXPECT_FALSE(d.m_Fft.IsWindowVisible());

    LyrRawDlgOtherArtifactCross& p = d.m_ArtifactCross;
    ui::Control list = p.Item(IDC_OAC_CHANNEL_LIST);
    ASSERT_EQ(list.GetColumnCount(), 5);
    ASSERT_EQ(list.GetCount(), 3);
    // No., name, artifact level (absolute, three decimals), cross mode, cross level.
    const char* rows[3][5] = {{"  1", "EEG", "12.500", "Down->Up", "3.250"},
                              {"  2", "EMG", "None", "Up->Down", "-1.000"},
                              {"  3", "EOG", "None", "None", ""}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 5; ++c) EXPECT_EQ(list.GetItemText(r, c), rows[r][c]) << r << "," << c;
    // Row 0 is selected and shown with two decimals.
    EXPECT_EQ(list.GetSelectedIndexes(), std::vector<int>{0});
    EXPECT_EQ(p.IsDlgButtonChecked(IDC_OAC_ARTIFACT_CHECK), 1);
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_ARTIFACT_LEVEL), "-12.50");
    EXPECT_EQ(p.IsDlgButtonChecked(IDC_OAC_CROSS_DOWN_UP), 1);
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_CROSS_LEVEL), "3.25");
    EXPECT_TRUE(p.Item(IDC_OAC_ARTIFACT_LEVEL).IsEnabled());
    EXPECT_TRUE(p.Item(IDC_OAC_CROSS_LEVEL).IsEnabled());
    d.EndDialog(ui::IDCANCEL);
  }), ui::IDCANCEL);
}

TEST_F(OtherSettings, ApplyWritesEverySelectedChannelAndOkReportsTheChange) {
  doc.Params.chDispScale.entries[1] = {0x00070000u, 1000.0f};  // filler bits are kept
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [this](LyrRawDlgOther& d) {
    LyrRawDlgOtherArtifactCross& p = d.m_ArtifactCross;
    Select(p, {1, 2});
    ASSERT_TRUE(p.ClickButton(IDC_OAC_ARTIFACT_CHECK));
    EXPECT_TRUE(p.Item(IDC_OAC_ARTIFACT_LEVEL).IsEnabled());
    p.SetDlgItemText(IDC_OAC_ARTIFACT_LEVEL, "-75.5");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_ARTIFACT));
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_ARTIFACT_LEVEL), "");
    EXPECT_EQ(p.Item(IDC_OAC_CHANNEL_LIST).GetItemText(2, 2), "75.500");

    Select(p, {0, 2});
    ASSERT_TRUE(p.ClickButton(IDC_OAC_CROSS_UP_DOWN));
    p.SetDlgItemText(IDC_OAC_CROSS_LEVEL, "2.5");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_CROSS));
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_CROSS_LEVEL), "");
    // A text that is not a number is stored as 0.
    Select(p, {1});
    ASSERT_TRUE(p.ClickButton(IDC_OAC_CROSS_DOWN_UP));
    p.SetDlgItemText(IDC_OAC_CROSS_LEVEL, "abc");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_CROSS));
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  EXPECT_EQ(doc.Params.chDispScale.entries[0].word, 0u);
  EXPECT_EQ(doc.Params.chDispScale.entries[1].word, 0x00070001u);
  EXPECT_EQ(doc.Params.chDispScale.entries[1].value, -75.5f);
  EXPECT_EQ(doc.Params.chDispScale.entries[2].word, 1u);
  EXPECT_EQ(doc.Params.chDispScale.entries[2].value, -75.5f);
  EXPECT_EQ(doc.Params.chDispMode.entries[0].mode, 0u);
  EXPECT_EQ(CrossLevel(doc, 0), 2.5f);
  EXPECT_EQ(doc.Params.chDispMode.entries[1].mode, 1u);
  EXPECT_EQ(CrossLevel(doc, 1), 0.0f);
  EXPECT_EQ(doc.Params.chDispMode.entries[2].mode, 0u);
  EXPECT_EQ(dlg.m_ArtifactCrossChanged, 1);
  EXPECT_TRUE(dlg.AnyPageChanged());
}

TEST_F(OtherSettings, ApplyWithoutSelectionChangesNothingButClearsTheEdit) {
  const AnalysisParamBlocks before = doc.Params;
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d) {
    LyrRawDlgOtherArtifactCross& p = d.m_ArtifactCross;
    Select(p, {});
    p.CheckDlgButton(IDC_OAC_ARTIFACT_CHECK, 1);
    p.SetDlgItemText(IDC_OAC_ARTIFACT_LEVEL, "5");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_ARTIFACT));
    p.SetDlgItemText(IDC_OAC_CROSS_LEVEL, "5");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_CROSS));
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_ARTIFACT_LEVEL), "");
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_CROSS_LEVEL), "");
    EXPECT_EQ(p.Item(IDC_OAC_CHANNEL_LIST).GetCount(), 3);
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  for (std::size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(doc.Params.chDispScale.entries[i].word, before.chDispScale.entries[i].word);
    EXPECT_EQ(doc.Params.chDispMode.entries[i].mode, before.chDispMode.entries[i].mode);
  }
  EXPECT_FALSE(dlg.AnyPageChanged());
}

// The controls follow the list on a mouse click only; Apply acts on the rows selected now.
TEST_F(OtherSettings, ControlsFollowTheListOnlyOnAClick) {
  doc.Params.chDispScale.entries[2] = {1, 40.0f};
  LyrRawDlgOther dlg;
  Run(dlg, [this](LyrRawDlgOther& d) {
    LyrRawDlgOtherArtifactCross& p = d.m_ArtifactCross;
    EXPECT_EQ(p.IsDlgButtonChecked(IDC_OAC_ARTIFACT_CHECK), 0);
    EXPECT_FALSE(p.Item(IDC_OAC_ARTIFACT_LEVEL).IsEnabled());
    EXPECT_EQ(p.IsDlgButtonChecked(IDC_OAC_CROSS_NONE), 1);
    EXPECT_FALSE(p.Item(IDC_OAC_CROSS_LEVEL).IsEnabled());
    Select(p, {2});
    EXPECT_EQ(p.IsDlgButtonChecked(IDC_OAC_ARTIFACT_CHECK), 0) << "keyboard selection leaves the controls";
    Notify(p, IDC_OAC_CHANNEL_LIST, ui::NM_CLICK);
    EXPECT_EQ(p.IsDlgButtonChecked(IDC_OAC_ARTIFACT_CHECK), 1);
    EXPECT_EQ(p.GetDlgItemText(IDC_OAC_ARTIFACT_LEVEL), "40.00");
    // Unchecking applies "off" to row 2; the level is written as well.
    ASSERT_TRUE(p.ClickButton(IDC_OAC_ARTIFACT_CHECK));
    EXPECT_FALSE(p.Item(IDC_OAC_ARTIFACT_LEVEL).IsEnabled());
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_ARTIFACT));
    EXPECT_EQ(doc.Params.chDispScale.entries[2].word, 0u);
    EXPECT_EQ(doc.Params.chDispScale.entries[2].value, 40.0f);
    d.EndDialog(ui::IDOK);
  });
}

TEST_F(OtherSettings, CancelPutsBothBlocksBackByteForByte) {
  doc.Params.chDispScale.entries[0] = {1, 7.0f};
  doc.Params.chDispScale.entries[20] = {0x00050001u, 123.0f};  // beyond the channel count
  doc.Params.chDispMode.entries[31] = {0x00010000u, 0xDEADBEEFu};
  std::array<std::uint8_t, 256> scaleBefore{}, modeBefore{}, scaleAfter{}, modeAfter{};
  doc.Params.chDispScale.Store(scaleBefore);
  doc.Params.chDispMode.Store(modeBefore);
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d) {
    LyrRawDlgOtherArtifactCross& p = d.m_ArtifactCross;
    Select(p, {0, 1, 2});
    p.SetDlgItemText(IDC_OAC_ARTIFACT_LEVEL, "9");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_ARTIFACT));
    ASSERT_TRUE(p.ClickButton(IDC_OAC_CROSS_UP_DOWN));
    p.SetDlgItemText(IDC_OAC_CROSS_LEVEL, "1");
    ASSERT_TRUE(p.ClickButton(IDC_OAC_APPLY_CROSS));
    ASSERT_TRUE(d.ClickButton(ui::IDCANCEL));
  }), ui::IDCANCEL);
  doc.Params.chDispScale.Store(scaleAfter);
  doc.Params.chDispMode.Store(modeAfter);
  EXPECT_EQ(scaleAfter, scaleBefore);
  EXPECT_EQ(modeAfter, modeBefore);
}

TEST_F(OtherSettings, TabsShowTheirPages) {
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d) {
    d.ShowWindow(ui::SW_SHOW);
    ui::Control tab = d.Item(IDC_OTHER_TAB);
    for (int i : {2, 1, 0}) {
      tab.SetCurSel(i);
      Notify(d, IDC_OTHER_TAB, ui::TCN_SELCHANGE);
      EXPECT_EQ(d.ShownPage(), i);
      EXPECT_EQ(d.m_ArtifactCross.IsWindowVisible(), i == 0);
      EXPECT_EQ(d.m_MarkTrigger.IsWindowVisible(), i == 1);
      EXPECT_EQ(d.m_Fft.IsWindowVisible(), i == 2);
    }
    // The pages lie inside the window, below the tabs and above the buttons.
    const ui::Rect page = d.m_ArtifactCross.GetWindowRect();
    const ui::Rect host = d.GetWindowRect();
    const ui::Rect ok = d.Item(ui::IDOK).GetRectInOwner();
    EXPECT_GE(page.left, host.left);
    EXPECT_LE(page.right, host.right);
    EXPECT_LT(d.ScreenToClient({page.left, page.bottom}).y, ok.top);
    EXPECT_GT(d.ScreenToClient({page.left, page.top}).y, d.Item(IDC_OTHER_TAB).GetRectInOwner().top);
    // Esc on a page is the window's Cancel.
    d.m_ArtifactCross.OnCancel();
    EXPECT_TRUE(d.IsEnded());
    EXPECT_EQ(d.EndCode(), ui::IDCANCEL);
  });
}

// The FFT block is put back on Cancel; the mark items reach the document on OK only.
TEST_F(OtherSettings, FftBlockRestoredOnCancelAndMarkCountStoredOnOk) {
  doc.Params.markType.items[3].triggerDetect = 1;
  doc.Params.markType.items[3].triggerChannel = 1;
  doc.Params.markType.items[5].triggerChannel = 2;  // detection off: the channel is dropped
  LyrRawDlgOther cancel;
  Run(cancel, [this](LyrRawDlgOther& d) {
    doc.Params.fftBand.fftPoints = 4096;
    doc.Params.fftBand.channelSwitch[1] = 1;
    ASSERT_TRUE(d.ClickButton(ui::IDCANCEL));
  });
  EXPECT_EQ(doc.Params.fftBand.fftPoints, 64u);
  EXPECT_EQ(doc.Params.fftBand.channelSwitch[1], 0);
  EXPECT_EQ(doc.Params.markType.items[5].triggerChannel, 2);

  LyrRawDlgOther ok;
  EXPECT_EQ(Run(ok, [this](LyrRawDlgOther& d) {
    doc.Params.fftBand.fftPoints = 4096;
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  EXPECT_EQ(doc.Params.fftBand.fftPoints, 4096u);
  EXPECT_EQ(ok.m_FftChanged, 1);
  EXPECT_EQ(ok.m_ArtifactCrossChanged, 0);
  EXPECT_EQ(doc.Params.markType.triggerCount, 1);
  EXPECT_EQ(doc.Params.markType.items[5].triggerChannel, -1);
}

TEST_F(OtherSettings, TemplatesCarryTheSameControlsInBothLanguages) {
  for (int id : {IDD_OTHER_SETTINGS, IDD_OTHER_ARTIFACT_CROSS, IDD_OTHER_FFT, IDD_OTHER_MARK_TRIGGER}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
  }
  for (std::uint32_t s : {64110u, 64111u, 64112u, 64113u, 64114u, 64115u, 64116u, 64117u, 64120u, 64121u, 64122u})
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  // The Japanese window opens with its pages.
  res::SetLanguage(res::Language::Japanese);
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d) {
    EXPECT_EQ(d.Item(IDC_OTHER_TAB).GetString(1), "マーク");
    EXPECT_EQ(d.m_ArtifactCross.Item(IDC_OAC_CHANNEL_LIST).GetCount(), 3);
    EXPECT_TRUE(d.m_ArtifactCross.HasControl(IDC_OAC_APPLY_CROSS));
    d.EndDialog(ui::IDCANCEL);
  });
  res::SetLanguage(res::Language::English);
}

}  // namespace
