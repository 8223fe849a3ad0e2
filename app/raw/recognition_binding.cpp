#include "app/raw/recognition_binding.h"

#include <algorithm>
#include <vector>

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
  ctx.arousalPageMode = ArousalThresholdPreview != 0;
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

int CalcPreviewRepresentValuesOfChannel(CQLM2_AnalyzerDoc& doc, int channel) {
  const int count = std::clamp(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
  if (channel < 0 || channel >= count || PageSeconds <= 0 || EpochSeconds <= 0) return 0;
  const int rate = doc.ChInfo[static_cast<std::size_t>(channel)].rate;
  const std::size_t size = doc.GetPageBufferSize(static_cast<unsigned>(PageSeconds));
  if (rate <= 0 || size == 0) return 0;
  std::vector<float> page(size, 0.0f);
  const std::size_t offset = static_cast<std::size_t>(doc.GetChDataPtr(2, static_cast<unsigned>(channel), page.data()) - page.data());
  const std::size_t samples = static_cast<std::size_t>(rate) * static_cast<std::size_t>(PageSeconds);
  if (offset >= size) return 0;
  const SleepDstrbPageContext ctx = SleepDstrbContextForRow(doc, kCurrentPageRow);
  return CalcPreviewRepresentValues(ctx, channel, rate, doc.CurrentPage, doc.GetPageNum(PageSeconds, EpochSeconds),
                                    [&](int pg, std::vector<float>& out) {
                                      std::fill(page.begin(), page.end(), 0.0f);
                                      if (doc.SetPageRawData(pg, static_cast<unsigned>(PageSeconds), 2, page.data()) == 0)
                                        return false;
                                      const std::size_t n = std::min(samples, size - offset);
                                      out.assign(page.begin() + static_cast<std::ptrdiff_t>(offset),
                                                 page.begin() + static_cast<std::ptrdiff_t>(offset + n));
                                      return true;
                                    });
}
