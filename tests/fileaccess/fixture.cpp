#include "fixture.h"

#include <fstream>
#include <random>

namespace fixture {

TempDir::TempDir() {
  std::random_device rd;
  dir_ = std::filesystem::temp_directory_path() / ("fyn_test_" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

RawSpec TwoChannelSpec() {
  RawSpec s;
  s.g1.dataType = 0;
  s.g1.channels = 2;
  s.g1.dataCount = 10;
  s.g1.samplingHz = 256.0;
  s.g1.wordA = 16;
  s.g1.wordB = 0;
  s.g1.startTimeFlag = 1;
  s.g1.year = 2024;
  s.g1.month = 3;
  s.g1.day = 14;
  s.g1.hour = 22;
  s.g1.minute = 5;
  s.g1.second = 9;
  s.g1.millisecond = 125;
  s.g1.wordC = 7;
  s.g1.wordD = 8;
  s.g1.valueE = 0x12345678;
  s.g1.wordF = 0xFFFF;
  _FynRawG2Param a;
  a.name = "C3-A2";
  a.comment = "EEG left central";
  a.channelWord = 3;
  a.fullScale = 0.0005;
  a.calFlag = 0;
  a.calTopSample = 0xFFFF;
  a.calBottomSample = 0;
  a.calTopPhysical = 0.5e-6;
  a.calBottomPhysical = -0.5e-6;
  a.unit = "volt";
  a.drawRateFlag = 1;
  a.drawRate = 50.0;
  a.words = {10, 20, 30};
  _FynRawG2Param b = a;
  b.name = "SpO2";
  b.comment = "";
  b.calFlag = 1;
  b.calTopSample = 1000;
  b.calBottomSample = 0;
  b.calTopPhysical = 100.0;
  b.calBottomPhysical = 0.0;
  b.unit = "%";
  b.drawRateFlag = 0;
  b.drawRate = 0.0;
  b.words = {0, 255, 0};
  s.channels = {a, b};
  for (std::uint16_t f = 0; f < 10; ++f) {
    s.frames.push_back(static_cast<std::uint16_t>(f * 100));       // channel 0
    s.frames.push_back(static_cast<std::uint16_t>(0x8000 + f));    // channel 1
  }
  s.eventNames = {"Lights off", "Lights on"};
  s.events = {{0, 2}, {1, 9}};
  s.patient.text1 = "Subject A";
  s.patient.patientWord = 1;
  s.patient.ageYears = 35;
  s.patient.ageMonths = 7;
  s.patient.text2 = "memo";
  return s;
}

bool WriteRaw(const std::string& path, const RawSpec& s) {
  const std::uint16_t channels = static_cast<std::uint16_t>(s.channels.size());
  const std::uint16_t groups = static_cast<std::uint16_t>(3 + (s.withOV ? 1 : 0) + (s.withEvents ? 1 : 0));
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_RAWDATA", 0x0110};
  bool ok = true;
  auto group2 = [&](auto& w, auto paramOf) {
    ok = ok && w.StartGroup2(static_cast<std::int16_t>(channels), nullptr, &end) == 0;
    for (const auto& c : s.channels) ok = ok && w.WriteGroup2Unit(paramOf(c), nullptr, &end) == 0;
    ok = ok && w.EndGroup2(&end, &end) == 0;
  };
  if (s.kind == RawKind::EPRaw) {
    FynFileWriteEPRaw w(path.c_str());
    ok = w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0;
    _EPRawHeader h{groups};
    ok = ok && w.WriteHeader(&h, nullptr, &end) == 0;
    _EPRawG1Param g;
    g.dataType = s.g1.dataType;
    g.channels = channels;
    g.dataCount = s.g1.dataCount;
    g.samplingHz = s.g1.samplingHz;
    g.wordA = s.g1.wordA;
    g.wordB = s.g1.wordB;
    g.word1 = 11;
    g.word2 = 12;
    g.value3 = 13;
    g.word4 = 14;
    ok = ok && w.WriteGroup1Raw(&g, nullptr, &end) == 0;
    std::vector<_EPRawG2Param> ep;
    for (const auto& c : s.channels) {
      _EPRawG2Param e;
      static_cast<_FynRawG2Param&>(e) = c;
      ep.push_back(e);
    }
    ok = ok && w.StartGroup2(static_cast<std::int16_t>(channels), nullptr, &end) == 0;
    for (const auto& e : ep) ok = ok && w.WriteGroup2Unit(&e, nullptr, &end) == 0;
    ok = ok && w.EndGroup2(&end, &end) == 0;
  } else {
    FynFileWriteRaw1_1 w(path.c_str());
    ok = w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0;
    _FynRawHeader h{groups, static_cast<std::uint16_t>(s.withEvents ? 1 : 0)};
    ok = ok && w.WriteHeader(&h, nullptr, &end) == 0;
    if (s.kind == RawKind::Layout1_1) {
      ok = ok && w.WriteGroup1Raw(&s.g1, nullptr, &end) == 0;
    } else {
      ok = ok && w.WriteGroup1Raw(static_cast<const _FynRawG1Param*>(&s.g1), nullptr, &end) == 0;
    }
    group2(w, [](const _FynRawG2Param& c) { return &c; });
  }
  if (s.withOV) {
    FynFileWriteOVG3 ov(path.c_str());
    const std::uint64_t groupStart = std::filesystem::file_size(path);
    std::vector<unsigned char> head(4, 0);
    {
      std::ofstream out(path, std::ios::binary | std::ios::app);
      out.write(reinterpret_cast<const char*>(head.data()), 4);
    }
    ok = ok && ov.WriteHeader("ORVENTALIS", nullptr, &end) == 0;
    {
      std::vector<unsigned char> words(4);
      PutU16(words, 0, static_cast<std::uint16_t>(s.ovUnits));
      PutU16(words, 2, s.ovVersion);
      std::ofstream out(path, std::ios::binary | std::ios::app);
      out.write(reinterpret_cast<const char*>(words.data()), 4);
    }
    int unitsWritten = 0;
    auto room = [&]() { return unitsWritten < s.ovUnits; };
    if (room()) { ok = ok && ov.WritePatientInfo(&s.patient, nullptr, &end) == 0; ++unitsWritten; }
    if (room()) { ok = ok && ov.StartUnit2(0, nullptr, &end) == 0 && ov.EndUnit2(&end, &end) == 0; ++unitsWritten; }
    if (room()) { ok = ok && ov.WriteEmptyUnit3(nullptr, &end) == 0; ++unitsWritten; }
    if (room()) { ok = ok && ov.StartUnit4(0, nullptr, &end) == 0 && ov.EndUnit4(&end, &end) == 0; ++unitsWritten; }
    while (unitsWritten < s.ovUnits - 1) { ok = ok && ov.WriteEmptyUnit3(nullptr, &end) == 0; ++unitsWritten; }
    if (room()) { ok = ok && ov.WriteFreeCommentUnit(s.comments, nullptr, &end) == 0; ++unitsWritten; }
    auto bytes = ReadBytes(path);
    PutU32(bytes, groupStart, static_cast<std::uint32_t>(bytes.size() - groupStart));
    WriteBytes(path, bytes);
  }
  FynFileWriteRaw data(path.c_str());
  ok = ok && data.WriteDataGroup(s.frames, nullptr, &end) == 0;
  if (s.withEvents) ok = ok && data.WriteEventGroup(s.eventNames, s.events, nullptr, &end) == 0;
  return ok;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t GetU32(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void PutU16(std::vector<unsigned char>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
}

std::vector<std::size_t> GroupStarts(const std::vector<unsigned char>& b) {
  const std::size_t idLength = GetU32(b, 0);
  const std::size_t headerLength = GetU32(b, idLength);
  const std::size_t count = static_cast<std::size_t>(b[idLength + 4] | (b[idLength + 5] << 8));
  std::vector<std::size_t> starts;
  std::size_t at = idLength + headerLength;
  for (std::size_t i = 0; i < count && at + 4 <= b.size(); ++i) {
    starts.push_back(at);
    at += GetU32(b, at);
  }
  return starts;
}

}  // namespace fixture
