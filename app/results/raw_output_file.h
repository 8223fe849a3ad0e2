#pragma once
// Cutting a range of epochs and a set of channels of the open recording into a new raw data
// file in the block format, with the recording's channel parameters, subject data, free
// comments and the events of the range. The new file opens like any recording.
#include <array>
#include <cstdint>
#include <string>

class CQLM2_AnalyzerDoc;

namespace rawout {

// Size of the subject ("ORVENTALIS") group, whatever the texts in it.
inline constexpr std::uint32_t kPropertyGroupBytes = 153600;

// Epochs first..last (inclusive, first <= last) of the channels whose flag is non-zero (32
// flags, indexed by channel) into a new file at path. The file is written beside the target
// and renamed into place only when complete. Returns 1 when written; 0 otherwise, after
// telling the user why, with any previous file at path left as it was.
int WriteRawOutput(CQLM2_AnalyzerDoc& doc, const std::string& path, std::int32_t first, std::int32_t last,
                   const std::array<std::int32_t, 32>& selected);

// True when path names the recording the document has open (it must never be overwritten).
bool IsOpenRecording(const CQLM2_AnalyzerDoc& doc, const std::string& path);

}  // namespace rawout
