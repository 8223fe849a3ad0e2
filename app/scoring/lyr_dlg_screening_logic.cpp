#include "app/scoring/lyr_dlg_screening_logic.h"

#include "app/scoring/lyr_dlg_multi_screening.h"

LyrDlgScreeningLogic::LyrDlgScreeningLogic(LyrDlgMultiScreening* owner, const LyrMultiScreeningSetting& values)
    : ui::Dialog(IDD_SCREENING_LOGIC, owner), Values(values), owner_(owner) {}

void LyrDlgScreeningLogic::OnOK() {
  if (owner_) owner_->TakeLogic(Values);
  Finish(ui::IDOK);
}

void LyrDlgScreeningLogic::OnCancel() { Finish(ui::IDCANCEL); }

void LyrDlgScreeningLogic::Finish(int code) {
  EndDialog(code);
  LyrDlgMultiScreening* owner = owner_;
  owner_ = nullptr;
  if (owner) owner->LogicClosed();
}
