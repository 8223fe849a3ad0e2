#pragma once
// The least filling of the five page buffers that opening a recording needs: each slot sized
// for the recording's channels (rate x PageSeconds + 1 floats per channel, channel after
// channel) and the current page read unfiltered into every slot. The page-buffer reading with
// filters, smoothing and spectra replaces this.
class CQLM2_AnalyzerDoc;

// 0 on success, 1 on failure (as the page reading answers).
int FillPageBuffers(CQLM2_AnalyzerDoc& doc);
