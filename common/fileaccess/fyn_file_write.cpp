#include "common/fileaccess/fyn_file_write.h"

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_file_io.h"
#include "common/fileaccess/fyn_group_codec.h"

using fyn::ByteWriter;
using fyn::FynFile;

namespace {

constexpr std::uint32_t kRawHeaderBytes = 8;
constexpr std::uint32_t kShortHeaderBytes = 6;

fyn::G1Unit1 Unit1Of(std::uint16_t dataType, std::uint16_t channels, std::uint32_t dataCount, double hz,
                     std::uint16_t a, std::uint16_t b) {
  fyn::G1Unit1 u;
  u.dataType = dataType;
  u.channels = channels;
  u.dataCount = dataCount;
  u.samplingHz = hz;
  u.wordA = a;
  u.wordB = b;
  return u;
}

void WriteStartTimeUnit(ByteWriter& w, const _FynRawG1Param& p) {
  const std::size_t at = w.BeginItem();
  for (std::uint16_t v : {p.startTimeFlag, p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond}) {
    w.U16(v);
  }
  w.U16(0);  // spare word: the unit is 22 bytes
  w.EndItem(at);
}

}  // namespace

FynFileWrite::FynFileWrite() = default;
FynFileWrite::FynFileWrite(const char* path) : path_(path ? path : "") {}
FynFileWrite::~FynFileWrite() = default;

std::int16_t FynFileWrite::GetErrCode() { return errCode_; }
std::int16_t FynFileWrite::GetErrType() { return errType_; }
void FynFileWrite::SetFilePath(const char* path) { path_ = path ? path : ""; }

std::int16_t FynFileWrite::CreateNewFile() {
  FynFile file;
  if (!file.Open(path_, FynFile::Mode::Create)) {
    errType_ = -1;
    errCode_ = file.cause();
    return -1;
  }
  return 0;
}

std::int16_t FynFileWrite::WriteItem(std::span<const unsigned char> bytes, const std::uint64_t* position,
                                     std::uint64_t* end, std::uint64_t* start) {
  FynFile file;
  const bool ok = file.Open(path_, FynFile::Mode::Write) && (position ? file.Seek(*position) : file.SeekToEnd());
  const std::uint64_t at = file.Position();
  if (!ok || !file.Write(bytes.data(), bytes.size())) {
    errType_ = -1;
    errCode_ = file.cause() != fyn::kCauseNone ? file.cause() : fyn::kCauseGeneric;
    return -1;
  }
  if (start) *start = at;
  if (end) *end = file.Position();
  return 0;
}

std::int16_t FynFileWrite::WriteIDBlock(const _FynIdBlock* id, std::uint64_t* end) {
  ByteWriter w;
  const std::uint64_t zero = 0;
  const std::size_t at = w.BeginItem();
  w.U16(id->itemWord);
  w.Text(id->typeText);
  w.U16(id->version);
  w.EndItem(at);
  return WriteItem(w.bytes(), &zero, end);
}

std::int16_t FynFileWrite::StartCounted(std::uint16_t count, const std::uint64_t* position, std::uint64_t* end) {
  ByteWriter w;
  w.U32(0);
  w.U16(count);
  const std::int16_t status = WriteItem(w.bytes(), position, end);
  if (status == 0) running_ = 6;
  return status;
}

std::int16_t FynFileWrite::AddCounted(std::span<const unsigned char> bytes, const std::uint64_t* position,
                                      std::uint64_t* end) {
  const std::int16_t status = WriteItem(bytes, position, end);
  if (status == 0) running_ += static_cast<std::int32_t>(bytes.size());
  return status;
}

std::int16_t FynFileWrite::EndCounted(const std::uint64_t* position, std::uint64_t* end) {
  FynFile file;
  const bool opened = file.Open(path_, FynFile::Mode::Write) && (position ? file.Seek(*position) : file.SeekToEnd());
  const std::uint64_t itemEnd = file.Position();
  ByteWriter w;
  w.U32(static_cast<std::uint32_t>(running_));
  if (!opened || itemEnd < static_cast<std::uint64_t>(running_) ||
      !file.WriteAt(itemEnd - static_cast<std::uint64_t>(running_), w.bytes().data(), 4)) {
    errType_ = -1;
    errCode_ = file.cause() != fyn::kCauseNone ? file.cause() : fyn::kCauseBadSeek;
    return -1;
  }
  if (end) *end = itemEnd;
  return 0;
}

// ---- raw file ----

std::int16_t FynFileWriteRaw::WriteHeader(const _FynRawHeader* header, const std::uint64_t* position,
                                          std::uint64_t* end) {
  ByteWriter w;
  w.U32(kRawHeaderBytes);
  w.U16(header->groupCount);
  w.U16(header->eventFlag);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteRaw::WriteGroup1Raw(const _FynRawG1Param* p, const std::uint64_t* position,
                                             std::uint64_t* end) {
  ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(2);
  fyn::WriteG1Unit1(w, Unit1Of(p->dataType, p->channels, p->dataCount, p->samplingHz, p->wordA, p->wordB));
  WriteStartTimeUnit(w, *p);
  w.EndItem(group);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteRaw::StartGroup2(std::int16_t channels, const std::uint64_t* position,
                                          std::uint64_t* end) {
  return StartCounted(static_cast<std::uint16_t>(channels), position, end);
}

std::int16_t FynFileWriteRaw::WriteGroup2Unit(const _FynRawG2Param* param, const std::uint64_t* position,
                                              std::uint64_t* end) {
  ByteWriter w;
  fyn::WriteRawG2Unit(w, *param);
  return AddCounted(w.bytes(), position, end);
}

std::int16_t FynFileWriteRaw::EndGroup2(const std::uint64_t* position, std::uint64_t* end) {
  return EndCounted(position, end);
}

std::int16_t FynFileWriteRaw::WriteDataGroup(std::span<const std::uint16_t> words, const std::uint64_t* position,
                                             std::uint64_t* end) {
  ByteWriter w;
  w.U32(static_cast<std::uint32_t>(4 + 2 * words.size()));
  for (std::uint16_t v : words) w.U16(v);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteRaw::WriteEventGroup(const std::vector<std::string>& typeNames,
                                              std::span<const FynRawEvent> events, const std::uint64_t* position,
                                              std::uint64_t* end) {
  ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(2);
  const std::size_t names = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(typeNames.size()));
  for (const auto& name : typeNames) w.Text(fyn::EncodeFileText(name));
  w.EndItem(names);
  const std::size_t list = w.BeginItem();
  w.U32(static_cast<std::uint32_t>(events.size()));
  for (const auto& e : events) {
    w.U16(e.type);
    w.U32(e.position);
  }
  w.EndItem(list);
  w.EndItem(group);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteRaw1_1::WriteGroup1Raw(const _FynRawG1Param1_1* p, const std::uint64_t* position,
                                                std::uint64_t* end) {
  ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(3);
  fyn::WriteG1Unit1(w, Unit1Of(p->dataType, p->channels, p->dataCount, p->samplingHz, p->wordA, p->wordB));
  WriteStartTimeUnit(w, *p);
  const std::size_t unit3 = w.BeginItem();
  w.U16(p->wordC);
  w.U16(p->wordD);
  w.U32(p->valueE);
  w.U16(p->wordF);
  w.EndItem(unit3);
  w.EndItem(group);
  return WriteItem(w.bytes(), position, end);
}

// ---- analysis file ----

std::int16_t FynFileWriteAna::WriteHeader(std::int16_t groupCount, const std::uint64_t* position,
                                          std::uint64_t* end) {
  ByteWriter w;
  w.U32(kShortHeaderBytes);
  w.U16(static_cast<std::uint16_t>(groupCount));
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteAna::WriteGroup1Ana(std::int16_t channels, const std::uint64_t* position,
                                             std::uint64_t* end) {
  ByteWriter w;
  w.U32(6);
  w.U16(static_cast<std::uint16_t>(channels));
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteAna::StartGroup2(std::int16_t channels, const std::uint64_t* position,
                                          std::uint64_t* end) {
  return StartCounted(static_cast<std::uint16_t>(channels), position, end);
}

std::int16_t FynFileWriteAna::WriteGroup2Unit(const _FynAnaG2Param* p, const std::uint64_t* position,
                                              std::uint64_t* end) {
  ByteWriter w;
  const std::size_t unit = w.BeginItem();
  w.U16(4);
  const std::size_t s1 = w.BeginItem();
  w.U16(p->word1);
  w.U16(p->word2);
  w.U32(p->dataCount);
  w.U16(p->word3);
  w.U32(p->value4);
  w.F64(p->value5);
  w.EndItem(s1);
  const std::size_t s2 = w.BeginItem();
  for (const auto& text : p->texts) w.Text(fyn::EncodeFileText(text));
  w.EndItem(s2);
  const std::size_t s3 = w.BeginItem();
  for (auto v : p->words8) w.U16(v);
  w.EndItem(s3);
  const std::size_t s4 = w.BeginItem();
  for (auto v : p->words3) w.U16(v);
  w.EndItem(s4);
  w.EndItem(unit);
  return AddCounted(w.bytes(), position, end);
}

std::int16_t FynFileWriteAna::EndGroup2(const std::uint64_t* position, std::uint64_t* end) {
  return EndCounted(position, end);
}

std::int16_t FynFileWriteAna::WriteDataGroup(const std::vector<std::vector<float>>& pairsPerChannel,
                                             const std::uint64_t* position, std::uint64_t* end) {
  ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(pairsPerChannel.size()));
  for (const auto& values : pairsPerChannel) {
    const std::size_t unit = w.BeginItem();
    w.Zeros(6);
    for (float v : values) w.F32(v);
    w.EndItem(unit);
  }
  w.EndItem(group);
  return WriteItem(w.bytes(), position, end);
}

// ---- EP raw file ----

std::int16_t FynFileWriteEPRaw::WriteHeader(const _EPRawHeader* header, const std::uint64_t* position,
                                            std::uint64_t* end) {
  ByteWriter w;
  w.U32(kShortHeaderBytes);
  w.U16(header->groupCount);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteEPRaw::WriteGroup1Raw(const _EPRawG1Param* p, const std::uint64_t* position,
                                               std::uint64_t* end) {
  ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(2);
  fyn::WriteG1Unit1(w, Unit1Of(p->dataType, p->channels, p->dataCount, p->samplingHz, p->wordA, p->wordB));
  const std::size_t unit2 = w.BeginItem();
  w.U16(p->word1);
  w.U16(p->word2);
  w.U32(p->value3);
  w.U16(p->word4);
  w.EndItem(unit2);
  w.EndItem(group);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteEPRaw::StartGroup2(std::int16_t channels, const std::uint64_t* position,
                                            std::uint64_t* end) {
  return StartCounted(static_cast<std::uint16_t>(channels), position, end);
}

std::int16_t FynFileWriteEPRaw::WriteGroup2Unit(const _EPRawG2Param* param, const std::uint64_t* position,
                                                std::uint64_t* end) {
  ByteWriter w;
  fyn::WriteRawG2Unit(w, *param);
  return AddCounted(w.bytes(), position, end);
}

std::int16_t FynFileWriteEPRaw::EndGroup2(const std::uint64_t* position, std::uint64_t* end) {
  return EndCounted(position, end);
}

// ---- "ORVENTALIS" group ----

std::int16_t FynFileWriteOVG3::WriteHeader(const char* name, const std::uint64_t* position, std::uint64_t* end) {
  const std::string_view text(name ? name : "");
  ByteWriter w;
  w.U32(static_cast<std::uint32_t>(8 + text.size()));
  w.Text(text);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteOVG3::CreateBCDAge(std::uint16_t years, std::uint16_t months, std::uint32_t* out) {
  if (years > 999 || months > 99) return -1;
  *out = (std::uint32_t{years / 100u} << 24) | (std::uint32_t{years / 10u % 10u} << 20) |
         (std::uint32_t{years % 10u} << 16) | (std::uint32_t{months / 10u} << 4) | (months % 10u);
  return 0;
}

std::int16_t FynFileWriteOVG3::WritePatientInfo(const _FynOVPatientInfo* info, const std::uint64_t* position,
                                                std::uint64_t* end) {
  std::uint32_t age = 0;
  if (CreateBCDAge(info->ageYears, info->ageMonths, &age) != 0) {
    errType_ = -1;
    errCode_ = fyn::kCauseGeneric;
    return -1;
  }
  ByteWriter w;
  const std::size_t unit = w.BeginItem();
  w.Text(fyn::EncodeFileText(info->text1));
  w.U16(info->patientWord);
  w.U32(age);
  w.Text(fyn::EncodeFileText(info->text2));
  w.EndItem(unit);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteOVG3::StartUnit2(std::int16_t count, const std::uint64_t* position, std::uint64_t* end) {
  return StartCounted(static_cast<std::uint16_t>(count), position, end);
}

std::int16_t FynFileWriteOVG3::WriteMarkData(std::int16_t kind, std::uint32_t markPosition,
                                             const std::uint64_t* position, std::uint64_t* end) {
  ByteWriter w;
  w.U16(static_cast<std::uint16_t>(kind));
  w.U32(markPosition);
  return AddCounted(w.bytes(), position, end);
}

std::int16_t FynFileWriteOVG3::EndUnit2(const std::uint64_t* position, std::uint64_t* end) {
  return EndCounted(position, end);
}

std::int16_t FynFileWriteOVG3::WriteEmptyUnit3(const std::uint64_t* position, std::uint64_t* end) {
  ByteWriter w;
  w.U32(6);
  w.U16(0);
  return WriteItem(w.bytes(), position, end);
}

std::int16_t FynFileWriteOVG3::StartUnit4(std::int16_t count, const std::uint64_t* position, std::uint64_t* end) {
  return StartCounted(static_cast<std::uint16_t>(count), position, end);
}

std::int16_t FynFileWriteOVG3::WriteLabelData(const _FynOVLabelInfo* label, const std::uint64_t* position,
                                              std::uint64_t* end) {
  ByteWriter w;
  w.U32(label->position);
  w.U16(label->word);
  w.F64(label->value);
  w.Text(fyn::EncodeFileText(label->text));
  return AddCounted(w.bytes(), position, end);
}

std::int16_t FynFileWriteOVG3::EndUnit4(const std::uint64_t* position, std::uint64_t* end) {
  return EndCounted(position, end);
}

std::int16_t FynFileWriteOVG3::WriteFreeCommentUnit(std::span<const _FynOVFreeCommentInfo> entries,
                                                    const std::uint64_t* position, std::uint64_t* end) {
  ByteWriter w;
  const std::size_t unit = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(entries.size()));
  for (const auto& e : entries) {
    const std::size_t entry = w.BeginItem();
    w.Text(fyn::EncodeFileText(e.text1));
    w.Text(fyn::EncodeFileText(e.text2));
    w.EndItem(entry);
  }
  w.EndItem(unit);
  return WriteItem(w.bytes(), position, end);
}
