// Writes the seed corpus of fuzz_settings: a whole settings file of the current version and
// two cut copies, into the folder named on the command line.
#include <array>
#include <cstdio>
#include <string>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/frame/display_fonts.h"
#include "app/frame/program_settings.h"
#include "app/frame/resume_file.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  SetDefaultSettings();
  InitScreenItemFonts();
  AnalysisParamBlocks blocks;
  SetDefaultAllBlocks(&blocks, 1);
  std::array<LyrChInfo, 32> channels;
  for (auto& ch : channels) ch.SetDefault();
  const std::vector<std::uint8_t> image = ResumeFile::BuildImage(blocks, channels);
  const std::size_t sizes[] = {image.size(), 11056, 100};
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    const std::string path = std::string(argv[1]) + "/settings" + std::to_string(i);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 1;
    std::fwrite(image.data(), 1, std::min(sizes[i], image.size()), f);
    std::fclose(f);
  }
  return 0;
}
