#include "app/settings/lyr_raw_dlg_other_fft.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "platform/res/resource_store.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kStrNotSpecified = 2311;
constexpr std::uint32_t kStrNameTooLong = 2536;
constexpr std::uint32_t kStrGreaterThanZero = 2537;
constexpr std::uint32_t kStrEnterNumber = 20801;
constexpr std::uint32_t kStrEnterNumberRange = 20802;
constexpr std::uint32_t kStrColNo = 64130;
constexpr std::uint32_t kStrColCh = 64131;
constexpr std::uint32_t kStrRectangular = 64132;
constexpr std::uint32_t kStrHanning = 64133;
constexpr std::uint32_t kStrHamming = 64134;
constexpr std::uint32_t kStrCosineTaper = 64135;
constexpr std::uint32_t kStrPower = 64136;
constexpr std::uint32_t kStrVoltage = 64137;
constexpr std::uint32_t kStrAnalysisTime = 64138;
constexpr std::uint32_t kStrUnitTime = 64139;

constexpr int kPointSizes = 10;
constexpr int kMaxAveraging = 100;
constexpr std::size_t kNameChars = 8;
constexpr double kNumberLow = 0.0;
constexpr double kNumberHigh = 10000.0;

// Window values in the order of the window combo.
constexpr std::array<std::uint16_t, 4> kWindowOfEntry = {0, 2, 1, 4};

std::string Format(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

double ReadNumber(const std::string& text) { return std::atof(text.c_str()); }

// The whole text as a number (blanks around it allowed); false when it is not one.
bool ParseWhole(const std::string& text, double* value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  *value = std::strtod(begin, &end);
  if (end == begin) return false;
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0';
}

}  // namespace

LyrRawDlgOtherFFT::LyrRawDlgOtherFFT(ui::Window* parent) : ui::Dialog(IDD_OTHER_FFT, parent) {
  MapNotify(IDC_OFFT_POINTS, ui::CBN_SELCHANGE, [this] { OnSelchangeFftPoint(); });
  MapNotify(IDC_OFFT_BAND_COUNT, ui::CBN_SELCHANGE, [this] { OnSelchangeEffectiveBand(); });
  MapCommand(IDC_OFFT_ALL_BANDS, [this] { OnAllBands(); });
  MapCommand(IDC_OFFT_OPTIONAL_BAND, [this] { OnOptionalBand(); });
  MapNotify(IDC_OFFT_CHANNEL_LIST, ui::NM_CLICK, [this] { OnClickChannelList(); });
}

int LyrRawDlgOtherFFT::ChannelCount() const {
  if (m_pDoc == nullptr) return 0;
  return std::clamp(m_pDoc->RecordInfo.channelCount, 0, 32);
}

bool LyrRawDlgOtherFFT::AnyChannelOn() const {
  if (m_pDoc == nullptr) return false;
  const auto& flags = m_pDoc->Params.fftBand.channelSwitch;
  return std::any_of(flags.begin(), flags.end(), [](std::uint16_t f) { return f == 1; });
}

bool LyrRawDlgOtherFFT::OnInitDialog() {
  m_Changed = 0;
  spin_.OwnerKind = 0;
  spin_.Attach(*this, IDC_OFFT_AVERAGE_SPIN);
  if (m_pDoc != nullptr) saved_ = m_pDoc->Params.fftBand;
  FillControls();
  ShowSettings();
  UpdateControlStates(false);
  const CQLM2_AnalyzerApp* app = TheApp();
  const bool english =
      app != nullptr ? app->EnglishMode != 0 : res::CurrentLanguage() == res::Language::English;
  hint_.SubclassDlgItem(IDC_OFFT_HINT, *this);
  hint_.SetLink(sys::ProgramFolder() + (english ? "/hint/QX_Hint_FFT_en.pdf" : "/hint/QX_Hint_FFT_jp.pdf"), true);
  return true;
}

void LyrRawDlgOtherFFT::FillControls() {
  ui::Control list = Item(IDC_OFFT_CHANNEL_LIST);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  list.InsertColumn(0, res::LoadString(kStrColNo), 40);
  list.InsertColumn(1, res::LoadString(kStrColCh), 100);
  list.DeleteAllItems();
  for (int k = 0; k < ChannelCount(); ++k) {
    char no[16];
    std::snprintf(no, sizeof no, "%3d:", k + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, m_pDoc->ChInfo[static_cast<std::size_t>(k)].name);
  }
  if (list.GetCount() > 0) list.SetSelected(0, true);

  ui::Control points = Item(IDC_OFFT_POINTS);
  points.ResetContent();
  for (int k = 0; k < kPointSizes; ++k) points.AddString(std::to_string(64L << k));
  ui::Control window = Item(IDC_OFFT_WINDOW);
  window.ResetContent();
  for (std::uint32_t id : {kStrRectangular, kStrHanning, kStrHamming, kStrCosineTaper}) window.AddString(res::LoadString(id));
  ui::Control unit = Item(IDC_OFFT_UNIT);
  unit.ResetContent();
  unit.AddString(res::LoadString(kStrPower));
  unit.AddString(res::LoadString(kStrVoltage));
  ui::Control bands = Item(IDC_OFFT_BAND_COUNT);
  bands.ResetContent();
  for (int k = 1; k <= 6; ++k) bands.AddString(std::to_string(k));
}

void LyrRawDlgOtherFFT::ShowSettings() {
  if (m_pDoc == nullptr) return;
  const FFTBandParam& p = m_pDoc->Params.fftBand;
  ui::Control list = Item(IDC_OFFT_CHANNEL_LIST);
  for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
  for (int r = 0; r < list.GetCount() && r < 32; ++r)
    if (p.channelSwitch[static_cast<std::size_t>(r)] == 1) list.SetSelected(r, true);

  int pointEntry = -1;
  for (int k = 0; k < kPointSizes; ++k)
    if ((64u << k) == p.fftPoints) pointEntry = k;
  Item(IDC_OFFT_POINTS).SetCurSel(pointEntry);
  ShowAnalysisTime();

  int windowEntry = -1;
  for (std::size_t k = 0; k < kWindowOfEntry.size(); ++k)
    if (kWindowOfEntry[k] == p.windowType) windowEntry = static_cast<int>(k);
  Item(IDC_OFFT_WINDOW).SetCurSel(windowEntry);
  Item(IDC_OFFT_UNIT).SetCurSel(p.unit <= 1 ? static_cast<int>(p.unit) : -1);
  Item(IDC_OFFT_BAND_COUNT).SetCurSel(static_cast<int>(p.bandCount) - 1);

  for (std::size_t k = 0; k < kOfftBandEdits.size(); ++k) {
    SetDlgItemText(kOfftBandEdits[k][0], p.bands[k].name);
    SetDlgItemText(kOfftBandEdits[k][1], Format("%.3f", p.bands[k].fromHz));
    SetDlgItemText(kOfftBandEdits[k][2], Format("%.3f", p.bands[k].toHz));
  }
  CheckRadioButton(IDC_OFFT_ALL_BANDS, IDC_OFFT_OPTIONAL_BAND,
                   p.contentRange != 0 ? IDC_OFFT_OPTIONAL_BAND : IDC_OFFT_ALL_BANDS);
  SetDlgItemText(IDC_OFFT_OPTIONAL_LOW, Format("%.2f", static_cast<double>(p.optionalFromHz)));
  SetDlgItemText(IDC_OFFT_OPTIONAL_HIGH, Format("%.2f", static_cast<double>(p.optionalToHz)));
}

void LyrRawDlgOtherFFT::UpdateControlStates(bool readOnly) {
  bool state = false;
  if (readOnly) {
    EnableItem(IDC_OFFT_CHANNEL_LIST, false);
    EnableItem(IDC_OFFT_AVERAGE_SPIN, false);
    EnableItem(IDC_OFFT_AVERAGE, false);
  } else if (m_pDoc != nullptr) {
    for (int i = 0; i < ChannelCount(); ++i)
      if (m_pDoc->Params.fftBand.channelSwitch[static_cast<std::size_t>(i)] == 1) state = true;
  }
  for (int id : {IDC_OFFT_POINTS, IDC_OFFT_WINDOW, IDC_OFFT_UNIT, IDC_OFFT_BAND_COUNT, IDC_OFFT_ALL_BANDS,
                 IDC_OFFT_OPTIONAL_BAND})
    EnableItem(id, state);
  for (const auto& band : kOfftBandEdits)
    for (int id : band) EnableItem(id, state);
  UpdateRangeEdits();
  if (!state) {
    EnableItem(IDC_OFFT_OPTIONAL_LOW, false);
    EnableItem(IDC_OFFT_OPTIONAL_HIGH, false);
    return;
  }
  const int count = m_pDoc != nullptr ? m_pDoc->Params.fftBand.bandCount : 0;
  for (int k = std::max(count, 0); k < static_cast<int>(kOfftBandEdits.size()); ++k)
    for (int id : kOfftBandEdits[static_cast<std::size_t>(k)]) EnableItem(id, false);
}

void LyrRawDlgOtherFFT::UpdateRangeEdits() {
  const bool on = m_pDoc != nullptr && m_pDoc->Params.fftBand.contentRange == 1;
  EnableItem(IDC_OFFT_OPTIONAL_LOW, on);
  EnableItem(IDC_OFFT_OPTIONAL_HIGH, on);
}

void LyrRawDlgOtherFFT::SetReadOnly(bool readOnly) { UpdateControlStates(readOnly); }

void LyrRawDlgOtherFFT::ShowAnalysisTime() {
  if (m_pDoc == nullptr) return;
  const FFTBandParam& p = m_pDoc->Params.fftBand;
  int first = -1;
  for (std::size_t i = 0; i < p.channelSwitch.size() && first < 0; ++i)
    if (p.channelSwitch[i] == 1) first = static_cast<int>(i);
  if (first < 0) return;
  const double rate = m_pDoc->ChInfo[static_cast<std::size_t>(first)].rate;
  // A channel without a rate gives no meaningful time; show zeros rather than a division by 0.
  const double unitTime = rate > 0 ? static_cast<double>(p.fftPoints) / rate : 0.0;
  const double analysisTime = p.averagingCount * unitTime;
  SetDlgItemText(IDC_OFFT_AVERAGE, std::to_string(p.averagingCount));
  char text[256];
  std::snprintf(text, sizeof text, "%s%.2f[sec]   (%s%.2f[sec])", res::LoadString(kStrAnalysisTime).c_str(),
                analysisTime, res::LoadString(kStrUnitTime).c_str(), unitTime);
  SetDlgItemText(IDC_OFFT_TIME, text);
}

void LyrRawDlgOtherFFT::OnSpinDelta(std::uint16_t kind, const NmUpDown& nm, long* result) {
  if (kind != 0 || m_pDoc == nullptr) return;
  const int step = nm.iPos & 0xFFFF;
  int count = m_pDoc->Params.fftBand.averagingCount;
  count = nm.iDelta >= 0 ? count + step : count - step;
  m_pDoc->Params.fftBand.averagingCount = static_cast<std::uint16_t>(std::clamp(count, 1, kMaxAveraging));
  ShowAnalysisTime();
  if (result != nullptr) *result = 0;
}

void LyrRawDlgOtherFFT::OnSelchangeFftPoint() {
  const int s = Item(IDC_OFFT_POINTS).GetCurSel();
  if (s < 0 || m_pDoc == nullptr) return;
  m_pDoc->Params.fftBand.fftPoints = 64u << s;
  ShowAnalysisTime();
}

void LyrRawDlgOtherFFT::OnClickChannelList() {
  if (m_pDoc == nullptr) return;
  auto& flags = m_pDoc->Params.fftBand.channelSwitch;
  flags.fill(0);
  for (int row : Item(IDC_OFFT_CHANNEL_LIST).GetSelectedIndexes())
    if (row >= 0 && row < 32) flags[static_cast<std::size_t>(row)] = 1;
  UpdateControlStates(false);
}

void LyrRawDlgOtherFFT::OnSelchangeEffectiveBand() {
  const int s = Item(IDC_OFFT_BAND_COUNT).GetCurSel();
  if (s < 0 || m_pDoc == nullptr) return;
  m_pDoc->Params.fftBand.bandCount = static_cast<std::uint16_t>(s + 1);
  ShowSettings();
  UpdateControlStates(false);
}

void LyrRawDlgOtherFFT::OnAllBands() {
  if (m_pDoc != nullptr) m_pDoc->Params.fftBand.contentRange = 0;
  UpdateRangeEdits();
}

void LyrRawDlgOtherFFT::OnOptionalBand() {
  if (m_pDoc != nullptr) m_pDoc->Params.fftBand.contentRange = 1;
  UpdateRangeEdits();
}

void LyrRawDlgOtherFFT::FailAt(int id, const std::string& message) {
  ui::MessageBox(message, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  Item(id).SetFocus();
}

// Every frequency edit, enabled or not, must hold a number from 0 to 10000.
bool LyrRawDlgOtherFFT::ExchangeNumbers() {
  std::vector<int> ids;
  for (const auto& band : kOfftBandEdits) ids.push_back(band[2]);
  for (const auto& band : kOfftBandEdits) ids.push_back(band[1]);
  ids.push_back(IDC_OFFT_OPTIONAL_HIGH);
  ids.push_back(IDC_OFFT_OPTIONAL_LOW);
  for (int id : ids) {
    double value = 0;
    if (!ParseWhole(GetDlgItemText(id), &value)) {
      FailAt(id, res::LoadString(kStrEnterNumber));
      return false;
    }
    if (value < kNumberLow || value > kNumberHigh) {
      std::string message = res::LoadString(kStrEnterNumberRange);
      const auto replace = [&message](std::string_view key, const std::string& with) {
        const std::size_t at = message.find(key);
        if (at != std::string::npos) message.replace(at, key.size(), with);
      };
      replace("%1", "0");
      replace("%2", "10000");
      FailAt(id, message);
      return false;
    }
  }
  return true;
}

int LyrRawDlgOtherFFT::CheckSettings() {
  if (!AnyChannelOn()) return 1;
  const FFTBandParam& p = m_pDoc->Params.fftBand;
  int faulty = 0;
  if (p.fftPoints == 0) faulty = IDC_OFFT_POINTS;
  else if (p.averagingCount == 0) faulty = IDC_OFFT_AVERAGE;
  else if (p.bandCount == 0) faulty = IDC_OFFT_BAND_COUNT;
  if (faulty != 0) {
    FailAt(faulty, res::LoadString(kStrNotSpecified));
    return 0;
  }
  const int count = std::min<int>(p.bandCount, static_cast<int>(kOfftBandEdits.size()));
  for (int k = 0; k < count; ++k) {
    const int id = kOfftBandEdits[static_cast<std::size_t>(k)][0];
    if (GetDlgItemText(id).size() > kNameChars) {
      char text[256];
      std::snprintf(text, sizeof text, res::LoadString(kStrNameTooLong).c_str(), static_cast<int>(kNameChars));
      FailAt(id, text);
      return 0;
    }
  }
  std::vector<int> frequencies;
  for (int k = 0; k < count; ++k) {
    frequencies.push_back(kOfftBandEdits[static_cast<std::size_t>(k)][1]);
    frequencies.push_back(kOfftBandEdits[static_cast<std::size_t>(k)][2]);
  }
  if (p.contentRange != 0) {
    frequencies.push_back(IDC_OFFT_OPTIONAL_LOW);
    frequencies.push_back(IDC_OFFT_OPTIONAL_HIGH);
  }
  for (int id : frequencies) {
    if (ReadNumber(GetDlgItemText(id)) <= 0) {
      FailAt(id, res::LoadString(kStrGreaterThanZero));
      return 0;
    }
  }
  return 1;
}

int LyrRawDlgOtherFFT::ApplySettings() {
  if (!ExchangeNumbers()) return 0;
  if (CheckSettings() == 0) return 0;
  if (m_pDoc == nullptr) return 1;
  FFTBandParam& p = m_pDoc->Params.fftBand;
  if (p.fftPoints != saved_.fftPoints || p.averagingCount != saved_.averagingCount) m_Changed = 1;
  for (int i = 0; i < ChannelCount(); ++i)
    if (p.channelSwitch[static_cast<std::size_t>(i)] != saved_.channelSwitch[static_cast<std::size_t>(i)]) m_Changed = 1;

  const int window = Item(IDC_OFFT_WINDOW).GetCurSel();
  if (window >= 0 && window < static_cast<int>(kWindowOfEntry.size()))
    p.windowType = kWindowOfEntry[static_cast<std::size_t>(window)];
  if (p.windowType != saved_.windowType) m_Changed = 1;
  const int unit = Item(IDC_OFFT_UNIT).GetCurSel();
  if (unit == 0 || unit == 1) p.unit = static_cast<std::uint16_t>(unit);
  if (p.unit != saved_.unit) m_Changed = 1;

  const int s = Item(IDC_OFFT_BAND_COUNT).GetCurSel();
  if (s >= 0) {
    p.bandCount = static_cast<std::uint16_t>(s + 1);
    for (int k = 0; k <= s && k < static_cast<int>(kOfftBandEdits.size()); ++k) {
      const auto& ids = kOfftBandEdits[static_cast<std::size_t>(k)];
      FrequencyBand& band = p.bands[static_cast<std::size_t>(k)];
      band.name = GetDlgItemText(ids[0]).substr(0, kNameChars);
      band.fromHz = ReadNumber(GetDlgItemText(ids[1]));
      band.toHz = ReadNumber(GetDlgItemText(ids[2]));
    }
  }
  p.optionalFromHz = static_cast<float>(ReadNumber(GetDlgItemText(IDC_OFFT_OPTIONAL_LOW)));
  p.optionalToHz = static_cast<float>(ReadNumber(GetDlgItemText(IDC_OFFT_OPTIONAL_HIGH)));
  return 1;
}

void LyrRawDlgOtherFFT::RestoreSettings() {
  if (m_pDoc != nullptr) m_pDoc->Params.fftBand = saved_;
}
