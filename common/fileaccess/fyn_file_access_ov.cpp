// Reading of the "ORVENTALIS" property group: the subject's data, marks, labels and free
// comments. Units are found by their stored lengths, each checked against the group.
#include <algorithm>

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_file_access.h"

using fyn::ByteReader;
using fyn::FynFile;

namespace {

constexpr char kOVGroupName[] = "ORVENTALIS";
// A unit holds at least its length and its count word.
constexpr std::size_t kMinUnitLength = 6;

std::uint16_t FromBcdDigits(std::uint32_t v, int digits) {
  std::uint16_t out = 0;
  for (int i = digits - 1; i >= 0; --i) out = static_cast<std::uint16_t>(out * 10 + ((v >> (4 * i)) & 0xF));
  return out;
}

}  // namespace

std::int16_t FynFileAccess::ReadOVGroup(std::vector<unsigned char>* group, std::uint16_t* unitCount,
                                        std::uint16_t* version, std::size_t* firstUnit) {
  std::uint32_t offset = 0;
  const std::int16_t status = GetPropGroupAddress(kOVGroupName, &offset);
  if (status != kFynOk) return status;
  if (offset == 0) return kFynNoOVUnit;
  int index = -1;
  for (int i = 0; HasGroup(i); ++i) {
    if (GroupStart(i) == offset) index = i;
  }
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  const std::int16_t read = ReadGroup(file, index, group);
  if (read != kFynOk) return read;
  ByteReader r(*group);
  r.Skip(8);
  const std::uint32_t nameLength = r.U32();
  r.Skip(nameLength);
  *unitCount = r.U16();
  *version = r.U16();
  if (!r.ok()) return Damaged();
  *firstUnit = r.pos();
  return kFynOk;
}

std::int16_t FynFileAccess::FindOVUnit(int unitNumber, std::vector<unsigned char>* group,
                                       std::size_t* unitStart, std::size_t* unitLength) {
  std::uint16_t count = 0;
  std::uint16_t version = 0;
  std::size_t at = 0;
  const std::int16_t status = ReadOVGroup(group, &count, &version, &at);
  if (status != kFynOk) return status;
  if (unitNumber > count) return kFynNoOVUnit;
  ByteReader r(*group);
  r.Seek(at);
  for (int n = 1; n < unitNumber; ++n) r.Item(4);
  const std::size_t start = r.pos();
  ByteReader unit = r.Item(4);
  if (!unit.ok()) return Damaged();
  *unitStart = start;
  *unitLength = unit.size();
  return kFynOk;
}

std::int16_t FynFileAccess::GetOVPatientInfo(_FynOVPatientInfo* info) {
  std::vector<unsigned char> group;
  std::size_t start = 0;
  std::size_t length = 0;
  const std::int16_t status = FindOVUnit(1, &group, &start, &length);
  if (status != kFynOk) return status;
  ByteReader r(std::span<const unsigned char>(group).subspan(start, length));
  r.Skip(4);
  const auto text1 = r.Text();
  const std::uint16_t word = r.U16();
  const std::uint32_t age = r.U32();
  const auto text2 = r.Text();
  if (!r.ok()) return Damaged();
  info->text1 = fyn::DecodeFileText(text1, _FynOVPatientInfo::kText1Capacity);
  info->patientWord = word;
  info->ageYears = FromBcdDigits(age >> 16, 3);
  info->ageMonths = FromBcdDigits(age, 2);
  info->text2 = fyn::DecodeFileText(text2, _FynOVPatientInfo::kText2Capacity);
  return kFynOk;
}

std::int16_t FynFileAccess::GetOVMarkNum(std::int16_t* count) {
  std::vector<unsigned char> group;
  std::size_t start = 0;
  std::size_t length = 0;
  const std::int16_t status = FindOVUnit(2, &group, &start, &length);
  if (status != kFynOk) return status;
  ByteReader r(std::span<const unsigned char>(group).subspan(start, length));
  r.Skip(4);
  const std::uint16_t marks = r.U16();
  if (!r.ok() || marks > 0x7FFF || r.left() / 6 < marks) return Damaged();
  *count = static_cast<std::int16_t>(marks);
  return kFynOk;
}

std::int16_t FynFileAccess::GetOVMarkInfo(std::int16_t index, std::int16_t* kind,
                                          std::uint32_t* position) {
  std::vector<unsigned char> group;
  std::size_t start = 0;
  std::size_t length = 0;
  const std::int16_t status = FindOVUnit(2, &group, &start, &length);
  if (status != kFynOk) return status;
  ByteReader r(std::span<const unsigned char>(group).subspan(start, length));
  r.Skip(4);
  const std::uint16_t marks = r.U16();
  if (!r.ok() || r.left() / 6 < marks) return Damaged();
  if (index < 0 || index >= marks) return kFynError;
  r.Skip(std::size_t{6} * static_cast<std::size_t>(index));
  const std::uint16_t k = r.U16();
  const std::uint32_t p = r.U32();
  if (!r.ok()) return Damaged();
  *kind = static_cast<std::int16_t>(k);
  *position = p;
  return kFynOk;
}

std::int16_t FynFileAccess::GetOVLabelNum(std::int16_t* count) {
  std::vector<unsigned char> group;
  std::size_t start = 0;
  std::size_t length = 0;
  const std::int16_t status = FindOVUnit(4, &group, &start, &length);
  if (status != kFynOk) return status;
  ByteReader r(std::span<const unsigned char>(group).subspan(start, length));
  r.Skip(4);
  const std::uint16_t labels = r.U16();
  // Each label takes at least 18 bytes (its fields and an empty text).
  if (!r.ok() || labels > 0x7FFF || r.left() / 18 < labels) return Damaged();
  *count = static_cast<std::int16_t>(labels);
  return kFynOk;
}

std::int16_t FynFileAccess::GetOVLabelInfo(std::int16_t index, _FynOVLabelInfo* label) {
  std::vector<unsigned char> group;
  std::size_t start = 0;
  std::size_t length = 0;
  const std::int16_t status = FindOVUnit(4, &group, &start, &length);
  if (status != kFynOk) return status;
  ByteReader r(std::span<const unsigned char>(group).subspan(start, length));
  r.Skip(4);
  const std::uint16_t labels = r.U16();
  if (!r.ok()) return Damaged();
  if (index < 0 || index >= labels) return kFynError;
  for (int i = 0; i < index; ++i) {
    r.Skip(14);
    r.Text();
  }
  const std::uint32_t position = r.U32();
  const std::uint16_t word = r.U16();
  const double value = r.F64();
  const auto text = r.Text();
  if (!r.ok()) return Damaged();
  label->position = position;
  label->word = word;
  label->value = value;
  label->text = fyn::DecodeFileText(text, _FynOVLabelInfo::kTextCapacity);
  return kFynOk;
}

std::int16_t FynFileAccess::GetOVFreeCommentInfo(_FynOVFreeCommentInfo* array, int capacity) {
  std::vector<unsigned char> group;
  std::uint16_t units = 0;
  std::uint16_t version = 0;
  std::size_t at = 0;
  const std::int16_t status = ReadOVGroup(&group, &units, &version, &at);
  if (status != kFynOk) return status;
  if (units < 6 || version < 2) return kFynNoOVUnit;
  const int unitNumber = version == 2 ? 6 : 7;
  if (unitNumber > units) return kFynNoOVUnit;
  ByteReader r(group);
  r.Seek(at);
  for (int n = 1; n < unitNumber; ++n) r.Item(4);
  ByteReader unit = r.Item(kMinUnitLength);
  if (!unit.ok()) return Damaged();
  unit.Skip(4);
  const std::uint16_t entries = unit.U16();
  const int taken = std::min<int>(entries, std::max(capacity, 0));
  for (int i = 0; i < taken; ++i) {
    ByteReader entry = unit.Item(4);
    entry.Skip(4);
    const auto text1 = entry.Text();
    const auto text2 = entry.Text();
    if (!entry.ok()) return Damaged();
    array[i].text1 = fyn::DecodeFileText(text1, _FynOVFreeCommentInfo::kTextCapacity);
    array[i].text2 = fyn::DecodeFileText(text2, _FynOVFreeCommentInfo::kTextCapacity);
  }
  return kFynOk;
}
