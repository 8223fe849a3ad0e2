#include "app/raw/lyr_raw_dlg_gain_colour.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

bool LyrRawDlgFailNextBackup = false;

namespace {
constexpr std::uint32_t kStrGainRange = 2307;
constexpr std::uint32_t kStrColGain = 9753;
constexpr std::uint32_t kStrColColor = 9754;

std::string Format(const char* fmt, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

// Throws bad_alloc once when the test hook asks for it.
void CheckBackupHook() {
  if (LyrRawDlgFailNextBackup) {
    LyrRawDlgFailNextBackup = false;
    throw std::bad_alloc();
  }
}

// The three columns: 20 %, 40 % and 40 % of the list's width less a scroll bar.
void RedrawRawRows(bool frameBar) {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (frame == nullptr) return;
  frame->RefreshAllViews(-1);
  if (frameBar) frame->RefreshBarCombos(true, false, false);
}

std::vector<int> Selected(const ui::Control& list) { return list.GetSelectedIndexes(); }

void Reselect(ui::Control list, const std::vector<int>& rows) {
  for (const int r : rows) list.SetSelected(r, true);
}
}  // namespace

// ---- Gain ------------------------------------------------------------------------------------

LyrRawDlgGainCh::LyrRawDlgGainCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrRawChannelDialog(kTemplateId, doc, parent) {}

int LyrRawDlgGainCh::ChannelCount() const {
  if (doc_ == nullptr) return 0;
  return std::clamp(doc_->RecordInfo.channelCount, 0, static_cast<int>(doc_->ChInfo.size()));
}

void LyrRawDlgGainCh::FillList() {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  for (int i = 0; i < ChannelCount(); ++i) {
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, doc_->ChInfo[static_cast<std::size_t>(i)].name);
    list.SetItemText(row, 2, Format("x%.2f", doc_->ChInfo[static_cast<std::size_t>(i)].gain));
  }
}

bool LyrRawDlgGainCh::OnInitDialog() {
  ui::Control list = Item(kList);
  SetUpChannelList(list, 20, 40, kStrColGain, 40);
  FillList();
  int first = -1;
  for (const int i : MarkedChannels(ChannelCount())) {
    list.SetSelected(i, true);
    if (first < 0) first = i;
  }
  if (first >= 0) SetDlgItemText(kGainEdit, Format("%.5f", doc_->ChInfo[static_cast<std::size_t>(first)].gain));
  EvacuateDocument(1);
  MapNotify(kList, ui::NM_CLICK, [this] { OnListClick(); });
  MapCommand(kApply, [this] { Apply(); });
  return true;
}

void LyrRawDlgGainCh::OnListClick() {
  const std::vector<int> rows = Selected(Item(kList));
  if (rows.empty() || rows.front() >= ChannelCount()) return;
  SetDlgItemText(kGainEdit, Format("%.2f", doc_->ChInfo[static_cast<std::size_t>(rows.front())].gain));
}

bool LyrRawDlgGainCh::Apply() {
  const std::string text = GetDlgItemText(kGainEdit);
  const double gain = std::strtod(text.c_str(), nullptr);
  if (!(gain >= kMinGain && gain <= kMaxGain)) {
    ui::MessageBoxId(kStrGainRange, ui::MB_ICONEXCLAMATION);
    return false;
  }
  ui::Control list = Item(kList);
  const std::vector<int> rows = Selected(list);
  for (const int r : rows)
    if (r >= 0 && r < ChannelCount()) doc_->ChInfo[static_cast<std::size_t>(r)].gain = gain;
  FillList();
  Reselect(list, rows);
  RedrawRawRows(true);
  return true;
}

void LyrRawDlgGainCh::OnOK() {
  Apply();
  EndDialog(ui::IDOK);
}

void LyrRawDlgGainCh::OnCancel() {
  EvacuateDocument(0);
  EndDialog(ui::IDCANCEL);
}

void LyrRawDlgGainCh::EvacuateDocument(int mode) {
  if (doc_ == nullptr) return;
  if (mode == 1) {
    backup_.reset();
    try {
      CheckBackupHook();
      auto copy = std::make_unique<std::vector<double>>();
      copy->reserve(doc_->ChInfo.size());
      for (const LyrChInfo& ch : doc_->ChInfo) copy->push_back(ch.gain);
      backup_ = std::move(copy);
    } catch (const std::bad_alloc&) {
      ui::MessageBox("LyrRawDlgGainCh::EvacuateDocument");
    }
    return;
  }
  if (mode == 0 && backup_)
    for (std::size_t i = 0; i < backup_->size() && i < doc_->ChInfo.size(); ++i) doc_->ChInfo[i].gain = (*backup_)[i];
}

// ---- Colour ----------------------------------------------------------------------------------

LyrRawDlgColorCh::LyrRawDlgColorCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrRawChannelDialog(kTemplateId, doc, parent) {}

int LyrRawDlgColorCh::ChannelCount() const {
  if (doc_ == nullptr) return 0;
  return std::clamp(doc_->RecordInfo.channelCount, 0, static_cast<int>(doc_->ChInfo.size()));
}

void LyrRawDlgColorCh::FillList() {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  for (int i = 0; i < ChannelCount(); ++i) {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(i)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, std::to_string(static_cast<unsigned long>(ch.colour)));
    list.SetItemSwatch(row, 2, true, ch.colour);
  }
}

bool LyrRawDlgColorCh::OnInitDialog() {
  ui::Control list = Item(kList);
  SetUpChannelList(list, 20, 40, kStrColColor, 40);
  FillList();
  for (const int i : MarkedChannels(ChannelCount())) list.SetSelected(i, true);
  EvacuateDocument(1);
  MapCommand(kSetColor, [this] { ChooseColour(); });
  MapNotify(kList, ui::NM_DBLCLK, [this] { ChooseColour(); });
  return true;
}

void LyrRawDlgColorCh::ChooseColour() {
  std::uint32_t colour = 0;
  if (ui::ChooseColor(this, colour) != ui::IDOK) return;
  ui::Control list = Item(kList);
  const std::vector<int> rows = Selected(list);
  for (const int r : rows)
    if (r >= 0 && r < ChannelCount()) doc_->ChInfo[static_cast<std::size_t>(r)].colour = colour;
  FillList();
  Reselect(list, rows);
  RedrawRawRows(false);
}

void LyrRawDlgColorCh::OnCancel() {
  EvacuateDocument(0);
  RedrawRawRows(false);
  EndDialog(ui::IDCANCEL);
}

void LyrRawDlgColorCh::EvacuateDocument(int mode) {
  if (doc_ == nullptr) return;
  if (mode == 1) {
    backup_.reset();
    try {
      CheckBackupHook();
      auto copy = std::make_unique<std::vector<std::uint32_t>>();
      copy->reserve(doc_->ChInfo.size());
      for (const LyrChInfo& ch : doc_->ChInfo) copy->push_back(ch.colour);
      backup_ = std::move(copy);
    } catch (const std::bad_alloc&) {
      ui::MessageBox("LyrRawDlgColorCh::EvacuateDocument");
    }
    return;
  }
  if (mode == 0 && backup_)
    for (std::size_t i = 0; i < backup_->size() && i < doc_->ChInfo.size(); ++i)
      doc_->ChInfo[i].colour = (*backup_)[i];
}
