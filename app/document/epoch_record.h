#pragma once
// The 188-byte per-epoch record: the stage code with its two previous values, the
// candidate stages of the logic conditions and the wave-recognition results of the
// epoch. Result files store it byte for byte, so the layout below is the stored one
// (little-endian, every byte named, no compiler padding).
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

// Results of one band wave in an epoch (20 bytes).
struct LyrWaveStats {
  std::int16_t count;           // detections in the epoch
  std::uint8_t reserved[2];
  float durationMs;             // total duration of the detections
  float meanAmplitude;
  float meanFrequencyHz;
  float frequencyDeviationHz;
};
static_assert(sizeof(LyrWaveStats) == 20);

// K-complex results of an epoch (12 bytes).
struct LyrKComplexStats {
  std::int16_t count;
  std::uint8_t reserved[2];
  float lastDurationMs;
  float lastAmplitude;
};
static_assert(sizeof(LyrKComplexStats) == 12);

// Order of the band-wave groups, that of the wave records of the wave-form
// recognition settings.
enum LyrWave : int {
  kWaveDelta = 0,
  kWaveAlpha = 1,
  kWaveTheta = 2,
  kWaveSpindle = 3,
  kWaveBand1 = 4,
  kWaveBand2 = 5,
  kWaveBand3 = 6,
  kWaveGroupCount = 7
};

constexpr int kStageSlots = 3;
constexpr int kCandidateCount = 20;

struct LyrEpochRec {
  std::uint8_t stage[kStageSlots];          // 0 current, 1 and 2 the codes before it
  std::uint8_t candidate[kCandidateCount];  // one per logic condition, 0 = none
  std::uint8_t reserved0;
  LyrWaveStats wave[kWaveGroupCount];       // by LyrWave
  LyrKComplexStats kComplex;
  std::int16_t remsRight;                   // REMs of eye channel R
  std::int16_t remsLeft;                    // REMs of eye channel L
  std::int16_t remsBoth;                    // REMs of the inverted eye pair
  std::uint8_t reserved1[2];
  float emg;                                // the epoch's EMG value
};

static_assert(std::endian::native == std::endian::little,
              "epoch records are stored as little-endian memory images");
static_assert(std::is_trivially_copyable_v<LyrEpochRec> && std::is_standard_layout_v<LyrEpochRec>);
static_assert(sizeof(LyrEpochRec) == 188);
static_assert(offsetof(LyrEpochRec, candidate) == 3);
static_assert(offsetof(LyrEpochRec, reserved0) == 23);
static_assert(offsetof(LyrEpochRec, wave) == 24);
static_assert(offsetof(LyrEpochRec, kComplex) == 164);
static_assert(offsetof(LyrEpochRec, remsRight) == 176);
static_assert(offsetof(LyrEpochRec, remsLeft) == 178);
static_assert(offsetof(LyrEpochRec, remsBoth) == 180);
static_assert(offsetof(LyrEpochRec, reserved1) == 182);
static_assert(offsetof(LyrEpochRec, emg) == 184);

constexpr std::size_t kEpochRecBytes = sizeof(LyrEpochRec);

// The stored form of a record and back; the layout above is the stored one.
inline void StoreEpochRec(const LyrEpochRec& rec, std::span<std::uint8_t, kEpochRecBytes> out) {
  std::memcpy(out.data(), &rec, kEpochRecBytes);
}
inline LyrEpochRec LoadEpochRec(std::span<const std::uint8_t, kEpochRecBytes> in) {
  LyrEpochRec rec;
  std::memcpy(&rec, in.data(), kEpochRecBytes);
  return rec;
}
