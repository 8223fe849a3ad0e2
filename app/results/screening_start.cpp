// Starting a screening run: the frame's two start operations and the commands without a
// menu entry that start a run for the settings in force.
#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/trend/trend_dummy_view.h"
#include "app/video/cvp_info_exchange.h"
#include "platform/ui/command.h"

namespace {

constexpr std::uint32_t kIdOtherSettings = 33011;
constexpr std::uint32_t kIdStartScreening = 33012;
constexpr std::uint32_t kIdStartParameterScreening = 33013;

// A start that cannot go on leaves no run behind: the state is idle again.
int FailStart() {
  ScreeningRunning = 0;
  return 0;
}

int StartRun(CMainFrame& frame, int resume, std::uint16_t parameterOnly) {
  CQLM2_AnalyzerDoc* doc = frame.GetDocument();
  if (doc == nullptr || EpochSeconds <= 0) return 0;
  // The video shows the analysed span from its start.
  CVPInfoExchange* video = frame.VideoController();
  std::uint32_t rate = 0;
  std::int16_t fastest = -1;
  if (video != nullptr && video->IsBound() && frame.GetMaxChannelRate(&rate, &fastest) != 0) {
    video->AnalysisStartSeconds = static_cast<double>(doc->ChInfo[static_cast<std::size_t>(fastest)].startOffset) / rate;
    video->AnalysisEndSeconds = video->AnalysisStartSeconds + doc->RecordSeconds;
    video->RepositionAfterResultOpen();
  }
  ScreeningRunning = 1;
  ScreeningParameterOnly = parameterOnly;
  doc->AutoStaging.BeginStagingRun();
  const int epochs = doc->GetDivNum(EpochSeconds);
  if (!doc->EpochTables.HasRecords()) {
    const int bandChannels = static_cast<int>(std::count(doc->Params.fftBand.channelSwitch.begin(),
                                                         doc->Params.fftBand.channelSwitch.end(), std::uint16_t{1}));
    if (doc->EpochTables.SetNew(epochs, EpochSeconds, doc->RecordInfo.channelCount, bandChannels, 1,
                                LearningSampleMode) == 0)
      return FailStart();
  }
  int first = 0;
  if (resume != 0) {
    first = doc->LastScreenedEpoch + 1;
    if (first >= epochs) return FailStart();
  }
  const int perPage = std::max(NavEpochsPerPage(), 1);
  const std::int32_t savedEpoch = doc->CurrentEpoch;
  const std::int32_t savedPage = doc->CurrentPage;
  doc->CurrentEpoch = first;
  doc->CurrentPage = first / perPage;
  if (doc->SetPageData() != 0) {
    doc->CurrentEpoch = savedEpoch;
    doc->CurrentPage = savedPage;
    doc->SetPageData();
    return FailStart();
  }
  frame.RefreshAllViews(-1);
  frame.UpdateFrameBarTime();
  if (LyrTrendDummyView* trend = frame.TrendView()) trend->ScreeningStarted();
  frame.RedrawTrendViews(1);
  frame.RedrawWorkspaceViews();
  frame.ScreenCurrentPage();
  return 1;
}

}  // namespace

int CMainFrame::StartScreening(int resume) { return StartRun(*this, resume, 0); }

int CMainFrame::StartParameterScreening(int resume) { return StartRun(*this, resume, 1); }

void CMainFrame::MapStartScreeningCommands() {
  MapCommand(kIdOtherSettings, [this] { OnOtherSettings(); });
  // The step timer runs only for a run that was set up.
  MapCommand(kIdStartScreening, [this] {
    if (StartScreening(0) != 0) SetTimer(kTimerScreeningStep, 0);
  });
  MapCommand(kIdStartParameterScreening, [this] {
    if (StartParameterScreening(0) != 0) SetTimer(kTimerScreeningStep, 0);
  });
  for (std::uint32_t id : {kIdStartScreening, kIdStartParameterScreening}) {
    MapUpdate(id, [](ui::CmdUI& cmd) {
      cmd.Enable(ScreeningRunning != 1);
      cmd.SetCheck(ScreeningRunning == 1 ? 1 : 0);
    });
  }
}
