#include "app/scoring/lyr_dlg_multi_screening.h"

#include <array>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/system/binary_file.h"
#include "platform/system/file_system.h"
#include "platform/system/shell.h"

namespace {

// The place takes a new file: it is created once and removed again.
bool CanWriteBeside(const std::string& path) {
  if (sys::FileExists(path)) return !sys::IsReadOnly(path) && sys::FolderExists(sys::FolderOf(path));
  {
    sys::BinaryFile probe;
    if (!probe.Open(path, sys::BinaryFile::kCreate | sys::BinaryFile::kWrite)) return false;
  }
  sys::DeleteFile(path);
  return true;
}

}  // namespace

LyrDlgMultiScreening::LyrDlgMultiScreening(CMainFrame* frame)
    : ui::Dialog(IDD_MULTI_SCREENING, frame), frame_(frame) {}

std::string LyrDlgMultiScreening::ResultPathFor(const std::string& rawPath, std::uint32_t useResultFolder,
                                                const std::string& resultFolder) {
  const std::string name = sys::FileTitleOf(rawPath) + "_01.raf";
  const bool ownFolder = useResultFolder == 0;
  if (ownFolder || !resultFolder.empty()) {
    std::string folder = ownFolder ? sys::FolderOf(rawPath) : resultFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string path = folder + "/" + name;
    if (CanWriteBeside(path)) return path;
  }
  return sys::DesktopFolder() + "/" + name;
}

int LyrDlgMultiScreening::RunScreening(int /*silent*/) {
  lastResultPath_.clear();
  CQLM2_AnalyzerDoc* doc = frame_ != nullptr ? frame_->GetDocument() : nullptr;
  if (doc == nullptr || DocumentLoaded == 0 || ScreeningRunning != 0) return 0;
  if (frame_->StartScreening(0) == 0) return 0;
  // The run goes through the recording page by page here, not on the step timer.
  while (frame_->StepNextPageWhileScreening() == 1) {
  }
  frame_->FinishScreenedRecording();
  const int epochs = EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0;
  if (epochs <= 0) return 0;
  const std::string path = ResultPathFor(doc->RecordInfo.path, UseResultFolder, ResultFolder);
  if (frame_->WriteResultAnalysisFile(doc->RecordInfo.path, path, 0, epochs - 1, std::array<std::string, 5>{}) == 0)
    return 0;
  lastResultPath_ = path;
  return 1;
}
