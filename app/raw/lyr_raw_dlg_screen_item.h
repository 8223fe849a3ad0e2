#pragma once
// "Screen Item" (modal, template 163): the look of the wave, trend, workspace and video
// displays. The main frame saves the settings file before and after it and redraws every
// window on OK.
#include "platform/ui/dialog.h"

inline constexpr int IDD_SCREEN_ITEM = 163;

class LyrRawDlgScreenItem : public ui::Dialog {
 public:
  explicit LyrRawDlgScreenItem(ui::Window* parent = nullptr) : ui::Dialog(IDD_SCREEN_ITEM, parent) {}
};
