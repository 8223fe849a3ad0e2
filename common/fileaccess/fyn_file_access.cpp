#include "common/fileaccess/fyn_file_access.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_group_codec.h"

using fyn::ByteReader;
using fyn::FynFile;

namespace {

constexpr char kRawTypeText[] = "FY_VEX_RAWDATA";
constexpr char kAnaTypeText[] = "FY_VEX_ANADATA";
// At most this many bytes of the type text are compared.
constexpr std::uint32_t kTypeTextLimit = 29;
// Property group names longer than this are never found.
constexpr std::size_t kGroupNameLimit = 28;
// A parameter group is read whole; one larger than this is taken for a damaged length.
constexpr std::uint64_t kMaxParamGroupBytes = 256u * 1024u * 1024u;
constexpr std::uint32_t kWorkBufferBytes = 0xFFFE;

}  // namespace

FynFileAccess::FynFileAccess() = default;

FynFileAccess::FynFileAccess(const char* path) : path_(path ? path : "") {}

FynFileAccess::~FynFileAccess() = default;

std::int16_t FynFileAccess::GetErrCode() { return errCode_; }
std::int16_t FynFileAccess::GetErrType() { return errType_; }
std::int16_t FynFileAccess::GetFileType() { return fileType_; }
std::uint16_t FynFileAccess::GetFileVersion() { return version_; }

std::int16_t FynFileAccess::GetGroupCnt() {
  if (!IsInitialised()) return kFynNotInitialised;
  return groupCount_;
}

void FynFileAccess::SetFilePath(const char* path) {
  path_ = path ? path : "";
  // The group table belongs to the old file: forget it so nothing reads the new file by it.
  initialised_ = 0;
  fileType_ = kFynTypeOther;
  groupCount_ = 0;
  groupStart_.clear();
  groupLength_.clear();
}

std::int16_t FynFileAccess::CheckKind(std::int16_t type) const {
  if (!IsInitialised()) return kFynNotInitialised;
  if (fileType_ != type) return kFynError;
  return kFynOk;
}

bool FynFileAccess::OpenRead(FynFile& file) {
  if (file.Open(path_, FynFile::Mode::Read)) return true;
  IoFail(file);
  return false;
}

std::int16_t FynFileAccess::IoFail(const FynFile& file) {
  errType_ = -1;
  errCode_ = file.cause() != fyn::kCauseNone ? file.cause() : fyn::kCauseGeneric;
  return kFynError;
}

std::int16_t FynFileAccess::IoFail(const fyn::FynRebuild& target) {
  errType_ = -1;
  errCode_ = target.cause();
  return kFynError;
}

std::int16_t FynFileAccess::Damaged() {
  errType_ = -1;
  errCode_ = fyn::kCauseInvalidFile;
  return kFynError;
}

std::int16_t FynFileAccess::NoMemory(std::uint64_t size) {
  errType_ = -2;
  errCode_ = static_cast<std::int16_t>(std::min<std::uint64_t>(size, 0x7FFF));
  return kFynError;
}

std::int16_t FynFileAccess::InitParams() {
  initialised_ = 0;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::uint64_t fileLength = 0;
  if (!file.Length(&fileLength)) return IoFail(file);

  // ID block: length, item word, type text, version. A file too short for it is not ours.
  unsigned char head[10];
  if (fileLength < sizeof head || !file.ReadAt(0, head, sizeof head)) {
    fileType_ = kFynTypeOther;
    return kFynOk;
  }
  ByteReader id(head);
  const std::uint32_t idLength = id.U32();
  const std::uint16_t itemWord = id.U16();
  const std::uint32_t textLength = id.U32();
  const std::uint32_t taken = std::min(textLength, kTypeTextLimit);
  char text[kTypeTextLimit] = {};
  if (fileLength < sizeof head + taken || !file.Read(text, taken)) {
    fileType_ = kFynTypeOther;
    return kFynOk;
  }
  const std::string_view typeText(text, taken);
  std::int16_t type = kFynTypeOther;
  if (typeText == kRawTypeText) type = kFynTypeRaw;
  if (typeText == kAnaTypeText) type = kFynTypeAna;
  fileType_ = type;
  if (type == kFynTypeOther) return kFynOk;

  unsigned char word[2];
  if (!file.Read(word, 2)) return IoFail(file);
  const std::uint16_t version = ByteReader(word).U16();
  // The ID block must hold its own fields; the header block its length and group count.
  if (idLength < 12u + textLength) return Damaged();
  unsigned char header[6];
  if (!file.ReadAt(idLength, header, sizeof header)) return IoFail(file);
  ByteReader hr(header);
  const std::uint32_t headerLength = hr.U32();
  const std::uint16_t count = hr.U16();
  if (headerLength < 6 || count > 0x7FFF) return Damaged();

  std::vector<std::uint64_t> starts;
  std::vector<std::uint64_t> lengths;
  try {
    starts.resize(count);
    lengths.resize(count);
  } catch (const std::bad_alloc&) {
    return kFynError;
  }
  std::uint64_t at = std::uint64_t{idLength} + headerLength;
  for (std::uint16_t i = 0; i < count; ++i) {
    unsigned char len[4];
    if (at + 4 > fileLength) return Damaged();
    if (!file.ReadAt(at, len, 4)) return IoFail(file);
    const std::uint32_t groupLength = ByteReader(len).U32();
    // A group must hold at least its length field and must end inside the file.
    if (groupLength < 4 || at + groupLength > fileLength) return Damaged();
    starts[i] = at;
    lengths[i] = groupLength;
    at += groupLength;
  }

  itemWord_ = itemWord;
  version_ = version;
  idLength_ = idLength;
  headerLength_ = headerLength;
  groupCount_ = static_cast<std::int16_t>(count);
  groupStart_ = std::move(starts);
  groupLength_ = std::move(lengths);
  initialised_ = 1;
  return kFynOk;
}

std::int16_t FynFileAccess::GetEventFlg() {
  if (!IsInitialised()) return kFynNotInitialised;
  if (fileType_ != kFynTypeRaw) return kFynError;
  // The EP raw header (6 bytes) has no event flag: such a file has no event group.
  if (headerLength_ < 8) return 0;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  unsigned char word[2];
  if (!file.ReadAt(std::uint64_t{idLength_} + 6, word, 2)) return IoFail(file);
  return static_cast<std::int16_t>(ByteReader(word).U16() != 0 ? 1 : 0);
}

int FynFileAccess::DataGroupIndex() {
  if (!IsInitialised()) return kFynNotInitialised;
  int index = groupCount_ - 1;
  if (fileType_ == kFynTypeRaw) {
    const std::int16_t flag = GetEventFlg();
    if (flag < 0) return flag;
    if (flag != 0) index = groupCount_ - 2;
  } else if (fileType_ != kFynTypeAna) {
    return kFynError;
  }
  return index;
}

std::int16_t FynFileAccess::ReadGroup(FynFile& file, int index, std::vector<unsigned char>* bytes) {
  if (!HasGroup(index)) return Damaged();
  const std::uint64_t length = GroupLength(index);
  if (length > kMaxParamGroupBytes) return Damaged();
  try {
    bytes->resize(static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    return NoMemory(length);
  }
  if (!file.ReadAt(GroupStart(index), bytes->data(), bytes->size())) return IoFail(file);
  // The file may have changed since InitParams: the stored length must still be the same.
  if (ByteReader(*bytes).U32() != length) return Damaged();
  return kFynOk;
}

std::int16_t FynFileAccess::GetPropGroupAddress(const char* name, std::uint32_t* offset) {
  if (offset) *offset = 0;
  if (!IsInitialised()) return kFynNotInitialised;
  const int end = DataGroupIndex();
  if (end < 0) return kFynError;
  const std::size_t nameLength = name ? std::strlen(name) : 0;
  if (nameLength > kGroupNameLimit || end <= 2) return kFynOk;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  for (int i = 2; i < end; ++i) {
    // The group holds its length, header length, name length and name.
    if (GroupLength(i) < 12 + nameLength) continue;
    unsigned char buf[4 + kGroupNameLimit];
    if (!file.ReadAt(GroupStart(i) + 8, buf, 4 + nameLength)) return IoFail(file);
    ByteReader r(std::span<const unsigned char>(buf, 4 + nameLength));
    if (r.U32() != nameLength) continue;
    if (std::memcmp(buf + 4, name, nameLength) == 0) {
      if (offset) *offset = static_cast<std::uint32_t>(GroupStart(i));
      return kFynOk;
    }
  }
  return kFynOk;
}

std::int16_t FynFileAccess::CreateWkReadMem(std::unique_ptr<unsigned char[]>* buffer,
                                            std::uint32_t* size) {
  std::uint32_t tried = kWorkBufferBytes;
  while (tried >= 1) {
    unsigned char* p = new (std::nothrow) unsigned char[tried];
    if (p) {
      buffer->reset(p);
      *size = tried;
      return kFynOk;
    }
    if (tried == 1) break;
    tried /= 2;
  }
  errType_ = -2;
  errCode_ = static_cast<std::int16_t>(tried);
  return kFynError;
}

std::int16_t FynFileAccess::ReadHeaderBytes(std::vector<unsigned char>* bytes) {
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  const std::size_t length = std::size_t{idLength_} + headerLength_;
  try {
    bytes->resize(length);
  } catch (const std::bad_alloc&) {
    return NoMemory(length);
  }
  if (!file.ReadAt(0, bytes->data(), length)) return IoFail(file);
  return kFynOk;
}

std::int16_t FynFileAccess::CopyHeader(fyn::FynRebuild& target) {
  if (!IsInitialised()) return kFynNotInitialised;
  std::vector<unsigned char> bytes;
  const std::int16_t status = ReadHeaderBytes(&bytes);
  if (status != kFynOk) return status;
  if (!target.Write(bytes.data(), bytes.size())) return IoFail(target);
  return kFynOk;
}

std::int16_t FynFileAccess::CopyGroup(fyn::FynRebuild& target, std::int16_t index) {
  if (!IsInitialised()) return kFynNotInitialised;
  if (!HasGroup(index)) return kFynError;
  std::unique_ptr<unsigned char[]> buffer;
  std::uint32_t bufferSize = 0;
  if (CreateWkReadMem(&buffer, &bufferSize) != kFynOk) return kFynError;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  unsigned char len[4];
  if (!file.ReadAt(GroupStart(index), len, 4)) return IoFail(file);
  if (ByteReader(len).U32() != GroupLength(index)) return Damaged();
  std::uint64_t left = GroupLength(index);
  if (!file.Seek(GroupStart(index))) return IoFail(file);
  while (left > 0) {
    const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, bufferSize));
    if (!file.Read(buffer.get(), piece)) return IoFail(file);
    if (!target.Write(buffer.get(), piece)) return IoFail(target);
    left -= piece;
  }
  return kFynOk;
}

std::int16_t FynFileAccess::WriteNewSpace(fyn::FynRebuild& target, const char* name, std::uint32_t size) {
  const std::size_t nameLength = name ? std::strlen(name) : 0;
  // A size that cannot hold the group's own header would leave a wrong group length.
  if (size < 12 + nameLength) {
    errType_ = -1;
    errCode_ = fyn::kCauseGeneric;
    return kFynError;
  }
  fyn::ByteWriter w;
  w.U32(size);
  w.U32(static_cast<std::uint32_t>(8 + nameLength));
  w.Text(std::string_view(name ? name : "", nameLength));
  if (!target.Write(w.bytes().data(), w.size())) return IoFail(target);
  std::vector<unsigned char> zeros(std::min<std::size_t>(size - w.size(), kWorkBufferBytes), 0);
  std::uint64_t left = size - w.size();
  while (left > 0) {
    const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
    if (!target.Write(zeros.data(), piece)) return IoFail(target);
    left -= piece;
  }
  return kFynOk;
}

std::int16_t FynFileAccess::CreateNewGroupSpace(const char* name, std::uint32_t size) {
  if (!IsInitialised()) return kFynNotInitialised;
  int insertAt = 0;
  if (fileType_ == kFynTypeAna) {
    insertAt = groupCount_ - 1;
  } else if (fileType_ == kFynTypeRaw) {
    const std::int16_t flag = GetEventFlg();
    if (flag < 0) return kFynError;
    insertAt = flag != 0 ? groupCount_ - 2 : groupCount_ - 1;
  } else {
    return kFynError;
  }
  if (insertAt < 0 || groupCount_ >= 0x7FFF) return Damaged();

  // The ID and header blocks with the group count already grown by one.
  std::vector<unsigned char> header;
  std::int16_t status = ReadHeaderBytes(&header);
  if (status != kFynOk) return status;
  fyn::ByteWriter count;
  count.U16(static_cast<std::uint16_t>(groupCount_ + 1));
  header[idLength_ + 4] = count.bytes()[0];
  header[idLength_ + 5] = count.bytes()[1];

  fyn::FynRebuild target(path_);
  if (!target.IsOpen()) return IoFail(target);
  if (!target.Write(header.data(), header.size())) return IoFail(target);
  for (int i = 0; i < groupCount_; ++i) {
    if (i == insertAt && WriteNewSpace(target, name, size) != kFynOk) return kFynError;
    if (CopyGroup(target, static_cast<std::int16_t>(i)) != kFynOk) return kFynError;
  }
  if (!target.Commit()) return IoFail(target);
  return InitParams();
}

std::int16_t FynFileAccess::ReadRawChannelParam(int channel, _FynRawG2Param* param) {
  const std::int16_t kind = CheckKind(kFynTypeRaw);
  if (kind != kFynOk) return kind;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  const std::int16_t status = ReadGroup(file, 1, &group);
  if (status != kFynOk) return status;
  switch (fyn::ParseRawG2(group, channel, param)) {
    case fyn::Parse::Ok:
      return kFynOk;
    case fyn::Parse::OutOfRange:
      return kFynError;
    case fyn::Parse::Damaged:
      break;
  }
  return Damaged();
}
