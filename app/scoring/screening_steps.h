#pragma once
// Steps of a screening run that work on the document alone: the per-epoch passes over the
// page just screened, the last-stage rules after the last page, and the re-scoring of the
// screened epochs by the staging logic.
class CQLM2_AnalyzerDoc;
class CMainFrame;

namespace screening {

// After the page's wave forms were recognised: its per-epoch values and the staging of its
// epochs (frame may be null: no per-page arrays).
void RunPagePasses(CQLM2_AnalyzerDoc& doc, CMainFrame* frame);
// The last-stage rules chosen by the first word of the logic option block (1 the four
// rules, 2 the stage-change rule) over the screened epochs. Returns the mode that ran.
int ApplyLastStage(CQLM2_AnalyzerDoc& doc);
// Stages epochs 0 .. the last screened epoch by the logic conditions of the document's stage
// type: an epoch held as discarded (20 and above) keeps that family; its candidates are
// stored with it. In learning-sample mode the new stage also goes to flag byte 0.
void RescoreByLogic(CQLM2_AnalyzerDoc& doc, int learningSampleMode);

}  // namespace screening
