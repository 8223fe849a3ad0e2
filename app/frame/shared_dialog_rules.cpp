#include "app/frame/shared_dialog_rules.h"

#include <cctype>
#include <string>

#include "app/document/ch_info.h"

std::vector<int> OfferedStageCodes(int stageType, int freeStageCount) {
  std::vector<int> codes;
  switch (stageType) {
    case 0: codes = {1, 2, 3, 4, 5, 6, 7}; break;
    case 1: codes = {1, 2, 3, 4, 5, 7}; break;
    case 2: codes = {1, 2, 3, 5, 7}; break;
    default: codes = {1, 2, 3, 7}; break;
  }
  for (int f = 1; f <= 3; ++f) {
    if (freeStageCount >= f) codes.push_back(7 + f);
  }
  return codes;
}

std::vector<int> KeepFirstSelectedRate(const std::vector<int>& selected, const std::vector<std::int32_t>& rates) {
  std::vector<int> out;
  if (selected.empty()) return out;
  const int first = selected.front();
  if (first < 0 || first >= static_cast<int>(rates.size())) return out;
  const std::int32_t rate = rates[static_cast<std::size_t>(first)];
  for (int row : selected) {
    if (row >= 0 && row < static_cast<int>(rates.size()) && rates[static_cast<std::size_t>(row)] == rate) {
      out.push_back(row);
    }
  }
  return out;
}

std::optional<std::int32_t> ParseJumpEpoch(std::string_view text, std::int32_t epochCount) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  long long v = 0;
  bool digits = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    digits = true;
    if (v < 10'000'000'000LL) v = v * 10 + (text[i] - '0');
    ++i;
  }
  if (negative) v = -v;
  if (!digits) v = 0;  // unreadable text counts as 0, as the system's number reading does
  if (v < 0 || v >= epochCount) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

int WaitTimeRadioOf(std::int32_t seconds) {
  switch (seconds) {
    case 0: return IDC_WAIT_NONSTOP;
    case 1: return IDC_WAIT_1SEC;
    case 2: return IDC_WAIT_2SEC;
    case 5: return IDC_WAIT_5SEC;
    default: return IDC_WAIT_FREE;
  }
}

std::int32_t WaitTimeOf(int radio, std::int64_t freeSeconds) {
  switch (radio) {
    case IDC_WAIT_NONSTOP: return 0;
    case IDC_WAIT_1SEC: return 1;
    case IDC_WAIT_2SEC: return 2;
    case IDC_WAIT_5SEC: return 5;
    default:
      if (freeSeconds < 0) return 0;
      if (freeSeconds > INT32_MAX) return INT32_MAX;
      return static_cast<std::int32_t>(freeSeconds);
  }
}

std::uint32_t ProgressScale::Shown(std::uint32_t v) const {
  if (high <= 0xFFFF) return v > 0xFFFF ? 0xFFFF : v;
  const std::uint64_t s = static_cast<std::uint64_t>(v) * 0xFFFF / high;
  return static_cast<std::uint32_t>(s > 0xFFFF ? 0xFFFF : s);
}

ChannelRate FastestChannel(const LyrChInfo* channels, int count, bool shownOnly) {
  ChannelRate best;
  for (int i = 0; i < count; ++i) {
    const LyrChInfo& ch = channels[i];
    if (shownOnly && !(ch.show != 0 && ch.displayTypeWords[0] != 0)) continue;
    if (ch.rate > 0 && static_cast<std::uint32_t>(ch.rate) > best.rate) {
      best.rate = static_cast<std::uint32_t>(ch.rate);
      best.channel = static_cast<std::int16_t>(i);
    }
  }
  return best;
}
