// Writes a calibration changed in memory back into the program's own raw data file when the
// recording is left (new document, another recording, program close).
#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "common/fileaccess/fyn_edit_file_raw.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

// "The calibration could not be written to the raw data file."
constexpr int kStrCalibrationNotWritten = 62401;

}  // namespace

int CMainFrame::RebuildRawFileCalibration() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr || doc->RecordInfo.sourceKind != 0 || doc->CalibrationChanged == 0) return 1;
  ui::WaitCursor wait;
  const std::string& path = doc->RecordInfo.path;
  const int channels = std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));

  // The file is kept read-only while it is open; it takes the rebuild with normal attributes.
  sys::SetFileAttributes(path, sys::kAttrNormal);

  std::vector<double> drawRate(static_cast<std::size_t>(channels));
  for (int c = 0; c < channels; ++c) drawRate[c] = doc->ChInfo[c].unitsPerCm;
  {
    // Files with the "SLEEP" group store the draw rate as a span of the calibration range.
    FynFileAccessRaw raw(path.c_str());
    std::uint32_t sleepOffset = 0;
    if (raw.InitParams() == 0 && raw.GetPropGroupAddress("SLEEP", &sleepOffset) == 0 && sleepOffset != 0) {
      for (int c = 0; c < channels; ++c) {
        const LyrChInfo& ch = doc->ChInfo[c];
        const double scale = ch.unitsPerCm > 0.0 ? ch.unitsPerCm : 100.0;
        drawRate[c] = (ch.calibration.topValue - ch.calibration.bottomValue) * 10.0 / scale;
      }
    }
  }

  int rebuilt = -1;
  {
    FynEditFileRaw editor(path.c_str());
    if (editor.Init() == 1) {
      for (int c = 0; c < channels; ++c) {
        const ChCalibrationEntry& cal = doc->ChInfo[c].calibration;
        editor.SetCalFlag(c, cal.calibrated != 0 ? 1 : 0);
        editor.SetCalTopVoltage(c, cal.topSample);
        editor.SetCalBottomVoltage(c, cal.bottomSample);
        editor.SetCalTopNumber(c, cal.topValue);
        editor.SetCalBottomNumber(c, cal.bottomValue);
        editor.SetDrawRate(c, drawRate[c]);
      }
      rebuilt = editor.RebuildRawFile();
    }
  }

  sys::SetFileAttributes(path, sys::kAttrReadOnly);
  // The change is written, or the user has been told that it could not be: either way the
  // recording is left once, and the question is not asked again for it.
  doc->CalibrationChanged = 0;
  if (rebuilt != 0) {
    ui::MessageBox(res::LoadString(kStrCalibrationNotWritten), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  return 1;
}
