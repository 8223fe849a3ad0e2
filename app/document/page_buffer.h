#pragma once
// Holders of the page window's derived data: the epoch spectra, the divided-page
// spectra of the five page slots.
// The page samples themselves live in LyrRecordInfo::pageBuffers.
#include <array>
#include <cstdint>
#include <vector>

// Spectrum of the current epoch for one channel; empty for an unselected channel.
struct EpochSpectrum {
  int binCount = 0;
  std::vector<float> values;
};

// One entry per channel of the open recording (the selection flags are the
// FFTPageSelection block of the analysis settings).
struct EpochSpectrumSet {
  std::vector<EpochSpectrum> channels;
};

// Divided-page spectra: for each page slot kind 0 .. 4 and each of the three
// chosen channels, D spectra of N/2 + 1 floats one after the other (division 0
// first). The value count is the vector's size; empty when absent.
struct DividedPageSpectra {
  std::array<std::array<std::vector<float>, 3>, 5> slots;
};

// The single-channel spectrum the workspace shows: the channel it was computed for (-1 none),
// its value count (FFT points / 2 + 1) and the values.
struct SimpleSpectrumSet {
  std::int32_t channel = -1;
  std::int32_t valueCount = 0;
  std::vector<float> values;
};

// Result of reading one page slot (SetPageRawData by kind).
enum PageSlotResult : int {
  kPageSlotRead = 0,
  kPageSlotNoMemory = 1,
  kPageSlotNotKept = 2,    // outside the recording or not held for the page rows
  kPageSlotReadFailed = 3  // the source could not be read; the slot stays zero
};
