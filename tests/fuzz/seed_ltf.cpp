// Writes the seed corpus of fuzz_ltf into the folder named on the command line: a template of
// each default set in the current layout, and one in the older 10-record layout.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "app/settings/logic_template_file.h"

namespace {

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

template <class T>
void PutAt(std::string& b, std::size_t off, T v) {
  std::memcpy(b.data() + off, &v, sizeof(T));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: seed_ltf FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  LogicParam logic;
  SetDefaultLogicParam(&logic);
  LogicOptionParam option;
  for (std::uint16_t type = 0; type < 4; ++type) {
    LogicConditionSet set;
    std::copy(logic.sets[type].begin(), logic.sets[type].end(), set.begin());
    set[0].andSwitch = 1;
    set[0].term2 = {1.0f, 0, 26, 5, 2, 9.0f};
    option.lastStageMode = static_cast<std::uint16_t>(type % 3);
    Write(folder, "type" + std::to_string(type) + ".ltf", BuildLogicTemplate(type, set, CountUsedConditions(set), option));
  }

  // Older layout: upper operators at 12 and 32, no channels, options at 442.
  std::string older(kOlderLogicTemplateBytes, '\0');
  for (int k = 0; k < 4; ++k) {
    const std::size_t r = 2 + static_cast<std::size_t>(k) * 44;
    PutAt<std::uint16_t>(older, r, 1);
    PutAt<float>(older, r + 4, 10.0f * k);
    PutAt<std::uint16_t>(older, r + 8, 1);
    PutAt<std::uint16_t>(older, r + 10, static_cast<std::uint16_t>(k == 3 ? 0 : 26 + k));
    PutAt<std::uint16_t>(older, r + 12, 3);
    PutAt<float>(older, r + 16, 10.0f * k + 5.0f);
    older[r + 40] = static_cast<char>(k + 1);
  }
  PutAt<std::uint16_t>(older, 442, 1);
  Write(folder, "older.ltf", older);
  return 0;
}
