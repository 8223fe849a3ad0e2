#pragma once
// The "Waveform recognition" window (modeless, template 142) that sets the wave-form
// recognition block of the document: per wave type (Delta, Theta, Alpha, Spindle, three free
// bands, K-complex, EOG-R, EOG-L) its channel, display and limits, and the EMG channel of the
// bands' EMG cancel. The window edits the document's block in place; Cancel gives back the
// block as it was when the window was set up. The main frame creates it, keeps the one
// pointer and is told how it ended through CMainFrame::CloseWaveFormRecognitionDlg (1 OK,
// 2 Cancel, 1000 a restart in the full layout after a template switched the animal-only mode
// off).
//
// "Preview" redraws the pages with the edits and hides the window for 2.5 s (timer 8108);
// "Cursor..." hides it while the user marks a wave of the row's type on the page, which the
// confirmation window (dialog 143) measures.
#include <cstdint>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
struct RawPreviewPick;

inline constexpr int IDD_WAVEFORM_RECOGNITION = 142;

class LyrRawDlgWaveFormRecognition : public ui::Dialog {
 public:
  static constexpr std::uint32_t kPreviewTimer = 8108;
  static constexpr std::uint32_t kPreviewMs = 2500;
  // The end code of a restart in the full layout.
  static constexpr int kRestartCode = 1000;

  // Control ids of the window's other controls.
  static constexpr int kPreview = 1174;
  static constexpr int kHigh = 1376;
  static constexpr int kNormal = 1379;
  static constexpr int kLoad = 1275;
  static constexpr int kSave = 1276;
  static constexpr int kEmgChannel = 1203;

  // The controls of one wave type's row (0 where the row has none). `values` are the value
  // edits in the order in which the record stores them.
  struct RowIds {
    int waveType;
    int channel, swatch, colour, show, cursor;
    int values[6];
    int valueCount;
    int showPeak, emgCancel, emgLevel;
    int nameButton;  // the free bands' band-name button
  };
  // Row of wave type 1 .. 10, or null.
  static const RowIds* Row(int waveType);

  explicit LyrRawDlgWaveFormRecognition(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnTimer(std::uint32_t id) override;

  // Row refreshers: fill a row's controls from the block (channels out of range become -1;
  // in the animal-only mode the human-only channels too).
  void UpdateWaveRow(int waveType);
  void UpdateEMG();
  void UpdatePrecision();
  void UpdateAllRows();
  // Row savers: a row's check boxes and edits into the block (the channel is stored when
  // it is chosen, not here).
  void SaveWaveRow(int waveType);
  void SavePrecision();
  void SaveAllRows();
  // 1 when no recognition value differs from the block at set-up (names, colours, Show and
  // Show peak are not compared), else 0. Stores the rows first.
  int IsScreeningConditionUnchanged();

  // The buttons, as a click runs them.
  void OnBPreview();
  void OnBCursor(int waveType);
  void OnBTemplateRead();
  void OnBTemplateSave();
  void PickRowColor(int waveType);
  void EditBandName(int band);

  // Shows or hides the window and keeps m_bShown.
  void ShowSettings(bool show);
  // Repaints the colour swatches.
  void PaintColorSwatches();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // 1 while the window is shown; the raw page takes no pick while it is.
  int m_bShown = 1;
  // The block as it was at set-up.
  WaveFormRecognitionParam m_SavedParam;

 private:
  WaveFormRecognitionParam* Block() const;
  int ChannelCount() const;
  // The record's channel field of a wave type (or of the EMG record for type 0).
  std::int32_t* ChannelField(int waveType) const;
  void FillChannelCombo(int comboId, std::int32_t channel);
  void ReadChannelSelection(int waveType);
  void ClearHumanOnlyChannels();
  void ShowHumanOnlyControls(bool show);
  // The frame redraws every page; nothing without a frame.
  static void RefreshPages();
};

// The frame's wave-form recognition window while it exists, else null.
LyrRawDlgWaveFormRecognition* OpenWaveFormRecognitionDialog();
