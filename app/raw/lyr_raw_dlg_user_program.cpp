#include "app/raw/lyr_raw_dlg_user_program.h"

#include <algorithm>

#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/file_system.h"
#include "platform/system/locale.h"
#include "platform/ui/common_dialogs.h"

namespace {
constexpr std::uint32_t kStrItemColumn = 62305;
constexpr std::uint32_t kStrPathColumn = 62306;
constexpr std::size_t kItemNameBytes = 32;
constexpr std::size_t kPathBytes = 260;
// Programs on this system carry no extension of their own: every file is offered.
constexpr const char* kProgramFilter = "Programs (*)|*||";
}  // namespace

std::string UserProgramItemName(const std::string& typed, const std::string& programPath) {
  const std::string name = typed.empty() ? sys::FileTitleOf(programPath) : typed;
  return sys::CutToCapacity(name, kItemNameBytes, sys::AnsiCodePage());
}

LyrRawDlgUserProgram::LyrRawDlgUserProgram(ui::Window* parent) : ui::Dialog(IDD_USER_PROGRAM, parent) {
  MapCommand(IDC_USER_PROGRAM_ADD, [this] { OnAdd(); });
  MapCommand(IDC_USER_PROGRAM_REMOVE, [this] { OnRemove(); });
}

LyrRawDlgUserProgram::~LyrRawDlgUserProgram() {
  if (panel_ && panel_->IsWindow()) panel_->DestroyWindow();
}

bool LyrRawDlgUserProgram::OnInitDialog() {
  ui::Control list = Item(IDC_USER_PROGRAM_LIST);
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(kStrItemColumn), 150);
  list.InsertColumn(1, res::LoadString(kStrPathColumn), 300);
  FillList();
  return true;
}

void LyrRawDlgUserProgram::FillList() {
  ui::Control list = Item(IDC_USER_PROGRAM_LIST);
  list.DeleteAllItems();
  const int count = std::min<int>(UserProgramTable.count, kMaxUserPrograms);
  for (int i = 0; i < count; ++i) {
    const UserProgram& p = UserProgramTable.entries[static_cast<std::size_t>(i)];
    const int row = list.InsertItem(-1, p.name);
    list.SetItemText(row, 1, p.commandLine);
  }
}

void LyrRawDlgUserProgram::OnAdd() {
  if (UserProgramTable.count >= kMaxUserPrograms) return;
  if (!panel_) {
    panel_ = std::make_unique<LyrRawDlgUserProgramFilePanel>(this);
    if (!panel_->CreateModeless(this)) panel_.reset();
  }
  if (panel_) panel_->SetDlgItemText(IDC_USER_PROGRAM_ITEM_NAME, "");
  ui::FileDialog dlg(true, {}, {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT | ui::OFN_FILEMUSTEXIST,
                     kProgramFilter, this);
  if (panel_) dlg.SetPreview(panel_.get(), nullptr);
  const int answer = dlg.DoModal();
  const std::string typed = panel_ ? panel_->GetDlgItemText(IDC_USER_PROGRAM_ITEM_NAME) : std::string{};
  if (answer != ui::IDOK || dlg.GetPathName().empty()) return;
  UserProgram& entry = UserProgramTable.entries[static_cast<std::size_t>(UserProgramTable.count)];
  entry.name = UserProgramItemName(typed, dlg.GetPathName());
  entry.commandLine = sys::CutToCapacity(dlg.GetPathName(), kPathBytes, sys::AnsiCodePage());
  ++UserProgramTable.count;
  FillList();
}

void LyrRawDlgUserProgram::OnRemove() {
  const std::vector<int> selected = Item(IDC_USER_PROGRAM_LIST).GetSelectedIndexes();
  if (selected.empty()) return;
  const int index = selected.front();
  const int count = std::min<int>(UserProgramTable.count, kMaxUserPrograms);
  if (index < 0 || index >= count) return;
  for (int i = index; i + 1 < count; ++i)
    UserProgramTable.entries[static_cast<std::size_t>(i)] = UserProgramTable.entries[static_cast<std::size_t>(i + 1)];
  UserProgramTable.entries[static_cast<std::size_t>(count - 1)] = UserProgram{};
  UserProgramTable.count = static_cast<std::uint16_t>(count - 1);
  FillList();
}
