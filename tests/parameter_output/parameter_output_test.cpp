// The parameter output: the delimited text (tab and comma) and the printed page against golden
// files, their fixed columns, the printing itself on a preview job, and the dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_parameter_output.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

namespace {

sys::LocalTime FixedNow() { return {2026, 12, 11, 5, 7, 8, 9, 0}; }

std::vector<std::string> SplitLines(const std::string& s) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t nl = s.find('\n'); nl != std::string::npos; nl = s.find('\n', from)) {
    lines.push_back(s.substr(from, nl - from));
    from = nl + 1;
  }
  if (from < s.size()) lines.push_back(s.substr(from));
  return lines;
}

class ParameterOutput : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = {EpochSeconds, OutputDelimiterIsTab, ClockTimeDisplay};
    testhooks::Reset();
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("paramout_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
    EpochSeconds = 30;
    ClockTimeDisplay = 0;
    OutputDelimiterIsTab = 1;
    LyrDlgParameterOutput::Now = &FixedNow;
    AnalysisParamBlocks& p = doc_.Params;
    SetDefaultStageTypeParam(&p.stageType);
    p.stageType.stageType = 0;
    SetDefaultLogicParam(&p.logic);
    SetDefaultLogicOption(&p.logicOption);
    SetDefaultWaveFormRecognitionParam(0, &p.waveForm, 3);
    SetDefaultMarkTypeParam(0, &p.markType, 3);
    doc_.RecordSeconds = 25 * 3600;  // 25 h: the duration wraps to 01:00:00
    LyrRecordInfo& r = doc_.RecordInfo;
    r.channelCount = 3;
    r.path = "/data/night.fyd";
    r.subjectName = "Hanako";
    r.gender = 2;  // not given: no "Gender" line
    r.memo = "second night";
    r.freeComments[2] = {"Ward", "East"};
    const char* names[] = {"C3-A2", "EOG-R", "Chin"};
    for (int c = 0; c < 3; ++c) {
      doc_.ChInfo[c].name = names[c];
      doc_.ChInfo[c].filterMode = 4;
    }
    doc_.ChInfo[0].filterMode = 2;
    doc_.ChInfo[0].cut1Hz = 0.5;
    doc_.ChInfo[0].cut2Hz = 35.0;
    doc_.ChInfo[0].notch = 1;
    doc_.ChInfo[0].lineFrequencyHz = 50.0;
    doc_.ChInfo[1].smoothingCount = 5;
    doc_.ChInfo[2].baseLine = 1;
    doc_.ChInfo[2].filterMode = 1;
    doc_.ChInfo[2].cut1Hz = 10.0;
    auto& bands = p.waveForm.bands;
    bands[WaveFormRecognitionParam::kDelta].channel = 0;
    bands[WaveFormRecognitionParam::kSpindle].channel = 0;
    bands[WaveFormRecognitionParam::kSpindle].emgCancel = 1;
    p.waveForm.kComplex.channel = 0;
    p.waveForm.eogRight.channel = 1;
    p.waveForm.emgChannel = 2;
    p.logicOption.lastStageMode = 2;
    MarkTypeParam& m = p.markType;
    m.triggerCount = 2;
    m.items[0].triggerDetect = 1;
    m.items[0].name = "Lights";
    m.items[0].triggerChannel = 2;
    m.items[0].triggerLevel = 1.5f;
    m.items[0].invalidTimeS = 2.0f;
    m.items[3].triggerDetect = 1;
    m.items[3].name = "Button";
    m.items[3].triggerChannel = -1;
    m.items[3].direction = 1;
  }
  void TearDown() override {
    EpochSeconds = std::get<0>(saved_);
    OutputDelimiterIsTab = std::get<1>(saved_);
    ClockTimeDisplay = std::get<2>(saved_);
    LyrDlgParameterOutput::Now = &sys::GetLocalTime;
    LyrParameterOutputDummyView::OpenJob = [](const draw::PageSetup& setup, draw::PrintStatus* status) {
      return draw::PrintJob::OpenPrinter({}, setup, status);
    };
    testhooks::Reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  void ExpectGolden(const std::vector<std::string>& lines, const std::string& name) {
    const char* data = std::getenv("QLM_TEST_DATA");
    ASSERT_NE(data, nullptr);
    const std::string path = std::string(data) + "/../parameter_output/golden/" + name;
    if (std::getenv("QLM_UPDATE_GOLDEN") != nullptr) {
      std::ofstream out(path, std::ios::binary);
      out << "# Parameter output of the settings in parameter_output_test.cpp (" << name
          << "), written by the program and checked by hand against the output's rules.\n";
      for (const std::string& l : lines) out << l << "\n";
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::vector<std::string> expected;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) expected.push_back(line);
    ASSERT_EQ(lines.size(), expected.size()) << name;
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << name << " line " << i + 1;
  }

  CQLM2_AnalyzerDoc doc_;
  std::filesystem::path dir_;
  std::tuple<std::int32_t, std::uint16_t, std::uint16_t> saved_;
};

TEST_F(ParameterOutput, GoldenDelimitedAndPrintedTexts) {
  ExpectGolden(SplitLines(paramout::DelimitedText(doc_)), "delimited_tab.txt");
  OutputDelimiterIsTab = 0;
  ExpectGolden(SplitLines(paramout::DelimitedText(doc_)), "delimited_comma.txt");
  ExpectGolden(paramout::PrintLines(doc_, FixedNow()), "print.txt");
}

TEST_F(ParameterOutput, PrintedPageKeepsItsColumnsAndLeavesOutWhatIsNotGiven) {
  const std::vector<std::string> l = paramout::PrintLines(doc_, FixedNow());
  ASSERT_FALSE(l.empty());
  EXPECT_EQ(l[0].substr(0, 22), std::string(15, ' ') + "Morvane");
  EXPECT_EQ(l[0].substr(22 + 71), "Printed day 12/11/2026 07:08");
  for (const std::string& line : l) {
    EXPECT_NE(line.rfind("Gender", 0), 0u) << "sex 2 has no gender line";
    EXPECT_NE(line.rfind("Age", 0), 0u) << "0 years 0 months has no age line";
  }
  auto row = [&](const std::string& head) {
    for (const std::string& line : l)
      if (line.rfind(head, 0) == 0) return line;
    return std::string();
  };
  const std::string eeg = row("C3-A2 ");
  ASSERT_EQ(eeg.size(), 128u);
  EXPECT_EQ(eeg.substr(10, 3), "Off");
  EXPECT_EQ(eeg.substr(23, 3), "Off");
  EXPECT_EQ(eeg.substr(34, 15), "BPF: 0.50-35.00");
  EXPECT_EQ(eeg.substr(49, 11), " Notch:50Hz") << "after the band, not over its last digit";
  EXPECT_EQ(row("EOG-R ").substr(23, 6), "On:  5");
  EXPECT_EQ(row("Chin ").substr(10, 2), "On");
  EXPECT_EQ(row("Chin ").substr(34, 9), "HPF:10.00");
  EXPECT_EQ(row("Chin ").substr(48, 3), "Off");
  const std::string lights = row("Lights");
  EXPECT_EQ(lights.substr(16, 4), "Chin");
  EXPECT_EQ(lights.substr(26, 8), "Up->Down");
  EXPECT_EQ(lights.substr(36, 6), "  1.50");
  EXPECT_EQ(lights.substr(54, 6), "  2.00");
  const std::string button = row("Button");
  EXPECT_EQ(button.substr(16, 4), "None");
  EXPECT_EQ(button.substr(33, 1) + button.substr(41, 1) + button.substr(59, 1), "---");
  // The default logic of stage type 0: seven conditions, the seventh its number and stage only.
  EXPECT_EQ(row(" 7  "), " 7  1     ");
  EXPECT_EQ(row(" 8  "), "");
  EXPECT_EQ(row("Duration time"), "Duration time :01:00:00");
}

TEST_F(ParameterOutput, DelimitedLogicEndsWithTheDefaultCondition) {
  const std::vector<std::string> l = SplitLines(paramout::DelimitedText(doc_));
  int numbered = 0;
  std::string last;
  for (const std::string& line : l)
    if (!line.empty() && line[0] >= '1' && line[0] <= '9' && line.find('\t') == 1) {
      ++numbered;
      last = line;
    }
  EXPECT_EQ(numbered, 7);
  EXPECT_EQ(last, "7\t1");
}

TEST_F(ParameterOutput, PrintsOnThePreviewPageMovedInWithoutADialog) {
  int jobs = 0;
  LyrParameterOutputDummyView::OpenJob = [&jobs](const draw::PageSetup& setup, draw::PrintStatus* status) {
    ++jobs;
    if (status != nullptr) *status = draw::PrintStatus::Ok;
    return draw::PrintJob::OpenPreview(setup, 100);
  };
  LyrDlgParameterOutput dlg(&doc_);
  dlg.m_Destination = 3;
  EXPECT_EQ(dlg.OutputParameter(), 1);
  EXPECT_TRUE(testhooks::ShownDialogs().empty()) << "no print dialog";
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << "printing shows no message";
  EXPECT_EQ(jobs, 1);

  // The same page printed onto a preview job of our own: nothing above +100 or left of +150.
  draw::PageSetup setup;
  std::unique_ptr<draw::PrintJob> job = draw::PrintJob::OpenPreview(setup, 100);
  ASSERT_EQ(job->StartPage(), draw::PrintStatus::Ok);
  LyrParameterOutputDummyView view(paramout::PrintLines(doc_, FixedNow()));
  const draw::Rect rect = job->PageRect();
  view.OnPrint(job->GetDc(), rect);
  ASSERT_EQ(job->EndPage(), draw::PrintStatus::Ok);
  ASSERT_EQ(job->EndDoc(), draw::PrintStatus::Ok);
  const draw::Image* image = job->PreviewPage(0);
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(image->SavePng(Path("page.png")));
  EXPECT_GT(std::filesystem::file_size(Path("page.png")), 0u);
  // Device units of 600 dpi become preview pixels of 100 dpi: 150 -> 25, 100 -> 16.
  const double scale = 100.0 / setup.dpi;
  const int left = static_cast<int>(150 * scale), top = static_cast<int>(100 * scale);
  bool inkOutside = false, inkInside = false;
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x) {
      const bool ink = (image->GetPixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
      if (!ink) continue;
      if (x < left - 1 || y < top - 1) inkOutside = true;
      else inkInside = true;
    }
  EXPECT_FALSE(inkOutside);
  EXPECT_TRUE(inkInside);
}

TEST_F(ParameterOutput, NoPrinterIsTold) {
  LyrParameterOutputDummyView::OpenJob = [](const draw::PageSetup&, draw::PrintStatus* status) {
    if (status != nullptr) *status = draw::PrintStatus::NoPrinter;
    return std::unique_ptr<draw::PrintJob>();
  };
  LyrDlgParameterOutput dlg(&doc_);
  dlg.m_Destination = 3;
  EXPECT_EQ(dlg.OutputParameter(), 1);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "No printer is available.\nThe parameters were not printed.");
}

TEST_F(ParameterOutput, DialogWritesTheFileAfterAskingForItsPath) {
  LyrDlgParameterOutput dlg(&doc_);
  ASSERT_TRUE(dlg.CreateModeless(nullptr));
  EXPECT_EQ(dlg.IsDlgButtonChecked(LyrDlgParameterOutput::kFile), 1);
  EXPECT_EQ(dlg.IsDlgButtonChecked(LyrDlgParameterOutput::kTab), 1);
  // No path: the message, then the path dialog, which chooses one; nothing written yet.
  const std::string path = Path("params.txt");
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(dlg.GetDlgItemText(LyrDlgParameterOutput::kPathText), "params.txt");
  // The delimiter radio sets the program-wide delimiter.
  ASSERT_TRUE(dlg.ClickButton(LyrDlgParameterOutput::kComma));
  EXPECT_EQ(OutputDelimiterIsTab, 0);
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "The file is not selected.");
  EXPECT_EQ(testhooks::ShownMessageBoxes()[1].text, "Text output is complete.");
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(bytes.find("\r\nRecord times\r\nStart time,"), std::string::npos);
  EXPECT_EQ(bytes.find("\n\n"), std::string::npos) << "every line feed is stored as CR LF";
  // "Print" disables the path.
  ASSERT_TRUE(dlg.ClickButton(LyrDlgParameterOutput::kPrint));
  EXPECT_FALSE(dlg.Item(LyrDlgParameterOutput::kPath).IsEnabled());
  dlg.DestroyWindow();
}

}  // namespace
