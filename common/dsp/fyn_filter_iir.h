// Recursive filter designed from a Butterworth or Chebyshev (type I)
// low-pass prototype by the bilinear transform and a frequency transform,
// run as a cascade of second-order (low-/high-pass) or fourth-order
// (band-pass/-stop) sections plus one first-order prototype section for odd
// orders.
//
// The prototype's pass-band edge E1 (attenuation Ap) and stop-band edge E2
// (attenuation As) set the order; the frequency transform moves the pass-band
// edge to the cut frequency C1 (or the band C1 .. C2), where the attenuation
// is Ap. Every section has gain 1 at the centre of its pass band.
//
// Calling order: construct, CalcIIRFilterDesign, CalcFilter. All state lives
// in the object (no heap memory); a copy is independent.
#pragma once

class FynFilterIIR {
public:
  static constexpr int kMaxOrder = 38;
  static constexpr int kMaxSections = 20;

  // prototype: 0 Butterworth, 1 Chebyshev. processType: 0 low-pass,
  // 1 high-pass, 2 band-pass, 3 band-stop. Frequencies in Hz, attenuations in
  // dB; cut frequencies are limited to sampFreqHz / 2.
  FynFilterIIR(short prototype = 0, short processType = 0, double sampFreqHz = 1.0,
               double passEdgeHz = 0.0, double stopEdgeHz = 0.0, double passAttenDb = 0.0,
               double stopAttenDb = 0.0, double cut1Hz = 0.0, double cut2Hz = 0.0);
  virtual ~FynFilterIIR();
  FynFilterIIR(const FynFilterIIR&) = default;
  FynFilterIIR& operator=(const FynFilterIIR&) = default;

  void SetSampFreq(double hz) { sampFreqHz_ = hz; }
  void SetEdgeFreq(double passEdgeHz, double stopEdgeHz);
  void SetAttenVal(double passAttenDb, double stopAttenDb);
  void SetCutFreq(double cut1Hz, double cut2Hz);
  void SetFilterType(short prototype) { prototype_ = prototype; }
  void SetProcessType(short processType) { processType_ = processType; }

  // Computes the order and the sections and clears the delay states.
  // 1 ok; 0 when the order exceeds 38 or has no value (stop-band edge at or
  // above fs/2, edges or attenuations in the wrong order), or the prototype
  // or process type is unknown. A failed design leaves no sections to run.
  int CalcIIRFilterDesign();

  // Filters count samples in place, in index order, continuing from the
  // current delay states. 1 ok; 0 without a valid design (data unchanged).
  int CalcFilter(unsigned long count, float* data);
  // Filters two blocks of count samples in place, each with its own filter, both filters of
  // one design (order and process type): the same results as CalcFilter on each, the two
  // computed side by side. false (data unchanged) without two such designs.
  static bool CalcFilterPair(FynFilterIIR& a, float* dataA, FynFilterIIR& b, float* dataB, unsigned long count);
  // One sample through all sections.
  double CalcFilterProcess(double x);

  // Order of the last successful design (0 before one).
  int GetOrder() const { return designed_ ? order_ : 0; }
  bool IsDesigned() const { return designed_; }

private:
  void ClearCoefficients();
  void ClearStates();
  template <int Process>
  void Dispatch(unsigned long count, float* data);
  template <int Process>
  void RunBlock(unsigned long count, float* data);
  template <int Process, int Pairs, bool Odd>
  void RunSamples(unsigned long count, float* data);
  template <int Process>
  static void RunPair(FynFilterIIR& a, float* dataA, FynFilterIIR& b, float* dataB, unsigned long count);

  short prototype_;
  short processType_;
  double sampFreqHz_;
  double passEdgeHz_ = 0.0, stopEdgeHz_ = 0.0;
  double passAttenDb_ = 0.0, stopAttenDb_ = 0.0;
  double cut1Hz_ = 0.0, cut2Hz_ = 0.0;
  int order_ = 0;
  bool designed_ = false;

  // Prototype sections and the first-order pair.
  double protoA_[kMaxSections] = {}, protoB_[kMaxSections] = {}, protoC_[kMaxSections] = {};
  double protoP_ = 0.0, protoQ_ = 0.0;
  // Final sections: gain and feedback coefficients; odd section; band centre.
  double gain_[kMaxSections] = {};
  double k1_[kMaxSections] = {}, k2_[kMaxSections] = {}, k3_[kMaxSections] = {}, k4_[kMaxSections] = {};
  double oddGain_ = 0.0, oddK1_ = 0.0, oddK2_ = 0.0;
  double centreD_ = 0.0;
  // Past internal values of each section (w1 the newest) and of the odd one.
  double w1_[kMaxSections] = {}, w2_[kMaxSections] = {}, w3_[kMaxSections] = {}, w4_[kMaxSections] = {};
  double oddW1_ = 0.0, oddW2_ = 0.0;
};
