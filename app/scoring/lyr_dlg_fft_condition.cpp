#include "app/scoring/lyr_dlg_fft_condition.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsInputOverZero = 62424;
constexpr std::uint32_t kIdsAnalysisTime = 62425;
constexpr std::uint32_t kIdsWindows = 62426;
constexpr std::uint32_t kIdsUnits = 62427;
constexpr std::size_t kBandNameBytes = 9;

std::string Format(const char* format, double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

std::vector<std::string> Items(std::uint32_t id) {
  std::vector<std::string> out;
  const std::string text = res::LoadString(id);
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t comma = text.find(',', at);
    out.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return out;
}

}  // namespace

LyrDlgFftCondition::LyrDlgFftCondition(ui::Window* parent) : ui::Dialog(IDD_MS_FFT_CONDITION, parent) {
  MapNotify(IDC_MSFFT_AVERAGE_SPIN, ui::UDN_DELTAPOS, [this] {
    Values.FftAverage = static_cast<std::uint16_t>(Item(IDC_MSFFT_AVERAGE_SPIN).GetPos());
    SetDlgItemInt(IDC_MSFFT_AVERAGE, Values.FftAverage);
    ShowAnalysisTime();
  });
  MapNotify(IDC_MSFFT_POINTS, ui::CBN_SELCHANGE, [this] {
    const int sel = Item(IDC_MSFFT_POINTS).GetCurSel();
    if (sel >= 0) Values.FftPoints = static_cast<std::uint16_t>(64u << sel);
    ShowAnalysisTime();
  });
  MapNotify(IDC_MSFFT_WINDOW, ui::CBN_SELCHANGE, [this] {
    Values.FftWindow = static_cast<std::uint16_t>(std::max(0, Item(IDC_MSFFT_WINDOW).GetCurSel()));
  });
  MapNotify(IDC_MSFFT_UNIT, ui::CBN_SELCHANGE, [this] { Values.FftUnit = Item(IDC_MSFFT_UNIT).GetCurSel() == 0 ? 0 : 1; });
  MapNotify(IDC_MSFFT_BAND_COUNT, ui::CBN_SELCHANGE, [this] {
    Values.BandCount = static_cast<std::uint16_t>(std::max(0, Item(IDC_MSFFT_BAND_COUNT).GetCurSel()) + 1);
    EnableBands();
  });
  MapCommand(IDC_MSFFT_ALL_BANDS, [this] {
    Values.FftRateMode = 0;
    EnableBands();
  });
  MapCommand(IDC_MSFFT_OPTIONAL, [this] {
    Values.FftRateMode = 1;
    EnableBands();
  });
}

std::string LyrDlgFftCondition::FitBandName(const std::string& name) {
  return sys::CutToCapacity(name, kBandNameBytes, sys::AnsiCodePage(), sys::Terminator::None);
}

bool LyrDlgFftCondition::OnInitDialog() {
  ui::Control points = Item(IDC_MSFFT_POINTS);
  points.ResetContent();
  for (int k = 0; k < 10; ++k) points.AddString(std::to_string(64L << k));
  ui::Control window = Item(IDC_MSFFT_WINDOW);
  window.ResetContent();
  for (const std::string& w : Items(kIdsWindows)) window.AddString(w);
  ui::Control unit = Item(IDC_MSFFT_UNIT);
  unit.ResetContent();
  for (const std::string& u : Items(kIdsUnits)) unit.AddString(u);
  ui::Control count = Item(IDC_MSFFT_BAND_COUNT);
  count.ResetContent();
  for (int k = 1; k <= kMsMaxBands; ++k) count.AddString(std::to_string(k));

  Item(IDC_MSFFT_AVERAGE_SPIN).SetRange(1, 100);
  Item(IDC_MSFFT_AVERAGE_SPIN).SetPos(Values.FftAverage);
  SetDlgItemInt(IDC_MSFFT_AVERAGE, Values.FftAverage);
  int entry = -1;
  for (int k = 0; k < 10; ++k)
    if ((64u << k) == Values.FftPoints) entry = k;
  points.SetCurSel(entry);
  window.SetCurSel(Values.FftWindow);
  unit.SetCurSel(Values.FftUnit == 0 ? 0 : 1);
  Values.BandCount = static_cast<std::uint16_t>(std::clamp<int>(Values.BandCount, 1, kMsMaxBands));
  count.SetCurSel(Values.BandCount - 1);
  for (int r = 0; r < kMsMaxBands; ++r) {
    if (r >= static_cast<int>(Values.Bands.size())) continue;
    const MultiScreeningBand& b = Values.Bands[static_cast<std::size_t>(r)];
    SetDlgItemText(MsFftBandEdit(r, 0), b.Name);
    SetDlgItemText(MsFftBandEdit(r, 1), Format("%.3f", b.From));
    SetDlgItemText(MsFftBandEdit(r, 2), Format("%.3f", b.To));
  }
  CheckRadioButton(IDC_MSFFT_ALL_BANDS, IDC_MSFFT_OPTIONAL, Values.FftRateMode != 0 ? IDC_MSFFT_OPTIONAL : IDC_MSFFT_ALL_BANDS);
  SetDlgItemText(IDC_MSFFT_OPTIONAL_FROM, Format("%.2f", Values.EffectiveBandFrom));
  SetDlgItemText(IDC_MSFFT_OPTIONAL_TO, Format("%.2f", Values.EffectiveBandTo));
  EnableBands();
  ShowAnalysisTime();
  const CQLM2_AnalyzerApp* app = TheApp();
  const bool english = app != nullptr ? app->EnglishMode != 0 : res::CurrentLanguage() == res::Language::English;
  hint_.SubclassDlgItem(IDC_MSFFT_HINT, *this);
  hint_.SetLink(sys::ProgramFolder() + (english ? "/hint/QX_Hint_FFT_en.pdf" : "/hint/QX_Hint_FFT_jp.pdf"), true);
  return true;
}

void LyrDlgFftCondition::ShowAnalysisTime() {
  std::string text;
  if (Doc != nullptr && FirstEegRow >= 0 && FirstEegRow < kMsMaxPositions && FirstEegRow < Doc->RecordInfo.channelCount) {
    const double rate = Doc->ChInfo[static_cast<std::size_t>(FirstEegRow)].rate;
    if (rate > 0) {
      const double unit = Values.FftPoints / rate;
      char buf[160];
      std::snprintf(buf, sizeof buf, res::LoadString(kIdsAnalysisTime).c_str(), Values.FftAverage * unit, unit);
      text = buf;
    }
  }
  SetDlgItemText(IDC_MSFFT_TIME, text);
}

void LyrDlgFftCondition::EnableBands() {
  for (int r = 0; r < kMsMaxBands; ++r)
    for (int f = 0; f < 3; ++f) EnableItem(MsFftBandEdit(r, f), r < Values.BandCount);
  EnableItem(IDC_MSFFT_OPTIONAL_FROM, Values.FftRateMode != 0);
  EnableItem(IDC_MSFFT_OPTIONAL_TO, Values.FftRateMode != 0);
}

bool LyrDlgFftCondition::ReadNonNegative(int id, float* value) {
  *value = static_cast<float>(std::atof(GetDlgItemText(id).c_str()));
  if (*value >= 0.0f) return true;
  ui::MessageBox(res::LoadString(kIdsInputOverZero), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  Item(id).SetFocus();
  Item(id).SetSel(0, -1);
  return false;
}

void LyrDlgFftCondition::OnOK() {
  std::vector<MultiScreeningBand> bands;
  for (int r = 0; r < Values.BandCount && r < kMsMaxBands; ++r) {
    MultiScreeningBand b;
    b.Name = FitBandName(GetDlgItemText(MsFftBandEdit(r, 0)));
    if (!ReadNonNegative(MsFftBandEdit(r, 1), &b.From) || !ReadNonNegative(MsFftBandEdit(r, 2), &b.To)) return;
    bands.push_back(b);
  }
  if (Values.FftRateMode != 0) {
    float from = 0, to = 0;
    if (!ReadNonNegative(IDC_MSFFT_OPTIONAL_FROM, &from) || !ReadNonNegative(IDC_MSFFT_OPTIONAL_TO, &to)) return;
    Values.EffectiveBandFrom = from;
    Values.EffectiveBandTo = to;
  }
  Values.Bands = bands;
  EndDialog(ui::IDOK);
}
