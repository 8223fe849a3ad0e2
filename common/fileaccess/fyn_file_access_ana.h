#pragma once
// FynFileAccessAna reads an analysis data file (type 1): the channel count, the per-channel
// parameters and the per-channel series of (x, y) value pairs. FynFileAccessEPRaw reads the
// two parameter groups of an evoked-potential raw file.
#include <cstdint>

#include "common/fileaccess/fyn_file_access.h"

class FynFileAccessAna : public FynFileAccess {
 public:
  FynFileAccessAna();
  explicit FynFileAccessAna(const char* path);
  ~FynFileAccessAna() override;

  // Pairs first..last (inclusive) of `channel` as stored: out[2i] = x, out[2i+1] = y
  // (y negated when `invert` is non-zero). `last` is cut to the channel's last pair.
  // 0 / -1 / -2.
  virtual std::int16_t GetAnaData(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                  float* out, std::int16_t invert);
  // As GetAnaData, keeping only the y of each pair: one float per pair.
  virtual std::int16_t GetAnaDataY(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                   float* out, std::int16_t invert);
  // Channel `channel` (from 0) of group 2. -1 when not below group 2's channel count.
  virtual std::int16_t GetGroup2ParamAna(int channel, _FynAnaG2Param* param);
  // The channel count of group 1, or -1 / -2.
  virtual std::int16_t GetChannelNum();

 private:
  std::int16_t ReadPairs(std::int16_t channel, std::uint32_t first, std::uint32_t last, float* out,
                         std::int16_t invert, bool onlyY);
};

class FynFileAccessEPRaw : public FynFileAccess {
 public:
  FynFileAccessEPRaw();
  explicit FynFileAccessEPRaw(const char* path);
  ~FynFileAccessEPRaw() override;

  // Channel `channel` of group 2, as the raw reader reads it. 0 / -1 / -2.
  virtual std::int16_t GetGroup2ParamRaw(int channel, _EPRawG2Param* param);
  // Both units of group 1, whatever its unit count says. 0 / -1 / -2.
  virtual std::int16_t GetGroup1ParamRaw(_EPRawG1Param* param);
};
