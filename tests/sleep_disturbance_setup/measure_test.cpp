// The level measurement of a marked stretch: the peak-to-peak amplitude between the highest
// peak and the lowest trough about the stretch's mean.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/settings/lyr_raw_dlg_sleep_disturbance_cnfrm.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"

namespace {

// Whole periods of a sine of the amplitude about `offset`, eight samples a period (so the
// samples reach the crests exactly).
std::vector<float> Sine(int periods, double amplitude, double offset = 0.0) {
  std::vector<float> v;
  for (int i = 0; i < periods * 8; ++i)
    v.push_back(static_cast<float>(offset + amplitude * std::sin(2.0 * 3.14159265358979 * i / 8.0)));
  return v;
}

TEST(MeasurePeakToPeak, StretchesAsATable) {
  std::vector<float> step(20, 0.0f);
  for (std::size_t i = 10; i < step.size(); ++i) step[i] = 5.0f;
  std::vector<float> capped = Sine(40, 1.0);  // 80 extremes of 2.0, then larger swings
  const std::vector<float> large = Sine(10, 5.0);
  capped.insert(capped.end(), large.begin(), large.end());
  struct Case {
    const char* what;
    std::vector<float> x;
    int maxExtremes;
    bool found;
    double amplitude;
  };
  const Case cases[] = {
      {"sine of +-2", Sine(4, 2.0, 100.0), 600, true, 4.0},
      {"falling start", [] { auto v = Sine(4, 2.0); for (auto& s : v) s = -s; return v; }(), 600, true, 4.0},
      {"flat", std::vector<float>(50, 3.0f), 600, false, 0.0},
      {"one mean crossing", step, 600, false, 0.0},
      {"one sample", {1.0f}, 600, false, 0.0},
      {"extremes capped", capped, 80, true, 2.0},
      {"extremes not capped", capped, 600, true, 10.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double amplitude = -1.0;
    EXPECT_EQ(MeasurePeakToPeak(c.x, c.maxExtremes, &amplitude), c.found);
    if (c.found) EXPECT_NEAR(amplitude, c.amplitude, 1e-5);
    else EXPECT_EQ(amplitude, -1.0);
  }
}

// Colours, the SpO2 show flag and level, "Show peak" and position names leave recognition as
// it was; every criterion it reads does not.
TEST(SameRecognitionSettings, WhatCountsAsAChange) {
  SleepDstrbParam base;
  SetDefaultSleepDstrbParam(0, &base, 0);
  struct Case {
    const char* what;
    void (*edit)(SleepDstrbParam&);
    bool same;
  };
  const Case cases[] = {
      {"apnea colour", [](SleepDstrbParam& p) { p.eventColours[2] = 0x123456; }, true},
      {"SpO2 show flag", [](SleepDstrbParam& p) { p.spo2Show = 0; }, true},
      {"SpO2 show level", [](SleepDstrbParam& p) { p.spo2ShowLevel = 80.0; }, true},
      {"ECG show peak", [](SleepDstrbParam& p) { p.ecgShowPeak = 0; }, true},
      {"arousal show peak", [](SleepDstrbParam& p) { p.arousalShowPeak = 0; }, true},
      {"position name", [](SleepDstrbParam& p) { p.positions[1].name = "Supine"; }, true},
      {"flow lag", [](SleepDstrbParam& p) { p.airFlow.values[6] = 12.0; }, false},
      {"LF bound", [](SleepDstrbParam& p) { p.lfhfBands[0] = 0.05; }, false},
      {"position bound", [](SleepDstrbParam& p) { p.positions[5].to = 7.0; }, false},
      {"arousal threshold", [](SleepDstrbParam& p) { p.arousalThreshold = 9; }, false},
      {"CPAP channel", [](SleepDstrbParam& p) { p.cpapChannel = 1; }, false},
      {"PLM count", [](SleepDstrbParam& p) { p.lmLeastCount = 5; }, false},
      {"LF/HF window", [](SleepDstrbParam& p) { p.lfhfWindow = 0; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SleepDstrbParam edited = base;
    c.edit(edited);
    EXPECT_EQ(SameRecognitionSettings(edited, base), c.same);
  }
}

}  // namespace

#include "setup_fixture.h"

namespace {

// The confirmation measures the kind's channel over the time the marks span on the marked
// channel, and writes its level (and amplitude) into the block.
class Confirmation : public SetupPages {
 protected:
  void SetUp() override {
    SetupPages::SetUp();
    doc.ChInfo[0].rate = 200;  // the marked channel: twice the measured channel's rate
    std::vector<float>& page = doc.RecordInfo.pageBuffers[2];
    std::size_t size = 0;
    for (int c = 0; c < 8; ++c) size += static_cast<std::size_t>(doc.ChInfo[static_cast<std::size_t>(c)].rate) * PageSeconds + 1;
    page.assign(size, 0.0f);
    float* flow = doc.GetChDataPtr(2, 5, page.data());
    // Eight seconds of a +-2 sine about 50, then swings of +-100 the marks do not reach.
    const std::vector<float> sine = Sine(100, 2.0, 50.0);
    for (int i = 0; i < 100 * PageSeconds; ++i)
      flow[i] = i < 800 ? sine[static_cast<std::size_t>(i)] : (i % 8 < 4 ? 150.0f : -50.0f);
  }

  // Runs the confirmation modally on marks 0 .. 1,599 of channel 0 and answers with `button`.
  void Run(int kind, int button, std::string* left = nullptr, std::string* right = nullptr) {
    PreviewKind = static_cast<std::int16_t>(kind);
    LyrRawDlgSleepDisturbanceCnfrm dlg;
    dlg.m_pDoc = &doc;
    dlg.m_PageBufferKind = 2;
    dlg.m_MarkedChannel = 0;
    dlg.m_StartSample = 0;
    dlg.m_EndSample = 1599;
    testhooks::ScriptDialog(IDD_SLEEP_DISTURBANCE_CNFRM, [&](ui::Dialog& d) {
      if (left) *left = d.GetDlgItemText(IDC_SDC_LEFT_VALUE);
      if (right) *right = d.GetDlgItemText(IDC_SDC_RIGHT_VALUE);
      d.ClickButton(button);
    });
    EXPECT_EQ(dlg.DoModal(), button);
  }
};

TEST_F(Confirmation, LevelOfEachKindFromTheMarkedTime) {
  SleepDstrbParam& p = Block();
  p.airFlow.channel = 5;
  p.legLeft.channel = 5;
  p.arousal.channel = 5;
  std::string left, right;
  Run(11, ui::IDOK, &left, &right);
  EXPECT_NEAR(p.airFlow.values[2], 4.0, 1e-4);
  EXPECT_NEAR(p.airFlow.values[3], 1.0, 1e-4);
  EXPECT_EQ(left, "1.000");
  EXPECT_EQ(right, "4.000");
  Run(14, ui::IDOK);
  EXPECT_NEAR(p.legLeft.values[0], 60.0, 1e-3);
  Run(19, ui::IDOK);
  EXPECT_NEAR(p.arousal.values[0], 0.4, 1e-5);

  // Cancel puts back what the measurement overwrote.
  p.legLeft.values[0] = 20.0;
  Run(14, ui::IDCANCEL);
  EXPECT_EQ(p.legLeft.values[0], 20.0);
}

// No page data, or a kind without a channel, is nothing found: 0.0 is written.
TEST_F(Confirmation, NothingFoundWritesZero) {
  SleepDstrbParam& p = Block();
  p.airFlow.channel = 5;
  p.snore.channel = -1;
  p.snore.values[0] = 20.0;
  Run(18, ui::IDOK);
  EXPECT_EQ(p.snore.values[0], 0.0);
  doc.RecordInfo.pageBuffers[2].clear();
  Run(11, ui::IDOK);
  EXPECT_EQ(p.airFlow.values[2], 0.0);
  EXPECT_EQ(p.airFlow.values[3], 0.0);
}

}  // namespace
