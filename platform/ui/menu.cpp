// Menus and accelerator tables loaded from the resources.
#include "platform/ui/menu.h"

#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"

namespace ui {
namespace {

void Build(Menu& menu, const std::vector<res::MenuNode>& nodes) {
  for (const auto& n : nodes) {
    MenuItem item;
    item.id = n.id;
    item.text = n.text;
    item.enabled = !n.grayed;
    item.checked = n.checked;
    if (n.kind == res::MenuNode::Kind::Separator) {
      item.kind = MenuItem::Kind::Separator;
    } else if (n.kind == res::MenuNode::Kind::Popup) {
      item.kind = MenuItem::Kind::Popup;
      item.popup = std::make_shared<Menu>();
      Build(*item.popup, n.children);
    }
    menu.Append(std::move(item));
  }
}

}  // namespace

Menu::Menu() = default;
Menu::~Menu() = default;

std::unique_ptr<Menu> Menu::Load(std::uint32_t resourceId) {
  return Load(resourceId, static_cast<std::uint16_t>(res::CurrentLanguage()));
}

std::unique_ptr<Menu> Menu::Load(std::uint32_t resourceId, std::uint16_t languageId) {
  auto nodes = res::LoadMenuResource(resourceId, languageId);
  if (!nodes) return nullptr;
  auto menu = std::make_unique<Menu>();
  Build(*menu, *nodes);
  return menu;
}

Menu* Menu::GetSubMenu(int pos) const {
  if (pos < 0 || pos >= GetItemCount()) return nullptr;
  return items_[static_cast<std::size_t>(pos)].popup.get();
}

int Menu::FindPosition(std::uint32_t id) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].kind == MenuItem::Kind::Command && items_[i].id == id) return static_cast<int>(i);
  return -1;
}

bool Menu::Contains(std::uint32_t id) const { return Find(id) != nullptr; }

MenuItem* Menu::Find(std::uint32_t id) {
  for (auto& item : items_) {
    if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
    if (item.popup)
      if (MenuItem* found = item.popup->Find(id)) return found;
  }
  return nullptr;
}

const MenuItem* Menu::Find(std::uint32_t id) const { return const_cast<Menu*>(this)->Find(id); }

std::string Menu::GetItemText(std::uint32_t id) const {
  const MenuItem* item = Find(id);
  return item ? item->text : std::string{};
}

void Menu::Append(MenuItem item) { items_.push_back(std::move(item)); }

void Menu::AppendItem(std::uint32_t id, std::string_view text) { InsertItem(-1, id, text); }

void Menu::AppendSeparator() { InsertSeparator(-1); }

void Menu::AppendPopup(std::string_view text, std::shared_ptr<Menu> popup) {
  MenuItem item;
  item.kind = MenuItem::Kind::Popup;
  item.text = std::string(text);
  item.popup = std::move(popup);
  items_.push_back(std::move(item));
}

void Menu::InsertItem(int pos, std::uint32_t id, std::string_view text) {
  MenuItem item;
  item.id = id;
  item.text = std::string(text);
  if (pos < 0 || pos >= GetItemCount()) items_.push_back(std::move(item));
  else items_.insert(items_.begin() + pos, std::move(item));
}

void Menu::InsertSeparator(int pos) {
  MenuItem item;
  item.kind = MenuItem::Kind::Separator;
  if (pos < 0 || pos >= GetItemCount()) items_.push_back(std::move(item));
  else items_.insert(items_.begin() + pos, std::move(item));
}

bool Menu::DeleteCommand(std::uint32_t id) {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].kind == MenuItem::Kind::Command && items_[i].id == id) {
      items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
    if (items_[i].popup && items_[i].popup->DeleteCommand(id)) return true;
  }
  return false;
}

bool Menu::RemoveAt(int pos) {
  if (pos < 0 || pos >= GetItemCount()) return false;
  items_.erase(items_.begin() + pos);
  return true;
}

bool Menu::EnableItem(std::uint32_t id, bool enable) {
  MenuItem* item = Find(id);
  if (item) item->enabled = enable;
  return item != nullptr;
}

bool Menu::CheckItem(std::uint32_t id, bool check) {
  MenuItem* item = Find(id);
  if (item) item->checked = check;
  return item != nullptr;
}

bool Menu::SetItemText(std::uint32_t id, std::string_view text) {
  MenuItem* item = Find(id);
  if (item) item->text = std::string(text);
  return item != nullptr;
}

bool Menu::IsItemEnabled(std::uint32_t id) const {
  const MenuItem* item = Find(id);
  return item && item->enabled;
}

bool Menu::IsItemChecked(std::uint32_t id) const {
  const MenuItem* item = Find(id);
  return item && item->checked;
}

AcceleratorTable AcceleratorTable::Load(std::uint32_t resourceId) {
  return Load(resourceId, static_cast<std::uint16_t>(res::CurrentLanguage()));
}

AcceleratorTable AcceleratorTable::Load(std::uint32_t resourceId, std::uint16_t languageId) {
  AcceleratorTable table;
  if (auto nodes = res::LoadAccelResource(resourceId, languageId))
    for (const auto& n : *nodes) table.Add({n.vk, n.ctrl, n.shift, n.alt, n.command});
  return table;
}

std::optional<std::uint32_t> AcceleratorTable::Translate(std::uint32_t vk, bool ctrl, bool shift, bool alt) const {
  for (const auto& a : entries_)
    if (a.vk == vk && a.ctrl == ctrl && a.shift == shift && a.alt == alt) return a.command;
  return std::nullopt;
}

}  // namespace ui
