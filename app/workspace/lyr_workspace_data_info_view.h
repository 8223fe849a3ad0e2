#pragma once
// Workspace pane 0 ("DataInfo"): what is known of the open recording as label and value
// rows: file names, subject data, free comments and the channels' sampling rates.
#include <cstdint>
#include <span>
#include <string>

#include "app/workspace/workspace_list_pane.h"

class LyrWorkspaceDataInfoView : public LyrWorkspaceListPane {
 public:
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Deletes every row (the document is renewed).
  void ClearList();
  // Refills the rows from the open recording; nothing while no recording is open.
  void UpdateDataInfo();
  // The two 200-pixel columns with empty titles, no rows.
  void InitList();
  // "%dHz" of the one rate all channels share, else "1,3ch-200Hz/2ch-100Hz/": per distinct
  // rate in the order met, the 1-based numbers of its channels, "ch-" and "%dHz/".
  static std::string GetSamplingRateText(std::span<const int> channelRates);
};
