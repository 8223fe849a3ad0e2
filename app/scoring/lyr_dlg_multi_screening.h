#pragma once
// The Multi-screening window, as far as the main frame's remote screening request uses it:
// the result-folder choice and a run over the open recording. Until the window and its
// engine exist, a run screens the open recording as one file with the screening settings in
// force and leaves its result file "<name>_01.raf" where the window's choice puts it.
#include <cstdint>
#include <string>

class CMainFrame;

class LyrDlgMultiScreening {
 public:
  explicit LyrDlgMultiScreening(CMainFrame* frame) : frame_(frame) {}

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
