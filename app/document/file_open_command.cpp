// File > Open: the filter list of the open dialog with the import plug-ins beside the program,
// the choice of the file (the open dialog, or the DSI file browser in the DSI-only mode) and
// of the plug-in that reads it, and the command's enable state.
#include <algorithm>

#include "app/document/import_plugin.h"
#include "app/document/lyr_dlg_open_dsi_file.h"
#include "app/document/lyr_dlg_open_raw_data.h"
#include "app/document/qlm2_analyzer_app.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"
#include "platform/system/text_compare.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/document.h"
#include "platform/ui/message_box.h"

namespace {
constexpr const char* kOwnFilter = "Morvane Raw data file(*.fyd)|*.fyd|";
constexpr std::uint32_t kIdsSaveAndOpen = 2309;
}  // namespace

std::string BuildImportFileFilter(int edition, const std::string& programFolder, std::vector<std::string>* pluginPaths) {
  std::string filter = kOwnFilter;
  if (edition == 1 || edition == 11) return filter;
  for (const sys::FoundFile& f : sys::FindFiles(programFolder + "/RXQD_IMP_*.so")) {
    if (pluginPaths != nullptr && pluginPaths->size() >= static_cast<std::size_t>(kMaxImportPlugins)) break;
    if (f.isFolder || sys::EqualNoCase(sys::FileTitleOf(f.name), "RXQD_IMP_DSI")) continue;
    sys::DynamicLibrary module;
    if (!module.Load(f.path)) continue;
    auto getFilter = module.Function<ImpGetFileFilter>("GetFileFilter");
    char buffer[IMP_TEXT_CAPACITY] = {};
    if (getFilter == nullptr || getFilter(buffer, IMP_TEXT_CAPACITY) == 0) continue;
    filter += PluginText(buffer, IMP_TEXT_CAPACITY);
    if (pluginPaths != nullptr) pluginPaths->push_back(f.path);
  }
  return filter;
}

std::string CQLM2_AnalyzerApp::GetImportFileFilter(std::vector<std::string>* pluginPaths) {
  return BuildImportFileFilter(ProductEdition, sys::ProgramFolder(), pluginPaths);
}

void CQLM2_AnalyzerApp::OnFileOpen() {
  CMainFrame* frame = MainFrame();
  if (DocumentLoaded != 0 && ResultModifiedState == 2) {
    ui::MessageBeep(ui::MB_ICONQUESTION);
    if (ui::MessageBoxId(kIdsSaveAndOpen, ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION) != ui::IDYES) return;
    // Results that were not saved are not given up for the next recording.
    if (frame == nullptr || frame->SaveResultFile() == 0) return;
  }
  std::string path;
  if (DsiOnlyMode != 0) {
    LyrDlgOpenDsiFile dlg(frame);
    dlg.m_FileKind = PluginPath.find("RXQD_IMP_DSI") != std::string::npos ? 1 : 2;
    if (!LastFolderPath.empty()) dlg.m_FolderPath = LastFolderPath;
    if (dlg.DoModal() != ui::IDOK) return;
    std::vector<std::string> files;
    dlg.GetSelectedFiles(files);
    if (!files.empty()) path = files.front();
    PluginPath = dlg.GetPluginPath();
  } else {
    std::vector<std::string> plugins;
    const std::string filter = GetImportFileFilter(&plugins);
    LyrDlgOpenRawData dlg(true, "fyd", "", ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST | ui::OFN_OVERWRITEPROMPT,
                          filter, frame);
    dlg.m_PluginCount = static_cast<int>(plugins.size());
    for (std::size_t i = 0; i < plugins.size() && i < dlg.m_PluginPaths.size(); ++i) {
      dlg.m_PluginPaths[i] = plugins[i];
      if (plugins[i] == PluginPath) dlg.SetFilterIndex(static_cast<int>(i) + 2);
    }
    dlg.m_PluginPath = PluginPath;
    dlg.SetInitialFolder(LastFolderPath);
    if (dlg.DoModal() != ui::IDOK) return;
    path = dlg.GetPathName();
    PluginPath = dlg.m_PluginPath;
  }
  ResultModifiedState = 0;
  OpenDocumentFile(path);
}

void CQLM2_AnalyzerApp::OnUpdateFileOpen(ui::CmdUI& cmd) {
  const CMainFrame* frame = MainFrame();
  const bool busy = ScreeningRunning != 0 ||
                    (frame != nullptr && (frame->IsReportDlgOpen() || frame->ScreeningDlg != nullptr ||
                                          frame->MultiScreeningDlg != nullptr || frame->AutoPlayStart != 0));
  cmd.Enable(!busy);
}
