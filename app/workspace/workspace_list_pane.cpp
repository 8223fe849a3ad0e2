#include "app/workspace/workspace_list_pane.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/parameter_bar.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/messages.h"

CQLM2_AnalyzerDoc* LyrWorkspaceListPane::Doc() const { return dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument()); }

CMainFrame* LyrWorkspaceListPane::MainFrame() { return CQLM2_AnalyzerDoc::MainFrame(); }

int LyrWorkspaceListPane::RowHeight() {
  CMainFrame* frame = MainFrame();
  auto* bar = frame != nullptr ? dynamic_cast<ui::DialogBar*>(frame->ParameterBar) : nullptr;
  if (bar == nullptr || !bar->IsWindow() || !bar->HasControl(kParameterBarValue[0])) return 30;
  const int h = bar->Item(kParameterBarValue[0]).GetClientRect().Height();
  return h > 0 ? h * 3 / 2 : 30;
}

ui::Size LyrWorkspaceListPane::TextSize(std::string_view text) const {
  draw::Image scratch(1, 1, 32);
  draw::Dc dc(scratch);
  return dc.GetTextExtent(text);
}

std::intptr_t LyrWorkspaceListPane::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == ui::WM_NOTIFY) {
    if (const auto* h = reinterpret_cast<const ui::NotifyHeader*>(lParam)) OnControlNotify(h->idFrom, h->code);
    return 0;
  }
  if (msg == ui::WM_COMMAND && ui::HighWord(wParam) != ui::BN_CLICKED) return 0;
  return ui::View::WindowProc(msg, wParam, lParam);
}

bool LyrWorkspaceListPane::AddControl(ui::ControlKind kind, int id, std::string_view text, const ui::Rect& rect) {
  return ui::CreateControl(*this, kind, id, text, rect);
}

void LyrWorkspaceListPane::SetListColumns(const std::vector<std::pair<std::string, int>>& columns) {
  ui::Control list = List();
  list.DeleteAllItems();
  while (list.GetColumnCount() > 0 && list.DeleteColumn(0)) {
  }
  for (const auto& [title, width] : columns) list.InsertColumn(-1, title, width);
}

void LyrWorkspaceListPane::FillButtonFace(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), draw::GetSysColor(draw::COLOR_BTNFACE));
}
