#include "app/results/raw_output_file.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <vector>

#include "app/document/import_plugin.h"
#include "app/document/import_plugin_abi.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/frame/time_point_scale.h"
#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "common/fileaccess/fyn_file_io.h"
#include "common/fileaccess/fyn_file_write.h"
#include "common/fileaccess/fyn_group_codec.h"
#include "platform/draw/gdi.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace rawout {

namespace {

constexpr char kWhere[] = "CMainFrame::RawOutput";
constexpr std::uint32_t kStrWriteFailed = 63477;  // "Fail to write data."
constexpr std::uint32_t kStrNoMemory = 2522;      // "Fail to get memory."
constexpr std::uint32_t kStrOpenRecording = 63481;
constexpr int kOwnRaw = 0;
constexpr int kPlugin = 3;

struct Failed {
  std::string text;
};

void Say(const std::string& text) { ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION); }

std::string ReadErrorText(int code) {
  switch (code) {
    case -2: return "GetRawDataWORDAll: NO_INIT";
    case -1: return "GetRawDataWORDAll: ERR";
    case -3: return "GetRawDataWORDAll: NO_EVENT";
    case -4: return "GetRawDataWORDAll: NO_GROUP";
    default: return "GetRawDataWORDAll: Another ERR";
  }
}

// What the file is cut from: the selected channels, the range and its first sample.
struct Cut {
  std::vector<int> channels;     // selected, in channel order
  std::uint32_t rate = 0;        // R, of the last selected channel
  std::int64_t offset = 0;       // O, of the last selected channel
  std::int64_t perEpoch = 0;     // S = E x R
  std::int64_t first = 0;        // F
  std::int64_t last = 0;         // L
  std::int64_t p0 = 0;           // first sample of the range
  std::int64_t p1 = 0;           // last sample of the range
  std::uint32_t dataCount = 0;   // (L - F + 1) x S
  std::vector<std::pair<std::uint16_t, std::uint32_t>> events;  // type, position - P0
};

void WriteChannelUnit(fyn::ByteWriter& w, const LyrChInfo& ch) {
  _FynRawG2Param p;
  p.name = ch.name;
  p.channelWord = ch.calibration.channel;
  p.fullScale = ch.calibration.fullScale;
  if (ch.calibration.calibrated != 0) {
    p.calFlag = 1;
    p.calTopSample = ch.calibration.topSample;
    p.calBottomSample = ch.calibration.bottomSample;
    p.calTopPhysical = ch.calibration.topValue;
    p.calBottomPhysical = ch.calibration.bottomValue;
    p.unit = ch.unit;
  } else {
    p.calFlag = 0;
    p.calTopSample = 0xFFFF;
    p.calBottomSample = 0;
    p.calTopPhysical = ch.calibration.fullScale * 0.001;
    p.calBottomPhysical = ch.calibration.fullScale * -0.001;
    p.unit = "volt";
  }
  p.drawRateFlag = 1;
  p.drawRate = ch.unitsPerCm;
  p.words = {static_cast<std::uint16_t>(draw::GetRValue(ch.colour)), static_cast<std::uint16_t>(draw::GetGValue(ch.colour)),
             static_cast<std::uint16_t>(draw::GetBValue(ch.colour))};
  fyn::WriteRawG2Unit(w, p);
}

void WriteSubjectGroup(fyn::ByteWriter& w, const LyrRecordInfo& r) {
  const std::size_t group = w.BeginItem();
  w.U32(18);
  w.Text("ORVENTALIS");
  w.U16(7);  // units
  w.U16(3);  // layout version
  const std::size_t patient = w.BeginItem();
  w.Text(fyn::EncodeFileText(r.subjectName));
  w.U16(static_cast<std::uint16_t>(r.gender));
  std::uint32_t age = 0;
  FynFileWriteOVG3::CreateBCDAge(static_cast<std::uint16_t>(std::clamp(r.ageYears, 0, 999)),
                                 static_cast<std::uint16_t>(std::clamp(r.ageMonths, 0, 99)), &age);
  w.U32(age);
  w.Text(fyn::EncodeFileText(r.memo));
  w.EndItem(patient);
  for (int k = 0; k < 5; ++k) {
    w.U32(6);
    w.U16(0);
  }
  const std::size_t comments = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(r.freeComments.size()));
  for (const auto& item : r.freeComments) {
    const std::size_t entry = w.BeginItem();
    w.Text(fyn::EncodeFileText(item.label));
    w.Text(fyn::EncodeFileText(item.text));
    w.EndItem(entry);
  }
  w.EndItem(comments);
  const std::size_t used = w.size() - group;
  if (used > kPropertyGroupBytes) throw Failed{std::string(kWhere) + res::LoadString(kStrWriteFailed)};
  w.Zeros(kPropertyGroupBytes - used);
  w.EndItem(group);
}

// Items 1 to 5 of the file: ID, header, common group, channel group, subject group.
std::vector<unsigned char> HeadBytes(const CQLM2_AnalyzerDoc& doc, const Cut& cut) {
  const LyrRecordInfo& r = doc.RecordInfo;
  fyn::ByteWriter w;
  w.U32(26);
  w.U16(2);
  w.Text("FY_VEX_RAWDATA");
  w.U16(0x0110);

  const bool events = !cut.events.empty();
  w.U32(8);
  w.U16(events ? 5 : 4);
  w.U16(events ? 1 : 0);

  const std::size_t common = w.BeginItem();
  w.U16(3);
  w.U32(24);
  w.U16(r.dataType != 0 ? 1 : 0);
  w.U16(static_cast<std::uint16_t>(cut.channels.size()));
  w.U32(cut.dataCount);
  w.F64(static_cast<double>(cut.rate) * 1.00001);
  w.U16(16);
  w.U16(0);
  w.U32(20);
  if (r.startTimeValid != 0) {
    const CalendarTime start{r.startDateTime[0], r.startDateTime[1], r.startDateTime[2],
                             r.startDateTime[3], r.startDateTime[4], r.startDateTime[5]};
    const CalendarTime t = AddSeconds(start, cut.offset / cut.rate + static_cast<std::int64_t>(EpochSeconds) * cut.first);
    for (int v : {1, t.year, t.month, t.day, t.hour, t.minute, t.second, 0}) w.U16(static_cast<std::uint16_t>(v));
  } else {
    for (int v : {0, 2000, 1, 1, 0, 0, 0, 0}) w.U16(static_cast<std::uint16_t>(v));
  }
  w.U32(14);
  w.U16(0);
  w.U16(0);
  w.U32(0);
  w.U16(0xFFFF);
  w.EndItem(common);

  const std::size_t channels = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(cut.channels.size()));
  for (int c : cut.channels) WriteChannelUnit(w, doc.ChInfo[static_cast<std::size_t>(c)]);
  w.EndItem(channels);

  WriteSubjectGroup(w, r);
  return std::move(w.bytes());
}

std::vector<unsigned char> EventBytes(const CQLM2_AnalyzerDoc& doc, const Cut& cut) {
  fyn::ByteWriter w;
  const std::size_t group = w.BeginItem();
  w.U16(2);
  const std::size_t names = w.BeginItem();
  w.U16(static_cast<std::uint16_t>(doc.EventNames.size()));
  for (const std::string& name : doc.EventNames) w.Text(fyn::EncodeFileText(name));
  w.EndItem(names);
  const std::size_t list = w.BeginItem();
  w.U32(static_cast<std::uint32_t>(cut.events.size()));
  for (const auto& [type, position] : cut.events) {
    w.U16(type);
    w.U32(position);
  }
  w.EndItem(list);
  w.EndItem(group);
  return std::move(w.bytes());
}

// Reads one epoch's samples of the selected channels as sample frames.
class EpochSource {
 public:
  EpochSource(CQLM2_AnalyzerDoc& doc, const Cut& cut) : doc_(doc), cut_(cut) {
    const std::size_t s = static_cast<std::size_t>(cut.perEpoch);
    frames_.resize(s * cut.channels.size());
    if (doc.RecordInfo.sourceKind == kOwnRaw) {
      raw_ = std::make_unique<FynFileAccessRaw>(doc.RecordInfo.path.c_str());
      const std::int16_t init = raw_->InitParams();
      if (init != 0) throw Failed{std::string(kWhere) + "\n" + ReadErrorText(init)};
      std::int16_t stored = 0;
      const std::int16_t status = raw_->GetGroup1_channels(stored);
      if (status != 0 || stored <= 0) throw Failed{std::string(kWhere) + "\n" + ReadErrorText(status != 0 ? status : -4)};
      storedChannels_ = stored;
      if (std::any_of(cut.channels.begin(), cut.channels.end(), [&](int c) { return c >= stored; }))
        throw Failed{std::string(kWhere) + "\n" + ReadErrorText(-4)};
      words_.resize(s * static_cast<std::size_t>(stored));
    } else if (doc.RecordInfo.sourceKind == kPlugin) {
      if (PluginModule.IsLoaded()) wordData_ = PluginModule.Function<ImpGetRawWordData>("GetRawWordData");
      if (wordData_ == nullptr) throw Failed{std::string(kWhere) + "\n" + "GetRawWordData: NO_ENTRY"};
      words_.resize(s * cut.channels.size());
    } else {
      throw Failed{std::string(kWhere) + res::LoadString(kStrWriteFailed)};
    }
  }

  // The frames of epoch e (S frames of K words), or a failure with the user's text.
  const std::vector<std::uint16_t>& Epoch(std::int64_t e) {
    const std::int64_t s = cut_.perEpoch;
    const std::size_t k = cut_.channels.size();
    std::fill(words_.begin(), words_.end(), 0);
    if (raw_) {
      // One offset for all channels: the first channel's (the file's frames hold every channel).
      const std::int64_t from = s * e + doc_.ChInfo[0].startOffset;
      if (from < 0 || from + s - 1 > 0xFFFFFFFFll) throw Failed{std::string(kWhere) + "\n" + ReadErrorText(-1)};
      const std::int16_t status = raw_->GetRawDataWORDAll(static_cast<std::uint32_t>(from),
                                                          static_cast<std::uint32_t>(from + s - 1), words_.data());
      if (status != 0) throw Failed{std::string(kWhere) + "\n" + ReadErrorText(status)};
      for (std::size_t j = 0; j < k; ++j) {
        const std::uint16_t* src = words_.data() + static_cast<std::size_t>(cut_.channels[j]) * static_cast<std::size_t>(s);
        for (std::int64_t i = 0; i < s; ++i) frames_[static_cast<std::size_t>(i) * k + j] = src[i];
      }
      return frames_;
    }
    const std::int64_t from = s * e + cut_.offset;
    if (from < 0 || from > 0x7FFFFFFF || s > 0x7FFFFFFF) throw Failed{std::string(kWhere) + "\n" + "GetRawWordData: ERR"};
    for (std::size_t j = 0; j < k; ++j) {
      const int c = cut_.channels[j];
      std::uint16_t* dst = words_.data() + j * static_cast<std::size_t>(s);
      if (wordData_(doc_.RecordInfo.path.c_str(), 0, doc_.MontageNumber, c, static_cast<std::int32_t>(from),
                    static_cast<int>(s), dst) == 0)
        throw Failed{std::string(kWhere) + "\n" + "GetRawWordData: ERR"};
      const std::uint16_t flip = doc_.ChInfo[static_cast<std::size_t>(c)].invert != 0 ? 0xFFFF : 0;
      for (std::int64_t i = 0; i < s; ++i) frames_[static_cast<std::size_t>(i) * k + j] = dst[i] ^ flip;
    }
    return frames_;
  }

 private:
  CQLM2_AnalyzerDoc& doc_;
  const Cut& cut_;
  std::unique_ptr<FynFileAccessRaw> raw_;
  ImpGetRawWordData wordData_ = nullptr;
  int storedChannels_ = 0;
  std::vector<std::uint16_t> words_;
  std::vector<std::uint16_t> frames_;
};

void Put(sys::AtomicFileWriter& out, const void* data, std::size_t n) {
  if (!out.Write(data, n)) throw Failed{std::string(kWhere) + res::LoadString(kStrWriteFailed)};
}

}  // namespace

bool IsOpenRecording(const CQLM2_AnalyzerDoc& doc, const std::string& path) {
  const std::string& open = doc.RecordInfo.path;
  if (open.empty() || path.empty()) return false;
  std::error_code ec;
  if (std::filesystem::equivalent(open, path, ec)) return true;
  return std::filesystem::weakly_canonical(open, ec) == std::filesystem::weakly_canonical(path, ec);
}

int WriteRawOutput(CQLM2_AnalyzerDoc& doc, const std::string& path, std::int32_t first, std::int32_t last,
                   const std::array<std::int32_t, 32>& selected) {
  ui::WaitCursor wait;
  if (IsOpenRecording(doc, path)) {
    Say(res::LoadString(kStrOpenRecording));
    return 0;
  }
  sys::AtomicFileWriter out;
  try {
    Cut cut;
    const int channels = std::clamp<int>(doc.RecordInfo.channelCount, 0, 32);
    for (int c = 0; c < channels; ++c)
      if (selected[static_cast<std::size_t>(c)] != 0) cut.channels.push_back(c);
    if (cut.channels.empty()) throw Failed{std::string(kWhere) + "\n" + "pAllChData2: NO_DATA"};
    const LyrChInfo& lastCh = doc.ChInfo[static_cast<std::size_t>(cut.channels.back())];
    cut.rate = static_cast<std::uint32_t>(std::max(lastCh.rate, 0));
    cut.offset = lastCh.startOffset;
    cut.perEpoch = static_cast<std::int64_t>(std::max<std::int32_t>(EpochSeconds, 0)) * cut.rate;
    if (first > last) std::swap(first, last);
    cut.first = std::max<std::int32_t>(first, 0);
    cut.last = last;
    const std::int64_t samples = (cut.last - cut.first + 1) * cut.perEpoch;
    const std::int64_t dataBytes = 4 + 2 * samples * static_cast<std::int64_t>(cut.channels.size());
    if (cut.rate == 0 || cut.perEpoch == 0 || cut.last < cut.first || dataBytes > 0xFFFFFFFFll)
      throw Failed{std::string(kWhere) + res::LoadString(kStrWriteFailed)};
    cut.dataCount = static_cast<std::uint32_t>(samples);
    cut.p0 = cut.perEpoch * cut.first + cut.offset;
    cut.p1 = cut.perEpoch * (cut.last + 1) + cut.offset - 1;
    for (const auto& ev : doc.Events)
      if (ev.position >= cut.p0 && ev.position <= cut.p1)
        cut.events.emplace_back(static_cast<std::uint16_t>(ev.type), static_cast<std::uint32_t>(ev.position - cut.p0));

    EpochSource source(doc, cut);
    if (!out.Open(path)) throw Failed{std::string(kWhere) + res::LoadString(kStrWriteFailed)};
    const std::vector<unsigned char> head = HeadBytes(doc, cut);
    Put(out, head.data(), head.size());
    unsigned char length[4];
    for (int i = 0; i < 4; ++i) length[i] = static_cast<unsigned char>(static_cast<std::uint64_t>(dataBytes) >> (8 * i));
    Put(out, length, 4);
    std::vector<unsigned char> bytes;
    for (std::int64_t e = cut.first; e <= cut.last; ++e) {
      const std::vector<std::uint16_t>& frames = source.Epoch(e);
      bytes.resize(frames.size() * 2);
      for (std::size_t i = 0; i < frames.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(frames[i]);
        bytes[2 * i + 1] = static_cast<unsigned char>(frames[i] >> 8);
      }
      Put(out, bytes.data(), bytes.size());
    }
    if (!cut.events.empty()) {
      const std::vector<unsigned char> events = EventBytes(doc, cut);
      Put(out, events.data(), events.size());
    }
    if (!out.Commit()) throw Failed{std::string(kWhere) + res::LoadString(kStrWriteFailed)};
  } catch (const Failed& f) {
    out.Abort();
    Say(f.text);
    return 0;
  } catch (const std::bad_alloc&) {
    out.Abort();
    Say(std::string(kWhere) + res::LoadString(kStrNoMemory));
    return 0;
  } catch (const std::length_error&) {
    out.Abort();
    Say(std::string(kWhere) + res::LoadString(kStrNoMemory));
    return 0;
  }
  return 1;
}

}  // namespace rawout
