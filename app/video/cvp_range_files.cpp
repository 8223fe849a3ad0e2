// The stored forms of the video controller: range files of video sets and the auto-play list,
// and the small helpers the play-range editing shares.
#include <algorithm>
#include <cstdio>
#include <span>
#include <string_view>

#include "app/document/byte_image.h"
#include "app/video/cvp_info_exchange.h"

namespace {

bytes::CSpan AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Shown part of the picture of a version-1 entry (fractions top, bottom, left, right) as split
// kind, column and row.
void MapOldFractions(double top, double bottom, double left, double right, AutoPlayEntry& e) {
  auto is = [](double a, double b) { return a == b; };
  e.splitKind = 1;
  e.splitColumn = 1;
  e.splitRow = 1;
  if (is(top, 0.0) && is(bottom, 1.0) && is(left, 0.0) && is(right, 1.0)) {
    e.splitKind = 0;
    e.splitColumn = 0;
    e.splitRow = 0;
  } else if (is(top, 0.0) && is(bottom, 0.5) && is(left, 0.0) && is(right, 0.5)) {
    e.splitColumn = 0;
    e.splitRow = 0;
  } else if (is(top, 0.5) && is(bottom, 1.0) && is(left, 0.0) && is(right, 0.5)) {
    e.splitColumn = 0;
    e.splitRow = 1;
  } else if (is(top, 0.0) && is(bottom, 0.5) && is(left, 0.5) && is(right, 1.0)) {
    e.splitColumn = 1;
    e.splitRow = 0;
  }
}

}  // namespace

std::string EncodeAutoPlayList(const std::vector<AutoPlayEntry>& entries) {
  std::string out(4 + entries.size() * kAutoPlayEntryBytesV2, '\0');
  bytes::Span b{reinterpret_cast<std::uint8_t*>(out.data()), out.size()};
  bytes::Put<std::uint16_t>(b, 0, 2);
  bytes::Put<std::int16_t>(b, 2, static_cast<std::int16_t>(entries.size()));
  std::size_t off = 4;
  for (const AutoPlayEntry& e : entries) {
    bytes::PutPath(b, off, 260, e.rawPath);
    bytes::PutPath(b, off + 260, 260, e.resultPath);
    bytes::Put<double>(b, off + 520, e.startTime);
    bytes::Put<double>(b, off + 528, e.endTime);
    bytes::PutText(b, off + 536, 128, e.comment);
    bytes::Put<std::uint16_t>(b, off + 664, e.splitKind);
    bytes::Put<std::uint16_t>(b, off + 666, e.splitColumn);
    bytes::Put<std::uint16_t>(b, off + 668, e.splitRow);
    bytes::PutArray(b, off + 670, e.recordingStart);
    bytes::Put<double>(b, off + 686, e.recordingOffset);
    off += kAutoPlayEntryBytesV2;
  }
  return out;
}

bool DecodeAutoPlayList(std::string_view data, std::vector<AutoPlayEntry>& entries) {
  entries.clear();
  if (data.size() < 4) return false;
  const bytes::CSpan b = AsBytes(data);
  const auto version = bytes::Get<std::uint16_t>(b, 0);
  const auto count = bytes::Get<std::int16_t>(b, 2);
  if (version != 1 && version != 2) return false;
  // A negative count has nothing sound to allocate: the file counts as unreadable.
  if (count < 0) return false;
  const std::size_t size = version == 2 ? kAutoPlayEntryBytesV2 : kAutoPlayEntryBytesV1;
  if (data.size() < 4 + static_cast<std::size_t>(count) * size) return false;
  std::vector<AutoPlayEntry> read(static_cast<std::size_t>(count));
  std::size_t off = 4;
  for (AutoPlayEntry& e : read) {
    e.rawPath = bytes::GetPath(b, off, 260);
    e.resultPath = bytes::GetPath(b, off + 260, 260);
    e.startTime = bytes::Get<double>(b, off + 520);
    e.endTime = bytes::Get<double>(b, off + 528);
    e.comment = bytes::GetText(b, off + 536, 128);
    std::size_t tail = off + 664;
    if (version == 2) {
      e.splitKind = bytes::Get<std::uint16_t>(b, tail);
      e.splitColumn = bytes::Get<std::uint16_t>(b, tail + 2);
      e.splitRow = bytes::Get<std::uint16_t>(b, tail + 4);
      tail += 6;
    } else {
      MapOldFractions(bytes::Get<double>(b, tail), bytes::Get<double>(b, tail + 8), bytes::Get<double>(b, tail + 16),
                      bytes::Get<double>(b, tail + 24), e);
      tail += 32;
    }
    bytes::GetArray(b, tail, e.recordingStart);
    e.recordingOffset = bytes::Get<double>(b, tail + 16);
    off += size;
  }
  entries = std::move(read);
  return true;
}

std::string EncodeRangeFile(std::int16_t setWord, const std::vector<VideoFileRecord>& records) {
  std::size_t size = 8;
  for (const VideoFileRecord& r : records) size += 8 + 8 + 256 + 4 + r.ranges.size() * 16;
  std::string out(size, '\0');
  bytes::Span b{reinterpret_cast<std::uint8_t*>(out.data()), out.size()};
  bytes::Put<std::uint16_t>(b, 0, 2);
  bytes::Put<std::int16_t>(b, 2, setWord);
  bytes::Put<std::uint32_t>(b, 4, static_cast<std::uint32_t>(records.size()));
  std::size_t off = 8;
  for (const VideoFileRecord& r : records) {
    bytes::Put<double>(b, off, r.startTime);
    bytes::Put<double>(b, off + 8, r.endTime);
    bytes::PutPath(b, off + 16, 256, r.name);
    bytes::Put<std::uint32_t>(b, off + 272, static_cast<std::uint32_t>(r.ranges.size()));
    off += 276;
    for (const auto& [begin, end] : r.ranges) {
      bytes::Put<double>(b, off, begin);
      bytes::Put<double>(b, off + 8, end);
      off += 16;
    }
  }
  return out;
}


bool DecodeRangeFile(std::string_view data, std::int16_t& setWord, std::vector<VideoFileRecord>& records) {
  records.clear();
  const bytes::CSpan b = AsBytes(data);
  std::size_t off = 0;
  auto left = [&] { return data.size() - off; };
  if (left() < 2) return false;
  const auto version = bytes::Get<std::uint16_t>(b, 0);
  off = 2;
  if (version != 1 && version != 2) return false;
  std::int16_t word = 0;
  if (version == 2) {
    if (left() < 2) return false;
    word = bytes::Get<std::int16_t>(b, off);
    off += 2;
    if (word < 0) return false;
  }
  if (left() < 4) return false;
  const auto count = bytes::Get<std::uint32_t>(b, off);
  off += 4;
  // Every record needs its fixed part: a count beyond the bytes left is a damaged file.
  if (count == 0 || count > left() / kRangeRecordBytes) return false;
  std::vector<VideoFileRecord> read(count);
  for (VideoFileRecord& r : read) {
    if (left() < kRangeRecordBytes) return false;
    r.startTime = bytes::Get<double>(b, off);
    r.endTime = bytes::Get<double>(b, off + 8);
    r.name = bytes::GetPath(b, off + 16, 256);
    const auto ranges = bytes::Get<std::uint32_t>(b, off + 272);
    off += kRangeRecordBytes;
    if (ranges > left() / 16) return false;
    r.ranges.resize(ranges);
    for (auto& [begin, end] : r.ranges) {
      begin = bytes::Get<double>(b, off);
      end = bytes::Get<double>(b, off + 8);
      off += 16;
    }
  }
  setWord = word;
  records = std::move(read);
  return true;
}

void TrimOverlappingFiles(std::vector<VideoFileRecord>& records) {
  for (std::size_t i = 0; i + 1 < records.size(); ++i) {
    VideoFileRecord& r = records[i];
    const double next = records[i + 1].startTime;
    if (r.endTime <= next) continue;
    // A record without play ranges has no last range to end early.
    if (!r.ranges.empty()) r.ranges.back().second = next - r.startTime;
    r.endTime = next;
  }
}

std::string VideoSizeText(std::uint64_t n) {
  char text[64];
  const double v = static_cast<double>(n);
  if (n >= (std::uint64_t{1} << 30)) {
    std::snprintf(text, sizeof text, "%.3fGB", v / static_cast<double>(std::uint64_t{1} << 30));
  } else if (n >= (std::uint64_t{1} << 20)) {
    std::snprintf(text, sizeof text, "%.3fMB", v / static_cast<double>(std::uint64_t{1} << 20));
  } else if (n >= (std::uint64_t{1} << 10)) {
    std::snprintf(text, sizeof text, "%.3fKB", v / 1024.0);
  } else {
    std::snprintf(text, sizeof text, "%.3fB", v);
  }
  return text;
}

int RangesOverlap(double a1, double a2, double b1, double b2) { return b1 <= a2 && a1 <= b2 ? 1 : 0; }

int AddEffectiveRangeInfo(VideoFileRecord& record, double begin, double end) {
  record.ranges.emplace_back(begin, end);
  return 1;
}
