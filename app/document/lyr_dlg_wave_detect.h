#pragma once
// "Wave detect": the modeless dialog of the animal edition that edits WaveDetectParam,
// previews the search on the current page, searches the whole recording (OK) or puts back
// the settings and marks of its opening (Cancel).
#include <cstdint>

#include "app/document/seizure_finding.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

// Searches the document's recording for the channel of WaveDetectParam into SeizureMarks
// (which the caller has cleared); no search without a valid channel. A failure to read or to
// allocate shows "CQLM2_AnalyzerDoc::FindSeizure".
void FindSeizureInDocument(CQLM2_AnalyzerDoc& doc, bool wholeRecording, bool chain);

class LyrDlgWaveDetect : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 261;
  static constexpr int kPreview = 1174;
  static constexpr int kChain = 1688;
  static constexpr int kChannel = 1983;
  static constexpr int kColourSwatch = 1985;
  static constexpr int kColour = 1987;
  static constexpr int kPeakLevel = 1993;
  static constexpr int kAmpMin = 1995;
  static constexpr int kAmpMax = 1997;
  static constexpr int kFrqMin = 1999;
  static constexpr int kFrqMax = 9000;
  static constexpr int kHalfWaves = 9002;

  explicit LyrDlgWaveDetect(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  // With a channel: reads the controls and searches the whole recording; then closes.
  void OnOK() override;
  // Puts back the settings and marks of the opening and closes.
  void OnCancel() override;

  CQLM2_AnalyzerDoc* Document() const { return doc_; }

 private:
  void FillControls();
  void ReadControls();
  void OnChannelChange();
  void OnColour();
  void OnPreview();
  // Has the main frame redraw every row with the new marks.
  void RefreshViews();

  CQLM2_AnalyzerDoc* doc_;
  WaveDetectSession session_;
};
