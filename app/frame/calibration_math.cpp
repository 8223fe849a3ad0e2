#include "app/frame/calibration_math.h"

#include <cmath>
#include <cstdlib>

#include "app/document/ch_info.h"

double CalibrationSampleToVolts(std::uint16_t sample, double fullScale, bool unsignedSamples) {
  const std::uint32_t v = unsignedSamples ? sample : static_cast<std::uint16_t>(sample ^ 0x8000u);
  return (static_cast<double>(v) - 32768.0) * fullScale / 32768.0;
}

std::uint16_t CalibrationVoltsToSample(double volts, double fullScale, bool unsignedSamples) {
  std::uint32_t v;
  if (!std::isfinite(volts)) volts = 0.0;
  if (volts >= 0) {
    if (volts >= fullScale) {
      v = 65535;
    } else {
      v = static_cast<std::uint32_t>(static_cast<std::int64_t>(volts / (fullScale / 32768.0)) + 32768);
    }
  } else {
    const double mag = -volts;
    if (mag >= fullScale) {
      v = 0;
    } else {
      v = static_cast<std::uint32_t>(32768 - static_cast<std::int64_t>(mag / (fullScale / 32768.0)));
    }
  }
  if (v > 65535) v = 65535;
  auto s = static_cast<std::uint16_t>(v);
  return unsignedSamples ? s : static_cast<std::uint16_t>(s ^ 0x8000u);
}

double CalibrationFieldNumber(const std::string& text, bool* isNumber) {
  const char* begin = text.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  const bool ok = end != begin && std::isfinite(v);
  if (isNumber) *isNumber = ok;
  return ok ? v : 0.0;
}

void ApplyCalibrationFields(LyrChInfo& ch, bool on, const CalibrationFieldTexts& f, bool unsignedSamples) {
  ChCalibrationEntry& c = ch.calibration;
  const double full = c.fullScale;
  c.calibrated = on ? 1 : 0;
  if (!f.upperVolts.empty()) {
    double x = CalibrationFieldNumber(f.upperVolts);
    if (x > full) x = full;
    c.topSample = CalibrationVoltsToSample(x, full, unsignedSamples);
  }
  if (!f.upperValue.empty()) c.topValue = CalibrationFieldNumber(f.upperValue);
  if (!f.lowerVolts.empty()) {
    double x = CalibrationFieldNumber(f.lowerVolts);
    if (x < -full) x = -full;
    c.bottomSample = CalibrationVoltsToSample(x, full, unsignedSamples);
  }
  if (!f.lowerValue.empty()) c.bottomValue = CalibrationFieldNumber(f.lowerValue);
  if (!f.sensitivity.empty()) {
    bool ok = false;
    const double s = CalibrationFieldNumber(f.sensitivity, &ok);
    ch.unitsPerCm = (!ok || s < 0.01) ? 0.01 : s;
  }
}

int FindCalibrationContradiction(const LyrChInfo* channels, int count) {
  for (int i = 0; i < count; ++i) {
    const ChCalibrationEntry& c = channels[i].calibration;
    if (c.calibrated != 1) continue;
    if (c.topSample == c.bottomSample || c.topValue == c.bottomValue) return i;
  }
  return -1;
}
