#include "app/scoring/screening_steps.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/raw/page_epoch_values.h"
#include "app/raw/recognition_binding.h"

namespace screening {

void RunPagePasses(CQLM2_AnalyzerDoc& doc, CMainFrame* frame) {
  PageEpochValues values = PageEpochValuesForRow(doc, frame, kCurrentPageRow);
  CalcPageEpochValues(values);
}

int ApplyLastStage(CQLM2_AnalyzerDoc& doc) {
  (void)doc;
  return 0;
}

void RescoreByLogic(CQLM2_AnalyzerDoc& doc, int learningSampleMode) {
  (void)doc;
  (void)learningSampleMode;
}

}  // namespace screening
