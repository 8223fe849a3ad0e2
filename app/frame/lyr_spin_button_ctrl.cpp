#include "app/frame/lyr_spin_button_ctrl.h"

#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

void LyrSpinButtonCtrl::Attach(ui::Dialog& parent, int controlId) {
  parent_ = &parent;
  id_ = controlId;
  ui::Control spin = parent.Item(controlId);
  spin.SetRange(0, 2);
  spin.SetPos(1);
  parent.MapNotify(static_cast<std::uint32_t>(controlId), ui::UDN_DELTAPOS, [this] {
    const int pos = parent_->Item(id_).GetPos();
    OnDeltaPos(NmUpDown{1, pos - 1});
    OnLButtonUp();
  });
}

long LyrSpinButtonCtrl::OnDeltaPos(const NmUpDown& nm) {
  long result = 0;
  if (OwnerKind <= 4) {
    if (auto* owner = dynamic_cast<LyrSpinOwner*>(parent_)) owner->OnSpinDelta(OwnerKind, nm, &result);
  }
  // The change is always allowed.
  result = 0;
  return result;
}

void LyrSpinButtonCtrl::OnLButtonUp() {
  if (parent_ != nullptr) parent_->Item(id_).SetPos(1);
}
