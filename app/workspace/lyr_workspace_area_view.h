#pragma once
// The only view of the workspace frame: it holds the main frame's workspace tab strip,
// which holds the panes.
#include <cstdint>

#include "platform/ui/document.h"

class LyrWorkspaceAreaTabCtrl;

class LyrWorkspaceAreaView : public ui::View {
 public:
  // The strip to create over the view (the main frame's member).
  explicit LyrWorkspaceAreaView(LyrWorkspaceAreaTabCtrl* tabs) : tabs_(tabs) {}
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  LyrWorkspaceAreaTabCtrl* Tabs() const { return tabs_; }

 private:
  LyrWorkspaceAreaTabCtrl* tabs_;
};
