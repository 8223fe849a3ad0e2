#pragma once
// Internal to the platform layer (Qt types allowed): the Qt side of windows, the message
// queue and the event translation. Included only by platform .cpp files.
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/draw/image.h"
#include "platform/ui/window.h"

class QTimer;
class QKeyEvent;

namespace ui {

struct Window::Impl {
  Window* self = nullptr;
  WindowKind kind = WindowKind::Plain;
  QPointer<QWidget> widget;
  Window* parent = nullptr;
  int id = 0;
  bool destroying = false;
  std::map<std::uint32_t, std::unique_ptr<QTimer>> timers;
  // What ClientDc drew, shown under OnPaint's drawing.
  std::unique_ptr<draw::Image> surface;
};

// Whether a window object exists (constructed and not yet destroyed): controls whose widgets
// outlive their window (deleted later) check it before they send to it.
bool IsLiveWindow(const Window* w);

// Widget of a Window, found through the "qlmWindow" property on it or its ancestors.
Window* WindowOfWidget(const QWidget* w);
// The QWidget of a window (null before Create).
QWidget* WidgetOf(const Window* w);
// Control id of a dialog control widget ("qlmCtrlId" property), 0 when none.
int ControlIdOfWidget(const QWidget* w);

// Offers a queued message to the pre-translation chain and, when nobody consumed it, to the
// target's WindowProc. Returns the WindowProc result (0 when consumed).
std::intptr_t DispatchQueued(Message& msg);
// Runs only the pre-translation chain; true when a window consumed the message.
bool PreTranslateChain(Message& msg);

// Virtual key of a Qt key event (VK_*), 0 when it has none.
std::uint32_t VirtualKeyOf(const QKeyEvent* e);
// MK_* flags of the current keyboard modifiers and mouse buttons.
std::uint32_t MouseKeyFlags(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);

// Qt string from UTF-8 and back.
QString Q(std::string_view s);
std::string U(const QString& s);

// Creates the widget of a kind under a parent widget (platform/ui/window.cpp).
QWidget* MakeWidget(Window* owner, WindowKind kind, QWidget* parent);

// Makes a top-level widget no larger than the screen's work area (but never smaller than its
// layout allows) and moves it inside; centre puts it over its parent (or the screen) first.
void FitIntoWorkArea(QWidget* w, bool centre);

// True when modal loops must not run (offscreen platform, tests).
bool ScriptedUi();

}  // namespace ui
