#pragma once
// Time-point panels: one point of the recording shown as a day, a time of day, an epoch number
// (full panel only) and a slider, each control moving the others. Range dialogs create them
// as child dialogs inside their own client area.
//   LyrDlgTimePoint (template 177): the value is an epoch number.
//   LyrDlgTimePointCompact (template 183): the value is seconds from the recording start.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/frame/time_point_scale.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_TIME_POINT = 177;
inline constexpr int IDD_TIME_POINT_COMPACT = 183;
inline constexpr int IDC_TP_CAPTION = 1551;
inline constexpr int IDC_TP_TIME = 1552;
inline constexpr int IDC_TP_EPOCH = 1554;
inline constexpr int IDC_TP_SLIDER = 1557;
inline constexpr int IDC_TP_DAY = 1558;

// What both panels share: the controls and their notifications over a scale.
class LyrTimePointPanel : public ui::Dialog {
 public:
  // Creates the panel as a child dialog of its owner (shown).
  // Inside the owner's group box `holderId` when given, else a window of its own.
  bool CreatePanel(ui::Window* owner, int holderId = 0);
  void SetCaption(std::string_view text);
  void EnableControls(bool on);
  // Picker limits of the selected day, in seconds of the day.
  const DayTimeLimits& TimeLimits() const { return limits_; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 protected:
  LyrTimePointPanel(int templateId, ui::Window* parent);
  virtual TimePointScale Scale() const = 0;
  virtual bool HasEpochField() const { return false; }
  // Clock mode: a clock-time mode and a recording whose start time is known.
  bool ClockMode(std::int16_t mode) const;

  // Rebuilds the day list and writes every control from the current value.
  void ShowAll();
  void SelectDay();
  void SetSlider();
  void SetValueText();
  void SetTime();
  void Store(std::int64_t v);

  void OnSlider();
  void OnValueTextChange();
  void OnValueTextKillFocus();
  void OnTimeChange();
  void OnDayChange();

  std::int64_t current_ = 0;
  DayTimeLimits limits_;
  bool writing_ = false;  // controls being written by the panel itself
};

class LyrDlgTimePoint : public LyrTimePointPanel {
 public:
  explicit LyrDlgTimePoint(ui::Window* parent = nullptr);
  // Stores the mode and computes the base: the recording start (clock) or 1 November 2000
  // (elapsed), plus the first channel's start offset in whole seconds.
  void SetTimeMode(std::int16_t mode);
  void SetRange(std::int32_t lowest, std::int32_t highest);
  // Takes the epoch as it is (not clamped) and shows it everywhere.
  void SetEpoch(std::int32_t epoch);
  std::int32_t GetEpoch() const { return static_cast<std::int32_t>(current_); }
  // Shows the epochs of a result file of its own in place of the open recording's: the
  // file's start (clock mode) and epoch length, in the given time mode.
  void SetFileTime(const std::array<std::uint16_t, 6>& start, std::int32_t epochSeconds, std::int16_t mode);

  std::array<std::int16_t, 6> m_Base{2000, 11, 1, 0, 0, 0};
  std::int32_t m_HighEpoch = 0;
  std::int32_t m_LowEpoch = 0;
  std::int16_t m_TimeMode = 0;
  std::int32_t m_FileEpochSeconds = 0;  // a file's epoch length; 0: the recording's

 protected:
  TimePointScale Scale() const override;
  bool HasEpochField() const override { return true; }
};

class LyrDlgTimePointCompact : public LyrTimePointPanel {
 public:
  explicit LyrDlgTimePointCompact(ui::Window* parent = nullptr);
  void SetTimeMode(std::int16_t mode) { m_TimeMode = mode; }
  // Range 0 .. the recording length; the value as given, shown everywhere.
  void SetSeconds(std::int32_t seconds);
  std::int32_t GetSeconds() const { return static_cast<std::int32_t>(current_); }

  std::int16_t m_TimeMode = 0;

 protected:
  TimePointScale Scale() const override;
};

// The "Start(<=)" and "(<=)End" epoch panels of an output dialog, made inside its two holder
// frames over the recording's epochs 0..N-1 in the program's time display. Returns N-1 (0
// without epochs); the callers set the epochs shown.
std::int32_t CreateEpochRangePanels(ui::Dialog& owner, CQLM2_AnalyzerDoc* doc, int startFrame, int endFrame,
                                    std::unique_ptr<LyrDlgTimePoint>* start, std::unique_ptr<LyrDlgTimePoint>* end);
// Destroys the panels that are still windows.
void DestroyEpochRangePanels(LyrDlgTimePoint* start, LyrDlgTimePoint* end);
