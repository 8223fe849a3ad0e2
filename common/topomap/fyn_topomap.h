#pragma once
// Fyn_Set7x7GridData: the topographic map of the 19 electrodes of the 10-20 system. It
// computes one value per electrode (from a recorded channel, a compiled formula or a fixed
// number), spreads them over a 7 x 7 grid of the head, interpolates every grid cell into
// 8 x 8 points (a 48 x 48 image), maps the image to palette indexes and draws it stretched
// into a rectangle, clipped to the inscribed ellipse.
//
// Electrodes are numbered 1 to 19: Fp1 Fp2 F3 F4 C3 C4 P3 P4 O1 O2 F7 F8 T3 T4 T5 T6 Fz Cz Pz.
// Index e (0 to 18) of every per-electrode table is electrode e + 1.
//
// Compiled formulas are reverse Polish, one byte a token:
//   '*' '+' '-' '/' '^'  pop b, pop a, push a op b ('^' is a to the power b)
//   96..127             the channel data value of channel (byte - 96)
//   128..146            the computed value of electrode (byte - 127)
//   147..255            constant (byte - 147) of the electrode's constant array
#include <array>
#include <cstdint>
#include <vector>

#include "platform/draw/gdi.h"

namespace draw {
class Dc;
class Image;
}
namespace ui {
class Window;
}

namespace fyn_topo {
inline constexpr int kElectrodes = 19;
inline constexpr int kImageSide = 48;                 // 6 cells of 8 points
inline constexpr int kImageRoom = 4096;               // room for 64 x 64 values
inline constexpr int kStackDepth = 49;                // values the formula evaluation holds
inline constexpr int kFirstChannelCode = 96;
inline constexpr int kFirstElectrodeCode = 128;
inline constexpr int kFirstConstantCode = 147;
inline constexpr int kMaxChannelRefs = kFirstElectrodeCode - kFirstChannelCode;  // 32 channels
inline constexpr int kMaxConstants = 256 - kFirstConstantCode;                   // 109 constants
// Data types of an electrode.
inline constexpr int kTypeChannel = 0;
inline constexpr int kTypeFormula = -1;
inline constexpr int kTypeNumber = -2;  // any value other than 0 and -1 is a fixed number
// Results of the formula evaluation.
inline constexpr int kEvalOk = 0;
inline constexpr int kEvalDivideByZero = -1;
inline constexpr int kEvalPowerDomain = -2;
inline constexpr int kEvalPowerRange = -3;
inline constexpr int kEvalNotComputed = -4;
inline constexpr int kEvalBadFormula = -5;  // a token the evaluation cannot take (stack, code)
// Electrode names in number order.
extern const std::array<const char*, kElectrodes> kElectrodeNames;
}  // namespace fyn_topo

class Fyn_Set7x7GridData {
 public:
  Fyn_Set7x7GridData();
  virtual ~Fyn_Set7x7GridData() = default;
  Fyn_Set7x7GridData(const Fyn_Set7x7GridData&) = default;
  Fyn_Set7x7GridData& operator=(const Fyn_Set7x7GridData&) = default;

  // Keeps the caller's tables (not owned; each of 19 entries, channelData one value per
  // channel), clears the computed marks, sets draw mode 0 and no parent window. Returns 0.
  int Init(std::vector<float>* constants, int* dataTypes, int* channels, float* values,
           std::vector<std::uint8_t>* formulas, float* channelData);
  void SetParentWindow(ui::Window* parent) { parent_ = parent; }
  // 0 clips the drawing to the ellipse inscribed in the target rectangle; other values fill it.
  void SetDrawMode(unsigned int mode) { drawMode_ = mode; }

  // Computes the electrode values and fills the 48 x 48 image. Returns 0 (-1 before Init).
  int Create();
  // The largest of the 19 electrode values.
  float GetMaxData() const;

  // Converts all 4,096 image values into palette indexes 0 .. colours - 1 in indexes (room
  // for 4,096): (value - min) / ((max - min) / colours), truncated and kept in range. A flat range (max equal to min) gives 0 for values up to min and
  // colours - 1 above; a colour count of 0 gives all indexes 0.
  void SetPaletteNum(float min, float max, unsigned int colours, short* indexes) const;
  // Draws the 48 x 48 indexes (room for 2,304) of the palette (null: a grey ramp) stretched
  // into the rectangle of the device context.
  void ShowStretch(int x, int y, int width, int height, draw::Dc* dc, const std::vector<draw::ColorRef>* palette,
                   const short* indexes) const;

  // Device-independent bitmap helpers for printing. DDBToDIB packs the image (header, colour
  // table of the palette or the default one, rows at 8 bits) into packed; 1 done, 0 not.
  static int DDBToDIB(const draw::Image& bitmap, const std::vector<draw::ColorRef>* palette,
                      std::vector<std::uint8_t>* packed);
  // The palette of a packed bitmap's colour table; 1 done, 0 when it has none or is damaged.
  static int CreateDIBPalette(const std::vector<std::uint8_t>& packed, std::vector<draw::ColorRef>* palette);
  // Colour-table entries of a packed bitmap header (40 bytes at header); 0 for 24 bits.
  static int GetColorCount(const std::uint8_t* header);

  // Evaluates the compiled formula of electrode index e into *result; a fyn_topo::kEval* code.
  int CaluculatePolish(int e, float* result) const;

  // Read access for callers that show the values.
  const float* Image() const { return image_.data(); }
  float ImageAt(int row, int column) const { return image_[row * fyn_topo::kImageSide + column]; }
  float ElectrodeValue(int e) const { return values19_[e]; }
  bool IsComputed(int e) const { return computed_[e] == 1; }
  // Weight of point (row a, column i) of a cell for the distance to corner 0 TL, 1 TR,
  // 2 BL, 3 BR.
  float Weight(int a, int i, int corner) const { return weights_[(a * 8 + i) * 4 + corner]; }

 private:
  void SetWP();
  void Set19Data();
  void Set8x8inAGrid(int row, int column);

  ui::Window* parent_ = nullptr;
  unsigned int drawMode_ = 0;
  std::vector<float> image_;
  std::vector<float> weights_;
  float tl_ = 0, tr_ = 0, bl_ = 0, br_ = 0;
  int writePos_ = 0;
  std::array<float, fyn_topo::kElectrodes> values19_{};
  std::array<int, fyn_topo::kElectrodes> computed_{};
  std::vector<float>* constants_ = nullptr;
  std::vector<std::uint8_t>* formulas_ = nullptr;
  int* dataTypes_ = nullptr;
  int* channels_ = nullptr;
  float* fixedValues_ = nullptr;
  float* channelData_ = nullptr;
};
