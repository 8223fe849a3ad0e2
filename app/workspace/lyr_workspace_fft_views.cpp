#include "app/workspace/lyr_workspace_fft_views.h"

#include <algorithm>
#include <climits>
#include <new>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_dlg_fft.h"
#include "app/workspace/lyr_workspace_dlg_text_out_fft.h"
#include "app/workspace/spectrum_rows.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

namespace {

int ChannelCount(const CQLM2_AnalyzerDoc& doc) { return std::clamp(doc.RecordInfo.channelCount, 0, 32); }

double RateOf(const CQLM2_AnalyzerDoc& doc, int channel) {
  return channel >= 0 && channel < 32 ? doc.ChInfo[static_cast<std::size_t>(channel)].rate : 0.0;
}

}  // namespace

CQLM2_AnalyzerDoc* LyrWorkspaceSpectrumPane::Doc() const {
  return m_pDoc != nullptr ? m_pDoc : dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
}

int LyrWorkspaceSpectrumPane::GetShownChannelCount() const { return static_cast<int>(Rows().size()); }

void LyrWorkspaceSpectrumPane::InitReadXY(int width) {
  BinPerColumn.clear();
  ValuePerColumn.clear();
  ReadWidth = 0;
  ReadCount = 0;
  if (width <= 1) return;
  const int rows = std::max(GetShownChannelCount(), 1);
  try {
    BinPerColumn.assign(static_cast<std::size_t>(width), 0);
    ValuePerColumn.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0.0f);
    ReadWidth = width;
    ReadCount = width * rows;
  } catch (const std::bad_alloc&) {
    BinPerColumn.clear();
    ValuePerColumn.clear();
    ui::MessageBox(AllocFailure());
  }
}

void LyrWorkspaceSpectrumPane::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  Render(dc, draw::Rect{0, 0, r.Width(), r.Height()});
}

void LyrWorkspaceSpectrumPane::Render(draw::Dc& dc, const draw::Rect& client) {
  client_ = client;
  rows_.clear();
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || DocumentLoaded == 0) return;
  std::vector<Row> rows = Rows();
  if (std::none_of(rows.begin(), rows.end(), [](const Row& row) { return !row.values.empty(); })) return;
  rows_ = std::move(rows);
  const FFTPageParam& fp = doc->Params.fftPage;
  const FFTPageChannelValues& scale = doc->Params.fftPageChannelValues;
  const bool bandBars = fp.showContent != 0;
  const bool percentage = fp.contentMode != 0;
  const int n = static_cast<int>(rows_.size());
  const int points = Points();
  const double range = RangeHz();
  axis_ = spectrum::AxisStrip(dc);
  auto layout = [&](int r) { return spectrum::RowLayout(client, axis_, n, r, bandBars); };

  for (int r = 0; r < n; ++r) spectrum::DrawGrid(dc, layout(r).spectrum, range, RateOf(*doc, rows_[static_cast<std::size_t>(r)].channel));

  // Scales: spectrum maximum and the two gains of each row.
  const spectrum::RowRects first = layout(0);
  const double h0 = first.spectrum.bottom - first.spectrum.top;
  std::vector<spectrum::Maxima> own(rows_.size());
  spectrum::Maxima common{-3.4028235e38, -3.4028234663852886e38};
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].values.empty()) continue;
    const double rate = RateOf(*doc, rows_[r].channel);
    own[r] = spectrum::RowMaxima(fp, rows_[r].values, points, points > 0 ? rate / points : 0.0,
                                 spectrum::ShownBins(range, rate, points));
    common.spectrum = std::max(common.spectrum, own[r].spectrum);
    common.content = std::max(common.content, own[r].content);
  }
  std::vector<double> maxima(rows_.size(), 0.0), gains(rows_.size(), 0.0), contentGains(rows_.size(), 0.0);
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const int c = std::clamp(rows_[r].channel, 0, 31);
    spectrum::Maxima m = own[r];
    if (scale.word == 2) m = {scale.lower[static_cast<std::size_t>(c)], scale.upper[static_cast<std::size_t>(c)]};
    else if (scale.word == 0 && CommonScale()) m = common;
    maxima[r] = m.spectrum;
    gains[r] = spectrum::GainFor(h0, m.spectrum);
    contentGains[r] = percentage ? 0.009 * h0 : spectrum::GainFor(h0, m.content);
  }

  const int width0 = first.spectrum.right - first.spectrum.left + 1;
  if (BinPerColumn.empty() || ReadWidth == 0 || ReadWidth != width0) InitReadXY(width0);

  try {
    int next = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      const Row& row = rows_[r];
      if (row.values.empty()) continue;
      const spectrum::RowRects rr = layout(next);
      const double rate = RateOf(*doc, row.channel);
      std::span<int> bins = next == 0 ? std::span<int>(BinPerColumn) : std::span<int>();
      std::span<float> values;
      const std::size_t from = static_cast<std::size_t>(ReadWidth) * static_cast<std::size_t>(next);
      if (from + static_cast<std::size_t>(ReadWidth) <= ValuePerColumn.size())
        values = std::span<float>(ValuePerColumn).subspan(from, static_cast<std::size_t>(ReadWidth));
      spectrum::DrawBars(dc, rr.spectrum, fp, {row.values, points, rate, range, gains[r]}, bins, values);
      if (bandBars) {
        const auto sums = spectrum::BandSums(fp, row.values, points, points > 0 ? rate / points : 0.0, INT_MAX, percentage);
        spectrum::DrawBandBars(dc, rr.band, fp, sums, contentGains[r], doc->ChInfo[static_cast<std::size_t>(row.channel)].unit);
      }
      ++next;
    }
  } catch (const std::exception&) {
    ui::MessageBox(DrawFailure());
  }

  for (int r = 0; r < n; ++r) {
    const spectrum::RowRects rr = layout(r);
    const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(std::clamp(rows_[static_cast<std::size_t>(r)].channel, 0, 31))];
    spectrum::DrawFrame(dc, rr, bandBars);
    spectrum::DrawChannelName(dc, rr, ch.name, ch.colour);
    spectrum::DrawScaleLabel(dc, rr, maxima[static_cast<std::size_t>(r)], ch.unit, fp.unit == 0, ch.colour);
  }
  const double rate0 = RateOf(*doc, rows_[0].channel);
  spectrum::DrawFrequencyAxis(dc, layout(n - 1).spectrum,
                              spectrum::AxisEndHz(range, points > 0 ? rate0 / points : 0.0, points));
  CursorX = -1;
}

void LyrWorkspaceSpectrumPane::OnSize(std::uint32_t sizeType, int cx, int cy) {
  LyrWorkspaceEmptyPane::OnSize(sizeType, cx, cy);
  const CQLM2_AnalyzerDoc* doc = Doc();
  const int n = GetShownChannelCount();
  if (doc == nullptr || n == 0) return;
  draw::Image scratch(1, 1, 32);
  draw::Dc dc(scratch);
  const spectrum::RowRects rr =
      spectrum::RowLayout(draw::Rect{0, 0, cx, cy}, spectrum::AxisStrip(dc), n, 0, doc->Params.fftPage.showContent != 0);
  InitReadXY(rr.spectrum.right - rr.spectrum.left + 1);
}

void LyrWorkspaceSpectrumPane::OnMouseMove(std::uint32_t flags, ui::Point point) {
  const int n = static_cast<int>(rows_.size());
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (n > 0 && doc != nullptr) {
    const bool bandBars = doc->Params.fftPage.showContent != 0;
    for (int r = 0; r < n; ++r) {
      const draw::Rect s = spectrum::RowLayout(client_, axis_, n, r, bandBars).spectrum;
      if (point.x >= s.left && point.x < s.right && point.y >= s.top && point.y < s.bottom) {
        ShowReadout(point.x - s.left, point.y);
        CursorX = point.x;
        CursorY = point.y;
        break;
      }
    }
  }
  LyrWorkspaceEmptyPane::OnMouseMove(flags, point);
}

void LyrWorkspaceSpectrumPane::ShowReadout(int offset, int y) {
  (void)y;
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || offset < 0 || offset >= ReadWidth || rows_.empty()) return;
  const FFTPageParam& fp = doc->Params.fftPage;
  const bool bandBars = fp.showContent != 0;
  const int n = static_cast<int>(rows_.size());
  const int points = Points();
  const double df = points > 0 ? RateOf(*doc, rows_[0].channel) / points : 0.0;
  ReadoutTexts.assign(1, spectrum::FrequencyText(BinPerColumn[static_cast<std::size_t>(offset)] * df));
  std::vector<int> drawn;
  for (int r = 0; r < n; ++r)
    if (!rows_[static_cast<std::size_t>(r)].values.empty()) drawn.push_back(r);
  for (std::size_t k = 0; k < drawn.size(); ++k) {
    const std::size_t at = static_cast<std::size_t>(ReadWidth) * k + static_cast<std::size_t>(offset);
    const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(rows_[static_cast<std::size_t>(drawn[k])].channel)];
    ReadoutTexts.push_back(at < static_cast<std::size_t>(ReadCount) && at < ValuePerColumn.size()
                               ? spectrum::ValueText(ValuePerColumn[at], ch.unit, fp.unit == 0)
                               : std::string());
  }
  if (!IsWindow()) return;
  ui::ClientDc client(*this);
  if (!client.IsValid()) return;
  draw::Dc& dc = client.dc();
  const int saved = dc.SaveDC();
  dc.SelectFont(draw::Font(spectrum::LookFont(1)));
  dc.SetBkMode(draw::OPAQUE);
  dc.SetBkColor(spectrum::LookColour(5));
  const draw::Rect last = spectrum::RowLayout(client_, axis_, n, n - 1, bandBars).spectrum;
  const std::string& freq = ReadoutTexts[0];
  dc.SetTextColor(draw::Rgb(0, 0, 0));
  dc.TextOut(last.left + (last.right - dc.GetTextExtent(freq).cx - last.left) / 2, last.bottom + 5, freq);
  for (std::size_t k = 0; k < drawn.size(); ++k) {
    const spectrum::RowRects rr = spectrum::RowLayout(client_, axis_, n, static_cast<int>(k), bandBars);
    const int old = dc.SetROP2(draw::R2_NOT);
    if (CursorX != -1) {
      dc.MoveTo(CursorX, rr.spectrum.top + 1);
      dc.LineTo(CursorX, rr.spectrum.bottom - 1);
    }
    dc.MoveTo(rr.spectrum.left + offset, rr.spectrum.top + 1);
    dc.LineTo(rr.spectrum.left + offset, rr.spectrum.bottom - 1);
    dc.SetROP2(old);
    const std::string& text = ReadoutTexts[k + 1];
    if (text.empty()) continue;
    const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(rows_[static_cast<std::size_t>(drawn[k])].channel)];
    dc.SetTextColor(ch.colour);
    const draw::Size size = dc.GetTextExtent(text);
    dc.TextOut(spectrum::kLabelWidth - size.cx - 5, rr.label.bottom - size.cy - 5, text);
  }
  dc.RestoreDC(saved);
}

// ---- Pane 2 ------------------------------------------------------------------------------------

std::vector<LyrWorkspaceSpectrumPane::Row> LyrWorkspaceFFTSimpleView::Rows() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return {};
  const SimpleSpectrumSet& s = doc->SimpleSpectrum;
  if (s.channel < 0 || s.channel >= ChannelCount(*doc) || s.valueCount <= 0 || s.values.empty()) return {};
  const std::size_t count = std::min(static_cast<std::size_t>(s.valueCount), s.values.size());
  return {Row{s.channel, std::span<const float>(s.values.data(), count)}};
}

int LyrWorkspaceFFTSimpleView::Points() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? static_cast<int>(doc->Params.fftPage.simpleFftPoints) : 0;
}

double LyrWorkspaceFFTSimpleView::RangeHz() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? doc->Params.fftPage.simpleUpperHz : 0.0;
}

// ---- Pane 3 ------------------------------------------------------------------------------------

std::vector<LyrWorkspaceSpectrumPane::Row> LyrWorkspaceFFTEpochView::Rows() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return {};
  std::vector<Row> rows;
  const auto& spectra = doc->EpochSpectra.channels;
  for (int c = 0; c < ChannelCount(*doc); ++c) {
    if (doc->Params.fftPageSelection.flags[static_cast<std::size_t>(c)] == 0) continue;
    Row row{c, {}};
    if (static_cast<std::size_t>(c) < spectra.size()) {
      const EpochSpectrum& s = spectra[static_cast<std::size_t>(c)];
      const std::size_t count = std::min(static_cast<std::size_t>(std::max(s.binCount, 0)), s.values.size());
      if (count > 0) row.values = std::span<const float>(s.values.data(), count);
    }
    rows.push_back(row);
  }
  return rows;
}

int LyrWorkspaceFFTEpochView::Points() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? static_cast<int>(doc->Params.fftPage.epochFftPoints) : 0;
}

double LyrWorkspaceFFTEpochView::RangeHz() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? doc->Params.fftPage.epochUpperHz : 0.0;
}

int LyrWorkspaceFFTEpochView::RunDialog(std::uint32_t command) {
  DialogsRun.push_back(command);
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return ui::IDCANCEL;
  ui::Window* owner = GetTopLevel();
  switch (command) {
    case 32828: return RunFftChannelSelection(doc, 0, owner);
    case 32824: return RunFftChannelSelection(doc, 1, owner);
    case 32826: {
      LyrWorkspaceDlgFFTParameter dlg(doc, owner);
      return dlg.DoModal();
    }
    case 32825: {
      LyrWorkspaceDlgFFTScale dlg(doc, owner);
      return dlg.DoModal();
    }
    case 32846: {
      LyrWorkspaceDlgTextOutAverage dlg(doc, owner);
      dlg.StageMode = WorkspaceSetting != 0 ? 0 : 1;
      dlg.OutputPath = dlg.MakeDefaultFileName();
      dlg.StartEpoch = 0;
      dlg.EndEpoch = std::max(EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) - 1 : 0, 0);
      return dlg.DoModal();
    }
    case 32832: {
      LyrWorkspaceDlgTextOutContinuous dlg(doc, owner);
      dlg.OutputPath = FftOutputDefaultPath(*doc, "_cFFT");
      dlg.StartEpoch = 0;
      dlg.EndEpoch = std::max(EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) - 1 : 0, 0);
      return dlg.DoModal();
    }
    default: return DialogAnswer;
  }
}
