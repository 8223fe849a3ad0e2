#include "app/raw/lyr_raw_dlg_confirmation_wfr.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_mouse.h"
#include "app/raw/wave_recognition.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

// ---- Finders ---------------------------------------------------------------------------------

bool BandFindParameter(std::span<const float> x, double kMin, double kMax, double kPeak, int maxExtrema,
                       double* amplitudeMin, double* amplitudeMax, double* peakLevel, double* emgLevel) {
  const std::size_t n = x.size();
  if (n < 2) return false;
  // The first sample that differs from the first gives the start direction.
  std::size_t k = 1;
  while (k < n && x[k] == x[0]) ++k;
  if (k == n) return false;
  bool rising = x[k] > x[0];

  double sum = 0.0;
  for (const float v : x) sum += v;
  const double m = sum / static_cast<double>(n);

  if (emgLevel != nullptr) {
    // Steps that turn against the previous step's direction, the first step counting.
    double turns = 0.0;
    int previous = -1;
    for (std::size_t i = 0; i + 1 < n; ++i) {
      const double d = static_cast<double>(x[i + 1]) - x[i];
      const int direction = d >= 0 ? 1 : 0;
      if (direction != previous) turns += std::fabs(d);
      previous = direction;
    }
    *emgLevel = 0.99 * turns / static_cast<double>(n);
  }

  std::vector<double> maxima;
  std::vector<double> minima;
  bool found = false;
  double best = 0.0;
  int recorded = 0;
  for (std::size_t i = 1; i < n && recorded < maxExtrema; ++i) {
    const double d = static_cast<double>(x[i]) - m;
    if (rising) {
      if (d > 0 && (!found || d > best)) {
        best = d;
        found = true;
      } else if (d < 0 && found && best > 0) {
        maxima.push_back(best);
        ++recorded;
        rising = false;
        best = d;
      }
    } else {
      if (d < 0 && (!found || d < best)) {
        best = d;
        found = true;
      } else if (d > 0 && found && best < 0) {
        minima.push_back(best);
        ++recorded;
        rising = true;
        best = d;
      }
    }
  }
  if (recorded < 2 || maxima.empty() || minima.empty()) return false;
  const double a = *std::max_element(maxima.begin(), maxima.end()) - *std::min_element(minima.begin(), minima.end());
  *amplitudeMin = a * kMin;
  *amplitudeMax = a * kMax;
  *peakLevel = a * kPeak;
  return true;
}

bool EogFindParameter(std::span<const float> x, const EogFindScale& scale, EogRecord* record) {
  if (record == nullptr || scale.rate <= 0) return false;
  const std::size_t n = x.size();
  // The detector's window: rate / 50 samples, at least 3, even.
  long long w = static_cast<long long>(scale.rate * 0.02);
  if (w < 3) w = 3;
  if (w % 2) ++w;
  if (static_cast<long long>(n) < w) return false;

  const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
  const double span = static_cast<double>(*hi) - *lo;
  if (span < record->amplitudeMin) record->amplitudeMin = span;
  const double ms = static_cast<double>(n) * 1000.0 / scale.rate;
  if (ms < record->durationMinMs) record->durationMinMs = ms;

  // Steepness as the detector sees it: the product of two successive window differences,
  // held over w positions in a row; the steepest such run gives the angle.
  const long long count = static_cast<long long>(n) - 2 * w;
  double steepest = 0.0;
  if (count >= w) {
    std::vector<double> p(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i)
      p[static_cast<std::size_t>(i)] = (static_cast<double>(x[i + w]) - x[i]) * (static_cast<double>(x[i + 2 * w]) - x[i + w]);
    for (long long i = 0; i + w <= count; ++i) {
      const double least = *std::min_element(p.begin() + i, p.begin() + i + w);
      steepest = std::max(steepest, least);
    }
  }
  if (steepest > 0.0 && scale.pageSeconds > 0) {
    const double widthMm = scale.screenWidthMm > 0 ? scale.screenWidthMm : 360.0;
    const double g = (scale.screenWidthPx * 300.0 / widthMm) * static_cast<double>(w) /
                     (static_cast<double>(scale.rate) * scale.pageSeconds + 1);
    const double h = 300.0 / scale.pageSeconds * 0.1 * scale.pixelsPerCmX;
    const double unit = h * g * 0.1;
    // A little below the steepest run, so that the detector takes it.
    if (unit > 0) record->detectAngle = std::atan(0.9 * steepest / unit) * 180.0 / std::numbers::pi;
  }
  return true;
}

// ---- The dialog ------------------------------------------------------------------------------

namespace {

constexpr std::uint32_t kIdsPeakDetectLevel = 63210;
constexpr std::uint32_t kIdsAmpMin = 63211;
constexpr std::uint32_t kIdsAmpMax = 63212;
constexpr std::uint32_t kIdsEmgCancelLevel = 63213;
constexpr std::uint32_t kIdsDetectAngle = 63214;
constexpr std::uint32_t kIdsDurMin = 63215;

constexpr double kSteps[3] = {0.1, 0.004, 0.004};

// The band record of wave types 1 .. 7.
WaveFormRecognitionParam::Band BandOf(int waveType) {
  using W = WaveFormRecognitionParam;
  static constexpr W::Band kBands[] = {W::kDelta, W::kTheta, W::kAlpha, W::kSpindle, W::kBand1, W::kBand2, W::kBand3};
  return kBands[std::clamp(waveType, 1, 7) - 1];
}

std::string Format3(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// The name of a wave type (strings 2053 .. 2062 stand in record order: Alpha, Delta, ...).
std::uint32_t TypeNameId(int waveType) {
  static constexpr std::uint32_t kIds[] = {2054, 2055, 2053, 2056, 2057, 2058, 2059, 2060, 2061, 2062};
  return kIds[std::clamp(waveType, 1, 10) - 1];
}

}  // namespace

LyrRawDlgConfirmationWFR::LyrRawDlgConfirmationWFR(CQLM2_AnalyzerDoc* doc, int waveType, int row, int channel,
                                                   std::int64_t first, std::int64_t last, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent),
      doc_(doc),
      waveType_(waveType),
      row_(row),
      channel_(channel),
      first_(std::min(first, last)),
      last_(std::max(first, last)),
      known_(doc != nullptr && waveType >= 1 && waveType <= 10) {}

double LyrRawDlgConfirmationWFR::Value(int row) const {
  const WaveFormRecognitionParam& p = doc_->Params.waveForm;
  if (waveType_ <= 7) {
    const BandWaveRecord& b = p.bands[static_cast<std::size_t>(BandOf(waveType_))];
    return row == 0 ? b.peakDetectLevel : row == 1 ? b.amplitudeMin : b.amplitudeMax;
  }
  if (waveType_ == 8) {
    const KComplexRecord& k = p.kComplex;
    return row == 0 ? k.peakDetectLevel : row == 1 ? k.amplitudeMin : k.amplitudeMax;
  }
  const EogRecord& e = waveType_ == 9 ? p.eogRight : p.eogLeft;
  return row == 0 ? e.detectAngle : row == 1 ? e.amplitudeMin : e.durationMinMs;
}

void LyrRawDlgConfirmationWFR::SetValue(int row, double v) {
  WaveFormRecognitionParam& p = doc_->Params.waveForm;
  if (waveType_ <= 7) {
    BandWaveRecord& b = p.bands[static_cast<std::size_t>(BandOf(waveType_))];
    (row == 0 ? b.peakDetectLevel : row == 1 ? b.amplitudeMin : b.amplitudeMax) = v;
  } else if (waveType_ == 8) {
    KComplexRecord& k = p.kComplex;
    (row == 0 ? k.peakDetectLevel : row == 1 ? k.amplitudeMin : k.amplitudeMax) = v;
  } else {
    EogRecord& e = waveType_ == 9 ? p.eogRight : p.eogLeft;
    (row == 0 ? e.detectAngle : row == 1 ? e.amplitudeMin : e.durationMinMs) = v;
  }
}

std::uint16_t* LyrRawDlgConfirmationWFR::ShowFlag(bool peak) const {
  WaveFormRecognitionParam& p = doc_->Params.waveForm;
  if (waveType_ <= 7) {
    BandWaveRecord& b = p.bands[static_cast<std::size_t>(BandOf(waveType_))];
    return peak ? &b.showPeak : &b.show;
  }
  if (waveType_ == 8) return peak ? &p.kComplex.showPeak : &p.kComplex.show;
  EogRecord& e = waveType_ == 9 ? p.eogRight : p.eogLeft;
  return peak ? &e.showPeak : &e.show;
}

std::span<const float> LyrRawDlgConfirmationWFR::Stretch() const {
  if (doc_ == nullptr || row_ < 0 || row_ >= LyrRecordInfo::kPageBufferCount || channel_ < 0 ||
      channel_ >= std::min(doc_->RecordInfo.channelCount, static_cast<int>(doc_->ChInfo.size())))
    return {};
  const std::vector<float>& buffer = doc_->RecordInfo.pageBuffers[static_cast<std::size_t>(row_)];
  if (buffer.empty()) return {};
  float* slot = const_cast<float*>(buffer.data());
  const float* start = doc_->GetChDataPtr(static_cast<short>(row_), static_cast<unsigned>(channel_), slot);
  const auto offset = static_cast<std::size_t>(start - buffer.data());
  const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(channel_)];
  const std::size_t span = static_cast<std::size_t>(std::max(ch.rate, 0)) * static_cast<std::size_t>(PageSeconds) + 1;
  if (offset >= buffer.size()) return {};
  const std::size_t available = std::min(span, buffer.size() - offset);
  if (first_ < 0 || static_cast<std::size_t>(first_) >= available) return {};
  const std::size_t end = std::min(static_cast<std::size_t>(last_) + 1, available);
  return std::span<const float>(buffer.data() + offset + static_cast<std::size_t>(first_), end - static_cast<std::size_t>(first_));
}

bool LyrRawDlgConfirmationWFR::OnInitDialog() {
  if (!known_) return true;
  for (int r = 0; r < 3; ++r) {
    Item(kSpins[r]).SetRange(-20000, 20000);
    Item(kSpins[r]).SetPos(0);
    MapNotify(static_cast<std::uint32_t>(kSpins[r]), ui::UDN_DELTAPOS, [this, r] { OnSpin(r); });
  }
  MapCommand(kPreview, [this] { OnPreview(); });
  SetDlgItemText(kLabels[3], "");
  SetDlgItemText(kEdits[3], "");

  WaveFormRecognitionParam& p = doc_->Params.waveForm;
  for (int r = 0; r < 3; ++r) saved_[r] = Value(r);
  std::uint16_t* show = ShowFlag(false);
  std::uint16_t* showPeak = ShowFlag(true);
  savedShow_ = *show;
  savedShowPeak_ = *showPeak;
  *show = 1;
  *showPeak = 1;

  const std::span<const float> x = Stretch();
  const int maxExtrema = EpochSeconds * 100;
  if (waveType_ <= 8) {
    const bool band = waveType_ <= 7;
    double aMin = 0, aMax = 0, peak = 0, emg = 0;
    if (BandFindParameter(x, 0.5, band ? 1.5 : 1.0, 0.25, maxExtrema, &aMin, &aMax, &peak, &emg)) {
      SetValue(0, peak);
      SetValue(1, aMin);
      SetValue(2, aMax);
    }
    if (band && p.bands[static_cast<std::size_t>(BandOf(waveType_))].emgCancel != 0 && !x.empty()) {
      SetDlgItemText(kLabels[3], res::LoadString(kIdsEmgCancelLevel));
      SetDlgItemText(kEdits[3], Format3(emg));
    }
  } else {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(std::max(channel_, 0))];
    const EyeScreenGeometry g = ScreenEyeGeometry();
    EogFindScale scale{ch.rate, PageSeconds, g.screenWidthPx, g.screenWidthMm, g.pixelsPerCmX};
    EogFindParameter(x, scale, waveType_ == 9 ? &p.eogRight : &p.eogLeft);
    // The minimum duration is shown; its spin has no step rule.
    EnableItem(kSpins[2], false);
  }

  SetDlgItemText(kTypeName, res::LoadString(TypeNameId(waveType_)));
  if (waveType_ >= 5 && waveType_ <= 7)
    SetDlgItemText(kTypeName, p.bands[static_cast<std::size_t>(BandOf(waveType_))].name);
  SetDlgItemText(kLabels[0], res::LoadString(IsEog() ? kIdsDetectAngle : kIdsPeakDetectLevel));
  SetDlgItemText(kLabels[1], res::LoadString(kIdsAmpMin));
  SetDlgItemText(kLabels[2], res::LoadString(IsEog() ? kIdsDurMin : kIdsAmpMax));
  for (int r = 0; r < 3; ++r) {
    base_[r] = Value(r);
    SetDlgItemText(kEdits[r], Format3(base_[r]));
  }
  return true;
}

void LyrRawDlgConfirmationWFR::OnSpin(int row) {
  if (!known_ || row < 0 || row > 2) return;
  if (IsEog() && row == 2) return;
  const double v = base_[row] + Item(kSpins[row]).GetPos() * kSteps[row];
  const bool accepted = row == 0 ? (v > 0.01 && v < 90.0) : v > 0.01;
  if (!accepted) return;
  SetDlgItemText(kEdits[row], Format3(v));
  SetValue(row, v);
}

void LyrRawDlgConfirmationWFR::ReadEdits() {
  const int rows = IsEog() ? 2 : 3;
  for (int r = 0; r < rows; ++r) {
    const double v = std::atof(GetDlgItemText(kEdits[r]).c_str());
    SetValue(r, v);
    base_[r] = v;
    Item(kSpins[r]).SetPos(0);
  }
}

void LyrRawDlgConfirmationWFR::OnPreview() {
  if (!known_) return;
  ReadEdits();
  if (CMainFrame* f = CQLM2_AnalyzerDoc::MainFrame()) f->RefreshAllViews(-1);
}

void LyrRawDlgConfirmationWFR::OnOK() {
  if (known_) {
    ReadEdits();
    *ShowFlag(false) = savedShow_;
    *ShowFlag(true) = savedShowPeak_;
  }
  EndDialog(ui::IDOK);
}

void LyrRawDlgConfirmationWFR::OnCancel() {
  if (known_) {
    for (int r = 0; r < 3; ++r) SetValue(r, saved_[r]);
    *ShowFlag(false) = savedShow_;
    *ShowFlag(true) = savedShowPeak_;
  }
  EndDialog(ui::IDCANCEL);
}

int RunWaveFormConfirmation(CQLM2_AnalyzerDoc& doc, const RawPreviewPick& pick, int waveType) {
  const RawPreviewPick local = rawmouse::PickInRowPage(doc, pick);
  LyrRawDlgConfirmationWFR dlg(&doc, waveType, local.row, local.channel, local.first, local.last);
  return dlg.DoModal() == ui::IDOK ? ui::IDOK : ui::IDCANCEL;
}
