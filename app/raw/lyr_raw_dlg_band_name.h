#pragma once
// "Band name" (dialog 144): edits the name of one of the three free frequency bands of the
// document's wave-form recognition settings. OK stores the typed name, cut to nine bytes;
// Cancel leaves the name as it was.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrRawDlgBandName : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 144;
  static constexpr int kName = 1282;
  // The longest name kept, in bytes of the program's code page (the record holds the
  // terminator too).
  static constexpr int kMaxNameBytes = 9;

  // band: 0, 1 or 2, the first, second or third free band.
  LyrRawDlgBandName(CQLM2_AnalyzerDoc* doc, int band, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;

 private:
  CQLM2_AnalyzerDoc* doc_;
  int band_;
};
