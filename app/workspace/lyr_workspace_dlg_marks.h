#pragma once
// The mark dialogs of the workspace: "Text output - List" (295) and "Text output - Sum up"
// (296) write the marks of chosen types over an epoch range; "Show setting type" (300) edits
// the names, shown flags, colours and invalid times of the ten mark types.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;
class WorkspaceTextOut;

class LyrWorkspaceDlgMarkOutput : public ui::Dialog {
 public:
  static constexpr int kTypeList = 1801;
  static constexpr int kFile = 1802;
  static constexpr int kClipboard = 1803;
  static constexpr int kPath = 1804;
  static constexpr int kPathText = 1805;
  static constexpr int kComma = 1806;
  static constexpr int kTab = 1807;
  static constexpr int kStartFrame = 1808;
  static constexpr int kEndFrame = 1809;
  static constexpr int kOutput = 1810;

  LyrWorkspaceDlgMarkOutput(int templateId, CQLM2_AnalyzerDoc* doc, ui::Window* parent);
  ~LyrWorkspaceDlgMarkOutput() override;
  bool OnInitDialog() override;
  void OnOK() override {}
  // "&Output": asks what is missing, checks, writes and says how it went; the dialog stays.
  void OnOutput();

  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::string m_Path;
  // The path was chosen in the save dialog, which asked about replacing it.
  int m_ReplaceConfirmed = 0;

 protected:
  // Checks the dialog's own values before anything is opened; false stops the output.
  virtual bool CheckValues() { return true; }
  virtual bool Write(WorkspaceTextOut& out, int startEpoch, int endEpoch, const std::vector<int>& types) = 0;

 private:
  void OnPath();
  std::unique_ptr<LyrDlgTimePoint> start_;
  std::unique_ptr<LyrDlgTimePoint> end_;
};

class LyrWorkspaceDlgMarkList : public LyrWorkspaceDlgMarkOutput {
 public:
  static constexpr int kTemplateId = 295;
  explicit LyrWorkspaceDlgMarkList(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : LyrWorkspaceDlgMarkOutput(kTemplateId, doc, parent) {}

 protected:
  bool Write(WorkspaceTextOut& out, int startEpoch, int endEpoch, const std::vector<int>& types) override;
};

class LyrWorkspaceDlgMarkSumUp : public LyrWorkspaceDlgMarkOutput {
 public:
  static constexpr int kTemplateId = 296;
  static constexpr int kDivision = 1811;
  static constexpr int kRangeLabel = 1812;
  explicit LyrWorkspaceDlgMarkSumUp(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : LyrWorkspaceDlgMarkOutput(kTemplateId, doc, parent) {}
  bool OnInitDialog() override;
  // The recording's length in whole minutes, rounded up.
  int RecordMinutes() const;

 protected:
  bool CheckValues() override;
  bool Write(WorkspaceTextOut& out, int startEpoch, int endEpoch, const std::vector<int>& types) override;

 private:
  int division_ = 0;
};

class LyrWorkspaceDlgMarkType : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 300;
  static constexpr int kName = 1900;
  static constexpr int kShow = 1910;
  static constexpr int kSwatch = 1920;
  static constexpr int kColor = 1930;
  static constexpr int kChannel = 1940;
  static constexpr int kDirection = 1950;
  static constexpr int kLevel = 1960;
  static constexpr int kInvalid = 1970;
  static constexpr int kPreview = 1990;

  explicit LyrWorkspaceDlgMarkType(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  // Applies; on success marks unsaved results unsaved and closes.
  void OnOK() override;
  // Puts back the types as they were at opening and closes.
  void OnCancel() override;
  // Takes names, shown flags and invalid times of the types that are on into the document
  // and applies them to the marks. 0 (focus on the field) when an invalid time is missing or
  // negative; the types before it stay applied.
  int ApplyMarkTypes();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  void OnColor(int type);
  // The marks follow the types: runs rebuilt, the page and the mark pane refreshed.
  void AfterChange();
  std::array<MarkTypeParam::Item, 10> kept_;
};
