#pragma once
// Up-down control of the FFT settings pages: every click hands one step to the
// page that owns it and snaps back to the middle, so the owner counts clicks, not
// positions.
#include <cstdint>

namespace ui {
class Dialog;
}

// The up-down notification record: position before the click and the step.
struct NmUpDown {
  int iPos = 0;
  int iDelta = 0;
};

// Implemented by the dialogs that own a spin control. kind is the control's
// OwnerKind (0 FFT page of the analysis "Other" settings, 1 simple-FFT page,
// 2 epoch-FFT page, 3 page-FFT divide count, 4 page-FFT average count);
// result is the notification's answer (0 allows the change).
class LyrSpinOwner {
 public:
  virtual ~LyrSpinOwner() = default;
  virtual void OnSpinDelta(std::uint16_t kind, const NmUpDown& nm, long* result) = 0;
};

class LyrSpinButtonCtrl {
 public:
  // Set by the owning dialog right after construction.
  std::uint16_t OwnerKind = 0;

  // Takes over the dialog's spin control: range 0..2 at position 1, each change
  // becomes one delta notification.
  void Attach(ui::Dialog& parent, int controlId);
  // The reflected delta notification: hands it to the parent by OwnerKind (kinds
  // outside 0..4 are swallowed) and returns the answer, always 0.
  long OnDeltaPos(const NmUpDown& nm);
  // Button release: back to position 1.
  void OnLButtonUp();

 private:
  ui::Dialog* parent_ = nullptr;
  int id_ = 0;
};
