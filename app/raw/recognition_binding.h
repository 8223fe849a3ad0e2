#pragma once
// Binds the page recognition to the open document and the main frame: the contexts of
// one raw row (row index 0..4 = pages -2..+2 around the current page, 2 the current
// page). The caller adds what belongs to the drawing: the device context, the print
// offset, the arousal page mode and the arousal recogniser.
#include "app/raw/page_sleep_dstrb_values.h"
#include "app/raw/wave_recognition.h"

class CQLM2_AnalyzerDoc;
class CMainFrame;

constexpr int kCurrentPageRow = 2;

// The wave-form recognition of a row. frame may be null (no per-epoch page array).
WaveRecognitionContext WaveRecognitionContextForRow(CQLM2_AnalyzerDoc& doc, CMainFrame* frame, int row);
// The sleep-disturbance values of a row.
SleepDstrbPageContext SleepDstrbContextForRow(CQLM2_AnalyzerDoc& doc, int row);
// The setup window's Preview: the representative values of one channel over the pages
// around the current one, read from the recording. Returns the pages recomputed.
int CalcPreviewRepresentValuesOfChannel(CQLM2_AnalyzerDoc& doc, int channel);
