#pragma once
// The re-staged sequence of the open recording, in which only episodes keep their stage; read
// by the reports and the vigilance-state output while UseEpisodeSetting is on. The document's
// own stage codes are never changed.
#include <cstdint>
#include <vector>

class CQLM2_AnalyzerDoc;

// Non-zero: the outputs read stages from the re-staged sequence.
extern std::uint32_t UseEpisodeSetting;

class LyrReStageWithEpisode {
 public:
  explicit LyrReStageWithEpisode(const CQLM2_AnalyzerDoc* doc) : doc_(doc) {}
  // Re-staged code of an epoch merged by the stage type; 0 without a sequence or beyond it.
  // Codes of 100 and above pass unchanged.
  std::int8_t GetStage(int epoch) const;
  // One code per epoch (the builder fills it).
  std::vector<std::int8_t> ReStaged;

 private:
  const CQLM2_AnalyzerDoc* doc_;
};
