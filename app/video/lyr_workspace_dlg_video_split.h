#pragma once
// "Select split screen" (modal, template 297): which part of the video picture the video
// window shows: the whole picture, a quarter or a ninth.
#include <cstdint>

#include "platform/ui/dialog.h"

class LyrWorkspaceDlgVideoSplit : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 297;
  explicit LyrWorkspaceDlgVideoSplit(ui::Window* parent = nullptr) : ui::Dialog(kTemplateId, parent) {}
  bool OnInitDialog() override;
  void OnOK() override;
  // Kind (0 whole, 1 quarters, 2 ninths), column and row: set before, read after OK.
  std::uint16_t Kind = 0;
  std::uint16_t Column = 0;
  std::uint16_t Row = 0;
};
