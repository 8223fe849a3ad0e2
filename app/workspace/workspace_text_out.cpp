#include "app/workspace/workspace_text_out.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kStrEnterNewName = 63474;
}

char WorkspaceDelimiter() { return OutputDelimiterIsTab == 1 ? '\t' : ','; }

std::string WorkspaceOutputPath(const CQLM2_AnalyzerDoc& doc, std::string_view suffix) {
  std::string base = doc.RecordInfo.path;
  if (ResultModifiedState != 0 && !doc.ResultFilePath.empty()) base = doc.ResultFilePath;
  if (base.empty()) return {};
  std::string folder = sys::FolderOf(base);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + sys::FileTitleOf(base) + std::string(suffix) + ".txt";
}

bool WorkspaceTextOut::Open(int toClipboard, const std::string& path) {
  clipboard_ = toClipboard == 1;
  failed_ = false;
  stopped_ = false;
  text_.clear();
  Lines = 0;
  if (clipboard_) return true;
  if (path.empty() || !sink_.Open(path)) {
    failed_ = true;
    return false;
  }
  return true;
}

bool WorkspaceTextOut::Put(std::string_view text) {
  if (failed_) return false;
  if (clipboard_) {
    text_ += text;
    return true;
  }
  if (!sink_.Write(text)) failed_ = true;
  return !failed_;
}

bool WorkspaceTextOut::Header(CQLM2_AnalyzerDoc& doc) {
  doc.PutTextHeader([this](const std::string& line) { Put(line); }, &Lines);
  return !failed_;
}

bool WorkspaceTextOut::Finish() {
  if (clipboard_) {
    const bool ok = !failed_ && ui::SetClipboardText(text_);
    text_.clear();
    return ok;
  }
  if (!sink_.IsOpen()) return !failed_;
  if (failed_) {
    sink_.Abort();
    return false;
  }
  return sink_.Commit();
}

void WorkspaceTextOut::Abort() {
  text_.clear();
  if (sink_.IsOpen()) sink_.Abort();
}

int WorkspaceTextOut::CheckMaxLine(std::int32_t maxLine, CQLM2_AnalyzerDoc* doc, ui::Window* owner,
                                   std::string* path) {
  if (maxLine <= 0 || Lines <= maxLine) return 1;
  if (clipboard_) {
    if (!Finish()) {
      failed_ = true;
      return 0;
    }
    ui::MessageBeep(ui::MB_ICONQUESTION);
    if (ui::MessageBoxId(kStrEnterNewName, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return Stop();
    Lines = 1;
    return 1;
  }
  const std::string folder = sys::FolderOf(sink_.TargetPath());
  if (!Finish()) {
    failed_ = true;
    return 0;
  }
  ui::MessageBeep(ui::MB_ICONQUESTION);
  if (ui::MessageBoxId(kStrEnterNewName, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return Stop();
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), owner);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!folder.empty()) dlg.SetInitialFolder(folder);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return Stop();
  if (path != nullptr) *path = dlg.GetPathName();
  if (!sink_.Open(dlg.GetPathName())) {
    failed_ = true;
    return 0;
  }
  Lines = 1;
  if (doc != nullptr) {
    if (!Header(*doc)) return 0;
    Put("\n");
    ++Lines;
  }
  return failed_ ? 0 : 1;
}
