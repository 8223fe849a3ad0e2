// Radix-2 FFT and one-sided power spectrum density of the library.
//
// FynFftBase owns two float work areas (real and imaginary) of N points and a
// quarter-wave sine table; CalcFftSpec transforms them in place (forward
// unscaled, inverse divided by N). FynFft loads one block of samples, applies
// an optional window and turns the transform into a one-sided power (or
// amplitude) spectrum density. FyndB converts a spectrum to decibels relative
// to its maximum.
//
// All work areas are owned by the object and copied with it (a copy never
// shares arrays with its source). Every array passed in or out belongs to
// the caller. No member throws; failures are reported through the results.
#pragma once

#include <cstdint>
#include <vector>

class FynFftBase {
public:
  // pointCount: transform length N, a power of two of at least 4 (checked
  // when the work areas are created). Nothing is allocated here.
  explicit FynFftBase(int pointCount = 0);
  virtual ~FynFftBase();
  FynFftBase(const FynFftBase&) = default;
  FynFftBase& operator=(const FynFftBase&) = default;
  FynFftBase(FynFftBase&&) noexcept = default;
  FynFftBase& operator=(FynFftBase&&) noexcept = default;

  // Number of halvings of pointCount / 2 while it stays above 0: log2 N for
  // a power of two (256 gives 8), 0 for counts below 2.
  static int CalcPowerNum(int pointCount);

  // Stores N and its power number; the work areas keep their size until
  // CreateFftWorkArea is called again (until then no transform runs).
  void SetFftPoint(int pointCount);
  int GetFftPoint() const { return pointNum_; }

  // (Re)allocates the real and imaginary areas (N floats each) and the sine
  // table (N/4 + 1 floats). N = 0 allocates nothing and returns 0.
  // Returns 0 on success, -1 when N is not a power of two of at least 4 or
  // the memory cannot be allocated (the object then has no work areas).
  short CreateFftWorkArea();

  // Zero the real (imaginary) area when it exists.
  void InitRWorkArea();
  void InitIWorkArea();

  // Zeroes the real area and copies N samples from data into it.
  // Returns 0; -1 for a null pointer or missing work areas.
  int SetRData(const float* data);

  // In-place transform of (real, imaginary): inverse == 0 forward with
  // exp(-j 2 pi k / N) and no scaling, otherwise inverse scaled by 1/N.
  // Does nothing without work areas.
  void CalcFftSpec(short inverse);

  // Read access to the work areas (N floats each, null without them).
  const float* RealWorkArea() const { return HasWorkArea() ? reWork_.data() : nullptr; }
  const float* ImagWorkArea() const { return HasWorkArea() ? imWork_.data() : nullptr; }

protected:
  // Forward transform of the real samples in the real area, each less
  // offset and times window[i] when a window is given (the imaginary area is
  // ignored): the same spectrum as CalcFftSpec(0) of those samples with a
  // zero imaginary part, through a transform of N/2 points.
  void CalcRealFftSpec(const float* window, float offset);
  // True when the work areas are allocated for the current point count.
  bool HasWorkArea() const;

  int pointNum_ = 0;
  int powerNum_ = 0;
  std::vector<float> sinTable_;  // sin(2 pi i / N), i = 0 .. N/4 (entry N/4 = 1)
  std::vector<float> imWork_;
  std::vector<float> reWork_;

private:
  void BuildTransformTables();

  // Twiddles of every stage, read from the sine table once per allocation:
  // the stage whose butterflies span 2h points uses entries h .. 2h - 1.
  std::vector<float> stageCos_;
  std::vector<float> stageSin_;
  // Index pairs (i, j), i < j, exchanged by the bit-reversal permutation.
  std::vector<std::uint32_t> bitRevPairs_;
  std::vector<std::uint32_t> halfBitRev_;  // bit reversal of the N/2-point transform
};

// Decibels relative to the maximum of a block of values.
class FyndB {
public:
  virtual ~FyndB() = default;
  // Each of the count values v becomes 10 * ln(v / m), m the maximum of the
  // values (natural logarithm: {1, 10, 100} gives {-46.05, -23.03, 0}).
  // A ratio below the smallest normal float (zero or negative values) is
  // taken as that smallest value, so the result stays finite; when the
  // maximum is not positive every value becomes 0.
  static void ConvTodB(float* values, int count);
};

class FynFft : public FynFftBase {
public:
  // windowType: 0 none, 1 Hamming, 2 Hanning, 3 Blackman, 4 10 % cosine
  // taper (any other value: mean removal and a rectangular window).
  // unit: 1 amplitude density, any other value power density.
  // sampFreqHz: sampling frequency of the samples.
  FynFft(int pointCount = 0, int windowType = 0, int unit = 0, double sampFreqHz = 1.0);
  ~FynFft() override;
  FynFft(const FynFft&) = default;
  FynFft& operator=(const FynFft&) = default;
  FynFft(FynFft&&) noexcept = default;
  FynFft& operator=(FynFft&&) noexcept = default;

  // CreateFftWorkArea, then the result (N/2 + 1 floats) and the window
  // (N floats), and computes the window. 0 ok; -1 for a point count that is
  // not a power of two of at least 4 or when memory runs out.
  short CreateWorkArea();

  // Store the value; the window is recomputed only by CreateWorkArea.
  void SetWindowType(int windowType) { windowType_ = windowType; }
  void SetUnit(short unit) { unit_ = unit; }
  void SetSampFreq(double sampFreqHz) { sampFreqHz_ = sampFreqHz; }

  // Fills the window array for the current window type and point count.
  void CalcWindowFunc();
  // Window of the given type over count points (M = count - 1 in the cosine
  // terms); unknown types and type 0 give ones.
  static void FillWindow(int windowType, float* w, int count);
  // Subtracts the mean of the N samples of the real area from each of them.
  void CalcBaseLine();
  // Spectrum of the samples loaded with SetRData: bin k (0 .. N/2) lies at
  // k * fs / N Hz and holds |X|^2 / N, doubled for k >= 1, divided by fs
  // (its square root for unit 1). With a window the mean is removed first.
  void CalcFft();
  // Sets the N/2 + 1 result values to 0.
  void InitResultWorkArea();
  // Copies the N/2 + 1 result values to out. 0 ok, -1 for a null pointer
  // or missing work areas.
  int GetResultData(float* out) const;
  // FyndB::ConvTodB on the caller's array.
  void ConvertTodB(float* values, int count) const;

  const float* WindowData() const { return window_.empty() ? nullptr : window_.data(); }

private:
  int windowType_;
  short unit_;
  double sampFreqHz_;
  std::vector<float> result_;
  std::vector<float> window_;
};
