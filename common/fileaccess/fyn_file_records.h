#pragma once
// Records exchanged with the readers and writers of the block data files. Texts are UTF-8
// in memory; the capacities given are those of the stored (code-page) text that a reader keeps.
#include <array>
#include <cstdint>
#include <string>

// ID block (written by FynFileWrite::WriteIDBlock).
struct _FynIdBlock {
  std::uint16_t itemWord = 0;
  std::string typeText;  // "FY_VEX_RAWDATA" or "FY_VEX_ANADATA"
  std::uint16_t version = 0;
};

// Header block of the raw file and layout 1.1 (8 bytes).
struct _FynRawHeader {
  std::uint16_t groupCount = 0;
  std::uint16_t eventFlag = 0;  // non-zero: the last group is the event group
};

// Header block of the EP raw file (6 bytes).
struct _EPRawHeader {
  std::uint16_t groupCount = 0;
};

// Group 1 of a raw file: common parameters.
struct _FynRawG1Param {
  std::uint16_t dataType = 0;  // 0 signed 16-bit samples, else unsigned
  std::uint16_t channels = 0;
  std::uint32_t dataCount = 0;  // samples per channel
  double samplingHz = 0.0;
  std::uint16_t wordA = 0;
  std::uint16_t wordB = 0;
  std::uint16_t startTimeFlag = 0;  // non-zero: the start time below is valid
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t millisecond = 0;
  std::uint16_t wordC = 0;  // unit 3 (layout 1.1)
  std::uint16_t wordD = 0;
  std::uint32_t valueE = 0;
  std::uint16_t wordF = 0;
};
struct _FynRawG1Param1_1 : _FynRawG1Param {};

// Group 2 of the raw kinds: one channel's parameters.
struct _FynRawG2Param {
  static constexpr std::size_t kNameCapacity = 128;
  static constexpr std::size_t kCommentCapacity = 1024;
  static constexpr std::size_t kUnitCapacity = 128;
  std::string name;
  std::string comment;
  std::uint16_t channelWord = 0;
  double fullScale = 0.0;  // physical value of the full 16-bit range, used without calibration
  std::uint16_t calFlag = 0;  // 1: use the two calibration points
  std::uint16_t calTopSample = 0;
  std::uint16_t calBottomSample = 0;
  double calTopPhysical = 0.0;
  double calBottomPhysical = 0.0;
  std::string unit;
  std::uint16_t drawRateFlag = 0;  // 1: drawRate is set
  double drawRate = 0.0;
  std::array<std::uint16_t, 3> words{};  // sub-unit 3, carried unchanged
};
struct _EPRawG2Param : _FynRawG2Param {};

// One entry of the caller's calibration table (40 bytes in the stored layout of the caller).
struct _FynRawCALEntry {
  double reserved = 0.0;  // not read
  double fullScale = 0.0;
  std::uint16_t calFlag = 0;
  std::uint16_t calTopSample = 0;
  std::uint16_t calBottomSample = 0;
  double calTopPhysical = 0.0;
  double calBottomPhysical = 0.0;
};

// Calibration override for FynFileAccessRaw::SetCalInfo: one entry per channel of group 1.
struct _FynRawCALParam {
  std::int32_t mode = 0;
  const _FynRawCALEntry* entries = nullptr;
};

// Group 1 of an EP raw file.
struct _EPRawG1Param {
  std::uint16_t dataType = 0;
  std::uint16_t channels = 0;
  std::uint32_t dataCount = 0;
  double samplingHz = 0.0;
  std::uint16_t wordA = 0;
  std::uint16_t wordB = 0;
  std::uint16_t word1 = 0;  // unit 2, carried unchanged
  std::uint16_t word2 = 0;
  std::uint32_t value3 = 0;
  std::uint16_t word4 = 0;
};

// Group 2 of an analysis file: one channel's parameters.
struct _FynAnaG2Param {
  static constexpr std::array<std::size_t, 4> kTextCapacity{128, 128, 128, 1024};
  std::uint16_t word1 = 0;
  std::uint16_t word2 = 0;
  std::uint32_t dataCount = 0;  // number of (x, y) pairs of the channel
  std::uint16_t word3 = 0;
  std::uint32_t value4 = 0;
  double value5 = 0.0;
  std::array<std::string, 4> texts;
  std::array<std::uint16_t, 8> words8{};
  std::array<std::uint16_t, 3> words3{};
};

// Unit 1 of the "ORVENTALIS" group.
struct _FynOVPatientInfo {
  static constexpr std::size_t kText1Capacity = 20;
  static constexpr std::size_t kText2Capacity = 60;
  std::string text1;
  std::uint16_t patientWord = 0;
  std::uint16_t ageYears = 0;   // 0-999
  std::uint16_t ageMonths = 0;  // 0-99
  std::string text2;
};

// One label of unit 4 of the "ORVENTALIS" group.
struct _FynOVLabelInfo {
  static constexpr std::size_t kTextCapacity = 68;
  std::uint32_t position = 0;
  std::uint16_t word = 0;
  double value = 0.0;
  std::string text;
};

// One entry of the free-comment unit of the "ORVENTALIS" group.
struct _FynOVFreeCommentInfo {
  static constexpr std::size_t kTextCapacity = 1024;
  std::string text1;
  std::string text2;
};
