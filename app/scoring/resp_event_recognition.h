#pragma once
// Respiratory event recognition over a whole recording: apneas and hypopneas from
// the representative values (one per 0.25 s) of air flow, chest and abdominal
// effort, each apnea classified as obstructive, mixed or central.
//
// The steps are plain functions over arrays (spans) so that the page view, the
// screening run and the tests share them; the class binds them to the epoch
// tables, the settings block and the recognition tables the document owns.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"

// What one run reads and writes; the document fills it from its own members.
struct RespRecognitionSources {
  const SleepDstrbParam* param = nullptr;
  const LyrEpochParameter* epochs = nullptr;
  SleepDstrbTables* tables = nullptr;
  int epochSeconds = 30;
  int epochCount = 0;                       // recording seconds / epoch seconds
  std::int32_t* recognisedWord = nullptr;   // the respiration-recognised word, or null
  tablemem::FailureReporter report = nullptr;  // shown by the window code; may be empty
};

// A value index of SleepDstrbParam::Respiration::values.
enum RespValue : int {
  kRespApneaLevel = 0,
  kRespHypopneaLevel = 1,
  kRespFullScale = 2,
  kRespPeakLevel = 3,
  kRespApneaMinS = 4,
  kRespHypopneaMinS = 5,
  kRespLagS = 6
};

class LyrRecgnizeSleepDisturbanceResp {
 public:
  // Flag codes of the flatness tables, and the two marking passes.
  static constexpr std::uint8_t kFlatApnea = 1;
  static constexpr std::uint8_t kFlatHypopnea = 2;
  enum Pass { kHypopneaPass = 0, kApneaPass = 1 };

  explicit LyrRecgnizeSleepDisturbanceResp(const RespRecognitionSources& src) : src_(src) {}

  // The whole run: peak and amplitude tables rewritten, flatness and event marks
  // added, the recognised word set. Missing inputs skip the run or the kind.
  void Recognize();

  // --- steps over arrays --------------------------------------------------------------

  // Seconds to points: integer part of seconds x R / epoch seconds (0 for a negative
  // or non-finite duration).
  static int SecondsToPoints(double seconds, int pointsPerEpoch, int epochSeconds);

  // Kind index 0..2 to its kind code (11, 12, 13), channel and peak detect level;
  // the code is -1 for another index.
  static int GetRespChannel(const SleepDstrbParam& p, int kindIndex, int* channel, double* peakLevel);
  // Full-scale amplitude of a kind index; 0.0 for any other index.
  static double GetFullScaleAmplitude(const SleepDstrbParam& p, int kindIndex);

  // Copies R values of every epoch into out (N = R x epochs); an epoch without
  // values leaves zeros. Returns false when no epoch has values.
  static bool CollectRepresentValues(const LyrEpochParameter& epochs, int slot, int pointsPerEpoch,
                                     std::span<float> out);

  // +1: the series first leaves the starting band upwards (scan seeks a top first),
  // -1: downwards, 0: it never leaves the band. The band is the mean of the first
  // min(n, 150) values +- level / 2.
  static int FindStartDirection(std::span<const float> values, double level);

  // Hysteresis peak detection; tops and bottoms alternate. Returns 1, or 0 when the
  // series never leaves the starting band (both lists empty).
  static int GetPeakForSleepDisturbance(std::span<const float> values, double level,
                                        std::vector<RespPeakEntry>* tops,
                                        std::vector<RespPeakEntry>* bottoms);

  // Tops and bottoms in alternation, beginning with the tops when the first top lies
  // strictly before the first bottom; stops when the list whose turn it is runs out.
  static std::vector<RespPeakEntry> MergePeaks(std::span<const RespPeakEntry> tops,
                                               std::span<const RespPeakEntry> bottoms);
  // One entry per consecutive pair of merged peaks: the later index and |difference|.
  static std::vector<RespPeakEntry> PeakToPeakAmplitudes(std::span<const RespPeakEntry> tops,
                                                         std::span<const RespPeakEntry> bottoms);

  // Envelope through the peaks: flat before the first and after the last peak,
  // linear between them. Without peaks the envelope is 0 (so a channel that never
  // leaves its starting band counts as flat).
  static void BuildEnvelope(std::span<const RespPeakEntry> peaks, std::span<float> out);

  // Zeroes the amplitude inside every stretch between consecutive peaks longer than
  // 2 x margin + gap points, keeping margin points at both ends.
  static void ClearPeaklessGaps(std::span<const RespPeakEntry> tops, std::span<const RespPeakEntry> bottoms,
                                int gapPoints, int marginPoints, std::span<float> amplitude);

  // Writes code into flags over every run of points whose amplitude is below the
  // threshold and which is at least minRun points long (also one reaching the end).
  static void MarkFlatRuns(std::span<const float> amplitude, float threshold, int minRun,
                           std::uint8_t code, std::span<std::uint8_t> flags);

  // Where any present amplitude series holds exactly 2.0, all present series get 2.0.
  static void AlignAmplitudeMarkers(std::array<std::span<float>, 3> amplitudes);

  // 1 effort flat through the end of the event (within lag points of it) for at
  // least half of it, 2 flat at the start for at least a quarter, 0 effort present.
  static int JudgeEffortFlatness(std::span<const std::uint8_t> effort, int p, int q, int lagPoints,
                                 int minFlatRun);

  // Effort settings of one classification: the effort flatness table (empty when
  // not allocated) and its minimum flat run in points.
  struct Effort {
    std::span<const std::uint8_t> flags;
    int minFlatRun = 0;
    bool Present() const { return !flags.empty(); }
  };
  // Event code of an apnea from the effort judgements (abdomen A, chest C; -1 for an
  // absent channel).
  static std::uint8_t ApneaClass(int abdomen, int chest);
  // Turns the air-flow flatness marks of one pass into events.
  static void ClassifyRespEvents(Pass pass, std::span<const std::uint8_t> airFlow, int minEvent,
                                 int lagPoints, const Effort& abdomen, const Effort& chest,
                                 std::span<std::uint8_t> events);

 private:
  void Run();
  void Report(const char* method) const;

  RespRecognitionSources src_;
};
