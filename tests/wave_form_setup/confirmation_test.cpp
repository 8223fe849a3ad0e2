// The confirmation window of a picked wave (dialog 143): what it measures on the stretch, its
// spins, Preview, OK and Cancel, and the page's pick that opens it.
#include <cmath>
#include <map>
#include <vector>

#include "app/raw/lyr_raw_dlg_confirmation_wfr.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_mouse.h"
#include "platform/res/resource_store.h"
#include "wfr_fixture.h"

namespace {

using W = WaveFormRecognitionParam;
using C = LyrRawDlgConfirmationWFR;

// A triangle wave between lo and hi, `period` samples a cycle, starting at lo and rising.
std::vector<float> Triangle(double lo, double hi, int period, int cycles) {
  std::vector<float> x;
  for (int i = 0; i < period * cycles; ++i) {
    const double phase = static_cast<double>(i % period) / period;
    const double up = phase < 0.5 ? phase * 2 : 2 - phase * 2;
    x.push_back(static_cast<float>(lo + (hi - lo) * up));
  }
  return x;
}

std::intptr_t Pos(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF));
}

void Spin(ui::Dialog& d, int row, int pos) {
  d.Item(C::kSpins[row]).SetPos(pos);
  ui::NotifyHeader h{C::kSpins[row], ui::UDN_DELTAPOS};
  d.SendMessage(ui::WM_NOTIFY, static_cast<std::uintptr_t>(C::kSpins[row]), reinterpret_cast<std::intptr_t>(&h));
}

}  // namespace

// A = the highest maximum less the lowest minimum about the mean; the limits are its shares.
TEST(WaveFinder, BandAndKComplexLimitsAreSharesOfTheStretchSpan) {
  struct Case {
    const char* what;
    std::vector<float> x;
    double kMax;
    bool changed;
    double a;
  };
  const std::vector<float> flat(50, 3.0f);
  for (const Case& c : {Case{"band, 80 uV peak to peak", Triangle(-40, 40, 20, 4), 1.5, true, 80.0},
                        Case{"band about an offset", Triangle(100, 160, 16, 3), 1.5, true, 60.0},
                        Case{"K-complex", Triangle(-120, 80, 40, 2), 1.0, true, 200.0},
                        Case{"flat", flat, 1.5, false, 0.0},
                        Case{"one rise only", std::vector<float>{0, 1, 2, 3}, 1.5, false, 0.0}}) {
    SCOPED_TRACE(c.what);
    double aMin = -1, aMax = -1, peak = -1;
    EXPECT_EQ(BandFindParameter(c.x, 0.5, c.kMax, 0.25, 3000, &aMin, &aMax, &peak), c.changed);
    if (!c.changed) {
      EXPECT_EQ(aMin, -1.0);
      continue;
    }
    EXPECT_NEAR(aMin, c.a * 0.5, 1e-3);
    EXPECT_NEAR(aMax, c.a * c.kMax, 1e-3);
    EXPECT_NEAR(peak, c.a * 0.25, 1e-3);
  }
}

TEST(WaveFinder, EmgLevelSumsTheTurningSteps) {
  // Steps +1, -1, +1, +1: the first counts, then each turn (three in all), over n = 5:
  // 0.99 x 3 / 5.
  const std::vector<float> x = {0, 1, 0, 1, 2};
  double aMin = 0, aMax = 0, peak = 0, emg = 0;
  BandFindParameter(x, 0.5, 1.5, 0.25, 3000, &aMin, &aMax, &peak, &emg);
  EXPECT_NEAR(emg, 0.99 * 3 / 5, 1e-9);
}

TEST(WaveFinder, EyeMovementLowersAmplitudeAndDurationInMilliseconds) {
  EogFindScale scale{100, 30, 1920, 360, 1920 / 36.0};
  EogRecord rec;
  rec.amplitudeMin = 500;
  rec.durationMinMs = 2000;
  rec.detectAngle = 40;
  // 50 samples at 100 Hz rising by 2 a sample: 500 ms, span 98.
  std::vector<float> x;
  for (int i = 0; i < 50; ++i) x.push_back(2.0f * i);
  ASSERT_TRUE(EogFindParameter(x, scale, &rec));
  EXPECT_DOUBLE_EQ(rec.durationMinMs, 500.0) << "samples x 1000 / rate, not rate x samples";
  EXPECT_DOUBLE_EQ(rec.amplitudeMin, 98.0);
  EXPECT_GT(rec.detectAngle, 0.0);
  EXPECT_LT(rec.detectAngle, 90.0);

  // Nothing is raised, and a stretch shorter than the window (4 samples at 100 Hz) changes nothing.
  EogRecord small;
  small.amplitudeMin = 5;
  small.durationMinMs = 100;
  ASSERT_TRUE(EogFindParameter(x, scale, &small));
  EXPECT_EQ(small.amplitudeMin, 5.0);
  EXPECT_EQ(small.durationMinMs, 100.0);
  EogRecord untouched;
  EXPECT_FALSE(EogFindParameter(std::span<const float>(x.data(), 3), scale, &untouched));
  EXPECT_EQ(untouched.durationMinMs, EogRecord{}.durationMinMs);
}

class ConfirmationTest : public WaveFormSetupTest {
 protected:
  // The middle row's page samples of a channel.
  std::span<const float> Page(int channel) {
    const auto& buffer = Doc().RecordInfo.pageBuffers[2];
    const float* start = Doc().GetChDataPtr(2, static_cast<unsigned>(channel), const_cast<float*>(buffer.data()));
    return std::span<const float>(start, static_cast<std::size_t>(Doc().ChInfo[channel].rate) * PageSeconds + 1);
  }
  // A pick of the middle row, in samples from the recording start, as the page hands it over.
  RawPreviewPick Pick(int channel, int from, int to) {
    const std::int64_t start = static_cast<std::int64_t>(Doc().CurrentPage) * PageSeconds * Doc().ChInfo[channel].rate +
                               Doc().ChInfo[channel].startOffset;
    return RawPreviewPick{2, channel, start + from, start + to};
  }
  int Run(int type, const RawPreviewPick& pick, std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(C::kTemplateId, std::move(script));
    return RunWaveFormConfirmation(Doc(), pick, type);
  }
};

TEST_F(ConfirmationTest, PickConvertsToTheRowsPageBuffer) {
  Doc().CurrentPage = 3;
  const RawPreviewPick pick = Pick(0, 10, 90);
  const RawPreviewPick local = rawmouse::PickInRowPage(Doc(), pick);
  EXPECT_EQ(local.first, 10);
  EXPECT_EQ(local.last, 90);
  const RawPreviewPick before = rawmouse::PickInRowPage(Doc(), RawPreviewPick{2, 0, 5, 9});
  EXPECT_EQ(before.first, -1) << "a sample before the page";
  const RawPreviewPick row1 = rawmouse::PickInRowPage(Doc(), RawPreviewPick{1, 0, pick.first, pick.last});
  EXPECT_EQ(row1.first, 10 + PageSeconds * Doc().ChInfo[0].rate) << "the row before shows the page before";
}

TEST_F(ConfirmationTest, OpeningMeasuresTheStretchAndShowsTheTypesRows) {
  ASSERT_FALSE(Doc().RecordInfo.pageBuffers[2].empty());
  const auto x = Page(0).subspan(100, 300);
  double aMin = 0, aMax = 0, peak = 0, emg = 0;
  ASSERT_TRUE(BandFindParameter(x, 0.5, 1.5, 0.25, EpochSeconds * 100, &aMin, &aMax, &peak, &emg));
  double kMin = 0, kMax = 0, kPeak = 0;
  ASSERT_TRUE(BandFindParameter(x, 0.5, 1.0, 0.25, EpochSeconds * 100, &kMin, &kMax, &kPeak));
  const auto text = [](double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf);
  };
  struct Case {
    int type;
    std::string name, label1, label3, edit1, edit3, label4;
  };
  for (const Case& c : {Case{1, "Delta", "Peak detect level", "Amp.max.", text(peak), text(aMax), "EMG cancel level"},
                        Case{2, "Theta", "Peak detect level", "Amp.max.", text(peak), text(aMax), ""},
                        Case{8, "K-COMPLEX", "Peak detect level", "Amp.max.", text(kPeak), text(kMax), ""}}) {
    SCOPED_TRACE(c.name);
    const std::string before = Bytes();
    std::map<int, std::string> seen;
    Run(c.type, Pick(0, 100, 399), [&](ui::Dialog& d) {
      for (const int id : {C::kTypeName, C::kLabels[0], C::kLabels[2], C::kLabels[3], C::kEdits[0], C::kEdits[2], C::kEdits[3]})
        seen[id] = d.GetDlgItemText(id);
      seen[0] = std::to_string(c.type <= 7 ? Block().bands[c.type == 1 ? W::kDelta : W::kTheta].showPeak
                                           : Block().kComplex.showPeak);
      d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(seen[C::kTypeName], c.name);
    EXPECT_EQ(seen[C::kLabels[0]], c.label1);
    EXPECT_EQ(seen[C::kLabels[2]], c.label3);
    EXPECT_EQ(seen[C::kEdits[0]], c.edit1);
    EXPECT_EQ(seen[C::kEdits[2]], c.edit3);
    EXPECT_EQ(seen[C::kLabels[3]], c.label4);
    EXPECT_EQ(seen[C::kEdits[3]].empty(), c.label4.empty());
    EXPECT_EQ(seen[0], "1") << "peaks are shown while the window is open";
    EXPECT_EQ(Bytes(), before) << "Cancel gives every value back";
  }

  // Eye movements: the angle, the amplitude and the duration; row 4 empty, the duration spin off.
  std::map<int, std::string> seen;
  bool durationSpin = true;
  Run(9, Pick(3, 100, 160), [&](ui::Dialog& d) {
    for (const int id : {C::kLabels[0], C::kLabels[2], C::kLabels[3], C::kEdits[3]}) seen[id] = d.GetDlgItemText(id);
    durationSpin = d.Item(C::kSpins[2]).IsEnabled();
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(seen[C::kLabels[0]], "Detect angle");
  EXPECT_EQ(seen[C::kLabels[2]], "Dur.min.");
  EXPECT_EQ(seen[C::kLabels[3]], "");
  EXPECT_EQ(seen[C::kEdits[3]], "");
  EXPECT_FALSE(durationSpin);
  EXPECT_LE(Block().eogRight.durationMinMs, 61 * 1000.0 / 64) << "the stretch's length in ms";
}

TEST_F(ConfirmationTest, SpinsStepFromTheBaseWithinTheirLimits) {
  Block().bands[W::kAlpha].peakDetectLevel = 10.0;
  Block().bands[W::kAlpha].amplitudeMin = 0.02;
  Block().bands[W::kAlpha].amplitudeMax = 100.0;
  const std::vector<float> flat(64, 1.0f);
  // A flat pick measures nothing: the spins count from the values held.
  auto& buffer = Doc().RecordInfo.pageBuffers[2];
  const auto offset = static_cast<std::size_t>(Page(0).data() - buffer.data());
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(offset), buffer.begin() + static_cast<std::ptrdiff_t>(offset) + 64, 1.0f);
  Run(3, Pick(0, 0, 63), [&](ui::Dialog& d) {
    Spin(d, 0, 5);
    EXPECT_EQ(d.GetDlgItemText(C::kEdits[0]), "10.500");
    EXPECT_DOUBLE_EQ(Block().bands[W::kAlpha].peakDetectLevel, 10.5);
    Spin(d, 0, 800);  // 90.0: not below 90
    EXPECT_EQ(d.GetDlgItemText(C::kEdits[0]), "10.500");
    Spin(d, 0, -100);  // 0.0: not above 0.01
    EXPECT_DOUBLE_EQ(Block().bands[W::kAlpha].peakDetectLevel, 10.5);
    Spin(d, 1, -3);  // 0.02 - 0.012 = 0.008: not above 0.01
    EXPECT_EQ(d.GetDlgItemText(C::kEdits[1]), "0.020");
    Spin(d, 2, 250);  // 100 + 1.0
    EXPECT_EQ(d.GetDlgItemText(C::kEdits[2]), "101.000");
    d.ClickButton(ui::IDOK);
  });
  EXPECT_DOUBLE_EQ(Block().bands[W::kAlpha].amplitudeMax, 101.0);
}

TEST_F(ConfirmationTest, PreviewThenCancelLeavesTheTypeAndItsNeighbourAsBefore) {
  Block().bands[W::kBand1].show = 0;
  Block().bands[W::kBand1].showPeak = 0;
  Block().bands[W::kBand2].show = 1;
  Block().bands[W::kBand2].showPeak = 1;
  const std::string before = Bytes();
  Run(5, Pick(0, 100, 300), [&](ui::Dialog& d) {
    d.SetDlgItemText(C::kEdits[1], "12.5");
    d.ClickButton(C::kPreview);
    EXPECT_DOUBLE_EQ(Block().bands[W::kBand1].amplitudeMin, 12.5);
    EXPECT_EQ(Block().bands[W::kBand1].show, 1);
    Spin(d, 1, 10);
    EXPECT_EQ(d.GetDlgItemText(C::kEdits[1]), "12.540") << "the spin counts from the previewed value";
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(Bytes(), before);
}

// The page's pick: the window waits while shown, a pick opens dialog 143, OK refreshes the row
// and brings the settings back; an unconfirmed pick keeps the pick mode, a right click ends it.
TEST_F(ConfirmationTest, PickOnThePageRunsTheConfirmationAndRefreshesTheRow) {
  Block().bands[W::kDelta].channel = 0;
  LyrRawDlgWaveFormRecognition& dlg = Open();
  LyrRawAreaView& view = *Frame().RawView()->Row(2)->AreaView();
  testhooks::RenderWindow(view);  // lays out the page columns
  int top = 0, bottom = 0;
  ASSERT_TRUE(view.GetChannelBand(0, &top, &bottom));
  const int y = (top + bottom) / 2;
  const auto drag = [&](int x1, int x2) {
    view.SendMessage(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, Pos(x1, y));
    view.SendMessage(ui::WM_MOUSEMOVE, ui::MK_LBUTTON, Pos(x2, y));
    view.SendMessage(ui::WM_LBUTTONUP, 0, Pos(x2, y));
  };
  ASSERT_TRUE(dlg.ClickButton(1240));  // Delta "Cursor..."
  EXPECT_EQ(PreviewKind, 1);
  EXPECT_EQ(RawPreviewMode, 1);
  EXPECT_FALSE(dlg.IsWindowVisible());

  // Unconfirmed: the mode stays.
  testhooks::ScriptDialog(C::kTemplateId, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  drag(100, 300);
  EXPECT_EQ(testhooks::ShownDialogs().size(), 1u);
  EXPECT_EQ(RawPreviewMode, 1);
  EXPECT_FALSE(dlg.IsWindowVisible());

  // Confirmed: the values go into the row and the window comes back.
  testhooks::ScriptDialog(C::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(C::kEdits[1], "66.25");
    d.ClickButton(ui::IDOK);
  });
  drag(100, 300);
  EXPECT_EQ(Block().bands[W::kDelta].amplitudeMin, 66.25);
  EXPECT_EQ(dlg.GetDlgItemText(1004), "66.250");
  EXPECT_EQ(Block().bands[W::kDelta].show, 1);
  EXPECT_EQ(Block().bands[W::kDelta].showPeak, 0) << "the display switches as they were";
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.m_bShown, 1);
  EXPECT_EQ(RawPreviewMode, 0);

  // While the settings show, the page takes no pick.
  RawPreviewMode = 1;
  const std::size_t shown = testhooks::ShownDialogs().size();
  drag(100, 300);
  EXPECT_EQ(testhooks::ShownDialogs().size(), shown);

  // A right click ends a pick and shows the settings.
  ASSERT_TRUE(dlg.ClickButton(1240));
  EXPECT_FALSE(dlg.IsWindowVisible());
  view.SendMessage(ui::WM_RBUTTONUP, 0, Pos(100, y));
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(RawPreviewMode, 0);
  Close(dlg, ui::IDCANCEL);
}
