#include "app/frame/calibration_math.h"

#include <gtest/gtest.h>

#include <array>

#include "app/document/ch_info.h"

namespace {

TEST(CalibrationMath, VoltsAndSamplesBothWays) {
  struct Case {
    double volts;
    bool unsignedSamples;
    std::uint16_t sample;
  };
  const Case cases[] = {
      {2.5, true, 49152},   {7.0, true, 65535},  {5.0, true, 65535}, {-5.0, true, 0},
      {-2.5, true, 16384},  {0.0, true, 32768},  {2.5, false, 16384}, {-7.0, false, 0x8000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    EXPECT_EQ(CalibrationVoltsToSample(c.volts, 5.0, c.unsignedSamples), c.sample);
  }
  EXPECT_DOUBLE_EQ(CalibrationSampleToVolts(49152, 5.0, true), 2.5);
  EXPECT_DOUBLE_EQ(CalibrationSampleToVolts(16384, 5.0, false), 2.5);
  // A zero full scale saturates instead of dividing by zero.
  EXPECT_EQ(CalibrationVoltsToSample(1.0, 0.0, true), 65535);
  EXPECT_EQ(CalibrationVoltsToSample(-1.0, 0.0, true), 0);
}

TEST(CalibrationMath, ApplyKeepsEmptyFieldsAndClampsSensitivity) {
  LyrChInfo ch;
  ch.calibration.fullScale = 5.0;
  ch.calibration.topSample = 40000;
  ch.calibration.bottomSample = 20000;
  ch.calibration.topValue = 100.0;
  ch.calibration.bottomValue = -100.0;
  ch.unitsPerCm = 50.0;

  ApplyCalibrationFields(ch, false, {}, true);  // only OFF applied
  EXPECT_EQ(ch.calibration.calibrated, 0);
  EXPECT_EQ(ch.calibration.topSample, 40000);
  EXPECT_EQ(ch.calibration.bottomValue, -100.0);
  EXPECT_EQ(ch.unitsPerCm, 50.0);

  ApplyCalibrationFields(ch, true, {"7", "200", "-9", "-200", "0"}, true);
  EXPECT_EQ(ch.calibration.calibrated, 1);
  EXPECT_EQ(ch.calibration.topSample, 65535);
  EXPECT_EQ(ch.calibration.bottomSample, 0);
  EXPECT_EQ(ch.calibration.topValue, 200.0);
  EXPECT_EQ(ch.calibration.bottomValue, -200.0);
  EXPECT_EQ(ch.unitsPerCm, 0.01);
  ApplyCalibrationFields(ch, true, {"", "", "", "", "abc"}, true);
  EXPECT_EQ(ch.unitsPerCm, 0.01);
  ApplyCalibrationFields(ch, true, {"", "", "", "", "2.5"}, true);
  EXPECT_EQ(ch.unitsPerCm, 2.5);
}

TEST(CalibrationMath, ContradictionNamesTheFirstSwitchedOnChannel) {
  std::array<LyrChInfo, 3> chs;
  for (auto& c : chs) {
    c.calibration.calibrated = 1;
    c.calibration.topSample = 50000;
    c.calibration.bottomSample = 10000;
    c.calibration.topValue = 1;
    c.calibration.bottomValue = 0;
  }
  EXPECT_EQ(FindCalibrationContradiction(chs.data(), 3), -1);
  chs[2].calibration.topValue = 0;  // equal calibration values
  EXPECT_EQ(FindCalibrationContradiction(chs.data(), 3), 2);
  chs[1].calibration.bottomSample = 50000;  // equal A/D points
  EXPECT_EQ(FindCalibrationContradiction(chs.data(), 3), 1);
  chs[1].calibration.calibrated = 0;  // switched off: not checked
  EXPECT_EQ(FindCalibrationContradiction(chs.data(), 3), 2);
}

}  // namespace
