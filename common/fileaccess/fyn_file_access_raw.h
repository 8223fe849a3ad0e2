#pragma once
// FynFileAccessRaw: reader of the raw recording file (type 0): common parameters of group 1,
// per-channel parameters of group 2, the 16-bit samples as stored or as physical values, and
// the event group. FynFileAccessRaw1_1 reads files whose group 1 always has three units.
// FynRawCal turns one stored sample into a physical value.
#include <cstdint>
#include <vector>

#include "common/fileaccess/fyn_file_access.h"

class FynRawCal {
 public:
  // Full scale 5.0, -5.0 at top sample 0xFFFF, 5.0 at bottom sample 0, calibration off,
  // signed data.
  FynRawCal();
  FynRawCal(double fullScale, double topPhysical, double bottomPhysical, std::uint16_t topSample,
            std::uint16_t bottomSample, std::int16_t calibrationOn, std::int16_t unsignedData);
  FynRawCal(const FynRawCal&) = default;
  FynRawCal& operator=(const FynRawCal&) = default;

  virtual void SetCalParam(double fullScale, double topPhysical, double bottomPhysical,
                           std::uint16_t topSample, std::uint16_t bottomSample,
                           std::int16_t calibrationOn, std::int16_t unsignedData);
  // One stored word to its physical value; negated when the low 16 bits of `invert` are set.
  virtual void CalcCalFloat(float* out, const std::uint16_t* in, std::int16_t invert) const;
  virtual ~FynRawCal();

  // The straight line value = offset + slope * x(word), x(word) being the word as 0..65535
  // (the signed value plus 32,768 for signed data). Calibration with equal top and bottom
  // sample values has no line through its points and is taken as calibration off.
  void Line(double* slope, double* offset) const;
  // x(word) for this object's data type.
  std::uint32_t Position(std::uint16_t word) const {
    return unsignedData_ != 0 ? word : static_cast<std::uint32_t>(word ^ 0x8000u);
  }

 private:
  std::int16_t unsignedData_ = 0;
  std::int16_t calibrationOn_ = 0;
  std::uint16_t bottomSample_ = 0;
  std::uint16_t topSample_ = 0xFFFF;
  double bottomPhysical_ = 5.0;
  double topPhysical_ = -5.0;
  double fullScale_ = 5.0;
};

class FynFileAccessRaw : public FynFileAccess {
 public:
  FynFileAccessRaw();
  explicit FynFileAccessRaw(const char* path);
  ~FynFileAccessRaw() override;

  // Group-1 fields, each from a fresh read of group 1; the read's status is returned.
  virtual std::int16_t GetGroup1_channels(std::int16_t& channels);
  virtual std::int16_t GetGroup1_DataCount(std::uint32_t& dataCount);
  virtual std::int16_t GetGroup1_DataType(std::int16_t& dataType);
  // Stored words of all channels for samples first..last (inclusive), channel-major:
  // out[k * (last - first + 1) + (s - first)]. `last` beyond the recording is cut to its
  // last sample, keeping the caller's span as the stride. 0 / -1 / -2.
  virtual std::int16_t GetRawDataWORDAll(std::uint32_t first, std::uint32_t last, std::uint16_t* out);
  // As GetRawDataWORDAll, in physical values; `invert` holds one flag per channel (or null).
  virtual std::int16_t GetRawDataFloatAll(std::uint32_t first, std::uint32_t last, float* out,
                                          const std::int16_t* invert);
  // Event `index`: its type and sample position. 0 / -1 / -2 / -3.
  virtual std::int16_t GetEventPosInfo(int index, std::int16_t* type, std::uint32_t* position);
  // Name of event type `type`, at most 128 stored bytes. 0 / -1 / -2 / -3.
  virtual std::int16_t GetEventName(int type, std::string* name);
  virtual std::int16_t GetEventCount(std::uint32_t* count);
  // The event type count, or -1 / -2 / -3.
  virtual std::int16_t GetEventTypeCount();
  // Physical values of one channel for samples first..last (inclusive), negated when
  // `invert` is non-zero. 0 / -1 / -2.
  virtual std::int16_t GetRawDataFloat(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                       float* out, std::int16_t invert);
  // Stored words of one channel for samples first..last (inclusive). 0 / -1 / -2.
  virtual std::int16_t GetRawDataWORD(std::int16_t channel, std::uint32_t first, std::uint32_t last,
                                      std::uint16_t* out);
  // Channel `channel` (from 0) of group 2. -1 when it is not below group 2's channel count.
  virtual std::int16_t GetGroup2ParamRaw(int channel, _FynRawG2Param* param);
  // The group-1 fields present in the file (by its unit count); other fields stay as they were.
  virtual std::int16_t GetGroup1ParamRaw(_FynRawG1Param* param);

  // Replaces each channel's calibration by the caller's table (one entry per channel of
  // group 1) until the next call. 0 or the failing status.
  int SetCalInfo(_FynRawCALParam calibration);
  std::int16_t GetCalParamMode() const { return calMode_; }
  void SetCalParamMode(std::int16_t mode) { calMode_ = mode; }

 protected:
  struct Shape {
    std::int16_t channels = 0;
    std::uint32_t dataCount = 0;
    std::int16_t dataType = 0;
    std::uint64_t dataStart = 0;  // file offset of the first sample
  };
  // Reads the group-1 shape and locates the sample data. 0 / -1 / -2.
  std::int16_t ReadShape(Shape* shape);
  // Channels, data count and data type of group 1 as GetGroup1_channels, GetGroup1_DataCount
  // and GetGroup1_DataType give them, from one read. 0 or the read's status.
  virtual std::int16_t ReadGroup1Shape(Shape* shape);
  // Reads the group-2 records of all channels in one pass. 0 / -1 / -2.
  std::int16_t ReadAllGroup2(int channels, std::vector<_FynRawG2Param>* params);
  FynRawCal CalibrationOf(int channel, const _FynRawG2Param& param, std::int16_t dataType) const;
  // Reads `frames` frames from `first` into `words` (frames x channels). 0 / -1.
  std::int16_t ReadFrames(fyn::FynFile& file, const Shape& shape, std::uint64_t first, std::size_t frames,
                          std::vector<unsigned char>* bytes);
  struct EventLayout {
    std::uint64_t unit1Start = 0;
    std::uint64_t unit1Length = 0;
    std::uint64_t recordsStart = 0;
    std::uint32_t count = 0;
    std::uint16_t typeCount = 0;
  };
  std::int16_t ReadEventLayout(fyn::FynFile& file, EventLayout* layout);
  std::int16_t OpenEvents(fyn::FynFile& file, EventLayout* layout);

 private:
  std::int16_t calMode_ = 0;
  std::int32_t calModeWord_ = 0;
  std::vector<_FynRawCALEntry> calTable_;
};

class FynFileAccessRaw1_1 : public FynFileAccessRaw {
 public:
  FynFileAccessRaw1_1();
  explicit FynFileAccessRaw1_1(const char* path);
  ~FynFileAccessRaw1_1() override;

  std::int16_t GetGroup1_channels(std::int16_t& channels) override;
  std::int16_t GetGroup1_DataCount(std::uint32_t& dataCount) override;
  std::int16_t GetGroup1_DataType(std::int16_t& dataType) override;
  // All three units of group 1, whatever its unit count says. 0 / -1 / -2.
  std::int16_t GetGroup1ParamRaw(_FynRawG1Param1_1* param);
  using FynFileAccessRaw::GetGroup1ParamRaw;

 protected:
  std::int16_t ReadGroup1Shape(Shape* shape) override;
};
