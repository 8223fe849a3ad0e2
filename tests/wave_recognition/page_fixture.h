#pragma once
// Generated pages of known content for the recognition tests, and a context that
// recognises them as the current page of a recording.
#include <cmath>
#include <numbers>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_record.h"
#include "app/raw/wave_recognition.h"

namespace wavetest {

constexpr int kRate = 200;

// A page of `seconds` seconds of silence.
inline std::vector<float> Silence(int seconds, int rate = kRate) {
  return std::vector<float>(std::size_t(seconds) * std::size_t(rate), 0.0f);
}

// Adds `cycles` whole cycles of a sine of `hz` and amplitude `amp`, starting at `startS`.
inline void AddSine(std::vector<float>& x, double startS, double hz, double cycles, double amp, int rate = kRate) {
  const long first = std::lround(startS * rate);
  const long count = std::lround(cycles / hz * rate);
  for (long i = 0; i < count && first + i < static_cast<long>(x.size()); ++i)
    x[std::size_t(first + i)] += static_cast<float>(amp * std::sin(2 * std::numbers::pi * hz * i / rate));
}

// One positive half sine of `widthS` seconds: a single slow maximum that ends the run of
// waves before it.
inline void AddPulse(std::vector<float>& x, double startS, double widthS, double amp, int rate = kRate) {
  AddSine(x, startS, 0.5 / widthS, 0.5, amp, rate);
}

// Straight lines through (second, value) points.
inline void AddPolyline(std::vector<float>& x, const std::vector<std::pair<double, double>>& pts,
                        int rate = kRate) {
  for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
    const long a = std::lround(pts[k].first * rate), b = std::lround(pts[k + 1].first * rate);
    for (long i = a; i < b && i < static_cast<long>(x.size()); ++i)
      x[std::size_t(i)] += static_cast<float>(pts[k].second +
                                              (pts[k + 1].second - pts[k].second) * double(i - a) / double(b - a));
  }
}

// Nothing recognised anywhere until a test sets a channel.
inline WaveFormRecognitionParam NoRecognition() {
  WaveFormRecognitionParam p;
  for (auto& b : p.bands) b.channel = -1;
  p.kComplex.channel = p.eogRight.channel = p.eogLeft.channel = p.emgChannel = -1;
  p.precision = 1;
  return p;
}

struct Page {
  WaveFormRecognitionParam param = NoRecognition();
  std::vector<LyrEpochRec> frame;
  WaveRecognitionContext ctx;

  explicit Page(int epochSeconds = 30, int pageSeconds = 30, int recordingEpochs = 1000) {
    frame.assign(std::size_t(pageSeconds / epochSeconds), LyrEpochRec{});
    ctx.param = &param;
    ctx.channelCount = 8;
    ctx.epochSeconds = epochSeconds;
    ctx.pageSeconds = pageSeconds;
    ctx.recordingEpochs = recordingEpochs;
    ctx.currentPageRow = true;
    ctx.frameRecords = frame;
  }
};

// The painter's mapping of a page: one pixel per sample, y = -value.
inline WaveChannelPage Channel(const std::vector<float>& x, int rate = kRate) {
  WaveChannelPage ch;
  ch.samples = x;
  ch.rate = rate;
  ch.map = [&x](int index, draw::Point* p) {
    if (index < 0 || index >= static_cast<int>(x.size())) return 1;
    *p = draw::Point{index, static_cast<int>(-x[std::size_t(index)])};
    return 0;
  };
  return ch;
}

}  // namespace wavetest
