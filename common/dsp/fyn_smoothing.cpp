#include "common/dsp/fyn_smoothing.h"

#include <algorithm>
#include <exception>

FynSmoothing::FynSmoothing(short smoothingType, long aveNum, unsigned long points)
    : type_(smoothingType), aveNum_(aveNum), points_(points) {}

FynSmoothing::~FynSmoothing() = default;

int FynSmoothing::CalcSmoothing() {
  switch (type_) {
    case 0: return CalcWinRectSmoothing();
    case 1: return CalcWinPolynominalSmoothing();
    default: return -1;
  }
}

int FynSmoothing::CopyOrgData() {
  if (source_ == nullptr && points_ > 0) {
    result_.clear();
    return -1;
  }
  try {
    result_.assign(source_, source_ + points_);
  } catch (const std::exception&) {
    result_.clear();
    return -1;
  }
  return 0;
}

int FynSmoothing::CalcWinRectSmoothing() {
  if (CopyOrgData() != 0) return -1;
  if (aveNum_ < 1) return -1;
  const long n = static_cast<long>(points_);
  if (n == 0) return 0;
  const long h = aveNum_ / 2;
  const float* x = source_;
  const double first = x[0], last = x[n - 1];
  for (long i = 0; i < n; ++i) {
    const long from = i - h, to = i + h;
    double sum = 0.0;
    if (from < 0) sum += first * static_cast<double>(-from);
    if (to >= n) sum += last * static_cast<double>(to - n + 1);
    for (long j = std::max(from, 0l), end = std::min(to, n - 1); j <= end; ++j) sum += x[j];
    result_[static_cast<std::size_t>(i)] = static_cast<float>(sum / static_cast<double>(aveNum_));
  }
  return 0;
}

long FynSmoothing::PolynominalHalfWidth() const {
  if (aveNum_ < 1) return 0;
  return aveNum_ / 2;  // W = 2m + 1, an even W taken as W + 1
}

void FynSmoothing::GetWinPolynominal(double* weights, double* norm) const {
  const double m = static_cast<double>(PolynominalHalfWidth());
  if (weights != nullptr)
    for (long k = 0; k <= PolynominalHalfWidth(); ++k)
      weights[k] = 3.0 * m * (m + 1.0) - 1.0 - 5.0 * static_cast<double>(k) * static_cast<double>(k);
  if (norm != nullptr) *norm = (4.0 * m * m - 1.0) * (2.0 * m + 3.0) / 3.0;
}

int FynSmoothing::CalcWinPolynominalSmoothing() {
  if (CopyOrgData() != 0) return -1;
  if (aveNum_ < 1) return -1;
  const long m = PolynominalHalfWidth();
  std::vector<double> c;
  try {
    c.resize(static_cast<std::size_t>(m) + 1);
  } catch (const std::exception&) {
    return -1;
  }
  double norm = 0.0;
  GetWinPolynominal(c.data(), &norm);
  const long n = static_cast<long>(points_);
  const float* x = source_;
  for (long i = 0; i < n; ++i) {
    double sum = 0.0, missing = 0.0;
    for (long k = -m; k <= m; ++k) {
      const long j = i + k;
      const double w = c[static_cast<std::size_t>(k < 0 ? -k : k)];
      if (j < 0 || j >= n)
        missing += w;
      else
        sum += x[j] * w;
    }
    result_[static_cast<std::size_t>(i)] = static_cast<float>(sum / (norm - missing));
  }
  return 0;
}

int FynSmoothing::GetRData(float* out) const {
  if (out == nullptr || result_.size() != points_) return -1;
  std::copy(result_.begin(), result_.end(), out);
  return 0;
}
