#include "app/document/lyr_dlg_open_dsi_file.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_app.h"
#include "app/document/subject_preview.h"
#include "app/frame/cfolder_browse_dlg.h"
#include "common/fileaccess/fyn_file_access.h"
#include "platform/res/resource_store.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/file_system.h"
#include "platform/system/shell.h"
#include "platform/system/text_compare.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr const char* kOwnFilter = "Morvane Raw data file(*.fyd)|*.fyd|";
constexpr std::uint32_t kIdsNotSelected = 2253;
constexpr std::uint32_t kIdsSelectFolder = 2555;
constexpr std::uint32_t kIdsOnlyReadable = 2556;
constexpr std::uint32_t kIdsOnlyOneType = 2557;
constexpr std::uint32_t kIdsColumnName = 61741;
constexpr std::uint32_t kIdsColumnModified = 61742;
constexpr std::uint32_t kIdsColumnInfo = 61743;
constexpr std::uint32_t kIdsReaderVersion = 61744;
constexpr std::uint32_t kIdsReaderVersionNone = 61745;
constexpr int kScrollBarWidth = 17;

// The DSI plug-in's filter text; empty when it does not load or gives none.
std::string DsiFilterText() {
  sys::DynamicLibrary module;
  if (!module.Load(GetDsiPluginPath())) return {};
  auto filter = module.Function<ImpGetFileFilter>("GetFileFilter");
  char buffer[IMP_TEXT_CAPACITY] = {};
  if (filter == nullptr || filter(buffer, IMP_TEXT_CAPACITY) == 0) return {};
  return PluginText(buffer, IMP_TEXT_CAPACITY);
}

bool EnglishInterface() {
  if (const CQLM2_AnalyzerApp* app = TheApp()) return app->EnglishMode != 0;
  return res::CurrentLanguage() == res::Language::English;
}

std::array<std::uint16_t, 8> LocalTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint16_t>(tm.tm_mon + 1),
          static_cast<std::uint16_t>(tm.tm_wday),        static_cast<std::uint16_t>(tm.tm_mday),
          static_cast<std::uint16_t>(tm.tm_hour),        static_cast<std::uint16_t>(tm.tm_min),
          static_cast<std::uint16_t>(tm.tm_sec),         0};
}

}  // namespace

std::vector<std::string> DsiFilterPatterns(const std::string& filter) {
  std::vector<std::string> patterns;
  if (filter.empty()) return patterns;
  std::string text = filter.substr(0, filter.size() - 1);
  const std::size_t bar = text.rfind('|');
  if (bar != std::string::npos) text = text.substr(bar + 1);
  text += ';';
  std::size_t at = 0;
  while (at < text.size() && text[at] != ';') {
    const std::size_t semi = text.find(';', at);
    patterns.push_back(text.substr(at, semi - at));
    at = semi + 1;
  }
  return patterns;
}

std::string DsiFilterDescription(const std::string& filter) {
  if (filter.empty()) return {};
  std::string text = filter.substr(0, filter.size() - 1);
  const std::size_t bar = text.rfind('|');
  return bar != std::string::npos ? text.substr(0, bar) : text;
}

std::string DsiFileTimeText(const std::array<std::uint16_t, 8>& t, bool english) {
  char text[32];
  if (english)
    std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u", t[3], t[1], t[0], t[4], t[5]);
  else
    std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u", t[0], t[1], t[3], t[4], t[5]);
  return text;
}

LyrDlgOpenDsiFile::LyrDlgOpenDsiFile(ui::Window* parent)
    : ui::Dialog(IDD_OPEN_DSI_FILE, parent), m_FolderPath(sys::DesktopFolder()) {
  MapNotify(IDC_DSI_TYPE, ui::CBN_SELCHANGE, [this] { OnTypeChange(); });
  MapNotify(IDC_DSI_FILE_LIST, ui::NM_CLICK, [this] { OnFileListClick(); });
  MapNotify(IDC_DSI_FILE_LIST, ui::LVN_ITEMCHANGED, [this] { OnFileListItemChanged(); });
  MapCommand(IDC_DSI_SELECT_FOLDER, [this] { OnSelectFolder(); });
}

void LyrDlgOpenDsiFile::UpdateControls() {
  SetDlgItemText(IDC_DSI_VERSION, m_Version);
  SetDlgItemText(IDC_DSI_FOLDER, m_Folder);
  SetDlgItemText(IDC_DSI_FILE_NAME, m_FileName);
}

void LyrDlgOpenDsiFile::ReadControls() {
  m_Version = GetDlgItemText(IDC_DSI_VERSION);
  m_Folder = GetDlgItemText(IDC_DSI_FOLDER);
  m_FileName = GetDlgItemText(IDC_DSI_FILE_NAME);
}

bool LyrDlgOpenDsiFile::OnInitDialog() {
  m_Folder = m_FolderPath;
  FillTypeList();
  SelectType();
  PrepareFileList();
  ScanFolder();
  PrepareInfoList();
  ShowFileInfo(SelectInitialFile());
  ShowReaderVersion();
  UpdateControls();
  return true;
}

void LyrDlgOpenDsiFile::FillTypeList() {
  ui::Control combo = Item(IDC_DSI_TYPE);
  combo.ResetContent();
  if (m_TypeMode == 0 || m_TypeMode == 2) combo.AddString(DsiFilterDescription(kOwnFilter));
  if (m_TypeMode == 0 || m_TypeMode == 1) {
    const std::string filter = DsiFilterText();
    if (!filter.empty()) combo.AddString(DsiFilterDescription(filter));
  }
}

void LyrDlgOpenDsiFile::SetPluginPathFromKind() { m_PluginPath = m_FileKind == 1 ? GetDsiPluginPath() : std::string{}; }

void LyrDlgOpenDsiFile::SelectType() {
  ui::Control combo = Item(IDC_DSI_TYPE);
  if (m_TypeMode == 0) {
    if (m_FileKind == 1) {
      combo.SetCurSel(1);
    } else {
      m_FileKind = 2;
      combo.SetCurSel(0);
    }
  } else {
    m_FileKind = m_TypeMode == 1 ? 1 : 2;
    combo.SetCurSel(0);
  }
  SetPluginPathFromKind();
}

void LyrDlgOpenDsiFile::OnTypeChange() {
  ReadControls();
  const int selection = Item(IDC_DSI_TYPE).GetCurSel();
  if (selection < 0) return;
  if (m_TypeMode == 0)
    m_FileKind = selection == 0 ? 2 : 1;
  else
    m_FileKind = m_TypeMode == 1 ? 1 : 2;
  SetPluginPathFromKind();
  ScanFolder();
  UpdateControls();
}

void LyrDlgOpenDsiFile::PrepareFileList() {
  ui::Control list = Item(IDC_DSI_FILE_LIST);
  list.SetGridLines(true);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(m_SingleSelection == 0);
  ClearLists();
  const int width = std::max(list.GetClientRect().Width() - kScrollBarWidth, 0);
  if (list.GetColumnCount() == 0) {
    list.InsertColumn(0, res::LoadString(kIdsColumnName), width * 67 / 100);
    list.InsertColumn(1, res::LoadString(kIdsColumnModified), width * 30 / 100);
  }
}

void LyrDlgOpenDsiFile::PrepareInfoList() {
  ui::Control info = Item(IDC_DSI_INFO_LIST);
  info.DeleteAllItems();
  info.SetGridLines(true);
  info.SetFullRowSelect(true);
  const int width = std::max(Item(IDC_DSI_FILE_LIST).GetClientRect().Width() - kScrollBarWidth, 0);
  if (info.GetColumnCount() == 0) {
    info.InsertColumn(0, res::LoadString(kIdsColumnInfo), width * 30 / 100);
    info.InsertColumn(1, "", width * 65 / 100);
  }
}

void LyrDlgOpenDsiFile::ClearLists() {
  Item(IDC_DSI_FILE_LIST).DeleteAllItems();
  records_.clear();
  Item(IDC_DSI_INFO_LIST).DeleteAllItems();
}

namespace {
bool IsPlainFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}
}  // namespace

void LyrDlgOpenDsiFile::ScanFolder() {
  ClearLists();
  const std::vector<std::string> patterns =
      m_FileKind == 1 ? DsiFilterPatterns(DsiFilterText()) : std::vector<std::string>{"*.fyd"};
  const std::string folder =
      !m_FolderPath.empty() && m_FolderPath.back() == '/' ? m_FolderPath : m_FolderPath + "/";
  for (const std::string& pattern : patterns) {
    for (const sys::FoundFile& f : sys::FindFiles(folder + pattern)) {
      // The system's own files are not offered: here the bookkeeping files of the desktop and
      // of tools (names starting with ".") and what is not a plain file (pipes, sockets, devices).
      if (f.isFolder || f.name.empty() || f.name.front() == '.' || !IsPlainFile(f.path)) continue;
      // Patterns that differ only in case find the same file once; files that differ only in
      // their extension ("a.edf", "a.bdf") are different recordings.
      const bool taken = std::any_of(records_.begin(), records_.end(),
                                     [&](const DsiFileRecord& r) { return r.path == f.path; });
      if (taken) continue;
      records_.push_back(DsiFileRecord{sys::FileTitleOf(f.name), f.path, LocalTime(f.modified)});
    }
  }
  // A title that two files share is shown with each file's extension.
  for (DsiFileRecord& r : records_) {
    const auto same = std::count_if(records_.begin(), records_.end(), [&](const DsiFileRecord& o) {
      return sys::EqualNoCase(sys::FileTitleOf(sys::FileNameOf(o.path)), sys::FileTitleOf(sys::FileNameOf(r.path)));
    });
    if (same > 1) r.title = sys::FileNameOf(r.path);
  }
  ui::Control list = Item(IDC_DSI_FILE_LIST);
  const bool english = EnglishInterface();
  for (const DsiFileRecord& r : records_) {
    const int row = list.InsertItem(-1, r.title);
    list.SetItemText(row, 1, DsiFileTimeText(r.modified, english));
  }
}

int LyrDlgOpenDsiFile::SelectInitialFile() {
  if (m_ChosenPaths.empty()) return -1;
  // The chosen file itself, else the first file of its title.
  const std::string& chosen = m_ChosenPaths.front();
  const std::string title = sys::FileTitleOf(chosen);
  auto select = [&](std::size_t i) {
    Item(IDC_DSI_FILE_LIST).SetSelected(static_cast<int>(i), true);
    m_FileName = records_[i].title;
    return static_cast<int>(i);
  };
  for (std::size_t i = 0; i < records_.size(); ++i)
    if (records_[i].path == chosen) return select(i);
  for (std::size_t i = 0; i < records_.size(); ++i)
    if (sys::EqualNoCase(sys::FileTitleOf(sys::FileNameOf(records_[i].path)), title)) return select(i);
  return -1;
}

void LyrDlgOpenDsiFile::ShowFileInfo(int row) {
  ui::Control info = Item(IDC_DSI_INFO_LIST);
  info.DeleteAllItems();
  if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) return;
  SubjectBlock block;
  const int read = ReadFileSubject(records_[static_cast<std::size_t>(row)].path, GetDsiPluginPath(), block, true);
  if (read != 0) ShowSubjectPreview(info, block);
}

void LyrDlgOpenDsiFile::ShowReaderVersion() {
  m_Version = res::LoadString(kIdsReaderVersionNone);
  sys::DynamicLibrary module;
  if (!module.Load(GetDsiPluginPath())) return;
  auto version = module.Function<ImpGetDLLVersion>("GetDLLVersion");
  char buffer[IMP_TEXT_CAPACITY] = {};
  if (version != nullptr && version(buffer, IMP_TEXT_CAPACITY) != 0)
    m_Version = res::LoadString(kIdsReaderVersion) + PluginText(buffer, IMP_TEXT_CAPACITY);
}

void LyrDlgOpenDsiFile::CollectSelection() {
  const std::vector<int> rows = Item(IDC_DSI_FILE_LIST).GetSelectedIndexes();
  m_ChosenPaths.clear();
  m_FileName.clear();
  for (int row : rows) {
    if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) continue;
    const DsiFileRecord& r = records_[static_cast<std::size_t>(row)];
    m_ChosenPaths.push_back(r.path);
    if (!m_FileName.empty()) m_FileName += ", ";
    m_FileName += r.title;
  }
}

void LyrDlgOpenDsiFile::OnFileListClick() {
  ReadControls();
  m_ChosenPaths.clear();
  m_FileName.clear();
  const std::vector<int> rows = Item(IDC_DSI_FILE_LIST).GetSelectedIndexes();
  if (rows.empty()) return;
  ShowFileInfo(rows.front());
  CollectSelection();
  UpdateControls();
}

void LyrDlgOpenDsiFile::OnFileListItemChanged() {
  ReadControls();
  CollectSelection();
  UpdateControls();
}

void LyrDlgOpenDsiFile::OnSelectFolder() {
  ReadControls();
  CFolderBrowseDlg picker("", m_FolderPath);
  picker.SetTitle(res::LoadString(kIdsSelectFolder));
  if (picker.DoModal(this, 1) == 0) return;
  m_FolderPath = picker.GetFolderPath();
  m_Folder = m_FolderPath;
  ScanFolder();
  UpdateControls();
}

int LyrDlgOpenDsiFile::CheckChosenFiles() const {
  int result = 2;
  sys::DynamicLibrary module;
  const bool loaded = module.Load(GetDsiPluginPath());
  std::int16_t firstType = -1;
  for (std::size_t i = 0; i < m_ChosenPaths.size(); ++i) {
    const std::string& path = m_ChosenPaths[i];
    FynFileAccess reader(path.c_str());
    if (reader.InitParams() != 0) return 0;
    const std::int16_t type = reader.GetFileType();
    if (type != kFynTypeRaw && type != kFynTypeAna) {
      auto check = loaded ? module.Function<ImpCheckFileType>("CheckFileType") : nullptr;
      if (check == nullptr || check(path.c_str()) == 0) return 0;
    }
    if (i == 0)
      firstType = type;
    else if (type != firstType)
      return 1;
  }
  return result;
}

void LyrDlgOpenDsiFile::OnOK() {
  ui::Control list = Item(IDC_DSI_FILE_LIST);
  if (list.GetSelectedIndexes().empty()) {
    ui::MessageBoxId(kIdsNotSelected, ui::MB_OK);
    list.SetFocus();
    return;
  }
  ReadControls();
  CollectSelection();
  const int result = CheckChosenFiles();
  if (result == 0 || result == 1) {
    ui::MessageBoxId(result == 0 ? kIdsOnlyReadable : kIdsOnlyOneType, ui::MB_OK);
    list.SetFocus();
    return;
  }
  EndDialog(ui::IDOK);
}

void LyrDlgOpenDsiFile::GetSelectedFiles(std::vector<std::string>& out) const {
  out.insert(out.end(), m_ChosenPaths.begin(), m_ChosenPaths.end());
}
