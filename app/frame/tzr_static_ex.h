#pragma once
// A static text of a dialog with its own font, colours and styles that can act as a
// hyperlink: a hand cursor over it and a click opens its target.
#include <cstdint>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/ui/geometry.h"

namespace draw {
class Dc;
}
namespace ui {
class ControlHost;
class Dialog;
}

class TzrCStaticEx {
 public:
  TzrCStaticEx();
  // Takes over the static `id` of a dialog: it is drawn by this class from then on,
  // and its cursor and clicks follow the link.
  void SubclassDlgItem(int id, ui::Dialog& dlg);

  void SetUnderline(bool on);
  void SetItalic(bool on);
  // Weight 700 when set, 400 when cleared.
  void SetBold(bool on);
  void SetBkColor(draw::ColorRef colour);
  void SetTextColor(draw::ColorRef colour);
  // Makes the text a link to an address or a file. A target holding "http" (in any
  // case) is kept as it is; a file name becomes "file:///" and its absolute path. The
  // link look is blue, underlined, neither italic nor bold, on the 3-D face colour.
  void SetLink(const std::string& target, bool linkLook);

  const std::string& LinkTarget() const { return link_; }
  const draw::LogFont& Font() const { return logFont_; }
  draw::ColorRef TextColor() const { return textColour_; }
  draw::ColorRef BkColor() const { return bkColour_; }

  // The cursor over the static: true (the hand, message consumed) with a link target.
  bool OnSetCursor();
  // A click: the link target is opened by the desktop. False when there is none.
  bool OnClicked();
  // Draws the static: its background, then its text in its font and colour.
  void Paint(draw::Dc& dc, const ui::Rect& client, const std::string& text) const;

 private:
  void Redraw();
  draw::LogFont logFont_;
  draw::ColorRef textColour_;
  draw::ColorRef bkColour_;
  std::string link_;
  ui::ControlHost* host_ = nullptr;
  int id_ = 0;
};
