// Recording services of the document used by the shared dialogs and the frame's commands.
#include <algorithm>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/time_point_scale.h"

std::int32_t CQLM2_AnalyzerDoc::GetRecordSec() const {
  const int count = std::clamp<int>(RecordInfo.channelCount, 0, static_cast<int>(ChInfo.size()));
  if (count == 0) return -1;
  std::int64_t least = -1;
  for (int i = 0; i < count; ++i) {
    const LyrChInfo& ch = ChInfo[static_cast<std::size_t>(i)];
    const std::int64_t sec = ch.rate > 0 ? static_cast<std::int64_t>(ch.dataCount) / ch.rate : 0;
    if (least < 0 || sec < least) least = sec;
  }
  return static_cast<std::int32_t>(least);
}

std::int32_t CQLM2_AnalyzerDoc::GetDivNum(std::int32_t secondsPerUnit) const {
  if (secondsPerUnit < 1) return 0;
  return RecordSeconds / secondsPerUnit;
}

int CQLM2_AnalyzerDoc::AllocateMark() { return Marks.AllocateMark(RecordSeconds); }
