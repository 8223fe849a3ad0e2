#pragma once
// Command targets: objects that handle numbered commands (menu items, tool-bar buttons,
// accelerators, dialog-bar controls) and keep them enabled, checked and labelled through
// update handlers.
//
// Routing (Frame::OnCmdMsg): the frame's own handlers, then the active view's, then the
// active document's, then the application's. Within one target the first handler registered
// for an id wins, as in a message map read from the top.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ui {

// What an update handler sets for one command. A command whose update handler does not touch
// the enable state stays enabled; a command with no handler at all on the route is disabled.
class CmdUI {
 public:
  explicit CmdUI(std::uint32_t id) : id_(id) {}
  std::uint32_t Id() const { return id_; }

  void Enable(bool on = true) { enabled_ = on; }
  void SetCheck(int check = 1) { checked_ = check; }  // 0 off, 1 on, 2 indeterminate
  void SetRadio(bool on = true) { checked_ = on ? 1 : 0; }
  void SetText(std::string_view text) { text_ = std::string(text); hasText_ = true; }

  bool IsEnabled() const { return enabled_; }
  int Checked() const { return checked_; }          // -1 when not set by the handler
  bool HasText() const { return hasText_; }
  const std::string& Text() const { return text_; }

 private:
  std::uint32_t id_;
  bool enabled_ = true;
  int checked_ = -1;
  bool hasText_ = false;
  std::string text_;
};

// How a command is offered to a target.
enum class CmdMode {
  Execute,  // run the command handler
  Update,   // run the update handler (CmdUI given)
  Probe,    // only ask whether a command handler exists
};

class CommandTarget {
 public:
  CommandTarget();
  virtual ~CommandTarget();
  CommandTarget(const CommandTarget&) = delete;
  CommandTarget& operator=(const CommandTarget&) = delete;

  // Message-map entries. A later entry for an id already mapped is never reached.
  void MapCommand(std::uint32_t id, std::function<void()> handler);
  void MapCommandRange(std::uint32_t first, std::uint32_t last, std::function<void(std::uint32_t id)> handler);
  void MapUpdate(std::uint32_t id, std::function<void(CmdUI&)> handler);
  void MapUpdateRange(std::uint32_t first, std::uint32_t last, std::function<void(CmdUI&)> handler);

  // Control notifications other than clicks (CBN_SELCHANGE, EN_CHANGE, LVN_ITEMCHANGED...)
  // from a control with that id, as the notification-code entries of a message map.
  void MapNotify(std::uint32_t id, int code, std::function<void()> handler);

  // Offers the command to this target and the targets it routes to. Returns true when a
  // handler of the asked kind was found (and run, for Execute and Update).
  virtual bool OnCmdMsg(std::uint32_t id, CmdMode mode, CmdUI* cmdUI);
  // Offers a control notification along the same route; true when a handler ran.
  virtual bool OnNotifyMsg(std::uint32_t id, int code);

 protected:
  // Only this target's own entries.
  bool DispatchOwn(std::uint32_t id, CmdMode mode, CmdUI* cmdUI);
  bool DispatchOwnNotify(std::uint32_t id, int code);

 private:
  struct Map;
  std::unique_ptr<Map> map_;
};

// Runs a command through a target's route. Returns true when it was handled.
bool ExecuteCommand(CommandTarget& target, std::uint32_t id);
// Asks the route for the state of a command: runs the update handler when one exists; with
// none, the command is enabled exactly when a command handler exists.
CmdUI QueryCommandState(CommandTarget& target, std::uint32_t id);

}  // namespace ui
