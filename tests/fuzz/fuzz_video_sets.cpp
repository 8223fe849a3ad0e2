// Fuzz target: any bytes as a video set's range file or as the auto-play list (the first byte
// picks which). Each reader must refuse the bytes or hand out what writes back and reads again
// the same.
#include <cstdint>
#include <string_view>

#include "app/video/cvp_info_exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) {
    std::int16_t word = 0;
    std::vector<VideoFileRecord> records;
    if (!DecodeRangeFile(bytes, word, records)) return 0;
    if (records.empty() || word < 0) __builtin_trap();
    TrimOverlappingFiles(records);
    std::int16_t again = 0;
    std::vector<VideoFileRecord> back;
    if (!DecodeRangeFile(EncodeRangeFile(word, records), again, back) || again != word || back.size() != records.size())
      __builtin_trap();
  } else {
    std::vector<AutoPlayEntry> entries;
    if (!DecodeAutoPlayList(bytes, entries)) return 0;
    std::vector<AutoPlayEntry> back;
    if (!DecodeAutoPlayList(EncodeAutoPlayList(entries), back) || back.size() != entries.size()) __builtin_trap();
  }
  return 0;
}
