#include "app/raw/wave_recognition.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "app/document/epoch_parameter.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "common/dsp/fyn_filter_fir.h"
#include "platform/draw/dc.h"

namespace {

constexpr float kLargestFloat = std::numeric_limits<float>::max();

// Names of the wave types in the driver's failure texts.
const char* const kTypeNames[] = {"",      "Delta", "Theta",     "Alpha", "Spindle", "Band1",
                                  "Band2", "Band3", "K-COMPLEX", "EOGR",  "EOGL"};

// The band record and the epoch record's band slot of a band type (1..7).
int BandIndexOfType(int type) {
  switch (type) {
    case kWaveTypeDelta: return WaveFormRecognitionParam::kDelta;
    case kWaveTypeTheta: return WaveFormRecognitionParam::kTheta;
    case kWaveTypeAlpha: return WaveFormRecognitionParam::kAlpha;
    case kWaveTypeSpindle: return WaveFormRecognitionParam::kSpindle;
    case kWaveTypeBand1: return WaveFormRecognitionParam::kBand1;
    case kWaveTypeBand2: return WaveFormRecognitionParam::kBand2;
    case kWaveTypeBand3: return WaveFormRecognitionParam::kBand3;
    default: return -1;
  }
}

int ChannelOfType(const WaveFormRecognitionParam& p, int type) {
  if (type >= kWaveTypeDelta && type <= kWaveTypeBand3) return p.bands[std::size_t(BandIndexOfType(type))].channel;
  if (type == kWaveTypeKComplex) return p.kComplex.channel;
  if (type == kWaveTypeEogRight) return p.eogRight.channel;
  if (type == kWaveTypeEogLeft) return p.eogLeft.channel;
  return -1;
}

}  // namespace

// ---- Recognised-wave table ------------------------------------------------------------------

void RecognizedWaveTable::Reset(std::size_t capacity) {
  records_.clear();
  capacity_ = capacity;
}

void RecognizedWaveTable::Free() {
  std::vector<RecognizedWaveRecord>().swap(records_);
  capacity_ = 0;
}

bool RecognizedWaveTable::Add(const RecognizedWaveRecord& record) {
  if (records_.size() >= capacity_) return false;
  try {
    tablemem::CheckInjectedFailure();
    records_.push_back(record);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

std::vector<RecognizedWaveRecord> RecognizedWaveTable::At(draw::Point p) const {
  std::vector<RecognizedWaveRecord> out;
  for (const auto& r : records_)
    if (r.type != 0 && p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom) out.push_back(r);
  return out;
}

// ---- Context ------------------------------------------------------------------------------

EyeScreenGeometry ScreenEyeGeometry() {
  EyeScreenGeometry g;
  const draw::ScreenMetrics m = draw::GetScreenMetrics();
  g.screenWidthPx = m.widthPx;
  g.screenWidthMm = ScreenWidthMm > 0 ? ScreenWidthMm : 360.0;
  g.pixelsPerCmX = m.widthPx / (g.screenWidthMm / 10.0);
  return g;
}

WaveRecognitionContext ContextFromProgramSettings() {
  WaveRecognitionContext ctx;
  ctx.epochSeconds = EpochSeconds;
  ctx.pageSeconds = PageSeconds;
  ctx.screening = ScreeningRunning == 1;
  ctx.drawWhileScreening = DrawWhileScreening != 0;
  ctx.printTarget = PrintTarget;
  ctx.printInColor = PrintInColor != 0;
  ctx.eyeGeometry = ScreenEyeGeometry();
  return ctx;
}

int WaveRecognitionContext::EpochsPerPage() const {
  if (epochSeconds <= 0) return 0;
  return static_cast<std::int16_t>(pageSeconds / epochSeconds);
}

int WaveRecognitionContext::FirstEpoch() const {
  return epochSeconds > 0 ? static_cast<int>(pageStartSecond / epochSeconds) : 0;
}

LyrEpochRec* WaveRecognitionContext::FrameRecord(int e) const {
  if (e < 0 || static_cast<std::size_t>(e) >= frameRecords.size()) return nullptr;
  return &frameRecords[std::size_t(e)];
}

LyrEpochRec* WaveRecognitionContext::DocumentRecord(int e) const {
  if (!screening || document == nullptr) return nullptr;
  return document->Record(FirstEpoch() + e);
}

bool BandPassEpoch(double lowHz, double highHz, int rate, std::span<const float> in, std::span<float> out) {
  constexpr int kTaps = 20;
  FynFilterFIR fir(2, lowHz, highHz, 22.0, kTaps, rate, 256);
  if (fir.CalcFIRFilterDesign() != 1) return false;
  float design[kTaps];
  fir.GetDesignData(design);
  float taps[kTaps];
  for (int k = 0; k < kTaps; ++k) taps[k] = design[std::abs(k - kTaps / 2)];
  const std::size_t n = std::min(in.size(), out.size());
  const std::size_t head = std::min<std::size_t>(kTaps - 1, n);
  for (std::size_t i = 0; i < head; ++i) {  // before the first full window
    float y = 0;
    for (std::size_t k = 0; k <= i; ++k) y += taps[k] * in[i - k];
    out[i] = y;
  }
  for (std::size_t i = head; i < n; ++i) {
    const float* w = in.data() + (i - (kTaps - 1));  // w[kTaps - 1 - k] = in[i - k]
    float y = 0;
    for (int k = 0; k < kTaps; ++k) y += taps[k] * w[kTaps - 1 - k];
    out[i] = y;
  }
  return true;
}

double ChordArea(int i0, double y0, int i1, double y1, double msPerSample, double r) {
  const double dt = (i1 - i0) * msPerSample;
  const double d0 = y0 - r, d1 = y1 - r;
  const double sum = std::fabs(d0) + std::fabs(d1);
  if (sum == 0.0) return 0.0;
  return 0.5 * (std::fabs(d1 * dt) / sum * std::fabs(d1)) + 0.5 * (std::fabs(d0 * dt) / sum * std::fabs(d0));
}

// ---- The view's recognition ------------------------------------------------------------------

RawPageRecognition::RawPageRecognition() = default;
RawPageRecognition::~RawPageRecognition() = default;

void RawPageRecognition::Report(const std::string& text) {
  if (reported_) return;
  reported_ = true;
  if (report_) report_(text);
}

void RawPageRecognition::DrawTick(const WaveRecognitionContext& ctx, draw::ColorRef colour, int x, int y) {
  if (!ctx.OnScreen() || !ctx.DrawAllowed()) return;
  const draw::Pen old = ctx.dc->SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
  ctx.dc->MoveTo(x, y - 5);
  ctx.dc->LineTo(x, y + 5);
  ctx.dc->SelectPen(old);
}

void RawPageRecognition::DrawFrame(const WaveRecognitionContext& ctx, draw::ColorRef colour, const draw::Rect& r) {
  if (!ctx.DrawAllowed()) return;
  if (!ctx.OnScreen() && !ctx.printInColor) colour = 0;
  const int dx = ctx.OnScreen() ? 0 : ctx.printOffsetX;
  const draw::Pen old = ctx.dc->SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
  const draw::Point pts[5] = {{r.left + dx, r.top},
                              {r.right + dx, r.top},
                              {r.right + dx, r.bottom},
                              {r.left + dx, r.bottom},
                              {r.left + dx, r.top}};
  ctx.dc->Polyline(pts, 5);
  ctx.dc->SelectPen(old);
}

int RawPageRecognition::GetWFRAnaAlloc(const WaveRecognitionContext& ctx) {
  if (!ctx.screening) reported_ = false;  // once per page; while screening once per run
  int pairs = 0;
  if (ctx.param)
    for (int type = kWaveTypeDelta; type <= kWaveTypeCount; ++type) {
      const int ch = ChannelOfType(*ctx.param, type);
      if (ch >= 0 && ch < ctx.channelCount) ++pairs;
    }
  const long long capacity = (static_cast<long long>(ctx.pageSeconds) * (1 + pairs)) * 15;
  if (capacity < 1) {
    table_.Reset(0);
    return 0;
  }
  table_.Reset(static_cast<std::size_t>(capacity));
  return 1;
}

void RawPageRecognition::WaveFormRecognitionTransaction(const WaveRecognitionContext& ctx, int channel,
                                                        const WaveChannelPage& page) {
  if (!ctx.param) return;
  const WaveFormRecognitionParam& p = *ctx.param;
  auto drawColour = [&](draw::ColorRef c) -> draw::ColorRef {
    return (ctx.OnScreen() || ctx.printInColor) ? c : 0;
  };
  for (int type = kWaveTypeDelta; type <= kWaveTypeCount; ++type) {
    if (ChannelOfType(p, type) != channel) continue;
    try {
      tablemem::CheckInjectedFailure();
      if (type <= kWaveTypeBand3) {
        const BandWaveRecord& band = p.bands[std::size_t(BandIndexOfType(type))];
        RecognizeBandWave(ctx, type, channel, page, band, drawColour(band.colour));
      } else if (type == kWaveTypeKComplex) {
        RecognizeKComplex(ctx, channel, page, p.kComplex, drawColour(p.kComplex.colour));
      } else {
        RecognizeEyeMovement(ctx, type, channel, page, type == kWaveTypeEogRight ? p.eogRight : p.eogLeft);
      }
    } catch (const std::bad_alloc&) {
      Report(std::string("LyrRawAreaView::WaveFormRecognitionTransaction:") + kTypeNames[type]);
    } catch (const std::length_error&) {
      Report(std::string("LyrRawAreaView::WaveFormRecognitionTransaction:") + kTypeNames[type]);
    }
  }
  if (p.emgChannel == channel && ctx.currentPageRow) CalcEMGEpochLevel(ctx, channel, page);
}

void RawPageRecognition::RecognizeRow(const WaveRecognitionContext& ctx, std::span<const WaveChannelPage> channels) {
  GetWFRAnaAlloc(ctx);
  for (std::size_t ch = 0; ch < channels.size(); ++ch)
    WaveFormRecognitionTransaction(ctx, static_cast<int>(ch), channels[ch]);
  CountEyeMovements(ctx);
}

// ---- Band detector -------------------------------------------------------------------------

struct RawPageRecognition::BandRun {
  int type = 0;
  const WaveChannelPage* page = nullptr;
  const BandWaveRecord* band = nullptr;
  draw::ColorRef colour = 0;
  bool enabled = false;
  const float* x = nullptr;  // the epoch's samples as searched (filtered or not)
  int epochOffset = 0;       // first sample of the epoch in the page buffer
  int count = 0;             // extrema of the epoch
  int c = 0;                 // extrema of the current run
  BandWaveEpochStats stats{};
};

void RawPageRecognition::RecognizeBandWave(const WaveRecognitionContext& ctx, int type, int channel,
                                           const WaveChannelPage& page, const BandWaveRecord& band,
                                           draw::ColorRef colour) {
  (void)channel;
  const int n = ctx.EpochsPerPage();
  const long long S = static_cast<long long>(page.rate) * ctx.epochSeconds;
  const int cap = ctx.epochSeconds * 100;
  const int slot = BandIndexOfType(type);
  if (n <= 0 || S <= 0 || cap <= 0 || slot < 0) return;
  extrema_.assign(std::size_t(cap), WaveExtremum{});
  const bool filtered = ctx.param->precision == 0 && type != kWaveTypeDelta;
  if (filtered) work_.resize(std::size_t(S));
  const double P = band.peakDetectLevel;
  const bool ticks = band.showPeak && page.enabled && page.map;
  const int firstEpoch = ctx.FirstEpoch();

  for (int e = 0; e < n; ++e) {
    if (firstEpoch + e >= ctx.recordingEpochs) break;
    if (static_cast<long long>(e + 1) * S > static_cast<long long>(page.samples.size())) break;
    BandRun run;
    run.type = type;
    run.page = &page;
    run.band = &band;
    run.colour = colour;
    run.enabled = page.enabled;
    run.epochOffset = static_cast<int>(e * S);
    run.x = page.samples.data() + run.epochOffset;
    halfWaves_ = 0;
    if (filtered) {
      if (!BandPassEpoch(band.frequencyMinHz, band.frequencyMaxHz, page.rate,
                         std::span<const float>(run.x, std::size_t(S)), work_))
        throw std::bad_alloc();
      run.x = work_.data();
    }
    const float* x = run.x;
    const long long base = std::min<long long>(150, S);
    double m = 0;
    for (long long i = 0; i < base; ++i) m += x[i];
    m /= static_cast<double>(base);
    const double U = m + P / 2, L = m - P / 2;
    long long i = 0;
    bool trackMax = false;
    for (; i < S; ++i) {
      if (x[i] > U) { trackMax = true; break; }
      if (x[i] < L) { trackMax = false; break; }
    }
    if (i < S) {
      double runMax = std::numeric_limits<double>::lowest(), runMin = std::numeric_limits<double>::max();
      long long maxIdx = i, minIdx = i;
      auto take = [&](long long idx, double value) {
        WaveExtremum& ex = extrema_[std::size_t(run.count)];
        ex = WaveExtremum{};
        ex.index = static_cast<std::int32_t>(run.epochOffset + idx);
        ex.value = static_cast<float>(value);
        draw::Point pt;
        if (page.map && page.map(ex.index, &pt) == 0) {
          ex.x = pt.x;
          ex.y = pt.y;
          if (ticks) DrawTick(ctx, colour, pt.x, pt.y);
        }
        ++run.count;
        ++run.c;
        CheckBandWaveRun(ctx, run, 0);
      };
      for (; i < S && run.count < cap; ++i) {
        const double v = x[i];
        if (trackMax) {
          if (v > runMax) {
            runMax = v;
            maxIdx = i;
          } else if (v <= runMax - P) {
            take(maxIdx, runMax);
            trackMax = false;
            runMin = v;
            minIdx = i;
          }
        } else {
          if (v < runMin) {
            runMin = v;
            minIdx = i;
          } else if (v >= runMin + P) {
            take(minIdx, runMin);
            trackMax = true;
            runMax = v;
            maxIdx = i;
          }
        }
      }
      if (run.count >= 1) CheckBandWaveRun(ctx, run, 1);
    }
    if (ctx.currentPageRow) {
      if (LyrEpochRec* r = ctx.FrameRecord(e)) r->wave[slot] = run.stats;
      if (LyrEpochRec* r = ctx.DocumentRecord(e)) r->wave[slot] = run.stats;
    }
  }
}

void RawPageRecognition::CheckBandWaveRun(const WaveRecognitionContext& ctx, BandRun& run, int final) {
  const BandWaveRecord& band = *run.band;
  if (!(band.frequencyMinHz > 0) || !(band.frequencyMaxHz > 0)) return;
  const double Tmin = 1000.0 / band.frequencyMaxHz, Tmax = 1000.0 / band.frequencyMinHz;
  const double rate = run.page->rate;
  const double ms = 1000.0 / rate;
  const WaveExtremum* ex = extrema_.data();
  const int last = run.count - 1;  // E0

  if (!final) {
    if (run.c < 3) return;
    if (run.c == 3) halfWaves_ = 0;
    const WaveExtremum& e0 = ex[last];
    const WaveExtremum& e1 = ex[last - 1];
    const WaveExtremum& e2 = ex[last - 2];
    const double d = (e0.index - e2.index) * ms;
    bool pass;
    if (run.type == kWaveTypeDelta) {
      const int a = std::abs(e1.index - e2.index), b = std::abs(e0.index - e1.index);
      const bool lopsided = std::max(a, b) >= 3 * std::min(a, b);
      pass = Tmin <= d && d <= Tmax && !lopsided;
    } else if (run.type == kWaveTypeAlpha) {
      pass = (Tmin <= d && d <= Tmax) || (Tmax * 0.5 <= d && d <= Tmax + Tmin * 0.5);
    } else {
      pass = Tmin <= d && d <= Tmax;
    }
    if (pass) {
      const double A = (std::fabs(double(e0.value) - e1.value) + std::fabs(double(e2.value) - e1.value)) * 0.5;
      pass = band.amplitudeMin <= A && A <= band.amplitudeMax;
    }
    if (pass && run.type == kWaveTypeDelta) {
      // Each half-wave must enclose more area about its mid line than a fifth of its chord.
      auto halfPasses = [&](const WaveExtremum& a, const WaveExtremum& b) {
        const double r = (double(a.value) + b.value) / 2;
        const double chord = ChordArea(a.index, a.value, b.index, b.value, ms, r);
        double sum = 0;
        for (int k = a.index; k <= b.index - 2; ++k) {
          const int j = k - run.epochOffset;
          sum += ChordArea(k, run.x[j], k + 1, run.x[j + 1], ms, r);
        }
        return sum > 0.2 * chord;
      };
      pass = halfPasses(e2, e1) && halfPasses(e1, e0);
    }
    if (pass) {
      ++halfWaves_;
      return;
    }
  } else if (run.c <= 1) {
    return;
  }

  // End of the run: the extrema before E0 make a wave when enough half-waves passed.
  const int j = run.c - 1;
  if (j >= 1 && halfWaves_ >= band.halfWaveCount - 1) {
    const WaveExtremum* w = ex + (last - j);  // E-j .. E-1
    const WaveExtremum& first = w[0];
    const WaveExtremum& end = w[j - 1];
    bool keep = true;
    if (band.emgCancel) {
      const std::span<const float> s = run.page->samples;
      double sum = 0;
      int prevDir = 0;  // 0 before the first step
      for (int k = first.index; k < end.index && k + 1 < static_cast<int>(s.size()); ++k) {
        const double step = double(s[std::size_t(k) + 1]) - s[std::size_t(k)];
        const int dir = step >= 0 ? 1 : -1;
        if (dir != prevDir) sum += std::fabs(step);
        prevDir = dir;
      }
      keep = !(sum > (end.index - first.index) * band.emgCancelLevel);
    }
    if (keep) {
      draw::Rect frame{first.x, first.y, end.x, first.y};
      for (int k = 0; k < j; ++k) {
        frame.top = std::min(frame.top, w[k].y);
        frame.bottom = std::max(frame.bottom, w[k].y);
      }
      if (frame.left > frame.right) std::swap(frame.left, frame.right);
      if (band.show && run.enabled && run.page->map) DrawFrame(ctx, run.colour, frame);

      RecognizedWaveRecord rec;
      rec.type = static_cast<std::int16_t>(run.type);
      rec.left = frame.left;
      rec.top = frame.top;
      rec.right = frame.right;
      rec.bottom = frame.bottom;
      rec.halfWaves = halfWaves_;
      rec.startSample = static_cast<std::int32_t>(ctx.pageStartSecond * run.page->rate + first.index);
      rec.durationMs = static_cast<float>((end.index - first.index) * ms);
      double amp = 0;
      for (int k = 0; k < j; ++k) amp += std::fabs(double(w[k].value));
      rec.meanAmplitude = static_cast<float>(amp / j);
      std::vector<double> freq;
      freq.reserve(std::size_t(j));
      for (int k = 0; k + 1 < j; ++k) freq.push_back(1.0 / (2.0 * ((w[k + 1].index - w[k].index) / rate)));
      double mean = 0;
      for (double f : freq) mean += f;
      if (!freq.empty()) mean /= static_cast<double>(freq.size());
      rec.meanFrequencyHz = static_cast<float>(mean);
      if (j - 2 < 1) {
        rec.frequencyVariance = kLargestFloat;
      } else {
        double var = 0;
        for (double f : freq) var += (f - mean) * (f - mean);
        rec.frequencyVariance = static_cast<float>(var / (j - 2));
      }
      // The epoch statistics are the scoring's input and do not depend on the table.
      run.stats.count = static_cast<std::int16_t>(run.stats.count + 1);
      run.stats.durationMs += rec.durationMs;
      run.stats.meanAmplitude = rec.meanAmplitude;
      run.stats.meanFrequencyHz = rec.meanFrequencyHz;
      run.stats.frequencyDeviationHz = rec.frequencyVariance;
      if (!table_.Add(rec)) Report("Alloc ERR");
    }
  }
  halfWaves_ = 0;
  run.c = 0;
}
