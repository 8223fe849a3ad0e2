// Fuzz target: any bytes as a sleep-disturbance template (.sdr). The reader must refuse the
// image and leave the block as it was, or take it over whole into a block the setup window
// can show (counts within their lists).
#include <cstdint>
#include <cstdlib>

#include "app/settings/sdr_template_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SleepDstrbParam block;
  SetDefaultSleepDstrbParam(0, &block, 0);
  const SleepDstrbParam before = block;
  const SdrFileStatus status = ReadSdrTemplateImage(std::span<const std::uint8_t>(data, size), &block);
  if (status != SdrFileStatus::kOk) {
    if (block.version != before.version || block.lfhfTimeS != before.lfhfTimeS ||
        block.airFlow.channel != before.airFlow.channel)
      std::abort();
    return 0;
  }
  if (block.version != 2 || block.positionsInUse < 1 || block.positionsInUse > 6 || block.lfhfPointsIndex > 6)
    std::abort();
  return 0;
}
