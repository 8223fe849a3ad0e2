#include "app/document/lyr_dlg_open_raw_data.h"

#include "app/document/import_plugin.h"
#include "app/document/subject_preview.h"
#include "app/scoring/import_plugin_kind.h"
#include "common/fileaccess/fyn_file_access.h"
#include "platform/system/dynamic_library.h"
#include "platform/ui/common_dialogs.h"

LyrDlgOpenRawData::LyrDlgOpenRawData(bool open, std::string defaultExt, std::string fileName, std::uint32_t flags,
                                     std::string filter, ui::Window* parent)
    : open_(open),
      defaultExt_(std::move(defaultExt)),
      fileName_(std::move(fileName)),
      filter_(std::move(filter)),
      flags_(flags),
      parent_(parent) {}

LyrDlgOpenRawData::~LyrDlgOpenRawData() = default;

bool LyrDlgOpenRawData::ShowVersionOf(const std::string& pluginPath) {
  sys::DynamicLibrary module;
  if (!module.Load(pluginPath)) return false;
  std::string text;
  if (auto version = module.Function<ImpGetDLLVersion>("GetDLLVersion")) {
    char buffer[IMP_TEXT_CAPACITY] = {};
    if (version(buffer, IMP_TEXT_CAPACITY) != 0) text = PluginText(buffer, IMP_TEXT_CAPACITY);
  }
  if (panel_) panel_->SetDlgItemText(IDC_OPEN_PLUGIN_VERSION, text);
  return true;
}

void LyrDlgOpenRawData::OnInitDialog() {
  m_TypePosition = filterIndex_ > 0 ? filterIndex_ - 1 : 0;
  if (m_Classify != 0) m_OtherPlugin = IsOtherImportPlugin(m_PluginPath);
  if (panel_) {
    ui::Control list = panel_->Item(IDC_OPEN_SUBJECT_LIST);
    list.SetGridLines(true);
    list.SetFullRowSelect(true);
    if (list.GetColumnCount() == 0) {
      list.InsertColumn(0, "", 200);
      list.InsertColumn(1, "", 300);
    }
  }
  if (m_PluginCount >= 1) ShowVersionOf(m_PluginPath);
}

void LyrDlgOpenRawData::OnTypeChange(int position) {
  m_TypePosition = position;
  m_PluginPath.clear();
  if (position <= 0) {
    if (panel_) panel_->SetDlgItemText(IDC_OPEN_PLUGIN_VERSION, "");
  } else {
    const int plugin = position - 1;
    if (plugin < m_PluginCount && plugin < kMaxImportPlugins) m_PluginPath = m_PluginPaths[static_cast<std::size_t>(plugin)];
    if (!ShowVersionOf(m_PluginPath)) return;
  }
  if (m_Classify != 0) m_OtherPlugin = IsOtherImportPlugin(m_PluginPath);
}

void LyrDlgOpenRawData::OnFileNameChange(const std::string& path) {
  SubjectBlock block;
  const int read = ReadFileSubject(path, m_PluginPath, block, false);
  if (read != 0 && panel_) {
    ui::Control list = panel_->Item(IDC_OPEN_SUBJECT_LIST);
    ShowSubjectPreview(list, block);
  }
}

bool LyrDlgOpenRawData::CreatePanel() {
  panel_ = std::make_unique<LyrOpenRawPanel>(parent_);
  const bool made = panel_->CreateModeless(parent_);
  OnInitDialog();
  return made;
}

int LyrDlgOpenRawData::DoModal() {
  paths_.clear();
  if (!panel_) CreatePanel();
  ui::FileDialog dlg(open_, defaultExt_, fileName_, flags_, filter_, parent_);
  if (!folder_.empty()) dlg.SetInitialFolder(folder_);
  if (filterIndex_ > 0) dlg.SetFilterIndex(filterIndex_);
  dlg.SetPreview(panel_.get(), [this](const std::string& p) { OnFileNameChange(p); });
  dlg.SetTypeChange([this](int index) { OnTypeChange(index - 1); });
  const int result = dlg.DoModal();
  if (result == ui::IDOK) paths_ = dlg.GetPathNames();
  if (panel_) panel_->DestroyWindow();
  panel_.reset();
  return result;
}
