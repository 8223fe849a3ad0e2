// The horizontal scroll-bar control over a Qt scroll bar.
#include "platform/ui/scroll_bar.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

#include "platform/ui/qt_internal.h"

namespace ui {

struct ScrollBar::Impl {
  ScrollInfo info;
  unsigned arrows = ESB_ENABLE_BOTH;
  QScrollBar* bar = nullptr;

  // The Qt bar shows the same range: its maximum is the last position a page can start at.
  void Sync() {
    if (bar == nullptr) return;
    const QSignalBlocker block(bar);
    const std::int64_t lastStart = std::max<std::int64_t>(
        info.nMin, static_cast<std::int64_t>(info.nMax) - (info.nPage > 0 ? info.nPage - 1 : 0));
    bar->setRange(info.nMin, static_cast<int>(lastStart));
    bar->setPageStep(static_cast<int>(std::min<std::uint32_t>(info.nPage, 0x7FFFFFFF)));
    bar->setValue(info.nPos);
    bar->setEnabled(arrows != ESB_DISABLE_BOTH);
  }
};

ScrollBar::ScrollBar() : sb_(std::make_unique<Impl>()) {}
ScrollBar::~ScrollBar() = default;

bool ScrollBar::CreateScrollBar(Window* parent, int id, const Rect& rect) { return Create(parent, id, rect, true); }

int ScrollBar::OnCreate() {
  QWidget* w = WidgetOf(this);
  auto* layout = new QHBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  sb_->bar = new QScrollBar(Qt::Horizontal, w);
  layout->addWidget(sb_->bar);
  QObject::connect(sb_->bar, &QAbstractSlider::actionTriggered, sb_->bar, [this](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: Scroll(SB_LINELEFT); break;
      case QAbstractSlider::SliderSingleStepAdd: Scroll(SB_LINERIGHT); break;
      case QAbstractSlider::SliderPageStepSub: Scroll(SB_PAGELEFT); break;
      case QAbstractSlider::SliderPageStepAdd: Scroll(SB_PAGERIGHT); break;
      case QAbstractSlider::SliderToMinimum: Scroll(SB_LEFT); break;
      case QAbstractSlider::SliderToMaximum: Scroll(SB_RIGHT); break;
      case QAbstractSlider::SliderMove: Scroll(SB_THUMBTRACK, sb_->bar->sliderPosition()); return;
      default: break;
    }
    // The position is ours to set: Qt's own step is replaced by it.
    sb_->Sync();
  });
  QObject::connect(sb_->bar, &QAbstractSlider::sliderReleased, sb_->bar, [this] {
    Scroll(SB_THUMBPOSITION, sb_->bar->sliderPosition());
    Scroll(SB_ENDSCROLL);
    sb_->Sync();
  });
  sb_->Sync();
  return 0;
}

void ScrollBar::SetScrollInfo(const ScrollInfo& info, bool redraw) {
  ScrollInfo& s = sb_->info;
  if (info.fMask & SIF_RANGE) {
    s.nMin = info.nMin;
    s.nMax = info.nMax;
  }
  if (info.fMask & SIF_PAGE) s.nPage = info.nPage;
  if (info.fMask & SIF_POS) s.nPos = info.nPos;
  // The control keeps the position between the minimum and the last page start.
  const std::int64_t span = static_cast<std::int64_t>(s.nMax) - s.nMin + 1;
  std::int64_t last = s.nMax;
  if (s.nPage > 0) last = static_cast<std::int64_t>(s.nMax) - s.nPage + 1;
  if (s.nPage > span) last = s.nMin;
  if (last < s.nMin) last = s.nMin;
  s.nPos = static_cast<std::int32_t>(std::clamp<std::int64_t>(s.nPos, s.nMin, last));
  sb_->Sync();
  if (redraw) Invalidate();
}

void ScrollBar::GetScrollInfo(ScrollInfo& info) const {
  const ScrollInfo& s = sb_->info;
  if (info.fMask & SIF_RANGE) {
    info.nMin = s.nMin;
    info.nMax = s.nMax;
  }
  if (info.fMask & SIF_PAGE) info.nPage = s.nPage;
  if (info.fMask & SIF_POS) info.nPos = s.nPos;
  if (info.fMask & SIF_TRACKPOS) info.nTrackPos = sb_->bar != nullptr ? sb_->bar->sliderPosition() : s.nPos;
}

void ScrollBar::EnableScrollBarArrows(unsigned arrows) {
  sb_->arrows = arrows & ESB_DISABLE_BOTH;
  sb_->Sync();
}

unsigned ScrollBar::ArrowState() const { return sb_->arrows; }

void ScrollBar::Scroll(unsigned code, int thumbPos) { OnReflectedScroll(code, thumbPos); }

}  // namespace ui
