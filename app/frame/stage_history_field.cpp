#include "app/frame/stage_history_field.h"

#include "app/frame/main_frame.h"
#include "app/frame/parameter_bar.h"
#include "platform/ui/control_bar.h"

bool GetStageHistoryField(const CMainFrame* frame, StageHistoryField* out) {
  if (frame == nullptr) return false;
  const auto* bar = dynamic_cast<const ui::DialogBar*>(frame->ParameterBar);
  if (bar == nullptr || !bar->IsWindow()) return false;
  const ui::Control field = bar->Item(kParameterBarValue[0]);
  if (!field.Exists()) return false;
  if (out != nullptr) {
    out->height = field.GetClientRect().Height();
    // The bar's controls are written in the default interface font.
    out->font = draw::GetSystemLogFont(draw::SystemFont::DefaultGui);
  }
  return true;
}
