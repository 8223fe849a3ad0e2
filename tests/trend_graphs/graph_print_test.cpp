// The trend window printed to a PDF file with its graphs: titles, unit titles and the range
// labels right-aligned in the label column, read back with pdftotext.
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "app/frame/frame_globals.h"
#include "graph_fixture.h"

namespace {

struct Box {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// Every word of the page with its box (the last one of equal words).
std::multimap<std::string, Box> Words(const std::string& pdf, const std::string& html) {
  std::multimap<std::string, Box> words;
  const std::string cmd = "pdftotext -bbox '" + pdf + "' '" + html + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return words;
  std::ifstream in(html);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it) {
    const auto& m = *it;
    words.emplace(m[5].str(), Box{std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
  }
  return words;
}

TEST_F(GraphTest, PrintedGraphsCarryTitlesUnitsAndRightAlignedRanges) {
  DocumentLoaded = 1;
  Show(1, 10, 2);
  EmgGraph(0, 123.0, 4.0);
  Doc().Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  SetItem(1, 1, 0);  // Delta %Time, unit "%"
  SetTrendItemRange(0, 1, 0, 0, 1, 0, 0, 77.0, 5.0);
  const std::string pdf = folder_->Path() + "/graphs.pdf";
  testhooks::AnswerPrintDialog(ui::IDOK, pdf);
  ASSERT_TRUE(ui::ExecuteCommand(*Trend().Frame(), kCmdTrendPrint));
  EXPECT_TRUE(BoxTexts().empty()) << testing::PrintToString(BoxTexts());
  const auto words = Words(pdf, folder_->Path() + "/graphs.html");
  for (const char* w : {"EMG", "Integral", "Delta", "%Time", "%", "123.00", "4.00", "77.00", "5.00"})
    EXPECT_EQ(words.count(w), 1u) << w;
  if (words.count("123.00") == 1 && words.count("4.00") == 1) {
    const Box up = words.find("123.00")->second, low = words.find("4.00")->second;
    EXPECT_NEAR(up.xMax, low.xMax, 1.0) << "both end at the label column's right edge";
    EXPECT_LT(up.xMin, low.xMin);
    EXPECT_LT(up.yMin, low.yMin) << "upper above lower";
    const Box title = words.find("EMG")->second;
    EXPECT_LT(title.xMin, up.xMin) << "the title starts the label column";
  }
  EXPECT_EQ(PrintTarget, 0);
}

}  // namespace
