#include "app/scoring/lyr_dlg_screening.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_result_file.h"
#include "app/scoring/learning_sample_file.h"
#include "app/settings/lyr_raw_dlg_other.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrConditionChanged = 2348;
constexpr std::uint32_t kStrDesignateFileName = 61850;
constexpr std::uint32_t kStrColumnFirst = 61851;  // .. 61857, the seven column titles
constexpr std::uint32_t kStrSet = 61858;
constexpr std::uint32_t kStrResultFilter = 61859;
constexpr int kColumnWidths[7] = {40, 100, 70, 70, 70, 70, 200};

}  // namespace

// ---- Progress window ------------------------------------------------------------------------

LyrDlgScreeningProgress::LyrDlgScreeningProgress(CMainFrame* frame, ui::Window* parent)
    : ui::Dialog(IDD_SCREENING_PROGRESS, parent), frame_(frame) {
  MapCommand(IDC_SCR_PAUSE, [this] { OnPause(); });
  MapCommand(IDC_SCR_STOP, [this] { OnStop(); });
}

bool LyrDlgScreeningProgress::OnInitDialog() {
  CheckDlgButton(IDC_SCR_PAUSE, 0);
  return true;
}

void LyrDlgScreeningProgress::SetStatus(int index, int count) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d", index + 1, count);
  SetDlgItemText(IDC_SCR_PROGRESS_TEXT, text);
}

void LyrDlgScreeningProgress::OnPause() {
  if (frame_ == nullptr) return;
  CQLM2_AnalyzerDoc* doc = frame_->GetDocument();
  if (IsDlgButtonChecked(IDC_SCR_PAUSE) != 0) {
    if (frame_->EpochBar != nullptr) frame_->EpochBar->EnableCombos(true);
    frame_->StartStopScreeningTimer(1);
    pausedEpoch_ = doc != nullptr ? doc->CurrentEpoch : -1;
    return;
  }
  if (doc != nullptr && pausedEpoch_ >= 0 && doc->CurrentEpoch != pausedEpoch_) {
    const int perPage = std::max(NavEpochsPerPage(), 1);
    frame_->SetPageByEpoch(pausedEpoch_ / perPage, pausedEpoch_);
    frame_->RefreshAllViews(2);
  }
  if (frame_->EpochBar != nullptr) frame_->EpochBar->EnableCombos(false);
  frame_->StartStopScreeningTimer(0);
}

void LyrDlgScreeningProgress::OnStop() {
  if (frame_ == nullptr) return;
  if (frame_->EpochBar != nullptr) frame_->EpochBar->EnableCombos(true);
  frame_->FinishScreening();
}

// ---- Screening window ------------------------------------------------------------------------

LyrDlgScreening::LyrDlgScreening(CQLM2_AnalyzerDoc* doc, int templateId, ui::Window* parent)
    : ui::Dialog(templateId, parent), m_pDoc(doc) {
  MapCommand(IDC_SCR_ANALYSIS_RANGE, [this] { OnAnalysisRange(); });
  MapCommand(IDC_SCR_LOGIC, [this] { OnLogic(); });
  MapCommand(IDC_SCR_WAVEFORM, [this] { OnWaveformRecognition(); });
  MapCommand(IDC_SCR_SLEEP_DISTURBANCE, [this] { OnSleepDisturbance(); });
  MapCommand(IDC_SCR_OTHER, [this] { OnOther(); });
  MapCommand(IDC_SCR_RESULT_FILE, [this] { OnResultFile(); });
  MapCommand(IDC_SCR_ADD, [this] { OnAdd(); });
  MapCommand(IDC_SCR_REMOVE, [this] { OnRemove(); });
  MapCommand(IDC_SCR_STAGE_PARAMETER, [this] { OnStageParameter(); });
  MapCommand(IDC_SCR_PARAMETER, [this] { OnParameter(); });
  MapCommand(IDC_SCR_LEARNING, [this] { OnLearning(); });
  MapCommand(IDC_SCR_LEARNING_CHECK, [this] { OnLearningCheck(); });
}

LyrDlgScreening::~LyrDlgScreening() {
  if (progress_ != nullptr) {
    if (progress_->IsWindow()) progress_->DestroyWindow();
    delete progress_;
  }
}

CMainFrame* LyrDlgScreening::Frame() const { return CQLM2_AnalyzerDoc::MainFrame(); }

int LyrDlgScreening::Count() const {
  return m_pDoc != nullptr ? std::clamp<int>(m_pDoc->ScreeningConditionCount, 1, kMaxScreeningConditions) : 0;
}

int LyrDlgScreening::SelectedRow() const {
  const int row = Item(IDC_SCR_LIST).GetCurSel();
  return row >= 0 && row < Count() ? row : -1;
}

bool LyrDlgScreening::OnInitDialog() {
  ui::Control list = Item(IDC_SCR_LIST);
  list.SetFullRowSelect(true);
  for (int c = 0; c < 7; ++c) list.InsertColumn(c, res::LoadString(kStrColumnFirst + c), kColumnWidths[c]);
  if (m_pDoc != nullptr) {
    m_pDoc->ScreeningConditionCount = static_cast<std::uint16_t>(Count());
    for (int k = 0; k < kMaxScreeningConditions; ++k) FillFromDocument(k);
  }
  FillList(0);
  EnableControls(false);
  FillLearningInfo();

  continuationAllowed_ = m_pDoc != nullptr && Count() == 1 && m_pDoc->LastScreenedEpoch != -1;
  EnableItem(IDC_SCR_CONTINUATION, continuationAllowed_);

  switch (LearningSampleMode) {
    case 0:
      ShowItem(IDC_SCR_LEARNING, false);
      ShowItem(IDC_SCR_LEARNING_CHECK, false);
      EnableItem(IDC_SCR_LEARNING, false);
      EnableItem(IDC_SCR_LEARNING_CHECK, false);
      break;
    case 1:
      EnableItem(IDC_SCR_LEARNING, true);
      CheckDlgButton(IDC_SCR_LEARNING_CHECK, 1);
      break;
    default:
      EnableItem(IDC_SCR_LEARNING, false);
      CheckDlgButton(IDC_SCR_LEARNING_CHECK, 0);
      break;
  }
  return true;
}

void LyrDlgScreening::FillLearningInfo() {
  if (m_pDoc == nullptr) return;
  LyrLearningInfo& info = m_pDoc->AutoStaging.LearningInfo();
  info.name = m_pDoc->RecordInfo.subjectName.substr(0, 19);
  info.age = m_pDoc->RecordInfo.ageYears;
  const std::int16_t sex = m_pDoc->RecordInfo.gender;
  info.sex = sex == 0 ? "male" : sex == 1 ? "female" : "unknown";
  info.epochTime = static_cast<std::uint16_t>(EpochSeconds);
  info.stageType = m_pDoc->Params.stageType.stageType;
  info.recordingFile = std::filesystem::path(m_pDoc->RecordInfo.path).filename().string();
}

void LyrDlgScreening::FillFromDocument(int condition) {
  if (m_pDoc == nullptr || condition < 0 || condition >= kMaxScreeningConditions) return;
  ScreeningCondition& c = m_pDoc->ScreeningConditions[static_cast<std::size_t>(condition)];
  const AnalysisParamBlocks& p = m_pDoc->Params;
  for (std::size_t i = 0; i < c.channelStart.size(); ++i) c.channelStart[i] = m_pDoc->ChInfo[i].startOffset;
  c.rangeSeconds = m_pDoc->RecordSeconds;
  c.logic = p.logic;
  c.logicOption = p.logicOption;
  c.waveform = p.waveForm;
  c.artifact = p.chDispScale;
  c.crossCount = p.chDispMode;
  c.fftBand = p.fftBand;
  c.markTrigger = p.markType.items;
  // The sleep-disturbance settings in force too: a condition whose settings were never
  // edited screens with the settings of the recording, not with empty channels.
  c.sleepDisturbance = p.sleepDstrb;
}

void LyrDlgScreening::FillList(int select) {
  ui::Control list = Item(IDC_SCR_LIST);
  list.DeleteAllItems();
  const std::string set = res::LoadString(kStrSet);
  for (int k = 0; k < Count(); ++k) {
    char no[16];
    std::snprintf(no, sizeof no, "%3d", k + 1);
    const int row = list.InsertItem(-1, no);
    for (int f = 0; f < kFlagResultFile; ++f)
      list.SetItemText(row, f + 1, flags_[static_cast<std::size_t>(k)][static_cast<std::size_t>(f)] == 1 ? set : "-");
    const std::string& path = m_pDoc->ScreeningConditions[static_cast<std::size_t>(k)].resultPath;
    list.SetItemText(row, 6, path.empty() ? "-" : path);
  }
  if (select >= 0 && select < Count()) list.SetCurSel(select);
}

void LyrDlgScreening::EnableControls(bool busy) {
  for (int id : {IDC_SCR_ADD, IDC_SCR_REMOVE, IDC_SCR_LIST, IDC_SCR_ANALYSIS_RANGE, IDC_SCR_LOGIC, IDC_SCR_WAVEFORM,
                 IDC_SCR_SLEEP_DISTURBANCE, IDC_SCR_OTHER, IDC_SCR_RESULT_FILE, static_cast<int>(ui::IDCANCEL),
                 IDC_SCR_STAGE_PARAMETER, IDC_SCR_PARAMETER})
    EnableItem(id, !busy);
  if (Count() >= kMaxScreeningConditions) EnableItem(IDC_SCR_ADD, false);
  if (Count() <= 1) EnableItem(IDC_SCR_REMOVE, false);
}

bool LyrDlgScreening::Continues() const {
  return continuationAllowed_ && IsDlgButtonChecked(IDC_SCR_CONTINUATION) != 0;
}

void LyrDlgScreening::DisallowContinuation() {
  continuationAllowed_ = false;
  EnableItem(IDC_SCR_CONTINUATION, false);
}

bool LyrDlgScreening::ConfirmClearResults(bool clearTables) {
  if (m_pDoc == nullptr) return false;
  if (ResultSaveState != 2 && m_pDoc->LastScreenedEpoch == -1) return true;
  ui::MessageBeep(ui::MB_ICONQUESTION);
  if (ui::MessageBox(res::LoadString(kStrConditionChanged), ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK)
    return false;
  if (clearTables) {
    const int epochs = NavEpochCount(*m_pDoc);
    if (m_pDoc->Init4ChangeEpochTime(epochs, EpochSeconds, m_pDoc->RecordInfo.channelCount, 1) == 0) return false;
    if (m_pDoc->AllocateMark() == 0) return false;
  }
  m_pDoc->LastScreenedEpoch = -1;
  ResultSaveState = 0;
  return true;
}

bool LyrDlgScreening::PrepareSettings() {
  CMainFrame* frame = Frame();
  if (frame != nullptr) frame->WriteResumeFile();
  if (SelectedRow() < 0) return false;
  if (!Continues() && !ConfirmClearResults(true)) return false;
  return true;
}

void LyrDlgScreening::HideForSettings() {
  // The trend and workspace panes wait while a settings window edits the condition.
  if (CMainFrame* frame = Frame()) frame->EnableTrendAndWorkspace(false);
  EnableControls(true);
  ShowWindow(ui::SW_HIDE);
}

void LyrDlgScreening::ShowAfterSettings() {
  ShowWindow(ui::SW_SHOW);
  EnableControls(false);
  if (CMainFrame* frame = Frame()) {
    frame->EnableTrendAndWorkspace(true);
    frame->RedrawTrendViews(1);
    frame->RedrawWorkspaceViews();
  }
}

void LyrDlgScreening::OnAnalysisRange() {
  if (!PrepareSettings()) return;
  CMainFrame* frame = Frame();
  if (frame == nullptr) return;
  HideForSettings();
  frame->OnAnalysisRange();
  // A range dialog that could not be made never calls back.
  if (frame->AnalysisRangeDlg == nullptr) ShowAfterSettings();
}

void LyrDlgScreening::OnLogic() {
  if (!PrepareSettings()) return;
  CMainFrame* frame = Frame();
  if (frame == nullptr) return;
  HideForSettings();
  frame->OpenDlgRawSetDiscussinTree(2);
  if (frame->LogicDlg == nullptr) ShowAfterSettings();
}

void LyrDlgScreening::OnWaveformRecognition() {
  if (!PrepareSettings()) return;
  CMainFrame* frame = Frame();
  if (frame == nullptr) return;
  HideForSettings();
  frame->OnRawWaveFormRecognition();
  if (frame->WaveFormRecognitionDlg == nullptr) ShowAfterSettings();
}

void LyrDlgScreening::OnSleepDisturbance() {
  if (!PrepareSettings()) return;
  CMainFrame* frame = Frame();
  if (frame == nullptr) return;
  HideForSettings();
  frame->OpenDlgDisturbFormRecognition(1);
  if (frame->SleepDisturbanceParentDlg == nullptr) ShowAfterSettings();
}

void LyrDlgScreening::OnOther() {
  CMainFrame* frame = Frame();
  if (frame == nullptr || m_pDoc == nullptr) return;
  frame->WriteResumeFile();
  LyrRawDlgOther dlg(this);
  if (frame->RunOtherSettings(dlg) != ui::IDOK) return;
  // Results computed with the former settings are thrown away only after the question.
  if (dlg.AnyPageChanged() && !ConfirmClearResults(true)) return;
  const int row = SelectedRow();
  if (row >= 0) {
    ScreeningCondition& c = m_pDoc->ScreeningConditions[static_cast<std::size_t>(row)];
    c.fftBand = m_pDoc->Params.fftBand;
    c.artifact = m_pDoc->Params.chDispScale;
    c.crossCount = m_pDoc->Params.chDispMode;
    c.markTrigger = m_pDoc->Params.markType.items;
    flags_[static_cast<std::size_t>(row)][kFlagOther] = 1;
    FillList(row);
  }
  DisallowContinuation();
  frame->RedrawWorkspaceViews();
}

void LyrDlgScreening::EndAnalysisRange(int result) {
  const int row = SelectedRow();
  if (result == 1 && row >= 0 && m_pDoc != nullptr) {
    ScreeningCondition& c = m_pDoc->ScreeningConditions[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < c.channelStart.size(); ++i) c.channelStart[i] = m_pDoc->ChInfo[i].startOffset;
    c.rangeSeconds = m_pDoc->RecordSeconds;
    flags_[static_cast<std::size_t>(row)][kFlagRange] = 1;
    FillList(row);
    DisallowContinuation();
  }
  ShowAfterSettings();
}

void LyrDlgScreening::EndLogic(int result) {
  const int row = SelectedRow();
  if (result == 1 && row >= 0 && m_pDoc != nullptr) {
    ScreeningCondition& c = m_pDoc->ScreeningConditions[static_cast<std::size_t>(row)];
    c.logic = m_pDoc->Params.logic;
    c.logicOption = m_pDoc->Params.logicOption;
    c.waveform.emgChannel = m_pDoc->Params.waveForm.emgChannel;
    c.fftBand = m_pDoc->Params.fftBand;
    flags_[static_cast<std::size_t>(row)][kFlagLogic] = 1;
    FillList(row);
    DisallowContinuation();
  }
  ShowAfterSettings();
}

void LyrDlgScreening::EndWaveformRecognition(int result) {
  const int row = SelectedRow();
  if (result == 1 && row >= 0 && m_pDoc != nullptr) {
    m_pDoc->ScreeningConditions[static_cast<std::size_t>(row)].waveform = m_pDoc->Params.waveForm;
    flags_[static_cast<std::size_t>(row)][kFlagWaveform] = 1;
    FillList(row);
    DisallowContinuation();
  }
  ShowAfterSettings();
}

void LyrDlgScreening::EndSleepDisturbance(int result) {
  const int row = SelectedRow();
  if (result == 1 && row >= 0 && m_pDoc != nullptr) {
    m_pDoc->ScreeningConditions[static_cast<std::size_t>(row)].sleepDisturbance = m_pDoc->Params.sleepDstrb;
    flags_[static_cast<std::size_t>(row)][kFlagSleepDisturbance] = 1;
    FillList(row);
    DisallowContinuation();
  }
  ShowAfterSettings();
}

void LyrDlgScreening::OnResultFile() {
  const int row = SelectedRow();
  if (row < 0 || m_pDoc == nullptr) return;
  ScreeningCondition& c = m_pDoc->ScreeningConditions[static_cast<std::size_t>(row)];
  LyrDlgResultFileOpenSave dlg(false, "raf", c.resultPath, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                               res::LoadString(kStrResultFilter), this);
  dlg.m_pDoc = m_pDoc;
  dlg.m_Memo = c.memos;
  if (dlg.DoModal() != ui::IDOK) return;
  c.resultPath = dlg.GetPathName();
  c.memos = dlg.m_Memo;
  flags_[static_cast<std::size_t>(row)][kFlagResultFile] = 1;
  FillList(row);
}

void LyrDlgScreening::OnAdd() {
  if (m_pDoc == nullptr || Count() >= kMaxScreeningConditions) return;
  ++m_pDoc->ScreeningConditionCount;
  FillList(SelectedRow());
  EnableControls(false);
  DisallowContinuation();
}

void LyrDlgScreening::OnRemove() {
  const int row = SelectedRow();
  const int count = Count();
  if (row < 0 || count <= 1 || m_pDoc == nullptr) return;
  for (int k = row; k + 1 < count; ++k) {
    m_pDoc->ScreeningConditions[static_cast<std::size_t>(k)] = m_pDoc->ScreeningConditions[static_cast<std::size_t>(k + 1)];
    flags_[static_cast<std::size_t>(k)] = flags_[static_cast<std::size_t>(k + 1)];
  }
  m_pDoc->ScreeningConditionCount = static_cast<std::uint16_t>(count - 1);
  // Freed slots take the settings in force again, so that a condition added later screens
  // with real settings rather than with zeroed ones.
  for (int k = count - 1; k < kMaxScreeningConditions; ++k) {
    m_pDoc->ScreeningConditions[static_cast<std::size_t>(k)] = ScreeningCondition{};
    FillFromDocument(k);
    flags_[static_cast<std::size_t>(k)] = {};
  }
  FillList(std::min(row, count - 2));
  EnableControls(false);
}

void LyrDlgScreening::OnStageParameter() { StartRun(false); }

void LyrDlgScreening::OnParameter() { StartRun(true); }

void LyrDlgScreening::StartRun(bool parameterOnly) {
  CMainFrame* frame = Frame();
  if (m_pDoc == nullptr || frame == nullptr || Count() == 0) return;
  const bool resume = Continues();
  if (!resume && !ConfirmClearResults(false)) return;

  int missing = 0;
  for (int k = 0; k < Count(); ++k)
    if (m_pDoc->ScreeningConditions[static_cast<std::size_t>(k)].resultPath.empty()) ++missing;
  const bool refused = parameterOnly ? (Count() >= 2 && missing >= 2) : (Count() > 1 && missing > 0);
  if (refused) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(res::LoadString(kStrDesignateFileName), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }

  ScreeningIndex = 0;
  frame->ConfirmLastStage = 1;
  int started = frame->ApplyScreeningToCurrentFile(0, resume ? 1 : 0, parameterOnly ? 0 : 1);
  if (parameterOnly) OpenProgress();
  if (started != 0)
    started = parameterOnly ? frame->StartParameterScreening(resume ? 1 : 0) : frame->StartScreening(resume ? 1 : 0);
  if (started == 0) {
    // A start that failed leaves no run behind and the window as it was.
    ScreeningRunning = 0;
    ScreeningIndex = -1;
    CloseProgress();
    ShowWindow(ui::SW_SHOW);
    EnableControls(false);
    return;
  }
  ShowWindow(ui::SW_HIDE);
  OpenProgress();
  if (frame->EpochBar != nullptr) frame->EpochBar->EnableCombos(false);
  SetProgressFile(0);
  EnableControls(true);
  ResultSaveState = 2;
  frame->SetTimer(kTimerScreeningStep, 0);
}

void LyrDlgScreening::OpenProgress() {
  if (progress_ != nullptr) return;
  progress_ = new LyrDlgScreeningProgress(Frame(), Frame());
  if (!progress_->CreateModeless(Frame())) {
    delete progress_;
    progress_ = nullptr;
  }
}

void LyrDlgScreening::SetProgressFile(int index) {
  if (progress_ != nullptr) progress_->SetStatus(index, Count());
}

void LyrDlgScreening::CloseProgress() {
  if (progress_ == nullptr) return;
  // The window may be closing from its own button: it goes once that message is handled.
  LyrDlgScreeningProgress* dlg = progress_;
  progress_ = nullptr;
  dlg->ShowWindow(ui::SW_HIDE);
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

void LyrDlgScreening::EndRun() {
  CloseProgress();
  ShowWindow(ui::SW_SHOW);
  EnableControls(false);
}

void LyrDlgScreening::OnLearningCheck() {
  const bool on = IsDlgButtonChecked(IDC_SCR_LEARNING_CHECK) != 0;
  LearningSampleMode = on ? 1 : 2;
  EnableItem(IDC_SCR_LEARNING, on);
}

void LyrDlgScreening::OnLearning() {
  // The learning starts from no model and grows one from the learning files the user picks.
  if (m_pDoc == nullptr) return;
  LyrAutoStaging& staging = m_pDoc->AutoStaging;
  staging.FreeModel();
  FillLearningInfo();
  // The features the open recording's settings give are those the user learns from.
  LyrStagingModel& tmpl = staging.ModelTemplate();
  const LearningParametersUsed used = GetLearningParametersUsed(m_pDoc->Params.waveForm);
  for (std::size_t k = 0; k < used.size(); ++k) tmpl.featurePresent[k] = used[k] != 0 ? 1 : 0;
  tmpl.featureCount = kLearningFeatureCount;
  tmpl.stageType = staging.LearningInfo().stageType;
  tmpl.classCount = static_cast<std::int32_t>(StagingClassNames(tmpl.stageType).size());
  staging.Learn();
}

void LyrDlgScreening::OnClose() {
  if (ScreeningRunning != 0) return;
  CloseProgress();
  if (m_pDoc != nullptr && LearningSampleMode == 1 && m_pDoc->AutoStaging.TreeCount() > 0)
    m_pDoc->AutoStaging.FreeModel();
  EndDialog(ui::IDCANCEL);
}
