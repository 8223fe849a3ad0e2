#include "app/settings/wave_form_template.h"

#include <array>

#include "app/frame/block_readers.h"
#include "platform/system/file_io.h"

WaveTemplateRead ParseWaveFormTemplate(std::span<const std::uint8_t> bytes, WaveFormRecognitionParam* block) {
  if (block == nullptr || bytes.size() < WaveFormRecognitionParam::kSize) return WaveTemplateRead::kRefused;
  // The reader fills a copy, so that a refusal leaves the caller's block as it was.
  WaveFormRecognitionParam read = *block;
  BlockStream stream(bytes.first(WaveFormRecognitionParam::kSize));
  if (ReadWaveFormRecognitionBlock(&stream, &read) != 1) return WaveTemplateRead::kRefused;
  *block = read;
  return WaveTemplateRead::kRead;
}

WaveTemplateRead ReadWaveFormTemplate(const std::string& path, WaveFormRecognitionParam* block) {
  const std::optional<std::string> bytes = sys::ReadWholeFile(path);
  if (!bytes) return WaveTemplateRead::kCannotOpen;
  return ParseWaveFormTemplate(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()), block);
}

std::string WaveFormTemplateBytes(const WaveFormRecognitionParam& block) {
  std::array<std::uint8_t, WaveFormRecognitionParam::kSize> image{};
  block.Store(image);
  return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

bool WriteWaveFormTemplate(const std::string& path, const WaveFormRecognitionParam& block) {
  return sys::WriteFileAtomic(path, WaveFormTemplateBytes(block));
}

int IsTemplateAnimalCompatible(const WaveFormRecognitionParam& block, std::int32_t animalOnlyMode) {
  if (animalOnlyMode == 0) return 1;
  using W = WaveFormRecognitionParam;
  for (const W::Band b : {W::kDelta, W::kTheta, W::kAlpha, W::kSpindle})
    if (block.bands[static_cast<std::size_t>(b)].channel > -1) return 0;
  for (const std::int32_t ch : {block.kComplex.channel, block.eogRight.channel, block.eogLeft.channel})
    if (ch > -1) return 0;
  return 1;
}
