#pragma once
// The document's analysis parameter blocks. Each block is stored (settings file, templates,
// result files) as its exact little-endian byte image of kSize bytes: Store writes every
// field at its offset and zero into the bytes that carry nothing; Load takes every field
// back. Texts are UTF-8 in memory and zero-terminated in fixed fields when stored.
//
// Reset operations take a 16-bit mode: 0 writes the defaults; any other value only repairs
// the channel references against the open recording's channel count (as stated per block).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// ---- Stage types --------------------------------------------------------------------------

struct StageRecord {
  static constexpr std::size_t kSize = 24;
  std::string name;               // short display name, char[4]
  std::uint32_t colour = 0;       // COLORREF
  std::uint16_t lineWeight = 1;   // 1 .. 10
  std::uint32_t showInHypnogram = 1;
  std::uint16_t showOrder = 1;    // 1 .. 10
  std::uint16_t lineBetweenStages = 0;
  std::uint32_t key = 0;          // 2000 + digit key 0 .. 9

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

struct StageTypeParam {
  static constexpr std::size_t kSize = 608;
  static constexpr int kSetCount = 4;
  static constexpr std::array<int, kSetCount> kSetSize{7, 6, 5, 4};
  static constexpr std::array<int, kSetCount> kSetFirst{0, 7, 13, 18};
  static constexpr int kFreeStageCount = 3;

  std::uint16_t stageType = 3;                 // 0 .. 3, selects the record set
  std::array<StageRecord, 22> records;         // sets 0 .. 3 one after the other
  std::uint16_t sharedInUse = 0;               // 0 .. 3 free stages F1 .. F3 in use
  std::array<StageRecord, kFreeStageCount> shared;

  std::span<StageRecord> Set(int k) { return {records.data() + kSetFirst[k], std::size_t(kSetSize[k])}; }
  std::span<const StageRecord> Set(int k) const {
    return {records.data() + kSetFirst[k], std::size_t(kSetSize[k])};
  }

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
  // Brings counts read from a file back into their ranges.
  void Sanitize();
};

// ---- Per-channel display blocks ----------------------------------------------------------------

struct ChDispScaleParam {
  static constexpr std::size_t kSize = 256;
  struct Entry { std::uint32_t word = 0; float value = 1000.0f; };
  std::array<Entry, 32> entries;
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

struct ChDispModeParam {
  static constexpr std::size_t kSize = 256;
  struct Entry { std::uint32_t mode = 2; std::uint32_t value = 0; };
  std::array<Entry, 32> entries;
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// ---- Spectra ----------------------------------------------------------------------------------

struct FrequencyBand {
  static constexpr std::size_t kSize = 32;
  std::string name;  // char[16]
  double fromHz = 0.0;
  double toHz = 0.0;
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// Per-epoch band analysis of the EEG.
struct FFTBandParam {
  static constexpr std::size_t kSize = 288;
  std::array<std::uint16_t, 32> channelSwitch{};  // FFT on per channel
  std::uint16_t averagingCount = 1;               // 1 .. 100
  std::uint32_t fftPoints = 64;
  std::uint16_t windowType = 2;
  std::uint16_t unit = 0;                         // 0 power, 1 amplitude
  std::uint16_t bandCount = 3;                    // 1 .. 6
  std::array<FrequencyBand, 6> bands;
  std::uint16_t contentRange = 0;                 // 0 all bands, 1 the optional band
  float optionalFromHz = 0.25f;
  float optionalToHz = 13.0f;

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
  void Sanitize();
};

// Page, divided-page and simple spectra.
struct FFTPageParam {
  static constexpr std::size_t kSize = 280;
  std::uint16_t simpleAveraging = 1;
  std::uint32_t simpleFftPoints = 512;
  float simpleUpperHz = 20.0f;
  std::uint16_t epochAveraging = 5;
  std::uint32_t epochFftPoints = 256;
  float epochUpperHz = 20.0f;
  std::uint16_t dividedPerEpoch = 1;
  std::uint16_t dividedCount = 0;
  std::uint16_t dividedAveraging = 5;
  std::uint32_t dividedFftPoints = 256;
  float dividedUpperHz = 20.0f;
  std::uint16_t dividedShowValues = 0;
  std::uint16_t windowType = 2;
  std::uint16_t unit = 0;
  std::uint16_t bandCount = 3;
  std::array<FrequencyBand, 6> bands;
  std::array<std::uint32_t, 6> bandColours{};
  std::uint32_t outsideColour = 0xAAAAAA;
  std::uint16_t showContent = 0;
  std::uint16_t contentMode = 0;
  float contentFromHz = 0.75f;
  float contentToHz = 10.0f;

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
  void Sanitize();
};

// Per-channel display values of the page spectrum.
struct FFTPageChannelValues {
  static constexpr std::size_t kSize = 260;
  std::uint16_t word = 0;
  std::array<float, 32> lower{};
  std::array<float, 32> upper{};
  FFTPageChannelValues() { lower.fill(50.0f); upper.fill(500.0f); }
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// Channel selection flags of the epoch spectra.
struct FFTPageSelection {
  static constexpr std::size_t kSize = 64;
  std::array<std::uint16_t, 32> flags{};
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// The three channels of the divided-page spectra, -1 = none.
struct FFTPageChannels {
  static constexpr std::size_t kSize = 12;
  std::array<std::int32_t, 3> channels{-1, -1, -1};
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// ---- Sleep disturbance ------------------------------------------------------------------------

struct SleepDstrbParam {
  static constexpr std::size_t kSize = 696;
  static constexpr std::uint16_t kCurrentVersion = 2;
  // Air flow, chest and abdomen: channel, then apnea level %, hypopnea level %, 100 % amplitude,
  // peak detect level, apnea minimum s, hypopnea minimum s, and a seventh value (air flow: lag s).
  struct Respiration { std::int32_t channel = -1; std::array<double, 7> values{}; };
  // Snore, leg movement left/right and arousal: peak detect level, minimum s, maximum s.
  struct PeakEvent { std::int32_t channel = -1; std::array<double, 3> values{}; };
  struct Position {
    static constexpr std::size_t kSize = 32;
    std::string name;  // char[16]
    double from = 0.0;
    double to = 0.0;
  };

  std::uint16_t version = kCurrentVersion;
  std::array<std::uint32_t, 8> eventColours{};
  Respiration airFlow, chest, abdomen;
  std::int32_t spo2Channel = -1;
  std::uint16_t spo2Show = 1;
  double spo2ShowLevel = 90.0;
  std::int32_t cpapChannel = -1;
  PeakEvent snore, legLeft, legRight;
  double plmShortestS = 5.0;
  double plmLongestS = 90.0;
  std::int32_t lmLeastCount = 4;
  std::int32_t ecgChannel = -1;
  double ecgPeakLevel = 50.0;
  double rWaveInvalidMs = 400.0;
  double ecgAmplitudeMax = 100.0;
  std::uint16_t ecgShowPeak = 1;
  std::uint16_t lfhfTimeS = 60;
  std::uint16_t lfhfPointsIndex = 0;
  std::uint16_t lfhfAveraging = 0xFFFF;
  std::uint16_t lfhfWindow = 2;
  std::uint16_t lfhfUnit = 0;
  std::array<double, 4> lfhfBands{};  // LF from, LF to, HF from, HF to
  std::int32_t positionChannel = -1;
  std::int32_t positionsInUse = 5;    // 1 .. 6
  std::array<Position, 6> positions;
  PeakEvent arousal;
  std::uint16_t arousalThreshold = 0;
  std::uint16_t arousalShowPeak = 1;

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
  void Sanitize();
};

// ---- Wave-form recognition --------------------------------------------------------------------

struct BandWaveRecord {
  static constexpr std::size_t kSize = 80;
  std::string name;  // char[12]
  std::int32_t channel = -1;
  std::uint16_t show = 1;
  std::uint32_t colour = 0;
  double amplitudeMin = 0, amplitudeMax = 0, frequencyMinHz = 0, frequencyMaxHz = 0;
  double peakDetectLevel = 0;
  std::int32_t halfWaveCount = 0;
  std::uint16_t showPeak = 0;
  std::uint16_t emgCancel = 0;
  double emgCancelLevel = 3.5;
};

struct KComplexRecord {
  static constexpr std::size_t kSize = 72;
  std::string name;
  std::int32_t channel = -1;
  std::uint16_t show = 1;
  std::uint32_t colour = 0x008080;
  double amplitudeMin = 100.0, amplitudeMax = 350.0, durationMinMs = 500.0, durationMaxMs = 4000.0;
  double peakDetectLevel = 60.0;
  std::uint16_t showPeak = 0;
};

struct EogRecord {
  static constexpr std::size_t kSize = 64;
  std::string name;
  std::int32_t channel = -1;
  std::uint16_t show = 1;
  std::uint32_t colour = 0;
  double amplitudeMin = 25.0, detectAngle = 40.0, durationMinMs = 40.0, durationMaxMs = 2000.0;
  std::uint16_t showPeak = 0;
};

struct WaveFormRecognitionParam {
  static constexpr std::size_t kSize = 784;
  static constexpr std::uint16_t kCurrentVersion = 1;
  enum Band { kDelta, kAlpha, kTheta, kSpindle, kBand1, kBand2, kBand3 };

  std::uint16_t version = kCurrentVersion;
  std::uint16_t precision = 1;  // 0 high, 1 normal
  std::array<BandWaveRecord, 7> bands;
  KComplexRecord kComplex;
  EogRecord eogRight, eogLeft;
  std::string emgName;          // char[12]
  std::int32_t emgChannel = -1;

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// ---- Logic scoring ----------------------------------------------------------------------------

struct LogicTerm {
  float lower = 0.0f;
  std::uint16_t lowerOp = 0;   // 0 "<", 1 "<="
  std::uint16_t valueCode = 0;
  std::uint16_t channel = 0;
  std::uint16_t upperOp = 0;   // 2 "<", 3 "<="
  float upper = 0.0f;
};

struct LogicCondition {
  static constexpr std::size_t kSize = 44;
  std::uint16_t mark = 2;
  LogicTerm term1;
  std::uint16_t andSwitch = 0;
  LogicTerm term2;
  std::uint8_t stage = 0;      // 255 = previous epoch's stage; 0 ends the list

  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

struct LogicParam {
  static constexpr std::size_t kSize = 3520;
  static constexpr int kConditionsPerSet = 20;
  std::array<std::array<LogicCondition, kConditionsPerSet>, 4> sets;
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

struct LogicOptionParam {
  static constexpr std::size_t kSize = 24;
  std::uint16_t lastStageMode = 0;  // 0 no, 1 R&K rules, 2 stage change
  std::uint16_t remSpindleRule = 1;
  float remEmgLevel = 100.0f;
  std::uint16_t ceaseWithRemRule = 1;
  std::uint16_t threeMinuteRule = 1;
  std::uint16_t wakeNeighbourRule = 1;
  std::uint8_t stageA = 1;
  std::uint8_t stageB = 2;
  std::uint8_t byte22 = 1;          // stored and kept, read by nothing
  std::uint8_t stageC = 1;
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// ---- Marks and option words -------------------------------------------------------------------

struct MarkTypeParam {
  static constexpr std::size_t kSize = 524;
  struct Item {
    static constexpr std::size_t kSize = 52;
    std::uint16_t triggerDetect = 0;
    std::string name;               // char[30]
    std::uint16_t show = 1;
    std::uint32_t colour = 0;
    std::int16_t triggerChannel = -1;
    std::uint16_t direction = 0;    // 0 up->down, 1 down->up
    float triggerLevel = 0.0f;
    float invalidTimeS = 0.0f;
  };
  std::uint16_t triggerCount = 0;
  std::array<Item, 10> items;
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
  void Sanitize();
};

struct DocumentOptionWords {
  static constexpr std::size_t kSize = 32;
  std::uint16_t first = 1;
  std::array<std::uint8_t, 6> gap{};
  std::uint16_t second = 1;
  std::uint16_t third = 1;
  std::uint16_t fourth = 2;
  std::array<std::uint8_t, 18> rest{};  // not set by the defaults, stored and kept
  void Store(std::span<std::uint8_t, kSize> b) const;
  void Load(std::span<const std::uint8_t, kSize> b);
};

// ---- The document's set ----------------------------------------------------------------------

struct AnalysisParamBlocks {
  StageTypeParam stageType;
  ChDispScaleParam chDispScale;
  ChDispModeParam chDispMode;
  FFTBandParam fftBand;
  SleepDstrbParam sleepDstrb;
  WaveFormRecognitionParam waveForm;
  LogicParam logic;
  LogicOptionParam logicOption;
  FFTPageParam fftPage;
  FFTPageChannelValues fftPageChannelValues;
  FFTPageSelection fftPageSelection;
  FFTPageChannels fftPageChannels;
  MarkTypeParam markType;
  DocumentOptionWords optionWords;
};

// FFT size of the LF/HF point setting: 64 << n for n 0..6, 512 for any other value.
inline int LfHfFftPoints(unsigned setting) { return setting <= 6 ? (64 << setting) : 512; }

// Resets. `channelCount` is the open recording's channel count, used by the repair modes.
void SetDefaultStageTypeParam(StageTypeParam* block);
void SetDefaultChDispScale(ChDispScaleParam* block);
void SetDefaultChDispMode(ChDispModeParam* block);
void SetDefaultFFTBandParam(std::uint16_t mode, FFTBandParam* block, int channelCount);
void SetDefaultSleepDstrbParam(std::uint16_t mode, SleepDstrbParam* block, int channelCount);
void SetDefaultWaveFormRecognitionParam(std::uint16_t mode, WaveFormRecognitionParam* block, int channelCount);
void SetDefaultLogicParam(LogicParam* block);
void SetDefaultLogicOption(LogicOptionParam* block);
void SetDefaultMarkTypeParam(std::uint16_t mode, MarkTypeParam* block, int channelCount);
void SetDefaultOptionWords(DocumentOptionWords* block);
// The page spectrum settings. Mode 0 writes the defaults of FFTPageParam (its divided-page count
// is `epochsPerPage`); mode 1 does the same and also resets the spectrum state kept with it
// (selection flags cleared, divided-page channels -1, per-channel display values 50 and 500);
// any other mode repairs the divided-page channels and selection flags against the channel
// count and the channels' sampling rates (`rates`, one per channel of the recording).
void SetDefaultFFTPageParam(std::uint16_t mode, AnalysisParamBlocks* blocks, int epochsPerPage,
                            std::span<const std::int32_t> rates);

// Brings the stage keys of the active set and of the free stages in use up to date (keys of the
// older form 61446 + n become 2000 + n) and returns, per digit key 0 .. 9, the short name of the
// stage it scores: empty when the key scores none and its key window is disabled.
std::array<std::string, 10> CheckStageTypeParam(StageTypeParam* block);

// Every block to its defaults, in the start-up order (the page spectrum with mode 1).
void SetDefaultAllBlocks(AnalysisParamBlocks* blocks, int epochsPerPage);
