#include "app/settings/logic_template_file.h"

#include <algorithm>
#include <vector>

#include "app/document/byte_image.h"

namespace {

constexpr std::size_t kRecordsOffset = 2;
constexpr std::size_t kOptionOffset = kRecordsOffset + kLogicTemplateRecords * LogicCondition::kSize;  // 882
constexpr std::size_t kOlderOptionOffset =
    kRecordsOffset + kOlderLogicTemplateRecords * LogicCondition::kSize;  // 442
static_assert(kOptionOffset + LogicOptionParam::kSize == kLogicTemplateBytes);
static_assert(kOlderOptionOffset + LogicOptionParam::kSize == kOlderLogicTemplateBytes);

using Bytes = std::span<const std::uint8_t>;

Bytes AsBytes(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

// One clause of the older record at `off`: lower bound, lower operator, value code as in the
// current record; the upper operator 4 bytes earlier; no channel.
LogicTerm LoadOlderTerm(Bytes r, std::size_t off) {
  using bytes::Get;
  LogicTerm t;
  t.lower = Get<float>(r, off);
  t.lowerOp = Get<std::uint16_t>(r, off + 4);
  t.valueCode = Get<std::uint16_t>(r, off + 6);
  t.upperOp = Get<std::uint16_t>(r, off + 8);
  t.channel = 0;
  t.upper = Get<float>(r, off + 12);
  return t;
}

// The older record: the fields of the current one without channels, the upper operators at
// 12 (clause 1) and 32 (clause 2).
LogicCondition ConvertOlderRecord(Bytes r) {
  LogicCondition c;
  c.mark = 2;
  c.term1 = LoadOlderTerm(r, 4);
  c.andSwitch = bytes::Get<std::uint16_t>(r, 20);
  c.term2 = LoadOlderTerm(r, 24);
  c.stage = bytes::Get<std::uint8_t>(r, 40);
  return c;
}

bool StageAllowed(std::uint8_t stage) { return (stage >= 1 && stage <= 10) || stage == 255; }

// A channel that the recording does not have becomes none.
void CheckChannel(LogicTerm& term, int channelCount) {
  const int kind = LogicChannelKind(term.valueCode);
  if (kind != 1 && kind != 2) return;
  const auto channel = static_cast<std::int16_t>(term.channel);
  if (channel >= channelCount) term.channel = kNoLogicChannel;
}

}  // namespace

int LogicChannelKind(int code) {
  if (code >= 1 && code <= 12) return 0;
  if (code == 13 || (code >= 26 && code <= 32)) return 1;
  if (code >= 14 && code <= 25) return 2;
  return -1;
}

int CountUsedConditions(std::span<const LogicCondition> set) {
  int n = 0;
  while (n < static_cast<int>(set.size()) && n < kLogicTemplateRecords && set[static_cast<std::size_t>(n)].stage != 0)
    ++n;
  return n;
}

std::string BuildLogicTemplate(std::uint16_t stageType, const LogicConditionSet& set, int usedCount,
                               const LogicOptionParam& option) {
  std::vector<std::uint8_t> b(kLogicTemplateBytes, 0);
  bytes::Put<std::uint16_t>(b, 0, stageType);
  for (int i = 0; i < kLogicTemplateRecords; ++i) {
    LogicCondition c = set[static_cast<std::size_t>(i)];
    if (i >= usedCount) c.stage = 0;
    c.Store(std::span<std::uint8_t, LogicCondition::kSize>(
        b.data() + kRecordsOffset + static_cast<std::size_t>(i) * LogicCondition::kSize, LogicCondition::kSize));
  }
  option.Store(std::span<std::uint8_t, LogicOptionParam::kSize>(b.data() + kOptionOffset, LogicOptionParam::kSize));
  return std::string(b.begin(), b.end());
}

LogicTemplateStatus ParseLogicTemplate(std::string_view text, std::uint16_t stageType, int channelCount,
                                       LogicTemplate& out) {
  const Bytes b = AsBytes(text);
  if (b.size() < 2) return LogicTemplateStatus::damaged;
  const auto fileType = bytes::Get<std::uint16_t>(b, 0);
  if (fileType != stageType) return LogicTemplateStatus::wrongStageType;
  if (b.size() < 4) return LogicTemplateStatus::damaged;

  LogicTemplate t;
  t.stageType = fileType;
  // Records are read into a zeroed area: those the older layout lacks stay all zero.
  for (LogicCondition& c : t.set) c.mark = 0;
  t.olderLayout = bytes::Get<std::int16_t>(b, kRecordsOffset) < 2;
  const int records = t.olderLayout ? kOlderLogicTemplateRecords : kLogicTemplateRecords;
  const std::size_t optionAt = t.olderLayout ? kOlderOptionOffset : kOptionOffset;
  if (b.size() < optionAt + LogicOptionParam::kSize) return LogicTemplateStatus::damaged;

  for (int i = 0; i < records; ++i) {
    const Bytes r = b.subspan(kRecordsOffset + static_cast<std::size_t>(i) * LogicCondition::kSize,
                              LogicCondition::kSize);
    LogicCondition& c = t.set[static_cast<std::size_t>(i)];
    if (t.olderLayout)
      c = ConvertOlderRecord(r);
    else
      c.Load(std::span<const std::uint8_t, LogicCondition::kSize>(r.data(), LogicCondition::kSize));
  }
  t.option.Load(std::span<const std::uint8_t, LogicOptionParam::kSize>(b.data() + optionAt, LogicOptionParam::kSize));

  const int used = CountUsedConditions(t.set);
  for (int i = 0; i < kLogicTemplateRecords; ++i) {
    LogicCondition& c = t.set[static_cast<std::size_t>(i)];
    if (i >= used) {
      c.stage = 0;
      continue;
    }
    if (!StageAllowed(c.stage) || c.term1.valueCode > 32 || c.term2.valueCode > 32)
      return LogicTemplateStatus::damaged;
    CheckChannel(c.term1, channelCount);
    CheckChannel(c.term2, channelCount);
  }
  out = t;
  return LogicTemplateStatus::ok;
}
