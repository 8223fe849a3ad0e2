#pragma once
// The multi-screening window (modeless, template 327): where the user lists recordings and
// starts a batch that screens them all. The main frame creates it into its multi-screening
// slot, and the window is taken back (slot cleared, window destroyed) when it closes.
// Until the file list, the channel layout, the settings files and the batch engine exist, a run
// screens the open recording as one file with the screening settings in force and leaves its
// result file "<name>_01.raf" where the window's result-folder choice puts it (the main frame's
// remote screening request uses this).
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

class CMainFrame;

inline constexpr int IDD_MULTI_SCREENING = 327;

class LyrDlgMultiScreening : public ui::Dialog {
 public:
  explicit LyrDlgMultiScreening(CMainFrame* frame);

  // Enter neither starts a run nor closes the window; "Close" (and Esc) end it.
  void OnOK() override {}

  // 0: result files beside each recording ("Under each Raw data folder"); 1: in ResultFolder.
  std::uint32_t UseResultFolder = 0;
  std::string ResultFolder;

  // Screens the open recording and writes its result file. Non-zero when the recording was
  // screened and its file written; 0 when nothing is open, the run could not start or the
  // file could not be written. silent: no closing message.
  int RunScreening(int silent);
  // Where the last run put its result file (empty before a run).
  const std::string& LastResultPath() const { return lastResultPath_; }

  // The result file of a recording: "<name>_01.raf" in the chosen folder; when that folder is
  // not writable (or no folder was chosen with mode 1), on the user's desktop.
  static std::string ResultPathFor(const std::string& rawPath, std::uint32_t useResultFolder,
                                   const std::string& resultFolder);

 private:
  CMainFrame* frame_;
  std::string lastResultPath_;
};
