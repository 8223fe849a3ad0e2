#pragma once
// The epoch tool bar of the main frame ("Epoch tool Bar", dialog 320): where the
// user is in the recording, the quickest navigation buttons and three display
// combos ("Show type:", "Gain:", "Page:").
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/control_bar.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;
namespace draw {
class Dc;
}

// A dialog bar that runs an initialisation step once its controls exist.
class TzrCInitDialogBar : public ui::DialogBar {
 public:
  // Creates the bar; true when it was made and its initialisation step succeeded.
  bool Create(ui::Frame* frame, int templateId, int barId);
  virtual bool OnInitDialogBarStep() { return true; }
};

// One row of the gain or page-length tables.
struct GainChoice {
  const char* label;
  double gain;
};
struct PageChoice {
  std::string label;
  std::int32_t seconds;  // -1: "Free"
};

// The epoch strip of the bar: the whole recording over the width, the current
// epoch as a block and every event as a line. eventPositions are in samples at
// samplesPerSecond; lines right of the strip are left out.
struct EpochStripLook {
  std::uint32_t background = 0;
  std::uint32_t currentEpoch = 0;
  std::uint32_t event = 0;
};
void PaintEpochStrip(draw::Dc& dc, const ui::Rect& client, std::int32_t epoch, std::int32_t epochCount,
                     const std::vector<std::int32_t>& eventPositions, double samplesPerSecond,
                     std::int32_t epochSeconds, const EpochStripLook& look);
// The frame around the current epoch's stage button: a 3-pixel line in the
// current-epoch colour, 2 pixels inside the client rectangle.
void PaintCurrentStageFrame(draw::Dc& dc, const ui::Rect& client, std::uint32_t colour);

// The nine gains of the "Gain:" combo, largest first.
const std::vector<GainChoice>& GainChoices();
// Page lengths offered for an epoch length, ending with "Free"; empty for an epoch
// length without a table.
std::vector<PageChoice> PageChoicesForEpoch(std::int32_t epochSeconds);

class LyrFrameBar : public TzrCInitDialogBar {
 public:
  static constexpr int kTemplateId = 320;
  static constexpr int kBarId = 59402;
  enum : int {
    kTimeLabel = 1501,
    kEpochNumber = 1503,
    kSlider = 1505,
    kEpochStrip = 1507,
    kShowTypeCombo = 1703,
    kGainCombo = 1719,
    kPageCombo = 1009,
    kHours = 9017,
    kCurrentFrame = 1803,
    kFirstStageButton = 33016,
    kAutoScroll = 33103,
  };

  explicit LyrFrameBar(CMainFrame* frame) : frame_(frame) {}

  bool OnInitDialogBarStep() override;
  void FillGainCombo();
  void FillPageCombo();
  void FillShowTypeCombo();
  void EnableCombos(bool enable);
  void UpdateTimeTexts(std::int32_t epoch);
  void SetSliderPos(std::int32_t epoch);
  void UpdateStageButtons(std::int32_t epoch);
  void DrawEpochStrip(std::int32_t epoch);
  void SetAutoScrollText(const std::string& text);
  // Seconds of the chosen "Page:" row; "Free" asks for a free length. -1 when none.
  std::int32_t GetSelectedPageSeconds();
  // Slider notifications (WM_HSCROLL codes) with the slider's position.
  void OnSliderScroll(int code, int position);

  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;
  // Pause after a slider jump, so the thumb does not outrun the page (ms).
  std::uint32_t SliderPauseMs = 100;

 private:
  CQLM2_AnalyzerDoc* Document() const;
  void OnGainChanged();
  void OnShowTypeChanged();
  void OnPageChanged();
  void GiveFocusBack();

  CMainFrame* frame_;
  // Epoch the strip shows (-1 before the first drawing).
  std::int32_t stripEpoch_ = -1;
};
