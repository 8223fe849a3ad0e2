#include "app/raw/lyr_raw_dlg_scale_ch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/raw/raw_display_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

// The whole text as a number; nullopt-like false when anything else is in it.
bool ParseNumber(const std::string& text, double* value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin) return false;
  while (*end == ' ') ++end;
  if (*end != '\0') return false;
  *value = v;
  return true;
}
}  // namespace

LyrRawDlgScaleCh::LyrRawDlgScaleCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrRawChannelDialog(kTemplateId, doc, parent), parent_(parent) {
  MapNotify(kList, ui::NM_CLICK, [this] { ShowFirstSelected(); });
  MapCommand(kApply, [this] { Apply(); });
}

int LyrRawDlgScaleCh::ChannelCount() const {
  return doc_ != nullptr ? std::clamp<int>(doc_->RecordInfo.channelCount, 0, 32) : 0;
}

std::string LyrRawDlgScaleCh::ScaleText(std::uint16_t on, double value, const std::string& unit) {
  if (on == 0) return res::LoadString(IDS_RDD_OFF);
  char text[96];
  std::snprintf(text, sizeof text, res::LoadString(IDS_RDD_SCALE_ON).c_str(), value, unit.c_str());
  return text;
}

bool LyrRawDlgScaleCh::EvacuateDocument() {
  saved_.clear();
  evacuated_ = false;
  try {
    for (int c = 0; c < ChannelCount(); ++c) {
      const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(c)];
      saved_.push_back({ch.scaleMode, ch.scaleValue});
    }
  } catch (const std::bad_alloc&) {
    saved_.clear();
    ui::MessageBox("LyrRawDlgScaleCh::EvacuateDocument");
    return false;
  }
  evacuated_ = true;
  return true;
}

bool LyrRawDlgScaleCh::OnInitDialog() {
  EvacuateDocument();
  SetUpChannelList(Item(kList), 20, 35, IDS_RDD_COL_SCALE, 45);
  FillList(MarkedChannels(ChannelCount()));
  ShowFirstSelected();
  return true;
}

void LyrRawDlgScaleCh::FillList(const std::vector<int>& selected) {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  for (int c = 0; c < ChannelCount(); ++c) {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(c)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", c + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, ScaleText(ch.scaleMode, ch.scaleValue, ch.unit));
  }
  for (const int row : selected) list.SetSelected(row, true);
}

void LyrRawDlgScaleCh::ShowFirstSelected() {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  if (rows.empty() || rows.front() >= ChannelCount()) return;
  const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(rows.front())];
  CheckDlgButton(kShowScale, ch.scaleMode != 0 ? 1 : 0);
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", ch.scaleValue);
  SetDlgItemText(kValue, text);
}

bool LyrRawDlgScaleCh::Apply() {
  double value = 0.0;
  if (!ParseNumber(GetDlgItemText(kValue), &value) || !(value >= kMinValue && value <= kMaxValue)) {
    ui::MessageBoxId(IDS_RDD_SCALE_RANGE, ui::MB_ICONEXCLAMATION);
    return false;
  }
  const std::uint16_t on = IsDlgButtonChecked(kShowScale) != 0 ? 1 : 0;
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  for (const int row : rows) {
    if (row < 0 || row >= ChannelCount()) continue;
    LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(row)];
    ch.scaleMode = on;
    ch.scaleValue = value;
  }
  FillList(rows);
  // Opened from the frame or from a dialog of the frame: the frame redraws the rows.
  for (ui::Window* w = parent_; w != nullptr; w = w->GetParent()) {
    if (auto* frame = dynamic_cast<CMainFrame*>(w)) {
      frame->RefreshAllViews(-1);
      break;
    }
  }
  return true;
}

void LyrRawDlgScaleCh::OnOK() {
  Apply();
  EndDialog(ui::IDOK);
}

void LyrRawDlgScaleCh::OnCancel() {
  if (evacuated_) {
    for (std::size_t c = 0; c < saved_.size() && static_cast<int>(c) < ChannelCount(); ++c) {
      doc_->ChInfo[c].scaleMode = saved_[c].on;
      doc_->ChInfo[c].scaleValue = saved_[c].value;
    }
  }
  EndDialog(ui::IDCANCEL);
}
