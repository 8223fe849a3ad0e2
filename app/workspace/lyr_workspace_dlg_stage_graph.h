#pragma once
// The stage graph's dialogs: "StageGraph" (187) chooses the range, the stages, the time
// division, the graph type and the axis units; "Text Output" (190) writes the table.
#include <memory>

#include "app/workspace/workspace_text_out_dlg.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;
class LyrWorkspaceStageGraphView;

class LyrWorkspaceDlgStageGraph : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 187;
  static constexpr int kPercent = 1511;
  static constexpr int kTime = 1512;
  static constexpr int kLine = 1513;
  static constexpr int kBar = 1514;
  static constexpr int kBand = 1515;
  static constexpr int kOrigin = 1516;
  static constexpr int kSetting = 1517;
  static constexpr int kStages = 1518;
  static constexpr int kDivision = 1519;
  static constexpr int kStartFrame = 1520;
  static constexpr int kEndFrame = 1521;

  LyrWorkspaceDlgStageGraph(CQLM2_AnalyzerDoc* doc, LyrWorkspaceStageGraphView* pane, ui::Window* parent = nullptr);
  ~LyrWorkspaceDlgStageGraph() override;
  bool OnInitDialog() override;
  // Checks, then stores the settings and the pane's range and stages.
  void OnOK() override;
  // Keeps the program-wide choices (a time division only when it is valid), not the range.
  void OnCancel() override;

  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }
  // Largest time division in minutes.
  int DivisionLimit() const;
  // Epochs and epoch length of the range: the recording's, or the pane's file's in utility mode.
  int RangeEpochs() const;
  int RangeEpochSeconds() const;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  LyrWorkspaceStageGraphView* m_pPane = nullptr;

 private:
  void StoreChoices();
  std::unique_ptr<LyrDlgTimePoint> start_;
  std::unique_ptr<LyrDlgTimePoint> end_;
};

class LyrWorkspaceDlgTextOutStageGraph : public LyrWorkspaceTextOutDlg {
 public:
  static constexpr int kTemplateId = 190;
  LyrWorkspaceDlgTextOutStageGraph(CQLM2_AnalyzerDoc* doc, LyrWorkspaceStageGraphView* pane,
                                   ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  LyrWorkspaceStageGraphView* m_pPane = nullptr;

 protected:
  int Write() override;
};
