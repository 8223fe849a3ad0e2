#pragma once
// The sleep-disturbance template file (.sdr): the 696-byte recognition block, nothing before or
// after it. Reading goes through the shared block reader (versions 1 and 2, version 1 brought
// up to date); a file that is not whole is refused and the block is left as it was. Writing
// builds the file beside its target and renames it into place.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/document/analysis_param_blocks.h"

enum class SdrFileStatus {
  kOk,
  kCannotOpen,      // missing or unreadable
  kWrongVersion,    // the first word is neither 1 nor 2
  kCutShort,        // fewer than 696 bytes
  kCannotWrite,
};

// Reads a template image over the block; anything but kOk leaves the block unchanged. A
// block that was read is sanitised (position count 1..6, FFT point index 0..6).
SdrFileStatus ReadSdrTemplateImage(std::span<const std::uint8_t> image, SleepDstrbParam* block);
SdrFileStatus ReadSdrTemplateFile(const std::string& path, SleepDstrbParam* block, std::size_t* bytesRead = nullptr);
SdrFileStatus WriteSdrTemplateFile(const std::string& path, const SleepDstrbParam& block);
