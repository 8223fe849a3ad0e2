#include "common/fileaccess/fyn_file_access_raw.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "common/fileaccess/fyn_byte_io.h"
#include "common/fileaccess/fyn_group_codec.h"

using fyn::ByteReader;
using fyn::FynFile;

namespace {

// The all-channel readers move this many frames per file read.
constexpr std::size_t kChunkFrames = 1000;
// GetRawDataFloatAll moves about this many bytes per file read (whole groups of eight frames).
constexpr std::size_t kAllChunkBytes = 256 * 1024;
constexpr std::size_t kEventNameCapacity = 128;

inline std::uint16_t WordAt(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The calibration of one stored word: offset + slope * (word ^ flip), computed in double and
// rounded once to float.
inline float Calibrated(std::uint16_t w, std::uint16_t flip, double slope, double offset) {
  return static_cast<float>(offset + slope * static_cast<std::uint16_t>(w ^ flip));
}

// Exponent of the lowest set bit of a finite, non-zero value: d is an odd integer times 2^that.
int LowestBitExponent(double d) {
  int e = 0;
  const double m = std::frexp(std::fabs(d), &e);  // |d| = m 2^e, m in [0.5, 1)
  const auto bits = static_cast<std::uint64_t>(std::ldexp(m, 53));
  return e - 53 + std::countr_zero(bits);
}

// True when offset + slope * x is exact in float for every word x (0 .. 65535): slope and offset
// are multiples of one power of two g, and every |offset + slope * x| stays below 2^23 g. Then
// each product and sum is exact in float and in double alike, so float arithmetic gives the
// same values as Calibrated.
bool ExactInFloat(double slope, double offset) {
  if (!std::isfinite(slope) || !std::isfinite(offset)) return false;
  if (static_cast<double>(static_cast<float>(slope)) != slope ||
      static_cast<double>(static_cast<float>(offset)) != offset)
    return false;
  if (slope == 0.0 && offset == 0.0) return true;
  int g = std::numeric_limits<int>::max();
  if (slope != 0.0) g = LowestBitExponent(slope);
  if (offset != 0.0) g = std::min(g, LowestBitExponent(offset));
  const double bound = std::fabs(offset) + std::fabs(slope) * 65536.0;
  return bound <= 0x1p64 && std::ldexp(bound, -g) <= 0x1p23;
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// Built for the baseline and for AVX2 processors (without FMA, so every product and sum is
// rounded as in the baseline build); the loader picks the variant once.
#define FYN_CONVERT_VARIANTS [[gnu::target_clones("avx2", "default")]]
#else
#define FYN_CONVERT_VARIANTS
#endif

// Frames [0, frames) of an interleaved block (c channels a frame, little-endian words) to
// physical values, channel k to dst + k * stride. Groups of eight channels and eight frames
// are transposed in registers and converted eight values at a time; the rest goes word by
// word. Every value is the one Calibrated gives.
FYN_CONVERT_VARIANTS void ConvertFrames(const unsigned char* bytes, std::size_t frames, std::size_t c,
                                        const double* slopes, const double* offsets, const char* exact,
                                        std::uint16_t flip, float* dst, std::size_t stride) {
  (void)exact;  // read by the block path only
  std::size_t vectorChannels = 0;
  std::size_t vectorFrames = 0;
#if defined(__GNUC__) && !defined(__clang__)
  if constexpr (std::endian::native == std::endian::little) {
    using U16x8 = std::uint16_t __attribute__((vector_size(16)));
    using I32x8 = std::int32_t __attribute__((vector_size(32)));
    using I32x4 = std::int32_t __attribute__((vector_size(16)));
    using F64x4 = double __attribute__((vector_size(32)));
    using F32x4 = float __attribute__((vector_size(16)));
    using F32x8 = float __attribute__((vector_size(32)));
    using M8 = std::int16_t __attribute__((vector_size(16)));
    vectorChannels = c / 8 * 8;
    vectorFrames = frames / 8 * 8;
    const U16x8 flips = {flip, flip, flip, flip, flip, flip, flip, flip};
    // Frames f .. f + 7 of channels k .. k + 7 as eight rows of words, one a channel.
    const auto transposed = [&](std::size_t k, std::size_t f, U16x8* w) {
      U16x8 r[8];
      for (std::size_t t = 0; t < 8; ++t) std::memcpy(&r[t], bytes + 2 * ((f + t) * c + k), sizeof r[t]);
      U16x8 s[8];
      for (std::size_t t = 0; t < 8; t += 2) {
        s[t] = __builtin_shuffle(r[t], r[t + 1], M8{0, 8, 1, 9, 2, 10, 3, 11});
        s[t + 1] = __builtin_shuffle(r[t], r[t + 1], M8{4, 12, 5, 13, 6, 14, 7, 15});
      }
      U16x8 u[8];
      for (std::size_t g = 0; g < 2; ++g) {
        const std::size_t b = 4 * g;
        u[b] = __builtin_shuffle(s[b], s[b + 2], M8{0, 1, 8, 9, 2, 3, 10, 11});
        u[b + 1] = __builtin_shuffle(s[b], s[b + 2], M8{4, 5, 12, 13, 6, 7, 14, 15});
        u[b + 2] = __builtin_shuffle(s[b + 1], s[b + 3], M8{0, 1, 8, 9, 2, 3, 10, 11});
        u[b + 3] = __builtin_shuffle(s[b + 1], s[b + 3], M8{4, 5, 12, 13, 6, 7, 14, 15});
      }
      for (std::size_t j = 0; j < 4; ++j) {
        w[2 * j] = __builtin_shuffle(u[j], u[j + 4], M8{0, 1, 2, 3, 8, 9, 10, 11}) ^ flips;
        w[2 * j + 1] = __builtin_shuffle(u[j], u[j + 4], M8{4, 5, 6, 7, 12, 13, 14, 15}) ^ flips;
      }
    };
    for (std::size_t k = 0; k < vectorChannels; k += 8) {
      bool allExact = true;
      float floatSlopes[8];
      float floatOffsets[8];
      for (std::size_t j = 0; j < 8; ++j) {
        allExact = allExact && exact[k + j] != 0;
        floatSlopes[j] = static_cast<float>(slopes[k + j]);
        floatOffsets[j] = static_cast<float>(offsets[k + j]);
      }
      if (allExact) {
        for (std::size_t f = 0; f < vectorFrames; f += 8) {
          U16x8 w[8];
          transposed(k, f, w);
          for (std::size_t j = 0; j < 8; ++j) {
            const F32x8 x = __builtin_convertvector(__builtin_convertvector(w[j], I32x8), F32x8);
            const F32x8 out = floatOffsets[j] + floatSlopes[j] * x;
            std::memcpy(dst + (k + j) * stride + f, &out, sizeof out);
          }
        }
        continue;
      }
      for (std::size_t f = 0; f < vectorFrames; f += 8) {
        U16x8 w[8];
        transposed(k, f, w);
        for (std::size_t j = 0; j < 8; ++j) {
          // Words to 32-bit integers to doubles, four at a time (exact).
          const I32x8 x = __builtin_convertvector(w[j], I32x8);
          I32x4 half[2];
          std::memcpy(half, &x, sizeof half);
          float* row = dst + (k + j) * stride + f;
          for (std::size_t h = 0; h < 2; ++h) {
            const F64x4 v = offsets[k + j] + slopes[k + j] * __builtin_convertvector(half[h], F64x4);
            const F32x4 out = __builtin_convertvector(v, F32x4);
            std::memcpy(row + 4 * h, &out, sizeof out);
          }
        }
      }
    }
  }
#endif
  for (std::size_t k = 0; k < c; ++k) {
    float* row = dst + k * stride;
    const unsigned char* src = bytes + 2 * k;
    const double slope = slopes[k];
    const double offset = offsets[k];
    for (std::size_t f = k < vectorChannels ? vectorFrames : 0; f < frames; ++f)
      row[f] = Calibrated(WordAt(src + 2 * f * c), flip, slope, offset);
  }
}

}  // namespace

// ---- FynRawCal ----

FynRawCal::FynRawCal() = default;

FynRawCal::FynRawCal(double fullScale, double topPhysical, double bottomPhysical,
                     std::uint16_t topSample, std::uint16_t bottomSample, std::int16_t calibrationOn,
                     std::int16_t unsignedData) {
  FynRawCal::SetCalParam(fullScale, topPhysical, bottomPhysical, topSample, bottomSample,
                         calibrationOn, unsignedData);
}

FynRawCal::~FynRawCal() = default;

void FynRawCal::SetCalParam(double fullScale, double topPhysical, double bottomPhysical,
                            std::uint16_t topSample, std::uint16_t bottomSample,
                            std::int16_t calibrationOn, std::int16_t unsignedData) {
  fullScale_ = fullScale;
  topPhysical_ = topPhysical;
  bottomPhysical_ = bottomPhysical;
  topSample_ = topSample;
  bottomSample_ = bottomSample;
  calibrationOn_ = calibrationOn;
  unsignedData_ = unsignedData;
}

void FynRawCal::Line(double* slope, double* offset) const {
  const double xt = Position(topSample_);
  const double xb = Position(bottomSample_);
  if (calibrationOn_ == 1 && xt != xb) {
    *slope = (topPhysical_ - bottomPhysical_) / (xt - xb);
    *offset = bottomPhysical_ - *slope * xb;
  } else {
    *slope = fullScale_ / 32768.0;
    *offset = -fullScale_;
  }
}

void FynRawCal::CalcCalFloat(float* out, const std::uint16_t* in, std::int16_t invert) const {
  double slope = 0.0;
  double offset = 0.0;
  Line(&slope, &offset);
  const float value = static_cast<float>(offset + slope * Position(*in));
  *out = (invert & 0xFFFF) != 0 ? -value : value;
}

// ---- FynFileAccessRaw ----

FynFileAccessRaw::FynFileAccessRaw() = default;
FynFileAccessRaw::FynFileAccessRaw(const char* path) : FynFileAccess(path) {}
FynFileAccessRaw::~FynFileAccessRaw() = default;

std::int16_t FynFileAccessRaw::GetGroup1ParamRaw(_FynRawG1Param* param) {
  const std::int16_t kind = CheckKind(kFynTypeRaw);
  if (kind != kFynOk) return kind;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  const std::int16_t status = ReadGroup(file, 0, &group);
  if (status != kFynOk) return status;
  ByteReader r(group);
  r.Skip(4);
  const std::uint16_t units = r.U16();
  _FynRawG1Param v = *param;
  if (units >= 1) {
    fyn::G1Unit1 u1;
    if (!fyn::ParseG1Unit1(r.Item(fyn::kG1Unit1Bytes), &u1)) return Damaged();
    v.dataType = u1.dataType;
    v.channels = u1.channels;
    v.dataCount = u1.dataCount;
    v.samplingHz = u1.samplingHz;
    v.wordA = u1.wordA;
    v.wordB = u1.wordB;
  }
  if (units >= 2) {
    // Stored as 20 or 22 bytes depending on the writer; both hold the same fields.
    ByteReader u2 = r.Item(20);
    u2.Skip(4);
    v.startTimeFlag = u2.U16();
    v.year = u2.U16();
    v.month = u2.U16();
    v.day = u2.U16();
    v.hour = u2.U16();
    v.minute = u2.U16();
    v.second = u2.U16();
    v.millisecond = u2.U16();
    if (!u2.ok()) return Damaged();
  }
  if (units >= 3) {
    ByteReader u3 = r.Item(fyn::kG1Unit3Bytes);
    u3.Skip(4);
    v.wordC = u3.U16();
    v.wordD = u3.U16();
    v.valueE = u3.U32();
    v.wordF = u3.U16();
    if (!u3.ok()) return Damaged();
  }
  if (!r.ok()) return Damaged();
  *param = v;
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetGroup1_channels(std::int16_t& channels) {
  _FynRawG1Param p;
  const std::int16_t status = GetGroup1ParamRaw(&p);
  if (status == kFynOk) channels = static_cast<std::int16_t>(p.channels);
  return status;
}

std::int16_t FynFileAccessRaw::GetGroup1_DataCount(std::uint32_t& dataCount) {
  _FynRawG1Param p;
  const std::int16_t status = GetGroup1ParamRaw(&p);
  if (status == kFynOk) dataCount = p.dataCount;
  return status;
}

std::int16_t FynFileAccessRaw::GetGroup1_DataType(std::int16_t& dataType) {
  _FynRawG1Param p;
  const std::int16_t status = GetGroup1ParamRaw(&p);
  if (status == kFynOk) dataType = static_cast<std::int16_t>(p.dataType);
  return status;
}

std::int16_t FynFileAccessRaw::GetGroup2ParamRaw(int channel, _FynRawG2Param* param) {
  return ReadRawChannelParam(channel, param);
}

std::int16_t FynFileAccessRaw::ReadAllGroup2(int channels, std::vector<_FynRawG2Param>* params) {
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  const std::int16_t status = ReadGroup(file, 1, &group);
  if (status != kFynOk) return status;
  switch (fyn::ParseRawG2All(group, channels, params)) {
    case fyn::Parse::Ok:
      return kFynOk;
    case fyn::Parse::OutOfRange:
      return kFynError;
    case fyn::Parse::Damaged:
      break;
  }
  return Damaged();
}

// The three fields GetGroup1_channels, _DataCount and _DataType give, from one read of group 1
// (either version's record).
template <class Group1, class Reader, class ShapeOut>
std::int16_t ShapeOfGroup1(Reader& reader, ShapeOut* shape) {
  Group1 p;
  const std::int16_t status = reader.GetGroup1ParamRaw(&p);
  if (status != kFynOk) return status;
  shape->channels = static_cast<std::int16_t>(p.channels);
  shape->dataCount = p.dataCount;
  shape->dataType = static_cast<std::int16_t>(p.dataType);
  return kFynOk;
}

std::int16_t FynFileAccessRaw::ReadGroup1Shape(Shape* shape) {
  return ShapeOfGroup1<_FynRawG1Param>(*this, shape);
}

std::int16_t FynFileAccessRaw::ReadShape(Shape* shape) {
  const std::int16_t status = ReadGroup1Shape(shape);
  if (status != kFynOk) return status;
  const int dataIndex = DataGroupIndex();
  if (dataIndex < 0) return kFynError;
  // The data group follows the two parameter groups, and must hold every sample it claims.
  if (dataIndex < 2 || !HasGroup(dataIndex)) return Damaged();
  if (shape->channels <= 0 || shape->dataCount == 0) return Damaged();
  const std::uint64_t words = std::uint64_t{static_cast<std::uint16_t>(shape->channels)} * shape->dataCount;
  if (GroupLength(dataIndex) < 4 + 2 * words) return Damaged();
  shape->dataStart = GroupStart(dataIndex) + 4;
  return kFynOk;
}

FynRawCal FynFileAccessRaw::CalibrationOf(int channel, const _FynRawG2Param& param,
                                          std::int16_t dataType) const {
  if (calMode_ != 0 && channel < static_cast<int>(calTable_.size())) {
    const _FynRawCALEntry& e = calTable_[static_cast<std::size_t>(channel)];
    return FynRawCal(e.fullScale, e.calTopPhysical, e.calBottomPhysical, e.calTopSample,
                     e.calBottomSample, static_cast<std::int16_t>(e.calFlag), dataType);
  }
  return FynRawCal(param.fullScale, param.calTopPhysical, param.calBottomPhysical, param.calTopSample,
                   param.calBottomSample, static_cast<std::int16_t>(param.calFlag), dataType);
}

std::int16_t FynFileAccessRaw::ReadFrames(FynFile& file, const Shape& shape, std::uint64_t first,
                                          std::size_t frames, std::vector<unsigned char>* bytes) {
  const std::size_t frameBytes = 2 * static_cast<std::size_t>(shape.channels);
  const std::size_t length = frames * frameBytes;
  if (bytes->size() < length) {
    try {
      bytes->resize(length);
    } catch (const std::bad_alloc&) {
      errType_ = -2;
      errCode_ = 1;
      return kFynError;
    }
  }
  if (!file.ReadAt(shape.dataStart + first * frameBytes, bytes->data(), length)) return IoFail(file);
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetRawDataWORD(std::int16_t channel, std::uint32_t first,
                                              std::uint32_t last, std::uint16_t* out) {
  Shape shape;
  const std::int16_t status = ReadShape(&shape);
  if (status != kFynOk) return status;
  if (channel < 0 || channel >= shape.channels) return kFynError;
  last = std::min(last, shape.dataCount - 1);
  if (first > last) return kFynOk;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> bytes;
  const std::size_t c = static_cast<std::size_t>(shape.channels);
  for (std::uint64_t s = first; s <= last; s += kChunkFrames) {
    const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkFrames, last - s + 1));
    if (ReadFrames(file, shape, s, frames, &bytes) != kFynOk) return kFynError;
    std::uint16_t* dst = out + (s - first);
    for (std::size_t f = 0; f < frames; ++f) dst[f] = WordAt(&bytes[2 * (f * c + static_cast<std::size_t>(channel))]);
  }
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetRawDataFloat(std::int16_t channel, std::uint32_t first,
                                               std::uint32_t last, float* out, std::int16_t invert) {
  Shape shape;
  std::int16_t status = ReadShape(&shape);
  if (status != kFynOk) return status;
  if (channel < 0 || channel >= shape.channels) return kFynError;
  _FynRawG2Param param;
  status = GetGroup2ParamRaw(channel, &param);
  if (status != kFynOk) return status;
  const FynRawCal cal = CalibrationOf(channel, param, shape.dataType);
  double slope = 0.0;
  double offset = 0.0;
  cal.Line(&slope, &offset);
  if (invert != 0) {
    slope = -slope;
    offset = -offset;
  }
  const std::uint16_t flip = shape.dataType != 0 ? 0 : 0x8000;
  last = std::min(last, shape.dataCount - 1);
  if (first > last) return kFynOk;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> bytes;
  const std::size_t c = static_cast<std::size_t>(shape.channels);
  for (std::uint64_t s = first; s <= last; s += kChunkFrames) {
    const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkFrames, last - s + 1));
    if (ReadFrames(file, shape, s, frames, &bytes) != kFynOk) return kFynError;
    float* dst = out + (s - first);
    for (std::size_t f = 0; f < frames; ++f) {
      const std::uint16_t w = WordAt(&bytes[2 * (f * c + static_cast<std::size_t>(channel))]);
      dst[f] = static_cast<float>(offset + slope * static_cast<std::uint16_t>(w ^ flip));
    }
  }
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetRawDataWORDAll(std::uint32_t first, std::uint32_t last,
                                                 std::uint16_t* out) {
  Shape shape;
  const std::int16_t status = ReadShape(&shape);
  if (status != kFynOk) return status;
  if (first > last) return kFynOk;
  const std::uint64_t span = std::uint64_t{last} - first + 1;
  last = std::min(last, shape.dataCount - 1);
  if (first > last) return kFynOk;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> bytes;
  const std::size_t c = static_cast<std::size_t>(shape.channels);
  for (std::uint64_t s = first; s <= last; s += kChunkFrames) {
    const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkFrames, last - s + 1));
    if (ReadFrames(file, shape, s, frames, &bytes) != kFynOk) return kFynError;
    for (std::size_t k = 0; k < c; ++k) {
      std::uint16_t* dst = out + k * span + (s - first);
      const unsigned char* src = &bytes[2 * k];
      for (std::size_t f = 0; f < frames; ++f) dst[f] = WordAt(src + 2 * f * c);
    }
  }
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetRawDataFloatAll(std::uint32_t first, std::uint32_t last, float* out,
                                                  const std::int16_t* invert) {
  Shape shape;
  std::int16_t status = ReadShape(&shape);
  if (status != kFynOk) return status;
  const std::size_t c = static_cast<std::size_t>(shape.channels);
  std::vector<_FynRawG2Param> params;
  if (calMode_ == 0 || calTable_.size() < c) {
    status = ReadAllGroup2(static_cast<int>(c), &params);
    if (status != kFynOk) return status;
  } else {
    params.resize(c);
  }
  std::vector<double> slopes(c);
  std::vector<double> offsets(c);
  std::vector<char> exact(c);
  for (std::size_t k = 0; k < c; ++k) {
    CalibrationOf(static_cast<int>(k), params[k], shape.dataType).Line(&slopes[k], &offsets[k]);
    if (invert && invert[k] != 0) {
      slopes[k] = -slopes[k];
      offsets[k] = -offsets[k];
    }
    exact[k] = ExactInFloat(slopes[k], offsets[k]) ? 1 : 0;
  }
  if (first > last) return kFynOk;
  const std::uint64_t span = std::uint64_t{last} - first + 1;
  last = std::min(last, shape.dataCount - 1);
  if (first > last) return kFynOk;
  const std::uint16_t flip = shape.dataType != 0 ? 0 : 0x8000;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  const std::size_t frameBytes = 2 * c;
  const std::size_t chunk = static_cast<std::size_t>(
      std::min<std::uint64_t>(last - first + 1, std::max<std::size_t>(8, kAllChunkBytes / frameBytes / 8 * 8)));
  // Every byte of the buffer is read before it is used: no need to clear it.
  std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[chunk * frameBytes]);
  if (!bytes) {
    errType_ = -2;
    errCode_ = 1;
    return kFynError;
  }
  for (std::uint64_t s = first; s <= last; s += chunk) {
    const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, last - s + 1));
    if (!file.ReadAt(shape.dataStart + s * frameBytes, bytes.get(), frames * frameBytes)) return IoFail(file);
    ConvertFrames(bytes.get(), frames, c, slopes.data(), offsets.data(), exact.data(), flip, out + (s - first),
                  static_cast<std::size_t>(span));
  }
  return kFynOk;
}

int FynFileAccessRaw::SetCalInfo(_FynRawCALParam calibration) {
  std::int16_t channels = 0;
  const std::int16_t status = GetGroup1_channels(channels);
  if (status != kFynOk) return status;
  calTable_.clear();
  calMode_ = 0;
  if (channels < 0 || (channels > 0 && calibration.entries == nullptr)) return kFynError;
  try {
    calTable_.assign(calibration.entries, calibration.entries + channels);
  } catch (const std::bad_alloc&) {
    return kFynError;
  }
  calModeWord_ = calibration.mode;
  calMode_ = 1;
  return kFynOk;
}

// ---- events ----

std::int16_t FynFileAccessRaw::OpenEvents(FynFile& file, EventLayout* layout) {
  const std::int16_t kind = CheckKind(kFynTypeRaw);
  if (kind != kFynOk) return kind;
  const std::int16_t flag = GetEventFlg();
  if (flag < 0) return kFynError;
  if (flag == 0) return kFynNoEvent;
  if (!OpenRead(file)) return kFynError;
  return ReadEventLayout(file, layout);
}

std::int16_t FynFileAccessRaw::ReadEventLayout(FynFile& file, EventLayout* layout) {
  const int index = GetGroupCnt() - 1;
  // The event group follows group 1, group 2 and the data group.
  if (index < 3 || !HasGroup(index)) return Damaged();
  const std::uint64_t start = GroupStart(index);
  const std::uint64_t length = GroupLength(index);
  unsigned char head[12];
  if (length < sizeof head) return Damaged();
  if (!file.ReadAt(start, head, sizeof head)) return IoFail(file);
  ByteReader r(head);
  r.Skip(6);
  const std::uint32_t unit1Length = r.U32();
  const std::uint16_t typeCount = r.U16();
  if (unit1Length < 6 || 6 + std::uint64_t{unit1Length} + 8 > length) return Damaged();
  unsigned char unit2[8];
  const std::uint64_t unit2Start = start + 6 + unit1Length;
  if (!file.ReadAt(unit2Start, unit2, sizeof unit2)) return IoFail(file);
  ByteReader u2(unit2);
  const std::uint32_t unit2Length = u2.U32();
  const std::uint32_t count = u2.U32();
  // The unit must lie inside the group and hold every 6-byte event it counts.
  if (unit2Length < 8 || unit2Start + unit2Length > start + length ||
      (std::uint64_t{unit2Length} - 8) / 6 < count) {
    return Damaged();
  }
  layout->unit1Start = start + 6;
  layout->unit1Length = unit1Length;
  layout->recordsStart = unit2Start + 8;
  layout->count = count;
  layout->typeCount = typeCount;
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetEventTypeCount() {
  FynFile file;
  EventLayout layout;
  const std::int16_t status = OpenEvents(file, &layout);
  if (status != kFynOk) return status;
  return static_cast<std::int16_t>(std::min<std::uint16_t>(layout.typeCount, 0x7FFF));
}

std::int16_t FynFileAccessRaw::GetEventCount(std::uint32_t* count) {
  FynFile file;
  EventLayout layout;
  const std::int16_t status = OpenEvents(file, &layout);
  if (status != kFynOk) return status;
  *count = layout.count;
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetEventName(int type, std::string* name) {
  FynFile file;
  EventLayout layout;
  const std::int16_t status = OpenEvents(file, &layout);
  if (status != kFynOk) return status;
  if (type < 0 || type >= layout.typeCount) return kFynNoEvent;
  std::vector<unsigned char> unit;
  try {
    unit.resize(static_cast<std::size_t>(layout.unit1Length));
  } catch (const std::bad_alloc&) {
    return NoMemory(layout.unit1Length);
  }
  if (!file.ReadAt(layout.unit1Start, unit.data(), unit.size())) return IoFail(file);
  ByteReader r(unit);
  r.Skip(6);
  for (int i = 0; i < type; ++i) r.Text();
  const auto text = r.Text();
  if (!r.ok()) return Damaged();
  *name = fyn::DecodeFileText(text, kEventNameCapacity);
  return kFynOk;
}

std::int16_t FynFileAccessRaw::GetEventPosInfo(int index, std::int16_t* type, std::uint32_t* position) {
  FynFile file;
  EventLayout layout;
  const std::int16_t status = OpenEvents(file, &layout);
  if (status != kFynOk) return status;
  if (index < 0 || static_cast<std::uint32_t>(index) >= layout.count) return kFynNoEvent;
  unsigned char record[6];
  if (!file.ReadAt(layout.recordsStart + 6 * std::uint64_t(index), record, sizeof record)) return IoFail(file);
  ByteReader r(record);
  *type = static_cast<std::int16_t>(r.U16());
  *position = r.U32();
  return kFynOk;
}

// ---- FynFileAccessRaw1_1 ----

FynFileAccessRaw1_1::FynFileAccessRaw1_1() = default;
FynFileAccessRaw1_1::FynFileAccessRaw1_1(const char* path) : FynFileAccessRaw(path) {}
FynFileAccessRaw1_1::~FynFileAccessRaw1_1() = default;

std::int16_t FynFileAccessRaw1_1::GetGroup1ParamRaw(_FynRawG1Param1_1* param) {
  const std::int16_t kind = CheckKind(kFynTypeRaw);
  if (kind != kFynOk) return kind;
  FynFile file;
  if (!OpenRead(file)) return kFynError;
  std::vector<unsigned char> group;
  const std::int16_t status = ReadGroup(file, 0, &group);
  if (status != kFynOk) return status;
  ByteReader r(group);
  r.Skip(6);
  fyn::G1Unit1 u1;
  if (!fyn::ParseG1Unit1(r.Item(fyn::kG1Unit1Bytes), &u1)) return Damaged();
  ByteReader u2 = r.Item(20);
  ByteReader u3 = r.Item(fyn::kG1Unit3Bytes);
  if (!r.ok()) return Damaged();
  _FynRawG1Param1_1 v;
  v.dataType = u1.dataType;
  v.channels = u1.channels;
  v.dataCount = u1.dataCount;
  v.samplingHz = u1.samplingHz;
  v.wordA = u1.wordA;
  v.wordB = u1.wordB;
  u2.Skip(4);
  v.startTimeFlag = u2.U16();
  v.year = u2.U16();
  v.month = u2.U16();
  v.day = u2.U16();
  v.hour = u2.U16();
  v.minute = u2.U16();
  v.second = u2.U16();
  v.millisecond = u2.U16();
  u3.Skip(4);
  v.wordC = u3.U16();
  v.wordD = u3.U16();
  v.valueE = u3.U32();
  v.wordF = u3.U16();
  if (!u2.ok() || !u3.ok()) return Damaged();
  *param = v;
  return kFynOk;
}

std::int16_t FynFileAccessRaw1_1::ReadGroup1Shape(Shape* shape) {
  return ShapeOfGroup1<_FynRawG1Param1_1>(*this, shape);
}

std::int16_t FynFileAccessRaw1_1::GetGroup1_channels(std::int16_t& channels) {
  _FynRawG1Param1_1 p;
  const std::int16_t status = GetGroup1ParamRaw(&p);
  if (status == kFynOk) channels = static_cast<std::int16_t>(p.channels);
  return status;
}

std::int16_t FynFileAccessRaw1_1::GetGroup1_DataCount(std::uint32_t& dataCount) {
  _FynRawG1Param1_1 p;
  const std::int16_t status = GetGroup1ParamRaw(&p);
  if (status == kFynOk) dataCount = p.dataCount;
  return status;
}

std::int16_t FynFileAccessRaw1_1::GetGroup1_DataType(std::int16_t& dataType) {
  _FynRawG1Param1_1 p;
  const std::int16_t status = GetGroup1ParamRaw(&p);
  if (status == kFynOk) dataType = static_cast<std::int16_t>(p.dataType);
  return status;
}
