#pragma once
// The searches of the workspace's search panes over the document's per-epoch tables, as
// rows of text ready for a list: "No." (the running hit number), "Epoch No.", "Time" and
// the pane's own columns. They read the tables and change nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "app/workspace/workspace_list_pane.h"

class CQLM2_AnalyzerDoc;

// Most rows the stage search lists.
inline constexpr int kStageSearchLimit = 5000;

// Epochs that may be searched: the recording's epochs that have records.
int SearchableEpochCount(const CQLM2_AnalyzerDoc& doc);
// "%3d" of a number.
std::string Number3(int n);

// Epochs whose current stage (merged by the stage type) is code or code + 20, at most
// kStageSearchLimit rows; *cut tells whether a further epoch matched and was left out.
SearchRows FindStageEpochs(CQLM2_AnalyzerDoc& doc, int code, bool* cut);
// Epochs with a candidate stage other than their current stage; "Stage" lists those
// candidates' names, each followed by ",".
SearchRows FindCandidateEpochs(CQLM2_AnalyzerDoc& doc);
// Epochs whose stage code, as a signed byte, is 20 or more, with their stage names.
SearchRows FindArtifactEpochs(CQLM2_AnalyzerDoc& doc);
// The recording's events at or after its first sample: "No." keeps the event's place in the
// table. Nothing when the events have no sampling rate.
SearchRows ListEvents(CQLM2_AnalyzerDoc& doc);
// Amplitude statistic `mode` (0 min., 1 max., 2 mean, 3 abs. max., 4 integral, 5 CV%) of a
// channel per epoch, against a threshold: at least (atLeast) or at most.
SearchRows FindAmplitudeEpochs(CQLM2_AnalyzerDoc& doc, int channel, int mode, double threshold, bool atLeast);
// The free search's value: a decimal number up to the first character that cannot belong to
// one; 0 when the text does not begin with a number.
double ReadSearchValue(const std::string& text);
