#include "app/document/recording_probe.h"

#include <cstring>
#include <filesystem>

#include "app/document/import_plugin.h"
#include "common/fileaccess/fyn_file_access.h"
#include "platform/res/resource_store.h"
#include "platform/system/binary_file.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/file_system.h"

namespace {

constexpr std::uint32_t kIdsOpenMissing = 61750;
constexpr std::uint32_t kIdsOpenFolder = 61751;
constexpr std::uint32_t kIdsOpenUnreadable = 61752;
constexpr std::uint32_t kIdsOpenEmpty = 61753;
constexpr std::uint32_t kIdsOpenNotRecording = 61754;
constexpr std::uint32_t kIdsOpenResultFile = 61755;
constexpr std::uint32_t kIdsOpenDamaged = 61756;
constexpr std::uint32_t kIdsNotSupported = 2387;

// The string with its first "%s" replaced by the path and a second by `more`.
std::string Told(std::uint32_t id, const std::string& path, const std::string& more = {}) {
  std::string text = res::LoadString(id);
  if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, path);
  if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, more);
  return text;
}

RecordingProbe Refused(std::uint32_t id, const std::string& path, const std::string& more = {}) {
  RecordingProbe p;
  p.message = Told(id, path, more);
  return p;
}

}  // namespace

std::string AbsoluteRecordingPath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const std::filesystem::path abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

namespace {
enum class PluginAnswer { kAccepts, kRefuses, kNotSupported };

// A plug-in that keeps the file open between calls closes it when it is unloaded.
PluginAnswer AskPlugin(const std::string& pluginPath, const std::string& path) {
  if (pluginPath.empty()) return PluginAnswer::kRefuses;
  sys::DynamicLibrary module;
  if (!module.Load(pluginPath)) return PluginAnswer::kRefuses;
  auto structVersion = module.Function<ImpGetStructVersion>("GetStructVersion");
  if (structVersion == nullptr) return PluginAnswer::kRefuses;
  if (structVersion() != 1) return PluginAnswer::kNotSupported;
  auto checkType = module.Function<ImpCheckFileType>("CheckFileType");
  return checkType != nullptr && checkType(path.c_str()) != 0 ? PluginAnswer::kAccepts : PluginAnswer::kRefuses;
}
}  // namespace

bool PluginAcceptsFile(const std::string& pluginPath, const std::string& path) {
  return AskPlugin(pluginPath, path) == PluginAnswer::kAccepts;
}

std::string DamagedRecordingMessage(const std::string& path) { return Told(kIdsOpenDamaged, path); }

RecordingProbe ProbeRecording(const std::string& path, const std::string& storedPlugin,
                              const std::string& pluginFolder) {
  if (path.empty() || (!sys::FileExists(path) && !sys::FolderExists(path))) return Refused(kIdsOpenMissing, path);
  if (sys::FolderExists(path)) return Refused(kIdsOpenFolder, path);
  unsigned char head[4] = {};
  std::size_t got = 0;
  {
    sys::BinaryFile file;
    if (!file.Open(path, sys::BinaryFile::kRead)) {
      const int err = file.LastError().osError;
      return Refused(kIdsOpenUnreadable, path, err != 0 ? std::strerror(err) : file.LastError().Message());
    }
    got = file.Read(head, sizeof head);
  }
  if (got == 0) return Refused(kIdsOpenEmpty, path);

  FynFileAccess access(path.c_str());
  if (access.InitParams() != 0) return Refused(kIdsOpenDamaged, path);
  RecordingProbe p;
  p.fileType = access.GetFileType();
  if (p.fileType == kFynTypeRaw || p.fileType == kFynTypeAna) {
    p.ok = true;
    return p;
  }
  // Result analysis files start with "RAF" and a zero.
  if (got == sizeof head && std::memcmp(head, "RAF", 4) == 0) return Refused(kIdsOpenResultFile, path);
  const PluginAnswer stored = AskPlugin(storedPlugin, path);
  if (stored == PluginAnswer::kAccepts) {
    p.ok = true;
    p.pluginPath = storedPlugin;
    return p;
  }
  for (const sys::FoundFile& f : sys::FindFiles(pluginFolder + "/RXQD_IMP_*.so")) {
    if (f.isFolder || f.path == storedPlugin) continue;
    if (PluginAcceptsFile(f.path, path)) {
      p.ok = true;
      p.pluginPath = AbsoluteRecordingPath(f.path);
      return p;
    }
  }
  if (stored == PluginAnswer::kNotSupported) {
    p.message = path + "\n" + res::LoadString(kIdsNotSupported);
    return p;
  }
  return Refused(kIdsOpenNotRecording, path);
}
