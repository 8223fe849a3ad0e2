#include "app/settings/lyr_raw_dlg_sleep_disturbance_cnfrm.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <new>
#include <vector>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/recognition_binding.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_move.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_resp.h"
#include "app/settings/sleep_disturbance_page_common.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

struct KindInfo {
  int kind;
  double factor;
  std::uint32_t name;
};
constexpr KindInfo kKinds[] = {{kSdAirflow, 0.25, 2163}, {kSdRespC, 0.25, 2165}, {kSdRespA, 0.25, 2166},
                               {kSdLMLeft, 15.0, 2174},  {kSdLMRight, 15.0, 2175}, {kSdECG, 0.25, 2167},
                               {kSdSnore, 15.0, 2320},   {kSdArousal, 0.1, 2321}};

const KindInfo* InfoOf(int kind) {
  for (const KindInfo& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

bool HasAmplitude(int kind) { return kind == kSdAirflow || kind == kSdRespC || kind == kSdRespA; }

// The block's channel, level and (for the respiration kinds) amplitude of a kind.
struct KindFields {
  std::int32_t channel = -1;
  double* level = nullptr;
  double* amplitude = nullptr;
};
KindFields FieldsOf(SleepDstrbParam& p, int kind) {
  switch (kind) {
    case kSdAirflow: return {p.airFlow.channel, &p.airFlow.values[3], &p.airFlow.values[2]};
    case kSdRespC: return {p.chest.channel, &p.chest.values[3], &p.chest.values[2]};
    case kSdRespA: return {p.abdomen.channel, &p.abdomen.values[3], &p.abdomen.values[2]};
    case kSdLMLeft: return {p.legLeft.channel, &p.legLeft.values[0], nullptr};
    case kSdLMRight: return {p.legRight.channel, &p.legRight.values[0], nullptr};
    case kSdECG: return {p.ecgChannel, &p.ecgPeakLevel, nullptr};
    case kSdSnore: return {p.snore.channel, &p.snore.values[0], nullptr};
    case kSdArousal: return {p.arousal.channel, &p.arousal.values[0], nullptr};
    default: return {};
  }
}

}  // namespace

bool MeasurePeakToPeak(std::span<const float> x, int maxExtremes, double* amplitude) {
  const std::size_t n = x.size();
  if (n < 2 || maxExtremes < 2) return false;
  int direction = 0;  // 1 rising, -1 falling
  for (std::size_t k = 1; k < n && direction == 0; ++k) {
    if (x[k] > x[0]) direction = 1;
    else if (x[k] < x[0]) direction = -1;
  }
  if (direction == 0) return false;

  std::vector<double> extremes;  // alternating, the first of the start direction
  extremes.reserve(static_cast<std::size_t>(maxExtremes));
  double mean = 0.0;
  for (float v : x) mean += v;
  mean /= static_cast<double>(n);

  bool rising = direction > 0;
  const bool startsWithPeak = rising;
  double current = x[0] - mean;
  bool candidate = false;
  for (std::size_t k = 0; k < n && extremes.size() < static_cast<std::size_t>(maxExtremes); ++k) {
    const double y = x[k] - mean;
    if (rising) {
      if (y > current && y > 0.0) {
        current = y;
        candidate = true;
      } else if (y < 0.0 && candidate) {
        extremes.push_back(current);
        rising = false;
        current = y;
        candidate = false;
      }
    } else {
      if (y < current && y < 0.0) {
        current = y;
        candidate = true;
      } else if (y > 0.0 && candidate) {
        extremes.push_back(current);
        rising = true;
        current = y;
        candidate = false;
      }
    }
  }
  if (extremes.size() < 2) return false;
  double highest = -3.4028234663852886e38;
  double lowest = 3.4028234663852886e38;
  for (std::size_t i = 0; i < extremes.size(); ++i) {
    const bool peak = (i % 2 == 0) == startsWithPeak;
    if (peak) highest = std::max(highest, extremes[i]);
    else lowest = std::min(lowest, extremes[i]);
  }
  *amplitude = highest - lowest;
  return true;
}

LyrRawDlgSleepDisturbanceCnfrm::LyrRawDlgSleepDisturbanceCnfrm(ui::Window* parent)
    : ui::Dialog(IDD_SLEEP_DISTURBANCE_CNFRM, parent) {
  MapNotify(IDC_SDC_SPIN, ui::UDN_DELTAPOS, [this] { OnThresholdSpin(); });
}

bool LyrRawDlgSleepDisturbanceCnfrm::FindRespParameter(int channel, double factor, double* level,
                                                       double* amplitude) {
  if (m_pDoc == nullptr || m_PageBufferKind >= LyrRecordInfo::kPageBufferCount) return false;
  const int count = sdpage::ChannelCount(m_pDoc);
  if (channel < 0 || channel >= count) return false;
  const std::vector<float>& buffer = m_pDoc->RecordInfo.pageBuffers[m_PageBufferKind];
  const int rate = m_pDoc->ChInfo[static_cast<std::size_t>(channel)].rate;
  if (buffer.empty() || rate <= 0 || PageSeconds <= 0) return false;
  const float* data = m_pDoc->GetChDataPtr(static_cast<short>(m_PageBufferKind), static_cast<unsigned>(channel),
                                           const_cast<float*>(buffer.data()));
  const std::size_t offset = static_cast<std::size_t>(data - buffer.data());
  if (offset >= buffer.size()) return false;
  const std::size_t held = std::min(static_cast<std::size_t>(rate) * PageSeconds + 1, buffer.size() - offset);

  // The marks index the marked channel's page data: the same time on the measured channel.
  int markedRate = rate;
  if (m_MarkedChannel >= 0 && m_MarkedChannel < count && m_pDoc->ChInfo[static_cast<std::size_t>(m_MarkedChannel)].rate > 0)
    markedRate = m_pDoc->ChInfo[static_cast<std::size_t>(m_MarkedChannel)].rate;
  const auto toChannel = [&](long long sample) {
    const long long s = sample * rate / markedRate;
    return static_cast<std::size_t>(std::clamp<long long>(s, 0, static_cast<long long>(held) - 1));
  };
  const std::size_t first = toChannel(std::min(m_StartSample, m_EndSample));
  const std::size_t last = toChannel(std::max(m_StartSample, m_EndSample));
  double found = 0.0;
  try {
    const int maxExtremes = std::max(EpochSeconds, 0) * 20;
    if (!MeasurePeakToPeak(std::span<const float>(data + first, last - first + 1), maxExtremes, &found)) return false;
  } catch (const std::bad_alloc&) {
    ui::MessageBox(res::LoadString(IDS_SD_MEASURE_FAILED));
    return false;
  }
  *amplitude = found;
  *level = found * factor;
  return true;
}

bool LyrRawDlgSleepDisturbanceCnfrm::OnInitDialog() {
  m_Kind = PreviewKind;
  m_Cancelled = 0;
  double level = 0.0;
  double amplitude = 0.0;
  const KindInfo* info = InfoOf(m_Kind);
  const bool threshold = m_Kind == kSdArousal && m_ThresholdMode != 0;
  SleepDstrbParam* p = m_pDoc != nullptr ? &m_pDoc->Params.sleepDstrb : nullptr;
  if (info == nullptr || p == nullptr) {
    EnableItem(IDC_SDC_SPIN, false);
    for (int id : {IDC_SDC_KIND, IDC_SDC_LEFT_LABEL, IDC_SDC_LEFT_VALUE, IDC_SDC_RIGHT_LABEL, IDC_SDC_RIGHT_VALUE})
      SetDlgItemText(id, "");
    return true;
  }
  KindFields f = FieldsOf(*p, m_Kind);
  if (!threshold) {
    m_PreviousValues[0] = *f.level;
    m_PreviousValues[1] = f.amplitude != nullptr ? *f.amplitude : 0.0;
    FindRespParameter(f.channel, info->factor, &level, &amplitude);
    *f.level = level;
    if (f.amplitude != nullptr) *f.amplitude = amplitude;
  } else {
    m_OriginalThreshold = p->arousalThreshold;
  }

  SetDlgItemText(IDC_SDC_KIND, res::LoadString(info->name));
  SetDlgItemText(IDC_SDC_LEFT_LABEL, "");
  SetDlgItemText(IDC_SDC_RIGHT_LABEL, "");
  SetDlgItemText(IDC_SDC_LEFT_VALUE, "");
  SetDlgItemText(IDC_SDC_RIGHT_VALUE, "");
  if (threshold) {
    SetDlgItemText(IDC_SDC_RIGHT_LABEL, res::LoadString(IDS_SD_THRESHOLD_LEVEL));
    SetDlgItemText(IDC_SDC_RIGHT_VALUE, std::to_string(p->arousalThreshold));
    EnableItem(IDC_SDC_LEFT_VALUE, false);
  } else if (HasAmplitude(m_Kind)) {
    SetDlgItemText(IDC_SDC_LEFT_LABEL, res::LoadString(IDS_SD_PEAK_DETECT_LEVEL));
    sdpage::SetNumber(*this, IDC_SDC_LEFT_VALUE, level);
    SetDlgItemText(IDC_SDC_RIGHT_LABEL, res::LoadString(IDS_SD_AMPLITUDE_100));
    sdpage::SetNumber(*this, IDC_SDC_RIGHT_VALUE, amplitude);
  } else {
    const bool normal = m_Kind == kSdLMLeft || m_Kind == kSdLMRight || m_Kind == kSdSnore;
    SetDlgItemText(IDC_SDC_LEFT_LABEL, res::LoadString(normal ? IDS_SD_NORMAL_DETECT_LEVEL : IDS_SD_PEAK_DETECT_LEVEL));
    sdpage::SetNumber(*this, IDC_SDC_LEFT_VALUE, level);
    EnableItem(IDC_SDC_RIGHT_VALUE, false);
  }

  ui::Control spin = Item(IDC_SDC_SPIN);
  if (threshold) {
    spin.SetRange(1, 255);
    spin.SetPos(p->arousalThreshold);
    spin.Enable(true);
    RecognizeArousalPage();
  } else {
    spin.Enable(false);
  }
  return true;
}

void LyrRawDlgSleepDisturbanceCnfrm::RecognizeArousalPage() {
  if (m_pDoc == nullptr || EpochSeconds <= 0) return;
  SleepDstrbPageContext ctx = SleepDstrbContextForRow(*m_pDoc, kCurrentPageRow);
  ctx.arousalPageMode = true;
  if (ctx.recognizeArousal) ctx.recognizeArousal(ctx);
}

void LyrRawDlgSleepDisturbanceCnfrm::OnThresholdSpin() {
  if (m_pDoc == nullptr || m_ThresholdMode == 0 || m_Kind != kSdArousal) return;
  const int pos = Item(IDC_SDC_SPIN).GetPos();
  if (pos < 1 || pos > 255) return;
  m_pDoc->Params.sleepDstrb.arousalThreshold = static_cast<std::uint16_t>(pos);
  SetDlgItemText(IDC_SDC_RIGHT_VALUE, std::to_string(pos));
  RecognizeArousalPage();
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RefreshAllViews(-1);
}

void LyrRawDlgSleepDisturbanceCnfrm::ReloadGroup() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  LyrRawDlgSleepDisturbanceParent* setup = frame != nullptr ? frame->SleepDisturbanceParentDlg : nullptr;
  if (setup == nullptr) return;
  switch (m_Kind) {
    case kSdAirflow: setup->m_RespPage.LoadAirflow(); break;
    case kSdRespC: setup->m_RespPage.LoadRespC(); break;
    case kSdRespA: setup->m_RespPage.LoadRespA(); break;
    case kSdSnore: setup->m_RespPage.LoadSnore(); break;
    case kSdLMLeft: setup->m_MovePage.LoadLMLeft(); break;
    case kSdLMRight: setup->m_MovePage.LoadLMRight(); break;
    case kSdECG: setup->m_MovePage.LoadECG(); break;
    case kSdArousal: setup->m_MovePage.LoadArousal(); break;
    default: break;
  }
}

void LyrRawDlgSleepDisturbanceCnfrm::RestoreRecordingTables() {
  if (m_pDoc == nullptr) return;
  SleepDstrbTables& t = m_pDoc->RecognitionTables;
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(m_pDoc->Params.sleepDstrb);
  const int epochs = m_pDoc->GetDivNum(EpochSeconds);
  const int arousalValues = epochs * LyrEpochParameter::GetRprsntNumArousal(EpochSeconds);
  if (t.HasArousalRecognizeCopy()) t.RestoreArousalRecognize(ch, arousalValues);
  if (t.HasArousalPeakNumCopy()) t.RestoreArousalPeakNum(ch, arousalValues);
  if (t.HasECGRcgnzCopy()) t.RestoreECGRcgnz(ch, epochs, EpochSeconds);
  if (t.HasECGLFHFCopy()) t.RestoreECGLFHF(ch, epochs);
}

void LyrRawDlgSleepDisturbanceCnfrm::OnOK() {
  m_Cancelled = 0;
  ReloadGroup();
  const bool threshold = m_Kind == kSdArousal && m_ThresholdMode != 0;
  if (threshold) RestoreRecordingTables();
  if (m_Modeless == 0) {
    EndDialog(ui::IDOK);
  } else if (m_pMovePage != nullptr) {
    m_pMovePage->CloseThresholdConfirm();
  }
}

void LyrRawDlgSleepDisturbanceCnfrm::OnCancel() {
  m_Cancelled = 1;
  const bool threshold = m_Kind == kSdArousal && m_ThresholdMode != 0;
  if (m_pDoc != nullptr) {
    SleepDstrbParam& p = m_pDoc->Params.sleepDstrb;
    if (threshold) {
      p.arousalThreshold = m_OriginalThreshold;
      RestoreRecordingTables();
    } else if (InfoOf(m_Kind) != nullptr) {
      KindFields f = FieldsOf(p, m_Kind);
      *f.level = m_PreviousValues[0];
      if (f.amplitude != nullptr) *f.amplitude = m_PreviousValues[1];
    }
  }
  if (m_Modeless == 0) {
    EndDialog(ui::IDCANCEL);
  } else if (m_pMovePage != nullptr) {
    m_pMovePage->CloseThresholdConfirm();
  }
}

void LyrRawDlgSleepDisturbanceCnfrm::OnDestroy() {
  ui::Dialog::OnDestroy();
  // After Cancel the pick stays on, so that another stretch can be marked.
  if (m_Cancelled == 0) RawPreviewMode = 0;
}
