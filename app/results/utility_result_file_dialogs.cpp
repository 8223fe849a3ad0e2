#include "app/results/utility_result_file_dialogs.h"

#include <filesystem>

#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_result_file.h"
#include "app/results/result_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

int OpenUtilityResultFile(UtilityResultFiles& files, int displayMinutes, ui::Window* parent, ResultFileUi& ui) {
  if (files.IsFull()) return -1;
  LyrDlgResultFileOpenSave dlg(true, "RAF", "", ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST,
                               res::LoadString(kIdsResultFileFilter), parent);
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK) return -1;
  ui::WaitCursor wait;
  if (files.ReadResultFile(dlg.GetPathName(), displayMinutes, ui) != 1) return -1;
  return files.Count() - 1;
}

bool SaveUtilityResultFile(UtilityResultFiles& files, int slot, ui::Window* parent, ResultFileUi& ui) {
  UtilityResultFileRec* f = files.File(slot);
  if (f == nullptr) return false;
  LyrDlgResultFileOpenSave dlg(false, "RAF", std::filesystem::path(f->path).filename().string(),
                               ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, res::LoadString(kIdsResultFileFilter),
                               parent);
  dlg.SetInitialFolder(LastFolderPath);
  dlg.m_Memo = f->memos;
  if (dlg.DoModal() != ui::IDOK) return false;
  if (WriteUtilityResultFile(*f, dlg.GetPathName(), dlg.m_Memo, ui) != 1) return false;
  f->memos = dlg.m_Memo;
  f->path = dlg.GetPathName();
  f->modified = 0;
  return true;
}
