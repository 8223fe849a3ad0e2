#pragma once
// Discretisation of the discriminant axes of one learning set by the minimum-description-
// length principle cut: an interval is split at its best cut only when the information gained
// pays for describing the split; the new halves are examined pass by pass until none earns a
// cut or the cut-point limit is reached. Each used axis gets its ascending cut list.
#include <cstdint>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"

class Mdlpc {
 public:
  // The record models[index] must hold its axis scores and compact class indexes.
  Mdlpc(LyrStagingModel* models, int index, int cutPointLimit);
  virtual ~Mdlpc();

  // Cut lists of every used axis into the record's cutLists; 1, or 0 after a message.
  int BuildCutTable();

  // The cuts of one axis's values with their classes (0 .. classCount - 1): ascending. The
  // scores of the accepted proposals, in acceptance order, go to `scores` when given.
  static std::vector<double> CutAxis(const std::vector<double>& values, const std::vector<int>& classes,
                                     int classCount, int cutPointLimit, std::vector<double>* scores = nullptr);

 private:
  LyrStagingModel* models_;
  int index_;
  int cutPointLimit_;
};
