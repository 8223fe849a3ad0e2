#pragma once
// What the list panes of the workspace share: a view that places its own controls (a report
// list and the buttons, combos and edits beside it), hears their notifications, and lays
// them out by the row height of the frame's parameter bar.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/document.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;

class LyrWorkspaceListPane : public ui::View, public ui::ControlHost {
 public:
  // The report list every pane shows.
  static constexpr int kListId = 100;

  CQLM2_AnalyzerDoc* Doc() const;
  static CMainFrame* MainFrame();
  ui::Control List() const { return Item(kListId); }

  // Row height of the controls: 1.5 x the height of the parameter bar's first value field,
  // truncated; 30 pixels without that bar.
  static int RowHeight();
  // Width and height of a text in the list's font.
  ui::Size TextSize(std::string_view text) const;

  // Notifications of the pane's controls (WM_NOTIFY); the default does nothing.
  virtual void OnControlNotify(int controlId, int code) {
    (void)controlId;
    (void)code;
  }
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  // Makes a control of a kind at a rectangle (empty: placed by the next layout).
  bool AddControl(ui::ControlKind kind, int id, std::string_view text = {}, const ui::Rect& rect = {});
  // Empties the list and gives it these columns (title, width in pixels).
  void SetListColumns(const std::vector<std::pair<std::string, int>>& columns);

 protected:
  const ui::Window* HostWindow() const override { return this; }
  // Erases the background in the button face colour.
  void FillButtonFace(draw::Dc& dc);
};

// The rows of a search result, kept until they are put into a list in one step.
struct SearchRows {
  int columns = 0;
  std::vector<std::string> cells;
  int Count() const { return columns > 0 ? static_cast<int>(cells.size()) / columns : 0; }
};
