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

void CQLM2_AnalyzerDoc::GetMSecTimeString(int mode, std::int64_t ms, std::string* out) const {
  if (!out) return;
  if (ms < 0) ms = 0;
  char buf[64];
  const std::int64_t msPart = ms % 1000;
  if (mode != 0 && RecordInfo.startTimeValid != 0) {
    const auto& s = RecordInfo.startDateTime;
    const CalendarTime t = AddSeconds({s[0], s[1], s[2], s[3], s[4], s[5]}, ms / 1000);
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, static_cast<int>(msPart));
  } else {
    const std::int64_t sec = ms / 1000;
    std::snprintf(buf, sizeof buf, "%d.%02d:%02d:%02d.%03d", static_cast<int>(sec / 86400),
                  static_cast<int>(sec % 86400 / 3600), static_cast<int>(sec % 3600 / 60), static_cast<int>(sec % 60),
                  static_cast<int>(msPart));
  }
  *out = buf;
}
