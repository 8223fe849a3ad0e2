#pragma once
// "Display Item" (dialog 489): which experiment and subject columns the learning-file
// selection shows. The caller fills the twelve flags, runs the dialog and reads them back
// after OK; Cancel leaves them as they were.
#include <array>
#include <cstdint>

#include "platform/ui/dialog.h"

inline constexpr int IDD_DISPLAY_ITEM = 489;

// The flags, in their stored order.
enum DisplayItemFlag : int {
  kItemAge, kItemDay, kItemDoctor, kItemEngineer, kItemEpochTime, kItemHeight,
  kItemId, kItemName, kItemNo, kItemService, kItemSex, kItemWeight, kDisplayItemCount
};

// Check box of each flag, in the flags' order.
inline constexpr std::array<int, kDisplayItemCount> kDisplayItemChecks{
    1209, 1201, 1205, 1204, 1206, 1211, 1208, 1207, 1202, 1203, 1210, 1212};

class LyrDlgDisplayItem : public ui::Dialog {
 public:
  explicit LyrDlgDisplayItem(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  // 1 shown, 0 hidden; all 0 after construction.
  std::array<std::int32_t, kDisplayItemCount> m_Flags{};
};
