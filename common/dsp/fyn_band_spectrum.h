// Averages the bins of a spectrum into bands of equal width, in place.
#pragma once

class FynBandSpec {
public:
  virtual ~FynBandSpec() = default;
  // values[0] is kept; bins i = 1 .. count-1 (at i x binWidthHz) go to band
  // j = 1, 2, ... while binWidthHz x i <= bandWidthHz x j, and each band's
  // mean is written to values[j]. Returns the number of entries now used
  // (last band + 1, entry 0 included); -1 when the bin width exceeds the band
  // width, a width is not positive or values is null.
  static int CalcBandSpec(float* values, int count, double binWidthHz, double bandWidthHz);
};
