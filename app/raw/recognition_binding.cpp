#include "app/raw/recognition_binding.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/scoring/arousal_lm_snore.h"

namespace {

long long RowPageStartSecond(const CQLM2_AnalyzerDoc& doc, int row) {
  return (static_cast<long long>(doc.CurrentPage) + row - kCurrentPageRow) * PageSeconds;
}

int RecordingEpochs(const CQLM2_AnalyzerDoc& doc) { return EpochSeconds > 0 ? doc.RecordSeconds / EpochSeconds : 0; }

}  // namespace

WaveRecognitionContext WaveRecognitionContextForRow(CQLM2_AnalyzerDoc& doc, CMainFrame* frame, int row) {
  WaveRecognitionContext ctx = ContextFromProgramSettings();
  ctx.param = &doc.Params.waveForm;
  ctx.channelCount = doc.RecordInfo.channelCount;
  ctx.pageStartSecond = RowPageStartSecond(doc, row);
  ctx.recordingEpochs = RecordingEpochs(doc);
  ctx.currentPageRow = row == kCurrentPageRow;
  if (frame) ctx.frameRecords = frame->EpochWaveRecords;
  ctx.document = &doc.EpochTables;
  return ctx;
}

SleepDstrbPageContext SleepDstrbContextForRow(CQLM2_AnalyzerDoc& doc, int row) {
  SleepDstrbPageContext ctx;
  ctx.param = &doc.Params.sleepDstrb;
  ctx.epochTables = &doc.EpochTables;
  ctx.tables = &doc.RecognitionTables;
  ctx.epochSeconds = EpochSeconds;
  ctx.pageSeconds = PageSeconds;
  ctx.pageStartSecond = RowPageStartSecond(doc, row);
  ctx.recordingEpochs = RecordingEpochs(doc);
  ctx.currentPageRow = row == kCurrentPageRow;
  ctx.screening = ScreeningRunning == 1;
  // The arousal recogniser over the counters just made: the whole recording, or in page
  // mode the page, whose counters run from its first epoch.
  ctx.recognizeArousal = [&doc](const SleepDstrbPageContext& c) {
    SleepDstrbSources src;
    src.param = &doc.Params.sleepDstrb;
    src.epochs = &doc.EpochTables;
    src.tables = &doc.RecognitionTables;
    src.stageType = doc.Params.stageType.stageType;
    src.epochSeconds = c.epochSeconds;
    src.epochCount = c.recordingEpochs;
    const int pointsPerEpoch = c.epochSeconds * 10;
    if (c.arousalPageMode) {
      src.firstEpoch = c.FirstEpoch();
      LyrRecognizeArousal(src).Recognize(c.EpochsPerPage(), pointsPerEpoch);
    } else {
      LyrRecognizeArousal(src).Recognize(c.recordingEpochs, pointsPerEpoch);
    }
  };
  return ctx;
}
