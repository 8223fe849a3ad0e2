#pragma once
// The wave page and the video in step: where the video's time lies on the raw page.
#include <cstdint>

class CQLM2_AnalyzerDoc;

// The recording's fastest channel (the first of the highest rate), -1 without one.
int FastestChannel(const CQLM2_AnalyzerDoc& doc);

// The x of the video mark on a page pageWidth pixels wide that starts at sample pageStart and
// holds pageLength samples, for the video position at sample position; recordingSamples bounds
// it. -1 when the position lies before the page or past the recording, or the page is empty.
// A mark at 0 is drawn at 1, so that it stays visible.
int VideoCursorX(std::int64_t position, std::int64_t pageStart, std::int64_t pageLength, int pageWidth,
                 double recordingSamples);
