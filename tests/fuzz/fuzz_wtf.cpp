// Fuzz target: any bytes as a wave-form recognition template. The reader must refuse the file
// or take a whole block, and a block it took must come back byte for byte when saved and read
// again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/settings/wave_form_template.h"
#include "platform/res/resource_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool init = [] {
    res::SetLanguage(res::Language::English);
    return true;
  }();
  (void)init;
  WaveFormRecognitionParam block;
  SetDefaultWaveFormRecognitionParam(0, &block, 0);
  const std::string before = WaveFormTemplateBytes(block);
  const WaveTemplateRead read = ParseWaveFormTemplate(std::span<const std::uint8_t>(data, size), &block);
  if (read != WaveTemplateRead::kRead) {
    if (WaveFormTemplateBytes(block) != before) std::abort();  // a refusal changed the block
    return 0;
  }
  // What the window does with a loaded block: channels held to the recording, the animal check.
  SetDefaultWaveFormRecognitionParam(1, &block, 8);
  (void)IsTemplateAnimalCompatible(block, 1);
  const std::string saved = WaveFormTemplateBytes(block);
  WaveFormRecognitionParam again;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(saved.data());
  if (ParseWaveFormTemplate(std::span<const std::uint8_t>(bytes, saved.size()), &again) != WaveTemplateRead::kRead ||
      WaveFormTemplateBytes(again) != saved)
    std::abort();
  return 0;
}
