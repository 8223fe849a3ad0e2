#include "app/scoring/lyr_dlg_multi_screening.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/document/lyr_dlg_open_dsi_file.h"
#include "app/document/lyr_dlg_open_raw_data.h"
#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/cfolder_browse_dlg.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/scoring/lyr_dlg_fft_condition.h"
#include "app/scoring/lyr_dlg_filter_condition.h"
#include "app/scoring/lyr_dlg_multi_screening_range.h"
#include "app/scoring/lyr_dlg_screening_logic.h"
#include "app/scoring/lyr_multi_screening.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/system/shell.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsOneEmg = 62353;
constexpr std::uint32_t kIdsSelectRawData = 62354;
constexpr std::uint32_t kIdsLogicChannel = 62355;
constexpr std::uint32_t kIdsComplete = 62304;
constexpr std::uint32_t kIdsPartFailed = 62357;
constexpr std::uint32_t kIdsSameRawFile = 62410;
constexpr std::uint32_t kIdsTooManyFiles = 62411;
constexpr std::uint32_t kIdsSelectFolder = 62412;
constexpr std::uint32_t kIdsSetFilter = 62413;
constexpr std::uint32_t kIdsNone = 62414;
constexpr std::uint32_t kIdsRecordingTime = 62415;
constexpr std::uint32_t kIdsScheduledTime = 62416;
constexpr std::uint32_t kIdsElapsedText = 62417;
constexpr std::uint32_t kIdsMssFilter = 62418;
constexpr std::uint32_t kIdsColumnsFiles = 62419;
constexpr std::uint32_t kIdsColumnsChannels = 62420;
constexpr std::uint32_t kIdsAttributes = 62421;
constexpr std::uint32_t kIdsOnOff = 62422;

constexpr int kMaxRow = kMsMaxPositions - 1;

// The comma-separated items of a string-table text.
std::vector<std::string> Items(std::uint32_t id) {
  std::vector<std::string> out;
  std::string text = res::LoadString(id);
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t comma = text.find(',', at);
    out.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Keeps entry `keep` (1-based) of a filter text "Desc|pat|Desc|pat||".
std::string FilterEntry(const std::string& filter, int keep) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at < filter.size()) {
    const std::size_t bar = filter.find('|', at);
    if (bar == std::string::npos) break;
    parts.push_back(filter.substr(at, bar - at));
    at = bar + 1;
  }
  const std::size_t i = static_cast<std::size_t>(keep - 1) * 2;
  if (i + 1 >= parts.size()) return filter;
  return parts[i] + "|" + parts[i + 1] + "||";
}

bool IsFilterSet(const MultiScreeningChannelFilter& f) {
  return f.BaseOffset != 0 || f.FilterType != 0 || f.NotchOn != 0;
}

}  // namespace

LyrDlgMultiScreening::LyrDlgMultiScreening(CMainFrame* frame)
    : ui::Dialog(IDD_MULTI_SCREENING, frame), frame_(frame) {
  // "Start Screening(&O)" is the window's OK command.
  MapCommand(ui::IDOK, [this] { RunScreening(0); });
  MapCommand(IDC_MS_ADD, [this] { OnAdd(); });
  MapCommand(IDC_MS_DELETE, [this] { OnDelete(); });
  MapCommand(IDC_MS_UNDER_RAW, [this] { OnResultMode(); });
  MapCommand(IDC_MS_USE_FOLDER, [this] { OnResultMode(); });
  MapCommand(IDC_MS_SELECT_FOLDER, [this] { OnSelectFolder(); });
  MapNotify(IDC_MS_COUNT, ui::EN_CHANGE, [this] { OnCountChange(); });
  MapNotify(IDC_MS_COUNT_SPIN, ui::UDN_DELTAPOS, [this] { OnSpin(); });
  MapNotify(IDC_MS_CHANNEL_LIST, ui::NM_CLICK, [this] { OnChannelSelection(); });
  MapNotify(IDC_MS_CHANNEL_LIST, ui::LVN_ITEMCHANGED, [this] { OnChannelSelection(); });
  MapNotify(IDC_MS_ATTRIBUTE, ui::CBN_SELCHANGE, [this] { OnAttributeChange(); });
  MapNotify(IDC_MS_FILTER, ui::CBN_SELCHANGE, [this] { OnFilterChange(); });
  MapCommand(IDC_MS_APPLY, [this] { OnApply(); });
  MapCommand(IDC_MS_UP, [this] { OnMoveUp(); });
  MapCommand(IDC_MS_DOWN, [this] { OnMoveDown(); });
  MapCommand(IDC_MS_LOGIC, [this] { OpenLogic(); });
  MapCommand(IDC_MS_FFT, [this] { OnFft(); });
  MapCommand(IDC_MS_SET_TIME, [this] { OnSetTime(); });
  MapCommand(IDC_MS_LOAD, [this] { OnLoad(); });
  MapCommand(IDC_MS_SAVE, [this] { OnSave(); });
}

LyrDlgMultiScreening::~LyrDlgMultiScreening() {
  if (logic_) {
    LyrDlgScreeningLogic* logic = logic_;
    logic_ = nullptr;
    if (logic->IsWindow()) logic->DestroyWindow();
    delete logic;
  }
}

bool LyrDlgMultiScreening::OnInitDialog() {
  filling_ = true;
  upButton_.SubclassDlgItem(IDC_MS_UP, *this);
  upButton_.SetIcon(353, 352);
  upButton_.SetFlat(true);
  downButton_.SubclassDlgItem(IDC_MS_DOWN, *this);
  downButton_.SetIcon(351, 350);
  downButton_.SetFlat(true);

  ui::Control files = Item(IDC_MS_FILE_LIST);
  const int width = std::max(files.GetClientRect().Width() - 18, 100);
  const std::vector<std::string> fileColumns = Items(kIdsColumnsFiles);
  const int fileWidths[] = {12, 80, 80};
  for (int c = 0; c < 3; ++c)
    files.InsertColumn(c, c < static_cast<int>(fileColumns.size()) ? fileColumns[static_cast<std::size_t>(c)] : "",
                       width * fileWidths[c] / 100);
  files.SetFullRowSelect(true);
  files.SetGridLines(true);
  files.SetMultiSelect(true);
  // The open recording is the batch's only file.
  Settings.FileList.clear();
  Item(IDC_MS_COUNT_SPIN).SetRange(1, kMsMaxPositions);

  ui::Control channels = Item(IDC_MS_CHANNEL_LIST);
  const int cwidth = std::max(channels.GetClientRect().Width() - 18, 100);
  const std::vector<std::string> channelColumns = Items(kIdsColumnsChannels);
  const int channelWidths[] = {10, 25, 15, 10, 40};
  for (int c = 0; c < 5; ++c)
    channels.InsertColumn(
        c, c < static_cast<int>(channelColumns.size()) ? channelColumns[static_cast<std::size_t>(c)] : "",
        cwidth * channelWidths[c] / 100);
  channels.SetFullRowSelect(true);
  channels.SetGridLines(true);
  channels.SetMultiSelect(true);

  ui::Control attribute = Item(IDC_MS_ATTRIBUTE);
  attribute.ResetContent();
  for (const std::string& a : Items(kIdsAttributes)) attribute.AddString(a);
  ui::Control level = Item(IDC_MS_LEVEL);
  level.ResetContent();
  level.AddString("Auto");
  level.AddString("----");
  ui::Control filter = Item(IDC_MS_FILTER);
  filter.ResetContent();
  filter.AddString("");
  filter.AddString(res::LoadString(kIdsSetFilter));
  filter.AddString(res::LoadString(kIdsNone));

  ShowSettings();
  CQLM2_AnalyzerDoc* doc = frame_ != nullptr ? frame_->GetDocument() : nullptr;
  if (doc != nullptr && DocumentLoaded != 0 && !doc->RecordInfo.path.empty()) {
    Settings.FileList.push_back(doc->RecordInfo.path);
    Settings.FileListPluginPath = doc->RecordInfo.sourceKind == 3 ? PluginPath : std::string();
  }
  FillFileList();
  SetButtonStates();
  ShowTemplateName({});
  filling_ = false;
  initialised_ = 1;
  return true;
}

// ---- showing the record ----------------------------------------------------------------

void LyrDlgMultiScreening::ShowSettings() {
  const bool wasFilling = filling_;
  filling_ = true;
  CheckRadioButton(IDC_MS_UNDER_RAW, IDC_MS_USE_FOLDER, Settings.UseResultFolder != 0 ? IDC_MS_USE_FOLDER : IDC_MS_UNDER_RAW);
  SetDlgItemText(IDC_MS_FOLDER, Settings.ResultFolder);
  EnableItem(IDC_MS_SELECT_FOLDER, Settings.UseResultFolder != 0);
  EnableItem(IDC_MS_FOLDER, Settings.UseResultFolder != 0);
  Settings.ChannelsPerAnimal = std::clamp(Settings.ChannelsPerAnimal, 1, kMsMaxPositions);
  while (static_cast<int>(Settings.ChannelAttributes.size()) < Settings.ChannelsPerAnimal ||
         static_cast<int>(Settings.ChannelFilters.size()) < Settings.ChannelsPerAnimal)
    Settings.AddChannelPosition();
  Item(IDC_MS_COUNT_SPIN).SetPos(Settings.ChannelsPerAnimal);
  SetDlgItemInt(IDC_MS_COUNT, Settings.ChannelsPerAnimal);
  FillChannelList();
  SelectChannelRows({0});
  ShowChannelRow(0);
  EnableItem(IDC_MS_UP, false);
  EnableItem(IDC_MS_DOWN, true);
  ShowRange();
  filling_ = wasFilling;
}

void LyrDlgMultiScreening::FillFileList() {
  ui::Control list = Item(IDC_MS_FILE_LIST);
  list.DeleteAllItems();
  const bool dsi = LyrMultiScreeningSetting::IsDsiPlugin(Settings.FileListPluginPath) != 0;
  for (std::size_t i = 0; i < Settings.FileList.size(); ++i) {
    const std::string& path = Settings.FileList[i];
    const int row = list.InsertItem(-1, std::to_string(i + 1));
    list.SetItemText(row, 1, dsi ? sys::FileTitleOf(path) : sys::FileNameOf(path));
    list.SetItemText(row, 2, path);
  }
}

std::string LyrDlgMultiScreening::LevelText(const MultiScreeningChannelAttribute& a) {
  if (a.Attribute != kMsLocomotion) return "----";
  if (a.LevelMode == 0) return "Auto";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(a.Level));
  return buf;
}

std::string LyrDlgMultiScreening::FilterComboText(const MultiScreeningChannelFilter& f) {
  if (!IsFilterSet(f)) return {};
  return std::string(f.BaseOffset != 0 ? "Base:ON /" : "Base:OFF/") +
         LyrMultiScreeningSetting::FilterText(f.FilterType, f.Cutoff1, f.Cutoff2, f.NotchOn, f.NotchFrequency);
}

void LyrDlgMultiScreening::FillChannelList() {
  ui::Control list = Item(IDC_MS_CHANNEL_LIST);
  list.DeleteAllItems();
  const std::vector<std::string> names = Items(kIdsAttributes);
  const std::vector<std::string> onOff = Items(kIdsOnOff);
  for (int r = 0; r < Settings.ChannelsPerAnimal; ++r) {
    const MultiScreeningChannelAttribute& a = Settings.ChannelAttributes[static_cast<std::size_t>(r)];
    const MultiScreeningChannelFilter& f = Settings.ChannelFilters[static_cast<std::size_t>(r)];
    const int row = list.InsertItem(-1, std::to_string(r + 1));
    const std::size_t kind = std::min<std::size_t>(a.Attribute, 3);
    list.SetItemText(row, 1, kind < names.size() ? names[kind] : "");
    list.SetItemText(row, 2, LevelText(a));
    if (onOff.size() >= 2) list.SetItemText(row, 3, onOff[f.BaseOffset != 0 ? 0 : 1]);
    list.SetItemText(row, 4, LyrMultiScreeningSetting::FilterText(f.FilterType, f.Cutoff1, f.Cutoff2, f.NotchOn,
                                                                  f.NotchFrequency));
  }
}

std::vector<int> LyrDlgMultiScreening::SelectedChannelRows() const {
  std::vector<int> rows;
  ui::Control list = Item(IDC_MS_CHANNEL_LIST);
  for (int r = 0; r < list.GetCount(); ++r)
    if (list.IsSelected(r)) rows.push_back(r);
  return rows;
}

void LyrDlgMultiScreening::SelectChannelRows(const std::vector<int>& rows) {
  const bool wasFilling = filling_;
  filling_ = true;
  ui::Control list = Item(IDC_MS_CHANNEL_LIST);
  for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, std::find(rows.begin(), rows.end(), r) != rows.end());
  filling_ = wasFilling;
}

void LyrDlgMultiScreening::ShowChannelRow(int row) {
  if (row < 0 || row >= static_cast<int>(Settings.ChannelAttributes.size())) return;
  const MultiScreeningChannelAttribute& a = Settings.ChannelAttributes[static_cast<std::size_t>(row)];
  Item(IDC_MS_ATTRIBUTE).SetCurSel(std::min<int>(a.Attribute, 3));
  ui::Control level = Item(IDC_MS_LEVEL);
  if (a.Attribute != kMsLocomotion) level.SetCurSel(1);
  else if (a.LevelMode == 0) level.SetCurSel(0);
  else level.SetText(LevelText(a));
  level.Enable(a.Attribute == kMsLocomotion);
  if (row < static_cast<int>(Settings.ChannelFilters.size()))
    CurrentFilter = Settings.ChannelFilters[static_cast<std::size_t>(row)];
  ShowCurrentFilter();
}

void LyrDlgMultiScreening::ShowCurrentFilter() {
  ui::Control combo = Item(IDC_MS_FILTER);
  combo.DeleteString(0);
  combo.InsertString(0, FilterComboText(CurrentFilter));
  combo.SetCurSel(IsFilterSet(CurrentFilter) ? 0 : 2);
}

std::string LyrDlgMultiScreening::StartText(const LyrMultiScreeningSetting& s) {
  if (s.RangeStartMode == 0) return res::LoadString(kIdsRecordingTime);
  if (s.RangeStartMode != 1) return {};
  std::string format = res::LoadString(kIdsScheduledTime);
  char buf[128];
  std::snprintf(buf, sizeof buf, format.c_str(), s.RangeStartTime[4], s.RangeStartTime[5], s.RangeStartTime[6]);
  return buf;
}

std::string LyrDlgMultiScreening::EndText(const LyrMultiScreeningSetting& s) {
  if (s.RangeEndMode == 0) return res::LoadString(kIdsRecordingTime);
  if (s.RangeEndMode != 2) return {};
  std::string format = res::LoadString(kIdsElapsedText);
  char buf[128];
  std::snprintf(buf, sizeof buf, format.c_str(), s.RangeEndDays, s.RangeEndHours,
                s.RangeEndDays * 24 + s.RangeEndHours);
  return buf;
}

void LyrDlgMultiScreening::ShowRange() {
  SetDlgItemText(IDC_MS_START_TEXT, StartText(Settings));
  SetDlgItemText(IDC_MS_END_TEXT, EndText(Settings));
}

void LyrDlgMultiScreening::SetButtonStates() {
  const bool listed = !Settings.FileList.empty();
  EnableItem(IDC_MS_ADD, !(listed && LyrMultiScreeningSetting::IsOtherImportPlugin(Settings.FileListPluginPath) != 0));
  EnableItem(IDC_MS_DELETE, listed);
}

void LyrDlgMultiScreening::ShowTemplateName(const std::string& title) {
  templateName_.clear();
  if (!Settings.SettingFilePath.empty() && Settings.SettingFileLoaded != 0)
    templateName_ = !title.empty() ? title : LyrMultiScreeningSetting::GetFileTitle(Settings.SettingFilePath);
  SetDlgItemText(IDC_MS_TEMPLATE, templateName_);
}

void LyrDlgMultiScreening::MarkChanged() {
  if (templateName_.empty() || templateName_.find('*') != std::string::npos) return;
  templateName_ += "*";
  Settings.SettingFileLoaded = 0;
  SetDlgItemText(IDC_MS_TEMPLATE, templateName_);
}

void LyrDlgMultiScreening::OnCancel() {
  Settings.SaveResume();
  EndDialog(ui::IDCANCEL);
}

// ---- the file list ---------------------------------------------------------------------

void LyrDlgMultiScreening::OnAdd() {
  const std::string start = Settings.FileList.empty() ? LastFolderPath : sys::FolderOf(Settings.FileList.back());
  const bool listed = !Settings.FileList.empty();
  std::vector<std::string> chosen;
  std::string plugin;
  if (DsiOnlyMode != 0) {
    LyrDlgOpenDsiFile dlg(this);
    if (!start.empty()) dlg.m_FolderPath = start;
    dlg.m_SingleSelection = 0;
    if (listed) dlg.m_TypeMode = LyrMultiScreeningSetting::IsDsiPlugin(Settings.FileListPluginPath) != 0 ? 1 : 2;
    dlg.m_FileKind = LyrMultiScreeningSetting::IsDsiPlugin(Settings.FileListPluginPath) != 0 ? 1 : 2;
    if (dlg.DoModal() != ui::IDOK) return;
    dlg.GetSelectedFiles(chosen);
    plugin = dlg.GetPluginPath();
  } else {
    std::vector<std::string> plugins;
    std::string filter = CQLM2_AnalyzerApp::GetImportFileFilter(&plugins);
    int entry = 0;  // 1-based filter entry of the listed files' type
    if (!Settings.FileListPluginPath.empty())
      for (std::size_t i = 0; i < plugins.size(); ++i)
        if (plugins[i].find(Settings.FileListPluginPath) != std::string::npos) entry = static_cast<int>(i) + 2;
    if (listed) {
      // Only the type of the listed files.
      const int keep = Settings.FileListPluginPath.empty() ? 1 : entry;
      if (keep == 1) {
        filter = FilterEntry(filter, 1);
        plugins.clear();
      } else if (keep > 1) {
        filter = FilterEntry(filter, 1) + FilterEntry(filter, keep);
        filter.erase(filter.find("||"), 1);
        plugins = {plugins[static_cast<std::size_t>(keep - 2)]};
        entry = 2;
      }
    }
    LyrDlgOpenRawData dlg(true, "fyd", "", ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST | ui::OFN_ALLOWMULTISELECT,
                          filter, this);
    dlg.m_PluginCount = static_cast<int>(std::min(plugins.size(), dlg.m_PluginPaths.size()));
    for (std::size_t i = 0; i < plugins.size() && i < dlg.m_PluginPaths.size(); ++i) dlg.m_PluginPaths[i] = plugins[i];
    if (entry > 0) dlg.SetFilterIndex(entry);
    dlg.m_PluginPath = Settings.FileListPluginPath;
    dlg.SetInitialFolder(start);
    if (dlg.DoModal() != ui::IDOK) return;
    chosen = dlg.GetPathNames();
    plugin = dlg.m_PluginPath;
  }
  if (chosen.empty()) return;
  // The names as the dialog's buffer holds them: the folder once, then each name quoted.
  std::size_t chars = sys::FolderOf(chosen.front()).size() + 1;
  for (const std::string& p : chosen) chars += sys::FileNameOf(p).size() + 3;
  if (chars > kMsFileNameBuffer) {
    ui::MessageBox(res::LoadString(kIdsTooManyFiles), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  Settings.FileList.insert(Settings.FileList.end(), chosen.begin(), chosen.end());
  Settings.FileListPluginPath = plugin;
  if (Settings.RemoveDuplicateFiles() == 0)
    ui::MessageBox(res::LoadString(kIdsSameRawFile), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  FillFileList();
  SetButtonStates();
}

void LyrDlgMultiScreening::OnDelete() {
  ui::Control list = Item(IDC_MS_FILE_LIST);
  int last = -1;
  for (int r = list.GetCount() - 1; r >= 0; --r) {
    if (!list.IsSelected(r) || r >= static_cast<int>(Settings.FileList.size())) continue;
    if (last < 0) last = r;
    Settings.FileList.erase(Settings.FileList.begin() + r);
  }
  if (last < 0) return;
  // The row at the place of the last removed one.
  const int removed = list.GetCount() - static_cast<int>(Settings.FileList.size());
  FillFileList();
  int select = last - removed + 1;
  if (select >= static_cast<int>(Settings.FileList.size())) select = static_cast<int>(Settings.FileList.size()) - 1;
  if (select < 0 && !Settings.FileList.empty()) select = 0;
  if (select >= 0) list.SetSelected(select, true);
  SetButtonStates();
}

// ---- result folder ---------------------------------------------------------------------

void LyrDlgMultiScreening::OnResultMode() {
  Settings.UseResultFolder = IsDlgButtonChecked(IDC_MS_USE_FOLDER) != 0 ? 1 : 0;
  EnableItem(IDC_MS_SELECT_FOLDER, Settings.UseResultFolder != 0);
  EnableItem(IDC_MS_FOLDER, Settings.UseResultFolder != 0);
  MarkChanged();
}

void LyrDlgMultiScreening::OnSelectFolder() {
  CFolderBrowseDlg dlg(sys::DesktopFolder(), Settings.ResultFolder);
  dlg.SetTitle(res::LoadString(kIdsSelectFolder));
  if (dlg.DoModal(this, 1) != 1) return;
  const std::string folder = dlg.GetFolderPath();
  // The stored field holds at most 259 bytes: a longer folder is refused, never cut.
  if (folder.size() > kMsMaxPathBytes) {
    ui::MessageBox(res::LoadString(kIdsMsPathTooLong), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  Settings.ResultFolder = folder;
  SetDlgItemText(IDC_MS_FOLDER, folder);
  MarkChanged();
}

// ---- channel rows ----------------------------------------------------------------------

void LyrDlgMultiScreening::OnSpin() {
  SetDlgItemInt(IDC_MS_COUNT, Item(IDC_MS_COUNT_SPIN).GetPos());
}

void LyrDlgMultiScreening::OnCountChange() {
  if (initialised_ == 0 || filling_) return;
  bool ok = false;
  const long long typed = GetDlgItemInt(IDC_MS_COUNT, &ok);
  if (!ok || typed < 1 || typed > kMsMaxPositions) return;
  Item(IDC_MS_COUNT_SPIN).SetPos(static_cast<int>(typed));
  const int count = Item(IDC_MS_COUNT_SPIN).GetPos();
  if (count == Settings.ChannelsPerAnimal) return;
  const std::vector<int> rows = SelectedChannelRows();
  Settings.ChannelsPerAnimal = count;
  while (static_cast<int>(Settings.ChannelAttributes.size()) < count ||
         static_cast<int>(Settings.ChannelFilters.size()) < count)
    Settings.AddChannelPosition();
  filling_ = true;
  FillChannelList();
  std::vector<int> keep;
  for (int r : rows)
    if (r < count) keep.push_back(r);
  if (keep.empty()) keep.push_back(0);
  SelectChannelRows(keep);
  filling_ = false;
  OnChannelSelection();
  MarkChanged();
}

void LyrDlgMultiScreening::OnChannelSelection() {
  if (filling_) return;
  const std::vector<int> rows = SelectedChannelRows();
  if (rows.empty()) return;
  ShowChannelRow(rows.front());
  EnableItem(IDC_MS_UP, rows.front() != 0);
  EnableItem(IDC_MS_DOWN, rows.back() < kMaxRow);
}

void LyrDlgMultiScreening::OnAttributeChange() {
  const int kind = Item(IDC_MS_ATTRIBUTE).GetCurSel();
  ui::Control level = Item(IDC_MS_LEVEL);
  level.SetCurSel(kind == kMsLocomotion ? 0 : 1);
  level.Enable(kind == kMsLocomotion);
}

void LyrDlgMultiScreening::OnFilterChange() {
  const int sel = Item(IDC_MS_FILTER).GetCurSel();
  if (sel == 2) {
    CurrentFilter.BaseOffset = 0;
    CurrentFilter.FilterType = 0;
    CurrentFilter.NotchOn = 0;
    ShowCurrentFilter();
  } else if (sel == 1) {
    LyrDlgFilterCondition dlg(this);
    dlg.Filter = CurrentFilter;
    if (dlg.DoModal() == ui::IDOK) {
      CurrentFilter = dlg.Filter;
      ShowCurrentFilter();
    } else {
      Item(IDC_MS_FILTER).SetCurSel(IsFilterSet(CurrentFilter) ? 0 : 2);
    }
  }
}

void LyrDlgMultiScreening::OnApply() {
  MultiScreeningChannelAttribute read;
  const int kind = Item(IDC_MS_ATTRIBUTE).GetCurSel();
  read.Attribute = static_cast<std::uint16_t>(kind < 0 ? 0 : kind);
  if (read.Attribute == kMsLocomotion) {
    const std::string text = Lower(Trim(GetDlgItemText(IDC_MS_LEVEL)));
    if (text == "auto" || text == "----") {
      read.LevelMode = 0;
    } else {
      read.LevelMode = 1;
      read.Level = static_cast<float>(std::atof(text.c_str()));
    }
  }
  const std::vector<int> rows = SelectedChannelRows();
  for (int r : rows) {
    if (r >= Settings.ChannelsPerAnimal) continue;
    Settings.ChannelAttributes[static_cast<std::size_t>(r)] = read;
    Settings.ChannelFilters[static_cast<std::size_t>(r)] = CurrentFilter;
  }
  filling_ = true;
  FillChannelList();
  SelectChannelRows(rows);
  filling_ = false;
  MarkChanged();
}

void LyrDlgMultiScreening::OnMoveDown() {
  std::vector<int> rows = SelectedChannelRows();
  if (rows.empty() || rows.back() >= kMaxRow) return;
  if (rows.back() == Settings.ChannelsPerAnimal - 1) {
    ++Settings.ChannelsPerAnimal;
    while (static_cast<int>(Settings.ChannelAttributes.size()) < Settings.ChannelsPerAnimal ||
           static_cast<int>(Settings.ChannelFilters.size()) < Settings.ChannelsPerAnimal)
      Settings.AddChannelPosition();
  }
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    const auto r = static_cast<std::size_t>(*it);
    std::swap(Settings.ChannelAttributes[r], Settings.ChannelAttributes[r + 1]);
    std::swap(Settings.ChannelFilters[r], Settings.ChannelFilters[r + 1]);
  }
  for (int& r : rows) ++r;
  filling_ = true;
  FillChannelList();
  SelectChannelRows(rows);
  Item(IDC_MS_COUNT_SPIN).SetPos(Settings.ChannelsPerAnimal);
  SetDlgItemInt(IDC_MS_COUNT, Settings.ChannelsPerAnimal);
  filling_ = false;
  EnableItem(IDC_MS_UP, true);
  EnableItem(IDC_MS_DOWN, rows.back() < kMaxRow);
  Item(IDC_MS_CHANNEL_LIST).EnsureVisible(rows.back());
  MarkChanged();
}

void LyrDlgMultiScreening::OnMoveUp() {
  std::vector<int> rows = SelectedChannelRows();
  if (rows.empty() || rows.front() == 0) return;
  for (int r : rows) {
    const auto u = static_cast<std::size_t>(r);
    std::swap(Settings.ChannelAttributes[u], Settings.ChannelAttributes[u - 1]);
    std::swap(Settings.ChannelFilters[u], Settings.ChannelFilters[u - 1]);
  }
  for (int& r : rows) --r;
  filling_ = true;
  FillChannelList();
  SelectChannelRows(rows);
  filling_ = false;
  EnableItem(IDC_MS_UP, rows.front() != 0);
  EnableItem(IDC_MS_DOWN, true);
  Item(IDC_MS_CHANNEL_LIST).EnsureVisible(rows.back());
  MarkChanged();
}

// ---- sub-dialogs -----------------------------------------------------------------------

void LyrDlgMultiScreening::OnFft() {
  LyrDlgFftCondition dlg(this);
  dlg.Values = Settings;
  int eeg = Settings.ChannelsPerAnimal;
  for (int r = 0; r < Settings.ChannelsPerAnimal && r < static_cast<int>(Settings.ChannelAttributes.size()); ++r)
    if (Settings.ChannelAttributes[static_cast<std::size_t>(r)].Attribute == kMsEeg) {
      eeg = r;
      break;
    }
  dlg.FirstEegRow = eeg;
  CQLM2_AnalyzerDoc* doc = frame_ != nullptr ? frame_->GetDocument() : nullptr;
  dlg.Doc = doc != nullptr && DocumentLoaded != 0 ? doc : nullptr;
  if (dlg.DoModal() != ui::IDOK) return;
  Settings.FftPoints = dlg.Values.FftPoints;
  Settings.FftAverage = dlg.Values.FftAverage;
  Settings.FftWindow = dlg.Values.FftWindow;
  Settings.FftUnit = dlg.Values.FftUnit;
  Settings.FftRateMode = dlg.Values.FftRateMode;
  Settings.EffectiveBandFrom = dlg.Values.EffectiveBandFrom;
  Settings.EffectiveBandTo = dlg.Values.EffectiveBandTo;
  Settings.BandCount = dlg.Values.BandCount;
  Settings.Bands = dlg.Values.Bands;
  MarkChanged();
}

void LyrDlgMultiScreening::OnSetTime() {
  LyrDlgMultiScreeningRange dlg(this);
  dlg.StartMode = Settings.RangeStartMode;
  dlg.StartTime = Settings.RangeStartTime;
  dlg.EndMode = Settings.RangeEndMode;
  dlg.EndDays = Settings.RangeEndDays;
  dlg.EndHours = Settings.RangeEndHours;
  if (dlg.DoModal() != ui::IDOK) return;
  Settings.RangeStartMode = dlg.StartMode;
  Settings.RangeStartTime = dlg.StartTime;
  Settings.RangeEndMode = dlg.EndMode;
  Settings.RangeEndDays = dlg.EndDays;
  Settings.RangeEndHours = dlg.EndHours;
  ShowRange();
  MarkChanged();
}

// ---- setting files ---------------------------------------------------------------------

void LyrDlgMultiScreening::ShowSettingMessage() {
  if (Settings.LastMessageId != 0)
    ui::MessageBox(res::LoadString(Settings.LastMessageId), ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

void LyrDlgMultiScreening::OnLoad() {
  for (;;) {
    ui::FileDialog dlg(true, "mss", "", ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST, res::LoadString(kIdsMssFilter),
                       this);
    if (!Settings.SettingFilePath.empty()) dlg.SetInitialFolder(sys::FolderOf(Settings.SettingFilePath));
    if (dlg.DoModal() != ui::IDOK) return;
    const std::vector<std::string> files = Settings.FileList;
    const std::string plugin = Settings.FileListPluginPath;
    if (Settings.LoadSettingFile(dlg.GetPathName()) == 0) {
      ShowSettingMessage();
      continue;
    }
    // The setting file holds no file list: the listed recordings stay.
    Settings.FileList = files;
    Settings.FileListPluginPath = plugin;
    ShowSettings();
    FillFileList();
    SetButtonStates();
    Settings.SettingFileLoaded = 1;
    ShowTemplateName(sys::FileTitleOf(dlg.GetPathName()));
    return;
  }
}

void LyrDlgMultiScreening::OnSave() {
  if (CheckEmgAttribute(0) == 0 || CheckLogicChannels(0) == 0) return;
  std::string proposed = templateName_;
  if (!proposed.empty() && proposed.back() == '*') proposed.pop_back();
  for (;;) {
    ui::FileDialog dlg(false, "mss", proposed, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                       res::LoadString(kIdsMssFilter), this);
    if (!Settings.SettingFilePath.empty()) dlg.SetInitialFolder(sys::FolderOf(Settings.SettingFilePath));
    if (dlg.DoModal() != ui::IDOK) return;
    if (Settings.SaveSettingFile(dlg.GetPathName()) == 0) {
      ShowSettingMessage();
      continue;
    }
    Settings.SettingFileLoaded = 1;
    ShowTemplateName(sys::FileTitleOf(dlg.GetPathName()));
    return;
  }
}

// ---- checks ----------------------------------------------------------------------------

int LyrDlgMultiScreening::CheckEmgAttribute(int silent) {
  std::vector<int> emg;
  if (Settings.CheckSingleEmg(&emg)) return 1;
  if (silent == 0) ui::MessageBox(res::LoadString(kIdsOneEmg), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  // The EMG rows stay selected so the user sees which.
  if (HasControl(IDC_MS_CHANNEL_LIST)) {
    SelectChannelRows(emg);
    Item(IDC_MS_CHANNEL_LIST).SetFocus();
  }
  return 0;
}

int LyrDlgMultiScreening::CheckRawDataFiles(int silent) {
  if (!Settings.FileList.empty()) return 1;
  if (silent == 0) ui::MessageBox(res::LoadString(kIdsSelectRawData), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  if (HasControl(IDC_MS_ADD)) Item(IDC_MS_ADD).SetFocus();
  return 0;
}

int LyrDlgMultiScreening::CheckLogicChannels(int silent) {
  int counts[4] = {};
  for (int kind = 0; kind < 4; ++kind) counts[kind] = Settings.CountChannelsOfAttribute(kind);
  auto exists = [&](const MultiScreeningTerm& t) { return t.ChannelKind < 4 && t.ChannelNumber < counts[t.ChannelKind]; };
  bool ok = true;
  // The last condition holds the default stage only; its terms are not used.
  for (std::size_t i = 0; i + 1 < Settings.Conditions.size() && ok; ++i) {
    const MultiScreeningCondition& c = Settings.Conditions[i];
    ok = exists(c.First) && (c.UseSecond == 0 || exists(c.Second));
  }
  if (ok) return 1;
  if (silent == 0) ui::MessageBox(res::LoadString(kIdsLogicChannel), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  OpenLogic();
  return 0;
}

// ---- the Logic window ------------------------------------------------------------------

void LyrDlgMultiScreening::OpenLogic() {
  if (logic_) return;
  auto* logic = new LyrDlgScreeningLogic(this, Settings);
  CQLM2_AnalyzerDoc* doc = frame_ != nullptr ? frame_->GetDocument() : nullptr;
  logic->Doc = doc != nullptr && DocumentLoaded != 0 ? doc : nullptr;
  logic_ = logic;
  if (!logic->CreateModeless(this)) {
    logic_ = nullptr;
    delete logic;
    return;
  }
  ShowWindow(ui::SW_HIDE);
}

void LyrDlgMultiScreening::TakeLogic(const LyrMultiScreeningSetting& logic) {
  Settings.Conditions = logic.Conditions;
  if (Settings.Conditions.size() > static_cast<std::size_t>(kMsMaxConditions))
    Settings.Conditions.resize(static_cast<std::size_t>(kMsMaxConditions));
  Settings.LastStageScreening = logic.LastStageScreening;
  Settings.LastStageFrom = logic.LastStageFrom;
  Settings.LastStageTarget = logic.LastStageTarget;
  Settings.LastStageResult = logic.LastStageResult;
  Settings.TargetOccupancy = logic.TargetOccupancy;
  Settings.LightPhaseStart = logic.LightPhaseStart;
  Settings.LightPhaseShare = logic.LightPhaseShare;
  MarkChanged();
}

void LyrDlgMultiScreening::LogicClosed() {
  LyrDlgScreeningLogic* logic = logic_;
  logic_ = nullptr;
  if (logic)
    ui::PostTask([logic] {
      if (logic->IsWindow()) logic->DestroyWindow();
      delete logic;
    });
  if (!IsEnded()) ShowWindow(ui::SW_SHOWNORMAL);
}

// ---- the run ---------------------------------------------------------------------------

int LyrDlgMultiScreening::RunScreening(int silent) {
  if (CheckEmgAttribute(silent) == 0 || CheckRawDataFiles(silent) == 0 || CheckLogicChannels(silent) == 0) return 0;
  // Scoring not yet saved is saved or given up on purpose before the batch replaces it.
  if (silent == 0 && frame_ != nullptr && !frame_->KeepOrGiveUpUnsavedScoring()) return 0;
  Settings.SaveResume();
  ShowWindow(ui::SW_HIDE);
  if (silent == 0) SetDsiSilentOpen(1);
  int result = 0;
  {
    LyrMultiScreening engine(Settings);
    result = engine.Run();
    if (silent == 0) SetDsiSilentOpen(0);
    engine.EndProgress();
    lastNotes_.clear();
    for (const std::string& note : engine.Notes()) lastNotes_ += "\n" + note;
    ShowWindow(ui::SW_SHOWNORMAL);
    ReportResult(result, silent);
  }
  // A finished run closes the window; the menu opens a fresh one with the stored settings.
  EndDialog(ui::IDOK);
  return result;
}

void LyrDlgMultiScreening::ReportResult(int result, int silent) {
  if (silent != 0) return;
  std::string text = res::LoadString(kIdsComplete);
  if (result != 0) {
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONINFORMATION);
    return;
  }
  text += "\n" + res::LoadString(kIdsPartFailed) + lastNotes_;
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
