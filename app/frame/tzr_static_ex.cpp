#include "app/frame/tzr_static_ex.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/draw/dc.h"
#include "platform/system/process.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

TzrCStaticEx::TzrCStaticEx()
    : logFont_(draw::GetStockFont(draw::DEFAULT_GUI_FONT).GetLogFont()),
      textColour_(draw::GetSysColor(draw::COLOR_WINDOWTEXT)),
      bkColour_(draw::GetSysColor(draw::COLOR_BTNFACE)) {}

void TzrCStaticEx::SubclassDlgItem(int id, ui::Dialog& dlg) {
  host_ = &dlg;
  id_ = id;
  ui::Control c = dlg.Item(id);
  dlg.MapCommand(static_cast<std::uint32_t>(id), [this] { OnClicked(); });
  c.SetOverlayPainter([this, c](draw::Dc& dc, const ui::Rect& client) { Paint(dc, client, c.GetText()); });
  c.SetClickNotify(true);
  c.SetCursorShape(link_.empty() ? ui::Window::Cursor::Arrow : ui::Window::Cursor::Hand);
}

void TzrCStaticEx::Redraw() {
  if (host_ != nullptr) host_->Item(id_).Invalidate();
}

void TzrCStaticEx::SetUnderline(bool on) {
  logFont_.underline = on ? 1 : 0;
  Redraw();
}

void TzrCStaticEx::SetItalic(bool on) {
  logFont_.italic = on ? 1 : 0;
  Redraw();
}

void TzrCStaticEx::SetBold(bool on) {
  logFont_.weight = on ? 700 : 400;
  Redraw();
}

void TzrCStaticEx::SetBkColor(draw::ColorRef colour) {
  bkColour_ = colour;
  Redraw();
}

void TzrCStaticEx::SetTextColor(draw::ColorRef colour) {
  textColour_ = colour;
  Redraw();
}

void TzrCStaticEx::SetLink(const std::string& target, bool linkLook) {
  std::string lower = target;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
  if (lower.find("http") != std::string::npos) {
    link_ = target;
  } else {
    std::error_code ec;
    std::string path = std::filesystem::absolute(target, ec).lexically_normal().string();
    if (ec) path = target;
    // The path's own leading slash is the third slash of the address.
    if (!path.empty() && path.front() == '/') path.erase(0, 1);
    link_ = "file:///" + path;
  }
  if (linkLook) {
    textColour_ = draw::Rgb(0, 0, 255);
    bkColour_ = draw::GetSysColor(draw::COLOR_BTNFACE);
    logFont_.underline = 1;
    logFont_.italic = 0;
    logFont_.weight = 400;
  }
  if (host_ != nullptr) host_->Item(id_).SetCursorShape(ui::Window::Cursor::Hand);
  Redraw();
}

bool TzrCStaticEx::OnSetCursor() { return !link_.empty(); }

bool TzrCStaticEx::OnClicked() {
  if (link_.empty()) return false;
  sys::OpenDocument(link_);
  return true;
}

void TzrCStaticEx::Paint(draw::Dc& dc, const ui::Rect& client, const std::string& text) const {
  dc.FillSolidRect(client, bkColour_);
  const draw::Font font(logFont_);
  const draw::Font oldFont = dc.SelectFont(font);
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef oldColour = dc.SetTextColor(textColour_);
  ui::Rect r = client;
  dc.DrawText(text, &r, draw::DT_SINGLELINE | draw::DT_VCENTER);
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
  dc.SelectFont(oldFont);
}
