// Message boxes: recorded for the tests, answered by script under the offscreen platform.
#include "platform/ui/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {
namespace {

std::string& Caption() {
  static std::string caption = "QLM2_Analyzer";
  return caption;
}

struct ButtonSpec {
  int id;
  QMessageBox::StandardButton button;
};

std::vector<ButtonSpec> ButtonsOf(std::uint32_t type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, QMessageBox::Abort}, {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}};
    case MB_YESNOCANCEL: return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_YESNO: return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
    case MB_RETRYCANCEL: return {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}};
    default: return {{IDOK, QMessageBox::Ok}};
  }
}

// The answer that loses nothing when nobody answers: Cancel, else No, else OK.
int SafeAnswer(const std::vector<ButtonSpec>& buttons) {
  for (int pref : {IDCANCEL, IDNO, IDIGNORE, IDOK})
    for (const auto& b : buttons)
      if (b.id == pref) return pref;
  return buttons.front().id;
}

}  // namespace

void SetMessageBoxCaption(std::string caption) { Caption() = std::move(caption); }
const std::string& MessageBoxCaption() { return Caption(); }

int MessageBox(std::string_view text, std::uint32_t type, std::string_view caption) {
  Window* owner = App::Current() ? App::Current()->GetMainWnd() : nullptr;
  return MessageBox(owner, text, caption, type);
}

int MessageBoxId(std::uint32_t stringId, std::uint32_t type) { return MessageBox(res::LoadString(stringId), type); }

int MessageBox(Window* owner, std::string_view text, std::string_view caption, std::uint32_t type) {
  std::string cap = caption.empty() ? Caption() : std::string(caption);
  std::vector<ButtonSpec> buttons = ButtonsOf(type);
  ScriptState& s = Script();
  testhooks::ShownBox shown{std::string(text), cap, type, 0, false};
  if (ScriptedUi()) {
    if (!s.boxAnswers.empty()) {
      shown.answer = s.boxAnswers.front();
      shown.scripted = true;
      s.boxAnswers.pop_front();
    } else {
      shown.answer = SafeAnswer(buttons);
      ++s.unanswered;
    }
    s.shownBoxes.push_back(shown);
    return shown.answer;
  }
  QMessageBox box(WidgetOf(owner));
  box.setWindowTitle(Q(cap));
  box.setText(Q(text));
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  QMessageBox::StandardButtons set;
  for (const auto& b : buttons) set |= b.button;
  box.setStandardButtons(set);
  std::size_t def = (type & MB_DEFMASK) >> 8;
  if (def < buttons.size()) box.setDefaultButton(buttons[def].button);
  for (const auto& b : buttons)
    if (b.id == IDCANCEL || (buttons.size() == 1)) box.setEscapeButton(b.button);
  int pressed = box.exec();
  shown.answer = SafeAnswer(buttons);
  for (const auto& b : buttons)
    if (pressed == b.button) shown.answer = b.id;
  s.shownBoxes.push_back(shown);
  return shown.answer;
}

}  // namespace ui
