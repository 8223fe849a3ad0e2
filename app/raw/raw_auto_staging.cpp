// The staging of the current-page row's page during a screening run. The frame's screening
// step calls it once per page after the page's wave forms were recognised; the page drawing
// does not, so that a repaint never stages a page twice (every staging moves the epoch's
// earlier codes into its history).
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/recognition_binding.h"
#include "app/scoring/screening_steps.h"

void LyrRawAreaView::AutoStagingTransaction() {
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr || rowIndex_ != kCurrentPageRow || ScreeningRunning != 1) return;
  screening::RunPagePasses(*doc, CQLM2_AnalyzerDoc::MainFrame());
}
