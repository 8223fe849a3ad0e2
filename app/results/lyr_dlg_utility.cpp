#include "app/results/lyr_dlg_utility.h"

#include <algorithm>
#include <cstdio>

#include "app/trend/hypnogram_span_table.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kStrNo = 2205, kStrFileName = 2350, kStrPath = 2251, kStrSubject = 2351,
                        kStrGender = 2352, kStrYear = 2353, kStrAge = 2354, kStrMonth = 2355, kStrMale = 2356,
                        kStrFemale = 2357, kStrMemo = 2358, kStrMinutes = 2194, kStrHours = 2195,
                        kStrNeedDisplayTime = 64391;
// Captions of the four stage types.
constexpr std::array<std::uint32_t, 4> kStrStageTypes{9755, 9756, 9757, 9758};

int CheckedIndex(const ui::ControlHost& host, const std::array<int, 4>& ids) {
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (host.IsDlgButtonChecked(ids[i]) != 0) return static_cast<int>(i);
  return 0;
}
}  // namespace

// ---- Close -------------------------------------------------------------------------------------

LyrDlgUtilityClose::LyrDlgUtilityClose(std::vector<std::string> paths, ui::Window* parent)
    : ui::Dialog(IDD_UTILITY_CLOSE, parent), m_Paths(std::move(paths)) {
  m_CloseFlags.fill(0xFFFF);
  if (m_Paths.size() > m_CloseFlags.size()) m_Paths.resize(m_CloseFlags.size());
}

bool LyrDlgUtilityClose::OnInitDialog() {
  ui::Control list = Item(kList);
  list.SetMultiSelect(true);
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(kStrNo));
  list.InsertColumn(1, res::LoadString(kStrFileName));
  list.InsertColumn(2, res::LoadString(kStrPath));
  for (std::size_t i = 0; i < m_Paths.size(); ++i) {
    const sys::PathParts parts = sys::SplitPath(m_Paths[i]);
    const int row = list.InsertItem(-1, std::to_string(i + 1));
    list.SetItemText(row, 1, parts.name + parts.extension);
    list.SetItemText(row, 2, parts.drive + parts.folder);
  }
  list.AutoSizeColumns();
  return true;
}

void LyrDlgUtilityClose::OnOK() {
  const ui::Control list = Item(kList);
  for (std::size_t i = 0; i < m_Paths.size(); ++i)
    m_CloseFlags[i] = list.IsSelected(static_cast<int>(i)) ? 1 : 0;
  EndDialog(ui::IDOK);
}

// ---- File Information --------------------------------------------------------------------------

LyrDlgUtilityFileInformation::LyrDlgUtilityFileInformation(std::vector<UtilityFileSummary> files, ui::Window* parent)
    : ui::Dialog(IDD_UTILITY_FILE_INFORMATION, parent), files_(std::move(files)) {
  MapNotify(kFiles, ui::LBN_SELCHANGE, [this] { ShowFile(Item(kFiles).GetCurSel()); });
}

bool LyrDlgUtilityFileInformation::OnInitDialog() {
  ui::Control names = Item(kFiles);
  for (const UtilityFileSummary& f : files_) names.AddString(sys::FileTitleOf(f.path));
  ui::Control info = Item(kInfo);
  info.SetFullRowSelect(true);
  info.InsertColumn(0, {}, 150);
  info.InsertColumn(1, {}, 150);
  return true;
}

std::vector<std::pair<std::string, std::string>> LyrDlgUtilityFileInformation::Rows(const UtilityFileSummary& file) {
  std::vector<std::pair<std::string, std::string>> rows;
  const LyrRecordInfo& r = file.record;
  rows.emplace_back(res::LoadString(kStrFileName), sys::FileNameOf(file.path));
  if (!r.subjectName.empty()) rows.emplace_back(res::LoadString(kStrSubject), r.subjectName);
  // The stored word 0xFFFF: not given.
  if (static_cast<std::uint16_t>(r.gender) != 0xFFFF)
    rows.emplace_back(res::LoadString(kStrGender), res::LoadString(r.gender == 0 ? kStrMale : kStrFemale));
  if (r.ageYears != 0 || r.ageMonths != 0) {
    char age[128];
    std::snprintf(age, sizeof age, "%ld%s %ld%s", static_cast<long>(r.ageYears), res::LoadString(kStrYear).c_str(),
                  static_cast<long>(r.ageMonths), res::LoadString(kStrMonth).c_str());
    rows.emplace_back(res::LoadString(kStrAge), age);
  }
  if (!r.memo.empty()) rows.emplace_back(res::LoadString(kStrMemo), r.memo);
  std::size_t last = 0;
  for (std::size_t i = 0; i < r.freeComments.size(); ++i)
    if (!r.freeComments[i].label.empty() || !r.freeComments[i].text.empty()) last = i + 1;
  for (std::size_t i = 0; i < last; ++i) rows.emplace_back(r.freeComments[i].label, r.freeComments[i].text);
  for (const std::string& memo : file.memos) rows.emplace_back(memo, std::string());
  return rows;
}

void LyrDlgUtilityFileInformation::ShowFile(int index) {
  ui::Control info = Item(kInfo);
  info.DeleteAllItems();
  if (index < 0 || index >= static_cast<int>(files_.size())) return;
  for (const auto& [label, value] : Rows(files_[static_cast<std::size_t>(index)])) {
    const int row = info.InsertItem(-1, label);
    info.SetItemText(row, 1, value);
  }
}

// ---- Display Time ------------------------------------------------------------------------------

LyrDlgUtilityDisplayTime::LyrDlgUtilityDisplayTime(std::int32_t minutes, ui::Window* parent)
    : ui::Dialog(IDD_UTILITY_DISPLAY_TIME, parent), m_Minutes(minutes) {}

bool LyrDlgUtilityDisplayTime::OnInitDialog() {
  SetDlgItemText(kHours, m_Minutes / 60 > 0 ? std::to_string(m_Minutes / 60) : std::string());
  return true;
}

void LyrDlgUtilityDisplayTime::OnOK() {
  long long hours = GetDlgItemInt(kHours);
  if (hours < 1) hours = 24;
  if (hours > 240) hours = 240;
  m_Minutes = static_cast<std::int32_t>(hours * 60);
  EndDialog(ui::IDOK);
}

// ---- Select File -------------------------------------------------------------------------------

LyrDlgUtilitySelectFile::LyrDlgUtilitySelectFile(std::vector<std::string> paths, ui::Window* parent)
    : ui::Dialog(IDD_UTILITY_SELECT_FILE, parent), paths_(std::move(paths)) {}

bool LyrDlgUtilitySelectFile::OnInitDialog() {
  ui::Control list = Item(kFiles);
  for (const std::string& p : paths_) list.AddString(sys::FileTitleOf(p));
  return true;
}

void LyrDlgUtilitySelectFile::OnOK() {
  const int index = Item(kFiles).GetCurSel();
  if (index < 0) return;
  m_Index = index;
  EndDialog(ui::IDOK);
}

// ---- Setup -------------------------------------------------------------------------------------

LyrDlgUtilitySetup::LyrDlgUtilitySetup(std::uint16_t mode, std::uint16_t stageType, std::uint16_t freeCount,
                                       ui::Window* parent)
    : ui::Dialog(IDD_UTILITY_SETUP, parent), m_Mode(mode), m_StageType(stageType), m_FreeCount(freeCount) {
  MapCommand(kEachFile, [this] { EnableGroups(); });
  MapCommand(kArbitrary, [this] { EnableGroups(); });
}

bool LyrDlgUtilitySetup::OnInitDialog() {
  for (std::size_t i = 0; i < kTypes.size(); ++i) SetDlgItemText(kTypes[i], res::LoadString(kStrStageTypes[i]));
  CheckDlgButton(kEachFile, m_Mode == 0 ? 1 : 0);
  CheckDlgButton(kArbitrary, m_Mode != 0 ? 1 : 0);
  for (std::size_t i = 0; i < kTypes.size(); ++i) CheckDlgButton(kTypes[i], m_StageType == i ? 1 : 0);
  for (std::size_t i = 0; i < kFree.size(); ++i) CheckDlgButton(kFree[i], m_FreeCount == i ? 1 : 0);
  EnableGroups();
  return true;
}

void LyrDlgUtilitySetup::EnableGroups() {
  const bool arbitrary = IsDlgButtonChecked(kEachFile) == 0;
  for (int id : kTypes) EnableItem(id, arbitrary);
  for (int id : kFree) EnableItem(id, arbitrary);
}

void LyrDlgUtilitySetup::OnOK() {
  if (IsDlgButtonChecked(kEachFile) != 0) {
    m_Mode = m_StageType = m_FreeCount = 0;
  } else {
    m_Mode = 1;
    m_StageType = static_cast<std::uint16_t>(CheckedIndex(*this, kTypes));
    m_FreeCount = static_cast<std::uint16_t>(CheckedIndex(*this, kFree));
  }
  EndDialog(ui::IDOK);
}

// ---- Window Setting ----------------------------------------------------------------------------

LyrDlgUtilityWindowSetting::LyrDlgUtilityWindowSetting(std::int32_t lines, std::int32_t minutes, ui::Window* parent)
    : ui::Dialog(IDD_UTILITY_WINDOW_SETTING, parent), m_Lines(lines), m_Minutes(minutes) {
  MapNotify(kTime, ui::CBN_SELCHANGE, [this] { OnTimeChange(); });
}

bool LyrDlgUtilityWindowSetting::OnInitDialog() {
  ui::Control lines = Item(kLines);
  for (int i = 1; i <= 12; ++i) lines.AddString(std::to_string(i));
  lines.SetCurSel(std::clamp<int>(m_Lines, 1, 12) - 1);
  ui::Control time = Item(kTime);
  for (int row = 0; row <= kHypnogramSpanFree; ++row) time.AddString(HypnogramSpanText(row));
  const int row = HypnogramSpanRowOf(m_Minutes);
  time.SetCurSel(row);
  SetDlgItemText(kHours, std::to_string(m_Minutes / 60));
  EnableItem(kHours, row == kHypnogramSpanFree);
  return true;
}

void LyrDlgUtilityWindowSetting::OnTimeChange() {
  const int row = Item(kTime).GetCurSel();
  if (row < 0) return;
  // The entry's leading number: " 10min." 10, "2hours" 2, "Free" 0.
  const int minutes = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  const int shown = minutes < 0 ? 0 : minutes >= 60 ? minutes / 60 : minutes;
  SetDlgItemText(kHours, std::to_string(shown));
  SetDlgItemText(kUnit, res::LoadString(row < 3 ? kStrMinutes : kStrHours));
  EnableItem(kHours, row == kHypnogramSpanFree);
}

void LyrDlgUtilityWindowSetting::OnOK() {
  const int row = Item(kTime).GetCurSel();
  std::int32_t minutes = m_Minutes;
  if (row == kHypnogramSpanFree) {
    bool ok = false;
    const long long hours = GetDlgItemInt(kHours, &ok);
    // A line needs a positive display time.
    if (!ok || hours < 1) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(kStrNeedDisplayTime, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      Item(kHours).SetFocus();
      Item(kHours).SelectAll();
      return;
    }
    minutes = static_cast<std::int32_t>(std::min<long long>(hours * 60, kUtilityMaxDisplayMinutes));
  } else if (row >= 0) {
    minutes = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  }
  m_Lines = Item(kLines).GetCurSel() + 1;
  m_Minutes = minutes;
  EndDialog(ui::IDOK);
}
