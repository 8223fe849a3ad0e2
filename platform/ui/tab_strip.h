#pragma once
// A tab strip window of its own (not a dialog control): a row of text tabs over the strip's
// client area, whose display area below the tabs the owner fills with the windows the tabs
// choose. A tab chosen by the user calls OnSelChange; SetCurSel does not.
//
// Looks: text tabs, or a row of push buttons of which the chosen one stays pressed
// (SetButtonStyle). Tabs that do not fit one line go onto further lines, so every tab stays in
// reach; SetMultiLine records that several lines are asked for. Both switches may be set
// before or after creation.
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
  // Several lines of tabs (true) or one line with scroll arrows.
  void SetMultiLine(bool multiLine);
  bool IsMultiLine() const;
  // Push buttons in place of tabs.
  void SetButtonStyle(bool buttons);
  bool IsButtonStyle() const;
  // Lines of tabs at the strip's present width (1 for a single line).
  int GetRowCount() const;
  // The tab texts in the desktop's menu font, with this character height in pixels (0: the
  // menu font as it is).
  void SetFontHeight(int pixels);
  int GetFontHeight() const;

  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;

 protected:
  virtual void OnSelChange() {}

 private:
  void Rebuild();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
