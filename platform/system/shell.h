#pragma once
// The desktop's shell: the user's special folders and shortcuts. A shortcut is a desktop
// entry file ("<name>.desktop") that starts a program with arguments.
#include <string>
#include <vector>

namespace sys {

// The user's desktop folder: XDG_DESKTOP_DIR (environment, else user-dirs.dirs of the
// configuration folder), else ~/Desktop; the home folder when neither exists. No trailing '/'.
std::string DesktopFolder();

// Splits a command-line argument text as the system's programs split theirs: at blanks,
// double quotes group blanks into one argument, \" is a quote character.
std::vector<std::string> SplitArguments(const std::string& arguments);

// Saves a shortcut that starts `targetPath` with `arguments` (one text, split as above).
// A link path ending in ".lnk" is saved as the same name ending in ".desktop". Returns the
// path written, empty on failure (cause in LastFileError()). An existing shortcut of that
// name is replaced.
std::string CreateShellLink(const std::string& linkPath, const std::string& targetPath,
                            const std::string& arguments, const std::string& description = {});

}  // namespace sys
