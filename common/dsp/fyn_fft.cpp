#include "common/dsp/fyn_fft.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <numbers>

// The hot loops are built twice on x86-64 with GCC, for the baseline and for
// AVX2/FMA processors (x86-64-v3); the loader picks the variant once.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define FYN_SIMD_VARIANTS [[gnu::target_clones("arch=x86-64-v3", "default")]]
// Straight-line vectorisation of the eight-point groups only adds shuffles.
#define FYN_NO_SLP_VECTORIZE [[gnu::optimize("no-tree-slp-vectorize")]]
#define FYN_VECTOR_COMBINE 1
#else
#define FYN_SIMD_VARIANTS
#define FYN_NO_SLP_VECTORIZE
#define FYN_VECTOR_COMBINE 0
#endif

namespace {

bool IsTransformLength(int n) { return n >= 4 && (n & (n - 1)) == 0; }

// Butterflies of all stages after the bit-reversal permutation:
// X[b] = X[a] - W X[b], X[a] += W X[b], W = cos - j sin (forward) or
// cos + j sin (inverse), the twiddles of the stage spanning 2h points at
// cosTab[h + j], sinTab[h + j].
template <bool Inverse>
[[gnu::always_inline]] inline void RunStages(float* __restrict re, float* __restrict im, int n,
                                             const float* __restrict cosTab, const float* __restrict sinTab,
                                             int firstSpan) {
  // Stage h = 1: W = 1.
  for (int a = 0; firstSpan <= 1 && a + 1 < n; a += 2) {
    const float br = re[a + 1], bi = im[a + 1];
    re[a + 1] = re[a] - br;
    im[a + 1] = im[a] - bi;
    re[a] += br;
    im[a] += bi;
  }
  // Stage h = 2: W = 1 and -j (forward) or +j (inverse).
  for (int a = 0; firstSpan <= 2 && a + 3 < n; a += 4) {
    float br = re[a + 2], bi = im[a + 2];
    re[a + 2] = re[a] - br;
    im[a + 2] = im[a] - bi;
    re[a] += br;
    im[a] += bi;
    br = re[a + 3];
    bi = im[a + 3];
    const float tr = Inverse ? -bi : bi;
    const float ti = Inverse ? br : -br;
    re[a + 3] = re[a + 1] - tr;
    im[a + 3] = im[a + 1] - ti;
    re[a + 1] += tr;
    im[a + 1] += ti;
  }
  for (int h = std::max(firstSpan, 4); h < n; h *= 2) {
    const float* __restrict c = cosTab + h;
    const float* __restrict s = sinTab + h;
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

// firstSpan: the half span of the first stage still to run (1 for all).
FYN_SIMD_VARIANTS void ForwardStages(float* re, float* im, int n, const float* c,
                                                                     const float* s, int firstSpan = 1) {
  RunStages<false>(re, im, n, c, s, firstSpan);
}

FYN_SIMD_VARIANTS void InverseStages(float* re, float* im, int n, const float* c,
                                                                     const float* s) {
  RunStages<true>(re, im, n, c, s, 1);
}

// Gathers z[i] = x[2 rev(i)] + j x[2 rev(i) + 1] for i = 0 .. m-1 (m >= 8)
// and runs the first three forward stages on each group of eight in
// registers; c and s are the stage tables (the third stage at entries 4 .. 7).
FYN_SIMD_VARIANTS FYN_NO_SLP_VECTORIZE void GatherFirstThreeStages(
    const float* __restrict x, const std::uint32_t* __restrict rev, float* __restrict zr, float* __restrict zi, int m,
    const float* __restrict c, const float* __restrict s) {
  for (int i = 0; i < m; i += 8) {
    float ar[8], ai[8];
    for (int t = 0; t < 8; ++t) {
      const std::uint32_t j = 2 * rev[i + t];
      ar[t] = x[j];
      ai[t] = x[j + 1];
    }
    // Stage h = 1 (W = 1).
    for (int t = 0; t < 8; t += 2) {
      const float br = ar[t + 1], bi = ai[t + 1];
      ar[t + 1] = ar[t] - br;
      ai[t + 1] = ai[t] - bi;
      ar[t] += br;
      ai[t] += bi;
    }
    // Stage h = 2 (W = 1, -j).
    for (int t = 0; t < 8; t += 4) {
      float br = ar[t + 2], bi = ai[t + 2];
      ar[t + 2] = ar[t] - br;
      ai[t + 2] = ai[t] - bi;
      ar[t] += br;
      ai[t] += bi;
      br = ar[t + 3];
      bi = ai[t + 3];
      ar[t + 3] = ar[t + 1] - bi;
      ai[t + 3] = ai[t + 1] + br;
      ar[t + 1] += bi;
      ai[t + 1] -= br;
    }
    // Stage h = 4 (W = cos - j sin from the table).
    for (int t = 0; t < 4; ++t) {
      const float br = ar[t + 4], bi = ai[t + 4];
      const float tr = c[4 + t] * br + s[4 + t] * bi;
      const float ti = c[4 + t] * bi - s[4 + t] * br;
      zr[i + t + 4] = ar[t] - tr;
      zi[i + t + 4] = ai[t] - ti;
      zr[i + t] = ar[t] + tr;
      zi[i + t] = ai[t] + ti;
    }
  }
}

#if FYN_VECTOR_COMBINE
// The same as GatherFirstThreeStages for m >= 32, four groups at a time.
// With q = m / 8, group g holds the inputs rev3(t) q + rev_q(g), t = 0 .. 7;
// taking the groups in the order r = rev_q(g) makes the inputs of each t
// four consecutive complex samples, and a 4 x 4 transpose turns the lanes
// back into groups.
FYN_SIMD_VARIANTS void GatherFirstThreeStagesByFour(const float* __restrict x, const std::uint32_t* __restrict rev,
                                                    float* __restrict zr, float* __restrict zi, int m,
                                                    const float* __restrict c, const float* __restrict s) {
  using V4 = float __attribute__((vector_size(16)));
  using I4 = int __attribute__((vector_size(16)));
  constexpr int kRev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  const int q = m / 8;
  auto load = [](const float* p) {
    V4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  auto store = [](float* p, V4 v) { std::memcpy(p, &v, sizeof v); };
  // Writes lanes l of a[0 .. 3] as four consecutive values at out[l] + offset.
  auto transposeStore = [&](const V4* a, float* const* out, int offset) {
    const V4 t0 = __builtin_shuffle(a[0], a[1], I4{0, 4, 1, 5});
    const V4 t1 = __builtin_shuffle(a[0], a[1], I4{2, 6, 3, 7});
    const V4 t2 = __builtin_shuffle(a[2], a[3], I4{0, 4, 1, 5});
    const V4 t3 = __builtin_shuffle(a[2], a[3], I4{2, 6, 3, 7});
    store(out[0] + offset, __builtin_shuffle(t0, t2, I4{0, 1, 4, 5}));
    store(out[1] + offset, __builtin_shuffle(t0, t2, I4{2, 3, 6, 7}));
    store(out[2] + offset, __builtin_shuffle(t1, t3, I4{0, 1, 4, 5}));
    store(out[3] + offset, __builtin_shuffle(t1, t3, I4{2, 3, 6, 7}));
  };
  for (int r = 0; r < q; r += 4) {
    V4 ar[8], ai[8];
    for (int t = 0; t < 8; ++t) {
      const float* p = x + 2 * (kRev3[t] * q + r);
      const V4 lo = load(p), hi = load(p + 4);
      ar[t] = __builtin_shuffle(lo, hi, I4{0, 2, 4, 6});
      ai[t] = __builtin_shuffle(lo, hi, I4{1, 3, 5, 7});
    }
    for (int t = 0; t < 8; t += 2) {
      const V4 br = ar[t + 1], bi = ai[t + 1];
      ar[t + 1] = ar[t] - br;
      ai[t + 1] = ai[t] - bi;
      ar[t] += br;
      ai[t] += bi;
    }
    for (int t = 0; t < 8; t += 4) {
      V4 br = ar[t + 2], bi = ai[t + 2];
      ar[t + 2] = ar[t] - br;
      ai[t + 2] = ai[t] - bi;
      ar[t] += br;
      ai[t] += bi;
      br = ar[t + 3];
      bi = ai[t + 3];
      ar[t + 3] = ar[t + 1] - bi;
      ai[t + 3] = ai[t + 1] + br;
      ar[t + 1] += bi;
      ai[t + 1] -= br;
    }
    V4 outR[8], outI[8];
    for (int t = 0; t < 4; ++t) {
      const V4 br = ar[t + 4], bi = ai[t + 4];
      const V4 tr = c[4 + t] * br + s[4 + t] * bi;
      const V4 ti = c[4 + t] * bi - s[4 + t] * br;
      outR[t + 4] = ar[t] - tr;
      outI[t + 4] = ai[t] - ti;
      outR[t] = ar[t] + tr;
      outI[t] = ai[t] + ti;
    }
    float* groupR[4];
    float* groupI[4];
    for (int l = 0; l < 4; ++l) {
      const std::uint32_t g = rev[8 * (r + l)];  // rev_q(r + l)
      groupR[l] = zr + 8 * g;
      groupI[l] = zi + 8 * g;
    }
    transposeStore(outR, groupR, 0);
    transposeStore(outR + 4, groupR, 4);
    transposeStore(outI, groupI, 0);
    transposeStore(outI + 4, groupI, 4);
  }
}
#endif

// Gathers z[i] = x[2 rev(i)] + j x[2 rev(i) + 1] for i = 0 .. m-1 (m >= 4)
// and runs the first two forward stages on each group of four in registers.
FYN_SIMD_VARIANTS void GatherFirstStages(const float* __restrict x,
                                                                         const std::uint32_t* __restrict rev,
                                                                         float* __restrict zr, float* __restrict zi,
                                                                         int m) {
  for (int i = 0; i < m; i += 4) {
    const std::uint32_t j0 = 2 * rev[i], j1 = 2 * rev[i + 1], j2 = 2 * rev[i + 2], j3 = 2 * rev[i + 3];
    // Stage h = 1.
    const float s0r = x[j0] + x[j1], s0i = x[j0 + 1] + x[j1 + 1];
    const float d0r = x[j0] - x[j1], d0i = x[j0 + 1] - x[j1 + 1];
    const float s2r = x[j2] + x[j3], s2i = x[j2 + 1] + x[j3 + 1];
    const float d2r = x[j2] - x[j3], d2i = x[j2 + 1] - x[j3 + 1];
    // Stage h = 2: W = 1 for the sums, -j for the differences.
    zr[i] = s0r + s2r;
    zi[i] = s0i + s2i;
    zr[i + 2] = s0r - s2r;
    zi[i + 2] = s0i - s2i;
    zr[i + 1] = d0r + d2i;
    zi[i + 1] = d0i - d2r;
    zr[i + 3] = d0r - d2i;
    zi[i + 3] = d0i + d2r;
  }
}

void Permute(float* re, float* im, const std::vector<std::uint32_t>& pairs) {
  for (std::size_t p = 0; p < pairs.size(); p += 2) {
    const std::uint32_t a = pairs[p], b = pairs[p + 1];
    std::swap(re[a], re[b]);
    std::swap(im[a], im[b]);
  }
}

// rev[i] = i with its log2(n) bits reversed.
std::vector<std::uint32_t> BitReversalIndex(int n) {
  std::vector<std::uint32_t> rev(static_cast<std::size_t>(n), 0);
  for (int i = 1, j = 0; i < n; ++i) {
    int bit = n >> 1;
    while (j & bit) {
      j ^= bit;
      bit >>= 1;
    }
    j |= bit;
    rev[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(j);
  }
  return rev;
}

std::vector<std::uint32_t> BitReversalPairs(int n) {
  // Standard radix-2 reordering, the reversed counter starting at n/2 for index 1.
  std::vector<std::uint32_t> pairs;
  int j = 0;
  for (int i = 1; i < n; ++i) {
    int bit = n >> 1;
    while (j & bit) {
      j ^= bit;
      bit >>= 1;
    }
    j |= bit;
    if (i < j) {
      pairs.push_back(static_cast<std::uint32_t>(i));
      pairs.push_back(static_cast<std::uint32_t>(j));
    }
  }
  return pairs;
}

// Mean of n >= 4 values (n a multiple of 4), summed in double over four
// independent partial sums.
FYN_SIMD_VARIANTS double Mean(const float* x, int n) {
  using V4f = float __attribute__((vector_size(16)));
  using V4d = double __attribute__((vector_size(32)));
  V4d sum0 = {0.0, 0.0, 0.0, 0.0}, sum1 = sum0;
  int i = 0;
  for (; i + 7 < n; i += 8) {
    V4f v0, v1;
    std::memcpy(&v0, x + i, sizeof v0);
    std::memcpy(&v1, x + i + 4, sizeof v1);
    sum0 += __builtin_convertvector(v0, V4d);
    sum1 += __builtin_convertvector(v1, V4d);
  }
  for (; i + 3 < n; i += 4) {
    V4f v;
    std::memcpy(&v, x + i, sizeof v);
    sum0 += __builtin_convertvector(v, V4d);
  }
  const V4d sum = sum0 + sum1;
  return ((sum[0] + sum[1]) + (sum[2] + sum[3])) / n;
}

// The pairs (k, m - k) of the real-input split, four k at a time, for
// k = 1 .. while k + 3 < m - k - 3; returns the first k left to the caller.
// Same arithmetic as the scalar loop of CalcRealFftSpec.
int CombineHalves(const float* zr, const float* zi, float* re, float* im, const float* c, const float* s, int n) {
#if !FYN_VECTOR_COMBINE
  (void)zr, (void)zi, (void)re, (void)im, (void)c, (void)s, (void)n;
  return 1;
#else
  using V4 = float __attribute__((vector_size(16)));
  using I4 = int __attribute__((vector_size(16)));
  const I4 reverse = {3, 2, 1, 0};
  auto load = [](const float* p) {
    V4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  auto store = [](float* p, V4 v) { std::memcpy(p, &v, sizeof v); };
  auto loadReversed = [&](const float* p) { return __builtin_shuffle(load(p), reverse); };
  auto storeReversed = [&](float* p, V4 v) { store(p, __builtin_shuffle(v, reverse)); };
  const int m = n / 2;
  int k = 1;
  for (; 2 * (k + 3) < m; k += 4) {
    const int l = m - k - 3;  // lanes hold l = m - k - t for t = 0 .. 3 after reversal
    const V4 akr = load(zr + k), aki = load(zi + k);
    const V4 alr = loadReversed(zr + l), ali = loadReversed(zi + l);
    const V4 ck = load(c + k), sk = load(s + k), cl = loadReversed(c + l), sl = loadReversed(s + l);
    const V4 er = 0.5f * (akr + alr), eki = 0.5f * (aki - ali);
    const V4 okr = 0.5f * (aki + ali), oki = -0.5f * (akr - alr);
    const V4 xkr = er + ck * okr + sk * oki;
    const V4 xki = eki + ck * oki - sk * okr;
    const V4 xlr = er + cl * okr - sl * oki;
    const V4 xli = -eki - cl * oki - sl * okr;
    store(re + k, xkr);
    store(im + k, xki);
    storeReversed(re + l, xlr);
    storeReversed(im + l, xli);
    storeReversed(re + n - k - 3, xkr);
    storeReversed(im + n - k - 3, -xki);
    store(re + m + k, xlr);
    store(im + m + k, -xli);
  }
  return k;
#endif
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
  bitRevPairs_ = BitReversalPairs(n);
  halfBitRev_ = BitReversalIndex(n / 2);
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
  Permute(re, im, bitRevPairs_);
  if (inverse != 0) {
    const float scale = 1.0f / static_cast<float>(pointNum_);
    for (int i = 0; i < pointNum_; ++i) {
      re[i] *= scale;
      im[i] *= scale;
    }
    InverseStages(re, im, pointNum_, stageCos_.data(), stageSin_.data());
  } else {
    ForwardStages(re, im, pointNum_, stageCos_.data(), stageSin_.data());
  }
}

void FynFftBase::CalcRealFftSpec(const float* window, float offset) {
  if (!HasWorkArea()) return;
  const int n = pointNum_;
  const int m = n / 2;
  const float* x = reWork_.data();
  // z[i] = x[2i] + j x[2i+1] (less the offset, times the window), gathered
  // in bit-reversed order into the imaginary area: real parts in its first
  // half, imaginary parts in its second.
  float* zr = imWork_.data();
  float* zi = imWork_.data() + m;
  const std::uint32_t* rev = halfBitRev_.data();
  if (window != nullptr) {
    float* w = reWork_.data();
    for (int i = 0; i < n; ++i) w[i] = (w[i] - offset) * window[i];
  }
  // The stage tables depend on the span only, so the first stages of the
  // N-point tables serve the N/2-point transform.
  if (m >= 8) {
#if FYN_VECTOR_COMBINE
    if (m >= 32)
      GatherFirstThreeStagesByFour(x, rev, zr, zi, m, stageCos_.data(), stageSin_.data());
    else
#endif
      GatherFirstThreeStages(x, rev, zr, zi, m, stageCos_.data(), stageSin_.data());
    ForwardStages(zr, zi, m, stageCos_.data(), stageSin_.data(), 8);
  } else if (m == 4) {
    GatherFirstStages(x, rev, zr, zi, m);
  } else {
    for (int i = 0; i < m; ++i) {
      const std::uint32_t j = 2 * rev[i];
      zr[i] = x[j];
      zi[i] = x[j + 1];
    }
    ForwardStages(zr, zi, m, stageCos_.data(), stageSin_.data());
  }

  // Split Z into the spectra E of the even and O of the odd samples and
  // combine them, X[k] = E[k] + W^k O[k] with W = exp(-j 2 pi / N), pairwise
  // for (k, m - k); the upper half is the conjugate mirror. Every entry of Z
  // is read before its place in the imaginary area is written.
  float* re = reWork_.data();
  float* im = imWork_.data();
  const float* c = stageCos_.data() + m;  // cos(2 pi k / N), k = 0 .. m - 1
  const float* s = stageSin_.data() + m;
  const int vectorEnd = CombineHalves(zr, zi, re, im, c, s, n);
  for (int k = vectorEnd; k < m - k; ++k) {
    const int l = m - k;
    const float akr = zr[k], aki = zi[k], alr = zr[l], ali = zi[l];
    // E = (Z[k] + conj Z[l]) / 2, O = (Z[k] - conj Z[l]) / (2j); for bin l
    // E = (er, -eki) and O = (okr, -oki).
    const float er = 0.5f * (akr + alr), eki = 0.5f * (aki - ali);
    const float okr = 0.5f * (aki + ali), oki = -0.5f * (akr - alr);
    const float xkr = er + c[k] * okr + s[k] * oki;
    const float xki = eki + c[k] * oki - s[k] * okr;
    const float xlr = er + c[l] * okr - s[l] * oki;
    const float xli = -eki - c[l] * oki - s[l] * okr;
    re[k] = xkr;
    im[k] = xki;
    re[l] = xlr;
    im[l] = xli;
    re[n - k] = xkr;
    im[n - k] = -xki;
    re[n - l] = xlr;
    im[n - l] = -xli;
  }
  if (m >= 2) {
    // k = m/2: W^k = -j and Z[m - k] = Z[k], so X = conj Z.
    const int q = m / 2;
    const float qr = zr[q], qi = zi[q];
    re[q] = qr;
    im[q] = -qi;
    re[n - q] = qr;
    im[n - q] = qi;
  }
  const float z0r = zr[0], z0i = zi[0];
  re[0] = z0r + z0i;
  im[0] = 0.0f;
  re[m] = z0r - z0i;
  im[m] = 0.0f;
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
  const auto mean = static_cast<float>(Mean(reWork_.data(), pointNum_));
  for (float& v : reWork_) v -= mean;
}

void FynFft::CalcFft() {
  if (!HasWorkArea() || result_.size() != static_cast<std::size_t>(pointNum_ / 2 + 1) ||
      window_.size() != static_cast<std::size_t>(pointNum_))
    return;
  // The samples are real (zero imaginary part): the half-length transform
  // gives the same spectrum in the work areas at half the cost. With a
  // window, the mean removal and the window are applied as the samples are
  // gathered for it.
  if (windowType_ != 0)
    CalcRealFftSpec(window_.data(), static_cast<float>(Mean(reWork_.data(), pointNum_)));
  else
    CalcRealFftSpec(nullptr, 0.0f);
  const int half = pointNum_ / 2;
  const float scale0 = static_cast<float>(1.0 / (static_cast<double>(pointNum_) * sampFreqHz_));
  const float scale = 2.0f * scale0;
  const float* re = reWork_.data();
  const float* im = imWork_.data();
  float* out = result_.data();
  out[0] = (re[0] * re[0] + im[0] * im[0]) * scale0;
  for (int k = 1; k <= half; ++k) out[k] = (re[k] * re[k] + im[k] * im[k]) * scale;
  if (unit_ == 1)
    for (int k = 0; k <= half; ++k) out[k] = std::sqrt(out[k]);
}

void FynFft::InitResultWorkArea() { std::fill(result_.begin(), result_.end(), 0.0f); }

int FynFft::GetResultData(float* out) const {
  if (out == nullptr || result_.empty()) return -1;
  std::copy(result_.begin(), result_.end(), out);
  return 0;
}

void FynFft::ConvertTodB(float* values, int count) const { FyndB::ConvTodB(values, count); }
