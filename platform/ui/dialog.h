#pragma once
// Dialogs built from templates (resources/<lang>/dialogs/<id>.dlg, see
// platform/res/ui_resource.h), with their controls addressed by numeric id.
//
// Modal: DoModal builds the window, runs OnInitDialog and returns the code given to
// EndDialog (IDOK, IDCANCEL...), -1 when the template is missing. Under the offscreen platform
// the dialog is driven by the testing script instead of a modal loop.
// Modeless: CreateModeless builds and shows it and returns at once; EndDialog hides it and
// calls the close callback with the code; the owner destroys it.
//
// Control notifications arrive as WM_COMMAND (clicks BN_CLICKED; edits EN_CHANGE and, when
// they lose the focus, EN_KILLFOCUS; combos
// CBN_SELCHANGE, CBN_DROPDOWN, CBN_CLOSEUP; list boxes LBN_SELCHANGE, LBN_DBLCLK) and as
// notify codes (report lists LVN_ITEMCHANGED, NM_CLICK, NM_DBLCLK, LVN_COLUMNCLICK, LVN_ENDSCROLL,
// HDN_ITEMCHANGED; tabs
// TCN_SELCHANGE; trees TVN_SELCHANGED; date-time DTN_DATETIMECHANGE; spins UDN_DELTAPOS;
// sliders TB_THUMBTRACK). Handlers are mapped with MapCommand (clicks) and MapNotify (the
// rest). IDOK and IDCANCEL clicks, Enter and Esc end in OnOK and OnCancel unless mapped.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/window.h"

namespace res {
struct DialogTemplate;
}

namespace ui {

class Dialog;

enum class ControlKind {
  None, Button, Check, Radio, Edit, Static, Group, ReportList, ListBox, Combo, Slider, Spin, Tab, Tree,
  DateTime, RichEdit, Progress
};

struct DateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A control of a dialog or dialog bar by id. Operations that do not fit the control's kind do
// nothing and return the empty answer (0, -1 for indexes, "").
class Control {
 public:
  Control(const Window* owner, int id) : owner_(owner), id_(id) {}
  bool Exists() const;
  int Id() const { return id_; }
  ControlKind Kind() const;

  // All kinds.
  void SetText(std::string_view text);
  std::string GetText() const;
  void Enable(bool enable = true);
  bool IsEnabled() const;
  void Show(bool show = true);
  bool IsVisible() const;
  void SetFocus();
  // Client rectangle of the control (0, 0, width, height) and its place in the owner's client
  // area.
  Rect GetClientRect() const;
  Rect GetRectInOwner() const;
  // Drawing of the program's own over the control (colour swatches, underlines): the painter
  // runs after the control has drawn itself, on every repaint. An empty function removes it.
  void SetOverlayPainter(std::function<void(draw::Dc& dc, const Rect& client)> painter);
  // Repaints the control.
  void Invalidate();
  // Pointer shape while over the control.
  void SetCursorShape(Window::Cursor cursor);
  // Statics: a left click sends the click notification (BN_CLICKED) to the owner.
  void SetClickNotify(bool on);
  // Called with true when the pointer enters the control and false when it leaves.
  void SetHoverHandler(std::function<void(bool entered)> handler);
  void SetToolTip(std::string_view text);
  // Push buttons: the dialog's default button; held down by the mouse or the keyboard.
  bool IsDefaultButton() const;
  bool IsPressed() const;
  bool HasFocus() const;

  // Check boxes and radios: 0 off, 1 on.
  void SetCheck(int check);
  int GetCheck() const;
  // Moves the control within its owner's client area (controls placed by the program).
  void Move(const Rect& rectInOwner);
  // Edits and rich edits.
  void SetReadOnly(bool readOnly);
  // Selects the whole text of an edit and scrolls the caret into view.
  void SelectAll();
  void ReplaceSel(std::string_view text);   // appends at the end for rich edits
  void SetLimitText(int chars);
  // Selects characters start..end of an edit (end -1: to the end of the text).
  void SetSel(int start, int end);

  // Combos, list boxes, tab controls (tabs as strings), report lists (rows).
  void ResetContent();
  int AddString(std::string_view text);                 // index of the new entry
  int InsertString(int index, std::string_view text);   // -1 appends
  bool DeleteString(int index);
  int GetCount() const;
  int GetCurSel() const;                                // -1 when none
  void SetCurSel(int index);                            // -1 clears
  std::string GetString(int index) const;
  int FindStringExact(std::string_view text) const;     // -1 when absent
  void SetItemData(int index, std::intptr_t data);
  std::intptr_t GetItemData(int index) const;
  // Multiple selection of list boxes and report lists.
  void SetSelected(int index, bool selected);
  bool IsSelected(int index) const;
  std::vector<int> GetSelectedIndexes() const;

  // Report lists.
  int InsertColumn(int col, std::string_view title, int widthPx = 100);
  int GetColumnCount() const;
  int InsertItem(int row, std::string_view text);       // -1 appends; returns the row
  bool SetItemText(int row, int col, std::string_view text);
  std::string GetItemText(int row, int col) const;
  void DeleteAllItems();
  void SetFullRowSelect(bool on);
  void SetGridLines(bool on);
  void SetMultiSelect(bool on);
  // Scrolls the row into view.
  void EnsureVisible(int row);
  // Draws the cell as a box of the colour (COLORREF) in place of its text; false removes it.
  void SetItemSwatch(int row, int col, bool on, std::uint32_t colorref);
  // Removes a column with its cells; false when there is none at col.
  bool DeleteColumn(int col);
  // Sizes every column to the widest of its title and cells.
  void AutoSizeColumns();
  // The same over the first `rows` rows only: quick for long lists of alike rows.
  void AutoSizeColumnsToRows(int rows);
  // Appends rows at once: cells row after row, `columns` texts a row (the last row may be
  // short). Far quicker than a row at a time for long lists.
  void AppendRows(const std::vector<std::string>& cells, int columns);
  // Redrawing off while a list is refilled, on again afterwards.
  void SetRedraw(bool on);
  // The column whose title was clicked last (-1: none yet); a click on a title as the user
  // would (LVN_COLUMNCLICK), false when there is no such column or the list is disabled.
  int ClickedColumn() const;
  bool ClickColumn(int col);
  // Horizontal scroll position in pixels (the user's scrolling sends LVN_ENDSCROLL; setting
  // it does not) and its largest value.
  int GetScrollX() const;
  void SetScrollX(int px);
  // Scrolls to px as the user would (LVN_ENDSCROLL when the position changes).
  void ScrollHorizontally(int px);
  int GetScrollXMax() const;
  std::string GetColumnTitle(int col) const;
  // Column widths in pixels (the user's resizing sends HDN_ITEMCHANGED; setting does not).
  int GetColumnWidth(int col) const;
  void SetColumnWidth(int col, int widthPx);

  // Sliders, spins, progress bars; time pickers (seconds of the day).
  void SetRange(int low, int high);
  int GetRangeLow() const;
  int GetRangeHigh() const;
  // Sliders: the move of a click beside the thumb.
  void SetPageSize(int size);
  int GetPageSize() const;
  void SetPos(int pos);
  int GetPos() const;
  void SetStep(int step);
  void StepIt();

  // Trees: items are handles > 0; parent 0 is the root.
  int InsertTreeItem(std::string_view text, int parent = 0);
  int GetSelectedTreeItem() const;
  void SelectTreeItem(int item);
  std::string GetTreeItemText(int item) const;
  void DeleteAllTreeItems();

  // Date-time pickers.
  void SetDateTime(const DateTime& t);
  DateTime GetDateTime() const;

 private:
  const Window* owner_;
  int id_;
};

// A control placed by the program in a window that is not a dialog (a view's buttons,
// edits, labels, report lists, drop-down lists and radios): kind Button, Edit, Static,
// ReportList, Combo or Radio, at rectInOwner (an empty rectangle leaves it unplaced). A radio
// joins the group of the radio placed before it in the same window. Its notifications arrive
// at the window as a dialog's do (WM_COMMAND; WM_NOTIFY with a NotifyHeader for lists); it is
// addressed with Control(&window, id). False for another kind or a window not created.
bool CreateControl(Window& owner, ControlKind kind, int id, std::string_view text, const Rect& rectInOwner,
                   bool visible = true);

// Shared by dialogs and dialog bars: the controls built from a template.
class ControlHost {
 public:
  virtual ~ControlHost() = default;
  Control Item(int id) const { return Control(HostWindow(), id); }
  bool HasControl(int id) const { return Item(id).Exists(); }
  // Ids of all controls in reading order (statics with id -1 left out).
  std::vector<int> ControlIds() const;

  // The familiar shorthands.
  void SetDlgItemText(int id, std::string_view text) { Item(id).SetText(text); }
  std::string GetDlgItemText(int id) const { return Item(id).GetText(); }
  void SetDlgItemInt(int id, long long value) { Item(id).SetText(std::to_string(value)); }
  // Leading blanks, sign and digits as the system reads them; ok false when none.
  long long GetDlgItemInt(int id, bool* ok = nullptr) const;
  void CheckDlgButton(int id, int check) { Item(id).SetCheck(check); }
  int IsDlgButtonChecked(int id) const { return Item(id).GetCheck(); }
  // Checks `check` and clears the other radios with ids first..last.
  void CheckRadioButton(int first, int last, int check);
  // The checked radio among first..last, or 0.
  int GetCheckedRadioButton(int first, int last) const;
  void EnableItem(int id, bool enable) { Item(id).Enable(enable); }
  void ShowItem(int id, bool show) { Item(id).Show(show); }

 protected:
  virtual const Window* HostWindow() const = 0;
};

class Dialog : public Window, public ControlHost {
 public:
  explicit Dialog(int templateId, Window* parent = nullptr);
  // A dialog from a template given in place of a resource (generated dialogs, tests).
  Dialog(const res::DialogTemplate& tmpl, Window* parent = nullptr);
  ~Dialog() override;

  int TemplateId() const;
  virtual int DoModal();
  bool CreateModeless(Window* parent = nullptr);
  // Modeless page inside its parent's client area (a tab page): built hidden at rectInParent,
  // OnInitDialog runs, then it stays hidden until shown.
  bool CreatePage(Window* parent, const Rect& rectInParent);
  // Child panel laid out inside the parent's group box `holderId`: the group grows to hold
  // it, it moves and hides with the parent. Shown at once; false without such a group.
  bool CreateInside(Window* parent, int holderId);
  bool IsModal() const;
  void EndDialog(int result);
  bool IsEnded() const;
  int EndCode() const;
  // Called with the end code when a modeless dialog ends.
  void SetCloseCallback(std::function<void(int)> callback);

  // Return true to let the first control take the focus.
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Notify codes not mapped with MapNotify; default nothing.
  virtual void OnNotify(int controlId, int code) { (void)controlId; (void)code; }

  // Clicks a control as the user would (buttons, checks, radios): the state changes and the
  // notification is delivered. False when absent or disabled.
  bool ClickButton(int id);

  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  int OnCreate() override;

  struct State;  // platform internal

 protected:
  const Window* HostWindow() const override { return this; }

 private:
  std::unique_ptr<State> state_;
};

// Record of WM_NOTIFY's lParam.
struct NotifyHeader {
  int idFrom = 0;
  int code = 0;
};

// Builds the controls of a template into a window (dialogs and dialog bars). Platform internal.
bool BuildControls(Window& host, const res::DialogTemplate& tmpl);


}  // namespace ui
