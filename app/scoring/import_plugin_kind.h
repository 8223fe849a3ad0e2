#pragma once
// Which import plug-ins the multi-screening treats as "other": those not known to give one
// file per recording.
#include <string>

// 0 for an empty path or one naming the common library or the DSI, BioPac, EDF or PSG
// plug-in; 1 otherwise.
int IsOtherImportPlugin(const std::string& path);
