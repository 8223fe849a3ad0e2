#pragma once
// Readers that take one settings block out of an open stored file at its current position
// and bring blocks written by older program versions into the current layout. The settings
// file, the analysis-setting templates and the result files share them.
//
// A reader fills the block from its current image: bytes that lie past the end of the file
// keep the block's previous contents.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/analysis_param_blocks.h"

// Sequential reading with relative seeking, over a file held in memory.
class BlockStream {
 public:
  explicit BlockStream(std::span<const std::uint8_t> data) : data_(data) {}
  // Copies up to n bytes; returns how many were there.
  std::size_t Read(void* dst, std::size_t n);
  // Moves relative to the current position; false (and no move) outside 0 .. size.
  bool Seek(std::int64_t relative);
  bool SeekTo(std::size_t position);
  std::size_t Position() const { return pos_; }
  std::size_t Size() const { return data_.size(); }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

// Block version 1 only: reads the whole 784-byte block (version word included) and returns 1;
// any other version returns 0, leaves the block unchanged and the position 2 bytes further.
int ReadWaveFormRecognitionBlock(BlockStream* file, WaveFormRecognitionParam* block);

// Block versions 1 and 2: reads the 696 bytes, brings a version-1 block up to date and returns 1;
// any other version returns 0 and leaves the block unchanged.
int ReadSleepDisturbanceBlock(BlockStream* file, SleepDstrbParam* block);

// A version-1 block held its LF/HF analysis time as a code (1: 180 s, 2: 300 s, else 60 s);
// the block becomes version 2 in every case.
void UpgradeSleepDisturbanceBlock(std::int16_t version, SleepDstrbParam* block);

// Older forms of the FFT band block: version 1 (216 bytes) and 2 (232 bytes), widened into
// FFTBandParam. Returns 0 without reading for any other version.
int ReadFftPageBlock(BlockStream* file, FFTBandParam* block, std::int16_t version);

// The 32 channel settings records: 240-byte records from version 10 on, 224-byte records
// before, widened into `table` (7,680 bytes). Returns 1 when the whole table was there.
int ReadChannelSettingsTable(BlockStream* file, std::int16_t version, std::uint8_t* table);
constexpr std::size_t kChannelSettingsTableSize = 7680;
constexpr std::size_t kOldChannelSettingsTableSize = 7168;

// Stage digit keys of old blocks: 0xF006 .. 0xF00F become 2000 .. 2009, anything else 0.
std::int32_t ConvertStageKeyCode(std::int32_t code);
// Applies ConvertStageKeyCode to the 25 key fields of a stage-type block image.
void ConvertStageKeyCodes(std::span<std::uint8_t, StageTypeParam::kSize> block);
void ConvertStageKeyCodes(StageTypeParam* block);

// The information block of a result analysis file, read and brought into the 9,216-byte form
// of version 9 over the caller's block (returns 1): versions 9 and later hold it whole, 6 to 8
// in 8,704 bytes, 5 in 8,648 bytes. The 6,872-byte forms of versions 1 to 4, and a block cut
// short by the end of the file, are not read: 0 is returned with the block unchanged.
constexpr std::size_t kRafInfoBlockSize = 9216;
int ReadRafInfoBlock(BlockStream* file, std::uint8_t* info, int version);

// Version word of a result analysis file: 1 .. 9, or 10001 .. 10009 with the extended flag.
// Returns the version with the position unchanged, or -1 (the caller reports "Cannot open the
// file. The version is different.") with the position 4 bytes further.
int ReadRafVersion(BlockStream* file, std::uint32_t* extended);
