#include "app/frame/lyr_dlg_output_progress.h"

#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"

LyrDlgOutputProgress::LyrDlgOutputProgress(std::uint32_t captionId) : ui::Dialog(IDD_OUTPUT_PROGRESS) {
  if (captionId != 0) captionId_ = captionId;
}

LyrDlgOutputProgress::~LyrDlgOutputProgress() {
  if (IsWindow()) DestroyWindow();
  else ReleaseOwner();
}

int LyrDlgOutputProgress::Create(ui::Window* parent) {
  ui::Window* owner = parent ? parent->GetTopLevel() : nullptr;
  if (!owner && ui::App::Current()) owner = ui::App::Current()->GetMainWnd();
  owner_ = owner;
  if (owner_ && owner_->IsWindow() && owner_->IsWindowEnabled()) {
    owner_->EnableWindow(false);
    ownerDisabled_ = 1;
  }
  if (!CreateModeless(parent)) {
    ReleaseOwner();
    return 0;
  }
  return 1;
}

bool LyrDlgOutputProgress::OnInitDialog() {
  SendRange();
  Item(IDC_PROGRESS_BAR).SetStep(static_cast<int>(step_));
  Item(IDC_PROGRESS_BAR).SetPos(static_cast<int>(scale_.Shown(scale_.low)));
  SetWindowText(res::LoadString(captionId_));
  return true;
}

void LyrDlgOutputProgress::SendRange() {
  Item(IDC_PROGRESS_BAR).SetRange(static_cast<int>(scale_.Shown(scale_.low)), static_cast<int>(scale_.Shown(scale_.high)));
}

void LyrDlgOutputProgress::SetRange(std::uint32_t low, std::uint32_t high) {
  // The bar holds 16 bits: a longer range is scaled down so the bar still reaches its end.
  scale_.low = low;
  scale_.high = high;
  SendRange();
}

void LyrDlgOutputProgress::SetPos(std::uint32_t pos) {
  ui::PumpPendingMessages();
  Item(IDC_PROGRESS_BAR).SetPos(static_cast<int>(scale_.Shown(pos)));
}

int LyrDlgOutputProgress::CheckCancel() {
  ui::PumpPendingMessages();
  const int r = static_cast<int>(cancelRequested_);
  cancelRequested_ = 0;
  return r;
}

void LyrDlgOutputProgress::SetText1(std::string_view text) { SetDlgItemText(IDC_PROGRESS_TEXT1, text); }
void LyrDlgOutputProgress::SetText2(std::string_view text) { SetDlgItemText(IDC_PROGRESS_TEXT2, text); }

void LyrDlgOutputProgress::DestroyWindow() {
  ReleaseOwner();
  ui::Dialog::DestroyWindow();
}

void LyrDlgOutputProgress::ReleaseOwner() {
  if (ownerDisabled_ != 0 && owner_ != nullptr && owner_->IsWindow()) owner_->EnableWindow(true);
  ownerDisabled_ = 0;
}
