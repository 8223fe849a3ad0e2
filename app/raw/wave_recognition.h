#pragma once
// Wave-form recognition of the raw page: the band-wave detector (Delta, Theta, Alpha,
// Spindle and the three free bands), the table of recognised waves and the driver that
// offers each channel of a row to the detectors of the wave types it is set up for.
//
// The recognition works on one row's page samples of one channel at a time and is
// told what it needs of the document, the frame and the drawing through
// WaveRecognitionContext, so the page drawing, the screening run and the tests call
// the same code. With a null device context nothing is drawn.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_record.h"
#include "app/document/table_memory.h"
#include "platform/draw/gdi.h"
#include "platform/draw/geometry.h"

class LyrEpochParameter;
namespace draw {
class Dc;
}

// Wave types, as passed to the detectors and stored with every recognised wave.
enum WaveType : int {
  kWaveTypeNone = 0,
  kWaveTypeDelta = 1,
  kWaveTypeTheta = 2,
  kWaveTypeAlpha = 3,
  kWaveTypeSpindle = 4,
  kWaveTypeBand1 = 5,
  kWaveTypeBand2 = 6,
  kWaveTypeBand3 = 7,
  kWaveTypeKComplex = 8,
  kWaveTypeEogRight = 9,
  kWaveTypeEogLeft = 10,
  kWaveTypeCount = 10
};

// One extremum found on the page (16 bytes).
struct WaveExtremum {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t index = -1;  // position in the row's page buffer of the channel
  float value = 0.0f;
};
static_assert(sizeof(WaveExtremum) == 16);

// One recognised wave (44 bytes), as the recognised-wave list reads it.
struct RecognizedWaveRecord {
  std::int16_t type = 0;  // WaveType; 0 = free slot
  std::uint8_t reserved[2] = {0, 0};
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;  // page coordinates, normalised
  std::int32_t halfWaves = 0;
  std::int32_t startSample = 0;  // sample position in the recording
  float durationMs = 0.0f;
  float meanAmplitude = 0.0f;
  float meanFrequencyHz = 0.0f;
  float frequencyVariance = 0.0f;  // the largest float when not computable
};
static_assert(sizeof(RecognizedWaveRecord) == 44);

// Per-epoch band statistics have the layout of the record's band slots.
using BandWaveEpochStats = LyrWaveStats;

// The recognised waves of one page drawing. The capacity is the limit that the page's
// set-up allows; memory is taken only for the waves actually found and kept from one
// page to the next, so a long page does not cost its worst case at every drawing.
class RecognizedWaveTable {
 public:
  // Empties the table and sets its capacity in records (storage is kept).
  void Reset(std::size_t capacity);
  // Empties the table and gives its memory back.
  void Free();
  // Takes the first free slot; false when the table is full or memory runs out.
  bool Add(const RecognizedWaveRecord& record);
  std::size_t Capacity() const { return capacity_; }
  std::size_t Count() const { return records_.size(); }
  std::span<const RecognizedWaveRecord> Records() const { return records_; }
  // Records whose frame holds the point (the waves under the mouse), in table order.
  std::vector<RecognizedWaveRecord> At(draw::Point p) const;

 private:
  std::vector<RecognizedWaveRecord> records_;
  std::size_t capacity_ = 0;
};

// Maps a sample index of the channel's page buffer to its point on the page (the wave
// painter's point mapping); returns 0 on success.
using PagePointMap = std::function<int(int index, draw::Point* point)>;

// One channel of the row being recognised.
struct WaveChannelPage {
  std::span<const float> samples;  // the channel's samples in the row's page buffer
  int rate = 0;                    // samples per second
  bool enabled = true;             // the channel's enable flag
  PagePointMap map;                // empty: waves get no points, nothing is drawn
};

// Where the screen geometry of the eye-movement thresholds comes from.
struct EyeScreenGeometry {
  int screenWidthPx = 0;       // pixels across the screen
  double screenWidthMm = 360;  // the screen width setting
  double pixelsPerCmX = 0;     // of the output device (the screen's when drawing on it)
};
// The geometry of the screen (the fixed virtual screen in tests) and the setting.
EyeScreenGeometry ScreenEyeGeometry();

// What the recognition of one row needs of the program.
struct WaveRecognitionContext {
  const WaveFormRecognitionParam* param = nullptr;
  int channelCount = 0;
  int epochSeconds = 30;
  int pageSeconds = 30;
  long long pageStartSecond = 0;  // the row's page start, seconds from the recording start
  int recordingEpochs = 0;        // epoch count of the recording
  bool currentPageRow = false;    // the row shows the current page (row index 2)
  bool screening = false;         // ScreeningRunning == 1
  bool drawWhileScreening = false;
  int printTarget = 0;            // 0 screen
  bool printInColor = true;
  int printOffsetX = 0;           // shift of frames when printing
  draw::Dc* dc = nullptr;
  // The frame's per-epoch records of the page (index = epoch position in the page).
  std::span<LyrEpochRec> frameRecords;
  // The document's per-epoch tables (written while screening); may be null.
  LyrEpochParameter* document = nullptr;
  EyeScreenGeometry eyeGeometry;

  int EpochsPerPage() const;
  int FirstEpoch() const;
  // Marks may be drawn: not screening, or drawing while screening is on.
  bool DrawAllowed() const { return dc && (!screening || drawWhileScreening); }
  bool OnScreen() const { return printTarget == 0; }
  // The record of an epoch position in the frame's page array, or null.
  LyrEpochRec* FrameRecord(int e) const;
  // The document's record of an epoch position, only while screening, or null.
  LyrEpochRec* DocumentRecord(int e) const;
};

// Reads the program-wide settings that the context mirrors (epoch and page length,
// screening state, output target, screen geometry). The caller adds the rest.
WaveRecognitionContext ContextFromProgramSettings();

// The band-pass of the high precision: the library's FIR design (band-pass from the
// band's frequency minimum to maximum, attenuation 22 dB, 20 taps) applied to one
// epoch. A direct convolution of the 20 taps gives the library's FFT convolution's
// result, output delayed by 10 samples, at a fraction of its cost. False when the design
// cannot be made.
bool BandPassEpoch(double lowHz, double highHz, int rate, std::span<const float> in, std::span<float> out);

// Area of the straight chord between (i0, y0) and (i1, y1) about the line r, in value x ms.
double ChordArea(int i0, double y0, int i1, double y1, double msPerSample, double r);

// The recognition state of one raw view: the table of recognised waves, the run state
// of the band detector and the eye-movement buffers of the page being drawn.
class RawPageRecognition {
 public:
  RawPageRecognition();
  ~RawPageRecognition();
  RawPageRecognition(const RawPageRecognition&) = delete;
  RawPageRecognition& operator=(const RawPageRecognition&) = delete;

  // Where failures are reported. They are reported once per page; while screening,
  // once per run (see BeginRun).
  void SetFailureReporter(tablemem::FailureReporter reporter) { report_ = std::move(reporter); }
  // Starts a screening run: the next failure is reported again.
  void BeginRun() { reported_ = false; }
  // Reports a failure of the page's other passes (the sleep-disturbance values) under
  // the same once-per-page rule.
  void ReportOnce(const std::string& text) { Report(text); }

  // Once per page before the channels: sizes the recognised-wave table for the page.
  // Returns 1 when the table can take waves, else 0.
  int GetWFRAnaAlloc(const WaveRecognitionContext& ctx);
  // For every channel of the row after its wave is drawn: runs every detector whose
  // recognition channel is this channel, in the order Delta .. Band3, K-complex,
  // EOG(R), EOG(L), EMG.
  void WaveFormRecognitionTransaction(const WaveRecognitionContext& ctx, int channel,
                                      const WaveChannelPage& page);

  // A whole row without drawing its waves, as screening runs it: the table for the
  // page, every channel (index = channel number) and the eye-movement counts.
  void RecognizeRow(const WaveRecognitionContext& ctx, std::span<const WaveChannelPage> channels);

  // Band detector for wave types 1..7.
  void RecognizeBandWave(const WaveRecognitionContext& ctx, int type, int channel, const WaveChannelPage& page,
                         const BandWaveRecord& band, draw::ColorRef colour);
  // K-complex detector (type 8) and its test of one candidate (1 accepted and recorded).
  void RecognizeKComplex(const WaveRecognitionContext& ctx, int channel, const WaveChannelPage& page,
                         const KComplexRecord& rec, draw::ColorRef colour);
  // Eye movements of one side (type 9 or 10).
  void RecognizeEyeMovement(const WaveRecognitionContext& ctx, int type, int channel, const WaveChannelPage& page,
                            const EogRecord& rec);
  // EMG level of every epoch of the current page row.
  void CalcEMGEpochLevel(const WaveRecognitionContext& ctx, int channel, const WaveChannelPage& page);
  // Once per page after all channels: counts the eye movements per epoch, stores the
  // counts (current page row) and frees both eye-movement buffers.
  void CountEyeMovements(const WaveRecognitionContext& ctx);

  RecognizedWaveTable& Table() { return table_; }
  const RecognizedWaveTable& Table() const { return table_; }

  // An eye-movement point (20 bytes): direction 1 rising, -1 falling.
  struct EyeMovementPoint {
    std::int16_t direction = 0;
    std::uint8_t reserved[2] = {0, 0};
    std::int32_t x = 0, y = 0;
    std::int32_t index = -1;
    float value = 0.0f;
  };
  // The movements one side found on the page: start and end entries, epoch by epoch.
  struct EyeMovementBuffer {
    bool made = false;
    std::vector<EyeMovementPoint> points;  // pairs: start, end
    std::vector<std::int32_t> epochFirst;  // first point of epoch e; epochFirst[n] = end
    int Movements(int e) const;
    const EyeMovementPoint* Movement(int e, int m) const;
  };
  const EyeMovementBuffer& EyeBuffer(int type) const { return type == kWaveTypeEogRight ? eyeRight_ : eyeLeft_; }

 private:
  struct BandRun;
  void CheckBandWaveRun(const WaveRecognitionContext& ctx, BandRun& run, int final);
  int CheckKComplex(const WaveRecognitionContext& ctx, int channel, const WaveChannelPage& page,
                    const KComplexRecord& rec, draw::ColorRef colour, const WaveExtremum* e,
                    LyrKComplexStats& stats);
  int CheckEyeMovement(const WaveRecognitionContext& ctx, int type, const WaveChannelPage& page, const EogRecord& rec,
                       const EyeMovementPoint& start, const EyeMovementPoint& end);
  void DrawFrame(const WaveRecognitionContext& ctx, draw::ColorRef colour, const draw::Rect& r);
  void DrawTick(const WaveRecognitionContext& ctx, draw::ColorRef colour, int x, int y);
  void Report(const std::string& text);

  RecognizedWaveTable table_;
  int halfWaves_ = 0;  // half-wave counter of the band run
  std::vector<WaveExtremum> extrema_;   // one epoch's extrema, kept between calls
  std::vector<float> work_;             // filtered or smoothed epoch samples
  EyeMovementBuffer eyeRight_, eyeLeft_;
  tablemem::FailureReporter report_;
  bool reported_ = false;
};
