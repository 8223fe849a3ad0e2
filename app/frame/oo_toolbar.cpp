#include "app/frame/oo_toolbar.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/res/resource_store.h"
#include "platform/ui/frame.h"

namespace {

// Command ids of a tool-bar resource, in order; empty when there is none.
std::vector<std::uint32_t> ReadToolBarResource(std::uint32_t id) {
  const std::string name = "/toolbars/" + std::to_string(id) + ".toolbar";
  std::string_view text = res::FileText(std::string(res::LanguageFolder(res::CurrentLanguage())) + name);
  if (text.empty()) text = res::FileText("en" + name);
  std::vector<std::uint32_t> ids;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::uint32_t value = 0;
    if (std::from_chars(line.data(), line.data() + line.size(), value).ec == std::errc()) ids.push_back(value);
  }
  return ids;
}

}  // namespace

std::string COOExToolBar::ToolTipPart(const std::string& prompt) {
  const std::size_t nl = prompt.rfind('\n');
  return nl == std::string::npos ? prompt : prompt.substr(nl + 1);
}

bool COOExToolBar::LoadToolBar(std::uint32_t resourceId) {
  const std::vector<std::uint32_t> ids = ReadToolBarResource(resourceId);
  if (ids.empty()) return false;
  std::vector<std::string> texts(ids.size());
  for (std::size_t i = ids.size(); i-- > 0;) {
    if (ids[i] == 0) continue;
    texts[i] = ToolTipPart(res::LoadString(ids[i]));
  }
  SetButtons(ids, texts);
  // The buttons start right of the gripper.
  SetLeadingMargin(3 + 5 + 3 + 5);
  // The largest text decides the text size of every button.
  auto dc = draw::Dc::CreateCompatibleDC(nullptr);
  textSize_ = ui::Size{0, 0};
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == 0) continue;
    SetButtonText(ids[i], texts[i]);
    if (texts[i].empty()) continue;
    const ui::Size s = dc->GetTextExtent(texts[i]);
    textSize_.cx = std::max(textSize_.cx, s.cx);
    textSize_.cy = std::max(textSize_.cy, s.cy);
  }
  states_.assign(ids.size(), ButtonState{});
  CreateImageLists(dc->GetDeviceCaps(draw::BITSPIXEL));
  for (auto& list : lists_) list.reserve(ids.size() + 10);
  ApplySizes();
  return true;
}

int COOExToolBar::ImageListColourBits(int screenBitsPerPixel) { return screenBitsPerPixel > 8 ? 24 : 4; }

void COOExToolBar::CreateImageLists(int screenBitsPerPixel) {
  listBits_ = ImageListColourBits(screenBitsPerPixel);
  for (auto& list : lists_) list.clear();
}

draw::Image COOExToolBar::ToListDepth(const draw::Image& image) const {
  if (image.IsNull() || image.BitsPerPixel() == listBits_) return image;
  draw::Image out(image.Width(), image.Height(), listBits_);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) out.SetPixel(x, y, image.GetPixel(x, y));
  return out;
}

COOExToolBar::ButtonState COOExToolBar::GetButtonState(std::uint32_t id) const {
  for (int i = 0; i < GetButtonCount() && i < static_cast<int>(states_.size()); ++i)
    if (GetButtonId(i) == id) return states_[static_cast<std::size_t>(i)];
  return {};
}

bool COOExToolBar::ApplyButtonUpdate(std::uint32_t id, const ui::CmdUI& cmd) {
  int index = -1;
  for (int i = 0; i < GetButtonCount(); ++i)
    if (id != 0 && GetButtonId(i) == id) index = i;
  if (index < 0) return false;
  if (states_.size() < static_cast<std::size_t>(GetButtonCount())) states_.resize(static_cast<std::size_t>(GetButtonCount()));
  ButtonState& state = states_[static_cast<std::size_t>(index)];
  const ButtonState old = state;
  if (cmd.IsEnabled()) {
    state.disabled = false;
  } else {
    state.disabled = true;
    state.pressed = false;
  }
  switch (cmd.Checked()) {
    case 0: state.pressed = false; state.indeterminate = false; break;
    case 1: state.pressed = true; break;
    case 2: state.indeterminate = true; break;
    default: break;
  }
  if (state == old) return false;
  SetButtonEnabled(id, !state.disabled);
  if (cmd.Checked() >= 0 || old.pressed != state.pressed) SetButtonChecked(id, state.pressed);
  if (old.indeterminate != state.indeterminate) ApplyImageLists();
  Invalidate();
  return true;
}

void COOExToolBar::OnUpdateCmdUI(ui::Frame* target) {
  if (target == nullptr) return;
  for (int i = 0; i < GetButtonCount(); ++i) {
    const std::uint32_t id = GetButtonId(i);
    if (id == 0) continue;
    ApplyButtonUpdate(id, ui::QueryCommandState(*target, id));
  }
}

ui::Size COOExToolBar::CalcLayout(int length, bool horizontal, std::vector<ui::Rect>* places) const {
  const ui::Size button = GetButtonExtent();
  // Along the row and across it.
  const int along = horizontal ? button.cx : button.cy;
  const int across = horizontal ? button.cy : button.cx;
  if (places != nullptr) places->clear();
  int pos = 0;
  int rowStart = 0;  // offset of the current row across the bar
  int longest = 0;
  bool any = false;
  for (int i = 0; i < GetButtonCount(); ++i) {
    const bool separator = GetButtonId(i) == 0;
    const int extent = separator ? kSeparatorWidth : along;
    if (pos > 0 && pos + extent > length) {
      longest = std::max(longest, pos);
      rowStart += across;
      pos = 0;
      if (separator) {
        // A separator that ends a row leaves a row's height of room instead.
        rowStart += across;
        if (places != nullptr) places->push_back(ui::Rect{});
        continue;
      }
    }
    const ui::Rect r = horizontal ? ui::Rect{pos, rowStart, pos + extent, rowStart + across}
                                  : ui::Rect{rowStart, pos, rowStart + across, pos + extent};
    if (places != nullptr) places->push_back(r);
    pos += extent;
    any = true;
  }
  longest = std::max(longest, pos);
  if (!any) return ui::Size{0, 0};
  const int depth = rowStart + across;
  return horizontal ? ui::Size{longest, depth} : ui::Size{depth, longest};
}

ui::Size COOExToolBar::CalcFixedLayout(bool stretch, bool horizontal, int length) const {
  ui::Size size = CalcLayout(kUnlimitedLength, horizontal);
  if (stretch) {
    if (horizontal) size.cx = std::max(size.cx, length);
    else size.cy = std::max(size.cy, length);
  }
  return size;
}

void COOExToolBar::SetDisplayMode(std::uint32_t mode) {
  displayMode_ = mode;
  ApplyImageLists();
  ApplySizes();
}

void COOExToolBar::SetTextLabels(bool on) {
  textLabels_ = on;
  ApplySizes();
}

void COOExToolBar::ApplyImageLists() {
  const int base = displayMode_ == 0 ? kSmallHot : kLargeHot;
  std::size_t image = 0;
  for (int i = 0; i < GetButtonCount(); ++i) {
    const std::uint32_t id = GetButtonId(i);
    if (id == 0) continue;
    const auto at = [&](int list) {
      const auto& l = lists_[static_cast<std::size_t>(list)];
      return image < l.size() ? l[image] : draw::Image();
    };
    // An indeterminate button shows its greyed look while it can still be clicked.
    const bool grey = i < static_cast<int>(states_.size()) && states_[static_cast<std::size_t>(i)].indeterminate;
    if (grey) SetButtonImages(id, at(base + 2), at(base + 2), at(base + 2));
    else SetButtonImages(id, at(base + 1), at(base), at(base + 2));
    ++image;
  }
}

ui::Size COOExToolBar::GetButtonExtent() const {
  const int image = displayMode_ == 0 ? 16 : 32;
  ui::Size size{image + 8, image + 7};
  if (textLabels_) {
    size.cx = std::max(size.cx, textSize_.cx);
    size.cy += textSize_.cy;
  }
  return size;
}

void COOExToolBar::ApplySizes() {
  const int image = displayMode_ == 0 ? 16 : 32;
  SetButtonLayout(GetButtonExtent(), ui::Size{image, image}, textLabels_);
}

void COOExToolBar::PaintGripper(draw::Dc& dc, const ui::Rect& window, bool horizontal) {
  const draw::ColorRef light = draw::GetSysColor(draw::COLOR_BTNHIGHLIGHT);
  const draw::ColorRef shadow = draw::GetSysColor(draw::COLOR_BTNSHADOW);
  const ui::Rect r{window.left + 3, window.top + 3, window.right - 3, window.bottom - 3};
  for (const int offset : {0, 5}) {
    if (horizontal) dc.Draw3dRect(ui::Rect{r.left + offset, r.top, r.left + offset + 3, r.bottom}, light, shadow);
    else dc.Draw3dRect(ui::Rect{r.left, r.top + offset, r.right, r.top + offset + 3}, light, shadow);
  }
}

void COOExToolBar::OnPaint(draw::Dc& dc) {
  const ui::Rect client = GetClientRect();
  dc.FillSolidRect(client, draw::GetSysColor(draw::COLOR_BTNFACE));
  PaintGripper(dc, client, true);
}

void COOIconToolBar::AddIcon(std::uint32_t normalId, std::uint32_t disabledId, std::uint32_t hotId) {
  const draw::Image normal = ui::LoadIconImage(normalId);
  const draw::Image hot = hotId != 0 ? ui::LoadIconImage(hotId) : normal;
  const draw::Image disabled = disabledId != 0 ? ui::LoadIconImage(disabledId) : MakeGreyIcon(normal);
  for (const int size : {16, 32}) {
    const int base = size == 16 ? kSmallHot : kLargeHot;
    lists_[static_cast<std::size_t>(base)].push_back(ToListDepth(ScaleIcon(hot, size, size)));
    lists_[static_cast<std::size_t>(base + 1)].push_back(ToListDepth(ScaleIcon(normal, size, size)));
    lists_[static_cast<std::size_t>(base + 2)].push_back(ToListDepth(ScaleIcon(disabled, size, size)));
  }
  ApplyImageLists();
}

draw::Image COOIconToolBar::MakeGreyIcon(const draw::Image& icon) {
  if (icon.IsNull()) return {};
  draw::Image grey(icon.Width(), icon.Height(), 24);
  for (int y = 0; y < icon.Height(); ++y) {
    for (int x = 0; x < icon.Width(); ++x) {
      const draw::ColorRef c = icon.GetPixel(x, y);
      const int r = draw::GetRValue(c);
      const int g = draw::GetGValue(c);
      const int b = draw::GetBValue(c);
      const int v = static_cast<int>(std::sqrt((r * r + g * g + b * b) / 3.0));
      grey.SetPixel(x, y, draw::Rgb(v, v, v));
    }
  }
  return grey;
}

draw::Image COOIconToolBar::ScaleIcon(const draw::Image& icon, int width, int height) {
  if (icon.IsNull() || width < 1 || height < 1) return {};
  if (icon.Width() == width && icon.Height() == height) return icon;
  draw::Image out(width, height, 24);
  for (int y = 0; y < height; ++y) {
    const int y0 = y * icon.Height() / height;
    const int y1 = std::max(y0 + 1, (y + 1) * icon.Height() / height);
    for (int x = 0; x < width; ++x) {
      const int x0 = x * icon.Width() / width;
      const int x1 = std::max(x0 + 1, (x + 1) * icon.Width() / width);
      int r = 0, g = 0, b = 0, n = 0;
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          const draw::ColorRef c = icon.GetPixel(sx, sy);
          r += draw::GetRValue(c);
          g += draw::GetGValue(c);
          b += draw::GetBValue(c);
          ++n;
        }
      }
      out.SetPixel(x, y, draw::Rgb(r / n, g / n, b / n));
    }
  }
  return out;
}
