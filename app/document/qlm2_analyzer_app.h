#pragma once
// The application object: sets up the program, chooses the language of the user
// interface, registers the single-document template, processes the command line,
// loads the document's analysis settings and the mode switches, shows the main
// window and starts an auto-play request given on the command line.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/app.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;

// Edition of the product family this build makes.
inline constexpr std::uint16_t ProductEdition = QLM_PRODUCT_EDITION;

// Resource id of the main menu, accelerators and document string; the editions with the
// Wave detect menu (2 and 12) have their own.
inline constexpr std::uint32_t kMainResourceId = (ProductEdition == 2 || ProductEdition == 12) ? 293 : 128;

class CQLM2_AnalyzerApp : public ui::App {
 public:
  CQLM2_AnalyzerApp();
  ~CQLM2_AnalyzerApp() override;

  bool InitInstance() override;
  int ExitInstance() override;

  // Reads the mode ini file. Returns 0 when the animal-only mode is on and the
  // settings file does not exist yet, else 1.
  int ReadSetting(std::int32_t* animalOnly, std::int32_t* dsiOnly);
  // Writes AnimalOnlyMode and DsiOnlyMode into the mode ini file.
  void WriteSetting();
  // Fills the document's parameter blocks and channel records from the settings
  // file, or with their defaults.
  void LoadDocumentSettings();
  // Starts the auto-play entry asked for on the command line.
  void StartAutoPlay();
  // Opens the auto-play recording kept by the main frame.
  void OpenAutoPlayData();

  // The open dialog's filter text: the program's own raw data type, then, outside editions 1
  // and 11, one entry per import plug-in beside the program whose path is appended to
  // pluginPaths (at most 20, in file-search order).
  static std::string GetImportFileFilter(std::vector<std::string>* pluginPaths);
  // File > Open (57601), also run by the result-file opening to locate a missing recording.
  void OnFileOpen();
  void OnUpdateFileOpen(ui::CmdUI& cmd);

  CMainFrame* MainFrame() const;
  CQLM2_AnalyzerDoc* Document() const;

  // 1 when the user interface is English, 0 when Japanese; fixed at start-up.
  std::int32_t EnglishMode = 0;

 private:
  // Runs the command line. Switches are left to the main frame.
  // Creates the main frame with an empty document and keeps the recording the command line
  // names; OpenCommandLineFile opens it once the settings are loaded.
  bool ProcessCommandLine();
  void OpenCommandLineFile();
  // Tells once that the settings file could not be read whole and the defaults are in use.
  void TellDamagedSettingsFile();
  std::string commandLineFile_;
  void OpenRecentFile(std::uint32_t id);
};

// GetImportFileFilter for an edition and a program folder.
std::string BuildImportFileFilter(int edition, const std::string& programFolder, std::vector<std::string>* pluginPaths);

// The running application object.
CQLM2_AnalyzerApp* TheApp();
