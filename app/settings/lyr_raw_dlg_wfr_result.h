#pragma once
// The recognised-wave list (dialog 145): a small window beside a recognised wave of the raw
// page with that wave's measures (name, start time, duration, amplitude and, for the bands,
// half waves and frequencies). A right click on a recognised wave opens it; each page row
// holds at most one list, which a right click on that row or the next opening closes. Enter
// and Esc in a list ask the middle row (the current page) to close the list it holds.
#include <cstdint>
#include <string>
#include <vector>

#include "app/raw/wave_recognition.h"
#include "platform/draw/geometry.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrRawDlgWFRResult : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 145;
  static constexpr int kList = 1284;

  // The list shows a copy of `wave` with the names and units of `doc` at this moment.
  LyrRawDlgWFRResult(CQLM2_AnalyzerDoc* doc, const RecognizedWaveRecord& wave);

  bool OnInitDialog() override;
  void OnOK() override { RequestClose(); }
  void OnCancel() override { RequestClose(); }
  // Asks the middle row to close the list it holds.
  void RequestClose();

  // The rows shown, label and value (for tests and the window alike).
  struct Line {
    std::string label;
    std::string value;
  };
  static std::vector<Line> Lines(const CQLM2_AnalyzerDoc& doc, const RecognizedWaveRecord& wave);

 private:
  void Fill();
  CQLM2_AnalyzerDoc* doc_;
  RecognizedWaveRecord wave_;
};

// The list a page row (0 .. 4) holds, and the index of its wave (-1 none).
LyrRawDlgWFRResult* WFRResultDlg(int row);
int WFRResultIndex(int row);
// Closes the list of a row: 1 when one was open, else 0.
int CloseWFRResultDlg(int row);
// Closes every row's list at once (the program's end).
void CloseAllWFRResultDlgs();
// The right button on a row: with a wave, opens its list beside the frame (5 pixels right of
// it, left of it at the screen's right edge), topmost, after closing the row's open list; with
// none, closes the row's list. True when a list was opened or closed.
bool ShowWFRResultForWave(CQLM2_AnalyzerDoc* doc, int row, const RecognizedWaveRecord* wave, int waveIndex,
                          const draw::Rect& frameOnScreen);
// Routes the raw page's right button to ShowWFRResultForWave.
void InstallWaveListHook();
