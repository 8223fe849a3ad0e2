#pragma once
// The stretch that the raw view's stage, event and mark commands act on: the rows and the
// sample positions (from the recording start, in samples of the fastest shown channel) of its
// two ends, start not after end. The event popup fills it just before it opens.
#include <cstdint>

struct EditRangeRec {
  std::int32_t startRow = 0;
  std::int32_t startPos = 0;
  std::int32_t endRow = 0;
  std::int32_t endPos = 0;
};
