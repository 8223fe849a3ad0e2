// Fuzz target: any bytes as a multi-screening setting file and as the settings file beside
// the program. Each reader takes the file whole or leaves the record as it was, and a record
// it took writes back to the same body.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/scoring/multi_screening_setting.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  for (bool resume : {false, true}) {
    LyrMultiScreeningSetting s{LyrMultiScreeningSetting::NoFile{}};
    const std::string before = s.BuildBody();
    const int ok = resume ? s.ReadResume(file) : s.ReadBody(file);
    const std::string body = s.BuildBody();
    if (ok == 0) {
      if (body != before) std::abort();
      continue;
    }
    LyrMultiScreeningSetting again{LyrMultiScreeningSetting::NoFile{}};
    const std::span<const std::uint8_t> b(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
    if (again.ReadBody(b) != 1 || again.BuildBody() != body) std::abort();
  }
  return 0;
}
