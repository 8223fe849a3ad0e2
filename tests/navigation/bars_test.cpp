#include <cstdlib>

#include "app/frame/lyr_frame_bar.h"
#include "app/frame/oo_toolbar.h"
#include "app/frame/parameter_bar.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/ui/command.h"
#include "tests/navigation/nav_fixture.h"

namespace {

struct ValueCase {
  std::uint16_t code;
  std::uint16_t channel;
  const char* text;
};

}  // namespace

TEST_F(NavTest, ParameterValuesFormatAsTheBarShowsThem) {
  AnalysisParamBlocks params = Doc().Params;
  params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  params.waveForm.bands[WaveFormRecognitionParam::kDelta].colour = 0x0000FF;
  params.waveForm.bands[WaveFormRecognitionParam::kTheta].channel = -1;
  params.waveForm.bands[WaveFormRecognitionParam::kSpindle].channel = 1;
  params.waveForm.emgChannel = 2;
  params.fftBand.bandCount = 1;
  params.fftBand.bands[0].name = "Delta";
  params.fftBand.channelSwitch[1] = 1;
  params.chDispMode.entries[0].mode = 0;
  params.chDispMode.entries[1].mode = 2;
  LyrEpochRec wave{};
  wave.wave[kWaveDelta].durationMs = 2500.0f;
  wave.wave[kWaveSpindle].count = 7;
  wave.emg = 1.25f;
  EpochBandBlock bands{};
  bands.value[0][1] = 3.5f;
  bands.value[6][1] = 0.25f;
  EpochChannelStatsRecord stats{};
  stats.minimum[1] = -12.5f;
  stats.crossCount[0] = 14;
  stats.cvPercent[2] = 33.0f;

  for (const ValueCase& c : {ValueCase{0, 0, ""}, ValueCase{1, 0, " 25.0"}, ValueCase{2, 0, "None"},
                             ValueCase{4, 0, " 7"}, ValueCase{13, 0, " 1.250"}, ValueCase{14, 1, " 3.500"},
                             ValueCase{15, 1, " 0.250"}, ValueCase{16, 1, "None"}, ValueCase{26, 1, " -12.500"},
                             ValueCase{30, 0, " 14.000"}, ValueCase{30, 1, "None"}, ValueCase{32, 2, " 33.000"},
                             ValueCase{26, 3, "None"}, ValueCase{11, 0, "None"}}) {
    // 10-second epochs; three channels in the recording.
    const ParameterValueText v = FormatParameterValue(c.code, c.channel, wave, bands, stats, params, 3, 10);
    EXPECT_EQ(v.text, c.text) << "code " << c.code << " channel " << c.channel;
  }
  EXPECT_EQ(FormatParameterValue(1, 0, wave, bands, stats, params, 3, 10).colour, 0x0000FF)
      << "delta's value is underlined in the delta colour";

  EXPECT_EQ(BuildParameterName(1, params), "Delta%Time");
  EXPECT_EQ(BuildParameterName(14, params), "FFT-DeltaPower");
  EXPECT_EQ(BuildParameterName(16, params), "FFT-Band2Power") << "band 2 is not in a one-band block";
  EXPECT_EQ(BuildParameterName(17, params), "FFT-Band2Ratio");
  params.fftBand.channelSwitch[1] = 0;
  EXPECT_EQ(BuildParameterName(14, params), "FFT-Band1Power") << "no channel is flagged for the FFT";
  EXPECT_EQ(BuildParameterName(0, params), "None");
  EXPECT_EQ(BuildParameterName(31, params), "ABS. Max.");
  EXPECT_EQ(BuildParameterName(33, params), "");
  EXPECT_EQ(IsParameterCodeInRange(33), 0);
  EXPECT_EQ(IsParameterCodeInRange(32), 32);
}

TEST_F(NavTest, BarsAreCreatedDockedAndToggled) {
  ASSERT_NE(Frame().StandardBar, nullptr);
  ASSERT_NE(Frame().EpochBar, nullptr);
  ASSERT_NE(Frame().ParameterBar, nullptr);
  EXPECT_EQ(Frame().EpochBar->GetWindowText(), "Epoch tool Bar");
  EXPECT_EQ(Frame().ParameterBar->GetWindowText(), "Parameter tool bar");
  const std::uint32_t before = ShowParameterBar;
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32830));
  EXPECT_NE(ShowParameterBar, before);
  EXPECT_EQ(ui::QueryCommandState(Frame(), 32830).Checked(), ShowParameterBar != 0 ? 1 : 0);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32830));
  EXPECT_EQ(ShowParameterBar, before);
}

TEST_F(NavTest, EpochBarShowsTheEpochAndTheStagesAround) {
  Doc().Params.stageType.stageType = 0;
  Doc().EpochTables.SetStage(1, 1);
  Doc().EpochTables.SetStage(3, 20);
  GoTo(2);
  Frame().UpdateFrameBarTime();
  LyrFrameBar& bar = *Frame().EpochBar;
  EXPECT_EQ(bar.GetDlgItemText(LyrFrameBar::kEpochNumber), "2");
  EXPECT_EQ(bar.GetDlgItemText(LyrFrameBar::kTimeLabel), "01.00:01:00") << "the document's elapsed label";
  EXPECT_EQ(bar.GetDlgItemText(33016), " ") << "before the first epoch";
  EXPECT_EQ(bar.GetDlgItemText(33017), " ");
  EXPECT_EQ(bar.GetDlgItemText(33020), Doc().Params.stageType.Set(0)[0].name);
  EXPECT_EQ(bar.GetDlgItemText(33021), "-") << "not scored";
  EXPECT_EQ(bar.GetDlgItemText(33022), "-") << "code 20 counts as not scored";
  EXPECT_EQ(bar.GetDlgItemText(LyrFrameBar::kHours), "");
  EXPECT_EQ(bar.Item(LyrFrameBar::kSlider).GetPos(), 500);

  PageSeconds = 7200;
  bar.UpdateTimeTexts(2);
  EXPECT_EQ(bar.GetDlgItemText(LyrFrameBar::kHours), "2");
  PageSeconds = 240;
}

TEST_F(NavTest, EpochBarCombos) {
  EpochSeconds = 10;
  PageSeconds = 30;
  LyrFrameBar& bar = *Frame().EpochBar;
  bar.FillPageCombo();
  EXPECT_EQ(bar.Item(LyrFrameBar::kPageCombo).GetCount(), 13);
  EXPECT_EQ(bar.Item(LyrFrameBar::kPageCombo).GetCurSel(), 2);
  EXPECT_EQ(bar.Item(LyrFrameBar::kPageCombo).GetString(5), " 1min.");
  EpochSeconds = 6;
  bar.FillPageCombo();
  EXPECT_EQ(bar.Item(LyrFrameBar::kPageCombo).GetCount(), 0);
  EXPECT_EQ(PageChoicesForEpoch(8)[7].label, " 2min.");

  Doc().RecordInfo.channelCount = 2;
  Doc().ChInfo[0].gain = 1.0;
  Doc().ChInfo[1].gain = 1.0;
  bar.FillGainCombo();
  EXPECT_EQ(bar.Item(LyrFrameBar::kGainCombo).GetCurSel(), 4) << "x1";
  Doc().ChInfo[1].gain = 2.0;
  bar.FillGainCombo();
  EXPECT_EQ(bar.Item(LyrFrameBar::kGainCombo).GetCurSel(), -1) << "mixed gains";
  Doc().ChInfo[1].show = 0;
  bar.FillGainCombo();
  EXPECT_EQ(bar.Item(LyrFrameBar::kGainCombo).GetCurSel(), 4) << "hidden channels do not count";
}

TEST_F(NavTest, SliderTrackMovesTheLabelsAndReleaseMovesThePage) {
  LyrFrameBar& bar = *Frame().EpochBar;
  bar.SliderPauseMs = 0;
  EXPECT_EQ(bar.Item(LyrFrameBar::kSlider).GetRangeHigh(), 10000);
  EXPECT_EQ(bar.Item(LyrFrameBar::kSlider).GetPageSize(), 500) << "a click beside the thumb moves a twentieth";
  GoTo(0);
  bar.OnSliderScroll(ui::TB_THUMBTRACK, 5000);
  EXPECT_EQ(bar.GetDlgItemText(LyrFrameBar::kEpochNumber), "20");
  EXPECT_EQ(Epoch(), 0);
  bar.OnSliderScroll(ui::TB_ENDTRACK, 10000);
  EXPECT_EQ(Epoch(), kEpochs - 1) << "limited to the last epoch";
}

TEST(FlatToolBar, ButtonSizesAndGreyIcons) {
  COOExToolBar bar;
  EXPECT_EQ(bar.GetButtonExtent(), (ui::Size{40, 39}));
  bar.SetDisplayMode(0);
  EXPECT_EQ(bar.GetButtonExtent(), (ui::Size{24, 23}));
  bar.SetTextSize(ui::Size{60, 12});
  bar.SetTextLabels(true);
  EXPECT_EQ(bar.GetButtonExtent(), (ui::Size{60, 35})) << "as wide as the widest text, the text below";

  draw::Image icon(2, 1, 24);
  icon.SetPixel(0, 0, draw::Rgb(255, 0, 0));
  icon.SetPixel(1, 0, draw::Rgb(30, 60, 90));
  const draw::Image grey = COOIconToolBar::MakeGreyIcon(icon);
  EXPECT_EQ(grey.GetPixel(0, 0), draw::Rgb(147, 147, 147));
  EXPECT_EQ(grey.GetPixel(1, 0), draw::Rgb(64, 64, 64));

  for (const auto& [prompt, text] : {std::pair<std::string, std::string>{"Open a file\nOpen", "Open"},
                                     {"No tip here", "No tip here"}, {"", ""}})
    EXPECT_EQ(COOExToolBar::ToolTipPart(prompt), text) << prompt;
}

TEST_F(NavTest, StandardBarLoadsItsButtonsAndIcons) {
  auto* bar = dynamic_cast<COOIconToolBar*>(Frame().StandardBar);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetButtonCount(), 2);
  EXPECT_EQ(bar->GetButtonId(0), ui::ID_FILE_OPEN);
  EXPECT_EQ(bar->GetButtonId(1), 33009u);
  EXPECT_EQ(bar->GetButtonText(33009), "Result Analysis File Open");
  EXPECT_EQ(bar->DisplayMode(), 1u);
  for (int list = 0; list < 6; ++list) {
    const auto& images = bar->Images(static_cast<COOExToolBar::ImageList>(list));
    ASSERT_EQ(images.size(), 2u) << "list " << list;
    const int size = list < 3 ? 16 : 32;
    EXPECT_EQ(images[0].Width(), size) << "list " << list;
  }
  EXPECT_EQ(bar->GetButtonImage(ui::ID_FILE_OPEN).Width(), 32) << "large images on the buttons";

  // A button without a given disabled icon gets a grey copy of its normal one.
  COOIconToolBar own;
  ASSERT_TRUE(own.CreateBar(&Frame(), 0xE801));
  ASSERT_TRUE(own.LoadToolBar(325));
  own.AddIcon(330, 0, 0);
  const draw::Image& disabled = own.Images(COOExToolBar::kLargeDisabled)[0];
  const draw::Image& hot = own.Images(COOExToolBar::kLargeHot)[0];
  const draw::Image& normal = own.Images(COOExToolBar::kLargeNormal)[0];
  bool coloured = false;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const draw::ColorRef c = disabled.GetPixel(x, y);
      ASSERT_TRUE(draw::GetRValue(c) == draw::GetGValue(c) && draw::GetGValue(c) == draw::GetBValue(c));
      const draw::ColorRef n = normal.GetPixel(x, y);
      coloured = coloured || draw::GetRValue(n) != draw::GetBValue(n);
      ASSERT_EQ(hot.GetPixel(x, y), n) << "no hot icon: the normal one";
    }
  }
  EXPECT_TRUE(coloured) << "the normal icon has colour";
  own.SetDisplayMode(0);
  EXPECT_EQ(own.GetButtonImage(ui::ID_FILE_OPEN).Width(), 16);
}

TEST_F(NavTest, FlatToolBarButtonStatesFollowTheirUpdates) {
  COOIconToolBar bar;
  ASSERT_TRUE(bar.CreateBar(&Frame(), 0xE802));
  ASSERT_TRUE(bar.LoadToolBar(325));
  bar.AddIcon(330, 0, 0);
  bar.AddIcon(333, 0, 0);
  const std::uint32_t id = 33009;
  struct Step {
    const char* what;
    bool enable;
    int check;  // -1: the handler leaves it
    bool changed;
    COOExToolBar::ButtonState state;
  };
  const Step steps[] = {
      {"pressed", true, 1, true, {false, true, false}},
      {"the same again: no repaint", true, 1, false, {false, true, false}},
      {"indeterminate keeps pressed", true, 2, true, {false, true, true}},
      {"check 0 clears both", true, 0, true, {false, false, false}},
      {"pressed, then disabled", true, 1, true, {false, true, false}},
      {"disabling releases it", false, -1, true, {true, false, false}},
      {"enabled again", true, -1, true, {false, false, false}},
  };
  for (const Step& s : steps) {
    ui::CmdUI cmd(id);
    cmd.Enable(s.enable);
    if (s.check >= 0) cmd.SetCheck(s.check);
    EXPECT_EQ(bar.ApplyButtonUpdate(id, cmd), s.changed) << s.what;
    EXPECT_TRUE(bar.GetButtonState(id) == s.state) << s.what;
    EXPECT_EQ(bar.IsButtonEnabled(id), s.enable) << s.what;
    EXPECT_EQ(bar.IsButtonChecked(id), s.state.pressed) << s.what;
    if (std::string(s.what) == "indeterminate keeps pressed") {
      EXPECT_EQ(bar.GetButtonImage(id).GetPixel(10, 10), bar.Images(COOExToolBar::kLargeDisabled)[1].GetPixel(10, 10))
          << "an indeterminate button looks greyed";
    }
  }
  EXPECT_EQ(bar.GetButtonImage(id).GetPixel(10, 10), bar.Images(COOExToolBar::kLargeNormal)[1].GetPixel(10, 10));
  EXPECT_TRUE(bar.GetButtonState(ui::ID_FILE_OPEN) == COOExToolBar::ButtonState{}) << "the other button untouched";
}

TEST_F(NavTest, FlatToolBarImageDepthFollowsTheScreen) {
  for (const auto& [screen, bits] : {std::pair{1, 4}, {4, 4}, {8, 4}, {15, 24}, {16, 24}, {24, 24}, {32, 24}})
    EXPECT_EQ(COOExToolBar::ImageListColourBits(screen), bits) << screen << " bits a pixel";
  COOIconToolBar bar;
  ASSERT_TRUE(bar.CreateBar(&Frame(), 0xE803));
  ASSERT_TRUE(bar.LoadToolBar(325));
  EXPECT_EQ(bar.ImageListBits(), 24) << "the test screen has more than 256 colours";
  bar.CreateImageLists(8);
  bar.AddIcon(330, 0, 0);
  for (int list = 0; list < 6; ++list)
    EXPECT_EQ(bar.Images(static_cast<COOExToolBar::ImageList>(list))[0].BitsPerPixel(), 4) << "list " << list;
}

TEST_F(NavTest, FlatToolBarWrapsItsButtonsIntoRows) {
  COOExToolBar bar;
  ASSERT_TRUE(bar.CreateBar(&Frame(), 0xE804));
  bar.SetButtons({101, 102, 0, 103});
  // Large buttons are 40 x 39; a separator is 8 wide.
  EXPECT_EQ(bar.CalcFixedLayout(false, true), (ui::Size{128, 39})) << "one row";
  EXPECT_EQ(bar.CalcFixedLayout(false, false), (ui::Size{40, 39 + 39 + 8 + 39}))
      << "one column, separators only along it";
  EXPECT_EQ(bar.CalcFixedLayout(true, true, 600), (ui::Size{600, 39})) << "stretched over the dock";
  std::vector<ui::Rect> places;
  EXPECT_EQ(bar.CalcLayout(90, true, &places), (ui::Size{88, 78})) << "the third button wraps";
  ASSERT_EQ(places.size(), 4u);
  EXPECT_EQ(places[3], (ui::Rect{0, 39, 40, 78}));
  EXPECT_EQ(bar.CalcDynamicLayout(85, true), (ui::Size{80, 117})) << "a wrapped separator adds a row";
  EXPECT_EQ(bar.CalcDynamicLayout(10, true), (ui::Size{40, 39 * 4})) << "every button a row of its own";
}

TEST_F(NavTest, FrameWithItsBarsRendersAfterPaging) {
  Frame().MoveWindow(ui::Rect{0, 0, 1280, 860});
  Frame().ShowWindow(ui::SW_SHOW);
  Doc().Params.stageType.stageType = 0;
  GoTo(0);
  for (std::uint32_t key : {ui::VK_NUMPAD0, ui::VK_NUMPAD0 + 2, ui::VK_NUMPAD0 + 3})
    KeyDown(key);
  KeyDown(ui::VK_DOWN);
  KeyDown(ui::VK_RIGHT);
  Frame().UpdateFrameBarTime();
  testhooks::ProcessMessages();
  const draw::Image shot = testhooks::RenderWindow(Frame());
  ASSERT_GT(shot.Width(), 0);
  ASSERT_GT(shot.Height(), 0);
  EXPECT_EQ(Frame().EpochBar->GetDlgItemText(LyrFrameBar::kEpochNumber), "9");
  // A folder given by the environment keeps the picture for a look by eye.
  if (const char* dir = std::getenv("QLM_SCREENSHOT_DIR")) {
    EXPECT_TRUE(testhooks::RenderWindowToPng(Frame(), std::string(dir) + "/frame_after_paging.png"));
  }
}

TEST(FlatToolBar, GripperOfTwoRaisedBars) {
  draw::Image img(40, 30, 24);
  img.Fill(draw::Rgb(1, 2, 3));
  draw::Dc dc(img);
  COOExToolBar::PaintGripper(dc, ui::Rect{0, 0, 40, 30}, true);
  const draw::ColorRef light = draw::GetSysColor(draw::COLOR_BTNHIGHLIGHT);
  const draw::ColorRef shadow = draw::GetSysColor(draw::COLOR_BTNSHADOW);
  // Inset by 3: bars at x 3..5 and 8..10, from y 3 to 26.
  EXPECT_EQ(img.GetPixel(3, 10), light);
  EXPECT_EQ(img.GetPixel(5, 10), shadow);
  EXPECT_EQ(img.GetPixel(8, 10), light);
  EXPECT_EQ(img.GetPixel(10, 10), shadow);
  EXPECT_EQ(img.GetPixel(4, 3), light);
  EXPECT_EQ(img.GetPixel(4, 26), shadow);
  EXPECT_EQ(img.GetPixel(2, 10), draw::Rgb(1, 2, 3));
  EXPECT_EQ(img.GetPixel(12, 10), draw::Rgb(1, 2, 3));
  EXPECT_EQ(img.GetPixel(4, 28), draw::Rgb(1, 2, 3));
}
