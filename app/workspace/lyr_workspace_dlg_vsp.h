#pragma once
// The vigilance state's dialogs: "Vigilance State Parameters" (185) takes the range, the time
// division, the trimming and the artifact option and computes the pane; "Text Output" (186)
// writes the episode transitions or the counts per duration.
#include <memory>

#include "app/workspace/workspace_text_out_dlg.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;
class LyrWorkspaceVSPView;

class LyrWorkspaceDlgVSPFind : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 185;
  static constexpr int kDivisionFrame = 1701;
  static constexpr int kStartFrame = 1702;
  static constexpr int kEndFrame = 1703;
  static constexpr int kManual = 1523;
  static constexpr int kAuto = 1625;
  static constexpr int kArtifact = 1674;

  LyrWorkspaceDlgVSPFind(CQLM2_AnalyzerDoc* doc, LyrWorkspaceVSPView* pane, ui::Window* parent = nullptr);
  ~LyrWorkspaceDlgVSPFind() override;
  bool OnInitDialog() override;
  // Stores the choices and computes the pane; the dialog closes whatever the result.
  void OnOK() override;
  // Keeps the time division only.
  void OnCancel() override;

  LyrDlgTimePoint* DivisionPanel() const { return division_.get(); }
  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }
  // What the pane's computation returned (1 computed).
  int ApplyResult = 0;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  LyrWorkspaceVSPView* m_pPane = nullptr;

 private:
  std::unique_ptr<LyrDlgTimePoint> division_;
  std::unique_ptr<LyrDlgTimePoint> start_;
  std::unique_ptr<LyrDlgTimePoint> end_;
};

class LyrWorkspaceDlgTextOutVSP : public LyrWorkspaceTextOutDlg {
 public:
  static constexpr int kTemplateId = 186;
  static constexpr int kTransition = 9008;
  static constexpr int kCountPerDuration = 9010;
  LyrWorkspaceDlgTextOutVSP(CQLM2_AnalyzerDoc* doc, LyrWorkspaceVSPView* pane, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  LyrWorkspaceVSPView* m_pPane = nullptr;

 protected:
  int Write() override;
  std::uint32_t FailureText() const override;
};

// The workspace menu's "Se&tup..." and "T&ext Output..." of the vigilance state.
void RunVSPSetupDialog(LyrWorkspaceVSPView* pane, ui::Window* parent);
void RunVSPTextDialog(LyrWorkspaceVSPView* pane, ui::Window* parent);
