#pragma once
// The raw data text output: the samples of chosen channels over a range of epochs as a
// delimited table, one line per sample instant, going on in a new file each time the line
// limit is reached.
#include <array>
#include <cstdint>
#include <string>

class CQLM2_AnalyzerDoc;
namespace ui {
class Window;
}

// Writes the table to path with the program-wide delimiter, line limit (OutputMaxLines) and
// time-label mode. Every file is written beside its target and renamed into place when done.
// 1 when the output ended as the user wanted (the completion message was shown, also after a
// cancelled continuation); 0 after a failure, which has been told.
int WriteRawTextOutput(CQLM2_AnalyzerDoc& doc, const std::string& path, const std::array<std::uint16_t, 32>& flags,
                       std::int32_t firstEpoch, std::int32_t lastEpoch, ui::Window* owner);
