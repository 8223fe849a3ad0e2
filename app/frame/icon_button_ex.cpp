#include "app/frame/icon_button_ex.h"

#include <algorithm>

#include "app/frame/oo_toolbar.h"
#include "platform/draw/dc.h"
#include "platform/system/process.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "platform/ui/window_image.h"

namespace {
constexpr std::size_t kMaxUrl = 260;
enum State { kActive = 0, kNormal = 1, kFocused = 2 };
}  // namespace

CIconButtonEx::CIconButtonEx() { SetDefaultColors(false); }

void CIconButtonEx::SubclassDlgItem(int id, ui::Dialog& dlg) {
  dlg_ = &dlg;
  id_ = id;
  ui::Control c = dlg.Item(id);
  checkBox_ = c.Kind() == ui::ControlKind::Check;
  default_ = c.IsDefaultButton();
  dlg.MapCommand(static_cast<std::uint32_t>(id), [this] { OnClicked(); });
  c.SetHoverHandler([this](bool entered) {
    if (entered) OnMouseMove(false, true, true);
    else OnMouseLeave();
  });
  c.SetOverlayPainter([this, c](draw::Dc& dc, const ui::Rect& client) {
    if (capturing_) return;
    if (drawTransparent_ && parentBack_.IsNull()) CaptureParentBackground();
    DrawItem(dc, client, c.GetText(), c.IsPressed(), c.HasFocus(), !c.IsEnabled());
  });
}

void CIconButtonEx::DrawTransparent(bool repaint) {
  drawTransparent_ = true;
  parentBack_ = draw::Image();
  if (repaint) Repaint();
}

void CIconButtonEx::CaptureParentBackground() {
  if (!drawTransparent_ || dlg_ == nullptr || capturing_) return;
  capturing_ = true;
  parentBack_ = ui::RenderWindowBackground(*dlg_, dlg_->Item(id_).GetRectInOwner());
  capturing_ = false;
}

void CIconButtonEx::OnSysColorChange() {
  parentBack_ = draw::Image();
  SetDefaultColors(true);
}

void CIconButtonEx::Repaint() {
  if (dlg_ != nullptr) dlg_->Item(id_).Invalidate();
}

void CIconButtonEx::SetIcon(std::uint32_t inId, std::uint32_t outId) {
  SetIcon(inId != 0 ? ui::LoadIconImage(inId) : draw::Image(), outId != 0 ? ui::LoadIconImage(outId) : draw::Image());
}

void CIconButtonEx::SetIcon(const draw::Image& in, const draw::Image& out) {
  inIcon_ = in;
  outIcon_ = out;
  Repaint();
}

int CIconButtonEx::SetAlign(int align, bool repaint) {
  if (align < 0 || align > 3) return 4;
  align_ = align;
  if (repaint) Repaint();
  return 0;
}

int CIconButtonEx::SetPressedStyle(int style, bool repaint) {
  if (style == 0) pressedOffset_ = ui::Point{1, 1};
  else if (style == 1) pressedOffset_ = ui::Point{0, 2};
  else return 6;
  if (repaint) Repaint();
  return 0;
}

void CIconButtonEx::SetCheck(int check, bool repaint) {
  if (!checkBox_) return;
  ticked_ = check == 1 || check == 2;
  if (repaint) Repaint();
}

void CIconButtonEx::SetDefaultColors(bool repaint) {
  bk_.fill(draw::GetSysColor(draw::COLOR_BTNFACE));
  fg_.fill(draw::GetSysColor(draw::COLOR_BTNTEXT));
  if (repaint) Repaint();
}

void CIconButtonEx::SetURL(const char* url) {
  url_ = url != nullptr ? std::string(url).substr(0, kMaxUrl) : std::string();
}

void CIconButtonEx::SetTooltipText(const std::string& text, bool activate) {
  tooltip_ = text;
  if (activate) tooltipActive_ = true;
  if (dlg_ != nullptr) dlg_->Item(id_).SetToolTip(tooltipActive_ ? text : std::string());
}

void CIconButtonEx::SetMenu(ui::Menu* menu, ui::Window* owner, std::function<void(ui::Menu*)> beforeOpen) {
  menu_ = menu;
  menuOwner_ = owner;
  beforeMenu_ = std::move(beforeOpen);
}

void CIconButtonEx::SetSounds(std::function<void()> hover, std::function<void()> click) {
  hoverSound_ = std::move(hover);
  clickSound_ = std::move(click);
}

void CIconButtonEx::OnMouseMove(bool leftDown, bool overButton, bool appActive) {
  if (leftDown && !mouseOver_) return;
  if (!flat_) return;
  if (overButton && (trackInactive_ || appActive)) {
    if (mouseOver_) return;
    mouseOver_ = true;
    Repaint();
    if (hoverSound_) hoverSound_();
  } else if (!overButton) {
    OnMouseLeave();
  }
}

void CIconButtonEx::OnMouseLeave() {
  if (!mouseOver_) return;
  mouseOver_ = false;
  Repaint();
}

void CIconButtonEx::OnEnable(bool enable) {
  if (enable) return;
  OnMouseLeave();
  if (dlg_ == nullptr || !dlg_->Item(id_).HasFocus()) return;
  // The focus moves to the next control in the tab order, or to the dialog.
  const std::vector<int> ids = dlg_->ControlIds();
  const auto it = std::find(ids.begin(), ids.end(), id_);
  if (it != ids.end() && it + 1 != ids.end()) dlg_->Item(*(it + 1)).SetFocus();
  else dlg_->SetFocus();
}

void CIconButtonEx::OnClicked() {
  if (dlg_ != nullptr) dlg_->Item(id_).SetFocus();
  if (clickSound_) clickSound_();
  if (checkBox_) {
    ticked_ = !ticked_;
    Repaint();
    return;
  }
  if (menu_ != nullptr) {
    ui::Menu* popup = menu_->GetSubMenu(0);
    if (popup == nullptr) return;
    menuOpen_ = true;
    Repaint();
    if (beforeMenu_) beforeMenu_(popup);
    ui::PopupPosition at;
    if (dlg_ != nullptr) {
      const ui::Rect r = dlg_->Item(id_).GetRectInOwner();
      const ui::Point p = dlg_->ClientToScreen(ui::Point{r.left, r.bottom});
      at = ui::PopupPosition{p.x, p.y};
    }
    const std::uint32_t chosen = ui::TrackPopupMenu(*popup, at, menuOwner_, ui::TPM_RETURNCMD);
    menuOpen_ = false;
    Repaint();
    if (chosen != 0 && menuOwner_ != nullptr) menuOwner_->PostMessage(ui::WM_COMMAND, chosen, 0);
    return;
  }
  if (!url_.empty()) sys::OpenDocument(url_);
}

bool CIconButtonEx::Pressed(bool selected) const { return selected || (checkBox_ && ticked_) || menuOpen_; }

CIconButtonEx::Placement CIconButtonEx::Place(const ui::Rect& client, bool hasText) const {
  const draw::Image& icon = !outIcon_.IsNull() ? outIcon_ : inIcon_;
  const int w = icon.IsNull() ? 0 : icon.Width();
  const int h = icon.IsNull() ? 0 : icon.Height();
  const int cx = client.left + (client.Width() - w) / 2;
  const int cy = client.top + (client.Height() - h) / 2;
  Placement p{ui::Rect{cx, cy, cx + w, cy + h}, client};
  switch (align_) {
    case 0:
      if (!hasText) break;
      p.icon = ui::Rect{client.left + margin_.x, cy, client.left + margin_.x + w, cy + h};
      p.text.left = client.left + margin_.x + w;
      break;
    case 1:
      if (!hasText) break;
      p.icon = ui::Rect{cx, client.top + margin_.y, cx + w, client.top + margin_.y + h};
      p.text.top = client.top + margin_.y + h;
      break;
    case 2:
      p.icon = ui::Rect{client.right - margin_.x - w, cy, client.right - margin_.x, cy + h};
      p.text.right = p.icon.left;
      break;
    default:
      p.icon = ui::Rect{client.left, client.top, client.left + w, client.top + h};
      break;
  }
  return p;
}

void CIconButtonEx::DrawItem(draw::Dc& dc, const ui::Rect& client, const std::string& text, bool selected,
                             bool focused, bool disabled) const {
  const bool pressed = Pressed(selected);
  ui::Rect r = client;
  if (!flat_ && (focused || default_)) {
    dc.Draw3dRect(r, draw::Rgb(0, 0, 0), draw::Rgb(0, 0, 0));
    r = ui::Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  const State state = (pressed || mouseOver_) ? kActive : focused ? kFocused : kNormal;
  if (!drawTransparent_) dc.FillSolidRect(r, bk_[state]);
  else if (!parentBack_.IsNull())
    dc.DrawImage(r, parentBack_, ui::Rect{r.left - client.left, r.top - client.top, r.right - client.left, r.bottom - client.top});
  const draw::ColorRef light = draw::GetSysColor(draw::COLOR_BTNHIGHLIGHT);
  const draw::ColorRef shadow = draw::GetSysColor(draw::COLOR_BTNSHADOW);
  if (flat_) {
    if (pressed) dc.Draw3dRect(r, shadow, light);
    else if (mouseOver_) dc.Draw3dRect(r, light, shadow);
  } else if (pressed) {
    dc.Draw3dRect(r, shadow, shadow);
  } else {
    dc.Draw3dRect(r, light, shadow);
  }

  const bool useOut = (!outIcon_.IsNull() && !mouseOver_ && !pressed) || (checkBox_ && !ticked_);
  const draw::Image& chosen = useOut || inIcon_.IsNull() ? outIcon_ : inIcon_;
  Placement p = Place(r, !text.empty());
  if (pressed && !checkBox_) {
    for (ui::Rect* box : {&p.icon, &p.text}) {
      box->left += pressedOffset_.x;
      box->right += pressedOffset_.x;
      box->top += pressedOffset_.y;
      box->bottom += pressedOffset_.y;
    }
  }
  if (!chosen.IsNull()) {
    const draw::Image shown = disabled ? COOIconToolBar::MakeGreyIcon(chosen) : chosen;
    dc.DrawImage(p.icon, shown, ui::Rect{0, 0, shown.Width(), shown.Height()});
  }
  if (!text.empty()) {
    const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
    const draw::ColorRef oldColour =
        dc.SetTextColor(disabled ? draw::GetSysColor(draw::COLOR_GRAYTEXT) : fg_[state]);
    dc.DrawText(text, &p.text, draw::DT_CENTER | draw::DT_VCENTER | draw::DT_SINGLELINE);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
  }
}
