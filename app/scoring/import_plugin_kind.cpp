#include "app/scoring/import_plugin_kind.h"

int IsOtherImportPlugin(const std::string& path) {
  if (path.empty()) return 0;
  for (const char* known : {"FynCom6", "RXQD_IMP_DSI", "RXQD_IMP_BioPac", "RXQD_IMP_EDF", "RXQD_IMP_PSG"})
    if (path.find(known) != std::string::npos) return 0;
  return 1;
}
