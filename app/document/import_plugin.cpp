#include "app/document/import_plugin.h"

#include <cstring>

#include "platform/system/program_folder.h"

sys::DynamicLibrary PluginModule;

void ReleasePluginModule(const std::string& recordingPath) {
  if (!PluginModule.IsLoaded()) return;
  if (auto exitFile = PluginModule.Function<ImpExitDLLFile>("ExitDLLFile")) exitFile(recordingPath.c_str(), 0);
  PluginModule.Unload();
}

std::string GetDsiPluginPath() { return sys::PathBesideProgram("RXQD_IMP_DSI.so"); }

std::string PluginText(const char* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return {};
  const void* end = std::memchr(buffer, 0, static_cast<std::size_t>(capacity));
  const std::size_t n = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer)
                                       : static_cast<std::size_t>(capacity);
  return std::string(buffer, n);
}
