#include "app/raw/lyr_raw_dlg_show_ch.h"

#include <algorithm>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

namespace {
constexpr int kChannels = 32;

int SetCount() { return std::clamp<int>(ShowTypeSets.count, 1, kMaxShowTypes); }
}  // namespace

std::string FirstCharacters(const std::string& text, int n) {
  std::size_t i = 0;
  for (int k = 0; k < n && i < text.size(); ++k) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

LyrRawDlgShowCh::LyrRawDlgShowCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrRawChannelDialog(kTemplateId, doc, parent) {
  MapNotify(kSetList, ui::LBN_SELCHANGE, [this] { OnSetChosen(); });
  MapCommand(kAllChannels, [this] { OnAllChannels(); });
  MapCommand(kSave, [this] { OnSave(); });
  MapCommand(kDelete, [this] { OnDelete(); });
}

int LyrRawDlgShowCh::ChannelCount() const {
  return doc_ != nullptr ? std::clamp<int>(doc_->RecordInfo.channelCount, 0, kChannels) : 0;
}

bool LyrRawDlgShowCh::OnInitDialog() {
  ShowTypeSets.count = static_cast<std::int16_t>(SetCount());
  if (ShowTypeIndex < 0 || ShowTypeIndex >= ShowTypeSets.count) ShowTypeIndex = 0;
  ui::Control list = Item(kList);
  SetUpChannelList(list, 20, 80);
  for (int c = 0; c < ChannelCount(); ++c) {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(c)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", c + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    if (ch.show != 0) list.SetSelected(row, true);
  }
  FillSetList();
  return true;
}

void LyrRawDlgShowCh::FillSetList() {
  ui::Control sets = Item(kSetList);
  sets.ResetContent();
  for (int s = 0; s < SetCount(); ++s) sets.AddString(ShowTypeSets.names[static_cast<std::size_t>(s)]);
  sets.SetCurSel(ShowTypeIndex);
  EnableItem(kSave, SetCount() < kMaxShowTypes);
  EnableItem(kDelete, SetCount() > 1);
}

void LyrRawDlgShowCh::SelectRowsOfSet(int set) {
  ui::Control list = Item(kList);
  const auto& flags = ShowTypeSets.flags[static_cast<std::size_t>(set)];
  for (int c = 0; c < ChannelCount(); ++c) list.SetSelected(c, flags[static_cast<std::size_t>(c)] != 0);
}

void LyrRawDlgShowCh::StoreSelection(int set) {
  auto& flags = ShowTypeSets.flags[static_cast<std::size_t>(set)];
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  if (rows.empty()) {
    flags.fill(1);
    return;
  }
  flags.fill(0);
  for (const int row : rows)
    if (row >= 0 && row < kChannels) flags[static_cast<std::size_t>(row)] = 1;
}

void LyrRawDlgShowCh::OnSetChosen() {
  const int set = Item(kSetList).GetCurSel();
  if (set < 0 || set >= SetCount()) return;
  const auto& flags = ShowTypeSets.flags[static_cast<std::size_t>(set)];
  for (int c = 0; c < ChannelCount(); ++c)
    doc_->ChInfo[static_cast<std::size_t>(c)].show = flags[static_cast<std::size_t>(c)];
  SelectRowsOfSet(set);
  ShowTypeIndex = static_cast<std::int16_t>(set);
  SetsChanged = true;
}

void LyrRawDlgShowCh::OnAllChannels() {
  ui::Control list = Item(kList);
  for (int row = 0; row < list.GetCount(); ++row) list.SetSelected(row, true);
}

void LyrRawDlgShowCh::OnSave() {
  if (SetCount() >= kMaxShowTypes) return;
  LyrRawDlgTitle title(this);
  if (title.DoModal() != ui::IDOK) return;
  const int set = SetCount();
  ShowTypeSets.names[static_cast<std::size_t>(set)] = title.Title;
  ShowTypeSets.count = static_cast<std::int16_t>(set + 1);
  ShowTypeIndex = static_cast<std::int16_t>(set);
  StoreSelection(set);
  SetsChanged = true;
  FillSetList();
}

void LyrRawDlgShowCh::OnDelete() {
  if (SetCount() <= 1) return;
  LyrRawDlgRemove remove(this);
  if (remove.DoModal() != ui::IDOK) return;
  const int set = remove.Chosen + 1;
  const int count = SetCount();
  if (set < 1 || set >= count) return;
  for (int s = set; s + 1 < count; ++s) {
    ShowTypeSets.names[static_cast<std::size_t>(s)] = ShowTypeSets.names[static_cast<std::size_t>(s + 1)];
    ShowTypeSets.flags[static_cast<std::size_t>(s)] = ShowTypeSets.flags[static_cast<std::size_t>(s + 1)];
  }
  ShowTypeSets.names[static_cast<std::size_t>(count - 1)].clear();
  ShowTypeSets.flags[static_cast<std::size_t>(count - 1)].fill(1);
  ShowTypeSets.count = static_cast<std::int16_t>(count - 1);
  // The current set stays the same set: it moves down with the others.
  if (ShowTypeIndex == set) ShowTypeIndex = 0;
  else if (ShowTypeIndex > set) --ShowTypeIndex;
  SetsChanged = true;
  FillSetList();
}

void LyrRawDlgShowCh::OnOK() {
  const int set = std::clamp<int>(ShowTypeIndex, 0, SetCount() - 1);
  StoreSelection(set);
  const auto& flags = ShowTypeSets.flags[static_cast<std::size_t>(set)];
  for (int c = 0; c < ChannelCount(); ++c)
    doc_->ChInfo[static_cast<std::size_t>(c)].show = flags[static_cast<std::size_t>(c)];
  EndDialog(ui::IDOK);
}

LyrRawDlgTitle::LyrRawDlgTitle(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {}

bool LyrRawDlgTitle::OnInitDialog() {
  Item(kTitleEdit).SetLimitText(kMaxTyped);
  return true;
}

void LyrRawDlgTitle::OnOK() {
  Title = FirstCharacters(FirstCharacters(GetDlgItemText(kTitleEdit), kMaxTyped), kMaxStored);
  EndDialog(ui::IDOK);
}

LyrRawDlgRemove::LyrRawDlgRemove(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {}

bool LyrRawDlgRemove::OnInitDialog() {
  ui::Control list = Item(kSetList);
  list.ResetContent();
  for (int s = 1; s < SetCount(); ++s) list.AddString(ShowTypeSets.names[static_cast<std::size_t>(s)]);
  if (list.GetCount() > 0) list.SetCurSel(0);
  return true;
}

void LyrRawDlgRemove::OnOK() {
  Chosen = Item(kSetList).GetCurSel();
  EndDialog(ui::IDOK);
}
