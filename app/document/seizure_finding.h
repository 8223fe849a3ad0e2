#pragma once
// Wave detect: searches one channel for runs of rhythmic, large waves (seizure-like
// activity) and marks the time they cover in SeizureMarks, one byte per 0.1 s of the
// recording. The feature belongs to the animal edition (12); the other editions build the
// same code but never allocate the marks.
//
// Every position of the search is in recording time: sample 0 is the channel's first
// sample after its start offset, and byte j of the marks covers samples
// j x rate / 10 .. (j + 1) x rate / 10.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// The Wave detect settings, stored byte for byte (80 bytes) in the edition-12 companion
// files. The words this feature does not use are carried as they were read.
struct WaveDetectParamRecord {
  static constexpr std::size_t kSize = 80;
  std::array<std::uint8_t, 12> carried0{};
  std::int32_t channel = 0;       // 0-based; -1 none
  std::array<std::uint8_t, 4> carried16{};
  std::uint32_t colour = 0;       // detection colour, red in the low byte
  double ampMin = 0.0;            // channel's physical unit
  double ampMax = 0.0;
  double frqMinHz = 0.0;
  double frqMaxHz = 0.0;
  double peakLevel = 0.0;         // peak detect level, physical unit
  std::int32_t halfWaveCount = 0;
  std::array<std::uint8_t, 12> carried68{};

  std::array<std::uint8_t, kSize> ToBytes() const;
  static WaveDetectParamRecord FromBytes(std::span<const std::uint8_t, kSize> bytes);
  friend bool operator==(const WaveDetectParamRecord&, const WaveDetectParamRecord&) = default;
};

// Program-wide values of the feature (all 0 / empty at program start).
extern WaveDetectParamRecord WaveDetectParam;
extern std::vector<std::uint8_t> SeizureMarks;

// True in the edition that has the Wave detect menu and allocates the marks.
bool WaveDetectInEdition(int edition);
bool WaveDetectAvailable();  // for the edition this program is built as
// Re-creates the marks for a recording of recordSeconds (rounded down to whole epochs):
// zero-filled, 10 a second, in the Wave detect edition; empty otherwise.
void AllocateSeizureMarks(int recordSeconds);
void AllocateSeizureMarksForEdition(int edition, int recordSeconds);

// What the search needs of the channel and the paging.
struct SeizureChannel {
  int rate = 0;                // samples per second
  std::int64_t startOffset = 0;  // samples before recording time 0
  std::int64_t dataCount = 0;    // samples of the channel
  int epochSeconds = 0;
  int pageSeconds = 0;
  int currentPage = 0;
  int wholeEpochs = 0;         // epochs in the recording
};

// Samples [first, last] of the channel (indexes of the channel's data, offset included).
struct SeizureRange {
  std::int64_t first = 0;
  std::int64_t last = -1;
  std::int64_t Count() const { return last - first + 1; }
  // Recording time of the range's first sample.
  std::int64_t TimeBase(const SeizureChannel& ch) const { return first - ch.startOffset; }
};
// The whole recording (its whole epochs), or the current page and the first sample of the
// next (preview); never beyond the channel's last sample.
SeizureRange SeizureSearchRange(const SeizureChannel& ch, bool wholeRecording);

// Outcome of a scan.
enum class SeizureScanResult { Done, NothingLeftTheBand, WorkListFull };

// The scan of one buffer of physical values x, whose first sample is at recording time
// timeBase: marks the runs found into marks. Shows "A DetectLv value is too small." when
// the work list (x.size() / rate x 15 extremes) is full.
SeizureScanResult ScanSeizure(std::span<const float> x, std::int64_t timeBase, int rate,
                              const WaveDetectParamRecord& param, std::vector<std::uint8_t>& marks);

// Closes gaps of at most 19 bytes (1.9 s) between marked stretches.
void ChainSeizureMarks(std::vector<std::uint8_t>& marks);

// Reads count samples of the channel from its data index first into out (zero-filled by
// the caller); false on a read or memory failure.
using SeizureSampleReader = std::function<bool(std::int64_t first, std::int64_t count, float* out)>;

// FindSeizure: searches the range, scans it into the marks (which the caller has cleared)
// and chains them when asked. A failed read or allocation shows
// "CQLM2_AnalyzerDoc::FindSeizure" and skips the scan. A null reader searches nothing.
void FindSeizure(bool wholeRecording, const SeizureChannel& ch, const SeizureSampleReader& read, bool chain,
                 const WaveDetectParamRecord& param, std::vector<std::uint8_t>& marks);

// The state the Wave detect dialog keeps: copies of the settings and marks taken when it
// opens, so that Cancel undoes every preview and every change made since.
class WaveDetectSession {
 public:
  // Keeps copies of WaveDetectParam and SeizureMarks.
  void Open();
  // Puts the copies back.
  void Cancel();
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
  WaveDetectParamRecord keptParam_;
  std::vector<std::uint8_t> keptMarks_;
};
