#include "common/dsp/fyn_filter_iir.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <numbers>

namespace {

enum Process { kLowPass = 0, kHighPass = 1, kBandPass = 2, kBandStop = 3 };

double LimitedCut(double cutHz, double sampFreqHz) { return std::min(cutHz, sampFreqHz / 2.0); }

// One sample through a second-order (low-/high-pass) or fourth-order
// (band-pass/-stop) section; s1 .. s4 are its past internal values, s1 the
// newest. The same arithmetic as CalcFilterProcess.
template <int Process, typename T>
[[gnu::always_inline]] inline T Section(T x, T g, T c1, T c2, T c3, T c4, T D, T F, T& s1, T& s2, T& s3, T& s4) {
  T w0, y;
  // The newest state enters last: the older terms are summed while the previous sample's
  // state is still being computed, so one sample waits for one multiply and one add.
  if constexpr (Process == kLowPass) {
    w0 = (x - c2 * s2) + c1 * s1;
    y = g * (w0 + 2.0 * s1 + s2);
  } else if constexpr (Process == kHighPass) {
    w0 = (x - c2 * s2) - c1 * s1;
    y = g * (w0 - 2.0 * s1 + s2);
  } else if constexpr (Process == kBandPass) {
    w0 = (((x - c4 * s4) + c3 * s3) - c2 * s2) + c1 * s1;
    y = g * (w0 - 2.0 * s2 + s4);
  } else {
    w0 = (((x - c4 * s4) + c3 * s3) + c2 * s2) + c1 * s1;
    y = g * (w0 - 4.0 * D * s1 + 2.0 * F * s2 - 4.0 * D * s3 + s4);
  }
  s4 = s3;
  s3 = s2;
  s2 = s1;
  s1 = w0;
  return y;
}

// The first-order prototype section after the frequency transform.
template <int Process, typename T>
[[gnu::always_inline]] inline T OddSection(T x, T g, T c1, T c2, T D, T& s1, T& s2) {
  T w0, y;
  if constexpr (Process == kLowPass) {
    w0 = x + c1 * s1;
    y = g * (w0 + s1);
  } else if constexpr (Process == kHighPass) {
    w0 = x - c1 * s1;
    y = g * (w0 - s1);
  } else if constexpr (Process == kBandPass) {
    w0 = (x - c2 * s2) + c1 * s1;
    y = g * (w0 - s2);
  } else {
    w0 = (x - c2 * s2) + c1 * s1;
    y = g * (w0 - 2.0 * D * s1 + s2);
  }
  s2 = s1;
  s1 = w0;
  return y;
}

// Two doubles side by side: each operation acts on both as on one double.
using Twin = double __attribute__((vector_size(16)));

}  // namespace

FynFilterIIR::FynFilterIIR(short prototype, short processType, double sampFreqHz, double passEdgeHz,
                           double stopEdgeHz, double passAttenDb, double stopAttenDb, double cut1Hz,
                           double cut2Hz)
    : prototype_(prototype), processType_(processType), sampFreqHz_(sampFreqHz), passEdgeHz_(passEdgeHz),
      stopEdgeHz_(stopEdgeHz), passAttenDb_(passAttenDb), stopAttenDb_(stopAttenDb),
      cut1Hz_(LimitedCut(cut1Hz, sampFreqHz)), cut2Hz_(LimitedCut(cut2Hz, sampFreqHz)) {}

FynFilterIIR::~FynFilterIIR() = default;

void FynFilterIIR::SetEdgeFreq(double passEdgeHz, double stopEdgeHz) {
  passEdgeHz_ = passEdgeHz;
  stopEdgeHz_ = stopEdgeHz;
}

void FynFilterIIR::SetAttenVal(double passAttenDb, double stopAttenDb) {
  passAttenDb_ = passAttenDb;
  stopAttenDb_ = stopAttenDb;
}

void FynFilterIIR::SetCutFreq(double cut1Hz, double cut2Hz) {
  cut1Hz_ = LimitedCut(cut1Hz, sampFreqHz_);
  cut2Hz_ = LimitedCut(cut2Hz, sampFreqHz_);
}

void FynFilterIIR::ClearCoefficients() {
  std::fill(std::begin(protoA_), std::end(protoA_), 0.0);
  std::fill(std::begin(protoB_), std::end(protoB_), 0.0);
  std::fill(std::begin(protoC_), std::end(protoC_), 0.0);
  std::fill(std::begin(gain_), std::end(gain_), 0.0);
  std::fill(std::begin(k1_), std::end(k1_), 0.0);
  std::fill(std::begin(k2_), std::end(k2_), 0.0);
  std::fill(std::begin(k3_), std::end(k3_), 0.0);
  std::fill(std::begin(k4_), std::end(k4_), 0.0);
  protoP_ = protoQ_ = 0.0;
  oddGain_ = oddK1_ = oddK2_ = 0.0;
  centreD_ = 0.0;
}

void FynFilterIIR::ClearStates() {
  std::fill(std::begin(w1_), std::end(w1_), 0.0);
  std::fill(std::begin(w2_), std::end(w2_), 0.0);
  std::fill(std::begin(w3_), std::end(w3_), 0.0);
  std::fill(std::begin(w4_), std::end(w4_), 0.0);
  oddW1_ = oddW2_ = 0.0;
}

int FynFilterIIR::CalcIIRFilterDesign() {
  designed_ = false;
  order_ = 0;
  ClearCoefficients();
  ClearStates();
  const double fs = sampFreqHz_;
  if (prototype_ < 0 || prototype_ > 1 || processType_ < kLowPass || processType_ > kBandStop) return 0;
  // The stop-band edge must lie below half the sampling rate for the
  // pre-warped edge (and so the order) to have a value.
  if (!(fs > 0.0) || !(passEdgeHz_ > 0.0) || !(stopEdgeHz_ < fs / 2.0)) return 0;

  const double pi = std::numbers::pi;
  const double tp = 2.0 * pi * passEdgeHz_ / fs;
  const double ts = 2.0 * pi * stopEdgeHz_ / fs;
  const double eps = std::sqrt(std::pow(10.0, 0.1 * passAttenDb_) - 1.0);
  const double lam = std::sqrt(std::pow(10.0, 0.1 * stopAttenDb_) - 1.0);
  const double wp = 2.0 * std::tan(tp / 2.0);
  const double ws = 2.0 * std::tan(ts / 2.0);
  auto acosh = [](double x) { return std::log(x + std::sqrt(x * x - 1.0)); };
  auto asinh = [](double x) { return std::log(x + std::sqrt(x * x + 1.0)); };

  const double orderValue = prototype_ == 0 ? std::log(lam / eps) / std::log(ws / wp) + 1.0
                                            : acosh(lam / eps) / acosh(ws / wp) + 1.0;
  // No value (NaN, infinite) or beyond the 19 + 1 sections: no design. An
  // order below 1 comes only from edges or attenuations in the wrong order.
  if (!(orderValue >= 1.0) || !(orderValue < kMaxOrder + 1.0)) return 0;
  const int n = static_cast<int>(orderValue);
  const int pairs = n / 2;

  if (prototype_ == 0) {
    const double d = wp * std::pow(eps, -1.0 / n);
    for (int i = 1; i <= pairs; ++i) {
      const double phi = (n + 2.0 * i - 1.0) * pi / (2.0 * n);
      const double g = std::cos(phi);
      const double h = d * d + 4.0 - 4.0 * d * g;
      protoA_[i - 1] = d * d / h;
      protoB_[i - 1] = (8.0 - 2.0 * d * d) / h;
      protoC_[i - 1] = (d * d + 4.0 * d * g + 4.0) / h;
    }
    if (n % 2 == 1) {
      protoP_ = d / (d + 2.0);
      protoQ_ = (2.0 - d) / (d + 2.0);
    }
  } else {
    const double gam = asinh(1.0 / eps) / n;
    for (int i = 1; i <= pairs; ++i) {
      const double phi = (n + 2.0 * i - 1.0) * pi / (2.0 * n);
      const double s = std::sinh(gam) * std::cos(phi);
      const double c = std::cosh(gam) * std::sin(phi);
      const double m = wp * (c * c + s * s);
      const double o = wp * m;
      const double r = o + 4.0 - 4.0 * wp * s;
      protoA_[i - 1] = o / r;
      protoB_[i - 1] = (8.0 - 2.0 * o) / r;
      protoC_[i - 1] = (wp * (m + 4.0 * s) + 4.0) / r;
    }
    if (n % 2 == 1) {
      const double h = wp * std::sinh(gam);
      protoP_ = h / (h + 2.0);
      protoQ_ = (2.0 - h) / (h + 2.0);
    }
  }

  const double w1 = 2.0 * pi * cut1Hz_ / fs;
  const double w2 = 2.0 * pi * cut2Hz_ / fs;
  const double P = protoP_, Q = protoQ_;
  if (processType_ == kLowPass || processType_ == kHighPass) {
    const double a = processType_ == kLowPass ? std::sin((tp - w1) / 2.0) / std::sin((tp + w1) / 2.0)
                                              : -std::cos((tp + w1) / 2.0) / std::cos((tp - w1) / 2.0);
    for (int i = 0; i < pairs; ++i) {
      const double A = protoA_[i], B = protoB_[i], C = protoC_[i];
      const double h = a * (a * C + B) + 1.0;
      gain_[i] = (1.0 - a) * (1.0 - a) * A / h;
      k1_[i] = (B + a * (a * B + 2.0 * (C + 1.0))) / h;
      k2_[i] = (C + a * (a + B)) / h;
    }
    if (n % 2 == 1) {
      oddGain_ = (1.0 - a) * P / (a * Q + 1.0);
      oddK1_ = (a + Q) / (a * Q + 1.0);
    }
  } else {
    const double lo = std::min(w1, w2), hi = std::max(w1, w2);
    const double D = std::cos((hi + lo) / 2.0) / std::cos((hi - lo) / 2.0);
    const double F = 2.0 * D * D + 1.0;
    centreD_ = D;
    if (processType_ == kBandPass) {
      const double k = std::tan(tp / 2.0) / std::tan((hi - lo) / 2.0);
      for (int i = 0; i < pairs; ++i) {
        const double A = protoA_[i], B = protoB_[i], C = protoC_[i];
        const double m = k * (C + B + 1.0), o = C - 1.0, r = C - B + 1.0;
        const double t = k * m - 2.0 * k * o + r;
        gain_[i] = 4.0 * A / t;
        k1_[i] = 4.0 * D * k * (m - o) / t;
        k2_[i] = (2.0 * k * k * F * (C + B + 1.0) - 2.0 * r) / t;
        k3_[i] = 4.0 * D * k * (m + o) / t;
        k4_[i] = (k * (m + 2.0 * o) + r) / t;
      }
      if (n % 2 == 1) {
        const double g = k * (Q + 1.0), l = g + 1.0 - Q;
        oddGain_ = 2.0 * P / l;
        oddK1_ = 2.0 * D * g / l;
        oddK2_ = (Q + g - 1.0) / l;
      }
    } else {
      const double k = std::tan(tp / 2.0) * std::tan((hi - lo) / 2.0);
      for (int i = 0; i < pairs; ++i) {
        const double A = protoA_[i], B = protoB_[i], C = protoC_[i];
        const double m = k * (C + B + 1.0), l = C + 1.0 - B;
        const double o = k * (m + 2.0 * (1.0 - C)) + l;
        gain_[i] = 4.0 * A / o;
        k1_[i] = 4.0 * D * (k * (1.0 - C) + l) / o;
        k2_[i] = 2.0 * (k * m - F * l) / o;
        k3_[i] = 4.0 * D * (k * (C - 1.0) + l) / o;
        k4_[i] = (k * m - 2.0 * k * (1.0 - C) + l) / o;
      }
      if (n % 2 == 1) {
        const double l = k * (Q + 1.0) + 1.0 - Q;
        oddGain_ = 2.0 * P / l;
        oddK1_ = 2.0 * D * (1.0 - Q) / l;
        oddK2_ = (1.0 - k - k * Q - Q) / l;
      }
    }
  }
  order_ = n;
  designed_ = true;
  return 1;
}

double FynFilterIIR::CalcFilterProcess(double x) {
  if (!designed_) return x;
  const int pairs = order_ / 2;
  const bool odd = order_ % 2 == 1;
  const double D = centreD_, F = 2.0 * D * D + 1.0;
  for (int i = 0; i < pairs; ++i) {
    double w0 = 0.0;
    switch (processType_) {
      case kLowPass:
        w0 = (x - k2_[i] * w2_[i]) + k1_[i] * w1_[i];
        x = gain_[i] * (w0 + 2.0 * w1_[i] + w2_[i]);
        break;
      case kHighPass:
        w0 = (x - k2_[i] * w2_[i]) - k1_[i] * w1_[i];
        x = gain_[i] * (w0 - 2.0 * w1_[i] + w2_[i]);
        break;
      case kBandPass:
        w0 = (((x - k4_[i] * w4_[i]) + k3_[i] * w3_[i]) - k2_[i] * w2_[i]) + k1_[i] * w1_[i];
        x = gain_[i] * (w0 - 2.0 * w2_[i] + w4_[i]);
        break;
      default:
        w0 = (((x - k4_[i] * w4_[i]) + k3_[i] * w3_[i]) + k2_[i] * w2_[i]) + k1_[i] * w1_[i];
        x = gain_[i] * (w0 - 4.0 * D * w1_[i] + 2.0 * F * w2_[i] - 4.0 * D * w3_[i] + w4_[i]);
        break;
    }
    w4_[i] = w3_[i];
    w3_[i] = w2_[i];
    w2_[i] = w1_[i];
    w1_[i] = w0;
  }
  if (odd) {
    double w0 = 0.0;
    switch (processType_) {
      case kLowPass:
        w0 = x + oddK1_ * oddW1_;
        x = oddGain_ * (w0 + oddW1_);
        break;
      case kHighPass:
        w0 = x - oddK1_ * oddW1_;
        x = oddGain_ * (w0 - oddW1_);
        break;
      case kBandPass:
        w0 = (x - oddK2_ * oddW2_) + oddK1_ * oddW1_;
        x = oddGain_ * (w0 - oddW2_);
        break;
      default:
        w0 = (x - oddK2_ * oddW2_) + oddK1_ * oddW1_;
        x = oddGain_ * (w0 - 2.0 * D * oddW1_ + oddW2_);
        break;
    }
    oddW2_ = oddW1_;
    oddW1_ = w0;
  }
  return x;
}

int FynFilterIIR::CalcFilter(unsigned long count, float* data) {
  if (!designed_ || data == nullptr) return 0;
  switch (processType_) {
    case kLowPass: Dispatch<kLowPass>(count, data); break;
    case kHighPass: Dispatch<kHighPass>(count, data); break;
    case kBandPass: Dispatch<kBandPass>(count, data); break;
    default: Dispatch<kBandStop>(count, data); break;
  }
  return 1;
}

template <int Process>
void FynFilterIIR::Dispatch(unsigned long count, float* data) {
  const bool odd = order_ % 2 == 1;
  switch (order_ / 2) {
    case 0: odd ? RunSamples<Process, 0, true>(count, data) : RunSamples<Process, 0, false>(count, data); break;
    case 1: odd ? RunSamples<Process, 1, true>(count, data) : RunSamples<Process, 1, false>(count, data); break;
    case 2: odd ? RunSamples<Process, 2, true>(count, data) : RunSamples<Process, 2, false>(count, data); break;
    case 3: odd ? RunSamples<Process, 3, true>(count, data) : RunSamples<Process, 3, false>(count, data); break;
    default: RunBlock<Process>(count, data); break;
  }
}

// Low orders: every sample through all sections with the states in
// registers. The recurrences of the sections are independent of each other,
// so the processor overlaps them and a sample costs about one section's
// recurrence.
template <int Process, int Pairs, bool Odd>
void FynFilterIIR::RunSamples(unsigned long count, float* data) {
  std::array<double, Pairs> g, c1, c2, c3, c4, s1, s2, s3, s4;
  for (int i = 0; i < Pairs; ++i) {
    g[i] = gain_[i];
    c1[i] = k1_[i];
    c2[i] = k2_[i];
    c3[i] = k3_[i];
    c4[i] = k4_[i];
    s1[i] = w1_[i];
    s2[i] = w2_[i];
    s3[i] = w3_[i];
    s4[i] = w4_[i];
  }
  const double D = centreD_, F = 2.0 * D * D + 1.0;
  const double og = oddGain_, o1 = oddK1_, o2 = oddK2_;
  double os1 = oddW1_, os2 = oddW2_;
  for (unsigned long j = 0; j < count; ++j) {
    double x = data[j];
    for (int i = 0; i < Pairs; ++i) x = Section<Process>(x, g[i], c1[i], c2[i], c3[i], c4[i], D, F, s1[i], s2[i], s3[i], s4[i]);
    if constexpr (Odd) x = OddSection<Process>(x, og, o1, o2, D, os1, os2);
    data[j] = static_cast<float>(x);
  }
  for (int i = 0; i < Pairs; ++i) {
    w1_[i] = s1[i];
    w2_[i] = s2[i];
    w3_[i] = s3[i];
    w4_[i] = s4[i];
  }
  oddW1_ = os1;
  oddW2_ = os2;
}

// Higher orders: the whole block through one section after another, in
// chunks, with the intermediate values kept in double.
template <int Process>
void FynFilterIIR::RunBlock(unsigned long count, float* data) {
  constexpr unsigned long kChunk = 2048;
  double buffer[kChunk];
  const int pairs = order_ / 2;
  const bool odd = order_ % 2 == 1;
  const double D = centreD_, F = 2.0 * D * D + 1.0;
  for (unsigned long start = 0; start < count; start += kChunk) {
    const unsigned long len = std::min(kChunk, count - start);
    for (unsigned long j = 0; j < len; ++j) buffer[j] = data[start + j];
    // Two sections a pass: their recurrences are independent, so the processor runs
    // them side by side.
    int i = 0;
    for (; i + 1 < pairs; i += 2) {
      const double g = gain_[i], c1 = k1_[i], c2 = k2_[i], c3 = k3_[i], c4 = k4_[i];
      const double h = gain_[i + 1], d1 = k1_[i + 1], d2 = k2_[i + 1], d3 = k3_[i + 1], d4 = k4_[i + 1];
      double s1 = w1_[i], s2 = w2_[i], s3 = w3_[i], s4 = w4_[i];
      double t1 = w1_[i + 1], t2 = w2_[i + 1], t3 = w3_[i + 1], t4 = w4_[i + 1];
      for (unsigned long j = 0; j < len; ++j) {
        const double a = Section<Process>(buffer[j], g, c1, c2, c3, c4, D, F, s1, s2, s3, s4);
        buffer[j] = Section<Process>(a, h, d1, d2, d3, d4, D, F, t1, t2, t3, t4);
      }
      w1_[i] = s1;
      w2_[i] = s2;
      w3_[i] = s3;
      w4_[i] = s4;
      w1_[i + 1] = t1;
      w2_[i + 1] = t2;
      w3_[i + 1] = t3;
      w4_[i + 1] = t4;
    }
    for (; i < pairs; ++i) {
      const double g = gain_[i], c1 = k1_[i], c2 = k2_[i], c3 = k3_[i], c4 = k4_[i];
      double s1 = w1_[i], s2 = w2_[i], s3 = w3_[i], s4 = w4_[i];
      for (unsigned long j = 0; j < len; ++j) buffer[j] = Section<Process>(buffer[j], g, c1, c2, c3, c4, D, F, s1, s2, s3, s4);
      w1_[i] = s1;
      w2_[i] = s2;
      w3_[i] = s3;
      w4_[i] = s4;
    }
    if (odd) {
      double s1 = oddW1_, s2 = oddW2_;
      for (unsigned long j = 0; j < len; ++j)
        buffer[j] = OddSection<Process>(buffer[j], oddGain_, oddK1_, oddK2_, D, s1, s2);
      oddW1_ = s1;
      oddW2_ = s2;
    }
    for (unsigned long j = 0; j < len; ++j) data[start + j] = static_cast<float>(buffer[j]);
  }
}

bool FynFilterIIR::CalcFilterPair(FynFilterIIR& a, float* dataA, FynFilterIIR& b, float* dataB,
                                  unsigned long count) {
  if (!a.designed_ || !b.designed_ || dataA == nullptr || dataB == nullptr) return false;
  if (a.order_ != b.order_ || a.processType_ != b.processType_ || a.centreD_ != b.centreD_) return false;
  switch (a.processType_) {
    case kLowPass: RunPair<kLowPass>(a, dataA, b, dataB, count); break;
    case kHighPass: RunPair<kHighPass>(a, dataA, b, dataB, count); break;
    case kBandPass: RunPair<kBandPass>(a, dataA, b, dataB, count); break;
    default: RunPair<kBandStop>(a, dataA, b, dataB, count); break;
  }
  return true;
}

// Both blocks through the sections as RunBlock does, the two filters in the two halves of
// each operation.
template <int Process>
void FynFilterIIR::RunPair(FynFilterIIR& a, float* dataA, FynFilterIIR& b, float* dataB, unsigned long count) {
  constexpr unsigned long kChunk = 1024;
  Twin buffer[kChunk];
  const int pairs = a.order_ / 2;
  const bool odd = a.order_ % 2 == 1;
  const double d = a.centreD_;
  const Twin D = {d, d};
  const Twin F = 2.0 * D * D + 1.0;
  const auto twin = [&](const double* x, const double* y, int i) { return Twin{x[i], y[i]}; };
  const auto store = [&](double* x, double* y, int i, Twin v) {
    x[i] = v[0];
    y[i] = v[1];
  };
  for (unsigned long start = 0; start < count; start += kChunk) {
    const unsigned long len = std::min(kChunk, count - start);
    for (unsigned long j = 0; j < len; ++j) buffer[j] = Twin{dataA[start + j], dataB[start + j]};
    int i = 0;
    for (; i + 1 < pairs; i += 2) {
      const Twin g = twin(a.gain_, b.gain_, i), c1 = twin(a.k1_, b.k1_, i), c2 = twin(a.k2_, b.k2_, i),
                 c3 = twin(a.k3_, b.k3_, i), c4 = twin(a.k4_, b.k4_, i);
      const Twin h = twin(a.gain_, b.gain_, i + 1), e1 = twin(a.k1_, b.k1_, i + 1), e2 = twin(a.k2_, b.k2_, i + 1),
                 e3 = twin(a.k3_, b.k3_, i + 1), e4 = twin(a.k4_, b.k4_, i + 1);
      Twin s1 = twin(a.w1_, b.w1_, i), s2 = twin(a.w2_, b.w2_, i), s3 = twin(a.w3_, b.w3_, i),
           s4 = twin(a.w4_, b.w4_, i);
      Twin t1 = twin(a.w1_, b.w1_, i + 1), t2 = twin(a.w2_, b.w2_, i + 1), t3 = twin(a.w3_, b.w3_, i + 1),
           t4 = twin(a.w4_, b.w4_, i + 1);
      for (unsigned long j = 0; j < len; ++j) {
        const Twin x = Section<Process>(buffer[j], g, c1, c2, c3, c4, D, F, s1, s2, s3, s4);
        buffer[j] = Section<Process>(x, h, e1, e2, e3, e4, D, F, t1, t2, t3, t4);
      }
      store(a.w1_, b.w1_, i, s1);
      store(a.w2_, b.w2_, i, s2);
      store(a.w3_, b.w3_, i, s3);
      store(a.w4_, b.w4_, i, s4);
      store(a.w1_, b.w1_, i + 1, t1);
      store(a.w2_, b.w2_, i + 1, t2);
      store(a.w3_, b.w3_, i + 1, t3);
      store(a.w4_, b.w4_, i + 1, t4);
    }
    for (; i < pairs; ++i) {
      const Twin g = twin(a.gain_, b.gain_, i), c1 = twin(a.k1_, b.k1_, i), c2 = twin(a.k2_, b.k2_, i),
                 c3 = twin(a.k3_, b.k3_, i), c4 = twin(a.k4_, b.k4_, i);
      Twin s1 = twin(a.w1_, b.w1_, i), s2 = twin(a.w2_, b.w2_, i), s3 = twin(a.w3_, b.w3_, i),
           s4 = twin(a.w4_, b.w4_, i);
      for (unsigned long j = 0; j < len; ++j) buffer[j] = Section<Process>(buffer[j], g, c1, c2, c3, c4, D, F, s1, s2, s3, s4);
      store(a.w1_, b.w1_, i, s1);
      store(a.w2_, b.w2_, i, s2);
      store(a.w3_, b.w3_, i, s3);
      store(a.w4_, b.w4_, i, s4);
    }
    if (odd) {
      const Twin g = {a.oddGain_, b.oddGain_}, c1 = {a.oddK1_, b.oddK1_}, c2 = {a.oddK2_, b.oddK2_};
      Twin s1 = {a.oddW1_, b.oddW1_}, s2 = {a.oddW2_, b.oddW2_};
      for (unsigned long j = 0; j < len; ++j) buffer[j] = OddSection<Process>(buffer[j], g, c1, c2, D, s1, s2);
      a.oddW1_ = s1[0];
      b.oddW1_ = s1[1];
      a.oddW2_ = s2[0];
      b.oddW2_ = s2[1];
    }
    for (unsigned long j = 0; j < len; ++j) {
      dataA[start + j] = static_cast<float>(buffer[j][0]);
      dataB[start + j] = static_cast<float>(buffer[j][1]);
    }
  }
}
