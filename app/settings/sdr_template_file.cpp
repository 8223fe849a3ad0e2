#include "app/settings/sdr_template_file.h"

#include <array>
#include <optional>

#include "app/frame/block_readers.h"
#include "platform/system/file_io.h"

SdrFileStatus ReadSdrTemplateImage(std::span<const std::uint8_t> image, SleepDstrbParam* block) {
  if (image.size() >= 2) {
    const unsigned version = image[0] | (static_cast<unsigned>(image[1]) << 8);
    if (version != 1 && version != 2) return SdrFileStatus::kWrongVersion;
  }
  if (image.size() < SleepDstrbParam::kSize) return SdrFileStatus::kCutShort;
  BlockStream stream(image.first(SleepDstrbParam::kSize));
  SleepDstrbParam read = *block;
  if (ReadSleepDisturbanceBlock(&stream, &read) == 0) return SdrFileStatus::kWrongVersion;
  read.Sanitize();
  *block = read;
  return SdrFileStatus::kOk;
}

SdrFileStatus ReadSdrTemplateFile(const std::string& path, SleepDstrbParam* block, std::size_t* bytesRead) {
  const std::optional<std::string> bytes = sys::ReadWholeFile(path);
  if (bytesRead != nullptr) *bytesRead = bytes ? bytes->size() : 0;
  if (!bytes) return SdrFileStatus::kCannotOpen;
  return ReadSdrTemplateImage(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()), block);
}

SdrFileStatus WriteSdrTemplateFile(const std::string& path, const SleepDstrbParam& block) {
  std::array<std::uint8_t, SleepDstrbParam::kSize> image{};
  block.Store(image);
  const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
  return sys::WriteFileAtomic(path, bytes) ? SdrFileStatus::kOk : SdrFileStatus::kCannotWrite;
}
