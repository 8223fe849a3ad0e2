#pragma once
// LyrMultiScreeningSetting: everything a multi-screening batch needs. The Multi-screening
// window owns one record, its dialogs edit it in place and the engine reads it by reference.
//
// It persists in two files sharing one body: the settings file "QX_MultiSCR.RSM" beside the
// program (a header with the last listed recording, the plug-in and setting-file paths, then
// the body), and the user's setting files ".mss" (the body alone). A read is taken over only
// when the whole file was read and every count fitted; a write goes beside the file and is
// renamed into place, so a failure leaves both the record and the old file as they were.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Attribute codes of a channel position within an animal.
enum MultiScreeningAttribute : std::uint16_t { kMsEeg = 0, kMsEmg = 1, kMsLocomotion = 2, kMsNoAttribute = 3 };

// Bound kinds of a term: the value itself, or found from the animal's recording.
enum MultiScreeningBoundKind : std::uint16_t {
  kMsBoundValue = 0, kMsBoundAuto = 1, kMsBoundMax = 2, kMsBoundMin = 3, kMsBoundMean = 4, kMsBoundMedian = 5
};

// A date-time of 8 u16: year, month, day of week, day, hour, minute, second, millisecond.
using MsDateTime = std::array<std::uint16_t, 8>;

struct MultiScreeningChannelAttribute {
  std::uint16_t Attribute = kMsNoAttribute;
  std::uint16_t LevelMode = 0;  // 0: a Locomotion cross level is found from the first hour
  float Level = 0.0f;           // the cross level entered by the user
  friend bool operator==(const MultiScreeningChannelAttribute&, const MultiScreeningChannelAttribute&) = default;
};

struct MultiScreeningChannelFilter {
  std::uint32_t BaseOffset = 0;  // non-zero: each block's mean is taken off the channel
  std::uint16_t FilterType = 0;  // 0 none, 1 LPF, 2 HPF, 3 BPF, 4 BSF
  float Cutoff1 = 10.0f;         // Hz
  float Cutoff2 = 50.0f;         // Hz, BPF and BSF
  std::uint32_t NotchOn = 0;
  float NotchFrequency = 50.0f;  // 50 or 60 Hz
  friend bool operator==(const MultiScreeningChannelFilter&, const MultiScreeningChannelFilter&) = default;
};

struct MultiScreeningTerm {
  std::uint16_t LowerKind = kMsBoundValue;
  float LowerValue = 0.0f;
  std::uint32_t LowerExclusive = 0;
  std::uint16_t Parameter = 0;     // 13 .. 32
  std::uint16_t ChannelKind = 0;   // an attribute code
  std::uint16_t ChannelNumber = 0; // 0-based among the animal's channels of that attribute
  std::uint32_t UpperExclusive = 0;
  std::uint16_t UpperKind = kMsBoundValue;
  float UpperValue = 0.0f;
  friend bool operator==(const MultiScreeningTerm&, const MultiScreeningTerm&) = default;
};

struct MultiScreeningCondition {
  std::uint8_t Stage = 0;  // stage code given when the condition holds; 0 ends the list
  MultiScreeningTerm First;
  MultiScreeningTerm Second;
  std::uint32_t UseSecond = 0;  // non-zero: both terms must hold
  friend bool operator==(const MultiScreeningCondition&, const MultiScreeningCondition&) = default;
};

struct MultiScreeningBand {
  std::string Name;  // at most 9 characters
  float From = 0.0f;
  float To = 0.0f;
  friend bool operator==(const MultiScreeningBand&, const MultiScreeningBand&) = default;
};

// Byte sizes of the stored forms.
inline constexpr std::size_t kMsPathField = 260;
inline constexpr std::size_t kMsMaxPathBytes = kMsPathField - 1;
inline constexpr std::size_t kMsHeaderSize = 8 + 2 + 3 * kMsPathField + 4;  // 794
inline constexpr std::size_t kMsBodyFixedSize = 380;
inline constexpr std::size_t kMsPositionSize = 32;   // 10 + 22
inline constexpr std::size_t kMsBandSize = 18;
inline constexpr std::size_t kMsConditionSize = 57;
inline constexpr std::size_t kMsTermSize = 26;
inline constexpr int kMsMaxPositions = 32;
inline constexpr int kMsMaxBands = 6;
inline constexpr int kMsMaxConditions = 20;
static_assert(kMsHeaderSize == 794);
static_assert(kMsConditionSize == 1 + 2 * kMsTermSize + 4);

// String-table texts of the settings files.
inline constexpr std::uint32_t kIdsMsCannotOpen = 61401;        // "Cannot open this file."
inline constexpr std::uint32_t kIdsMsVersionDifferent = 61402;  // "...The version is different."
inline constexpr std::uint32_t kIdsMsFailerToMakeFile = 61403;  // "Failer to make file."
inline constexpr std::uint32_t kIdsMsFailerToReadData = 62350;  // "Failer to read data."
inline constexpr std::uint32_t kIdsMsFailToWriteData = 62351;   // "Fail to write data."
inline constexpr std::uint32_t kIdsMsPathTooLong = 62352;       // a path longer than its field

class LyrMultiScreeningSetting {
 public:
  // Loads the settings file beside the program; without one (or when it cannot be read)
  // the record holds the defaults, and a missing file is written at once.
  LyrMultiScreeningSetting();
  // A record with the defaults, touching no file.
  struct NoFile {};
  explicit LyrMultiScreeningSetting(NoFile);
  virtual ~LyrMultiScreeningSetting() = default;
  LyrMultiScreeningSetting(const LyrMultiScreeningSetting&) = default;
  LyrMultiScreeningSetting& operator=(const LyrMultiScreeningSetting&) = default;

  std::vector<std::string> FileList;
  std::string FileListPluginPath;
  std::uint32_t UseResultFolder = 0;
  std::string ResultFolder;
  std::uint32_t SettingFileLoaded = 0;
  std::string SettingFilePath;
  std::int32_t ChannelsPerAnimal = 3;
  std::vector<MultiScreeningChannelAttribute> ChannelAttributes;
  std::vector<MultiScreeningChannelFilter> ChannelFilters;
  std::vector<MultiScreeningCondition> Conditions;
  std::uint32_t LastStageScreening = 0;
  std::uint8_t LastStageFrom = 1;
  std::uint8_t LastStageTarget = 2;
  std::uint8_t LastStageResult = 1;
  // Percent of time of the stage codes 2, 3, 4, 5, 6, 8, 9, 10; code 1 takes the rest of 100.
  std::array<float, 8> TargetOccupancy{};
  MsDateTime LightPhaseStart{};
  float LightPhaseShare = 68.0f;
  std::uint16_t FftPoints = 256;
  std::uint16_t FftAverage = 5;
  std::uint16_t FftWindow = 1;  // 0 Rectangular, 1 Hanning, 2 Hamming, 3 Cosine taper
  std::uint32_t FftUnit = 0;    // 0 Power, else Voltage
  std::uint32_t FftRateMode = 0;
  float EffectiveBandFrom = 0.75f;
  float EffectiveBandTo = 10.0f;
  std::uint16_t BandCount = 2;
  std::vector<MultiScreeningBand> Bands;
  std::uint16_t RangeStartMode = 0;  // 0 recording start, 1 RangeStartTime
  MsDateTime RangeStartTime{};
  std::uint16_t RangeEndMode = 0;    // 0 recording end, 2 after RangeEndDays/RangeEndHours
  std::uint16_t RangeEndDays = 0;
  std::uint16_t RangeEndHours = 6;

  // String-table id of the last failure's message (0 after success); the window shows it.
  std::uint32_t LastMessageId = 0;

  void SetDefaults();
  // Settings file beside the program. 1 on success, 0 on failure (LastMessageId says why).
  int LoadResume();
  int SaveResume();
  // A setting file: the body alone. The path becomes SettingFilePath (and SettingFileLoaded 1)
  // only when it fits its field; an empty path does nothing. 1 or 0.
  int LoadSettingFile(const std::string& path);
  int SaveSettingFile(const std::string& path);
  static void DeleteMultiScreeningResumeFile();
  static std::string GetResumePath();

  void AddChannelPosition();
  void AddCondition();
  // Keeps the first of equal paths (compared exactly: the file system tells case apart) and
  // drops empty entries. 0 when something was dropped, else 1.
  int RemoveDuplicateFiles();

  int CountChannelsOfAttribute(int kind) const;
  // Attribute of recording channel c's position (3 beyond the table) and its ordinal among
  // the earlier positions of the same attribute.
  int GetPositionAttribute(int channel, int* ordinal) const;
  // Position of the number-th channel of that attribute; -1 when there is none.
  int FindPosition(int kind, int number) const;
  // Positions of EMG; false when there is more than one.
  bool CheckSingleEmg(std::vector<int>* positions) const;

  // The stored forms, in memory.
  std::string BuildBody() const;
  std::string BuildResume() const;
  // Reads into this record; on failure the record is unchanged. Returns 1 or 0.
  int ReadBody(std::span<const std::uint8_t> bytes);
  int ReadResume(std::span<const std::uint8_t> bytes);

  static std::string GetFileTitle(const std::string& path);
  static int IsDsiPlugin(const std::string& path);
  static int IsOtherImportPlugin(const std::string& path);
  static std::string AttributeText(int kind);
  static std::string FilterText(int type, float cutoff1, float cutoff2, std::uint32_t notchOn, float notchFrequency);

 private:
  int WriteFile(const std::string& path, const std::string& bytes);
  int ReadFileInto(const std::string& path, bool resume);
};
