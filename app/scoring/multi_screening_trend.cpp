#include "app/scoring/multi_screening_trend.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/dsp/fyn_fft.h"

namespace mstrend {

int BlockCount(int rangeSeconds, int epochSeconds) {
  if (rangeSeconds <= 0 || epochSeconds <= 0) return 0;
  return rangeSeconds / kBlockSeconds + (rangeSeconds % kBlockSeconds >= epochSeconds ? 1 : 0);
}

int FirstHourBlockCount(int rangeSeconds, int epochSeconds) {
  if (rangeSeconds <= 0 || epochSeconds <= 0) return 0;
  const int l = std::min(rangeSeconds, 2 * kBlockSeconds);
  return l / kBlockSeconds + ((l % kBlockSeconds) / epochSeconds > 0 ? 1 : 0);
}

FreeTrend FreeTrendOf(std::span<const float> x, int rateHz) {
  FreeTrend t;
  if (x.empty()) return t;
  float lo = kFloatMax, hi = -kFloatMax;
  double sum = 0.0, sumAbs = 0.0, integral = 0.0;
  const double dt = rateHz > 0 ? 1000.0 / rateHz : 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const float v = x[i];
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    sum += v;
    sumAbs += std::fabs(v);
    if (i == 0) continue;
    const double p = x[i - 1];
    const double ap = std::fabs(p), av = std::fabs(v);
    if ((p >= 0 && v >= 0) || (p <= 0 && v <= 0)) {
      integral += (ap + av) * dt * 0.5;
    } else if (ap + av != 0.0) {
      integral += ap * (ap * dt / (ap + av)) * 0.5 + av * (av * dt / (ap + av)) * 0.5;
    }
  }
  const double n = static_cast<double>(x.size());
  t.minimum = lo;
  t.maximum = hi;
  t.mean = static_cast<float>(sum / n);
  t.integral = static_cast<float>(integral);
  const double meanAbs = sumAbs / n;
  if (meanAbs != 0.0) {
    double var = 0.0;
    for (float v : x) {
      const double d = std::fabs(v) - meanAbs;
      var += d * d;
    }
    t.cv = static_cast<float>(100.0 * std::sqrt(var / n) / meanAbs);
  }
  return t;
}

float AbsMaxOf(std::span<const float> x) {
  float m = 0.0f;
  for (float v : x) m = std::max(m, std::fabs(v));
  return m;
}

int CrossCount(std::span<const float> x, double level) {
  int count = 0;
  for (std::size_t i = 1; i < x.size(); ++i)
    if (x[i - 1] < level && level < x[i]) ++count;
  return count;
}

float EmgIntegral(std::span<const float> x) {
  if (x.empty()) return 0.0f;
  double mean = 0.0;
  for (float v : x) mean += v;
  mean /= static_cast<double>(x.size());
  double sum = 0.0;
  for (float v : x) sum += std::fabs(v - mean);
  const double value = sum / static_cast<double>(x.size());
  return value > kFloatMax ? kFloatMax : static_cast<float>(value);
}

int SpectrumWindowCode(int fftWindow) {
  switch (fftWindow) {
    case 1: return 2;  // Hanning
    case 2: return 1;  // Hamming
    case 3: return 4;  // cosine taper
    default: return 0;
  }
}

int SpectrumUnitCode(std::uint32_t fftUnit) { return fftUnit == 0 ? 0 : 1; }

BandPowerCalculator::BandPowerCalculator(const LyrMultiScreeningSetting& settings, int rateHz)
    : s_(settings), rateHz_(rateHz), points_(settings.FftPoints), average_(settings.FftAverage) {
  if (points_ < 4 || average_ < 1 || rateHz <= 0) return;
  try {
    fft_ = std::make_unique<FynFft>(points_, SpectrumWindowCode(settings.FftWindow),
                                    SpectrumUnitCode(settings.FftUnit), rateHz_);
    if (fft_->CreateWorkArea() != 0) return;
    work_.assign(static_cast<std::size_t>(points_) * static_cast<std::size_t>(average_), 0.0f);
    one_.assign(static_cast<std::size_t>(points_ / 2 + 1), 0.0f);
    spectrum_.assign(one_.size(), 0.0f);
    ready_ = true;
  } catch (const std::bad_alloc&) {
    ready_ = false;
  }
}

BandPowerCalculator::~BandPowerCalculator() = default;

void BandPowerCalculator::Compute(std::span<const float> epoch, float* powers, float* ratios) {
  std::fill(powers, powers + 6, 0.0f);
  std::fill(ratios, ratios + 6, 0.0f);
  if (!ready_) return;
  std::fill(work_.begin(), work_.end(), 0.0f);
  std::copy_n(epoch.begin(), std::min(epoch.size(), work_.size()), work_.begin());
  std::fill(spectrum_.begin(), spectrum_.end(), 0.0f);
  for (int a = 0; a < average_; ++a) {
    fft_->SetRData(work_.data() + static_cast<std::size_t>(a) * static_cast<std::size_t>(points_));
    fft_->CalcFft();
    fft_->GetResultData(one_.data());
    for (std::size_t i = 0; i < spectrum_.size(); ++i) spectrum_[i] += one_[i];
  }
  for (float& v : spectrum_) v /= static_cast<float>(average_);
  const double df = rateHz_ / points_;
  auto sumBins = [&](double from, double to) {
    double sum = 0.0;
    for (std::size_t i = 0; i < spectrum_.size(); ++i) {
      const double f = static_cast<double>(i) * df;
      if (from <= f && f < to) sum += spectrum_[i];
    }
    return sum;
  };
  const int bands = std::min<int>({s_.BandCount, static_cast<int>(s_.Bands.size()), 6});
  double total = 0.0;
  for (int k = 0; k < bands; ++k) {
    const MultiScreeningBand& b = s_.Bands[static_cast<std::size_t>(k)];
    powers[k] = static_cast<float>(sumBins(b.From, b.To));
    total += powers[k];
  }
  if (s_.FftRateMode != 0) total = sumBins(s_.EffectiveBandFrom, s_.EffectiveBandTo);
  for (int k = 0; k < bands; ++k)
    ratios[k] = std::fabs(total) <= 1e-6 ? 0.0f : static_cast<float>(powers[k] * 100.0 / total);
}

}  // namespace mstrend
