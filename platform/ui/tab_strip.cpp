#include "platform/ui/tab_strip.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QTabBar>

#include "platform/ui/qt_internal.h"

namespace ui {

struct TabStrip::Impl {
  QPointer<QTabBar> bar;
  bool multiLine = false;
};

TabStrip::TabStrip() : impl_(std::make_unique<Impl>()) {}

TabStrip::~TabStrip() = default;

int TabStrip::OnCreate() {
  QWidget* host = WidgetOf(this);
  if (host == nullptr) return -1;
  auto* bar = new QTabBar(host);
  bar->setExpanding(false);
  bar->setUsesScrollButtons(!impl_->multiLine);
  impl_->bar = bar;
  QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int) { OnSelChange(); });
  bar->show();
  return 0;
}

void TabStrip::OnSize(std::uint32_t, int cx, int) {
  if (impl_->bar) impl_->bar->setGeometry(0, 0, cx, impl_->bar->sizeHint().height());
}

int TabStrip::InsertItem(int index, std::string_view text) {
  if (!impl_->bar) return -1;
  const QSignalBlocker quiet(impl_->bar.data());
  const int at = impl_->bar->insertTab(index < 0 ? impl_->bar->count() : index, Q(text));
  const Rect r = GetClientRect();
  impl_->bar->setGeometry(0, 0, r.Width(), impl_->bar->sizeHint().height());
  return at;
}

int TabStrip::GetItemCount() const { return impl_->bar ? impl_->bar->count() : 0; }

std::string TabStrip::GetItemText(int index) const {
  return impl_->bar && index >= 0 && index < impl_->bar->count() ? U(impl_->bar->tabText(index)) : std::string{};
}

int TabStrip::GetCurSel() const { return impl_->bar ? impl_->bar->currentIndex() : -1; }

void TabStrip::SetCurSel(int index) {
  if (!impl_->bar || index < 0 || index >= impl_->bar->count()) return;
  const QSignalBlocker quiet(impl_->bar.data());
  impl_->bar->setCurrentIndex(index);
}

bool TabStrip::ClickTab(int index) {
  if (!impl_->bar || index < 0 || index >= impl_->bar->count()) return false;
  if (impl_->bar->currentIndex() == index) {
    OnSelChange();
  } else {
    impl_->bar->setCurrentIndex(index);
  }
  return true;
}

Rect TabStrip::GetDisplayRect() const {
  Rect r = GetClientRect();
  if (impl_->bar) r.top += impl_->bar->sizeHint().height();
  return r;
}

void TabStrip::SetMultiLine(bool multiLine) {
  impl_->multiLine = multiLine;
  if (impl_->bar) impl_->bar->setUsesScrollButtons(!multiLine);
}

}  // namespace ui
