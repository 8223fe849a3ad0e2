#include "app/video/lyr_dlg_avi_compressor.h"

#include <algorithm>

LyrDlgAviCompressor::LyrDlgAviCompressor(AviCompressorChoice& choice, ui::Window* parent)
    : ui::Dialog(IDD_AVI_COMPRESSOR, parent), choice_(choice) {
  MapCommand(kFullFrames, [this] { EnableQuality(); });
  MapCommand(kMotionJpeg, [this] { EnableQuality(); });
}

bool LyrDlgAviCompressor::OnInitDialog() {
  const bool jpeg = choice_.kind == AviCompressorChoice::Kind::MotionJpeg;
  CheckRadioButton(kFullFrames, kMotionJpeg, jpeg ? kMotionJpeg : kFullFrames);
  SetDlgItemInt(kQuality, std::clamp(choice_.quality, 1, 100));
  EnableQuality();
  return true;
}

void LyrDlgAviCompressor::EnableQuality() { EnableItem(kQuality, IsDlgButtonChecked(kMotionJpeg) != 0); }

void LyrDlgAviCompressor::OnOK() {
  AviCompressorChoice chosen;
  chosen.kind = IsDlgButtonChecked(kMotionJpeg) != 0 ? AviCompressorChoice::Kind::MotionJpeg
                                                      : AviCompressorChoice::Kind::FullFrames;
  bool ok = false;
  const long long quality = GetDlgItemInt(kQuality, &ok);
  chosen.quality = ok ? static_cast<int>(std::clamp<long long>(quality, 1, 100)) : choice_.quality;
  choice_ = chosen;
  EndDialog(ui::IDOK);
}
