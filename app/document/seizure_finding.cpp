#include "app/document/seizure_finding.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

WaveDetectParamRecord WaveDetectParam;
std::vector<std::uint8_t> SeizureMarks;

namespace {
constexpr int kWaveDetectEdition = 12;
constexpr const char* kTooSmall = "A DetectLv value is too small.";
constexpr const char* kFailure = "CQLM2_AnalyzerDoc::FindSeizure";

template <typename T>
void Put(std::array<std::uint8_t, WaveDetectParamRecord::kSize>& b, std::size_t at, T v) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::uint8_t raw[sizeof(T)];
  std::memcpy(raw, &v, sizeof(T));  // little-endian host, as the stored files are
  std::copy(raw, raw + sizeof(T), b.begin() + static_cast<std::ptrdiff_t>(at));
}
template <typename T>
T Get(std::span<const std::uint8_t, WaveDetectParamRecord::kSize> b, std::size_t at) {
  T v;
  std::memcpy(&v, b.data() + at, sizeof(T));
  return v;
}

struct Extreme {
  std::int64_t position;  // recording time, samples
  float value;
};

// The run check over the newest extremes of the work list.
class PeakRuns {
 public:
  PeakRuns(const WaveDetectParamRecord& p, int rate, std::vector<std::uint8_t>& marks)
      : p_(p), rate_(rate), marks_(marks) {}
  int sequence = 0;  // extremes of the current sequence

  void Check(const std::vector<Extreme>& list, bool closing) {
    if (!(p_.frqMinHz > 0.0) || !(p_.frqMaxHz > 0.0)) return;
    const double shortestMs = 1000.0 / p_.frqMaxHz;
    const double longestMs = 1000.0 / p_.frqMinHz;
    const std::size_t n = list.size();
    if (!closing) {
      if (sequence < 3) return;
      if (sequence == 3) run_ = 0;
      const Extreme& r0 = list[n - 1];
      const Extreme& r1 = list[n - 2];
      const Extreme& r2 = list[n - 3];
      const double periodMs = static_cast<double>(r0.position - r2.position) * 1000.0 / rate_;
      const double amplitude = (std::fabs(static_cast<double>(r2.value) - r1.value) +
                                std::fabs(static_cast<double>(r0.value) - r1.value)) * 0.5;
      if (shortestMs <= periodMs && periodMs <= longestMs && p_.ampMin <= amplitude && amplitude <= p_.ampMax) {
        ++run_;
        return;
      }
    } else if (sequence < 2) {
      return;
    }
    EndRun(list);
  }

 private:
  void EndRun(const std::vector<Extreme>& list) {
    const std::size_t n = list.size();
    if (run_ >= p_.halfWaveCount - 1) {
      const Extreme& first = list[n - static_cast<std::size_t>(sequence)];
      const Extreme& r1 = list[n - 2];
      const std::int64_t from = first.position * 10 / rate_;
      const std::int64_t to = std::min<std::int64_t>(r1.position * 10 / rate_, static_cast<std::int64_t>(marks_.size()));
      for (std::int64_t j = std::max<std::int64_t>(from, 0); j < to; ++j) marks_[static_cast<std::size_t>(j)] = 1;
    }
    run_ = 0;
    sequence = 0;
  }

  const WaveDetectParamRecord& p_;
  int rate_;
  std::vector<std::uint8_t>& marks_;
  int run_ = 0;
};
}  // namespace

std::array<std::uint8_t, WaveDetectParamRecord::kSize> WaveDetectParamRecord::ToBytes() const {
  std::array<std::uint8_t, kSize> b{};
  std::copy(carried0.begin(), carried0.end(), b.begin());
  Put(b, 12, channel);
  std::copy(carried16.begin(), carried16.end(), b.begin() + 16);
  Put(b, 20, colour);
  Put(b, 24, ampMin);
  Put(b, 32, ampMax);
  Put(b, 40, frqMinHz);
  Put(b, 48, frqMaxHz);
  Put(b, 56, peakLevel);
  Put(b, 64, halfWaveCount);
  std::copy(carried68.begin(), carried68.end(), b.begin() + 68);
  return b;
}

WaveDetectParamRecord WaveDetectParamRecord::FromBytes(std::span<const std::uint8_t, kSize> b) {
  WaveDetectParamRecord r;
  std::copy(b.begin(), b.begin() + 12, r.carried0.begin());
  r.channel = Get<std::int32_t>(b, 12);
  std::copy(b.begin() + 16, b.begin() + 20, r.carried16.begin());
  r.colour = Get<std::uint32_t>(b, 20);
  r.ampMin = Get<double>(b, 24);
  r.ampMax = Get<double>(b, 32);
  r.frqMinHz = Get<double>(b, 40);
  r.frqMaxHz = Get<double>(b, 48);
  r.peakLevel = Get<double>(b, 56);
  r.halfWaveCount = Get<std::int32_t>(b, 64);
  std::copy(b.begin() + 68, b.end(), r.carried68.begin());
  return r;
}

bool WaveDetectInEdition(int edition) { return edition == kWaveDetectEdition; }
bool WaveDetectAvailable() { return WaveDetectInEdition(QLM_PRODUCT_EDITION); }

void AllocateSeizureMarksForEdition(int edition, int recordSeconds) {
  SeizureMarks.clear();
  if (!WaveDetectInEdition(edition) || recordSeconds <= 0) return;
  SeizureMarks.assign(static_cast<std::size_t>(recordSeconds) * 10, 0);
}

void AllocateSeizureMarks(int recordSeconds) { AllocateSeizureMarksForEdition(QLM_PRODUCT_EDITION, recordSeconds); }

SeizureRange SeizureSearchRange(const SeizureChannel& ch, bool wholeRecording) {
  SeizureRange r;
  const std::int64_t rate = ch.rate;
  if (wholeRecording) {
    r.first = ch.startOffset;
    r.last = ch.startOffset + rate * ch.epochSeconds * ch.wholeEpochs;
  } else {
    r.first = rate * ch.currentPage * ch.pageSeconds + ch.startOffset;
    r.last = r.first + rate * ch.pageSeconds;
  }
  if (r.last >= ch.dataCount) r.last = ch.dataCount - 1;
  return r;
}

SeizureScanResult ScanSeizure(std::span<const float> x, std::int64_t timeBase, int rate,
                              const WaveDetectParamRecord& param, std::vector<std::uint8_t>& marks) {
  const std::size_t n = x.size();
  if (n == 0 || rate <= 0) return SeizureScanResult::NothingLeftTheBand;
  const double level = param.peakLevel;
  const std::size_t meanCount = std::min<std::size_t>(150, n);
  double mean = 0.0;
  for (std::size_t k = 0; k < meanCount; ++k) mean += x[k];
  mean /= static_cast<double>(meanCount);

  std::size_t k = 0;
  bool lookingForMax = true;
  for (; k < n; ++k) {
    if (x[k] > mean + level * 0.5) break;
    if (x[k] < mean - level * 0.5) {
      lookingForMax = false;
      break;
    }
  }
  if (k == n) return SeizureScanResult::NothingLeftTheBand;

  const std::size_t capacity = n / static_cast<std::size_t>(rate) * 15;
  std::vector<Extreme> list;
  list.reserve(std::min<std::size_t>(capacity, 1u << 20));
  PeakRuns runs(param, rate, marks);
  SeizureScanResult result = SeizureScanResult::Done;
  double runMax = -DBL_MAX;
  double runMin = DBL_MAX;
  std::size_t candidate = k;
  for (; k < n; ++k) {
    if (list.size() >= capacity) {
      ui::MessageBox(kTooSmall);
      result = SeizureScanResult::WorkListFull;
      break;
    }
    const double v = x[k];
    if (lookingForMax) {
      if (v > runMax) {
        runMax = v;
        candidate = k;
      }
      if (runMax - level >= v) {
        list.push_back({static_cast<std::int64_t>(candidate) + timeBase, static_cast<float>(runMax)});
        ++runs.sequence;
        runs.Check(list, false);
        runMin = v;
        candidate = k;
        lookingForMax = false;
      }
    } else {
      if (v < runMin) {
        runMin = v;
        candidate = k;
      }
      if (runMin + level <= v) {
        list.push_back({static_cast<std::int64_t>(candidate) + timeBase, static_cast<float>(runMin)});
        ++runs.sequence;
        runs.Check(list, false);
        runMax = v;
        candidate = k;
        lookingForMax = true;
      }
    }
  }
  if (!list.empty()) runs.Check(list, true);
  return result;
}

void ChainSeizureMarks(std::vector<std::uint8_t>& marks) {
  const std::size_t size = marks.size();
  for (std::size_t j = 1; j < size; ++j) {
    if (marks[j] != 0 || marks[j - 1] != 1) continue;
    const std::size_t end = std::min(size, j + 20);
    for (std::size_t k = j; k < end; ++k) {
      if (marks[k] == 1) {
        std::fill(marks.begin() + static_cast<std::ptrdiff_t>(j), marks.begin() + static_cast<std::ptrdiff_t>(k), 1);
        break;
      }
    }
  }
}

void FindSeizure(bool wholeRecording, const SeizureChannel& ch, const SeizureSampleReader& read, bool chain,
                 const WaveDetectParamRecord& param, std::vector<std::uint8_t>& marks) {
  ui::WaitCursor wait;
  const SeizureRange range = SeizureSearchRange(ch, wholeRecording);
  if (read && ch.rate > 0 && range.Count() > 0) {
    bool ok = false;
    std::vector<float> buffer;
    try {
      buffer.assign(static_cast<std::size_t>(range.Count()), 0.0f);
      ok = read(range.first, range.Count(), buffer.data());
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    if (ok) {
      ScanSeizure(buffer, range.TimeBase(ch), ch.rate, param, marks);
    } else {
      ui::MessageBox(kFailure);
    }
  }
  if (chain) ChainSeizureMarks(marks);
}

void WaveDetectSession::Open() {
  keptParam_ = WaveDetectParam;
  keptMarks_ = SeizureMarks;
  open_ = true;
}

void WaveDetectSession::Cancel() {
  if (!open_) return;
  WaveDetectParam = keptParam_;
  SeizureMarks = std::move(keptMarks_);
  keptMarks_.clear();
  open_ = false;
}
