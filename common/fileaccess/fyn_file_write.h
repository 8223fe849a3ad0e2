#pragma once
// Writers of the block data files. FynFileWrite creates the file and writes the ID block; the
// derived writers add the header block and the parameter groups of their kind, item by item.
// Every item call opens the existing file, writes at *position (or at the end when `position`
// is null), stores the offset after the item in *end (when not null) and closes the file.
// Results: 0, or -1 with GetErrType() -1 and the file error's cause in GetErrCode().
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_records.h"

class FynFileWrite {
 public:
  FynFileWrite();
  explicit FynFileWrite(const char* path);
  virtual ~FynFileWrite();
  FynFileWrite(const FynFileWrite&) = delete;
  FynFileWrite& operator=(const FynFileWrite&) = delete;

  virtual std::int16_t GetErrCode();
  virtual std::int16_t GetErrType();
  virtual void SetFilePath(const char* path);

  // Creates the file, or empties it. 0 / -1.
  std::int16_t CreateNewFile();
  // The ID block at offset 0 (length 12 + text length). 0 / -1.
  std::int16_t WriteIDBlock(const _FynIdBlock* id, std::uint64_t* end);

 protected:
  // Writes `bytes` at *position or at the end of the file. 0 / -1.
  std::int16_t WriteItem(std::span<const unsigned char> bytes, const std::uint64_t* position,
                         std::uint64_t* end, std::uint64_t* start = nullptr);
  // Group 2 (and the "ORVENTALIS" units): a length placeholder and a count, then the running
  // length grows with each item until the end call writes it into the placeholder.
  std::int16_t StartCounted(std::uint16_t count, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t AddCounted(std::span<const unsigned char> bytes, const std::uint64_t* position,
                          std::uint64_t* end);
  std::int16_t EndCounted(const std::uint64_t* position, std::uint64_t* end);

  std::string path_;
  std::int16_t errType_ = 0;
  std::int16_t errCode_ = 0;
  std::int32_t running_ = 0;
};

// One event of the event group: its type (an index into the type names) and sample position.
struct FynRawEvent {
  std::uint16_t type = 0;
  std::uint32_t position = 0;
};

class FynFileWriteRaw : public FynFileWrite {
 public:
  using FynFileWrite::FynFileWrite;
  // Header block: u32 8, group count, event flag.
  std::int16_t WriteHeader(const _FynRawHeader* header, const std::uint64_t* position, std::uint64_t* end);
  // Group 1 with unit count 2 (units of 24 and 22 bytes; 52 bytes in all).
  std::int16_t WriteGroup1Raw(const _FynRawG1Param* param, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t StartGroup2(std::int16_t channels, const std::uint64_t* position, std::uint64_t* end);
  // One channel unit (sub-units 1 to 3, the draw rate always written).
  std::int16_t WriteGroup2Unit(const _FynRawG2Param* param, const std::uint64_t* position, std::uint64_t* end);
  // Fills group 2's length: `position` is the end of the last unit (or null for the file end).
  std::int16_t EndGroup2(const std::uint64_t* position, std::uint64_t* end);

  // The data group: the samples frame after frame (channel count words per frame).
  std::int16_t WriteDataGroup(std::span<const std::uint16_t> words, const std::uint64_t* position,
                              std::uint64_t* end);
  // The event group: the type names and the events.
  std::int16_t WriteEventGroup(const std::vector<std::string>& typeNames, std::span<const FynRawEvent> events,
                               const std::uint64_t* position, std::uint64_t* end);
};

class FynFileWriteRaw1_1 : public FynFileWriteRaw {
 public:
  using FynFileWriteRaw::FynFileWriteRaw;
  // Group 1 with unit count 3 (units of 24, 22 and 14 bytes).
  virtual std::int16_t WriteGroup1Raw(const _FynRawG1Param1_1* param, const std::uint64_t* position,
                                      std::uint64_t* end);
  using FynFileWriteRaw::WriteGroup1Raw;
};

class FynFileWriteAna : public FynFileWrite {
 public:
  using FynFileWrite::FynFileWrite;
  // Header block: u32 6, group count.
  std::int16_t WriteHeader(std::int16_t groupCount, const std::uint64_t* position, std::uint64_t* end);
  // Group 1: u32 6, channel count.
  std::int16_t WriteGroup1Ana(std::int16_t channels, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t StartGroup2(std::int16_t channels, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t WriteGroup2Unit(const _FynAnaG2Param* param, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t EndGroup2(const std::uint64_t* position, std::uint64_t* end);
  // The data group: per channel its (x, y) pairs, as x0, y0, x1, y1, ...
  std::int16_t WriteDataGroup(const std::vector<std::vector<float>>& pairsPerChannel,
                              const std::uint64_t* position, std::uint64_t* end);
};

class FynFileWriteEPRaw : public FynFileWrite {
 public:
  using FynFileWrite::FynFileWrite;
  // Header block: u32 6, group count.
  virtual std::int16_t WriteHeader(const _EPRawHeader* header, const std::uint64_t* position, std::uint64_t* end);
  // Group 1 with unit count 2 (units of 24 and 14 bytes).
  virtual std::int16_t WriteGroup1Raw(const _EPRawG1Param* param, const std::uint64_t* position,
                                      std::uint64_t* end);
  std::int16_t StartGroup2(std::int16_t channels, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t WriteGroup2Unit(const _EPRawG2Param* param, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t EndGroup2(const std::uint64_t* position, std::uint64_t* end);
};

// Pieces of the "ORVENTALIS" property group. The caller writes the group length and the two
// words (unit count, layout version) after the name.
class FynFileWriteOVG3 : public FynFileWrite {
 public:
  using FynFileWrite::FynFileWrite;
  // u32 8 + name length, u32 name length, the name.
  std::int16_t WriteHeader(const char* name, const std::uint64_t* position, std::uint64_t* end);
  // Unit 1: first text, patient word, age in BCD, second text. -1 for an age out of range.
  std::int16_t WritePatientInfo(const _FynOVPatientInfo* info, const std::uint64_t* position, std::uint64_t* end);
  // Years 0-999 and months 0-99 as BCD (35 years 7 months = 0x00350007). 0, or -1 when out
  // of range.
  static std::int16_t CreateBCDAge(std::uint16_t years, std::uint16_t months, std::uint32_t* out);
  std::int16_t StartUnit2(std::int16_t count, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t WriteMarkData(std::int16_t kind, std::uint32_t markPosition, const std::uint64_t* position,
                             std::uint64_t* end);
  std::int16_t EndUnit2(const std::uint64_t* position, std::uint64_t* end);
  // An empty unit: u32 6, u16 0.
  std::int16_t WriteEmptyUnit3(const std::uint64_t* position, std::uint64_t* end);
  std::int16_t StartUnit4(std::int16_t count, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t WriteLabelData(const _FynOVLabelInfo* label, const std::uint64_t* position, std::uint64_t* end);
  std::int16_t EndUnit4(const std::uint64_t* position, std::uint64_t* end);
  // The free-comment unit: entry count, then per entry its length and two texts.
  std::int16_t WriteFreeCommentUnit(std::span<const _FynOVFreeCommentInfo> entries, const std::uint64_t* position,
                                    std::uint64_t* end);
};
