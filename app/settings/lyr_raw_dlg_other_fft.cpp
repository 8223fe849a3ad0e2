#include "app/settings/lyr_raw_dlg_other_fft.h"

#include "app/document/qlm2_analyzer_doc.h"

bool LyrRawDlgOtherFFT::OnInitDialog() {
  m_Changed = 0;
  if (m_pDoc != nullptr) saved_ = m_pDoc->Params.fftBand;
  return true;
}

int LyrRawDlgOtherFFT::ApplySettings() {
  if (m_pDoc == nullptr) return 1;
  const FFTBandParam& now = m_pDoc->Params.fftBand;
  if (now.fftPoints != saved_.fftPoints || now.averagingCount != saved_.averagingCount ||
      now.windowType != saved_.windowType || now.unit != saved_.unit)
    m_Changed = 1;
  const int channels = m_pDoc->RecordInfo.channelCount;
  for (int i = 0; i < channels && i < 32; ++i)
    if (now.channelSwitch[static_cast<std::size_t>(i)] != saved_.channelSwitch[static_cast<std::size_t>(i)]) m_Changed = 1;
  return 1;
}

void LyrRawDlgOtherFFT::RestoreSettings() {
  if (m_pDoc != nullptr) m_pDoc->Params.fftBand = saved_;
}
