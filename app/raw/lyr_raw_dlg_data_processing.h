#pragma once
// "Data Processing" (modal, template 176): the per-channel processing the document applies
// when it fills the page buffers. It edits the document's channel records in place; the main
// frame re-creates the per-epoch tables and re-reads the page after OK.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_DATA_PROCESSING = 176;

class LyrRawDlgDataProcessing : public ui::Dialog {
 public:
  explicit LyrRawDlgDataProcessing(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_DATA_PROCESSING, parent), m_pDoc(doc) {}
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
};
