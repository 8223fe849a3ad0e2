// The workspace spectra on the 24-hour, 32-channel, 500 Hz recording with 4-s epochs and
// 40-s pages: one epoch move with four channels' spectra and the epoch pane redrawn at
// 1200 x 800 (goal: 5 ms), and the average spectrum output over the whole day, both tables,
// with the epochs stepped as its timer steps them (goal: 2 s).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/workspace/fft_text_output.h"
#include "app/workspace/lyr_workspace_fft_views.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "recording_24h.h"
#include "offscreen_main.h"

namespace {

using bench24h::kChannels;
using bench24h::kRate;
using bench24h::kSamples;

void Attach(CQLM2_AnalyzerDoc& doc) {
  EpochSeconds = 4;
  PageSeconds = 40;
  doc.RecordInfo.path = bench24h::Recording();
  doc.RecordInfo.sourceKind = 0;
  doc.RecordInfo.channelCount = kChannels;
  doc.RecordSeconds = static_cast<std::int32_t>(kSamples / kRate);
  doc.PageRows = 1;
  SetDefaultFFTPageParam(0, &doc.Params, PageSeconds / EpochSeconds, {});
  doc.Params.fftPage.showContent = 1;
  doc.Params.fftPageSelection.flags = {};
  for (int c = 0; c < kChannels; ++c) {
    LyrChInfo& ch = doc.ChInfo[static_cast<std::size_t>(c)];
    ch.rate = kRate;
    ch.dataCount = kSamples;
    ch.calibration.fullScale = 32768.0;
    ch.name = "Ch" + std::to_string(c + 1);
    ch.unit = "uV";
  }
  for (int c = 0; c < 4; ++c) doc.Params.fftPageSelection.flags[static_cast<std::size_t>(c)] = 1;
  const int epochs = doc.RecordSeconds / EpochSeconds;
  doc.EpochTables.SetNew(epochs, 0, kChannels, 0, 1);
  for (int e = 0; e < epochs; ++e) doc.EpochTables.SetStage(e, static_cast<std::uint8_t>(1 + e % 5 + (e % 97 == 0 ? 20 : 0)));
  DocumentLoaded = 1;
}

// Next epoch as the frame moves: the entering page when the epoch leaves the page, then the
// epoch spectra.
void StepEpoch(CQLM2_AnalyzerDoc& doc) {
  const int perPage = PageSeconds / EpochSeconds;
  ++doc.CurrentEpoch;
  if (doc.CurrentEpoch / perPage != doc.CurrentPage) {
    doc.CurrentPage = doc.CurrentEpoch / perPage;
    doc.MovePageRawData(1);
  }
  doc.CalcEpochFFTData();
}

void BM_EpochMoveAndRedraw(benchmark::State& state) {
  CQLM2_AnalyzerDoc doc;
  Attach(doc);
  doc.CurrentPage = 2;
  doc.CurrentEpoch = 20;
  doc.SetPageData();
  LyrWorkspaceFFTEpochView pane;
  pane.m_pDoc = &doc;
  draw::Image image(1200, 800, 32);
  draw::Dc dc(image);
  const int last = doc.RecordSeconds / EpochSeconds - 30;
  for (auto _ : state) {
    if (doc.CurrentEpoch >= last) {
      state.PauseTiming();
      doc.CurrentPage = 2;
      doc.CurrentEpoch = 20;
      doc.SetPageData();
      state.ResumeTiming();
    }
    StepEpoch(doc);
    dc.FillSolidRect(draw::Rect{0, 0, 1200, 800}, draw::Rgb(255, 255, 255));
    pane.Render(dc, draw::Rect{0, 0, 1200, 800});
    benchmark::DoNotOptimize(image.GetPixel(600, 400));
  }
}
BENCHMARK(BM_EpochMoveAndRedraw)->Unit(benchmark::kMillisecond);

void BM_AverageOutputDay(benchmark::State& state) {
  CQLM2_AnalyzerDoc doc;
  Attach(doc);
  doc.Params.fftPageSelection.flags = {};
  doc.Params.fftPageSelection.flags[0] = 1;
  const int epochs = doc.RecordSeconds / EpochSeconds;
  const FFTPageParam& fp = doc.Params.fftPage;
  const int bins = static_cast<int>(fp.epochFftPoints / 2 + 1);
  for (auto _ : state) {
    doc.CurrentPage = 0;
    doc.CurrentEpoch = 0;
    doc.SetPageData();
    const int perDivision = 900;
    const int divisions = ffttext::DivisionCount(epochs, perDivision);
    const std::vector<int> codes = ffttext::StageRowCodes(0, 0);
    std::vector<ffttext::DivisionTable> rows(codes.size());
    for (auto& t : rows) t.Reset(divisions, bins);
    ffttext::DivisionTable all;
    all.Reset(divisions, bins);
    for (int e = 0; e < epochs; ++e) {
      if (e > 0) StepEpoch(doc);
      const EpochSpectrum& s = doc.EpochSpectra.channels[0];
      const int division = e / perDivision;
      const int code = doc.EpochTables.GetStage(0, e, 0);
      const int row = ffttext::StageRow(0, code);
      if (row >= 0) {
        if (code >= 20) ++rows[static_cast<std::size_t>(row)].rejected[static_cast<std::size_t>(division)];
        else rows[static_cast<std::size_t>(row)].Add(division, s.values);
      }
      all.Add(division, s.values);
    }
    ffttext::AverageLayout layout;
    layout.fp = &fp;
    layout.bins = ffttext::BinsOf(kRate, static_cast<int>(fp.epochFftPoints), fp.epochUpperHz, bins);
    layout.unit = "uV";
    layout.divisions = divisions;
    std::vector<ffttext::StageTable> tables;
    for (std::size_t r = 0; r < rows.size(); ++r) tables.push_back({"S" + std::to_string(r), &rows[r]});
    const std::string text = ffttext::PerStageText(layout, tables) + ffttext::AllEpochText(layout, all);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_AverageOutputDay)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
