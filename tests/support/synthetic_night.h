#pragma once
// A seeded synthetic night for the sleep-disturbance recognisers: breathing on air
// flow, chest and abdomen (one value per 0.25 s) with apneas and hypopneas at known
// times, and leg movements (one value per 0.1 s) at known times. NightTables puts it
// into the epoch tables and recognition tables the way the document holds them.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"

namespace synth {

constexpr double kPi = 3.14159265358979323846;

struct Event {
  double startS;
  double endS;
  std::uint8_t code;  // 1 obstructive, 2 mixed, 3 central apnea, 4 hypopnea
};

struct Night {
  int epochSeconds = 30;
  int epochCount = 0;
  std::vector<Event> resp;
  std::vector<Event> legs;  // code unused
  std::vector<float> airFlow, chest, abdomen;  // 0.25 s
  std::vector<float> legLeft, legRight;        // 0.1 s
};

// Breathing of 4-s period and about 80 units peak to peak. From 60 s on, every
// eventEveryS seconds an event of the cycle obstructive (30 s), mixed (30 s, effort
// back after 15 s), central (30 s), hypopnea (30 s, flow at 35 %); none when
// eventEveryS is not positive. Leg movements of
// 2 s on both legs every 25 s from 40 s on, in the middle of the night's second half.
inline Night MakeNight(int epochCount, unsigned seed, double eventEveryS = 150.0) {
  Night n;
  n.epochCount = epochCount;
  const double total = epochCount * 30.0;
  static const std::uint8_t kCycle[4] = {1, 2, 3, 4};
  int k = 0;
  if (eventEveryS > 0.0)
    for (double t = 60.0; t + 30.0 + 30.0 < total; t += eventEveryS, ++k) n.resp.push_back({t, t + 30.0, kCycle[k % 4]});
  for (double t = total / 2 + 40.0; t + 2.0 + 30.0 < total; t += 25.0) n.legs.push_back({t, t + 2.0, 0});

  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
  std::uniform_real_distribution<double> breathScale(0.9, 1.1);
  const std::size_t points = static_cast<std::size_t>(epochCount) * 120;
  n.airFlow.resize(points);
  n.chest.resize(points);
  n.abdomen.resize(points);
  double scale = 1.0;
  for (std::size_t p = 0; p < points; ++p) {
    const double t = static_cast<double>(p) * 0.25;
    if (p % 16 == 0) scale = breathScale(rng);
    double flow = 1.0;
    double effort = 1.0;
    for (const Event& e : n.resp) {
      if (t < e.startS || t >= e.endS) continue;
      flow = e.code == 4 ? 0.35 : 0.0;
      if (e.code == 3) effort = 0.0;
      if (e.code == 2 && t < e.startS + 15.0) effort = 0.0;
    }
    const double wave = 40.0 * scale * std::sin(2.0 * kPi * t / 4.0);
    // A stopped signal rests at exactly 0: sensor noise there would put a peak at a
    // random point inside the pause and split it.
    const float nf = noise(rng), nc = noise(rng), na = noise(rng);
    n.airFlow[p] = flow > 0.0 ? static_cast<float>(wave * flow) + nf : 0.0f;
    n.chest[p] = effort > 0.0 ? static_cast<float>(wave * effort) + nc : 0.0f;
    n.abdomen[p] = effort > 0.0 ? static_cast<float>(0.8 * wave * effort) + na : 0.0f;
  }
  const std::size_t legPoints = static_cast<std::size_t>(epochCount) * 300;
  n.legLeft.resize(legPoints);
  n.legRight.resize(legPoints);
  std::uniform_real_distribution<float> legNoise(-2.0f, 2.0f);
  for (std::size_t p = 0; p < legPoints; ++p) {
    const double t = static_cast<double>(p) * 0.1;
    float burst = 0.0f;
    for (const Event& e : n.legs)
      if (t >= e.startS && t < e.endS) burst = 50.0f;
    n.legLeft[p] = burst * (p % 2 ? 1.0f : -1.0f) + legNoise(rng);
    n.legRight[p] = burst + legNoise(rng);
  }
  return n;
}

// Settings for the night: the defaults, with all respiration and leg channels set,
// leg movements of 0.5 .. 10 s above 20 units.
inline SleepDstrbParam NightParam() {
  SleepDstrbParam p;
  p.airFlow = {0, {10.0, 50.0, 100.0, 4.0, 10.0, 10.0, 10.0}};
  p.chest = {1, {10.0, 50.0, 100.0, 4.0, 10.0, 10.0, 0.0}};
  p.abdomen = {2, {10.0, 50.0, 100.0, 4.0, 10.0, 10.0, 0.0}};
  p.legLeft = {3, {20.0, 0.5, 10.0}};
  p.legRight = {4, {20.0, 0.5, 10.0}};
  p.snore = {-1, {20.0, 5.0, 10.0}};
  p.arousal = {5, {20.0, 3.0, 15.0}};
  p.arousalThreshold = 4;
  p.lfhfBands = {0.04, 0.15, 0.15, 0.4};
  return p;
}

inline SleepDstrbChannels ChannelsOf(const SleepDstrbParam& p) {
  SleepDstrbChannels ch;
  ch.airFlow = p.airFlow.channel;
  ch.chest = p.chest.channel;
  ch.abdomen = p.abdomen.channel;
  ch.lmLeft = p.legLeft.channel;
  ch.lmRight = p.legRight.channel;
  ch.snore = p.snore.channel;
  ch.arousal = p.arousal.channel;
  return ch;
}

// The per-epoch tables and recognition tables of a night, every epoch staged 3
// (Stage1) unless changed.
struct NightTables {
  LyrEpochParameter epochs;
  SleepDstrbTables tables;
  std::int32_t respWord = 0;
  std::int32_t lmWord = 0;

  void Load(const Night& n, const SleepDstrbParam& p) {
    epochs.SetNew(n.epochCount, 0, 8, 1, 1);
    epochs.AllocateRprsntTable();
    for (int slot : {kRprsntAirFlow, kRprsntRespC, kRprsntRespA, kRprsntLMLeft, kRprsntLMRight, kRprsntSnore})
      epochs.AllocateRprsntSlot(slot, n.epochSeconds);
    for (int e = 0; e < n.epochCount; ++e) {
      epochs.SetStage(e, 3);
      Put(kRprsntAirFlow, e, n.airFlow, 120);
      Put(kRprsntRespC, e, n.chest, 120);
      Put(kRprsntRespA, e, n.abdomen, 120);
      Put(kRprsntLMLeft, e, n.legLeft, 300);
      Put(kRprsntLMRight, e, n.legRight, 300);
    }
    const SleepDstrbChannels ch = ChannelsOf(p);
    const int resp = n.epochCount * 120;
    const int tenth = n.epochCount * 300;
    tables.AllocateRespRcgnz(ch, resp);
    tables.AllocateAirFlow(ch, resp);
    tables.AllocateRespC(ch, resp);
    tables.AllocateRespA(ch, resp);
    tables.AllocateLMLeft(ch, tenth);
    tables.AllocateLMRight(ch, tenth);
    tables.AllocateLMBoth(ch, tenth);
    tables.AllocateSnore(ch, tenth);
    tables.AllocateArousalTables(ch, tenth);
  }

 private:
  void Put(int slot, int epoch, const std::vector<float>& series, int perEpoch) {
    float* dst = epochs.Rprsnt(slot, epoch);
    if (!dst) return;
    for (int i = 0; i < perEpoch; ++i) dst[i] = series[static_cast<std::size_t>(epoch * perEpoch + i)];
  }
};

}  // namespace synth
