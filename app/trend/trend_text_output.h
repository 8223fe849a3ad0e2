#pragma once
// The trend window's text outputs: the trend table (one row per epoch of a range with its
// time, number and stage and a column per graph, then sections for the items with several
// values per epoch) and the ECG R-R interval list. Both go to a file or the clipboard with the
// program-wide delimiter and line limit; a file is written beside its target and renamed into
// place, so one that cannot be written leaves the old file whole.
#include <cstdint>
#include <string>

class CQLM2_AnalyzerDoc;
namespace ui {
class Window;
}

// String ids of the outputs' own texts.
inline constexpr std::uint32_t kStrStartTime = 62701;
inline constexpr std::uint32_t kStrEndTime = 62702;
inline constexpr std::uint32_t kStrTimeHeading = 62703;
inline constexpr std::uint32_t kStrEpochNo = 62704;
inline constexpr std::uint32_t kStrStageHeading = 62705;
inline constexpr std::uint32_t kStrNo = 62706;
inline constexpr std::uint32_t kStrSec = 62707;
inline constexpr std::uint32_t kStrMsec = 62708;
inline constexpr std::uint32_t kStrType = 62709;
inline constexpr std::uint32_t kStrFileNotWritten = 62710;
inline constexpr std::uint32_t kStrNoEcgChannel = 62711;
inline constexpr std::uint32_t kStrClipboardFailed = 62712;
inline constexpr std::uint32_t kStrTextOutputComplete = 63475;
inline constexpr std::uint32_t kStrEnterNewFileName = 2180;
inline constexpr std::uint32_t kStrFileNotSelected = 2253;

// What a graph's item adds below the table: 0 a column of the table, 1 the position samples,
// 2 the breath amplitudes, 3 the breath intervals, 4 the breath rates.
int GetOutputKind(int category, int sub);

// The trend table of the epochs start..end (swapped when reversed) to path, or to the
// clipboard when OutputToClipboard is 1 (path unused; no document header there). rangeLines
// adds the start and end time lines after the header (the report's form). 1 when the output
// ended as the user wanted (also at a declined continuation); 0 after a failure, which was
// told naming the file. Shows no completion message.
int WriteTrendTextTable(CQLM2_AnalyzerDoc& doc, const std::string& path, std::int32_t start, std::int32_t end,
                        int rangeLines, ui::Window* owner);

// The R peaks of the ECG channel in the epochs start..end, each with its R-R interval; the
// document header also on the clipboard. Shows "Text output is complete." when it went
// through; 1 then, 0 after a failure or a missing ECG channel (told).
int WriteEcgRrText(CQLM2_AnalyzerDoc& doc, const std::string& path, std::int32_t start, std::int32_t end,
                   ui::Window* owner);
