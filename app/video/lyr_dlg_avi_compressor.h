#pragma once
// The compressor of a film (template 20298): full frames as captured, or Motion-JPEG at a
// quality of 1..100. Shown modal by the AVI output window before each capture.
#include "platform/ui/dialog.h"

inline constexpr int IDD_AVI_COMPRESSOR = 20298;

struct AviCompressorChoice {
  enum class Kind { FullFrames, MotionJpeg };
  Kind kind = Kind::FullFrames;
  int quality = 75;  // Motion-JPEG only
};

class LyrDlgAviCompressor : public ui::Dialog {
 public:
  static constexpr int kFullFrames = 1001;
  static constexpr int kMotionJpeg = 1002;
  static constexpr int kQuality = 1003;

  LyrDlgAviCompressor(AviCompressorChoice& choice, ui::Window* parent);
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void EnableQuality();
  AviCompressorChoice& choice_;
};
