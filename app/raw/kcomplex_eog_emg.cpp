// K-complex, eye-movement and EMG recognition of the raw page (the detectors the
// wave-form recognition driver calls after the band detectors).
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "app/document/epoch_parameter.h"
#include "app/raw/wave_recognition.h"
#include "common/dsp/fyn_smoothing.h"
#include "platform/draw/dc.h"

namespace {

constexpr float kLargestFloat = std::numeric_limits<float>::max();

// Moving smoothing of one epoch over `points` samples, as the document smooths.
void Smooth(const float* in, float* out, long long count, long points) {
  FynSmoothing s(0, points, static_cast<unsigned long>(count));
  s.SetOrgData(in);
  if (s.CalcSmoothing() != 0 || s.GetRData(out) != 0) std::copy(in, in + count, out);
}

double HeadMean(const float* x, long long S) {
  const long long n = std::min<long long>(150, S);
  double m = 0;
  for (long long i = 0; i < n; ++i) m += x[i];
  return n > 0 ? m / static_cast<double>(n) : 0.0;
}

}  // namespace

// ---- K-complex -----------------------------------------------------------------------------

void RawPageRecognition::RecognizeKComplex(const WaveRecognitionContext& ctx, int channel,
                                           const WaveChannelPage& page, const KComplexRecord& rec,
                                           draw::ColorRef colour) {
  const int n = ctx.EpochsPerPage();
  const long long S = static_cast<long long>(page.rate) * ctx.epochSeconds;
  const int cap = ctx.epochSeconds * 100;
  if (n <= 0 || S <= 0) return;
  const bool smooth = ctx.param->precision == 0;
  const long w = static_cast<long>(0.44299 / (3.0 / page.rate));
  if (smooth) work_.resize(std::size_t(S));
  const double P = rec.peakDetectLevel;
  const int firstEpoch = ctx.FirstEpoch();

  for (int e = 0; e < n; ++e) {
    if (firstEpoch + e >= ctx.recordingEpochs) break;
    if (static_cast<long long>(e + 1) * S > static_cast<long long>(page.samples.size())) break;
    const int offset = static_cast<int>(e * S);
    const float* x = page.samples.data() + offset;
    if (smooth) {
      Smooth(x, work_.data(), S, w);
      x = work_.data();
    }
    LyrKComplexStats stats{};
    const double m = HeadMean(x, S);
    long long i = 0;
    while (i < S && !(x[i] > m + P / 2)) ++i;
    int k = 1;
    while (i < S && k + 2 < cap) {
      // First peak.
      double top = std::numeric_limits<double>::lowest();
      long long topIdx = i;
      for (; i < S; ++i) {
        if (x[i] > top) {
          top = x[i];
          topIdx = i;
        } else if (x[i] <= top - P) {
          break;
        }
      }
      if (i >= S) break;
      // Base: the nearest sample before the peak at or below the peak less P.
      long long b = topIdx - 1;
      while (b >= 0 && !(x[b] <= top - P)) --b;
      if (b < 0) {
        ++i;
        continue;
      }
      // Trough, from where the peak ended, starting at the base's value.
      double low = x[b];
      long long lowIdx = b;
      for (; i < S; ++i) {
        if (x[i] < low) {
          low = x[i];
          lowIdx = i;
        } else if (x[i] >= low + P) {
          break;
        }
      }
      if (i >= S) break;
      // Second peak.
      double top2 = x[i];
      long long top2Idx = i;
      for (; i < S; ++i) {
        if (x[i] > top2) {
          top2 = x[i];
          top2Idx = i;
        } else if (x[i] <= top2 - P) {
          break;
        }
      }
      if (i >= S) break;
      WaveExtremum pts[4];
      const long long idx[4] = {b, topIdx, lowIdx, top2Idx};
      for (int q = 0; q < 4; ++q) {
        pts[q].index = static_cast<std::int32_t>(offset + idx[q]);
        pts[q].value = x[idx[q]];
        draw::Point pt;
        if (page.map && page.map(pts[q].index, &pt) == 0) {
          pts[q].x = pt.x;
          pts[q].y = pt.y;
        }
      }
      if (CheckKComplex(ctx, channel, page, rec, colour, pts, stats)) {
        if (rec.showPeak && page.enabled && page.map)
          for (const WaveExtremum& p : pts) DrawTick(ctx, colour, p.x, p.y);
        k += 2;
      }
      ++i;
    }
    if (ctx.currentPageRow) {
      if (LyrEpochRec* r = ctx.FrameRecord(e)) r->kComplex = stats;
      if (LyrEpochRec* r = ctx.DocumentRecord(e)) r->kComplex = stats;
    }
  }
}

int RawPageRecognition::CheckKComplex(const WaveRecognitionContext& ctx, int channel, const WaveChannelPage& page,
                                      const KComplexRecord& rec, draw::ColorRef colour, const WaveExtremum* e,
                                      LyrKComplexStats& stats) {
  (void)channel;
  const double ms = 1000.0 / page.rate;
  const WaveExtremum &B = e[0], &P1 = e[1], &T = e[2], &P2 = e[3];
  const double D = (P2.index - B.index) * ms;
  if (!(rec.durationMinMs <= D && D <= rec.durationMaxMs)) return 0;
  const double R = (P1.index - B.index) * ms;
  if (!(R <= rec.durationMinMs)) return 0;
  const double A = std::fabs(double(P1.value) - T.value);
  if (!(rec.amplitudeMin <= A && A <= rec.amplitudeMax)) return 0;
  if (!(P2.value < P1.value - 0.15 * A)) return 0;

  draw::Rect frame{B.x, B.y, P2.x, B.y};
  for (int q = 0; q < 4; ++q) {
    frame.top = std::min(frame.top, e[q].y);
    frame.bottom = std::max(frame.bottom, e[q].y);
  }
  if (frame.left > frame.right) std::swap(frame.left, frame.right);
  RecognizedWaveRecord r;
  r.type = kWaveTypeKComplex;
  r.left = frame.left;
  r.top = frame.top;
  r.right = frame.right;
  r.bottom = frame.bottom;
  r.startSample = static_cast<std::int32_t>(ctx.pageStartSecond * page.rate + B.index);
  r.durationMs = static_cast<float>(D);
  r.meanAmplitude = static_cast<float>(double(P1.value) - T.value);
  if (!table_.Add(r)) return 0;
  if (rec.show && page.enabled && page.map) DrawFrame(ctx, colour, frame);
  stats.count = static_cast<std::int16_t>(stats.count + 1);
  stats.lastDurationMs = r.durationMs;
  stats.lastAmplitude = r.meanAmplitude;
  return 1;
}

// ---- Eye movements -----------------------------------------------------------------------

int RawPageRecognition::EyeMovementBuffer::Movements(int e) const {
  if (e < 0 || std::size_t(e) + 1 >= epochFirst.size()) return 0;
  return (epochFirst[std::size_t(e) + 1] - epochFirst[std::size_t(e)]) / 2;
}

const RawPageRecognition::EyeMovementPoint* RawPageRecognition::EyeMovementBuffer::Movement(int e, int m) const {
  if (m < 0 || m >= Movements(e)) return nullptr;
  return &points[std::size_t(epochFirst[std::size_t(e)] + 2 * m)];
}

void RawPageRecognition::RecognizeEyeMovement(const WaveRecognitionContext& ctx, int type, int channel,
                                              const WaveChannelPage& page, const EogRecord& rec) {
  (void)channel;
  EyeMovementBuffer& buf = type == kWaveTypeEogRight ? eyeRight_ : eyeLeft_;
  buf = EyeMovementBuffer{};
  const int n = ctx.EpochsPerPage();
  const long long S = static_cast<long long>(page.rate) * ctx.epochSeconds;
  const int cap = ctx.epochSeconds * 100;
  if (n <= 0 || S <= 0) return;
  buf.made = true;
  buf.epochFirst.assign(std::size_t(n) + 1, 0);

  long long N = static_cast<long long>(page.rate * 0.02);
  if (N < 3) N = 3;
  if (N % 2) ++N;
  const EyeScreenGeometry& g = ctx.eyeGeometry;
  const double widthMm = g.screenWidthMm > 0 ? g.screenWidthMm : 360.0;
  const double G = (g.screenWidthPx * 300.0 / widthMm) * static_cast<double>(N) /
                   (static_cast<double>(page.rate) * ctx.pageSeconds + 1);
  const double H = 300.0 / ctx.pageSeconds * 0.1 * g.pixelsPerCmX;
  const double T1 = H * std::tan(std::numbers::pi * rec.detectAngle / 180.0) * G * 0.1;
  const double T2 = H * std::tan(0.7 * std::numbers::pi * rec.detectAngle / 180.0) * G * 0.1;

  const bool smooth = ctx.param->precision == 0;
  long sw = static_cast<long>(page.rate * 0.05);
  if (sw % 2 == 0) ++sw;
  if (smooth) work_.resize(std::size_t(S));
  const bool ticks = rec.showPeak && page.enabled && page.map;
  const draw::ColorRef tickColour = (ctx.OnScreen() || ctx.printInColor) ? rec.colour : 0;
  const int firstEpoch = ctx.FirstEpoch();

  int e = 0;
  for (; e < n; ++e) {
    buf.epochFirst[std::size_t(e)] = static_cast<std::int32_t>(buf.points.size());
    if (firstEpoch + e >= ctx.recordingEpochs) break;
    if (static_cast<long long>(e + 1) * S > static_cast<long long>(page.samples.size())) break;
    const int offset = static_cast<int>(e * S);
    const float* x = page.samples.data() + offset;
    if (smooth) {
      Smooth(x, work_.data(), S, sw);
      x = work_.data();
    }
    auto point = [&](long long i) {
      EyeMovementPoint p;
      p.index = static_cast<std::int32_t>(offset + i);
      p.value = x[i];
      draw::Point pt;
      if (page.map && page.map(p.index, &pt) == 0) {
        p.x = pt.x;
        p.y = pt.y;
      }
      return p;
    };
    int k = 0;
    bool inSlope = false;
    long long count = 0;
    EyeMovementPoint start;
    for (long long i = 0; i + 2 * N < S && k + 1 < cap; ++i) {
      const double p = (double(x[i + N]) - x[i]) * (double(x[i + 2 * N]) - x[i + N]);
      if (!inSlope) {
        count = p > T1 ? count + 1 : 0;
        if (count == N) {
          start = point(i);
          if (ticks) DrawTick(ctx, tickColour, start.x, start.y);
          inSlope = true;
          count = 0;
        }
      } else {
        count = p < T2 ? count + 1 : 0;
        if (count == N) {
          EyeMovementPoint end = point(i);
          const std::int16_t dir = start.value >= end.value ? -1 : 1;
          start.direction = end.direction = dir;
          if (ticks) DrawTick(ctx, tickColour, end.x, end.y);
          if (CheckEyeMovement(ctx, type, page, rec, start, end)) {
            buf.points.push_back(start);
            buf.points.push_back(end);
            k += 2;
          }
          inSlope = false;
          count = 0;
          i += 2 * N - 1;  // jump ahead by 2N, then the normal step
        }
      }
    }
  }
  for (; e <= n; ++e) buf.epochFirst[std::size_t(e)] = static_cast<std::int32_t>(buf.points.size());
}

int RawPageRecognition::CheckEyeMovement(const WaveRecognitionContext& ctx, int type, const WaveChannelPage& page,
                                         const EogRecord& rec, const EyeMovementPoint& start,
                                         const EyeMovementPoint& end) {
  const double d = (end.index - start.index) * 1000.0 / page.rate;
  if (!(rec.durationMinMs <= d && d <= rec.durationMaxMs)) return 0;
  const double amp = std::fabs(double(end.value) - start.value);
  if (!(amp >= rec.amplitudeMin)) return 0;
  if (!rec.show || !page.enabled) return 1;

  draw::Rect frame{std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x),
                   std::max(start.y, end.y)};
  if (page.map) {
    const draw::ColorRef colour = start.direction == 1 ? ctx.param->eogLeft.colour : ctx.param->eogRight.colour;
    DrawFrame(ctx, colour, frame);
  }
  RecognizedWaveRecord r;
  r.type = static_cast<std::int16_t>(type);
  r.left = frame.left;
  r.top = frame.top;
  r.right = frame.right;
  r.bottom = frame.bottom;
  r.startSample = static_cast<std::int32_t>(ctx.pageStartSecond * page.rate + start.index);
  r.durationMs = static_cast<float>(d);
  r.meanAmplitude = static_cast<float>(amp);
  table_.Add(r);  // a full table records nothing; the movement still counts
  return 1;
}

void RawPageRecognition::CountEyeMovements(const WaveRecognitionContext& ctx) {
  const int n = ctx.EpochsPerPage();
  const int firstEpoch = ctx.FirstEpoch();
  for (int e = 0; e < n; ++e) {
    if (firstEpoch + e >= ctx.recordingEpochs) break;
    const int R = eyeRight_.made ? eyeRight_.Movements(e) : 0;
    const int L = eyeLeft_.made ? eyeLeft_.Movements(e) : 0;
    int C = 0;
    if (!eyeRight_.made) {
      C = 0;
    } else if (!eyeLeft_.made) {
      C = R;
    } else {
      int prevEnd = 0;
      for (int r = 0; r < R; ++r) {
        const EyeMovementPoint* rm = eyeRight_.Movement(e, r);
        const int sr = rm[0].index, er = rm[1].index;
        for (int l = 0; l < L; ++l) {
          const EyeMovementPoint* lm = eyeLeft_.Movement(e, l);
          if (lm[0].direction == rm[0].direction) continue;
          const int sl = lm[0].index, el = lm[1].index;
          bool match;
          if (sl <= sr && sr <= el)
            match = r == 0 || sl > prevEnd;
          else
            match = (sl <= er && er <= el) || (sr <= sl && el <= er);
          if (match) {
            ++C;
            break;
          }
        }
        prevEnd = er;
      }
    }
    if (ctx.currentPageRow) {
      for (LyrEpochRec* rec : {ctx.FrameRecord(e), ctx.DocumentRecord(e)}) {
        if (!rec) continue;
        rec->remsRight = static_cast<std::int16_t>(R);
        rec->remsLeft = static_cast<std::int16_t>(L);
        rec->remsBoth = static_cast<std::int16_t>(C);
      }
    }
  }
  eyeRight_ = EyeMovementBuffer{};
  eyeLeft_ = EyeMovementBuffer{};
}

// ---- EMG level -----------------------------------------------------------------------------

void RawPageRecognition::CalcEMGEpochLevel(const WaveRecognitionContext& ctx, int channel,
                                           const WaveChannelPage& page) {
  (void)channel;
  if (!ctx.currentPageRow) return;
  const int n = ctx.EpochsPerPage();
  const long long S = static_cast<long long>(page.rate) * ctx.epochSeconds;
  if (n <= 0 || S <= 0) return;
  const int firstEpoch = ctx.FirstEpoch();
  for (int e = 0; e < n; ++e) {
    if (firstEpoch + e >= ctx.recordingEpochs) break;
    if (static_cast<long long>(e + 1) * S > static_cast<long long>(page.samples.size())) break;
    const float* x = page.samples.data() + e * S;
    double m = 0;
    for (long long i = 0; i < S; ++i) m += x[i];
    m /= static_cast<double>(S);
    double sum = 0;
    for (long long i = 0; i < S; ++i) sum += std::fabs(x[i] - m);
    double level = sum / static_cast<double>(S);
    if (!(level <= kLargestFloat)) level = kLargestFloat;
    for (LyrEpochRec* rec : {ctx.FrameRecord(e), ctx.DocumentRecord(e)})
      if (rec) rec->emg = static_cast<float>(level);
  }
}
