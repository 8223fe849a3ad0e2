#pragma once
// "Screen Item" (modal, template 163): the look of the wave, trend, workspace and video
// displays. The main frame saves the settings file before and after it and redraws every
// window on OK.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/font_families.h"
#include "platform/draw/gdi.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_SCREEN_ITEM = 163;

class LyrRawDlgScreenItem : public ui::Dialog {
 public:
  static constexpr int kItemList = 1509;
  static constexpr int kAllResetButton = 1510;
  static constexpr int kFontCombo = 1511;
  static constexpr int kSizeCombo = 1512;
  static constexpr int kColorButton = 1513;
  static constexpr int kSample = 1516;
  static constexpr int kBoldCheck = 1517;
  static constexpr int kItalicCheck = 1518;
  static constexpr int kUnderlineCheck = 1520;
  static constexpr int kStageSlider = 1932;

  // Rows of the item list.
  enum Row : int {
    kBackground, kCurrentEpoch, kGrid, kChannelNumber, kChannelChar, kStage, kStageInArtifact, kChannelName,
    kScale, kEvent, kShowValue, kMarkName, kMarkLineWidth, kLogicUpper, kLogicLower, kRowCount
  };

  explicit LyrRawDlgScreenItem(ui::Window* parent = nullptr) : ui::Dialog(IDD_SCREEN_ITEM, parent) {}

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // Control notifications (public so that tests can deliver them after setting a control).
  void OnItemSelected();
  void OnFontControlsChanged();
  void OnStageSlider();
  void OnColor();
  void OnAllReset();

  // Slot of a row in DisplayColors / DisplayFonts, -1 when the row has none.
  static int ColourSlotOfRow(int row);
  static int FontSlotOfRow(int row);
  // The families a font list offers: on a Japanese system only Japanese ones that are not
  // vertical (named with a leading '@').
  static std::vector<std::string> OfferedFamilies(const std::vector<draw::FontFamily>& all, bool japaneseSystem);
  // Mark line widths in the order of their names, and the name index of a width.
  static constexpr std::array<std::uint32_t, 5> kLineWidths{4, 12, 22, 36, 48};
  static int WidthIndexOf(std::uint32_t width);

  // Working copies.
  std::array<std::uint32_t, 9> Colours{};
  std::array<draw::LogFont, 10> Fonts{};
  std::uint32_t LineWidth = 12;

 private:
  void LoadWorkingCopies();
  void FillSizeCombo(bool widths);
  void ShowFont(const draw::LogFont& font);
  void PaintSample(draw::Dc& dc, const draw::Rect& client) const;
  void RedrawRawPages();

  int row_ = -1;
  std::int16_t savedStagePosition_ = 0;
};
