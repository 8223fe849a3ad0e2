#include "common/dsp/fyn_fft.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <numbers>

namespace {

bool IsTransformLength(int n) { return n >= 4 && (n & (n - 1)) == 0; }

// Forward butterflies of one stage, X[b] = X[a] - W X[b], X[a] += W X[b],
// W = cos - j sin; the inverse uses cos + j sin.
template <bool Inverse>
void RunStages(float* __restrict re, float* __restrict im, int n, const float* __restrict cosTab,
               const float* __restrict sinTab) {
  // Stage h = 1: W = 1.
  for (int a = 0; a < n; a += 2) {
    const float br = re[a + 1], bi = im[a + 1];
    re[a + 1] = re[a] - br;
    im[a + 1] = im[a] - bi;
    re[a] += br;
    im[a] += bi;
  }
  // Stage h = 2: W = 1 and -j (forward) or +j (inverse).
  for (int a = 0; a < n; a += 4) {
    float br = re[a + 2], bi = im[a + 2];
    re[a + 2] = re[a] - br;
    im[a + 2] = im[a] - bi;
    re[a] += br;
    im[a] += bi;
    // t = W * X[a + 3]; forward W = -j: t = (bi, -br); inverse W = j: t = (-bi, br).
    br = re[a + 3];
    bi = im[a + 3];
    const float tr = Inverse ? -bi : bi;
    const float ti = Inverse ? br : -br;
    re[a + 3] = re[a + 1] - tr;
    im[a + 3] = im[a + 1] - ti;
    re[a + 1] += tr;
    im[a + 1] += ti;
  }
  for (int h = 4; h < n; h *= 2) {
    const float* c = cosTab + h;
    const float* s = sinTab + h;
    for (int start = 0; start < n; start += 2 * h) {
      float* __restrict ar = re + start;
      float* __restrict ai = im + start;
      float* __restrict bR = re + start + h;
      float* __restrict bI = im + start + h;
      for (int j = 0; j < h; ++j) {
        const float br = bR[j], bi = bI[j];
        float tr, ti;
        if constexpr (Inverse) {
          tr = c[j] * br - s[j] * bi;
          ti = c[j] * bi + s[j] * br;
        } else {
          tr = c[j] * br + s[j] * bi;
          ti = c[j] * bi - s[j] * br;
        }
        const float xr = ar[j], xi = ai[j];
        bR[j] = xr - tr;
        bI[j] = xi - ti;
        ar[j] = xr + tr;
        ai[j] = xi + ti;
      }
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// FynFftBase

FynFftBase::FynFftBase(int pointCount) : pointNum_(pointCount), powerNum_(CalcPowerNum(pointCount)) {}

FynFftBase::~FynFftBase() = default;

int FynFftBase::CalcPowerNum(int pointCount) {
  int count = 0;
  for (int half = pointCount / 2; half > 0; half /= 2) ++count;
  return count;
}

void FynFftBase::SetFftPoint(int pointCount) {
  pointNum_ = pointCount;
  powerNum_ = CalcPowerNum(pointCount);
}

bool FynFftBase::HasWorkArea() const {
  const auto n = static_cast<std::size_t>(pointNum_ > 0 ? pointNum_ : 0);
  return n >= 4 && reWork_.size() == n && imWork_.size() == n && stageCos_.size() == n;
}

short FynFftBase::CreateFftWorkArea() {
  if (pointNum_ == 0) return 0;
  sinTable_.clear();
  imWork_.clear();
  reWork_.clear();
  stageCos_.clear();
  stageSin_.clear();
  bitRevPairs_.clear();
  if (!IsTransformLength(pointNum_)) return -1;
  try {
    const auto n = static_cast<std::size_t>(pointNum_);
    reWork_.assign(n, 0.0f);
    imWork_.assign(n, 0.0f);
    sinTable_.assign(n / 4 + 1, 0.0f);
    for (std::size_t i = 0; i < n / 4; ++i)
      sinTable_[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * static_cast<double>(i) /
                                                 static_cast<double>(n)));
    sinTable_[n / 4] = 1.0f;
    BuildTransformTables();
  } catch (const std::exception&) {
    sinTable_.clear();
    imWork_.clear();
    reWork_.clear();
    stageCos_.clear();
    stageSin_.clear();
    bitRevPairs_.clear();
    return -1;
  }
  return 0;
}

void FynFftBase::BuildTransformTables() {
  const int n = pointNum_;
  const int quarter = n / 4;
  // sin and cos of 2 pi k / N for k = 0 .. N/2 - 1 from the quarter-wave table:
  // the sine mirrored about N/4, the cosine read backwards from N/4.
  auto sinAt = [&](int k) { return k <= quarter ? sinTable_[k] : sinTable_[n / 2 - k]; };
  auto cosAt = [&](int k) { return k <= quarter ? sinTable_[quarter - k] : -sinTable_[k - quarter]; };
  stageCos_.assign(static_cast<std::size_t>(n), 0.0f);
  stageSin_.assign(static_cast<std::size_t>(n), 0.0f);
  for (int h = 1; h < n; h *= 2) {
    const int step = n / (2 * h);
    for (int j = 0; j < h; ++j) {
      stageCos_[static_cast<std::size_t>(h + j)] = cosAt(j * step);
      stageSin_[static_cast<std::size_t>(h + j)] = sinAt(j * step);
    }
  }
  // Standard radix-2 reordering, the reversed counter starting at N/2 for index 1.
  int j = 0;
  for (int i = 1; i < n; ++i) {
    int bit = n >> 1;
    while (j & bit) {
      j ^= bit;
      bit >>= 1;
    }
    j |= bit;
    if (i < j) {
      bitRevPairs_.push_back(static_cast<std::uint32_t>(i));
      bitRevPairs_.push_back(static_cast<std::uint32_t>(j));
    }
  }
}

void FynFftBase::InitRWorkArea() { std::fill(reWork_.begin(), reWork_.end(), 0.0f); }

void FynFftBase::InitIWorkArea() { std::fill(imWork_.begin(), imWork_.end(), 0.0f); }

int FynFftBase::SetRData(const float* data) {
  if (data == nullptr || !HasWorkArea()) return -1;
  std::copy(data, data + pointNum_, reWork_.begin());
  return 0;
}

void FynFftBase::CalcFftSpec(short inverse) {
  if (!HasWorkArea()) return;
  float* re = reWork_.data();
  float* im = imWork_.data();
  for (std::size_t p = 0; p < bitRevPairs_.size(); p += 2) {
    const std::uint32_t a = bitRevPairs_[p], b = bitRevPairs_[p + 1];
    std::swap(re[a], re[b]);
    std::swap(im[a], im[b]);
  }
  if (inverse != 0) {
    const float scale = 1.0f / static_cast<float>(pointNum_);
    for (int i = 0; i < pointNum_; ++i) {
      re[i] *= scale;
      im[i] *= scale;
    }
    RunStages<true>(re, im, pointNum_, stageCos_.data(), stageSin_.data());
  } else {
    RunStages<false>(re, im, pointNum_, stageCos_.data(), stageSin_.data());
  }
}

// ---------------------------------------------------------------------------
// FyndB

void FyndB::ConvTodB(float* values, int count) {
  if (values == nullptr || count <= 0) return;
  float maxValue = values[0];
  for (int i = 1; i < count; ++i)
    if (values[i] > maxValue) maxValue = values[i];
  if (!(maxValue > 0.0f)) {
    std::fill(values, values + count, 0.0f);
    return;
  }
  const double floorRatio = std::numeric_limits<float>::min();
  for (int i = 0; i < count; ++i) {
    double ratio = static_cast<double>(values[i]) / maxValue;
    if (!(ratio >= floorRatio)) ratio = floorRatio;
    values[i] = static_cast<float>(10.0 * std::log(ratio));
  }
}

// ---------------------------------------------------------------------------
// FynFft

FynFft::FynFft(int pointCount, int windowType, int unit, double sampFreqHz)
    : FynFftBase(pointCount), windowType_(windowType), unit_(static_cast<short>(unit)),
      sampFreqHz_(sampFreqHz) {}

FynFft::~FynFft() = default;

short FynFft::CreateWorkArea() {
  result_.clear();
  window_.clear();
  if (!IsTransformLength(pointNum_)) {
    CreateFftWorkArea();  // drops work areas of an earlier length
    return -1;
  }
  if (CreateFftWorkArea() != 0) return -1;
  try {
    const auto n = static_cast<std::size_t>(pointNum_);
    result_.assign(n / 2 + 1, 0.0f);
    window_.assign(n, 1.0f);
  } catch (const std::exception&) {
    result_.clear();
    window_.clear();
    return -1;
  }
  CalcWindowFunc();
  return 0;
}

void FynFft::CalcWindowFunc() { FillWindow(windowType_, window_.data(), static_cast<int>(window_.size())); }

void FynFft::FillWindow(int windowType, float* w, int n) {
  if (w == nullptr || n <= 0) return;
  if (n == 1) {
    w[0] = 1.0f;
    return;
  }
  const double m = n - 1;
  const double twoPi = 2.0 * std::numbers::pi;
  const int c = n / 10;  // points of each side of the 10 % taper
  for (int i = 0; i < n; ++i) {
    double v = 1.0;
    switch (windowType) {
      case 1: v = 0.54 - 0.46 * std::cos(twoPi * i / m); break;
      case 2: v = 0.5 - 0.5 * std::cos(twoPi * i / m); break;
      case 3: v = 0.423 - 0.498 * std::cos(twoPi * i / m) + 0.0792 * std::cos(2.0 * twoPi * i / m); break;
      case 4:
        if (i < c)
          v = (1.0 - std::cos(std::numbers::pi * i / c)) / 2.0;
        else if (i >= n - c)
          v = (1.0 - std::cos(std::numbers::pi * (n - 1 - i) / c)) / 2.0;
        break;
      default: break;  // no window, or an unknown type: rectangular
    }
    w[i] = static_cast<float>(v);
  }
}

void FynFft::CalcBaseLine() {
  if (!HasWorkArea()) return;
  double sum = 0.0;
  for (float v : reWork_) sum += v;
  const auto mean = static_cast<float>(sum / pointNum_);
  for (float& v : reWork_) v -= mean;
}

void FynFft::CalcFft() {
  if (!HasWorkArea() || result_.size() != static_cast<std::size_t>(pointNum_ / 2 + 1) ||
      window_.size() != static_cast<std::size_t>(pointNum_))
    return;
  InitIWorkArea();
  if (windowType_ != 0) {
    CalcBaseLine();
    for (int i = 0; i < pointNum_; ++i) reWork_[static_cast<std::size_t>(i)] *= window_[static_cast<std::size_t>(i)];
  }
  CalcFftSpec(0);
  const int half = pointNum_ / 2;
  const double scale0 = 1.0 / (static_cast<double>(pointNum_) * sampFreqHz_);
  const double scale = 2.0 * scale0;
  const float* re = reWork_.data();
  const float* im = imWork_.data();
  float* out = result_.data();
  for (int k = 0; k <= half; ++k) {
    const double power = (static_cast<double>(re[k]) * re[k] + static_cast<double>(im[k]) * im[k]) *
                         (k == 0 ? scale0 : scale);
    out[k] = static_cast<float>(unit_ == 1 ? std::sqrt(power) : power);
  }
}

void FynFft::InitResultWorkArea() { std::fill(result_.begin(), result_.end(), 0.0f); }

int FynFft::GetResultData(float* out) const {
  if (out == nullptr || result_.empty()) return -1;
  std::copy(result_.begin(), result_.end(), out);
  return 0;
}

void FynFft::ConvertTodB(float* values, int count) const { FyndB::ConvTodB(values, count); }
