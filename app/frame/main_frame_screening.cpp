// The main frame's side of screening: the screening of one page, pausing and ending a run,
// the end of a screened recording with the next screening condition, the recognition of
// sleep disturbances over the whole recording, and the re-scoring after the Logic dialog.
#include <algorithm>
#include <exception>
#include <vector>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_page_geometry.h"
#include "app/raw/recognition_binding.h"
#include "app/scoring/arousal_lm_snore.h"
#include "app/scoring/hrv_lf_hf.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "app/scoring/resp_event_recognition.h"
#include "app/scoring/screening_steps.h"
#include "app/settings/lyr_raw_dlg_discussin.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdFinishScreening = 32792;
constexpr std::uint32_t kIdModifyLogic = 32808;
constexpr std::uint32_t kStrFinalStaging = 2319;
constexpr std::uint32_t kStrTooManyMarks = 2498;
constexpr std::uint32_t kStrScreeningComplete = 2386;
constexpr std::uint32_t kStrFailToGetMemory = 2522;

int ChannelCount(const CQLM2_AnalyzerDoc& doc) { return std::clamp(doc.RecordInfo.channelCount, 0, 32); }

tablemem::FailureReporter BoxReporter() {
  return [](const std::string& text) { ui::MessageBox(text + "\n" + res::LoadString(kStrFailToGetMemory)); };
}

}  // namespace

void CMainFrame::UpdateSetupWindowCommand(ui::CmdUI& cmd, bool open) {
  const CQLM2_AnalyzerDoc* doc = GetDocument();
  const LyrWorkspaceDummyView* ws = WorkspaceView();
  if (doc == nullptr || DocumentLoaded == 0 || (ws != nullptr && ws->PendingFlag != 0)) {
    cmd.Enable(false);
    cmd.SetCheck(0);
    return;
  }
  cmd.Enable(!open && doc->PageEndEpoch != -1);
  cmd.SetCheck(open ? 1 : 0);
}

void CMainFrame::MapScreeningCommands() {
  MapCommand(kIdFinishScreening, [this] { FinishScreening(); });
  MapUpdate(kIdFinishScreening, [](ui::CmdUI& cmd) {
    cmd.Enable(ScreeningRunning != 0);
    cmd.SetCheck(ScreeningRunning != 0 ? 0 : 1);
  });
  MapCommand(kIdModifyLogic, [this] { OpenDlgRawSetDiscussinTree(1); });
  // One Logic window at a time, and none beside the Screening window, which opens its own.
  MapUpdate(kIdModifyLogic,
            [this](ui::CmdUI& cmd) { UpdateSetupWindowCommand(cmd, ScreeningDlg != nullptr || LogicDlg != nullptr); });
  MapStartScreeningCommands();
  MapAnalysisDialogCommands();
}

void CMainFrame::ScreenCurrentPage() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || EpochSeconds <= 0) return;
  const int perPage = NavEpochsPerPage();
  const int epochs = NavEpochCount(*doc);
  if (perPage <= 0 || epochs <= 0) return;
  // The run finds its next page from the last screened epoch.
  doc->LastScreenedEpoch = std::min(doc->CurrentEpoch + perPage - 1, epochs - 1);

  const std::vector<float>& buffer = doc->RecordInfo.pageBuffers[static_cast<std::size_t>(kCurrentPageRow)];
  const int count = ChannelCount(*doc);
  const std::int64_t firstEpoch = static_cast<std::int64_t>(doc->CurrentPage) * perPage;
  std::vector<WaveChannelPage> pages(static_cast<std::size_t>(count));
  std::size_t offset = 0;
  for (int c = 0; c < count; ++c) {
    const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(c)];
    const std::size_t span = ch.rate > 0 ? static_cast<std::size_t>(ch.rate) * PageSeconds + 1 : 0;
    const std::size_t start = offset;
    offset += span;
    if (span == 0 || start >= buffer.size()) continue;
    const std::int64_t wanted =
        rawpage::PageSampleCount(ch.rate, PageSeconds, EpochSeconds, firstEpoch, perPage, epochs);
    const std::size_t n = std::min<std::size_t>({static_cast<std::size_t>(std::max<std::int64_t>(wanted, 0)), span,
                                                 buffer.size() - start});
    WaveChannelPage& page = pages[static_cast<std::size_t>(c)];
    page.samples = std::span<const float>(buffer.data() + start, n);
    page.rate = static_cast<int>(ch.rate);
    page.enabled = ch.show != 0;
  }

  // Wave forms of the page into the epochs' records.
  if (!screeningRecognition_) screeningRecognition_ = std::make_unique<RawPageRecognition>();
  const WaveRecognitionContext waves = WaveRecognitionContextForRow(*doc, this, kCurrentPageRow);
  screeningRecognition_->RecognizeRow(waves, pages);

  // Representative values and peaks of the sleep-disturbance channels.
  const SleepDstrbPageContext dstrb = SleepDstrbContextForRow(*doc, kCurrentPageRow);
  for (int c = 0; c < count; ++c) {
    if (pages[static_cast<std::size_t>(c)].samples.empty()) continue;
    if (!WaveFormRespirationTransaction(dstrb, c, pages[static_cast<std::size_t>(c)])) {
      screeningRecognition_->ReportOnce("CMainFrame::ScreenCurrentPage");
      break;
    }
  }

  // The current-page row stages its page; without the raw window the document is staged
  // directly.
  LyrRawDummyView* raw = RawView();
  LyrRawFrame* row = raw != nullptr ? raw->Row(kCurrentPageRow) : nullptr;
  LyrRawAreaView* view = row != nullptr ? row->AreaView() : nullptr;
  if (view != nullptr && view->GetDocument() == doc && ScreeningRunning == 1)
    view->AutoStagingTransaction();
  else
    screening::RunPagePasses(*doc, this);
}

void CMainFrame::StartStopScreeningTimer(int stop) {
  if (stop != 0) {
    ScreeningRunning = 2;
    KillTimer(kTimerScreeningStep);
    RunSleepDisturbanceRecognition(1);
    RedrawWorkspaceViews();
    RefreshMarkPaneAfterScreening(this, 0);
  } else {
    ScreeningRunning = 1;
    SetTimer(kTimerScreeningStep, 0);
  }
}

void CMainFrame::FinishScreening() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  ScreeningRunning = 0;
  KillTimer(kTimerScreeningStep);
  if (ScreeningDlg != nullptr) ScreeningDlg->EndRun();
  ScreeningIndex = -1;
  if (doc != nullptr && doc->Params.logicOption.lastStageMode != 0 && ConfirmLastStage != 0) {
    ui::MessageBeep(ui::MB_ICONASTERISK);
    if (ui::MessageBox(res::LoadString(kStrFinalStaging), ui::MB_OKCANCEL | ui::MB_ICONQUESTION) == ui::IDOK)
      screening::ApplyLastStage(*doc);
  }
  RunSleepDisturbanceRecognition(1);
  RedrawTrendViews(1);
  if (LyrTrendDummyView* trend = TrendView()) trend->ScreeningFinished();
  RedrawWorkspaceViews();
  RefreshMarkPaneAfterScreening(this, 1);
  if (ScreeningBatchTooManyMarks) ui::MessageBox(res::LoadString(kStrTooManyMarks));
}

void CMainFrame::RunSleepDisturbanceRecognition(int arg) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || EpochSeconds <= 0) return;
  ui::WaitCursor wait;
  const int epochs = NavEpochCount(*doc);
  const SleepDstrbParam& p = doc->Params.sleepDstrb;

  RespRecognitionSources rs;
  rs.param = &p;
  rs.epochs = &doc->EpochTables;
  rs.tables = &doc->RecognitionTables;
  rs.epochSeconds = EpochSeconds;
  rs.epochCount = epochs;
  rs.report = BoxReporter();
  LyrRecgnizeSleepDisturbanceResp(rs).Recognize();

  SleepDstrbSources ss;
  ss.param = &p;
  ss.epochs = &doc->EpochTables;
  ss.tables = &doc->RecognitionTables;
  ss.stageType = doc->Params.stageType.stageType;
  ss.epochSeconds = EpochSeconds;
  ss.epochCount = epochs;
  ss.report = BoxReporter();
  LyrRecognizeLimbMovement(ss).Recognize(arg);

  SleepDstrbTables& t = doc->RecognitionTables;
  const int ecg = p.ecgChannel;
  if (ecg >= 0 && ecg < ChannelCount(*doc) && t.ECGRcgnz().count > 0) {
    t.AllocateRcgnzSleepDstrbECGLFHF(SleepDstrbChannelsOf(p), epochs, EpochSeconds, p.lfhfTimeS);
    LfHfSources ls;
    ls.param = &p;
    ls.peaks = std::span<const std::int32_t>(t.ECGRcgnz().positions.data(),
                                             static_cast<std::size_t>(std::max(t.ECGRcgnz().count, 0)));
    ls.samplingRate = doc->ChInfo[static_cast<std::size_t>(ecg)].rate;
    ls.fftPoints = 64 << std::min<int>(p.lfhfPointsIndex, 3);
    ls.epochCount = epochs;
    ls.epochSeconds = EpochSeconds;
    ls.lf = t.ECGLF();
    ls.hf = t.ECGHF();
    ls.report = BoxReporter();
    LyrTrendFFTCalc(ls).TrendFFTTransaction();
  }

  LyrRecognizeSnore(ss).Recognize(arg);
  LyrRecognizeArousal(ss).Recognize(epochs, LyrEpochParameter::GetRprsntNumArousal(EpochSeconds));
}

void CMainFrame::FinishScreenedRecording() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (EpochBar != nullptr) EpochBar->EnableCombos(true);
  if (doc != nullptr) screening::ApplyLastStage(*doc);
  RunSleepDisturbanceRecognition(1);
  RedrawTrendViews(1);
  RedrawWorkspaceViews();
  RefreshMarkPaneAfterScreening(this, 1);
  if (ScreeningIndex == -1 || ScreeningDlg == nullptr || doc == nullptr) return;

  const int k = ScreeningIndex;
  const int conditions = std::clamp<int>(doc->ScreeningConditionCount, 1, kMaxScreeningConditions);
  if (k >= 0 && k < conditions) {
    const ScreeningCondition& done = doc->ScreeningConditions[static_cast<std::size_t>(k)];
    if (!done.resultPath.empty()) {
      const int epochs = NavEpochCount(*doc);
      if (WriteResultAnalysisFile(doc->RecordInfo.path, done.resultPath, 0, epochs - 1, done.memos) != 0 &&
          LearningSampleMode != 0)
        WriteMsfFile(done.resultPath, 0, epochs - 1);
    }
  }
  ++ScreeningIndex;
  for (int i = 0; i < 3; ++i) ui::MessageBeep(ui::MB_ICONASTERISK);

  if (ScreeningIndex < conditions) {
    // The conditions after the first finish without asking before the last-stage rules.
    ConfirmLastStage = 0;
    if (ApplyScreeningToCurrentFile(ScreeningIndex, 0, 1) != 0 && StartScreening(0) != 0) {
      ScreeningDlg->SetProgressFile(ScreeningIndex);
      SetTimer(kTimerScreeningStep, 0);
      if (EpochBar != nullptr) EpochBar->EnableCombos(false);
      return;
    }
    ui::MessageBox("SCREENING_STATES\n" + res::LoadString(kStrFailToGetMemory));
    ScreeningIndex = -1;
    ScreeningDlg->EndRun();
    return;
  }
  ScreeningIndex = -1;
  ScreeningDlg->EndRun();
  if (ScreeningBatchTooManyMarks) ui::MessageBox(res::LoadString(kStrTooManyMarks));
  ui::MessageBox(res::LoadString(kStrScreeningComplete));
}

int CMainFrame::ApplyScreeningToCurrentFile(int n, int resume, int staging) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || n < 0 || n >= kMaxScreeningConditions) return 0;
  const ScreeningCondition& c = doc->ScreeningConditions[static_cast<std::size_t>(n)];
  AnalysisParamBlocks& p = doc->Params;
  p.logic = c.logic;
  p.logicOption = c.logicOption;
  p.waveForm = c.waveform;
  p.chDispScale = c.artifact;
  p.chDispMode = c.crossCount;
  p.fftBand = c.fftBand;
  p.markType.items = c.markTrigger;
  p.sleepDstrb = c.sleepDisturbance;
  if (c.rangeSeconds > 0) {
    for (std::size_t i = 0; i < doc->ChInfo.size(); ++i) doc->ChInfo[i].startOffset = c.channelStart[i];
    doc->RecordSeconds = c.rangeSeconds;
  }
  const int channels = ChannelCount(*doc);
  SetDefaultFFTBandParam(1, &p.fftBand, channels);
  SetDefaultSleepDstrbParam(1, &p.sleepDstrb, channels);
  SetDefaultWaveFormRecognitionParam(1, &p.waveForm, channels);
  SetDefaultMarkTypeParam(1, &p.markType, channels);
  AdjustAnalysisSettings();
  if (resume == 0) {
    // A parameter-only run (staging 0) keeps the stage records: it leaves the stages as they are.
    const int epochs = NavEpochCount(*doc);
    if (doc->Init4ChangeEpochTime(epochs, EpochSeconds, doc->RecordInfo.channelCount, staging) == 0) return 0;
    if (doc->AllocateMark() == 0) return 0;
    doc->LastScreenedEpoch = -1;
    doc->CurrentEpoch = 0;
    doc->CurrentPage = 0;
    doc->SelectedEpoch = -1;
  }
  ScreeningBatchTooManyMarks = false;
  if (LyrTrendDummyView* trend = TrendView()) trend->SetCursorEpoch(-1, doc->CurrentEpoch);
  doc->SetPageData();
  UpdateFrameBarTime();
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->Invalidate();
  RefreshAllViews(-1);
  UpdateParameterBar();
  return 1;
}

void CMainFrame::AdjustAnalysisSettings() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  // The page spectra follow the trend band table while any channel has its FFT switched on.
  const FFTBandParam& band = doc->Params.fftBand;
  FFTPageParam& page = doc->Params.fftPage;
  const bool anyChannel = std::any_of(band.channelSwitch.begin(), band.channelSwitch.end(),
                                      [](std::uint16_t on) { return on == 1; });
  const int count = std::min<int>(band.bandCount, static_cast<int>(band.bands.size()));
  if (!anyChannel || count <= 0) return;
  page.epochAveraging = band.averagingCount;
  page.epochFftPoints = band.fftPoints;
  page.dividedAveraging = band.averagingCount;
  page.dividedFftPoints = band.fftPoints;
  page.windowType = band.windowType;
  page.unit = band.unit;
  page.bandCount = static_cast<std::uint16_t>(count);
  for (int i = 0; i < count; ++i) page.bands[static_cast<std::size_t>(i)] = band.bands[static_cast<std::size_t>(i)];
  if (band.contentRange == 1) {
    page.contentFromHz = band.optionalFromHz;
    page.contentToHz = band.optionalToHz;
  } else {
    double low = band.bands[0].fromHz;
    double high = band.bands[0].toHz;
    for (int i = 1; i < count; ++i) {
      low = std::min(low, band.bands[static_cast<std::size_t>(i)].fromHz);
      high = std::max(high, band.bands[static_cast<std::size_t>(i)].toHz);
    }
    page.contentFromHz = static_cast<float>(low);
    page.contentToHz = static_cast<float>(high);
  }
}

void CMainFrame::CloseLogicDlg(int code) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  int caller = 0;
  if (LogicDlg != nullptr) {
    LyrRawDlgDiscussin* dlg = LogicDlg;
    caller = dlg->m_Caller;
    LogicDlg = nullptr;
    ui::PostTask([dlg] {
      if (dlg->IsWindow()) dlg->DestroyWindow();
      delete dlg;
    });
  }
  if (code == 1000) {
    // A restart asked from the Screening window: both windows open anew.
    if (ScreeningDlg != nullptr) {
      ScreeningDlg->CloseProgress();
      CloseScreeningSettingDlgs();
      OnScreening();
    }
    OpenDlgRawSetDiscussinTree(caller);
    return;
  }
  if (code == 1) AdjustAnalysisSettings();
  RawPreviewMode = 0;
  ui::Window::ReleaseCapture();
  if (ScreeningDlg != nullptr) {
    ScreeningDlg->EndLogic(code);
    return;
  }
  if (code != 1 || doc == nullptr) return;
  screening::RescoreByLogic(*doc, LearningSampleMode);
  screening::ApplyLastStage(*doc);
  ResultModifiedState = 2;
  RedrawRawFrames(-1);
  RedrawPageFFTViews();
  RedrawTrendViews(1);
  if (LyrTrendDummyView* trend = TrendView())
    if (LyrTrendInfoAreaView* info = trend->InfoArea()) {
      info->SetThresholdText();
      info->EnableThresholdEdit();
    }
  RedrawWorkspaceViews();
}

void CMainFrame::OpenDlgRawSetDiscussinTree(int caller) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  try {
    auto* dlg = new LyrRawDlgDiscussin(doc, caller);
    dlg->SetCloseCallback([this](int code) {
      CloseLogicDlg(code == ui::IDOK ? 1 : code == kLogicReopenCode ? kLogicReopenCode : 2);
    });
    LogicDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      LogicDlg = nullptr;
      delete dlg;
    }
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OpenDlgRawSetDiscussinTree");
  }
}
