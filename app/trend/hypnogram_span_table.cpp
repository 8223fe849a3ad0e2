#include "app/trend/hypnogram_span_table.h"

#include "platform/res/resource_store.h"

std::string HypnogramSpanText(int row) {
  if (row < 0 || row >= static_cast<int>(HypnogramSpanTable.size())) return {};
  return res::LoadString(HypnogramSpanTable[static_cast<std::size_t>(row)].textId);
}

int HypnogramSpanRowOf(int minutes) {
  for (int row = 0; row < kHypnogramSpanFree; ++row)
    if (HypnogramSpanTable[static_cast<std::size_t>(row)].minutes == minutes) return row;
  return kHypnogramSpanFree;
}
