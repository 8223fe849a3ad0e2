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
