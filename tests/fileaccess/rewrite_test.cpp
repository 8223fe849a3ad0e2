// Inserting a named group and editing group 2: what changes and what stays byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/fileaccess/fyn_edit_file_raw.h"
#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to) {
  return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

bool OnlyTheFileItselfIn(const fixture::TempDir& dir) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.dir())) {
    (void)e;
    ++n;
  }
  return n == 1;
}

TEST(CreateNewGroupSpace, NewGroupGoesBeforeTheDataGroupAndNothingElseMoves) {
  for (bool events : {false, true}) {
    fixture::TempDir dir;
    const std::string path = dir.Path("g.fyd");
    auto spec = fixture::TwoChannelSpec();
    spec.withEvents = events;
    ASSERT_TRUE(fixture::WriteRaw(path, spec));
    const Bytes before = fixture::ReadBytes(path);
    const auto oldStarts = fixture::GroupStarts(before);

    FynFileAccessRaw r(path.c_str());
    ASSERT_EQ(0, r.InitParams());
    ASSERT_EQ(0, r.CreateNewGroupSpace("SLEEP", 100));
    const Bytes after = fixture::ReadBytes(path);
    ASSERT_EQ(before.size() + 100, after.size());
    const std::size_t at = oldStarts[2];  // the old data group
    // Everything up to the data group is unchanged but the group count (+1).
    Bytes expectedHead = Slice(before, 0, at);
    const std::size_t countAt = fixture::GetU32(before, 0) + 4;
    fixture::PutU16(expectedHead, countAt, static_cast<std::uint16_t>(expectedHead[countAt] + 1));
    EXPECT_EQ(expectedHead, Slice(after, 0, at));
    // The new group: length, header length, name, zeros.
    Bytes group = {100, 0, 0, 0, 13, 0, 0, 0, 5, 0, 0, 0, 'S', 'L', 'E', 'E', 'P'};
    group.resize(100, 0);
    EXPECT_EQ(group, Slice(after, at, at + 100));
    // Data and event groups follow byte for byte.
    EXPECT_EQ(Slice(before, at, before.size()), Slice(after, at + 100, after.size()));
    EXPECT_TRUE(OnlyTheFileItselfIn(dir)) << "no temporary file is left";

    // The reader is re-initialised on the rebuilt file.
    EXPECT_EQ(events ? 5 : 4, r.GetGroupCnt());
    std::uint32_t offset = 0;
    ASSERT_EQ(0, r.GetPropGroupAddress("SLEEP", &offset));
    EXPECT_EQ(at, offset);
    std::vector<std::uint16_t> words(20);
    ASSERT_EQ(0, r.GetRawDataWORDAll(0, 9, words.data()));
    EXPECT_EQ(spec.frames[2], words[1]);
    if (events) {
      std::uint32_t count = 0;
      ASSERT_EQ(0, r.GetEventCount(&count));
      EXPECT_EQ(2u, count);
    }
  }
}

TEST(CreateNewGroupSpace, FailuresLeaveTheRecordingAsItWas) {
  fixture::TempDir dir;
  const std::string path = dir.Path("f.fyd");
  ASSERT_TRUE(fixture::WriteRaw(path, fixture::TwoChannelSpec()));
  const Bytes before = fixture::ReadBytes(path);
  FynFileAccessRaw r(path.c_str());
  EXPECT_EQ(-2, r.CreateNewGroupSpace("SLEEP", 100));
  ASSERT_EQ(0, r.InitParams());
  // A size that cannot hold the group's own header.
  EXPECT_EQ(-1, r.CreateNewGroupSpace("SLEEP", 10));
  EXPECT_EQ(before, fixture::ReadBytes(path));
  EXPECT_TRUE(OnlyTheFileItselfIn(dir));
  // The file shrank after InitParams: copying its last group fails part-way.
  Bytes cut = before;
  cut.resize(before.size() - 8);
  fixture::WriteBytes(path, cut);
  EXPECT_EQ(-1, r.CreateNewGroupSpace("SLEEP", 100));
  EXPECT_EQ(cut, fixture::ReadBytes(path));
  EXPECT_TRUE(OnlyTheFileItselfIn(dir));
}

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    spec = fixture::TwoChannelSpec();
    spec.channels.push_back(spec.channels[0]);
    spec.channels.push_back(spec.channels[1]);
    spec.channels[2].name = "C4-A1";
    spec.channels[3].name = "EMG";
    spec.g1.channels = 4;
    spec.g1.dataCount = 5;
    spec.withEvents = true;
    spec.withOV = true;
    spec.comments.resize(10);
    ASSERT_TRUE(fixture::WriteRaw(path, spec));
    before = fixture::ReadBytes(path);
  }
  fixture::TempDir dir;
  std::string path = dir.Path("e.fyd");
  fixture::RawSpec spec;
  Bytes before;
};

TEST_F(Editor, DrawRateChangeLeavesEveryOtherGroupByteIdentical) {
  {
    FynEditFileRaw edit(path.c_str());
    ASSERT_EQ(1, edit.Init());
    ASSERT_EQ(1, edit.SetDrawRate(1, 7.5));
    EXPECT_EQ(0, edit.SetDrawRate(4, 1.0));
    EXPECT_EQ(0, edit.SetCalFlag(-1, 1));
    ASSERT_EQ(0, edit.RebuildRawFile());
  }
  const Bytes after = fixture::ReadBytes(path);
  const auto a = fixture::GroupStarts(before);
  const auto b = fixture::GroupStarts(after);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(Slice(before, 0, a[1]), Slice(after, 0, b[1])) << "ID, header and group 1";
  EXPECT_EQ(Slice(before, a[2], before.size()), Slice(after, b[2], after.size())) << "groups after group 2";
  // Group 2 differs only in channel 1's draw-rate flag and value (the 8 bytes are always stored).
  EXPECT_EQ(a[2] - a[1], b[2] - b[1]);
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawG2Param g;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(1, &g));
  EXPECT_EQ(1, g.drawRateFlag);
  EXPECT_EQ(7.5, g.drawRate);
  ASSERT_EQ(0, r.GetGroup2ParamRaw(2, &g));
  EXPECT_EQ("C4-A1", g.name);
  EXPECT_TRUE(OnlyTheFileItselfIn(dir));
}

TEST_F(Editor, UnchangedRebuildIsByteIdenticalAndLongerNameGrowsAllThreeLengths) {
  {
    FynEditFileRaw edit(path.c_str());
    ASSERT_EQ(1, edit.Init());
    ASSERT_EQ(0, edit.RebuildRawFile());
  }
  ASSERT_EQ(before, fixture::ReadBytes(path));
  {
    FynEditFileRaw edit(path.c_str());
    ASSERT_EQ(1, edit.Init());
    ASSERT_EQ(1, edit.SetChannelName(0, "C3-A2 longer"));  // 7 bytes more
    ASSERT_EQ(1, edit.SetCalUnit(3, "uV"));
    ASSERT_EQ(1, edit.SetCalTopVoltage(3, 2000));
    ASSERT_EQ(1, edit.SetCalTopNumber(3, 200.0));
    ASSERT_EQ(0, edit.RebuildRawFile());
  }
  const Bytes after = fixture::ReadBytes(path);
  const std::size_t g2a = fixture::GroupStarts(before)[1];
  const std::size_t g2b = fixture::GroupStarts(after)[1];
  const int unitGrowth = 7;
  EXPECT_EQ(fixture::GetU32(before, g2a + 6) + unitGrowth, fixture::GetU32(after, g2b + 6)) << "unit length";
  EXPECT_EQ(fixture::GetU32(before, g2a + 12) + unitGrowth, fixture::GetU32(after, g2b + 12)) << "sub-unit 1";
  // Group 2 grows by the 7 name bytes and channel 3's unit text ("%" -> "uV", one byte).
  EXPECT_EQ(fixture::GetU32(before, g2a) + 7 + 1, fixture::GetU32(after, g2b)) << "group length";
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawG2Param g;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(0, &g));
  EXPECT_EQ("C3-A2 longer", g.name);
  ASSERT_EQ(0, r.GetGroup2ParamRaw(3, &g));
  EXPECT_EQ("uV", g.unit);
  EXPECT_EQ(2000, g.calTopSample);
  EXPECT_EQ(200.0, g.calTopPhysical);
  _FynOVPatientInfo p;
  ASSERT_EQ(0, r.GetOVPatientInfo(&p));
  EXPECT_EQ("Subject A", p.text1);
}

TEST_F(Editor, UnknownBytesInsideGroup2AreKept) {
  // Grow channel 0's sub-unit 3 by two bytes that this program does not know.
  Bytes patched = before;
  const std::size_t g2 = fixture::GroupStarts(patched)[1];
  const std::size_t unit = g2 + 6;
  const std::size_t s1 = unit + 6;
  const std::size_t s2 = s1 + fixture::GetU32(patched, s1);
  const std::size_t s3 = s2 + fixture::GetU32(patched, s2);
  ASSERT_EQ(10u, fixture::GetU32(patched, s3));
  patched.insert(patched.begin() + static_cast<long>(s3 + 10), {0xAB, 0xCD});
  fixture::PutU32(patched, s3, 12);
  fixture::PutU32(patched, unit, fixture::GetU32(patched, unit) + 2);
  fixture::PutU32(patched, g2, fixture::GetU32(patched, g2) + 2);
  fixture::WriteBytes(path, patched);
  {
    FynFileAccessRaw r(path.c_str());
    ASSERT_EQ(0, r.InitParams());
    _FynRawG2Param g;
    ASSERT_EQ(0, r.GetGroup2ParamRaw(1, &g)) << "readers walk by the stored lengths";
    EXPECT_EQ("SpO2", g.name);
  }
  FynEditFileRaw edit(path.c_str());
  ASSERT_EQ(1, edit.Init());
  ASSERT_EQ(0, edit.RebuildRawFile());
  EXPECT_EQ(patched, fixture::ReadBytes(path));
}

TEST(EditorFailures, NotARawFileIsReportedAndLeftAlone) {
  fixture::TempDir dir;
  const std::string path = dir.Path("x.txt");
  const Bytes text(300, 'x');
  fixture::WriteBytes(path, text);
  FynEditFileRaw edit(path.c_str());
  EXPECT_EQ(0, edit.Init());
  EXPECT_EQ(0, edit.SetDrawRate(0, 1.0));
  EXPECT_EQ(-2, edit.RebuildRawFile());
  EXPECT_EQ(text, fixture::ReadBytes(path));
  EXPECT_TRUE(OnlyTheFileItselfIn(dir));
}

}  // namespace

namespace {

TEST(CreateNewGroupSpace, AnalysisFileGetsTheGroupBeforeItsLastGroup) {
  fixture::TempDir dir;
  const std::string path = dir.Path("a.fya");
  FynFileWriteAna w(path.c_str());
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_ANADATA", 0x0110};
  _FynAnaG2Param p;
  p.dataCount = 1;
  ASSERT_EQ(0, w.CreateNewFile());
  ASSERT_EQ(0, w.WriteIDBlock(&id, &end));
  ASSERT_EQ(0, w.WriteHeader(3, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup1Ana(1, nullptr, &end));
  ASSERT_EQ(0, w.StartGroup2(1, nullptr, &end));
  ASSERT_EQ(0, w.WriteGroup2Unit(&p, nullptr, &end));
  ASSERT_EQ(0, w.EndGroup2(&end, &end));
  ASSERT_EQ(0, w.WriteDataGroup({{0.5f, 1.5f}}, nullptr, &end));
  const Bytes before = fixture::ReadBytes(path);
  const std::size_t at = fixture::GroupStarts(before)[2];
  FynFileAccessAna r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  ASSERT_EQ(0, r.CreateNewGroupSpace("SLEEP", 17));
  const Bytes after = fixture::ReadBytes(path);
  Bytes expected = Slice(before, 0, at);
  expected[26 + 4] = 4;  // group count 3 -> 4
  Bytes group = {17, 0, 0, 0, 13, 0, 0, 0, 5, 0, 0, 0, 'S', 'L', 'E', 'E', 'P'};
  expected.insert(expected.end(), group.begin(), group.end());
  expected.insert(expected.end(), before.begin() + static_cast<long>(at), before.end());
  EXPECT_EQ(expected, after);
  float y = 0.f;
  ASSERT_EQ(0, r.GetAnaDataY(0, 0, 0, &y, 0));
  EXPECT_EQ(1.5f, y);
}

}  // namespace
