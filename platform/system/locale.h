#pragma once
// Thread locale and the ANSI code page that follows from it. The program keeps one locale
// for all its threads: worker threads write texts in the same language as the windows.
#include <cstdint>

#include "platform/system/code_page.h"

namespace sys {

using Lcid = std::uint32_t;
constexpr Lcid kLcidEnglishUs = 1033;
constexpr Lcid kLcidJapanese = 1041;

// The locale in effect: the last SetThreadLocale(), else the one of the environment.
Lcid GetThreadLocale();
// Sets the locale (0 is refused and returns false).
bool SetThreadLocale(Lcid lcid);
// From LC_ALL, else LANG: a value starting with "ja" gives 1041, anything else 1033.
Lcid LocaleFromEnvironment();
// Forgets SetThreadLocale(), so that the environment decides again (for tests).
void ResetThreadLocaleForTesting();

// Code page of the system's files in a locale: 932 for Japanese, 1252 otherwise.
CodePage AnsiCodePageOf(Lcid lcid);
// Code page of the current locale.
CodePage AnsiCodePage();

}  // namespace sys
