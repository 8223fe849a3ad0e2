#include "common/draw/fyn_draw_wave.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/draw/dc.h"

namespace {

constexpr int kRunSamples = 50;   // samples per run in the every-sample modes
constexpr int kPassColumns = 26;  // columns per pass of the automatic reduction
constexpr int kPassPoints = 51;   // points per pass of the manual reduction

// Truncates toward zero into the int range; NaN gives 0. Huge values (a zero sampling rate,
// a wild sample) stay far outside any device instead of wrapping into it.
// Written without branches so that the per-point loops vectorise.
constexpr double kTruncLimit = 1.0e9;
inline int TruncToInt(double v) {
  v = v == v ? v : 0.0;  // NaN
  v = v > kTruncLimit ? kTruncLimit : v;
  v = v < -kTruncLimit ? -kTruncLimit : v;
  return static_cast<int>(v);
}

// The device points of a run: x from xs, y = base - value x yScale truncated as TruncToInt
// does. Four samples a step where the processor has SSE2: the same conversions, products,
// NaN rule and limits, so the points are the scalar loop's bit for bit.
void RunPoints(const int* xs, const float* v, int count, int base, double yScale, draw::Point* out) {
  int i = 0;
#if defined(__SSE2__)
  const __m128d scale = _mm_set1_pd(yScale);
  const __m128d upper = _mm_set1_pd(kTruncLimit);
  const __m128d lower = _mm_set1_pd(-kTruncLimit);
  const __m128i bases = _mm_set1_epi32(base);
  const auto truncated = [&](__m128d d) {
    d = _mm_mul_pd(d, scale);
    d = _mm_and_pd(d, _mm_cmpord_pd(d, d));  // NaN to 0
    d = _mm_max_pd(_mm_min_pd(d, upper), lower);
    return _mm_cvttpd_epi32(d);
  };
  for (; i + 4 <= count; i += 4) {
    const __m128 f = _mm_loadu_ps(v + i);
    const __m128i low = truncated(_mm_cvtps_pd(f));
    const __m128i high = truncated(_mm_cvtps_pd(_mm_movehl_ps(f, f)));
    const __m128i ys = _mm_sub_epi32(bases, _mm_unpacklo_epi64(low, high));
    const __m128i x4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(xs + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi32(x4, ys));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 2), _mm_unpackhi_epi32(x4, ys));
  }
#endif
  for (; i < count; ++i) out[i] = {xs[i], base - TruncToInt(static_cast<double>(v[i]) * yScale)};
}

// Device x of every sample offset of a block, kept for the next painter of the same block
// geometry: a page builds one painter per channel, and channels of one rate share every x.
class ColumnMemo {
 public:
  // Blocks above this many samples (long pages) compute their x run by run instead.
  static constexpr std::uint32_t kMaxSamples = 1u << 20;

  // The x of each offset 0..n-1, or null when the block is too long or memory is short.
  const int* Columns(double left, double rate, double xScale, std::uint32_t n) {
    if (n > kMaxSamples) return nullptr;
    if (left != left_ || rate != rate_ || xScale != xScale_ || xs_.size() != n) {
      try {
        xs_.resize(n);
      } catch (const std::bad_alloc&) {
        xs_.clear();
        left_ = rate_ = xScale_ = std::nan("");
        return nullptr;
      }
      for (std::uint32_t s = 0; s < n; ++s) xs_[s] = TruncToInt(left + static_cast<double>(s) / rate * xScale);
      left_ = left;
      rate_ = rate;
      xScale_ = xScale;
    }
    return xs_.data();
  }

 private:
  std::vector<int> xs_;
  double left_ = std::nan("");
  double rate_ = std::nan("");
  double xScale_ = std::nan("");
};

// Drawing runs on the interface thread; one memo serves every painter there.
thread_local ColumnMemo sampleColumns;

bool IsNoValue(float v) { return std::bit_cast<std::uint32_t>(v) == kFynNoValueBits; }

}  // namespace

FynDrawWave::FynDrawWave(const _FynDrawWaveParam* param) {
  if (param != nullptr) p_ = *param;
  penWidth_ = 1;
  CountShown();
}

FynDrawWave::~FynDrawWave() = default;

short FynDrawWave::CountShown() {
  short n = 0;
  for (int c = 0; c < p_.chNum; ++c) {
    if (IsShown(c)) ++n;
  }
  shown_ = n;
  return n;
}

void FynDrawWave::SetReduceParam(short mode, short step) {
  p_.drawMode = mode;
  p_.reduceStep = step;
}

void FynDrawWave::SetDrawRect(const draw::Rect* rect) {
  if (rect != nullptr) p_.rect = *rect;
}

void FynDrawWave::SetStartEndPt(unsigned long a, unsigned long b, short kind) {
  p_.firstIndex = static_cast<std::uint32_t>(a);
  if (kind == 0) {
    p_.lastIndex = static_cast<std::uint32_t>(a + b - 1);
  } else if (kind == 1) {
    p_.lastIndex = static_cast<std::uint32_t>(b);
  }
  if (p_.lastIndex < p_.firstIndex) std::swap(p_.firstIndex, p_.lastIndex);
}

void FynDrawWave::SetSampFreq(double sampFreq) { p_.sampFreq = sampFreq; }

void FynDrawWave::SetChNum(short chNum) {
  p_.chNum = chNum;
  CountShown();
}

short FynDrawWave::GetBaselinePos(int channel, int* out) const {
  if (out != nullptr && p_.baseLines != nullptr && channel >= 0 && channel < p_.chNum) *out = p_.baseLines[channel];
  return 0;
}

draw::ColorRef FynDrawWave::ChannelColor(int c) const {
  return p_.colors != nullptr ? p_.colors[c] : draw::Rgb(0, 0, 0);
}

int FynDrawWave::YOf(int c, float value) const {
  return p_.baseLines[c] - TruncToInt(static_cast<double>(value) * p_.yScales[c]);
}

int FynDrawWave::XOfOffset(double s) const {
  return TruncToInt(p_.rect.left + s / p_.sampFreq * p_.xScale);
}

short FynDrawWave::GetDrawPt(int channel, unsigned long index, draw::Point* out) const {
  draw::Point pt{-1, -1};
  short status = 0;
  if (index < p_.firstIndex || index > p_.lastIndex || channel < -1 || channel >= p_.chNum) {
    status = -1;
  } else {
    const std::uint32_t offset = static_cast<std::uint32_t>(index) - p_.firstIndex;
    const int x = TruncToInt(offset / p_.sampFreq * p_.xScale);
    if (channel == -1) {
      pt = {x, -1};
    } else if (IsShown(channel)) {
      const float v = p_.data[static_cast<std::size_t>(channel) * SampleCount() + offset];
      pt = {x, YOf(channel, v)};
    }
  }
  if (out != nullptr) *out = pt;
  return status;
}

void FynDrawWave::AutoCalcBaseLine(int height) {
  const int n = CountShown();
  if (n == 0 || p_.baseLines == nullptr) return;
  if (height < 1) height = p_.rect.bottom - p_.rect.top;
  const int g = height / n;
  int k = 0;
  for (int c = 0; c < p_.chNum; ++c) {
    if (!IsShown(c)) {
      p_.baseLines[c] = -1;
      continue;
    }
    ++k;
    p_.baseLines[c] = TruncToInt(static_cast<double>(k) / n * height) - g / 2 + p_.rect.top;
  }
}

void FynDrawWave::DrawRun(const draw::Point* points, int count, draw::ColorRef color) {
  const draw::Pen old = p_.dc->SelectPen(draw::Pen{draw::PS_SOLID, penWidth_, color});
  p_.dc->Polyline(points, count);
  p_.dc->SelectPen(old);
}

void FynDrawWave::Record(int c, int x, std::uint32_t index, float value) {
  const int width = Columns();
  const int k = x - p_.rect.left;
  if (k < 0 || k >= width) return;
  if (p_.columnIndex != nullptr) p_.columnIndex[k] = index;
  if (p_.columnValue != nullptr) p_.columnValue[static_cast<std::size_t>(c) * width + k] = value;
}

void FynDrawWave::PrepareColumns() {
  const int width = Columns();
  if (width <= 0) return;
  if (p_.columnIndex != nullptr) {
    std::fill(p_.columnIndex, p_.columnIndex + width, 0u);
    p_.columnIndex[0] = p_.firstIndex;
  }
  if (p_.columnValue != nullptr) {
    const float none = std::bit_cast<float>(kFynNoValueBits);
    std::fill(p_.columnValue, p_.columnValue + static_cast<std::size_t>(width) * std::max<int>(p_.chNum, 0), none);
  }
}

void FynDrawWave::CompleteColumns(bool rightToLeft) {
  const int width = Columns();
  if (width <= 0) return;
  if (p_.columnIndex != nullptr) {
    if (rightToLeft) {
      for (int k = width - 2; k >= 0; --k) p_.columnIndex[k] = std::max(p_.columnIndex[k], p_.columnIndex[k + 1]);
    } else {
      for (int k = 1; k < width; ++k) p_.columnIndex[k] = std::max(p_.columnIndex[k], p_.columnIndex[k - 1]);
    }
  }
  if (p_.columnValue != nullptr) {
    for (int c = 0; c < p_.chNum; ++c) {
      if (!IsShown(c)) continue;
      float* row = p_.columnValue + static_cast<std::size_t>(c) * width;
      for (int k = 1; k < width; ++k) {
        if (IsNoValue(row[k]) && !IsNoValue(row[k - 1])) row[k] = row[k - 1];
      }
    }
  }
}

void FynDrawWave::DrawWave() {
  if (p_.dc == nullptr) return;
  const std::uint32_t n = SampleCount();
  const bool wantsMinMax = p_.drawMode == 1 && Columns() < static_cast<long long>(n);
  if (CountShown() == 0) {
    if (wantsMinMax) PrepareColumns();
    return;
  }
  if (p_.data == nullptr || p_.baseLines == nullptr || p_.yScales == nullptr) return;
  p_.dc->IntersectClipRect(p_.rect);
  PrepareColumns();
  const int step = p_.reduceStep;
  switch (p_.drawMode) {
    case 1:
      if (wantsMinMax) {
        DrawMinMax();
      } else {
        DrawEvery();
      }
      break;
    case 2:
    case 3:
      if (step <= 1 || static_cast<std::uint32_t>(step) > n / 2) {
        DrawEvery();
      } else {
        DrawManual(p_.drawMode == 3, step);
      }
      break;
    case 4:
      DrawRightToLeft();
      break;
    default:
      DrawEvery();
      break;
  }
  CompleteColumns(p_.drawMode == 4);
  p_.dc->SelectClipRgn(nullptr);
}

void FynDrawWave::DrawEvery() {
  const std::uint32_t n = SampleCount();
  const bool recording = p_.columnIndex != nullptr || p_.columnValue != nullptr;
  // The same arithmetic as XOfOffset and YOf, in plain loops over a run's points.
  const double left = p_.rect.left;
  const double rate = p_.sampFreq;
  const double xScale = p_.xScale;
  const int* blockXs = sampleColumns.Columns(left, rate, xScale, n);
  std::array<int, kRunSamples + 1> runXs{};
  std::array<draw::Point, kRunSamples + 1> pts{};
  for (std::uint32_t start = 0; start < n; start += kRunSamples) {
    const std::uint32_t count = std::min<std::uint32_t>(kRunSamples, n - start);
    const int points = static_cast<int>(count) + (start + count < n ? 1 : 0);
    const int* xs = blockXs != nullptr ? blockXs + start : runXs.data();
    if (blockXs == nullptr) {
      for (int i = 0; i < points; ++i) runXs[i] = TruncToInt(left + static_cast<double>(start + i) / rate * xScale);
    }
    for (int c = 0; c < p_.chNum; ++c) {
      if (!IsShown(c)) continue;
      const float* v = p_.data + static_cast<std::size_t>(c) * n + start;
      RunPoints(xs, v, points, p_.baseLines[c], p_.yScales[c], pts.data());
      if (recording) {
        for (int i = 0; i < points; ++i) Record(c, xs[i], p_.firstIndex + start + i, v[i]);
      }
      if (points >= 2) DrawRun(pts.data(), points, ChannelColor(c));
    }
  }
}

void FynDrawWave::DrawRightToLeft() {
  const std::uint32_t n = SampleCount();
  std::array<int, kRunSamples + 1> xs{};
  std::array<draw::Point, kRunSamples + 1> pts{};
  for (std::uint32_t start = 0; start < n; start += kRunSamples) {
    const std::uint32_t count = std::min<std::uint32_t>(kRunSamples, n - start);
    const int points = static_cast<int>(count) + (start + count < n ? 1 : 0);
    for (int i = 0; i < points; ++i) {
      xs[i] = TruncToInt(p_.rect.right - static_cast<double>(start + i) / p_.sampFreq * p_.xScale);
    }
    for (int c = 0; c < p_.chNum; ++c) {
      if (!IsShown(c)) continue;
      const float* v = p_.data + static_cast<std::size_t>(c) * n;
      for (int i = 0; i < points; ++i) {
        const std::uint32_t s = start + i;
        const float value = v[n - 1 - s];
        pts[i] = {xs[i], YOf(c, value)};
        // Distance from the newest sample: the index rows then grow toward the left.
        Record(c, xs[i], p_.firstIndex + s, value);
      }
      if (points >= 2) DrawRun(pts.data(), points, ChannelColor(c));
    }
  }
}

void FynDrawWave::DrawMinMax() {
  const std::uint32_t n = SampleCount();
  std::vector<std::uint32_t> resume;
  try {
    resume.assign(static_cast<std::size_t>(p_.chNum), 0u);
  } catch (const std::bad_alloc&) {
    DrawEvery();
    return;
  }
  std::vector<bool> done(static_cast<std::size_t>(p_.chNum), false);
  const int* blockXs = sampleColumns.Columns(p_.rect.left, p_.sampFreq, p_.xScale, n);
  const auto xOf = [&](std::uint32_t s) { return blockXs != nullptr ? blockXs[s] : XOfOffset(s); };
  std::array<draw::Point, 2 * kPassColumns> pts{};
  bool remaining = true;
  while (remaining) {
    remaining = false;
    for (int c = 0; c < p_.chNum; ++c) {
      if (!IsShown(c) || done[c]) continue;
      const float* v = p_.data + static_cast<std::size_t>(c) * n;
      int count = 0;
      int closed = 0;
      std::uint32_t s = resume[c];
      int openX = xOf(s);
      float lo = v[s];
      float hi = v[s];
      auto close = [&](std::uint32_t closer) {
        pts[count++] = {openX, YOf(c, lo)};
        pts[count++] = {openX, YOf(c, hi)};
        Record(c, openX, p_.firstIndex + closer, hi);
        ++closed;
      };
      if (s + 1 >= n) {
        close(s);
        done[c] = true;
      }
      for (++s; s < n && !done[c]; ++s) {
        if (s == n - 1) {
          close(s);
          done[c] = true;
          break;
        }
        const int x = xOf(s);
        if (x == openX) {
          lo = std::min(lo, v[s]);
          hi = std::max(hi, v[s]);
          continue;
        }
        close(s);
        if (closed == kPassColumns - 1) resume[c] = s;
        if (closed == kPassColumns) break;
        openX = x;
        lo = hi = v[s];
      }
      if (count >= 2) DrawRun(pts.data(), count, ChannelColor(c));
      if (!done[c]) remaining = true;
    }
  }
}

void FynDrawWave::DrawManual(bool peak, int step) {
  const std::uint32_t n = SampleCount();
  const std::uint32_t r = static_cast<std::uint32_t>(step);
  std::vector<std::uint32_t> resume;
  try {
    resume.assign(static_cast<std::size_t>(p_.chNum), 0u);
  } catch (const std::bad_alloc&) {
    DrawEvery();
    return;
  }
  std::vector<bool> done(static_cast<std::size_t>(p_.chNum), false);
  std::array<draw::Point, kPassPoints + 1> pts{};
  bool remaining = true;
  while (remaining) {
    remaining = false;
    for (int c = 0; c < p_.chNum; ++c) {
      if (!IsShown(c) || done[c]) continue;
      const float* v = p_.data + static_cast<std::size_t>(c) * n;
      int count = 0;
      std::uint32_t s = resume[c];
      while (count < kPassPoints) {
        if (peak) {
          const std::uint32_t end = std::min<std::uint32_t>(s + r, n);  // one past the group
          std::uint32_t best = s;
          for (std::uint32_t i = s + 1; i < end; ++i) {
            if (std::fabs(v[i]) > std::fabs(v[best])) best = i;
          }
          const int x = XOfOffset(s);
          pts[count++] = {x, YOf(c, v[best])};
          Record(c, x, p_.firstIndex + s, v[best]);
          if (end == n) {
            const int lx = XOfOffset(n - 1);
            pts[count++] = {lx, YOf(c, v[n - 1])};
            Record(c, lx, p_.firstIndex + n - 1, v[n - 1]);
            done[c] = true;
            break;
          }
          s = end;
        } else {
          const int x = XOfOffset(s);
          pts[count++] = {x, YOf(c, v[s])};
          Record(c, x, p_.firstIndex + s, v[s]);
          if (s == n - 1) {
            done[c] = true;
            break;
          }
          s = (n - 1 - s < r) ? n - 1 : s + r;
        }
        if (count == kPassPoints - 2) resume[c] = s;
      }
      if (count >= 2) DrawRun(pts.data(), count, ChannelColor(c));
      if (!done[c]) remaining = true;
    }
  }
}
