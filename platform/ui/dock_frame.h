#pragma once
// A frame window that lives inside a host window (docked: a child filling the host's client
// area and following its size) or on its own (floating: a top-level window with a title bar).
// It keeps its menu bar, accelerators and client panes in both states; the host never changes.
//
// While floating the frame's close button does nothing unless SetCloseEnabled(true), and keys
// that its own windows leave unhandled are offered to the host's top-level window (the main
// frame), as they are while docked.
#include <cstdint>

#include "platform/ui/frame.h"

namespace ui {

class DockFrame : public Frame {
 public:
  DockFrame();
  ~DockFrame() override;

  // Creates the frame docked in host, with the menu, accelerators and title of resourceId
  // (0: none) and no status bar; OnCreate and OnCreateClient run as for LoadFrame. False when
  // host has no window or the creation failed.
  bool CreateDocked(Window* host, std::uint32_t resourceId, CreateContext* context = nullptr);

  // Makes the frame a child of the host at (0, 0) with the host's client size.
  void Dock();
  // Makes the frame a top-level window at (0, 0) of the screen with the host's client size
  // (at least 100 x 100), shown.
  void Float();
  bool IsDocked() const { return docked_; }
  Window* Host() const { return host_; }

  // Whether the floating frame's close button closes it (default: no).
  void SetCloseEnabled(bool enable);
  bool IsCloseEnabled() const { return closeEnabled_; }

  void OnClose() override;
  bool PreTranslateMessage(Message& msg) override;

  // Platform internal: the docked frame follows the host's size.
  void FitToHost();

 private:
  Window* host_ = nullptr;
  bool docked_ = true;
  bool closeEnabled_ = false;
  struct Follower;
  Follower* follower_ = nullptr;  // owned
};

}  // namespace ui
