// The trend table and the ECG R-R interval list, to files (golden files, comma and tab, one in
// Japanese) and to the clipboard, with the line limit and its continuation files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/trend_text_output.h"
#include "platform/res/resource_store.h"
#include "platform/system/locale.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/common_dialogs.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', from)) {
    std::string line = text.substr(from, nl - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    from = nl + 1;
  }
  return lines;
}

class TrendTextTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = {EpochSeconds, OutputMaxLines};
    savedWords_ = {TrendSettingWord2, OutputDelimiterIsTab, OutputToClipboard, ClockTimeDisplay};
    savedItems_ = TrendItem;
    testhooks::Reset();
    dir_ = std::filesystem::temp_directory_path() / ("trend_text_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    EpochSeconds = 4;
    OutputMaxLines = -50;
    OutputDelimiterIsTab = 0;
    OutputToClipboard = 0;
    ClockTimeDisplay = 0;
    // The table: main position, air-flow mean; below it the breaths and the position samples.
    const int items[][2] = {{17, 1}, {14, 1}, {14, 0}, {14, 2}, {14, 4}, {17, 0}};
    TrendSettingWord2 = 6;
    for (int g = 0; g < 6; ++g) {
      TrendItem.category[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(items[g][0]);
      TrendItem.subItem[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(items[g][1]);
      TrendItem.third[static_cast<std::size_t>(g)] = 0;
    }
    doc_.RecordSeconds = 6 * 4;
    doc_.RecordInfo.channelCount = 2;
    doc_.RecordInfo.subjectName = "Test subject";
    doc_.ChInfo[0].rate = 100;
    doc_.ChInfo[1].rate = 100;
    ASSERT_EQ(doc_.EpochTables.SetNew(6, 0, 2, 1, 1), 1);
    doc_.Params.stageType.stageType = 0;
    const char* shortNames[] = {"W", "R", "S1", "S2", "S3", "S4", "MT"};
    for (int i = 0; i < 7; ++i) doc_.Params.stageType.records[static_cast<std::size_t>(i)].name = shortNames[i];
    const int stages[] = {1, 2, 23, 3, 0, 4};
    for (int e = 0; e < 6; ++e) doc_.EpochTables.SetStage(e, static_cast<std::uint8_t>(stages[e]));

    SleepDstrbParam& p = doc_.Params.sleepDstrb;
    p.positionChannel = 0;
    p.positionsInUse = 3;
    const char* names[] = {"Supine", "Left", "Right"};
    for (int c = 0; c < 3; ++c) p.positions[static_cast<std::size_t>(c)] = {names[c], c * 1.0, c + 1.0};
    doc_.EpochTables.AllocateRprsntTable();
    doc_.EpochTables.AllocateRprsntPosition(4);
    for (int e = 0; e < 6; ++e) {
      float* s = doc_.EpochTables.Rprsnt(kRprsntPosition, e);
      ASSERT_NE(s, nullptr);
      for (int i = 0; i < 8; ++i) s[i] = e == 1 ? 5.0f : e == 2 ? (i < 5 ? 1.5f : 2.5f) : 0.5f;
    }
    p.airFlow.channel = 1;
    RespPeakTable& breaths = doc_.RecognitionTables.AirFlowPPAmp();
    breaths.entries = {{0, 1.0f}, {4, 2.0f}, {8, 1.5f}, {8, 2.5f}, {8, 1.0f},
                       {20, 3.0f}, {24, 0.5f}, {40, 1.25f}, {48, 2.25f}};
    breaths.count = 9;
  }
  void TearDown() override {
    EpochSeconds = saved_[0];
    OutputMaxLines = saved_[1];
    TrendSettingWord2 = savedWords_[0];
    OutputDelimiterIsTab = savedWords_[1];
    OutputToClipboard = savedWords_[2];
    ClockTimeDisplay = savedWords_[3];
    TrendItem = savedItems_;
    res::SetLanguage(res::Language::English);
    sys::ResetThreadLocaleForTesting();
    std::filesystem::remove_all(dir_);
    testhooks::Reset();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void ExpectGolden(const std::string& name, const std::string& bytes) {
    const std::string golden = std::string(std::getenv("QLM_TEST_DATA")) + "/trend_text/" + name;
    if (std::getenv("QLM_UPDATE_GOLDEN") != nullptr) std::ofstream(golden, std::ios::binary) << bytes;
    EXPECT_EQ(bytes, ReadAll(golden)) << name;
  }

  CQLM2_AnalyzerDoc doc_;
  std::filesystem::path dir_;
  std::array<std::int32_t, 2> saved_{};
  std::array<std::uint16_t, 4> savedWords_{};
  TrendItemTable savedItems_;
};

TEST_F(TrendTextTest, TableGoldenFiles) {
  ASSERT_EQ(WriteTrendTextTable(doc_, Path("comma.txt"), 0, 5, 1, nullptr), 1);
  ExpectGolden("comma_report.txt", ReadAll(Path("comma.txt")));

  // Tab in Japanese (the file in the Japanese code page), without the range lines.
  res::SetLanguage(res::Language::Japanese);
  sys::SetThreadLocale(1041);
  doc_.RecordInfo.subjectName = "被験者";
  OutputDelimiterIsTab = 1;
  ASSERT_EQ(WriteTrendTextTable(doc_, Path("tab.txt"), 5, 2, 0, nullptr), 1) << "reversed: swapped";
  ExpectGolden("tab_ja.txt", ReadAll(Path("tab.txt")));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << "the caller tells the completion";
}

TEST_F(TrendTextTest, TableCellsAndSections) {
  // start = end: one row in every section; the discarded stage carries "*".
  ASSERT_EQ(WriteTrendTextTable(doc_, Path("t.txt"), 2, 2, 0, nullptr), 1);
  std::vector<std::string> rows;
  for (const std::string& line : Lines(ReadAll(Path("t.txt"))))
    if (line.find(",2,S1*,") != std::string::npos) rows.push_back(line);
  ASSERT_EQ(rows.size(), 5U) << "table, amplitudes, intervals, rates, position samples";
  EXPECT_EQ(rows[0], "01.00:00:08,2,S1*,Left,1.250000,");
  EXPECT_EQ(rows[1], "01.00:00:08,2,S1*,1.250000,");
  EXPECT_EQ(rows[2], "01.00:00:08,2,S1*,");
  EXPECT_EQ(rows[4], "01.00:00:08,2,S1*,Left,Left,Left,Left,Left,Right,Right,Right,");

  // Epoch 0: the first breath has no interval; entry 2 gives 2 s (30 per minute), entry 4
  // lies on the same point: 0, also as a rate. Epoch 1's position is none of the three: empty
  // cells keep the columns. The last epoch is included.
  ASSERT_EQ(WriteTrendTextTable(doc_, Path("t.txt"), 0, 5, 0, nullptr), 1);
  const std::string all = ReadAll(Path("t.txt"));
  EXPECT_NE(all.find(",0,W,2.000000,0.000000,\r\n"), std::string::npos);
  EXPECT_NE(all.find(",0,W,30.000000,0.000000,\r\n"), std::string::npos);
  EXPECT_NE(all.find(",1,R,,1.750000,\r\n"), std::string::npos);
  EXPECT_NE(all.find(",1,R,,,,,,,,,\r\n"), std::string::npos) << "eight empty position cells";
  EXPECT_NE(all.find(",5,S2,Supine,"), std::string::npos);
}

TEST_F(TrendTextTest, LineLimitContinuesInNewFiles) {
  OutputMaxLines = 25;
  testhooks::AnswerMessageBox(ui::IDOK);
  testhooks::AnswerFileDialog(ui::IDOK, {Path("second.txt")});
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_EQ(WriteTrendTextTable(doc_, Path("first.txt"), 0, 5, 1, nullptr), 1);
  const auto first = Lines(ReadAll(Path("first.txt")));
  // 20 header lines, two heading lines and epochs 0..2: closed after the line that reaches
  // the limit.
  ASSERT_EQ(first.size(), 25U);
  EXPECT_EQ(first[24].rfind("01.00:00:08,2,", 0), 0U) << first[24];
  const auto second = Lines(ReadAll(Path("second.txt")));
  ASSERT_EQ(second.size(), 25U);
  // The new file repeats the document header and the range lines, not the headings.
  EXPECT_EQ(second[0], first[0]);
  EXPECT_EQ(second[17].rfind("Start time,", 0), 0U) << second[17];
  EXPECT_EQ(second[18].rfind("End time,", 0), 0U);
  EXPECT_EQ(second[20].rfind("01.00:00:12,3,", 0), 0U) << second[20];
  EXPECT_EQ(second[24].rfind("Time,", 0), 0U) << "the next section's own heading";
  EXPECT_FALSE(std::filesystem::exists(Path("third.txt")));
}

TEST_F(TrendTextTest, ClipboardHasNoHeaderAndFailuresAreTold) {
  OutputToClipboard = 1;
  ASSERT_EQ(WriteTrendTextTable(doc_, "", 0, 5, 1, nullptr), 1);
  const std::string clip = ui::GetClipboardText();
  EXPECT_EQ(clip.rfind("Time,Epoch No.,Stage,", 0), 0U) << "no header, no range lines";
  EXPECT_EQ(clip.find('\r'), std::string::npos) << "LF line ends on the clipboard";

  // A file that cannot be made: told by name, nothing claimed.
  OutputToClipboard = 0;
  const std::string bad = Path("missing/folder/out.txt");
  EXPECT_EQ(WriteTrendTextTable(doc_, bad, 0, 5, 0, nullptr), 0);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1U);
  EXPECT_NE(testhooks::ShownMessageBoxes()[0].text.find(bad), std::string::npos);
  EXPECT_EQ(GetOutputKind(17, 0), 1);
  EXPECT_EQ(GetOutputKind(16, 4), 4);
  EXPECT_EQ(GetOutputKind(15, 3), 0);
}

class EcgRrTest : public TrendTextTest {
 protected:
  void SetUp() override {
    TrendTextTest::SetUp();
    doc_.Params.sleepDstrb.ecgChannel = 1;
    EcgRcgnzTable& peaks = doc_.RecognitionTables.ECGRcgnz();
    peaks.positions = {50, 400, 650, 799, 800, 1200};
    peaks.count = 6;
  }
};

TEST_F(EcgRrTest, PeaksOfTheRangeWithTheirIntervals) {
  ASSERT_EQ(WriteEcgRrText(doc_, Path("rr.txt"), 1, 1, nullptr), 1);
  ExpectGolden("ecg_rr.txt", ReadAll(Path("rr.txt")));
  const auto lines = Lines(ReadAll(Path("rr.txt")));
  ASSERT_EQ(lines.size(), 21U);
  EXPECT_EQ(lines[17], "No.,Time,sec.,msec.,");
  // Epoch 1 spans samples 400..799: the peak on its first sample is in, 800 is out.
  EXPECT_EQ(lines[18].substr(0, 2), "1,");
  EXPECT_NE(lines[18].find(",0.000,3500.000000"), std::string::npos) << lines[18];
  EXPECT_NE(lines[20].find(",3.990,1490.000000"), std::string::npos) << lines[20];
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1U);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Text output is complete.");
  // Peak 0 lies in epoch 0 but has no interval: never listed.
  ASSERT_EQ(WriteEcgRrText(doc_, Path("rr0.txt"), 0, 0, nullptr), 1);
  EXPECT_EQ(Lines(ReadAll(Path("rr0.txt"))).size(), 18U) << "header and heading only";

  // The clipboard gets the header too; the heading once over several portions.
  testhooks::Reset();
  OutputToClipboard = 1;
  OutputMaxLines = 19;
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_EQ(WriteEcgRrText(doc_, "", 0, 5, nullptr), 1);
  const auto portion = Lines(ui::GetClipboardText());
  ASSERT_EQ(portion.size(), 4U) << "the last portion: the peaks after the first one";
  EXPECT_EQ(portion[0].rfind("2,", 0), 0U);
}

TEST_F(EcgRrTest, NoEcgChannelIsRefused) {
  for (int channel : {-1, 1}) {
    testhooks::Reset();
    doc_.Params.sleepDstrb.ecgChannel = channel;
    doc_.ChInfo[1].rate = channel == 1 ? 0 : 100;
    EXPECT_EQ(WriteEcgRrText(doc_, Path("rr.txt"), 0, 5, nullptr), 0);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1U);
    EXPECT_NE(testhooks::ShownMessageBoxes()[0].text.find("ECG channel"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("rr.txt")));
  }
}

}  // namespace
