#include "common/fileaccess/fyn_group_codec.h"

#include "common/fileaccess/fyn_file_io.h"

namespace fyn {

bool ParseG1Unit1(ByteReader unit, G1Unit1* out) {
  unit.Skip(4);
  G1Unit1 v;
  v.dataType = unit.U16();
  v.channels = unit.U16();
  v.dataCount = unit.U32();
  v.samplingHz = unit.F64();
  v.wordA = unit.U16();
  v.wordB = unit.U16();
  if (!unit.ok()) return false;
  *out = v;
  return true;
}

void WriteG1Unit1(ByteWriter& w, const G1Unit1& in) {
  const std::size_t at = w.BeginItem();
  w.U16(in.dataType);
  w.U16(in.channels);
  w.U32(in.dataCount);
  w.F64(in.samplingHz);
  w.U16(in.wordA);
  w.U16(in.wordB);
  w.EndItem(at);
}

bool ParseRawG2Unit(ByteReader unit, _FynRawG2Param* out) {
  _FynRawG2Param v = *out;
  unit.Skip(4 + 2);  // unit length, sub-unit count
  ByteReader names = unit.Item(4);
  names.Skip(4);
  v.name = DecodeFileText(names.Text(), _FynRawG2Param::kNameCapacity);
  v.comment = DecodeFileText(names.Text(), _FynRawG2Param::kCommentCapacity);
  ByteReader cal = unit.Item(4);
  cal.Skip(4);
  v.channelWord = cal.U16();
  v.fullScale = cal.F64();
  v.calFlag = cal.U16();
  v.calTopSample = cal.U16();
  v.calBottomSample = cal.U16();
  v.calTopPhysical = cal.F64();
  v.calBottomPhysical = cal.F64();
  v.unit = DecodeFileText(cal.Text(), _FynRawG2Param::kUnitCapacity);
  v.drawRateFlag = cal.U16();
  if (v.drawRateFlag == 1) v.drawRate = cal.F64();
  ByteReader words = unit.Item(4);
  words.Skip(4);
  for (auto& word : v.words) word = words.U16();
  if (!unit.ok() || !names.ok() || !cal.ok() || !words.ok()) return false;
  *out = std::move(v);
  return true;
}

void WriteRawG2Unit(ByteWriter& w, const _FynRawG2Param& in) {
  const std::size_t unit = w.BeginItem();
  w.U16(3);
  const std::size_t names = w.BeginItem();
  w.Text(EncodeFileText(in.name));
  w.Text(EncodeFileText(in.comment));
  w.EndItem(names);
  const std::size_t cal = w.BeginItem();
  w.U16(in.channelWord);
  w.F64(in.fullScale);
  w.U16(in.calFlag);
  w.U16(in.calTopSample);
  w.U16(in.calBottomSample);
  w.F64(in.calTopPhysical);
  w.F64(in.calBottomPhysical);
  w.Text(EncodeFileText(in.unit));
  w.U16(in.drawRateFlag);
  w.F64(in.drawRate);
  w.EndItem(cal);
  const std::size_t words = w.BeginItem();
  for (auto word : in.words) w.U16(word);
  w.EndItem(words);
  w.EndItem(unit);
}

Parse ParseRawG2(std::span<const unsigned char> group, int channel, _FynRawG2Param* out) {
  ByteReader r(group);
  r.Skip(4);
  const std::uint16_t channels = r.U16();
  if (!r.ok()) return Parse::Damaged;
  if (channel < 0 || channel >= channels) return Parse::OutOfRange;
  for (int k = 0; k < channel; ++k) r.Item(6);
  ByteReader unit = r.Item(6);
  if (!r.ok()) return Parse::Damaged;
  return ParseRawG2Unit(unit, out) ? Parse::Ok : Parse::Damaged;
}

Parse ParseRawG2All(std::span<const unsigned char> group, int channels, std::vector<_FynRawG2Param>* out) {
  ByteReader r(group);
  r.Skip(4);
  const std::uint16_t stored = r.U16();
  if (!r.ok()) return Parse::Damaged;
  if (channels < 0 || channels > stored) return Parse::OutOfRange;
  out->assign(static_cast<std::size_t>(channels), _FynRawG2Param{});
  for (auto& param : *out) {
    ByteReader unit = r.Item(6);
    if (!r.ok() || !ParseRawG2Unit(unit, &param)) return Parse::Damaged;
  }
  return Parse::Ok;
}

}  // namespace fyn
