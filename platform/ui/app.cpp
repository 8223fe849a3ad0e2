// The application object, the toolkit set-up, the posted-message queue, idle processing and
// the translation of input events into pre-translated messages.
#include "platform/ui/app.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>

#include "platform/draw/dc_qt.h"
#include "platform/res/resource_store.h"
#include "platform/ui/document.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {

ScriptState& Script() {
  static ScriptState state;
  return state;
}

bool TakeCommonAnswer(CommonAnswer::Kind kind, CommonAnswer& out) {
  auto& q = Script().commonAnswers;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (it->kind == kind) {
      out = *it;
      q.erase(it);
      return true;
    }
  }
  return false;
}

namespace {

App* g_app = nullptr;
int g_argc = 1;
std::vector<std::string> g_argStore{"QLM2_Analyzer"};
std::vector<char*> g_argv;
QApplication* g_qapp = nullptr;
bool g_haveArgs = false;
bool g_quitRequested = false;
int g_exitCode = 0;
bool g_haveEventModifiers = false;
Qt::KeyboardModifiers g_eventModifiers;

struct Posted {
  Window* target = nullptr;
  std::uint32_t msg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::function<void()> task;
};
// Posting is allowed from any thread (a library's callback thread); handling is on the
// user-interface thread only.
std::deque<Posted> g_posted;
std::recursive_mutex g_postedLock;

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 811);

// Delivers one posted entry per wake event, in order.
class Dispatcher : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kWakeEvent) return QObject::event(e);
    DeliverOne();
    return true;
  }
  static void DeliverOne() {
    Posted p;
    {
      std::lock_guard lock(g_postedLock);
      if (g_posted.empty()) return;
      p = std::move(g_posted.front());
      g_posted.pop_front();
    }
    if (p.task) {
      p.task();
    } else if (p.target) {
      Message m{p.target, p.msg, p.wParam, p.lParam, {}, 0};
      DispatchQueued(m);
    }
  }
};
Dispatcher* g_dispatcher = nullptr;

std::map<int, IdleHandler>& IdleHandlers() {
  static std::map<int, IdleHandler> handlers;
  return handlers;
}
int g_nextIdleToken = 1;
bool g_inIdle = false;

// Offers input events to the pre-translation chain of the window they are meant for.
class InputFilter : public QObject {
 public:
  bool eventFilter(QObject* obj, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::Wheel:
      case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
        break;
      default: return false;
    }
    auto* widget = qobject_cast<QWidget*>(obj);
    if (!widget) return false;
    // Open menus and the toolkit's own boxes run loops of their own, as the system's do.
    QWidget* top = widget->window();
    if (qobject_cast<QMenu*>(top) || (qobject_cast<QDialog*>(top) && !top->property("qlmWindow").isValid()))
      return false;
    // Qt offers an ignored event to each parent in turn; pre-translate it once. An event at
    // the same address may be a new one (they live on the stack), so the same time stamp and
    // a receiver above the last one are asked too.
    auto* input = static_cast<QInputEvent*>(e);
    bool repeat = e == lastEvent_ && e->type() == lastType_ && input->timestamp() == lastStamp_ && lastReceiver_ &&
                  widget != lastReceiver_ && widget->isAncestorOf(lastReceiver_);
    lastEvent_ = e;
    lastType_ = e->type();
    lastStamp_ = input->timestamp();
    lastReceiver_ = widget;
    if (repeat) return false;
    Window* win = WindowOfWidget(widget);
    if (!win) return false;
    Message m;
    m.window = win;
    m.controlId = ControlIdOfWidget(widget);
    QPoint cursor = QCursor::pos();
    m.pt = {cursor.x(), cursor.y()};
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
      auto* k = static_cast<QKeyEvent*>(e);
      std::uint32_t vk = VirtualKeyOf(k);
      bool down = e->type() == QEvent::KeyPress;
      bool alt = k->modifiers() & Qt::AltModifier;
      std::intptr_t l = 1 | (k->isAutoRepeat() ? (1 << 30) : 0) | (down ? 0 : (1u << 31));
      bool consumed = false;
      g_haveEventModifiers = true;
      g_eventModifiers = k->modifiers();
      if (vk) {
        m.message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
        m.wParam = vk;
        m.lParam = l;
        consumed = PreTranslateChain(m);
      }
      // The character follows its key-down, as the system's translation posts it.
      if (!consumed && down && !k->text().isEmpty() && k->text().at(0).isPrint()) {
        Message c = m;
        c.message = alt ? WM_SYSCHAR : WM_CHAR;
        c.wParam = k->text().at(0).unicode();
        c.lParam = l;
        consumed = PreTranslateChain(c);
      }
      g_haveEventModifiers = false;
      return consumed;
    }
    if (e->type() == QEvent::Wheel) {
      auto* w = static_cast<QWheelEvent*>(e);
      QPoint g = w->globalPosition().toPoint();
      m.message = WM_MOUSEWHEEL;
      m.wParam = MakeLong(static_cast<std::uint16_t>(MouseKeyFlags(w->modifiers(), w->buttons())),
                          static_cast<std::uint16_t>(static_cast<std::int16_t>(w->angleDelta().y())));
      m.lParam = static_cast<std::intptr_t>(MakeLong(static_cast<std::uint16_t>(g.x()), static_cast<std::uint16_t>(g.y())));
      return PreTranslateChain(m);
    }
    auto* me = static_cast<QMouseEvent*>(e);
    bool right = me->button() == Qt::RightButton;
    if (e->type() == QEvent::MouseButtonPress) m.message = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    else if (e->type() == QEvent::MouseButtonRelease) m.message = right ? WM_RBUTTONUP : WM_LBUTTONUP;
    else m.message = right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK;
    QPoint p = me->position().toPoint();
    m.wParam = MouseKeyFlags(me->modifiers(), me->buttons());
    m.lParam = static_cast<std::intptr_t>(MakeLong(static_cast<std::uint16_t>(p.x()), static_cast<std::uint16_t>(p.y())));
    return PreTranslateChain(m);
  }

 private:
  const QEvent* lastEvent_ = nullptr;
  QEvent::Type lastType_ = QEvent::None;
  quint64 lastStamp_ = 0;
  QPointer<QWidget> lastReceiver_;
};
InputFilter* g_filter = nullptr;

void RunIdle() {
  if (g_inIdle) return;
  g_inIdle = true;
  if (g_app) {
    for (long count = 0; count < 8 && g_app->OnIdle(count); ++count) {
    }
  }
  // Copy: a handler may remove itself.
  std::vector<IdleHandler> handlers;
  for (auto& [token, h] : IdleHandlers()) handlers.push_back(h);
  for (auto& h : handlers) h();
  g_inIdle = false;
}

}  // namespace

// Modifiers of the key being handled (set while an input event or a test key is delivered).
Qt::KeyboardModifiers CurrentModifiers() {
  if (g_haveEventModifiers) return g_eventModifiers;
  return QGuiApplication::keyboardModifiers();
}

void SetEventModifiers(bool have, Qt::KeyboardModifiers mods) {
  g_haveEventModifiers = have;
  g_eventModifiers = mods;
}

void ForgetPostedFor(Window* w) {
  std::lock_guard lock(g_postedLock);
  for (auto& p : g_posted)
    if (p.target == w) p.target = nullptr;
}

void EnsureToolkit() {
  if (QApplication::instance()) {
    if (!g_dispatcher) {
      res::SetLanguageObserver(&ApplyToolkitLanguage);
      ApplyToolkitLanguage(res::CurrentLanguage());
      g_dispatcher = new Dispatcher;
      g_filter = new InputFilter;
      QApplication::instance()->installEventFilter(g_filter);
      if (auto* d = QAbstractEventDispatcher::instance())
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, [] { RunIdle(); });
    }
    return;
  }
  if (!g_haveArgs) {
    draw::EnsureQtApp();
  } else {
    g_argv.clear();
    for (auto& a : g_argStore) g_argv.push_back(a.data());
    g_argv.push_back(nullptr);
    g_argc = static_cast<int>(g_argStore.size());
    g_qapp = new QApplication(g_argc, g_argv.data());
  }
  EnsureToolkit();
}

bool ScriptedUi() {
  EnsureToolkit();
  return QGuiApplication::platformName() == QLatin1String("offscreen");
}

void PostQuitMessage(int code) {
  g_quitRequested = true;
  if (QCoreApplication::instance()) QCoreApplication::exit(code);
}

bool PumpPendingMessages() {
  EnsureToolkit();
  // Bounded: messages posted while pumping wait for the next call.
  std::size_t budget = PendingMessageCount() + 64;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  while (PendingMessageCount() > 0 && budget-- > 0) Dispatcher::DeliverOne();
  QCoreApplication::sendPostedEvents();
  return !g_quitRequested;
}

bool RemoveOnePendingMessage() {
  std::lock_guard lock(g_postedLock);
  while (!g_posted.empty()) {
    bool real = g_posted.front().target || g_posted.front().task;
    g_posted.pop_front();
    if (real) return true;
  }
  return false;
}

bool RemovePendingKeyMessage(std::uint32_t msg, std::uint32_t key) {
  for (auto it = g_posted.begin(); it != g_posted.end(); ++it) {
    if (it->target != nullptr && it->msg == msg && it->wParam == key) {
      g_posted.erase(it);
      return true;
    }
  }
  return false;
}

std::size_t PendingMessageCount() {
  std::lock_guard lock(g_postedLock);
  return static_cast<std::size_t>(std::count_if(g_posted.begin(), g_posted.end(),
                                                 [](const Posted& p) { return p.target || p.task; }));
}

namespace {
void Wake() {
  EnsureToolkit();
  QCoreApplication::postEvent(g_dispatcher, new QEvent(kWakeEvent));
}
}  // namespace

bool Window::PostMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  {
    std::lock_guard lock(g_postedLock);
    g_posted.push_back({this, msg, wParam, lParam, {}});
  }
  Wake();
  return true;
}

void PostTask(std::function<void()> task) {
  {
    std::lock_guard lock(g_postedLock);
    g_posted.push_back({nullptr, 0, 0, 0, std::move(task)});
  }
  Wake();
}

int AddIdleHandler(IdleHandler handler) {
  int token = g_nextIdleToken++;
  IdleHandlers()[token] = std::move(handler);
  return token;
}

void RemoveIdleHandler(int token) { IdleHandlers().erase(token); }
void RunIdleNow() { RunIdle(); }

void MessageBeep(std::uint32_t type) {
  Script().beeps.push_back(type);
  if (!ScriptedUi()) QApplication::beep();
}

WaitCursor::WaitCursor() {
  EnsureToolkit();
  QApplication::setOverrideCursor(Qt::WaitCursor);
}
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

// --- App ----------------------------------------------------------------------------------

struct App::Impl {
  std::vector<std::string> args{"QLM2_Analyzer"};
  DocTemplate tmpl;
  std::unique_ptr<Document> document;
  std::unique_ptr<Frame> frame;
  CreateContext context;
};

App::App() : impl_(std::make_unique<Impl>()) { g_app = this; }

App::~App() {
  // The frame goes before the document its views point to.
  impl_->frame.reset();
  impl_->document.reset();
  if (g_app == this) g_app = nullptr;
}

App* App::Current() { return g_app; }

int App::ExitInstance() { return g_exitCode; }

bool App::OnIdle(long count) {
  if (count == 0 && mainWnd_ && mainWnd_->IsWindow()) mainWnd_->UpdateControlBars();
  return false;
}

int App::Run() {
  EnsureToolkit();
  g_quitRequested = false;
  g_exitCode = QApplication::exec();
  return g_exitCode;
}

const std::vector<std::string>& App::Arguments() const { return impl_->args; }
void App::SetArguments(std::vector<std::string> args) { impl_->args = std::move(args); }

std::string App::CommandLineText() const {
  std::string out;
  for (std::size_t i = 1; i < impl_->args.size(); ++i) {
    if (i > 1) out += ' ';
    out += impl_->args[i];
  }
  return out;
}

void App::SetDocTemplate(DocTemplate tmpl) { impl_->tmpl = std::move(tmpl); }
Document* App::GetDocument() const { return impl_->document.get(); }

bool App::OnFileNew() {
  Impl& d = *impl_;
  if (!d.document) {
    if (!d.tmpl.makeDocument || !d.tmpl.makeFrame) return false;
    d.document = d.tmpl.makeDocument();
    d.frame = d.tmpl.makeFrame();
    d.context.currentDocument = d.document.get();
    d.context.makeView = d.tmpl.makeView;
    if (!d.frame->LoadFrame(d.tmpl.resourceId, &d.context)) {
      d.frame.reset();
      d.document.reset();
      return false;
    }
    mainWnd_ = d.frame.get();
    if (!d.document->OnNewDocument()) return false;
    d.frame->InitialUpdateFrame(d.document.get(), showCommand_);
    return true;
  }
  if (!d.document->SaveModified()) return false;
  if (!d.document->OnNewDocument()) return false;
  if (d.frame) d.frame->InitialUpdateFrame(d.document.get(), SW_SHOW);
  return true;
}

Document* App::OpenDocumentFile(const std::string& path, bool addToRecent) {
  Impl& d = *impl_;
  if (!d.document && !OnFileNew()) return nullptr;
  if (!path.empty() && d.document->GetPathName() == path) {
    if (d.frame) d.frame->ActivateFrame();
    return d.document.get();
  }
  if (!d.document->SaveModified()) return nullptr;
  // The main window is painted once, when the opened document is in place.
  Window::DeferredPaints paintOnce(d.frame.get());
  if (!d.document->OnOpenDocument(path)) return nullptr;
  d.document->SetPathName(path, addToRecent);
  if (d.frame) d.frame->InitialUpdateFrame(d.document.get(), SW_SHOW);
  return d.document.get();
}

void App::AddToRecentFileList(const std::string& path) {
  if (path.empty()) return;
  recent_.erase(std::remove(recent_.begin(), recent_.end(), path), recent_.end());
  recent_.insert(recent_.begin(), path);
  if (recent_.size() > maxRecent_) recent_.resize(maxRecent_);
}

void App::SetRecentFiles(std::vector<std::string> files, std::size_t maxEntries) {
  maxRecent_ = maxEntries;
  recent_ = std::move(files);
  if (recent_.size() > maxRecent_) recent_.resize(maxRecent_);
}

int RunApplication(App& app, int argc, char** argv) {
  g_argStore.clear();
  for (int i = 0; i < argc; ++i) g_argStore.emplace_back(argv[i] ? argv[i] : "");
  if (g_argStore.empty()) g_argStore.emplace_back("QLM2_Analyzer");
  g_haveArgs = true;
  app.SetArguments(g_argStore);
  EnsureToolkit();
  if (app.InitInstance()) app.Run();
  return app.ExitInstance();
}

}  // namespace ui
