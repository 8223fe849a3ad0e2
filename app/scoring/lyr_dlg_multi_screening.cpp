#include "app/scoring/lyr_dlg_multi_screening.h"

#include <memory>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/scoring/lyr_dlg_screening_logic.h"
#include "app/scoring/lyr_multi_screening.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsOneEmg = 62353;
constexpr std::uint32_t kIdsSelectRawData = 62354;
constexpr std::uint32_t kIdsLogicChannel = 62355;
constexpr std::uint32_t kIdsComplete = 62304;
constexpr std::uint32_t kIdsPartFailed = 62357;
constexpr std::uint32_t kIdsSummary = 62380;
constexpr int kIdAdd = 3273;

}  // namespace

LyrDlgMultiScreening::LyrDlgMultiScreening(CMainFrame* frame)
    : ui::Dialog(IDD_MULTI_SCREENING, frame), frame_(frame) {
  // "Start Screening(&O)" is the window's OK command.
  MapCommand(ui::IDOK, [this] { RunScreening(0); });
}

LyrDlgMultiScreening::~LyrDlgMultiScreening() {
  if (logic_) {
    LyrDlgScreeningLogic* logic = logic_;
    logic_ = nullptr;
    if (logic->IsWindow()) logic->DestroyWindow();
    delete logic;
  }
}

bool LyrDlgMultiScreening::OnInitDialog() {
  ui::Control list = Item(IDC_MS_FILE_LIST);
  list.InsertColumn(0, "No", 40);
  list.InsertColumn(1, "FileName", 160);
  list.InsertColumn(2, "Path", 320);
  list.SetFullRowSelect(true);
  list.SetGridLines(true);
  // The open recording is the batch's only file.
  Settings.FileList.clear();
  CQLM2_AnalyzerDoc* doc = frame_ != nullptr ? frame_->GetDocument() : nullptr;
  if (doc != nullptr && DocumentLoaded != 0 && !doc->RecordInfo.path.empty()) {
    Settings.FileList.push_back(doc->RecordInfo.path);
    Settings.FileListPluginPath = doc->RecordInfo.sourceKind == 3 ? PluginPath : std::string();
  }
  FillFileList();
  return true;
}

void LyrDlgMultiScreening::FillFileList() {
  ui::Control list = Item(IDC_MS_FILE_LIST);
  list.DeleteAllItems();
  const bool dsi = LyrMultiScreeningSetting::IsDsiPlugin(Settings.FileListPluginPath) != 0;
  for (std::size_t i = 0; i < Settings.FileList.size(); ++i) {
    const std::string& path = Settings.FileList[i];
    const int row = list.InsertItem(-1, std::to_string(i + 1));
    list.SetItemText(row, 1, dsi ? sys::FileTitleOf(path) : sys::FileNameOf(path));
    list.SetItemText(row, 2, path);
  }
  std::string summary = res::LoadString(kIdsSummary);
  if (const auto at = summary.find("%d"); at != std::string::npos)
    summary.replace(at, 2, std::to_string(Settings.ChannelsPerAnimal));
  SetDlgItemText(IDC_MS_SUMMARY, summary);
}

void LyrDlgMultiScreening::OnCancel() {
  Settings.SaveResume();
  EndDialog(ui::IDCANCEL);
}

// ---- checks ----------------------------------------------------------------------------

int LyrDlgMultiScreening::CheckEmgAttribute(int silent) {
  if (Settings.CheckSingleEmg(nullptr)) return 1;
  if (silent == 0) ui::MessageBox(res::LoadString(kIdsOneEmg), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return 0;
}

int LyrDlgMultiScreening::CheckRawDataFiles(int silent) {
  if (!Settings.FileList.empty()) return 1;
  if (silent == 0) ui::MessageBox(res::LoadString(kIdsSelectRawData), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  if (HasControl(kIdAdd)) Item(kIdAdd).SetFocus();
  return 0;
}

int LyrDlgMultiScreening::CheckLogicChannels(int silent) {
  int counts[4] = {};
  for (int kind = 0; kind < 4; ++kind) counts[kind] = Settings.CountChannelsOfAttribute(kind);
  auto exists = [&](const MultiScreeningTerm& t) { return t.ChannelKind < 4 && t.ChannelNumber < counts[t.ChannelKind]; };
  bool ok = true;
  // The last condition holds the default stage only; its terms are not used.
  for (std::size_t i = 0; i + 1 < Settings.Conditions.size() && ok; ++i) {
    const MultiScreeningCondition& c = Settings.Conditions[i];
    ok = exists(c.First) && (c.UseSecond == 0 || exists(c.Second));
  }
  if (ok) return 1;
  if (silent == 0) ui::MessageBox(res::LoadString(kIdsLogicChannel), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  OpenLogic();
  return 0;
}

// ---- the Logic window ------------------------------------------------------------------

void LyrDlgMultiScreening::OpenLogic() {
  if (logic_) return;
  auto* logic = new LyrDlgScreeningLogic(this, Settings);
  logic_ = logic;
  if (!logic->CreateModeless(this)) {
    logic_ = nullptr;
    delete logic;
    return;
  }
  ShowWindow(ui::SW_HIDE);
}

void LyrDlgMultiScreening::TakeLogic(const LyrMultiScreeningSetting& logic) {
  Settings.Conditions = logic.Conditions;
  if (Settings.Conditions.size() > static_cast<std::size_t>(kMsMaxConditions))
    Settings.Conditions.resize(static_cast<std::size_t>(kMsMaxConditions));
  Settings.LastStageScreening = logic.LastStageScreening;
  Settings.LastStageFrom = logic.LastStageFrom;
  Settings.LastStageTarget = logic.LastStageTarget;
  Settings.LastStageResult = logic.LastStageResult;
  Settings.TargetOccupancy = logic.TargetOccupancy;
  Settings.LightPhaseStart = logic.LightPhaseStart;
  Settings.LightPhaseShare = logic.LightPhaseShare;
}

void LyrDlgMultiScreening::LogicClosed() {
  LyrDlgScreeningLogic* logic = logic_;
  logic_ = nullptr;
  if (logic)
    ui::PostTask([logic] {
      if (logic->IsWindow()) logic->DestroyWindow();
      delete logic;
    });
  if (!IsEnded()) ShowWindow(ui::SW_SHOWNORMAL);
}

// ---- the run ---------------------------------------------------------------------------

int LyrDlgMultiScreening::RunScreening(int silent) {
  if (CheckEmgAttribute(silent) == 0 || CheckRawDataFiles(silent) == 0 || CheckLogicChannels(silent) == 0) return 0;
  // Scoring not yet saved is saved or given up on purpose before the batch replaces it.
  if (silent == 0 && frame_ != nullptr && !frame_->KeepOrGiveUpUnsavedScoring()) return 0;
  Settings.SaveResume();
  ShowWindow(ui::SW_HIDE);
  if (silent == 0) SetDsiSilentOpen(1);
  int result = 0;
  {
    LyrMultiScreening engine(Settings);
    result = engine.Run();
    if (silent == 0) SetDsiSilentOpen(0);
    engine.EndProgress();
    lastNotes_.clear();
    for (const std::string& note : engine.Notes()) lastNotes_ += "\n" + note;
    ShowWindow(ui::SW_SHOWNORMAL);
    ReportResult(result, silent);
  }
  // A finished run closes the window; the menu opens a fresh one with the stored settings.
  EndDialog(ui::IDOK);
  return result;
}

void LyrDlgMultiScreening::ReportResult(int result, int silent) {
  if (silent != 0) return;
  std::string text = res::LoadString(kIdsComplete);
  if (result != 0) {
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONINFORMATION);
    return;
  }
  text += "\n" + res::LoadString(kIdsPartFailed) + lastNotes_;
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
