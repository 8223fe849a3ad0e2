#pragma once
// The Logic window of multi-screening (modeless, template 328): it edits copies of the
// staging conditions, the last-stage rule and the time-occupancy targets, and hands them back
// to the Multi-screening window on OK. The Multi-screening window hides while it is open and
// shows again when it goes.
#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

class LyrDlgMultiScreening;

inline constexpr int IDD_SCREENING_LOGIC = 328;

class LyrDlgScreeningLogic : public ui::Dialog {
 public:
  LyrDlgScreeningLogic(LyrDlgMultiScreening* owner, const LyrMultiScreeningSetting& values);
  void OnOK() override;
  void OnCancel() override;
  // The copies being edited.
  LyrMultiScreeningSetting Values;

 private:
  void Finish(int code);
  LyrDlgMultiScreening* owner_;
};
