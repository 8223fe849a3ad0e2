#pragma once
// Encoding and decoding of the parameter units shared by the readers and writers of the
// raw kinds (group 1 unit 1 and the group-2 channel unit).
#include <cstdint>
#include <span>
#include <vector>

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_file_records.h"

namespace fyn {

enum class Parse { Ok, OutOfRange, Damaged };

// Unit 1 of group 1 (24 bytes): the fields after the unit length.
struct G1Unit1 {
  std::uint16_t dataType = 0;
  std::uint16_t channels = 0;
  std::uint32_t dataCount = 0;
  double samplingHz = 0.0;
  std::uint16_t wordA = 0;
  std::uint16_t wordB = 0;
};
constexpr std::size_t kG1Unit1Bytes = 24;
constexpr std::size_t kG1Unit2Bytes = 22;  // the last 2 bytes are spare
constexpr std::size_t kG1Unit3Bytes = 14;
constexpr std::size_t kEPG1Unit2Bytes = 14;
static_assert(kG1Unit1Bytes == 4 + 2 + 2 + 4 + 8 + 2 + 2);
static_assert(kG1Unit2Bytes == 4 + 8 * 2 + 2);
static_assert(kG1Unit3Bytes == 4 + 2 + 2 + 4 + 2);
static_assert(kEPG1Unit2Bytes == 4 + 2 + 2 + 4 + 2);

bool ParseG1Unit1(ByteReader unit, G1Unit1* out);
void WriteG1Unit1(ByteWriter& w, const G1Unit1& in);

// One channel unit of a raw kind's group 2 (the unit's bytes, its length field included).
bool ParseRawG2Unit(ByteReader unit, _FynRawG2Param* out);
void WriteRawG2Unit(ByteWriter& w, const _FynRawG2Param& in);
// Channel `channel` of a whole group 2; OutOfRange when not below its channel count.
Parse ParseRawG2(std::span<const unsigned char> group, int channel, _FynRawG2Param* out);
// The first `channels` channels of a whole group 2.
Parse ParseRawG2All(std::span<const unsigned char> group, int channels, std::vector<_FynRawG2Param>* out);

}  // namespace fyn
