// "Animal report": its range, stages, base path and pages, and the run of its outputs.
#include "app/results/lyr_dlg_animal_report.h"

#include <algorithm>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_utils.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_output_progress.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/main_frame.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_dlg_text_out_fft.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/lyr_workspace_text_out_dose_latency.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/stage_graph_table.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrOutputStageGraph = 2508;
constexpr std::uint32_t kStrOutputDoseLatency = 2509;
constexpr std::uint32_t kStrOutputTrendGraph = 2510;
constexpr std::uint32_t kStrOutputVigilance = 2511;
constexpr std::uint32_t kStrComplete = 2512;
constexpr std::uint32_t kStrAnalyzeData = 2513;
constexpr std::uint32_t kStrReStaging = 2525;
constexpr std::uint32_t kStrFileFailed = 2533;
constexpr std::uint32_t kStrProgressTitle = 64960;
constexpr std::uint32_t kStrTabObjects = 64962;
constexpr std::uint32_t kStrTabEpisode = 64963;
constexpr std::uint32_t kStrTabEpisodeInUse = 64964;
constexpr std::uint32_t kStrFolderTitle = 64970;
constexpr std::uint32_t kStrCsvFilter = 64971;

constexpr std::array<const char*, kAnimalObjects> kSuffixes{"_SG", "_DS", "_TG", "_AFst", "_AFdis", "_cFFT", "_VStrn",
                                                            "_VScnt"};

bool UsesEpisodes(const std::array<int, kAnimalObjects>& flags) {
  return flags[kObjDoseLatency] != 0 || flags[kObjVigilanceTransition] != 0 || flags[kObjVigilanceCount] != 0;
}

CMainFrame* Main() { return CQLM2_AnalyzerDoc::MainFrame(); }

// Whether a file can be written at path, without changing anything there: an existing file is
// opened for writing in place (nothing truncated); a missing one is made and removed again.
bool CanMakeFile(const std::string& path) {
  if (path.empty() || sys::FolderExists(path)) return false;
  if (sys::FileExists(path)) {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
  }
  std::FILE* f = std::fopen(path.c_str(), "wxb");
  if (f == nullptr) return false;
  std::fclose(f);
  std::remove(path.c_str());
  return true;
}

// The output destination, the delimiter and the document's FFT channel flags as they were
// before the run, put back whatever way the run ends.
class RunSettingsKeeper {
 public:
  explicit RunSettingsKeeper(CQLM2_AnalyzerDoc* doc)
      : doc_(doc), clipboard_(OutputToClipboard), tab_(OutputDelimiterIsTab), fftFlags_(doc->Params.fftPageSelection.flags) {
    OutputToClipboard = 0;
    OutputDelimiterIsTab = 0;
  }
  ~RunSettingsKeeper() { Restore(); }
  RunSettingsKeeper(const RunSettingsKeeper&) = delete;
  RunSettingsKeeper& operator=(const RunSettingsKeeper&) = delete;
  void Restore() {
    OutputToClipboard = clipboard_;
    OutputDelimiterIsTab = tab_;
    doc_->Params.fftPageSelection.flags = fftFlags_;
  }

 private:
  CQLM2_AnalyzerDoc* doc_;
  std::uint16_t clipboard_;
  std::uint16_t tab_;
  std::array<std::uint16_t, 32> fftFlags_;
};

}  // namespace

std::string AnimalObjectPath(const std::string& basePath, int object) {
  if (object < 0 || object >= kAnimalObjects) return {};
  const sys::PathParts p = sys::SplitPath(basePath);
  return p.drive + p.folder + p.name + kSuffixes[static_cast<std::size_t>(object)] + p.extension;
}

std::uint32_t AnimalProgressRange(const std::array<int, kAnimalObjects>& flags) {
  std::uint32_t t = 0;
  for (int k : {kObjStageGraph, kObjDoseLatency, kObjTrendGraph, kObjVigilanceTransition, kObjVigilanceCount})
    if (flags[static_cast<std::size_t>(k)] != 0) t += 10;
  if (flags[kObjContinuousFft] != 0) t += 20;
  if (flags[kObjAverageFftStages] != 0 || flags[kObjAverageFftAll] != 0) t += 20;
  if (UsesEpisodes(flags)) t += 10;
  return t;
}

LyrDlgAnimalReport::LyrDlgAnimalReport(ui::Window* parent)
    : ui::Dialog(IDD_ANIMAL_REPORT, parent), objectPage_(this), episodePage_(this) {
  MapNotify(kTab, ui::TCN_SELCHANGE, [this] { ShowPage(Item(kTab).GetCurSel()); });
  MapCommand(kSelectFolder, [this] { OnSelectFolder(); });
  episodePage_.OnUseChanged = [this] { UpdateEpisodeTab(); };
}

LyrDlgAnimalReport::~LyrDlgAnimalReport() { DestroyEpochRangePanels(start_.get(), end_.get()); }

ui::Rect LyrDlgAnimalReport::PageRect() const {
  const ui::Rect tab = Item(kTab).GetRectInOwner();
  const ui::Rect room = Item(kRoom).GetRectInOwner();
  return ui::Rect{tab.left, tab.bottom + 4, std::max(tab.right, room.right), std::max(tab.bottom + 4, room.bottom)};
}

void LyrDlgAnimalReport::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Dialog::OnSize(sizeType, cx, cy);
  const ui::Rect r = PageRect();
  if (r.IsEmpty()) return;
  if (objectPage_.IsWindow()) objectPage_.MoveWindow(r);
  if (episodePage_.IsWindow()) episodePage_.MoveWindow(r);
}

bool LyrDlgAnimalReport::OnInitDialog() {
  const std::int32_t last = CreateEpochRangePanels(*this, m_pDoc, kStartFrame, kEndFrame, &start_, &end_);
  const std::int32_t epochs = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->GetDivNum(EpochSeconds) : 0;
  std::int32_t end = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->GetRecordSec() / EpochSeconds - 1 : 0;
  if (end < 0 || end > epochs - 1) end = last;
  start_->SetEpoch(0);
  end_->SetEpoch(end);

  std::vector<std::string> stages;
  if (m_pDoc != nullptr) stages = StageGraphItemNames(m_pDoc->Params.stageType);
  ui::Control list = Item(kStageList);
  list.SetMultiSelect(true);
  for (std::size_t i = 0; i < stages.size(); ++i) {
    list.AddString(stages[i]);
    if (i < kStageGraphItems) list.SetSelected(static_cast<int>(i), StageGraphStageFlag(static_cast<int>(i)) != 0);
  }
  CheckDlgButton(kArtifact, WorkspaceOutputSetting != 0 ? 1 : 0);

  if (m_pDoc != nullptr) {
    std::string source = m_pDoc->RecordInfo.path;
    if (ResultSaveState != 0 && !m_pDoc->ResultPath.empty()) source = m_pDoc->ResultPath;
    m_BasePath = source.empty() ? std::string() : sys::ReplaceExtension(source, "csv");
  }
  SetDlgItemText(kBasePath, m_BasePath);
  CheckDlgButton(kExcelBook, AnimalExcelBook != 0 ? 1 : 0);

  ui::Control tab = Item(kTab);
  tab.ResetContent();
  tab.InsertString(0, res::LoadString(kStrTabObjects));
  tab.InsertString(1, res::LoadString(kStrTabEpisode));
  objectPage_.m_pDoc = m_pDoc;
  objectPage_.m_LastEpoch = end;
  episodePage_.m_Stages = stages;
  objectPage_.CreatePage(this, PageRect());
  episodePage_.CreatePage(this, PageRect());
  tab.SetCurSel(0);
  ShowPage(0);
  UpdateEpisodeTab();
  return true;
}

void LyrDlgAnimalReport::OnDestroy() {
  DestroyEpochRangePanels(start_.get(), end_.get());
  ui::Dialog::OnDestroy();
}

void LyrDlgAnimalReport::ShowPage(int index) {
  objectPage_.ShowWindow(index == 1 ? ui::SW_HIDE : ui::SW_SHOW);
  episodePage_.ShowWindow(index == 1 ? ui::SW_SHOW : ui::SW_HIDE);
}

void LyrDlgAnimalReport::SelectTab(int index) {
  Item(kTab).SetCurSel(index);
  ShowPage(index);
}

void LyrDlgAnimalReport::UpdateEpisodeTab() {
  ui::Control tab = Item(kTab);
  const int current = tab.GetCurSel();
  const bool inUse = episodePage_.IsWindow() ? episodePage_.IsDlgButtonChecked(LyrDlgEpisodeLengthPage::kUse) != 0
                                             : UseEpisodeSetting != 0;
  const std::string label = res::LoadString(inUse ? kStrTabEpisodeInUse : kStrTabEpisode);
  if (tab.GetString(1) == label) return;
  tab.DeleteString(1);
  tab.InsertString(1, label);
  tab.SetCurSel(current);
}

void LyrDlgAnimalReport::OnSelectFolder() {
  m_BasePath = GetDlgItemText(kBasePath);
  ui::FileDialog dlg(false, "csv", sys::FileNameOf(m_BasePath), ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(kStrCsvFilter), this);
  dlg.SetTitle(res::LoadString(kStrFolderTitle));
  dlg.SetInitialFolder(sys::FolderOf(m_BasePath));
  if (dlg.DoModal() != ui::IDOK) return;
  m_BasePath = dlg.GetPathName();
  SetDlgItemText(kBasePath, m_BasePath);
}

void LyrDlgAnimalReport::StoreSettings() {
  AnimalExcelBook = IsDlgButtonChecked(kExcelBook) != 0 ? 1 : 0;
  ui::Control list = Item(kStageList);
  for (int i = 0; i < kStageGraphItems; ++i) SetStageGraphStageFlag(i, i < list.GetCount() && list.IsSelected(i) ? 1 : 0);
  WorkspaceOutputSetting = IsDlgButtonChecked(kArtifact) != 0 ? 1 : 0;
  objectPage_.Store();
  episodePage_.Store();
}

void LyrDlgAnimalReport::OnCancel() {
  objectPage_.TakeValues(false);
  StoreSettings();
  EndDialog(ui::IDCANCEL);
}

bool LyrDlgAnimalReport::CheckAnalysed() {
  const int type = m_pDoc->Params.stageType.stageType;
  for (std::int32_t e = m_StartEpoch; e <= m_EndEpoch; ++e) {
    int code = m_pDoc->EpochTables.GetStage(type, e, 0);
    if (code >= 20) code -= 20;
    if (code < 1) return false;
  }
  return true;
}

bool LyrDlgAnimalReport::CheckOutputFiles(const std::array<int, kAnimalObjects>& flags) const {
  for (int k = 0; k < kAnimalObjects; ++k)
    if (flags[static_cast<std::size_t>(k)] != 0 && !CanMakeFile(AnimalObjectPath(m_BasePath, k))) return false;
  return true;
}

void LyrDlgAnimalReport::OnOK() { RunOutputs(); }

void LyrDlgAnimalReport::RunOutputs() {
  if (m_pDoc == nullptr || !start_ || !end_) return;
  if (!objectPage_.TakeValues()) {
    SelectTab(0);
    return;
  }
  m_BasePath = GetDlgItemText(kBasePath);
  m_ExcelBook = IsDlgButtonChecked(kExcelBook) != 0 ? 1 : 0;
  m_ArtifactExcludes = IsDlgButtonChecked(kArtifact) != 0 ? 1 : 0;
  m_StartEpoch = start_->GetEpoch();
  m_EndEpoch = end_->GetEpoch();
  if (m_StartEpoch > m_EndEpoch) std::swap(m_StartEpoch, m_EndEpoch);
  if (!CheckAnalysed()) {
    ui::MessageBox(res::LoadString(kStrAnalyzeData), ui::MB_OK);
    return;
  }
  if (!objectPage_.Validate()) {
    SelectTab(0);
    return;
  }
  std::array<int, kAnimalObjects> flags{};
  for (int k = 0; k < kAnimalObjects; ++k) flags[static_cast<std::size_t>(k)] = objectPage_.Checked(k);
  if (UsesEpisodes(flags) && episodePage_.IsDlgButtonChecked(LyrDlgEpisodeLengthPage::kUse) != 0 &&
      !episodePage_.Validate()) {
    SelectTab(1);
    return;
  }
  StoreSettings();
  if (!CheckOutputFiles(flags)) {
    ui::MessageBox(res::LoadString(kStrFileFailed), ui::MB_OK);
    return;
  }
  {
    RunSettingsKeeper keep(m_pDoc);
    if (!WriteOutputs(flags)) return;
  }
  const int answer =
      ui::MessageBox(res::LoadString(kStrComplete), ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_DEFBUTTON2);
  if (answer != ui::IDYES) EndDialog(ui::IDOK);
}

bool LyrDlgAnimalReport::WriteOutputs(const std::array<int, kAnimalObjects>& flags) {
  LyrDlgOutputProgress progress;
  if (progress.Create(this) == 0) return false;
  progress_ = &progress;
  progress.SetWindowText(res::LoadString(kStrProgressTitle));
  progress.SetRange(0, AnimalProgressRange(flags));
  std::uint32_t pos = 0;
  auto advance = [&](std::uint32_t by) { progress.SetPos(pos += by); };
  std::unique_ptr<LyrReStageWithEpisode> restage;
  auto finish = [&] {
    if (restage) restage->FreeReStage();
    restage.reset();
    if (progress.IsWindow()) progress.DestroyWindow();
    progress_ = nullptr;
  };
  auto stopped = [&] {
    if (progress.CheckCancel() == 0) return false;
    finish();
    return true;
  };
  auto path = [this](int k) { return AnimalObjectPath(m_BasePath, k); };

  if (UsesEpisodes(flags)) {
    progress.SetText1(res::LoadString(kStrReStaging));
    restage = std::make_unique<LyrReStageWithEpisode>(m_pDoc);
    if (restage->AllocateReStage() == 0) {
      restage.reset();
      finish();
      return false;
    }
    advance(5);
    restage->ReStage();
    advance(5);
  }
  if (flags[kObjStageGraph] != 0) {
    if (stopped()) return false;
    progress.SetText1(res::LoadString(kStrOutputStageGraph));
    OutputStageGraph(path(kObjStageGraph));
    advance(10);
  }
  if (flags[kObjDoseLatency] != 0) {
    if (stopped()) return false;
    progress.SetText1(res::LoadString(kStrOutputDoseLatency));
    OutputDoseLatency(path(kObjDoseLatency), restage.get());
    advance(10);
  }
  if (flags[kObjTrendGraph] != 0) {
    if (stopped()) return false;
    progress.SetText1(res::LoadString(kStrOutputTrendGraph));
    OutputTrendGraph(path(kObjTrendGraph));
    advance(10);
  }
  if (flags[kObjVigilanceTransition] != 0 || flags[kObjVigilanceCount] != 0) {
    if (stopped()) return false;
    progress.SetText1(res::LoadString(kStrOutputVigilance));
    if (ApplyVigilanceState(restage.get())) {
      for (int k : {kObjVigilanceTransition, kObjVigilanceCount}) {
        if (flags[static_cast<std::size_t>(k)] == 0) continue;
        if (stopped()) return false;
        OutputVigilanceState(k == kObjVigilanceTransition ? 0 : 1, path(k));
        advance(10);
      }
    }
  }
  if (stopped()) return false;
  finish();

  if (flags[kObjContinuousFft] != 0) OutputContinuousFft(path(kObjContinuousFft));
  if (flags[kObjAverageFftStages] != 0 || flags[kObjAverageFftAll] != 0) OutputAverageFft(flags);
  if (AnimalExcelBook != 0) RunExcelBook();
  return true;
}

void LyrDlgAnimalReport::OutputStageGraph(const std::string& path) {
  CMainFrame* frame = Main();
  LyrWorkspaceStageGraphView* graph = frame != nullptr ? frame->WorkspaceTabs.StageGraphPane.get() : nullptr;
  if (graph == nullptr) return;
  const int rows = Item(kStageList).GetCount();
  graph->StageItemFlags.fill(0);
  for (int i = 0; i < rows && i < kStageGraphItems; ++i)
    graph->StageItemFlags[static_cast<std::size_t>(i)] = StageGraphStageFlag(i) != 0 ? 1 : 0;
  graph->OutputPath = path;
  graph->FirstEpoch = m_StartEpoch;
  graph->LastEpoch = m_EndEpoch;
  graph->TimeHeader = 1;
  if (graph->OutputText(0) == 0) ui::MessageBox(res::LoadString(IDS_WS_SAVE_FAILED), ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

void LyrDlgAnimalReport::OutputDoseLatency(const std::string& path, LyrReStageWithEpisode* restage) {
  const LyrDlgReportObjectPage& page = objectPage_;
  LyrWorkspaceTextOutDoseLatency out(m_StartEpoch, m_EndEpoch, page.m_DoseEpoch, page.m_DoseTime, restage);
  out.m_pDoc = m_pDoc;
  out.OutputText(path);
}

void LyrDlgAnimalReport::OutputTrendGraph(const std::string& path) {
  CMainFrame* frame = Main();
  if (LyrTrendDummyView* trend = frame != nullptr ? frame->TrendView() : nullptr)
    trend->OutputText(path, this, m_StartEpoch, m_EndEpoch, 1);
}

bool LyrDlgAnimalReport::ApplyVigilanceState(LyrReStageWithEpisode* restage) {
  CMainFrame* frame = Main();
  LyrWorkspaceVSPView* vsp = frame != nullptr ? frame->WorkspaceTabs.VSPPane.get() : nullptr;
  return vsp != nullptr && vsp->Apply(m_StartEpoch, m_EndEpoch, 1, restage) != 0;
}

void LyrDlgAnimalReport::OutputVigilanceState(int kind, const std::string& path) {
  CMainFrame* frame = Main();
  LyrWorkspaceVSPView* vsp = frame != nullptr ? frame->WorkspaceTabs.VSPPane.get() : nullptr;
  if (vsp == nullptr) return;
  vsp->FileName = path;
  if (vsp->OutputText(kind, 0, path, m_StartEpoch, m_EndEpoch, 1) == 0)
    ui::MessageBox(res::LoadString(IDS_VSP_TEXT_FAILED), ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

void LyrDlgAnimalReport::OutputContinuousFft(const std::string& path) {
  LyrWorkspaceDlgTextOutContinuous dlg(m_pDoc, this);
  dlg.Unattended = 1;
  dlg.OutputPath = path;
  dlg.StartEpoch = m_StartEpoch;
  dlg.EndEpoch = m_EndEpoch;
  dlg.DoModal();
}

void LyrDlgAnimalReport::OutputAverageFft(const std::array<int, kAnimalObjects>& flags) {
  // Only the channel chosen for the average is on while it runs; the keeper of the run puts
  // the user's channel flags back afterwards.
  const int channel = m_pDoc->FftOutputChannel;
  if (channel >= 0 && channel < 32) {
    m_pDoc->Params.fftPageSelection.flags.fill(0);
    m_pDoc->Params.fftPageSelection.flags[static_cast<std::size_t>(channel)] = 1;
  }
  const bool perStages = flags[kObjAverageFftStages] != 0;
  const bool all = flags[kObjAverageFftAll] != 0;
  LyrWorkspaceDlgTextOutAverage dlg(m_pDoc, this);
  dlg.Unattended = 1;
  dlg.StartEpoch = m_StartEpoch;
  dlg.EndEpoch = m_EndEpoch;
  dlg.StagePath = perStages ? AnimalObjectPath(m_BasePath, kObjAverageFftStages) : std::string();
  dlg.AllPath = all ? AnimalObjectPath(m_BasePath, kObjAverageFftAll) : std::string();
  dlg.StageMode = static_cast<std::int16_t>(perStages && all ? -1 : (perStages ? 1 : 0));
  dlg.DoModal();
}

void LyrDlgAnimalReport::RunExcelBook() {
  const sys::PathParts p = sys::SplitPath(m_BasePath);
  const std::string folder = p.drive + p.folder;
  RunCSVBOOK(folder, folder + p.name + ".xls", 1);
}
