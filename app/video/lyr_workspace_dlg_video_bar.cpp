#include "app/video/lyr_workspace_dlg_video_bar.h"

#include "platform/res/resource_store.h"

namespace {
constexpr std::uint32_t kBarButtons[] = {
    LyrWorkspaceDlgVideoBar::kRunStop,     LyrWorkspaceDlgVideoBar::kSkipBack, LyrWorkspaceDlgVideoBar::kFrameBack,
    LyrWorkspaceDlgVideoBar::kFrameForward, LyrWorkspaceDlgVideoBar::kSkipForward, LyrWorkspaceDlgVideoBar::kMark,
    LyrWorkspaceDlgVideoBar::kFloat};
constexpr std::size_t kMaxTipChars = 79;
}  // namespace

std::string LyrWorkspaceDlgVideoBar::TipText(int controlId) {
  for (std::uint32_t id : kBarButtons) {
    if (static_cast<int>(id) != controlId) continue;
    std::string text = res::LoadString(id);
    if (text.size() > kMaxTipChars) {
      // Cut at a character's start, never inside one.
      std::size_t cut = kMaxTipChars;
      while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
      text.resize(cut);
    }
    return text;
  }
  return {};
}

void LyrWorkspaceDlgVideoBar::OnInitDialogBar() {
  for (std::uint32_t id : kBarButtons) Item(static_cast<int>(id)).SetToolTip(TipText(static_cast<int>(id)));
}
