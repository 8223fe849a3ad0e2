// The spectrum settings dialogs through the workspace menu: window and unit choices, the live
// page counts and Cancel, the information line, the checks of OK, the scale dialog's apply
// buttons and the channel selection's limits.
#include <string>
#include <vector>

#include "app/workspace/lyr_workspace_dlg_fft.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "platform/ui/messages.h"
#include "tests/navigation/nav_fixture.h"

namespace {

using namespace fftdlg;

class SpectrumDialogs : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& d = Doc();
    d.RecordInfo.channelCount = 5;
    const int rates[] = {500, 500, 200, 500, 500};
    for (int c = 0; c < 5; ++c) {
      d.ChInfo[static_cast<std::size_t>(c)].rate = rates[c];
      d.ChInfo[static_cast<std::size_t>(c)].name = "Ch" + std::to_string(c + 1);
    }
    SetDefaultFFTPageParam(0, &d.Params, 8, {});
    d.Params.fftPageSelection.flags = {};
    d.Params.fftPageSelection.flags[0] = 1;
    d.Params.fftPageChannels.channels = {-1, -1, -1};
  }
  LyrWorkspaceFrame& WsFrame() { return *Frame().WorkspaceView()->Frame(); }
  void Run(std::uint32_t command, int templateId, std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(templateId, std::move(script));
    ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), command));
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
    return texts;
  }
};

TEST_F(SpectrumDialogs, WindowListOrderDiffersFromItsValues) {
  for (auto [entry, window] : {std::pair{1, 2}, std::pair{2, 1}, std::pair{3, 4}, std::pair{0, 0}}) {
    Run(32826, IDD_FFT_PARAMETER, [entry](ui::Dialog& d) {
      d.Item(kWindow).SetCurSel(entry);
      d.Item(kUnit).SetCurSel(1);
      testhooks::ClickControl(d, ui::IDOK);
    });
    EXPECT_EQ(Doc().Params.fftPage.windowType, window) << "entry " << entry;
    EXPECT_EQ(Doc().Params.fftPage.unit, 1);
  }
}

TEST_F(SpectrumDialogs, PagesWriteAtOnceAndCancelRestores) {
  Doc().Params.fftPage.epochAveraging = 5;
  Doc().Params.fftPage.epochFftPoints = 256;
  std::string info;
  int inDialog = 0;
  Run(32826, IDD_FFT_PARAMETER, [&](ui::Dialog& d) {
    auto& dlg = dynamic_cast<LyrWorkspaceDlgFFTParameter&>(d);
    long result = 1;
    // 5 x 256 points at 500 Hz: 2.56 s of analysis, units of 0.512 s.
    info = d.GetDlgItemText(kEpochBase + kInfo);
    for (int i = 0; i < 3; ++i) dlg.OnSpinDelta(2, NmUpDown{1, 1}, &result);
    inDialog = Doc().Params.fftPage.epochAveraging;
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  EXPECT_EQ(info, "Analysis time :2.56[sec]   (unit time :0.51[sec])");
  EXPECT_EQ(inDialog, 8) << "each click steps 1 and is stored at once";
  EXPECT_EQ(Doc().Params.fftPage.epochAveraging, 5) << "Cancel puts the count back";

  // The count stays within 1 .. 100.
  for (auto [start, delta, expected] : {std::tuple{1, -1, 1}, std::tuple{100, 1, 100}, std::tuple{99, 1, 100}}) {
    Doc().Params.fftPage.simpleAveraging = static_cast<std::uint16_t>(start);
    Run(32826, IDD_FFT_PARAMETER, [delta](ui::Dialog& d) {
      long result = 1;
      dynamic_cast<LyrWorkspaceDlgFFTParameter&>(d).OnSpinDelta(1, NmUpDown{1, delta}, &result);
      testhooks::ClickControl(d, ui::IDOK);
    });
    EXPECT_EQ(Doc().Params.fftPage.simpleAveraging, expected) << start << " " << delta;
  }
}

TEST_F(SpectrumDialogs, OkRefusesContradictions) {
  struct Case {
    int id;
    const char* text;
    const char* message;
  } cases[] = {
      {kEpochBase + kRange, "0", "There is a contradiction in Display range. "},
      {kBandFirst + 1, "5", "There is a contradiction in Band1. "},  // 5 .. 4 Hz
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    const FFTPageParam before = Doc().Params.fftPage;
    Run(32826, IDD_FFT_PARAMETER, [&c](ui::Dialog& d) {
      d.SetDlgItemText(c.id, c.text);
      testhooks::ClickControl(d, ui::IDOK);
      testhooks::ClickControl(d, ui::IDCANCEL);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.message});
    EXPECT_EQ(Doc().Params.fftPage.epochUpperHz, before.epochUpperHz);
    EXPECT_EQ(Doc().Params.fftPage.bands[0].fromHz, before.bands[0].fromHz);
  }
}

TEST_F(SpectrumDialogs, ScaleApplyTakesTheMagnitudeAndAFloor) {
  for (auto [text, expected] : {std::pair{"0", 0.001f}, std::pair{"-5", 5.0f}}) {
    Run(32825, IDD_FFT_SCALE, [text](ui::Dialog& d) {
      testhooks::ClickControl(d, kScaleManual);
      d.Item(kScaleList).SetSelected(1, true);
      d.SetDlgItemText(kScaleValue, text);
      testhooks::ClickControl(d, kApplySpectrum);
      EXPECT_EQ(d.Item(kScaleList).GetItemText(1, 2), text == std::string("0") ? "0.001" : "5.000");
      testhooks::ClickControl(d, ui::IDOK);
    });
    EXPECT_EQ(Doc().Params.fftPageChannelValues.lower[1], expected);
    EXPECT_EQ(Doc().Params.fftPageChannelValues.lower[0], 50.0f);
    EXPECT_EQ(Doc().Params.fftPageChannelValues.word, 2);
  }
}

TEST_F(SpectrumDialogs, SelectChannelsKeepsThreeAndOneRate) {
  // Page mode: three chosen, a fourth click restores them; channel 3 (200 Hz) cannot join.
  Doc().Params.fftPageChannels.channels = {0, 1, 3};
  Run(32824, IDD_FFT_SELECT_CH, [](ui::Dialog& d) {
    auto& dlg = dynamic_cast<LyrWorkspaceDlgFFTSelectCh&>(d);
    ui::Control list = d.Item(kChannelList);
    EXPECT_TRUE(d.Item(kMaxLabel).IsVisible());
    list.SetSelected(4, true);
    dlg.OnListClick();
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 1, 3}));
    list.SetSelected(3, false);
    list.SetSelected(2, true);
    dlg.OnListClick();
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 1}));
    testhooks::ClickControl(d, ui::IDOK);
  });
  EXPECT_EQ(Doc().Params.fftPageChannels.channels, (std::array<std::int32_t, 3>{0, 1, -1}));

  // Epoch mode: any number of one rate; the first selected row's rate decides.
  Run(32828, IDD_FFT_SELECT_CH, [](ui::Dialog& d) {
    auto& dlg = dynamic_cast<LyrWorkspaceDlgFFTSelectCh&>(d);
    ui::Control list = d.Item(kChannelList);
    EXPECT_FALSE(d.Item(kMaxLabel).IsVisible());
    for (int r = 0; r < 5; ++r) list.SetSelected(r, true);
    dlg.OnListClick();
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 1, 3, 4}));
    testhooks::ClickControl(d, ui::IDOK);
  });
  const auto& flags = Doc().Params.fftPageSelection.flags;
  EXPECT_EQ((std::vector<int>{flags[0], flags[1], flags[2], flags[3], flags[4]}), (std::vector<int>{1, 1, 0, 1, 1}));
}

}  // namespace
