#include "app/workspace/lyr_workspace_area_tab_ctrl.h"

#include "app/frame/frame_globals.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"

namespace {
// Texts of the nine main tabs, in tab order.
constexpr std::uint32_t kStrFirstTab = 62307;
constexpr int kMainTabs = 9;
// The pane each main tab shows (FFT and Search: the first pane of their sub-tabs shown).
constexpr int kPaneOfTab[kMainTabs] = {0, 1, 4, 3, 5, 6, 7, 11, 12};
}  // namespace

bool LyrWorkspaceAreaTabCtrl::CreateStrip(ui::Window* area) {
  if (area == nullptr) return false;
  const ui::Rect r = area->GetClientRect();
  if (!Create(area, 0, r, true)) return false;
  for (int t = 0; t < kMainTabs; ++t) InsertItem(t, res::LoadString(kStrFirstTab + static_cast<std::uint32_t>(t)));
  SelectPane(0);
  return true;
}

int LyrWorkspaceAreaTabCtrl::GetCurrentPane() const {
  const int tab = GetCurSel();
  if (tab < 0 || tab >= kMainTabs) return 0;
  // The sub-tab chosen last stays chosen while its main tab comes back.
  if (TabOfPane(CurrentPane) == tab) return CurrentPane;
  return kPaneOfTab[tab];
}

void LyrWorkspaceAreaTabCtrl::OnSelChange() {
  CurrentPane = GetCurrentPane();
  SelectedTab = TabOfPane(CurrentPane);
  ShowSelectedPane(CurrentPane);
  if (CurrentPane == LyrWorkspaceDummyView::kMarkListPane) {
    if (auto* ws = dynamic_cast<LyrWorkspaceDummyView*>(GetParent())) {
      ws->MarkView.MarkForRefill();
      ws->MarkView.UpdateMarkList();
    }
  }
}

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
  SetCurSel(SelectedTab);
}

void LyrWorkspaceAreaTabCtrl::ShowSelectedPane(int id) {
  if (id < 13) RawPreviewMode = id == 1 ? 4 : id == 2 ? 2 : 0;
  VideoWindowShown = (id == 12 || VideoWindowFloating != 0) ? 1 : 0;
}

bool LyrWorkspaceAreaTabCtrl::IsLogicPaneActive() const {
  return DocumentLoaded != 0 && ResultModifiedState != 0 && ScreeningRunning != 1 && CurrentPane == 4;
}
