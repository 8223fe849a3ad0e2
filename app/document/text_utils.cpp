#include "app/document/text_utils.h"

#include <cstring>

#include "platform/system/file_system.h"
#include "platform/system/process.h"
#include "platform/system/program_folder.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

int IsFileExist(const std::string& path) { return sys::FindFiles(path).empty() ? 0 : 1; }

void SplitCommaText(const std::string& text, std::vector<std::string>& items) {
  items.clear();
  std::size_t start = 0;
  for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
    items.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

int IsNumericText(const std::string& text) {
  return text.find_first_not_of("0123456789.-") == std::string::npos ? 1 : 0;
}

int CountFlagOn(const std::uint16_t* flags, int channelCount) {
  if (flags == nullptr) return 0;
  int n = 0;
  for (int c = 0; c < channelCount; ++c)
    if (flags[c] == 1) ++n;
  return n;
}

void RunCSVBOOK(const std::string& folder, const std::string& target, int mode) {
  const std::string program = sys::PathBesideProgram("CSVBOOK");
  // One argument in the form the converter reads: "folder","target",mode
  const std::string argument = "\"" + folder + "\",\"" + target + "\"," + std::to_string(mode);
  // The converter runs on its own; when it fails, its reason is shown once it has ended.
  const int err = sys::StartWatchedProcess(program, {argument}, [](int status, std::string reason) {
    if (status == 0) return;
    ui::PostTask([status, reason = std::move(reason)] { ui::MessageBox(WorkbookFailureText(status, reason)); });
  });
  if (err != 0) ui::MessageBox(std::strerror(err));
}

std::string WorkbookFailureText(int status, const std::string& reason) {
  std::string line = reason.substr(0, reason.find('\n'));
  if (line.empty()) line = "exit status " + std::to_string(status);
  std::string text = res::LoadString(65230);
  if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, line);
  return text;
}
