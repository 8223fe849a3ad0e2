#include "app/document/qlm2_analyzer_app.h"

#include <cctype>
#include <filesystem>
#include <memory>

#include "app/document/language_choice.h"
#include "app/document/mode_ini.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/qlm2_analyzer_view.h"
#include "app/document/recording_probe.h"
#include "app/document/recent_file_store.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/video/cvp_info_exchange.h"
#include "app/frame/resume_file.h"
#include "app/frame/settings_startup.h"
#include "app/frame/remote_screening.h"
#include "platform/system/copy_data_channel.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kIdsNoAutoPlayInfo = 2453;
constexpr std::uint32_t kIdsSettingsFileDamaged = 61757;
constexpr std::uint32_t kIdAppExit = 57665;
constexpr std::uint32_t kFirstRecentFile = 57616;
constexpr std::uint32_t kLastRecentFile = 57625;
}  // namespace

CQLM2_AnalyzerApp* TheApp() { return dynamic_cast<CQLM2_AnalyzerApp*>(ui::App::Current()); }

CQLM2_AnalyzerApp::CQLM2_AnalyzerApp() {
  // The first entry for an id wins: File > Open is the program's own handler.
  MapCommand(ui::ID_FILE_NEW, [this] { OnFileNew(); });
  MapCommand(ui::ID_FILE_OPEN, [this] { OnFileOpen(); });
  MapUpdate(ui::ID_FILE_OPEN, [this](ui::CmdUI& cmd) { OnUpdateFileOpen(cmd); });
  MapCommand(kIdAppExit, [this] {
    if (ui::Frame* frame = GetMainWnd()) frame->SendMessage(ui::WM_CLOSE);
  });
  MapCommandRange(kFirstRecentFile, kLastRecentFile, [this](std::uint32_t id) { OpenRecentFile(id); });
  MapUpdateRange(kFirstRecentFile, kLastRecentFile,
                 [this](ui::CmdUI& cmd) { cmd.Enable(cmd.Id() - kFirstRecentFile < RecentFiles().size()); });
}

CQLM2_AnalyzerApp::~CQLM2_AnalyzerApp() = default;

CMainFrame* CQLM2_AnalyzerApp::MainFrame() const { return dynamic_cast<CMainFrame*>(GetMainWnd()); }

CQLM2_AnalyzerDoc* CQLM2_AnalyzerApp::Document() const { return dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument()); }

bool CQLM2_AnalyzerApp::InitInstance() {
  SetRecentFiles(LoadRecentFileList(), kRecentFileCount);
  // COM has no counterpart here: its initialisation always succeeds.

  EnglishMode = ChooseUserInterfaceLanguage();

  ui::DocTemplate tmpl;
  tmpl.resourceId = kMainResourceId;
  tmpl.makeDocument = [] { return std::make_unique<CQLM2_AnalyzerDoc>(); };
  tmpl.makeFrame = [] { return std::make_unique<CMainFrame>(); };
  tmpl.makeView = [] { return std::make_unique<CQLM2_AnalyzerView>(); };
  SetDocTemplate(std::move(tmpl));

  DocumentLoaded = 0;
  UtilityHypnogramLoaded = 0;
  SetShowCommand(ui::SW_SHOWMAXIMIZED);

  if (!ProcessCommandLine()) return false;

  LoadDocumentSettings();
  // The learning settings file comes with the first start.
  LyrAutoStaging::InstallLearningIni();

  if (ReadSetting(&AnimalOnlyMode, &DsiOnlyMode) == 0) {
    // First start in the animal-only mode: the animal setting becomes the settings file.
    if (CMainFrame* frame = MainFrame()) {
      frame->ApplyAnimalSetting();
      frame->WriteResumeFile();
    }
  }

  // The recording named on the command line opens with the settings just loaded, as it
  // would from File > Open. Opening reads only the header and the first page, so the
  // window's first paint is that page itself rather than an empty one painted before it.
  OpenCommandLineFile();

  if (CMainFrame* frame = MainFrame()) {
    frame->ShowWindow(ui::SW_SHOW);
    frame->UpdateWindow();
    TellDamagedSettingsFile();
    // Other programs of the user reach this one through its socket (a second copy of the
    // program started from the same folder leaves the socket to the first).
    frame->ListenForRemoteRequests(sys::CopyDataSocketPath(kRemoteRequestProgramName));
  }
  StartAutoPlay();
  return true;
}

namespace {
// "/AutoPlay" and "/3" are switches; "/data/night.fyd" (a folder in it) or an existing file
// named from the root is a recording.
bool IsCommandLineSwitch(const std::string& a) {
  return a[0] == '/' && a.find('/', 1) == std::string::npos && !sys::FileExists(a);
}

bool IsLearningSwitch(const std::string& a) {
  std::string lower = a;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return lower == "/learning" && !sys::FileExists(a);
}
}  // namespace

bool CQLM2_AnalyzerApp::ProcessCommandLine() {
  const std::vector<std::string>& args = Arguments();
  std::string fileName;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    // "/Learning": the learning controls of the screening set-up show from the start (the
    // "Learning" check box cleared), so learning-sample files can be kept and learned from.
    if (IsLearningSwitch(a)) {
      if (LearningSampleMode == 0) LearningSampleMode = 2;
      continue;
    }
    if (a.empty() || a[0] == '-' || IsCommandLineSwitch(a)) continue;
    if (fileName.empty()) fileName = a;
  }
  commandLineFile_ = AbsoluteRecordingPath(fileName);
  return OnFileNew();
}

void CQLM2_AnalyzerApp::OpenCommandLineFile() {
  if (commandLineFile_.empty()) return;
  // A recording that does not open has been told; the program goes on with an empty one.
  OpenDocumentFile(commandLineFile_);
  commandLineFile_.clear();
}

void CQLM2_AnalyzerApp::TellDamagedSettingsFile() {
  const std::string damaged = ResumeFile::TakeDamagedNotice();
  if (damaged.empty()) return;
  std::string text = res::LoadString(kIdsSettingsFileDamaged);
  for (int i = 0; i < 2; ++i)
    if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, damaged);
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

int CQLM2_AnalyzerApp::ExitInstance() {
  SaveRecentFileList(RecentFiles());
  return ui::App::ExitInstance();
}

int CQLM2_AnalyzerApp::ReadSetting(std::int32_t* animalOnly, std::int32_t* dsiOnly) {
  const ModeSwitches modes = ReadModeIni();
  if (animalOnly != nullptr) *animalOnly = modes.animalOnly;
  if (dsiOnly != nullptr) *dsiOnly = modes.dsiOnly;
  std::error_code ec;
  if (modes.animalOnly != 0 && !std::filesystem::exists(ResumeFile::Path(), ec)) return 0;
  return 1;
}

void CQLM2_AnalyzerApp::WriteSetting() { WriteModeIni(ModeSwitches{AnimalOnlyMode, DsiOnlyMode}); }

void CQLM2_AnalyzerApp::LoadDocumentSettings() {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr) return;
  ::LoadDocumentSettings(doc->Params, doc->ChInfo);
}

void CQLM2_AnalyzerApp::StartAutoPlay() {
  CMainFrame* frame = MainFrame();
  if (frame == nullptr || frame->AutoPlayStart == 0) return;
  // The auto-play list is read when the workspace window's video player library is bound.
  CVPInfoExchange* video = frame->VideoController();
  if (video != nullptr) {
    if (frame->VideoOpen != 0 || frame->AutoPlayEntry != -1) video->UnloadVideoDll();
    if (video->LoadVideoDll() != 0) video->InitVideoDll();
  }
  const bool listRead = video != nullptr && video->IsBound() && video->AutoPlayFileRead() != 0;
  // An entry number beyond the list has nothing to play: it is told like a missing list.
  const bool entryExists = listRead && frame->AutoPlayEntry >= 0 &&
                           frame->AutoPlayEntry < static_cast<int>(video->AutoPlayEntries.size());
  if (entryExists) {
    video->ActiveAutoPlayEntry = static_cast<std::int16_t>(frame->AutoPlayEntry);
    const AutoPlayEntry& entry = video->AutoPlayEntries[static_cast<std::size_t>(frame->AutoPlayEntry)];
    frame->AutoPlayDataPath = entry.rawPath;
    frame->AutoPlayResultPath = entry.resultPath;
    frame->AutoPlayRunning = 1;
    video->AutoPlayRunning = 1;
    OpenAutoPlayData();
  } else {
    ui::MessageBoxId(kIdsNoAutoPlayInfo, ui::MB_OK);
  }
  // Only a recording that the list named is opened: an empty path opens nothing. A recording
  // already open under that path is only brought forward.
  if (!frame->AutoPlayDataPath.empty()) {
    if (ui::Document* doc = OpenDocumentFile(frame->AutoPlayDataPath)) doc->SetPathName(frame->AutoPlayDataPath);
  }
}

void CQLM2_AnalyzerApp::OpenAutoPlayData() {
  CMainFrame* frame = MainFrame();
  if (frame == nullptr || frame->AutoPlayDataPath.empty()) return;
  ResultModifiedState = 0;
  if (ui::Document* doc = OpenDocumentFile(frame->AutoPlayDataPath)) doc->SetPathName(frame->AutoPlayDataPath);
}

void CQLM2_AnalyzerApp::OpenRecentFile(std::uint32_t id) {
  const std::size_t index = id - kFirstRecentFile;
  if (index >= RecentFiles().size()) return;
  const std::string path = RecentFiles()[index];
  if (OpenDocumentFile(path) != nullptr || sys::FileExists(path)) return;
  // The file is gone (its message named it): the entry leaves the list.
  std::vector<std::string> files = RecentFiles();
  files.erase(files.begin() + static_cast<std::ptrdiff_t>(index));
  SetRecentFiles(std::move(files), kRecentFileCount);
}
