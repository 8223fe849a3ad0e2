// The multi-screening settings record and its two files: exact layout, round trips, refused
// and damaged files that leave the record as it was, and the failures of writing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/document/byte_image.h"
#include "app/scoring/multi_screening_setting.h"
#include "platform/system/file_io.h"
#include "platform/testing/ui_testing.h"

namespace fs = std::filesystem;

namespace {

std::span<const std::uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
template <class T>
T At(const std::string& s, std::size_t off) {
  return bytes::Get<T>(Span(s), off);
}

using Setting = LyrMultiScreeningSetting;
Setting Defaults() { return Setting(Setting::NoFile{}); }

// A record with every field away from its default.
Setting Changed() {
  Setting s = Defaults();
  s.UseResultFolder = 1;
  s.ResultFolder = "/results/day 1";
  s.ChannelsPerAnimal = 4;
  s.AddChannelPosition();
  s.ChannelAttributes[3] = {kMsLocomotion, 1, 2.5f};
  s.ChannelFilters[3] = {1, 4, 45.0f, 55.0f, 1, 60.0f};
  s.AddCondition();
  s.Conditions.back().Second.Parameter = 31;
  s.Conditions.back().UseSecond = 1;
  s.LastStageScreening = 1;
  s.LastStageFrom = 3;
  s.TargetOccupancy[7] = 1.5f;
  s.LightPhaseStart[4] = 7;
  s.LightPhaseShare = 55.0f;
  s.FftPoints = 512;
  s.FftWindow = 3;
  s.FftUnit = 1;
  s.FftRateMode = 1;
  s.Bands.push_back({"Sigma9chr", 11.0f, 15.0f});
  s.BandCount = 3;
  s.RangeStartMode = 1;
  s.RangeStartTime[5] = 30;
  s.RangeEndMode = 2;
  s.RangeEndDays = 1;
  return s;
}

void ExpectSameBody(const Setting& a, const Setting& b) {
  EXPECT_EQ(a.BuildBody(), b.BuildBody());
  EXPECT_EQ(a.ChannelAttributes, b.ChannelAttributes);
  EXPECT_EQ(a.Conditions, b.Conditions);
  EXPECT_EQ(a.Bands, b.Bands);
}

}  // namespace

TEST(MultiScreeningSettingFile, DefaultBodyLayout) {
  const Setting s = Defaults();
  const std::string body = s.BuildBody();
  // 380 + 32 n + 18 m + 57 k with n 3, m 2, k 4.
  ASSERT_EQ(body.size(), 740u);
  EXPECT_EQ(body.substr(0, 3), "MSS");
  EXPECT_EQ(At<std::uint16_t>(body, 3), 1);
  EXPECT_EQ(At<std::int16_t>(body, 269), 3);
  // Position 2 (Locomotion, level 3.0): the level's first two bytes, then the level.
  const std::size_t p2 = 271 + 2 * 10;
  EXPECT_EQ(At<std::uint16_t>(body, p2), kMsLocomotion);
  EXPECT_EQ(body.substr(p2 + 4, 2), body.substr(p2 + 6, 2));
  EXPECT_EQ(At<float>(body, p2 + 6), 3.0f);
  // Filters from 301: position 0 is HPF 0.75 Hz with base offset.
  EXPECT_EQ(At<std::uint32_t>(body, 301), 1u);
  EXPECT_EQ(At<std::uint16_t>(body, 305), 2);
  EXPECT_EQ(At<float>(body, 307), 0.75f);
  EXPECT_EQ(At<std::int16_t>(body, 413), 2);
  EXPECT_EQ(bytes::GetText(Span(body), 415, 10), "Delta");
  EXPECT_EQ(At<std::int16_t>(body, 451), 4);
  // Condition 0: stage 1, first term stored parameter first: 30, Locomotion, 0, value 1.0 .. Max.
  EXPECT_EQ(At<std::uint8_t>(body, 453), 1);
  EXPECT_EQ(At<std::uint16_t>(body, 454), 30);
  EXPECT_EQ(At<std::uint16_t>(body, 456), kMsLocomotion);
  EXPECT_EQ(At<std::uint16_t>(body, 460), kMsBoundValue);
  EXPECT_EQ(At<float>(body, 462), 1.0f);
  EXPECT_EQ(At<std::uint16_t>(body, 470), kMsBoundMax);
  EXPECT_EQ(At<float>(body, 736), 68.0f);
  EXPECT_EQ(At<float>(body, 736 - 16 - 32), 10.0f);  // TargetOccupancy[0]

  const std::string resume = s.BuildResume();
  ASSERT_EQ(resume.size(), 794u + 740u);
  EXPECT_EQ(resume.substr(0, 8), "MULTISCR");
  EXPECT_EQ(resume.substr(794), body);
}

TEST(MultiScreeningSettingFile, RoundTripsBothWays) {
  const Setting changed = Changed();
  Setting back = Defaults();
  ASSERT_EQ(back.ReadBody(Span(changed.BuildBody())), 1);
  ExpectSameBody(back, changed);
  EXPECT_EQ(back.BandCount, 3);
  EXPECT_EQ(back.Bands[2].Name, "Sigma9chr");  // nine characters survive
  EXPECT_EQ(back.ChannelsPerAnimal, 4);
  // And back to the defaults.
  ASSERT_EQ(back.ReadBody(Span(Defaults().BuildBody())), 1);
  ExpectSameBody(back, Defaults());

  // The header keeps the last listed recording only, and an empty list stays empty.
  Setting listed = Changed();
  listed.FileList = {"/a/one.fyd", "/a/two.fyd"};
  listed.FileListPluginPath = "/opt/RXQD_IMP_DSI.so";
  listed.SettingFilePath = "/s/night.mss";
  listed.SettingFileLoaded = 1;
  Setting r = Defaults();
  ASSERT_EQ(r.ReadResume(Span(listed.BuildResume())), 1);
  EXPECT_EQ(r.FileList, std::vector<std::string>{"/a/two.fyd"});
  EXPECT_EQ(r.FileListPluginPath, listed.FileListPluginPath);
  EXPECT_EQ(r.SettingFilePath, listed.SettingFilePath);
  EXPECT_EQ(r.SettingFileLoaded, 1u);
  ExpectSameBody(r, listed);
  ASSERT_EQ(r.ReadResume(Span(Defaults().BuildResume())), 1);
  EXPECT_TRUE(r.FileList.empty());

  // Four positions into a record of three; no conditions at all.
  Setting none = Defaults();
  none.Conditions.clear();
  ASSERT_EQ(r.ReadBody(Span(none.BuildBody())), 1);
  EXPECT_TRUE(r.Conditions.empty());
}

TEST(MultiScreeningSettingFile, RefusedAndDamagedFilesLeaveTheRecord) {
  const std::string good = Changed().BuildBody();
  auto patched = [&](std::size_t off, auto value) {
    std::string b = good;
    std::memcpy(b.data() + off, &value, sizeof value);
    return b;
  };
  struct Case {
    const char* what;
    std::string bytes;
    std::uint32_t message;
  } cases[] = {
      {"tag", "MSX" + good.substr(3), kIdsMsCannotOpen},
      {"version 2", patched(3, std::uint16_t{2}), kIdsMsVersionDifferent},
      {"cut short", good.substr(0, good.size() - 1), kIdsMsFailerToReadData},
      {"cut in the header", good.substr(0, 2), kIdsMsFailerToReadData},
      {"n 0", patched(269, std::int16_t{0}), kIdsMsFailerToReadData},
      {"n 33", patched(269, std::int16_t{33}), kIdsMsFailerToReadData},
      {"m 7", patched(271 + 4 * 32 + 46, std::int16_t{7}), kIdsMsFailerToReadData},
      {"k 21", patched(271 + 4 * 32 + 48 + 3 * 18, std::int16_t{21}), kIdsMsFailerToReadData},
      {"k -1", patched(271 + 4 * 32 + 48 + 3 * 18, std::int16_t{-1}), kIdsMsFailerToReadData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Setting s = Defaults();
    EXPECT_EQ(s.ReadBody(Span(c.bytes)), 0);
    EXPECT_EQ(s.LastMessageId, c.message);
    ExpectSameBody(s, Defaults());
  }
  Setting s = Defaults();
  std::string resume = Changed().BuildResume();
  resume[0] = 'X';
  EXPECT_EQ(s.ReadResume(Span(resume)), 0);
  EXPECT_EQ(s.LastMessageId, kIdsMsCannotOpen);
  resume = Changed().BuildResume();
  resume[8] = 2;
  EXPECT_EQ(s.ReadResume(Span(resume)), 0);
  EXPECT_EQ(s.LastMessageId, kIdsMsVersionDifferent);
  EXPECT_EQ(s.ReadResume(Span(Changed().BuildResume().substr(0, 900))), 0);
  EXPECT_EQ(s.LastMessageId, kIdsMsFailerToReadData);
  ExpectSameBody(s, Defaults());
}

TEST(MultiScreeningSettingFile, FilesBesideTheProgramAndSettingFiles) {
  testhooks::TempProgramFolder folder;
  const std::string resume = folder.Path() + "/QX_MultiSCR.RSM";
  EXPECT_EQ(Setting::GetResumePath(), resume);
  {
    // No file: the defaults, and the file is made.
    Setting s;
    EXPECT_TRUE(fs::exists(resume));
    ExpectSameBody(s, Defaults());
    s.ChannelsPerAnimal = 2;
    ASSERT_EQ(s.SaveResume(), 1);
  }
  EXPECT_EQ(Setting().ChannelsPerAnimal, 2);
  // A damaged file gives the defaults at construction and stays as it is.
  std::ofstream(resume, std::ios::binary) << "MULTISCR\x01";
  EXPECT_EQ(Setting().ChannelsPerAnimal, 3);
  EXPECT_EQ(fs::file_size(resume), 9u);

  // A setting file: missing, saved, loaded; a failed write keeps the old file.
  Setting s = Defaults();
  const std::string mss = folder.Path() + "/night.mss";
  EXPECT_EQ(s.LoadSettingFile(mss), 0);
  EXPECT_EQ(s.LastMessageId, kIdsMsFailerToMakeFile);
  EXPECT_EQ(s.SettingFileLoaded, 0u);
  EXPECT_EQ(s.LoadSettingFile(""), 0);
  Setting c = Changed();
  ASSERT_EQ(c.SaveSettingFile(mss), 1);
  EXPECT_EQ(c.SettingFilePath, mss);
  EXPECT_EQ(fs::file_size(mss), c.BuildBody().size());
  ASSERT_EQ(s.LoadSettingFile(mss), 1);
  EXPECT_EQ(s.SettingFileLoaded, 1u);
  ExpectSameBody(s, c);
  fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  const int saved = Defaults().SaveSettingFile(mss);
  fs::permissions(folder.Path(), fs::perms::owner_all);
  if (::geteuid() != 0) {
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(sys::ReadWholeFile(mss).value_or(""), c.BuildBody());
  }
  // Paths longer than their 260-byte fields are refused, never cut.
  const std::string longPath = folder.Path() + "/" + std::string(260, 'x') + ".mss";
  EXPECT_EQ(s.SaveSettingFile(longPath), 0);
  EXPECT_EQ(s.LastMessageId, kIdsMsPathTooLong);
  EXPECT_EQ(s.SettingFilePath, mss);
  s.ResultFolder = std::string(300, 'r');
  EXPECT_EQ(s.SaveResume(), 0);
}

TEST(MultiScreeningSettingRecord, ListAndChannelHelpers) {
  Setting s = Defaults();
  s.FileList = {"/d/A.fyd", "/d/a.fyd", "", "/d/A.fyd", "/d/b.fyd"};
  EXPECT_EQ(s.RemoveDuplicateFiles(), 0);
  EXPECT_EQ(s.FileList, (std::vector<std::string>{"/d/A.fyd", "/d/a.fyd", "/d/b.fyd"}));
  EXPECT_EQ(s.RemoveDuplicateFiles(), 1);

  s.ChannelsPerAnimal = 5;
  s.AddChannelPosition();
  s.AddChannelPosition();
  s.ChannelAttributes[3].Attribute = kMsEeg;
  EXPECT_EQ(s.CountChannelsOfAttribute(kMsEeg), 2);
  EXPECT_EQ(s.FindPosition(kMsEeg, 1), 3);
  EXPECT_EQ(s.FindPosition(kMsEmg, 1), -1);
  int ordinal = -1;
  EXPECT_EQ(s.GetPositionAttribute(8, &ordinal), kMsEeg);  // channel 8 -> position 3
  EXPECT_EQ(ordinal, 1);
  std::vector<int> emg;
  EXPECT_TRUE(s.CheckSingleEmg(&emg));
  s.ChannelAttributes[4].Attribute = kMsEmg;
  EXPECT_FALSE(s.CheckSingleEmg(&emg));
  EXPECT_EQ(emg, (std::vector<int>{1, 4}));

  EXPECT_EQ(Setting::FilterText(0, 0, 0, 0, 50.0f), "None");
  EXPECT_EQ(Setting::FilterText(3, 20.0f, 50.0f, 1, 50.0f), "BPF:20.00-50.00Hz/Notch:50Hz");
  EXPECT_EQ(Setting::FilterText(0, 0, 0, 1, 60.0f), "Notch:60Hz");
  EXPECT_EQ(Setting::IsOtherImportPlugin("/p/RXQD_IMP_NK.so"), 1);
  EXPECT_EQ(Setting::IsOtherImportPlugin("/p/RXQD_IMP_DSI.so"), 0);
  EXPECT_EQ(Setting::IsOtherImportPlugin(""), 0);
}

TEST(MultiScreeningSettingFile, DamagedCopiesAreTakenWholeOrNotAtAll) {
  // Deterministic damage of a good file: bytes changed, cut or repeated. Every copy is either
  // refused with the record unchanged, or read into a record that writes back what it reads.
  const std::string goodBody = Changed().BuildBody();
  const std::string goodResume = Changed().BuildResume();
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    const bool resume = round % 2 == 1;
    std::string file = resume ? goodResume : goodBody;
    const int edits = 1 + static_cast<int>(next() % 4);
    for (int k = 0; k < edits; ++k) {
      const std::size_t at = next() % file.size();
      switch (next() % 3) {
        case 0: file[at] = static_cast<char>(next()); break;
        case 1: file.resize(at); break;
        default: file.insert(at, file.substr(at, next() % 40)); break;
      }
      if (file.empty()) break;
    }
    Setting s = Defaults();
    const std::string before = s.BuildBody();
    const int ok = resume ? s.ReadResume(Span(file)) : s.ReadBody(Span(file));
    if (ok == 0) {
      ASSERT_EQ(s.BuildBody(), before) << "round " << round;
      continue;
    }
    ASSERT_GE(s.ChannelsPerAnimal, 1);
    ASSERT_LE(s.ChannelsPerAnimal, kMsMaxPositions);
    ASSERT_LE(s.Bands.size(), static_cast<std::size_t>(kMsMaxBands));
    ASSERT_LE(s.Conditions.size(), static_cast<std::size_t>(kMsMaxConditions));
    const std::string body = s.BuildBody();
    Setting again = Defaults();
    ASSERT_EQ(again.ReadBody(Span(body)), 1) << "round " << round;
    ASSERT_EQ(again.BuildBody(), body) << "round " << round;
  }
}
