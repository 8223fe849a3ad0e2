#include "app/frame/block_readers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "app/document/byte_image.h"

std::size_t BlockStream::Read(void* dst, std::size_t n) {
  std::size_t k = std::min(n, data_.size() - pos_);
  if (k) std::memcpy(dst, data_.data() + pos_, k);
  pos_ += k;
  return k;
}

bool BlockStream::Seek(std::int64_t relative) {
  std::int64_t p = static_cast<std::int64_t>(pos_) + relative;
  if (p < 0 || p > static_cast<std::int64_t>(data_.size())) return false;
  pos_ = static_cast<std::size_t>(p);
  return true;
}

bool BlockStream::SeekTo(std::size_t position) {
  if (position > data_.size()) return false;
  pos_ = position;
  return true;
}

namespace {

std::int32_t ReadVersionWord(BlockStream* file, std::size_t width) {
  std::uint8_t v[4] = {};
  if (file->Read(v, width) != width) return -1;  // too short to hold a version
  return width == 2 ? bytes::Get<std::uint16_t>(bytes::CSpan(v, 2), 0)
                    : bytes::Get<std::int32_t>(bytes::CSpan(v, 4), 0);
}

// Reads the block's image over its current contents.
template <class Block>
void ReadOver(BlockStream* file, Block* block) {
  std::array<std::uint8_t, Block::kSize> image;
  block->Store(image);
  file->Read(image.data(), image.size());
  block->Load(image);
}

}  // namespace

int ReadWaveFormRecognitionBlock(BlockStream* file, WaveFormRecognitionParam* block) {
  const std::size_t start = file->Position();
  if (ReadVersionWord(file, 2) != 1) return 0;
  file->SeekTo(start);
  ReadOver(file, block);
  return 1;
}

int ReadSleepDisturbanceBlock(BlockStream* file, SleepDstrbParam* block) {
  const std::size_t start = file->Position();
  std::int32_t version = ReadVersionWord(file, 2);
  if (version != 1 && version != 2) return 0;
  file->SeekTo(start);
  ReadOver(file, block);
  UpgradeSleepDisturbanceBlock(static_cast<std::int16_t>(version), block);
  return 1;
}

void UpgradeSleepDisturbanceBlock(std::int16_t version, SleepDstrbParam* block) {
  if (version <= 1) {
    switch (block->lfhfTimeS) {
      case 1: block->lfhfTimeS = 180; break;
      case 2: block->lfhfTimeS = 300; break;
      default: block->lfhfTimeS = 60; break;
    }
  }
  block->version = SleepDstrbParam::kCurrentVersion;
}

int ReadFftPageBlock(BlockStream* file, FFTBandParam* block, std::int16_t version) {
  std::size_t size = version == 1 ? 216 : version == 2 ? 232 : 0;
  if (size == 0) return 0;
  std::array<std::uint8_t, 232> old{};
  std::array<std::uint8_t, FFTBandParam::kSize> image;
  block->Store(image);
  // Only what the file holds replaces the old form's bytes; the rest is taken as zero.
  file->Read(old.data(), size);
  bytes::CSpan o(old.data(), size);
  bytes::Span n(image);

  // One FFT channel in the old form, a set of flags now.
  std::memset(image.data(), 0, 64);
  std::int32_t channel = bytes::Get<std::int32_t>(o, 0);
  if (channel >= 0 && channel < 32) bytes::Put<std::uint16_t>(n, 2 * channel, 1);
  bytes::Copy(n, 0x40, o, 0x04, 2);
  bytes::Copy(n, 0x44, o, 0x08, 4);
  bytes::Copy(n, 0x48, o, 0x0C, 2);
  bytes::Copy(n, 0x4A, o, 0x0E, 2);
  bytes::Copy(n, 0x4C, o, 0x10, 2);
  bytes::Copy(n, 0x50, o, 0x18, 192);
  if (version == 1) {
    bytes::Put<std::uint16_t>(n, 0x110, 0);
    bytes::Put<float>(n, 0x114, 0.75f);
    bytes::Put<float>(n, 0x118, 10.0f);
  } else {
    bytes::Copy(n, 0x110, o, 0xD8, 2);
    bytes::Copy(n, 0x114, o, 0xDC, 4);
    bytes::Copy(n, 0x118, o, 0xE0, 4);
  }
  block->Load(image);
  return 1;
}

int ReadChannelSettingsTable(BlockStream* file, std::int16_t version, std::uint8_t* table) {
  if (version >= 10) return file->Read(table, kChannelSettingsTableSize) == kChannelSettingsTableSize;
  std::vector<std::uint8_t> old(kOldChannelSettingsTableSize, 0);
  std::size_t got = file->Read(old.data(), old.size());
  for (std::size_t r = 0; r < 32; ++r) {
    const std::uint8_t* o = old.data() + r * 224;
    std::uint8_t* n = table + r * 240;
    // The 240-byte form added the filter kind (8), the notch switch (32) and the line frequency (40).
    std::memcpy(n, o, 8);                       // colour, smoothing count
    std::memset(n + 8, 0, 4);                   // filter kind: FIR
    std::memcpy(n + 12, o + 8, 4);              // filter mode
    std::memcpy(n + 16, o + 16, 16);            // cut 1, cut 2
    std::memset(n + 32, 0, 8);                  // notch off
    bytes::Put<double>(bytes::Span(n, 240), 40, 50.0);
    std::memcpy(n + 48, o + 32, 192);           // switches, gain, scale, display type
  }
  return got == old.size();
}

std::int32_t ConvertStageKeyCode(std::int32_t code) {
  return code >= 0xF006 && code <= 0xF00F ? 2000 + (code - 0xF006) : 0;
}

void ConvertStageKeyCodes(std::span<std::uint8_t, StageTypeParam::kSize> block) {
  auto convert = [&](std::size_t off) {
    bytes::Put<std::int32_t>(block, off, ConvertStageKeyCode(bytes::Get<std::int32_t>(block, off)));
  };
  for (std::size_t off = 24; off <= 528; off += 24) convert(off);
  for (std::size_t off : {556u, 580u, 604u}) convert(off);
}

void ConvertStageKeyCodes(StageTypeParam* block) {
  std::array<std::uint8_t, StageTypeParam::kSize> image;
  block->Store(image);
  ConvertStageKeyCodes(std::span<std::uint8_t, StageTypeParam::kSize>(image));
  block->Load(image);
}

namespace {

// Offsets of the information block that the older forms move.
constexpr std::size_t kRafFftBandOffset = 2368;
constexpr std::size_t kRafSleepDstrbOffset = 2656;
constexpr std::size_t kRafChannelRecordsOffset = 7680;
constexpr std::size_t kRafChannelRecordSize = 48;
constexpr std::size_t kRafOldChannelRecordSize = 32;
constexpr std::size_t kRafV6BlockSize = 8704;
constexpr std::size_t kRafV5BlockSize = 8648;
constexpr std::size_t kRafV5Shift = 56;  // the 232-byte FFT band block of version 5

// A 32-byte channel record of versions 5 to 8 widened to the 48-byte one.
void WidenRafChannelRecord(const std::uint8_t* old, std::uint8_t* rec) {
  std::memset(rec, 0, kRafChannelRecordSize);
  std::memcpy(rec + 0, old + 0, 4);
  std::memcpy(rec + 4, old + 4, 2);
  std::memcpy(rec + 12, old + 8, 2);
  std::memcpy(rec + 16, old + 16, 16);
}

}  // namespace

int ReadRafInfoBlock(BlockStream* file, std::uint8_t* info, int version) {
  if (version >= 9) {
    if (file->Read(info, kRafInfoBlockSize) != kRafInfoBlockSize) return 0;
    return 1;
  }
  if (version < 5) return 0;
  std::vector<std::uint8_t> old(version == 5 ? kRafV5BlockSize : kRafV6BlockSize);
  const std::size_t start = file->Position();
  if (file->Read(old.data(), old.size()) != old.size()) {
    file->SeekTo(start);
    return 0;
  }
  std::vector<std::uint8_t> image(kRafInfoBlockSize, 0);
  bytes::Span n(image);
  std::size_t oldRecords = kRafChannelRecordsOffset;
  if (version == 5) {
    // Everything before the FFT band block is in place; the blocks after it lie 56 bytes
    // earlier, and the FFT band block itself is the older 232-byte form.
    std::memcpy(image.data(), old.data(), kRafFftBandOffset);
    std::memcpy(image.data() + kRafSleepDstrbOffset, old.data() + kRafSleepDstrbOffset - kRafV5Shift,
                kRafChannelRecordsOffset - kRafSleepDstrbOffset);
    BlockStream fft(std::span<const std::uint8_t>(old.data() + kRafFftBandOffset, 232));
    FFTBandParam band;
    std::array<std::uint8_t, FFTBandParam::kSize> zero{};
    band.Load(zero);
    ReadFftPageBlock(&fft, &band, 2);
    band.Store(std::span<std::uint8_t, FFTBandParam::kSize>(image.data() + kRafFftBandOffset, FFTBandParam::kSize));
    oldRecords = kRafChannelRecordsOffset - kRafV5Shift;
  } else {
    std::memcpy(image.data(), old.data(), kRafChannelRecordsOffset);
  }
  for (std::size_t k = 0; k < 32; ++k)
    WidenRafChannelRecord(old.data() + oldRecords + k * kRafOldChannelRecordSize,
                          image.data() + kRafChannelRecordsOffset + k * kRafChannelRecordSize);
  bytes::Put<std::uint32_t>(n, 0, 9);
  if (version <= 7) {
    // The sleep-disturbance block of these versions is brought up to date.
    auto sd = std::span<std::uint8_t, SleepDstrbParam::kSize>(image.data() + kRafSleepDstrbOffset,
                                                              SleepDstrbParam::kSize);
    SleepDstrbParam block;
    block.Load(sd);
    UpgradeSleepDisturbanceBlock(static_cast<std::int16_t>(bytes::Get<std::uint16_t>(n, kRafSleepDstrbOffset)),
                                 &block);
    block.Store(sd);
  }
  // Fields that older versions did not hold get their channel-record defaults.
  for (std::size_t k = 0; k < 32; ++k) {
    const std::size_t rec = kRafChannelRecordsOffset + k * kRafChannelRecordSize;
    bytes::Put<std::uint32_t>(n, rec + 8, 0);
    bytes::Put<std::uint32_t>(n, rec + 32, 0);
    bytes::Put<double>(n, rec + 40, 50.0);
  }
  std::memcpy(info, image.data(), kRafInfoBlockSize);
  return 1;
}

int ReadRafVersion(BlockStream* file, std::uint32_t* extended) {
  const std::size_t start = file->Position();
  std::int32_t value = ReadVersionWord(file, 4);
  if (value >= 1 && value <= 9) {
    *extended = 0;
    file->SeekTo(start);
    return value;
  }
  if (value >= 10001 && value <= 10009) {
    *extended = 1;
    file->SeekTo(start);
    return value - 10000;
  }
  return -1;
}
