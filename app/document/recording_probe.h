#pragma once
// The look at a file that decides, before the open recording is let go, whether the file can
// become the recording at all: it exists, is a file, can be read, and is either one of the
// program's own data files or a file that an import plug-in beside the program accepts. A file
// that cannot gets a message naming it and the cause, and the recording in use stays open.
#include <string>

struct RecordingProbe {
  bool ok = false;
  // Own file type of FynFileAccess (raw 0, analysis 1), or 2 for a foreign file.
  int fileType = 2;
  // Foreign files: the plug-in that accepts the file (absolute path).
  std::string pluginPath;
  // When !ok: the message for the user, naming the file and the cause.
  std::string message;
};

// `storedPlugin` is asked first; when it is empty or refuses the file, the import plug-ins of
// `pluginFolder` are asked in the order of their names and the first that accepts the file is
// chosen.
RecordingProbe ProbeRecording(const std::string& path, const std::string& storedPlugin,
                              const std::string& pluginFolder);

// Whether the plug-in at `pluginPath` loads, speaks structure version 1 and accepts the file.
bool PluginAcceptsFile(const std::string& pluginPath, const std::string& path);

// The message after a recording failed part-way through opening (damaged or cut short).
std::string DamagedRecordingMessage(const std::string& path);

// An absolute, lexically normal form of `path` (relative paths are taken from the current
// folder); the path unchanged when it is empty.
std::string AbsoluteRecordingPath(const std::string& path);
