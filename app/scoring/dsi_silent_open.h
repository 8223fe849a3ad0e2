#pragma once
// The DSI import plug-in opens recordings without asking while its ini file
// beside the program says so ("RXQD_IMP_DSI.ini", section "SilentOpen", key
// "UseAuto"): on only while a multi-screening batch started by the user runs.

// Writes "1" (on non-zero) or "0". False when the ini file could not be written.
bool SetDsiSilentOpen(int on);
