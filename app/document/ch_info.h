#pragma once
// The document's per-channel record and the record of the open recording.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Calibration entry of one channel as the raw reader takes it.
struct ChCalibrationEntry {
  std::uint16_t channel = 0;
  std::array<std::uint8_t, 6> reserved{};
  double fullScale = 0.0;
  std::uint16_t calibrated = 0;
  std::uint16_t topSample = 0;
  std::uint16_t bottomSample = 0;
  double topValue = 0.0;
  double bottomValue = 0.0;
};

// One channel: texts, sampling, calibration, processing and display settings.
// The document holds 32 of them; the first channel-count describe the open recording.
class LyrChInfo {
 public:
  LyrChInfo();
  virtual ~LyrChInfo() = default;
  LyrChInfo(const LyrChInfo&) = default;
  LyrChInfo& operator=(const LyrChInfo&) = default;

  // Resets every processing and display setting (colour onwards) to its default, sets the start
  // offset to 0 and frees the read positions. Texts, rate, calibration, units per cm and data
  // count stay.
  void SetDefault();
  // Replaces the read positions by n zero entries. Returns false, with no positions, when the
  // memory cannot be had (the caller reports "LyrChInfo::GetReadX").
  bool GetReadX(int n);

  std::uint32_t reserved = 0;
  std::string name;
  std::string unit;
  std::int32_t rate = 0;                 // samples per second
  ChCalibrationEntry calibration;
  double unitsPerCm = 100.0;
  std::uint32_t dataCount = 0;
  std::int32_t startOffset = 0;          // samples added to every read position
  std::int32_t readCount = 0;
  std::vector<std::int32_t> readX;       // x read positions of the raw wave drawing
  std::uint32_t colour = 0;
  std::int32_t smoothingCount = 1;       // 1 or less: none
  std::int32_t filterKind = 0;           // 0 FIR, else IIR
  std::uint16_t filterMode = 4;          // 0 LP, 1 HP, 2 BP, 3 BS, 4 none
  double cut1Hz = 0.2;
  double cut2Hz = 20.0;
  std::int32_t notch = 0;
  double lineFrequencyHz = 50.0;
  std::uint16_t baseLine = 0;
  std::uint16_t invert = 0;
  std::uint16_t show = 1;
  double gain = 1.0;
  std::int32_t displayInvert = 0;        // not stored in the settings file
  std::uint16_t scaleMode = 1;
  double scaleValue = 50.0;
  std::array<std::uint16_t, 7> displayTypeWords{1, 0, 0, 0, 0, 1, 1};
  std::array<std::uint8_t, 144> displayTypeData{};  // six named ranges of 24 bytes

  // The named value ranges of the display type: label count (word 6, at most six) ranges of an
  // 8-character label and a lower and an upper bound.
  static constexpr int kNamedRanges = 6;
  struct NamedRange {
    std::string label;
    double low = 0.0;
    double high = 0.0;
  };
  NamedRange GetNamedRange(int index) const;
  void SetNamedRange(int index, const NamedRange& range);
  int NamedRangeCount() const;
  // Label of the first named range with low <= v < high; empty when none holds v.
  std::string LevelLabelOf(double v) const;
};

// The open recording as a whole, with the five page buffers it owns.
class LyrRecordInfo {
 public:
  static constexpr int kPageBufferCount = 5;
  struct FreeCommentItem { std::string label; std::string text; };  // 20 and 30 characters

  LyrRecordInfo() = default;
  virtual ~LyrRecordInfo() = default;

  std::string path;                      // empty when no recording is open
  std::int32_t channelCount = 0;         // 0 .. 32
  std::int32_t sourceKind = 2;           // 0 own raw, 1 analysis file, 2 none, 3 plug-in
  std::string subjectName;               // at most 20 characters
  std::int16_t gender = -1;              // 0 male, 1 female, other not given
  std::int32_t ageYears = 0;
  std::int32_t ageMonths = 0;
  std::string memo;                      // at most 60 characters
  std::array<FreeCommentItem, 10> freeComments;
  std::uint16_t dataType = 0;
  std::uint16_t startTimeValid = 0;
  std::array<std::uint16_t, 7> startDateTime{2000, 1, 1, 0, 0, 0, 0};
  std::uint32_t startTimeOfDayMs = 0;
  // Page buffers; the allocated length of each is its size.
  std::array<std::vector<float>, kPageBufferCount> pageBuffers;
};

// The settings part of a channel record as the settings file stores it: 240 bytes, field for
// field in the record's order with zero padding. The display invert flag is not stored.
constexpr std::size_t kChannelSettingsSize = 240;
void StoreChannelSettings(const LyrChInfo& ch, std::uint8_t* record);
// Takes every stored field back; padding places are not read, the display invert flag
// becomes 0 and the non-stored fields stay.
void LoadChannelSettings(const std::uint8_t* record, LyrChInfo& ch);
