#pragma once
// "Syncronized video and waveform files" (modeless, template 291): ties a video to the waves.
// The user shows the video frame of a known moment and gives that moment as day, time and
// milliseconds (or picks it on the waves); OK gives the offset between the moment and the
// player's position. OK and Cancel both end in the main frame's CMainFrame::EndVideoSyncDlg
// (1 OK, 2 Cancel).
#include <array>
#include <cstdint>

#include "app/frame/time_point_scale.h"
#include "app/video/video_time_pick.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class CVPInfoExchange;

inline constexpr int IDD_VIDEO_SYNC = 291;
inline constexpr int IDC_VS_INSTRUCTION_TIME = 9130;
inline constexpr int IDC_VS_INSTRUCTION_FRAME = 9132;
inline constexpr int IDC_VS_DAY = 1559;
inline constexpr int IDC_VS_TIME = 1553;
inline constexpr int IDC_VS_MILLISECONDS = 1562;
inline constexpr int IDC_VS_CURSOR = 1001;

// The moment shown in the day list, the time picker and the millisecond edit.
struct VideoSyncFields {
  int day = 0;
  std::int64_t secondOfDay = 0;
  int milliseconds = 0;
  friend bool operator==(const VideoSyncFields&, const VideoSyncFields&) = default;
};
// t seconds after the recording start time, with clock time from base (+ baseMs), else elapsed.
VideoSyncFields VideoSyncFieldsOf(double t, bool clockDisplay, const CalendarTime& base, int baseMs);
// The moment on the video clock of the fields; recordingStart is the recording start time.
double VideoSyncMomentOf(const VideoSyncFields& f, bool clockDisplay, const CalendarTime& base, int baseMs,
                         double recordingStart);

class LyrWorkspaceDlgVideoSync : public ui::Dialog, public VideoTimePickClient {
 public:
  explicit LyrWorkspaceDlgVideoSync(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_VIDEO_SYNC, parent), m_pDoc(doc) {}
  bool OnInitDialog() override;
  void OnOK() override;
  // A moment picked on the waves (video clock, seconds): shown in the fields.
  void SetStartFromCursor(double seconds) override;
  ui::Window* PickWindow() override { return this; }
  // Shows t seconds after the recording start time.
  void ShowTime(double t);
  // The moment of the fields on the video clock.
  double ChosenMoment() const;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // After OK: the chosen moment (not below 0) minus the player's position; may be negative.
  double m_Offset = 0.0;

 private:
  void OnDayChanged();
  void OnCursor();
  CVPInfoExchange* Video() const;
  double RecordingStart() const;
  bool clock_ = false;
  CalendarTime base_{};
  int baseMs_ = 0;
  int dayCount_ = 1;
};
