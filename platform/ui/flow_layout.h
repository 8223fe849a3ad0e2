#pragma once
// Internal to the platform layer (Qt types allowed): layouts that wrap their items into
// further lines when the room is narrower than one line needs.
#include <QLayout>
#include <QList>

#include <functional>
#include <vector>

namespace ui {

// Items side by side, wrapped onto a new line where the next one does not fit; an item may
// also start a line of its own. An item narrower room than its preferred width gets the
// room's width (and its height for that width, so an item that wraps itself grows down).
class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr, int hSpacing = 4, int vSpacing = 2);
  ~FlowLayout() override;

  void addItem(QLayoutItem* item) override;
  // Adds a nested layout as one item that never wraps inside.
  void AddLayout(QLayout* layout);
  // The item added next starts a new line.
  void BreakBeforeNext() { breakNext_ = true; }
  int count() const override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  int DoLayout(const QRect& rect, bool apply) const;
  struct Entry {
    QLayoutItem* item;
    bool breakBefore;
  };
  std::vector<Entry> items_;
  int hSpacing_;
  int vSpacing_;
  bool breakNext_ = false;
};

// Buttons placed where the owner's layout rule puts them for a given bar length: rule(length,
// places) returns the bar's size and one rectangle per item (an empty one hides the item).
class RuleLayout : public QLayout {
 public:
  using Rule = std::function<QSize(int length, std::vector<QRect>* places)>;
  explicit RuleLayout(QWidget* parent = nullptr);
  ~RuleLayout() override;
  void SetRule(Rule rule);
  bool HasRule() const { return static_cast<bool>(rule_); }

  void addItem(QLayoutItem* item) override;
  int count() const override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  QList<QLayoutItem*> items_;
  Rule rule_;
};

}  // namespace ui
