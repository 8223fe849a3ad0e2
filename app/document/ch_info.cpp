#include "app/document/ch_info.h"

#include <new>

LyrChInfo::LyrChInfo() { SetDefault(); }

void LyrChInfo::SetDefault() {
  startOffset = 0;
  readCount = 0;
  readX.clear();
  readX.shrink_to_fit();
  colour = 0;
  smoothingCount = 1;
  filterKind = 0;
  filterMode = 4;
  cut1Hz = 0.2;
  cut2Hz = 20.0;
  notch = 0;
  lineFrequencyHz = 50.0;
  baseLine = 0;
  invert = 0;
  show = 1;
  gain = 1.0;
  displayInvert = 0;
  scaleMode = 1;
  scaleValue = 50.0;
  displayTypeWords = {1, 0, 0, 0, 0, 1, 1};
  displayTypeData.fill(0);
}

bool LyrChInfo::GetReadX(int n) {
  readX.clear();
  readX.shrink_to_fit();
  readCount = 0;
  if (n <= 0) return true;
  try {
    readX.assign(static_cast<std::size_t>(n), 0);
  } catch (const std::bad_alloc&) {
    readX.clear();
    return false;
  }
  readCount = n;
  return true;
}
