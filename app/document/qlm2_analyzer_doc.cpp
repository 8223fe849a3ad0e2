#include "app/document/qlm2_analyzer_doc.h"

#include <algorithm>
#include <cstring>

#include "app/document/close_questions.h"
#include "app/document/import_plugin.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/system/key_state.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

// The close questions as the user sees them: a question beep, then the box.
class DocumentCloseHost : public CloseQuestionHost {
 public:
  explicit DocumentCloseHost(CMainFrame* frame) : frame_(frame) {}
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

}  // namespace

CQLM2_AnalyzerDoc::CQLM2_AnalyzerDoc() : ExperimentRecord(kExperimentRecordBytes, 0) {
  // A table that cannot be had is named to the user; the table then stays empty.
  const tablemem::FailureReporter report = [](const std::string& message) { ui::MessageBox(message); };
  EpochTables.SetFailureReporter(report);
  RecognitionTables.SetFailureReporter(report);
  CalibrationChanged = 0;
  ResetMember(0);
  RecordInfo.sourceKind = 2;
  MixedSampling = 0;
  PreviousPath.clear();
}

CQLM2_AnalyzerDoc::~CQLM2_AnalyzerDoc() {
  RestoreRawFileAttributes();
  ReleaseAll();
}

void CQLM2_AnalyzerDoc::LetGoAtExit() {
  if (PluginModule.IsLoaded()) ReleasePluginModule(RecordInfo.path);
  RestoreRawFileAttributes();
}

CMainFrame* CQLM2_AnalyzerDoc::MainFrame() {
  ui::App* app = ui::App::Current();
  return app != nullptr ? dynamic_cast<CMainFrame*>(app->GetMainWnd()) : nullptr;
}

void CQLM2_AnalyzerDoc::ResetExperimentRecord() {
  std::fill(ExperimentRecord.begin(), ExperimentRecord.end(), std::uint8_t{0});
  ExperimentRecord[0] = 1;  // first 16-bit word, little-endian
}

std::uint16_t CQLM2_AnalyzerDoc::ResetMember(std::uint16_t keepSettings) {
  if (keepSettings == 0) {
    // The whole stage-type block becomes zero (stage type 0), and with it the two
    // program-wide copies of its stage type and shared-records-in-use words.
    const std::array<std::uint8_t, StageTypeParam::kSize> zeros{};
    Params.stageType.Load(zeros);
    StageTypeWords = {0, 0};
  }
  RecordInfo.channelCount = 0;
  RecordSeconds = 0;
  PageEndEpoch = -1;
  CurrentEpoch = 0;
  CurrentPage = 0;
  PageRows = 1;
  MontageNumber = 0;
  CalibrationNumber = 0;
  for (auto& buffer : RecordInfo.pageBuffers) std::vector<float>().swap(buffer);
  RcgnzReady = 0;
  EventRate = 0;
  WorkBlock.fill(0);
  WorkWord = 0;
  if (keepSettings == 0) {
    const std::array<std::uint8_t, FFTPageParam::kSize> zeros{};
    Params.fftPage.Load(zeros);
    Marks.Free();
  }
  ResetExperimentRecord();
  return 0;
}

void CQLM2_AnalyzerDoc::ReleaseAll() {
  std::vector<std::string>().swap(EventNames);
  std::vector<EventEntry>().swap(Events);
  RecognitionTables.FreeRcgnzSleepDstrb();
  Marks.Free();
  SimpleSpectrum = SimpleSpectrumSet{};
}

bool CQLM2_AnalyzerDoc::BatchForbidsClose() const {
  if (ScreeningRunning == 1) return true;
  CMainFrame* frame = MainFrame();
  return frame != nullptr && frame->ForbidsClosingRecording();
}

bool CQLM2_AnalyzerDoc::OnNewDocument() {
  if (!ui::Document::OnNewDocument()) return false;
  if (DocumentLoaded == 0) return true;
  if (!sys::IsKeyDown(sys::VirtualKey::Control) && BatchForbidsClose()) return false;

  PreviousPath = RecordInfo.path;
  CMainFrame* frame = MainFrame();
  DocumentCloseHost host(frame);
  if (!AskBeforeClosingRecording(host, CalibrationChanged, CloseReason::Close)) return false;

  if (frame != nullptr) frame->ReleaseVideoBeforeClose();
  ReleasePluginModule(RecordInfo.path);
  if (frame != nullptr) {
    frame->RebuildRawFileCalibration();
    frame->CheckSaveAndClearResult();
  }
  RestoreRawFileAttributes();
  ReleaseAll();
  ResetMember(1);
  WorkingText.clear();
  if (frame != nullptr) {
    frame->ClearWorkspaceLists();
    frame->ClearWorkingText();
  }
  ResetExperimentRecord();
  DocumentLoaded = 0;
  return true;
}
