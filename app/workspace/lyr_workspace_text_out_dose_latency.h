#pragma once
// The animal report's dose-latency file: for up to three doses, how long after each dose the
// first episode of each sleep stage began, then the REM cycles of the range (REM latency, REM
// length and cycle length of every REM run, with averages and standard deviations).
// Built on the stack by the report run, given the document, used once.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CQLM2_AnalyzerDoc;
class LyrReStageWithEpisode;

class LyrWorkspaceTextOutDoseLatency {
 public:
  // Latency slots in output order and the stage code each holds: stages 3, 4, 5, 6, then REM.
  static constexpr int kSlots = 5;
  static constexpr std::array<int, kSlots> kSlotCode{3, 4, 5, 6, 2};
  // Flags of GetStatStage.
  static constexpr int kInEpisode = 0;
  static constexpr int kDiscarded = 20;
  static constexpr int kOutside = 100;

  // doseEpochs: epoch of each dose, -1 none. doseTimes: time value of each dose (seconds of
  // the calendar, see TimeOrigin). restaging may be null; it is read while UseEpisodeSetting
  // is on and stays the caller's.
  LyrWorkspaceTextOutDoseLatency(int startEpoch, int endEpoch, const std::array<std::int32_t, 3>& doseEpochs,
                                 const std::array<std::int64_t, 3>& doseTimes, const LyrReStageWithEpisode* restaging);

  // Writes the whole file (beside it, renamed into place). 1 written; 0 after the message
  // "Failer to make file.\nStop to output data." with the method's name.
  int OutputText(const std::string& path);

  struct StatStage {
    int code = 0;
    int flag = kInEpisode;  // kInEpisode, kDiscarded (code was + 20) or kOutside (code was + 100)
  };
  // Stage of an epoch as the statistics take it.
  StatStage GetStatStage(int epoch) const;

  struct StageColumn {
    bool found = false;
    std::string name;
    int row = 0;  // row of StageEpisodeRules
  };
  // Stage column i (code i + 1) of the episode header under the document's stage type.
  StageColumn GetStageColumn(int index) const;
  // Name of a latency slot's stage; false when the stage type lacks it.
  bool GetLatencySlotName(int slot, std::string& name) const;
  // Time label of a time value: the document's millisecond label, clock or elapsed.
  std::string FormatTimeLabel(std::int64_t timeValue) const;

  // Time values: seconds of the calendar (days since 1 January 1970 x 86,400 + time of day).
  // The origin is the recording's start plus the data's start offset while clock time is
  // shown and the start is known, else 1 November 2000 00:00:00; epoch e lies at origin +
  // EpochSeconds x e, and a dose s seconds into the data at origin + s.
  static std::int64_t TimeOrigin(const CQLM2_AnalyzerDoc& doc);
  static std::int64_t EpochTimeValue(const CQLM2_AnalyzerDoc& doc, int epoch);

  // Set by the caller before OutputText.
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

  // One REM run start of CollectRemCycles; seconds.
  struct RemCycleRecord {
    std::int32_t startEpoch = 0;
    std::int32_t latency = 0;
    std::int32_t cycle = 0;  // -1 for the last record
    std::int32_t length = 0;
  };
  struct RemStat {
    float average = 0.0f;
    float sd = 0.0f;
    std::int32_t count = 0;
  };

 private:
  struct SlotResult {
    std::int64_t time = 0;
    int epoch = -1;
  };
  using DoseResult = std::array<SlotResult, kSlots>;

  int LastEpoch() const;
  int GetRunLength(int code, int from, int last) const;
  DoseResult FindDoseLatency(int dose) const;
  void CollectRemCycles();
  std::string EpisodeHeader(char c) const;
  std::string DoseLatencyTable(char c, const std::array<DoseResult, 3>& results) const;
  std::string RemTable(char c) const;
  std::string EpochLabel(int epoch) const;

  int startEpoch_;
  int endEpoch_;
  std::array<std::int32_t, 3> doseEpochs_;
  std::array<std::int64_t, 3> doseTimes_;
  const LyrReStageWithEpisode* restaging_;
  std::vector<RemCycleRecord> cycles_;
  RemStat latencyStat_;
  RemStat cycleStat_;
};
