#include "platform/system/key_state.h"

#include <QGuiApplication>

#include <atomic>

namespace sys {
namespace {
// Per key: 0 no override, 1 up, 2 down.
std::atomic<int> gOverride[3] = {0, 0, 0};

int Slot(VirtualKey key) { return static_cast<int>(key) - static_cast<int>(VirtualKey::Shift); }
}  // namespace

bool IsKeyDown(VirtualKey key) {
  const int slot = Slot(key);
  if (slot < 0 || slot > 2) return false;
  const int o = gOverride[slot].load();
  if (o != 0) return o == 2;
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return false;
  const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  switch (key) {
    case VirtualKey::Shift: return m.testFlag(Qt::ShiftModifier);
    case VirtualKey::Control: return m.testFlag(Qt::ControlModifier);
    case VirtualKey::Menu: return m.testFlag(Qt::AltModifier);
  }
  return false;
}

void SetKeyStateForTesting(VirtualKey key, bool down) {
  const int slot = Slot(key);
  if (slot >= 0 && slot <= 2) gOverride[slot].store(down ? 2 : 1);
}

void ClearKeyStateForTesting() {
  for (auto& o : gOverride) o.store(0);
}

}  // namespace sys
