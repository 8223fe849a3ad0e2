#include "common/dsp/fyn_filter_fir.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

namespace {
// Largest transform the int point count of the base can describe.
constexpr unsigned long kMaxConvolutionPoint = 1ul << 30;
}  // namespace

FynFilterFIR::FynFilterFIR(short filterType, double lowCutHz, double hiCutHz, double attenuationDb,
                           unsigned long filterLength, double sampFreqHz, int pointCount)
    : FynFftBase(pointCount), filterType_(filterType), lowCutHz_(lowCutHz), hiCutHz_(hiCutHz),
      attenuationDb_(attenuationDb), filterLength_(filterLength), sampFreqHz_(sampFreqHz) {}

FynFilterFIR::~FynFilterFIR() = default;

unsigned long FynFilterFIR::GetDataNum(unsigned long m) {
  int bits = 0;
  for (unsigned long half = m / 2; half > 0; half /= 2) ++bits;
  if (bits + 1 >= static_cast<int>(sizeof(unsigned long) * 8)) return 0;
  return 1ul << (bits + 1);
}

short FynFilterFIR::CreateWorkArea() {
  layout_.clear();
  inRe_.clear();
  inIm_.clear();
  filterRe_.clear();
  filterIm_.clear();
  const unsigned long span = filterLength_ + rawDataNum_;
  if (span < filterLength_ || span > kMaxConvolutionPoint) {  // overflow or too long
    SetFftPoint(0);
    return -1;
  }
  const unsigned long m = std::max(GetDataNum(span == 0 ? 0 : span - 1), 4ul);
  if (m > kMaxConvolutionPoint) {
    SetFftPoint(0);
    return -1;
  }
  SetFftPoint(static_cast<int>(m));
  if (CreateFftWorkArea() != 0) return -1;
  try {
    layout_.assign(m, 0.0f);
  } catch (const std::exception&) {
    SetFftPoint(0);
    return -1;
  }
  return 0;
}

double FynFilterFIR::i0(double x) {
  double sum = 1.0;
  double term = 1.0;
  for (int i = 1; i <= 19; ++i) {
    term *= (x / 2.0) / i;  // (x/2)^i / i!
    sum += term * term;
  }
  return sum;
}

int FynFilterFIR::CalcFIRFilterDesign() {
  const unsigned long half = filterLength_ / 2;
  try {
    design_.assign(std::max(filterLength_, half + 1), 0.0f);
  } catch (const std::exception&) {
    design_.clear();
    return 0;
  }
  const double fs = sampFreqHz_;
  double fc = lowCutHz_;
  if (filterType_ == 1)
    fc = fs / 2.0 - lowCutHz_;
  else if (filterType_ == 2 || filterType_ == 3)
    fc = (hiCutHz_ - lowCutHz_) / 2.0;

  const double a = attenuationDb_;
  double beta = 0.0;
  if (a >= 50.0)
    beta = 0.1102 * (a - 8.7);
  else if (a >= 21.0)
    beta = 0.5842 * std::pow(a - 21.0, 0.4) + 0.07886 * (a - 21.0);
  const double i0Beta = i0(beta);

  std::vector<double> h(half + 1);
  h[0] = 2.0 * fc / fs;
  for (unsigned long j = 1; j <= half; ++j) {
    const double x = 2.0 * static_cast<double>(j) / static_cast<double>(filterLength_);
    const double w = i0(beta * std::sqrt(std::max(0.0, 1.0 - x * x))) / i0Beta;
    const double pj = std::numbers::pi * static_cast<double>(j);
    h[j] = w * std::sin(2.0 * pj * fc / fs) / pj;
  }
  double sum = h[0];
  for (unsigned long j = 1; j <= half; ++j) sum += 2.0 * h[j];
  for (double& v : h) v /= sum;

  if (filterType_ == 1) {
    for (unsigned long j = 1; j <= half; j += 2) h[j] = -h[j];
  } else if (filterType_ == 2 || filterType_ == 3) {
    const double w0 = std::numbers::pi * (hiCutHz_ + lowCutHz_) / fs;
    if (filterType_ == 2) {
      for (unsigned long j = 0; j <= half; ++j) h[j] *= 2.0 * std::cos(w0 * static_cast<double>(j));
    } else {
      h[0] = 1.0 - 2.0 * h[0];
      for (unsigned long j = 1; j <= half; ++j) h[j] *= -2.0 * std::cos(w0 * static_cast<double>(j));
    }
  }
  for (unsigned long j = 0; j <= half; ++j) design_[j] = static_cast<float>(h[j]);
  return 1;
}

int FynFilterFIR::SetHData() {
  if (!HasWorkArea() || layout_.size() != static_cast<std::size_t>(pointNum_) ||
      filterLength_ > layout_.size())
    return 0;
  if (CalcFIRFilterDesign() != 1) return 0;
  const long centre = static_cast<long>(filterLength_ / 2);
  std::fill(layout_.begin(), layout_.end(), 0.0f);
  for (long k = 0; k < static_cast<long>(filterLength_); ++k)
    layout_[static_cast<std::size_t>(k)] = design_[static_cast<std::size_t>(std::labs(k - centre))];
  return 1;
}

int FynFilterFIR::GetDesignData(float* out) const {
  if (out == nullptr) return 0;
  const std::size_t count = std::min<std::size_t>(filterLength_, design_.size());
  std::copy(design_.begin(), design_.begin() + static_cast<long>(count), out);
  std::fill(out + count, out + filterLength_, 0.0f);
  return 1;
}

int FynFilterFIR::SetRData(const float* data, unsigned long count) {
  if (data == nullptr || !HasWorkArea()) return -1;
  InitRWorkArea();
  const unsigned long n = std::min<unsigned long>(count, reWork_.size());
  std::copy(data, data + n, reWork_.begin());
  return 0;
}

void FynFilterFIR::SetShelter(int which) {
  auto& re = which == 0 ? inRe_ : filterRe_;
  auto& im = which == 0 ? inIm_ : filterIm_;
  try {
    re = reWork_;
    im = imWork_;
  } catch (const std::exception&) {
    re.clear();
    im.clear();
  }
}

void FynFilterFIR::CalcFft() {
  if (!HasWorkArea() || layout_.size() != static_cast<std::size_t>(pointNum_)) return;
  // Both the block and the response are real: half-length transforms.
  CalcRealFftSpec(nullptr, 0.0f);
  SetShelter(0);
  InitRWorkArea();
  const std::size_t taps = std::min<std::size_t>(filterLength_, layout_.size());
  std::copy(layout_.begin(), layout_.begin() + static_cast<long>(taps), reWork_.begin());
  CalcRealFftSpec(nullptr, 0.0f);
  SetShelter(1);
}

int FynFilterFIR::CalcFIRFilter() {
  if (!HasWorkArea() || layout_.size() != static_cast<std::size_t>(pointNum_)) return 0;
  CalcFft();
  const std::size_t n = reWork_.size();
  if (inRe_.size() != n || filterRe_.size() != n) return 0;
  for (std::size_t k = 0; k < n; ++k) {
    const float xr = inRe_[k], xi = inIm_[k], hr = filterRe_[k], hi = filterIm_[k];
    reWork_[k] = xr * hr - xi * hi;
    imWork_[k] = xr * hi + xi * hr;
  }
  CalcFftSpec(1);
  return 1;
}

int FynFilterFIR::GetResultData(float* out) const {
  if (out == nullptr || !HasWorkArea()) return 0;
  const unsigned long n = std::min<unsigned long>(rawDataNum_, reWork_.size());
  std::copy(reWork_.begin(), reWork_.begin() + static_cast<long>(n), out);
  return 1;
}
