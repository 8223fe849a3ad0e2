#include "app/document/lyr_dlg_wave_detect.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kIdsNone = 2064;
constexpr int kSourceOwnRaw = 0;
constexpr int kSourcePlugin = 3;

std::string Number(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  return text;
}
}  // namespace

void FindSeizureInDocument(CQLM2_AnalyzerDoc& doc, bool wholeRecording, bool chain) {
  const int c = WaveDetectParam.channel;
  if (c < 0 || c >= doc.RecordInfo.channelCount || c >= static_cast<int>(doc.ChInfo.size())) return;
  const LyrChInfo& info = doc.ChInfo[static_cast<std::size_t>(c)];
  SeizureChannel ch;
  ch.rate = info.rate;
  ch.startOffset = info.startOffset;
  ch.dataCount = info.dataCount;
  ch.epochSeconds = EpochSeconds;
  ch.pageSeconds = PageSeconds;
  ch.currentPage = doc.CurrentPage;
  ch.wholeEpochs = EpochSeconds > 0 ? doc.RecordSeconds / EpochSeconds : 0;

  SeizureSampleReader reader;
  if (doc.RecordInfo.sourceKind == kSourceOwnRaw) {
    reader = [&doc, &info, c](std::int64_t first, std::int64_t count, float* out) {
      if (first < 0 || count <= 0 || first + count - 1 > 0xFFFFFFFFLL) return false;
      FynFileAccessRaw file(doc.RecordInfo.path.c_str());
      if (file.InitParams() != 0) return true;  // nothing is read; the zeros find nothing
      // The document's calibration stands for the file's, as on every page read.
      std::array<_FynRawCALEntry, 32> entries{};
      for (std::size_t k = 0; k < entries.size(); ++k) {
        const ChCalibrationEntry& cal = doc.ChInfo[k].calibration;
        entries[k].fullScale = cal.fullScale;
        entries[k].calFlag = cal.calibrated;
        entries[k].calTopSample = cal.topSample;
        entries[k].calBottomSample = cal.bottomSample;
        entries[k].calTopPhysical = cal.topValue;
        entries[k].calBottomPhysical = cal.bottomValue;
      }
      if (file.SetCalInfo(_FynRawCALParam{doc.CalibrationNumber, entries.data()}) != 0) return false;
      return file.GetRawDataFloat(static_cast<std::int16_t>(c), static_cast<std::uint32_t>(first),
                                  static_cast<std::uint32_t>(first + count - 1), out,
                                  static_cast<std::int16_t>(info.invert)) == 0;
    };
  } else if (doc.RecordInfo.sourceKind == kSourcePlugin) {
    // Read as the page buffer reads it; a missing plug-in or export reads nothing.
    reader = [&doc, c](std::int64_t first, std::int64_t count, float* out) {
      if (first < 0 || count <= 0 || first + count - 1 > 0xFFFFFFFFLL) return false;
      if (!PluginModule.IsLoaded() || PluginModule.Function<ImpGetRawData>("GetRawData") == nullptr) return true;
      return doc.ReadPluginChannel(c, static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count), out) != 0;
    };
  }
  FindSeizure(wholeRecording, ch, reader, chain, WaveDetectParam, SeizureMarks);
}

LyrDlgWaveDetect::LyrDlgWaveDetect(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), doc_(doc) {
  MapNotify(kChannel, ui::CBN_SELCHANGE, [this] { OnChannelChange(); });
  MapCommand(kColour, [this] { OnColour(); });
  MapCommand(kPreview, [this] { OnPreview(); });
}

bool LyrDlgWaveDetect::OnInitDialog() {
  session_.Open();
  FillControls();
  return true;
}

void LyrDlgWaveDetect::FillControls() {
  const int channels = doc_ != nullptr ? doc_->RecordInfo.channelCount : 0;
  if (WaveDetectParam.channel >= channels) WaveDetectParam.channel = -1;
  ui::Control combo = Item(kChannel);
  combo.ResetContent();
  combo.AddString(res::LoadString(kIdsNone));
  char text[96];
  for (int c = 0; c < channels && c < static_cast<int>(doc_->ChInfo.size()); ++c) {
    std::snprintf(text, sizeof text, "%3d:%s", c + 1, doc_->ChInfo[static_cast<std::size_t>(c)].name.c_str());
    combo.AddString(text);
  }
  const bool chosen = WaveDetectParam.channel >= 0;
  combo.SetCurSel(chosen ? WaveDetectParam.channel + 1 : 0);
  SetDlgItemText(kPeakLevel, Number(WaveDetectParam.peakLevel));
  SetDlgItemText(kAmpMin, Number(WaveDetectParam.ampMin));
  SetDlgItemText(kAmpMax, Number(WaveDetectParam.ampMax));
  SetDlgItemText(kFrqMin, Number(WaveDetectParam.frqMinHz));
  SetDlgItemText(kFrqMax, Number(WaveDetectParam.frqMaxHz));
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(WaveDetectParam.halfWaveCount));
  SetDlgItemText(kHalfWaves, text);
  for (int id : {kColour, kPeakLevel, kAmpMin, kAmpMax, kFrqMin, kFrqMax, kHalfWaves}) EnableItem(id, chosen);
  for (int id : {kChain, ui::IDOK, kPreview}) EnableItem(id, true);
}

void LyrDlgWaveDetect::ReadControls() {
  WaveDetectParam.peakLevel = std::atof(GetDlgItemText(kPeakLevel).c_str());
  WaveDetectParam.ampMin = std::atof(GetDlgItemText(kAmpMin).c_str());
  WaveDetectParam.ampMax = std::atof(GetDlgItemText(kAmpMax).c_str());
  WaveDetectParam.frqMinHz = std::atof(GetDlgItemText(kFrqMin).c_str());
  WaveDetectParam.frqMaxHz = std::atof(GetDlgItemText(kFrqMax).c_str());
  WaveDetectParam.halfWaveCount = static_cast<std::int32_t>(std::atol(GetDlgItemText(kHalfWaves).c_str()));
}

void LyrDlgWaveDetect::OnChannelChange() {
  WaveDetectParam.channel = Item(kChannel).GetCurSel() - 1;
  FillControls();
}

void LyrDlgWaveDetect::OnColour() {
  std::uint32_t colour = WaveDetectParam.colour;
  if (ui::ChooseColor(this, colour) != ui::IDOK) return;
  WaveDetectParam.colour = colour;
  Invalidate();
}

void LyrDlgWaveDetect::RefreshViews() {
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RefreshAllViews(-1);
}

void LyrDlgWaveDetect::OnPreview() {
  if (WaveDetectParam.channel < 0 || doc_ == nullptr) return;
  ReadControls();
  std::fill(SeizureMarks.begin(), SeizureMarks.end(), 0);
  FindSeizureInDocument(*doc_, false, IsDlgButtonChecked(kChain) == 1);
  RefreshViews();
}

void LyrDlgWaveDetect::OnOK() {
  if (WaveDetectParam.channel >= 0 && doc_ != nullptr) {
    ReadControls();
    std::fill(SeizureMarks.begin(), SeizureMarks.end(), 0);
    FindSeizureInDocument(*doc_, true, IsDlgButtonChecked(kChain) == 1);
    RefreshViews();
  }
  EndDialog(ui::IDOK);
}

void LyrDlgWaveDetect::OnCancel() {
  session_.Cancel();
  EndDialog(ui::IDCANCEL);
}
