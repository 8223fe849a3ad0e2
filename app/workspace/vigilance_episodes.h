#pragma once
// Episodes of the vigilance state: a range of epochs cut into time divisions and, in each,
// into runs of one stage. Statistics go into 20 slots: 0..9 the stages of the stage type, 18
// NonREM sleep and 19 total sleep. An epoch reads as a base code and a class: 0, 20 (artifact,
// when counted apart) or 100 (listed, counted nowhere).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kVspSlots = 20;
constexpr int kVspNonRemSlot = 18;
constexpr int kVspSleepSlot = 19;

struct VspStage {
  int base = 0;
  int cls = 0;
  bool Scored() const { return base != 0 && base != 20; }
};
// A raw stage code read as a signed byte: above 100 class 100, 21..100 class 20 (0 unless the
// artifact is totalled apart), else class 0.
VspStage ReadVspStage(int raw, bool artifactSeparate);

// Slot of a stage code (n and n + 20 alike) under a stage type and a count of shared stages;
// -1 when it has none.
int StageSlotOf(int code, int stageType, int extraStages);
// Stage code of a slot, 0 for none (slots 18 and 19 included).
int SlotStage(int slot, int stageType, int extraStages);
bool IsSleepStage(int base);
bool IsNonREMStage(int base);

// Divisions of a range: 0 for a length of 0, 1 when the range is shorter, else rounded up.
int DivisionCount(int divisionLength, int start, int end);

// The epochs the finder reads.
struct VspEpochs {
  // Raw stage code of an epoch.
  std::function<int(int)> raw;
  int count = 0;
  bool artifactSeparate = false;
  VspStage At(int epoch) const { return ReadVspStage(raw(epoch), artifactSeparate); }
};

// Trims a range to its scored epochs (trimming 0) or also drops the episodes the range cuts
// (trimming 1). 1 when a non-empty range remains.
int TrimRange(const VspEpochs& epochs, int trimming, int& start, int& end);

struct VspSlotStat {
  long count = 0;
  long total = 0;   // seconds
  double mean = 0.0;
  double sumSquares = 0.0;
};
struct VspEpisodeRec {
  int code = 0;   // base + class
  int first = 0;
  int count = 0;
};
struct VspDivision {
  std::array<VspSlotStat, kVspSlots> slots{};
  std::vector<VspEpisodeRec> episodes;
  // Per slot, (duration in epochs, episodes of that duration), durations increasing.
  std::array<std::vector<std::pair<int, int>>, kVspSlots> durations;
};

// The episodes of one trimmed division start..end.
VspDivision FindEpisodes(const VspEpochs& epochs, int start, int end, int epochSeconds, int stageType,
                         int extraStages);

// "%ld" of a slot's mean in whole seconds, or none when it has no episode; "%ld" of its SD
// (truncated) or none below two episodes.
std::string VspMeanText(const VspSlotStat& s, const std::string& none);
std::string VspSdText(const VspSlotStat& s, const std::string& none);
