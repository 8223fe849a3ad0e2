#pragma once
// "Beside the program": the folder of the running executable, where the settings file, the
// language file, the mode ini file, the plug-ins, the video library and the tools live.
// Tests point it at a folder of their own.
#include <string>
#include <string_view>

namespace sys {

// Full path of the running executable.
std::string ProgramFilePath();
// File name of the running executable without folder and extension ("QLM2_Analyzer").
std::string ProgramBaseName();
// Folder of the running executable (or the testing override), without a trailing '/'.
std::string ProgramFolder();
// ProgramFolder() + "/" + fileName.
std::string PathBesideProgram(std::string_view fileName);
// Makes ProgramFolder() answer `folder`; an empty folder restores the real one.
void SetProgramFolderForTesting(const std::string& folder);

}  // namespace sys
