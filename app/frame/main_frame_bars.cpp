// The frame's three bars along its top edge and the parameter bar's values.
#include <cstdio>
#include <memory>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/oo_toolbar.h"
#include "app/frame/parameter_bar.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_dlg_channel_selection.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kStandardToolBar = 325;
// Icons of the two standard buttons: normal, disabled, hot.
constexpr std::uint32_t kOpenIcons[3] = {330, 329, 331};
constexpr std::uint32_t kResultOpenIcons[3] = {333, 332, 328};

bool IsChannelCode(std::uint16_t code) { return code >= 14 && code <= 32; }
}  // namespace

int CMainFrame::CreateBars() {
  auto standard = std::make_unique<COOIconToolBar>();
  if (!standard->CreateBar(this, ui::AFX_IDW_TOOLBAR) || !standard->LoadToolBar(kStandardToolBar)) return 0;
  standard->AddIcon(kOpenIcons[0], kOpenIcons[1], kOpenIcons[2]);
  standard->AddIcon(kResultOpenIcons[0], kResultOpenIcons[1], kResultOpenIcons[2]);
  standard->SetTitle("Standard tool bar");
  standard->SetDisplayMode(1);
  StandardBar = Adopt(std::move(standard));

  auto epoch = std::make_unique<LyrFrameBar>(this);
  if (!epoch->Create(this, LyrFrameBar::kTemplateId, LyrFrameBar::kBarId)) return -1;
  epoch->SetTitle("Epoch tool Bar");
  EpochBar = Adopt(std::move(epoch));

  auto parameter = std::make_unique<ui::DialogBar>();
  if (!parameter->CreateBar(this, kParameterBarTemplate, kParameterBarId)) return -1;
  parameter->SetTitle("Parameter tool bar");
  ParameterBar = Adopt(std::move(parameter));
  auto* bar = static_cast<ui::DialogBar*>(ParameterBar);
  for (int slot = 0; slot < kParameterBarSlots; ++slot) {
    const auto combo = static_cast<std::uint32_t>(kParameterBarCombo[slot]);
    bar->MapNotify(combo, ui::CBN_SELCHANGE, [this, slot] { OnParameterSelected(slot); });
    bar->MapNotify(combo, ui::CBN_CLOSEUP, [this] { SetFocus(); });
    bar->MapNotify(combo, ui::CBN_DROPDOWN, [this, slot, bar] {
      RefreshParameterComboNames(slot, bar->Item(kParameterBarCombo[slot]));
    });
    // Wave values are underlined in their wave's colour.
    bar->Item(kParameterBarValue[slot]).SetOverlayPainter([this, slot](draw::Dc& dc, const ui::Rect& client) {
      const std::int64_t colour = ParameterUnderline[static_cast<std::size_t>(slot)];
      if (colour < 0) return;
      const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 2, static_cast<draw::ColorRef>(colour)});
      dc.MoveTo(client.left + 1, client.bottom - 2);
      dc.LineTo(client.right - 1, client.bottom - 2);
      dc.SelectPen(old);
    });
  }

  DockControlBar(StandardBar, true);
  DockControlBar(EpochBar, false);
  DockControlBar(ParameterBar, true);
  ShowControlBar(StandardBar, ShowStandardBar != 0, false);
  ShowControlBar(EpochBar, ShowEpochBar != 0, false);
  ShowControlBar(ParameterBar, ShowParameterBar != 0, false);
  AutoScrollText = ">>";
  return 1;
}

std::string CMainFrame::BuildParameterNames(std::uint16_t code) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return {};
  return BuildParameterName(code, doc->Params);
}

std::int64_t CMainFrame::CurrentPageValuesKey() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || DocumentLoaded == 0) return -1;
  return (static_cast<std::int64_t>(doc->CurrentPage) * 100000 + PageSeconds) * 64 + EpochSeconds;
}

void CMainFrame::PageValuesComputed() {
  pageValuesKey_ = CurrentPageValuesKey();
  UpdateParameterBar();
}

void CMainFrame::ClearParameterBar() {
  pageValuesKey_ = -1;
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (bar == nullptr) return;
  for (int slot = 0; slot < kParameterBarSlots; ++slot) {
    bar->SetDlgItemText(kParameterBarValue[slot], "");
    ParameterUnderline[static_cast<std::size_t>(slot)] = -1;
    bar->Item(kParameterBarValue[slot]).Invalidate();
  }
}

void CMainFrame::UpdateParameterBar() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (doc == nullptr || bar == nullptr || doc->EpochTables.EpochCount() == 0) return;
  const int i = doc->CurrentEpoch - NavEpochsPerPage() * doc->CurrentPage;
  if (i < 0 || i >= kMaxEpochs) return;
  // The arrays still hold another page: nothing is shown until this page's values are in.
  if (pageValuesKey_ < 0 || pageValuesKey_ != CurrentPageValuesKey()) {
    const std::int64_t key = pageValuesKey_;
    ClearParameterBar();
    pageValuesKey_ = key;
    return;
  }
  for (int slot = 0; slot < kParameterBarSlots; ++slot) {
    const ParameterValueText v = FormatParameterValue(
        ParameterBarCodes[static_cast<std::size_t>(slot)], ParameterBarChannels[static_cast<std::size_t>(slot)],
        EpochWaveRecords[static_cast<std::size_t>(i)], EpochBandValues[static_cast<std::size_t>(i)],
        EpochChannelStats[static_cast<std::size_t>(i)], doc->Params, doc->RecordInfo.channelCount, EpochSeconds);
    bar->SetDlgItemText(kParameterBarValue[slot], v.text);
    ParameterUnderline[static_cast<std::size_t>(slot)] = v.colour;
    bar->Item(kParameterBarValue[slot]).Invalidate();
  }
}

const std::vector<std::int32_t>& CMainFrame::ParameterCodeList() {
  availableCodes_.clear();
  if (CQLM2_AnalyzerDoc* doc = GetDocument())
    GetAvailableValueCodes(doc->Params, doc->RecordInfo.channelCount, 1, availableCodes_);
  return availableCodes_;
}

int CMainFrame::FindParameterListIndex(std::uint16_t code) {
  const std::vector<std::int32_t>& codes = ParameterCodeList();
  for (std::size_t k = 0; k < codes.size(); ++k)
    if (codes[k] == code) return static_cast<int>(k);
  return -1;
}

std::uint16_t CMainFrame::GetParameterAt(int position) {
  const std::vector<std::int32_t>& codes = ParameterCodeList();
  if (position < 0 || position >= static_cast<int>(codes.size())) return 0;
  return static_cast<std::uint16_t>(codes[static_cast<std::size_t>(position)]);
}

void CMainFrame::RefreshParameterComboItem(int slot, bool withChannel) {
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (bar == nullptr || doc == nullptr || slot < 0 || slot >= kParameterBarSlots) return;
  const std::uint16_t code = ParameterBarCodes[static_cast<std::size_t>(slot)];
  if (!IsChannelCode(code)) return;
  std::string text = BuildParameterNames(code);
  if (withChannel) {
    const std::uint16_t ch = ParameterBarChannels[static_cast<std::size_t>(slot)];
    const std::string name = ch < doc->ChInfo.size() ? doc->ChInfo[ch].name : std::string();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "_%2d:%s", ch + 1, name.c_str());
    text += suffix;
  }
  const int index = FindParameterListIndex(code);
  if (index < 0) return;
  ui::Control combo = bar->Item(kParameterBarCombo[slot]);
  combo.DeleteString(index);
  combo.InsertString(index, text);
  combo.SetCurSel(index);
}

void CMainFrame::RefreshParameterComboNames(int slot, ui::Control combo) {
  if (slot < 0 || slot >= kParameterBarSlots) return;
  const std::uint16_t current = ParameterBarCodes[static_cast<std::size_t>(slot)];
  if (current >= 15 && current <= 31) return;
  const int selected = combo.GetCurSel();
  const std::vector<std::int32_t> codes = ParameterCodeList();
  for (std::size_t k = 0; k < codes.size(); ++k) {
    const auto code = static_cast<std::uint16_t>(codes[k]);
    if (!IsChannelCode(code)) continue;
    combo.DeleteString(static_cast<int>(k));
    combo.InsertString(static_cast<int>(k), BuildParameterNames(code));
  }
  combo.SetCurSel(selected);
}

void CMainFrame::ReloadParameterCombos() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (doc == nullptr || bar == nullptr) return;
  // A recording was opened (or its analysis changed): the arrays are computed anew.
  ClearParameterBar();
  const std::vector<std::int32_t> codes = ParameterCodeList();
  std::vector<std::string> names;
  names.reserve(codes.size());
  for (const std::int32_t code : codes) names.push_back(BuildParameterNames(static_cast<std::uint16_t>(code)));
  for (int slot = 0; slot < kParameterBarSlots; ++slot) {
    ui::Control combo = bar->Item(kParameterBarCombo[slot]);
    combo.ResetContent();
    for (const std::string& name : names) combo.AddString(name);
    RefreshParameterComboItem(slot, true);
    combo.SetCurSel(FindParameterListIndex(ParameterBarCodes[static_cast<std::size_t>(slot)]));
  }
}

int CMainFrame::SelectParameter(int slot, int position) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (slot < 0 || slot >= kParameterBarSlots) return 0;
  const std::uint16_t code = GetParameterAt(position);
  ParameterBarCodes[static_cast<std::size_t>(slot)] = code;
  if (!IsChannelCode(code) || doc == nullptr) return 1;
  const int count = std::min<int>(doc->RecordInfo.channelCount, static_cast<int>(doc->ChInfo.size()));
  int fftChannels = 0;
  int onlyChannel = -1;
  for (int c = 0; c < count; ++c) {
    if (doc->Params.fftBand.channelSwitch[static_cast<std::size_t>(c)] == 1) {
      ++fftChannels;
      if (onlyChannel < 0) onlyChannel = c;
    }
  }
  if (code <= 25 && fftChannels == 1) {
    ParameterBarChannels[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(onlyChannel);
    return 1;
  }
  // Band values exist on the FFT channels only; the statistics on every channel.
  LyrDlgChannelSelection dlg(code <= 25 ? 1 : 0, this);
  dlg.Document = doc;
  dlg.InitialChannel = static_cast<std::int16_t>(ParameterBarChannels[static_cast<std::size_t>(slot)]);
  if (dlg.DoModal() != ui::IDOK) return 0;
  ParameterBarChannels[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(dlg.Result);
  return 1;
}

void CMainFrame::OnParameterSelected(int slot) {
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (bar == nullptr) return;
  ui::Control combo = bar->Item(kParameterBarCombo[slot]);
  const int index = combo.GetCurSel();
  if (index >= 0) {
    if (SelectParameter(slot, index) != 0) {
      UpdateParameterBar();
      RefreshParameterComboItem(slot, true);
    } else {
      combo.SetCurSel(index);
    }
  }
  SetFocus();
}
