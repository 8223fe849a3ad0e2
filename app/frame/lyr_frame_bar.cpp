#include "app/frame/lyr_frame_bar.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <thread>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/raw/lyr_raw_dlg_epoch.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/ui/messages.h"

bool TzrCInitDialogBar::Create(ui::Frame* frame, int templateId, int barId) {
  if (!CreateBar(frame, templateId, barId)) return false;
  return OnInitDialogBarStep();
}

const std::vector<GainChoice>& GainChoices() {
  // x1/3 is stored as 0.3, as the settings files of earlier versions hold it.
  static const std::vector<GainChoice> table = {{"x10", 10.0}, {"x5", 5.0},    {"x3", 3.0},
                                                {"x2", 2.0},   {"x1", 1.0},    {"x1/2", 0.5},
                                                {"x1/3", 0.3}, {"x1/5", 0.2},  {"x1/10", 0.1}};
  return table;
}

std::vector<PageChoice> PageChoicesForEpoch(std::int32_t epochSeconds) {
  static const std::vector<std::pair<int, std::vector<int>>> tables = {
      {4, {4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56, 60, 180, 300, 600, 720, 900, 1200}},
      {5, {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 180, 300, 600, 720, 900, 1200}},
      {8, {8, 16, 24, 32, 40, 48, 56, 120, 240, 600, 1200}},
      {10, {10, 20, 30, 40, 50, 60, 180, 300, 600, 720, 900, 1200}},
      {12, {12, 24, 36, 48, 60, 180, 300, 600, 720, 900, 1200}},
      {15, {15, 30, 45, 60, 180, 300, 600, 720, 900, 1200}},
      {20, {20, 40, 60, 180, 300, 600, 720, 900, 1200}},
      {30, {30, 60, 180, 300, 600, 720, 900, 1200}},
      {60, {60, 180, 300, 600, 720, 900, 1200}},
  };
  std::vector<PageChoice> rows;
  for (const auto& [epoch, pages] : tables) {
    if (epoch != epochSeconds) continue;
    for (int s : pages) {
      char label[16];
      if (s < 60) std::snprintf(label, sizeof label, "%2dsec.", s);
      else std::snprintf(label, sizeof label, "%2dmin.", s / 60);
      rows.push_back({label, s});
    }
    rows.push_back({"Free", -1});
  }
  return rows;
}

void PaintEpochStrip(draw::Dc& dc, const ui::Rect& client, std::int32_t epoch, std::int32_t epochCount,
                     const std::vector<std::int32_t>& eventPositions, double samplesPerSecond,
                     std::int32_t epochSeconds, const EpochStripLook& look) {
  const int w = client.Width();
  const int h = client.Height();
  dc.FillSolidRect(client, look.background);
  if (epochCount <= 0 || w <= 0) return;
  int x0 = static_cast<int>(static_cast<std::int64_t>(w) * epoch / epochCount);
  int x1 = static_cast<int>(static_cast<std::int64_t>(w) * (epoch + 1) / epochCount);
  if (x1 == x0) ++x1;
  dc.FillSolidRect(ui::Rect{client.left + x0, client.top, client.left + x1, client.top + h - 3}, look.currentEpoch);
  const double span = static_cast<double>(epochCount) * samplesPerSecond * epochSeconds;
  if (span <= 0.0) return;
  for (const std::int32_t position : eventPositions) {
    const int x = static_cast<int>(w * static_cast<double>(position) / span);
    if (x < 0 || x >= w) continue;
    dc.FillSolidRect(ui::Rect{client.left + x, client.top, client.left + x + 1, client.top + h}, look.event);
  }
}

void PaintCurrentStageFrame(draw::Dc& dc, const ui::Rect& client, std::uint32_t colour) {
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 3, colour});
  const int l = client.left + 2;
  const int t = client.top + 2;
  const int r = client.right - 2;
  const int b = client.bottom - 2;
  dc.MoveTo(l, t);
  dc.LineTo(l, b);
  dc.LineTo(r, b);
  dc.LineTo(r, t);
  dc.LineTo(l, t);
  dc.SelectPen(old);
}

CQLM2_AnalyzerDoc* LyrFrameBar::Document() const {
  return (frame_ != nullptr && DocumentLoaded != 0) ? frame_->GetDocument() : nullptr;
}

bool LyrFrameBar::OnInitDialogBarStep() {
  MapNotify(kGainCombo, ui::CBN_SELCHANGE, [this] { OnGainChanged(); });
  MapNotify(kShowTypeCombo, ui::CBN_SELCHANGE, [this] { OnShowTypeChanged(); });
  MapNotify(kPageCombo, ui::CBN_SELCHANGE, [this] { OnPageChanged(); });
  for (int combo : {kGainCombo, kShowTypeCombo, kPageCombo})
    MapNotify(static_cast<std::uint32_t>(combo), ui::CBN_CLOSEUP, [this] { GiveFocusBack(); });
  MapNotify(kSlider, ui::TB_THUMBTRACK, [this] { OnSliderScroll(ui::TB_THUMBTRACK, Item(kSlider).GetPos()); });
  MapNotify(kSlider, ui::TB_ENDTRACK, [this] { OnSliderScroll(ui::TB_ENDTRACK, Item(kSlider).GetPos()); });
  Item(kEpochStrip).SetOverlayPainter([this](draw::Dc& dc, const ui::Rect& client) {
    CQLM2_AnalyzerDoc* doc = Document();
    const EpochStripLook look{DisplayColors[0], DisplayColors[1], DisplayColors[3]};
    if (doc == nullptr || stripEpoch_ < 0) {
      dc.FillSolidRect(client, look.background);
      return;
    }
    std::vector<std::int32_t> events;
    events.reserve(doc->Events.size());
    for (const auto& e : doc->Events) events.push_back(e.position);
    double rate = doc->EventRate;
    if (rate <= 0.0 && doc->RecordInfo.channelCount > 0) rate = doc->ChInfo[0].rate;
    PaintEpochStrip(dc, client, stripEpoch_, NavEpochCount(*doc), events, rate, EpochSeconds, look);
  });
  // The frame around the current epoch's stage button is drawn on the button itself:
  // the bar's row layout gives the static no room around it.
  ShowItem(kCurrentFrame, false);
  Item(kFirstStageButton + 5).SetOverlayPainter([](draw::Dc& dc, const ui::Rect& client) {
    PaintCurrentStageFrame(dc, client, DisplayColors[1]);
  });
  FillGainCombo();
  Item(kPageCombo).ResetContent();
  Item(kShowTypeCombo).ResetContent();
  Item(kSlider).SetRange(0, 10000);
  Item(kSlider).SetPageSize(500);
  return true;
}

bool LyrFrameBar::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  return TzrCInitDialogBar::OnCommand(wParam, lParam);
}

void LyrFrameBar::FillGainCombo() {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr) return;
  // One gain shared by every shown channel selects its row.
  bool same = true;
  bool any = false;
  double gain = 0.0;
  for (int c = 0; c < doc->RecordInfo.channelCount && c < static_cast<int>(doc->ChInfo.size()); ++c) {
    if (doc->ChInfo[c].show == 0) continue;
    if (!any) gain = doc->ChInfo[c].gain;
    else if (doc->ChInfo[c].gain != gain) same = false;
    any = true;
  }
  ui::Control combo = Item(kGainCombo);
  combo.ResetContent();
  int selected = -1;
  const auto& table = GainChoices();
  for (std::size_t i = 0; i < table.size(); ++i) {
    combo.AddString(table[i].label);
    if (any && same && table[i].gain == gain) selected = static_cast<int>(i);
  }
  combo.SetCurSel(selected);
}

void LyrFrameBar::FillPageCombo() {
  if (Document() == nullptr) return;
  ui::Control combo = Item(kPageCombo);
  combo.ResetContent();
  int selected = -1;
  const std::vector<PageChoice> rows = PageChoicesForEpoch(EpochSeconds);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    combo.AddString(rows[i].label);
    if (rows[i].seconds == PageSeconds) selected = static_cast<int>(i);
  }
  combo.SetCurSel(selected);
}

void LyrFrameBar::FillShowTypeCombo() {
  if (Document() == nullptr) return;
  ui::Control combo = Item(kShowTypeCombo);
  combo.ResetContent();
  const int count = std::clamp<int>(ShowTypeSets.count, 0, kMaxShowTypes);
  for (int i = 0; i < count; ++i) combo.AddString(ShowTypeSets.names[static_cast<std::size_t>(i)]);
  combo.SetCurSel(ShowTypeIndex >= 0 && ShowTypeIndex < count ? ShowTypeIndex : -1);
}

void LyrFrameBar::EnableCombos(bool enable) {
  for (int id : {kShowTypeCombo, kGainCombo, kPageCombo}) EnableItem(id, enable);
}

namespace {

// Display name of a stage code under the stage type's record set.
std::string StageButtonText(const StageTypeParam& block, std::uint8_t code) {
  if (code == 0 || code == 20) return "-";
  const std::uint8_t base = code > 20 ? static_cast<std::uint8_t>(code - 20) : code;
  if (base >= 8 && base <= 10) return block.shared[static_cast<std::size_t>(base - 8)].name;
  static constexpr std::uint8_t kCodes[4][7] = {
      {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 7, 0}, {1, 2, 3, 5, 7, 0, 0}, {1, 2, 3, 7, 0, 0, 0}};
  const int type = block.stageType <= 2 ? block.stageType : 3;
  const auto records = block.Set(type);
  for (std::size_t i = 0; i < records.size(); ++i)
    if (kCodes[type][i] == base) return records[i].name;
  return "-";
}

}  // namespace

void LyrFrameBar::UpdateTimeTexts(std::int32_t epoch) {
  if (Document() == nullptr) return;
  DrawEpochStrip(epoch);
  UpdateStageButtons(epoch);
  SetDlgItemText(kEpochNumber, std::to_string(epoch));
  SetDlgItemText(kHours, PageSeconds > 1200 ? std::to_string(PageSeconds / 3600) : std::string());
  // The document's label: elapsed time, or clock time when the display option asks for it.
  std::string label;
  Document()->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  SetDlgItemText(kTimeLabel, label);
}

void LyrFrameBar::SetSliderPos(std::int32_t epoch) {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr) return;
  const int n = NavEpochCount(*doc);
  if (n <= 0) return;
  Item(kSlider).SetPos(static_cast<int>(epoch * (10000.0 / n)));
}

void LyrFrameBar::UpdateStageButtons(std::int32_t epoch) {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr) return;
  const int n = NavEpochCount(*doc);
  for (int k = -5; k <= 5; ++k) {
    const int e = epoch + k;
    std::string text = " ";
    if (e >= 0 && e < n) {
      const std::uint8_t code = doc->EpochTables.GetStage(doc->Params.stageType.stageType, e, 0);
      text = StageButtonText(doc->Params.stageType, code);
    }
    SetDlgItemText(kFirstStageButton + 5 + k, text);
  }
}

void LyrFrameBar::DrawEpochStrip(std::int32_t epoch) {
  stripEpoch_ = epoch;
  Item(kEpochStrip).Invalidate();
}

void LyrFrameBar::SetAutoScrollText(const std::string& text) {
  SetDlgItemText(kAutoScroll, text);
  EnableItem(kAutoScroll, true);
}

std::int32_t LyrFrameBar::GetSelectedPageSeconds() {
  if (Document() == nullptr) return -1;
  const int sel = Item(kPageCombo).GetCurSel();
  if (sel < 0) return -1;
  const std::vector<PageChoice> rows = PageChoicesForEpoch(EpochSeconds);
  if (sel >= static_cast<int>(rows.size())) return -1;
  if (rows[static_cast<std::size_t>(sel)].seconds != -1) return rows[static_cast<std::size_t>(sel)].seconds;
  LyrRawDlgFreePage dlg(Document(), frame_);
  return dlg.DoModal() == ui::IDOK ? dlg.PageSecondsResult : -1;
}

void LyrFrameBar::OnGainChanged() {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr || ScreeningRunning == 1) return;
  const int sel = Item(kGainCombo).GetCurSel();
  const auto& table = GainChoices();
  if (sel >= 0 && sel < static_cast<int>(table.size())) {
    for (auto& ch : doc->ChInfo) ch.gain = table[static_cast<std::size_t>(sel)].gain;
    frame_->RefreshAllViews(-1);
  }
  GiveFocusBack();
}

void LyrFrameBar::OnShowTypeChanged() {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr || ScreeningRunning == 1) return;
  const int sel = Item(kShowTypeCombo).GetCurSel();
  if (sel >= 0 && sel < kMaxShowTypes && sel != ShowTypeIndex) {
    for (std::size_t c = 0; c < doc->ChInfo.size(); ++c)
      doc->ChInfo[c].show = ShowTypeSets.flags[static_cast<std::size_t>(sel)][c];
    ShowTypeIndex = static_cast<std::int16_t>(sel);
    frame_->RefreshAllViews(-1);
    FillGainCombo();
  }
  GiveFocusBack();
}

void LyrFrameBar::OnPageChanged() {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr || ScreeningRunning == 1) return;
  std::int32_t seconds = GetSelectedPageSeconds();
  // A failed refill asks again: a fixed row then equals PageSeconds and stops,
  // "Free" opens its dialog once more.
  while (seconds != -1 && seconds != PageSeconds) {
    PageSeconds = seconds;
    doc->CurrentPage = PageSeconds > 0 ? EpochSeconds * doc->CurrentEpoch / PageSeconds : 0;
    if (doc->SetPageData() == 0) {
      frame_->RefreshAllViews(-1);
      UpdateTimeTexts(doc->CurrentEpoch);
      frame_->RedrawRawFrames(-1);
      break;
    }
    seconds = GetSelectedPageSeconds();
  }
  GiveFocusBack();
}

void LyrFrameBar::OnSliderScroll(int code, int position) {
  CQLM2_AnalyzerDoc* doc = Document();
  if (doc == nullptr || ScreeningRunning == 1 || ScrollDirection != 0) return;
  const int n = NavEpochCount(*doc);
  if (n <= 0) return;
  int e = static_cast<int>(position * n * 0.0001);
  if (e > n - 1) e = n - 1;
  if (code == ui::TB_THUMBTRACK) {
    UpdateTimeTexts(e);
    return;
  }
  // Released (or paged): the page follows the thumb.
  UpdateTimeTexts(e);
  frame_->JumpToEpoch(e, 1);
  if (SliderPauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(SliderPauseMs));
}

void LyrFrameBar::GiveFocusBack() {
  if (frame_ != nullptr) {
    frame_->ActivateFrame();
    frame_->SetFocus();
  }
}
