#pragma once
// The per-epoch staging step of a screening run: every epoch of the page just screened gets
// a stage from the logic conditions of the document's stage type (or, in learning mode 1,
// from the learned classifier), its candidates, and, when its samples exceed an artifact
// level, the +20 family. A parameter-only run touches artifact epochs alone.
//
// The same pass re-scores the screened epochs after the logic conditions were edited.
#include <array>
#include <cstdint>
#include <functional>

#include "app/document/analysis_param_blocks.h"
#include "app/scoring/logic_scoring.h"
#include "app/scoring/lyr_auto_staging.h"

class CQLM2_AnalyzerDoc;

// The sample record of an epoch for the learned classifier: the record its learning-sample
// file would hold.
LearningSample BuildStagingSample(const CQLM2_AnalyzerDoc& doc, int epoch, int epochSeconds);

class LyrEpochStagingStep {
 public:
  struct Page {
    int pageNumber = 0;
    int pageSeconds = 0;
    int epochSeconds = 0;
    int parameterOnly = 0;       // 1: a parameter-only run
    int learningSampleMode = 0;  // 1: the learned classifier stages; 1 and 2 also write flags
    // 1 when epoch i of the page exceeds an artifact level (null: never).
    std::function<int(int i)> overThreshold;
    // Told after each staged epoch: its index in the page and whether it is the page's last.
    std::function<void(int i, bool last)> staged;
    const LyrAutoStaging* classifier = nullptr;  // null: no model
  };

  // Stages the epochs of the page in the document's tables. Returns the number of epochs
  // staged (0 without records).
  int StagePage(CQLM2_AnalyzerDoc& doc, const Page& page);

  // Stages epochs 0..lastEpoch by the logic conditions: an epoch held as discarded (20 and
  // above) keeps that family, and its candidates move with it. In learning-sample mode the
  // new stage also goes to flag byte 0.
  static int RescoreByLogic(CQLM2_AnalyzerDoc& doc, int lastEpoch, int epochSeconds, int learningSampleMode);

  const std::array<LogicCondition, kLogicConditionCount>& WorkingConditions() const { return conditions_; }

 private:
  // The set of the document's stage type, copied once per page.
  std::array<LogicCondition, kLogicConditionCount> conditions_{};
};

// Stores a stage and its candidates as an epoch's new result: slots that held candidates of
// an earlier scoring are emptied first, so no stale candidate survives.
void StoreEpochResult(LyrEpochParameter& tables, int epoch, std::uint8_t stage,
                      const std::uint8_t candidates[kCandidateCount]);
