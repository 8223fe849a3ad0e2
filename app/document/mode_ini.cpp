#include "app/document/mode_ini.h"

#include "platform/system/profile.h"
#include "platform/system/program_folder.h"

namespace {
constexpr const char* kAnimalSection = "AnimalHuman";
constexpr const char* kAnimalKey = "AnimalOnly";
constexpr const char* kDsiSection = "DSIReader";
constexpr const char* kDsiKey = "DSIOnly";

int ModeOn(int value) { return value > 0 ? 1 : 0; }
}  // namespace

std::string ModeIniPath() { return sys::PathBesideProgram("QX_Setting.ini"); }

ModeSwitches ReadModeIni() {
  const std::string path = ModeIniPath();
  ModeSwitches modes;
  modes.animalOnly = ModeOn(sys::GetPrivateProfileInt(kAnimalSection, kAnimalKey, -1, path));
  modes.dsiOnly = ModeOn(sys::GetPrivateProfileInt(kDsiSection, kDsiKey, -1, path));
  return modes;
}

bool WriteModeIni(const ModeSwitches& modes) {
  const std::string path = ModeIniPath();
  const bool animal = sys::WritePrivateProfileString(kAnimalSection, kAnimalKey, modes.animalOnly != 0 ? "1" : "0", path);
  const bool dsi = sys::WritePrivateProfileString(kDsiSection, kDsiKey, modes.dsiOnly != 0 ? "1" : "0", path);
  return animal && dsi;
}
