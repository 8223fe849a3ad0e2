#include "app/frame/lyr_dlg_peak_information.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "platform/res/resource_store.h"

namespace {

std::string Format3(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  return text;
}

}  // namespace

LyrDlgPeakInformation::LyrDlgPeakInformation(LyrWorkspaceZoomView* zoom, ui::Window* parent)
    : ui::Dialog(IDD_PEAK_INFORMATION, parent), zoom_(zoom) {
  MapCommand(IDC_PI_SHOW_PEAK, [this] {
    if (zoom_ == nullptr) return;
    zoom_->ShowPeaks = ShowPeakChecked() ? 1 : 0;
    zoom_->Invalidate();
  });
}

bool LyrDlgPeakInformation::OnInitDialog() {
  ui::Control list = Item(IDC_PI_LIST);
  list.SetFullRowSelect(true);
  const std::string time = res::LoadString(IDS_SD_PI_TIME);
  const std::string amplitude = res::LoadString(IDS_SD_PI_AMPLITUDE);
  const std::string top = res::LoadString(IDS_SD_PI_TOP);
  const std::string bottom = res::LoadString(IDS_SD_PI_BOTTOM);
  const std::string pp = res::LoadString(IDS_SD_PI_PP);
  const std::string seconds = res::LoadString(IDS_SD_PI_SEC);
  list.InsertColumn(0, res::LoadString(IDS_SD_COL_NO), 40);
  list.InsertColumn(1, res::LoadString(IDS_SD_COL_CH), 100);
  list.InsertColumn(2, top + time, 140);
  list.InsertColumn(3, top + amplitude, 100);
  list.InsertColumn(4, bottom + time, 140);
  list.InsertColumn(5, bottom + amplitude, 100);
  list.InsertColumn(6, pp + time + "(" + seconds + ")", 100);
  list.InsertColumn(7, pp + amplitude, 100);
  CheckDlgButton(IDC_PI_SHOW_PEAK, zoom_ != nullptr && zoom_->ShowPeaks != 0 ? 1 : 0);
  if (zoom_ != nullptr) FillPeakList(*this, *zoom_);
  return true;
}

void LyrDlgPeakInformation::FillPeakList(LyrDlgPeakInformation& dlg, const LyrWorkspaceZoomView& zoom) {
  ui::Control list = dlg.Item(IDC_PI_LIST);
  list.DeleteAllItems();
  const CQLM2_AnalyzerDoc* doc = zoom.m_pDoc;
  if (doc == nullptr) return;
  // Times are counted from the shown page's start.
  const std::int64_t pageStartMs = static_cast<std::int64_t>(doc->CurrentPage) * PageSeconds * 1000;
  const int channels = std::clamp<int>(doc->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) {
    if (zoom.Spans[static_cast<std::size_t>(c)].shown == 0) continue;
    const ZoomPeakRecord& p = zoom.Peaks[static_cast<std::size_t>(c)];
    char number[16];
    std::snprintf(number, sizeof number, "%3d", c + 1);
    const int row = list.InsertItem(-1, number);
    list.SetItemText(row, 1, doc->ChInfo[static_cast<std::size_t>(c)].name);
    // A channel whose stretch held no sample has nothing to show but its name.
    if (p.maxIndex < 0 || p.minIndex < 0) continue;
    std::string label;
    doc->GetMSecTimeString(ClockTimeDisplay, pageStartMs + p.maxTimeMs, &label);
    list.SetItemText(row, 2, label);
    list.SetItemText(row, 3, Format3(p.maxValue));
    doc->GetMSecTimeString(ClockTimeDisplay, pageStartMs + p.minTimeMs, &label);
    list.SetItemText(row, 4, label);
    list.SetItemText(row, 5, Format3(p.minValue));
    list.SetItemText(row, 6, Format3(static_cast<double>(std::llabs(p.maxTimeMs - p.minTimeMs)) / 1000.0));
    list.SetItemText(row, 7, Format3(static_cast<double>(p.maxValue) - static_cast<double>(p.minValue)));
  }
}
