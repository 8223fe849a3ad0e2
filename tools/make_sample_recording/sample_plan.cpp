// The hypnogram, the events and the montage of a synthetic recording.
#include <algorithm>
#include <cstdio>
#include <cmath>

#include "sample_recording.h"
#include "sample_rng.h"

namespace samples {

namespace {

struct Bout {
  int stage;
  double minutes;
};

// A human night: a short wake period, then cycles of about 90 minutes from light sleep to
// deep sleep and back to REM, deep sleep shrinking and REM growing towards the morning, with
// brief awakenings between cycles and a wake period at the end.
std::vector<int> HumanHypnogram(int epochs, Rng& rng) {
  std::vector<int> out;
  out.reserve(static_cast<std::size_t>(epochs));
  auto add = [&](int stage, double minutes) {
    const int n = std::max(1, static_cast<int>(std::lround(minutes * 2.0)));
    for (int i = 0; i < n && static_cast<int>(out.size()) < epochs; ++i) out.push_back(stage);
  };
  const int finalWake = std::min(epochs / 20, 10 + static_cast<int>(rng.Below(10)));
  add(kWake, 8.0 + rng.Uniform() * 12.0);
  for (int cycle = 0; static_cast<int>(out.size()) < epochs - finalWake; ++cycle) {
    const double deep = std::max(0.0, 30.0 - 10.0 * cycle) * (0.6 + 0.4 * rng.Uniform());
    const std::vector<Bout> bouts = {
        {kS1, 2.0 + rng.Uniform() * 4.0},
        {kS2, 10.0 + rng.Uniform() * 15.0},
        {kS3, deep > 0 ? 3.0 + rng.Uniform() * 5.0 : 0.0},
        {kS4, deep},
        {kS3, deep > 0 ? 2.0 + rng.Uniform() * 3.0 : 0.0},
        {kS2, 10.0 + 3.0 * cycle + rng.Uniform() * 12.0},
        {kRem, std::min(28.0, 5.0 + 5.0 * cycle + rng.Uniform() * 5.0)},
    };
    for (const Bout& b : bouts) {
      if (b.minutes >= 0.5) add(b.stage, b.minutes);
    }
    if (rng.Uniform() < 0.7) add(kWake, 0.5 + rng.Uniform() * 2.0);
    add(kS1, 1.0 + rng.Uniform());
  }
  out.resize(static_cast<std::size_t>(std::max(0, epochs - finalWake)));
  while (static_cast<int>(out.size()) < epochs) out.push_back(kWake);
  return out;
}

// An animal day of 10-second epochs: mostly sleep in the first (light) half, mostly wake in
// the dark half; REM bouts follow non-REM bouts.
std::vector<int> AnimalHypnogram(int epochs, Rng& rng) {
  std::vector<int> out;
  out.reserve(static_cast<std::size_t>(epochs));
  int stage = kWake;
  while (static_cast<int>(out.size()) < epochs) {
    const bool light = (out.size() * 10 / 3600) % 24 < 12;
    double seconds = 0.0;
    int next = kWake;
    if (stage == kWake) {
      seconds = light ? 30.0 + rng.Uniform() * 240.0 : 120.0 + rng.Uniform() * 1500.0;
      next = kNrem;
    } else if (stage == kNrem) {
      seconds = 60.0 + rng.Uniform() * (light ? 540.0 : 240.0);
      next = rng.Uniform() < (light ? 0.6 : 0.3) ? kRem : kWake;
    } else {
      seconds = 40.0 + rng.Uniform() * 100.0;
      next = kWake;
    }
    const int n = std::max(1, static_cast<int>(seconds / 10.0));
    for (int i = 0; i < n && static_cast<int>(out.size()) < epochs; ++i) out.push_back(stage);
    stage = next;
  }
  return out;
}

bool Asleep(int stage) { return stage != kWake; }

void HumanEvents(Plan& plan, Rng& rng) {
  const double total = static_cast<double>(plan.stages.size()) * plan.epochSeconds;
  auto stageAt = [&](double t) {
    const auto e = static_cast<std::size_t>(std::clamp(t / plan.epochSeconds, 0.0, total / plan.epochSeconds - 1));
    return plan.stages[e];
  };
  auto& ev = plan.events;
  // Apneas, each followed by a desaturation: about 12 an hour of sleep, more in REM.
  for (double t = 600.0; t < total - 120.0;) {
    const double duration = 10.0 + rng.Uniform() * 30.0;
    const int s = stageAt(t);
    if (Asleep(s) && Asleep(stageAt(t + duration)) && rng.Uniform() < (s == kRem ? 0.8 : 0.45)) {
      ev.push_back({"apnea", t, duration});
      ev.push_back({"desaturation", t + 15.0, duration + 10.0});
      t += duration + 30.0 + rng.Uniform() * 240.0;
    } else {
      t += 60.0 + rng.Uniform() * 120.0;
    }
  }
  // Periodic leg movements: series of 4 to 20 in stage 2, 20 to 40 s apart.
  for (double t = 900.0; t < total - 900.0;) {
    if (stageAt(t) == kS2 && rng.Uniform() < 0.25) {
      const int n = 4 + static_cast<int>(rng.Below(17));
      double at = t;
      for (int i = 0; i < n && at < total - 60.0; ++i) {
        if (!Asleep(stageAt(at))) break;
        ev.push_back({"leg_movement", at, 0.5 + rng.Uniform() * 4.5});
        at += 20.0 + rng.Uniform() * 20.0;
      }
      t = at + 600.0;
    } else {
      t += 300.0;
    }
  }
  // Spindles and K-complexes in stage 2 (spindles also in stage 3), rapid eye movements in REM.
  // Stage 2 has a spindle every 6 to 11 s (two or more in most epochs), some followed by a
  // K-complex.
  for (double t = 0.0; t < total - 5.0;) {
    const int s = stageAt(t);
    if (s == kS2) {
      const double duration = 0.8 + 0.7 * rng.Uniform();
      ev.push_back({"spindle", t, duration});
      if (rng.Uniform() < 0.3) ev.push_back({"k_complex", t + duration + 1.5, 0.8});
      t += 6.0 + rng.Uniform() * 5.0;
    } else if (s == kS3) {
      if (rng.Uniform() < 0.25) ev.push_back({"spindle", t, 0.8 + 0.7 * rng.Uniform()});
      t += 8.0 + rng.Uniform() * 10.0;
    } else if (s == kRem) {
      if (rng.Uniform() < 0.6) ev.push_back({"eye_movement", t, 0.3});
      t += 1.0 + rng.Uniform() * 6.0;
    } else {
      t += 5.0;
    }
  }
  // A few changes of body position, at awakenings.
  int last = kWake;
  for (std::size_t e = 0; e < plan.stages.size(); ++e) {
    const int s = plan.stages[e];
    if (s == kWake && last != kWake && rng.Uniform() < 0.8) {
      ev.push_back({"position_change", static_cast<double>(e) * plan.epochSeconds + 5.0, 0.0});
    }
    last = s;
  }
  std::sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) { return a.onsetSeconds < b.onsetSeconds; });
}

const std::vector<ChannelInfo>& HumanMontage() {
  // Sensitivities: about 1 cm for the usual amplitude of each signal (breathing +-300 uV,
  // ECG R waves 1.1 mV), so every wave stays near its own band.
  static const std::vector<ChannelInfo> m = {
      {"C3-A2", "uV", -500, 500, 50},      {"C4-A1", "uV", -500, 500, 50},
      {"EOG-L", "uV", -1000, 1000, 100},   {"EOG-R", "uV", -1000, 1000, 100},
      {"Chin EMG", "uV", -250, 250, 25},   {"ECG", "mV", -5, 5, 1},
      {"Airflow", "uV", -1000, 1000, 400}, {"Thorax", "uV", -1000, 1000, 500},
      {"Abdomen", "uV", -1000, 1000, 500}, {"SpO2", "%", 0, 100, 150},
      {"Position", "", 0, 10, 4},          {"Leg EMG", "uV", -250, 250, 25},
  };
  return m;
}

const std::vector<ChannelInfo>& GroupedAnimalMontage() {
  static const std::vector<ChannelInfo> m = {
      {"EEG", "uV", -1000, 1000, 100}, {"EMG", "uV", -500, 500, 50}, {"Loc", "V", -5, 5, 1}};
  return m;
}

const std::vector<ChannelInfo>& AnimalMontage() {
  static const std::vector<ChannelInfo> m = {
      {"EEG1", "uV", -1000, 1000, 100}, {"EEG2", "uV", -1000, 1000, 100}, {"EMG", "uV", -500, 500, 50}};
  return m;
}

}  // namespace

Plan MakePlan(const Options& options) {
  Plan plan;
  plan.options = options;
  if (plan.options.rateHz <= 0) plan.options.rateHz = 256;
  const bool human = options.kind == Kind::Human;
  plan.epochSeconds = human ? 30 : 10;
  const double seconds = std::max(0.0, options.hours) * 3600.0;
  const int epochs = std::max(1, static_cast<int>(seconds / plan.epochSeconds));
  Rng rng(options.seed * 0x9E3779B97F4A7C15ull + (human ? 1 : 2));
  plan.stages = human ? HumanHypnogram(epochs, rng) : AnimalHypnogram(epochs, rng);
  if (human) HumanEvents(plan, rng);
  const bool grouped = !human && options.animals > 0;
  if (grouped) {
    for (int a = 0; a < options.animals; ++a) {
      Rng own(options.seed * 0x9E3779B97F4A7C15ull + 1000003ull * static_cast<std::uint64_t>(a + 1));
      plan.animalStages.push_back(AnimalHypnogram(epochs, own));
    }
    plan.stages = plan.animalStages.front();
  }
  const auto& montage = human ? HumanMontage() : grouped ? GroupedAnimalMontage() : AnimalMontage();
  const int count = grouped ? 3 * options.animals
                            : options.channels > 0 ? options.channels : static_cast<int>(montage.size());
  for (int k = 0; k < count; ++k) {
    ChannelInfo c = montage[static_cast<std::size_t>(k) % montage.size()];
    if (grouped) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, "%02d", k / 3 + 1);
      c.name += suffix;
    } else if (k >= static_cast<int>(montage.size())) {
      c.name += '#';
      c.name += std::to_string(k / montage.size() + 1);
    }
    plan.channels.push_back(c);
  }
  plan.dataCount = static_cast<std::uint32_t>(epochs) * static_cast<std::uint32_t>(plan.epochSeconds) *
                   static_cast<std::uint32_t>(plan.options.rateHz);
  return plan;
}

}  // namespace samples
