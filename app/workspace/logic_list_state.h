#pragma once
// The workspace Logic pane's condition list as the trend window reads it: the first
// selected row (-1 none) and the number of rows. The pane writes it whenever its list or
// selection changes; until then no row is selected.
struct LogicListState {
  int selectedRow = -1;
  int rowCount = 0;
};
LogicListState GetLogicListState();
void SetLogicListState(const LogicListState& state);
