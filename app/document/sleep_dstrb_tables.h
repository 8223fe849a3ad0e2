#pragma once
// The sleep-disturbance recognition tables of the document: one code per fixed time
// step over the whole recording (respiration every 0.25 s; leg movements, snore and
// arousal every 0.1 s), the respiration peak and amplitude tables, the ECG tables,
// and the kept copies that let a settings dialog preview a detection and undo it.
// A table exists only while its channel is assigned (SleepDstrbChannels); an absent
// table is empty and readers treat it as having no events. Allocation failures are
// reported with the allocating method's name and leave the table absent.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/document/sparse_table.h"
#include "app/document/table_memory.h"

// The channel of each sleep-disturbance role, -1 when none.
struct SleepDstrbChannels {
  int airFlow = -1;
  int chest = -1;
  int abdomen = -1;
  int lmLeft = -1;
  int lmRight = -1;
  int ecg = -1;
  int spo2 = -1;
  int position = -1;
  int cpap = -1;
  int snore = -1;
  int arousal = -1;
};

// An entry of a respiration peak or peak-to-peak amplitude table.
struct RespPeakEntry {
  std::int32_t point;  // 0.25-s point of the peak
  float value;
};
static_assert(sizeof(RespPeakEntry) == 8);

// Respiration recognition codes.
enum RespEventCode : std::uint8_t {
  kRespNone = 0,
  kRespObstructive = 1,
  kRespMixed = 2,
  kRespCentral = 3,
  kRespHypopnea = 4
};

// Channel kinds of the respiration peak tables.
constexpr int kKindAirFlow = 11;
constexpr int kKindChest = 12;
constexpr int kKindAbdomen = 13;

// A peak or amplitude table: entries and the count stored at allocation.
struct RespPeakTable {
  std::vector<RespPeakEntry> entries;
  std::int32_t count = 0;
  bool Exists() const { return !entries.empty(); }
};

// The ECG R-peak table: 20 positions per second of the recording and the count of
// positions held.
struct EcgRcgnzTable {
  std::vector<std::int32_t> positions;
  std::int32_t count = 0;
  bool Exists() const { return !positions.empty(); }
};

class SleepDstrbTables {
 public:
  static constexpr int kEcgPositionsPerSecond = 20;  // 80 bytes per second
  static constexpr int kArousalPeaksPerPoint = 255;

  void SetFailureReporter(tablemem::FailureReporter reporter) { report_ = std::move(reporter); }

  // --- allocation: each frees its table, then allocates count zeroed elements
  // when its channel is set.
  void AllocateRespRcgnz(const SleepDstrbChannels& ch, int count);
  void AllocateAirFlow(const SleepDstrbChannels& ch, int count);
  void AllocateRespC(const SleepDstrbChannels& ch, int count);
  void AllocateRespA(const SleepDstrbChannels& ch, int count);
  void AllocateAirFlowPeakTopTbl(const SleepDstrbChannels& ch, int count);
  void AllocateAirFlowPeakBottomTbl(const SleepDstrbChannels& ch, int count);
  void AllocateRespCPeakTopTbl(const SleepDstrbChannels& ch, int count);
  void AllocateRespCPeakBottomTbl(const SleepDstrbChannels& ch, int count);
  void AllocateRespAPeakTopTbl(const SleepDstrbChannels& ch, int count);
  void AllocateRespAPeakBottomTbl(const SleepDstrbChannels& ch, int count);
  void AllocateAirFlowPPAmpTbl(const SleepDstrbChannels& ch, int count);
  void AllocateRespCPPAmpTbl(const SleepDstrbChannels& ch, int count);
  void AllocateRespAPPAmpTbl(const SleepDstrbChannels& ch, int count);
  void AllocateLMRcgnz(const SleepDstrbChannels& ch, int count);
  void AllocateLMLeft(const SleepDstrbChannels& ch, int count);
  void AllocateLMRight(const SleepDstrbChannels& ch, int count);
  void AllocateLMBoth(const SleepDstrbChannels& ch, int count);  // either LM channel
  void AllocateSnore(const SleepDstrbChannels& ch, int count);
  void AllocateArousalPeakNum(const SleepDstrbChannels& ch, int count);
  void AllocateArousalRecognize(const SleepDstrbChannels& ch, int count);
  void AllocateArousalTables(const SleepDstrbChannels& ch, int count);
  // N x E seconds x 20 positions, and one mean R-R interval (ms) per epoch.
  void AllocateECGRcgnz(const SleepDstrbChannels& ch, int epochCount, int epochSeconds);
  void AllocateECGLFHF(const SleepDstrbChannels& ch, int epochCount);
  void AllocateECGTables(const SleepDstrbChannels& ch, int epochCount, int epochSeconds);
  // N x seconds / ecgIntervalSeconds (integer division) LF and HF values.
  void AllocateRcgnzSleepDstrbECGLFHF(const SleepDstrbChannels& ch, int epochCount, int seconds,
                                      int ecgIntervalSeconds);
  // E/0.1 x (pageSeconds / E) x 255 entries, held compactly (see SparseU32Table).
  void AllocateArousalPageTbl(const SleepDstrbChannels& ch, int epochSeconds, int pageSeconds);

  void FreeRespRcgnz() { Release(respRcgnz_); }
  void FreeAirFlow() { Release(airFlow_); }
  void FreeRespC() { Release(respC_); }
  void FreeRespA() { Release(respA_); }
  void FreeAirFlowPeakTopTbl() { Release(airFlowTop_); }
  void FreeAirFlowPeakBottomTbl() { Release(airFlowBottom_); }
  void FreeRespCPeakTopTbl() { Release(respCTop_); }
  void FreeRespCPeakBottomTbl() { Release(respCBottom_); }
  void FreeRespAPeakTopTbl() { Release(respATop_); }
  void FreeRespAPeakBottomTbl() { Release(respABottom_); }
  void FreeAirFlowPPAmpTbl() { Release(airFlowPPAmp_); }
  void FreeRespCPPAmpTbl() { Release(respCPPAmp_); }
  void FreeRespAPPAmpTbl() { Release(respAPPAmp_); }
  void FreeLMRcgnz() { Release(lmRcgnz_); }
  void FreeLMLeft() { Release(lmLeft_); }
  void FreeLMRight() { Release(lmRight_); }
  void FreeLMBoth() { Release(lmBoth_); }
  void FreeSnore() { Release(snore_); }
  void FreeArousalPeakNum() { Release(arousalPeakNum_); }
  void FreeArousalRecognize() { Release(arousalRecognize_); }
  void FreeArousalTables();
  void FreeECGRcgnz() { Release(ecgRcgnz_); }
  void FreeECGLFHF() { Release(ecgLFHF_); }
  void FreeECGTables();
  void FreeRcgnzSleepDstrbECGLFHF();
  void FreeArousalPageTbl() {
    arousalPage_.Free();
    arousalPageCount_ = 0;
  }
  // Frees every recognition table and the kept arousal and ECG copies, in the
  // document's order. The arousal page table is left to its own free operation.
  void FreeRcgnzSleepDstrb();

  // Copies count entries from source into a peak-top (which == 1) or peak-bottom
  // table of kind 11, 12 or 13, using the count stored at allocation.
  void SetRespPeakTbl(int kind, int which, const RespPeakEntry* source);

  // Seconds per representative value of a display kind and channel (0 for a pair
  // the display never asks for).
  static double GetRprsntInterval(const SleepDstrbChannels& ch, int kind, int channel);

  // --- range edits over points [from, to), clamped to the table; limit is the
  // recording's point count (N x values per epoch), the end of the neighbour walk.
  void SetRespEventRange(int kind, int from, int to, int limit);
  void SetLMEventRange(int kind, int from, int to, int limit);
  void SetSnoreEventRange(int kind, int from, int to, int limit);
  void SetArousalEventRange(int kind, int from, int to, int limit);

  int RespChanged() const { return respChanged_; }
  int LMChanged() const { return lmChanged_; }
  void ClearChangedWords() { respChanged_ = lmChanged_ = 0; }

  // --- undo copies
  void SaveECGRcgnz();
  void FreeECGRcgnzCopy();
  void RestoreECGRcgnz(const SleepDstrbChannels& ch, int epochCount, int epochSeconds);
  void SaveECGLFHF();
  void FreeECGLFHFCopy();
  void RestoreECGLFHF(const SleepDstrbChannels& ch, int epochCount);
  void SaveArousalPeakNum();
  void FreeArousalPeakNumCopy();
  void RestoreArousalPeakNum(const SleepDstrbChannels& ch, int count);
  void SaveArousalRecognize();
  void FreeArousalRecognizeCopy();
  void RestoreArousalRecognize(const SleepDstrbChannels& ch, int count);
  void SaveRespRcgnz();
  void RestoreRespRcgnz();
  void SaveLMRcgnz();
  void RestoreLMRcgnz();
  void SaveSnoreRcgnz();
  void RestoreSnoreRcgnz();
  // Lets go of the respiration, limb-movement and snore copies without putting them back.
  void FreePreviewCopies();
  bool HasECGRcgnzCopy() const { return ecgRcgnzCopy_.Exists(); }
  bool HasECGLFHFCopy() const { return !ecgLFHFCopy_.empty(); }
  bool HasArousalPeakNumCopy() const { return !arousalPeakNumCopy_.empty(); }
  bool HasArousalRecognizeCopy() const { return !arousalRecognizeCopy_.empty(); }

  // --- the tables (empty = absent)
  std::vector<std::uint8_t>& RespRcgnz() { return respRcgnz_; }
  std::vector<std::uint8_t>& AirFlow() { return airFlow_; }
  std::vector<std::uint8_t>& RespC() { return respC_; }
  std::vector<std::uint8_t>& RespA() { return respA_; }
  RespPeakTable& AirFlowPeakTop() { return airFlowTop_; }
  RespPeakTable& AirFlowPeakBottom() { return airFlowBottom_; }
  RespPeakTable& RespCPeakTop() { return respCTop_; }
  RespPeakTable& RespCPeakBottom() { return respCBottom_; }
  RespPeakTable& RespAPeakTop() { return respATop_; }
  RespPeakTable& RespAPeakBottom() { return respABottom_; }
  RespPeakTable& AirFlowPPAmp() { return airFlowPPAmp_; }
  RespPeakTable& RespCPPAmp() { return respCPPAmp_; }
  RespPeakTable& RespAPPAmp() { return respAPPAmp_; }
  std::vector<std::uint8_t>& LMRcgnz() { return lmRcgnz_; }
  std::vector<std::uint8_t>& LMLeft() { return lmLeft_; }
  std::vector<std::uint8_t>& LMRight() { return lmRight_; }
  std::vector<std::uint8_t>& LMBoth() { return lmBoth_; }
  std::vector<std::uint8_t>& Snore() { return snore_; }
  std::vector<std::uint8_t>& ArousalPeakNum() { return arousalPeakNum_; }
  std::vector<std::uint8_t>& ArousalRecognize() { return arousalRecognize_; }
  EcgRcgnzTable& ECGRcgnz() { return ecgRcgnz_; }
  std::vector<double>& ECGLFHF() { return ecgLFHF_; }  // mean R-R interval (ms) per epoch
  std::vector<double>& ECGLF() { return ecgLF_; }
  std::vector<double>& ECGHF() { return ecgHF_; }
  std::int32_t ECGLFHFCount() const { return ecgLFHFCount_; }
  SparseU32Table& ArousalPageTbl() { return arousalPage_; }
  // Entries in use of the arousal page table; 0 after freeing it.
  std::int32_t& ArousalPageCount() { return arousalPageCount_; }

 private:
  template <class T>
  static void Release(std::vector<T>& v) {
    std::vector<T>().swap(v);
  }
  static void Release(RespPeakTable& t) {
    Release(t.entries);
    t.count = 0;
  }
  static void Release(EcgRcgnzTable& t) {
    Release(t.positions);
    t.count = 0;
  }
  void AllocBytes(std::vector<std::uint8_t>& table, bool channelSet, int count, const char* method);
  void AllocPeaks(RespPeakTable& table, bool channelSet, int count, const char* method);
  void Report(const char* method) const;
  RespPeakTable* PeakTable(int kind, bool top);
  void FreeRespCopies();
  void FreeLMCopies();

  std::vector<std::uint8_t> respRcgnz_, airFlow_, respC_, respA_;
  RespPeakTable airFlowTop_, airFlowBottom_, respCTop_, respCBottom_, respATop_, respABottom_;
  RespPeakTable airFlowPPAmp_, respCPPAmp_, respAPPAmp_;
  std::vector<std::uint8_t> lmRcgnz_, lmLeft_, lmRight_, lmBoth_;
  EcgRcgnzTable ecgRcgnz_;
  std::vector<double> ecgLFHF_;
  std::vector<double> ecgLF_, ecgHF_;
  std::int32_t ecgLFHFCount_ = 0;
  std::vector<std::uint8_t> snore_;
  SparseU32Table arousalPage_;
  std::int32_t arousalPageCount_ = 0;
  std::vector<std::uint8_t> arousalPeakNum_, arousalRecognize_;
  int respChanged_ = 0;
  int lmChanged_ = 0;

  EcgRcgnzTable ecgRcgnzCopy_;
  std::vector<double> ecgLFHFCopy_;
  std::vector<std::uint8_t> arousalPeakNumCopy_, arousalRecognizeCopy_;
  std::vector<std::uint8_t> respRcgnzCopy_, airFlowCopy_, respCCopy_, respACopy_;
  std::vector<std::uint8_t> lmRcgnzCopy_, lmLeftCopy_, lmRightCopy_, lmBothCopy_;
  std::vector<std::uint8_t> snoreCopy_;

  tablemem::FailureReporter report_;
};
