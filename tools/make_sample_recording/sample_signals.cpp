// Sample synthesis: each channel follows the stage of the current epoch and the events
// that overlap the current second. Work is done one second at a time.
#include <algorithm>
#include <array>
#include <cmath>

#include "sample_recording.h"
#include "sample_rng.h"

namespace samples {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Montage positions of the human night and of the animal day.
enum HumanType { kEegC3, kEegC4, kEogL, kEogR, kChin, kEcg, kFlow, kThorax, kAbdomen, kSpo2, kPosition, kLeg };
enum AnimalType { kAnimalEeg1, kAnimalEeg2, kAnimalEmg };

struct Osc {
  double phase = 0.0;
  double Step(double hz, double rate) {
    phase += kTwoPi * hz / rate;
    if (phase > kTwoPi) phase -= kTwoPi;
    return std::sin(phase);
  }
};

struct ChannelState {
  explicit ChannelState(std::uint32_t seed) : noise(seed) {}
  FastNoise noise;
  std::array<Osc, 4> osc{};
  double low = 0.0;  // low-pass state of the background noise
  double amp = 1.0;  // amplitude factor of the previous second
  double lastBeat = -1.0;
  double nextBeat = 0.5;
};

double Bump(double t, double at, double width) {
  const double x = (t - at) / width;
  return std::exp(-x * x);
}

double Envelope(double t, const Event& e) {
  const double x = (t - e.onsetSeconds) / e.durationSeconds;
  if (x < 0.0 || x >= 1.0) return 0.0;
  const double s = std::sin(3.141592653589793 * x);
  return s * s;
}

// A spindle waxes and wanes over its first and last 0.15 s and holds its amplitude between,
// so nearly every half-wave of it has the spindle's full size.
double SpindleEnvelope(double t, const Event& e) {
  const double x = t - e.onsetSeconds;
  if (x < 0.0 || x >= e.durationSeconds) return 0.0;
  const double ramp = std::min(0.15, e.durationSeconds / 2.0);
  const double edge = std::min(x, e.durationSeconds - x);
  if (edge >= ramp) return 1.0;
  const double s = std::sin(0.5 * 3.141592653589793 * edge / ramp);
  return s * s;
}

// Delta activity of deep sleep comes in trains of high slow waves. Each 10-s third of an
// epoch holds one train of whole waves, so that the share of the epoch covered by waves of
// 75 uV and more (peak to peak) at 2 Hz or less is 20 to 50 % in stage 3 and above 50 % in
// stage 4, as the sleep-scoring rules tell the two apart. The layout depends only on the
// epoch, so every EEG channel carries the same trains.
struct DeltaTrain {
  double start = 0.0;  // seconds from the recording start
  double end = 0.0;
  double hz = 1.0;
};

std::array<DeltaTrain, 3> DeltaTrains(std::uint64_t seed, std::uint64_t epoch, int stage, int epochSeconds) {
  std::array<DeltaTrain, 3> trains{};
  Rng rng(seed * 0x2545F4914F6CDD1Dull + epoch * 0x9E3779B97F4A7C15ull + 77);
  // The share of the epoch the waves cover, well inside the stage's range.
  const double share = stage == kS4 ? 0.68 + 0.17 * rng.Uniform() : 0.28 + 0.14 * rng.Uniform();
  const double third = epochSeconds / 3.0;
  for (std::size_t k = 0; k < trains.size(); ++k) {
    DeltaTrain& d = trains[k];
    d.hz = 1.0 + 0.2 * rng.Uniform();
    // Whole waves: a recogniser measures a train from its first to its last peak, half a
    // wave less than the train, so the train is that much longer than its share.
    const double halfWave = 0.5 / d.hz;
    const int waves = std::max(1, static_cast<int>(std::lround((share * third + halfWave) * d.hz)));
    const double length = std::min(third, waves / d.hz);
    d.start = static_cast<double>(epoch) * epochSeconds + k * third + (third - length) * rng.Uniform();
    d.end = d.start + length;
  }
  return trains;
}

}  // namespace

struct SignalSource::State {
  const Plan& plan;
  int rate;
  std::uint64_t second = 0;
  std::size_t eventCursor = 0;
  std::vector<ChannelState> channels;
  std::vector<std::int16_t> block;  // one second, interleaved
  std::size_t blockPos = 0;
  std::vector<float> values;
  std::vector<const Event*> active;
  std::size_t positionCursor = 0;
  int positionChanges = 0;  // body-position changes up to the current second

  explicit State(const Plan& p) : plan(p), rate(p.options.rateHz) {
    for (std::size_t k = 0; k < p.channels.size(); ++k) {
      channels.emplace_back(static_cast<std::uint32_t>(p.options.seed * 7919u + 104729u * (k + 1)));
    }
    values.resize(static_cast<std::size_t>(rate));
  }

  int StageAt(std::uint64_t sec, std::size_t animal = 0) const {
    const std::vector<int>& stages = animal < plan.animalStages.size() ? plan.animalStages[animal] : plan.stages;
    const std::size_t e = std::min<std::size_t>(sec / static_cast<std::uint64_t>(plan.epochSeconds), stages.size() - 1);
    return stages[e];
  }

  bool InEvent(const char* type, double t, const Event** found = nullptr) const {
    for (const Event* e : active) {
      if (e->type == type && t >= e->onsetSeconds && t < e->onsetSeconds + std::max(e->durationSeconds, 1e-9)) {
        if (found) *found = e;
        return true;
      }
    }
    return false;
  }

  // Events that overlap [t0 - 15 s, t0 + 1 s): recovery effects reach past an event's end.
  void GatherEvents(double t0) {
    const auto& ev = plan.events;
    while (eventCursor < ev.size() && ev[eventCursor].onsetSeconds + ev[eventCursor].durationSeconds < t0 - 60.0) {
      ++eventCursor;
    }
    active.clear();
    for (std::size_t i = eventCursor; i < ev.size() && ev[i].onsetSeconds < t0 + 1.0; ++i) {
      if (ev[i].onsetSeconds + ev[i].durationSeconds >= t0 - 15.0) active.push_back(&ev[i]);
    }
  }

  void Human(int type, ChannelState& c, int stage, double t0, Rng& shared);
  void Animal(int type, ChannelState& c, int stage, double t0);
  void Locomotion(ChannelState& c, int stage);
  void MakeSecond();
};

void SignalSource::State::Human(int type, ChannelState& c, int stage, double t0, Rng& shared) {
  const double r = rate;
  const int n = rate;
  const bool deep = stage == kS3 || stage == kS4;
  // Shared per-second choices (the same for every channel that uses them).
  const double breathHz = (stage == kWake ? 0.28 : stage == kRem ? 0.26 + 0.04 * shared.Uniform() : 0.23);
  const double heartHz = (stage == kWake ? 70.0 : stage == kRem ? 66.0 : 58.0) / 60.0;
  const bool blink = stage == kWake && shared.Uniform() < 0.3;
  const double blinkAt = shared.Uniform() * 0.7;
  const double newAmp = 0.7 + 0.6 * shared.Uniform();
  switch (type) {
    case kEegC3:
    case kEegC4: {
      static constexpr double alpha[] = {0, 25, 4, 5, 2, 2, 2};
      static constexpr double theta[] = {0, 5, 12, 15, 12, 10, 8};
      // Low background delta; the high slow waves of stages 3 and 4 come as trains.
      static constexpr double delta[] = {0, 3, 8, 8, 20, 10, 10};
      const double side = type == kEegC3 ? 1.0 : 0.9;
      const std::uint64_t epoch = second / static_cast<std::uint64_t>(plan.epochSeconds);
      std::array<DeltaTrain, 3> trains{};
      if (deep) trains = DeltaTrains(plan.options.seed, epoch, stage, plan.epochSeconds);
      for (int i = 0; i < n; ++i) {
        const double t = t0 + i / r;
        const double a = c.amp + (newAmp - c.amp) * i / r;
        // Background noise falling off above a few hertz, as the EEG's own does, so that
        // it does not break up the spindles and alpha waves riding on it.
        c.low += 0.08 * (c.noise.Gauss() - c.low);
        double v = side * (alpha[stage] * a * c.osc[0].Step(10.0, r) + theta[stage] * c.osc[1].Step(6.0, r) +
                           delta[stage] * a * (0.7 * c.osc[2].Step(1.1, r) + 0.5 * c.osc[3].Step(2.3, r))) +
                   8.0 * c.low;
        if (deep) {
          // About 120 uV peak to peak, with room on both sides of the 75..200 uV a slow wave spans.
          for (const DeltaTrain& d : trains) {
            if (t >= d.start && t < d.end) v += side * 60.0 * std::sin(kTwoPi * d.hz * (t - d.start));
          }
        }
        const Event* e = nullptr;
        // Spindles of 13.3 Hz, about 44 uV peak to peak.
        if (InEvent("spindle", t, &e)) {
          v += 22.0 * SpindleEnvelope(t, *e) * std::sin(kTwoPi * 13.3 * (t - e->onsetSeconds));
        }
        if (InEvent("k_complex", t, &e)) {
          const double x = (t - e->onsetSeconds) / e->durationSeconds;
          v += -110.0 * std::sin(kTwoPi * x) * std::sin(3.141592653589793 * x);
        }
        values[static_cast<std::size_t>(i)] = static_cast<float>(v);
      }
      c.amp = newAmp;
      break;
    }
    case kEogL:
    case kEogR: {
      const double sign = type == kEogL ? 1.0 : -1.0;
      for (int i = 0; i < n; ++i) {
        const double t = t0 + i / r;
        c.low += 0.05 * (c.noise.Gauss() - c.low);
        double v = 6.0 * c.low;
        if (blink) v += 150.0 * Bump(t, t0 + blinkAt, 0.08);
        // Slow rolling eye movements: a 20-s swing, slow enough that no 2-s stretch of it
        // moves by 25 uV, so that it is not taken for a rapid eye movement.
        if (stage == kS1) v += sign * 30.0 * c.osc[0].Step(0.05, r);
        if (deep) v += 25.0 * c.osc[1].Step(1.1, r);
        const Event* e = nullptr;
        if (InEvent("eye_movement", t, &e) || InEvent("eye_movement", t - 1.0, &e)) {
          const double x = t - e->onsetSeconds;
          const double dir = (static_cast<int>(e->onsetSeconds * 10) % 2 == 0) ? 1.0 : -1.0;
          const double rise = 1.0 - std::exp(-x / 0.03);
          const double fall = x > e->durationSeconds ? std::exp(-(x - e->durationSeconds) / 0.4) : 1.0;
          v += sign * dir * 140.0 * rise * fall;
        }
        values[static_cast<std::size_t>(i)] = static_cast<float>(v);
      }
      break;
    }
    case kChin:
    case kLeg: {
      static constexpr double tone[] = {0, 15, 1.5, 8, 6, 5, 5};
      const double base = type == kChin ? tone[stage] : 3.0;
      for (int i = 0; i < n; ++i) {
        const double t = t0 + i / r;
        double a = base;
        const Event* e = nullptr;
        if (type == kLeg && InEvent("leg_movement", t, &e)) a += 45.0 * Envelope(t, *e);
        // An arousal after each apnea raises the chin tone for a few seconds.
        if (type == kChin) {
          for (const Event* ap : active) {
            const double end = ap->onsetSeconds + ap->durationSeconds;
            if (ap->type == "apnea" && t >= end && t < end + 4.0) a += 20.0;
          }
        }
        values[static_cast<std::size_t>(i)] = static_cast<float>(a * c.noise.Gauss() * 0.6);
      }
      break;
    }
    case kEcg: {
      for (int i = 0; i < n; ++i) {
        const double t = t0 + i / r;
        if (t >= c.nextBeat) {
          c.lastBeat = c.nextBeat;
          c.nextBeat += (1.0 + 0.04 * c.noise.Next()) / heartHz;
        }
        double v = 0.02 * c.noise.Next();
        for (double beat : {c.lastBeat, c.nextBeat}) {
          v += 1.1 * Bump(t, beat, 0.012) - 0.15 * Bump(t, beat + 0.03, 0.015) + 0.25 * Bump(t, beat + 0.25, 0.05);
        }
        values[static_cast<std::size_t>(i)] = static_cast<float>(v);
      }
      break;
    }
    case kFlow:
    case kThorax:
    case kAbdomen: {
      for (int i = 0; i < n; ++i) {
        const double t = t0 + i / r;
        const double s = c.osc[0].Step(breathHz, r);
        double flow = 1.0;
        double effort = 1.0;
        double paradox = 1.0;
        for (const Event* ap : active) {
          if (ap->type != "apnea") continue;
          const double end = ap->onsetSeconds + ap->durationSeconds;
          if (t >= ap->onsetSeconds && t < end) {
            // Obstructive: no airflow, rising effort with the belts out of phase.
            flow = 0.05;
            effort = 1.0 + 0.5 * (t - ap->onsetSeconds) / ap->durationSeconds;
            paradox = -1.0;
          } else if (t >= end && t < end + 10.0) {
            flow = 1.6;
            effort = 1.4;
          }
        }
        double v = 0.0;
        if (type == kFlow) v = 200.0 * flow * s;
        if (type == kThorax) v = 300.0 * effort * s;
        if (type == kAbdomen) v = 250.0 * effort * paradox * s;
        values[static_cast<std::size_t>(i)] = static_cast<float>(v + 5.0 * c.noise.Next());
      }
      break;
    }
    case kSpo2: {
      // Held for the whole second, as a 1 Hz oximeter delivers it.
      double v = 96.5 + 0.5 * std::sin(t0 / 900.0);
      for (const Event* d : active) {
        if (d->type != "desaturation" || t0 < d->onsetSeconds || t0 >= d->onsetSeconds + d->durationSeconds) continue;
        const double depth = 3.0 + std::fmod(d->onsetSeconds * 7.31, 5.0);
        const double x = (t0 - d->onsetSeconds) / d->durationSeconds;
        v -= depth * (x < 0.6 ? x / 0.6 : 1.0 - (x - 0.6) / 0.4);
      }
      std::fill(values.begin(), values.end(), static_cast<float>(v));
      break;
    }
    case kPosition: {
      static constexpr int sequence[] = {0, 1, 0, 2, 3, 0};
      std::fill(values.begin(), values.end(), static_cast<float>(sequence[positionChanges % 6]));
      break;
    }
    default:
      std::fill(values.begin(), values.end(), 0.0f);
  }
}

void SignalSource::State::Animal(int type, ChannelState& c, int stage, double t0) {
  const double r = rate;
  const int n = rate;
  const bool nrem = stage == kNrem;
  const bool rem = stage == kRem;
  for (int i = 0; i < n; ++i) {
    c.low += 0.3 * (c.noise.Gauss() - c.low);
    double v = 0.0;
    if (type == kAnimalEmg) {
      double a = nrem ? 15.0 : rem ? 4.0 : 45.0;
      if (rem && c.noise.Next() > 0.9995) a = 120.0;  // twitches
      v = a * c.noise.Gauss() * 0.6;
    } else {
      const double thetaAmp = rem ? (type == kAnimalEeg2 ? 140.0 : 60.0) : nrem ? 10.0 : 45.0;
      const double deltaAmp = nrem ? 180.0 : 15.0;
      v = thetaAmp * c.osc[0].Step(rem ? 7.0 : 7.5, r) +
          deltaAmp * (0.7 * c.osc[1].Step(1.8, r) + 0.5 * c.osc[2].Step(3.1, r)) + (nrem ? 20.0 : 35.0) * c.low;
    }
    values[static_cast<std::size_t>(i)] = static_cast<float>(v);
  }
  (void)t0;
}

// Activity: a quiet baseline, with bursts of movement in most seconds of wake.
void SignalSource::State::Locomotion(ChannelState& c, int stage) {
  const int n = rate;
  const bool moving = stage == kWake && c.noise.Next() < 0.6;
  const double burstAt = c.noise.Next() * 0.6;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / n;
    double v = 0.05 * c.noise.Gauss();
    if (moving && t >= burstAt && t < burstAt + 0.3) v += 2.0 * c.osc[0].Step(8.0, n);
    values[static_cast<std::size_t>(i)] = static_cast<float>(v);
  }
}

void SignalSource::State::MakeSecond() {
  const std::size_t count = channels.size();
  block.assign(static_cast<std::size_t>(rate) * count, 0);
  const double t0 = static_cast<double>(second);
  const int stage = StageAt(second);
  const bool human = plan.options.kind == Kind::Human;
  if (human) {
    GatherEvents(t0);
    const auto& ev = plan.events;
    for (; positionCursor < ev.size() && ev[positionCursor].onsetSeconds <= t0; ++positionCursor) {
      if (ev[positionCursor].type == "position_change") ++positionChanges;
    }
  }
  const std::size_t types = human ? 12 : 3;
  const bool grouped = !plan.animalStages.empty();
  for (std::size_t k = 0; k < count; ++k) {
    Rng shared(plan.options.seed * 0xD1B54A32D192ED03ull + second);
    const int type = static_cast<int>(k % types);
    if (human) {
      Human(type, channels[k], stage, t0, shared);
    } else if (grouped) {
      // EEG, EMG and locomotion of animal k / 3.
      const int own = StageAt(second, k / 3);
      if (type == 2) Locomotion(channels[k], own);
      else Animal(type == 0 ? kAnimalEeg1 : kAnimalEmg, channels[k], own, t0);
    } else {
      Animal(type, channels[k], stage, t0);
    }
    const ChannelInfo& info = plan.channels[k];
    const double scale = 65535.0 / (info.topPhysical - info.bottomPhysical);
    for (int i = 0; i < rate; ++i) {
      const double q = std::round((values[static_cast<std::size_t>(i)] - info.bottomPhysical) * scale) - 32768.0;
      block[static_cast<std::size_t>(i) * count + k] = static_cast<std::int16_t>(std::clamp(q, -32768.0, 32767.0));
    }
  }
  ++second;
  blockPos = 0;
}

SignalSource::SignalSource(const Plan& plan) : state_(new State(plan)) {}

SignalSource::~SignalSource() { delete state_; }

void SignalSource::Next(std::size_t frames, std::int16_t* out) {
  State& s = *state_;
  const std::size_t count = s.channels.size();
  while (frames > 0) {
    if (s.blockPos >= s.block.size()) s.MakeSecond();
    const std::size_t take = std::min(frames, (s.block.size() - s.blockPos) / count);
    std::copy_n(s.block.begin() + static_cast<long>(s.blockPos), take * count, out);
    out += take * count;
    s.blockPos += take * count;
    frames -= take;
  }
}

}  // namespace samples
