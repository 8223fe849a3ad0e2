#include "platform/ui/tab_strip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionTab>
#include <QTabBar>

#include <functional>
#include <vector>

#include "platform/ui/qt_internal.h"

namespace ui {
namespace {

// Tabs on several lines, or push buttons: laid out and painted here, as the toolkit's tab
// bar has neither.
class TabRows : public QWidget {
 public:
  explicit TabRows(QWidget* parent) : QWidget(parent) {}
  QStringList texts;
  int current = -1;
  bool buttons = false;
  bool multiLine = false;
  std::function<void(int)> chosen;

  // Places the tabs for a width; returns the height they take.
  int Layout(int width) {
    rects_.clear();
    const QFontMetrics fm(font());
    const int h = fm.height() + (buttons ? 8 : 10);
    int x = 0;
    int y = 0;
    rows_ = texts.isEmpty() ? 0 : 1;
    for (const QString& t : texts) {
      const int w = fm.horizontalAdvance(t) + (buttons ? 16 : 30);
      // A line that is too short always wraps, so that no tab is ever out of reach.
      if (x > 0 && x + w > width) {
        x = 0;
        y += h;
        ++rows_;
      }
      rects_.push_back(QRect(x, y, w, h));
      x += w;
    }
    return rows_ == 0 ? h : rows_ * h + (buttons ? 2 : 0);
  }
  int Rows() const { return std::max(rows_, 1); }
  QRect Place(int i) const { return i >= 0 && i < static_cast<int>(rects_.size()) ? rects_[static_cast<std::size_t>(i)] : QRect(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    for (int i = 0; i < static_cast<int>(rects_.size()) && i < texts.size(); ++i) {
      if (buttons) {
        QStyleOptionButton o;
        o.initFrom(this);
        o.rect = rects_[static_cast<std::size_t>(i)];
        o.text = texts[i];
        o.state |= i == current ? (QStyle::State_Sunken | QStyle::State_On) : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButton, &o, &p, this);
      } else {
        QStyleOptionTab o;
        o.initFrom(this);
        o.rect = rects_[static_cast<std::size_t>(i)];
        o.text = texts[i];
        o.shape = QTabBar::RoundedNorth;
        if (i == current) o.state |= QStyle::State_Selected;
        style()->drawControl(QStyle::CE_TabBarTab, &o, &p, this);
      }
    }
  }
  void mousePressEvent(QMouseEvent* e) override {
    for (int i = 0; i < static_cast<int>(rects_.size()); ++i)
      if (rects_[static_cast<std::size_t>(i)].contains(e->position().toPoint())) {
        if (chosen) chosen(i);
        return;
      }
  }

 private:
  std::vector<QRect> rects_;
  int rows_ = 0;
};

}  // namespace

struct TabStrip::Impl {
  QPointer<QTabBar> bar;
  QPointer<TabRows> rows;
  QStringList texts;
  int current = -1;
  bool multiLine = false;
  bool buttons = false;
  int fontHeight = 0;
  int tabsHeight = 0;
};

TabStrip::TabStrip() : impl_(std::make_unique<Impl>()) {}

TabStrip::~TabStrip() = default;

int TabStrip::OnCreate() {
  if (WidgetOf(this) == nullptr) return -1;
  Rebuild();
  return 0;
}

// Makes the widget of the present look and puts the tabs into it.
void TabStrip::Rebuild() {
  QWidget* host = WidgetOf(this);
  if (host == nullptr) return;
  delete impl_->bar.data();
  delete impl_->rows.data();
  QFont font = QApplication::font("QMenu");
  if (impl_->fontHeight > 0) font.setPixelSize(impl_->fontHeight);
  {
    auto* rows = new TabRows(host);
    rows->setFont(font);
    rows->texts = impl_->texts;
    rows->current = impl_->current;
    rows->buttons = impl_->buttons;
    rows->multiLine = impl_->multiLine;
    rows->chosen = [this](int i) {
      impl_->current = i;
      if (impl_->rows) {
        impl_->rows->current = i;
        impl_->rows->update();
      }
      OnSelChange();
    };
    impl_->rows = rows;
    rows->show();
  }
  const Rect r = GetClientRect();
  OnSize(0, r.Width(), r.Height());
}

void TabStrip::OnSize(std::uint32_t, int cx, int) {
  if (impl_->bar) {
    impl_->tabsHeight = impl_->bar->sizeHint().height();
    impl_->bar->setGeometry(0, 0, cx, impl_->tabsHeight);
  } else if (impl_->rows) {
    impl_->tabsHeight = impl_->rows->Layout(cx);
    impl_->rows->setGeometry(0, 0, cx, impl_->tabsHeight);
    impl_->rows->update();
  }
}

int TabStrip::InsertItem(int index, std::string_view text) {
  if (!IsWindow()) return -1;
  const int at = index < 0 || index > impl_->texts.size() ? static_cast<int>(impl_->texts.size()) : index;
  impl_->texts.insert(at, Q(text));
  if (impl_->bar) {
    const QSignalBlocker quiet(impl_->bar.data());
    impl_->bar->insertTab(at, Q(text));
    impl_->current = impl_->bar->currentIndex();
  } else {
    if (impl_->current >= at) ++impl_->current;
    if (impl_->current < 0) impl_->current = 0;
    if (impl_->rows) {
      impl_->rows->texts = impl_->texts;
      impl_->rows->current = impl_->current;
    }
  }
  const Rect r = GetClientRect();
  OnSize(0, r.Width(), r.Height());
  return at;
}

int TabStrip::GetItemCount() const { return static_cast<int>(impl_->texts.size()); }

std::string TabStrip::GetItemText(int index) const {
  return index >= 0 && index < impl_->texts.size() ? U(impl_->texts[index]) : std::string{};
}

int TabStrip::GetCurSel() const { return IsWindow() ? impl_->current : -1; }

void TabStrip::SetCurSel(int index) {
  if (!IsWindow() || index < 0 || index >= impl_->texts.size()) return;
  impl_->current = index;
  if (impl_->bar) {
    const QSignalBlocker quiet(impl_->bar.data());
    impl_->bar->setCurrentIndex(index);
  } else if (impl_->rows) {
    impl_->rows->current = index;
    impl_->rows->update();
  }
}

bool TabStrip::ClickTab(int index) {
  if (!IsWindow() || index < 0 || index >= impl_->texts.size()) return false;
  if (impl_->bar && impl_->bar->currentIndex() != index) {
    impl_->bar->setCurrentIndex(index);  // OnSelChange through the bar's signal
    return true;
  }
  impl_->current = index;
  if (impl_->rows) {
    impl_->rows->current = index;
    impl_->rows->update();
  }
  OnSelChange();
  return true;
}

Rect TabStrip::GetItemRect(int index) const {
  if (!impl_->rows) return Rect{};
  const QRect q = impl_->rows->Place(index);
  if (q.isNull()) return Rect{};
  return Rect{q.left(), q.top(), q.left() + q.width(), q.top() + q.height()};
}

Rect TabStrip::GetDisplayRect() const {
  Rect r = GetClientRect();
  r.top += impl_->tabsHeight;
  if (r.top > r.bottom) r.top = r.bottom;
  return r;
}

void TabStrip::SetMultiLine(bool multiLine) {
  if (impl_->multiLine == multiLine) return;
  impl_->multiLine = multiLine;
  Rebuild();
}

bool TabStrip::IsMultiLine() const { return impl_->multiLine; }

void TabStrip::SetButtonStyle(bool buttons) {
  if (impl_->buttons == buttons) return;
  impl_->buttons = buttons;
  Rebuild();
}

bool TabStrip::IsButtonStyle() const { return impl_->buttons; }

int TabStrip::GetRowCount() const { return impl_->rows ? impl_->rows->Rows() : 1; }

void TabStrip::SetFontHeight(int pixels) {
  impl_->fontHeight = pixels;
  QFont font = QApplication::font("QMenu");
  if (pixels > 0) font.setPixelSize(pixels);
  if (impl_->bar) impl_->bar->setFont(font);
  if (impl_->rows) impl_->rows->setFont(font);
  const Rect r = GetClientRect();
  OnSize(0, r.Width(), r.Height());
}

int TabStrip::GetFontHeight() const { return impl_->fontHeight; }

}  // namespace ui
