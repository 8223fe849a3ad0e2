// Structure, calibration and sample reading of the raw reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"

namespace {

struct CalCase {
  const char* what;
  double fullScale;
  std::int16_t calOn;
  std::int16_t unsignedData;
  std::uint16_t top, bottom;
  double topPhys, bottomPhys;
  std::uint16_t word;
  double expected;
};

class Calibration : public ::testing::TestWithParam<CalCase> {};

TEST_P(Calibration, WordToPhysicalValue) {
  const CalCase& c = GetParam();
  const FynRawCal cal(c.fullScale, c.topPhys, c.bottomPhys, c.top, c.bottom, c.calOn, c.unsignedData);
  float out = 0.f;
  cal.CalcCalFloat(&out, &c.word, 0);
  EXPECT_FLOAT_EQ(static_cast<float>(c.expected), out) << c.what;
  cal.CalcCalFloat(&out, &c.word, 1);
  EXPECT_FLOAT_EQ(static_cast<float>(-c.expected), out) << c.what << " inverted";
  cal.CalcCalFloat(&out, &c.word, 0x10000 & 0xFFFF);
  EXPECT_FLOAT_EQ(static_cast<float>(c.expected), out) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Calibration,
    ::testing::Values(
        // Signed, no calibration: FS * s / 32768.
        CalCase{"signed 0x0000", 5.0, 0, 0, 0, 0, 0, 0, 0x0000, 0.0},
        CalCase{"signed 0x7FFF", 5.0, 0, 0, 0, 0, 0, 0, 0x7FFF, 5.0 * 32767 / 32768},
        CalCase{"signed 0x8000", 5.0, 0, 0, 0, 0, 0, 0, 0x8000, -5.0},
        // Unsigned, no calibration: FS * (u / 32768 - 1).
        CalCase{"unsigned 0x8000", 5.0, 0, 1, 0, 0, 0, 0, 0x8000, 0.0},
        CalCase{"unsigned 0", 5.0, 0, 1, 0, 0, 0, 0, 0, -5.0},
        // Line through (0, 0.0) and (1000, 100.0).
        CalCase{"unsigned cal 500", 5.0, 1, 1, 1000, 0, 100.0, 0.0, 500, 50.0},
        // Signed words are placed by their value plus 32768 on both the points and the sample.
        CalCase{"signed cal", 5.0, 1, 0, 100, static_cast<std::uint16_t>(-100), 10.0, -10.0, 50, 5.0},
        // A flag other than 1 is calibration off.
        CalCase{"flag 2 is off", 5.0, 2, 1, 1000, 0, 100.0, 0.0, 0x8000, 0.0},
        // Equal top and bottom samples have no line: taken as calibration off, not 1/0.
        CalCase{"equal points", 5.0, 1, 1, 700, 700, 100.0, 0.0, 0x8000, 0.0}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(CalibrationDefaults, DefaultObjectUsesFullScaleFive) {
  FynRawCal cal;
  const std::uint16_t w = 0x7FFF;
  float out = 0.f;
  cal.CalcCalFloat(&out, &w, 0);
  EXPECT_FLOAT_EQ(5.0f * 32767 / 32768, out);
  FynRawCal copy = cal;
  copy.SetCalParam(1.0, 0, 0, 0, 0, 0, 0);
  copy.CalcCalFloat(&out, &w, 0);
  EXPECT_FLOAT_EQ(32767.f / 32768, out);
}

class RawReader : public ::testing::Test {
 protected:
  void SetUp() override {
    spec = fixture::TwoChannelSpec();
    spec.withEvents = true;
    ASSERT_TRUE(fixture::WriteRaw(path, spec));
  }
  fixture::TempDir dir;
  std::string path = dir.Path("r.fyd");
  fixture::RawSpec spec;
};

TEST_F(RawReader, NothingIsReadBeforeInitParams) {
  FynFileAccessRaw r(path.c_str());
  EXPECT_EQ(-2, r.GetGroupCnt());
  EXPECT_EQ(-2, r.GetEventFlg());
  std::uint32_t offset = 7;
  EXPECT_EQ(-2, r.GetPropGroupAddress("SLEEP", &offset));
  EXPECT_EQ(0u, offset);
  _FynRawG1Param g1;
  EXPECT_EQ(-2, r.GetGroup1ParamRaw(&g1));
  EXPECT_EQ(kFynTypeOther, r.GetFileType());
  ASSERT_EQ(0, r.InitParams());
  EXPECT_EQ(4, r.GetGroupCnt());
}

TEST_F(RawReader, FloatAllConvertsPerChannelInvertsByFlagAndKeepsTheStride) {
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  // Ask for 12 samples from 5 of a 10-sample file: the span stays 12, samples 10 to 16 untouched.
  std::vector<float> out(24, 99.f);
  const std::int16_t invert[2] = {0, 1};
  ASSERT_EQ(0, r.GetRawDataFloatAll(5, 16, out.data(), invert));
  for (int i = 0; i < 12; ++i) {
    const std::size_t s = static_cast<std::size_t>(i);
    if (i < 5) {
      // Channel 0: signed, FS 0.0005, word f*100 -> 0.0005 * f*100 / 32768.
      EXPECT_FLOAT_EQ(static_cast<float>(0.0005 * (5 + i) * 100 / 32768), out[s]);
      // Channel 1: signed, calibration (0 -> 0, 1000 -> 100); word 0x8000+f is -32768+f.
      const double x = static_cast<double>(static_cast<std::uint16_t>((0x8000 + 5 + i) ^ 0x8000));
      const double slope = 100.0 / ((1000 ^ 0x8000) - (0 ^ 0x8000));
      const double value = 0.0 + slope * (x - (0 ^ 0x8000));
      EXPECT_FLOAT_EQ(static_cast<float>(-value), out[12 + s]);
    } else {
      EXPECT_EQ(99.f, out[s]);
      EXPECT_EQ(99.f, out[12 + s]);
    }
  }
}

TEST_F(RawReader, OneChannelReadersMatchTheAllChannelReaders) {
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  std::vector<float> all(20);
  ASSERT_EQ(0, r.GetRawDataFloatAll(0, 9, all.data(), nullptr));
  std::vector<std::uint16_t> allWords(20);
  ASSERT_EQ(0, r.GetRawDataWORDAll(0, 9, allWords.data()));
  // Blocks of every size, including across the end, equal the full read.
  for (std::int16_t k = 0; k < 2; ++k) {
    for (std::uint32_t first = 0; first < 10; ++first) {
      std::vector<float> one(12, 0.f);
      std::vector<std::uint16_t> words(12, 0);
      ASSERT_EQ(0, r.GetRawDataFloat(k, first, first + 11, one.data(), 0));
      ASSERT_EQ(0, r.GetRawDataWORD(k, first, first + 11, words.data()));
      for (std::uint32_t s = first; s < 10; ++s) {
        EXPECT_EQ(all[static_cast<std::size_t>(k * 10 + s)], one[s - first]);
        EXPECT_EQ(allWords[static_cast<std::size_t>(k * 10 + s)], words[s - first]);
      }
    }
  }
  float unused = 0.f;
  EXPECT_EQ(0, r.GetRawDataFloat(0, 5, 4, &unused, 0)) << "first above last reads nothing";
  EXPECT_EQ(-1, r.GetRawDataFloat(2, 0, 0, &unused, 0)) << "channel out of range";
  _FynRawG2Param g2;
  EXPECT_EQ(-1, r.GetGroup2ParamRaw(2, &g2));
}

TEST_F(RawReader, CallerCalibrationTableReplacesTheFilesOwn) {
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawCALEntry table[2];
  table[0].fullScale = 1.0;
  table[1].fullScale = 2.0;
  ASSERT_EQ(0, r.SetCalInfo({5, table}));
  EXPECT_EQ(1, r.GetCalParamMode());
  table[0].fullScale = 100.0;  // the reader keeps its own copy
  std::vector<float> out(20);
  ASSERT_EQ(0, r.GetRawDataFloatAll(1, 1, out.data(), nullptr));
  EXPECT_FLOAT_EQ(100.f / 32768, out[0]);
  EXPECT_FLOAT_EQ(2.0f * (-32767.f) / 32768, out[1]);
  float one = 0.f;
  ASSERT_EQ(0, r.GetRawDataFloat(1, 1, 1, &one, 0));
  EXPECT_EQ(out[1], one);
}

TEST_F(RawReader, SetFilePathForgetsTheOldFilesGroups) {
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  const std::string other = dir.Path("other.txt");
  fixture::WriteBytes(other, std::vector<unsigned char>(200, 'x'));
  r.SetFilePath(other.c_str());
  EXPECT_EQ(-2, r.GetGroupCnt());
  std::vector<std::uint16_t> words(20);
  EXPECT_EQ(-2, r.GetRawDataWORDAll(0, 9, words.data()));
}

TEST(RawFileTypes, UnknownTextFilesAndMissingFiles) {
  fixture::TempDir dir;
  FynFileAccessRaw r;
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
  };
  std::vector<unsigned char> otherType = {26, 0, 0, 0, 2, 0, 14, 0, 0, 0};
  for (char ch : std::string("FY_VEX_XXXDATA")) otherType.push_back(static_cast<unsigned char>(ch));
  otherType.insert(otherType.end(), {0x10, 0x01, 8, 0, 0, 0, 3, 0, 0, 0});
  std::vector<unsigned char> longText = {26, 0, 0, 0, 2, 0, 100, 0, 0, 0};
  for (char ch : std::string("FY_VEX_RAWDATA")) longText.push_back(static_cast<unsigned char>(ch));
  longText.resize(200, ' ');
  const std::vector<Case> cases = {
      {"text file", std::vector<unsigned char>(std::begin("Subject,Stage\n1,W\n2,W\n"), std::end("Subject,Stage\n1,W\n2,W\n"))},
      {"empty file", {}},
      {"other type text", otherType},
      {"type text with a longer count", longText},
  };
  for (const auto& c : cases) {
    const std::string p = dir.Path("f.bin");
    fixture::WriteBytes(p, c.bytes);
    r.SetFilePath(p.c_str());
    EXPECT_EQ(0, r.InitParams()) << c.what;
    EXPECT_EQ(kFynTypeOther, r.GetFileType()) << c.what;
    EXPECT_EQ(-2, r.GetEventFlg()) << c.what;
  }
  r.SetFilePath(dir.Path("missing.fyd").c_str());
  EXPECT_EQ(-1, r.InitParams());
  EXPECT_EQ(-1, r.GetErrType());
  EXPECT_EQ(2, r.GetErrCode()) << "file not found";
}

TEST(RawGroup1, UnitCountDecidesWhichFieldsThePlainReaderTakes) {
  fixture::TempDir dir;
  const std::string path = dir.Path("g1.fyd");
  auto spec = fixture::TwoChannelSpec();
  spec.kind = fixture::RawKind::Layout1_1;
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  const auto good = fixture::ReadBytes(path);
  const std::size_t g1 = fixture::GroupStarts(good)[0];
  for (std::uint16_t units : {1, 2, 3}) {
    auto bytes = good;
    fixture::PutU16(bytes, g1 + 4, units);
    fixture::WriteBytes(path, bytes);
    FynFileAccessRaw r(path.c_str());
    ASSERT_EQ(0, r.InitParams());
    _FynRawG1Param p;
    p.year = 1;
    p.wordC = 2;
    ASSERT_EQ(0, r.GetGroup1ParamRaw(&p)) << units;
    EXPECT_EQ(10u, p.dataCount) << units;
    EXPECT_EQ(units >= 2 ? 2024 : 1, p.year) << units;
    EXPECT_EQ(units >= 3 ? 7 : 2, p.wordC) << units;
    // The layout-1.1 reader takes all three units whatever the count.
    FynFileAccessRaw1_1 r11(path.c_str());
    ASSERT_EQ(0, r11.InitParams());
    _FynRawG1Param1_1 q;
    ASSERT_EQ(0, r11.GetGroup1ParamRaw(&q));
    EXPECT_EQ(7, q.wordC);
    EXPECT_EQ(0xFFFF, q.wordF);
  }
}

TEST(RawGroup1, StartTimeUnitOf20Or22BytesReads) {
  fixture::TempDir dir;
  const std::string path = dir.Path("u2.fyd");
  ASSERT_TRUE(fixture::WriteRaw(path, fixture::TwoChannelSpec()));
  auto bytes = fixture::ReadBytes(path);
  const std::size_t g1 = fixture::GroupStarts(bytes)[0];
  const std::size_t unit2 = g1 + 6 + 24;
  ASSERT_EQ(22u, fixture::GetU32(bytes, unit2));
  // The program's own output writes the unit as 20 bytes: drop the spare word.
  bytes.erase(bytes.begin() + static_cast<long>(unit2 + 20), bytes.begin() + static_cast<long>(unit2 + 22));
  fixture::PutU32(bytes, unit2, 20);
  fixture::PutU32(bytes, g1, 50);
  fixture::WriteBytes(path, bytes);
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawG1Param p;
  ASSERT_EQ(0, r.GetGroup1ParamRaw(&p));
  EXPECT_EQ(2024, p.year);
  EXPECT_EQ(125, p.millisecond);
  _FynRawG2Param g2;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(1, &g2));
  EXPECT_EQ("SpO2", g2.name);
  std::vector<std::uint16_t> words(20);
  ASSERT_EQ(0, r.GetRawDataWORDAll(0, 9, words.data()));
  EXPECT_EQ(900, words[9]);
}

TEST(RawGroup2, LongTextsAreCutAndTheNextFieldIsStillFound) {
  fixture::TempDir dir;
  const std::string path = dir.Path("t.fyd");
  auto spec = fixture::TwoChannelSpec();
  spec.channels[0].name = std::string(200, 'n');
  spec.channels[0].comment = std::string(1500, 'c');
  spec.channels[0].unit = std::string(129, 'u');
  spec.channels[1].name = "";
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawG2Param g;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(0, &g));
  EXPECT_EQ(std::string(128, 'n'), g.name);
  EXPECT_EQ(std::string(1024, 'c'), g.comment);
  EXPECT_EQ(std::string(128, 'u'), g.unit);
  EXPECT_EQ(1, g.drawRateFlag);
  EXPECT_EQ(50.0, g.drawRate);
  EXPECT_EQ(spec.channels[0].words, g.words);
  ASSERT_EQ(0, r.GetGroup2ParamRaw(1, &g));
  EXPECT_EQ("", g.name);
  EXPECT_EQ("%", g.unit);
}

TEST(RawGroups, DataAndEventGroupIndexFollowTheEventFlag) {
  fixture::TempDir dir;
  for (bool events : {false, true}) {
    const std::string path = dir.Path(events ? "e.fyd" : "n.fyd");
    auto spec = fixture::TwoChannelSpec();
    spec.withEvents = events;
    spec.withOV = true;
    ASSERT_TRUE(fixture::WriteRaw(path, spec));
    FynFileAccessRaw r(path.c_str());
    ASSERT_EQ(0, r.InitParams());
    EXPECT_EQ(events ? 5 : 4, r.GetGroupCnt());
    const auto starts = fixture::GroupStarts(fixture::ReadBytes(path));
    std::uint32_t offset = 0;
    ASSERT_EQ(0, r.GetPropGroupAddress("ORVENTALIS", &offset));
    EXPECT_EQ(starts[2], offset);
    ASSERT_EQ(0, r.GetPropGroupAddress("SLEEP", &offset));
    EXPECT_EQ(0u, offset);
    ASSERT_EQ(0, r.GetPropGroupAddress("orventalis", &offset));
    EXPECT_EQ(0u, offset) << "names match case-sensitively";
    std::vector<std::uint16_t> words(20);
    ASSERT_EQ(0, r.GetRawDataWORDAll(0, 9, words.data()));
    EXPECT_EQ(spec.frames[18], words[9]) << "samples come from the data group";
  }
}

}  // namespace

// The all-channel reader converts whole blocks of channels and frames at once. Over a span
// longer than one file read, starting and ending off the block edges, with eleven channels
// (one block of eight and three left over), every value equals the one-channel reader's, bit
// for bit: for lines that are exact in float (full scales 1, 5, 32768 ...), for lines that are
// not (a calibration through 0.1 and 3.3), negated or not, signed or unsigned data.
TEST(RawReaderBlocks, AllChannelReaderEqualsOneChannelReaderBitForBit) {
  constexpr int kChannels = 11;
  constexpr std::uint32_t kFrames = 30011;  // more than two file reads of 256 KB
  const double exactScales[8] = {1.0, 5.0, 32768.0, 0.5, 2.5, 4096.0, 10.0, 65536.0};
  for (const bool inexactInBlock : {false, true}) {
    for (const std::uint16_t dataType : {std::uint16_t{0}, std::uint16_t{1}}) {
      SCOPED_TRACE(std::string(inexactInBlock ? "inexact line in the block" : "exact block") +
                   (dataType != 0 ? ", unsigned" : ", signed"));
      fixture::TempDir dir;
      const std::string path = dir.Path("blocks.fyd");
      fixture::RawSpec spec = fixture::TwoChannelSpec();
      spec.g1.dataType = dataType;
      spec.g1.channels = kChannels;
      spec.g1.dataCount = kFrames;
      spec.channels.resize(kChannels, spec.channels[0]);
      for (int k = 0; k < kChannels; ++k) {
        _FynRawG2Param& p = spec.channels[static_cast<std::size_t>(k)];
        p.calFlag = 0;
        p.fullScale = exactScales[k % 8];
        if ((inexactInBlock && k == 5) || k == 9) {
          p.calFlag = 1;
          p.calTopSample = 30000;
          p.calBottomSample = 100;
          p.calTopPhysical = 3.3;
          p.calBottomPhysical = 0.1;
        }
      }
      spec.frames.resize(static_cast<std::size_t>(kFrames) * kChannels);
      std::uint32_t seed = 12345;
      for (std::uint16_t& w : spec.frames) {
        seed = seed * 1664525u + 1013904223u;
        w = static_cast<std::uint16_t>(seed >> 16);
      }
      spec.frames[0] = 0;
      spec.frames[1] = 0xFFFF;
      spec.frames[2] = 0x8000;
      spec.frames[3] = 0x7FFF;
      ASSERT_TRUE(fixture::WriteRaw(path, spec));
      FynFileAccessRaw r(path.c_str());
      ASSERT_EQ(0, r.InitParams());
      std::int16_t invert[kChannels] = {};
      for (int k = 0; k < kChannels; k += 3) invert[k] = 1;
      for (const std::uint32_t first : {0u, 3u}) {
        const std::uint32_t last = kFrames - 1 - first;
        const std::size_t span = last - first + 1;
        std::vector<float> all(span * kChannels, 99.f);
        ASSERT_EQ(0, r.GetRawDataFloatAll(first, last, all.data(), invert));
        int mismatches = 0;
        for (int k = 0; k < kChannels; ++k) {
          std::vector<float> one(span, -99.f);
          ASSERT_EQ(0, r.GetRawDataFloat(static_cast<std::int16_t>(k), first, last, one.data(), invert[k]));
          const float* row = all.data() + static_cast<std::size_t>(k) * span;
          mismatches += static_cast<int>(std::memcmp(row, one.data(), span * sizeof(float)) != 0);
        }
        EXPECT_EQ(0, mismatches) << "from sample " << first;
      }
    }
  }
}
