#pragma once
// Parsers of the menu, accelerator and dialog resources (plain text files embedded from
// resources/<lang>/menus/<id>.menu, accel/<id>.accel and dialogs/<id>.dlg).
//
// Common lexical rules: one entry a line; '#' at the start of a line (after blanks) begins a
// comment; texts are in double quotes with the escapes \" \\ \n \t; numbers are decimal.
//
// Menu file: one item a line, nested by indentation (two blanks a level):
//     popup "&File"
//       item 57601 "&Open...\tCtrl+O"
//       separator
//       item 57616 "Recent File" grayed
//     popup "&View"
//       item 59392 "&Toolbar" checked
// Flags after an item: grayed, checked.
//
// Accelerator file: "<keys> <command>" a line, keys as modifiers and one key joined by '+':
//     Ctrl+O 57601
//     Shift+F5 32790
// Keys: A-Z, 0-9, F1-F24, Num0-Num9, Left, Right, Up, Down, PageUp, PageDown, Home, End,
// Insert, Delete, Space, Enter, Escape, Tab, Back, Add, Subtract, Multiply, Divide.
//
// Dialog file: the caption, then the controls in reading order. Controls stack top to bottom;
// "row" ... "end" puts controls side by side, "column" ... "end" stacks them inside a row,
// "group <id> "Title"" ... "end" frames its controls in a group box, "page "Title"" ... "end"
// (inside a "tabs" block) is one page of a tab control. "grid" ... "end" holds rows whose
// controls line up in columns (a "stretch" leaves its cell empty). Indentation is free.
//     caption "EpochJump"
//     row
//       static -1 "Input epoch number:"
//       edit 1958 chars=10
//     end
//     buttons
//       button 1 "OK" default
//       button 2 "Cancel"
//     end
// "buttons" is a row aligned to the right edge. A control line is "<kind> <id> ["text"]
// [styles]". Kinds: button, check, radio, edit, static, group, list (report list), listbox,
// combo, slider, spin, tabs, tree, datetime, richedit, progress, stretch (empty room).
// Styles: default, disabled, hidden, readonly, multiline, password, number, dropdown (an
// editable combo), sort, vertical, noheader (a report list without column titles), newgroup (the first radio of a group), chars=<n>
// (minimum width in characters), maxchars=<n> (maximum width in characters), lines=<n> (minimum height in text lines), maxlines=<n> (a report list at most n rows high),
// range=<lo>:<hi> (slider, spin, progress), wrap (a row whose items go onto further lines
// when the window is narrower than one line; a nested row stays together as one item),
// pushlike (a check shown as a push button that stays down while checked).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace res {

struct MenuNode {
  enum class Kind { Item, Separator, Popup };
  Kind kind = Kind::Item;
  std::uint32_t id = 0;
  std::string text;
  bool grayed = false;
  bool checked = false;
  std::vector<MenuNode> children;
};

struct AccelNode {
  std::uint32_t vk = 0;
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  std::uint32_t command = 0;
};

struct DialogNode {
  // Layout kinds: Row, Column, Buttons, Group, Tabs, Page; the others are controls.
  std::string kind;
  int id = 0;
  std::string text;
  std::vector<std::string> styles;
  std::vector<DialogNode> children;
  bool HasStyle(std::string_view s) const;
  // Value of a "name=value" style, or empty.
  std::string StyleValue(std::string_view name) const;
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  std::vector<DialogNode> nodes;  // top level, stacked top to bottom
};

// Parsers: nullopt with a message naming the line on a malformed file.
std::optional<std::vector<MenuNode>> ParseMenu(std::string_view text, std::string* error = nullptr);
std::optional<std::vector<AccelNode>> ParseAccelerators(std::string_view text, std::string* error = nullptr);
std::optional<DialogTemplate> ParseDialog(std::string_view text, std::string* error = nullptr);
// Virtual key of a key name ("F5", "PageUp", "Num3", "A"), 0 when unknown.
std::uint32_t KeyFromName(std::string_view name);

// Loaders from the embedded resources of a language (1033 or 1041). nullopt when the file is
// missing or malformed (the message goes to *error).
std::optional<std::vector<MenuNode>> LoadMenuResource(std::uint32_t id, std::uint16_t languageId, std::string* error = nullptr);
std::optional<std::vector<AccelNode>> LoadAccelResource(std::uint32_t id, std::uint16_t languageId, std::string* error = nullptr);
std::optional<DialogTemplate> LoadDialogResource(std::uint32_t id, std::uint16_t languageId, std::string* error = nullptr);

}  // namespace res
