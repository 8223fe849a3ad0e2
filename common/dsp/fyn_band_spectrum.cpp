#include "common/dsp/fyn_band_spectrum.h"

int FynBandSpec::CalcBandSpec(float* values, int count, double binWidthHz, double bandWidthHz) {
  if (binWidthHz > bandWidthHz) return -1;
  if (values == nullptr || !(binWidthHz > 0.0) || !(bandWidthHz > 0.0)) return -1;
  int band = 1;
  double sum = 0.0;
  int members = 0;
  for (int i = 1; i < count; ++i) {
    if (binWidthHz * i > bandWidthHz * band) {
      values[band] = static_cast<float>(sum / members);  // bins of this band lie at or above index band
      ++band;
      sum = 0.0;
      members = 0;
    }
    sum += values[i];
    ++members;
  }
  if (members == 0) return 1;
  values[band] = static_cast<float>(sum / members);
  return band + 1;
}
