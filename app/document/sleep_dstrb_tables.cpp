#include "app/document/sleep_dstrb_tables.h"

#include <algorithm>
#include <new>

namespace {

// A role is assigned when its field holds a channel index (none is -1).
bool IsSet(int channel) { return channel >= 0; }

// Copies what fits of a kept table back over a live one.
template <class T>
void CopyBack(const std::vector<T>& from, std::vector<T>& to) {
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

// Clears the run of non-zero points directly before from and the one from `to` on.
// In the respiration table every point of the runs becomes 0; in the 0/1 tables
// only the points holding 1 are cleared and the others passed over.
void TrimNeighbours(std::vector<std::uint8_t>& t, int from, int to, int end, bool onlyOnes) {
  for (int i = from - 1; i >= 0 && t[static_cast<std::size_t>(i)] != 0; --i)
    if (!onlyOnes || t[static_cast<std::size_t>(i)] == 1) t[static_cast<std::size_t>(i)] = 0;
  for (int i = to; i < end && t[static_cast<std::size_t>(i)] != 0; ++i)
    if (!onlyOnes || t[static_cast<std::size_t>(i)] == 1) t[static_cast<std::size_t>(i)] = 0;
}

// The edit's end: the recording's point count, never beyond the table.
int EditEnd(const std::vector<std::uint8_t>& t, int limit) {
  return std::clamp(limit, 0, static_cast<int>(std::min<std::size_t>(t.size(), 0x7fffffff)));
}

// Writes value over [from, to) and trims the neighbouring runs of a 0/1 table.
void MarkRange(std::vector<std::uint8_t>& t, std::uint8_t value, int from, int to, int limit) {
  if (t.empty()) return;
  const int end = EditEnd(t, limit);
  from = std::clamp(from, 0, end);
  to = std::clamp(to, 0, end);
  for (int i = from; i < to; ++i) t[static_cast<std::size_t>(i)] = value;
  TrimNeighbours(t, from, to, end, true);
}

// A kept copy of a table; false when memory ran out (the copy is then empty).
template <class T>
bool Keep(const std::vector<T>& live, std::vector<T>& copy) {
  std::vector<T>().swap(copy);
  if (live.empty()) return true;
  try {
    tablemem::CheckInjectedFailure();
    copy = live;
    return true;
  } catch (const std::bad_alloc&) {
    std::vector<T>().swap(copy);
    return false;
  }
}
}  // namespace

void SleepDstrbTables::Report(const char* method) const {
  if (report_) report_(method);
}

void SleepDstrbTables::AllocBytes(std::vector<std::uint8_t>& table, bool channelSet, int count,
                                  const char* method) {
  Release(table);
  if (!channelSet) return;
  if (!tablemem::AllocZeroed(table, tablemem::Count(count))) Report(method);
}

void SleepDstrbTables::AllocPeaks(RespPeakTable& table, bool channelSet, int count, const char* method) {
  Release(table);
  if (!channelSet) return;
  if (!tablemem::AllocZeroed(table.entries, tablemem::Count(count))) {
    Report(method);
    return;
  }
  table.count = table.entries.empty() ? 0 : count;
}

void SleepDstrbTables::AllocateRespRcgnz(const SleepDstrbChannels& ch, int count) {
  AllocBytes(respRcgnz_, IsSet(ch.airFlow), count, "CQLM2_AnalyzerDoc::AllocateRespRcgnz");
}
void SleepDstrbTables::AllocateAirFlow(const SleepDstrbChannels& ch, int count) {
  AllocBytes(airFlow_, IsSet(ch.airFlow), count, "CQLM2_AnalyzerDoc::AllocateAirFlow");
}
void SleepDstrbTables::AllocateRespC(const SleepDstrbChannels& ch, int count) {
  AllocBytes(respC_, IsSet(ch.chest), count, "CQLM2_AnalyzerDoc::AllocateRespC");
}
void SleepDstrbTables::AllocateRespA(const SleepDstrbChannels& ch, int count) {
  AllocBytes(respA_, IsSet(ch.abdomen), count, "CQLM2_AnalyzerDoc::AllocateRespA");
}
void SleepDstrbTables::AllocateAirFlowPeakTopTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(airFlowTop_, IsSet(ch.airFlow), count, "CQLM2_AnalyzerDoc::AllocateAirFlowPeakTopTbl");
}
void SleepDstrbTables::AllocateAirFlowPeakBottomTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(airFlowBottom_, IsSet(ch.airFlow), count, "CQLM2_AnalyzerDoc::AllocateAirFlowPeakBottomTbl");
}
void SleepDstrbTables::AllocateRespCPeakTopTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(respCTop_, IsSet(ch.chest), count, "CQLM2_AnalyzerDoc::AllocateRespCPeakTopTbl");
}
void SleepDstrbTables::AllocateRespCPeakBottomTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(respCBottom_, IsSet(ch.chest), count, "CQLM2_AnalyzerDoc::AllocateRespCPeakBottomTbl");
}
void SleepDstrbTables::AllocateRespAPeakTopTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(respATop_, IsSet(ch.abdomen), count, "CQLM2_AnalyzerDoc::AllocateRespAPeakTopTbl");
}
void SleepDstrbTables::AllocateRespAPeakBottomTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(respABottom_, IsSet(ch.abdomen), count, "CQLM2_AnalyzerDoc::AllocateRespAPeakBottomTbl");
}
void SleepDstrbTables::AllocateAirFlowPPAmpTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(airFlowPPAmp_, IsSet(ch.airFlow), count, "CQLM2_AnalyzerDoc::AllocateAirFlowPPAmpTbl");
}
void SleepDstrbTables::AllocateRespCPPAmpTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(respCPPAmp_, IsSet(ch.chest), count, "CQLM2_AnalyzerDoc::AllocateRespCPPAmpTbl");
}
void SleepDstrbTables::AllocateRespAPPAmpTbl(const SleepDstrbChannels& ch, int count) {
  AllocPeaks(respAPPAmp_, IsSet(ch.abdomen), count, "CQLM2_AnalyzerDoc::AllocateRespAPPAmpTbl");
}
void SleepDstrbTables::AllocateLMRcgnz(const SleepDstrbChannels& ch, int count) {
  AllocBytes(lmRcgnz_, IsSet(ch.lmLeft), count, "CQLM2_AnalyzerDoc::AllocateLMRcgnz");
}
void SleepDstrbTables::AllocateLMLeft(const SleepDstrbChannels& ch, int count) {
  AllocBytes(lmLeft_, IsSet(ch.lmLeft), count, "CQLM2_AnalyzerDoc::AllocateLMLeft");
}
void SleepDstrbTables::AllocateLMRight(const SleepDstrbChannels& ch, int count) {
  AllocBytes(lmRight_, IsSet(ch.lmRight), count, "CQLM2_AnalyzerDoc::AllocateLMRight");
}
void SleepDstrbTables::AllocateLMBoth(const SleepDstrbChannels& ch, int count) {
  AllocBytes(lmBoth_, IsSet(ch.lmLeft) || IsSet(ch.lmRight), count, "CQLM2_AnalyzerDoc::AllocateLMBoth");
}
void SleepDstrbTables::AllocateSnore(const SleepDstrbChannels& ch, int count) {
  AllocBytes(snore_, IsSet(ch.snore), count, "CQLM2_AnalyzerDoc::AllocateSnore");
}
void SleepDstrbTables::AllocateArousalPeakNum(const SleepDstrbChannels& ch, int count) {
  AllocBytes(arousalPeakNum_, IsSet(ch.arousal), count, "CQLM2_AnalyzerDoc::AllocateArousalPeakNum");
}
void SleepDstrbTables::AllocateArousalRecognize(const SleepDstrbChannels& ch, int count) {
  AllocBytes(arousalRecognize_, IsSet(ch.arousal), count, "CQLM2_AnalyzerDoc::AllocateArousalRecognize");
}

void SleepDstrbTables::AllocateArousalTables(const SleepDstrbChannels& ch, int count) {
  if (!IsSet(ch.arousal)) return;
  AllocateArousalPeakNum(ch, count);
  AllocateArousalRecognize(ch, count);
}

void SleepDstrbTables::FreeArousalTables() {
  FreeArousalPeakNum();
  FreeArousalRecognize();
}

void SleepDstrbTables::AllocateECGRcgnz(const SleepDstrbChannels& ch, int epochCount, int epochSeconds) {
  Release(ecgRcgnz_);
  if (!IsSet(ch.ecg)) return;
  if (!tablemem::AllocZeroed(ecgRcgnz_.positions,
                             tablemem::Count(epochCount, epochSeconds, kEcgPositionsPerSecond)))
    Report("CQLM2_AnalyzerDoc::AllocateECGRcgnz");
}

void SleepDstrbTables::AllocateECGLFHF(const SleepDstrbChannels& ch, int epochCount) {
  Release(ecgLFHF_);
  if (!IsSet(ch.ecg)) return;
  if (!tablemem::AllocZeroed(ecgLFHF_, tablemem::Count(epochCount)))
    Report("CQLM2_AnalyzerDoc::AllocateECGLFHF");
}

void SleepDstrbTables::AllocateECGTables(const SleepDstrbChannels& ch, int epochCount, int epochSeconds) {
  AllocateECGRcgnz(ch, epochCount, epochSeconds);
  AllocateECGLFHF(ch, epochCount);
}

void SleepDstrbTables::FreeECGTables() {
  FreeECGRcgnz();
  FreeECGLFHF();
}

void SleepDstrbTables::AllocateRcgnzSleepDstrbECGLFHF(const SleepDstrbChannels& ch, int epochCount,
                                                      int seconds, int ecgIntervalSeconds) {
  FreeRcgnzSleepDstrbECGLFHF();
  if (!IsSet(ch.ecg)) return;
  // A zero interval would divide by zero: no block then.
  const long long count =
      ecgIntervalSeconds > 0 ? static_cast<long long>(epochCount) * seconds / ecgIntervalSeconds : 0;
  if (!tablemem::AllocZeroed(ecgLF_, tablemem::Count(count)) ||
      !tablemem::AllocZeroed(ecgHF_, tablemem::Count(count))) {
    FreeRcgnzSleepDstrbECGLFHF();
    Report("CQLM2_AnalyzerDoc::AllocateRcgnzSleepDstrbECGLFHF");
    return;
  }
  ecgLFHFCount_ = count > 0 ? static_cast<std::int32_t>(count) : 0;
}

void SleepDstrbTables::FreeRcgnzSleepDstrbECGLFHF() {
  Release(ecgLF_);
  Release(ecgHF_);
  ecgLFHFCount_ = 0;
}

void SleepDstrbTables::AllocateArousalPageTbl(const SleepDstrbChannels& ch, int epochSeconds, int pageSeconds) {
  FreeArousalPageTbl();
  if (!IsSet(ch.arousal) || epochSeconds <= 0 || pageSeconds < 0) return;
  const double perEpoch = static_cast<double>(epochSeconds) / 0.1;
  const double entries = perEpoch * static_cast<double>(pageSeconds / epochSeconds) * kArousalPeaksPerPoint;
  if (!arousalPage_.Reset(static_cast<std::size_t>(entries))) Report("CQLM2_AnalyzerDoc::AllocateArousalPageTbl");
}

void SleepDstrbTables::FreeRcgnzSleepDstrb() {
  FreeRespRcgnz();
  FreeAirFlow();
  FreeRespC();
  FreeRespA();
  FreeAirFlowPeakTopTbl();
  FreeAirFlowPeakBottomTbl();
  FreeRespCPeakTopTbl();
  FreeRespCPeakBottomTbl();
  FreeRespAPeakTopTbl();
  FreeRespAPeakBottomTbl();
  FreeAirFlowPPAmpTbl();
  FreeRespCPPAmpTbl();
  FreeRespAPPAmpTbl();
  FreeLMRcgnz();
  FreeLMLeft();
  FreeLMRight();
  FreeLMBoth();
  FreeECGTables();
  FreeRcgnzSleepDstrbECGLFHF();
  FreeSnore();
  FreeArousalTables();
  FreeArousalRecognizeCopy();
  FreeArousalPeakNumCopy();
  FreeECGRcgnzCopy();
  FreeECGLFHFCopy();
}

RespPeakTable* SleepDstrbTables::PeakTable(int kind, bool top) {
  switch (kind) {
    case kKindAirFlow: return top ? &airFlowTop_ : &airFlowBottom_;
    case kKindChest: return top ? &respCTop_ : &respCBottom_;
    case kKindAbdomen: return top ? &respATop_ : &respABottom_;
    default: return nullptr;
  }
}

void SleepDstrbTables::SetRespPeakTbl(int kind, int which, const RespPeakEntry* source) {
  RespPeakTable* table = PeakTable(kind, which == 1);
  if (table == nullptr || source == nullptr) return;
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(table->count, 0)), table->entries.size());
  std::copy_n(source, n, table->entries.begin());
}

double SleepDstrbTables::GetRprsntInterval(const SleepDstrbChannels& ch, int kind, int channel) {
  if (channel < 0) return 0.0;  // never matches an unassigned role
  if (kind >= 11 && kind <= 16) {
    if (channel == ch.airFlow || channel == ch.chest || channel == ch.abdomen || channel == ch.ecg) return 0.25;
  } else if (kind == 17) {
    if (channel == ch.spo2) return 0.5;
  } else if (kind == 18) {
    if (channel == ch.position) return 0.5;
  } else if (kind == 19) {
    if (channel == ch.cpap) return 0.25;
  } else if (kind == 20) {
    if (channel == ch.position) return 0.5;
    if (channel == ch.lmLeft || channel == ch.lmRight) return 0.1;
  }
  return 0.0;
}

void SleepDstrbTables::SetRespEventRange(int kind, int from, int to, int limit) {
  respChanged_ = 1;
  int code = -1;
  switch (kind) {
    case 0: code = kRespNone; break;
    case 1: code = kRespObstructive; break;
    case 2: code = kRespMixed; break;
    case 3: code = kRespCentral; break;
    case 10: code = kRespHypopnea; break;
    default: return;
  }
  if (respRcgnz_.empty()) return;
  const int end = EditEnd(respRcgnz_, limit);
  from = std::clamp(from, 0, end);
  to = std::clamp(to, 0, end);
  for (int i = from; i < to; ++i) respRcgnz_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(code);
  TrimNeighbours(respRcgnz_, from, to, end, false);
}

void SleepDstrbTables::SetLMEventRange(int kind, int from, int to, int limit) {
  lmChanged_ = 1;
  const bool left = kind == 0 || kind == 1 || kind == 4 || kind == 5;
  const bool right = kind == 2 || kind == 3 || kind == 4 || kind == 5;
  const std::uint8_t value = (kind == 0 || kind == 2 || kind == 4) ? 1 : 0;
  if (left) MarkRange(lmLeft_, value, from, to, limit);
  if (right) MarkRange(lmRight_, value, from, to, limit);
}

void SleepDstrbTables::SetSnoreEventRange(int kind, int from, int to, int limit) {
  if (kind == 6 || kind == 7) MarkRange(snore_, kind == 6 ? 1 : 0, from, to, limit);
}

void SleepDstrbTables::SetArousalEventRange(int kind, int from, int to, int limit) {
  if (kind == 8 || kind == 9) MarkRange(arousalRecognize_, kind == 8 ? 1 : 0, from, to, limit);
}

// --- undo copies

void SleepDstrbTables::SaveECGRcgnz() {
  FreeECGRcgnzCopy();
  if (!ecgRcgnz_.Exists()) return;
  try {
    tablemem::CheckInjectedFailure();
    ecgRcgnzCopy_.positions = ecgRcgnz_.positions;
    ecgRcgnzCopy_.count = ecgRcgnz_.count;
  } catch (const std::bad_alloc&) {
    FreeECGRcgnzCopy();
    Report("CQLM2_AnalyzerDoc::SaveECGRcgnz");
  }
}

void SleepDstrbTables::FreeECGRcgnzCopy() { Release(ecgRcgnzCopy_); }

void SleepDstrbTables::RestoreECGRcgnz(const SleepDstrbChannels& ch, int epochCount, int epochSeconds) {
  AllocateECGRcgnz(ch, epochCount, epochSeconds);
  if (!ecgRcgnzCopy_.Exists() || !ecgRcgnz_.Exists()) return;
  CopyBack(ecgRcgnzCopy_.positions, ecgRcgnz_.positions);
  ecgRcgnz_.count = ecgRcgnzCopy_.count;
}

void SleepDstrbTables::SaveECGLFHF() {
  if (!Keep(ecgLFHF_, ecgLFHFCopy_)) Report("CQLM2_AnalyzerDoc::SaveECGLFHF");
}

void SleepDstrbTables::FreeECGLFHFCopy() { Release(ecgLFHFCopy_); }

void SleepDstrbTables::RestoreECGLFHF(const SleepDstrbChannels& ch, int epochCount) {
  AllocateECGLFHF(ch, epochCount);
  CopyBack(ecgLFHFCopy_, ecgLFHF_);
}

void SleepDstrbTables::SaveArousalPeakNum() {
  if (!Keep(arousalPeakNum_, arousalPeakNumCopy_)) Report("CQLM2_AnalyzerDoc::SaveArousalPeakNum");
}

void SleepDstrbTables::FreeArousalPeakNumCopy() { Release(arousalPeakNumCopy_); }

void SleepDstrbTables::RestoreArousalPeakNum(const SleepDstrbChannels& ch, int count) {
  AllocateArousalPeakNum(ch, count);
  CopyBack(arousalPeakNumCopy_, arousalPeakNum_);
}

void SleepDstrbTables::SaveArousalRecognize() {
  if (!Keep(arousalRecognize_, arousalRecognizeCopy_)) Report("CQLM2_AnalyzerDoc::SaveArousalRecognize");
}

void SleepDstrbTables::FreeArousalRecognizeCopy() { Release(arousalRecognizeCopy_); }

void SleepDstrbTables::RestoreArousalRecognize(const SleepDstrbChannels& ch, int count) {
  AllocateArousalRecognize(ch, count);
  CopyBack(arousalRecognizeCopy_, arousalRecognize_);
}

void SleepDstrbTables::SaveRespRcgnz() {
  bool ok = Keep(respRcgnz_, respRcgnzCopy_) && Keep(airFlow_, airFlowCopy_) && Keep(respC_, respCCopy_) &&
            Keep(respA_, respACopy_);
  if (!ok) {
    FreeRespCopies();
    Report("CQLM2_AnalyzerDoc::SaveRespRcgnz");
  }
}

void SleepDstrbTables::RestoreRespRcgnz() {
  CopyBack(respRcgnzCopy_, respRcgnz_);
  CopyBack(airFlowCopy_, airFlow_);
  CopyBack(respCCopy_, respC_);
  CopyBack(respACopy_, respA_);
  FreeRespCopies();
}

void SleepDstrbTables::SaveLMRcgnz() {
  bool ok = Keep(lmRcgnz_, lmRcgnzCopy_) && Keep(lmLeft_, lmLeftCopy_) && Keep(lmRight_, lmRightCopy_) &&
            Keep(lmBoth_, lmBothCopy_);
  if (!ok) {
    FreeLMCopies();
    Report("CQLM2_AnalyzerDoc::SaveLMRcgnz");
  }
}

void SleepDstrbTables::RestoreLMRcgnz() {
  CopyBack(lmRcgnzCopy_, lmRcgnz_);
  CopyBack(lmLeftCopy_, lmLeft_);
  CopyBack(lmRightCopy_, lmRight_);
  CopyBack(lmBothCopy_, lmBoth_);
  FreeLMCopies();
}

void SleepDstrbTables::SaveSnoreRcgnz() {
  if (!Keep(snore_, snoreCopy_)) Report("CQLM2_AnalyzerDoc::SaveSnoreRcgnz");
}

void SleepDstrbTables::RestoreSnoreRcgnz() {
  CopyBack(snoreCopy_, snore_);
  Release(snoreCopy_);
}

void SleepDstrbTables::FreePreviewCopies() {
  FreeRespCopies();
  FreeLMCopies();
  Release(snoreCopy_);
}

void SleepDstrbTables::FreeRespCopies() {
  Release(respRcgnzCopy_);
  Release(airFlowCopy_);
  Release(respCCopy_);
  Release(respACopy_);
}

void SleepDstrbTables::FreeLMCopies() {
  Release(lmRcgnzCopy_);
  Release(lmLeftCopy_);
  Release(lmRightCopy_);
  Release(lmBothCopy_);
}
