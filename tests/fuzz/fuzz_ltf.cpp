// Fuzz target: any bytes as a logic template file of an 8-channel recording. The reader must
// refuse the file, or hand out a set that passes its own load checks and saves back to itself.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings/logic_template_file.h"

namespace {

constexpr int kChannels = 8;

bool PassesLoadChecks(const LogicTemplate& t) {
  const int used = CountUsedConditions(t.set);
  for (int i = 0; i < kLogicTemplateRecords; ++i) {
    const LogicCondition& c = t.set[static_cast<std::size_t>(i)];
    if (i >= used) {
      if (c.stage != 0) return false;
      continue;
    }
    if (!((c.stage >= 1 && c.stage <= 10) || c.stage == 255)) return false;
    for (const LogicTerm* term : {&c.term1, &c.term2}) {
      if (term->valueCode > 32) return false;
      const int kind = LogicChannelKind(term->valueCode);
      if ((kind == 1 || kind == 2) && term->channel != kNoLogicChannel &&
          static_cast<std::int16_t>(term->channel) >= kChannels)
        return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The stage type the file names, so that the reader goes past its first check.
  const std::uint16_t type = size >= 2 ? static_cast<std::uint16_t>(data[0] | (data[1] << 8)) : 0;
  LogicTemplate t;
  if (ParseLogicTemplate(bytes, type, kChannels, t) != LogicTemplateStatus::ok) return 0;
  if (!PassesLoadChecks(t)) std::abort();
  LogicTemplate again;
  const std::string saved = BuildLogicTemplate(t.stageType, t.set, CountUsedConditions(t.set), t.option);
  if (saved.size() != kLogicTemplateBytes) std::abort();
  if (ParseLogicTemplate(saved, type, kChannels, again) != LogicTemplateStatus::ok) std::abort();
  if (BuildLogicTemplate(again.stageType, again.set, CountUsedConditions(again.set), again.option) != saved)
    std::abort();
  return 0;
}
