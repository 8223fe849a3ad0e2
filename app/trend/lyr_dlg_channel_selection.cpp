#include "app/trend/lyr_dlg_channel_selection.h"

#include <span>

#include "app/document/epoch_values.h"
#include "app/document/qlm2_analyzer_doc.h"

LyrDlgChannelSelection::LyrDlgChannelSelection(std::int32_t mode, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), Mode(mode) {}

namespace {
int ChannelCount(const CQLM2_AnalyzerDoc& doc) {
  return std::min<int>(doc.RecordInfo.channelCount, static_cast<int>(doc.ChInfo.size()));
}
}  // namespace

bool LyrDlgChannelSelection::OnInitDialog() {
  ui::Control list = Item(kChannelList);
  list.ResetContent();
  if (Document == nullptr) return true;
  const int count = ChannelCount(*Document);
  const auto& flags = Document->Params.fftBand.channelSwitch;
  for (int c = 0; c < count; ++c) {
    if (Mode == 1 && flags[static_cast<std::size_t>(c)] != 1) continue;
    list.AddString(Document->ChInfo[static_cast<std::size_t>(c)].name);
  }
  int row = InitialChannel;
  if (Mode == 1) {
    row = GetSelectedChIndex(InitialChannel, std::span<const std::uint16_t>(flags), count);
    if (row < 1) row = 0;
  }
  if (InitialChannel < 0 || InitialChannel >= count) row = 0;
  list.SetCurSel(row);
  return true;
}

void LyrDlgChannelSelection::OnOK() {
  const int row = Item(kChannelList).GetCurSel();
  if (row < 0) return;
  if (Mode != 1 || Document == nullptr) {
    Result = row;
  } else {
    // The row counts the marked channels only.
    Result = 0;
    int marked = -1;
    const int count = ChannelCount(*Document);
    for (int c = 0; c < count; ++c) {
      if (Document->Params.fftBand.channelSwitch[static_cast<std::size_t>(c)] != 1) continue;
      if (++marked == row) {
        Result = c;
        break;
      }
    }
  }
  EndDialog(ui::IDOK);
}
