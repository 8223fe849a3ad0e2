#include "app/trend/lyr_trend_hypno_setting.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_raw_dlg_stage.h"
#include "app/trend/lyr_trend_stage_area.h"
#include "app/trend/trend_settings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr int kFreeRow = kHypnogramSpanFree;
constexpr std::uint32_t kStrName = 2110, kStrColor = 2111, kStrDot = 2112, kStrOrder = 2113, kStrLine = 2114,
                        kStrKey = 2115, kStrShow = 2346, kStrHide = 2347, kStrFree1 = 2126, kStrOn = 62713,
                        kStrOff = 62714;
// Stage names of the rows of each stage type (string ids), in record order.
const std::vector<std::uint32_t> kTypeStages[4] = {{2116, 2117, 2118, 2119, 2120, 2121, 2122},
                                                    {2116, 2117, 2118, 2119, 2124, 2122},
                                                    {2116, 2117, 2123, 2124, 2122},
                                                    {2116, 2117, 2125, 2122}};

int StageTypeOf(const StageTypeParam& st) { return std::clamp<int>(st.stageType, 0, 3); }
int FreeInUse(const StageTypeParam& st) { return std::clamp<int>(st.sharedInUse, 0, StageTypeParam::kFreeStageCount); }

}  // namespace

LyrDlgHypnogramSetting::LyrDlgHypnogramSetting(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {
  MapCommand(kDetails, [this] { OnDetails(); });
  MapNotify(kSpan, ui::CBN_SELCHANGE, [this] { OnTimeChange(); });
  MapNotify(kStageList, ui::NM_CLICK, [this] { ClearSelection(kFreeList); });
  MapNotify(kFreeList, ui::NM_CLICK, [this] { ClearSelection(kStageList); });
  MapNotify(kStageList, ui::NM_DBLCLK, [this] {
    ClearSelection(kFreeList);
    OnDetails();
  });
  MapNotify(kFreeList, ui::NM_DBLCLK, [this] {
    ClearSelection(kStageList);
    OnDetails();
  });
}

bool LyrDlgHypnogramSetting::OnInitDialog() {
  if (m_pDoc != nullptr) savedStageType_ = m_pDoc->Params.stageType;
  ui::Control lines = Item(kLines);
  for (int i = 1; i <= 12; ++i) lines.AddString(std::to_string(i));
  lines.SetCurSel(HypnogramLinesHeld() - 1);

  ui::Control span = Item(kSpan);
  int selected = kFreeRow;
  for (int i = 0; i <= kFreeRow; ++i) {
    span.AddString(HypnogramSpanText(i));
    if (i < kFreeRow && HypnogramSpanTable[static_cast<std::size_t>(i)].minutes == MinutesPerLineHeld()) selected = i;
  }
  span.SetCurSel(selected);
  const int rowMinutes = HypnogramSpanTable[static_cast<std::size_t>(selected)].minutes;
  const int shown = selected == kFreeRow ? MinutesPerLineHeld() / 60 : rowMinutes >= 60 ? rowMinutes / 60 : rowMinutes;
  SetDlgItemText(kSpanEdit, std::to_string(shown));
  SetDlgItemText(kSpanUnit, res::LoadString(selected < 3 ? kStrMinutes : kStrHours));
  EnableItem(kSpanEdit, selected == kFreeRow);
  initialSpanRow_ = selected;
  initialEdit_ = GetDlgItemText(kSpanEdit);

  const std::uint32_t headers[] = {0, kStrName, kStrDot, kStrShow, kStrOrder, kStrLine, kStrKey, kStrColor};
  const int percent[] = {15, 15, 10, 15, 10, 10, 10, 15};
  const int width = std::max(100, Item(kStageList).GetRectInOwner().Width() - 17);
  for (int list : {kStageList, kFreeList}) {
    ui::Control c = Item(list);
    c.SetGridLines(true);
    c.SetFullRowSelect(true);
    for (int col = 0; col < 8; ++col)
      c.InsertColumn(col, headers[col] == 0 ? std::string() : res::LoadString(headers[col]), width * percent[col] / 100);
  }
  FillLists();
  return true;
}

void LyrDlgHypnogramSetting::FillRow(int list, int row, const std::string& stage, const StageRecord& r) {
  ui::Control c = Item(list);
  const int at = c.InsertItem(row, stage);
  std::string key;
  for (int k = 0; k <= 9; ++k)
    if (r.key == static_cast<std::uint32_t>(2000 + k)) key = std::to_string(k);
  const std::string cells[] = {r.name,
                               std::to_string(r.lineWeight),
                               res::LoadString(r.showInHypnogram != 0 ? kStrShow : kStrHide),
                               std::to_string(r.showOrder),
                               res::LoadString(r.lineBetweenStages != 0 ? kStrOn : kStrOff),
                               key,
                               std::to_string(static_cast<unsigned long>(r.colour))};
  for (int col = 1; col < 8; ++col) c.SetItemText(at, col, cells[col - 1]);
}

void LyrDlgHypnogramSetting::FillLists() {
  Item(kStageList).DeleteAllItems();
  Item(kFreeList).DeleteAllItems();
  if (m_pDoc == nullptr) return;
  StageTypeParam& st = m_pDoc->Params.stageType;
  const int type = StageTypeOf(st);
  const auto records = st.Set(type);
  for (std::size_t i = 0; i < records.size() && i < kTypeStages[type].size(); ++i)
    FillRow(kStageList, static_cast<int>(i), res::LoadString(kTypeStages[type][i]), records[i]);
  for (int k = 0; k < FreeInUse(st); ++k)
    FillRow(kFreeList, k, res::LoadString(kStrFree1 + static_cast<std::uint32_t>(k)), st.shared[static_cast<std::size_t>(k)]);
}

void LyrDlgHypnogramSetting::ClearSelection(int list) {
  ui::Control c = Item(list);
  for (int row : c.GetSelectedIndexes()) c.SetSelected(row, false);
}

void LyrDlgHypnogramSetting::OnTimeChange() {
  const int row = Item(kSpan).GetCurSel();
  if (row < 0) return;
  int v = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  if (v >= 60) v /= 60;
  if (v > 0) {
    SetDlgItemText(kSpanEdit, std::to_string(v));
    SetDlgItemText(kSpanUnit, res::LoadString(row < 3 ? kStrMinutes : kStrHours));
  }
  EnableItem(kSpanEdit, row == kFreeRow);
}

void LyrDlgHypnogramSetting::OnDetails() {
  if (m_pDoc == nullptr) return;
  StageTypeParam& st = m_pDoc->Params.stageType;
  const int type = StageTypeOf(st);
  int list = kStageList;
  std::vector<int> rows = Item(kStageList).GetSelectedIndexes();
  if (rows.empty()) {
    list = kFreeList;
    rows = Item(kFreeList).GetSelectedIndexes();
  }
  if (rows.empty()) return;
  const int row = rows.front();
  StageRecord* record = nullptr;
  std::string name;
  if (list == kStageList) {
    if (row >= static_cast<int>(st.Set(type).size())) return;
    record = &st.Set(type)[static_cast<std::size_t>(row)];
    name = res::LoadString(kTypeStages[type][static_cast<std::size_t>(row)]);
  } else {
    if (row >= FreeInUse(st)) return;
    record = &st.shared[static_cast<std::size_t>(row)];
    name = res::LoadString(kStrFree1 + static_cast<std::uint32_t>(row));
  }
  LyrRawDlgStageDetail detail(name, record, this);
  if (detail.DoModal() == ui::IDOK) FillLists();
  Item(list).SetSelected(row, true);
}

void LyrDlgHypnogramSetting::OnOK() {
  const int lines = Item(kLines).GetCurSel();
  const int row = Item(kSpan).GetCurSel();
  if (row >= 0 && row < kFreeRow) {
    minutes = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  } else if (row == initialSpanRow_ && GetDlgItemText(kSpanEdit) == initialEdit_) {
    // A span of no table row (90 minutes, say) stays as it is while the edit is untouched.
    minutes = MinutesPerLineHeld();
  } else {
    // Hours from 1 to 24; an empty or zero edit gives one hour.
    const long hours = std::strtol(GetDlgItemText(kSpanEdit).c_str(), nullptr, 10);
    minutes = static_cast<std::int32_t>(std::clamp<long>(hours, 1, 24)) * 60;
  }
  ClearSelection(kStageList);
  ClearSelection(kFreeList);

  if (m_pDoc != nullptr) {
    StageTypeParam& st = m_pDoc->Params.stageType;
    const int type = StageTypeOf(st);
    const auto records = st.Set(type);
    struct Entry {
      const StageRecord* record;
      int list, row;
    };
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < records.size(); ++i) entries.push_back({&records[i], kStageList, static_cast<int>(i)});
    for (int k = 0; k < FreeInUse(st); ++k) entries.push_back({&st.shared[static_cast<std::size_t>(k)], kFreeList, k});
    auto refuse = [this](const Entry& e, std::uint32_t message) {
      if (e.list == kStageList) Item(kStageList).SetSelected(e.row, true);
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(message, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    };
    for (std::uint32_t message : {kStrSameStageOrder, kStrKeyAssigned}) {
      for (std::size_t a = 0; a < entries.size(); ++a)
        for (std::size_t b = a + 1; b < entries.size(); ++b) {
          const StageRecord& x = *entries[a].record;
          const StageRecord& y = *entries[b].record;
          const bool same = message == kStrSameStageOrder ? x.showOrder == y.showOrder
                                                          : x.key != 0 && x.key == y.key;
          if (same) {
            refuse(entries[a], message);
            return;
          }
        }
    }
    for (int k = 0; k < FreeInUse(st); ++k) {
      const StageRecord& free = st.shared[static_cast<std::size_t>(k)];
      const bool before = std::any_of(records.begin(), records.end(),
                                      [&](const StageRecord& r) { return free.showOrder < r.showOrder; });
      if (before) {
        Item(kFreeList).SetSelected(k, true);
        ui::MessageBeep(ui::MB_ICONEXCLAMATION);
        ui::MessageBoxId(kStrFreeStageFixed, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return;
      }
    }
    const int now = FreeInUse(st), before = FreeInUse(savedStageType_);
    if (now < before) {
      std::string names;
      for (int k = now; k < before; ++k) names += res::LoadString(kStrFree1 + static_cast<std::uint32_t>(k)) + " ";
      const std::string format = res::LoadString(kStrClearedStages);
      std::vector<char> text(format.size() + names.size() + 16);
      std::snprintf(text.data(), text.size(), format.c_str(), names.c_str());
      ui::MessageBeep(ui::MB_ICONQUESTION);
      if (ui::MessageBox(text.data(), ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return;
      LyrRawDlgStage::ClearRemovedFreeStages(*m_pDoc, now);
    }
  }
  TrendSettingWord1 = static_cast<std::uint16_t>(std::clamp(lines + 1, 1, 12));
  EndDialog(ui::IDOK);
}

void LyrDlgHypnogramSetting::OnCancel() {
  if (m_pDoc != nullptr) m_pDoc->Params.stageType = savedStageType_;
  EndDialog(ui::IDCANCEL);
}
