#pragma once
// The program's flat tool bar: small (16 x 16) or large (32 x 32) images with
// separate normal, hot and disabled looks, optional text labels under the images.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/image.h"
#include "platform/ui/geometry.h"
#include "platform/ui/command.h"
#include "platform/ui/control_bar.h"

class COOExToolBar : public ui::ToolBar {
 public:
  enum ImageList : int { kSmallHot, kSmallNormal, kSmallDisabled, kLargeHot, kLargeNormal, kLargeDisabled };

  // Loads the buttons of a tool-bar resource (resources/<lang>/toolbars/<id>.toolbar,
  // one command id a line, 0 for a separator). Each button's text is the tool-tip part
  // of its command's prompt (after the last newline). False when there is no resource.
  virtual bool LoadToolBar(std::uint32_t resourceId);
  // 0 small images, 1 large images.
  void SetDisplayMode(std::uint32_t mode);
  std::uint32_t DisplayMode() const { return displayMode_; }
  void SetTextLabels(bool on);
  bool TextLabels() const { return textLabels_; }
  // Hands the image lists of the display mode to the buttons.
  virtual void ApplyImageLists();
  virtual void RefreshImages() { ApplyImageLists(); }
  // Size of one button: the image plus 8 x 7, widened to the largest text and
  // heightened by it when labels are shown.
  virtual ui::Size GetButtonExtent() const;
  // Height and width of the largest button text, measured when the bar was loaded.
  ui::Size TextSize() const { return textSize_; }
  void SetTextSize(ui::Size size) { textSize_ = size; }
  const std::vector<draw::Image>& Images(ImageList list) const { return lists_[list]; }
  // Text of a button as the prompt string gives it.
  static std::string ToolTipPart(const std::string& prompt);
  // The gripper of a docked bar: two raised bars 3 pixels thick, 5 pixels apart, inside
  // the window rectangle inset by 3, along the left edge (horizontal) or the top edge.
  static void PaintGripper(draw::Dc& dc, const ui::Rect& window, bool horizontal);
  void OnPaint(draw::Dc& dc) override;

  // Colour depth of the image lists: 24 bits on a screen of more than 8 bits a pixel, else
  // the lists' default depth (16 colours).
  static int ImageListColourBits(int screenBitsPerPixel);
  // Empties the six lists and sets their depth for a screen of that many bits a pixel.
  void CreateImageLists(int screenBitsPerPixel);
  int ImageListBits() const { return listBits_; }

  // Button state as the command updates leave it.
  struct ButtonState {
    bool disabled = false;
    bool pressed = false;
    bool indeterminate = false;
    friend bool operator==(const ButtonState&, const ButtonState&) = default;
  };
  ButtonState GetButtonState(std::uint32_t id) const;
  // The command update of one button: enabling clears the disabled state, disabling sets it
  // and releases the button; a check of 0 clears pressed and indeterminate, 1 presses, 2
  // makes it indeterminate (greyed but still clickable). True when the state changed (the bar
  // is then repainted).
  bool ApplyButtonUpdate(std::uint32_t id, const ui::CmdUI& cmd);
  // Asks the command route about every button (a button nobody handles is disabled).
  void OnUpdateCmdUI(ui::Frame* target) override;

  // Layout of the buttons wrapped into rows (columns for a vertical bar) of at most `length`
  // pixels; 32,767 keeps one row. Separators count only along the row, a separator where a
  // row wraps adds a row's height. Returns the bar's size; places gets each button's
  // rectangle (empty for a separator that wrapped).
  static constexpr int kUnlimitedLength = 32767;
  static constexpr int kSeparatorWidth = 8;
  ui::Size CalcLayout(int length, bool horizontal, std::vector<ui::Rect>* places = nullptr) const;
  // Fixed layout: one unlimited row, or a full row of `length` when stretched.
  ui::Size CalcFixedLayout(bool stretch, bool horizontal, int length = kUnlimitedLength) const;
  // Dynamic layout: rows wrapped to the requested length.
  ui::Size CalcDynamicLayout(int length, bool horizontal) const { return CalcLayout(length, horizontal); }
  // The docked bar lays its buttons out by the dynamic layout for the room it has.
  ui::Size LayoutButtons(int length, std::vector<ui::Rect>* places) const override {
    return CalcLayout(length, true, places);
  }

 protected:
  void ApplySizes();
  // An image in the lists' colour depth.
  draw::Image ToListDepth(const draw::Image& image) const;
  std::array<std::vector<draw::Image>, 6> lists_;

 private:
  std::vector<ButtonState> states_;
  int listBits_ = 24;
  std::uint32_t displayMode_ = 1;
  bool textLabels_ = false;
  ui::Size textSize_{0, 0};
};

// Fills the image lists from icon resources; a missing disabled icon becomes a
// grey copy of the normal one.
class COOIconToolBar : public COOExToolBar {
 public:
  // Appends one button's icons at both sizes. hotId 0 uses the normal icon;
  // disabledId 0 a grey copy of it. Buttons take images in the order added.
  void AddIcon(std::uint32_t normalId, std::uint32_t disabledId, std::uint32_t hotId);
  // Grey copy of an icon: every pixel becomes g = trunc(sqrt((R*R + G*G + B*B) / 3)).
  static draw::Image MakeGreyIcon(const draw::Image& icon);
  // The image averaged down (or repeated up) to a size.
  static draw::Image ScaleIcon(const draw::Image& icon, int width, int height);
};

// Bitmap-based member of the family; it has no behaviour of its own.
class COOBmpToolBar : public COOExToolBar {};
