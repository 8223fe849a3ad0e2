#pragma once
// The settings file beside the program (base name + ".RSM"): the program-wide settings record
// followed by the document's parameter blocks and its 32 channel settings records, as fixed
// little-endian images led by a 16-bit record version. Works without a window: the frame
// decides when to call it and shows any failure message it returns.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"

class ResumeFile {
 public:
  static constexpr std::uint16_t kRecordVersion = 10;
  static constexpr std::size_t kGlobalRecordSize = 11056;
  static constexpr std::size_t kFileSize = 26340;
  static constexpr std::size_t kChannelCount = 32;

  // Full path of the settings file: the program's folder and base name with "RSM".
  static std::string Path();

  // The whole file as the current version writes it, from the program-wide settings, the
  // blocks and the channel records (the first 32 of `channels`; missing ones as defaults).
  static std::vector<std::uint8_t> BuildImage(const AnalysisParamBlocks& blocks,
                                              std::span<const LyrChInfo> channels);

  // Writes the whole file: built completely, written beside the target and renamed into place,
  // so that a failure part-way leaves the previous file as it was. While Ctrl is held nothing
  // is written and the result is 1. Returns 0 on failure; `failure` then names the operation
  // when the user must be told (not when the file merely could not be created).
  static int Write(const std::string& path, const AnalysisParamBlocks& blocks,
                   std::span<const LyrChInfo> channels, std::string* failure = nullptr);

  // Reads the program-wide settings record. Returns 1 when taken; 0 (nothing changed) when the
  // file cannot be read or its record version is not supported. ReadGlobalFrom reads what
  // the bytes hold of the record (missing bytes as zero).
  static int ReadGlobal(const std::string& path);
  static int ReadGlobalFrom(std::span<const std::uint8_t> file);

  // Reads the document part into the blocks and the channel records. The display invert flag
  // of every channel record becomes 0 first, whatever happens after. Returns 1 when read, 0 when
  // the file cannot be read or its record version is not supported (the blocks are unchanged).
  static int ReadDocument(const std::string& path, AnalysisParamBlocks& blocks,
                          std::span<LyrChInfo> channels);
  static int ReadDocumentFrom(std::span<const std::uint8_t> file, AnalysisParamBlocks& blocks,
                              std::span<LyrChInfo> channels);

  // Whether the bytes hold a whole file of a known record version. ReadGlobal and ReadDocument
  // take nothing from a file that is not whole (the defaults apply): it is noted as damaged and
  // moved aside to "<name>.damaged" by the next Write of that path.
  static bool IsWhole(std::span<const std::uint8_t> file);
  // The path of a damaged settings file not yet told to the user, once; empty when none.
  static std::string TakeDamagedNotice();
  static void ForgetDamageForTesting();

  // Test seam: the next writes stop after this many block writes, as if the program were
  // killed while writing (-1: never).
  static void StopWriteAfterBlocksForTesting(int blocks);
};
