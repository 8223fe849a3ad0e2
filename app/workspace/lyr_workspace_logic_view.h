#pragma once
// Workspace pane 4 ("Logic"): the staging logic conditions in force, one row per condition of
// the current stage type's set and a last row for the stage when none holds. A click on a
// row has the trend graphs show that condition's thresholds.
#include <cstdint>

#include "app/workspace/workspace_list_pane.h"

struct AnalysisParamBlocks;

class LyrWorkspaceLogicView : public LyrWorkspaceListPane {
 public:
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Deletes every row and every column.
  void ClearList();
  // The 15 columns from the string table, their widths shares of the list's width.
  void BuildColumns();
  // Refills the rows (1: the columns first), keeping the selected row where it still exists,
  // else selecting the first.
  void UpdateLogicList(int rebuildColumns);
  // Codes 14 to 32 are measured on a channel.
  static bool NeedsChannel(std::uint16_t code);
  void OnControlNotify(int controlId, int code) override;
};
