#pragma once
// Synthetic recordings for trying the program and for tests and benchmarks: a human night
// (EEG, EOG, chin EMG, ECG, respiration, SpO2, body position, leg EMG) or an animal day
// (two EEG channels and EMG) whose signals follow a known hypnogram and carry known
// events (apneas with desaturations, leg movements, spindles, K-complexes, rapid eye
// movements). Everything is deterministic for a seed.
#include <cstdint>
#include <string>
#include <vector>

namespace samples {

enum class Kind { Human, Animal };

struct Options {
  Kind kind = Kind::Human;
  double hours = 8.0;
  int channels = 0;       // 0: the kind's montage (12 human, 3 animal)
  int rateHz = 0;         // 0: 256 Hz
  std::uint32_t seed = 1;
  // Animal kind only: A > 0 writes A animals side by side, each of EEG, EMG and locomotion
  // (activity bursts while awake) following a hypnogram of its own.
  int animals = 0;
};

// Stage codes of the .stages file: 1 W, 2 REM, 3 stage 1, 4 stage 2, 5 stage 3, 6 stage 4
// (human); 1 W, 2 REM, 3 non-REM (animal).
enum Stage : int { kWake = 1, kRem = 2, kS1 = 3, kS2 = 4, kS3 = 5, kS4 = 6, kNrem = 3 };

struct Event {
  std::string type;  // "apnea", "desaturation", "leg_movement", "spindle", "k_complex",
                     // "eye_movement", "position_change"
  double onsetSeconds = 0.0;
  double durationSeconds = 0.0;
};

struct ChannelInfo {
  std::string name;
  std::string unit;
  double bottomPhysical = 0.0;  // at the lowest stored value (-32768)
  double topPhysical = 0.0;     // at the highest stored value (32767)
  double unitsPerCm = 50.0;     // display sensitivity that keeps the signal in its band
};

struct Plan {
  Options options;
  int epochSeconds = 30;
  std::vector<int> stages;  // one per epoch
  std::vector<std::vector<int>> animalStages;  // with Options::animals, one hypnogram per animal
  std::vector<Event> events;
  std::vector<ChannelInfo> channels;
  std::uint32_t dataCount = 0;  // samples per channel
};

// The hypnogram, events and montage for the options (no samples yet).
Plan MakePlan(const Options& options);

// Produces the samples of a plan in order, frame after frame (one value per channel).
class SignalSource {
 public:
  explicit SignalSource(const Plan& plan);
  ~SignalSource();
  SignalSource(const SignalSource&) = delete;
  SignalSource& operator=(const SignalSource&) = delete;
  // The next `frames` frames as stored 16-bit values (signed), channel-interleaved.
  void Next(std::size_t frames, std::int16_t* out);

 private:
  struct State;
  State* state_;
};

// Writes FILE (the recording, staged beside it and renamed into place), FILE.stages (one
// stage code a line, one line an epoch) and FILE.events ("onset<TAB>duration<TAB>type").
// Returns false with a message on failure.
bool WriteSampleRecording(const Options& options, const std::string& path, std::string* error);

// With Options::animals, the hypnogram of animal a (from 1) is FILE_NN.stages ("day_01.stages").
// Path of the companion text files: "night.fyd" -> "night.stages".
std::string CompanionPath(const std::string& path, const std::string& extension);

}  // namespace samples
