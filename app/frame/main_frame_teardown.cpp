// The modeless tool windows that are still open when the main window goes are destroyed with it.
#include "app/document/lyr_dlg_wave_detect.h"
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_dlg_detect_list.h"
#include "app/frame/main_frame.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "app/settings/lyr_raw_dlg_discussin.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "app/settings/lyr_raw_dlg_wfr_result.h"
#include "app/video/lyr_dlg_make_avi.h"

namespace {

template <typename T>
void DestroyNow(T*& dlg) {
  if (dlg == nullptr) return;
  T* d = dlg;
  dlg = nullptr;
  if (d->IsWindow()) d->DestroyWindow();
  delete d;
}

}  // namespace

void CMainFrame::DestroyOpenToolDialogs() {
  DestroyNow(AnalysisRangeDlg);
  DestroyNow(ScreeningDlg);
  DestroyNow(LogicDlg);
  DestroyNow(WaveDetectListDlg);
  DestroyNow(MakeAviDlg);
  DestroyNow(WaveDetectDlg);
  DestroyNow(WaveFormRecognitionDlg);
  CloseAllWFRResultDlgs();
}
