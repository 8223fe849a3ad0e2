#pragma once
// Frame windows: a top-level window with a title, a menu bar from the resources, accelerators,
// control bars docked along its top edge, a status bar and a client area. The client area is
// the child window created with id AFX_IDW_PANE_FIRST (a view or a splitter).
//
// Creation (LoadFrame): the window is made, the menu, accelerators and title of the resource
// id are loaded, then OnCreate runs. Frame::OnCreate calls OnCreateClient, so a derived
// OnCreate calls Frame::OnCreate first and then creates its bars.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/document.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"

namespace ui {

class ControlBar;

class Frame : public Window {
 public:
  Frame();
  ~Frame() override;

  // Creates the frame as a top-level window (see the head of this file). The context is kept
  // for OnCreateClient; it may be null. Returns false when OnCreate failed.
  bool LoadFrame(std::uint32_t resourceId, CreateContext* context = nullptr);
  // The same as a child of parent (null: top-level), not shown (DockFrame).
  bool LoadFrameIn(Window* parent, std::uint32_t resourceId, CreateContext* context);
  int OnCreate() override;
  // Builds the client area. The default creates context->makeView's view, if any, with id
  // AFX_IDW_PANE_FIRST. Return false to make the creation fail.
  virtual bool OnCreateClient(CreateContext* context);

  // Makes the frame own a window created for it (views, splitters made by OnCreateClient).
  // Owned windows are destroyed with the frame, in reverse order of adoption.
  template <class W>
  W* Adopt(std::unique_ptr<W> window) {
    W* raw = window.get();
    AdoptWindow(std::unique_ptr<Window>(std::move(window)));
    return raw;
  }

  // Active view: the view that receives commands after the frame.
  void SetActiveView(View* view);
  View* GetActiveView() const { return activeView_; }
  // The active view's document, or null without an active view.
  virtual Document* GetActiveDocument();
  // Makes the first view found under the client area active when none is, calls every view's
  // OnInitialUpdate and shows the frame with the show command (-1: the application's).
  void InitialUpdateFrame(Document* doc, int showCommand = -1);

  // Routing: the frame's own handlers, the active view (and its document), the application.
  bool OnCmdMsg(std::uint32_t id, CmdMode mode, CmdUI* cmdUI) override;
  bool OnNotifyMsg(std::uint32_t id, int code) override;
  // Translates accelerators of the frame's table into WM_COMMAND.
  bool PreTranslateMessage(Message& msg) override;

  // Menu bar. After changing the top level of GetMenu(), call DrawMenuBar.
  Menu* GetMenu() const { return menu_.get(); }
  void SetMenu(std::unique_ptr<Menu> menu);
  void DrawMenuBar();
  // Opens a popup of the menu bar as the user would (tests, keyboard): runs OnInitMenu and
  // OnInitMenuPopup for it. Returns the popup, or null.
  Menu* OpenMenuPopup(int index);
  // Menu opening hooks. The default OnInitMenuPopup runs the update handlers of the popup's
  // commands (enable, check, text); a derived handler calls it first.
  virtual void OnInitMenu(Menu* menu) { (void)menu; }
  virtual void OnInitMenuPopup(Menu* popup, int index, bool systemMenu);

  AcceleratorTable& Accelerators() { return accel_; }

  // Status bar (one text pane).
  void SetMessageText(std::string_view text);
  std::string GetMessageText() const;
  void ShowStatusBar(bool show);

  // Control bars. A bar is created with the frame as its parent; docking places it along the
  // top edge, in the row of the previous bar or in a new row.
  void DockControlBar(ControlBar* bar, bool newRow = false);
  void ShowControlBar(ControlBar* bar, bool show, bool delay = false);
  // Runs the update handlers of every bar's commands (called when the loop is idle).
  void UpdateControlBars();
  const std::vector<ControlBar*>& ControlBars() const { return bars_; }

  // Dropped files arrive as WM_DROPFILES (lParam: const std::vector<std::string>*), whose
  // default handling calls OnDropFiles. Only while DragAcceptFiles(true).
  void DragAcceptFiles(bool accept = true);
  bool AcceptsFiles() const { return acceptFiles_; }
  virtual void OnDropFiles(const std::vector<std::string>& paths) { (void)paths; }

  // Brings the frame to the front (and restores it when minimised).
  void ActivateFrame(int showCommand = -1);
  void RecalcLayout();

  // A main frame asks its document's SaveModified, then destroys itself and ends the loop.
  void OnClose() override;
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  // Platform internal.
  void RegisterControlBar(ControlBar* bar);
  void UnregisterControlBar(ControlBar* bar);

 protected:
  void OnChildCreated(Window* child) override;

 private:
  void AdoptWindow(std::unique_ptr<Window> window);
  std::unique_ptr<Menu> menu_;
  AcceleratorTable accel_;
  View* activeView_ = nullptr;
  CreateContext* createContext_ = nullptr;
  std::vector<ControlBar*> bars_;
  std::vector<std::unique_ptr<Window>> owned_;
  bool acceptFiles_ = false;
};

}  // namespace ui
