#pragma once
// Divided-page spectra: for each page slot (kind 0 .. 4) and each of the three divided-page
// channels, D consecutive averaged spectra of N/2 + 1 values (division 0 first).
#include <array>
#include <cstdint>
#include <vector>

class CQLM2_AnalyzerDoc;

struct DividedPageSpectra {
  static constexpr int kSlots = 3;
  // values[kind][slot]: empty when absent.
  std::array<std::array<std::vector<float>, kSlots>, 5> values;
  // Divisions held per kind.
  std::array<int, 5> divisions{};
};

// Adds the averaged spectra of A consecutive blocks of N samples into out (N/2 + 1 values the
// caller zeroed), then divides them by A. Returns 1; 0 for a point count FFT cannot take.
int CalcFFTData(const float* samples, float* out, unsigned short averaging, int points, short window, short unit,
                double sampFreqHz);

// Spectra of page slot `kind` for the document's divided-page channels. Returns 1, or 0 when
// the slot's page buffer is missing.
int calcDiviedPageFFTData(CQLM2_AnalyzerDoc& doc, unsigned kind);
