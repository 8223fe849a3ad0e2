#pragma once
// Control bars docked along the top edge of a frame: tool bars of command buttons and dialog
// bars (a dialog template shown as a bar, platform/ui/dialog.h). Their commands go to the
// frame's command route; while the loop is idle the frame runs their update handlers.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/window.h"

namespace draw {
class Image;
}

namespace ui {

class Frame;

// Icon resources: resources/<lang>/icons/<id>.xpm (the text image format), looked up in the
// current language and then in English. A null image when there is none or it is malformed.
draw::Image LoadIconImage(std::uint32_t id);
// Decodes the text of an XPM image; a null image when it is malformed.
draw::Image DecodeXpm(std::string_view text);

class ControlBar : public Window {
 public:
  ControlBar();
  ~ControlBar() override;
  // Runs the update handlers of the bar's commands through the frame's route.
  virtual void OnUpdateCmdUI(Frame* target) { (void)target; }
  // Title shown when the bar is floating or listed (SetWindowText).
  void SetTitle(std::string_view title) { SetWindowText(title); }

 protected:
  explicit ControlBar(WindowKind kind);
};

// A row of command buttons. Button ids 0 are separators.
class ToolBar : public ControlBar {
 public:
  ToolBar();
  ~ToolBar() override;
  // Creates the bar in the frame with a control-bar id (AFX_IDW_TOOLBAR...).
  bool CreateBar(Frame* frame, int barId);
  // Sets the buttons: command ids in order, 0 for a separator. Texts are the tool tips.
  void SetButtons(const std::vector<std::uint32_t>& ids, const std::vector<std::string>& tips = {});
  // Text shown on a button (without an icon the tip is shown).
  void SetButtonText(std::uint32_t id, std::string_view text);
  // Icon of a button; a null image removes it.
  void SetButtonImage(std::uint32_t id, const draw::Image& image);
  // The three looks of a button: normal, under the pointer and disabled (null images are
  // left out; without a normal image the button shows its text).
  void SetButtonImages(std::uint32_t id, const draw::Image& normal, const draw::Image& hot,
                       const draw::Image& disabled);
  // Size of every button and of its image; with textUnder the text shows under the image.
  void SetButtonLayout(Size button, Size image, bool textUnder);
  std::string GetButtonText(std::uint32_t id) const;
  // Room left of the first button (a gripper drawn by the bar's OnPaint goes there).
  void SetLeadingMargin(int px);
  // The normal image of a button (null without one).
  draw::Image GetButtonImage(std::uint32_t id) const;
  int GetButtonCount() const;
  std::uint32_t GetButtonId(int index) const;
  bool IsButtonEnabled(std::uint32_t id) const;
  bool IsButtonChecked(std::uint32_t id) const;
  // State of a button as a bar's own update sets it (OnUpdateCmdUI overrides).
  void SetButtonEnabled(std::uint32_t id, bool enabled);
  void SetButtonChecked(std::uint32_t id, bool checked);
  // Presses a button as a click would: WM_COMMAND to the frame. False when disabled or absent.
  bool PressButton(std::uint32_t id);
  // Places of the buttons (separators included, in order) when the bar may be `length`
  // pixels long: the bar lays its buttons out by this rule whenever its room changes, wrapping
  // them into further rows where one row does not fit. Returns the bar's size. The default
  // puts the buttons at their own size, separators 6 pixels wide.
  virtual Size LayoutButtons(int length, std::vector<Rect>* places) const;
  void OnUpdateCmdUI(Frame* target) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> tb_;
};

// A dialog template shown as a bar. Clicks of its controls go to the frame's command route;
// other notifications (CBN_SELCHANGE...) to the frame's notification route (MapNotify on the
// frame, view, document or application), unless the bar maps them itself. While the loop is
// idle, update handlers set the state of its controls; push buttons that nobody handles are
// greyed.
class DialogBar : public ControlBar, public ControlHost {
 public:
  DialogBar();
  ~DialogBar() override;
  bool CreateBar(Frame* frame, int templateId, int barId);
  bool CreateBar(Frame* frame, const res::DialogTemplate& tmpl, int barId);
  Frame* GetOwnerFrame() const { return frame_; }
  // Called once after the controls exist (the bar's initialisation step).
  virtual void OnInitDialogBar() {}
  void OnUpdateCmdUI(Frame* target) override;
  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

 protected:
  const Window* HostWindow() const override { return this; }

 private:
  Frame* frame_ = nullptr;
};

}  // namespace ui
