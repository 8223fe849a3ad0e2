#include "app/trend/lyr_trend_info_area_view.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kInputNumber = 9701;  // "Input number."
constexpr int kRows = 20;

std::string Format3(float v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(v));
  return buf;
}

// Graphs whose value label shows the value at the cursor: not the position samples nor a
// breath-by-breath respiration item (their labels keep their text).
bool ShowsCursorValue(const TrendItemKey& item) {
  if (item.category == 17 && item.sub == 0) return false;
  if (item.category >= 14 && item.category <= 16 && (item.sub == 0 || item.sub == 2 || item.sub == 4)) return false;
  return true;
}

}  // namespace

LyrTrendInfoAreaView::LyrTrendInfoAreaView(LyrTrendDummyView* host) : host_(host) { ClearUndo(); }

CQLM2_AnalyzerDoc* LyrTrendInfoAreaView::Doc() const { return dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument()); }

int LyrTrendInfoAreaView::OnCreate() {
  // Metrics from the text "M" in the keys' font.
  {
    draw::Image probe(4, 4, 32);
    draw::Dc dc(probe);
    const draw::Size m = dc.GetTextExtent("M");
    if (m.cx > 0) charWidth_ = m.cx;
    if (m.cy > 0) charHeight_ = m.cy;
    // Five "M" wide, but never narrower than a threshold as the column writes it.
    editWidth_ = std::max(5 * charWidth_, dc.GetTextExtent("-00000.000").cx + 12);
  }
  for (int k = 0; k <= 9; ++k) ui::CreateControl(*this, ui::ControlKind::Button, kKeypadFirstId + k, std::to_string(k), {});
  for (int i = 0; i < kRows; ++i) ui::CreateControl(*this, ui::ControlKind::Static, kValueLabelFirstId + i, "", {}, false);
  for (int i = 0; i < kRows; ++i) {
    ui::CreateControl(*this, ui::ControlKind::Button, kLowerSetFirstId + i, "\xE2\x96\xBC", {});  // down triangle
    ui::CreateControl(*this, ui::ControlKind::Button, kUpperSetFirstId + i, "\xE2\x96\xB2", {});  // up triangle
    ui::CreateControl(*this, ui::ControlKind::Edit, kLowerEditFirstId + i, "", {});
    ui::CreateControl(*this, ui::ControlKind::Edit, kUpperEditFirstId + i, "", {});
    ui::Control(this, kLowerEditFirstId + i).SetLimitText(15);
    ui::Control(this, kUpperEditFirstId + i).SetLimitText(15);
    if (host_ != nullptr) {
      host_->RegisterThresholdEdit(this, kLowerEditFirstId + i);
      host_->RegisterThresholdEdit(this, kUpperEditFirstId + i);
    }
  }
  ui::CreateControl(*this, ui::ControlKind::Button, kUndoButtonId, res::LoadString(9702), {});
  ui::Control(this, kUndoButtonId).Enable(false);
  for (int i = 0; i < kRows; ++i)
    for (int id : {kLowerSetFirstId + i, kUpperSetFirstId + i, kLowerEditFirstId + i, kUpperEditFirstId + i})
      ui::Control(this, id).Enable(false);
  return 0;
}

void LyrTrendInfoAreaView::OnDestroy() {
  if (host_ != nullptr) host_->UnregisterThresholdEdits(this);
}

void LyrTrendInfoAreaView::OnSize(std::uint32_t, int, int) { LayoutControls(); }

void LyrTrendInfoAreaView::LayoutControls() {
  if (!IsWindow()) return;
  const double rowRatio = TrendHypnogramRowRatio();
  const int cw = charWidth_, ch = charHeight_;
  // Keypad in the band beside the hypnogram.
  int frameHeight = GetClientRect().Height();
  if (LyrTrendFrame* frame = host_ != nullptr ? host_->Frame() : nullptr) frameHeight = frame->GetClientRect().Height();
  const double hf = frameHeight * rowRatio;
  const int kh = static_cast<int>(hf * 0.9);
  const int top = (static_cast<int>(hf) - kh) / 2;
  const int w = GetClientRect().Width();
  const int kw = static_cast<int>(w * 0.9);
  const int left = (w - kw) / 2;
  KeyWidth = kw / 3;
  KeyHeight = std::min(kh / 4, 32);
  static constexpr int kKeyRows[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, -1, -1}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c)
      if (const int k = kKeyRows[r][c]; k >= 0)
        ui::Control(this, kKeypadFirstId + k)
            .Move(ui::Rect{left + c * KeyWidth, top + r * KeyHeight, left + (c + 1) * KeyWidth, top + (r + 1) * KeyHeight});
  // Rows beside the graphs.
  const int h = GetClientRect().Height();
  const int y0 = static_cast<int>(h * rowRatio) + 7;
  const int n = TrendGraphCountHeld();
  for (int i = 0; i < kRows; ++i) {
    const bool shown = i < n;
    const int y = (h - y0 - 18) / n * i + y0;
    const auto place = [&](int id, const ui::Rect& r) {
      ui::Control c(this, id);
      c.Move(shown ? r : ui::Rect{-1, -1, -1, -1});
      c.Show(shown);
    };
    place(kValueLabelFirstId + i, ui::Rect{10, y, w, y + ch});
    const int yu = y + ch + 2, yl = y + 2 * ch + 8;
    const int ew = editWidth_;
    place(kUpperEditFirstId + i, ui::Rect{10, yu, 10 + ew, yu + ch + 2});
    place(kUpperSetFirstId + i, ui::Rect{ew + 11, yu, ew + 31, yu + 20});
    place(kLowerEditFirstId + i, ui::Rect{10, yl, 10 + ew, yl + ch + 2});
    place(kLowerSetFirstId + i, ui::Rect{ew + 11, yl, ew + 31, yl + 20});
  }
  ui::Control(this, kUndoButtonId).Move(ui::Rect{10, h - ch - 5, 10 + std::max(5 * cw, editWidth_), h - 2});
  Invalidate();
}

void LyrTrendInfoAreaView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), draw::GetSysColor(draw::COLOR_BTNFACE));
  const int h = r.Height(), ch = charHeight_;
  const int y0 = static_cast<int>(h * TrendHypnogramRowRatio()) + 7;
  const int n = TrendGraphCountHeld();
  const draw::ColorRef upperColour = DisplayColors[7], lowerColour = DisplayColors[8];
  for (int i = 0; i < n; ++i) {
    const int y = (h - y0 - 18) / n * i + y0;
    dc.FillSolidRect(draw::Rect{6, y + ch + 3, 9, y + 2 * ch + 3}, upperColour);
    dc.FillSolidRect(draw::Rect{6, y + 2 * ch + 8, 9, y + 3 * ch + 8}, lowerColour);
  }
}

void LyrTrendInfoAreaView::ShowCursorValues() {
  if (host_ == nullptr || !IsWindow()) return;
  CQLM2_AnalyzerDoc* doc = Doc();
  const int n = TrendGraphCountHeld();
  const int e = host_->GetCursorEpoch(0);
  for (int i = 0; i < n; ++i) {
    const TrendItemKey item = TrendItemOfGraph(i);
    if (!ShowsCursorValue(item)) continue;
    std::string text;
    const bool wholeNight = item.category == 11 || item.category == 12 || item.category == 20 ||
                            item.category == 23 || item.category == 24;
    if (doc != nullptr && (wholeNight || e <= doc->LastScreenedEpoch)) {
      const TrendValue mark = host_->GetGraphMark(i);
      char buf[64];
      if (mark.isFloat != 0) std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(mark.floatValue));
      else std::snprintf(buf, sizeof buf, "%d", mark.value);
      text = buf;
      if (item.category == 17 && item.sub == 1) {
        const int v = mark.value;
        const int count = std::clamp<int>(doc->Params.sleepDstrb.positionsInUse, 0, 6);
        text = v >= 1 && v <= count ? GetPositionName(doc->Params.sleepDstrb, v - 1) : std::string();
      }
      const std::string unit = GetTrendItemUnit(TrendItemSourceOf(*doc), item.category, item.sub, item.third);
      if (!unit.empty()) text += " " + unit;
    }
    ui::Control(this, kValueLabelFirstId + i).SetText(text);
  }
}

void LyrTrendInfoAreaView::ClearRowTexts(int rows) {
  for (int i = 0; i < std::min(rows, kRows); ++i)
    for (int id : {kValueLabelFirstId + i, kUpperEditFirstId + i, kLowerEditFirstId + i}) ui::Control(this, id).SetText("");
}

void LyrTrendInfoAreaView::SetThresholdText() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (ScreeningRunning != 0 || DocumentLoaded == 0 || ResultModifiedState == 0 || doc == nullptr) return;
  const LyrTrendTool tool(doc);
  for (int i = 0; i < TrendGraphCountHeld(); ++i) {
    float lower = 0, upper = 0;
    const bool found = tool.GetLogicThreshold(i, lower, upper) != 0;
    ui::Control(this, kLowerEditFirstId + i).SetText(found ? Format3(lower) : "");
    ui::Control(this, kUpperEditFirstId + i).SetText(found ? Format3(upper) : "");
  }
}

void LyrTrendInfoAreaView::ClearUndo() {
  for (auto& copy : undoCopies_) copy = LogicParam{};
  undoTags_.fill(-1);
  undoCount_ = 0;
}

void LyrTrendInfoAreaView::PushUndo(int tag) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  if (undoCount_ >= kUndoDepth) {
    for (int i = 0; i + 1 < kUndoDepth; ++i) {
      undoCopies_[static_cast<std::size_t>(i)] = undoCopies_[static_cast<std::size_t>(i + 1)];
      undoTags_[static_cast<std::size_t>(i)] = undoTags_[static_cast<std::size_t>(i + 1)];
    }
    undoCopies_[kUndoDepth - 1] = LogicParam{};
    undoTags_[kUndoDepth - 1] = -1;
  }
  const int slot = std::min(undoCount_, kUndoDepth - 1);
  undoCopies_[static_cast<std::size_t>(slot)] = doc->Params.logic;
  undoTags_[static_cast<std::size_t>(slot)] = tag;
  undoCount_ = std::min(undoCount_ + 1, kUndoDepth);
}

void LyrTrendInfoAreaView::PopUndo() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc != nullptr && undoCount_ >= 1 && undoCount_ <= kUndoDepth)
    doc->Params.logic = undoCopies_[static_cast<std::size_t>(undoCount_ - 1)];
}

namespace {
bool LogicPaneShown() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  return frame != nullptr && frame->WorkspaceTabs.IsLogicPaneActive();
}
}  // namespace

int LyrTrendInfoAreaView::EnableUndoButton() {
  const bool on = LogicPaneShown() && undoCount_ >= 1 && undoCount_ <= kUndoDepth;
  ui::Control(this, kUndoButtonId).Enable(on);
  return on ? 1 : 0;
}

void LyrTrendInfoAreaView::EnableThresholdEdit() {
  const bool active = LogicPaneShown();
  EnableUndoButton();
  CQLM2_AnalyzerDoc* doc = Doc();
  const LyrTrendTool tool(doc);
  const int n = TrendGraphCountHeld();
  for (int i = 0; i < kRows; ++i) {
    float lower = 0, upper = 0;
    const bool found = active && doc != nullptr && i < n && tool.GetLogicThreshold(i, lower, upper) != 0;
    for (int id : {kLowerSetFirstId + i, kUpperSetFirstId + i, kLowerEditFirstId + i, kUpperEditFirstId + i})
      ui::Control(this, id).Enable(found);
    if (host_ != nullptr) {
      host_->TrendArea.LogicLower[static_cast<std::size_t>(i)] = found ? lower : FLT_MAX;
      host_->TrendArea.LogicUpper[static_cast<std::size_t>(i)] = found ? upper : -FLT_MAX;
    }
  }
  UpdateWindow();
}

int LyrTrendInfoAreaView::CheckThresholdEdit(std::vector<std::uint8_t>& changed) {
  changed.clear();
  CQLM2_AnalyzerDoc* doc = Doc();
  const LyrTrendTool tool(doc);
  for (int i = 0; i < TrendGraphCountHeld(); ++i) {
    float lower = 0, upper = 0;
    if (doc == nullptr || tool.GetLogicThreshold(i, lower, upper) == 0) {
      ui::Control(this, kLowerEditFirstId + i).SetText("");
      ui::Control(this, kUpperEditFirstId + i).SetText("");
      continue;
    }
    bool any = false;
    if (host_ != nullptr) {
      float& storedUpper = host_->TrendArea.LogicUpper[static_cast<std::size_t>(i)];
      float& storedLower = host_->TrendArea.LogicLower[static_cast<std::size_t>(i)];
      if (storedUpper != upper) {
        ui::Control(this, kUpperEditFirstId + i).SetText(Format3(upper));
        storedUpper = upper;
        any = true;
      }
      if (storedLower != lower) {
        ui::Control(this, kLowerEditFirstId + i).SetText(Format3(lower));
        storedLower = lower;
        any = true;
      }
    }
    if (any) changed.push_back(static_cast<std::uint8_t>(i));
  }
  return changed.empty() ? 0 : 1;
}

bool LyrTrendInfoAreaView::IsThresholdNumber(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789.-") != std::string::npos) return false;
  // One decimal number: an optional leading minus, digits with at most one point, and at
  // least one digit.
  std::size_t i = text[0] == '-' ? 1 : 0;
  int digits = 0, points = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == '.') ++points;
    else if (text[i] == '-') return false;
    else ++digits;
  }
  return digits > 0 && points <= 1;
}

int LyrTrendInfoAreaView::ReadThresholdEdits(int mode, int graph, float& lower, float& upper) {
  if (graph < 0 || graph >= kRows) return 0;
  const auto read = [&](int id, float& out) {
    ui::Control edit(this, id);
    const std::string text = edit.GetText();
    if (!IsThresholdNumber(text)) {
      ui::MessageBox(res::LoadString(kInputNumber), ui::MB_ICONEXCLAMATION);
      edit.SetFocus();
      edit.SelectAll();
      return false;
    }
    out = static_cast<float>(std::atof(text.c_str()));
    return true;
  };
  if ((mode == kThresholdLower || mode == kThresholdBoth) && !read(kLowerEditFirstId + graph, lower)) return 0;
  if ((mode == kThresholdUpper || mode == kThresholdBoth) && !read(kUpperEditFirstId + graph, upper)) return 0;
  return 1;
}

void LyrTrendInfoAreaView::ApplyThreshold(int mode, int graph, float lower, float upper) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  const LyrTrendTool tool(doc);
  if (mode == kThresholdLower || mode == kThresholdBoth) tool.SetLogicThreshold(graph, lower, std::nullopt);
  if (mode == kThresholdUpper || mode == kThresholdBoth) tool.SetLogicThreshold(graph, std::nullopt, upper);
}

bool LyrTrendInfoAreaView::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  const int id = ui::LowWord(wParam);
  const int code = ui::HighWord(wParam);
  if (code != 0 || ScreeningRunning != 0) return ui::View::OnCommand(wParam, lParam);
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  const int n = TrendGraphCountHeld();
  if (id >= kKeypadFirstId && id <= kKeypadFirstId + 9) {
    if (frame != nullptr) frame->HandleNavigationKey(ui::WM_KEYDOWN, static_cast<std::uintptr_t>(id), 0, 1);
  } else if ((id >= kLowerSetFirstId && id < kLowerSetFirstId + n) || (id >= kUpperSetFirstId && id < kUpperSetFirstId + n)) {
    const bool lowerButton = id < kUpperSetFirstId;
    const int graph = id - (lowerButton ? kLowerSetFirstId : kUpperSetFirstId);
    const int mode = lowerButton ? kThresholdLower : kThresholdUpper;
    float lower = 0, upper = 0;
    if (ReadThresholdEdits(mode, graph, lower, upper)) {
      PushUndo(graph);
      ApplyThreshold(mode, graph, lower, upper);
      if (frame != nullptr) frame->CloseLogicDlg(1);
      EnableUndoButton();
    }
  } else if (id == kUndoButtonId && undoCount_ >= 1 && undoCount_ <= kUndoDepth) {
    // The restored condition sets are put back exactly, and the night is scored once.
    PopUndo();
    --undoCount_;
    SetThresholdText();
    EnableThresholdEdit();
    if (frame != nullptr) frame->CloseLogicDlg(1);
    EnableUndoButton();
  }
  return ui::View::OnCommand(wParam, lParam);
}
