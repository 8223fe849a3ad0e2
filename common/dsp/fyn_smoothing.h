// Smoothing of a block of samples by a centred moving average or by a centred
// quadratic polynomial fit (least-squares smoothing weights, renormalised over
// the samples present near the ends of the block).
//
// Calling order: construct (type, count, points), SetOrgData(source),
// SetDtPoint(points), CalcSmoothing, GetRData(destination). The source stays
// the caller's; the result is owned (and copied with the object).
#pragma once

#include <vector>

class FynSmoothing {
public:
  FynSmoothing() = default;
  // smoothingType: 0 moving average, 1 polynomial; aveNum: window length W
  // in samples; points: samples per block n.
  FynSmoothing(short smoothingType, long aveNum, unsigned long points);
  virtual ~FynSmoothing();
  FynSmoothing(const FynSmoothing&) = default;
  FynSmoothing& operator=(const FynSmoothing&) = default;

  void SetOrgData(const float* source) { source_ = source; }
  void SetSmoothingType(short smoothingType) { type_ = smoothingType; }
  void SetSmoothingAveNum(long aveNum) { aveNum_ = aveNum; }
  void SetDtPoint(unsigned long points) { points_ = points; }

  // Runs the smoothing of the current type: 0 ok, -1 for an unknown type,
  // a missing source, a window below 1 or memory failure.
  int CalcSmoothing();
  // (Re)allocates the result with n values and copies the source into it.
  // 0 ok, -1 without source or memory.
  int CopyOrgData();
  // Mean over i - W/2 .. i + W/2 divided by W, the first (last) sample
  // standing in for positions before (after) the block; an even W thus sums
  // W + 1 samples. 0 ok; -1 when the copy fails or W < 1 (the result is then
  // the unchanged copy, if any).
  int CalcWinRectSmoothing();
  // Quadratic fit over W = 2m + 1 samples (an even W uses W + 1); near the
  // ends the weights of the samples present are renormalised. 0 ok; -1 when
  // the copy or the weight table fails or W < 1.
  int CalcWinPolynominalSmoothing();
  // Weights c[0 .. m] = 3m(m + 1) - 1 - 5k^2 of the current (odd) window and
  // their sum over the window (4m^2 - 1)(2m + 3) / 3. weights holds m + 1.
  void GetWinPolynominal(double* weights, double* norm) const;
  // Half width m of the polynomial window for the current count.
  long PolynominalHalfWidth() const;
  // Copies the n result values to out. 0 ok, -1 without result or for a
  // null pointer.
  int GetRData(float* out) const;

private:
  const float* source_ = nullptr;
  std::vector<float> result_;
  short type_ = 0;
  long aveNum_ = 0;
  unsigned long points_ = 0;
};
