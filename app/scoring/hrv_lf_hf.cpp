#include "app/scoring/hrv_lf_hf.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "common/dsp/fyn_fft.h"

void LyrTrendFFTCalc::ResampleIntervals(std::span<const std::int32_t> positions, double samplingRate,
                                        std::vector<float>* resampled, double* meanMs) {
  resampled->clear();
  *meanMs = 0.0;
  const auto c = static_cast<int>(positions.size());
  if (c < 2 || !(samplingRate > 0.0)) return;
  const double msPerSample = 1000.0 / samplingRate;
  std::vector<double> times(static_cast<std::size_t>(c));
  std::vector<float> intervals(static_cast<std::size_t>(c), 0.0f);
  const double t0 = positions[0] * msPerSample;
  for (int i = 0; i < c; ++i) {
    const auto k = static_cast<std::size_t>(i);
    times[k] = positions[k] * msPerSample - t0;
    if (i > 0)
      intervals[k] = static_cast<float>((static_cast<double>(positions[k]) - positions[k - 1]) * msPerSample);
  }
  const double span = static_cast<double>(positions[static_cast<std::size_t>(c - 1)]) - positions[0];
  *meanMs = span / c * msPerSample;
  if (c <= 3 || !(*meanMs > 0.0)) return;
  resampled->resize(static_cast<std::size_t>(c));
  int cursor = 0;
  for (int i = 0; i < c; ++i) {
    const double v = InterpolateAt(intervals, times, i * *meanMs, &cursor);
    (*resampled)[static_cast<std::size_t>(i)] = v < 0.0 ? 0.0f : static_cast<float>(v);
  }
}

double LyrTrendFFTCalc::InterpolateAt(std::span<const float> intervals, std::span<const double> times,
                                      double target, int* cursor) {
  const auto c = static_cast<int>(std::min(intervals.size(), times.size()));
  if (c == 0) return 0.0;
  int u = std::clamp(*cursor, 0, c - 1);
  while (u < c - 1 && times[static_cast<std::size_t>(u)] < target) ++u;
  *cursor = u;
  if (u == 0 || c < 4) return intervals[0];
  const double t1 = times[static_cast<std::size_t>(u - 1)];
  const double t2 = times[static_cast<std::size_t>(u)];
  const double f = t2 > t1 ? (target - t1) / (t2 - t1) : 1.0;
  int from = u - 2;
  double t = f;
  if (u == 1) {
    from = 0;
    t = f - 1.0;
  } else if (u == c - 1) {
    from = c - 4;
    t = f + 1.0;
  }
  return LagrangeCubic(&intervals[static_cast<std::size_t>(from)], t);
}

double LyrTrendFFTCalc::LagrangeCubic(const float y[4], double t) {
  return y[0] * (-t * (t - 1) * (t - 2) / 6.0) + y[1] * ((t + 1) * (t - 1) * (t - 2) / 2.0) +
         y[2] * (-(t + 1) * t * (t - 2) / 2.0) + y[3] * ((t + 1) * t * (t - 1) / 6.0);
}

void LyrTrendFFTCalc::SumBands(std::span<const float> spectrum, double fs, int n, const std::array<double, 4>& bands,
                               double* lf, double* hf) {
  *lf = 0.0;
  *hf = 0.0;
  for (std::size_t k = 0; k < spectrum.size(); ++k) {
    // The small factor keeps a bin that lies on a band edge in the upper band.
    const double f = static_cast<double>(k) * fs / n * 1.000001;
    if (f >= bands[0] && f < bands[1])
      *lf += spectrum[k];
    else if (f >= bands[2] && f < bands[3])
      *hf += spectrum[k];
  }
}

bool LyrTrendFFTCalc::SpanSpectrum(std::span<const float> input, int segments, int n, int window, int unit,
                                   double fs, std::span<float> out) {
  const auto bins = static_cast<std::size_t>(n / 2 + 1);
  if (segments < 1 || n < 4 || out.size() < bins || input.size() < static_cast<std::size_t>(segments) * n)
    return false;
  FynFft fft(n, window, unit, fs);
  if (fft.CreateWorkArea() != 0) return false;
  std::fill(out.begin(), out.end(), 0.0f);
  std::vector<float> one(bins);
  for (int a = 0; a < segments; ++a) {
    fft.SetRData(input.data() + static_cast<std::size_t>(a) * static_cast<std::size_t>(n));
    fft.CalcFft();
    fft.GetResultData(one.data());
    for (std::size_t k = 0; k < bins; ++k) out[k] += one[k];
  }
  for (std::size_t k = 0; k < bins; ++k) out[k] /= static_cast<float>(segments);
  return true;
}

void LyrTrendFFTCalc::TrendFFTTransaction() {
  try {
    Run();
  } catch (const std::bad_alloc&) {
    if (src_.report) src_.report("LyrRawAreaView::TrendFFTTransaction");
  } catch (const std::length_error&) {
    if (src_.report) src_.report("LyrRawAreaView::TrendFFTTransaction");
  }
}

void LyrTrendFFTCalc::Run() {
  if (!src_.param) return;
  const SleepDstrbParam& prm = *src_.param;
  const int blockSeconds = prm.lfhfTimeS;
  const int n = src_.fftPoints;
  if (blockSeconds <= 0 || n < 4 || (n & (n - 1)) != 0) return;

  std::vector<float> resampled;
  double m = 0.0;
  ResampleIntervals(src_.peaks, src_.samplingRate, &resampled, &m);
  if (!(m > 0.0)) return;

  const std::int64_t seconds = static_cast<std::int64_t>(std::max(src_.epochCount, 0)) * std::max(src_.epochSeconds, 0);
  const std::size_t blocks =
      std::min({static_cast<std::size_t>(seconds / blockSeconds), src_.lf.size(), src_.hf.size()});
  if (resampled.empty()) {  // two or three peaks: nothing to analyse
    std::fill_n(src_.lf.begin(), blocks, 0.0);
    std::fill_n(src_.hf.begin(), blocks, 0.0);
    return;
  }

  const auto c = static_cast<std::int64_t>(resampled.size());
  const double perBlock = blockSeconds * 1000.0 / m;  // resampled points per block
  // More segments than the resampled points can fill would only add zeros.
  const std::int64_t segments =
      std::clamp<std::int64_t>(static_cast<std::int64_t>(perBlock / n), 1, c / n + 1);
  const auto width = static_cast<std::size_t>(segments * n);
  std::vector<float> input(width);
  std::vector<float> spectrum(static_cast<std::size_t>(n / 2 + 1));
  const double fs = 1000.0 / m;

  for (std::size_t b = 0; b < blocks; ++b) {
    std::fill(input.begin(), input.end(), 0.0f);
    const double blockEndMs = static_cast<double>(b + 1) * blockSeconds * 1000.0;
    const auto nextBlockFirst = static_cast<std::int64_t>(static_cast<double>(b + 1) * perBlock);
    auto s = static_cast<std::int64_t>(static_cast<double>(b) * perBlock);
    for (std::size_t j = 0; j < width && s < c; ++j) {
      if (static_cast<double>(s) * m <= blockEndMs) {
        if (s < nextBlockFirst) input[j] = resampled[static_cast<std::size_t>(s)];
        ++s;
      }
    }
    double lf = 0.0;
    double hf = 0.0;
    if (SpanSpectrum(input, static_cast<int>(segments), n, prm.lfhfWindow, prm.lfhfUnit, fs, spectrum))
      SumBands(spectrum, fs, n, prm.lfhfBands, &lf, &hf);
    src_.lf[b] = lf;
    src_.hf[b] = hf;
  }
}
