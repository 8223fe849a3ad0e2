#pragma once
// The re-staged sequence of the open recording, in which only episodes keep their stage: runs
// of one stage at least as long as the stage's episode length. Epochs between episodes are
// absorbed into the episode before them (short interruptions) or marked as lying outside
// every episode (code + 100). Read by the dose-latency output and the vigilance-state output
// while UseEpisodeSetting is on. The document's own stage codes are never changed.
//
// Calling order of a report run: construct, AllocateReStage, ReStage, GetStage while the
// outputs run, FreeReStage (the destructor frees too).
#include <array>
#include <cstdint>
#include <vector>

#include "app/frame/program_settings.h"

class CQLM2_AnalyzerDoc;

// Non-zero: the outputs read stages from the re-staged sequence. Kept in the settings file's
// animal report word (offset 10,052); the episode rules are StageEpisodeRules
// (first: episode length s, second: detect-interruption length s, third: allowed short
// interruptions).
inline std::uint32_t& UseEpisodeSetting = AnimalReportSetting;

class LyrReStageWithEpisode {
 public:
  explicit LyrReStageWithEpisode(const CQLM2_AnalyzerDoc* doc) : doc_(doc) {}
  ~LyrReStageWithEpisode() = default;
  LyrReStageWithEpisode(const LyrReStageWithEpisode&) = delete;
  LyrReStageWithEpisode& operator=(const LyrReStageWithEpisode&) = delete;

  // One byte per epoch filled with the document's stages (merged by the stage type, the
  // discarded family reduced by 20). 1; 0 after the out-of-memory message (beep and
  // "LyrReStageWithEpisode::AllocateReStage" with "Fail to get memory.").
  int AllocateReStage();
  // Runs the episode walk over the whole recording. 0 without an allocated sequence, else 1.
  int ReStage();
  // Re-staged code of an epoch merged by the stage type; 0 without a sequence or beyond it.
  // Codes of 100 and above (outside every episode) pass unchanged.
  std::int8_t GetStage(int epoch) const;
  // Drops the sequence. 1.
  int FreeReStage();

  // Row of EpisodeSettingTable (StageEpisodeRules) of a stage code under a stage type; codes
  // above 20 are first reduced by 20.
  static int EpisodeRow(int stageType, int code);
  // Seconds as whole epochs, rounded up (a negative setting is not rounded); 0 for an epoch
  // length below 1.
  static int SecondsToEpochs(std::int32_t seconds, int epochSeconds);
  // Thresholds of a stage code in epochs at the program's epoch length and stage type: the
  // episode length L, the detect-interruption length D and the allowed short interruptions A.
  // Code 0 (unscored) takes 10,000 s and 10,000 interruptions.
  int EpisodeEpochs(int code) const;
  int DetectEpochs(int code) const;
  int AllowedInterruptions(int code) const;

  // The sequence, one value per epoch: 1..11 a stage that stays, code + 100 outside every
  // episode, 0 unscored. Empty when none is allocated.
  std::vector<std::int8_t> ReStaged;

 private:
  struct Episode {
    bool found = false;
    int stage = 0;
    int next = 0;
    int end = 0;
    int firstLen = 0;
  };
  int StageType() const;
  // The document's stage of an epoch, merged and reduced by 20.
  int DocStage(int epoch) const;
  // The same from the copy taken for the walk.
  int Stage(int epoch) const { return stages_[static_cast<std::size_t>(epoch)]; }
  int EpisodeLength(int code) const {
    return code >= 0 && code <= 20 ? episodeEpochs_[static_cast<std::size_t>(code)] : EpisodeEpochs(code);
  }
  void FindRuns();
  Episode FindEpisode(int start) const;
  void MarkOutside(int from, int to);
  int MarkInterruption(int stage, int next, int end, int firstLen);
  void AbsorbShortInterruptions(int stage, int next, int end);

  const CQLM2_AnalyzerDoc* doc_;
  // The document's stages and the episode lengths per code while ReStage walks.
  std::vector<std::int8_t> stages_;
  std::array<int, 21> episodeEpochs_{};
  // Runs of one stage: first epoch and length, the run of each epoch, and per run the first
  // run from it on that can begin a following episode (-1 none; one entry past the last run).
  std::vector<int> runStart_;
  std::vector<int> runLength_;
  std::vector<int> runOf_;
  std::vector<int> nextEpisodeRun_;
};
