// The frame's mode commands: divided-page FFT, animal-only settings, DSI-only
// opening and resetting the environment.
#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/resume_file.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/scoring/multi_screening_setting.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kCmdDividedFft = 33077;
constexpr std::uint32_t kCmdPageFftView = 33171;
constexpr std::uint32_t kCmdAnimalOnly = 33165;
constexpr std::uint32_t kCmdDsiOnly = 33170;
constexpr std::uint32_t kCmdInitializeEnvironment = 33167;
constexpr std::uint32_t kIdsAnimalQuestion = 61002;
constexpr std::uint32_t kIdsInitializeQuestion = 61003;
constexpr std::uint32_t kIdsSettingsNotRemoved = 61004;

void WriteModeIni() {
  if (auto* app = dynamic_cast<CQLM2_AnalyzerApp*>(ui::App::Current())) app->WriteSetting();
}

}  // namespace

void CMainFrame::OnDividedFft() {
  const std::int32_t was = DividedFftMode;
  DividedFftMode = 0;
  if (was != 0) {
    RedrawRawFrames(-1);
    return;
  }
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  const auto valid = [doc] {
    for (std::int32_t ch : doc->Params.fftPageChannels.channels)
      if (ch != -1 && ch < doc->RecordInfo.channelCount) return true;
    return false;
  };
  // Without a valid FFT channel the workspace's channel choice is needed; until it
  // answers the mode stays off and the display unchanged.
  if (!valid()) return;
  DividedFftMode = 1;
  RedrawRawFrames(-1);
}

void CMainFrame::OnAnimalSettingOnly() {
  if (AnimalOnlyMode == 0) {
    AnimalOnlyMode = 1;
    if (ui::MessageBoxId(kIdsAnimalQuestion, ui::MB_OKCANCEL | ui::MB_ICONEXCLAMATION) == ui::IDCANCEL)
      AnimalOnlyMode = 0;
  } else {
    AnimalOnlyMode = 0;
  }
  WriteModeIni();
  if (AnimalOnlyMode != 0) {
    ApplyAnimalSetting();
    WriteResumeFile();
  }
}

void CMainFrame::OnDsiFileOnly() {
  DsiOnlyMode = DsiOnlyMode != 0 ? 0 : 1;
  WriteModeIni();
  SetDsiSilentOpen(0);
}

void CMainFrame::OnInitializeEnvironment() {
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  if (ui::MessageBoxId(kIdsInitializeQuestion, ui::MB_YESNO | ui::MB_DEFBUTTON2 | ui::MB_ICONEXCLAMATION) != ui::IDYES)
    return;
  // A settings file that cannot be removed is reported and the program keeps running.
  if (!sys::DeleteFile(ResumeFile::Path())) {
    ui::MessageBoxId(kIdsSettingsNotRemoved, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  LyrMultiScreeningSetting::DeleteMultiScreeningResumeFile();
  ui::PostQuitMessage(0);
}

void CMainFrame::MapModeCommands() {
  MapCommand(kCmdDividedFft, [this] { OnDividedFft(); });
  MapCommand(kCmdPageFftView, [this] { OnDividedFft(); });
  MapCommand(kCmdAnimalOnly, [this] { OnAnimalSettingOnly(); });
  MapCommand(kCmdDsiOnly, [this] { OnDsiFileOnly(); });
  MapCommand(kCmdInitializeEnvironment, [this] { OnInitializeEnvironment(); });
  for (std::uint32_t id : {kCmdDividedFft, kCmdPageFftView}) {
    MapUpdate(id, [](ui::CmdUI& ui) {
      ui.Enable(DocumentLoaded != 0 && ScreeningRunning != 1);
      ui.SetCheck(DividedFftMode != 0 ? 1 : 0);
    });
  }
  MapUpdate(kCmdAnimalOnly, [this](ui::CmdUI& ui) {
    ui.Enable(DocumentLoaded == 0 && MultiScreeningDlg == nullptr && ScreeningRunning != 1);
    ui.SetCheck(AnimalOnlyMode != 0 ? 1 : 0);
  });
  MapUpdate(kCmdDsiOnly, [this](ui::CmdUI& ui) {
    ui.Enable(MultiScreeningDlg == nullptr && ScreeningRunning != 1);
    ui.SetCheck(DsiOnlyMode != 0 ? 1 : 0);
  });
  MapUpdate(kCmdInitializeEnvironment, [this](ui::CmdUI& ui) {
    ui.Enable(MultiScreeningDlg == nullptr && ScreeningRunning != 1);
  });
}
