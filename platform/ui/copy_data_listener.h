#pragma once
// Receives the copy-data messages that other processes of the same user send to this program
// (platform/system/copy_data_channel.h) and hands each to a window as WM_COPYDATA, from the
// message loop. The sender waits until the window's handler has returned and gets its result.
// Messages that arrive while a handler runs wait for it.
#include <memory>
#include <string>

namespace ui {

class Window;

class CopyDataListener {
 public:
  CopyDataListener();
  ~CopyDataListener();
  CopyDataListener(const CopyDataListener&) = delete;
  CopyDataListener& operator=(const CopyDataListener&) = delete;

  // Listens on the socket path for the target window. False, with the cause, when the path is
  // taken by a program that answers there or the socket cannot be made; a stale socket file
  // left by a program that ended is replaced.
  bool Listen(Window* target, const std::string& socketPath, std::string* error = nullptr);
  // Stops listening and removes the socket file.
  void Close();
  bool IsListening() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
