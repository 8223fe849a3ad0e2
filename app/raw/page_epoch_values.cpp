// Per-epoch values of the current page: spectra, amplitude statistics, mark triggers.
#include "app/raw/page_epoch_values.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <vector>

#include "app/document/epoch_values.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "common/dsp/fyn_fft.h"
#include "platform/ui/message_box.h"

namespace {

constexpr float kFloatMax = 3.4028234663852886e38f;
constexpr const char* kFftOperation = "LyrRawAreaView::TrendFFTTransaction";

// Failure reports: outside a batch every call may report once; inside a batch only the
// first failure of the batch is told, not one box per channel per page.
bool reportedInBatch = false;

void Report(const PageEpochValues& p, const char* operation) {
  if (p.reported) return;
  p.reported = true;
  if (p.screening) {
    if (reportedInBatch) return;
    reportedInBatch = true;
  }
  if (p.report) p.report(operation);
}

int ChannelCount(const CQLM2_AnalyzerDoc& doc) {
  return std::clamp(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
}

// Samples of one epoch of a channel: m = rate x epoch seconds.
std::int64_t EpochSamples(const PageEpochValues& p, int channel) {
  const int rate = p.doc->ChInfo[static_cast<std::size_t>(channel)].rate;
  return rate > 0 && p.epochSeconds > 0 ? static_cast<std::int64_t>(rate) * p.epochSeconds : 0;
}

// Epochs of the page that lie inside the recording (k from 0).
int EpochsInRecording(const PageEpochValues& p) {
  const std::int64_t left = p.EpochCount() - p.FirstEpoch();
  return static_cast<int>(std::clamp<std::int64_t>(left, 0, p.EpochsPerPage()));
}

// Epoch k's samples, or an empty span when the page buffer does not hold all of them.
std::span<const float> EpochOf(std::span<const float> samples, std::int64_t m, int k) {
  const std::int64_t from = static_cast<std::int64_t>(k) * m;
  if (m <= 0 || from + m > static_cast<std::int64_t>(samples.size())) return {};
  return samples.subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(m));
}

bool ValidChannel(const PageEpochValues& p, int channel) {
  return p.doc != nullptr && channel >= 0 && channel < ChannelCount(*p.doc);
}

// Area of |x| between two neighbours dt apart, split at the zero crossing when the sign changes.
double TrapezoidArea(double a, double b, double dt) {
  const double aa = std::fabs(a);
  const double ab = std::fabs(b);
  if ((a >= 0 && b >= 0) || (a <= 0 && b <= 0)) return (aa + ab) * dt / 2.0;
  const double sum = aa + ab;
  if (sum == 0.0) return 0.0;
  return aa * (aa * dt / sum) / 2.0 + ab * (ab * dt / sum) / 2.0;
}

}  // namespace

int PageEpochValues::EpochsPerPage() const { return epochSeconds > 0 ? pageSeconds / epochSeconds : 0; }

std::int64_t PageEpochValues::FirstEpoch() const {
  if (doc == nullptr || epochSeconds <= 0) return 0;
  const std::int64_t rowPage = static_cast<std::int64_t>(doc->CurrentPage) + rowIndex - 2;
  return rowPage * pageSeconds / epochSeconds;
}

std::int64_t PageEpochValues::EpochCount() const {
  return doc != nullptr && epochSeconds > 0 ? doc->RecordSeconds / epochSeconds : 0;
}

std::span<const float> PageEpochValues::ChannelSamples(int channel) const {
  if (!ValidChannel(*this, channel)) return {};
  std::size_t offset = 0;
  const auto span = [this](int c) {
    return static_cast<std::size_t>(std::max(doc->ChInfo[static_cast<std::size_t>(c)].rate, 0)) *
               static_cast<std::size_t>(std::max(pageSeconds, 0)) +
           1;
  };
  for (int c = 0; c < channel; ++c) offset += span(c);
  if (offset >= page.size()) return {};
  return page.subspan(offset, std::min(span(channel), page.size() - offset));
}

PageEpochValues PageEpochValuesForRow(CQLM2_AnalyzerDoc& doc, CMainFrame* frame, int row) {
  PageEpochValues p;
  p.doc = &doc;
  p.rowIndex = row;
  if (row >= 0 && row < LyrRecordInfo::kPageBufferCount) p.page = doc.RecordInfo.pageBuffers[static_cast<std::size_t>(row)];
  p.screening = ScreeningRunning == 1;
  p.epochSeconds = EpochSeconds;
  p.pageSeconds = PageSeconds;
  if (frame != nullptr) {
    p.recordCount = std::min(frame->EpochBandValues.size(), frame->EpochChannelStats.size());
    p.bandRecords = frame->EpochBandValues.data();
    p.statRecords = frame->EpochChannelStats.data();
  }
  p.report = [](const std::string& operation) { ui::MessageBox(operation); };
  if (!p.screening) reportedInBatch = false;
  return p;
}

int TrendFFTTransaction(PageEpochValues& p, int channel) {
  if (!ValidChannel(p, channel) || !p.MiddleRow()) return 1;
  const FFTBandParam& fft = p.doc->Params.fftBand;
  if (fft.channelSwitch[static_cast<std::size_t>(channel)] == 0) return 1;
  const int chCount = ChannelCount(*p.doc);
  const int slot = GetSelectedChIndex(channel, std::span<const std::uint16_t>(fft.channelSwitch.data(), 32), chCount);
  if (slot < 0) return 1;
  const int rate = p.doc->ChInfo[static_cast<std::size_t>(channel)].rate;
  const std::int64_t m = EpochSamples(p, channel);
  const int points = static_cast<int>(fft.fftPoints);
  const int segments = fft.averagingCount;
  const int bandCount = std::clamp<int>(fft.bandCount, 0, 6);
  if (m <= 0 || points <= 0 || segments <= 0) return 1;
  const std::span<const float> samples = p.ChannelSamples(channel);
  const int epochs = EpochsInRecording(p);
  const std::size_t bins = static_cast<std::size_t>(points) / 2 + 1;
  const std::size_t segmentFloats = static_cast<std::size_t>(segments) * static_cast<std::size_t>(points);
  std::vector<float> accumulator;
  std::vector<float> result;
  std::vector<float> buffer;
  try {
    accumulator.resize(bins);
    result.resize(bins);
    buffer.resize(segmentFloats);
  } catch (const std::bad_alloc&) {
    Report(p, kFftOperation);
    return 0;
  }
  // One transform object serves every epoch of the call: same points, window and rate.
  FynFft transform(points, fft.windowType, fft.unit, static_cast<double>(rate));
  if (epochs > 0 && transform.CreateWorkArea() != 0) {
    Report(p, kFftOperation);
    return 0;
  }
  LyrEpochParameter& tables = p.doc->EpochTables;
  const bool toTables = p.screening && tables.HasBandEntries() && slot < std::max(tables.BandChCount(), 1);
  for (int k = 0; k < epochs; ++k) {
    const std::span<const float> epoch = EpochOf(samples, m, k);
    if (epoch.empty()) break;
    std::fill(buffer.begin(), buffer.end(), 0.0f);
    std::copy_n(epoch.begin(), std::min<std::size_t>(segmentFloats, epoch.size()), buffer.begin());
    std::fill(accumulator.begin(), accumulator.end(), 0.0f);
    for (int s = 0; s < segments; ++s) {
      transform.SetRData(buffer.data() + static_cast<std::size_t>(s) * static_cast<std::size_t>(points));
      transform.CalcFft();
      transform.GetResultData(result.data());
      for (std::size_t i = 0; i < bins; ++i) accumulator[i] += result[i];
    }
    for (float& v : accumulator) v /= static_cast<float>(segments);

    const std::int64_t e = p.FirstEpoch() + k;
    float* record[12] = {};
    if (p.bandRecords != nullptr && static_cast<std::size_t>(k) < p.recordCount) {
      for (int b = 0; b < 12; ++b) record[b] = &p.bandRecords[k].value[b][channel];
    }
    float* table[12] = {};
    if (toTables) {
      for (int b = 0; b < 12; ++b) {
        float* values = tables.BandValues(static_cast<int>(e), b);
        table[b] = values != nullptr ? values + slot : nullptr;
      }
    }
    for (int b = 0; b < 12; ++b) {
      if (record[b] != nullptr) *record[b] = 0.0f;
      if (table[b] != nullptr) *table[b] = 0.0f;
    }
    float bandSum[6] = {};
    float total = 0.0f;
    for (std::size_t i = 0; i < bins; ++i) {
      const double f = static_cast<double>(i) * rate / points;
      for (int b = 0; b < bandCount; ++b) {
        const FrequencyBand& band = fft.bands[static_cast<std::size_t>(b)];
        if (band.fromHz <= f && f < band.toHz) bandSum[b] += accumulator[i];
      }
      if (fft.contentRange == 1 && fft.optionalFromHz <= f && f < fft.optionalToHz) total += accumulator[i];
    }
    if (fft.contentRange != 1) {
      total = 0.0f;
      for (int b = 0; b < bandCount; ++b) total += bandSum[b];
    }
    for (int b = 0; b < bandCount; ++b) {
      if (record[b] != nullptr) *record[b] = bandSum[b];
      if (table[b] != nullptr) *table[b] = bandSum[b];
      if (std::fabs(total) > 0.000001f) {
        const float percent = bandSum[b] * 100.0f / total;
        if (record[6 + b] != nullptr) *record[6 + b] = percent;
        if (table[6 + b] != nullptr) *table[6 + b] = percent;
      }
    }
  }
  return 1;
}

void CalcEpochAmplitudeValues(PageEpochValues& p, int channel) {
  if (!ValidChannel(p, channel) || !p.MiddleRow()) return;
  const std::int64_t m = EpochSamples(p, channel);
  if (m <= 0) return;
  const int rate = p.doc->ChInfo[static_cast<std::size_t>(channel)].rate;
  const double dt = 1000.0 / rate;
  const auto& modeEntry = p.doc->Params.chDispMode.entries[static_cast<std::size_t>(channel)];
  const std::uint16_t crossMode = static_cast<std::uint16_t>(modeEntry.mode);
  const float level = std::bit_cast<float>(modeEntry.value);
  const std::span<const float> samples = p.ChannelSamples(channel);
  LyrEpochParameter& tables = p.doc->EpochTables;
  const bool toTables = p.screening && channel < tables.ChCount();
  const int epochs = EpochsInRecording(p);
  for (int k = 0; k < epochs; ++k) {
    const std::span<const float> x = EpochOf(samples, m, k);
    if (x.empty()) break;
    float minimum = kFloatMax;
    float maximum = -kFloatMax;
    float peak = 0.0f;
    double sum = 0.0;
    double absSum = 0.0;
    double area = 0.0;
    std::int64_t crossings = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      const float v = x[i];
      minimum = std::min(minimum, v);
      maximum = std::max(maximum, v);
      peak = std::max(peak, std::fabs(v));
      sum += v;
      absSum += std::fabs(v);
      if (i == 0) continue;
      const float a = x[i - 1];
      area += TrapezoidArea(a, v, dt);
      if ((crossMode == 0 && a > level && v < level) || (crossMode == 1 && a < level && v > level)) ++crossings;
    }
    const double n = static_cast<double>(x.size());
    const double absMean = absSum / n;
    double cv = 0.0;
    if (absMean != 0.0) {
      double squares = 0.0;
      for (float v : x) squares += (std::fabs(v) - absMean) * (std::fabs(v) - absMean);
      cv = std::sqrt(squares / n) * 100.0 / absMean;
    }
    const float mean = static_cast<float>(sum / n);
    const std::int16_t cross = static_cast<std::int16_t>(std::min<std::int64_t>(crossings, 32767));
    if (p.statRecords != nullptr && static_cast<std::size_t>(k) < p.recordCount) {
      EpochChannelStatsRecord& r = p.statRecords[k];
      r.minimum[channel] = minimum;
      r.maximum[channel] = maximum;
      r.mean[channel] = mean;
      r.absMaximum[channel] = peak;
      r.integral[channel] = static_cast<float>(area);
      r.crossCount[channel] = cross;
      r.cvPercent[channel] = static_cast<float>(cv);
    }
    if (toTables) {
      const int e = static_cast<int>(p.FirstEpoch() + k);
      const float values[kChValueKinds] = {minimum, maximum, mean, peak, static_cast<float>(area), 0.0f,
                                           static_cast<float>(cv)};
      for (int kind = 0; kind < kChValueKinds; ++kind) {
        if (kind == kChCrossCount) continue;
        if (float* row = tables.ChValues(e, kind)) row[channel] = values[kind];
      }
      if (std::uint16_t* counts = tables.ChCrossCount(e)) counts[channel] = static_cast<std::uint16_t>(cross);
    }
  }
}

void CheckMarkTriggerSample(MarkTable& marks, int type, bool upward, float level, float sample, float t) {
  if (marks.Start(type) == nullptr || marks.End(type) == nullptr) return;
  const int count = marks.Count(type);
  if (count >= marks.Capacity()) {
    marks.SetOverflow(type, 1);
    marks.SetOverflowAll(1);
    return;
  }
  const bool inside = upward ? sample >= level : sample <= level;
  if (inside) {
    if (marks.RunOpen(type) == 0) {
      marks.Start(type)[count] = t;
      marks.SetRunOpen(type, 1);
    }
  } else if (marks.RunOpen(type) != 0) {
    marks.End(type)[count] = t;
    marks.SetRunOpen(type, 0);
    marks.SetCount(type, count + 1);
    // The 0.1-s flags show the run on the page's mark strip like a mark set by hand.
    marks.MarkEventRange(type, marks.Start(type)[count], t);
  }
}

void SearchMarkTriggers(PageEpochValues& p, int channel) {
  if (!ValidChannel(p, channel) || !p.MiddleRow() || !p.screening) return;
  const MarkTypeParam& param = p.doc->Params.markType;
  bool triggered[kMarkTypeCount] = {};
  bool any = false;
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const auto& item = param.items[static_cast<std::size_t>(t)];
    triggered[t] = item.triggerDetect != 0 && item.triggerChannel == channel;
    any = any || triggered[t];
  }
  MarkTable& marks = p.doc->Marks;
  const std::int64_t m = EpochSamples(p, channel);
  if (!any || m <= 0 || marks.Capacity() <= 0) return;
  const int rate = p.doc->ChInfo[static_cast<std::size_t>(channel)].rate;
  const std::span<const float> samples = p.ChannelSamples(channel);
  const int epochs = EpochsInRecording(p);
  for (int k = 0; k < epochs; ++k) {
    const std::span<const float> x = EpochOf(samples, m, k);
    if (x.empty()) break;
    const double epochStart = static_cast<double>(p.FirstEpoch() + k) * p.epochSeconds;
    for (std::size_t j = 0; j < x.size(); ++j) {
      const float t = static_cast<float>(static_cast<double>(j) / rate + epochStart);
      for (int type = 0; type < kMarkTypeCount; ++type) {
        if (!triggered[type]) continue;
        const auto& item = param.items[static_cast<std::size_t>(type)];
        CheckMarkTriggerSample(marks, type, item.direction != 0, item.triggerLevel, x[j], t);
      }
    }
  }
}

int IsEpochOverThreshold(const PageEpochValues& p, int k) {
  if (p.doc == nullptr || !p.MiddleRow() || k < 0 || k >= p.EpochsPerPage()) return 0;
  if (p.FirstEpoch() + k >= p.EpochCount()) return 0;
  const int count = ChannelCount(*p.doc);
  for (int c = 0; c < count; ++c) {
    const auto& entry = p.doc->Params.chDispScale.entries[static_cast<std::size_t>(c)];
    if (static_cast<std::uint16_t>(entry.word) == 0) continue;
    const std::span<const float> x = EpochOf(p.ChannelSamples(c), EpochSamples(p, c), k);
    for (float v : x) {
      if (std::fabs(v) > entry.value) return 1;
    }
  }
  return 0;
}

int CalcChannelEpochValues(PageEpochValues& p, int channel) {
  const int ok = TrendFFTTransaction(p, channel);
  CalcEpochAmplitudeValues(p, channel);
  if (p.screening) SearchMarkTriggers(p, channel);
  return ok;
}

int CalcPageEpochValues(PageEpochValues& p) {
  if (p.doc == nullptr) return 1;
  int ok = 1;
  const int count = ChannelCount(*p.doc);
  for (int c = 0; c < count; ++c) ok &= CalcChannelEpochValues(p, c);
  return ok;
}

std::function<void(CQLM2_AnalyzerDoc&, PageEpochValues&)> PageAutoStagingTransaction;

void ResetPageEpochValuesReports() { reportedInBatch = false; }
