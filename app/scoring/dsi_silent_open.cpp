#include "app/scoring/dsi_silent_open.h"

#include "platform/system/profile.h"
#include "platform/system/program_folder.h"

bool SetDsiSilentOpen(int on) {
  return sys::WritePrivateProfileString("SilentOpen", "UseAuto", on != 0 ? "1" : "0",
                                        sys::PathBesideProgram("RXQD_IMP_DSI.ini"));
}
