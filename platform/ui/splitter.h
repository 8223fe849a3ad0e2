#pragma once
// Static splitters: a fixed grid of rows x columns of panes separated by draggable bars.
// Each row (column) but the last has an ideal size; RecalcLayout gives every row its ideal
// size as far as room remains (an ideal below the row's minimum counts as 0, a hidden row),
// and the last row the rest. Splitters nest: a splitter created with a pane id of another
// splitter as its id (IdFromRowCol) becomes that pane.
#include <memory>

#include "platform/ui/document.h"
#include "platform/ui/window.h"

namespace ui {

class Splitter : public Window {
 public:
  Splitter();
  ~Splitter() override;

  // Creates the grid as a child of parent. In a parent splitter, id is the pane id.
  bool CreateStatic(Window* parent, int rows, int cols, int id = AFX_IDW_PANE_FIRST, bool visible = true);
  // Creates a view in a pane with the pane's id and the initial size as that row's and
  // column's ideal size. The splitter owns the view.
  bool CreateView(int row, int col, std::unique_ptr<View> view, Size initial, const CreateContext* context);
  // Puts any window in a pane (created here with the pane id when not yet created).
  bool CreatePane(int row, int col, std::unique_ptr<Window> pane, Size initial);

  int GetRowCount() const;
  int GetColumnCount() const;
  Window* GetPane(int row, int col) const;
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }

  void SetRowInfo(int row, int idealHeight, int minHeight);
  void SetColumnInfo(int col, int idealWidth, int minWidth);
  // Current (laid-out) size and minimum of a row or column.
  void GetRowInfo(int row, int& currentHeight, int& minHeight) const;
  void GetColumnInfo(int col, int& currentWidth, int& minWidth) const;
  int GetRowIdeal(int row) const;
  int GetColumnIdeal(int col) const;

  // Width of the bars between panes in pixels (default 7).
  void SetBarWidth(int px);
  int GetBarWidth() const;

  // Places the panes from the ideal sizes.
  void RecalcLayout();

  // Called after the user has moved a bar (the new position is already laid out).
  virtual void OnBarMoved(bool rowBar, int index) { (void)rowBar; (void)index; }

  // Moves a bar as a drag by the user would: the bar after row (or column) index ends at
  // position pos (pixels from the splitter's top or left). Used by the mouse handling and tests.
  void DragBar(bool rowBar, int index, int pos);

  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Handles the bar drags; a derived splitter calls it for the mouse messages.
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  struct Grid;  // platform internal

 protected:
  void OnChildCreated(Window* child) override;

 private:
  std::unique_ptr<Grid> grid_;
};

}  // namespace ui
