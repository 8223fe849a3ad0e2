#pragma once
// Message boxes. The type combines a button set (MB_OK, MB_OKCANCEL, MB_YESNO,
// MB_YESNOCANCEL...) with an icon (MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONSTOP,
// MB_ICONINFORMATION); the result is the pressed button (IDOK, IDCANCEL, IDYES, IDNO...).
// Every box shown is recorded for the testing hooks. Under the offscreen platform no modal
// loop runs: boxes take their answers from the testing script (platform/testing/ui_testing.h)
// and, without one, the safe answer (IDCANCEL where offered, else IDNO, else IDOK).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/messages.h"

namespace ui {

class Window;

// Box owned by the main window (or by owner), with the program's caption when caption is
// empty.
int MessageBox(std::string_view text, std::uint32_t type = MB_OK, std::string_view caption = {});
int MessageBox(Window* owner, std::string_view text, std::string_view caption, std::uint32_t type);
// Text from the string table in the current language.
int MessageBoxId(std::uint32_t stringId, std::uint32_t type = MB_OK);

// Caption of boxes shown without one (default "QLM2_Analyzer").
void SetMessageBoxCaption(std::string caption);
const std::string& MessageBoxCaption();

}  // namespace ui
