#include "platform/system/locale.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace sys {
namespace {
std::atomic<Lcid> gLocale{0};
}

Lcid LocaleFromEnvironment() {
  for (const char* name : {"LC_ALL", "LANG"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && *v != '\0') return std::strncmp(v, "ja", 2) == 0 ? kLcidJapanese : kLcidEnglishUs;
  }
  return kLcidEnglishUs;
}

Lcid GetThreadLocale() {
  const Lcid l = gLocale.load();
  return l != 0 ? l : LocaleFromEnvironment();
}

bool SetThreadLocale(Lcid lcid) {
  if (lcid == 0) return false;
  gLocale.store(lcid);
  return true;
}

void ResetThreadLocaleForTesting() { gLocale.store(0); }

CodePage AnsiCodePageOf(Lcid lcid) { return (lcid & 0x3FF) == 0x11 ? CodePage::Cp932 : CodePage::Cp1252; }

CodePage AnsiCodePage() { return AnsiCodePageOf(GetThreadLocale()); }

}  // namespace sys
