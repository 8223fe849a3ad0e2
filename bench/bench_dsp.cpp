// Spectrum and filter costs: our FFT + power spectrum beside FFTW's for the
// same job, and the IIR band-pass and 50 Hz notch over a 24-hour channel.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "common/dsp/fyn_fft.h"
#include "common/dsp/fyn_filter_fir.h"
#include "common/dsp/fyn_filter_iir.h"

#ifdef QLM_BENCH_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<float> Noise(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> d(0.0f, 20.0f);
  std::vector<float> x(n);
  for (float& v : x) v = d(rng);
  return x;
}

constexpr double kSampFreqHz = 500.0;

// Hanning-windowed, mean-removed power spectrum density of one block.
void BM_FynFftSpectrum(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FynFft fft(n, 2, 0, kSampFreqHz);
  if (fft.CreateWorkArea() != 0) {
    state.SkipWithError("CreateWorkArea failed");
    return;
  }
  const std::vector<float> x = Noise(static_cast<std::size_t>(n), 1);
  std::vector<float> p(static_cast<std::size_t>(n / 2 + 1));
  for (auto _ : state) {
    fft.SetRData(x.data());
    fft.CalcFft();
    fft.GetResultData(p.data());
    benchmark::DoNotOptimize(p.data());
  }
}
BENCHMARK(BM_FynFftSpectrum)->RangeMultiplier(2)->Range(256, 4096);

#ifdef QLM_BENCH_HAVE_FFTW
// The same spectrum with FFTW: mean removal and window, transform, one-sided
// density. Complex: the transform our class runs (N points, zero imaginary
// part). Real: FFTW's real-input transform, its fastest path for this job.
template <bool RealInput>
void BM_FftwSpectrum(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<float> x = Noise(static_cast<std::size_t>(n), 1);
  std::vector<float> w(static_cast<std::size_t>(n));
  FynFft::FillWindow(2, w.data(), n);
  std::vector<float> p(static_cast<std::size_t>(n / 2 + 1));
  float* in = fftwf_alloc_real(static_cast<std::size_t>(2 * n));
  fftwf_complex* out = fftwf_alloc_complex(static_cast<std::size_t>(n));
  fftwf_complex* cin = reinterpret_cast<fftwf_complex*>(in);
  fftwf_plan plan = RealInput ? fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE)
                              : fftwf_plan_dft_1d(n, cin, out, FFTW_FORWARD, FFTW_MEASURE);
  const auto scale0 = static_cast<float>(1.0 / (n * kSampFreqHz));
  for (auto _ : state) {
    // The same work around the transform as ours: a double mean over four
    // partial sums, the window, a float power loop.
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    for (int i = 0; i < n; i += 4) {
      s0 += x[static_cast<std::size_t>(i)];
      s1 += x[static_cast<std::size_t>(i + 1)];
      s2 += x[static_cast<std::size_t>(i + 2)];
      s3 += x[static_cast<std::size_t>(i + 3)];
    }
    const auto mean = static_cast<float>(((s0 + s1) + (s2 + s3)) / n);
    if (RealInput) {
      for (int i = 0; i < n; ++i) in[i] = (x[static_cast<std::size_t>(i)] - mean) * w[static_cast<std::size_t>(i)];
    } else {
      for (int i = 0; i < n; ++i) {
        cin[i][0] = (x[static_cast<std::size_t>(i)] - mean) * w[static_cast<std::size_t>(i)];
        cin[i][1] = 0.0f;
      }
    }
    fftwf_execute(plan);
    p[0] = (out[0][0] * out[0][0] + out[0][1] * out[0][1]) * scale0;
    for (int k = 1; k <= n / 2; ++k)
      p[static_cast<std::size_t>(k)] = (out[k][0] * out[k][0] + out[k][1] * out[k][1]) * (2.0f * scale0);
    benchmark::DoNotOptimize(p.data());
  }
  fftwf_destroy_plan(plan);
  fftwf_free(out);
  fftwf_free(in);
}
BENCHMARK_TEMPLATE(BM_FftwSpectrum, false)->RangeMultiplier(2)->Range(256, 4096);
BENCHMARK_TEMPLATE(BM_FftwSpectrum, true)->RangeMultiplier(2)->Range(256, 4096);
#endif

// A 24-hour channel at 500 Hz, filtered in place (the filter is designed
// anew for every pass, as the document does per block).
std::vector<float>& DayChannel() {
  static std::vector<float> channel = [] {
    std::vector<float> x = Noise(static_cast<std::size_t>(24 * 3600 * kSampFreqHz), 7);
    for (std::size_t i = 0; i < x.size(); ++i)
      x[i] += static_cast<float>(30.0 * std::sin(2.0 * std::numbers::pi * 50.0 * static_cast<double>(i) / kSampFreqHz));
    return x;
  }();
  return channel;
}

void RunIir(benchmark::State& state, FynFilterIIR design) {
  std::vector<float>& x = DayChannel();
  if (design.CalcIIRFilterDesign() != 1) {
    state.SkipWithError("design failed");
    return;
  }
  state.counters["order"] = design.GetOrder();
  for (auto _ : state) {
    FynFilterIIR f = design;
    f.CalcIIRFilterDesign();
    f.CalcFilter(x.size(), x.data());
    benchmark::DoNotOptimize(x.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * x.size()));
}

// Butterworth band-pass 0.5 .. 35 Hz of order 4 (E1 = 20 Hz, E2 = 60 Hz,
// Ap = 3 dB, As = 30 dB at 500 Hz): two fourth-order sections.
void BM_IirBandPass24h(benchmark::State& state) { RunIir(state, FynFilterIIR(0, 2, kSampFreqHz, 20, 60, 3, 30, 0.5, 35)); }
BENCHMARK(BM_IirBandPass24h)->Unit(benchmark::kMillisecond);

// Butterworth band-stop 48 .. 52 Hz of order 2 (E2 = 65 Hz, As = 20 dB):
// one fourth-order section.
void BM_IirNotch50Hz24h(benchmark::State& state) { RunIir(state, FynFilterIIR(0, 3, kSampFreqHz, 20, 65, 3, 20, 48, 52)); }
BENCHMARK(BM_IirNotch50Hz24h)->Unit(benchmark::kMillisecond);

// FIR band-pass 0.5 .. 35 Hz, 101 taps, over one page of the given seconds
// at 500 Hz, built per page as the document does.
void BM_FirPage(benchmark::State& state) {
  const auto n = static_cast<unsigned long>(state.range(0) * kSampFreqHz);
  const std::vector<float> x = Noise(n, 3);
  std::vector<float> y(n);
  for (auto _ : state) {
    FynFilterFIR fir(2, 0.5, 35.0, 50.0, 101, kSampFreqHz, 0);
    fir.SetRawDataNum(n);
    if (fir.CreateWorkArea() != 0 || fir.SetHData() != 1) {
      state.SkipWithError("FIR set-up failed");
      return;
    }
    fir.SetRData(x.data(), n);
    fir.CalcFIRFilter();
    fir.GetResultData(y.data());
    benchmark::DoNotOptimize(y.data());
  }
}
BENCHMARK(BM_FirPage)->Arg(30)->Arg(120)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
