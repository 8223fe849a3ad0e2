#include "app/raw/lyr_raw_dlg_type_ch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/raw/lyr_raw_dlg_show_ch.h"
#include "app/raw/raw_display_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kBaselineNames[3] = {IDS_RDD_CENTER, IDS_RDD_UPPER, IDS_RDD_LOWER};
// Words of the channel's display type.
enum : std::size_t { kWLine = 0, kWBaseline = 1, kWNumeric = 2, kWCharacter = 3, kWHeavy = 4, kWDecimals = 5, kWCount = 6 };

double ParseBound(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  return end == begin ? 0.0 : v;
}

std::string TwoDecimals(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}
}  // namespace

LyrRawDlgTypeCh::LyrRawDlgTypeCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrRawChannelDialog(kTemplateId, doc, parent) {
  MapNotify(kList, ui::NM_CLICK, [this] { ShowLastSelected(); });
  MapCommand(kApply, [this] { Apply(); });
  for (int id : {kLine, kNumeric, kCharacter}) MapCommand(id, [this] { UpdateEnabling(); });
  MapNotify(kRangeCount, ui::CBN_SELCHANGE, [this] { UpdateEnabling(); });
}

int LyrRawDlgTypeCh::ChannelCount() const {
  return doc_ != nullptr ? std::clamp<int>(doc_->RecordInfo.channelCount, 0, 32) : 0;
}

std::string LyrRawDlgTypeCh::TypeText(const LyrChInfo& ch) {
  std::string text;
  const auto& w = ch.displayTypeWords;
  if (w[kWLine] != 0) {
    text = res::LoadString(IDS_RDD_WAVEFORM);
    if (w[kWHeavy] != 0) text += "(" + res::LoadString(IDS_RDD_HEAVY) + ")";
    text += "-" + res::LoadString(kBaselineNames[std::min<std::size_t>(w[kWBaseline], 2)]);
  }
  if (w[kWNumeric] != 0) text += "/" + res::LoadString(IDS_RDD_NUMERIC);
  if (w[kWCharacter] != 0) text += "/" + res::LoadString(IDS_RDD_CHARACTER);
  return text;
}

bool LyrRawDlgTypeCh::EvacuateDocument() {
  saved_.clear();
  evacuated_ = false;
  try {
    for (int c = 0; c < ChannelCount(); ++c) {
      const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(c)];
      saved_.push_back({ch.displayTypeWords, ch.displayTypeData});
    }
  } catch (const std::bad_alloc&) {
    saved_.clear();
    ui::MessageBox("LyrRawDlgTypeCh::EvacuateDocument");
    return false;
  }
  evacuated_ = true;
  return true;
}

bool LyrRawDlgTypeCh::OnInitDialog() {
  EvacuateDocument();
  SetUpChannelList(Item(kList), 20, 25, IDS_RDD_COL_TYPE, 55);
  ui::Control baseline = Item(kBaseline);
  baseline.ResetContent();
  for (const std::uint32_t id : kBaselineNames) baseline.AddString(res::LoadString(id));
  ui::Control decimals = Item(kDecimals);
  decimals.ResetContent();
  for (int d = 0; d <= 7; ++d) decimals.AddString(std::to_string(d));
  ui::Control count = Item(kRangeCount);
  count.ResetContent();
  for (int n = 1; n <= LyrChInfo::kNamedRanges; ++n) count.AddString(std::to_string(n));

  const std::vector<int> selected = MarkedChannels(ChannelCount());
  FillList(selected);
  if (!selected.empty()) ShowChannel(selected.back());
  UpdateEnabling();
  return true;
}

void LyrRawDlgTypeCh::FillList(const std::vector<int>& selected) {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  for (int c = 0; c < ChannelCount(); ++c) {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(c)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", c + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, TypeText(ch));
  }
  for (const int row : selected) list.SetSelected(row, true);
}

void LyrRawDlgTypeCh::ShowChannel(int c) {
  if (c < 0 || c >= ChannelCount()) return;
  const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(c)];
  const auto& w = ch.displayTypeWords;
  CheckDlgButton(kLine, w[kWLine] != 0 ? 1 : 0);
  CheckDlgButton(kHeavy, w[kWHeavy] != 0 ? 1 : 0);
  CheckDlgButton(kNumeric, w[kWNumeric] != 0 ? 1 : 0);
  CheckDlgButton(kCharacter, w[kWCharacter] != 0 ? 1 : 0);
  Item(kBaseline).SetCurSel(w[kWBaseline] <= 2 ? w[kWBaseline] : -1);
  Item(kDecimals).SetCurSel(w[kWDecimals] <= 7 ? w[kWDecimals] : -1);
  Item(kRangeCount).SetCurSel(w[kWCount] >= 1 && w[kWCount] <= 6 ? w[kWCount] - 1 : -1);
  for (int k = 0; k < LyrChInfo::kNamedRanges; ++k) {
    const LyrChInfo::NamedRange r = ch.GetNamedRange(k);
    const auto& ids = kRangeEdits[static_cast<std::size_t>(k)];
    SetDlgItemText(ids[0], r.label);
    SetDlgItemText(ids[1], TwoDecimals(r.low));
    SetDlgItemText(ids[2], TwoDecimals(r.high));
  }
  UpdateEnabling();
}

void LyrRawDlgTypeCh::ShowLastSelected() {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  if (!rows.empty()) ShowChannel(rows.back());
}

void LyrRawDlgTypeCh::UpdateEnabling() {
  const bool line = IsDlgButtonChecked(kLine) != 0;
  const bool numeric = IsDlgButtonChecked(kNumeric) != 0;
  const bool character = IsDlgButtonChecked(kCharacter) != 0;
  EnableItem(kHeavy, line);
  EnableItem(kBaseline, line);
  EnableItem(kDecimals, numeric);
  EnableItem(kRangeCount, character);
  const int sel = Item(kRangeCount).GetCurSel();
  const int count = sel < 0 ? 1 : sel + 1;
  for (int k = 0; k < LyrChInfo::kNamedRanges; ++k)
    for (const int id : kRangeEdits[static_cast<std::size_t>(k)]) EnableItem(id, character && k < count);
  EnableItem(kApply, line || numeric || character);
}

void LyrRawDlgTypeCh::Apply() {
  std::array<std::uint16_t, 7> words{};
  words[kWLine] = IsDlgButtonChecked(kLine) != 0 ? 1 : 0;
  words[kWHeavy] = IsDlgButtonChecked(kHeavy) != 0 ? 1 : 0;
  words[kWNumeric] = IsDlgButtonChecked(kNumeric) != 0 ? 1 : 0;
  words[kWCharacter] = IsDlgButtonChecked(kCharacter) != 0 ? 1 : 0;
  words[kWBaseline] = static_cast<std::uint16_t>(std::max(Item(kBaseline).GetCurSel(), 0));
  words[kWDecimals] = static_cast<std::uint16_t>(std::max(Item(kDecimals).GetCurSel(), 0));
  words[kWCount] = static_cast<std::uint16_t>(std::max(Item(kRangeCount).GetCurSel(), 0) + 1);
  std::array<LyrChInfo::NamedRange, LyrChInfo::kNamedRanges> ranges;
  for (std::size_t k = 0; k < ranges.size(); ++k) {
    LyrChInfo::NamedRange& r = ranges[k];
    r.label = FirstCharacters(GetDlgItemText(kRangeEdits[k][0]), 2);
    r.low = ParseBound(GetDlgItemText(kRangeEdits[k][1]));
    r.high = ParseBound(GetDlgItemText(kRangeEdits[k][2]));
    if (r.high < r.low) std::swap(r.low, r.high);
  }
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  for (const int row : rows) {
    if (row < 0 || row >= ChannelCount()) continue;
    LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(row)];
    ch.displayTypeWords = words;
    for (int k = 0; k < LyrChInfo::kNamedRanges; ++k) ch.SetNamedRange(k, ranges[static_cast<std::size_t>(k)]);
  }
  FillList(rows);
}

void LyrRawDlgTypeCh::OnOK() {
  // Nothing to draw is not a type: OK then writes nothing, as Apply is unavailable.
  if (Item(kApply).IsEnabled()) Apply();
  EndDialog(ui::IDOK);
}

void LyrRawDlgTypeCh::OnCancel() {
  if (evacuated_) {
    for (std::size_t c = 0; c < saved_.size() && static_cast<int>(c) < ChannelCount(); ++c) {
      doc_->ChInfo[c].displayTypeWords = saved_[c].words;
      doc_->ChInfo[c].displayTypeData = saved_[c].data;
    }
  }
  EndDialog(ui::IDCANCEL);
}
