#pragma once
// Two-point calibration of a channel as the Calibration dialog edits it: sample values and
// volts both ways, the fields applied to a channel, and the consistency check.
#include <cstdint>
#include <string>

class LyrChInfo;

// Volts of a sample value for a full scale; offset-binary samples when unsignedSamples,
// else two's complement.
double CalibrationSampleToVolts(std::uint16_t sample, double fullScale, bool unsignedSamples);
// Sample value of a voltage, saturated at the full scale.
std::uint16_t CalibrationVoltsToSample(double volts, double fullScale, bool unsignedSamples);

// The dialog's five value fields as typed; an empty text leaves its value as it was.
struct CalibrationFieldTexts {
  std::string upperVolts, upperValue, lowerVolts, lowerValue, sensitivity;
};

// The number of a field as the dialog reads it (leading number, 0 when there is none).
double CalibrationFieldNumber(const std::string& text, bool* isNumber = nullptr);

// Applies the switch and the non-empty fields to one channel.
void ApplyCalibrationFields(LyrChInfo& ch, bool on, const CalibrationFieldTexts& fields, bool unsignedSamples);

// Index of the first channel that is switched on with equal A/D points or equal calibration
// values, -1 when all are consistent.
int FindCalibrationContradiction(const LyrChInfo* channels, int count);
