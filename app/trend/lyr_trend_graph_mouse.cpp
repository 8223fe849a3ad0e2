// A trend graph as an input surface: the trend cursor, clicks that move the program to an
// epoch or zoom, the item menu, and the logic threshold lines that can be dragged.
#include <algorithm>
#include <cfloat>
#include <optional>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_graph_container.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/lyr_trend_popup_menu.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/ui/messages.h"

namespace {

constexpr int kHitPixels = 5;

draw::ColorRef StageColour() { return DisplayColors[4]; }
draw::ColorRef BackgroundColour() { return DisplayColors[0]; }
draw::ColorRef UpperLineColour() { return DisplayColors[7]; }
draw::ColorRef LowerLineColour() { return DisplayColors[8]; }

bool LogicPaneActive() {
  const CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  return frame != nullptr && frame->WorkspaceTabs.IsLogicPaneActive();
}

}  // namespace

void LyrTrendTrendAreaView::DrawCursor(int onlyNew) {
  if (TrendItemOfGraph(graphNo_).category == 0 || !screenDC_ || screen_.IsNull()) return;
  LyrTrendDummyView* host = container_->Host;
  if (host == nullptr) return;
  EnsureComposed();
  draw::Dc& dc = *screenDC_;
  const int saved = dc.SaveDC();
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, StageColour() ^ BackgroundColour()});
  dc.SetROP2(draw::R2_XORPEN);
  const ui::Rect& r = plotRect_;
  const auto line = [&](std::int32_t epoch) {
    const int x = GetXOfEpoch(epoch);
    dc.MoveTo(x, r.top);
    dc.LineTo(x, r.bottom - 1);
  };
  // The line the picture holds goes first (the previous cursor as the window last drew it).
  if (onlyNew == 0 && drawnCursor_ != -1) {
    line(drawnCursor_);
    drawnCursor_ = -1;
  }
  const std::int32_t current = host->GetCursorEpoch(0);
  if (current != -1 && GetXOfEpoch(current) >= 0) {
    line(current);
    drawnCursor_ = current;
  }
  dc.RestoreDC(saved);
  Present();
  const TrendValue v = current >= 0 ? Values().GetTrendValue(current) : TrendValue{};
  host->SetGraphMark(graphNo_, v.isFloat, v.value, v.floatValue);
}

void LyrTrendTrendAreaView::DrawCursorIfShown() {
  LyrTrendDummyView* host = container_->Host;
  if (host == nullptr) return;
  const std::int32_t current = host->GetCursorEpoch(0);
  if (current != -1 && current >= firstEpoch_ && current < firstEpoch_ + container_->TableSize()) DrawCursor(1);
}

void LyrTrendTrendAreaView::DrawLogicLines(draw::Dc& dc) {
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  if (item.category == 0 || ResultModifiedState == 0 || ScreeningRunning != 0 || ShowLogicLine == 0) return;
  const TrendGraphScale scale = GetScale();
  if (scale.Degenerate()) return;
  float lower = 0.0f, upper = 0.0f;
  LyrTrendTool tool(Doc());
  if (Doc() == nullptr || tool.GetLogicThreshold(graphNo_, lower, upper) == 0) return;
  const ui::Rect& r = Area();
  const int saved = dc.SaveDC();
  dc.SetROP2(draw::R2_COPYPEN);
  const auto line = [&](float value, int state, draw::ColorRef colour) {
    if (!scale.Holds(value)) return;
    const int y = dragState_ == state ? dragY_ : ValueToY(value);
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
    dc.MoveTo(r.left, y);
    dc.LineTo(r.right, y);
  };
  line(upper, 1, UpperLineColour());
  line(lower, 2, LowerLineColour());
  dc.RestoreDC(saved);
}

int LyrTrendTrendAreaView::HitTestLogicLine(ui::Point p) const {
  if (!LogicPaneActive() || Doc() == nullptr) return 0;
  float lower = 0.0f, upper = 0.0f;
  LyrTrendTool tool(Doc());
  if (tool.GetLogicThreshold(graphNo_, lower, upper) == 0) return 0;
  const TrendGraphScale scale = GetScale();
  if (scale.Degenerate()) return 0;
  const auto near = [&](float v) {
    const int y = ValueToY(v);
    return scale.Holds(v) && p.y - kHitPixels <= y && y <= p.y + kHitPixels;
  };
  if (near(upper)) return 1;
  if (near(lower)) return 2;
  return 0;
}

void LyrTrendTrendAreaView::StoreDraggedThreshold(ui::Point p) {
  LyrTrendDummyView* host = container_->Host;
  LyrTrendInfoAreaView* info = host != nullptr ? host->InfoArea() : nullptr;
  if (info != nullptr) info->PushUndo(graphNo_);
  const auto value = static_cast<float>(YToValue(std::clamp(p.y, plotRect_.top, plotRect_.bottom)));
  LyrTrendTool tool(Doc());
  if (dragState_ == 1) tool.SetLogicThreshold(graphNo_, std::nullopt, value);
  else if (dragState_ == 2) tool.SetLogicThreshold(graphNo_, value, std::nullopt);
  if (info != nullptr) info->EnableUndoButton();
}

void LyrTrendTrendAreaView::JumpToCursor() {
  LyrTrendDummyView* host = container_->Host;
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (host == nullptr || frame == nullptr || ScrollDirection != 0) return;
  frame->JumpToEpoch(host->GetCursorEpoch(0), 1);
  if (LyrRawDummyView* raw = frame->RawView())
    if (LyrRawFrame* middle = raw->Row(2); middle != nullptr && middle->AreaView() != nullptr)
      middle->AreaView()->RedrawStageLabels();
  frame->UpdateFrameBarTime();
}

void LyrTrendTrendAreaView::OnLButtonDown(std::uint32_t, ui::Point client) {
  LyrTrendDummyView* host = container_->Host;
  CQLM2_AnalyzerDoc* doc = Doc();
  if (host == nullptr || doc == nullptr || DocumentLoaded == 0 || ResultModifiedState == 0 || ScreeningRunning != 0)
    return;
  // A click past the last epoch stands on the last one.
  const int count = EpochCount();
  const std::int32_t e = std::clamp(EpochAtX(client.x), 0, std::max(count - 1, 0));
  if (TrendZoomState >= 1 && TrendZoomState <= 4) {
    SetTrendTimeScale(ZoomSpanMinutes(TrendZoomState));
    host->SetCursorEpoch(-1, e);
    host->ResetCursorEpoch(1);
    host->ZoomToEpoch(e);
    TrendZoomState = 0;
    return;
  }
  if (ShowLogicLine != 0) {
    if (const int hit = HitTestLogicLine(client); hit != 0) {
      dragState_ = static_cast<std::uint16_t>(hit);
      cursorMoved_ = 0;
      const std::int32_t cursor = host->GetCursorEpoch(0);
      const std::int32_t first = container_->GetEpoch(0);
      if (cursor < first || cursor > first + container_->TableSize()) {
        cursorMoved_ = 1;
        host->SetCursorEpoch(-1, e);
        host->ClearGraphMarks();
      }
      dragY_ = std::clamp(client.y, plotRect_.top, plotRect_.bottom - 1);
      SetCapture();
      return;
    }
  }
  dragState_ = 0;
  host->SetCursorEpoch(-1, e);
  host->ClearGraphMarks();
  host->DrawCursor();
  JumpToCursor();
}

void LyrTrendTrendAreaView::OnMouseMove(std::uint32_t flags, ui::Point client) {
  if (TrendZoomState >= 1 && TrendZoomState <= 4) {
    SetCursorShape(Cursor::Cross);
  } else if (ShowLogicLine != 0 && HitTestLogicLine(client) != 0) {
    SetCursorShape(Cursor::SizeNS);
  } else if (dragState_ == 0) {
    SetCursorShape(Cursor::Arrow);
  }
  if (dragState_ == 0) return;
  if ((flags & ui::MK_LBUTTON) == 0 && GetCapture() != this) {
    // The release was lost (the capture went elsewhere): the drag ends where it stood.
    EndDrag();
    return;
  }
  // The dragged line stays inside the plot.
  dragY_ = std::clamp(client.y, plotRect_.top, plotRect_.bottom - 1);
  Redraw();
}

void LyrTrendTrendAreaView::OnLButtonUp(std::uint32_t, ui::Point client) {
  LyrTrendDummyView* host = container_->Host;
  const bool idle = DocumentLoaded != 0 && ResultModifiedState != 0 && ScreeningRunning == 0 &&
                    !(TrendZoomState >= 1 && TrendZoomState <= 4);
  if (dragState_ != 0 && idle && host != nullptr) {
    if (cursorMoved_ != 0) {
      host->DrawCursor();
      JumpToCursor();
      cursorMoved_ = 0;
    }
    StoreDraggedThreshold(client);
    if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->CloseLogicDlg(1);
  }
  EndDrag();
}

void LyrTrendTrendAreaView::EndDrag() {
  const bool wasDragging = dragState_ != 0;
  dragState_ = 0;
  cursorMoved_ = 0;
  if (GetCapture() == this) ReleaseCapture();
  if (wasDragging) Redraw();
}

void LyrTrendTrendAreaView::OnRButtonUp(std::uint32_t, ui::Point) {
  LyrTrendDummyView* host = container_->Host;
  if (host == nullptr || DocumentLoaded == 0 || ScreeningRunning != 0) return;
  if (TrendZoomState != 0) {
    TrendZoomState = 0;
    return;
  }
  if (LyrTrendFrame* frame = host->Frame()) frame->SetPopupGraph(graphNo_);
  LyrTrendPopUpMenuFrame popup;
  popup.SetOwner(Doc(), this);
  popup.TrackItemMenu();
}

bool LyrTrendTrendAreaView::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  const std::uint32_t id = ui::LowWord(wParam);
  LyrTrendDummyView* host = container_->Host;
  if (id == kCmdTrendScale) {
    OnScale();
    return true;
  }
  if (host != nullptr && TrendItemOfCommand(id)) {
    RunTrendItemCommand(*host, graphNo_, id, this);
    if (LyrTrendFrame* frame = host->Frame()) frame->SetPopupGraph(-1);
    return true;
  }
  if (id == kCmdTrendItemCancel) return true;
  return ui::View::OnCommand(wParam, lParam);
}

void LyrTrendTrendAreaView::OnScale() {
  if (auto* axis = dynamic_cast<LyrTrendTrendAreaAxisView*>(GetParent())) axis->EditScale();
}
