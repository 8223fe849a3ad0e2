#pragma once
// The "Mark" page of the "Other" settings (child template 306): the ten mark types and their
// automatic detection. This is the part its host needs: the page edits a private copy of the
// ten items, which its host validates (CheckSettings) and commits (ApplySettings) on OK.
#include <array>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_MARK_TRIGGER = 306;

class LyrRawDlgOtherMarkTrigger : public ui::Dialog {
 public:
  explicit LyrRawDlgOtherMarkTrigger(ui::Window* parent = nullptr) : ui::Dialog(IDD_OTHER_MARK_TRIGGER, parent) {}

  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  // 1 when every row is valid.
  int CheckSettings();
  // Commits the copy into the document; always 1.
  int ApplySettings();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Changed = 0;
  std::array<MarkTypeParam::Item, 10> m_Items;
};
