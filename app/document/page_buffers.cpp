#include "app/document/qlm2_analyzer_doc.h"

// The page reading proper fills RecordInfo's five buffers; until then these
// entry points keep the bookkeeping that the navigation relies on.

int CQLM2_AnalyzerDoc::SetPageData() {
  if (PageReads.failNextReloads > 0) {
    --PageReads.failNextReloads;
    return 0;
  }
  ++PageReads.fullReloads;
  return 1;
}

int CQLM2_AnalyzerDoc::MovePageRawData(int /*forward*/) {
  ++PageReads.edgePageReads;
  return 1;
}

int CQLM2_AnalyzerDoc::MovePageDiviedPageFFTData(int /*forward*/) {
  ++PageReads.edgeSpectrumMoves;
  return 1;
}

int CQLM2_AnalyzerDoc::CalcEpochFFTData() {
  ++PageReads.epochSpectra;
  return 1;
}
