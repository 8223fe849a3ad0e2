// The generated human night against the default wave-form recognition: each stage of its
// hypnogram carries what the sleep-scoring rules and the default logic conditions look for
// (alpha in wake, conjugate rapid eye movements in REM only, two or more spindles in stage 2,
// 20 to 50 % of the epoch in delta waves in stage 3 and more than 50 % in stage 4).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/raw/wave_recognition.h"
#include "page_fixture.h"
#include "sample_recording.h"

namespace {

using namespace wavetest;

constexpr int kEpochSeconds = 30;
constexpr int kEeg = 0, kEogLeft = 2, kEogRight = 3, kChannels = 4;

// The values the default conditions of stage type 0 test, for one epoch.
struct Tested {
  double deltaPercent = 0;
  double alphaPercent = 0;
  int spindles = 0;
  int rems = 0;
};

// Whether an epoch's values meet its own stage's condition (and none that comes before it
// in the default list).
bool MeetsStage(int stage, const Tested& v) {
  const bool s4 = v.deltaPercent >= 50.0;
  const bool s3 = v.deltaPercent >= 20.0 && v.deltaPercent < 50.0;
  const bool s2 = v.spindles >= 2 && v.spindles < 30;
  const bool rem = v.rems >= 2 && v.rems <= 20;
  const bool wake = v.alphaPercent >= 25.0;
  switch (stage) {
    case samples::kS4: return s4;
    case samples::kS3: return s3;
    case samples::kS2: return !s4 && !s3 && s2;
    case samples::kRem: return !s4 && !s3 && !s2 && rem;
    case samples::kWake: return !s4 && !s3 && !s2 && !rem && wake;
    case samples::kS1: return !s4 && !s3 && !s2 && !rem && !wake;
    default: return false;
  }
}

TEST(SampleNightStages, EveryStageCarriesWhatItsConditionTests) {
  samples::Options o;
  o.kind = samples::Kind::Human;
  o.hours = 2.5;  // the first cycle, deep sleep included, and the start of the second
  o.rateHz = 256;
  o.seed = 11;
  const samples::Plan plan = samples::MakePlan(o);
  ASSERT_EQ(plan.epochSeconds, kEpochSeconds);
  const auto total = static_cast<std::size_t>(plan.channels.size());
  const int rate = plan.options.rateHz;
  const std::size_t perEpoch = static_cast<std::size_t>(rate) * kEpochSeconds;

  Page page(kEpochSeconds, kEpochSeconds, static_cast<int>(plan.stages.size()));
  SetDefaultWaveFormRecognitionParam(0, &page.param, kChannels);
  for (auto& band : page.param.bands) band.channel = kEeg;
  page.param.eogLeft.channel = kEogLeft;
  page.param.eogRight.channel = kEogRight;
  page.ctx.channelCount = kChannels;
  page.ctx.eyeGeometry = ScreenEyeGeometry();

  samples::SignalSource source(plan);
  std::vector<std::int16_t> frames(perEpoch * total);
  std::array<std::vector<float>, kChannels> x;
  for (auto& c : x) c.resize(perEpoch);
  std::array<int, 7> met{}, count{};
  std::array<std::string, 7> misses;
  RawPageRecognition rec;
  const double percent = 100.0 / (kEpochSeconds * 1000.0);
  for (std::size_t e = 0; e < plan.stages.size(); ++e) {
    source.Next(perEpoch, frames.data());
    for (int c = 0; c < kChannels; ++c) {
      const samples::ChannelInfo& info = plan.channels[std::size_t(c)];
      const double step = (info.topPhysical - info.bottomPhysical) / 65535.0;
      for (std::size_t i = 0; i < perEpoch; ++i)
        x[std::size_t(c)][i] =
            static_cast<float>(info.bottomPhysical + (frames[i * total + std::size_t(c)] + 32768.0) * step);
    }
    std::vector<WaveChannelPage> row;
    for (int c = 0; c < kChannels; ++c) row.push_back(Channel(x[std::size_t(c)], rate));
    page.frame[0] = LyrEpochRec{};
    page.ctx.pageStartSecond = static_cast<long long>(e) * kEpochSeconds;
    rec.RecognizeRow(page.ctx, row);
    const LyrEpochRec& r = page.frame[0];
    Tested v;
    v.deltaPercent = r.wave[WaveFormRecognitionParam::kDelta].durationMs * percent;
    v.alphaPercent = r.wave[WaveFormRecognitionParam::kAlpha].durationMs * percent;
    v.spindles = r.wave[WaveFormRecognitionParam::kSpindle].count;
    v.rems = r.remsBoth;
    const int stage = plan.stages[e];
    ++count[std::size_t(stage)];
    if (MeetsStage(stage, v)) {
      ++met[std::size_t(stage)];
    } else if (misses[std::size_t(stage)].size() < 400) {
      misses[std::size_t(stage)] += " [epoch " + std::to_string(e) + ": delta " + std::to_string(v.deltaPercent) +
                                    " %, alpha " + std::to_string(v.alphaPercent) + " %, spindles " +
                                    std::to_string(v.spindles) + ", REMs " + std::to_string(v.rems) + "]";
    }
  }
  for (int stage = samples::kWake; stage <= samples::kS4; ++stage) {
    const auto s = std::size_t(stage);
    ASSERT_GT(count[s], 0) << "stage code " << stage << " not in the night";
    EXPECT_GE(met[s], count[s] * 8 / 10) << "stage code " << stage << ": " << met[s] << " of " << count[s]
                                         << " epochs meet the condition;" << misses[s];
  }
}

}  // namespace
