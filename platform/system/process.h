#pragma once
// Starting other programs (the spreadsheet converter, the user's programs) and opening
// documents and help files with the desktop's handler. Nothing here waits for the program
// started: it runs on its own, and is reaped when it ends.
#include <functional>
#include <string>
#include <vector>

namespace sys {

// Starts the program with the arguments (no shell is involved, so blanks and quotes in
// arguments need no escaping). Returns 0, or the errno of the failure (ENOENT when the
// program does not exist, EACCES when it cannot be run). An empty working folder keeps ours.
int StartProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingFolder = {});

// Starts the program as StartProcess does and watches it without waiting: when it has ended,
// onEnd is called, on a thread of its own, with its exit status (the signal number + 128 when
// a signal ended it) and what it wrote to its error output (at most 4 KiB). Window code hands
// the call to its message loop (ui::PostTask). Returns 0 or the errno of the start, and then
// onEnd is never called.
int StartWatchedProcess(const std::string& program, const std::vector<std::string>& arguments,
                        std::function<void(int exitStatus, std::string errorOutput)> onEnd);

// Result codes of OpenDocument, numbered as the system's shell numbers them.
constexpr int kShellOk = 42;              // anything above 32 is success
constexpr int kShellFileNotFound = 2;
constexpr int kShellPathNotFound = 3;
constexpr int kShellAccessDenied = 5;
constexpr int kShellNoAssociation = 31;
constexpr int kShellOutOfResources = 0;

// Opens a file or folder (or an http/https/mailto address) with the desktop's handler
// (xdg-open). Returns kShellOk (> 32) on success, else one of the codes above.
int OpenDocument(const std::string& pathOrUrl);

// Replaces what OpenDocument does (tests record the request instead of opening a window);
// an empty function restores the desktop handler.
void SetOpenDocumentHandlerForTesting(std::function<int(const std::string&)> handler);

// Replaces the start of programs (StartProcess, StartWatchedProcess): tests record the request
// and return the errno to report (0: started; a watched program then never ends). An empty
// function restores the real start.
void SetStartProcessHandlerForTesting(
    std::function<int(const std::string& program, const std::vector<std::string>& arguments)> handler);

}  // namespace sys
