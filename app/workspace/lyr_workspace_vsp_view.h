#pragma once
// Workspace pane 5 ("VigilanceState"): an epoch range cut into time divisions and each into
// episodes (runs of one stage). The upper list shows every episode, the lower one per
// division a summary per stage (count, mean duration, SD). Filled on request only: by the
// "Vigilance State Parameters" dialog or by the animal report.
#include <cstdint>
#include <string>
#include <vector>

#include "app/workspace/vigilance_episodes.h"
#include "app/workspace/workspace_list_pane.h"

class CMainFrame;
class LyrReStageWithEpisode;

// "All the epochs must be specified.": the message, then the stage search pane forward,
// listing the unscored epochs.
void ReportUnscoredEpochs(CMainFrame* frame);
class WorkspaceTextOut;

class LyrWorkspaceVSPView : public LyrWorkspaceListPane {
 public:
  static constexpr int kSummaryId = 101;

  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnControlNotify(int controlId, int code) override;

  // The epochs as the finder reads them (re-staged codes while re-staging is in effect and a
  // source is set).
  VspEpochs Epochs() const;
  // Computes the range's divisions into the lists. 1 done; 0 when an epoch is unscored (the
  // stage search lists the unscored epochs) or the tables cannot be made.
  int Apply(int start, int end, int withSleepTotals, const LyrReStageWithEpisode* restaging);
  // Writes the episode transitions (kind 0) or the counts per duration (kind 1) to path or
  // the clipboard. 1 done, 0 failed (the caller reports it).
  int OutputText(int kind, int toClipboard, const std::string& path, int start, int end, int withSleepTotals);
  int EpisodeRows() const { return IsWindow() ? List().GetCount() : 0; }
  ui::Control SummaryList() const { return Item(kSummaryId); }

  std::int32_t RangeStart = 0;
  std::int32_t RangeEnd = 0;
  std::int32_t DivisionLength = 0;
  const LyrReStageWithEpisode* ReStagingSource = nullptr;
  int ArtifactSeparate = 0;
  // The last computation's divisions.
  std::vector<VspDivision> Divisions;
  // The current text-output file (its path changes when the line limit asks for a new one).
  std::string FileName;

 private:
  std::string Label(int epoch) const;
  std::string StageName(int code) const;
  void AddDivisionRows(int division, const VspDivision& d);
  bool WriteTransitions(WorkspaceTextOut& out, int withSleepTotals);
};
