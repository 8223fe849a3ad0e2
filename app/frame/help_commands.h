#pragma once
// The Help menu's manuals: the user manual and the video option's manual, PDF documents
// beside the program opened with the desktop's handler.
#include <string>

// File name of the video player library beside the program.
inline constexpr const char* kVideoPlayerLibraryName = "QXVideoPlayerDX.so";
// Message of the video option's help when the video player library is not installed.
inline constexpr unsigned kIdsVideoOptionMissing = 40960;

// The text shown for a shell result when opening a document failed; empty for the results
// that show nothing (success among them).
std::string ShellErrorText(int shellResult);

// Opens "Vellisom.pdf" beside the program. When the shell reports a known error, a message
// box shows its text followed directly by the document's path. Returns the shell's result.
int OpenHelpTopics();

// Opens "VIDEOPLAYER.pdf" beside the program when the video player library is installed
// there; otherwise says that the function needs the optional video software. Returns the
// shell's result, or -1 when the library is missing.
int OpenVideoOptionHelp();
