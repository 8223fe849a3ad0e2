#include "app/frame/window_command_states.h"

std::optional<CommandState> WindowCommandState(std::uint32_t id, const FrameWindowState& s) {
  const bool noBatch = !s.screeningRunning && !s.multiScreeningOpen;
  const bool videoBusy = s.videoBound && s.videoPaneBusy;
  CommandState c;
  switch (id) {
    case ID_SCREEN_ITEM:
    case ID_EPOCH_JUMP:
      c.enabled = s.loaded && !(s.screeningRunning && !s.screeningPaused);
      break;
    case ID_DATA_PROCESSING:
      c.enabled = s.loaded && noBatch && !s.screeningOpen && !s.reportOpen;
      break;
    case ID_ANALYSIS_RANGE:
      c.enabled = !s.analysisRangeOpen;
      c.checked = s.analysisRangeOpen ? 1 : 0;
      break;
    case ID_SCREENING:
      c.enabled = s.loaded && !s.screeningRunning && !s.reportOpen && s.workspaceStateWord == 0 && !videoBusy &&
                  !s.multiScreeningOpen && !s.screeningOpen;
      c.checked = s.screeningOpen ? 1 : 0;
      break;
    case ID_WAVE_DETECT_SETTING:
    case ID_WAVE_DETECT_LIST:
    case ID_DISPLAY_OPTION:
    case ID_PAGE_TIME:
      c.enabled = s.loaded && !s.screeningRunning;
      break;
    case ID_PARAMETER_OUTPUT:
      c.enabled = s.loaded && noBatch;
      break;
    case ID_RAW_TEXT_OUTPUT:
    case ID_PRINT_RAW:
      c.enabled = s.loaded && !s.screeningRunning && !s.reportOpen && !s.multiScreeningOpen;
      break;
    case ID_RAW_DATA_OUTPUT:
      c.enabled = s.loaded && !s.screeningRunning && !s.analysisFile && s.oneRate && !s.reportOpen &&
                  !s.multiScreeningOpen;
      break;
    case ID_CALIBRATION:
      c.enabled = s.loaded && !s.analysisFile && !s.screeningRunning && !s.screeningOpen && !s.reportOpen &&
                  !s.multiScreeningOpen;
      break;
    case ID_AVI_OUTPUT:
      c.enabled = s.loaded && !s.screeningRunning && !s.reportOpen && !s.aviOpen && !s.multiScreeningOpen;
      break;
    case ID_VIDEO_FILE_OPEN:
      c.enabled = s.loaded && noBatch && !s.reportOpen && !s.autoPlayRunning && !s.screeningOpen &&
                  !(s.videoBound && s.videoOpenState == 0);
      break;
    case ID_RESULT_FILE_COMPARE:
      c.enabled = true;
      break;
    case ID_RESULT_FILE_OPEN:
      c.enabled = !s.screeningRunning && !s.reportOpen && !s.screeningOpen && !s.multiScreeningOpen &&
                  !s.autoPlayRunning;
      break;
    case ID_RESULT_FILE_SAVE:
      c.enabled = s.loaded && !s.screeningRunning && !s.reportOpen && !s.screeningOpen && !s.multiScreeningOpen &&
                  !s.autoPlayRunning;
      break;
    case ID_MULTI_SCREENING:
      c.enabled = !s.screeningRunning && !s.screeningOpen && !s.reportOpen && !s.multiScreeningOpen && !videoBusy;
      break;
    case ID_AUTO_SCROLL:
      if (!s.loaded) {
        c.enabled = false;
      } else if (s.screeningRunning || videoBusy) {
        c.enabled = false;
        c.checked = 0;
      } else {
        c.enabled = true;
        c.checked = 1;
      }
      break;
    default:
      return std::nullopt;
  }
  return c;
}
