#pragma once
// The discriminant analysis of one learning set: the kept samples' used features, grouped by
// present class, give the within-class and between-class scatter; the generalised eigen
// problem Sb v = lambda Sw v gives the discriminant axes, scaled to unit pooled within-class
// variance. Build writes the eigenvalues, weights, offsets and every sample's axis scores
// into the model record.
#include <array>
#include <cstdint>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"

class LyrLearningSampleSet {
 public:
  // The record models[index] must hold its samples, class indexes and feature flags.
  LyrLearningSampleSet(LyrStagingModel* models, int index);
  virtual ~LyrLearningSampleSet();
  LyrLearningSampleSet(const LyrLearningSampleSet&) = delete;
  LyrLearningSampleSet& operator=(const LyrLearningSampleSet&) = delete;

  // 1, or 0 after a "Learning Failure !! : <code>" message (none for a class index above 6).
  int Build();

  int AxisCount() const { return q_; }
  int ClassCount() const { return k_; }
  int FeatureCount() const { return p_; }
  int SampleCount() const { return n_; }

 private:
  int Fail(int code);

  LyrStagingModel* models_;
  int index_;
  int q_ = 0, k_ = 0, p_ = 0, n_ = 0;
};
