#include "app/frame/oo_toolbar.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/res/resource_store.h"

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
  for (auto& list : lists_) {
    list.clear();
    list.reserve(ids.size() + 10);
  }
  ApplySizes();
  return true;
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
    SetButtonImages(id, at(base + 1), at(base), at(base + 2));
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
    lists_[static_cast<std::size_t>(base)].push_back(ScaleIcon(hot, size, size));
    lists_[static_cast<std::size_t>(base + 1)].push_back(ScaleIcon(normal, size, size));
    lists_[static_cast<std::size_t>(base + 2)].push_back(ScaleIcon(disabled, size, size));
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
