// Settings of the program for the generated recordings.
#include "sample_settings.h"

#include <array>
#include <filesystem>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/frame/resume_file.h"
#include "app/frame/settings_startup.h"

namespace samples {
namespace {

// Channels of the human montage (sample_plan.cpp).
enum HumanChannel {
  kC3A2 = 0, kEogLeft = 2, kEogRight = 3, kChinEmg = 4, kEcg = 5, kAirflow = 6, kThorax = 7,
  kAbdomen = 8, kSpO2 = 9, kPosition = 10, kLegEmg = 11
};
// Display type words: [1] the baseline's place in the band (1 bottom), [2] value labels.
constexpr int kBaselineWord = 1;
constexpr int kValueLabelWord = 2;
constexpr std::uint16_t kBaselineBottom = 1;

}  // namespace

void ApplySampleSettings(Kind kind, AnalysisParamBlocks& blocks, LyrChInfo* channels, int channelCount) {
  InitScreenItemFonts();
  SetDefaultSettings();
  if (kind == Kind::Animal) {
    SetDefaultAllBlocks(&blocks, 4);
    ApplyAnimalSetting(blocks);
    WaveFormRecognitionParam& w = blocks.waveForm;
    for (auto& band : w.bands) band.channel = 0;
    w.emgChannel = 2;
  } else {
    EpochSeconds = 30;
    PageSeconds = 30;
    SetDefaultAllBlocks(&blocks, PageSeconds / EpochSeconds);
    blocks.stageType.stageType = 0;
    WaveFormRecognitionParam& w = blocks.waveForm;
    for (auto& band : w.bands) band.channel = kC3A2;
    w.kComplex.channel = kC3A2;
    w.eogLeft.channel = kEogLeft;
    w.eogRight.channel = kEogRight;
    w.emgChannel = kChinEmg;
    SleepDstrbParam& s = blocks.sleepDstrb;
    s.ecgChannel = kEcg;
    s.airFlow.channel = kAirflow;
    s.chest.channel = kThorax;
    s.abdomen.channel = kAbdomen;
    s.spo2Channel = kSpO2;
    s.positionChannel = kPosition;
    s.legLeft.channel = kLegEmg;
  }
  for (int c = 0; c < channelCount; ++c) channels[c].SetDefault();
  if (kind == Kind::Human) {
    // Saturation and position only rise from zero: drawn from their band's bottom, with values.
    for (int c : {kSpO2, kPosition}) {
      if (c >= channelCount) continue;
      channels[c].displayTypeWords[kBaselineWord] = kBaselineBottom;
      channels[c].displayTypeWords[kValueLabelWord] = 1;
    }
  }
}

bool WriteSampleSettings(Kind kind, const std::string& path, std::string* error) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return true;
  AnalysisParamBlocks blocks;
  std::array<LyrChInfo, ResumeFile::kChannelCount> channels;
  ApplySampleSettings(kind, blocks, channels.data(), static_cast<int>(channels.size()));
  std::string failure;
  if (ResumeFile::Write(path, blocks, channels, &failure) == 0) {
    if (error) *error = "cannot write the settings file " + path + (failure.empty() ? "" : ": " + failure);
    return false;
  }
  return true;
}

}  // namespace samples
