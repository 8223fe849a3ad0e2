// The divided-page spectrum pane under each raw row: per channel slot, one bar spectrum per
// division of the row's page, with the band side graph and the cursor readout.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_page_geometry.h"
#include "app/frame/main_frame.h"
#include "platform/draw/dc.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "platform/ui/splitter.h"

namespace {

// Readout position within a division, shared by the five rows (-1 none).
int sCursorOffset = -1;
constexpr int kSpectrumSlots = 3;
// The pane's popup menu: "Select Channels..." (page-FFT settings) and "Scale..." (FFT scale).
constexpr std::uint32_t kSpectrumPopupMenu = 2401;

// Divisions of a page: one per epoch, or the fixed division count.
int DivisionCount(const FFTPageParam& fp) {
  if (fp.dividedPerEpoch != 0) return EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0;
  return fp.dividedCount;
}

constexpr draw::ColorRef kBlack = draw::Rgb(0, 0, 0);

draw::ColorRef BackgroundColour() { return DisplayColors[0]; }
draw::ColorRef GridColour() { return DisplayColors[2]; }

struct SlotScales {
  double bars = 0.0;
  double side = 0.0;
};

// Colour of a frequency: the first band holding it, else the colour outside the bands.
draw::ColorRef BandColour(const FFTPageParam& fp, double hz) {
  const int bands = std::min<int>(fp.bandCount, static_cast<int>(fp.bands.size()));
  for (int b = 0; b < bands; ++b) {
    if (fp.bands[b].fromHz <= hz && hz < fp.bands[b].toHz) return fp.bandColours[b];
  }
  return fp.outsideColour;
}

void Bar(draw::Dc& dc, draw::Rect r, draw::ColorRef colour) {
  r = rawpage::ClampRectToShort(r);
  if (r.Width() >= 5) {
    const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
    const draw::Brush oldBrush = dc.SelectBrush(draw::Brush::Solid(colour));
    dc.Rectangle(r);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
  } else {
    dc.FillSolidRect(r, colour);
  }
}

}  // namespace

const CQLM2_AnalyzerDoc* LyrFFTDiviedPageView::Doc() const {
  return dynamic_cast<const CQLM2_AnalyzerDoc*>(GetDocument());
}

bool LyrFFTDiviedPageView::HasPage() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr && rowIndex_ >= 0 && rowIndex_ < 5 && !doc->RecordInfo.pageBuffers[rowIndex_].empty();
}

void LyrFFTDiviedPageView::InitReadXY(int width) {
  readWidth_ = std::max(width, 0) + 1;
  readBins_.assign(static_cast<std::size_t>(readWidth_), 0);
  for (auto& v : readValues_) v.assign(static_cast<std::size_t>(readWidth_), 0.0f);
}

void LyrFFTDiviedPageView::OnSize(std::uint32_t, int cx, int) { InitReadXY(cx); }

int LyrFFTDiviedPageView::CursorOffset() { return sCursorOffset; }

int LyrFFTDiviedPageView::ReadBin(int x) const {
  return x >= 0 && x < static_cast<int>(readBins_.size()) ? readBins_[static_cast<std::size_t>(x)] : -1;
}

float LyrFFTDiviedPageView::ReadValue(int slot, int x) const {
  if (slot < 0 || slot >= 3 || x < 0 || x >= static_cast<int>(readValues_[slot].size())) return 0.0f;
  return readValues_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(x)];
}

void LyrFFTDiviedPageView::OnDraw(draw::Dc& dc) {
  const ui::Rect client = GetClientRect();
  DrawSpectra(dc, client.Width(), client.Height());
}

void LyrFFTDiviedPageView::DrawSpectra(draw::Dc& dc, int w, int h) {
  dc.FillSolidRect(draw::Rect{0, 0, w, h}, BackgroundColour());
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || !HasPage() || w <= 0 || h <= 0) return;
  const FFTPageParam& fp = doc->Params.fftPage;
  const DividedPageSpectra& spectra = doc->DividedSpectra;
  const int divisions = DivisionCount(fp);
  const auto& channels = doc->Params.fftPageChannels.channels;
  const int channelCount = std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));
  std::vector<int> used;
  for (int s = 0; s < kSpectrumSlots; ++s) {
    if (channels[s] >= 0 && channels[s] < channelCount) used.push_back(s);
  }
  const int k = static_cast<int>(used.size());
  if (k == 0 || divisions <= 0) return;  // no cell geometry: nothing to draw
  if (readWidth_ != w + 1) InitReadXY(w);
  const int points = static_cast<int>(fp.dividedFftPoints);
  const int bins = points / 2 + 1;
  const bool side = fp.showContent != 0;
  const bool fixedScale = doc->Params.fftPageChannelValues.word != 0;

  for (int j = 0; j < k; ++j) {
    const int slot = used[j];
    const LyrChInfo& ch = doc->ChInfo[channels[slot]];
    const std::vector<float>& values = spectra.slots[static_cast<std::size_t>(rowIndex_)][static_cast<std::size_t>(slot)];
    const double rate = ch.rate;
    const double maxHz = std::min<double>(fp.dividedUpperHz, rate / 2.0);
    const int nb = rawpage::ShownBins(maxHz, rate, points);
    const double df = points > 0 ? rate / points : 0.0;
    const int available = std::min(divisions, static_cast<int>(values.size()) / std::max(bins, 1));

    // Band sums of one division for the side graph.
    auto bandSums = [&](int i) {
      std::vector<double> sums(std::min<std::size_t>(fp.bandCount, fp.bands.size()), 0.0);
      double total = 0.0;
      for (int b = 0; b < bins; ++b) {
        const double f = b * df;
        const double v = values[static_cast<std::size_t>(i) * bins + b];
        for (std::size_t q = 0; q < sums.size(); ++q) {
          if (fp.bands[q].fromHz <= f && f < fp.bands[q].toHz) sums[q] += v;
        }
        if (fp.contentFromHz <= f && f < fp.contentToHz) total += v;
      }
      if (fp.contentMode == 1 && total != 0.0) {
        for (auto& s : sums) s = s / total * 100.0;
      }
      return sums;
    };

    // Scales: fixed maxima per channel, or the largest value shown in the row.
    SlotScales scales;
    const auto cell0 = rawpage::SpectrumCell(w, h, j, k, 0, divisions);  // k and divisions above 0
    const int cellHeight = cell0->bottom - cell0->top;
    double barMax = 0.0;
    double sideMax = 0.0;
    if (fixedScale) {
      barMax = doc->Params.fftPageChannelValues.lower[static_cast<std::size_t>(channels[slot])];
      sideMax = doc->Params.fftPageChannelValues.upper[static_cast<std::size_t>(channels[slot])];
    } else {
      for (int i = 0; i < available; ++i) {
        for (int b = 0; b < nb; ++b) barMax = std::max<double>(barMax, values[static_cast<std::size_t>(i) * bins + b]);
        if (side) {
          for (double s : bandSums(i)) sideMax = std::max(sideMax, s);
        }
      }
    }
    const auto barScale = rawpage::BarScale(cellHeight, barMax);
    const auto sideScale = rawpage::BarScale(cellHeight, sideMax);
    scales.bars = barScale.value_or(0.0);
    scales.side = sideScale.value_or(0.0);

    for (int i = 0; i < divisions; ++i) {
      const draw::Rect cell = *rawpage::SpectrumCell(w, h, j, k, i, divisions);
      draw::Rect spec = cell;
      if (side) spec.right = cell.left + (cell.right - cell.left) * 7 / 10;
      // 5 Hz grid.
      const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_DOT, 1, GridColour()});
      if (maxHz > 0.0) {
        const double step = (spec.right - spec.left) * 5.0 / maxHz;
        for (double x = spec.left + step; step >= 1.0 && x <= spec.right; x += step) {
          dc.MoveTo(static_cast<int>(x), spec.bottom);
          dc.LineTo(static_cast<int>(x), spec.top);
        }
      }
      dc.SelectPen(oldPen);
      if (i >= available || nb <= 0) continue;
      dc.SaveDC();
      dc.IntersectClipRect(cell);
      const double inner = (spec.right - 1) - (spec.left + 1);
      for (int b = 0; b < nb; ++b) {
        const float v = values[static_cast<std::size_t>(i) * bins + b];
        const int left = spec.left + 1 + static_cast<int>(inner * b / nb);
        const int right = spec.left + 1 + static_cast<int>(inner * (b + 1) / nb);
        if (barScale) {
          const int top = spec.bottom - static_cast<int>(std::clamp(v * scales.bars, -1.0e6, 1.0e6));
          Bar(dc, draw::Rect{left, top, right, spec.bottom}, BandColour(fp, b * df));
        }
        for (int x = std::max(left, 0); x < right && x < readWidth_; ++x) {
          if (j == 0) readBins_[static_cast<std::size_t>(x)] = b;
          readValues_[static_cast<std::size_t>(j)][static_cast<std::size_t>(x)] = v;
        }
      }
      if (side && sideScale) {
        const draw::Rect sideCell{spec.right, cell.top, cell.right, cell.bottom};
        const std::vector<double> sums = bandSums(i);
        const int n = static_cast<int>(sums.size());
        const draw::ColorRef oldText = dc.SetTextColor(kBlack);
        const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
        for (int q = 0; q < n; ++q) {
          const int left = sideCell.left + (sideCell.right - sideCell.left) * q / n;
          const int right = sideCell.left + (sideCell.right - sideCell.left) * (q + 1) / n;
          const int top = sideCell.bottom - static_cast<int>(std::clamp(sums[q] * scales.side, -1.0e6, 1.0e6));
          Bar(dc, draw::Rect{left, top, right, sideCell.bottom}, fp.bandColours[static_cast<std::size_t>(q)]);
          char text[64];
          if (fp.contentMode == 1) {
            std::snprintf(text, sizeof text, " %.1f%%", sums[q]);
          } else if (fp.unit != 0) {
            std::snprintf(text, sizeof text, " %.1f%s", sums[q], ch.unit.c_str());
          } else {
            std::snprintf(text, sizeof text, " %.1f%s^2", sums[q], ch.unit.c_str());
          }
          dc.TextOut(left + 2, std::max(sideCell.top, top - dc.GetTextExtent("M").cy), text);
        }
        dc.SetBkMode(oldMode);
        dc.SetTextColor(oldText);
      }
      // Readout: the same place in every division of every row.
      if (fp.dividedShowValues != 0 && sCursorOffset >= 0 && cell.left + sCursorOffset < cell.right) {
        const int x = cell.left + sCursorOffset;
        const int rx = std::min(x, readWidth_ - 1);
        const draw::Pen oldLine = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
        dc.MoveTo(x, cell.top);
        dc.LineTo(x, cell.bottom);
        dc.SelectPen(oldLine);
        char text[96];
        std::snprintf(text, sizeof text, "%7.3fHz ", readBins_[static_cast<std::size_t>(rx)] * df);
        std::string readout = text;
        std::snprintf(text, sizeof text, fp.unit != 0 ? "%9.3f%s" : "%9.3f%s^2",
                      readValues_[static_cast<std::size_t>(j)][static_cast<std::size_t>(rx)], ch.unit.c_str());
        readout += text;
        const draw::Font oldReadFont = dc.SelectFont(draw::Font(DisplayFonts[1]));
        const draw::ColorRef oldText = dc.SetTextColor(kBlack);
        const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
        const int height = dc.GetTextExtent(readout).cy;
        dc.TextOut(cell.left + 2, cell.top + height, readout);
        dc.SetBkMode(oldMode);
        dc.SetTextColor(oldText);
        dc.SelectFont(oldReadFont);
      }
      dc.RestoreDC(-1);
    }
    // Channel name at the slot's top left.
    const draw::Font oldFont = dc.SelectFont(draw::Font(DisplayFonts[2]));
    const draw::ColorRef oldText = dc.SetTextColor(ch.colour);
    const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
    dc.TextOut(5, cell0->top, ch.name);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldText);
    dc.SelectFont(oldFont);
  }
}

int LyrFFTDiviedPageView::SetCursorReadout(int x) {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || !HasPage() || x < 0 || x >= readWidth_) return -1;
  const int divisions = DivisionCount(doc->Params.fftPage);
  if (divisions <= 0) return -1;
  const int w = readWidth_ - 1;
  int division = 0;
  while (division + 1 < divisions && x >= w * (division + 1) / divisions) ++division;
  sCursorOffset = x - w * division / divisions;
  return sCursorOffset;
}

void LyrFFTDiviedPageView::OnMouseMove(std::uint32_t, ui::Point client) {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || doc->Params.fftPage.dividedShowValues == 0) return;
  if (SetCursorReadout(client.x) < 0) return;
  // Every row's pane shows the readout at the same place.
  for (ui::Window* w = GetParent(); w != nullptr; w = w->GetParent()) {
    if (auto* host = dynamic_cast<LyrRawDummyView*>(w)) {
      for (int r = 0; r < LyrRawDummyView::kRows; ++r) {
        LyrRawFrame* frame = host->Row(r);
        if (frame != nullptr && frame->FftView() != nullptr) frame->FftView()->Invalidate(false);
      }
      return;
    }
  }
  Invalidate(false);
}

void LyrFFTDiviedPageView::OnRButtonUp(std::uint32_t, ui::Point client) { TrackSpectrumMenu(ClientToScreen(client)); }

std::uint32_t LyrFFTDiviedPageView::TrackSpectrumMenu(ui::Point screen) {
  std::unique_ptr<ui::Menu> menu = ui::Menu::Load(kSpectrumPopupMenu);
  if (!menu || menu->GetItemCount() == 0) return 0;
  ui::Menu* popup = menu->GetSubMenu(0) != nullptr ? menu->GetSubMenu(0) : menu.get();
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  ui::Window* target = frame != nullptr ? static_cast<ui::Window*>(frame) : this;
  const std::uint32_t chosen = ui::TrackPopupMenu(*popup, {screen.x, screen.y}, target, ui::TPM_RETURNCMD);
  if (chosen != 0 && frame != nullptr) frame->SendMessage(ui::WM_COMMAND, chosen, 0);
  return chosen;
}
