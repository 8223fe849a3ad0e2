#include "app/raw/lyr_raw_dlg_band_name.h"

#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"

namespace {
BandWaveRecord* FreeBand(CQLM2_AnalyzerDoc* doc, int band) {
  if (doc == nullptr || band < 0 || band > 2) return nullptr;
  return &doc->Params.waveForm.bands[static_cast<std::size_t>(WaveFormRecognitionParam::kBand1 + band)];
}
}  // namespace

LyrRawDlgBandName::LyrRawDlgBandName(CQLM2_AnalyzerDoc* doc, int band, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), doc_(doc), band_(band) {}

bool LyrRawDlgBandName::OnInitDialog() {
  Item(kName).SetLimitText(kMaxNameBytes);
  if (const BandWaveRecord* b = FreeBand(doc_, band_)) SetDlgItemText(kName, b->name);
  return true;
}

void LyrRawDlgBandName::OnOK() {
  if (BandWaveRecord* b = FreeBand(doc_, band_))
    b->name = sys::CutToCapacity(GetDlgItemText(kName), kMaxNameBytes + 1, sys::AnsiCodePage());
  EndDialog(ui::IDOK);
}
