// Fuzz target: any bytes, of any length, as the settings file. Both readers must take a file
// of a known layout or refuse it, and never read past its end; the whole-file check decides
// before either runs.
#include <array>
#include <cstdint>
#include <span>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/frame/display_fonts.h"
#include "app/frame/program_settings.h"
#include "app/frame/resume_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  ResumeFile::IsWhole(file);
  SetDefaultSettings();
  InitScreenItemFonts();
  ResumeFile::ReadGlobalFrom(file);
  AnalysisParamBlocks blocks;
  SetDefaultAllBlocks(&blocks, 1);
  std::array<LyrChInfo, 32> channels;
  ResumeFile::ReadDocumentFrom(file, blocks, channels);
  return 0;
}
