#pragma once
// "Channel Selection" (dialog 193): picks one channel of the recording, either
// from all channels (mode 0) or from those marked for FFT (mode 1). The caller
// sets the document and the initial channel, runs it and reads Result after OK.
#include <cstdint>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrDlgChannelSelection : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 193;
  static constexpr int kChannelList = 1670;
  LyrDlgChannelSelection(std::int32_t mode, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  CQLM2_AnalyzerDoc* Document = nullptr;
  std::int32_t Mode = 0;
  std::int16_t InitialChannel = 0;
  // Index into the document's channel table of the chosen channel.
  std::int32_t Result = 0;
};
