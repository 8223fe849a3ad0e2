#include "common/fileaccess/fyn_edit_file_raw.h"

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_file_io.h"

using fyn::ByteReader;
using fyn::ByteWriter;
using fyn::FynFile;

namespace {

std::string Rest(ByteReader& r) {
  const auto bytes = r.Bytes(r.left());
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string AsString(std::string_view v) { return std::string(v); }

}  // namespace

FynEditFileRaw::FynEditFileRaw(const char* path) : FynFileAccess(path) { InitParams(); }

FynEditFileRaw::~FynEditFileRaw() = default;

int FynEditFileRaw::Init() {
  if (GetChannels() != kFynOk) return 0;
  if (ReadParamToLocal() != kFynOk) return 0;
  return 1;
}

int FynEditFileRaw::GetChannels() {
  if (CheckKind(kFynTypeRaw) != kFynOk) return kFynError;
  if (!HasGroup(0) || GroupLength(0) < 14) return Damaged();
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  unsigned char word[2];
  if (!file.ReadAt(GroupStart(0) + 12, word, 2)) return IoFail(file);
  channels_ = ByteReader(word).U16();
  return kFynOk;
}

int FynEditFileRaw::ReadParamToLocal() {
  loaded_ = false;
  if (CheckKind(kFynTypeRaw) != kFynOk) return kFynError;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  if (ReadGroup(file, 1, &group) != kFynOk) return kFynError;
  ByteReader r(group);
  r.Skip(4);
  const std::uint16_t count = r.U16();
  std::vector<Channel> local(count);
  for (auto& ch : local) {
    ByteReader unit = r.Item(6);
    unit.Skip(4);
    ch.subUnitCount = unit.U16();
    ByteReader s1 = unit.Item(4);
    s1.Skip(4);
    ch.name = AsString(s1.Text());
    ch.comment = AsString(s1.Text());
    ch.tail1 = Rest(s1);
    ByteReader s2 = unit.Item(4);
    s2.Skip(4);
    ch.channelWord = s2.U16();
    ch.fullScale = s2.F64();
    ch.calFlag = s2.U16();
    ch.calTopSample = s2.U16();
    ch.calBottomSample = s2.U16();
    ch.calTopPhysical = s2.F64();
    ch.calBottomPhysical = s2.F64();
    ch.unit = AsString(s2.Text());
    ch.drawRateFlag = s2.U16();
    ch.hasDrawRate = s2.left() >= 8;
    if (ch.hasDrawRate) ch.drawRate = s2.F64();
    ch.tail2 = Rest(s2);
    ByteReader s3 = unit.Item(4);
    s3.Skip(4);
    for (auto& w : ch.words) w = s3.U16();
    ch.tail3 = Rest(s3);
    ch.unitTail = Rest(unit);
    if (!r.ok() || !unit.ok() || !s1.ok() || !s2.ok() || !s3.ok()) return Damaged();
  }
  groupTail_ = Rest(r);
  if (!r.ok()) return Damaged();
  local_ = std::move(local);
  loaded_ = true;
  return kFynOk;
}

FynEditFileRaw::Channel* FynEditFileRaw::ChannelAt(int ch) {
  if (ch < 0 || ch >= channels_ || ch >= static_cast<int>(local_.size())) return nullptr;
  return &local_[static_cast<std::size_t>(ch)];
}

int FynEditFileRaw::SetChannelName(int ch, const char* name) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->name = fyn::EncodeFileText(name ? name : "");
  return 1;
}

int FynEditFileRaw::SetChannelComment(int ch, const char* comment) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->comment = fyn::EncodeFileText(comment ? comment : "");
  return 1;
}

int FynEditFileRaw::SetCalUnit(int ch, const char* unit) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->unit = fyn::EncodeFileText(unit ? unit : "");
  return 1;
}

int FynEditFileRaw::SetCalFlag(int ch, std::int16_t flag) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->calFlag = static_cast<std::uint16_t>(flag);
  return 1;
}

int FynEditFileRaw::SetCalTopVoltage(int ch, std::uint16_t sample) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->calTopSample = sample;
  return 1;
}

int FynEditFileRaw::SetCalBottomVoltage(int ch, std::uint16_t sample) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->calBottomSample = sample;
  return 1;
}

int FynEditFileRaw::SetCalTopNumber(int ch, double physical) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->calTopPhysical = physical;
  return 1;
}

int FynEditFileRaw::SetCalBottomNumber(int ch, double physical) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->calBottomPhysical = physical;
  return 1;
}

int FynEditFileRaw::SetDrawRate(int ch, double rate) {
  Channel* c = ChannelAt(ch);
  if (!c) return 0;
  c->drawRate = rate;
  c->drawRateFlag = 1;
  c->hasDrawRate = true;
  return 1;
}

std::vector<unsigned char> FynEditFileRaw::BuildGroup2() const {
  ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(local_.size()));
  for (const auto& ch : local_) {
    const std::size_t unit = w.BeginItem();
    w.U16(ch.subUnitCount);
    const std::size_t s1 = w.BeginItem();
    w.Text(ch.name);
    w.Text(ch.comment);
    w.Bytes(ch.tail1);
    w.EndItem(s1);
    const std::size_t s2 = w.BeginItem();
    w.U16(ch.channelWord);
    w.F64(ch.fullScale);
    w.U16(ch.calFlag);
    w.U16(ch.calTopSample);
    w.U16(ch.calBottomSample);
    w.F64(ch.calTopPhysical);
    w.F64(ch.calBottomPhysical);
    w.Text(ch.unit);
    w.U16(ch.drawRateFlag);
    if (ch.hasDrawRate) w.F64(ch.drawRate);
    w.Bytes(ch.tail2);
    w.EndItem(s2);
    const std::size_t s3 = w.BeginItem();
    for (auto v : ch.words) w.U16(v);
    w.Bytes(ch.tail3);
    w.EndItem(s3);
    w.Bytes(ch.unitTail);
    w.EndItem(unit);
  }
  w.Bytes(groupTail_);
  w.EndItem(group);
  return std::move(w.bytes());
}

int FynEditFileRaw::RebuildRawFile() {
  if (!IsInitialised() || !loaded_) return kFynNotInitialised;
  fyn::FynRebuild target(GetFilePath());
  if (!target.IsOpen()) return IoFail(target);
  const std::int16_t header = CopyHeader(target);
  if (header != kFynOk) return header;
  if (CopyGroup(target, 0) != kFynOk) return kFynError;
  const std::vector<unsigned char> group2 = BuildGroup2();
  if (!target.Write(group2.data(), group2.size())) return IoFail(target);
  for (int i = 2; i < GetGroupCnt(); ++i) {
    if (CopyGroup(target, static_cast<std::int16_t>(i)) != kFynOk) return kFynError;
  }
  if (SaveTempFile(target) != kFynOk) return kFynError;
  // The groups after group 2 have moved when its length changed.
  InitParams();
  return kFynOk;
}

int FynEditFileRaw::SaveTempFile(fyn::FynRebuild& rebuilt) {
  if (!rebuilt.Commit()) return IoFail(rebuilt);
  return kFynOk;
}
