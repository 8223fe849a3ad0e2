#include "common/topomap/fyn_topomap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/draw/dc.h"
#include "platform/draw/image.h"

namespace fyn_topo {
const std::array<const char*, kElectrodes> kElectrodeNames = {"Fp1", "Fp2", "F3", "F4", "C3", "C4", "P3",
                                                              "P4",  "O1",  "O2", "F7", "F8", "T3", "T4",
                                                              "T5",  "T6",  "Fz", "Cz", "Pz"};
}  // namespace fyn_topo

using namespace fyn_topo;

namespace {
enum Electrode { Fp1, Fp2, F3, F4, C3, C4, P3, P4, O1, O2, F7, F8, T3, T4, T5, T6, Fz, Cz, Pz };
constexpr int kCellPoints = 8;
constexpr int kGridSide = 7;
constexpr float kSincScale = 0.32861846685409546f;

// x continued beyond y by half their distance.
float Beyond(float x, float y) { return x - (y - x) / 2.0f; }

// 4-byte little-endian field of a packed bitmap.
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void PutU32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}
void PutU16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::vector<draw::ColorRef> GreyRamp() {
  std::vector<draw::ColorRef> ramp(256);
  for (int k = 0; k < 256; ++k) ramp[k] = draw::Rgb(k, k, k);
  return ramp;
}
}  // namespace

Fyn_Set7x7GridData::Fyn_Set7x7GridData() : image_(kImageRoom, 0.0f), weights_(kCellPoints * kCellPoints * 4, 0.0f) {
  SetWP();
}

void Fyn_Set7x7GridData::SetWP() {
  for (int a = 0; a < kCellPoints; ++a) {
    for (int i = 0; i < kCellPoints; ++i) {
      const float fa = static_cast<float>(a), fi = static_cast<float>(i);
      const float ra = static_cast<float>(7 - a), ri = static_cast<float>(7 - i);
      const float d[4] = {std::sqrt(fa * fa + fi * fi), std::sqrt(fa * fa + ri * ri), std::sqrt(ra * ra + fi * fi),
                          std::sqrt(ra * ra + ri * ri)};
      float w[4];
      float sum = 0.0f;
      for (int c = 0; c < 4; ++c) {
        if (d[c] == 0.0f) {
          w[c] = 1.0f;
        } else {
          const float kd = kSincScale * d[c];
          w[c] = std::max(0.0f, std::sin(kd) / kd);
        }
        if (w[c] != 0.0f) sum += 1.0f / w[c];
      }
      for (int c = 0; c < 4; ++c) weights_[(a * kCellPoints + i) * 4 + c] = w[c] != 0.0f ? 1.0f / (sum * w[c]) : 0.0f;
    }
  }
}

int Fyn_Set7x7GridData::Init(std::vector<float>* constants, int* dataTypes, int* channels, float* values,
                             std::vector<std::uint8_t>* formulas, float* channelData) {
  constants_ = constants;
  dataTypes_ = dataTypes;
  channels_ = channels;
  fixedValues_ = values;
  formulas_ = formulas;
  channelData_ = channelData;
  computed_.fill(0);
  drawMode_ = 0;
  parent_ = nullptr;
  return 0;
}

int Fyn_Set7x7GridData::CaluculatePolish(int e, float* result) const {
  if (e < 0 || e >= kElectrodes || formulas_ == nullptr || result == nullptr) return kEvalBadFormula;
  const std::vector<std::uint8_t>& code = formulas_[e];
  const std::vector<float>* constants = constants_ != nullptr ? &constants_[e] : nullptr;
  float stack[kStackDepth];
  int depth = 0;
  for (std::uint8_t token : code) {
    if (token == '*' || token == '+' || token == '-' || token == '/' || token == '^') {
      if (depth < 2) return kEvalBadFormula;
      const float b = stack[--depth];
      const float a = stack[depth - 1];
      float r = 0.0f;
      switch (token) {
        case '*': r = a * b; break;
        case '+': r = a + b; break;
        case '-': r = a - b; break;
        case '/':
          if (b == 0.0f) return kEvalDivideByZero;
          r = a / b;
          break;
        default: {
          const double p = std::pow(static_cast<double>(a), static_cast<double>(b));
          if (std::isnan(p)) return kEvalPowerDomain;
          if (std::isinf(p) || std::fabs(p) > std::numeric_limits<float>::max()) return kEvalPowerRange;
          r = static_cast<float>(p);
          break;
        }
      }
      stack[depth - 1] = r;
      continue;
    }
    float v = 0.0f;
    if (token >= kFirstChannelCode && token < kFirstElectrodeCode) {
      if (channelData_ == nullptr) return kEvalBadFormula;
      v = channelData_[token - kFirstChannelCode];
    } else if (token >= kFirstElectrodeCode && token < kFirstConstantCode) {
      const int ref = token - kFirstElectrodeCode;
      if (computed_[ref] != 1) return kEvalNotComputed;
      v = values19_[ref];
    } else if (token >= kFirstConstantCode) {
      const std::size_t pos = token - kFirstConstantCode;
      if (constants == nullptr || pos >= constants->size()) return kEvalBadFormula;
      v = (*constants)[pos];
    } else {
      return kEvalBadFormula;
    }
    if (depth >= kStackDepth) return kEvalBadFormula;
    stack[depth++] = v;
  }
  if (depth == 0) return kEvalBadFormula;
  *result = stack[depth - 1];
  return kEvalOk;
}

void Fyn_Set7x7GridData::Set19Data() {
  // Each computation starts afresh: a mark left from the previous one would let a formula
  // read an electrode value of the previous channel data.
  computed_.fill(0);
  for (int e = 0; e < kElectrodes; ++e) {
    float v = 0.0f;
    if (dataTypes_[e] == kTypeChannel) {
      if (channels_[e] < 0) continue;  // no channel: the electrode stays without a value
      values19_[e] = channelData_[channels_[e]];
      computed_[e] = 1;
    } else if (dataTypes_[e] == kTypeFormula) {
      if (CaluculatePolish(e, &v) == kEvalOk) {
        values19_[e] = v;
        computed_[e] = 1;
      }
    } else {
      values19_[e] = fixedValues_[e];
      computed_[e] = 1;
    }
  }
  for (bool marked = true; marked;) {
    marked = false;
    for (int e = 0; e < kElectrodes; ++e) {
      if (computed_[e] == 1 || dataTypes_[e] != kTypeFormula) continue;
      float v = 0.0f;
      if (CaluculatePolish(e, &v) == kEvalOk) {
        values19_[e] = v;
        computed_[e] = 1;
        marked = true;
      }
    }
  }
}

void Fyn_Set7x7GridData::Set8x8inAGrid(int row, int column) {
  const float corners[4] = {tl_, tr_, bl_, br_};
  for (int a = 0; a < kCellPoints; ++a) {
    writePos_ = (row * kCellPoints + a) * kImageSide + column * kCellPoints;
    for (int i = 0; i < kCellPoints; ++i) {
      const float* w = &weights_[(a * kCellPoints + i) * 4];
      // Each corner is weighted by the point's distance to the opposite corner.
      const float termWeights[4] = {w[3], w[2], w[1], w[0]};
      float v = 0.0f;
      for (int t = 0; t < 4; ++t) {
        if (termWeights[t] == 0.0f) {
          v = corners[t];
          break;
        }
        v += corners[t] * termWeights[t];
      }
      image_[writePos_++] = v;
    }
  }
}

int Fyn_Set7x7GridData::Create() {
  if (dataTypes_ == nullptr || channels_ == nullptr || fixedValues_ == nullptr || channelData_ == nullptr) return -1;
  std::fill(image_.begin(), image_.end(), 0.0f);
  Set19Data();
  const auto& v = values19_;
  const float a1 = (v[F7] + v[Fp1]) / 2.0f, a2 = (v[F8] + v[Fp2]) / 2.0f, m0 = (v[Fp1] + v[Fp2]) / 2.0f;
  const float b1 = (v[T5] + v[O1]) / 2.0f, b2 = (v[T6] + v[O2]) / 2.0f, m6 = (v[O1] + v[O2]) / 2.0f;
  const float grid[kGridSide][kGridSide] = {
      {a1 / 2, a1 / 2, Beyond(v[Fp1], v[F3]), Beyond(m0, v[Fz]), Beyond(v[Fp2], v[F4]), a2 / 2, a2 / 2},
      {a1 / 2, a1, v[Fp1], m0, v[Fp2], a2, a2 / 2},
      {Beyond(v[F7], v[F3]), v[F7], v[F3], v[Fz], v[F4], v[F8], Beyond(v[F8], v[F4])},
      {Beyond(v[T3], v[C3]), v[T3], v[C3], v[Cz], v[C4], v[T4], Beyond(v[T4], v[C4])},
      {Beyond(v[T5], v[P3]), v[T5], v[P3], v[Pz], v[P4], v[T6], Beyond(v[T6], v[P4])},
      {b1 / 2, b1, v[O1], m6, v[O2], b2, b2 / 2},
      {b1 / 2, b1 / 2, Beyond(v[O1], v[P3]), Beyond(m6, v[Pz]), Beyond(v[O2], v[P4]), b2 / 2, b2 / 2},
  };
  for (int r = 0; r < kGridSide - 1; ++r) {
    for (int c = 0; c < kGridSide - 1; ++c) {
      tl_ = grid[r][c];
      tr_ = grid[r][c + 1];
      bl_ = grid[r + 1][c];
      br_ = grid[r + 1][c + 1];
      Set8x8inAGrid(r, c);
    }
  }
  return 0;
}

float Fyn_Set7x7GridData::GetMaxData() const { return *std::max_element(values19_.begin(), values19_.end()); }

void Fyn_Set7x7GridData::SetPaletteNum(float min, float max, unsigned int colours, short* indexes) const {
  if (indexes == nullptr) return;
  if (colours == 0) {
    std::fill(indexes, indexes + kImageRoom, static_cast<short>(0));
    return;
  }
  const float top = static_cast<float>(std::min<unsigned int>(colours - 1, 32767));
  const float step = (max - min) / static_cast<float>(colours);
  for (int k = 0; k < kImageRoom; ++k) {
    const float v = image_[k];
    float index = 0.0f;
    if (step != 0.0f) {
      index = std::trunc((v - min) / step);
      if (!(index > 0.0f)) index = 0.0f;  // negative or not a number
      if (index > top) index = top;
    }
    indexes[k] = static_cast<short>(index);
  }
}

void Fyn_Set7x7GridData::ShowStretch(int x, int y, int width, int height, draw::Dc* dc,
                                     const std::vector<draw::ColorRef>* palette, const short* indexes) const {
  if (dc == nullptr || indexes == nullptr) return;
  const bool printer = dc->IsPrinting();
  std::vector<draw::ColorRef> colours = palette != nullptr && !palette->empty() ? *palette : GreyRamp();
  if (printer && colours.size() > 144) colours.resize(144);
  if (colours.size() > 256) colours.resize(256);

  draw::Image bitmap(kImageSide, kImageSide, 8);
  bitmap.SetPalette(colours);
  const int last = static_cast<int>(colours.size()) - 1;
  for (int i = 0; i < kImageSide; ++i) {
    for (int j = 0; j < kImageSide; ++j) bitmap.SetPixelIndex(j, i, std::clamp<int>(indexes[kImageSide * i + j], 0, last));
  }

  const int saved = dc->SaveDC();
  const draw::Rect target{x, y, x + width, y + height};
  if (drawMode_ == 0) {
    draw::Point corners[2] = {{target.left, target.top}, {target.right, target.bottom}};
    dc->LPtoDP(corners, 2);
    dc->SelectClipRgn(draw::Region::FromEllipse({corners[0].x, corners[0].y, corners[1].x, corners[1].y}));
  }
  dc->SelectPalette(colours);
  dc->RealizePalette();
  dc->SetStretchBltMode(printer ? draw::HALFTONE : draw::COLORONCOLOR);
  dc->DrawImage(target, bitmap, {0, 0, kImageSide, kImageSide}, draw::SRCCOPY);
  dc->SelectClipRgn(nullptr);
  dc->RestoreDC(saved);
}

int Fyn_Set7x7GridData::DDBToDIB(const draw::Image& bitmap, const std::vector<draw::ColorRef>* palette,
                                 std::vector<std::uint8_t>* packed) {
  if (packed == nullptr || bitmap.IsNull()) return 0;
  const std::vector<draw::ColorRef> colours =
      palette != nullptr && !palette->empty() ? std::vector<draw::ColorRef>(palette->begin(), palette->begin() +
                                                                            std::min<std::size_t>(palette->size(), 256))
                                              : GreyRamp();
  const draw::Image indexed = bitmap.ConvertTo(8, colours);
  if (indexed.IsNull()) return 0;
  const std::vector<std::uint8_t> bits = indexed.ToDibBits();
  const std::vector<std::uint8_t> table = indexed.DibColorTable();
  const std::uint32_t count = static_cast<std::uint32_t>(table.size() / 4);
  std::vector<std::uint8_t> out;
  out.reserve(40 + table.size() + bits.size());
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(indexed.Width()));
  PutU32(out, static_cast<std::uint32_t>(indexed.Height()));
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(bits.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, count);
  PutU32(out, 0);
  out.insert(out.end(), table.begin(), table.end());
  out.insert(out.end(), bits.begin(), bits.end());
  *packed = std::move(out);
  return 1;
}

int Fyn_Set7x7GridData::GetColorCount(const std::uint8_t* header) {
  if (header == nullptr) return 0;
  const std::uint32_t used = U32(header + 32);
  const int bits = header[14] | (header[15] << 8);
  if (used != 0) return static_cast<int>(std::min<std::uint32_t>(used, 256));
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

int Fyn_Set7x7GridData::CreateDIBPalette(const std::vector<std::uint8_t>& packed,
                                         std::vector<draw::ColorRef>* palette) {
  if (palette == nullptr || packed.size() < 40) return 0;
  const std::uint32_t headerSize = U32(packed.data());
  if (headerSize < 40 || headerSize > packed.size()) return 0;
  const int count = GetColorCount(packed.data());
  if (count == 0 || headerSize + static_cast<std::size_t>(count) * 4 > packed.size()) return 0;
  palette->clear();
  for (int k = 0; k < count; ++k) {
    const std::uint8_t* e = packed.data() + headerSize + 4 * k;
    palette->push_back(draw::Rgb(e[2], e[1], e[0]));
  }
  return 1;
}
