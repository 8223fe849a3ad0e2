#pragma once
// The marks as the mark pane and the mark outputs read them: runs of flagged 0.1-s points per
// mark type, rebuilt from the mark events, and the "List" and "Sum up" text outputs.
#include <array>
#include <cstdint>
#include <vector>

#include "app/document/mark_table.h"

struct MarkTypeParam;
class CQLM2_AnalyzerDoc;
class WorkspaceTextOut;

// Rebuilds the flags of every type with a trigger channel from its events: events whose gap
// stays below the type's invalid time join into one run. Types without a channel keep their
// flags. Nothing without a span list.
void BuildMarkRuns(MarkTable& marks, const MarkTypeParam& types);

// Closes the runs still open when screening ends at the start of epoch lastEpoch + 1.
void AppendEndMarks(MarkTable& marks, int lastEpoch, int epochSeconds);

struct MarkRun {
  int type = 0;
  int first = 0;   // point
  int length = 0;  // points
};
// The runs of the listed types, by first point, then by type. *marksExist becomes 1 when any
// type has a run, listed or not.
std::vector<MarkRun> FindMarkRuns(const MarkTable& marks, const std::array<int, kMarkTypeCount>& listed,
                                  int* marksExist = nullptr);

// "List": one line per mark of the chosen types starting in the epoch range (a mark running
// at the range's first point starts there). False when a write failed.
bool WriteMarkList(CQLM2_AnalyzerDoc& doc, WorkspaceTextOut& out, int startEpoch, int endEpoch,
                   const std::vector<int>& types);
// "Sum up": per chosen type, per division of divisionMinutes from the range start, the
// number, total, longest, shortest and mean marks and marks per hour. False when a write
// failed.
bool WriteMarkSumUp(CQLM2_AnalyzerDoc& doc, WorkspaceTextOut& out, int startEpoch, int endEpoch, int divisionMinutes,
                    const std::vector<int>& types);
