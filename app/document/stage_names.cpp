#include "app/document/stage_names.h"

#include <array>

std::string GetStageName(const StageTypeParam& block, int code) {
  if (code >= 100) {
    code -= 100;
  } else if (code >= 20) {
    code -= 20;
  }
  if (code >= 8 && code <= 10) return block.shared[code - 8].name;
  if (code < 1 || code > 7) return {};
  // Record of each code 1 .. 7 within the set of each stage type.
  static constexpr std::array<std::array<int, 7>, 4> kRecord = {{
      {0, 1, 2, 3, 4, 5, 6},
      {0, 1, 2, 3, 4, 4, 5},
      {0, 1, 2, 2, 3, 3, 4},
      {0, 1, 2, 2, 2, 2, 3},
  }};
  const int type = block.stageType > 3 ? 3 : block.stageType;
  return block.Set(type)[kRecord[type][code - 1]].name;
}
