// Windows over Qt widgets: creation, geometry, messages, timers and event translation.
#include "platform/ui/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QWindow>
#include <QMimeData>
#include <QUrl>
#include <QDialog>
#include <QIcon>
#include <QPixmap>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <unordered_set>

#include "platform/ui/app.h"
#include "platform/ui/dialog.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"

#include "platform/draw/dc.h"
#include "platform/draw/dc_qt.h"

namespace ui {
namespace {

Window* g_capture = nullptr;

std::intptr_t PackPoint(int x, int y) {
  return static_cast<std::intptr_t>(MakeLong(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)));
}

// A widget that forwards to its window until the window lets go of it.
class ForwardingOwner {
 public:
  virtual ~ForwardingOwner() = default;
  virtual void Detach() = 0;
};

// Forwards the widget's events to the window's message procedure.
template <class Base>
class Forwarding : public Base, public ForwardingOwner {
 public:
  Forwarding(Window* owner, QWidget* parent) : Base(parent), owner_(owner) {
    this->setProperty("qlmWindow", QVariant::fromValue(static_cast<void*>(owner)));
    this->setMouseTracking(true);
  }
  void Detach() override { owner_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* e) override {
    Base::paintEvent(e);
    if (!owner_) return;
    QPainter painter(this);
    if (const draw::Image* surface = owner_->impl()->surface.get()) painter.drawImage(0, 0, draw::QtImage(*surface));
    std::unique_ptr<draw::Dc> dc = draw::MakeDcForPainter(&painter);
    owner_->OnPaint(*dc);
  }
  void resizeEvent(QResizeEvent* e) override {
    Base::resizeEvent(e);
    if (!owner_) return;
    std::uint32_t type = this->isMaximized() ? SIZE_MAXIMIZED : this->isMinimized() ? SIZE_MINIMIZED : SIZE_RESTORED;
    owner_->SendMessage(WM_SIZE, type, PackPoint(this->width(), this->height()));
  }
  void keyPressEvent(QKeyEvent* e) override { Key(e, true); }
  void keyReleaseEvent(QKeyEvent* e) override { Key(e, false); }
  void mousePressEvent(QMouseEvent* e) override {
    std::uint32_t msg = e->button() == Qt::RightButton ? WM_RBUTTONDOWN
                        : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
    Mouse(msg, e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    std::uint32_t msg = e->button() == Qt::RightButton ? WM_RBUTTONUP
                        : e->button() == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
    Mouse(msg, e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    Mouse(e->button() == Qt::RightButton ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK, e);
  }
  void mouseMoveEvent(QMouseEvent* e) override { Mouse(WM_MOUSEMOVE, e); }
  void wheelEvent(QWheelEvent* e) override {
    if (!owner_) return Base::wheelEvent(e);
    int delta = e->angleDelta().y();
    QPoint g = e->globalPosition().toPoint();
    std::uintptr_t w = MakeLong(static_cast<std::uint16_t>(MouseKeyFlags(e->modifiers(), e->buttons())),
                                static_cast<std::uint16_t>(static_cast<std::int16_t>(delta)));
    // The window procedure hands an unhandled turn to the parents itself.
    owner_->SendMessage(WM_MOUSEWHEEL, w, PackPoint(g.x(), g.y()));
    e->accept();
  }
  void dragEnterEvent(QDragEnterEvent* e) override {
    if (owner_ && e->mimeData()->hasUrls()) e->acceptProposedAction();
    else Base::dragEnterEvent(e);
  }
  void dropEvent(QDropEvent* e) override {
    if (!owner_ || !e->mimeData()->hasUrls()) return Base::dropEvent(e);
    std::vector<std::string> paths;
    for (const QUrl& url : e->mimeData()->urls())
      if (url.isLocalFile()) paths.push_back(U(url.toLocalFile()));
    e->acceptProposedAction();
    if (!paths.empty()) owner_->SendMessage(WM_DROPFILES, 0, reinterpret_cast<std::intptr_t>(&paths));
  }
  void closeEvent(QCloseEvent* e) override {
    if (!owner_) return Base::closeEvent(e);
    // The window decides in OnClose; it destroys itself when it agrees.
    e->ignore();
    owner_->SendMessage(WM_CLOSE);
  }

 private:
  void Key(QKeyEvent* e, bool down) {
    if (!owner_) return down ? Base::keyPressEvent(e) : Base::keyReleaseEvent(e);
    std::uint32_t vk = VirtualKeyOf(e);
    bool alt = e->modifiers() & Qt::AltModifier;
    std::intptr_t l = 1 | (e->isAutoRepeat() ? (1 << 30) : 0) | (down ? 0 : (1u << 31));
    if (vk) owner_->SendMessage(alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP), vk, l);
    if (down && !e->text().isEmpty() && e->text().at(0).isPrint())
      owner_->SendMessage(alt ? WM_SYSCHAR : WM_CHAR, e->text().at(0).unicode(), l);
  }
  void Mouse(std::uint32_t msg, QMouseEvent* e) {
    if (!owner_) return;
    QPoint p = e->position().toPoint();
    owner_->SendMessage(msg, MouseKeyFlags(e->modifiers(), e->buttons()), PackPoint(p.x(), p.y()));
  }
  Window* owner_;
};

class DialogWidget : public Forwarding<QDialog> {
 public:
  using Forwarding<QDialog>::Forwarding;

 protected:
  // Enter and Esc become the OK and Cancel commands, decided by the dialog's handlers.
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) {
      if (Window* w = WindowOfWidget(this)) w->SendMessage(WM_COMMAND, MakeLong(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    Forwarding<QDialog>::keyPressEvent(e);
  }
  void reject() override {
    if (Window* w = WindowOfWidget(this)) w->SendMessage(WM_COMMAND, MakeLong(IDCANCEL, BN_CLICKED), 0);
  }
  void accept() override {
    if (Window* w = WindowOfWidget(this)) w->SendMessage(WM_COMMAND, MakeLong(IDOK, BN_CLICKED), 0);
  }
};

}  // namespace

QWidget* MakeWidget(Window* owner, WindowKind kind, QWidget* parent) {
  switch (kind) {
    case WindowKind::Frame: {
      auto* w = new Forwarding<QMainWindow>(owner, parent);
      w->setAttribute(Qt::WA_DeleteOnClose, false);
      return w;
    }
    case WindowKind::Dialog: return new DialogWidget(owner, parent);
    case WindowKind::TopLevel: {
      auto* w = new Forwarding<QWidget>(owner, nullptr);
      w->setWindowFlag(Qt::Window, true);
      return w;
    }
    default: return new Forwarding<QWidget>(owner, parent);
  }
}

Window* WindowOfWidget(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    QVariant v = w->property("qlmWindow");
    if (v.isValid()) return static_cast<Window*>(v.value<void*>());
  }
  return nullptr;
}

QWidget* WidgetOf(const Window* w) { return w ? w->impl()->widget.data() : nullptr; }

int ControlIdOfWidget(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    if (w->property("qlmWindow").isValid()) return 0;
    QVariant v = w->property("qlmCtrlId");
    if (v.isValid()) return v.toInt();
  }
  return 0;
}

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string U(const QString& s) { return s.toStdString(); }

bool PreTranslateChain(Message& msg) {
  bool keyboard = msg.message >= WM_KEYDOWN && msg.message <= 0x0108;  // the keyboard messages
  for (Window* w = msg.window; w; w = w->GetParent()) {
    if (w->PreTranslateMessage(msg)) return true;
    // A dialog keeps the keys of its controls to itself (Tab, Enter, arrows in edits).
    if (keyboard && dynamic_cast<Dialog*>(w)) return false;
  }
  return false;
}

std::intptr_t DispatchQueued(Message& msg) {
  if (!msg.window) return 0;
  if (PreTranslateChain(msg)) return 0;
  return msg.window->SendMessage(msg.message, msg.wParam, msg.lParam);
}

std::uint32_t MouseKeyFlags(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  std::uint32_t f = 0;
  if (buttons & Qt::LeftButton) f |= MK_LBUTTON;
  if (buttons & Qt::RightButton) f |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) f |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) f |= MK_SHIFT;
  if (mods & Qt::ControlModifier) f |= MK_CONTROL;
  return f;
}

std::uint32_t VirtualKeyOf(const QKeyEvent* e) {
  int k = e->key();
  bool keypad = e->modifiers() & Qt::KeypadModifier;
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return (keypad ? VK_NUMPAD0 : 0x30) + static_cast<std::uint32_t>(k - Qt::Key_0);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 0x41 + static_cast<std::uint32_t>(k - Qt::Key_A);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return VK_F1 + static_cast<std::uint32_t>(k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Asterisk: return keypad ? VK_MULTIPLY : 0;
    case Qt::Key_Plus: return keypad ? VK_ADD : 0xBB;
    case Qt::Key_Minus: return keypad ? VK_SUBTRACT : 0xBD;
    case Qt::Key_Period: return keypad ? VK_DECIMAL : 0xBE;
    case Qt::Key_Slash: return keypad ? VK_DIVIDE : 0xBF;
    default: return 0;
  }
}

// --- Window -----------------------------------------------------------------------------

Window::Window() : Window(WindowKind::Plain) {}

namespace {
// Every window object alive now.
std::unordered_set<const Window*>& LiveWindows() {
  static std::unordered_set<const Window*> live;
  return live;
}
}  // namespace

bool IsLiveWindow(const Window* w) { return w != nullptr && LiveWindows().count(w) != 0; }

Window::Window(WindowKind kind) : impl_(std::make_unique<Impl>()) {
  LiveWindows().insert(this);
  impl_->self = this;
  impl_->kind = kind;
}

Window::~Window() {
  LiveWindows().erase(this);
  impl_->timers.clear();
  if (g_capture == this) g_capture = nullptr;
  extern void ForgetPostedFor(Window*);
  ForgetPostedFor(this);
  if (QWidget* w = impl_->widget.data()) {
    w->setProperty("qlmWindow", QVariant());
    impl_->widget.clear();
    delete w;
  }
}

bool Window::Create(Window* parent, int id, const Rect& rect, bool visible) {
  EnsureToolkit();
  if (IsWindow()) return false;
  QWidget* parentWidget = parent ? WidgetOf(parent) : nullptr;
  if (parent && !parentWidget) return false;
  impl_->parent = parent;
  impl_->id = id;
  QWidget* w = MakeWidget(this, impl_->kind, parentWidget);
  impl_->widget = w;
  if (!rect.IsEmpty()) w->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  if (parent) parent->OnChildCreated(this);
  if (OnCreate() == -1) {
    DestroyWindow();
    return false;
  }
  if (visible && parent) w->show();
  return true;
}

void Window::UpdateSizeLimits() {
  QWidget* w = WidgetOf(this);
  if (w == nullptr) return;
  MinMaxInfo info;
  info.maxTrackWidth = QWIDGETSIZE_MAX;
  info.maxTrackHeight = QWIDGETSIZE_MAX;
  SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info));
  const bool limited = info.minTrackWidth > 0 || info.minTrackHeight > 0 || info.maxTrackWidth < QWIDGETSIZE_MAX ||
                       info.maxTrackHeight < QWIDGETSIZE_MAX;
  // Sizes are only touched while limits apply and once when they are lifted again.
  if (!limited && !w->property("qlmSizeLimited").toBool()) return;
  w->setProperty("qlmSizeLimited", limited);
  w->setMinimumSize(std::max(info.minTrackWidth, 0), std::max(info.minTrackHeight, 0));
  w->setMaximumSize(std::clamp(info.maxTrackWidth, 0, QWIDGETSIZE_MAX), std::clamp(info.maxTrackHeight, 0, QWIDGETSIZE_MAX));
}

void Window::DestroyWindow() {
  if (!impl_->widget || impl_->destroying) return;
  impl_->destroying = true;
  // Children first, as their windows go with this one.
  for (Window* child : Children()) child->DestroyWindow();
  OnDestroy();
  impl_->timers.clear();
  if (g_capture == this) g_capture = nullptr;
  QWidget* w = impl_->widget.data();
  impl_->widget.clear();
  if (w) {
    w->setProperty("qlmWindow", QVariant());
    // Events still queued for the widget must not reach the window object, which may be
    // gone before the widget is deleted.
    if (auto* f = dynamic_cast<ForwardingOwner*>(w)) f->Detach();
    w->hide();
    w->deleteLater();
  }
  impl_->destroying = false;
  PostNcDestroy();
}

bool Window::IsWindow() const { return !impl_->widget.isNull(); }
int Window::GetDlgCtrlID() const { return impl_->id; }
void Window::SetDlgCtrlID(int id) { impl_->id = id; }
Window* Window::GetParent() const { return IsWindow() ? impl_->parent : nullptr; }

std::vector<Window*> Window::Children() const {
  std::vector<Window*> out;
  QWidget* w = impl_->widget.data();
  if (!w) return out;
  // Direct children in the window sense: the nearest windows below this one.
  std::vector<QWidget*> stack;
  for (QObject* o : w->children())
    if (auto* cw = qobject_cast<QWidget*>(o)) stack.push_back(cw);
  while (!stack.empty()) {
    QWidget* c = stack.front();
    stack.erase(stack.begin());
    QVariant v = c->property("qlmWindow");
    if (v.isValid()) {
      auto* win = static_cast<Window*>(v.value<void*>());
      if (win->impl()->parent == this) out.push_back(win);
      continue;
    }
    for (QObject* o : c->children())
      if (auto* cw = qobject_cast<QWidget*>(o)) stack.push_back(cw);
  }
  return out;
}

Window* Window::GetChild(int id) const {
  for (Window* c : Children())
    if (c->GetDlgCtrlID() == id) return c;
  return nullptr;
}

Frame* Window::GetParentFrame() const {
  for (Window* w = GetParent(); w; w = w->GetParent())
    if (auto* f = dynamic_cast<Frame*>(w)) return f;
  return nullptr;
}

Window* Window::GetTopLevel() {
  Window* w = this;
  while (w->GetParent()) w = w->GetParent();
  return w;
}

std::intptr_t Window::SendMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  return WindowProc(msg, wParam, lParam);
}

std::uint32_t Window::SetTimer(std::uint32_t id, std::uint32_t elapseMs) {
  if (id == 0) return 0;
  EnsureToolkit();
  auto& slot = impl_->timers[id];
  if (!slot) {
    slot = std::make_unique<QTimer>();
    QObject::connect(slot.get(), &QTimer::timeout, [this, id] {
      Message m{this, WM_TIMER, id, 0, {}, 0};
      DispatchQueued(m);
    });
  }
  slot->start(static_cast<int>(std::min<std::uint32_t>(elapseMs, 0x7FFFFFFF)));
  return id;
}

bool Window::KillTimer(std::uint32_t id) { return impl_->timers.erase(id) != 0; }
bool Window::IsTimerArmed(std::uint32_t id) const { return impl_->timers.count(id) != 0; }
int Window::TimerPeriod(std::uint32_t id) const {
  auto it = impl_->timers.find(id);
  return it == impl_->timers.end() ? -1 : it->second->interval();
}

Rect Window::GetClientRect() const {
  QWidget* w = impl_->widget.data();
  if (!w) return {};
  return {0, 0, w->width(), w->height()};
}

Rect Window::GetWindowRect() const {
  QWidget* w = impl_->widget.data();
  if (!w) return {};
  QPoint g = w->mapToGlobal(QPoint(0, 0));
  return {g.x(), g.y(), g.x() + w->width(), g.y() + w->height()};
}

void Window::MoveWindow(const Rect& r, bool repaint) {
  if (QWidget* w = impl_->widget.data()) {
    w->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
    if (repaint) w->update();
  }
}

Point Window::ClientToScreen(Point p) const {
  QWidget* w = impl_->widget.data();
  if (!w) return p;
  QPoint g = w->mapToGlobal(QPoint(p.x, p.y));
  return {g.x(), g.y()};
}

Point Window::ScreenToClient(Point p) const {
  QWidget* w = impl_->widget.data();
  if (!w) return p;
  QPoint c = w->mapFromGlobal(QPoint(p.x, p.y));
  return {c.x(), c.y()};
}

Rect ScreenWorkArea() {
  if (draw::IsScreenMetricsOverridden()) {
    const draw::ScreenMetrics m = draw::GetScreenMetrics();
    return Rect{0, 0, m.widthPx, m.heightPx};
  }
  EnsureToolkit();
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  }
  return Rect{0, 0, 1920, 1080};
}

void FitIntoWorkArea(QWidget* w, bool centre) {
  if (!w || !w->isWindow()) return;
  // The offscreen platform's own screen is a stand-in: only a virtual screen fixed by the
  // testing hooks is fitted into there.
  if (ScriptedUi() && !draw::IsScreenMetricsOverridden()) return;
  const Rect area = ScreenWorkArea();
  if (area.IsEmpty()) return;
  QSize size = w->size();
  if (!w->testAttribute(Qt::WA_Resized) && w->layout()) size = w->sizeHint().expandedTo(w->minimumSizeHint());
  // The window keeps at least its layout's smallest size.
  const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
  size = size.boundedTo(QSize(area.Width(), area.Height())).expandedTo(least);
  QPoint at = w->pos();
  if (centre) {
    QRect over(area.left, area.top, area.Width(), area.Height());
    if (QWidget* p = w->parentWidget(); p && p->isVisible()) over = QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
    at = over.center() - QPoint(size.width() / 2, size.height() / 2);
  }
  at.setX(std::max(area.left, std::min(at.x(), area.right - size.width())));
  at.setY(std::max(area.top, std::min(at.y(), area.bottom - size.height())));
  if (size != w->size()) w->resize(size);
  if (at != w->pos()) w->move(at);
}

void Window::ShowWindow(int cmd) {
  QWidget* w = impl_->widget.data();
  if (!w) return;
  // A top-level window opens inside the screen's work area.
  if (cmd != SW_HIDE && w->isWindow() && !w->isVisible()) FitIntoWorkArea(w, false);
  switch (cmd) {
    case SW_HIDE: w->hide(); break;
    case SW_SHOWMAXIMIZED:
      // A fixed virtual screen has no window system behind it: the window takes the screen's
      // work area itself.
      if (draw::IsScreenMetricsOverridden() && w->isWindow()) {
        const Rect area = ScreenWorkArea();
        w->show();
        // The window's frame (title bar, borders) goes inside the work area too.
        const QRect outer = w->frameGeometry();
        const QRect inner = w->geometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        w->setGeometry(QRect(area.left, area.top, area.Width(), area.Height()).marginsRemoved(frame));
      } else {
        w->showMaximized();
      }
      break;
    case SW_SHOWMINIMIZED: w->showMinimized(); break;
    case SW_RESTORE: w->showNormal(); break;
    default: w->show(); break;
  }
}

bool Window::IsWindowVisible() const { return impl_->widget && impl_->widget->isVisible(); }
void Window::EnableWindow(bool enable) {
  if (impl_->widget) impl_->widget->setEnabled(enable);
}
bool Window::IsWindowEnabled() const { return impl_->widget && impl_->widget->isEnabled(); }

void Window::SetFocus() {
  if (QWidget* w = impl_->widget.data()) {
    if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
    w->setFocus(Qt::OtherFocusReason);
  }
}

bool Window::HasFocus() const { return GetFocus() == this; }

void Window::SetWindowText(std::string_view text) {
  if (QWidget* w = impl_->widget.data()) w->setWindowTitle(Q(text));
}
void Window::SetIcon(const draw::Image& icon) {
  QWidget* w = impl_->widget.data();
  if (!w) return;
  if (icon.IsNull()) {
    w->setWindowIcon(QIcon());
  } else {
    w->setWindowIcon(QIcon(QPixmap::fromImage(draw::QtImage(icon))));
  }
}
bool Window::HasIcon() const {
  const QWidget* w = impl_->widget.data();
  return w && !w->windowIcon().isNull();
}
void Window::SetTopMost(bool on) {
  QWidget* w = impl_->widget.data();
  if (!w) return;
  const bool visible = w->isVisible();
  w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  // Changing a window flag hides the window; it comes back as it was.
  if (visible) w->show();
}
bool Window::IsTopMost() const {
  const QWidget* w = impl_->widget.data();
  return w && (w->windowFlags() & Qt::WindowStaysOnTopHint) != 0;
}
std::string Window::GetWindowText() const { return impl_->widget ? U(impl_->widget->windowTitle()) : std::string{}; }

void Window::Invalidate(bool) {
  if (impl_->widget) impl_->widget->update();
}
void Window::InvalidateRect(const Rect& r, bool) {
  if (impl_->widget) impl_->widget->update(r.left, r.top, r.Width(), r.Height());
}
namespace {
const QWidget* g_deferredTop = nullptr;  // the top-level window whose paints wait
}  // namespace

Window::DeferredPaints::DeferredPaints(const Window* top) : previous_(g_deferredTop) {
  if (top != nullptr && top->impl_->widget) g_deferredTop = top->impl_->widget->window();
}
Window::DeferredPaints::~DeferredPaints() { g_deferredTop = static_cast<const QWidget*>(previous_); }

void Window::UpdateWindow() {
  QWidget* w = impl_->widget.data();
  if (!w || !w->isVisible()) return;
  if (g_deferredTop != nullptr && w->window() == g_deferredTop) {
    w->update();
    return;
  }
  w->repaint();
}
void Window::RedrawWindow() {
  Invalidate();
  UpdateWindow();
}

void Window::SetCapture() {
  g_capture = this;
  if (impl_->widget) impl_->widget->grabMouse();
}

void Window::ReleaseCapture() {
  if (g_capture && g_capture->impl_->widget) g_capture->impl_->widget->releaseMouse();
  g_capture = nullptr;
}

Window* Window::GetCapture() { return g_capture; }

Window* Window::GetFocus() {
  if (!QApplication::instance()) return nullptr;
  return WindowOfWidget(QApplication::focusWidget());
}

int Window::GetFocusControlId() {
  if (!QApplication::instance()) return 0;
  return ControlIdOfWidget(QApplication::focusWidget());
}

bool Window::PreTranslateMessage(Message&) { return false; }

void Window::SetCursorShape(Cursor cursor) {
  QWidget* w = impl_->widget.data();
  if (!w) return;
  static const Qt::CursorShape kShapes[] = {Qt::ArrowCursor,   Qt::CrossCursor,   Qt::IBeamCursor,
                                            Qt::WaitCursor,    Qt::SizeHorCursor, Qt::SizeVerCursor,
                                            Qt::SizeAllCursor, Qt::PointingHandCursor, Qt::ForbiddenCursor};
  w->setCursor(kShapes[static_cast<int>(cursor)]);
}

// --- ClientDc ------------------------------------------------------------------------------

struct ClientDc::Impl {
  QPointer<QWidget> widget;
  draw::Image scratch;  // drawing target when the window does not exist
  std::unique_ptr<draw::Dc> dc;
};

ClientDc::ClientDc(Window& window) : impl_(std::make_unique<Impl>()) {
  QWidget* w = WidgetOf(&window);
  draw::Image* target = &impl_->scratch;
  if (w) {
    impl_->widget = w;
    auto& surface = window.impl()->surface;
    int width = std::max(1, w->width()), height = std::max(1, w->height());
    if (!surface || surface->Width() != width || surface->Height() != height) {
      // A new size keeps what was drawn where it still fits.
      auto fresh = std::make_unique<draw::Image>(width, height, 32);
      fresh->Fill(draw::Rgb(255, 255, 255));
      if (surface) {
        QPainter p(&draw::QtImage(*fresh));
        p.drawImage(0, 0, draw::QtImage(*surface));
      }
      surface = std::move(fresh);
    }
    target = surface.get();
  } else {
    impl_->scratch = draw::Image(1, 1, 32);
  }
  impl_->dc = std::make_unique<draw::Dc>(*target);
}

ClientDc::~ClientDc() {
  impl_->dc.reset();
  if (impl_->widget) impl_->widget->update();
}

draw::Dc& ClientDc::dc() { return *impl_->dc; }
bool ClientDc::IsValid() const { return !impl_->widget.isNull(); }

void Window::OnPaint(draw::Dc&) {}

bool Window::OnCommand(std::uintptr_t wParam, std::intptr_t) {
  return OnCmdMsg(LowWord(wParam), CmdMode::Execute, nullptr);
}

void Window::OnClose() { DestroyWindow(); }

std::intptr_t Window::WindowProc(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
  switch (msg) {
    case WM_SIZE: OnSize(static_cast<std::uint32_t>(w), LowWord(static_cast<std::uint64_t>(l)), HighWord(static_cast<std::uint64_t>(l))); return 0;
    case WM_TIMER: OnTimer(static_cast<std::uint32_t>(w)); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(l & 0xFFFF), static_cast<std::uint32_t>(static_cast<std::uint64_t>(l) >> 16)); return 0;
    case WM_KEYUP: OnKeyUp(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(l & 0xFFFF), static_cast<std::uint32_t>(static_cast<std::uint64_t>(l) >> 16)); return 0;
    case WM_CHAR: OnChar(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(l & 0xFFFF), static_cast<std::uint32_t>(static_cast<std::uint64_t>(l) >> 16)); return 0;
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: {
      Point p{LowSigned(static_cast<std::uint64_t>(l)), HighSigned(static_cast<std::uint64_t>(l))};
      auto f = static_cast<std::uint32_t>(w);
      if (msg == WM_MOUSEMOVE) OnMouseMove(f, p);
      else if (msg == WM_LBUTTONDOWN) OnLButtonDown(f, p);
      else if (msg == WM_LBUTTONUP) OnLButtonUp(f, p);
      else if (msg == WM_LBUTTONDBLCLK) OnLButtonDblClk(f, p);
      else if (msg == WM_RBUTTONDOWN) OnRButtonDown(f, p);
      else OnRButtonUp(f, p);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      Point p{LowSigned(static_cast<std::uint64_t>(l)), HighSigned(static_cast<std::uint64_t>(l))};
      if (OnMouseWheel(LowWord(w), HighSigned(w), p)) return 1;
      // Not handled: the parent gets the turn, as the system passes it on.
      if (Window* parent = GetParent()) return parent->SendMessage(msg, w, l);
      return 0;
    }
    case WM_COMMAND: return OnCommand(w, l) ? 1 : 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_COPYDATA: {
      const auto* cd = reinterpret_cast<const CopyData*>(l);
      return cd && OnCopyData(reinterpret_cast<Window*>(w), *cd) ? 1 : 0;
    }
    default: return DefWindowProc(msg, w, l);
  }
}

std::intptr_t Window::DefWindowProc(std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

}  // namespace ui
