// Wrapping layouts of bars and of template rows marked "wrap".
#include "platform/ui/flow_layout.h"

#include <QWidget>

#include <algorithm>

namespace ui {

FlowLayout::FlowLayout(QWidget* parent, int hSpacing, int vSpacing)
    : QLayout(parent), hSpacing_(hSpacing), vSpacing_(vSpacing) {
  setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
  items_.push_back({item, breakNext_});
  breakNext_ = false;
  invalidate();
}

void FlowLayout::AddLayout(QLayout* layout) {
  addChildLayout(layout);
  addItem(layout);
}

int FlowLayout::count() const { return static_cast<int>(items_.size()); }

QLayoutItem* FlowLayout::itemAt(int index) const {
  return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)].item : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
  if (index < 0 || index >= count()) return nullptr;
  QLayoutItem* item = items_[static_cast<std::size_t>(index)].item;
  items_.erase(items_.begin() + index);
  invalidate();
  return item;
}

int FlowLayout::heightForWidth(int width) const { return DoLayout(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const {
  // As narrow as the widest item allows; as high as that width needs.
  int width = 0;
  for (const Entry& e : items_)
    if (!e.item->isEmpty()) width = std::max(width, e.item->minimumSize().width());
  const QMargins m = contentsMargins();
  width += m.left() + m.right();
  return QSize(width, heightForWidth(width));
}

QSize FlowLayout::sizeHint() const {
  // Every item on one line, except where a line is asked to break.
  int width = 0;
  int line = 0;
  bool first = true;
  for (const Entry& e : items_) {
    if (e.item->isEmpty()) continue;
    if (e.breakBefore) line = 0;
    else if (!first && line > 0) line += hSpacing_;
    line += e.item->sizeHint().width();
    width = std::max(width, line);
    first = false;
  }
  const QMargins m = contentsMargins();
  width += m.left() + m.right();
  return QSize(width, heightForWidth(width));
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  DoLayout(rect, true);
}

int FlowLayout::DoLayout(const QRect& rect, bool apply) const {
  const QRect room = rect.marginsRemoved(contentsMargins());
  const int right = room.x() + std::max(room.width(), 1);
  struct Placed {
    QLayoutItem* item;
    QRect r;
  };
  std::vector<Placed> line;
  int x = room.x();
  int y = room.y();
  int lineHeight = 0;
  auto flush = [&]() {
    // Items of a line share its height: each is centred across it.
    if (apply)
      for (const Placed& p : line) {
        QRect r = p.r;
        r.moveTop(y + (lineHeight - r.height()) / 2);
        p.item->setGeometry(r);
      }
    line.clear();
  };
  for (const Entry& e : items_) {
    if (e.item->isEmpty()) continue;
    const int want = std::max(e.item->sizeHint().width(), e.item->minimumSize().width());
    if (!line.empty() && (e.breakBefore || x + want > right)) {
      flush();
      y += lineHeight + vSpacing_;
      x = room.x();
      lineHeight = 0;
    }
    const int width = std::max(std::min(want, right - x), e.item->minimumSize().width());
    const int height = e.item->hasHeightForWidth() ? e.item->heightForWidth(width) : e.item->sizeHint().height();
    line.push_back({e.item, QRect(x, y, width, height)});
    lineHeight = std::max(lineHeight, height);
    x += width + hSpacing_;
  }
  flush();
  const QMargins m = contentsMargins();
  return y + lineHeight - rect.y() + m.bottom();
}

RuleLayout::RuleLayout(QWidget* parent) : QLayout(parent) { setContentsMargins(0, 0, 0, 0); }

RuleLayout::~RuleLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void RuleLayout::SetRule(Rule rule) {
  rule_ = std::move(rule);
  invalidate();
}

void RuleLayout::addItem(QLayoutItem* item) {
  items_.append(item);
  invalidate();
}

int RuleLayout::count() const { return static_cast<int>(items_.size()); }

QLayoutItem* RuleLayout::itemAt(int index) const { return index >= 0 && index < items_.size() ? items_[index] : nullptr; }

QLayoutItem* RuleLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  invalidate();
  return items_.takeAt(index);
}

int RuleLayout::heightForWidth(int width) const {
  const QMargins m = contentsMargins();
  if (!rule_) return sizeHint().height();
  return rule_(std::max(width - m.left() - m.right(), 1), nullptr).height() + m.top() + m.bottom();
}

QSize RuleLayout::minimumSize() const {
  const QMargins m = contentsMargins();
  if (!rule_) return QSize(m.left() + m.right(), m.top() + m.bottom());
  // One item a row is the narrowest the rule can go.
  const QSize least = rule_(1, nullptr);
  return QSize(least.width() + m.left() + m.right(), least.height() + m.top() + m.bottom());
}

QSize RuleLayout::sizeHint() const {
  const QMargins m = contentsMargins();
  if (!rule_) return QSize(m.left() + m.right(), m.top() + m.bottom());
  const QSize one = rule_(32767, nullptr);
  return QSize(one.width() + m.left() + m.right(), one.height() + m.top() + m.bottom());
}

void RuleLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  if (!rule_) return;
  const QRect room = rect.marginsRemoved(contentsMargins());
  std::vector<QRect> places;
  rule_(std::max(room.width(), 1), &places);
  for (int i = 0; i < items_.size(); ++i) {
    QLayoutItem* item = items_[i];
    const QRect r = static_cast<std::size_t>(i) < places.size() ? places[static_cast<std::size_t>(i)] : QRect();
    item->setGeometry(r.isEmpty() ? QRect(room.topLeft(), QSize(0, 0)) : r.translated(room.topLeft()));
  }
}

}  // namespace ui
