#include "app/workspace/lyr_workspace_area_tab_ctrl.h"

#include "app/frame/frame_globals.h"

int LyrWorkspaceAreaTabCtrl::TabOfPane(int id) {
  // Tabs: DataInfo, Zoom, Logic, FFT (panes 2, 3), VigilanceState, StageGraph, Search (7-10),
  // Mark, Video.
  switch (id) {
    case 0: return 0;
    case 1: return 1;
    case 4: return 2;
    case 2:
    case 3: return 3;
    case 5: return 4;
    case 6: return 5;
    case 7:
    case 8:
    case 9:
    case 10: return 6;
    case 11: return 7;
    case 12: return 8;
    default: return 0;
  }
}

void LyrWorkspaceAreaTabCtrl::SelectPane(int id) {
  SelectedTab = TabOfPane(id);
  CurrentPane = id;
}

void LyrWorkspaceAreaTabCtrl::ShowSelectedPane(int id) {
  if (id < 13) RawPreviewMode = id == 1 ? 4 : id == 2 ? 2 : 0;
  VideoWindowShown = (id == 12 || VideoWindowFloating != 0) ? 1 : 0;
}

bool LyrWorkspaceAreaTabCtrl::IsLogicPaneActive() const {
  return DocumentLoaded != 0 && ResultModifiedState != 0 && ScreeningRunning != 1 && CurrentPane == 4;
}
