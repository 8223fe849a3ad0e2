#pragma once
// A small deterministic random source (splitmix64), the same on every platform.
#include <cstdint>

namespace samples {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Uniform() * n); }

 private:
  std::uint64_t s_;
};

// Fast noise for the sample loops: xorshift32 giving values in [-1, 1).
class FastNoise {
 public:
  explicit FastNoise(std::uint32_t seed) : s_(seed ? seed : 0x1234567u) {}
  float Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return static_cast<float>(static_cast<std::int32_t>(s_)) * (1.0f / 2147483648.0f);
  }
  // Roughly normal, unit variance (sum of three uniforms).
  float Gauss() { return (Next() + Next() + Next()); }

 private:
  std::uint32_t s_;
};

}  // namespace samples
