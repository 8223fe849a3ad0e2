#include "app/results/lyr_utility_hypnogram_frame.h"

namespace {
constexpr std::uint32_t kCmdClose = 57602;
}

LyrUtilityHypnogramFrame::LyrUtilityHypnogramFrame() {
  MapCommand(kCmdClose, [this] { OnClose(); });
}

void LyrUtilityHypnogramFrame::OnClose() { DestroyWindow(); }

void LyrUtilityHypnogramFrame::PostNcDestroy() {
  ui::Frame::PostNcDestroy();
  if (Closed) Closed();
}
