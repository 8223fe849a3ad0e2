// Files written by the writers read back through the readers with identical records.
#include <gtest/gtest.h>

#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"

namespace {

using fixture::RawKind;

void ExpectSameG2(const _FynRawG2Param& want, const _FynRawG2Param& got) {
  EXPECT_EQ(want.name, got.name);
  EXPECT_EQ(want.comment, got.comment);
  EXPECT_EQ(want.channelWord, got.channelWord);
  EXPECT_EQ(want.fullScale, got.fullScale);
  EXPECT_EQ(want.calFlag, got.calFlag);
  EXPECT_EQ(want.calTopSample, got.calTopSample);
  EXPECT_EQ(want.calBottomSample, got.calBottomSample);
  EXPECT_EQ(want.calTopPhysical, got.calTopPhysical);
  EXPECT_EQ(want.calBottomPhysical, got.calBottomPhysical);
  EXPECT_EQ(want.unit, got.unit);
  EXPECT_EQ(want.drawRateFlag, got.drawRateFlag);
  EXPECT_EQ(want.words, got.words);
}

struct RoundTripCase {
  RawKind kind;
  bool withEvents;
};

class RawRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RawRoundTrip, RecordsSamplesAndEventsReadBackUnchanged) {
  fixture::TempDir dir;
  const std::string path = dir.Path("rt.fyd");
  auto spec = fixture::TwoChannelSpec();
  spec.kind = GetParam().kind;
  spec.withEvents = GetParam().withEvents && spec.kind != RawKind::EPRaw;
  ASSERT_TRUE(fixture::WriteRaw(path, spec));

  if (spec.kind == RawKind::EPRaw) {
    FynFileAccessEPRaw ep(path.c_str());
    ASSERT_EQ(0, ep.InitParams());
    EXPECT_EQ(0, ep.GetEventFlg()) << "the EP raw header has no event flag";
    _EPRawG1Param g1;
    ASSERT_EQ(0, ep.GetGroup1ParamRaw(&g1));
    EXPECT_EQ(2, g1.channels);
    EXPECT_EQ(10u, g1.dataCount);
    EXPECT_EQ(256.0, g1.samplingHz);
    EXPECT_EQ(11, g1.word1);
    EXPECT_EQ(13u, g1.value3);
    EXPECT_EQ(14, g1.word4);
    for (int k = 0; k < 2; ++k) {
      _EPRawG2Param g2;
      ASSERT_EQ(0, ep.GetGroup2ParamRaw(k, &g2));
      ExpectSameG2(spec.channels[static_cast<std::size_t>(k)], g2);
    }
    return;
  }

  FynFileAccessRaw1_1 reader(path.c_str());
  ASSERT_EQ(0, reader.InitParams());
  EXPECT_EQ(kFynTypeRaw, reader.GetFileType());
  EXPECT_EQ(0x0110, reader.GetFileVersion());
  EXPECT_EQ(spec.withEvents ? 1 : 0, reader.GetEventFlg());
  _FynRawG1Param1_1 g1;
  if (spec.kind == RawKind::Layout1_1) {
    ASSERT_EQ(0, reader.GetGroup1ParamRaw(&g1));
    EXPECT_EQ(spec.g1.wordC, g1.wordC);
    EXPECT_EQ(spec.g1.valueE, g1.valueE);
    EXPECT_EQ(spec.g1.wordF, g1.wordF);
  }
  FynFileAccessRaw plain(path.c_str());
  ASSERT_EQ(0, plain.InitParams());
  _FynRawG1Param p1;
  p1.wordC = 0xABCD;  // not in a two-unit group: must stay as it was
  ASSERT_EQ(0, plain.GetGroup1ParamRaw(&p1));
  EXPECT_EQ(spec.g1.channels, p1.channels);
  EXPECT_EQ(spec.g1.dataCount, p1.dataCount);
  EXPECT_EQ(spec.g1.samplingHz, p1.samplingHz);
  EXPECT_EQ(spec.g1.wordA, p1.wordA);
  EXPECT_EQ(spec.g1.year, p1.year);
  EXPECT_EQ(spec.g1.second, p1.second);
  EXPECT_EQ(spec.g1.millisecond, p1.millisecond);
  EXPECT_EQ(spec.kind == RawKind::Layout1_1 ? spec.g1.wordC : 0xABCD, p1.wordC);

  for (int k = 0; k < 2; ++k) {
    _FynRawG2Param g2;
    g2.drawRate = -1.0;
    ASSERT_EQ(0, plain.GetGroup2ParamRaw(k, &g2));
    ExpectSameG2(spec.channels[static_cast<std::size_t>(k)], g2);
    // The draw rate is taken only when its flag is 1.
    EXPECT_EQ(k == 0 ? 50.0 : -1.0, g2.drawRate);
  }
  std::vector<std::uint16_t> words(20);
  ASSERT_EQ(0, plain.GetRawDataWORDAll(0, 9, words.data()));
  for (int s = 0; s < 10; ++s) {
    EXPECT_EQ(spec.frames[static_cast<std::size_t>(2 * s)], words[static_cast<std::size_t>(s)]);
    EXPECT_EQ(spec.frames[static_cast<std::size_t>(2 * s + 1)], words[static_cast<std::size_t>(10 + s)]);
  }
  if (spec.withEvents) {
    EXPECT_EQ(2, plain.GetEventTypeCount());
    std::uint32_t count = 0;
    ASSERT_EQ(0, plain.GetEventCount(&count));
    EXPECT_EQ(2u, count);
    std::string name;
    ASSERT_EQ(0, plain.GetEventName(1, &name));
    EXPECT_EQ("Lights on", name);
    std::int16_t type = -1;
    std::uint32_t pos = 0;
    ASSERT_EQ(0, plain.GetEventPosInfo(1, &type, &pos));
    EXPECT_EQ(1, type);
    EXPECT_EQ(9u, pos);
    EXPECT_EQ(-3, plain.GetEventPosInfo(2, &type, &pos));
    EXPECT_EQ(-3, plain.GetEventName(2, &name));
  } else {
    std::uint32_t count = 0;
    EXPECT_EQ(-3, plain.GetEventCount(&count));
    EXPECT_EQ(-3, plain.GetEventTypeCount());
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RawRoundTrip,
                         ::testing::Values(RoundTripCase{RawKind::Raw, false}, RoundTripCase{RawKind::Raw, true},
                                           RoundTripCase{RawKind::Layout1_1, false},
                                           RoundTripCase{RawKind::Layout1_1, true},
                                           RoundTripCase{RawKind::EPRaw, false}));

TEST(RawWriter, GroupLengthsAreTheSumOfTheirUnits) {
  fixture::TempDir dir;
  const std::string path = dir.Path("len.fyd");
  ASSERT_TRUE(fixture::WriteRaw(path, fixture::TwoChannelSpec()));
  const auto bytes = fixture::ReadBytes(path);
  const auto starts = fixture::GroupStarts(bytes);
  ASSERT_EQ(3u, starts.size());
  EXPECT_EQ(26u, fixture::GetU32(bytes, 0)) << "ID block of a 14-byte type text";
  EXPECT_EQ(52u, fixture::GetU32(bytes, starts[0])) << "group 1 with units of 24 and 22 bytes";
  // Group 2 = 6 + the two channel units.
  const std::size_t unit0 = starts[1] + 6;
  const std::size_t unit1 = unit0 + fixture::GetU32(bytes, unit0);
  EXPECT_EQ(6 + fixture::GetU32(bytes, unit0) + fixture::GetU32(bytes, unit1), fixture::GetU32(bytes, starts[1]));
  EXPECT_EQ(4u + 2 * 20, fixture::GetU32(bytes, starts[2]));
  EXPECT_EQ(bytes.size(), starts[2] + 44);
}

TEST(AnaRoundTrip, ParametersAndPairsReadBack) {
  fixture::TempDir dir;
  const std::string path = dir.Path("ana.fya");
  _FynAnaG2Param p0;
  p0.word1 = 1;
  p0.word2 = 2;
  p0.dataCount = 250;
  p0.word3 = 3;
  p0.value4 = 4;
  p0.value5 = 5.5;
  p0.texts = {"alpha", "", "uV^2", std::string(1030, 'c')};
  p0.words8 = {1, 2, 3, 4, 5, 6, 7, 8};
  p0.words3 = {9, 10, 11};
  _FynAnaG2Param p1 = p0;
  p1.dataCount = 3;
  std::vector<std::vector<float>> data(2);
  for (int i = 0; i < 250; ++i) {
    data[0].push_back(static_cast<float>(i));
    data[0].push_back(static_cast<float>(1000 + i));
  }
  data[1] = {0.f, 1.f, 2.f, 3.f, 4.f, 5.f};

  FynFileWriteAna w(path.c_str());
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_ANADATA", 0x0110};
  ASSERT_EQ(0, w.CreateNewFile());
  ASSERT_EQ(0, w.WriteIDBlock(&id, &end));
  ASSERT_EQ(0, w.WriteHeader(3, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup1Ana(2, nullptr, &end));
  ASSERT_EQ(0, w.StartGroup2(2, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup2Unit(&p0, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup2Unit(&p1, nullptr, &end));
  ASSERT_EQ(0, w.EndGroup2(&end, &end));
  ASSERT_EQ(0, w.WriteDataGroup(data, nullptr, &end));

  FynFileAccessAna r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  EXPECT_EQ(kFynTypeAna, r.GetFileType());
  EXPECT_EQ(2, r.GetChannelNum());
  EXPECT_EQ(-1, r.GetEventFlg());
  _FynAnaG2Param got;
  ASSERT_EQ(0, r.GetGroup2ParamAna(0, &got));
  EXPECT_EQ(250u, got.dataCount);
  EXPECT_EQ(5.5, got.value5);
  EXPECT_EQ("uV^2", got.texts[2]);
  EXPECT_EQ(std::string(1024, 'c'), got.texts[3]) << "a text is cut to its capacity";
  EXPECT_EQ(p0.words8, got.words8);
  EXPECT_EQ(p0.words3, got.words3);
  EXPECT_EQ(-1, r.GetGroup2ParamAna(2, &got)) << "channel index equal to the count";

  // 250 pairs read in chunks of 100, 100 and 50 give 250 values.
  std::vector<float> y(251, -7.f);
  ASSERT_EQ(0, r.GetAnaDataY(0, 0, 249, y.data(), 0));
  for (int i = 0; i < 250; ++i) ASSERT_EQ(1000.f + static_cast<float>(i), y[static_cast<std::size_t>(i)]);
  EXPECT_EQ(-7.f, y[250]);
  // Inverted pairs: only y negated; last beyond the end is cut.
  std::vector<float> xy(6 + 2, -7.f);
  ASSERT_EQ(0, r.GetAnaData(1, 1, 99, xy.data(), 1));
  EXPECT_EQ((std::vector<float>{2.f, -3.f, 4.f, -5.f, -7.f, -7.f, -7.f, -7.f}), xy);
  EXPECT_EQ(-1, r.GetAnaData(2, 0, 0, xy.data(), 0));

  FynFileAccessAna onRaw(path.c_str());
  fixture::TempDir dir2;
  const std::string rawPath = dir2.Path("raw.fyd");
  ASSERT_TRUE(fixture::WriteRaw(rawPath, fixture::TwoChannelSpec()));
  onRaw.SetFilePath(rawPath.c_str());
  ASSERT_EQ(0, onRaw.InitParams());
  EXPECT_EQ(-1, onRaw.GetChannelNum());
}

}  // namespace
