// Frames that dock inside a host window or float on their own.
#include "platform/ui/dock_frame.h"

#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>

#include <algorithm>

#include "platform/ui/qt_internal.h"

namespace ui {

// Watches the host's widget and keeps the docked frame at the host's client size. Owned by
// the frame; Qt drops the filter when it is deleted.
struct DockFrame::Follower : QObject {
  Follower(DockFrame* frame, QWidget* host) : frame_(frame), host_(host) { host->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Resize && watched == host_) frame_->FitToHost();
    return false;
  }
  DockFrame* frame_;
  QPointer<QWidget> host_;
};

DockFrame::DockFrame() = default;

DockFrame::~DockFrame() { delete follower_; }

bool DockFrame::CreateDocked(Window* host, std::uint32_t resourceId, CreateContext* context) {
  QWidget* hostWidget = WidgetOf(host);
  if (!hostWidget || IsWindow()) return false;
  host_ = host;
  docked_ = true;
  if (!LoadFrameIn(host, resourceId, context)) return false;
  if (auto* mw = qobject_cast<QMainWindow*>(WidgetOf(this))) mw->setStatusBar(nullptr);
  follower_ = new Follower(this, hostWidget);
  FitToHost();
  ShowWindow(SW_SHOW);
  return true;
}

void DockFrame::FitToHost() {
  if (!docked_ || !host_ || !IsWindow()) return;
  const Rect r = host_->GetClientRect();
  MoveWindow(Rect{0, 0, r.Width(), r.Height()});
}

void DockFrame::Dock() {
  QWidget* w = WidgetOf(this);
  QWidget* hostWidget = WidgetOf(host_);
  if (!w || !hostWidget) return;
  w->setParent(hostWidget, Qt::Widget);
  impl()->parent = host_;
  docked_ = true;
  FitToHost();
  w->show();
}

void DockFrame::Float() {
  QWidget* w = WidgetOf(this);
  if (!w) return;
  const Rect r = host_ ? host_->GetClientRect() : Rect{};
  w->setParent(nullptr, Qt::Window);
  w->setWindowFlag(Qt::WindowCloseButtonHint, closeEnabled_);
  impl()->parent = nullptr;
  docked_ = false;
  w->setGeometry(0, 0, std::max(r.Width(), 100), std::max(r.Height(), 100));
  w->show();
  w->update();
}

void DockFrame::SetCloseEnabled(bool enable) {
  closeEnabled_ = enable;
  QWidget* w = WidgetOf(this);
  if (w && !docked_) {
    w->setWindowFlag(Qt::WindowCloseButtonHint, enable);
    w->show();
  }
}

void DockFrame::OnClose() {
  if (closeEnabled_ && !docked_) ShowWindow(SW_HIDE);
}

bool DockFrame::PreTranslateMessage(Message& msg) {
  if (Frame::PreTranslateMessage(msg)) return true;
  // Floating, the frame is the top of its own chain: the host's top level still gets the keys.
  if (docked_ || !host_ || !host_->IsWindow()) return false;
  if (msg.message < WM_KEYDOWN || msg.message > 0x0108) return false;
  Window* top = host_->GetTopLevel();
  return top && top != this && top->PreTranslateMessage(msg);
}

}  // namespace ui
