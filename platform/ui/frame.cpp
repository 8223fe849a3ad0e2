// Frame windows over QMainWindow: menu bar, accelerators, status bar, client area, bars.
#include "platform/ui/frame.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <functional>

#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {

bool IsLiveView(const View* view);
Qt::KeyboardModifiers CurrentModifiers();

namespace {

QMainWindow* MainWindowOf(const Frame* f) { return static_cast<QMainWindow*>(WidgetOf(f)); }

// Fills a Qt menu from a Menu level; popups fill themselves each time they open.
void FillQMenu(Frame* frame, QMenu* qmenu, Menu* menu, int indexInParent);

void AddItems(Frame* frame, QWidget* target, Menu* menu, bool isBar) {
  for (int i = 0; i < menu->GetItemCount(); ++i) {
    const MenuItem& item = menu->ItemAt(i);
    if (item.kind == MenuItem::Kind::Separator) {
      if (auto* m = qobject_cast<QMenu*>(target)) m->addSeparator();
      continue;
    }
    if (item.kind == MenuItem::Kind::Popup) {
      auto* sub = new QMenu(Q(item.text), target);
      sub->setEnabled(item.enabled);
      Menu* popup = item.popup.get();
      int index = isBar ? i : -1;
      QObject::connect(sub, &QMenu::aboutToShow, sub, [frame, sub, popup, index] {
        if (frame && index >= 0) frame->OnInitMenu(frame->GetMenu());
        if (frame) frame->OnInitMenuPopup(popup, index, false);
        FillQMenu(frame, sub, popup, index);
      });
      if (auto* bar = qobject_cast<QMenuBar*>(target)) bar->addMenu(sub);
      else static_cast<QMenu*>(target)->addMenu(sub);
      continue;
    }
    auto* action = new QAction(Q(item.text), target);
    action->setData(QVariant::fromValue<uint>(item.id));
    action->setEnabled(item.enabled);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    std::uint32_t id = item.id;
    // Without a frame (context menus) the caller reads the chosen action instead.
    if (frame)
      QObject::connect(action, &QAction::triggered, action, [frame, id] {
        frame->SendMessage(WM_COMMAND, MakeLong(static_cast<std::uint16_t>(id), 0), 0);
      });
    target->addAction(action);
  }
}

void FillQMenu(Frame* frame, QMenu* qmenu, Menu* menu, int) {
  // Actions already shown are deleted later: this runs inside the menu's own signal.
  for (QAction* a : qmenu->actions()) {
    qmenu->removeAction(a);
    a->deleteLater();
  }
  AddItems(frame, qmenu, menu, false);
}

}  // namespace

namespace {
std::vector<Frame*>& LiveFrames() {
  static std::vector<Frame*> frames;
  return frames;
}
}  // namespace

void ForgetControlBar(ControlBar* bar) {
  for (Frame* f : LiveFrames()) f->UnregisterControlBar(bar);
}

Frame::Frame() : Window(WindowKind::Frame) { LiveFrames().push_back(this); }

Frame::~Frame() {
  auto& frames = LiveFrames();
  frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
  // Owned windows go first, newest first, while the frame's window still exists.
  while (!owned_.empty()) owned_.pop_back();
}

void Frame::AdoptWindow(std::unique_ptr<Window> window) { owned_.push_back(std::move(window)); }

bool Frame::LoadFrame(std::uint32_t resourceId, CreateContext* context) {
  return LoadFrameIn(nullptr, resourceId, context);
}

bool Frame::LoadFrameIn(Window* parent, std::uint32_t resourceId, CreateContext* context) {
  createContext_ = context;
  if (!menu_) menu_ = Menu::Load(resourceId);
  accel_ = AcceleratorTable::Load(resourceId);
  std::string docString = res::LoadString(resourceId);
  EnsureToolkit();
  if (!Create(parent, 0, {}, false)) return false;
  if (!docString.empty() && GetWindowText().empty()) SetWindowText(docString.substr(0, docString.find('\n')));
  return true;
}

int Frame::OnCreate() {
  if (QMainWindow* mw = MainWindowOf(this)) {
    mw->setAcceptDrops(acceptFiles_);
    mw->statusBar();
  }
  DrawMenuBar();
  if (!OnCreateClient(createContext_)) return -1;
  return 0;
}

bool Frame::OnCreateClient(CreateContext* context) {
  if (!context || !context->makeView) return true;
  std::unique_ptr<View> view = context->makeView();
  if (!view || !view->CreateView(this, AFX_IDW_PANE_FIRST, *context)) return false;
  Adopt(std::move(view));
  return true;
}

void Frame::OnChildCreated(Window* child) {
  QMainWindow* mw = MainWindowOf(this);
  if (!mw || child->GetDlgCtrlID() != AFX_IDW_PANE_FIRST || dynamic_cast<ControlBar*>(child)) return;
  mw->takeCentralWidget();  // the previous client's widget belongs to its window
  mw->setCentralWidget(WidgetOf(child));
}

void Frame::SetActiveView(View* view) { activeView_ = view; }

Document* Frame::GetActiveDocument() {
  View* v = GetActiveView();
  return v && IsLiveView(v) ? v->GetDocument() : nullptr;
}

namespace {
View* FirstView(Window* w) {
  for (Window* c : w->Children()) {
    if (auto* v = dynamic_cast<View*>(c)) return v;
    if (View* v = FirstView(c)) return v;
  }
  return nullptr;
}
}  // namespace

void Frame::InitialUpdateFrame(Document* doc, int showCommand) {
  if (!activeView_ || !IsLiveView(activeView_)) {
    activeView_ = nullptr;
    if (Window* client = GetChild(AFX_IDW_PANE_FIRST)) {
      activeView_ = dynamic_cast<View*>(client);
      if (!activeView_) activeView_ = FirstView(client);
    }
    if (!activeView_) activeView_ = FirstView(this);
  }
  if (doc) {
    std::vector<View*> views = doc->Views();
    for (View* v : views) v->OnInitialUpdate();
  }
  ActivateFrame(showCommand);
}

bool Frame::OnCmdMsg(std::uint32_t id, CmdMode mode, CmdUI* cmdUI) {
  if (DispatchOwn(id, mode, cmdUI)) return true;
  View* view = GetActiveView();
  if (view && IsLiveView(view) && view->OnCmdMsg(id, mode, cmdUI)) return true;
  if (!view || !IsLiveView(view)) {
    // Without an active view the frame's document still takes part when the template made one.
    if (App* app = App::Current())
      if (app->GetMainWnd() == this)
        if (Document* doc = app->GetDocument())
          if (doc->OnCmdMsg(id, mode, cmdUI)) return true;
  }
  if (App* app = App::Current()) return app->OnCmdMsg(id, mode, cmdUI);
  return false;
}

bool Frame::OnNotifyMsg(std::uint32_t id, int code) {
  if (DispatchOwnNotify(id, code)) return true;
  View* view = GetActiveView();
  if (view && IsLiveView(view) && view->OnNotifyMsg(id, code)) return true;
  if (App* app = App::Current()) return app->OnNotifyMsg(id, code);
  return false;
}

bool Frame::PreTranslateMessage(Message& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  Qt::KeyboardModifiers mods = CurrentModifiers();
  auto cmd = accel_.Translate(static_cast<std::uint32_t>(msg.wParam), mods & Qt::ControlModifier,
                              mods & Qt::ShiftModifier, msg.message == WM_SYSKEYDOWN);
  if (!cmd) return false;
  SendMessage(WM_COMMAND, MakeLong(static_cast<std::uint16_t>(*cmd), 1), 0);
  return true;
}

void Frame::SetMenu(std::unique_ptr<Menu> menu) {
  menu_ = std::move(menu);
  DrawMenuBar();
}

void Frame::DrawMenuBar() {
  QMainWindow* mw = MainWindowOf(this);
  if (!mw) return;
  QMenuBar* bar = mw->menuBar();
  bar->clear();
  if (menu_) AddItems(this, bar, menu_.get(), true);
}

Menu* Frame::OpenMenuPopup(int index) {
  if (!menu_) return nullptr;
  Menu* popup = menu_->GetSubMenu(index);
  if (!popup) return nullptr;
  OnInitMenu(menu_.get());
  OnInitMenuPopup(popup, index, false);
  return popup;
}

void Frame::OnInitMenuPopup(Menu* popup, int, bool) {
  if (!popup) return;
  for (int i = 0; i < popup->GetItemCount(); ++i) {
    const MenuItem& item = popup->ItemAt(i);
    if (item.kind != MenuItem::Kind::Command) continue;
    // Recent-file entries the program has not filled stay as they are.
    CmdUI ui = QueryCommandState(*this, item.id);
    popup->EnableItem(item.id, ui.IsEnabled());
    if (ui.Checked() >= 0) popup->CheckItem(item.id, ui.Checked() != 0);
    if (ui.HasText()) popup->SetItemText(item.id, ui.Text());
  }
}

void Frame::SetMessageText(std::string_view text) {
  if (QMainWindow* mw = MainWindowOf(this)) mw->statusBar()->showMessage(Q(text));
}

std::string Frame::GetMessageText() const {
  QMainWindow* mw = MainWindowOf(this);
  return mw ? U(mw->statusBar()->currentMessage()) : std::string{};
}

void Frame::ShowStatusBar(bool show) {
  if (QMainWindow* mw = MainWindowOf(this)) mw->statusBar()->setVisible(show);
}

void Frame::RegisterControlBar(ControlBar* bar) {
  if (std::find(bars_.begin(), bars_.end(), bar) == bars_.end()) bars_.push_back(bar);
}

void Frame::UnregisterControlBar(ControlBar* bar) { bars_.erase(std::remove(bars_.begin(), bars_.end(), bar), bars_.end()); }

void Frame::DockControlBar(ControlBar* bar, bool newRow) {
  QMainWindow* mw = MainWindowOf(this);
  QWidget* w = WidgetOf(bar);
  if (!mw || !w) return;
  RegisterControlBar(bar);
  auto* holder = new QToolBar(Q(bar->GetWindowText()), mw);
  holder->setObjectName(QString::number(bar->GetDlgCtrlID()));
  holder->setMovable(false);
  holder->setFloatable(false);
  holder->addWidget(w);
  w->show();
  if (newRow && !mw->findChildren<QToolBar*>().isEmpty()) mw->addToolBarBreak(Qt::TopToolBarArea);
  mw->addToolBar(Qt::TopToolBarArea, holder);
}

void Frame::ShowControlBar(ControlBar* bar, bool show, bool) {
  QWidget* w = WidgetOf(bar);
  if (!w) return;
  if (auto* holder = qobject_cast<QToolBar*>(w->parentWidget())) holder->setVisible(show);
  else w->setVisible(show);
}

void Frame::UpdateControlBars() {
  std::vector<ControlBar*> bars = bars_;
  for (ControlBar* b : bars)
    if (b->IsWindow()) b->OnUpdateCmdUI(this);
}

void Frame::DragAcceptFiles(bool accept) {
  acceptFiles_ = accept;
  if (QMainWindow* mw = MainWindowOf(this)) mw->setAcceptDrops(accept);
}

void Frame::ActivateFrame(int showCommand) {
  int cmd = showCommand;
  if (cmd < 0) cmd = App::Current() ? App::Current()->ShowCommand() : SW_SHOW;
  ShowWindow(cmd == SW_SHOWNORMAL ? SW_SHOW : cmd);
  if (QWidget* w = WidgetOf(this); w && !ScriptedUi()) {
    w->raise();
    w->activateWindow();
  }
}

void Frame::RecalcLayout() {
  if (QWidget* w = WidgetOf(this)) w->updateGeometry();
}

void Frame::OnClose() {
  App* app = App::Current();
  bool isMain = app && app->GetMainWnd() == this;
  if (isMain) {
    Document* doc = GetActiveDocument();
    if (!doc) doc = app->GetDocument();
    if (doc && !doc->SaveModified()) return;
  }
  DestroyWindow();
  if (isMain) PostQuitMessage(0);
}

std::intptr_t Frame::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == WM_DROPFILES) {
    const auto* paths = reinterpret_cast<const std::vector<std::string>*>(lParam);
    if (acceptFiles_ && paths) OnDropFiles(*paths);
    return 0;
  }
  return Window::WindowProc(msg, wParam, lParam);
}

}  // namespace ui

namespace ui {

PopupPosition GetCursorPos() {
  EnsureToolkit();
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

std::uint32_t TrackPopupMenu(Menu& popup, PopupPosition screen, Window* owner, std::uint32_t flags) {
  if (auto* frame = dynamic_cast<Frame*>(owner)) frame->OnInitMenuPopup(&popup, -1, false);
  std::uint32_t chosen = 0;
  if (ScriptedUi()) {
    ScriptState& s = Script();
    if (!s.popupAnswers.empty()) {
      chosen = s.popupAnswers.front();
      s.popupAnswers.pop_front();
      // Only a command the menu offers, enabled, can be chosen.
      const MenuItem* item = popup.Find(chosen);
      if (!item || !item->enabled) chosen = 0;
    } else {
      ++s.unanswered;
    }
  } else {
    QMenu menu(WidgetOf(owner));
    AddItems(nullptr, &menu, &popup, false);
    QAction* picked = menu.exec(QPoint(screen.x, screen.y));
    if (picked) chosen = picked->data().toUInt();
  }
  if (chosen == 0) return 0;
  if (flags & TPM_RETURNCMD) return chosen;
  if (owner) owner->SendMessage(WM_COMMAND, MakeLong(static_cast<std::uint16_t>(chosen), 0), 0);
  return 1;
}

}  // namespace ui
