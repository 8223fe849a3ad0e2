#include "app/workspace/lyr_workspace_dlg_fft.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

using namespace fftdlg;

constexpr std::uint32_t kStrRectangular = 64132;
constexpr std::uint32_t kStrPower = 64136;
constexpr std::uint32_t kStrAnalysisTime = 64138;
constexpr std::uint32_t kStrUnitTime = 64139;
constexpr std::uint32_t kStrContradiction = 65484;
constexpr std::uint32_t kStrDisplayRange = 65485;
constexpr std::uint32_t kStrBand = 65486;
constexpr std::uint32_t kStrPercentage = 65487;
constexpr std::uint32_t kStrSpectrumCol = 65491;
constexpr std::uint32_t kStrContentCol = 65492;
constexpr std::uint32_t kStrScaleCol = 65493;
constexpr std::uint32_t kStrSampling = 65494;
constexpr std::uint32_t kStrNo = 65495;
constexpr std::uint32_t kStrCh = 65496;

// Window values in the order of the window combo.
constexpr std::array<std::uint16_t, 4> kWindowOfEntry = {0, 2, 1, 4};

std::string Fmt(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

int ChannelTotal(const CQLM2_AnalyzerDoc* doc) { return doc != nullptr ? std::clamp(doc->RecordInfo.channelCount, 0, 32) : 0; }

void FillChannelColumns(ui::Control list) {
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(kStrNo), 40);
  list.InsertColumn(1, res::LoadString(kStrCh), 100);
  list.InsertColumn(2, res::LoadString(kStrSampling), 100);
}

}  // namespace

std::string FftTimeInfo(int averages, int points, double rateHz) {
  if (!(rateHz > 0.0)) return {};
  char text[160];
  std::snprintf(text, sizeof text, "%s%.2f[sec]   (%s%.2f[sec])", res::LoadString(kStrAnalysisTime).c_str(),
                averages * static_cast<double>(points) / rateHz, res::LoadString(kStrUnitTime).c_str(), points / rateHz);
  return text;
}

// ---- Spectrum Parameter -----------------------------------------------------------------------

LyrWorkspaceDlgFFTParameter::LyrWorkspaceDlgFFTParameter(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_FFT_PARAMETER, parent), doc_(doc) {
  MapNotify(kBandCountCombo, ui::CBN_SELCHANGE, [this] { OnBandCount(); });
  for (int b = 0; b < 6; ++b) MapCommand(kBandFirst + 5 * b + 4, [this, b] { OnColour(b); });
  MapCommand(kOutsideColour, [this] { OnColour(6); });
  MapCommand(kIntegral, [this] { OnPercentMode(); });
  MapCommand(kPercentage, [this] { OnPercentMode(); });
  for (int base : {kSimpleBase, kEpochBase, kPageBase}) {
    MapNotify(base + kRange, ui::EN_KILLFOCUS, [this, base] { OnRangeKillFocus(base); });
    MapNotify(base + kPoints, ui::CBN_SELCHANGE, [this, base] { OnPoints(base); });
  }
  MapCommand(kPageByEpoch, [this] {
    Live().dividedPerEpoch = IsDlgButtonChecked(kPageByEpoch) != 0 ? 1 : 0;
    EnableItem(kDivideSpin, Live().dividedPerEpoch == 0);
  });
  MapCommand(kShowValue, [this] { Live().dividedShowValues = IsDlgButtonChecked(kShowValue) != 0 ? 1 : 0; });
}

FFTPageParam& LyrWorkspaceDlgFFTParameter::Live() { return doc_->Params.fftPage; }

bool LyrWorkspaceDlgFFTParameter::OnInitDialog() {
  if (doc_ == nullptr) return true;
  copy_ = Live();
  const std::array<int, 4> spinIds = {kSimpleBase + kSpin, kEpochBase + kSpin, kDivideSpin, kPageBase + kSpin};
  for (std::size_t i = 0; i < spins_.size(); ++i) {
    spins_[i].OwnerKind = static_cast<std::uint16_t>(i + 1);
    spins_[i].Attach(*this, spinIds[i]);
  }
  ui::Control window = Item(kWindow);
  for (int i = 0; i < 4; ++i) window.AddString(res::LoadString(kStrRectangular + static_cast<std::uint32_t>(i)));
  for (int i = 0; i < 4; ++i)
    if (kWindowOfEntry[static_cast<std::size_t>(i)] == copy_.windowType) window.SetCurSel(i);
  ui::Control unit = Item(kUnit);
  unit.AddString(res::LoadString(kStrPower));
  unit.AddString(res::LoadString(kStrPower + 1));
  unit.SetCurSel(copy_.unit != 0 ? 1 : 0);
  ui::Control count = Item(kBandCountCombo);
  for (int i = 1; i <= 6; ++i) count.AddString(std::to_string(i));
  count.SetCurSel(std::clamp<int>(copy_.bandCount, 1, 6) - 1);
  for (int base : {kSimpleBase, kEpochBase, kPageBase}) {
    ui::Control points = Item(base + kPoints);
    for (int k = 0; k < 10; ++k) points.AddString(std::to_string(64L << k));
  }
  FillBands();
  CheckDlgButton(kShowContent, copy_.showContent != 0 ? 1 : 0);
  CheckRadioButton(kIntegral, kPercentage, copy_.contentMode != 0 ? kPercentage : kIntegral);
  SetDlgItemText(kPercentLow, Fmt("%.3f", copy_.contentFromHz));
  SetDlgItemText(kPercentHigh, Fmt("%.3f", copy_.contentToHz));
  OnPercentMode();
  for (int b = 0; b < 7; ++b) {
    const int swatch = b < 6 ? kBandFirst + 5 * b + 3 : kOutsideSwatch;
    Item(swatch).SetOverlayPainter([this, b](draw::Dc& dc, const ui::Rect& r) {
      dc.FillSolidRect(r, b < 6 ? copy_.bandColours[static_cast<std::size_t>(b)] : copy_.outsideColour);
    });
  }
  FillPages();
  return true;
}

void LyrWorkspaceDlgFFTParameter::FillPages() {
  const FFTPageParam& p = Live();
  struct PageFields {
    int base;
    int averages;
    std::uint32_t points;
    float range;
  };
  const PageFields pages[] = {{kSimpleBase, p.simpleAveraging, p.simpleFftPoints, p.simpleUpperHz},
                              {kEpochBase, p.epochAveraging, p.epochFftPoints, p.epochUpperHz},
                              {kPageBase, p.dividedAveraging, p.dividedFftPoints, p.dividedUpperHz}};
  for (const PageFields& f : pages) {
    SetDlgItemInt(f.base + kAverage, f.averages);
    for (int k = 0; k < 10; ++k)
      if ((64u << k) == f.points) Item(f.base + kPoints).SetCurSel(k);
    SetDlgItemText(f.base + kRange, Fmt("%.3f", f.range));
  }
  CheckDlgButton(kPageByEpoch, p.dividedPerEpoch != 0 ? 1 : 0);
  SetDlgItemInt(kDivide, p.dividedCount);
  EnableItem(kDivideSpin, p.dividedPerEpoch == 0);
  CheckDlgButton(kShowValue, p.dividedShowValues != 0 ? 1 : 0);
  ShowInfo();
}

void LyrWorkspaceDlgFFTParameter::ShowInfo() {
  const FFTPageParam& p = Live();
  double epochRate = 0.0;
  for (int c = 0; c < ChannelTotal(doc_); ++c)
    if (doc_->Params.fftPageSelection.flags[static_cast<std::size_t>(c)] != 0) {
      epochRate = doc_->ChInfo[static_cast<std::size_t>(c)].rate;
      break;
    }
  const std::int32_t pageChannel = doc_->Params.fftPageChannels.channels[0];
  const double pageRate = pageChannel >= 0 && pageChannel < ChannelTotal(doc_) ? doc_->ChInfo[static_cast<std::size_t>(pageChannel)].rate : 0.0;
  SetDlgItemText(kEpochBase + kInfo, FftTimeInfo(p.epochAveraging, static_cast<int>(p.epochFftPoints), epochRate));
  SetDlgItemText(kPageBase + kInfo, FftTimeInfo(p.dividedAveraging, static_cast<int>(p.dividedFftPoints), pageRate));
}

void LyrWorkspaceDlgFFTParameter::FillBands() {
  for (int b = 0; b < 6; ++b) {
    const bool on = b < copy_.bandCount;
    const FrequencyBand& band = copy_.bands[static_cast<std::size_t>(b)];
    for (int k = 0; k < 5; ++k) EnableItem(kBandFirst + 5 * b + k, on);
    SetDlgItemText(kBandFirst + 5 * b, on ? band.name : std::string());
    SetDlgItemText(kBandFirst + 5 * b + 1, on ? Fmt("%.3f", band.fromHz) : std::string());
    SetDlgItemText(kBandFirst + 5 * b + 2, on ? Fmt("%.3f", band.toHz) : std::string());
  }
}

void LyrWorkspaceDlgFFTParameter::OnBandCount() {
  copy_.bandCount = static_cast<std::uint16_t>(std::clamp(Item(kBandCountCombo).GetCurSel() + 1, 1, 6));
  FillBands();
}

void LyrWorkspaceDlgFFTParameter::OnColour(int index) {
  std::uint32_t& colour = index < 6 ? copy_.bandColours[static_cast<std::size_t>(index)] : copy_.outsideColour;
  std::uint32_t chosen = colour;
  if (ui::ChooseColor(this, chosen) != ui::IDOK) return;
  colour = chosen;
  for (int b = 0; b < 6; ++b) Item(kBandFirst + 5 * b + 3).Invalidate();
  Item(kOutsideSwatch).Invalidate();
}

void LyrWorkspaceDlgFFTParameter::OnPercentMode() {
  const bool percent = IsDlgButtonChecked(kPercentage) != 0;
  EnableItem(kPercentLow, percent);
  EnableItem(kPercentHigh, percent);
}

void LyrWorkspaceDlgFFTParameter::OnRangeKillFocus(int base) {
  const float v = static_cast<float>(std::atof(GetDlgItemText(base + kRange).c_str()));
  FFTPageParam& p = Live();
  (base == kSimpleBase ? p.simpleUpperHz : base == kEpochBase ? p.epochUpperHz : p.dividedUpperHz) = v;
}

void LyrWorkspaceDlgFFTParameter::OnPoints(int base) {
  const int k = Item(base + kPoints).GetCurSel();
  if (k < 0) return;
  FFTPageParam& p = Live();
  (base == kSimpleBase ? p.simpleFftPoints : base == kEpochBase ? p.epochFftPoints : p.dividedFftPoints) = 64u << k;
  ShowInfo();
}

void LyrWorkspaceDlgFFTParameter::OnSpinDelta(std::uint16_t kind, const NmUpDown& nm, long* result) {
  if (result != nullptr) *result = 0;
  if (doc_ == nullptr) return;
  FFTPageParam& p = Live();
  std::uint16_t* count = kind == 1 ? &p.simpleAveraging : kind == 2 ? &p.epochAveraging
                       : kind == 3 ? &p.dividedCount : kind == 4 ? &p.dividedAveraging : nullptr;
  if (count == nullptr) return;
  const int step = nm.iPos & 0xFFFF;
  const int next = nm.iDelta >= 0 ? *count + step : *count - step;
  *count = static_cast<std::uint16_t>(std::clamp(next, 1, 100));
  FillPages();
}

void LyrWorkspaceDlgFFTParameter::OnOK() {
  if (doc_ == nullptr) return EndDialog(ui::IDOK);
  for (int base : {kSimpleBase, kEpochBase, kPageBase}) OnRangeKillFocus(base);
  // Everything is read first and checked before anything is stored.
  FFTPageParam next = Live();
  const int window = Item(kWindow).GetCurSel();
  next.windowType = kWindowOfEntry[static_cast<std::size_t>(std::clamp(window, 0, 3))];
  next.unit = Item(kUnit).GetCurSel() == 1 ? 1 : 0;
  next.bandCount = copy_.bandCount;
  for (int b = 0; b < next.bandCount; ++b) {
    FrequencyBand& band = next.bands[static_cast<std::size_t>(b)];
    band.name = GetDlgItemText(kBandFirst + 5 * b).substr(0, 8);
    band.fromHz = std::atof(GetDlgItemText(kBandFirst + 5 * b + 1).c_str());
    band.toHz = std::atof(GetDlgItemText(kBandFirst + 5 * b + 2).c_str());
  }
  next.bandColours = copy_.bandColours;
  next.outsideColour = copy_.outsideColour;
  next.showContent = IsDlgButtonChecked(kShowContent) != 0 ? 1 : 0;
  next.contentMode = IsDlgButtonChecked(kIntegral) != 0 ? 0 : 1;
  next.contentFromHz = static_cast<float>(std::atof(GetDlgItemText(kPercentLow).c_str()));
  next.contentToHz = static_cast<float>(std::atof(GetDlgItemText(kPercentHigh).c_str()));

  auto refuse = [this](const std::string& what, int focus) {
    char text[256];
    std::snprintf(text, sizeof text, res::LoadString(kStrContradiction).c_str(), what.c_str());
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    Item(focus).SetFocus();
  };
  const std::pair<float, int> ranges[] = {{next.simpleUpperHz, kSimpleBase}, {next.epochUpperHz, kEpochBase},
                                          {next.dividedUpperHz, kPageBase}};
  for (const auto& [range, base] : ranges)
    if (!(range > 0.0f)) return refuse(res::LoadString(kStrDisplayRange), base + kRange);
  for (int b = 0; b < next.bandCount; ++b) {
    const FrequencyBand& band = next.bands[static_cast<std::size_t>(b)];
    if (!(band.fromHz < band.toHz)) {
      char name[64];
      std::snprintf(name, sizeof name, res::LoadString(kStrBand).c_str(), b + 1);
      return refuse(name, kBandFirst + 5 * b + 1);
    }
  }
  if (next.contentMode != 0 && !(next.contentFromHz < next.contentToHz))
    return refuse(res::LoadString(kStrPercentage), kPercentLow);
  Live() = next;
  EndDialog(ui::IDOK);
}

void LyrWorkspaceDlgFFTParameter::OnCancel() {
  if (doc_ != nullptr) Live() = copy_;
  EndDialog(ui::IDCANCEL);
}

// ---- Spectrum Scale ---------------------------------------------------------------------------

LyrWorkspaceDlgFFTScale::LyrWorkspaceDlgFFTScale(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_FFT_SCALE, parent), doc_(doc) {
  for (int id : {kScaleAll, kScaleEach, kScaleManual}) MapCommand(id, [this] { OnMode(); });
  MapCommand(kApplySpectrum, [this] { Apply(false); });
  MapCommand(kApplyContent, [this] { Apply(true); });
}

bool LyrWorkspaceDlgFFTScale::OnInitDialog() {
  if (doc_ != nullptr) Scale = doc_->Params.fftPageChannelValues;
  ui::Control list = Item(kScaleList);
  list.SetFullRowSelect(true);
  list.SetGridLines(true);
  list.SetMultiSelect(true);
  const int width = std::max(list.GetClientRect().Width() - 20, 100);
  list.InsertColumn(0, res::LoadString(kStrNo), width * 15 / 100);
  list.InsertColumn(1, res::LoadString(kStrCh), width * 25 / 100);
  list.InsertColumn(2, res::LoadString(kStrSpectrumCol) + res::LoadString(kStrScaleCol), width * 30 / 100);
  list.InsertColumn(3, res::LoadString(kStrContentCol) + res::LoadString(kStrScaleCol), width * 30 / 100);
  FillList();
  const int mode = std::clamp<int>(Scale.word, 0, 2);
  CheckRadioButton(kScaleAll, kScaleManual, kScaleAll + mode);
  OnMode();
  return true;
}

void LyrWorkspaceDlgFFTScale::FillList() {
  ui::Control list = Item(kScaleList);
  const std::vector<int> selected = list.GetSelectedIndexes();
  list.DeleteAllItems();
  for (int c = 0; c < ChannelTotal(doc_); ++c) {
    const int row = list.InsertItem(-1, std::to_string(c + 1));
    list.SetItemText(row, 1, doc_->ChInfo[static_cast<std::size_t>(c)].name);
    list.SetItemText(row, 2, Fmt("%.3f", Scale.lower[static_cast<std::size_t>(c)]));
    list.SetItemText(row, 3, Fmt("%.3f", Scale.upper[static_cast<std::size_t>(c)]));
  }
  for (int r : selected) list.SetSelected(r, true);
}

void LyrWorkspaceDlgFFTScale::OnMode() {
  const int checked = GetCheckedRadioButton(kScaleAll, kScaleManual);
  Scale.word = static_cast<std::uint16_t>(checked == 0 ? 0 : checked - kScaleAll);
  const bool manual = Scale.word == 2;
  for (int id : {kScaleList, kScaleValue, kApplySpectrum, kApplyContent}) EnableItem(id, manual);
}

void LyrWorkspaceDlgFFTScale::Apply(bool content) {
  float v = static_cast<float>(std::fabs(std::atof(GetDlgItemText(kScaleValue).c_str())));
  if (v < 0.001f) v = 0.001f;
  for (int r : Item(kScaleList).GetSelectedIndexes())
    if (r >= 0 && r < 32) (content ? Scale.upper : Scale.lower)[static_cast<std::size_t>(r)] = v;
  FillList();
}

void LyrWorkspaceDlgFFTScale::OnOK() {
  if (doc_ != nullptr) doc_->Params.fftPageChannelValues = Scale;
  EndDialog(ui::IDOK);
}

// ---- Select Channels --------------------------------------------------------------------------

LyrWorkspaceDlgFFTSelectCh::LyrWorkspaceDlgFFTSelectCh(CQLM2_AnalyzerDoc* doc, int mode, ui::Window* parent)
    : ui::Dialog(IDD_FFT_SELECT_CH, parent), doc_(doc), mode_(mode) {
  MapNotify(kChannelList, ui::NM_CLICK, [this] { OnListClick(); });
  MapCommand(kClear, [this] {
    ui::Control list = Item(kChannelList);
    for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
    TakeSelection();
  });
}

bool LyrWorkspaceDlgFFTSelectCh::OnInitDialog() {
  ui::Control list = Item(kChannelList);
  FillChannelColumns(list);
  list.SetMultiSelect(true);
  for (int c = 0; c < ChannelTotal(doc_); ++c) {
    char no[16];
    std::snprintf(no, sizeof no, "%3d", c + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, doc_->ChInfo[static_cast<std::size_t>(c)].name);
    list.SetItemText(row, 2, std::to_string(static_cast<unsigned long>(doc_->ChInfo[static_cast<std::size_t>(c)].rate)));
  }
  if (doc_ != nullptr) {
    Flags = doc_->Params.fftPageSelection.flags;
    Channels = doc_->Params.fftPageChannels.channels;
  }
  if (mode_ == 0) {
    for (int c = 0; c < ChannelTotal(doc_); ++c) list.SetSelected(c, Flags[static_cast<std::size_t>(c)] != 0);
  } else {
    for (std::int32_t c : Channels)
      if (c >= 0 && c < ChannelTotal(doc_)) list.SetSelected(c, true);
  }
  ShowItem(kMaxLabel, mode_ != 0);
  return true;
}

void LyrWorkspaceDlgFFTSelectCh::OnListClick() {
  ui::Control list = Item(kChannelList);
  if (mode_ == 1 && list.GetSelectedIndexes().size() >= 4) {
    for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
    for (std::int32_t c : Channels)
      if (c >= 0) list.SetSelected(c, true);
  }
  const std::vector<int> selected = list.GetSelectedIndexes();
  if (!selected.empty() && doc_ != nullptr) {
    const int rate = doc_->ChInfo[static_cast<std::size_t>(selected.front())].rate;
    for (int r : selected)
      if (doc_->ChInfo[static_cast<std::size_t>(r)].rate != rate) list.SetSelected(r, false);
  }
  TakeSelection();
}

void LyrWorkspaceDlgFFTSelectCh::TakeSelection() {
  const std::vector<int> selected = Item(kChannelList).GetSelectedIndexes();
  if (mode_ == 0) {
    Flags.fill(0);
    for (int r : selected)
      if (r >= 0 && r < 32) Flags[static_cast<std::size_t>(r)] = 1;
  } else {
    Channels = {-1, -1, -1};
    for (std::size_t i = 0; i < selected.size() && i < 3; ++i) Channels[i] = selected[i];
  }
}

void LyrWorkspaceDlgFFTSelectCh::OnOK() {
  if (doc_ != nullptr) {
    if (mode_ == 0) doc_->Params.fftPageSelection.flags = Flags;
    else doc_->Params.fftPageChannels.channels = Channels;
  }
  EndDialog(ui::IDOK);
}

int RunFftChannelSelection(CQLM2_AnalyzerDoc* doc, int mode, ui::Window* parent) {
  LyrWorkspaceDlgFFTSelectCh dlg(doc, mode, parent);
  return dlg.DoModal();
}
