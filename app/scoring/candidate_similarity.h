#pragma once
// Similarity of candidate learning-sample files to the open recording: the stage type and the
// shown items (No, Service, Engineer, Doctor, EpochTime, ID, Sex) become a 0/1 item matrix,
// correspondence analysis gives each row scores on the leading dimensions (as many as reach
// the cumulative threshold, at most the selection limit), and a candidate's similarity is
// its distance from the raw data's row scaled to 0..100.
#include <string>
#include <vector>

#include "app/scoring/learning_candidate.h"

struct SimilarityResult {
  std::vector<int> candidates;  // per candidate, 0..100
  int raw = 100;
  std::string failure;          // the message of a failed step, or empty
};

SimilarityResult ComputeSimilarities(const std::vector<LearningCandidate>& candidates, const LearningCandidate& raw,
                                     const LearningItemFlags& shown, double cumulativeThreshold, int selectionLimit);
