#include "common/fileaccess/fyn_file_access_ana.h"

#include <algorithm>
#include <vector>

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_group_codec.h"

using fyn::ByteReader;
using fyn::FynFile;

namespace {

// GetAnaDataY moves this many pairs per file read.
constexpr std::size_t kPairChunk = 100;
constexpr std::size_t kPairBytes = 8;
// Channel unit of the data group: length, 6 skipped bytes, then the pairs.
constexpr std::size_t kDataUnitHeader = 10;
constexpr std::size_t kAnaSub1Bytes = 26;
constexpr std::size_t kAnaSub3Bytes = 20;
constexpr std::size_t kAnaSub4Bytes = 10;
static_assert(kAnaSub1Bytes == 4 + 2 + 2 + 4 + 2 + 4 + 8);
static_assert(kAnaSub3Bytes == 4 + 8 * 2);
static_assert(kAnaSub4Bytes == 4 + 3 * 2);

bool ParseAnaG2Unit(ByteReader unit, _FynAnaG2Param* out) {
  _FynAnaG2Param v;
  unit.Skip(6);
  ByteReader s1 = unit.Item(kAnaSub1Bytes);
  s1.Skip(4);
  v.word1 = s1.U16();
  v.word2 = s1.U16();
  v.dataCount = s1.U32();
  v.word3 = s1.U16();
  v.value4 = s1.U32();
  v.value5 = s1.F64();
  ByteReader s2 = unit.Item(4);
  s2.Skip(4);
  for (std::size_t i = 0; i < v.texts.size(); ++i) {
    v.texts[i] = fyn::DecodeFileText(s2.Text(), _FynAnaG2Param::kTextCapacity[i]);
  }
  ByteReader s3 = unit.Item(kAnaSub3Bytes);
  s3.Skip(4);
  for (auto& w : v.words8) w = s3.U16();
  ByteReader s4 = unit.Item(kAnaSub4Bytes);
  s4.Skip(4);
  for (auto& w : v.words3) w = s4.U16();
  if (!unit.ok() || !s1.ok() || !s2.ok() || !s3.ok() || !s4.ok()) return false;
  *out = std::move(v);
  return true;
}

}  // namespace

FynFileAccessAna::FynFileAccessAna() = default;
FynFileAccessAna::FynFileAccessAna(const char* path) : FynFileAccess(path) {}
FynFileAccessAna::~FynFileAccessAna() = default;

std::int16_t FynFileAccessAna::GetChannelNum() {
  const std::int16_t kind = CheckKind(kFynTypeAna);
  if (kind != kFynOk) return kind;
  if (!HasGroup(0) || GroupLength(0) < 6) return Damaged();
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  unsigned char word[2];
  if (!file.ReadAt(GroupStart(0) + 4, word, 2)) return IoFail(file);
  return static_cast<std::int16_t>(std::min<std::uint16_t>(ByteReader(word).U16(), 0x7FFF));
}

std::int16_t FynFileAccessAna::GetGroup2ParamAna(int channel, _FynAnaG2Param* param) {
  const std::int16_t kind = CheckKind(kFynTypeAna);
  if (kind != kFynOk) return kind;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  const std::int16_t status = ReadGroup(file, 1, &group);
  if (status != kFynOk) return status;
  ByteReader r(group);
  r.Skip(4);
  const std::uint16_t channels = r.U16();
  if (!r.ok()) return Damaged();
  if (channel < 0 || channel >= channels) return kFynError;
  for (int k = 0; k < channel; ++k) r.Item(6);
  ByteReader unit = r.Item(6);
  if (!r.ok() || !ParseAnaG2Unit(unit, param)) return Damaged();
  return kFynOk;
}

std::int16_t FynFileAccessAna::ReadPairs(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                         float* out, std::int16_t invert, bool onlyY) {
  _FynAnaG2Param param;
  const std::int16_t status = GetGroup2ParamAna(channel, &param);
  if (status != kFynOk) return status;
  if (param.dataCount == 0) return Damaged();
  last = std::min(last, param.dataCount - 1);
  const std::int16_t kind = CheckKind(kFynTypeAna);
  if (kind != kFynOk) return kind;
  const int dataIndex = GetGroupCnt() - 1;
  // The data group follows group 1, group 2 and at least its channel count.
  if (dataIndex < 2 || GroupLength(dataIndex) < 6) return Damaged();
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  const std::uint64_t groupStart = GroupStart(dataIndex);
  const std::uint64_t groupEnd = groupStart + GroupLength(dataIndex);
  unsigned char word[4];
  if (!file.ReadAt(groupStart + 4, word, 2)) return IoFail(file);
  const std::uint16_t channels = ByteReader(std::span<const unsigned char>(word, 2)).U16();
  if (channel < 0 || channel >= channels) return kFynError;
  // Walk the channel units by their lengths, each inside the data group.
  std::uint64_t at = groupStart + 6;
  std::uint32_t unitLength = 0;
  for (int k = 0; k <= channel; ++k) {
    if (at + 4 > groupEnd) return Damaged();
    if (!file.ReadAt(at, word, 4)) return IoFail(file);
    unitLength = ByteReader(word).U32();
    if (unitLength < kDataUnitHeader || at + unitLength > groupEnd) return Damaged();
    if (k < channel) at += unitLength;
  }
  if (first > last) return kFynOk;
  // The unit must hold every pair that is asked for.
  if ((unitLength - kDataUnitHeader) / kPairBytes < std::uint64_t{last} + 1) return Damaged();
  const std::uint64_t pairsAt = at + kDataUnitHeader + kPairBytes * std::uint64_t{first};
  const std::size_t pairs = static_cast<std::size_t>(last - first) + 1;
  std::vector<unsigned char> bytes;
  const std::size_t chunk = onlyY ? kPairChunk : pairs;
  for (std::size_t done = 0; done < pairs; done += chunk) {
    const std::size_t n = std::min(chunk, pairs - done);
    try {
      bytes.resize(n * kPairBytes);
    } catch (const std::bad_alloc&) {
      return NoMemory(n * kPairBytes);
    }
    if (!file.ReadAt(pairsAt + kPairBytes * done, bytes.data(), bytes.size())) return IoFail(file);
    ByteReader r(bytes);
    for (std::size_t i = 0; i < n; ++i) {
      const float x = r.F32();
      const float y = invert != 0 ? -r.F32() : r.F32();
      if (onlyY) {
        out[done + i] = y;
      } else {
        out[2 * (done + i)] = x;
        out[2 * (done + i) + 1] = y;
      }
    }
  }
  return kFynOk;
}

std::int16_t FynFileAccessAna::GetAnaData(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                          float* out, std::int16_t invert) {
  return ReadPairs(channel, first, last, out, invert, false);
}

std::int16_t FynFileAccessAna::GetAnaDataY(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                           float* out, std::int16_t invert) {
  return ReadPairs(channel, first, last, out, invert, true);
}

// ---- FynFileAccessEPRaw ----

FynFileAccessEPRaw::FynFileAccessEPRaw() = default;
FynFileAccessEPRaw::FynFileAccessEPRaw(const char* path) : FynFileAccess(path) {}
FynFileAccessEPRaw::~FynFileAccessEPRaw() = default;

std::int16_t FynFileAccessEPRaw::GetGroup1ParamRaw(_EPRawG1Param* param) {
  const std::int16_t kind = CheckKind(kFynTypeRaw);
  if (kind != kFynOk) return kind;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  const std::int16_t status = ReadGroup(file, 0, &group);
  if (status != kFynOk) return status;
  ByteReader r(group);
  r.Skip(6);
  fyn::G1Unit1 u1;
  if (!fyn::ParseG1Unit1(r.Item(fyn::kG1Unit1Bytes), &u1)) return Damaged();
  ByteReader u2 = r.Item(fyn::kEPG1Unit2Bytes);
  u2.Skip(4);
  _EPRawG1Param v;
  v.dataType = u1.dataType;
  v.channels = u1.channels;
  v.dataCount = u1.dataCount;
  v.samplingHz = u1.samplingHz;
  v.wordA = u1.wordA;
  v.wordB = u1.wordB;
  v.word1 = u2.U16();
  v.word2 = u2.U16();
  v.value3 = u2.U32();
  v.word4 = u2.U16();
  if (!r.ok() || !u2.ok()) return Damaged();
  *param = v;
  return kFynOk;
}

std::int16_t FynFileAccessEPRaw::GetGroup2ParamRaw(int channel, _EPRawG2Param* param) {
  return ReadRawChannelParam(channel, param);
}
