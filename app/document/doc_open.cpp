// Opening a recording: closes the previous one, decides the source (own raw or analysis file,
// or a foreign file read by the chosen import plug-in), reads its header and calibration and
// sizes the tables. A failure after the previous recording was let go leaves the document
// empty, with every file's attributes as they were before the program touched them.
#include <algorithm>
#include <vector>

#include "app/document/close_questions.h"
#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/recording_probe.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "common/fileaccess/fyn_file_access.h"
#include "platform/res/resource_store.h"
#include "platform/system/binary_file.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsNotSupported = 2387;
// Trend graph category of a per-channel item; its third index is the channel.
constexpr std::uint16_t kTrendCategoryChannel = 22;

// The questions before the previous recording is replaced.
class ReplaceQuestionHost : public CloseQuestionHost {
 public:
  explicit ReplaceQuestionHost(CMainFrame* frame) : frame_(frame) {}
  int AskQuestion(std::uint32_t stringId, bool withCancel) override {
    ui::MessageBeep(ui::MB_ICONQUESTION);
    return ui::MessageBoxId(stringId, withCancel ? ui::MB_YESNOCANCEL : ui::MB_YESNO);
  }
  bool SaveResults() override { return frame_ != nullptr && frame_->SaveResultFile() != 0; }
  void SaveEditedVideoRanges() override {
    if (frame_ != nullptr) frame_->SaveEditedVideoRanges();
  }

 private:
  CMainFrame* frame_;
};

// Loads the chosen plug-in and lets it accept the file; fills montage and calibration numbers.
bool BindPlugin(const std::string& path, std::int16_t* montage, std::int16_t* calibration, bool* told) {
  if (!PluginModule.Load(PluginPath)) return false;
  auto structVersion = PluginModule.Function<ImpGetStructVersion>("GetStructVersion");
  if (structVersion == nullptr) return false;
  if (structVersion() != 1) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kIdsNotSupported, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    *told = true;
    return false;
  }
  auto checkType = PluginModule.Function<ImpCheckFileType>("CheckFileType");
  if (checkType == nullptr || checkType(path.c_str()) == 0) return false;
  if (auto fileInfo = PluginModule.Function<ImpGetDLLFileInfo>("GetDLLFileInfo"))
    if (fileInfo(path.c_str()) == 0) return false;
  auto selectMontCal = PluginModule.Function<ImpSelectMontCal>("SelectMontCal");
  return selectMontCal != nullptr && selectMontCal(path.c_str(), montage, calibration) != 0;
}

}  // namespace

void CQLM2_AnalyzerDoc::RestoreRawFileAttributes() {
  if (protectedRawPath_.empty()) return;
  if ((SavedAttributes & sys::kAttrReadOnly) == 0 && SavedAttributes != sys::kInvalidAttributes)
    sys::SetFileAttributes(protectedRawPath_, SavedAttributes);
  protectedRawPath_.clear();
}

bool CQLM2_AnalyzerDoc::FailOpen(bool told) {
  const std::string path = RecordInfo.path;
  ReleasePluginModule(path);
  RestoreRawFileAttributes();
  RecordInfo.path.clear();
  RecordInfo.sourceKind = 2;
  RecordInfo.channelCount = 0;
  DocumentLoaded = 0;
  // The document is empty now: the same path opens anew next time.
  SetPathName("", false);
  if (!told) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(DamagedRecordingMessage(path), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
  return false;
}

bool CQLM2_AnalyzerDoc::OnOpenDocument(const std::string& requestedPath) {
  // Paths are kept absolute, so that the stored ones find the file again from anywhere.
  const std::string path = AbsoluteRecordingPath(requestedPath);
  // 1. A file that cannot become the recording is told and changes nothing: the recording in
  // use stays open. A foreign file is read by the stored plug-in when it accepts the file,
  // else by the first plug-in beside the program that does.
  const RecordingProbe probe = ProbeRecording(path, PluginPath, sys::ProgramFolder());
  if (!probe.ok) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(probe.message, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  if (!ui::Document::OnOpenDocument(path)) return false;
  CMainFrame* frame = MainFrame();
  // 2. The raw wave window is the view that commands go to while a recording opens.
  if (frame != nullptr && frame->RawView() != nullptr) frame->SetActiveView(frame->RawView());
  const bool wasLoaded = DocumentLoaded != 0;
  // 3.-7. Questions and batches may still refuse: the previous recording stays untouched.
  if (!wasLoaded) {
    PreviousPath = path;
  } else {
    PreviousPath = RecordInfo.path;
    if (ScreeningRunning != 0 || (frame != nullptr && frame->ForbidsClosingRecording())) return false;
    ReplaceQuestionHost host(frame);
    if (!AskBeforeClosingRecording(host, CalibrationChanged, CloseReason::Replace)) return false;
  }
  // 7.-9. Let go of the previous recording.
  if (frame != nullptr) frame->ReleaseVideoBeforeClose();
  ReleasePluginModule(RecordInfo.path);
  if (wasLoaded) {
    if (frame != nullptr) frame->RebuildRawFileCalibration();
    ReleaseAll();
    ResetMember(1);
    if (frame != nullptr) frame->ClearWorkspaceLists();
  }
  // 10.-11.
  WorkingText.clear();
  if (frame != nullptr) frame->ClearWorkingText();
  RecordInfo.path = path;
  ResetExperimentRecord();
  LastFolderPath = sys::FolderOf(path);

  if (probe.fileType != kFynTypeRaw && probe.fileType != kFynTypeAna) PluginPath = probe.pluginPath;

  // 12.
  FynFileAccess access(path.c_str());
  if (access.InitParams() != 0) return FailOpen();
  const std::int16_t fileType = access.GetFileType();

  // 13. The previous own raw file gets its attributes back; a new one is kept read-only while open.
  RestoreRawFileAttributes();
  if (fileType == kFynTypeRaw) {
    SavedAttributes = sys::GetFileAttributes(path);
    protectedRawPath_ = path;
    if ((SavedAttributes & sys::kAttrReadOnly) == 0) sys::SetReadOnly(path, true);
  }

  // 14.-15.
  DocumentLoaded = 0;
  for (LyrChInfo& ch : ChInfo) {
    ch.name.clear();
    ch.unit.clear();
    ch.rate = 0;
    ch.startOffset = 0;
    ch.GetReadX(0);
  }
  if (frame != nullptr && frame->RawView() != nullptr) frame->RawView()->LayoutRawFrames();
  RecordInfo.sourceKind = 2;

  // 16.-17.
  if (fileType == kFynTypeRaw) {
    RecordInfo.sourceKind = 0;
  } else if (fileType == kFynTypeAna) {
    RecordInfo.sourceKind = 1;
  } else {
    bool told = false;
    if (!BindPlugin(path, &MontageNumber, &CalibrationNumber, &told)) return FailOpen(told);
    RecordInfo.sourceKind = 3;
  }
  RecordInfo.channelCount = ReadChNum();
  if (RecordInfo.sourceKind == 3) {
    auto checkType = PluginModule.Function<ImpCheckFileType>("CheckFileType");
    if (checkType == nullptr || checkType(path.c_str()) == 0) return FailOpen();
  }

  // 18.-21.
  if (CheckRecordLength() == 0) return FailOpen(true);
  if (ReadSamplingInfo() == 0) return FailOpen();
  if (ReadRecordHeader() == 0) return FailOpen();
  if (ReadCalInfo() == 0) return FailOpen();

  // 22.-24. Length in whole epochs, the page no longer than the recording nor than a day.
  const int channels = RecordInfo.channelCount;
  const std::int32_t shortest = GetRecordSec();
  if (shortest < 0 || EpochSeconds <= 0) return FailOpen();
  RecordSeconds = shortest - shortest % EpochSeconds;
  PageSeconds = std::min(std::min(PageSeconds, RecordSeconds), kMaxPageSeconds);
  const int epochCount = RecordSeconds / EpochSeconds;
  if (Init4ChangeEpochTime(epochCount, EpochSeconds, channels, 1) == 0) return FailOpen(true);
  const tablemem::FailureReporter report = [](const std::string& message) { ui::MessageBox(message); };
  if (Marks.AllocateMark(RecordSeconds, report) == 0) return FailOpen(true);

  // 25. Settings that name channels are fitted to the new channel count.
  SetDefaultFFTBandParam(1, &Params.fftBand, channels);
  SetDefaultMarkTypeParam(1, &Params.markType, channels);
  SetDefaultWaveFormRecognitionParam(1, &Params.waveForm, channels);
  {
    std::vector<std::int32_t> rates(static_cast<std::size_t>(channels));
    for (int c = 0; c < channels; ++c) rates[static_cast<std::size_t>(c)] = ChInfo[c].rate;
    SetDefaultFFTPageParam(2, &Params, EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0, rates);
  }

  // 26. A recording with every channel hidden shows them all.
  if (std::none_of(ChInfo.begin(), ChInfo.begin() + channels, [](const LyrChInfo& ch) { return ch.show != 0; }))
    for (int c = 0; c < channels; ++c) ChInfo[c].show = 1;

  // 27. Channel trend graphs on a channel the recording does not have show nothing.
  for (int g = 0; g < kMaxTrendGraphs; ++g) {
    if (TrendItem.category[g] != kTrendCategoryChannel || TrendItem.third[g] < channels) continue;
    TrendItem.category[g] = 0;
    TrendItem.subItem[g] = 0;
    TrendItem.third[g] = 0;
  }

  // 28.
  SetDefaultSleepDstrbParam(1, &Params.sleepDstrb, channels);
  CheckStageTypeParam(&Params.stageType);

  // 29.
  if (SetPageData() != 0) return FailOpen();

  // 30.
  if (frame != nullptr) frame->FillWorkspaceForRecording();

  // 31. The frame's bars follow the new recording.
  DocumentLoaded = 1;
  ResultModifiedState = 0;
  if (frame != nullptr) {
    frame->ReloadParameterCombos();
    frame->UpdateFrameBarTime();
    if (frame->EpochBar != nullptr) {
      frame->EpochBar->FillGainCombo();
      frame->EpochBar->FillPageCombo();
      frame->EpochBar->FillShowTypeCombo();
    }
  }
  CalibrationChanged = 0;
  PageEndEpoch = -1;
  if (frame != nullptr) {
    frame->RefreshWindowsAfterOpen();
    // 32.
    frame->OpenRecordingVideo(path);
    frame->RefreshAllViews(-1);
  }
  return true;
}
