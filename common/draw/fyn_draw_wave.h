#pragma once
// FynDrawWave: draws channels of float samples as poly-lines into a rectangle of a device
// context and maps single samples to their device points.
//
// The painter owns no memory: the samples, show flags, base lines, scales, colours and the
// two column buffers all belong to the caller, who keeps them alive while the painter is
// used. A copy of a painter refers to the same buffers.
//
// Draw modes (_FynDrawWaveParam::drawMode):
//   0  every sample, in runs of 50 samples joined end to start (any unknown mode too)
//   1  automatic reduction: one [min, max] stroke per device column when the block has
//      more samples than the rectangle has columns, else mode 0
//   2  manual reduction by skipping: one point every reduceStep samples
//   3  manual reduction by peak: one point per group of reduceStep samples, the sample of
//      largest absolute value
//   4  right to left: the newest sample at the right edge
// Modes 2 and 3 fall back to mode 0 for a step of 1 or less, or above half the block.
#include <cstdint>

#include "platform/draw/gdi.h"
#include "platform/draw/geometry.h"

namespace draw {
class Dc;
}

// The draw-parameter record the caller fills; the painter copies it.
struct _FynDrawWaveParam {
  draw::Dc* dc = nullptr;
  std::int16_t chNum = 0;                 // channels in the sample block
  const std::int16_t* showFlags = nullptr;  // one per channel, non-zero = drawn
  const float* data = nullptr;            // channel-major, (last - first + 1) samples per channel
  std::uint32_t firstIndex = 0;           // recording index of the block's first sample
  std::uint32_t lastIndex = 0;            // recording index of the block's last sample
  double sampFreq = 0.0;                  // samples per second
  std::int32_t* baseLines = nullptr;      // device y of each channel's zero line
  double xScale = 0.0;                    // device units per second
  const double* yScales = nullptr;        // device units per signal unit, one per channel
  std::int16_t drawMode = 0;
  std::int16_t reduceStep = 0;            // samples per group in modes 2 and 3
  const std::uint32_t* colors = nullptr;  // 0x00BBGGRR per channel; null draws black
  // Filled by drawing when given: per device column of the rectangle (right - left + 1
  // entries) the recording index drawn there, and per channel a row of the values drawn.
  std::uint32_t* columnIndex = nullptr;
  float* columnValue = nullptr;
  draw::Rect rect;                        // left, top, right, bottom; columns left..right
};

// Bit pattern of a column-value entry that holds no value (the smallest normal float).
inline constexpr std::uint32_t kFynNoValueBits = 0x00800000u;

class FynDrawWave {
 public:
  explicit FynDrawWave(const _FynDrawWaveParam* param);
  FynDrawWave(const FynDrawWave&) = default;
  FynDrawWave& operator=(const FynDrawWave&) = default;
  virtual ~FynDrawWave();

  virtual void SetReduceParam(short mode, short step);
  virtual void SetDrawRect(const draw::Rect* rect);
  // kind 0: b is a sample count (last = a + b - 1); kind 1: b is the last index; other
  // kinds keep the last index. The two are swapped when last < first.
  virtual void SetStartEndPt(unsigned long a, unsigned long b, short kind);
  virtual void SetSampFreq(double sampFreq);
  virtual void SetChNum(short chNum);
  // Device point of a sample: x from the rectangle's left edge (the edge not added),
  // y = base line - value x scale. Returns -1 with (-1, -1) for an index outside the block
  // or a channel outside the record; channel -1 gives (x, -1); a hidden channel (-1, -1);
  // both return 0.
  virtual short GetDrawPt(int channel, unsigned long index, draw::Point* out) const;
  // Draws the shown channels, clipped to the rectangle; the device context has no clip
  // region afterwards.
  virtual void DrawWave();
  // Spreads the shown channels' base lines over height (below 1: the rectangle's height);
  // hidden channels get -1.
  virtual void AutoCalcBaseLine(int height);

  void SetLineWidth(int width) { penWidth_ = width; }
  int GetLineWidth() const { return penWidth_; }
  short GetBaselinePos(int channel, int* out) const;
  short ShownChannels() const { return shown_; }
  const _FynDrawWaveParam& Param() const { return p_; }

 protected:
  // Hands one run of points to the device context with a fresh solid pen; runs of fewer
  // than two points never get here.
  virtual void DrawRun(const draw::Point* points, int count, draw::ColorRef color);

 private:
  short CountShown();
  bool IsShown(int c) const { return p_.showFlags != nullptr && p_.showFlags[c] != 0; }
  std::uint32_t SampleCount() const { return p_.lastIndex - p_.firstIndex + 1; }
  int Columns() const { return p_.rect.right - p_.rect.left + 1; }
  draw::ColorRef ChannelColor(int c) const;
  int YOf(int c, float value) const;
  int XOfOffset(double s) const;
  void Record(int c, int x, std::uint32_t index, float value);
  void PrepareColumns();
  void CompleteColumns(bool rightToLeft);

  void DrawEvery();
  void DrawRightToLeft();
  void DrawMinMax();
  void DrawManual(bool peak, int step);

  _FynDrawWaveParam p_;
  int penWidth_ = 1;
  short shown_ = 0;
};
