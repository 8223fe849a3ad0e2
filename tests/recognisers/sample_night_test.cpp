// The respiratory recognition over the night that the sample-recording maker writes: its
// representative values made from the stored samples as the page pass makes them, then the
// recogniser over the whole night, against the apneas the maker put in.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"
#include "app/raw/page_sleep_dstrb_values.h"
#include "app/scoring/resp_event_recognition.h"
#include "tools/make_sample_recording/sample_recording.h"

namespace {

constexpr int kEpochS = 30;
constexpr int kPointsPerEpoch = kEpochS * 4;  // 0.25-s points

int ChannelNamed(const samples::Plan& plan, const std::string& name) {
  for (std::size_t c = 0; c < plan.channels.size(); ++c)
    if (plan.channels[c].name == name) return static_cast<int>(c);
  return -1;
}

struct SampleNight {
  samples::Plan plan;
  int rate = 0;
  int epochs = 0;
  std::vector<std::vector<float>> physical;  // airflow, thorax, abdomen

  explicit SampleNight(double hours, std::uint32_t seed) {
    samples::Options o;
    o.hours = hours;
    o.seed = seed;
    plan = samples::MakePlan(o);
    rate = plan.options.rateHz > 0 ? plan.options.rateHz : 256;
    epochs = static_cast<int>(plan.dataCount) / (rate * kEpochS);
    const int chans = static_cast<int>(plan.channels.size());
    const std::array<int, 3> wanted{ChannelNamed(plan, "Airflow"), ChannelNamed(plan, "Thorax"),
                                    ChannelNamed(plan, "Abdomen")};
    physical.assign(3, std::vector<float>(plan.dataCount));
    samples::SignalSource source(plan);
    std::vector<std::int16_t> frame(static_cast<std::size_t>(chans) * 4096);
    for (std::uint32_t at = 0; at < plan.dataCount;) {
      const std::size_t n = std::min<std::size_t>(4096, plan.dataCount - at);
      source.Next(n, frame.data());
      for (std::size_t k = 0; k < 3; ++k) {
        const auto& info = plan.channels[static_cast<std::size_t>(wanted[k])];
        const double scale = (info.topPhysical - info.bottomPhysical) / 65535.0;
        for (std::size_t i = 0; i < n; ++i) {
          const int v = frame[i * static_cast<std::size_t>(chans) + static_cast<std::size_t>(wanted[k])];
          physical[k][at + i] = static_cast<float>(info.bottomPhysical + (v + 32768) * scale);
        }
      }
      at += static_cast<std::uint32_t>(n);
    }
  }
};

struct EventRun {
  int first, last;
  std::uint8_t code;
};

std::vector<EventRun> EventRuns(const std::vector<std::uint8_t>& t) {
  std::vector<EventRun> runs;
  for (int i = 0; i < static_cast<int>(t.size()); ++i) {
    const std::uint8_t c = t[static_cast<std::size_t>(i)];
    if (c == 0) continue;
    if (!runs.empty() && runs.back().last == i - 1 && runs.back().code == c)
      runs.back().last = i;
    else
      runs.push_back({i, i, c});
  }
  return runs;
}

TEST(SampleNightRecognition, ApneasOfTheMakerAreFoundAsObstructiveAndNothingElse) {
  const SampleNight night(2.5, 5);
  ASSERT_GT(night.epochs, 200);

  SleepDstrbParam prm;
  SetDefaultSleepDstrbParam(0, &prm, 3);
  prm.airFlow.channel = 0;
  prm.chest.channel = 1;
  prm.abdomen.channel = 2;
  // Full scale set to the maker's breathing amplitude (about 400 uV peak to peak), as a
  // scorer sets it for the recording's gain.
  for (auto* r : {&prm.airFlow, &prm.chest, &prm.abdomen}) r->values[kRespFullScale] = 400.0;

  LyrEpochParameter epochs;
  ASSERT_EQ(epochs.SetNew(night.epochs, 0, 3, 0, 1), 1);
  epochs.AllocateRprsntTable();
  const std::array<int, 3> slots{kRprsntAirFlow, kRprsntRespC, kRprsntRespA};
  for (int slot : slots) epochs.AllocateRprsntSlot(slot, kEpochS);
  const std::size_t perEpoch = static_cast<std::size_t>(night.rate) * kEpochS;
  for (int e = 0; e < night.epochs; ++e) {
    epochs.SetStage(e, static_cast<std::uint8_t>(night.plan.stages[static_cast<std::size_t>(e)]));
    for (std::size_t k = 0; k < 3; ++k) {
      const std::span<const float> s(night.physical[k].data() + static_cast<std::size_t>(e) * perEpoch, perEpoch);
      ASSERT_EQ(FillRepresentativeTable(epochs, slots[k], e, s, night.rate, kEpochS), 1);
    }
  }
  SleepDstrbTables tables;
  SleepDstrbChannels ch;
  ch.airFlow = 0;
  ch.chest = 1;
  ch.abdomen = 2;
  const int points = night.epochs * kPointsPerEpoch;
  tables.AllocateRespRcgnz(ch, points);
  tables.AllocateAirFlow(ch, points);
  tables.AllocateRespC(ch, points);
  tables.AllocateRespA(ch, points);
  std::int32_t recognised = 0;
  LyrRecgnizeSleepDisturbanceResp(
      RespRecognitionSources{&prm, &epochs, &tables, kEpochS, night.epochs, &recognised, {}})
      .Recognize();
  EXPECT_EQ(recognised, 1);

  const auto runs = EventRuns(tables.RespRcgnz());
  std::vector<const samples::Event*> apneas;
  for (const auto& e : night.plan.events)
    if (e.type == "apnea" && e.onsetSeconds + e.durationSeconds < night.epochs * kEpochS) apneas.push_back(&e);
  ASSERT_GE(apneas.size(), 5u);
  // The amplitude envelope runs from breath to breath (about 4 s apart), so a run starts
  // and ends up to a breath inside the apnea, and the deeper apnea level gives a shorter run
  // than the hypopnea level. An apnea of 20 s or more is found as obstructive (effort goes
  // on, the belts out of phase) over all but 8 s of it; one of 14 s or more at least as a
  // hypopnea; shorter ones may fall under the 10-s minimum once trimmed.
  int obstructive = 0;
  for (const samples::Event* e : apneas) {
    const int first = static_cast<int>(e->onsetSeconds * 4);
    const int last = static_cast<int>((e->onsetSeconds + e->durationSeconds) * 4) - 1;
    int asApnea = 0, asAny = 0;
    for (const EventRun& r : runs) {
      const int overlap = std::max(0, std::min(r.last, last) - std::max(r.first, first) + 1);
      asAny += overlap;
      if (r.code == kRespObstructive) asApnea += overlap;
    }
    obstructive += asApnea > 0;
    if (e->durationSeconds >= 20.0) {
      EXPECT_GE(asApnea, last - first + 1 - 8 * 4) << "apnea at " << e->onsetSeconds << " s for " << e->durationSeconds;
    }
    if (e->durationSeconds >= 14.0) {
      EXPECT_GT(asAny, 0) << "apnea at " << e->onsetSeconds << " s for " << e->durationSeconds;
    }
  }
  EXPECT_GE(obstructive * 4, static_cast<int>(apneas.size()) * 3);
  // Nothing in clean breathing: every event found lies inside an apnea.
  for (const EventRun& r : runs) {
    bool near = false;
    for (const samples::Event* e : apneas)
      near = near || (r.first >= e->onsetSeconds * 4 && r.last <= (e->onsetSeconds + e->durationSeconds) * 4);
    EXPECT_TRUE(near) << "event " << int(r.code) << " at " << r.first / 4.0 << " s .. " << r.last / 4.0 << " s";
  }
}

}  // namespace
