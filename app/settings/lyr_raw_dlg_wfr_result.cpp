#include "app/settings/lyr_raw_dlg_wfr_result.h"

#include <array>
#include <cfloat>
#include <cstdio>
#include <cstring>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/raw/raw_mouse.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"

namespace {

constexpr std::uint32_t kIdsDuration = 2066;
constexpr std::uint32_t kIdsAbsMeanAmp = 2067;
constexpr std::uint32_t kIdsHalfWaveCount = 2068;
constexpr std::uint32_t kIdsMeanFreq = 2069;
constexpr std::uint32_t kIdsMeanVarianceFreq = 2070;
constexpr std::uint32_t kIdsPeakToPeak = 2071;
constexpr std::uint32_t kIdsError = 2072;
constexpr int kMiddleRow = 2;
constexpr int kRows = 5;

struct Held {
  LyrRawDlgWFRResult* dlg = nullptr;
  int index = -1;
};
std::array<Held, kRows> held;

std::string Format2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

bool IsNoValue(float v) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits == 0x7F7FFFFFu;
}

void Destroy(LyrRawDlgWFRResult* dlg, bool later) {
  if (dlg == nullptr) return;
  if (!later) {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
    return;
  }
  // The list may be closing from its own Enter or Esc: it goes once that has returned.
  if (dlg->IsWindow()) dlg->ShowWindow(ui::SW_HIDE);
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

}  // namespace

LyrRawDlgWFRResult::LyrRawDlgWFRResult(CQLM2_AnalyzerDoc* doc, const RecognizedWaveRecord& wave)
    : ui::Dialog(kTemplateId, nullptr), doc_(doc), wave_(wave) {}

std::vector<LyrRawDlgWFRResult::Line> LyrRawDlgWFRResult::Lines(const CQLM2_AnalyzerDoc& doc,
                                                               const RecognizedWaveRecord& wave) {
  std::vector<Line> lines;
  const int type = wave.type;
  if (type < 1 || type > 10) return lines;
  const WaveFormRecognitionParam& p = doc.Params.waveForm;
  using W = WaveFormRecognitionParam;
  static constexpr W::Band kBands[] = {W::kDelta, W::kTheta, W::kAlpha, W::kSpindle, W::kBand1, W::kBand2, W::kBand3};
  std::string name;
  std::int32_t channel = -1;
  if (type <= 7) {
    const BandWaveRecord& b = p.bands[static_cast<std::size_t>(kBands[type - 1])];
    name = b.name;
    channel = b.channel;
  } else if (type == 8) {
    name = p.kComplex.name;
    channel = p.kComplex.channel;
  } else {
    const EogRecord& e = type == 9 ? p.eogRight : p.eogLeft;
    name = e.name;
    channel = e.channel;
  }
  // A wave whose type lost its channel since the page was drawn has no unit and no time.
  const bool hasChannel = channel >= 0 && channel < doc.RecordInfo.channelCount &&
                          channel < static_cast<std::int32_t>(doc.ChInfo.size());
  std::string time;
  std::string unit;
  if (hasChannel) {
    const_cast<CQLM2_AnalyzerDoc&>(doc).GetSampleTimeString(wave.startSample, static_cast<unsigned>(channel), time);
    unit = "(" + doc.ChInfo[static_cast<std::size_t>(channel)].unit + ")";
  }
  lines.push_back({name, ""});
  lines.push_back({time, ""});
  lines.push_back({res::LoadString(kIdsDuration), Format2(wave.durationMs)});
  if (type <= 7) {
    lines.push_back({res::LoadString(kIdsAbsMeanAmp) + unit, Format2(wave.meanAmplitude)});
    lines.push_back({res::LoadString(kIdsHalfWaveCount), std::to_string(static_cast<long>(wave.halfWaves))});
    lines.push_back({res::LoadString(kIdsMeanFreq), Format2(wave.meanFrequencyHz)});
    lines.push_back({res::LoadString(kIdsMeanVarianceFreq),
                     IsNoValue(wave.frequencyVariance) ? res::LoadString(kIdsError) : Format2(wave.frequencyVariance)});
  } else {
    lines.push_back({res::LoadString(kIdsPeakToPeak) + unit, Format2(wave.meanAmplitude)});
  }
  return lines;
}

bool LyrRawDlgWFRResult::OnInitDialog() {
  Fill();
  return true;
}

void LyrRawDlgWFRResult::Fill() {
  ui::Control list = Item(kList);
  list.SetFullRowSelect(true);
  list.SetGridLines(true);
  if (list.GetColumnCount() == 0) {
    list.InsertColumn(0, "", 190);  // wider than the 160 of old: a date and time fit
    list.InsertColumn(1, "", 80);
  }
  list.DeleteAllItems();
  if (doc_ == nullptr) return;
  for (const Line& line : Lines(*doc_, wave_)) {
    const int row = list.InsertItem(-1, line.label);
    list.SetItemText(row, 1, line.value);
  }
}

void LyrRawDlgWFRResult::RequestClose() { CloseWFRResultDlg(kMiddleRow); }

LyrRawDlgWFRResult* WFRResultDlg(int row) {
  return row >= 0 && row < kRows ? held[static_cast<std::size_t>(row)].dlg : nullptr;
}

int WFRResultIndex(int row) { return row >= 0 && row < kRows ? held[static_cast<std::size_t>(row)].index : -1; }

int CloseWFRResultDlg(int row) {
  if (row < 0 || row >= kRows) return 0;
  Held& h = held[static_cast<std::size_t>(row)];
  if (h.dlg == nullptr) return 0;
  Destroy(h.dlg, true);
  h = Held{};
  return 1;
}

void CloseAllWFRResultDlgs() {
  for (Held& h : held) {
    Destroy(h.dlg, false);
    h = Held{};
  }
}

bool ShowWFRResultForWave(CQLM2_AnalyzerDoc* doc, int row, const RecognizedWaveRecord* wave, int waveIndex,
                          const draw::Rect& frameOnScreen) {
  if (row < 0 || row >= kRows) return false;
  const bool closed = CloseWFRResultDlg(row) != 0;
  if (wave == nullptr || doc == nullptr) return closed;
  auto* dlg = new LyrRawDlgWFRResult(doc, *wave);
  if (!dlg->CreateModeless(nullptr)) {
    delete dlg;
    return closed;
  }
  const ui::Rect r = dlg->GetWindowRect();
  const draw::Point at = rawmouse::WaveListWindowPos(frameOnScreen, r.Width(), draw::GetScreenMetrics().widthPx);
  dlg->MoveWindow(ui::Rect{at.x, at.y, at.x + r.Width(), at.y + r.Height()});
  dlg->SetTopMost(true);
  held[static_cast<std::size_t>(row)] = Held{dlg, waveIndex};
  return true;
}

void InstallWaveListHook() {
  RawPreview.openWaveList = [](int row, const RecognizedWaveRecord* wave, int index, const draw::Rect& frame) {
    CMainFrame* f = CQLM2_AnalyzerDoc::MainFrame();
    return ShowWFRResultForWave(f != nullptr ? f->GetDocument() : nullptr, row, wave, index, frame);
  };
}
