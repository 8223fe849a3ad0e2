#include "app/frame/lyr_page_scroll_bar.h"

int LyrPageScrollBar::Create(const ui::Rect& rect, ui::Window* parent, int id) {
  if (!CreateScrollBar(parent, id, rect)) return 0;
  ReadBack();
  info_.fMask = ui::SIF_ALL;
  info_.nMin = 0;
  info_.nPos = 0;
  info_.nPage = static_cast<std::uint32_t>(info_.nMax) + 1;
  SetScrollInfo(info_, true);
  ReadBack();
  EnableScrollBarArrows(ui::ESB_DISABLE_BOTH);
  return 1;
}

void LyrPageScrollBar::ReadBack() {
  info_.cbSize = sizeof(info_);
  info_.fMask = ui::SIF_ALL;
  GetScrollInfo(info_);
}

void LyrPageScrollBar::OnReflectedScroll(unsigned code, int thumbPos) {
  const std::int64_t min = info_.nMin;
  const std::int64_t max = info_.nMax;
  const std::int64_t page = info_.nPage;
  std::int64_t position = info_.nPos;
  // The last position a whole page can start at.
  const std::int64_t end = max - page + 1;
  const auto beyondEnd = [&] { return static_cast<std::uint32_t>(position) > static_cast<std::uint32_t>(end); };
  if (page <= max && code <= 8) {
    switch (code) {
      case ui::SB_LINELEFT:
        position -= page / 2;
        if (position < min) position = min;
        break;
      case ui::SB_LINERIGHT:
        position += page / 2;
        if (beyondEnd()) position = end;
        break;
      case ui::SB_PAGELEFT:
        position -= page;
        if (position < min) position = min;
        break;
      case ui::SB_PAGERIGHT:
        position += page;
        if (beyondEnd()) position = end;
        break;
      case ui::SB_THUMBPOSITION:
        position = thumbPos;
        break;
      case ui::SB_THUMBTRACK:
      case ui::SB_LEFT:
      case ui::SB_ENDSCROLL:
        return;
      default:  // SB_RIGHT keeps the position
        break;
    }
  }
  ui::ScrollInfo pos;
  pos.fMask = ui::SIF_POS;
  pos.nPos = static_cast<std::int32_t>(position);
  SetScrollInfo(pos, true);
  UpdateArrowState();
  OnScrollChanged(code, thumbPos);
}

void LyrPageScrollBar::UpdateArrowState() {
  ReadBack();
  const std::int64_t page = info_.nPage;
  if (info_.nMax <= page) EnableScrollBarArrows(ui::ESB_DISABLE_BOTH);
  else if (info_.nPos == info_.nMin) EnableScrollBarArrows(ui::ESB_DISABLE_LEFT);
  else if (info_.nMax - page >= info_.nPos) EnableScrollBarArrows(ui::ESB_ENABLE_BOTH);
  else EnableScrollBarArrows(ui::ESB_DISABLE_RIGHT);
}
