#pragma once
// LyrEpochParameter: everything the document keeps per epoch of the open recording.
//  - the epoch records (LyrEpochRec: stages, candidates, wave results),
//  - four flag bytes per epoch (learning-sample mode only),
//  - per epoch twelve band arrays (power and ratio of bands 0..5), one value per
//    FFT-band channel (at least one entry each),
//  - per epoch seven per-channel arrays (minimum, maximum, mean, absolute maximum,
//    integral, cross count, coefficient of variation), one value per channel,
//  - per epoch ten representative-value arrays of the sleep-disturbance channels.
// Every table is absent until allocated; accessors return null for an absent table
// and readers treat that as "no values". Stage and candidate accessors never fail
// loudly: out-of-range input reads 0 and writes nothing.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/epoch_record.h"
#include "app/document/table_memory.h"

// Stage code as shown under a merging mode (the current stage type, 0..3):
// 1 shows 6 as 5, 2 also 4 as 3, 3 and above show 4, 5, 6 as 3; the same for the
// parallel codes 24..26. Any other code is returned unchanged.
std::uint8_t MergeStageCode(int mode, std::uint8_t code);

// Slots of the representative-value tables.
enum RprsntSlot : int {
  kRprsntAirFlow = 0,
  kRprsntRespC = 1,
  kRprsntRespA = 2,
  kRprsntLMLeft = 3,
  kRprsntLMRight = 4,
  kRprsntECG = 5,
  kRprsntSpO2 = 6,
  kRprsntCPAP = 7,
  kRprsntPosition = 8,
  kRprsntSnore = 9,
  kRprsntSlotCount = 10
};

// Entries of the per-channel arrays.
enum ChValueKind : int {
  kChMin = 0,
  kChMax = 1,
  kChMean = 2,
  kChAbsMax = 3,
  kChIntegral = 4,
  kChCrossCount = 5,  // 16-bit, see ChCrossCount
  kChCoefVariation = 6,
  kChValueKinds = 7
};

constexpr int kBandCount = 6;
constexpr int kBandEntries = 12;  // 0..5 power of band i, 6..11 ratio of band i - 6

class LyrEpochParameter {
 public:
  LyrEpochParameter() = default;
  virtual ~LyrEpochParameter();
  LyrEpochParameter(const LyrEpochParameter&) = delete;
  LyrEpochParameter& operator=(const LyrEpochParameter&) = delete;

  // Where allocation failures are reported (the window code shows the text).
  void SetFailureReporter(tablemem::FailureReporter reporter) { report_ = std::move(reporter); }

  // Allocates the tables for epochCount epochs, chCount channels and bandChCount
  // FFT-band channels. withRecords != 0 makes fresh zeroed records; 0 keeps the
  // records there are, resized to the new epoch count (the first records kept, new
  // ones zeroed). Flag bytes are made when learningSampleMode is non-zero. The EMG
  // value of every record is set to 0. Returns 1, or 0 after running out of memory
  // (reported; the tables are freed, records only with withRecords; count 0).
  int SetNew(int epochCount, int unused, int chCount, int bandChCount, int withRecords,
             int learningSampleMode = 0);

  // Stage slot 0 (current), 1 or 2 of an epoch under a merging mode; 0 when out of range.
  std::uint8_t GetStage(int mode, int epoch, int slot) const;
  // Shifts the two previous codes and stores code; 1, or 0 when out of range.
  int SetStage(int epoch, std::uint8_t code);
  // Candidate k (0..19): 0 clears it, another code is stored only into an empty one.
  int SetCandidate(int epoch, int k, std::uint8_t code);
  // Copies the 20 candidates, merged by mode; out of range: zeros and 0.
  int GetCandidates(int mode, int epoch, std::uint8_t out[kCandidateCount]) const;
  // Flag byte index (0..3) of an epoch; 0 without flags or with a bad index; an
  // epoch at or beyond the count is ignored (1).
  int SetEpochFlag(int epoch, std::uint8_t value, int index);

  // Exchanges every table with other's (not the failure reporters): a set of tables filled
  // aside is taken over in one step.
  void Swap(LyrEpochParameter& other) noexcept;

  // Zero-fills every table without freeing it. Returns 1.
  int ClearAll(int epochSeconds);

  // Representative values: the per-epoch entries, then the slots one by one.
  void AllocateRprsntTable();
  bool HasRprsntTable() const { return rprsntEntries_; }
  // A kept copy of the representative values (a settings preview recomputes them and the
  // copy puts back what was there). An empty copy holds nothing.
  struct RprsntCopy {
    bool held = false;
    std::array<tablemem::ZeroedTable<float>, kRprsntSlotCount> values;
    std::array<int, kRprsntSlotCount> counts{};
  };
  // False when memory ran out (the copy is then empty).
  bool SaveRprsnt(RprsntCopy& copy) const;
  // Puts the copy back and empties it; nothing when it holds nothing.
  void RestoreRprsnt(RprsntCopy& copy);
  void AllocateRprsntAirFlow(int epochSeconds) { AllocateRprsntSlot(kRprsntAirFlow, epochSeconds); }
  void AllocateRprsntRespC(int epochSeconds) { AllocateRprsntSlot(kRprsntRespC, epochSeconds); }
  void AllocateRprsntRespA(int epochSeconds) { AllocateRprsntSlot(kRprsntRespA, epochSeconds); }
  void AllocateRprsntLMLeft(int epochSeconds) { AllocateRprsntSlot(kRprsntLMLeft, epochSeconds); }
  void AllocateRprsntLMRight(int epochSeconds) { AllocateRprsntSlot(kRprsntLMRight, epochSeconds); }
  void AllocateRprsntECG(int epochSeconds) { AllocateRprsntSlot(kRprsntECG, epochSeconds); }
  void AllocateRprsntSpO2(int epochSeconds) { AllocateRprsntSlot(kRprsntSpO2, epochSeconds); }
  void AllocateRprsntCPAP(int epochSeconds) { AllocateRprsntSlot(kRprsntCPAP, epochSeconds); }
  void AllocateRprsntPosition(int epochSeconds) { AllocateRprsntSlot(kRprsntPosition, epochSeconds); }
  void AllocateRprsntSnore(int epochSeconds) { AllocateRprsntSlot(kRprsntSnore, epochSeconds); }
  void FreeRprsntAirFlow() { FreeRprsntSlot(kRprsntAirFlow); }
  void FreeRprsntRespC() { FreeRprsntSlot(kRprsntRespC); }
  void FreeRprsntRespA() { FreeRprsntSlot(kRprsntRespA); }
  void FreeRprsntLMLeft() { FreeRprsntSlot(kRprsntLMLeft); }
  void FreeRprsntLMRight() { FreeRprsntSlot(kRprsntLMRight); }
  void FreeRprsntECG() { FreeRprsntSlot(kRprsntECG); }
  void FreeRprsntSpO2() { FreeRprsntSlot(kRprsntSpO2); }
  void FreeRprsntCPAP() { FreeRprsntSlot(kRprsntCPAP); }
  void FreeRprsntPosition() { FreeRprsntSlot(kRprsntPosition); }
  void FreeRprsntSnore() { FreeRprsntSlot(kRprsntSnore); }
  // Frees the slot and allocates it again, zeroed, with the slot's count of values
  // per epoch; nothing without the per-epoch entries. Running out of memory is
  // reported with the method's name and leaves the slot absent.
  void AllocateRprsntSlot(int slot, int epochSeconds);
  void FreeRprsntSlot(int slot);

  // Values per epoch: epoch seconds over the interval, truncated.
  static int GetRprsntNumResp(int epochSeconds);      // 0.25 s
  static int GetRprsntNumLM(int epochSeconds);        // 0.1 s
  static int GetRprsntNumCPAP(int epochSeconds);      // 0.25 s
  static int GetRprsntNumSpO2(int epochSeconds);      // 0.5 s
  static int GetRprsntNumPosition(int epochSeconds);  // 0.5 s
  static int GetRprsntNumSnore(int epochSeconds);     // 0.1 s
  static int GetRprsntNumArousal(int epochSeconds);   // 0.1 s
  // Seconds per value and values per epoch of a slot.
  static double RprsntInterval(int slot);
  static int RprsntNum(int slot, int epochSeconds);

  void FreeRecords();
  void FreeRprsnt();
  void FreeBandValues(int keepEntries);
  void FreeChValues();
  void FreeAll(int withRecords = 1);

  int EpochCount() const { return epochCount_; }
  int ChCount() const { return chCount_; }
  int BandChCount() const { return bandChCount_; }

  // The record of an epoch, or null (no records, epoch out of range).
  LyrEpochRec* Record(int epoch);
  const LyrEpochRec* Record(int epoch) const;
  bool HasRecords() const { return !records_.empty(); }
  // All records in epoch order, as result files store and load them (empty when absent).
  std::span<LyrEpochRec> Records() { return records_; }
  std::span<const LyrEpochRec> Records() const { return records_; }
  // The four flag bytes of an epoch, or null.
  std::uint8_t* EpochFlags(int epoch);
  bool HasEpochFlags() const { return !flags_.empty(); }
  // Band entry (0..11) of an epoch: max(P, 1) values, or null.
  float* BandValues(int epoch, int entry);
  const float* BandValues(int epoch, int entry) const;
  bool HasBandEntries() const { return bandEntries_; }
  // Per-channel array kind (kChMin..kChCoefVariation, not kChCrossCount) of an epoch:
  // C values, or null.
  float* ChValues(int epoch, int kind);
  const float* ChValues(int epoch, int kind) const;
  // The cross counts of an epoch: C values, or null.
  std::uint16_t* ChCrossCount(int epoch);
  const std::uint16_t* ChCrossCount(int epoch) const;
  // Representative values of a slot and epoch: RprsntCount(slot) values, or null.
  float* Rprsnt(int slot, int epoch);
  const float* Rprsnt(int slot, int epoch) const;
  int RprsntCount(int slot) const;

 private:
  int BandWidth() const { return bandChCount_ > 1 ? bandChCount_ : 1; }
  bool InRange(int epoch) const { return epoch >= 0 && epoch < epochCount_; }
  void Report(const std::string& text) const;

  tablemem::ZeroedTable<std::array<std::uint8_t, 4>> flags_;
  int epochCount_ = 0;
  tablemem::ZeroedTable<LyrEpochRec> records_;
  bool rprsntEntries_ = false;
  std::array<tablemem::ZeroedTable<float>, kRprsntSlotCount> rprsnt_;
  std::array<int, kRprsntSlotCount> rprsntCount_{};
  bool bandEntries_ = false;
  tablemem::ZeroedTable<float> band_;          // [epoch][entry][band channel]
  bool chEntries_ = false;
  tablemem::ZeroedTable<float> chFloat_;       // [epoch][kind except cross count][channel]
  tablemem::ZeroedTable<std::uint16_t> chCross_;  // [epoch][channel]
  int bandChCount_ = 0;
  int chCount_ = 0;
  tablemem::FailureReporter report_;
};
