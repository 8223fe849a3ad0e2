#pragma once
// Windows: every on-screen object of the program (frames, views, splitters, bars, dialogs,
// custom panes) is a Window. A window has a numeric id among its siblings, receives numbered
// messages through one virtual WindowProc, which calls the On* handlers below, and owns its
// timers, keyed by (window, id).
//
// Input (keys, mouse, wheel), timer and posted messages are first offered to
// PreTranslateMessage of the target window and then of each of its parents up to the top
// level window; a window that returns true there consumes the message. SendMessage calls
// WindowProc directly, without pre-translation.
//
// Ownership: a Window object owns its on-screen counterpart; destroying the object destroys
// the window and its child windows. Child Window objects are not owned by their parent unless
// a container says so (Splitter::CreateView, Frame bars...). A window destroyed with its
// parent leaves its object alive with IsWindow() false.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/command.h"
#include "platform/ui/geometry.h"
#include "platform/ui/messages.h"

namespace draw {
class Dc;
class Image;
}

namespace ui {

class Frame;
class Window;

// A queued message as pre-translation sees it.
struct Message {
  Window* window = nullptr;       // target window
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Point pt;                       // pointer position on the screen when queued
  int controlId = 0;              // for input to a dialog control: the control's id, else 0
};

// Drawing into a window outside OnPaint (the system's client device context): what is drawn
// lands on the window's own surface, which is shown at once and stays under what OnPaint draws
// later. The surface has the size of the client area when the context is taken.
class ClientDc {
 public:
  explicit ClientDc(Window& window);
  ~ClientDc();
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;
  draw::Dc& dc();
  // False when the window does not exist (drawing then goes nowhere).
  bool IsValid() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The Qt counterpart a window is built on (platform internal).
enum class WindowKind { Plain, TopLevel, Frame, Splitter, Dialog, ControlBar };

class Window : public CommandTarget {
 public:
  Window();
  ~Window() override;

  // Creates the window as a child of parent (or top-level when parent is null) with the given
  // id and rectangle in the parent's client coordinates (an empty rectangle leaves the size to
  // the parent's layout). Calls OnCreate; a result of -1 there destroys the window and makes
  // Create return false.
  bool Create(Window* parent, int id, const Rect& rect = {}, bool visible = true);
  // Destroys the on-screen window (OnDestroy, then PostNcDestroy). The object stays.
  void DestroyWindow();
  bool IsWindow() const;

  int GetDlgCtrlID() const;
  void SetDlgCtrlID(int id);
  Window* GetParent() const;
  // Direct child window with that id, or null.
  Window* GetChild(int id) const;
  std::vector<Window*> Children() const;
  // The nearest enclosing Frame (not this one), or null.
  Frame* GetParentFrame() const;
  Window* GetTopLevel();

  // Messages. SendMessage runs WindowProc now and returns its result; PostMessage queues the
  // message for the message loop (pre-translation, then WindowProc) and returns at once.
  std::intptr_t SendMessage(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  bool PostMessage(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // Timers keyed by (this window, id). Arming an armed id replaces its period and restarts it.
  // Each expiry delivers WM_TIMER with wParam = id. Returns id (0 when id is 0).
  std::uint32_t SetTimer(std::uint32_t id, std::uint32_t elapseMs);
  bool KillTimer(std::uint32_t id);  // false when the id was not armed
  bool IsTimerArmed(std::uint32_t id) const;
  // Period of an armed timer in milliseconds, -1 when not armed.
  int TimerPeriod(std::uint32_t id) const;

  // Geometry. The client rectangle starts at (0, 0); window rectangles are on the screen.
  Rect GetClientRect() const;
  Rect GetWindowRect() const;
  void MoveWindow(const Rect& rectInParent, bool repaint = true);
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;

  // Asks the window for its size limits (WM_GETMINMAXINFO with a MinMaxInfo preset to no
  // limits) and keeps its size within them until asked again.
  void UpdateSizeLimits();
  void ShowWindow(int showCommand);
  bool IsWindowVisible() const;
  void EnableWindow(bool enable);
  bool IsWindowEnabled() const;
  void SetFocus();
  bool HasFocus() const;
  void SetWindowText(std::string_view text);
  std::string GetWindowText() const;
  // The icon of a top-level window (title bar, task bar); a null image removes it.
  void SetIcon(const draw::Image& icon);
  bool HasIcon() const;
  // A top-level window that stays above the others (HWND_TOPMOST).
  void SetTopMost(bool on);
  bool IsTopMost() const;

  // Painting: Invalidate marks the window for repainting; UpdateWindow repaints what is marked
  // now; RedrawWindow does both.
  void Invalidate(bool erase = true);
  void InvalidateRect(const Rect& rect, bool erase = true);
  void UpdateWindow();
  void RedrawWindow();

  // While one lives, UpdateWindow and RedrawWindow of the windows inside `top` (a top-level
  // window) only mark them: they are painted once, when the event loop next runs. A document
  // being opened redraws its panes many times over; the screen needs only the last.
  class DeferredPaints {
   public:
    explicit DeferredPaints(const Window* top);
    ~DeferredPaints();
    DeferredPaints(const DeferredPaints&) = delete;
    DeferredPaints& operator=(const DeferredPaints&) = delete;

   private:
    const void* previous_;
  };

  // Mouse pointer shape while over the window.
  enum class Cursor { Arrow, Cross, IBeam, Wait, SizeWE, SizeNS, SizeAll, Hand, No };
  void SetCursorShape(Cursor cursor);

  // Mouse capture: the window receives the mouse messages until ReleaseCapture.
  void SetCapture();
  static void ReleaseCapture();
  static Window* GetCapture();
  // The window holding the keyboard focus (a dialog's window when one of its controls has it).
  static Window* GetFocus();
  // Id of the focused dialog control inside GetFocus(), or 0.
  static int GetFocusControlId();

  // Pre-translation hook; see the head of this file.
  virtual bool PreTranslateMessage(Message& msg);

  // The message procedure. The default dispatches to the handlers below and returns
  // DefWindowProc for what they leave.
  virtual std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t DefWindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

  // Handlers. Defaults do nothing unless said.
  virtual int OnCreate() { return 0; }
  virtual void OnDestroy() {}
  virtual void PostNcDestroy() {}
  virtual void OnSize(std::uint32_t /*sizeType*/, int /*cx*/, int /*cy*/) {}
  // Paints the client area (device context over the window).
  virtual void OnPaint(draw::Dc& dc);
  virtual void OnTimer(std::uint32_t /*id*/) {}
  virtual void OnKeyDown(std::uint32_t /*vk*/, std::uint32_t /*repeat*/, std::uint32_t /*flags*/) {}
  virtual void OnKeyUp(std::uint32_t /*vk*/, std::uint32_t /*repeat*/, std::uint32_t /*flags*/) {}
  virtual void OnChar(std::uint32_t /*ch*/, std::uint32_t /*repeat*/, std::uint32_t /*flags*/) {}
  virtual void OnMouseMove(std::uint32_t /*flags*/, Point /*client*/) {}
  virtual void OnLButtonDown(std::uint32_t /*flags*/, Point /*client*/) {}
  virtual void OnLButtonUp(std::uint32_t /*flags*/, Point /*client*/) {}
  virtual void OnLButtonDblClk(std::uint32_t /*flags*/, Point /*client*/) {}
  virtual void OnRButtonDown(std::uint32_t /*flags*/, Point /*client*/) {}
  virtual void OnRButtonUp(std::uint32_t /*flags*/, Point /*client*/) {}
  // Wheel: delta in multiples of WHEEL_DELTA, positive away from the user; screen position.
  virtual bool OnMouseWheel(std::uint32_t /*flags*/, int /*delta*/, Point /*screen*/) { return false; }
  // WM_COMMAND from a control, menu or accelerator. The default runs OnCmdMsg(id, Execute).
  virtual bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam);
  // Default: DestroyWindow.
  virtual void OnClose();
  virtual bool OnCopyData(Window* /*sender*/, const CopyData& /*data*/) { return false; }

  // Platform internal.
  struct Impl;
  Impl* impl() const { return impl_.get(); }

 protected:
  explicit Window(WindowKind kind);
  // Called on the parent when a child window has been created under it.
  virtual void OnChildCreated(Window* /*child*/) {}

 private:
  std::unique_ptr<Impl> impl_;
};

// The part of the screen that windows may cover (the screen less the desktop's panels; the
// virtual screen of the testing hooks when one is fixed), in screen coordinates.
Rect ScreenWorkArea();

}  // namespace ui
