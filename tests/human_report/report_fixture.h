#pragma once
// A small scored night for the human report, its event tables filled by hand, and the report
// read back from its file (CR LF checked and taken off, the code page decoded).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_report.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/testing/ui_testing.h"

namespace reportfix {

inline sys::LocalTime FixedNow() { return {2026, 12, 11, 5, 7, 8, 9, 0}; }

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReportTest : public testing::Test {
 protected:
  static constexpr int kSlotsPerEpoch = 120;  // 30 s of 0.25-s respiration points

  void SetUp() override {
    saved_ = {EpochSeconds, static_cast<std::int32_t>(OutputDelimiterIsTab), static_cast<std::int32_t>(OutputToClipboard),
              static_cast<std::int32_t>(ClockTimeDisplay)};
    savedSettings_ = HumanReportSettings;
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("report_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
    testhooks::Reset();
    EpochSeconds = 30;
    ClockTimeDisplay = 0;
    OutputToClipboard = 0;
    OutputDelimiterIsTab = 1;
    HumanReportSettings = HumanReportSettingsRecord{};
    HumanReportSettings.words.fill(1);
    LyrDlgReport::Now = &FixedNow;
    SetDefaultStageTypeParam(&doc_.Params.stageType);
    doc_.Params.stageType.stageType = 0;
    report_.m_OutputPath = Path("report.txt");
  }
  void TearDown() override {
    EpochSeconds = saved_[0];
    OutputDelimiterIsTab = static_cast<std::uint16_t>(saved_[1]);
    OutputToClipboard = static_cast<std::uint16_t>(saved_[2]);
    ClockTimeDisplay = static_cast<std::uint16_t>(saved_[3]);
    HumanReportSettings = savedSettings_;
    LyrDlgReport::Now = &sys::GetLocalTime;
    res::SetLanguage(res::Language::English);
    unsetenv("LC_ALL");
    sys::ResetThreadLocaleForTesting();
    testhooks::Reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // A night of the given stage codes (one per 30-s epoch).
  void Stages(const std::vector<int>& codes) {
    const int n = static_cast<int>(codes.size());
    doc_.RecordSeconds = n * 30;
    ASSERT_EQ(doc_.EpochTables.SetNew(n, 30, 1, 1, 1), 1);
    for (int e = 0; e < n; ++e) doc_.EpochTables.SetStage(e, static_cast<std::uint8_t>(codes[static_cast<std::size_t>(e)]));
  }
  // Respiration points [from, to) of the night get an event code.
  void Resp(long long from, long long to, std::uint8_t code) {
    auto& t = doc_.RecognitionTables.RespRcgnz();
    if (t.empty()) t.assign(static_cast<std::size_t>(doc_.RecordSeconds) * 4, 0);
    for (long long i = from; i < to; ++i) t[static_cast<std::size_t>(i)] = code;
  }
  // Markers set as a user would after the defaults.
  void SetMarkers(int bi, int so, int lsp, int bo) {
    BedInEpoch = bi;
    SleepOnsetEpoch = so;
    LastSleepPageEpoch = lsp;
    BedOutEpoch = bo;
  }
  // The report's lines as written, after checking every line ends CR LF.
  std::vector<std::string> Run() {
    report_.m_pDoc = &doc_;
    EXPECT_EQ(report_.OutputReport(), 1);
    return Lines(report_.m_OutputPath);
  }
  static std::vector<std::string> Lines(const std::string& path) {
    const std::string bytes = Slurp(path);
    const std::string s = sys::ToUtf8(bytes, sys::AnsiCodePage());
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t nl = s.find('\n'); nl != std::string::npos; nl = s.find('\n', from)) {
      const bool cr = nl > from && s[nl - 1] == '\r';
      EXPECT_TRUE(cr) << "line " << lines.size() + 1 << " ends without CR";
      lines.push_back(s.substr(from, nl - from - (cr ? 1 : 0)));
      from = nl + 1;
    }
    EXPECT_EQ(from, s.size()) << "text after the last line end";
    return lines;
  }
  // The line that begins with the text (empty when none).
  static std::string LineStarting(const std::vector<std::string>& lines, const std::string& head, int skip = 0) {
    for (const std::string& l : lines)
      if (l.rfind(head, 0) == 0 && skip-- == 0) return l;
    return {};
  }

  CQLM2_AnalyzerDoc doc_;
  LyrDlgReport report_{nullptr};
  std::filesystem::path dir_;
  std::array<std::int32_t, 4> saved_{};
  HumanReportSettingsRecord savedSettings_;
};

}  // namespace reportfix
