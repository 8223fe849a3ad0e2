// The "ORVENTALIS" property group: subject data, marks, labels and free comments.
#include <gtest/gtest.h>

#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"

namespace {

std::vector<_FynOVFreeCommentInfo> Comments(int n) {
  std::vector<_FynOVFreeCommentInfo> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    v[static_cast<std::size_t>(i)].text1 = "Title " + std::to_string(i);
    v[static_cast<std::size_t>(i)].text2 = "Text " + std::to_string(i);
  }
  return v;
}

TEST(BcdAge, EncodesYearsAndMonthsAsDigits) {
  struct Case {
    std::uint16_t years, months;
    std::int16_t status;
    std::uint32_t bcd;
  };
  for (const Case& c : {Case{35, 7, 0, 0x00350007}, Case{0, 0, 0, 0}, Case{999, 99, 0, 0x09990099},
                        Case{102, 11, 0, 0x01020011}, Case{1000, 0, -1, 0}, Case{5, 100, -1, 0}}) {
    std::uint32_t out = 0;
    EXPECT_EQ(c.status, FynFileWriteOVG3::CreateBCDAge(c.years, c.months, &out)) << c.years << "/" << c.months;
    EXPECT_EQ(c.bcd, out) << c.years << "/" << c.months;
  }
}

TEST(PropertyGroup, PatientTextsAreCutAndAgeRoundTrips) {
  fixture::TempDir dir;
  const std::string path = dir.Path("ov.fyd");
  auto spec = fixture::TwoChannelSpec();
  spec.withOV = true;
  spec.patient.text1 = std::string(25, 'A');
  spec.patient.text2 = std::string(61, 'b');
  spec.patient.ageYears = 0;
  spec.patient.ageMonths = 0;
  spec.comments = Comments(10);
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynOVPatientInfo p;
  ASSERT_EQ(0, r.GetOVPatientInfo(&p));
  EXPECT_EQ(std::string(20, 'A'), p.text1);
  EXPECT_EQ(1, p.patientWord) << "found after the cut text";
  EXPECT_EQ(0, p.ageYears);
  EXPECT_EQ(0, p.ageMonths);
  EXPECT_EQ(std::string(60, 'b'), p.text2);
  std::int16_t count = -1;
  ASSERT_EQ(0, r.GetOVMarkNum(&count));
  EXPECT_EQ(0, count);
  ASSERT_EQ(0, r.GetOVLabelNum(&count));
  EXPECT_EQ(0, count);
  std::int16_t kind = 0;
  std::uint32_t pos = 0;
  EXPECT_EQ(-1, r.GetOVMarkInfo(0, &kind, &pos));
  _FynOVFreeCommentInfo got[10];
  ASSERT_EQ(0, r.GetOVFreeCommentInfo(got));
  EXPECT_EQ("Title 9", got[9].text1);
  EXPECT_EQ("Text 0", got[0].text2);
}

TEST(PropertyGroup, FreeCommentUnitByVersionAndUnitCount) {
  struct Case {
    const char* what;
    std::uint16_t version;
    int units;
    int stored;
    std::int16_t status;
    int read;
  };
  const Case cases[] = {
      {"version 3, unit 7", 3, 7, 10, 0, 10},
      {"version 2, unit 6", 2, 6, 4, 0, 4},
      {"5 units", 2, 5, 3, -4, 0},
      {"version 3 with 6 units", 3, 6, 3, -4, 0},
      {"version 1", 1, 7, 3, -4, 0},
      {"more entries than the caller's 10", 3, 7, 12, 0, 10},
  };
  for (const Case& c : cases) {
    fixture::TempDir dir;
    const std::string path = dir.Path("fc.fyd");
    auto spec = fixture::TwoChannelSpec();
    spec.withOV = true;
    spec.ovVersion = c.version;
    spec.ovUnits = c.units;
    spec.comments = Comments(c.stored);
    ASSERT_TRUE(fixture::WriteRaw(path, spec)) << c.what;
    FynFileAccessRaw r(path.c_str());
    ASSERT_EQ(0, r.InitParams()) << c.what;
    std::vector<_FynOVFreeCommentInfo> got(11);
    got[10].text1 = "guard";
    EXPECT_EQ(c.status, r.GetOVFreeCommentInfo(got.data())) << c.what;
    for (int i = 0; i < c.read; ++i) EXPECT_EQ("Title " + std::to_string(i), got[static_cast<std::size_t>(i)].text1);
    EXPECT_EQ("guard", got[10].text1) << c.what << ": never past the caller's 10 entries";
  }
}

TEST(PropertyGroup, MarksAndLabelsReadBack) {
  fixture::TempDir dir;
  const std::string path = dir.Path("ml.fyd");
  auto spec = fixture::TwoChannelSpec();
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  // Append a hand-built group through the writer pieces: marks and labels filled in.
  FynFileAccessRaw probe(path.c_str());
  ASSERT_EQ(0, probe.InitParams());
  ASSERT_EQ(0, probe.CreateNewGroupSpace("ORVENTALIS", 26));
  const auto starts = fixture::GroupStarts(fixture::ReadBytes(path));
  // Rewrite the new group: header, units 1 to 4, with marks and labels.
  const std::string built = dir.Path("built.fyd");
  {
    auto bytes = fixture::ReadBytes(path);
    std::vector<unsigned char> head(bytes.begin(), bytes.begin() + static_cast<long>(starts[2]));
    std::vector<unsigned char> tail(bytes.begin() + static_cast<long>(starts[3]), bytes.end());
    fixture::WriteBytes(built, head);
    FynFileWriteOVG3 w(built.c_str());
    std::uint64_t end = 0;
    const std::vector<unsigned char> zero4(4, 0);
    auto append = [&](const std::vector<unsigned char>& b) {
      auto cur = fixture::ReadBytes(built);
      cur.insert(cur.end(), b.begin(), b.end());
      fixture::WriteBytes(built, cur);
    };
    append(zero4);
    ASSERT_EQ(0, w.WriteHeader("ORVENTALIS", nullptr, &end));
    append({4, 0, 3, 0});
    ASSERT_EQ(0, w.WritePatientInfo(&spec.patient, nullptr, &end));
    ASSERT_EQ(0, w.StartUnit2(2, nullptr, &end));
    ASSERT_EQ(0, w.WriteMarkData(3, 1000, nullptr, &end));
    ASSERT_EQ(0, w.WriteMarkData(4, 2000, &end, &end));
    ASSERT_EQ(0, w.EndUnit2(&end, &end));
    ASSERT_EQ(0, w.WriteEmptyUnit3(nullptr, &end));
    ASSERT_EQ(0, w.StartUnit4(2, nullptr, &end));
    _FynOVLabelInfo a{};
    a.position = 77;
    a.word = 5;
    a.value = 1.25;
    a.text = std::string(70, 'L');
    _FynOVLabelInfo b = a;
    b.text = "second";
    ASSERT_EQ(0, w.WriteLabelData(&a, nullptr, &end));
    ASSERT_EQ(0, w.WriteLabelData(&b, nullptr, &end));
    ASSERT_EQ(0, w.EndUnit4(&end, &end));
    auto cur = fixture::ReadBytes(built);
    fixture::PutU32(cur, starts[2], static_cast<std::uint32_t>(cur.size() - starts[2]));
    cur.insert(cur.end(), tail.begin(), tail.end());
    fixture::WriteBytes(built, cur);
  }
  FynFileAccessRaw r(built.c_str());
  ASSERT_EQ(0, r.InitParams());
  std::int16_t count = 0;
  ASSERT_EQ(0, r.GetOVMarkNum(&count));
  EXPECT_EQ(2, count);
  std::int16_t kind = 0;
  std::uint32_t pos = 0;
  ASSERT_EQ(0, r.GetOVMarkInfo(1, &kind, &pos));
  EXPECT_EQ(4, kind);
  EXPECT_EQ(2000u, pos);
  ASSERT_EQ(0, r.GetOVLabelNum(&count));
  EXPECT_EQ(2, count);
  _FynOVLabelInfo got;
  ASSERT_EQ(0, r.GetOVLabelInfo(0, &got));
  EXPECT_EQ(std::string(68, 'L'), got.text);
  EXPECT_EQ(1.25, got.value);
  ASSERT_EQ(0, r.GetOVLabelInfo(1, &got));
  EXPECT_EQ("second", got.text);
  EXPECT_EQ(77u, got.position);
  EXPECT_EQ(-1, r.GetOVLabelInfo(2, &got));
  _FynOVFreeCommentInfo comments[10];
  EXPECT_EQ(-4, r.GetOVFreeCommentInfo(comments)) << "four units only";
}

TEST(PropertyGroup, MissingGroupGivesMinusFourAndLeavesTheRecord) {
  fixture::TempDir dir;
  const std::string path = dir.Path("none.fyd");
  ASSERT_TRUE(fixture::WriteRaw(path, fixture::TwoChannelSpec()));
  FynFileAccessRaw r(path.c_str());
  _FynOVPatientInfo p;
  EXPECT_EQ(-2, r.GetOVPatientInfo(&p));
  ASSERT_EQ(0, r.InitParams());
  p.text1 = "kept";
  EXPECT_EQ(-4, r.GetOVPatientInfo(&p));
  EXPECT_EQ("kept", p.text1);
  std::int16_t n = 0;
  EXPECT_EQ(-4, r.GetOVMarkNum(&n));
  EXPECT_EQ(-4, r.GetOVLabelNum(&n));
}

}  // namespace
