// Fuzz target: any bytes as a profile (ini) file: every section and key found is read back,
// as text and as a number, and one key is written, in both code pages and as UTF-8.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/system/profile.h"

namespace {
const std::string& FilePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/fuzz_ini_" + std::to_string(getpid()) + ".ini";
  }();
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  for (sys::CodePage cp : {sys::CodePage::Cp1252, sys::CodePage::Cp932}) {
    for (const std::string& section : sys::GetPrivateProfileSectionNames(FilePath(), cp)) {
      for (const std::string& key : sys::GetPrivateProfileKeys(section, FilePath(), cp)) {
        sys::GetPrivateProfileString(section, key, "", FilePath(), cp);
        sys::GetPrivateProfileInt(section, key, -1, FilePath(), cp);
      }
    }
    sys::GetPrivateProfileInt("DSIReader", "DSIOnly", -1, FilePath(), cp);
  }
  sys::WritePrivateProfileString("SilentOpen", "UseAuto", "1", FilePath());
  sys::DeletePrivateProfileKey("AnimalHuman", "AnimalOnly", FilePath());
  return 0;
}
