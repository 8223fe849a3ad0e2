#pragma once
// The wave-form recognition template file (.wtf): the document's 784-byte recognition block
// written exactly as the document holds it, version word included, nothing before or after.
// The dialog of the recognition settings saves and loads it; these are the file rules without
// the windows.
#include <cstdint>
#include <span>
#include <string>

#include "app/document/analysis_param_blocks.h"

// How a template image was taken.
enum class WaveTemplateRead {
  kRead,         // the block holds the template
  kRefused,      // not version 1, or shorter than a block: the block is unchanged
  kCannotOpen,   // the file could not be read: the block is unchanged
};

// Takes a template's bytes over `block` through the settings file's block reader (version 1
// only). A file shorter than the block is refused as well: what it lacks would be undefined.
WaveTemplateRead ParseWaveFormTemplate(std::span<const std::uint8_t> bytes, WaveFormRecognitionParam* block);
// Reads the file at `path` and parses it as above.
WaveTemplateRead ReadWaveFormTemplate(const std::string& path, WaveFormRecognitionParam* block);

// The block's 784 bytes as a template file holds them.
std::string WaveFormTemplateBytes(const WaveFormRecognitionParam& block);
// Writes the block to `path`, beside and renamed into place: a failed write leaves the old
// file whole. False when the file could not be written.
bool WriteWaveFormTemplate(const std::string& path, const WaveFormRecognitionParam& block);

// Whether a template may be taken as it is: always outside the animal-only mode; in that mode
// only when Delta, Theta, Alpha, Spindle, K-Complex, EOG-R and EOG-L have no channel (-1 or
// less). 1 compatible, 0 not.
int IsTemplateAnimalCompatible(const WaveFormRecognitionParam& block, std::int32_t animalOnlyMode);
