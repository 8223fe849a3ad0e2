#pragma once
// The import plug-in loaded for the open foreign recording, and the small helpers every
// caller of a plug-in uses.
#include <string>

#include "app/document/import_plugin_abi.h"
#include "platform/system/dynamic_library.h"

// The plug-in of the open foreign recording; not loaded when none is open.
extern sys::DynamicLibrary PluginModule;

// Calls the plug-in's ExitDLLFile for the recording (when it has one) and unloads it.
void ReleasePluginModule(const std::string& recordingPath);

// Full path of the DSI import plug-in beside the program.
std::string GetDsiPluginPath();

// Copies a plug-in's text out of its buffer: stops at the terminator or at the capacity.
std::string PluginText(const char* buffer, int capacity);
