#pragma once
// The four panes behind the workspace's Search tab: the free search over one channel's
// amplitude statistics (pane 7), the artifact search (8), the stage and candidate search (9)
// and the event list (10). Each lists the epochs that meet its condition; a click on a row
// makes that epoch current on the wave page.
#include <cstdint>

#include "app/workspace/workspace_list_pane.h"

// What the four share: the list's click jumps to the epoch of the row.
class LyrWorkspaceSearchPane : public LyrWorkspaceListPane {
 public:
  void OnControlNotify(int controlId, int code) override;
  // Puts the rows into the list in one step (the list emptied first); with none found, the
  // exclamation sound and "Not found.". Returns the number of rows.
  int ShowRows(const SearchRows& rows, bool reportNone = true);
  // Controls column of the pane: x of the column, widths and heights of the layout.
  struct Metrics {
    int x = 0;
    int right = 0;
    int cx = 0;
    int cy = 0;
    int h = 30;
  };
  Metrics LayoutMetrics(int letters) const;
};

class LyrWorkspaceSearchStageView : public LyrWorkspaceSearchPane {
 public:
  static constexpr int kStageCombo = 101;
  static constexpr int kStageButton = 8000;
  static constexpr int kCandidatesButton = 8001;
  LyrWorkspaceSearchStageView();
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  // "Non stage" and the stage names of the current stage type, the first selected.
  void FillStageCombos();
  // Stage code of the combo's selection (0: "Non stage" or none).
  int SelectedCode() const;
  // Lists the epochs of a stage (0: the unscored ones), at most 5,000.
  void SearchStage(int code);
  void SearchCandidates();
};

class LyrWorkspaceSearchArtifactView : public LyrWorkspaceSearchPane {
 public:
  static constexpr int kSearchButton = 2274;
  LyrWorkspaceSearchArtifactView();
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  void Search();
};

class LyrWorkspaceSearchEventView : public LyrWorkspaceSearchPane {
 public:
  int OnCreate() override;
  // The list fills the pane.
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Lists the recording's events anew.
  void UpdateEventList();
};

class LyrWorkspaceSearchFreeView : public LyrWorkspaceSearchPane {
 public:
  static constexpr int kChannelCombo = 102;
  static constexpr int kModeCombo = 103;
  static constexpr int kValueEdit = 104;
  static constexpr int kAtLeastRadio = 105;
  static constexpr int kAtMostRadio = 106;
  static constexpr int kSearchButton = 2274;
  LyrWorkspaceSearchFreeView();
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  // The recording's channel names, the first selected.
  void FillChannelCombo();
  void Search();
};
