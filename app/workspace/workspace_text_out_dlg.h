#pragma once
// What the workspace's "Text Output" dialogs share (the stage graph's, the vigilance
// state's): file or clipboard, the output path, comma or tab, and the line limit, each
// setting program-wide as it is chosen.
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrWorkspaceTextOutDlg : public ui::Dialog {
 public:
  static constexpr int kComma = 1563;
  static constexpr int kTab = 1564;
  static constexpr int kMaxLineCheck = 1565;
  static constexpr int kMaxLineEdit = 1566;
  static constexpr int kPath = 1568;
  static constexpr int kPathText = 1569;
  static constexpr int kFile = 1664;
  static constexpr int kClipboard = 1667;
  static constexpr int kOutput = 1627;

  LyrWorkspaceTextOutDlg(int templateId, CQLM2_AnalyzerDoc* doc, std::string* path, ui::Window* parent);
  bool OnInitDialog() override;
  // "Close" (and Esc) end the dialog.
  void OnOK() override { EndDialog(ui::IDOK); }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 protected:
  // "Output": asks for a path when a file has none; otherwise takes the line limit and runs
  // Write, then says whether it was written.
  void OnOutput();
  // Writes the output: 1 written, 0 failed, 2 stopped by the user at the line limit.
  virtual int Write() = 0;
  // The message of a failed output.
  virtual std::uint32_t FailureText() const;
  void OnPath();
  void ShowPath();
  // The line limit typed: its magnitude, negative while the box is clear.
  void ReadMaxLine();
  std::string* path_;
};
