// Linear-phase FIR filter designed with a Kaiser window and applied to one
// block by FFT convolution.
//
// The design gives the one-sided impulse response h[0 .. L/2] of a low-pass,
// high-pass, band-pass or band-stop filter with unity gain at 0 Hz of its
// low-pass prototype. The block of n samples and the symmetric response of L
// taps are convolved through transforms of M points (M the smallest power of
// two above L + n - 1); the output is delayed by L/2 samples against the input.
//
// Calling order: construct, SetRawDataNum(n), CreateWorkArea, SetHData,
// SetRData(in, n), CalcFIRFilter, GetResultData(out).
#pragma once

#include <vector>

#include "common/dsp/fyn_fft.h"

class FynFilterFIR : public FynFftBase {
public:
  // filterType: 0 low-pass, 1 high-pass, 2 band-pass, 3 band-stop.
  // lowCutHz: cut-off of the low- and high-pass, lower edge of a band;
  // hiCutHz: upper edge of a band; attenuationDb: sets the Kaiser parameter;
  // filterLength: number of taps L; pointCount: replaced by CreateWorkArea.
  FynFilterFIR(short filterType = 0, double lowCutHz = 0.0, double hiCutHz = 0.0,
               double attenuationDb = 0.0, unsigned long filterLength = 0,
               double sampFreqHz = 1.0, int pointCount = 0);
  ~FynFilterFIR() override;
  FynFilterFIR(const FynFilterFIR&) = default;
  FynFilterFIR& operator=(const FynFilterFIR&) = default;
  FynFilterFIR(FynFilterFIR&&) noexcept = default;
  FynFilterFIR& operator=(FynFilterFIR&&) noexcept = default;

  void SetFilterType(short filterType) { filterType_ = filterType; }
  void SetLowCutFRQ(double hz) { lowCutHz_ = hz; }
  void SetHiCutFRQ(double hz) { hiCutHz_ = hz; }
  void SetAttn(double db) { attenuationDb_ = db; }
  void SetSmpf(double hz) { sampFreqHz_ = hz; }
  void SetFilterLenght(unsigned long taps) { filterLength_ = taps; }
  void SetRawDataNum(unsigned long count) { rawDataNum_ = count; }

  // Smallest power of two strictly above m (1000 gives 1024, 1024 gives
  // 2048); 2 for m = 0; 0 when it does not fit the type.
  static unsigned long GetDataNum(unsigned long m);

  // Sets the transform length M from L + n - 1 (at least 4) and allocates
  // the work areas and the laid-out impulse response. 0 ok; -1 when M cannot
  // be allocated (or does not fit a transform length).
  short CreateWorkArea();
  int GetConvolutionPoint() const { return pointNum_; }

  // Computes h[0 .. L/2]. 1 ok, 0 when the coefficients cannot be allocated.
  int CalcFIRFilterDesign();
  // Runs the design and lays the response out: entry k of the M points is
  // h[|k - L/2|] for k = 0 .. L-1, the rest 0. 1 ok, 0 without work areas
  // or design.
  int SetHData();
  // Copies the L design coefficients (h[0 .. L/2], then zeros) to out; 1 ok,
  // 0 for a null pointer.
  int GetDesignData(float* out) const;

  // Zeroes the real work area and copies count samples (at most M). 0 ok,
  // -1 for a null pointer or missing work areas.
  int SetRData(const float* data, unsigned long count);
  // Transforms the loaded input and saves its spectrum, then the laid-out
  // response and saves that.
  void CalcFft();
  // 0 saves the current work areas as the input spectrum, otherwise as the
  // filter spectrum.
  void SetShelter(int which);
  // Convolution of the loaded block with the response. 1 ok, 0 without
  // work areas.
  int CalcFIRFilter();
  // Copies the first n samples of the filtered block to out; 1 ok, 0 for a
  // null pointer or missing work areas.
  int GetResultData(float* out) const;

  // Modified Bessel function I0 by its series, 19 terms after the 1.
  static double i0(double x);
  static double sqr(double x) { return x * x; }

private:
  short filterType_;
  double lowCutHz_;
  double hiCutHz_;
  double attenuationDb_;
  unsigned long filterLength_;
  double sampFreqHz_;
  unsigned long rawDataNum_ = 0;
  std::vector<float> design_;  // h[0 .. L/2], then zeros up to L
  std::vector<float> layout_;  // M points
  std::vector<float> inRe_, inIm_;
  std::vector<float> filterRe_, filterIm_;
};
