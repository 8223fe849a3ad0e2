#include "app/frame/cfolder_browse_dlg.h"

#include "platform/system/file_system.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

CFolderBrowseDlg::CFolderBrowseDlg(std::string rootFolder, std::string startFolder)
    : root_(std::move(rootFolder)), start_(std::move(startFolder)) {}

int CFolderBrowseDlg::DoModal(ui::Window* owner, int) {
  path_.clear();
  // A start folder that does not exist gives no preselection.
  std::string folder;
  if (!start_.empty() && sys::FolderExists(start_))
    folder = start_;
  else if (!root_.empty() && sys::FolderExists(root_))
    folder = root_;
  if (ui::BrowseForFolder(owner, title_, folder) != ui::IDOK) return 0;
  path_ = folder;
  return 1;
}
