// The remote screening request: another program of the user sends the main frame a copy-data
// message of code 522 naming a recording; the frame opens it, screens it in the
// Multi-screening window, opens the folders in the desktop's file manager and copies the
// recording and its result files where the request asks. The sender waits until all is over.
#include <memory>
#include <span>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/remote_screening.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/system/process.h"
#include "platform/ui/app.h"
#include "platform/ui/copy_data_listener.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kStrNotReceived = 62301;
constexpr std::uint32_t kStrAutoScreeningError = 62302;
constexpr std::uint32_t kStrNotInEffect = 62303;
constexpr std::uint32_t kStrComplete = 62304;

}  // namespace

bool CMainFrame::OnCopyData(ui::Window* /*sender*/, const ui::CopyData& data) {
  if (data.dwData != kRemoteScreeningCode) {
    ui::MessageBox(res::LoadString(kStrNotReceived), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data.lpData);
  const RemoteScreeningRequest request =
      ParseRemoteScreeningRequest(std::span<const std::uint8_t>(bytes, bytes != nullptr ? data.cbData : 0));

  std::uint32_t folderMode = 0;
  std::string folderText;
  const std::uint16_t result = RunRemoteScreening(request.dataPath, &folderMode, &folderText);
  if (result == 0) {
    ui::MessageBox(res::LoadString(kStrAutoScreeningError), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  if (result != 1) {
    ui::MessageBox(res::LoadString(kStrNotInEffect), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  const sys::PathParts parts = sys::SplitPath(request.dataPath);
  sys::OpenDocument(parts.drive + parts.folder);
  if (request.copyFlag != 1) {
    ui::MessageBox(res::LoadString(kStrComplete), ui::MB_OK);
    return false;
  }
  if (!sys::FolderExists(request.resultFolder)) sys::CreateFolder(request.resultFolder);
  if (CopyRemoteScreeningResults(request.dataPath, request.resultFolder, request.resultName, folderMode,
                                 folderText) != 0) {
    sys::OpenDocument(request.resultFolder);
    ui::MessageBox(res::LoadString(kStrComplete), ui::MB_OK);
  } else {
    ui::MessageBox(sys::LastFileError().Message(), ui::MB_OK);
  }
  return false;
}

std::uint16_t CMainFrame::RunRemoteScreening(const std::string& dataPath, std::uint32_t* folderMode,
                                             std::string* folderText) {
  *folderMode = 0;
  folderText->clear();
  // A batch being set up or running (its progress window lets this request in) is neither
  // screened in place nor entered a second time.
  if (MultiScreeningDlg != nullptr || ScreeningRunning != 0) return 0;
  // The open's own answer tells whether the requested recording is the one open now; a
  // recording that stays open because the new one failed is not screened in its place.
  ui::App* app = ui::App::Current();
  ui::Document* opened = app != nullptr ? app->OpenDocumentFile(dataPath) : nullptr;
  CQLM2_AnalyzerDoc* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(opened);
  if (doc == nullptr || DocumentLoaded == 0 || doc->RecordInfo.path != dataPath) return 0;
  opened->SetPathName(dataPath, true);

  OpenMultiScreeningDlg();
  LyrDlgMultiScreening* window = MultiScreeningDlg;
  if (window == nullptr) return 0;
  *folderMode = window->Settings.UseResultFolder;
  *folderText = window->Settings.ResultFolder;
  const int ran = window->RunScreening(1);
  // A run refused by a check leaves the window open; the request's window goes with it.
  if (MultiScreeningDlg == window && !window->IsEnded()) window->EndDialog(ui::IDCANCEL);
  return ran != 0 ? 1 : 0xFFFF;
}

bool CMainFrame::ListenForRemoteRequests(const std::string& socketPath) {
  if (!remoteRequests_) remoteRequests_ = std::make_shared<ui::CopyDataListener>();
  return remoteRequests_->Listen(this, socketPath);
}

bool CMainFrame::IsListeningForRemoteRequests() const { return remoteRequests_ && remoteRequests_->IsListening(); }
