// Recording services of the document used by the shared dialogs and the frame's commands.
#include <algorithm>
#include <array>
#include <span>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/epoch_values.h"
#include "app/frame/time_point_scale.h"

std::int32_t CQLM2_AnalyzerDoc::GetRecordSec() const {
  const int count = std::clamp<int>(RecordInfo.channelCount, 0, static_cast<int>(ChInfo.size()));
  std::array<ChannelLength, 32> lengths{};
  for (int i = 0; i < count; ++i) {
    const LyrChInfo& ch = ChInfo[static_cast<std::size_t>(i)];
    lengths[static_cast<std::size_t>(i)] = {static_cast<std::int64_t>(ch.dataCount), ch.rate};
  }
  return ::GetRecordSec(std::span<const ChannelLength>(lengths.data(), static_cast<std::size_t>(count)));
}

std::int32_t CQLM2_AnalyzerDoc::GetDivNum(std::int32_t secondsPerUnit) const {
  if (secondsPerUnit < 1) return 0;
  return RecordSeconds / secondsPerUnit;
}

int CQLM2_AnalyzerDoc::AllocateMark() { return Marks.AllocateMark(RecordSeconds); }
