// Epoch and page arithmetic, time labels, stage names, the text-output header and the small
// text helpers of the document.
#include <fstream>
#include <sstream>

#include "app/document/text_utils.h"
#include "open_fixture.h"
#include "platform/system/file_io.h"

namespace {

TEST_F(OpenTest, PageAndEpochCounts) {
  struct Case { int record, page, epoch; int divEpoch, pages; };
  for (const Case& c : {Case{3600, 120, 30, 120, 30}, Case{3630, 120, 30, 121, 31}, Case{3620, 120, 30, 120, 30},
                       Case{20, 120, 10, 2, 1}, Case{0, 120, 30, 0, 1}}) {
    Doc().RecordSeconds = c.record;
    PageSeconds = c.page;
    EpochSeconds = c.epoch;
    EXPECT_EQ(Doc().GetDivNum(EpochSeconds), c.divEpoch) << c.record;
    EXPECT_EQ(Doc().GetPageNum(PageSeconds, EpochSeconds), c.pages) << c.record;
  }
  PageSeconds = 120;
  EpochSeconds = 30;
  EXPECT_EQ(Doc().GetPageOfEpoch(9), 2);
  Doc().CurrentEpoch = 9;
  Doc().CurrentPage = 2;
  EXPECT_EQ(Doc().GetEpochInPage(), 1);
  Doc().RecordInfo.channelCount = 3;
  Doc().ChInfo[0].rate = 100;
  Doc().ChInfo[1].rate = 200;
  Doc().ChInfo[1].show = 0;
  float slot[1] = {};
  EXPECT_EQ(Doc().GetChDataPtr(0, 2, slot), slot + (100 * 120 + 1) + (200 * 120 + 1));
  EXPECT_EQ(Doc().GetChDataPtr(5, 0, slot), nullptr);
  EXPECT_EQ(Doc().GetChDataPtr(-1, 0, slot), nullptr);
  EXPECT_EQ(Doc().GetEnableChNum(), 2);
}

TEST_F(OpenTest, TimeLabels) {
  LyrRecordInfo& r = Doc().RecordInfo;
  r.startDateTime = {2024, 3, 14, 22, 5, 9, 0};
  Doc().ChInfo[0].rate = 100;
  Doc().ChInfo[1].rate = 200;
  struct Case { const char* what; int form; int epochSeconds; unsigned value; std::uint16_t valid; std::uint16_t clock; std::string expected; };
  const Case cases[] = {
      {"epoch 0 elapsed", 0, 30, 0, 1, 0, "01.00:00:00"},
      {"epoch 2881 elapsed", 0, 30, 2881, 1, 0, "02.00:00:30"},
      {"30 days wrap", 0, 30, 30 * 2880, 1, 0, "01.00:00:00"},
      {"epoch clock", 0, 30, 10, 1, 1, "14/03/2024 22:10:09"},
      {"epoch clock over midnight", 0, 30, 240, 1, 1, "15/03/2024 00:05:09"},
      {"clock without start time", 0, 30, 10, 0, 1, "01.00:05:00"},
      {"milliseconds elapsed", 1, 30, 1500, 1, 0, "01.00:00:01.500"},
      {"milliseconds clock", 1, 30, 61250, 1, 1, "14/03/2024  22:06:10.250"},
      {"sample elapsed", 2, 30, 250, 1, 0, "01 00:00:01.250"},
      {"sample clock", 2, 30, 250, 1, 1, "14/03/2024  22:05:10.250"},
  };
  for (const Case& c : cases) {
    EpochSeconds = c.epochSeconds;
    r.startTimeValid = c.valid;
    ClockTimeDisplay = c.clock;
    std::string out = "old";
    if (c.form == 0) Doc().GetEpochTimeString(c.value, out);
    if (c.form == 1) Doc().GetMSecTimeString(c.clock, c.value, &out);
    if (c.form == 2) Doc().GetSampleTimeString(static_cast<int>(c.value), 1, out);
    EXPECT_EQ(out, c.expected) << c.what;
  }
  res::SetLanguage(res::Language::Japanese);
  std::string out;
  ClockTimeDisplay = 1;
  r.startTimeValid = 1;
  Doc().GetEpochTimeString(10, out);
  EXPECT_EQ(out, "2024/03/14 22:10:09");
}

TEST_F(OpenTest, StageNamesFollowTheStageType) {
  StageTypeParam& st = Doc().Params.stageType;
  for (int k = 0; k < 4; ++k)
    for (std::size_t i = 0; i < st.Set(k).size(); ++i) st.Set(k)[i].name = std::to_string(k) + char('a' + i);
  st.shared[0].name = "F1";
  struct Case { int type; signed char code; std::string name; };
  for (const Case& c : {Case{0, 7, "0g"}, Case{1, 26, "1e"}, Case{1, 5, "1e"}, Case{1, 106, "1e"}, Case{2, 4, "2c"},
                       Case{3, 6, "3c"}, Case{3, 7, "3d"}, Case{5, 7, "3d"}, Case{2, 28, "F1"}, Case{0, 0, "None"},
                       Case{0, -1, "Previous stage"}, Case{0, 11, ""}, Case{0, 50, ""}}) {
    st.stageType = static_cast<std::uint16_t>(c.type);
    std::string out = "x";
    Doc().GetStageName(c.code, out);
    EXPECT_EQ(out, c.name) << c.type << "/" << int(c.code);
  }
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    // Text files end their lines with CR LF.
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << line;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST_F(OpenTest, TextHeaderWithTabAndComma) {
  LyrRecordInfo& r = Doc().RecordInfo;
  r.path = "/data/lab/rec01.fyd";
  r.subjectName = "Hanako";
  r.gender = 0;
  r.ageYears = 35;
  r.ageMonths = 2;
  r.freeComments[2] = {"Subject name", "H"};
  r.freeComments[4] = {"Ward", ""};
  struct Case { std::uint16_t tab; std::uint32_t hide; char sep; };
  for (const Case& c : {Case{1, 0, '\t'}, Case{0, 1, ','}, Case{7, 0, ','}}) {
    OutputDelimiterIsTab = c.tab;
    HideSubjectName = c.hide;
    const std::string s(1, c.sep);
    const std::string path = dir_.Path("header.txt");
    sys::AtomicFileWriter file(path);
    int counter = 4;
    EXPECT_EQ(Doc().OutputTextHeader(0, &file, nullptr, &counter), 1);
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(counter, 20);
    const std::vector<std::string> expected = {
        "File name" + s + "rec01.fyd",
        "Result analysis file name" + s,
        "Subject" + s + (c.hide ? "******" : "Hanako"),
        "Gender" + s + "Male",
        "Age" + s + "35Year 2Month",
        "Memo",
        "Free comment 1",
        "Free comment 2",
        "Free comment 3" + s + "Subject name" + s + (c.hide ? "*" : "H"),
        "Free comment 4",
        "Free comment 5" + s + "Ward" + s,
        "Free comment 6", "Free comment 7", "Free comment 8", "Free comment 9", "Free comment 10"};
    EXPECT_EQ(Lines(path), expected) << int(c.tab);
  }
  EXPECT_EQ(Doc().OutputTextHeader(2, nullptr, nullptr, nullptr), 0);
  OutputDelimiterIsTab = 1;
  HideSubjectName = 0;
}

// A "SLEEP" group: 22 bytes, the item count, then length-prefixed names and values.
std::vector<unsigned char> SleepGroup(const std::vector<std::pair<std::string, std::string>>& items, std::uint16_t count) {
  std::vector<unsigned char> b(22, 0xEE);
  b.push_back(static_cast<unsigned char>(count & 0xFF));
  b.push_back(static_cast<unsigned char>(count >> 8));
  auto field = [&b](const std::string& text) {
    const std::uint32_t n = static_cast<std::uint32_t>(text.size());
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<unsigned char>(n >> (8 * k)));
    b.insert(b.end(), text.begin(), text.end());
  };
  for (const auto& [name, value] : items) {
    field(name);
    field(value);
  }
  return b;
}

TEST_F(OpenTest, SleepGroupCommentsAreCutAndBounded) {
  std::vector<std::pair<std::string, std::string>> items;
  items.emplace_back(std::string(2000, 'N'), std::string(1500, 'v'));  // longer than a field buffer
  items.emplace_back("A label longer than twenty", "A value longer than thirty characters");
  for (int i = 2; i < 12; ++i) items.emplace_back("L" + std::to_string(i), "V" + std::to_string(i));
  std::vector<unsigned char> bytes(10, 0);  // the group starts 10 bytes into the file
  const auto group = SleepGroup(items, 12);
  bytes.insert(bytes.end(), group.begin(), group.end());
  const std::string path = dir_.Path("sleep.bin");
  fixture::WriteBytes(path, bytes);
  LyrRecordInfo r;
  ASSERT_EQ(CQLM2_AnalyzerDoc::ReadSleepGroupComments(10, path, r), 1);
  EXPECT_EQ(r.freeComments[0].label, std::string(20, 'N'));
  EXPECT_EQ(r.freeComments[0].text, std::string(30, 'v'));
  EXPECT_EQ(r.freeComments[1].label, "A label longer than ");
  EXPECT_EQ(r.freeComments[1].text, "A value longer than thirty cha");
  EXPECT_EQ(r.freeComments[9].label, "L9");
  EXPECT_EQ(r.freeComments[9].text, "V9");
  EXPECT_EQ(CQLM2_AnalyzerDoc::ReadSleepGroupComments(10, dir_.Path("none.bin"), r), 0);
  // A file cut inside the items keeps what was read before the cut.
  bytes.resize(10 + 24 + 4 + 2000 + 4 + 100);
  fixture::WriteBytes(path, bytes);
  LyrRecordInfo cut;
  EXPECT_EQ(CQLM2_AnalyzerDoc::ReadSleepGroupComments(10, path, cut), 1);
  EXPECT_TRUE(cut.freeComments[0].label.empty());
}

TEST_F(OpenTest, LfHfFftSizeAndTextHelpers) {
  for (const auto& [setting, points] : std::vector<std::pair<int, int>>{{0, 64}, {1, 128}, {2, 256}, {6, 4096}, {7, 512}, {65535, 512}}) {
    Doc().Params.sleepDstrb.lfhfPointsIndex = static_cast<std::uint16_t>(setting);
    EXPECT_EQ(Doc().GetFFTPointNum(), points) << setting;
  }
  std::vector<std::string> items{"stale"};
  SplitCommaText(",,", items);
  EXPECT_EQ(items, (std::vector<std::string>{"", ""}));
  SplitCommaText("a,b,", items);
  EXPECT_EQ(items, (std::vector<std::string>{"a", "b"}));
  SplitCommaText("a,b", items);
  EXPECT_EQ(items, (std::vector<std::string>{"a"}));
  for (const auto& [text, numeric] : std::vector<std::pair<std::string, int>>{
           {"-1.5", 1}, {"1-2", 1}, {"", 1}, {"1e5", 0}, {"12a", 0}}) {
    EXPECT_EQ(IsNumericText(text), numeric) << text;
  }
  const std::uint16_t flags[] = {1, 0, 1, 2, 1};
  EXPECT_EQ(CountFlagOn(flags, 4), 2);
  EXPECT_EQ(CountFlagOn(flags, 0), 0);
  EXPECT_EQ(IsFileExist(dir_.Path("nothing")), 0);
  EXPECT_EQ(IsFileExist(WriteText("here.txt", "x")), 1);
}

}  // namespace
