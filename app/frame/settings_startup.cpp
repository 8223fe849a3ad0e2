#include "app/frame/settings_startup.h"

#include <algorithm>

#include "app/frame/display_fonts.h"
#include "app/frame/program_settings.h"
#include "app/frame/resume_file.h"
#include "platform/res/resource_store.h"
#include <filesystem>
#include "platform/system/key_state.h"

namespace {
bool CtrlHeld() { return sys::IsKeyDown(sys::VirtualKey::Control); }
}  // namespace

int LoadGlobalSettings() {
  if (!CtrlHeld() && ResumeFile::ReadGlobal(ResumeFile::Path())) return 1;
  InitScreenItemFonts();
  SetDefaultSettings();
  return 0;
}

int LoadDocumentSettings(AnalysisParamBlocks& blocks, std::span<LyrChInfo> channels) {
  int read = 0;
  if (!CtrlHeld()) read = ResumeFile::ReadDocument(ResumeFile::Path(), blocks, channels);
  if (!read) {
    SetDefaultAllBlocks(&blocks, EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0);
    for (auto& ch : channels) ch.SetDefault();
  }
  if (EpochSeconds == 8 && blocks.logicOption.lastStageMode == 1) blocks.logicOption.lastStageMode = 0;
  return read;
}

void ApplyAnimalSetting(AnalysisParamBlocks& blocks) {
  blocks.stageType.stageType = 3;
  EpochSeconds = 10;
  PageSeconds = 40;
  const std::array<FrequencyBand, 3> bands = {FrequencyBand{res::LoadString(2054), 0.75, 4.0},
                                              FrequencyBand{res::LoadString(2055), 6.0, 10.0},
                                              FrequencyBand{res::LoadString(2053), 12.0, 14.0}};
  blocks.fftBand.bandCount = 3;
  blocks.fftPage.bandCount = 3;
  std::copy(bands.begin(), bands.end(), blocks.fftBand.bands.begin());
  std::copy(bands.begin(), bands.end(), blocks.fftPage.bands.begin());
  auto setWave = [&](int which, std::uint32_t nameId, double fromHz, double toHz) {
    BandWaveRecord& w = blocks.waveForm.bands[which];
    w.name = res::LoadString(nameId);
    w.frequencyMinHz = fromHz;
    w.frequencyMaxHz = toHz;
  };
  setWave(WaveFormRecognitionParam::kDelta, 2054, 0.65, 4.0);
  setWave(WaveFormRecognitionParam::kTheta, 2055, 6.0, 10.0);
  setWave(WaveFormRecognitionParam::kAlpha, 2053, 12.0, 14.0);
  SetTrendTimeScale(TrendTimeMinutes);
}

bool ApplyAnimalSettingIfFirstRun(bool animalOnlyMode, AnalysisParamBlocks& blocks,
                                  std::span<const LyrChInfo> channels) {
  if (!animalOnlyMode || std::filesystem::exists(ResumeFile::Path())) return false;
  ApplyAnimalSetting(blocks);
  ResumeFile::Write(ResumeFile::Path(), blocks, channels);
  return true;
}

void AdjustAnalysisSettings(AnalysisParamBlocks& blocks) {
  const FFTBandParam& band = blocks.fftBand;
  FFTPageParam& page = blocks.fftPage;
  const bool anyChannel = std::any_of(band.channelSwitch.begin(), band.channelSwitch.end(),
                                      [](std::uint16_t s) { return s != 0; });
  if (!anyChannel || band.bandCount == 0) return;
  page.epochAveraging = page.dividedAveraging = band.averagingCount;
  page.epochFftPoints = page.dividedFftPoints = band.fftPoints;
  page.windowType = band.windowType;
  page.unit = band.unit;
  page.bandCount = band.bandCount;
  page.bands = band.bands;
  if (band.contentRange == 1) {
    page.contentFromHz = band.optionalFromHz;
    page.contentToHz = band.optionalToHz;
  } else {
    const int n = std::min<int>(band.bandCount, static_cast<int>(band.bands.size()));
    double lo = band.bands[0].fromHz, hi = band.bands[0].toHz;
    for (int i = 1; i < n; ++i) {
      lo = std::min(lo, band.bands[i].fromHz);
      hi = std::max(hi, band.bands[i].toHz);
    }
    page.contentFromHz = static_cast<float>(lo);
    page.contentToHz = static_cast<float>(hi);
  }
}
