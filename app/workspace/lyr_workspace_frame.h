#pragma once
// The workspace window's frame: a frame with its own menu ("&Analysis", "&Video") that sits
// in the workspace pane of the main window or floats as a window of its own. Its only view
// holds the tab strip and the panes; its menu commands open the analysis dialogs and
// outputs of the panes.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/dock_frame.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;
class LyrWorkspaceAreaView;
class LyrWorkspaceDummyView;
class LyrDlgReport;
class LyrWorkspaceAreaTabCtrl;
class LyrWorkspaceEmptyPane;
class LyrWorkspaceStageGraphView;
class LyrWorkspaceVSPView;
class LyrWorkspaceDlgMarkType;

// The four layout fractions (FloatWindowGeometry) as floating and docking change them.
struct FloatGeometry {
  double savedColumn = 0.0;
  double savedRow = 0.0;
  double row = 0.0;
  double column = 0.0;
};
// "&Float" with the trend window in a state (1 docked, 0 floating, 2 hidden).
void FloatFractions(std::uint16_t trendState, FloatGeometry& g);
// "&Docking" with the trend window in a state.
void DockFractions(std::uint16_t trendState, FloatGeometry& g);

class LyrWorkspaceFrame : public ui::DockFrame {
 public:
  static constexpr std::uint32_t kMenuId = 62450;
  LyrWorkspaceFrame();
  ~LyrWorkspaceFrame() override;

  // Makes the frame inside its host pane with the menu of the workspace.
  bool CreateInPane(LyrWorkspaceDummyView* host, CQLM2_AnalyzerDoc* doc, LyrWorkspaceAreaTabCtrl* tabs);
  bool OnCreateClient(ui::CreateContext* context) override;
  // Arrow and page keys step the wave page from anywhere in the workspace, except while a
  // screening run is active and while the free search's value box has the focus.
  bool PreTranslateMessage(ui::Message& msg) override;

  // Into the host pane (remember: the dock state becomes 1 and the main frame lays out).
  void DockWindow(int remember);
  // Out as a window of its own, its menu kept and its close button without effect
  // (remember: the dock state becomes 0 and the main frame lays out).
  void FloatWindow(int remember);
  void OnFloat();
  void OnDocking();
  // "&Bind up csv...": the CSV files of a folder into one workbook.
  void OnBindUpCsv();
  // Stage graph set-up: pane 6 forward, the dialog; 1 after OK, else 0.
  int OnStageGraphSetup();
  // Vigilance-state set-up: pane 5 forward, the dialog (its OK applies the parameters).
  void OnVSPSetup();
  // The mark window out of its pane, beside it on the screen, as a window of its own; and
  // back into the pane (the tab strip's MarkWindowDocked follows).
  void FloatMarkWindow();
  void DockMarkWindow();
  // Brings a pane forward (SelectPane, ShowSelectedPane).
  void BringPane(int id);
  // "&Human report...": makes the modeless report dialog on the document and keeps it.
  void OnReport();
  // Destroys the report dialog (its Close button asks for this).
  void CloseReportDlg();
  // The "&Video" menu: the video window's size, split, bars, dialogs and start time.
  void MapVideoCommands();
  void OnVideoOriginalSize();
  void OnVideoSplitScreen();
  void OnVideoResetStartTime();
  // The open report dialog, null while it is closed.
  LyrDlgReport* ReportDlg() const { return report_.get(); }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  LyrWorkspaceDummyView* HostPane = nullptr;
  LyrWorkspaceAreaView* AreaView() const { return area_.get(); }
  LyrWorkspaceStageGraphView* StageGraphPane() const;
  LyrWorkspaceVSPView* VSPPane() const;
  // "Change t&ype...": the modeless mark-type dialog, made anew; closed by its OK or Cancel.
  void OpenMarkTypeDlg();
  void CloseMarkTypeDlg();
  LyrWorkspaceDlgMarkType* MarkTypeDlg() const { return markTypeDlg_.get(); }

 private:
  void MapMenuCommands();
  void MapAnalysisCommands();
  LyrWorkspaceEmptyPane* PaneOf(int id) const;
  int RunPaneDialog(int pane, std::uint32_t command);
  // After the spectrum parameters or scale changed: page data read anew, spectra repainted.
  void AfterSpectrumSettings();
  int StageGraphRows() const;
  int EpisodeRows() const;
  LyrWorkspaceAreaTabCtrl* Tabs() const;
  std::unique_ptr<LyrWorkspaceAreaView> area_;
  std::unique_ptr<LyrWorkspaceDlgMarkType> markTypeDlg_;
  LyrWorkspaceAreaTabCtrl* tabs_ = nullptr;
  std::unique_ptr<LyrDlgReport> report_;
};
