#include "app/scoring/screening_steps.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/raw/page_epoch_values.h"
#include "app/raw/recognition_binding.h"
#include "app/frame/frame_globals.h"
#include "app/frame/navigation_state.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/scoring/epoch_staging_step.h"
#include "app/trend/trend_dummy_view.h"

namespace screening {

namespace {

// The staging step's working copy of the conditions lives across the pages of a run.
LyrEpochStagingStep& StagingStep() {
  static LyrEpochStagingStep step;
  return step;
}

}  // namespace

void RunPagePasses(CQLM2_AnalyzerDoc& doc, CMainFrame* frame) {
  PageEpochValues values = PageEpochValuesForRow(doc, frame, kCurrentPageRow);
  CalcPageEpochValues(values);
  if (frame != nullptr) frame->PageValuesComputed();

  LyrEpochStagingStep::Page page;
  page.pageNumber = doc.CurrentPage;
  page.pageSeconds = PageSeconds;
  page.epochSeconds = EpochSeconds;
  page.parameterOnly = ScreeningParameterOnly;
  page.learningSampleMode = LearningSampleMode;
  page.overThreshold = [&values](int i) { return IsEpochOverThreshold(values, i); };
  page.classifier = &doc.AutoStaging;
  // The hypnogram strip and the trend graphs follow each staged epoch.
  LyrTrendDummyView* trend = frame != nullptr ? frame->TrendView() : nullptr;
  if (trend != nullptr) {
    page.staged = [trend](int i, bool last) {
      trend->StageArea.ScrollToEpoch(0, i, last ? 1 : 0);
      trend->TrendArea.ScrollToEpoch(0, i, last ? 1 : 0);
    };
  }
  StagingStep().StagePage(doc, page);
  if (trend != nullptr) trend->Invalidate(false);
}

int ApplyLastStage(CQLM2_AnalyzerDoc& doc) { return doc.ApplyLastStageRules(doc.LastScreenedEpoch); }

void RescoreByLogic(CQLM2_AnalyzerDoc& doc, int learningSampleMode) {
  LyrEpochStagingStep::RescoreByLogic(doc, doc.LastScreenedEpoch, EpochSeconds, learningSampleMode);
}

}  // namespace screening
