#pragma once
// An owner-drawn push button of the settings and output dialogs: an icon for the
// normal and the hover state, a flat look with hover highlighting, a tool tip,
// optional sounds, check-box behaviour, a drop-down menu or a web address to open.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/ui/geometry.h"

namespace draw {
class Dc;
}
namespace ui {
class Dialog;
class Menu;
class Window;
}

class CIconButtonEx {
 public:
  CIconButtonEx();

  // Takes over the button `id` of a dialog: a check box keeps check-box behaviour and
  // a default push button its default flag; the button is drawn by this class.
  void SubclassDlgItem(int id, ui::Dialog& dlg);

  // Icons from the icon resources (a 0 id: none) or given images; "in" is the hover
  // and pressed icon, "out" the normal one.
  void SetIcon(std::uint32_t inId, std::uint32_t outId);
  void SetIcon(const draw::Image& in, const draw::Image& out);
  // Icon placement 0..3 (0 left of the text, 1 centred above it, 2 right of it,
  // 3 top left). 0 when accepted; 4 for a value above 3.
  int SetAlign(int align, bool repaint);
  // Shift while pressed: style 0 (1, 1), style 1 (0, 2). 0 when accepted; 6 otherwise.
  int SetPressedStyle(int style, bool repaint);
  // Check-box mode only; a check of 1 or 2 ticks it.
  void SetCheck(int check, bool repaint);
  int GetCheck() const { return ticked_ ? 1 : 0; }
  // Every state's background to the 3-D face colour and text to the button text colour.
  void SetDefaultColors(bool repaint);
  // Address opened on a click (at most 260 bytes kept); null clears it.
  void SetURL(const char* url);
  const std::string& URL() const { return url_; }
  void SetTooltipText(const std::string& text, bool activate);
  const std::string& TooltipText() const { return tooltip_; }
  bool TooltipActive() const { return tooltipActive_; }
  // A drop-down menu shown under the button on a click, its chosen command posted to
  // owner. The callback is told before the menu opens.
  void SetMenu(ui::Menu* menu, ui::Window* owner, std::function<void(ui::Menu*)> beforeOpen = {});
  void SetFlat(bool flat) { flat_ = flat; }
  // Paints the parent's pixels under the button instead of the background colour.
  void DrawTransparent(bool repaint);
  bool IsTransparent() const { return drawTransparent_; }
  // Copies the parent's pixels under the button (once; the copy is kept until the system
  // colours change). Nothing without a parent or when not drawing transparently.
  void CaptureParentBackground();
  bool HasParentBackground() const { return !parentBack_.IsNull(); }
  // The system colours changed: the background copy is taken anew, the colours reset.
  void OnSysColorChange();
  void SetTrackWhileInactive(bool on) { trackInactive_ = on; }
  // Sounds played on hover and on click (played through the given function).
  void SetSounds(std::function<void()> hover, std::function<void()> click);

  bool IsCheckBox() const { return checkBox_; }
  bool IsDefault() const { return default_; }
  bool MouseOver() const { return mouseOver_; }
  int Align() const { return align_; }
  ui::Point PressedOffset() const { return pressedOffset_; }

  // Mouse movement: leftDown while the left button is held; overButton when the
  // pointer is over this button; appActive when the application has an active window.
  void OnMouseMove(bool leftDown, bool overButton, bool appActive);
  // Mouse leave, focus loss, deactivation and cancel mode end the hover.
  void OnMouseLeave();
  // Enabling or disabling the button; disabling ends the hover and moves the focus on.
  void OnEnable(bool enable);
  // The reflected click: focus, sound, then the check box, the menu or the address.
  void OnClicked();
  // A double-click counts as another click.
  void OnLButtonDblClk() { OnClicked(); }

  // Where the icon and the text go inside the button for the current alignment.
  struct Placement {
    ui::Rect icon;
    ui::Rect text;
  };
  Placement Place(const ui::Rect& client, bool hasText) const;
  // Draws the button in the state given by the owner-draw flags.
  void DrawItem(draw::Dc& dc, const ui::Rect& client, const std::string& text, bool selected, bool focused,
                bool disabled) const;

 private:
  void Repaint();
  bool Pressed(bool selected) const;

  ui::Dialog* dlg_ = nullptr;
  int id_ = 0;
  ui::Point margin_{3, 3};
  ui::Point pressedOffset_{1, 1};
  bool flat_ = true;
  bool mouseOver_ = false;
  bool trackInactive_ = true;
  bool drawTransparent_ = false;
  bool default_ = false;
  bool checkBox_ = false;
  bool ticked_ = false;
  bool menuOpen_ = false;
  int align_ = 0;
  // Background and text colours: pressed or hover, normal, focused.
  std::array<draw::ColorRef, 3> bk_{};
  std::array<draw::ColorRef, 3> fg_{};
  draw::Image inIcon_;
  draw::Image outIcon_;
  ui::Menu* menu_ = nullptr;
  ui::Window* menuOwner_ = nullptr;
  std::function<void(ui::Menu*)> beforeMenu_;
  std::string url_;
  std::string tooltip_;
  bool tooltipActive_ = false;
  std::function<void()> hoverSound_;
  std::function<void()> clickSound_;
  // Copy of the parent's pixels under the button (transparent drawing).
  draw::Image parentBack_;
  bool capturing_ = false;
};
