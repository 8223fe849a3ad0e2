#pragma once
// The mode ini file "QX_Setting.ini" beside the program: the animal-only display
// mode and the DSI-only open mode, kept between runs.
#include <string>

std::string ModeIniPath();

struct ModeSwitches {
  int animalOnly = 0;  // 1 on, 0 off
  int dsiOnly = 0;
};

// A value above 0 turns a mode on; a missing key, 0, a negative value or a text
// that is not a number leaves it off. A missing file gives both off.
ModeSwitches ReadModeIni();

// Writes "1" or "0" for each mode. False when the file could not be written.
bool WriteModeIni(const ModeSwitches& modes);
