#include "common/dsp/fyn_coherence.h"

#include <algorithm>
#include <cmath>
#include <exception>

FynCoherence::FynCoherence(int pointCount, int windowType, double parameter)
    : FynFftBase(pointCount), parameter_(parameter), windowType_(windowType) {}

FynCoherence::~FynCoherence() = default;

short FynCoherence::CreateWorkArea() {
  for (auto* v : {&result_, &crossRe_, &crossIm_, &power1_, &power2_, &window_, &xRe_, &xIm_, &yRe_, &yIm_}) v->clear();
  if (pointNum_ == 0 || CreateFftWorkArea() != 0) return -1;
  try {
    const auto n = static_cast<std::size_t>(pointNum_);
    for (auto* v : {&result_, &crossRe_, &crossIm_, &power1_, &power2_}) v->assign(n / 2 + 1, 0.0f);
    for (auto* v : {&window_, &xRe_, &xIm_, &yRe_, &yIm_}) v->assign(n, 0.0f);
  } catch (const std::exception&) {
    for (auto* v : {&result_, &crossRe_, &crossIm_, &power1_, &power2_, &window_, &xRe_, &xIm_, &yRe_, &yIm_}) v->clear();
    return -1;
  }
  CalcWindowFunc();
  return 0;
}

bool FynCoherence::Ready() const { return HasWorkArea() && window_.size() == reWork_.size(); }

void FynCoherence::CalcWindowFunc() { FynFft::FillWindow(windowType_, window_.data(), static_cast<int>(window_.size())); }

void FynCoherence::CalcFft() {
  if (!Ready()) return;
  InitIWorkArea();
  if (windowType_ != 0) {
    double sum = 0.0;
    for (float v : reWork_) sum += v;
    const auto mean = static_cast<float>(sum / pointNum_);
    for (std::size_t i = 0; i < reWork_.size(); ++i) reWork_[i] = (reWork_[i] - mean) * window_[i];
  }
  CalcFftSpec(0);
}

void FynCoherence::SetShelter(int which) {
  if (!Ready()) return;
  if (which == 0) {
    xRe_ = reWork_;
    xIm_ = imWork_;
  } else {
    yRe_ = reWork_;
    yIm_ = imWork_;
  }
}

void FynCoherence::InitResultWorkArea() {
  for (auto* v : {&result_, &crossRe_, &crossIm_, &power1_, &power2_}) std::fill(v->begin(), v->end(), 0.0f);
}

void FynCoherence::CalcCoherence1() {
  if (!Ready()) return;
  for (std::size_t k = 0; k < result_.size(); ++k) {
    const double xr = xRe_[k], xi = xIm_[k], yr = yRe_[k], yi = yIm_[k];
    const double f = xi * yr - yi * xr;
    const double g = xi * yi + yr * xr;
    // g + j f is X conj(Y); the complex sum keeps the phase consistency
    // between segments that coherence measures.
    crossRe_[k] += static_cast<float>(g);
    crossIm_[k] += static_cast<float>(f);
    power1_[k] += static_cast<float>(xr * xr + xi * xi);
    power2_[k] += static_cast<float>(yr * yr + yi * yi);
  }
}

void FynCoherence::CalcCoherence2() {
  for (std::size_t k = 0; k < result_.size(); ++k) {
    const double p1 = power1_[k], p2 = power2_[k];
    const double cr = crossRe_[k], ci = crossIm_[k];
    result_[k] = (p1 != 0.0 && p2 != 0.0) ? static_cast<float>((cr * cr + ci * ci) / (p1 * p2)) : 0.0f;
  }
}

int FynCoherence::GetResultData(float* out) const {
  if (out == nullptr || result_.empty()) return -1;
  std::copy(result_.begin(), result_.end(), out);
  return 0;
}
