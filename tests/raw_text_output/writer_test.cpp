// The raw data text output: the table against golden files in both delimiters, the line
// limit and its continuation files, and every way the output can stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/frame/program_settings.h"
#include "app/raw/raw_text_output.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "tests/page_buffers/page_fixture.h"

namespace {

constexpr std::uint32_t kCannotMake = 63473;
constexpr std::uint32_t kComplete = 63475;
constexpr std::uint32_t kReadFailed = 63478;
constexpr std::uint32_t kMixedRates = 63479;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines of a CR LF file; an LF without CR shows as a line ending in "<LF>".
std::vector<std::string> Lines(const std::string& path) {
  const std::string s = Slurp(path);
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t nl = s.find('\n'); nl != std::string::npos; nl = s.find('\n', from)) {
    const bool cr = nl > from && s[nl - 1] == '\r';
    lines.push_back(s.substr(from, nl - from - (cr ? 1 : 0)) + (cr ? "" : "<LF>"));
    from = nl + 1;
  }
  if (from < s.size()) lines.push_back(s.substr(from) + "<no end>");
  return lines;
}

class RawTextOutput : public pagefix::PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    saved_ = {OutputDelimiterIsTab, ClockTimeDisplay};
    savedLimit_ = OutputMaxLines;
    EpochSeconds = 2;
    PageSeconds = 2;
    // Three channels at 10 Hz, three epochs of 2 s; sample i of channel c is 100 c + i.
    rec_.channels = 3;
    rec_.rate = 10;
    rec_.samples = 60;
    rec_.sample = [](int c, long long i) { return 100.0 * c + static_cast<double>(i); };
    source_ = Path("night.fyd");
    ASSERT_TRUE(pagefix::WriteOwnRaw(source_, rec_));
    pagefix::Attach(doc_, source_, 0, rec_);
    const char* units[] = {"uV", "mV", "uV"};
    for (int c = 0; c < 3; ++c) doc_.ChInfo[c].unit = units[c];
    LyrRecordInfo& r = doc_.RecordInfo;
    r.subjectName = "Hanako";
    r.gender = 1;
    r.ageYears = 35;
    r.ageMonths = 7;
    r.memo = "first night";
    r.freeComments[0] = {"Ward", "East"};
    r.startDateTime = {2026, 12, 10, 23, 59, 59, 0};
    flags_ = {};
    flags_[0] = 1;
    flags_[2] = 1;
    OutputMaxLines = 0;
  }
  void TearDown() override {
    OutputDelimiterIsTab = saved_[0];
    ClockTimeDisplay = saved_[1];
    OutputMaxLines = savedLimit_;
    PageTest::TearDown();
  }
  int Run(const std::string& path, std::int32_t first, std::int32_t last) {
    return WriteRawTextOutput(doc_, path, flags_, first, last, nullptr);
  }
  static std::vector<std::string> Texts() {
    std::vector<std::string> t;
    for (const auto& b : testhooks::ShownMessageBoxes()) t.push_back(b.text);
    return t;
  }
  static std::string Text(std::uint32_t id) { return res::LoadString(id); }

  CQLM2_AnalyzerDoc doc_;
  pagefix::Recording rec_;
  std::string source_;
  std::array<std::uint16_t, 32> flags_{};
  std::array<std::uint16_t, 2> saved_{};
  std::int32_t savedLimit_ = 0;
};

TEST_F(RawTextOutput, TablesMatchGoldenFilesInBothDelimiters) {
  const std::string data = std::getenv("QLM_TEST_DATA");
  struct Case {
    const char* golden;
    std::uint16_t tab;
    std::uint16_t clock;
    std::uint16_t startKnown;
    std::int32_t first, last;
  };
  // Comma with elapsed labels over two epochs; tab with clock labels over one epoch across
  // midnight (F = L gives R x E lines); a clock mode without a start time falls back to
  // elapsed labels.
  for (const Case& c : {Case{"comma_elapsed.txt", 0, 0, 1, 1, 2}, Case{"tab_clock.txt", 1, 1, 1, 1, 1},
                        Case{"comma_elapsed.txt", 0, 1, 0, 2, 1}}) {
    testhooks::Reset();
    OutputDelimiterIsTab = c.tab;
    ClockTimeDisplay = c.clock;
    doc_.RecordInfo.startTimeValid = c.startKnown;
    const std::string out = Path(std::string("out_") + c.golden);
    EXPECT_EQ(Run(out, c.first, c.last), 1);
    EXPECT_EQ(Slurp(out), Slurp(data + "/raw_text_output/" + c.golden)) << c.golden;
    EXPECT_EQ(Texts(), std::vector<std::string>{Text(kComplete)});
  }
}

TEST_F(RawTextOutput, JapaneseTablesAreInTheirCodePage) {
  ASSERT_TRUE(sys::SetThreadLocale(1041));
  res::SetLanguage(res::Language::Japanese);
  doc_.ChInfo[0].unit = "ミリV";
  OutputDelimiterIsTab = 0;
  ClockTimeDisplay = 0;
  const bool ok = Run(Path("ja.txt"), 0, 0) == 1;
  const std::string bytes = Slurp(Path("ja.txt"));
  const std::string label = sys::FromUtf8(res::LoadString(2350), sys::CodePage::Cp932);
  res::SetLanguage(res::Language::English);
  sys::ResetThreadLocaleForTesting();
  EXPECT_TRUE(ok);
  EXPECT_EQ(bytes.rfind(label + ",night.fyd\r\n", 0), 0u);
  EXPECT_NE(bytes.find("\r\n\r\nTime," + sys::FromUtf8("ミリV", sys::CodePage::Cp932) + ",uV,\r\n"), std::string::npos);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 18 + 20);
}

TEST_F(RawTextOutput, LineLimitGoesOnInNewFilesWithHeaderButNoColumnLine) {
  OutputMaxLines = 30;
  ClockTimeDisplay = 0;
  OutputDelimiterIsTab = 0;
  const std::vector<std::string> files = {Path("a.txt"), Path("b.txt"), Path("c.txt"), Path("d.txt"), Path("e.txt")};
  for (std::size_t i = 1; i < files.size(); ++i) {
    testhooks::AnswerMessageBox(ui::IDOK);
    testhooks::AnswerFileDialog(ui::IDOK, {files[i]});
  }
  ASSERT_EQ(Run(files[0], 0, 2), 1);
  // 18 lines of header, empty line and column line, then 60 data lines in 30-line files.
  std::vector<std::string> data;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::vector<std::string> lines = Lines(files[i]);
    if (i + 1 < files.size()) {
      EXPECT_EQ(lines.size(), 30u) << files[i];
    }
    const std::size_t body = i == 0 ? 18 : 17;
    ASSERT_GE(lines.size(), body);
    EXPECT_EQ(lines[0], "File name,night.fyd");
    EXPECT_EQ(lines[16], "");
    if (i == 0) {
      EXPECT_EQ(lines[17], "Time,uV,uV,");
    }
    data.insert(data.end(), lines.begin() + static_cast<long>(body), lines.end());
  }
  ASSERT_EQ(data.size(), 60u);
  EXPECT_EQ(data.front(), "01.00:00:00.000,0.000000,200.000000,");
  EXPECT_EQ(data[12], "01.00:00:01.200,12.000000,212.000000,");
  EXPECT_EQ(data.back(), "01.00:00:05.900,59.000000,259.000000,");
  const std::vector<std::string> boxes = Texts();
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_EQ(boxes.back(), Text(kComplete));
  EXPECT_EQ(testhooks::UnansweredCount(), 1);  // only the completion message
}

TEST_F(RawTextOutput, CancelledContinuationKeepsWhatWasWritten) {
  OutputMaxLines = 30;
  for (bool atQuestion : {true, false}) {
    testhooks::Reset();
    const std::string out = Path(atQuestion ? "q.txt" : "d.txt");
    if (atQuestion) {
      testhooks::AnswerMessageBox(ui::IDCANCEL);
    } else {
      testhooks::AnswerMessageBox(ui::IDOK);
      testhooks::AnswerFileDialog(ui::IDCANCEL);
    }
    EXPECT_EQ(Run(out, 0, 2), 1);
    EXPECT_EQ(Lines(out).size(), 30u);
    EXPECT_EQ(Texts().back(), Text(kComplete));
  }
}

TEST_F(RawTextOutput, FailuresAreToldAndKeepWhatIsOnDisk) {
  // No channel chosen: nothing is written, the output is complete.
  flags_ = {};
  EXPECT_EQ(Run(Path("none.txt"), 0, 2), 1);
  EXPECT_FALSE(std::filesystem::exists(Path("none.txt")));
  EXPECT_EQ(Texts(), std::vector<std::string>{Text(kComplete)});
  flags_[0] = flags_[2] = 1;

  // Channels of different rates would not fit one line: refused.
  testhooks::Reset();
  doc_.ChInfo[2].rate = 20;
  EXPECT_EQ(Run(Path("mixed.txt"), 0, 2), 0);
  EXPECT_FALSE(std::filesystem::exists(Path("mixed.txt")));
  EXPECT_EQ(Texts(), std::vector<std::string>{Text(kMixedRates)});
  doc_.ChInfo[2].rate = 10;

  // A file that cannot be made.
  testhooks::Reset();
  EXPECT_EQ(Run(Path("missing/out.txt"), 0, 2), 0);
  EXPECT_EQ(Texts(), std::vector<std::string>{Text(kCannotMake)});

  // A continuation that cannot be made ends the output; the first file stays whole.
  testhooks::Reset();
  OutputMaxLines = 30;
  testhooks::AnswerMessageBox(ui::IDOK);
  testhooks::AnswerFileDialog(ui::IDOK, {Path("missing/next.txt")});
  EXPECT_EQ(Run(Path("first.txt"), 0, 2), 0);
  EXPECT_EQ(Lines(Path("first.txt")).size(), 30u);
  EXPECT_EQ(Texts().back(), Text(kCannotMake));
  OutputMaxLines = 0;

  // A read that fails: the lines before it stay, and the user is told, not congratulated.
  testhooks::Reset();
  { std::ofstream(Path("old.txt"), std::ios::binary) << "old"; }
  std::filesystem::remove(source_);
  EXPECT_EQ(Run(Path("old.txt"), 0, 2), 0);
  EXPECT_EQ(Lines(Path("old.txt")).size(), 18u);
  EXPECT_EQ(Texts(), std::vector<std::string>{Text(kReadFailed)});
}

}  // namespace
