#pragma once
// "Bitmap": which window the bitmap output saves.
#include <cstdint>

#include "platform/ui/dialog.h"

class LyrDlgBitmap : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 188;
  static constexpr int kAllWindows = 1649;
  static constexpr int kRawWindow = 1652;
  static constexpr int kTrendWindow = 1654;
  static constexpr int kWorkspaceWindow = 1656;

  explicit LyrDlgBitmap(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  // 0 all windows, 1 raw window, 2 trend window, 3 workspace window.
  std::int16_t target = 0;
};
