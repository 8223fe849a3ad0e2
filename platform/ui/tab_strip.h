#pragma once
// A tab strip window of its own (not a dialog control): text tabs over the strip's client
// area, whose display area below the tabs the owner fills with the windows the tabs choose.
// Tabs that do not fit one line go onto further lines, so every tab stays in reach. A tab
// chosen by the user calls OnSelChange; SetCurSel does not.
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/window.h"

namespace ui {

class TabStrip : public Window {
 public:
  TabStrip();
  ~TabStrip() override;

  // Inserts a tab before index (-1 appends); returns its index, -1 before the window exists.
  int InsertItem(int index, std::string_view text);
  int GetItemCount() const;
  std::string GetItemText(int index) const;
  // Selected tab, -1 when none.
  int GetCurSel() const;
  // Selects a tab without OnSelChange.
  void SetCurSel(int index);
  // Chooses a tab as the user's click does (OnSelChange follows). False for a tab that is not there.
  bool ClickTab(int index);
  // A tab's rectangle in client coordinates (empty for a tab that is not there).
  Rect GetItemRect(int index) const;
  // The area below the tabs, in client coordinates.
  Rect GetDisplayRect() const;
  // Several lines of tabs asked for (true). Tabs wrap onto further lines whenever one line is
  // too short, so the strip never hides a tab behind scroll arrows.
  void SetMultiLine(bool multiLine);

  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;

 protected:
  virtual void OnSelChange() {}

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
