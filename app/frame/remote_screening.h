#pragma once
// The remote screening request: another program of the user asks the running program to
// screen a recording and, when asked, to copy the recording and its result files into a
// folder of its choosing. It arrives as a copy-data message with the code 522.
#include <cstdint>
#include <span>
#include <string>

inline constexpr std::uintptr_t kRemoteScreeningCode = 522;
// Name of the program's socket (sys::CopyDataSocketPath), shared with the sender tool.
inline constexpr const char* kRemoteRequestProgramName = "QLM2_Analyzer";

// The request block: the recording's path (char[260]) at 0, the u16 copy flag at 260 and the
// result path from 262, texts in the language's code page, each ending at its NUL.
struct RemoteScreeningRequest {
  std::string dataPath;
  std::uint16_t copyFlag = 0;
  // Folder of the result path with its trailing separator, and its name without extension.
  std::string resultFolder;
  std::string resultName;
};
inline constexpr std::size_t kRemoteRequestPathBytes = 260;
inline constexpr std::size_t kRemoteRequestResultOffset = 262;

// Reads the block. A block shorter than the fields reads them as far as it goes (missing
// bytes count as zero), so a short block never reads beyond its end.
RemoteScreeningRequest ParseRemoteScreeningRequest(std::span<const std::uint8_t> block);
// Builds the block (the sender's side).
std::string BuildRemoteScreeningRequest(const std::string& dataPath, std::uint16_t copyFlag,
                                        const std::string& resultPath);

// Copies the recording to resultFolder + resultName + its extension (unless that is the
// recording itself) and every result file "<data name>_*.raf" of the recording to
// resultFolder + resultName + the part of its name from its last "_" + ".raf". The result
// files are searched beside the recording (folderMode 0) or in folderText (1), or on the
// desktop when that folder cannot be written to. Non-zero when every copy succeeded; 0, with
// the cause in sys::LastFileError(), when a copy failed or no result file was found.
int CopyRemoteScreeningResults(const std::string& dataPath, const std::string& resultFolder,
                               const std::string& resultName, std::uint32_t folderMode,
                               const std::string& folderText);
