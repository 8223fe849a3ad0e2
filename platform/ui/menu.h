#pragma once
// Menus and accelerator tables. Menus are loaded from resources/<lang>/menus/<id>.menu and
// accelerators from resources/<lang>/accel/<id>.accel (see platform/res/menu_resource.h) in
// the current language, and can be changed at run time. A Menu is a plain tree; the frame
// that shows it reads it each time a popup opens (call Frame::DrawMenuBar after changing the
// top level).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Menu;

struct MenuItem {
  enum class Kind { Command, Separator, Popup };
  Kind kind = Kind::Command;
  std::uint32_t id = 0;           // command id (0 for separators and popups)
  std::string text;               // "&Open...\tCtrl+O": & marks the mnemonic, tab the shortcut
  bool enabled = true;
  bool checked = false;
  std::shared_ptr<Menu> popup;    // for Kind::Popup
};

// Positions count from 0 within one menu level. Operations "by command" search the whole tree.
class Menu {
 public:
  Menu();
  ~Menu();

  // Loads the menu of that resource id in the current language; null when there is none.
  static std::unique_ptr<Menu> Load(std::uint32_t resourceId);
  static std::unique_ptr<Menu> Load(std::uint32_t resourceId, std::uint16_t languageId);

  int GetItemCount() const { return static_cast<int>(items_.size()); }
  const MenuItem& ItemAt(int pos) const { return items_.at(static_cast<std::size_t>(pos)); }
  // Popup at a position of this level, or null.
  Menu* GetSubMenu(int pos) const;
  // Position of the item with that command at this level, or -1.
  int FindPosition(std::uint32_t id) const;
  // True when the command is anywhere in this menu or its popups.
  bool Contains(std::uint32_t id) const;
  // The item with that command anywhere in the tree, or null.
  MenuItem* Find(std::uint32_t id);
  const MenuItem* Find(std::uint32_t id) const;
  std::string GetItemText(std::uint32_t id) const;  // empty when not found

  // Appends or inserts (pos -1 or past the end appends).
  void AppendItem(std::uint32_t id, std::string_view text);
  void AppendSeparator();
  void AppendPopup(std::string_view text, std::shared_ptr<Menu> popup);
  void InsertItem(int pos, std::uint32_t id, std::string_view text);
  void InsertSeparator(int pos);
  // Removes the first item with that command anywhere in the tree; false when there was none.
  bool DeleteCommand(std::uint32_t id);
  bool RemoveAt(int pos);
  // Set state of a command anywhere in the tree; false when not found.
  bool EnableItem(std::uint32_t id, bool enable);
  bool CheckItem(std::uint32_t id, bool check);
  bool SetItemText(std::uint32_t id, std::string_view text);
  bool IsItemEnabled(std::uint32_t id) const;
  bool IsItemChecked(std::uint32_t id) const;

  // Appends a ready item (used by the resource loader).
  void Append(MenuItem item);

 private:
  std::vector<MenuItem> items_;
};

class Window;
struct PopupPosition {
  int x = 0;  // screen pixels
  int y = 0;
};

// Shows a popup (context) menu at a screen position and waits for the choice. With
// TPM_RETURNCMD the chosen command is returned (0 for none); otherwise the choice is sent to
// owner as WM_COMMAND and the result is non-zero when something was chosen. Before showing,
// the owner's frame runs the popup's update handlers when owner is a Frame. Under the offscreen
// platform the choice comes from the testing script (testhooks::AnswerPopupMenu).
inline constexpr std::uint32_t TPM_RETURNCMD = 0x0100;
std::uint32_t TrackPopupMenu(Menu& popup, PopupPosition screen, Window* owner, std::uint32_t flags = 0);
// The mouse pointer's position on the screen (where a popup opens).
PopupPosition GetCursorPos();

// One accelerator: a key with modifiers that sends a command.
struct Accelerator {
  std::uint32_t vk = 0;  // virtual key (VK_*, or 'A'..'Z', '0'..'9')
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  std::uint32_t command = 0;
};

class AcceleratorTable {
 public:
  static AcceleratorTable Load(std::uint32_t resourceId);
  static AcceleratorTable Load(std::uint32_t resourceId, std::uint16_t languageId);
  const std::vector<Accelerator>& Entries() const { return entries_; }
  void Add(const Accelerator& a) { entries_.push_back(a); }
  // The command of a key press, if any.
  std::optional<std::uint32_t> Translate(std::uint32_t vk, bool ctrl, bool shift, bool alt) const;

 private:
  std::vector<Accelerator> entries_;
};

}  // namespace ui
