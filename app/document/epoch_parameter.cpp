#include "app/document/epoch_parameter.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace {

constexpr double kRprsntIntervals[kRprsntSlotCount] = {0.25, 0.25, 0.25, 0.1, 0.1,
                                                       0.25, 0.5,  0.25, 0.5, 0.1};
const char* const kRprsntAllocNames[kRprsntSlotCount] = {
    "LyrEpochParameter::AllocateRprsntAirFlow",  "LyrEpochParameter::AllocateRprsntRespC",
    "LyrEpochParameter::AllocateRprsntRespA",    "LyrEpochParameter::AllocateRprsntLMLeft",
    "LyrEpochParameter::AllocateRprsntLMRight",  "LyrEpochParameter::AllocateRprsntECG",
    "LyrEpochParameter::AllocateRprsntSpO2",     "LyrEpochParameter::AllocateRprsntCPAP",
    "LyrEpochParameter::AllocateRprsntPosition", "LyrEpochParameter::AllocateRprsntSnore"};

// Values of an interval in an epoch: computed in double and truncated toward zero.
int PerEpoch(int epochSeconds, double interval) {
  return static_cast<int>(static_cast<double>(epochSeconds) / interval);
}

// Position of a float per-channel kind among the six float arrays of an epoch.
int FloatKindIndex(int kind) { return kind == kChCoefVariation ? 5 : kind; }

template <class T>
void Release(T& v) {
  T().swap(v);
}

}  // namespace

std::uint8_t MergeStageCode(int mode, std::uint8_t code) {
  if (mode <= 0) return code;
  std::uint8_t base = code >= 20 ? static_cast<std::uint8_t>(code - 20) : code;
  std::uint8_t add = static_cast<std::uint8_t>(code - base);
  if (base < 4 || base > 6) return code;
  std::uint8_t merged = base;
  if (mode == 1) {
    if (base == 6) merged = 5;
  } else if (mode == 2) {
    if (base == 6) merged = 5;
    if (base == 4) merged = 3;
  } else {
    merged = 3;
  }
  return static_cast<std::uint8_t>(merged + add);
}

LyrEpochParameter::~LyrEpochParameter() { FreeAll(1); }

void LyrEpochParameter::Report(const std::string& text) const {
  if (report_) report_(text);
}

int LyrEpochParameter::SetNew(int epochCount, int /*unused*/, int chCount, int bandChCount,
                              int withRecords, int learningSampleMode) {
  FreeAll(withRecords);
  epochCount_ = std::max(epochCount, 0);
  chCount_ = std::max(chCount, 0);
  bandChCount_ = std::max(bandChCount, 0);
  const std::size_t n = static_cast<std::size_t>(epochCount_);

  bool ok = true;
  if (withRecords != 0) {
    ok = tablemem::AllocZeroed(records_, n);
  } else if (!records_.empty()) {
    // Records are kept, but they must cover the new epoch count: a longer
    // recording would otherwise be read and written past the old table.
    ok = tablemem::ResizeKeeping(records_, n);
  }
  if (ok) {
    if (learningSampleMode != 0)
      ok = withRecords != 0 ? tablemem::AllocZeroed(flags_, n) : tablemem::ResizeKeeping(flags_, n);
    else if (!flags_.empty())
      ok = tablemem::ResizeKeeping(flags_, n);
  }
  if (ok) {
    ok = tablemem::AllocZeroed(band_, tablemem::Count(epochCount_, kBandEntries, BandWidth()));
    bandEntries_ = ok;
  }
  if (ok) {
    ok = tablemem::AllocZeroed(chFloat_, tablemem::Count(epochCount_, kChValueKinds - 1, chCount_)) &&
         tablemem::AllocZeroed(chCross_, tablemem::Count(epochCount_, chCount_));
    chEntries_ = ok;
  }
  if (!ok) {
    Report(tablemem::OutOfMemoryMessage("LyrEpochParameter::SetNew"));
    FreeAll(withRecords);
    epochCount_ = 0;
    return 0;
  }
  // Fresh records read as zero already; only kept ones are touched (a fresh table's pages
  // stay unmapped until written).
  if (withRecords == 0)
    for (LyrEpochRec& rec : records_) rec.emg = 0.0f;
  return 1;
}

std::uint8_t LyrEpochParameter::GetStage(int mode, int epoch, int slot) const {
  const LyrEpochRec* rec = Record(epoch);
  if (rec == nullptr || slot < 0 || slot >= kStageSlots) return 0;
  return MergeStageCode(mode, rec->stage[slot]);
}

int LyrEpochParameter::SetStage(int epoch, std::uint8_t code) {
  LyrEpochRec* rec = Record(epoch);
  if (rec == nullptr) return 0;
  rec->stage[2] = rec->stage[1];
  rec->stage[1] = rec->stage[0];
  rec->stage[0] = code;
  return 1;
}

int LyrEpochParameter::SetCandidate(int epoch, int k, std::uint8_t code) {
  LyrEpochRec* rec = Record(epoch);
  if (rec == nullptr || k < 0 || k >= kCandidateCount) return 0;
  if (code == 0)
    rec->candidate[k] = 0;
  else if (rec->candidate[k] == 0)
    rec->candidate[k] = code;
  return 1;
}

int LyrEpochParameter::GetCandidates(int mode, int epoch, std::uint8_t out[kCandidateCount]) const {
  const LyrEpochRec* rec = Record(epoch);
  if (rec == nullptr) {
    std::fill(out, out + kCandidateCount, std::uint8_t{0});
    return 0;
  }
  for (int k = 0; k < kCandidateCount; ++k) out[k] = MergeStageCode(mode, rec->candidate[k]);
  return 1;
}

int LyrEpochParameter::SetEpochFlag(int epoch, std::uint8_t value, int index) {
  if (flags_.empty() || index < 0 || index > 3) return 0;
  if (epoch >= 0 && static_cast<std::size_t>(epoch) < flags_.size() && epoch < epochCount_)
    flags_[static_cast<std::size_t>(epoch)][static_cast<std::size_t>(index)] = value;
  return 1;
}

int LyrEpochParameter::ClearAll(int epochSeconds) {
  if (!records_.empty()) std::memset(static_cast<void*>(records_.data()), 0, records_.size() * sizeof(LyrEpochRec));
  std::fill(flags_.begin(), flags_.end(), std::array<std::uint8_t, 4>{});
  std::fill(band_.begin(), band_.end(), 0.0f);
  std::fill(chFloat_.begin(), chFloat_.end(), 0.0f);
  std::fill(chCross_.begin(), chCross_.end(), std::uint16_t{0});
  // A slot is cleared over the values of the given epoch length, never beyond
  // what it holds.
  for (int slot = 0; slot < kRprsntSlotCount; ++slot) {
    auto& values = rprsnt_[static_cast<std::size_t>(slot)];
    if (values.empty()) continue;
    const std::size_t per = static_cast<std::size_t>(
        std::clamp(RprsntNum(slot, epochSeconds), 0, rprsntCount_[static_cast<std::size_t>(slot)]));
    const std::size_t stride = static_cast<std::size_t>(rprsntCount_[static_cast<std::size_t>(slot)]);
    for (std::size_t e = 0; e * stride < values.size(); ++e)
      std::fill_n(values.begin() + static_cast<std::ptrdiff_t>(e * stride), per, 0.0f);
  }
  return 1;
}

void LyrEpochParameter::AllocateRprsntTable() { rprsntEntries_ = true; }

bool LyrEpochParameter::SaveRprsnt(RprsntCopy& copy) const {
  copy = RprsntCopy{};
  try {
    copy.values = rprsnt_;
    copy.counts = rprsntCount_;
    copy.held = true;
    return true;
  } catch (const std::bad_alloc&) {
    copy = RprsntCopy{};
    return false;
  }
}

void LyrEpochParameter::RestoreRprsnt(RprsntCopy& copy) {
  if (!copy.held) return;
  rprsnt_.swap(copy.values);
  rprsntCount_ = copy.counts;
  copy = RprsntCopy{};
}

void LyrEpochParameter::AllocateRprsntSlot(int slot, int epochSeconds) {
  if (slot < 0 || slot >= kRprsntSlotCount || !rprsntEntries_) return;
  const auto s = static_cast<std::size_t>(slot);
  FreeRprsntSlot(slot);
  const int per = std::max(RprsntNum(slot, epochSeconds), 0);
  if (!tablemem::AllocZeroed(rprsnt_[s], tablemem::Count(epochCount_, per))) {
    Report(kRprsntAllocNames[s]);
    return;
  }
  rprsntCount_[s] = per;
}

void LyrEpochParameter::FreeRprsntSlot(int slot) {
  if (slot < 0 || slot >= kRprsntSlotCount) return;
  const auto s = static_cast<std::size_t>(slot);
  Release(rprsnt_[s]);
  rprsntCount_[s] = 0;
}

int LyrEpochParameter::GetRprsntNumResp(int epochSeconds) { return PerEpoch(epochSeconds, 0.25); }
int LyrEpochParameter::GetRprsntNumLM(int epochSeconds) { return PerEpoch(epochSeconds, 0.1); }
int LyrEpochParameter::GetRprsntNumCPAP(int epochSeconds) { return PerEpoch(epochSeconds, 0.25); }
int LyrEpochParameter::GetRprsntNumSpO2(int epochSeconds) { return PerEpoch(epochSeconds, 0.5); }
int LyrEpochParameter::GetRprsntNumPosition(int epochSeconds) { return PerEpoch(epochSeconds, 0.5); }
int LyrEpochParameter::GetRprsntNumSnore(int epochSeconds) { return PerEpoch(epochSeconds, 0.1); }
int LyrEpochParameter::GetRprsntNumArousal(int epochSeconds) { return PerEpoch(epochSeconds, 0.1); }

double LyrEpochParameter::RprsntInterval(int slot) {
  return slot >= 0 && slot < kRprsntSlotCount ? kRprsntIntervals[slot] : 0.0;
}

int LyrEpochParameter::RprsntNum(int slot, int epochSeconds) {
  if (slot < 0 || slot >= kRprsntSlotCount) return 0;
  return PerEpoch(epochSeconds, kRprsntIntervals[slot]);
}

void LyrEpochParameter::FreeRecords() {
  Release(records_);
  Release(flags_);
}

void LyrEpochParameter::FreeRprsnt() {
  for (int slot = 0; slot < kRprsntSlotCount; ++slot) FreeRprsntSlot(slot);
  rprsntEntries_ = false;
}

void LyrEpochParameter::FreeBandValues(int keepEntries) {
  Release(band_);
  if (keepEntries == 0) bandEntries_ = false;
}

void LyrEpochParameter::FreeChValues() {
  Release(chFloat_);
  Release(chCross_);
  chEntries_ = false;
}

void LyrEpochParameter::FreeAll(int withRecords) {
  if (withRecords != 0) FreeRecords();
  FreeRprsnt();
  FreeBandValues(0);
  FreeChValues();
}

LyrEpochRec* LyrEpochParameter::Record(int epoch) {
  return const_cast<LyrEpochRec*>(std::as_const(*this).Record(epoch));
}

const LyrEpochRec* LyrEpochParameter::Record(int epoch) const {
  if (!InRange(epoch) || static_cast<std::size_t>(epoch) >= records_.size()) return nullptr;
  return &records_[static_cast<std::size_t>(epoch)];
}

std::uint8_t* LyrEpochParameter::EpochFlags(int epoch) {
  if (!InRange(epoch) || static_cast<std::size_t>(epoch) >= flags_.size()) return nullptr;
  return flags_[static_cast<std::size_t>(epoch)].data();
}

float* LyrEpochParameter::BandValues(int epoch, int entry) {
  return const_cast<float*>(std::as_const(*this).BandValues(epoch, entry));
}

const float* LyrEpochParameter::BandValues(int epoch, int entry) const {
  if (!InRange(epoch) || entry < 0 || entry >= kBandEntries || band_.empty()) return nullptr;
  const std::size_t w = static_cast<std::size_t>(BandWidth());
  return band_.data() + (static_cast<std::size_t>(epoch) * kBandEntries + static_cast<std::size_t>(entry)) * w;
}

float* LyrEpochParameter::ChValues(int epoch, int kind) {
  return const_cast<float*>(std::as_const(*this).ChValues(epoch, kind));
}

const float* LyrEpochParameter::ChValues(int epoch, int kind) const {
  if (!InRange(epoch) || kind < 0 || kind >= kChValueKinds || kind == kChCrossCount ||
      chFloat_.empty())
    return nullptr;
  const std::size_t c = static_cast<std::size_t>(chCount_);
  return chFloat_.data() +
         (static_cast<std::size_t>(epoch) * (kChValueKinds - 1) + static_cast<std::size_t>(FloatKindIndex(kind))) * c;
}

std::uint16_t* LyrEpochParameter::ChCrossCount(int epoch) {
  return const_cast<std::uint16_t*>(std::as_const(*this).ChCrossCount(epoch));
}

const std::uint16_t* LyrEpochParameter::ChCrossCount(int epoch) const {
  if (!InRange(epoch) || chCross_.empty()) return nullptr;
  return chCross_.data() + static_cast<std::size_t>(epoch) * static_cast<std::size_t>(chCount_);
}

float* LyrEpochParameter::Rprsnt(int slot, int epoch) {
  return const_cast<float*>(std::as_const(*this).Rprsnt(slot, epoch));
}

const float* LyrEpochParameter::Rprsnt(int slot, int epoch) const {
  if (slot < 0 || slot >= kRprsntSlotCount || !InRange(epoch)) return nullptr;
  const auto s = static_cast<std::size_t>(slot);
  if (rprsnt_[s].empty()) return nullptr;
  const std::size_t offset = static_cast<std::size_t>(epoch) * static_cast<std::size_t>(rprsntCount_[s]);
  if (offset >= rprsnt_[s].size()) return nullptr;
  return rprsnt_[s].data() + offset;
}

int LyrEpochParameter::RprsntCount(int slot) const {
  return slot >= 0 && slot < kRprsntSlotCount ? rprsntCount_[static_cast<std::size_t>(slot)] : 0;
}

void LyrEpochParameter::Swap(LyrEpochParameter& other) noexcept {
  using std::swap;
  swap(flags_, other.flags_);
  swap(epochCount_, other.epochCount_);
  swap(records_, other.records_);
  swap(rprsntEntries_, other.rprsntEntries_);
  swap(rprsnt_, other.rprsnt_);
  swap(rprsntCount_, other.rprsntCount_);
  swap(bandEntries_, other.bandEntries_);
  swap(band_, other.band_);
  swap(chEntries_, other.chEntries_);
  swap(chFloat_, other.chFloat_);
  swap(chCross_, other.chCross_);
  swap(bandChCount_, other.bandChCount_);
  swap(chCount_, other.chCount_);
}
