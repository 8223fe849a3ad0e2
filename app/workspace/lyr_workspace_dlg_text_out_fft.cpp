#include "app/workspace/lyr_workspace_dlg_text_out_fft.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <span>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_sink.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_dlg_fft.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrFileNotSelected = 2253;
constexpr std::uint32_t kStrChannelNotSelected = 63471;
constexpr std::uint32_t kStrNewFileName = 63474;
constexpr std::uint32_t kStrComplete = 63475;
constexpr std::uint32_t kStrSaveError = 61404;
constexpr std::uint32_t kStrStageNotSelected = 65470;
constexpr std::uint32_t kStrAllEpochs = 65471;
constexpr std::uint32_t kStrIncomplete = 65472;
constexpr std::uint32_t kStrReplace = 65473;
constexpr std::uint32_t kStrNo = 65495;
constexpr std::uint32_t kStrCh = 65496;
constexpr std::uint32_t kStrSampling = 65494;
constexpr std::uint32_t kStrStartCaption = 65497;
constexpr std::uint32_t kStrEndCaption = 65498;
constexpr std::uint32_t kStrDivisionCaption = 65499;

int ChannelTotal(const CQLM2_AnalyzerDoc* doc) { return doc != nullptr ? std::clamp(doc->RecordInfo.channelCount, 0, 32) : 0; }
int EpochTotal(const CQLM2_AnalyzerDoc* doc) { return doc != nullptr && EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0; }
char Delimiter() { return OutputDelimiterIsTab == 1 ? '\t' : ','; }
CMainFrame* Main() { return CQLM2_AnalyzerDoc::MainFrame(); }

int StageOf(const CQLM2_AnalyzerDoc& doc, int epoch) {
  return static_cast<std::uint8_t>(doc.EpochTables.GetStage(doc.Params.stageType.stageType, epoch, 0));
}

// Moves to the epoch as the frame does for a jump, with the stage labels repainted.
void JumpTo(CQLM2_AnalyzerDoc& doc, int epoch) {
  doc.CurrentEpoch = epoch;
  if (CMainFrame* frame = Main()) frame->JumpToEpoch(epoch, 1);
  else doc.CalcEpochFFTData();
}

bool AskReplace(const std::string& path) {
  char text[1200];
  std::snprintf(text, sizeof text, res::LoadString(kStrReplace).c_str(), path.c_str());
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  return ui::MessageBox(text, ui::MB_OKCANCEL | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2) == ui::IDOK;
}

void Warn(std::uint32_t id) {
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBoxId(id, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

std::string HeaderText(CQLM2_AnalyzerDoc& doc, int* counter) {
  std::string text;
  doc.PutTextHeader([&text](const std::string& line) { text += line; }, counter);
  return text;
}

std::string ChoosePath(ui::Window* owner, const std::string& current) {
  ui::FileDialog dlg(false, "txt", sys::FileNameOf(current),
                     ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, "TextFile(*.txt)|*.txt||", owner);
  dlg.SetTitle("Text File");
  if (!current.empty()) dlg.SetInitialFolder(sys::FolderOf(current));
  if (dlg.DoModal() != ui::IDOK) return {};
  return dlg.GetPathName();
}

std::string PartPath(const std::string& path, int part) {
  const std::string ext = sys::ExtensionOf(path);
  const std::string stem = ext.empty() ? path : path.substr(0, path.size() - ext.size() - 1);
  return stem + "_" + std::to_string(part) + (ext.empty() ? "" : "." + ext);
}

// A file destination is named and, when it exists, may be replaced (asked once). Without a
// name the path dialog follows the message.
bool DestinationReady(int unattended, const std::string& path, int overwriteConfirmed, const std::function<void()>& onPath) {
  if (OutputToClipboard == 1) return true;
  if (path.empty()) {
    if (unattended != 0) return false;
    Warn(kStrFileNotSelected);
    onPath();
    return false;
  }
  return unattended != 0 || !sys::FileExists(path) || overwriteConfirmed != 0 || AskReplace(path);
}

// The controls both outputs share: "&Pause" holds the timer, the destination and delimiter
// radios write their settings at once.
void MapRunControls(ui::Dialog& dlg, const bool& running) {
  constexpr int kPause = 1614, kPath = 1568, kFile = 1664, kClipboard = 1667, kComma = 1563, kTab = 1564;
  dlg.MapCommand(kPause, [&dlg, &running] {
    if (dlg.IsDlgButtonChecked(kPause) != 0) dlg.KillTimer(kFftOutputTimer);
    else if (running) dlg.SetTimer(kFftOutputTimer, 0);
  });
  dlg.MapCommand(kFile, [&dlg] {
    OutputToClipboard = 0;
    dlg.EnableItem(kPath, true);
  });
  dlg.MapCommand(kClipboard, [&dlg] {
    OutputToClipboard = 1;
    dlg.EnableItem(kPath, false);
  });
  dlg.MapCommand(kComma, [] { OutputDelimiterIsTab = 0; });
  dlg.MapCommand(kTab, [] { OutputDelimiterIsTab = 1; });
}

}  // namespace

std::string FftOutputDefaultPath(const CQLM2_AnalyzerDoc& doc, const std::string& suffix) {
  return WorkspaceOutputPath(doc, suffix);
}

// ---- Average FFT ----------------------------------------------------------------------------

LyrWorkspaceDlgTextOutAverage::LyrWorkspaceDlgTextOutAverage(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_TEXT_OUT_AVERAGE, parent), doc_(doc) {
  MapCommand(kStart, [this] { OnStart(); });
  MapCommand(kStop, [this] { OnStop(); });
  MapCommand(kPath, [this] { OnPath(); });
  MapRunControls(*this, running_);
  MapCommand(kPerStages, [this] {
    StageMode = 1;
    WorkspaceSetting = 0;
    EnableItem(kStageList, true);
  });
  MapCommand(kDisregard, [this] {
    StageMode = 0;
    WorkspaceSetting = 1;
    EnableItem(kStageList, false);
  });
  MapNotify(kStageList, ui::LBN_SELCHANGE, [this] {
    for (int i = 0; i < 10; ++i) SetStageGraphStageFlag(i, 0);
    for (int r : SelectedRows())
      if (r < 10) SetStageGraphStageFlag(r, 1);
  });
}

LyrWorkspaceDlgTextOutAverage::~LyrWorkspaceDlgTextOutAverage() = default;

std::string LyrWorkspaceDlgTextOutAverage::MakeDefaultFileName() const {
  return doc_ != nullptr ? FftOutputDefaultPath(*doc_, StageMode == 1 ? "_AFst" : "_AFdis") : std::string();
}

std::string LyrWorkspaceDlgTextOutAverage::EpochLabel(int epoch) const {
  std::string label;
  if (doc_ != nullptr) doc_->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  return label;
}

bool LyrWorkspaceDlgTextOutAverage::OnInitDialog() {
  if (doc_ == nullptr) return true;
  const int epochs = EpochTotal(doc_);
  start_ = std::make_unique<LyrDlgTimePoint>(this);
  end_ = std::make_unique<LyrDlgTimePoint>(this);
  divisionPicker_ = std::make_unique<LyrDlgTimePoint>(this);
  const std::pair<LyrDlgTimePoint*, int> panels[] = {{start_.get(), 1615}, {end_.get(), 1616}, {divisionPicker_.get(), 1617}};
  for (const auto& [panel, holder] : panels) {
    panel->m_pDoc = doc_;
    panel->CreatePanel(this, holder);
  }
  start_->SetCaption(res::LoadString(kStrStartCaption));
  end_->SetCaption(res::LoadString(kStrEndCaption));
  divisionPicker_->SetCaption(res::LoadString(kStrDivisionCaption));
  for (LyrDlgTimePoint* p : {start_.get(), end_.get()}) {
    p->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
    p->SetRange(0, std::max(epochs - 1, 0));
  }
  start_->SetEpoch(StartEpoch);
  end_->SetEpoch(EndEpoch);
  divisionPicker_->SetTimeMode(0);
  divisionPicker_->SetRange(1, std::max(epochs, 1));
  divisionPicker_->SetEpoch(std::clamp(WorkspaceEpochSpan, 1, std::max(epochs, 1)));
  SetRunning(false);
  FillStageList();
  CheckRadioButton(kPerStages, kDisregard, StageMode == 0 ? kDisregard : kPerStages);
  EnableItem(kStageList, StageMode != 0);
  ui::Control combo = Item(kChannel);
  for (int c = 0; c < ChannelTotal(doc_); ++c) {
    char text[80];
    std::snprintf(text, sizeof text, "%3d:%s", c + 1, doc_->ChInfo[static_cast<std::size_t>(c)].name.c_str());
    combo.AddString(text);
  }
  const int chosen = doc_->FftOutputChannel;
  combo.SetCurSel(chosen >= 0 && chosen < ChannelTotal(doc_) ? chosen : 0);
  CheckRadioButton(kFile, kClipboard, OutputToClipboard == 1 ? kClipboard : kFile);
  EnableItem(kPath, OutputToClipboard != 1);
  if (Unattended == 0) StagePath = AllPath = OutputPath;
  else OutputPath = !StagePath.empty() ? StagePath : AllPath;
  SetDlgItemText(kPathText, OutputPath);
  overwriteConfirmed_ = sys::FileExists(OutputPath) ? 1 : 0;
  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  savedFlags_ = doc_->Params.fftPageSelection.flags;
  if (Unattended != 0) OnStart();
  return true;
}

void LyrWorkspaceDlgTextOutAverage::OnDestroy() {
  KillTimer(kFftOutputTimer);
  if (divisionPicker_ && divisionPicker_->IsWindow()) WorkspaceEpochSpan = divisionPicker_->GetEpoch();
  // The run chose the output channel alone; the chosen channels come back.
  if (doc_ != nullptr) doc_->Params.fftPageSelection.flags = savedFlags_;
  rows_.clear();
  all_ = {};
  ui::Dialog::OnDestroy();
}

void LyrWorkspaceDlgTextOutAverage::FillStageList() {
  const StageTypeParam& st = doc_->Params.stageType;
  rowCodes_ = ffttext::StageRowCodes(st.stageType, st.sharedInUse);
  ui::Control list = Item(kStageList);
  list.SetMultiSelect(true);
  list.ResetContent();
  for (int code : rowCodes_) {
    std::string name;
    doc_->GetStageName(static_cast<signed char>(code), name);
    list.AddString(name);
  }
  for (int i = 0; i < std::min<int>(static_cast<int>(rowCodes_.size()), 10); ++i)
    list.SetSelected(i, StageGraphStageFlag(i) != 0);
}

std::vector<int> LyrWorkspaceDlgTextOutAverage::SelectedRows() const { return Item(kStageList).GetSelectedIndexes(); }

void LyrWorkspaceDlgTextOutAverage::SetRunning(bool running) {
  running_ = running;
  EnableItem(kStart, !running);
  EnableItem(kPause, running);
  EnableItem(kStop, running);
  EnableItem(ui::IDOK, !running);
  EnableItem(kStageList, !running && StageMode != 0);
  EnableItem(kPath, !running && OutputToClipboard != 1);
  for (int id : {kChannel, kFile, kClipboard, kComma, kTab, kPerStages, kDisregard}) EnableItem(id, !running);
  for (LyrDlgTimePoint* p : {start_.get(), end_.get(), divisionPicker_.get()})
    if (p != nullptr && p->IsWindow()) p->EnableControls(!running);
  if (!running) CheckDlgButton(kPause, 0);
}

void LyrWorkspaceDlgTextOutAverage::OnPath() {
  overwriteConfirmed_ = 0;
  const std::string path = ChoosePath(this, OutputPath);
  if (path.empty()) return;
  OutputPath = path;
  SetDlgItemText(kPathText, OutputPath);
  if (Unattended == 0) StagePath = AllPath = OutputPath;
  if (sys::FileExists(path)) overwriteConfirmed_ = 1;
}

void LyrWorkspaceDlgTextOutAverage::ResetCountDisplay() {
  for (int r = 0; r < 10; ++r)
    for (int col : {kStageCol, kTotalCol, kAverageCol, kRejectCol}) SetDlgItemText(col + r, "");
  ui::Control list = Item(kStageList);
  for (int r : SelectedRows()) {
    if (r >= 10) continue;
    SetDlgItemText(kStageCol + r, list.GetString(r));
    for (int col : {kTotalCol, kAverageCol, kRejectCol}) SetDlgItemText(col + r, "0");
  }
}

void LyrWorkspaceDlgTextOutAverage::OnStart() {
  if (doc_ == nullptr) return;
  if (!DestinationReady(Unattended, OutputPath, overwriteConfirmed_, [this] { OnPath(); })) return;
  const int channel = Item(kChannel).GetCurSel();
  if (channel < 0 || channel >= ChannelTotal(doc_)) {
    if (Unattended == 0) Warn(kStrChannelNotSelected);
    return;
  }
  first_ = std::min(start_->GetEpoch(), end_->GetEpoch());
  last_ = std::max(start_->GetEpoch(), end_->GetEpoch());
  perDivision_ = std::max(divisionPicker_->GetEpoch(), 1);
  WorkspaceEpochSpan = perDivision_;
  if (StageMode != 0) {
    if (SelectedRows().empty()) {
      if (Unattended == 0) Warn(kStrStageNotSelected);
      return;
    }
    for (int e = first_; e <= last_; ++e) {
      const int s = StageOf(*doc_, e);
      if (s != 0 && s != 20) continue;
      if (Unattended == 0) Warn(kStrAllEpochs);
      if (CMainFrame* frame = Main()) {
        LyrWorkspaceAreaTabCtrl& tabs = frame->WorkspaceTabs;
        tabs.SelectPane(9);
        tabs.ShowSelectedPane(9);
        if (tabs.SearchStrip && tabs.SearchStrip->StagePane) tabs.SearchStrip->StagePane->SearchStage(0);
      }
      EndDialog(ui::IDOK);
      return;
    }
  }
  channel_ = channel;
  doc_->FftOutputChannel = channel;
  doc_->Params.fftPageSelection.flags.fill(0);
  doc_->Params.fftPageSelection.flags[static_cast<std::size_t>(channel)] = 1;
  ResetCountDisplay();
  SetRunning(true);
  JumpTo(*doc_, first_);
  division_ = 0;
  divisions_ = ffttext::DivisionCount(last_ - first_ + 1, perDivision_);
  bins_ = static_cast<int>(doc_->Params.fftPage.epochFftPoints / 2 + 1);
  rows_.assign(rowCodes_.size(), ffttext::DivisionTable{});
  if (StageMode != 0)
    for (auto& t : rows_) t.Reset(divisions_, bins_);
  if (StageMode != 1) all_.Reset(divisions_, bins_);
  SetTimer(kFftOutputTimer, 0);
  overwriteConfirmed_ = 0;
  Written = 0;
}

void LyrWorkspaceDlgTextOutAverage::ShowCounts(int row) {
  if (row < 0 || row >= 10 || static_cast<std::size_t>(row) >= rows_.size()) return;
  const ffttext::DivisionTable& t = rows_[static_cast<std::size_t>(row)];
  if (t.averaged.empty()) return;
  const std::int32_t a = t.averaged[static_cast<std::size_t>(division_)];
  const std::int32_t r = t.rejected[static_cast<std::size_t>(division_)];
  SetDlgItemText(kTotalCol + row, std::to_string(a + r));
  SetDlgItemText(kAverageCol + row, std::to_string(a));
  SetDlgItemText(kRejectCol + row, std::to_string(r));
}

void LyrWorkspaceDlgTextOutAverage::Accumulate() {
  const auto& spectra = doc_->EpochSpectra.channels;
  std::span<const float> p;
  if (static_cast<std::size_t>(channel_) < spectra.size()) {
    const EpochSpectrum& s = spectra[static_cast<std::size_t>(channel_)];
    p = std::span<const float>(s.values.data(), std::min(s.values.size(), static_cast<std::size_t>(std::max(s.binCount, 0))));
  }
  const int s = StageOf(*doc_, doc_->CurrentEpoch);
  const bool discarded = s >= 20;
  const bool excludes = WorkspaceOutputSetting != 0;
  if (StageMode != 0) {
    const int r = ffttext::StageRow(doc_->Params.stageType.stageType, s);
    if (r >= 0 && static_cast<std::size_t>(r) < rows_.size() && !rows_[static_cast<std::size_t>(r)].averaged.empty()) {
      ffttext::DivisionTable& t = rows_[static_cast<std::size_t>(r)];
      if (discarded && (Unattended == 0 || excludes)) ++t.rejected[static_cast<std::size_t>(division_)];
      else t.Add(division_, p);
      ShowCounts(r);
    }
  }
  if (StageMode != 1 && !(Unattended != 0 && excludes && discarded)) all_.Add(division_, p);
  char text[40];
  std::snprintf(text, sizeof text, "%d/%d", division_ + 1, divisions_);
  SetDlgItemText(kDivisionNo, text);
}

void LyrWorkspaceDlgTextOutAverage::OnTimer(std::uint32_t id) {
  if (id != kFftOutputTimer) return ui::Dialog::OnTimer(id);
  ui::WaitCursor wait;
  KillTimer(kFftOutputTimer);
  if (doc_ == nullptr || !running_) return;
  if (doc_->CurrentEpoch <= last_) {
    Accumulate();
    if ((doc_->CurrentEpoch - first_ + 1) % perDivision_ == 0 && division_ + 1 < divisions_) {
      ++division_;
      ResetCountDisplay();
    }
    if (doc_->CurrentEpoch < last_) {
      CMainFrame* frame = Main();
      const int before = doc_->CurrentEpoch;
      if (frame != nullptr) frame->StepNextEpoch();
      else JumpTo(*doc_, before + 1);
      if (doc_->CurrentEpoch != before) {
        SetTimer(kFftOutputTimer, 0);
        return;
      }
    }
  }
  const int written = OutputText();
  SetRunning(false);
  if (Unattended != 0) {
    EndDialog(written != 0 ? ui::IDOK : ui::IDCANCEL);
  } else if (written != 0) {
    ui::MessageBeep(ui::MB_ICONASTERISK);
    ui::MessageBoxId(kStrComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
  }
}

void LyrWorkspaceDlgTextOutAverage::OnStop() {
  KillTimer(kFftOutputTimer);
  const bool wasRunning = running_;
  SetRunning(false);
  if (!wasRunning) return;
  ui::MessageBeep(ui::MB_ICONQUESTION);
  if (ui::MessageBoxId(kStrIncomplete, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) == ui::IDOK) OutputText();
}

bool LyrWorkspaceDlgTextOutAverage::WriteTable(const std::string& path, const std::string& body) {
  int counter = 1;
  const std::string text = HeaderText(*doc_, &counter) + "\n" + body;
  if (OutputToClipboard == 1) return ui::SetClipboardText(text);
  TextSink sink;
  if (!sink.Open(path) || !sink.Write(text) || !sink.Commit()) {
    sink.Abort();
    if (Unattended == 0) Warn(kStrSaveError);
    return false;
  }
  return true;
}

int LyrWorkspaceDlgTextOutAverage::OutputText() {
  if (doc_ == nullptr || channel_ < 0) return 0;
  const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(channel_)];
  const FFTPageParam& fp = doc_->Params.fftPage;
  int valueCount = bins_;
  if (static_cast<std::size_t>(channel_) < doc_->EpochSpectra.channels.size())
    valueCount = std::min(valueCount, doc_->EpochSpectra.channels[static_cast<std::size_t>(channel_)].binCount);
  ffttext::AverageLayout layout;
  layout.fp = &fp;
  layout.bins = ffttext::BinsOf(ch.rate, static_cast<int>(fp.epochFftPoints), fp.epochUpperHz, valueCount);
  layout.unit = ch.unit;
  layout.delimiter = Delimiter();
  layout.divisions = divisions_;
  layout.unattended = Unattended != 0;
  layout.artifactExcludes = WorkspaceOutputSetting != 0;
  layout.firstLabel = EpochLabel(first_);
  layout.lastLabel = EpochLabel(last_);
  layout.divisionHours = static_cast<double>(EpochSeconds) * perDivision_ / 3600.0;
  // The length of a division as elapsed time, whatever the clock display.
  const std::uint16_t clock = ClockTimeDisplay;
  ClockTimeDisplay = 0;
  layout.divisionLabel = EpochLabel(perDivision_);
  ClockTimeDisplay = clock;
  bool ok = true;
  if (StageMode != 0) {
    std::vector<ffttext::StageTable> tables;
    ui::Control list = Item(kStageList);
    for (int r : SelectedRows())
      if (static_cast<std::size_t>(r) < rows_.size()) tables.push_back({list.GetString(r), &rows_[static_cast<std::size_t>(r)]});
    std::string body = ffttext::PerStageText(layout, tables);
    if (StageMode == -1 && OutputToClipboard == 1) {
      int counter = 1;
      body += HeaderText(*doc_, &counter) + "\n" + ffttext::AllEpochText(layout, all_);
      return WriteTable(StagePath, body) ? (Written = 1) : 0;
    }
    ok = WriteTable(StagePath, body) && ok;
  }
  if (StageMode != 1) ok = WriteTable(AllPath, ffttext::AllEpochText(layout, all_)) && ok;
  Written = ok ? 1 : 0;
  return Written;
}

// ---- Continuous FFT ---------------------------------------------------------------------------

LyrWorkspaceDlgTextOutContinuous::LyrWorkspaceDlgTextOutContinuous(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_TEXT_OUT_CONTINUOUS, parent), doc_(doc) {
  MapCommand(kStart, [this] { OnStart(); });
  MapCommand(kStop, [this] { OnStop(); });
  MapCommand(kPath, [this] { OnPath(); });
  MapRunControls(*this, running_);
  MapCommand(kArtifact, [this] { WorkspaceOutputSetting = IsDlgButtonChecked(kArtifact) != 0 ? 1 : 0; });
  MapCommand(kMaxCheck, [this] {
    const std::int32_t size = std::abs(OutputMaxLines);
    OutputMaxLines = IsDlgButtonChecked(kMaxCheck) != 0 ? size : -size;
    EnableItem(kMaxEdit, OutputMaxLines > 0);
  });
  MapCommand(kSelect, [this] {
    RunFftChannelSelection(doc_, 0, this);
    FillList();
  });
}

LyrWorkspaceDlgTextOutContinuous::~LyrWorkspaceDlgTextOutContinuous() { DropTempFiles(); }

std::vector<std::string> LyrWorkspaceDlgTextOutContinuous::TempPaths() const {
  std::vector<std::string> paths;
  for (const TempFile& t : temps_) paths.push_back(t.path);
  return paths;
}

void LyrWorkspaceDlgTextOutContinuous::DropTempFiles() {
  for (const TempFile& t : temps_) sys::DeleteFile(t.path);
  temps_.clear();
}

std::vector<int> LyrWorkspaceDlgTextOutContinuous::Flagged() const {
  std::vector<int> channels;
  for (int c = 0; c < ChannelTotal(doc_); ++c)
    if (doc_->Params.fftPageSelection.flags[static_cast<std::size_t>(c)] != 0) channels.push_back(c);
  return channels;
}

std::string LyrWorkspaceDlgTextOutContinuous::EpochLabel(int epoch) const {
  std::string label;
  if (doc_ != nullptr) doc_->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  return label;
}

void LyrWorkspaceDlgTextOutContinuous::FillList() {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  for (int c : Flagged()) {
    char no[16];
    std::snprintf(no, sizeof no, "%3d", c + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, doc_->ChInfo[static_cast<std::size_t>(c)].name);
    list.SetItemText(row, 2, std::to_string(static_cast<unsigned long>(doc_->ChInfo[static_cast<std::size_t>(c)].rate)));
  }
}

bool LyrWorkspaceDlgTextOutContinuous::OnInitDialog() {
  if (doc_ == nullptr) return true;
  ui::Control list = Item(kList);
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(kStrNo), 40);
  list.InsertColumn(1, res::LoadString(kStrCh), 100);
  list.InsertColumn(2, res::LoadString(kStrSampling), 100);
  FillList();
  const int epochs = EpochTotal(doc_);
  start_ = std::make_unique<LyrDlgTimePoint>(this);
  end_ = std::make_unique<LyrDlgTimePoint>(this);
  const std::pair<LyrDlgTimePoint*, int> panels[] = {{start_.get(), 1615}, {end_.get(), 1616}};
  for (const auto& [panel, holder] : panels) {
    panel->m_pDoc = doc_;
    panel->CreatePanel(this, holder);
    panel->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
    panel->SetRange(0, std::max(epochs - 1, 0));
  }
  start_->SetCaption(res::LoadString(kStrStartCaption));
  end_->SetCaption(res::LoadString(kStrEndCaption));
  start_->SetEpoch(StartEpoch);
  end_->SetEpoch(EndEpoch);
  SetRunning(false);
  CheckRadioButton(kFile, kClipboard, OutputToClipboard == 1 ? kClipboard : kFile);
  EnableItem(kPath, OutputToClipboard != 1);
  SetDlgItemText(kPathText, OutputPath);
  overwriteConfirmed_ = sys::FileExists(OutputPath) ? 1 : 0;
  SetDlgItemText(kMaxEdit, std::to_string(std::abs(OutputMaxLines)));
  CheckDlgButton(kMaxCheck, OutputMaxLines >= 1 ? 1 : 0);
  EnableItem(kMaxEdit, OutputMaxLines >= 1);
  if (Unattended != 0) OnStart();
  return true;
}

void LyrWorkspaceDlgTextOutContinuous::SetRunning(bool running) {
  running_ = running;
  EnableItem(kPath, !running && OutputToClipboard != 1);
  EnableItem(kStart, !running);
  EnableItem(kStop, running);
  EnableItem(kPause, running);
  EnableItem(kMaxEdit, !running && OutputMaxLines > 0);
  for (int id : {kMaxCheck, kArtifact, kFile, kClipboard, kComma, kTab, kSelect}) EnableItem(id, !running);
  for (LyrDlgTimePoint* p : {start_.get(), end_.get()})
    if (p != nullptr && p->IsWindow()) p->EnableControls(!running);
  if (!running) {
    CheckDlgButton(kPause, 0);
    CheckDlgButton(kArtifact, WorkspaceOutputSetting != 0 ? 1 : 0);
    CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  }
}

void LyrWorkspaceDlgTextOutContinuous::OnPath() {
  overwriteConfirmed_ = 0;
  const std::string path = ChoosePath(this, OutputPath);
  if (path.empty()) return;
  OutputPath = path;
  SetDlgItemText(kPathText, OutputPath);
  if (sys::FileExists(path)) overwriteConfirmed_ = 1;
}

void LyrWorkspaceDlgTextOutContinuous::OnStart() {
  if (doc_ == nullptr) return;
  if (!DestinationReady(Unattended, OutputPath, overwriteConfirmed_, [this] { OnPath(); })) return;
  if (Flagged().empty()) {
    if (Unattended != 0) return;
    Warn(kStrChannelNotSelected);
    RunFftChannelSelection(doc_, 0, this);
    FillList();
    return;
  }
  bool ok = false;
  const long long typed = GetDlgItemInt(kMaxEdit, &ok);
  const std::int32_t size = ok ? static_cast<std::int32_t>(std::min<long long>(std::llabs(typed), 0x7FFFFFFF)) : std::abs(OutputMaxLines);
  OutputMaxLines = IsDlgButtonChecked(kMaxCheck) != 0 ? size : -size;
  SetRunning(true);
  first_ = std::min(start_->GetEpoch(), end_->GetEpoch());
  last_ = std::max(start_->GetEpoch(), end_->GetEpoch());
  DropTempFiles();
  JumpTo(*doc_, first_);
  OutputText();
  SetTimer(kFftOutputTimer, 0);
  overwriteConfirmed_ = 0;
  Written = 0;
}

void LyrWorkspaceDlgTextOutContinuous::OnTimer(std::uint32_t id) {
  if (id != kFftOutputTimer) return ui::Dialog::OnTimer(id);
  ui::WaitCursor wait;
  KillTimer(kFftOutputTimer);
  if (doc_ == nullptr || !running_) return;
  const int before = doc_->CurrentEpoch;
  if (before < last_) {
    if (CMainFrame* frame = Main()) frame->StepNextEpoch();
    else JumpTo(*doc_, before + 1);
  }
  if (doc_->CurrentEpoch == before || doc_->CurrentEpoch > last_) {
    const int written = MakeTextFile();
    SetRunning(false);
    if (Unattended != 0) EndDialog(written != 0 ? ui::IDOK : ui::IDCANCEL);
    return;
  }
  OutputText();
  SetTimer(kFftOutputTimer, 0);
}

void LyrWorkspaceDlgTextOutContinuous::OnStop() {
  KillTimer(kFftOutputTimer);
  if (!running_) return;
  MakeTextFile();
  SetRunning(false);
}

void LyrWorkspaceDlgTextOutContinuous::OnOK() {
  // "Close": a run in progress ends without output and leaves no temporary file.
  KillTimer(kFftOutputTimer);
  running_ = false;
  DropTempFiles();
  EndDialog(ui::IDOK);
}

void LyrWorkspaceDlgTextOutContinuous::OnDestroy() {
  KillTimer(kFftOutputTimer);
  DropTempFiles();
  ui::Dialog::OnDestroy();
}

int LyrWorkspaceDlgTextOutContinuous::OutputText() {
  const FFTPageParam& fp = doc_->Params.fftPage;
  const std::vector<int> channels = Flagged();
  if (temps_.empty()) {
    for (int c : channels) {
      const std::string path = sys::CreateTempFile({}, "Tmp");
      if (path.empty()) continue;
      temps_.push_back({c, path});
    }
    for (const TempFile& t : temps_) {
      const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(t.channel)];
      ffttext::ContinuousLayout layout{&fp, ffttext::BinsOf(ch.rate, static_cast<int>(fp.epochFftPoints), fp.epochUpperHz,
                                                            static_cast<int>(fp.epochFftPoints / 2 + 1)),
                                       ch.name, ch.unit, Delimiter()};
      std::ofstream(t.path, std::ios::binary | std::ios::app) << ffttext::ContinuousHeader(layout);
    }
  }
  const int s = StageOf(*doc_, doc_->CurrentEpoch);
  if (WorkspaceOutputSetting != 0 && s >= 20) return 1;
  std::string stage;
  doc_->GetStageName(static_cast<signed char>(s), stage);
  if (s >= 20) stage += "*";
  const std::string label = EpochLabel(doc_->CurrentEpoch);
  for (const TempFile& t : temps_) {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(t.channel)];
    std::span<const float> values;
    if (static_cast<std::size_t>(t.channel) < doc_->EpochSpectra.channels.size()) {
      const EpochSpectrum& sp = doc_->EpochSpectra.channels[static_cast<std::size_t>(t.channel)];
      values = std::span<const float>(sp.values.data(), std::min(sp.values.size(), static_cast<std::size_t>(std::max(sp.binCount, 0))));
    }
    ffttext::ContinuousLayout layout{&fp, ffttext::BinsOf(ch.rate, static_cast<int>(fp.epochFftPoints), fp.epochUpperHz,
                                                          static_cast<int>(values.size())),
                                     ch.name, ch.unit, Delimiter()};
    std::ofstream(t.path, std::ios::binary | std::ios::app)
        << ffttext::ContinuousLine(layout, doc_->CurrentEpoch, stage, label, values);
  }
  return 1;
}

int LyrWorkspaceDlgTextOutContinuous::MakeTextFile() {
  const char d = Delimiter();
  const bool clipboard = OutputToClipboard == 1;
  const std::int32_t limit = OutputMaxLines;
  int part = 1;
  int counter = 1;
  std::string text;  // the part being gathered
  bool ok = true;
  auto partHead = [&](bool artifactNote) {
    std::string head = HeaderText(*doc_, &counter) + "\n";
    if (Unattended != 0) {
      head += res::LoadString(65474) + d + EpochLabel(first_) + d;
      if (artifactNote && WorkspaceOutputSetting != 0) head += std::string(1, d) + res::LoadString(65476);
      head += "\n" + res::LoadString(65475) + d + EpochLabel(last_) + "\n\n";
    }
    return head;
  };
  auto writePart = [&](const std::string& path) {
    TextSink sink;
    if (!sink.Open(path) || !sink.Write(text) || !sink.Commit()) {
      sink.Abort();
      return false;
    }
    return true;
  };
  text = partHead(true);
  bool stopped = false;
  // A full part goes out; false ends the joining.
  auto checkMaxLine = [&]() {
    if (limit <= 0 || counter <= limit) return true;
    if (clipboard) {
      ui::SetClipboardText(text);
      ui::MessageBeep(ui::MB_ICONQUESTION);
      if (ui::MessageBoxId(kStrNewFileName, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return false;
      text.clear();
      counter = 1;
      return true;
    }
    if (!writePart(part == 1 ? PartPath(OutputPath, 1) : PartPath(OutputPath, part))) {
      ok = false;
      return false;
    }
    ++part;
    counter = 1;
    text = partHead(false);
    return true;
  };
  for (const TempFile& t : temps_) {
    std::ifstream in(t.path, std::ios::binary);
    std::string line;
    while (!stopped && std::getline(in, line)) {
      text += line + "\n";
      ++counter;
      if (!checkMaxLine()) stopped = true;
    }
    if (stopped) break;
    text += "\n";
    ++counter;
    if (!checkMaxLine()) {
      stopped = true;
      break;
    }
  }
  DropTempFiles();
  if (stopped) {
    if (!ok && Unattended == 0) Warn(kStrSaveError);
    return 0;
  }
  if (clipboard) {
    ui::SetClipboardText(text);
  } else {
    const std::string path = part == 1 ? OutputPath : PartPath(OutputPath, part);
    if (!writePart(path)) {
      if (Unattended == 0) Warn(kStrSaveError);
      return 0;
    }
  }
  Written = 1;
  if (Unattended == 0) {
    ui::MessageBeep(ui::MB_ICONASTERISK);
    ui::MessageBoxId(kStrComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
  }
  return 1;
}
