#include "app/scoring/lyr_dlg_screening.h"

LyrDlgScreening::LyrDlgScreening(CQLM2_AnalyzerDoc* doc, int templateId, ui::Window* parent)
    : ui::Dialog(templateId, parent), m_pDoc(doc) {}
