// Damaged files, made by patching bytes of one good file at known offsets: every reader
// returns an error status, never reads wild and never crashes.
#include <gtest/gtest.h>

#include <functional>

#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Layout {
  std::size_t g1, g2, ov, data, events;
};

Layout LayoutOf(const Bytes& b) {
  const auto s = fixture::GroupStarts(b);
  return {s[0], s[1], s[2], s[3], s[4]};
}

struct DamageCase {
  const char* what;
  std::function<void(Bytes&, const Layout&)> patch;
  std::int16_t init;     // InitParams result
  std::int16_t samples;  // GetRawDataFloatAll result
  std::int16_t group2;   // GetGroup2ParamRaw(1) result
  std::int16_t patient;  // GetOVPatientInfo result
  std::int16_t events;   // GetEventCount result
};

class Damage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(Damage, ReadersReportTheDamage) {
  const DamageCase& c = GetParam();
  fixture::TempDir dir;
  const std::string path = dir.Path("d.fyd");
  auto spec = fixture::TwoChannelSpec();
  spec.withEvents = true;
  spec.withOV = true;
  spec.comments.resize(10);
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  Bytes bytes = fixture::ReadBytes(path);
  c.patch(bytes, LayoutOf(bytes));
  fixture::WriteBytes(path, bytes);

  FynFileAccessRaw r(path.c_str());
  EXPECT_EQ(c.init, r.InitParams()) << c.what;
  if (c.init != 0) {
    EXPECT_EQ(-1, r.GetErrType()) << c.what;
    EXPECT_EQ(-2, r.GetGroupCnt()) << c.what;
    return;
  }
  std::vector<float> out(40, 0.f);
  EXPECT_EQ(c.samples, r.GetRawDataFloatAll(0, 9, out.data(), nullptr)) << c.what;
  _FynRawG2Param g;
  EXPECT_EQ(c.group2, r.GetGroup2ParamRaw(1, &g)) << c.what;
  _FynOVPatientInfo p;
  EXPECT_EQ(c.patient, r.GetOVPatientInfo(&p)) << c.what;
  std::uint32_t n = 0;
  EXPECT_EQ(c.events, r.GetEventCount(&n)) << c.what;
  _FynOVFreeCommentInfo comments[10];
  r.GetOVFreeCommentInfo(comments);
  std::int16_t type = 0;
  std::uint32_t pos = 0;
  r.GetEventPosInfo(0, &type, &pos);
  std::string name;
  r.GetEventName(0, &name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Damage,
    ::testing::Values(
        DamageCase{"intact", [](Bytes&, const Layout&) {}, 0, 0, 0, 0, 0},
        DamageCase{"group length 0", [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g2, 0); }, -1, 0, 0, 0, 0},
        DamageCase{"group length past the end",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.events, 1000); }, -1, 0, 0, 0, 0},
        DamageCase{"group count beyond the groups",
                   [](Bytes& b, const Layout&) { fixture::PutU16(b, 26 + 4, 9); }, -1, 0, 0, 0, 0},
        DamageCase{"header length past the end",
                   [](Bytes& b, const Layout&) { fixture::PutU32(b, 26, 0xFFFFFFF0u); }, -1, 0, 0, 0, 0},
        DamageCase{"data count 0", [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g1 + 6 + 8, 0); }, 0, -1, 0,
                   0, 0},
        DamageCase{"data count beyond the data group",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g1 + 6 + 8, 11); }, 0, -1, 0, 0, 0},
        DamageCase{"channel count 0", [](Bytes& b, const Layout& l) { fixture::PutU16(b, l.g1 + 6 + 6, 0); }, 0, -1,
                   0, 0, 0},
        DamageCase{"group-1 unit length 0", [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g1 + 6, 0); }, 0,
                   -1, 0, 0, 0},
        DamageCase{"group-2 unit length 0",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g2 + 6, 0); }, 0, -1, -1, 0, 0},
        DamageCase{"group-2 unit past its group",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g2 + 6, 0x10000); }, 0, -1, -1, 0, 0},
        DamageCase{"sub-unit length 0",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g2 + 12, 0); }, 0, -1, 0, 0, 0},
        DamageCase{"name count past its sub-unit",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.g2 + 16, 0x7FFFFFFF); }, 0, -1, 0, 0, 0},
        DamageCase{"group-2 channel count below group 1's",
                   [](Bytes& b, const Layout& l) { fixture::PutU16(b, l.g2 + 4, 1); }, 0, -1, -1, 0, 0},
        DamageCase{"ORVENTALIS unit length 0",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.ov + 26, 0); }, 0, 0, 0, -1, 0},
        DamageCase{"ORVENTALIS unit past its group",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.ov + 26, 0x00FFFFFF); }, 0, 0, 0, -1, 0},
        DamageCase{"ORVENTALIS name length huge",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.ov + 8, 0xFFFFFFFFu); }, 0, 0, 0, -4, 0},
        DamageCase{"event count beyond its unit",
                   [](Bytes& b, const Layout& l) {
                     const std::size_t unit2 = l.events + 6 + fixture::GetU32(b, l.events + 6);
                     fixture::PutU32(b, unit2 + 4, 1000000);
                   },
                   0, 0, 0, 0, -1},
        DamageCase{"event unit length 0",
                   [](Bytes& b, const Layout& l) { fixture::PutU32(b, l.events + 6, 0); }, 0, 0, 0, 0, -1}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(DamagedAnalysisFile, UnitWalkAndPairCountsAreChecked) {
  fixture::TempDir dir;
  const std::string path = dir.Path("a.fya");
  _FynAnaG2Param p;
  p.dataCount = 2;
  FynFileWriteAna w(path.c_str());
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_ANADATA", 0x0110};
  ASSERT_EQ(0, w.CreateNewFile());
  ASSERT_EQ(0, w.WriteIDBlock(&id, &end));
  ASSERT_EQ(0, w.WriteHeader(3, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup1Ana(2, nullptr, &end));
  ASSERT_EQ(0, w.StartGroup2(2, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup2Unit(&p, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup2Unit(&p, nullptr, &end));
  ASSERT_EQ(0, w.EndGroup2(&end, &end));
  ASSERT_EQ(0, w.WriteDataGroup({{1, 2, 3, 4}, {5, 6, 7, 8}}, nullptr, &end));
  const Bytes good = fixture::ReadBytes(path);
  const auto starts = fixture::GroupStarts(good);
  const std::size_t unit0 = starts[2] + 6;
  const std::size_t g2unit1 = starts[1] + 6 + fixture::GetU32(good, starts[1] + 6);
  struct Case {
    const char* what;
    std::function<void(Bytes&)> patch;
    std::int16_t result;
  };
  const Case cases[] = {
      {"intact", [](Bytes&) {}, 0},
      {"data unit length 0", [&](Bytes& b) { fixture::PutU32(b, unit0, 0); }, -1},
      {"data unit past its group", [&](Bytes& b) { fixture::PutU32(b, unit0, 5000); }, -1},
      {"fewer pairs stored than counted", [&](Bytes& b) { fixture::PutU32(b, g2unit1 + 6 + 4 + 4, 3); }, -1},
      {"data count 0", [&](Bytes& b) { fixture::PutU32(b, g2unit1 + 6 + 4 + 4, 0); }, -1},
      {"data channel count 1", [&](Bytes& b) { fixture::PutU16(b, starts[2] + 4, 1); }, -1},
  };
  for (const Case& c : cases) {
    Bytes b = good;
    c.patch(b);
    fixture::WriteBytes(path, b);
    FynFileAccessAna r(path.c_str());
    ASSERT_EQ(0, r.InitParams()) << c.what;
    std::vector<float> y(8, 0.f);
    EXPECT_EQ(c.result, r.GetAnaDataY(1, 0, 2, y.data(), 0)) << c.what;
    if (c.result == 0) {
      EXPECT_EQ((std::vector<float>{6, 8, 0, 0, 0, 0, 0, 0}), y);
    }
  }
}

}  // namespace
