// The tab strip: tabs drawn in the style's look, wrapped into as many lines as the strip's
// width needs, so that every tab stays in reach however narrow the strip is.
#include "platform/ui/tab_strip.h"

#include <QMouseEvent>
#include <QPointer>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/ui/qt_internal.h"

namespace ui {
namespace {

class TabRows : public QWidget {
 public:
  explicit TabRows(QWidget* parent) : QWidget(parent) {}

  QStringList texts;
  int current = -1;
  std::function<void(int)> onChosen;

  int TabHeight() const { return fontMetrics().height() + 10; }
  int TabWidth(int i) const { return fontMetrics().horizontalAdvance(texts[i]) + 24; }

  // Rectangles of the tabs for the strip's width: a line is filled from the left and the
  // next tab goes to a new line when it does not fit.
  std::vector<QRect> Places(int width) const {
    std::vector<QRect> rects;
    int x = 0;
    int y = 0;
    const int h = TabHeight();
    for (int i = 0; i < texts.size(); ++i) {
      const int w = TabWidth(i);
      if (x > 0 && x + w > width) {
        x = 0;
        y += h;
      }
      rects.emplace_back(x, y, w, h);
      x += w;
    }
    return rects;
  }
  int HeightFor(int width) const {
    const std::vector<QRect> rects = Places(width);
    return rects.empty() ? TabHeight() : rects.back().bottom() + 1;
  }
  QSize sizeHint() const override {
    int w = 0;
    for (int i = 0; i < texts.size(); ++i) w += TabWidth(i);
    return QSize(w, TabHeight());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter p(this);
    const std::vector<QRect> rects = Places(width());
    for (int i = 0; i < static_cast<int>(rects.size()); ++i) {
      QStyleOptionTab opt;
      opt.initFrom(this);
      opt.shape = QTabBar::RoundedNorth;
      opt.rect = rects[static_cast<std::size_t>(i)];
      opt.text = texts[i];
      opt.position = QStyleOptionTab::Middle;
      if (i == current) opt.state |= QStyle::State_Selected;
      else opt.state &= ~QStyle::State_Selected;
      p.drawControl(QStyle::CE_TabBarTab, opt);
    }
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    const std::vector<QRect> rects = Places(width());
    for (int i = 0; i < static_cast<int>(rects.size()); ++i)
      if (rects[static_cast<std::size_t>(i)].contains(e->position().toPoint())) {
        if (onChosen) onChosen(i);
        return;
      }
  }
};

}  // namespace

struct TabStrip::Impl {
  QPointer<TabRows> rows;
  bool multiLine = false;
  void Place(int width) {
    if (rows) rows->setGeometry(0, 0, width, rows->HeightFor(width));
  }
};

TabStrip::TabStrip() : impl_(std::make_unique<Impl>()) {}

TabStrip::~TabStrip() = default;

int TabStrip::OnCreate() {
  QWidget* host = WidgetOf(this);
  if (host == nullptr) return -1;
  auto* rows = new TabRows(host);
  impl_->rows = rows;
  rows->onChosen = [this](int i) {
    if (!impl_->rows) return;
    impl_->rows->current = i;
    impl_->rows->update();
    OnSelChange();
  };
  rows->show();
  return 0;
}

void TabStrip::OnSize(std::uint32_t, int cx, int) { impl_->Place(cx); }

int TabStrip::InsertItem(int index, std::string_view text) {
  TabRows* rows = impl_->rows;
  if (!rows) return -1;
  const int at = index < 0 || index > rows->texts.size() ? static_cast<int>(rows->texts.size()) : index;
  rows->texts.insert(at, Q(text));
  if (rows->current >= at) ++rows->current;
  if (rows->current < 0) rows->current = 0;
  impl_->Place(GetClientRect().Width());
  rows->update();
  return at;
}

int TabStrip::GetItemCount() const { return impl_->rows ? static_cast<int>(impl_->rows->texts.size()) : 0; }

std::string TabStrip::GetItemText(int index) const {
  return index >= 0 && index < GetItemCount() ? U(impl_->rows->texts[index]) : std::string{};
}

int TabStrip::GetCurSel() const { return impl_->rows ? impl_->rows->current : -1; }

void TabStrip::SetCurSel(int index) {
  if (index < 0 || index >= GetItemCount()) return;
  impl_->rows->current = index;
  impl_->rows->update();
}

bool TabStrip::ClickTab(int index) {
  if (index < 0 || index >= GetItemCount()) return false;
  impl_->rows->onChosen(index);
  return true;
}

Rect TabStrip::GetItemRect(int index) const {
  if (index < 0 || index >= GetItemCount()) return {};
  const QRect r = impl_->rows->Places(impl_->rows->width())[static_cast<std::size_t>(index)];
  return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect TabStrip::GetDisplayRect() const {
  Rect r = GetClientRect();
  if (impl_->rows) r.top += impl_->rows->HeightFor(r.Width());
  return r;
}

void TabStrip::SetMultiLine(bool multiLine) { impl_->multiLine = multiLine; }

}  // namespace ui
