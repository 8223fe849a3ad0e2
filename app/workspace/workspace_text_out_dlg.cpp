#include "app/workspace/workspace_text_out_dlg.h"

#include <climits>
#include <cstdlib>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {
std::int32_t Magnitude(std::int32_t v) { return v == INT32_MIN ? INT32_MAX : (v < 0 ? -v : v); }
}  // namespace

LyrWorkspaceTextOutDlg::LyrWorkspaceTextOutDlg(int templateId, CQLM2_AnalyzerDoc* doc, std::string* path,
                                               ui::Window* parent)
    : ui::Dialog(templateId, parent), m_pDoc(doc), path_(path) {
  MapCommand(kFile, [this] {
    OutputToClipboard = 0;
    EnableItem(kPath, true);
  });
  MapCommand(kClipboard, [this] {
    OutputToClipboard = 1;
    EnableItem(kPath, false);
  });
  MapCommand(kComma, [] { OutputDelimiterIsTab = 0; });
  MapCommand(kTab, [] { OutputDelimiterIsTab = 1; });
  MapCommand(kMaxLineCheck, [this] {
    const std::int32_t size = Magnitude(TextOutputMaxLine);
    const bool on = IsDlgButtonChecked(kMaxLineCheck) != 0;
    TextOutputMaxLine = on ? size : -size;
    EnableItem(kMaxLineEdit, TextOutputMaxLine > 0);
  });
  MapCommand(kPath, [this] { OnPath(); });
  MapCommand(kOutput, [this] { OnOutput(); });
}

bool LyrWorkspaceTextOutDlg::OnInitDialog() {
  const bool clipboard = OutputToClipboard == 1;
  CheckRadioButton(kFile, kClipboard, clipboard ? kClipboard : kFile);
  EnableItem(kPath, !clipboard);
  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  SetDlgItemText(kMaxLineEdit, std::to_string(Magnitude(TextOutputMaxLine)));
  CheckDlgButton(kMaxLineCheck, TextOutputMaxLine > 0 ? 1 : 0);
  EnableItem(kMaxLineEdit, TextOutputMaxLine > 0);
  ShowPath();
  return true;
}

std::uint32_t LyrWorkspaceTextOutDlg::FailureText() const { return IDS_WS_SAVE_FAILED; }

void LyrWorkspaceTextOutDlg::ShowPath() { SetDlgItemText(kPathText, path_ != nullptr ? *path_ : std::string()); }

void LyrWorkspaceTextOutDlg::OnPath() {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT | ui::OFN_FILEMUSTEXIST,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  const std::string folder = path_ != nullptr && !path_->empty() ? sys::FolderOf(*path_) : LastFolderPath;
  if (!folder.empty()) dlg.SetInitialFolder(folder);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty() || path_ == nullptr) return;
  *path_ = dlg.GetPathName();
  ShowPath();
}

void LyrWorkspaceTextOutDlg::ReadMaxLine() {
  const long long typed = std::llabs(std::atoll(GetDlgItemText(kMaxLineEdit).c_str()));
  const std::int32_t size = static_cast<std::int32_t>(typed > INT32_MAX ? INT32_MAX : typed);
  TextOutputMaxLine = IsDlgButtonChecked(kMaxLineCheck) != 0 ? size : -size;
}

void LyrWorkspaceTextOutDlg::OnOutput() {
  if (OutputToClipboard != 1 && (path_ == nullptr || path_->empty())) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(IDS_WS_FILE_NOT_SELECTED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnPath();
    return;
  }
  ReadMaxLine();
  const int result = Write();
  if (result == 1) {
    ui::MessageBeep(ui::MB_ICONINFORMATION);
    ui::MessageBoxId(IDS_WS_OUTPUT_DONE, ui::MB_OK | ui::MB_ICONINFORMATION);
  } else if (result == 0) {
    // A file that could not be made or written is not reported as written.
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(FailureText(), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
  ShowPath();
}
