#pragma once
// The transport bar of the video window (template 283): play/stop, skip back, frame back,
// frame forward, skip forward, the mark menu and float/dock. Its buttons' commands go to the
// video frame; the bar answers the tool tips of its own buttons.
#include <cstdint>
#include <string>

#include "platform/ui/control_bar.h"

class LyrWorkspaceDlgVideoBar : public ui::DialogBar {
 public:
  static constexpr int kTemplateId = 283;
  enum : std::uint32_t {
    kRunStop = 33122,
    kSkipBack = 33124,
    kFrameBack = 33117,
    kFrameForward = 33118,
    kSkipForward = 33119,
    kMark = 33120,
    kFloat = 33121,
  };
  // The tool tip of a control of the bar (at most 79 characters); empty for any other id.
  static std::string TipText(int controlId);
  void OnInitDialogBar() override;
};
