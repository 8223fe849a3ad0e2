#include "app/document/divided_page_spectra.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "common/dsp/fyn_fft.h"

int CalcFFTData(const float* samples, float* out, unsigned short averaging, int points, short window, short unit,
                double sampFreqHz) {
  if (averaging == 0 || points <= 0) return 1;
  FynFft fft(points, window, unit, sampFreqHz);
  if (fft.CreateWorkArea() != 0) return 0;
  const int bins = points / 2 + 1;
  std::vector<float> result(static_cast<std::size_t>(bins));
  for (unsigned a = 0; a < averaging; ++a) {
    fft.SetRData(samples + static_cast<std::size_t>(a) * points);
    fft.CalcFft();
    fft.GetResultData(result.data());
    for (int b = 0; b < bins; ++b) out[b] += result[b];
  }
  for (int b = 0; b < bins; ++b) out[b] /= averaging;
  return 1;
}

int calcDiviedPageFFTData(CQLM2_AnalyzerDoc& doc, unsigned kind) {
  if (kind >= 5) return 0;
  DividedPageSpectra& spectra = doc.DividedPageFft;
  for (auto& v : spectra.values[kind]) v.clear();
  spectra.divisions[kind] = 0;
  const auto& channels = doc.Params.fftPageChannels.channels;
  if (std::all_of(channels.begin(), channels.end(), [](std::int32_t c) { return c < 0; })) return 1;
  const FFTPageParam& fp = doc.Params.fftPage;
  const int d = fp.dividedPerEpoch != 0 ? (EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0) : fp.dividedCount;
  const int n = static_cast<int>(fp.dividedFftPoints);
  const int a = fp.dividedAveraging;
  const std::vector<float>& buffer = doc.RecordInfo.pageBuffers[kind];
  if (buffer.empty()) return 0;
  if (d <= 0 || n <= 0 || a <= 0) return 1;
  const int bins = n / 2 + 1;
  spectra.divisions[kind] = d;
  const int count = std::clamp(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
  const std::int64_t page = static_cast<std::int64_t>(doc.CurrentPage) + static_cast<int>(kind) - 2;
  std::vector<float> work(static_cast<std::size_t>(a) * n);
  for (int s = 0; s < DividedPageSpectra::kSlots; ++s) {
    const int c = channels[s];
    if (c < 0 || c >= count) continue;
    std::vector<float>& out = spectra.values[kind][s];
    out.assign(static_cast<std::size_t>(d) * bins, 0.0f);
    std::size_t start = 0;
    for (int k = 0; k < c; ++k) start += static_cast<std::size_t>(std::max(doc.ChInfo[k].rate, 0)) * PageSeconds + 1;
    const LyrChInfo& ch = doc.ChInfo[c];
    if (ch.rate <= 0) continue;
    const std::int64_t span = static_cast<std::int64_t>(ch.rate) * PageSeconds + 1;
    const std::int64_t epochSamples = static_cast<std::int64_t>(ch.rate) * EpochSeconds;
    const std::int64_t dataEnd = epochSamples > 0 ? ch.dataCount / epochSamples * epochSamples : 0;
    for (int j = 0; j < d; ++j) {
      const std::int64_t first = j * span / d;
      if (page * ch.rate * PageSeconds + ch.startOffset + first >= dataEnd) continue;
      const std::int64_t length = std::min<std::int64_t>(span / d, static_cast<std::int64_t>(work.size()));
      std::fill(work.begin(), work.end(), 0.0f);
      for (std::int64_t i = 0; i < length; ++i) {
        const std::size_t at = start + static_cast<std::size_t>(first + i);
        if (at >= buffer.size()) break;
        work[static_cast<std::size_t>(i)] = buffer[at];
      }
      CalcFFTData(work.data(), out.data() + static_cast<std::size_t>(j) * bins, static_cast<unsigned short>(a), n,
                  static_cast<short>(fp.windowType), static_cast<short>(fp.unit), ch.rate);
    }
  }
  return 1;
}
