#include "app/document/ch_info.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/document/byte_image.h"

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

namespace {
constexpr std::size_t kSize = kChannelSettingsSize;
}

void StoreChannelSettings(const LyrChInfo& ch, std::uint8_t* record) {
  bytes::Span b(record, kSize);
  std::memset(record, 0, kSize);
  bytes::Put<std::uint32_t>(b, 0, ch.colour);
  bytes::Put<std::int32_t>(b, 4, ch.smoothingCount);
  bytes::Put<std::int32_t>(b, 8, ch.filterKind);
  bytes::Put<std::uint32_t>(b, 12, ch.filterMode);
  bytes::Put<double>(b, 16, ch.cut1Hz);
  bytes::Put<double>(b, 24, ch.cut2Hz);
  bytes::Put<std::int32_t>(b, 32, ch.notch);
  bytes::Put<double>(b, 40, ch.lineFrequencyHz);
  bytes::Put<std::uint16_t>(b, 48, ch.baseLine);
  bytes::Put<std::uint16_t>(b, 50, ch.invert);
  bytes::Put<std::uint16_t>(b, 52, ch.show);
  bytes::Put<double>(b, 56, ch.gain);
  bytes::Put<std::uint16_t>(b, 64, ch.scaleMode);
  bytes::Put<double>(b, 72, ch.scaleValue);
  bytes::PutArray(b, 80, ch.displayTypeWords);
  std::memcpy(record + 96, ch.displayTypeData.data(), ch.displayTypeData.size());
}

void LoadChannelSettings(const std::uint8_t* record, LyrChInfo& ch) {
  bytes::CSpan b(record, kSize);
  ch.colour = bytes::Get<std::uint32_t>(b, 0);
  ch.smoothingCount = bytes::Get<std::int32_t>(b, 4);
  ch.filterKind = bytes::Get<std::int32_t>(b, 8);
  ch.filterMode = static_cast<std::uint16_t>(bytes::Get<std::uint32_t>(b, 12));
  ch.cut1Hz = bytes::Get<double>(b, 16);
  ch.cut2Hz = bytes::Get<double>(b, 24);
  ch.notch = bytes::Get<std::int32_t>(b, 32);
  ch.lineFrequencyHz = bytes::Get<double>(b, 40);
  ch.baseLine = bytes::Get<std::uint16_t>(b, 48);
  ch.invert = bytes::Get<std::uint16_t>(b, 50);
  ch.show = bytes::Get<std::uint16_t>(b, 52);
  ch.gain = bytes::Get<double>(b, 56);
  ch.displayInvert = 0;
  ch.scaleMode = bytes::Get<std::uint16_t>(b, 64);
  ch.scaleValue = bytes::Get<double>(b, 72);
  bytes::GetArray(b, 80, ch.displayTypeWords);
  std::memcpy(ch.displayTypeData.data(), record + 96, ch.displayTypeData.size());
}

LyrChInfo::NamedRange LyrChInfo::GetNamedRange(int index) const {
  NamedRange r;
  if (index < 0 || index >= kNamedRanges) return r;
  const bytes::CSpan b(displayTypeData);
  const std::size_t at = static_cast<std::size_t>(index) * 24;
  r.label = bytes::GetText(b, at, 8);
  r.low = bytes::Get<double>(b, at + 8);
  r.high = bytes::Get<double>(b, at + 16);
  return r;
}

void LyrChInfo::SetNamedRange(int index, const NamedRange& range) {
  if (index < 0 || index >= kNamedRanges) return;
  const bytes::Span b(displayTypeData);
  const std::size_t at = static_cast<std::size_t>(index) * 24;
  bytes::PutText(b, at, 8, range.label);
  bytes::Put<double>(b, at + 8, range.low);
  bytes::Put<double>(b, at + 16, range.high);
}

int LyrChInfo::NamedRangeCount() const { return std::clamp<int>(displayTypeWords[6], 0, kNamedRanges); }

std::string LyrChInfo::LevelLabelOf(double v) const {
  for (int k = 0; k < NamedRangeCount(); ++k) {
    NamedRange r = GetNamedRange(k);
    if (r.low <= v && v < r.high) return r.label;
  }
  return {};
}
