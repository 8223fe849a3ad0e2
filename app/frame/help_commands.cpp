#include "app/frame/help_commands.h"

#include <filesystem>

#include "platform/res/resource_store.h"
#include "platform/system/process.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"

std::string ShellErrorText(int shellResult) {
  switch (shellResult) {
    case 0: return "no memory";
    case 2: return "ERROR_FILE_NOT_FOUND\n";
    case 3: return "ERROR_PATH_NOT_FOUND\n";
    case 5: return "SE_ERR_ACCESSDENIED\n";
    case 8: return "SE_ERR_OOM\n";
    case 11: return "ERROR_BAD_FORMAT\n";
    case 26: return "SE_ERR_SHARE\n";
    case 27: return "SE_ERR_ASSOCINCOMPLETE\n";
    case 28: return "SE_ERR_DDETIMEOUT\n";
    case 29: return "SE_ERR_DDEFAIL\n";
    case 30: return "SE_ERR_DDEBUSY\n";
    case 31: return "SE_ERR_NOASSOC\n";
    case 32: return "SE_ERR_DLLNOTFOUND\n";
    default: return {};
  }
}

int OpenHelpTopics() {
  const std::string path = sys::PathBesideProgram("Vellisom.pdf");
  const int result = sys::OpenDocument(path);
  const std::string error = ShellErrorText(result);
  if (!error.empty()) ui::MessageBox(error + path);
  return result;
}

int OpenVideoOptionHelp() {
  std::error_code ec;
  if (!std::filesystem::exists(sys::PathBesideProgram(kVideoPlayerLibraryName), ec)) {
    ui::MessageBox(res::LoadString(kIdsVideoOptionMissing), ui::MB_OK | ui::MB_ICONINFORMATION);
    return -1;
  }
  return sys::OpenDocument(sys::PathBesideProgram("VIDEOPLAYER.pdf"));
}
