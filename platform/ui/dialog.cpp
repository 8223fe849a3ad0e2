// Dialogs from templates: modal runs (scripted under the offscreen platform), modeless
// dialogs, control notifications; dialog bars.
#include "platform/ui/dialog.h"

#include <QDialog>
#include <QWidget>

#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/app.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {

struct Dialog::State {
  int templateId = 0;
  std::optional<res::DialogTemplate> tmpl;
  Window* parent = nullptr;
  bool modal = false;
  bool ended = false;
  int endCode = 0;
  bool inExec = false;
  std::function<void(int)> onClose;
};

Dialog::Dialog(int templateId, Window* parent) : Window(WindowKind::Dialog), state_(std::make_unique<State>()) {
  state_->templateId = templateId;
  state_->parent = parent;
}

Dialog::Dialog(const res::DialogTemplate& tmpl, Window* parent)
    : Window(WindowKind::Dialog), state_(std::make_unique<State>()) {
  state_->templateId = tmpl.id;
  state_->tmpl = tmpl;
  state_->parent = parent;
}

Dialog::~Dialog() = default;

int Dialog::TemplateId() const { return state_->templateId; }
bool Dialog::IsModal() const { return state_->modal; }
bool Dialog::IsEnded() const { return state_->ended; }
int Dialog::EndCode() const { return state_->endCode; }
void Dialog::SetCloseCallback(std::function<void(int)> callback) { state_->onClose = std::move(callback); }

int Dialog::OnCreate() {
  if (!state_->tmpl) {
    state_->tmpl = res::LoadDialogResource(static_cast<std::uint32_t>(state_->templateId),
                                           static_cast<std::uint16_t>(res::CurrentLanguage()));
    if (!state_->tmpl) return -1;
  }
  if (!BuildControls(*this, *state_->tmpl)) return -1;
  SetWindowText(state_->tmpl->caption);
  return 0;
}

int Dialog::DoModal() {
  state_->modal = true;
  state_->ended = false;
  state_->endCode = 0;
  Window* parent = state_->parent;
  if (!parent && App::Current()) parent = App::Current()->GetMainWnd();
  if (parent && !parent->IsWindow()) parent = nullptr;
  if (!Create(parent, state_->templateId, {}, false)) return -1;
  auto* dlg = static_cast<QDialog*>(WidgetOf(this));
  dlg->setModal(true);
  OnInitDialog();
  if (!state_->ended) {
    if (ScriptedUi()) {
      ScriptState& s = Script();
      s.shownDialogs.push_back(state_->templateId);
      std::function<void(Dialog&)> script;
      for (auto it = s.dialogs.begin(); it != s.dialogs.end(); ++it) {
        if (it->templateId == state_->templateId) {
          script = std::move(it->script);
          s.dialogs.erase(it);
          break;
        }
      }
      if (script) script(*this);
      if (!state_->ended) {
        ++s.unanswered;
        state_->ended = true;
        state_->endCode = IDCANCEL;
      }
    } else {
      state_->inExec = true;
      dlg->exec();
      state_->inExec = false;
      if (!state_->ended) {
        state_->ended = true;
        state_->endCode = IDCANCEL;
      }
    }
  }
  DestroyWindow();
  return state_->endCode;
}

bool Dialog::CreateModeless(Window* parent) {
  state_->modal = false;
  state_->ended = false;
  if (parent) state_->parent = parent;
  if (!Create(state_->parent, state_->templateId, {}, false)) return false;
  OnInitDialog();
  if (!state_->ended) WidgetOf(this)->show();
  return true;
}

bool Dialog::CreatePage(Window* parent, const Rect& rectInParent) {
  state_->modal = false;
  state_->ended = false;
  if (parent) state_->parent = parent;
  if (state_->parent == nullptr) return false;
  if (!Create(state_->parent, state_->templateId, {}, false)) return false;
  QWidget* w = WidgetOf(this);
  w->setWindowFlags(Qt::Widget);
  if (!rectInParent.IsEmpty()) w->setGeometry(rectInParent.left, rectInParent.top, rectInParent.Width(), rectInParent.Height());
  w->hide();
  OnInitDialog();
  return true;
}

bool Dialog::CreateInside(Window* parent, int holderId) {
  extern bool EmbedInControlOf(Window&, int, QWidget*);
  state_->modal = false;
  state_->ended = false;
  if (parent) state_->parent = parent;
  if (state_->parent == nullptr) return false;
  if (!Create(state_->parent, state_->templateId, {}, false)) return false;
  QWidget* w = WidgetOf(this);
  w->setWindowFlags(Qt::Widget);
  if (!EmbedInControlOf(*state_->parent, holderId, w)) return false;
  w->show();
  OnInitDialog();
  // The parent's layout makes room for the panel before it is first shown.
  if (QWidget* top = w->window(); top != nullptr && !top->isVisible()) top->adjustSize();
  return true;
}

void Dialog::EndDialog(int result) {
  state_->ended = true;
  state_->endCode = result;
  QWidget* w = WidgetOf(this);
  if (state_->modal) {
    if (state_->inExec && w) static_cast<QDialog*>(w)->done(result);
    return;
  }
  if (w) w->hide();
  if (state_->onClose) {
    auto callback = state_->onClose;
    callback(result);
  }
}

bool Dialog::ClickButton(int id) {
  extern bool ClickControlOf(Window&, int);
  return ClickControlOf(*this, id);
}

bool Dialog::OnCommand(std::uintptr_t wParam, std::intptr_t) {
  auto id = LowWord(wParam);
  auto code = HighWord(wParam);
  if (code != BN_CLICKED) return DispatchOwnNotify(id, code);
  if (DispatchOwn(id, CmdMode::Execute, nullptr)) return true;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

std::intptr_t Dialog::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == WM_CLOSE) {
    // Closing the window is Cancel.
    return SendMessage(WM_COMMAND, MakeLong(IDCANCEL, BN_CLICKED), 0);
  }
  if (msg == WM_NOTIFY) {
    const auto* h = reinterpret_cast<const NotifyHeader*>(lParam);
    if (!h) return 0;
    if (!DispatchOwnNotify(static_cast<std::uint32_t>(h->idFrom), h->code)) OnNotify(h->idFrom, h->code);
    return 0;
  }
  return Window::WindowProc(msg, wParam, lParam);
}

// --- Dialog bars ----------------------------------------------------------------------------

DialogBar::DialogBar() = default;
DialogBar::~DialogBar() = default;

bool DialogBar::CreateBar(Frame* frame, int templateId, int barId) {
  auto tmpl = res::LoadDialogResource(static_cast<std::uint32_t>(templateId),
                                      static_cast<std::uint16_t>(res::CurrentLanguage()));
  if (!tmpl) return false;
  return CreateBar(frame, *tmpl, barId);
}

bool DialogBar::CreateBar(Frame* frame, const res::DialogTemplate& tmpl, int barId) {
  frame_ = frame;
  if (!Create(frame, barId, {}, true)) return false;
  if (!BuildControls(*this, tmpl)) return false;
  SetWindowText(tmpl.caption);
  frame->RegisterControlBar(this);
  OnInitDialogBar();
  return true;
}

bool DialogBar::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  auto id = LowWord(wParam);
  auto code = HighWord(wParam);
  if (code == BN_CLICKED) {
    if (DispatchOwn(id, CmdMode::Execute, nullptr)) return true;
    return frame_ && frame_->SendMessage(WM_COMMAND, wParam, lParam) != 0;
  }
  if (DispatchOwnNotify(id, code)) return true;
  return frame_ && frame_->OnNotifyMsg(id, code);
}

std::intptr_t DialogBar::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == WM_NOTIFY) {
    const auto* h = reinterpret_cast<const NotifyHeader*>(lParam);
    if (!h) return 0;
    auto id = static_cast<std::uint32_t>(h->idFrom);
    if (!DispatchOwnNotify(id, h->code) && frame_) frame_->OnNotifyMsg(id, h->code);
    return 0;
  }
  return ControlBar::WindowProc(msg, wParam, lParam);
}

void DialogBar::OnUpdateCmdUI(Frame* target) {
  for (int id : ControlIds()) {
    if (id <= 0) continue;
    Control c = Item(id);
    CmdUI ui(static_cast<std::uint32_t>(id));
    bool handled = target->OnCmdMsg(static_cast<std::uint32_t>(id), CmdMode::Update, &ui);
    if (!handled) {
      // Push buttons nobody handles are greyed; other controls stay as the program set them.
      if (c.Kind() == ControlKind::Button)
        c.Enable(target->OnCmdMsg(static_cast<std::uint32_t>(id), CmdMode::Probe, nullptr) ||
                 DispatchOwn(static_cast<std::uint32_t>(id), CmdMode::Probe, nullptr));
      continue;
    }
    c.Enable(ui.IsEnabled());
    if (ui.Checked() >= 0) c.SetCheck(ui.Checked());
    if (ui.HasText()) c.SetText(ui.Text());
  }
}

}  // namespace ui
