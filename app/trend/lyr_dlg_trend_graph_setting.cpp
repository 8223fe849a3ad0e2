#include "app/trend/lyr_dlg_trend_graph_setting.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/trend/hypnogram_span_table.h"
#include "app/trend/lyr_dlg_trend_draw_scale.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/res/resource_store.h"

namespace {

constexpr std::uint32_t kStrMin = 2194, kStrHours = 2195;
constexpr std::uint32_t kColumnTexts[] = {2205, 2203, 2248, 2249, 2262};
constexpr int kColumnWidths[] = {30, 80, 140, 130, 80};

// The dialog's copies of the range tables stand in for the program's while one entry is
// read or written through the range accessors.
class RangeCopyInUse {
 public:
  RangeCopyInUse(TrendRangeTable& upper, TrendRangeTable& lower) : upper_(upper), lower_(lower) { Swap(); }
  ~RangeCopyInUse() { Swap(); }
  RangeCopyInUse(const RangeCopyInUse&) = delete;
  RangeCopyInUse& operator=(const RangeCopyInUse&) = delete;

 private:
  void Swap() {
    std::swap(upper_, TrendRangeUpper);
    std::swap(lower_, TrendRangeLower);
  }
  TrendRangeTable& upper_;
  TrendRangeTable& lower_;
};

std::string Bound(const TrendItemRange& r, bool upper) {
  char text[64];
  if (r.mode == 1) std::snprintf(text, sizeof text, "%.2f", upper ? r.upperReal : r.lowerReal);
  else std::snprintf(text, sizeof text, "%d", upper ? r.upperInt : r.lowerInt);
  return text;
}

}  // namespace

int TrendItemScaleIndex(int category, int sub, int third) {
  // Scales in item order: items 1..7 six each, 8 one, 9 three, 10 four, 11 three, 12 one,
  // 13 five, 14..16 six each, 17 two, 18 three, 19 three, 20 three (by measure), 21 twelve,
  // 22 seven, 23 one, 24 one: 109 in all.
  static constexpr int kSubs[25] = {0, 6, 6, 6, 6, 6, 6, 6, 1, 3, 4, 3, 1, 5, 6, 6, 6, 2, 3, 3, 3, 12, 7, 1, 1};
  if (category < 1 || category > 24) return -1;
  const int key = category == 20 ? third : sub;
  if (key < 0 || key >= kSubs[category]) return -1;
  int index = 0;
  for (int c = 1; c < category; ++c) index += kSubs[c];
  return index + key;
}

void CollectGraphRanges(std::array<float, 20>& maxima, std::array<float, 20>& minima) {
  maxima.fill(-FLT_MAX);
  minima.fill(FLT_MAX);
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  LyrTrendDummyView* trend = frame != nullptr ? frame->TrendView() : nullptr;
  if (trend == nullptr) return;
  for (int g = 0; g < TrendGraphCountHeld(); ++g) {
    maxima[static_cast<std::size_t>(g)] = trend->TrendArea.Values[static_cast<std::size_t>(g)].RunningMax();
    minima[static_cast<std::size_t>(g)] = trend->TrendArea.Values[static_cast<std::size_t>(g)].RunningMin();
  }
}

LyrDlgTrendGraphSetting::LyrDlgTrendGraphSetting(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {
  MapNotify(kSpan, ui::CBN_SELCHANGE, [this] { OnSpanChanged(); });
  MapNotify(kCount, ui::CBN_SELCHANGE, [this] {
    GraphCount = static_cast<std::int16_t>(std::clamp(Item(kCount).GetCurSel() + 1, 1, 20));
    FillList();
  });
}

LyrDlgTrendGraphSetting::~LyrDlgTrendGraphSetting() = default;

void LyrDlgTrendGraphSetting::SetGraphRanges(const float* maxima, const float* minima) {
  // Held for all 20 graphs: rows added by a larger count have no range yet.
  maxima_.assign(20, -FLT_MAX);
  minima_.assign(20, FLT_MAX);
  const int count = TrendGraphCountHeld();
  for (int g = 0; g < count; ++g) {
    if (maxima != nullptr) maxima_[static_cast<std::size_t>(g)] = maxima[g];
    if (minima != nullptr) minima_[static_cast<std::size_t>(g)] = minima[g];
  }
}

float LyrDlgTrendGraphSetting::RangeOf(const std::vector<float>& v, int row, float none) const {
  return row >= 0 && row < static_cast<int>(v.size()) ? v[static_cast<std::size_t>(row)] : none;
}

bool LyrDlgTrendGraphSetting::OnInitDialog() {
  MinutesPerLine = MinutesPerLineHeld();
  ui::Control span = Item(kSpan);
  span.ResetContent();
  for (int row = 0; row < static_cast<int>(HypnogramSpanTable.size()); ++row) span.AddString(HypnogramSpanText(row));
  const int row = HypnogramSpanRowOf(MinutesPerLine);
  span.SetCurSel(row);
  EnableItem(kHours, row == kHypnogramSpanFree);
  const int minutes = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  const int shown = row == kHypnogramSpanFree ? MinutesPerLine / 60 : minutes >= 60 ? minutes / 60 : minutes;
  SetDlgItemText(kHours, std::to_string(shown));
  initialRow_ = row;
  initialHours_ = GetDlgItemText(kHours);

  ui::Control count = Item(kCount);
  count.ResetContent();
  for (int n = 1; n <= 20; ++n) count.AddString(std::to_string(n));
  GraphCount = static_cast<std::int16_t>(TrendGraphCountHeld());
  count.SetCurSel(GraphCount - 1);

  const int mode = TrendSettingsWord;
  CheckRadioButton(kModeType, kModeDraw, mode == 0 ? kModeType : mode == 1 ? kModeScale : kModeDraw);

  Category = TrendItem.category;
  Sub = TrendItem.subItem;
  Third = TrendItem.third;
  DrawType = TrendItem.word4;
  ValueDisplay = TrendItem.word5;
  DotSize = TrendItem.word6;
  RangeUpper = TrendRangeUpper;
  RangeLower = TrendRangeLower;
  ItemDrawType = TrendRangeMode;
  ItemDotSize = TrendRangeFlag;
  if (maxima_.empty()) SetGraphRanges(nullptr, nullptr);

  ui::Control list = Item(kList);
  list.SetFullRowSelect(true);
  for (int c = 0; c < 5; ++c) list.InsertColumn(c, res::LoadString(kColumnTexts[c]), kColumnWidths[c]);
  FillList();
  return true;
}

void LyrDlgTrendGraphSetting::FillList() {
  if (Document == nullptr || DocumentLoaded == 0) return;
  ui::Control list = Item(kList);
  list.SetRedraw(false);
  list.DeleteAllItems();
  const TrendItemSource src = TrendItemSourceOf(*Document);
  RangeCopyInUse copy(RangeUpper, RangeLower);
  for (int g = 0; g < GraphCount; ++g) {
    const auto i = static_cast<std::size_t>(g);
    char no[8];
    std::snprintf(no, sizeof no, "%2d", g + 1);
    std::string type = GetTrendItemName(src, Category[i]);
    if (const std::string s = GetTrendItemFullName(src, Category[i], Sub[i]); !s.empty()) type += "  " + s;
    if (const std::string s = GetTrendSubItemName(src, Category[i], Sub[i], Third[i]); !s.empty()) type += "  " + s;
    const TrendItemRange r = GetTrendItemRange(Third[i], Category[i], Sub[i], Third[i]);
    std::string draw = GetDrawTypeName(DrawType[i]);
    if (DrawType[i] == 0) draw += " (" + std::to_string(DotSize[i] + 1) + ")";
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, type);
    list.SetItemText(row, 2, Bound(r, true));
    list.SetItemText(row, 3, Bound(r, false));
    list.SetItemText(row, 4, draw);
  }
  list.AutoSizeColumns();
  list.SetRedraw(true);
}

void LyrDlgTrendGraphSetting::OnSpanChanged() {
  const int row = Item(kSpan).GetCurSel();
  if (row < 0 || row >= static_cast<int>(HypnogramSpanTable.size())) return;
  int minutes = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  if (minutes >= 60) minutes /= 60;
  if (minutes > 0) {
    SetDlgItemText(kHours, std::to_string(minutes));
    SetDlgItemText(kHoursLabel, res::LoadString(row < 3 ? kStrMin : kStrHours));
  }
  EnableItem(kHours, row == kHypnogramSpanFree);
}

int LyrDlgTrendGraphSetting::GetSelectedRow() const {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  if (rows.empty()) return -1;
  const int row = rows.front();
  return row >= 0 && row < GraphCount && row < 20 ? row : -1;
}

void LyrDlgTrendGraphSetting::OnNotify(int controlId, int code) {
  if (controlId == kList && code == ui::NM_CLICK) OnListClick();
}

void LyrDlgTrendGraphSetting::OnListClick() {
  if (Document == nullptr || DocumentLoaded == 0) return;
  const int row = GetSelectedRow();
  if (row < 0) return;
  const auto i = static_cast<std::size_t>(row);
  if (IsDlgButtonChecked(kModeType) != 0) {
    menuRow_ = row;
    popup_.SetOwner(Document, this);
    popup_.TrackItemMenu();
    return;
  }
  if (IsDlgButtonChecked(kModeScale) != 0) {
    LyrDlgTrendScale dialog(this);
    dialog.Document = Document;
    dialog.SetParams(row, Category[i], Sub[i], Third[i], Item(kList).GetItemText(row, 2),
                     Item(kList).GetItemText(row, 3), RangeOf(maxima_, row, -FLT_MAX), RangeOf(minima_, row, FLT_MAX));
    if (dialog.DoModal() != ui::IDOK) return;
    {
      RangeCopyInUse copy(RangeUpper, RangeLower);
      const TrendItemRange r = GetTrendItemRange(Third[i], Category[i], Sub[i], Third[i]);
      const double top = std::atof(dialog.TopText.c_str()), bottom = std::atof(dialog.BottomText.c_str());
      SetTrendItemRange(Third[i], Category[i], Sub[i], Third[i], r.mode, static_cast<std::int32_t>(top),
                        static_cast<std::int32_t>(bottom), top, bottom);
    }
    FillList();
    return;
  }
  LyrDlgTrendDrawType dialog(this);
  dialog.SetParams(Category[i], Sub[i], DrawType[i], ValueDisplay[i], DotSize[i]);
  if (dialog.DoModal() != ui::IDOK) return;
  DrawType[i] = dialog.DrawType;
  ValueDisplay[i] = dialog.ValueDisplay;
  DotSize[i] = dialog.DotSize;
  if (const int scale = TrendItemScaleIndex(Category[i], Sub[i], Third[i]); scale >= 0) {
    ItemDrawType[static_cast<std::size_t>(scale)] = dialog.DrawType;
    ItemDotSize[static_cast<std::size_t>(scale)] = dialog.DotSize;
  }
  FillList();
}

bool LyrDlgTrendGraphSetting::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  const std::uint32_t id = ui::LowWord(wParam);
  if (ui::HighWord(wParam) == 0 && (TrendItemOfCommand(id) || id == kCmdTrendItemCancel)) {
    OnItemCommand(id);
    return true;
  }
  return ui::Dialog::OnCommand(wParam, lParam);
}

void LyrDlgTrendGraphSetting::OnItemCommand(std::uint32_t id) {
  const std::optional<TrendItemCommand> command = TrendItemOfCommand(id);
  const int row = menuRow_ >= 0 ? menuRow_ : GetSelectedRow();
  menuRow_ = -1;
  if (!command || row < 0 || row >= GraphCount) return;
  int third = command->third;
  if (command->channelChoice != 0) {
    third = ChooseTrendItemChannel(Document, command->channelChoice, this);
    if (third < 0) return;
  }
  SetRowItem(row, command->category, command->sub, third);
}

void LyrDlgTrendGraphSetting::SetRowItem(int row, int category, int sub, int third) {
  if (row < 0 || row >= 20) return;
  const auto i = static_cast<std::size_t>(row);
  Category[i] = static_cast<std::uint16_t>(category);
  Sub[i] = static_cast<std::uint16_t>(sub);
  Third[i] = static_cast<std::uint16_t>(third);
  FillList();
}

void LyrDlgTrendGraphSetting::OnOK() {
  const int row = Item(kSpan).GetCurSel();
  if (row >= 0 && row < kHypnogramSpanFree) {
    MinutesPerLine = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  } else {
    const std::string text = GetDlgItemText(kHours);
    // A span of its own (90 minutes) stays as it was while its hours are not retyped.
    if (!text.empty() && !(initialRow_ == kHypnogramSpanFree && text == initialHours_))
      MinutesPerLine = std::clamp(std::atoi(text.c_str()), 1, 24) * 60;
    if (MinutesPerLine <= 0) MinutesPerLine = 60;
  }
  GraphCount = static_cast<std::int16_t>(std::clamp(Item(kCount).GetCurSel() + 1, 1, 20));
  TrendItem.category = Category;
  TrendItem.subItem = Sub;
  TrendItem.third = Third;
  TrendItem.word4 = DrawType;
  TrendItem.word5 = ValueDisplay;
  TrendItem.word6 = DotSize;
  TrendRangeUpper = RangeUpper;
  TrendRangeLower = RangeLower;
  TrendRangeMode = ItemDrawType;
  TrendRangeFlag = ItemDotSize;
  TrendSettingsWord = IsDlgButtonChecked(kModeType) != 0 ? 0 : IsDlgButtonChecked(kModeScale) != 0 ? 1 : 2;
  EndDialog(ui::IDOK);
}
