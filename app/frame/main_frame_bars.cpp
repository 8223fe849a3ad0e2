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
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kCmdResultFileOpen = 33009;
}  // namespace

int CMainFrame::CreateBars() {
  auto standard = std::make_unique<COOIconToolBar>();
  if (!standard->CreateBar(this, ui::AFX_IDW_TOOLBAR)) return 0;
  standard->SetButtons({ui::ID_FILE_OPEN, kCmdResultFileOpen}, {"Open", "Result Analysis File Open"});
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

void CMainFrame::UpdateParameterBar() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (doc == nullptr || bar == nullptr || doc->EpochTables.EpochCount() == 0) return;
  const int i = doc->CurrentEpoch - NavEpochsPerPage() * doc->CurrentPage;
  if (i < 0 || i >= kMaxEpochs) return;
  for (int slot = 0; slot < kParameterBarSlots; ++slot) {
    const ParameterValueText v = FormatParameterValue(
        ParameterBarCodes[static_cast<std::size_t>(slot)], ParameterBarChannels[static_cast<std::size_t>(slot)],
        EpochWaveRecords[static_cast<std::size_t>(i)], EpochBandValues[static_cast<std::size_t>(i)],
        EpochChannelStats[static_cast<std::size_t>(i)], doc->Params, doc->RecordInfo.channelCount, EpochSeconds);
    bar->SetDlgItemText(kParameterBarValue[slot], v.text);
  }
}

void CMainFrame::ReloadParameterCombos() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (doc == nullptr || bar == nullptr) return;
  availableCodes_.clear();
  GetAvailableValueCodes(doc->Params, doc->RecordInfo.channelCount, 1, availableCodes_);
  for (int slot = 0; slot < kParameterBarSlots; ++slot) {
    ui::Control combo = bar->Item(kParameterBarCombo[slot]);
    combo.ResetContent();
    int selected = -1;
    for (std::size_t k = 0; k < availableCodes_.size(); ++k) {
      const auto code = static_cast<std::uint16_t>(availableCodes_[k]);
      std::string name = BuildParameterNames(code);
      if (code == ParameterBarCodes[static_cast<std::size_t>(slot)]) {
        selected = static_cast<int>(k);
        const std::uint16_t ch = ParameterBarChannels[static_cast<std::size_t>(slot)];
        if (code >= 14 && ch < doc->ChInfo.size()) {
          char suffix[64];
          std::snprintf(suffix, sizeof suffix, "_%2d:%s", ch + 1, doc->ChInfo[ch].name.c_str());
          name += suffix;
        }
      }
      combo.AddString(name);
    }
    combo.SetCurSel(selected);
  }
}

void CMainFrame::OnParameterSelected(int slot) {
  auto* bar = dynamic_cast<ui::DialogBar*>(ParameterBar);
  if (bar == nullptr) return;
  const int index = bar->Item(kParameterBarCombo[slot]).GetCurSel();
  if (index >= 0 && index < static_cast<int>(availableCodes_.size())) {
    ParameterBarCodes[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(availableCodes_[static_cast<std::size_t>(index)]);
    UpdateParameterBar();
  }
  SetFocus();
}
