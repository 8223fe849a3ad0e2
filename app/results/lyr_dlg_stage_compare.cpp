#include "app/results/lyr_dlg_stage_compare.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kIdsEpochDifferent = 2383;
constexpr std::uint32_t kIdsColResultFile = 65392;
constexpr std::uint32_t kIdsColEpochTime = 65393;
constexpr std::uint32_t kIdsColStage = 65394;
constexpr std::uint32_t kIdsColDistribution = 65395;
constexpr std::uint32_t kIdsColEachStage = 65396;
constexpr std::uint32_t kIdsFile1Start = 65397;
constexpr std::uint32_t kIdsFile2Start = 65398;
constexpr int kColumnWidth = 70;

int ListOf(int which) { return which == 0 ? IDC_SCMP_FILE1 : IDC_SCMP_FILE2; }

// The file name without folder and extension.
std::string BareName(const std::string& path) {
  std::string name = sys::FileNameOf(path);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

// Columns keep their width unless a name or title needs more.
void WidenToContent(ui::Control& list, int columns) {
  std::vector<int> widths;
  for (int c = 0; c < columns; ++c) widths.push_back(list.GetColumnWidth(c));
  list.AutoSizeColumns();
  for (int c = 0; c < columns; ++c)
    list.SetColumnWidth(c, std::max(widths[static_cast<std::size_t>(c)], list.GetColumnWidth(c)));
}

}  // namespace

LyrDlgStageCompare::LyrDlgStageCompare(const UtilityResultFiles* files, ui::Window* parent)
    : ui::Dialog(IDD_STAGE_COMPARE, parent), files_(files) {
  for (int which : {0, 1}) MapNotify(ListOf(which), ui::NM_CLICK, [this, which] { OnFileClick(which); });
}

LyrDlgStageCompare::~LyrDlgStageCompare() = default;

bool LyrDlgStageCompare::OnInitDialog() {
  const int count = files_ != nullptr ? files_->Count() : 0;
  for (int which : {0, 1}) {
    ui::Control list = Item(ListOf(which));
    list.SetFullRowSelect(true);
    list.SetMultiSelect(false);
    list.InsertColumn(0, res::LoadString(kIdsColResultFile), kColumnWidth);
    list.InsertColumn(1, res::LoadString(kIdsColEpochTime), kColumnWidth);
    for (int s = 0; s < count; ++s) {
      const UtilityResultFileRec& f = *files_->File(s);
      const int row = list.InsertItem(-1, BareName(f.path));
      list.SetItemText(row, 1, std::to_string(f.epochTime));
    }
    WidenToContent(list, 2);
  }
  // Both pickers start over the shortest file, disabled until a file is chosen.
  const UtilityResultFileRec* shortest = files_ != nullptr ? files_->File(files_->FindShortestFile()) : nullptr;
  start1_ = std::make_unique<LyrDlgTimePoint>(this);
  start2_ = std::make_unique<LyrDlgTimePoint>(this);
  for (int which : {0, 1}) {
    LyrDlgTimePoint& panel = *StartPanel(which);
    panel.CreatePanel(this, which == 0 ? IDC_SCMP_START1 : IDC_SCMP_START2);
    panel.SetCaption(res::LoadString(which == 0 ? kIdsFile1Start : kIdsFile2Start));
    if (shortest != nullptr) {
      panel.SetFileTime(shortest->startDateTime, shortest->epochTime, static_cast<std::int16_t>(ClockTimeDisplay));
      panel.SetRange(0, std::max(shortest->epochCount - 1, 0));
    }
    panel.SetEpoch(0);
    panel.EnableControls(false);
  }
  ui::Control result = Item(IDC_SCMP_RESULT);
  result.SetFullRowSelect(true);
  result.InsertColumn(0, res::LoadString(kIdsColStage), kColumnWidth);
  result.InsertColumn(1, res::LoadString(kIdsColDistribution), kColumnWidth);
  result.InsertColumn(2, res::LoadString(kIdsColEachStage), kColumnWidth);
  return true;
}

void LyrDlgStageCompare::OnFileClick(int which) {
  LyrDlgTimePoint& panel = *StartPanel(which);
  panel.EnableControls(false);
  const std::vector<int> rows = Item(ListOf(which)).GetSelectedIndexes();
  const UtilityResultFileRec* f = rows.empty() || files_ == nullptr ? nullptr : files_->File(rows.front());
  if (f == nullptr) return;
  panel.EnableControls(true);
  panel.SetFileTime(f->startDateTime, f->epochTime, static_cast<std::int16_t>(ClockTimeDisplay));
  panel.SetRange(0, std::max(f->epochCount - 1, 0));
  panel.SetEpoch(0);
}

void LyrDlgStageCompare::OnOK() {
  const std::vector<int> rowsA = Item(IDC_SCMP_FILE1).GetSelectedIndexes();
  const std::vector<int> rowsB = Item(IDC_SCMP_FILE2).GetSelectedIndexes();
  if (rowsA.empty() || rowsB.empty() || files_ == nullptr) return;
  const UtilityResultFileRec* a = files_->File(rowsA.front());
  const UtilityResultFileRec* b = files_->File(rowsB.front());
  if (a == nullptr || b == nullptr) return;
  if (a->epochTime != b->epochTime) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(res::LoadString(kIdsEpochDifferent), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  result_ = CompareStages(*a, start1_->GetEpoch(), *b, start2_->GetEpoch());
  ui::Control list = Item(IDC_SCMP_RESULT);
  list.DeleteAllItems();
  for (const StageCompareRow& r : result_.rows) {
    const int row = list.InsertItem(-1, r.label);
    list.SetItemText(row, 1, r.distribution);
    list.SetItemText(row, 2, r.eachStage);
  }
  WidenToContent(list, 3);
  SetDlgItemText(IDC_SCMP_TOTAL, result_.total);
}
