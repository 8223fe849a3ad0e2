#pragma once
// The per-epoch value of a trend graph's item: one object per graph, without a window, so
// that the graph drawing, the text output, the information column and the human report
// read the same numbers. A value is an is-float flag, a signed 16-bit short and a float;
// no value is is-float 0 with short 0. Every value asked for widens the graph's running
// range (also no value, as 0), which only a new item resets.
#include <cstdint>

#include "app/trend/lyr_trend_tool.h"

class CQLM2_AnalyzerDoc;

struct TrendValue {
  std::uint16_t isFloat = 0;
  std::int16_t value = 0;
  float floatValue = 0.0f;
  bool IsNone() const { return isFloat == 0 && value == 0; }
  // The value as a number (the short taken as signed).
  double Number() const { return isFloat != 0 ? floatValue : value; }
};

class LyrTrendGraphValues {
 public:
  LyrTrendGraphValues() = default;
  LyrTrendGraphValues(CQLM2_AnalyzerDoc* doc, int graph) : doc_(doc), graph_(graph) {}
  void SetDocument(CQLM2_AnalyzerDoc* doc) { doc_ = doc; }
  void SetGraph(int graph) { graph_ = graph; }
  int Graph() const { return graph_; }

  // The value of the graph's item at an epoch (0 .. epoch count - 1), widening the range.
  TrendValue GetTrendValue(int epoch);
  // GetTrendValue of count epochs from first, one after another (the range widened alike).
  void GetTrendValues(int first, int count, TrendValue* out);
  // Running range of the values asked for since the item was set.
  float RunningMax() const { return runMax_; }
  float RunningMin() const { return runMin_; }
  void ResetRange();

  // Getters by category (the graph's own item unless the arguments name one).
  TrendValue GetWaveValue(int category, int sub, int epoch) const;  // 1..7
  TrendValue GetEMGValue(int epoch) const;
  TrendValue GetREMsValue(int sub, int epoch) const;
  TrendValue GetKComplexValue(int sub, int epoch) const;
  // Respiratory events of category 11 (sub 0 obstructive, 1 central, 2 mixed) or 12:
  // seconds of event in the epoch; count receives the event slots counted.
  TrendValue GetApneaValue(int category, int sub, int epoch, int* count = nullptr) const;
  TrendValue GetECGValue(int sub, int epoch) const;
  // Respiration amplitude (category 14 air flow, 15 chest, 16 abdomen).
  TrendValue GetRespMeanValue(int category, int epoch) const;
  // Mean breath interval (sub 3, seconds) or rate (sub 5, per minute).
  TrendValue GetRespIntervalValue(int category, int sub, int epoch) const;
  TrendValue GetMainPositionValue(int epoch) const;
  // One position sample of an epoch: the signal and its class (1-based, 0 none).
  void GetPositionValue(int epoch, int sample, float& signal, int& positionClass) const;
  TrendValue GetSpO2Value(int sub, int epoch) const;
  TrendValue GetCPAPValue(int sub, int epoch) const;
  TrendValue GetPLMsValue(int leg, int measure, int epoch) const;
  TrendValue GetFFTBandValue(int sub, int channel, int epoch) const;
  TrendValue GetFreeTrendValue(int sub, int channel, int epoch) const;
  // Snore episodes ending in the epoch; points receives their length in 0.1-s points.
  TrendValue GetSnoreValue(int sub, int epoch, int* points = nullptr) const;
  TrendValue GetArousalValue(int sub, int epoch) const;
  // The stage colour of the epoch's value (0 without a document or a stage record).
  std::uint32_t GetEpochColor(int epoch) const;
  // GetEpochColor of count epochs from first.
  void GetEpochColors(int first, int count, std::uint32_t* out) const;

 private:
  int EpochCount() const;
  // The value of an item at an epoch of the recording (0 .. epochs - 1).
  TrendValue ValueOf(const TrendItemKey& item, int epoch) const;
  void Widen(const TrendValue& v) {
    const float n = v.isFloat != 0 ? v.floatValue : static_cast<float>(v.value);
    if (n > runMax_) runMax_ = n;
    if (n < runMin_) runMin_ = n;
  }
  // The colour of a stage code (GetEpochColor's rule).
  std::uint32_t StageColour(int code) const;
  CQLM2_AnalyzerDoc* doc_ = nullptr;
  int graph_ = 0;
  float runMax_ = -3.402823466e+38f;
  float runMin_ = 3.402823466e+38f;
};
