#include "app/settings/lyr_raw_dlg_other.h"

#include <algorithm>

#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kTabArtifactCross = 64120;
constexpr std::uint32_t kTabMark = 64121;
constexpr std::uint32_t kTabFft = 64122;

constexpr int kTabArtifact = 0;
constexpr int kTabMarkIndex = 1;
constexpr int kTabFftIndex = 2;

}  // namespace

LyrRawDlgOther::LyrRawDlgOther(ui::Window* parent) : ui::Dialog(IDD_OTHER_SETTINGS, parent) {
  MapNotify(IDC_OTHER_TAB, ui::TCN_SELCHANGE, [this] { OnSelchangeTab(); });
}

ui::Rect LyrRawDlgOther::PageRect() const {
  const ui::Rect tab = Item(IDC_OTHER_TAB).GetRectInOwner();
  const ui::Rect client = GetClientRect();
  int bottom = Item(ui::IDOK).GetRectInOwner().top - 5;
  if (bottom <= tab.bottom) bottom = client.bottom - 5;
  return ui::Rect{tab.left + 7, tab.bottom + 5, std::max(tab.left + 7, client.right - 10), bottom};
}

void LyrRawDlgOther::CreatePage(ui::Dialog& page) { page.CreatePage(this, PageRect()); }

void LyrRawDlgOther::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Dialog::OnSize(sizeType, cx, cy);
  const ui::Rect r = PageRect();
  if (r.IsEmpty()) return;
  for (ui::Dialog* page : {static_cast<ui::Dialog*>(&m_ArtifactCross), static_cast<ui::Dialog*>(&m_MarkTrigger),
                           static_cast<ui::Dialog*>(&m_Fft)})
    if (page->IsWindow()) page->MoveWindow(r);
}

bool LyrRawDlgOther::OnInitDialog() {
  m_ArtifactCrossChanged = 0;
  m_MarkChanged = 0;
  m_FftChanged = 0;
  ui::Control tab = Item(IDC_OTHER_TAB);
  tab.ResetContent();
  tab.InsertString(kTabArtifact, res::LoadString(kTabArtifactCross));
  tab.InsertString(kTabMarkIndex, res::LoadString(kTabMark));
  m_ArtifactCross.m_pDoc = m_pDoc;
  m_MarkTrigger.m_pDoc = m_pDoc;
  CreatePage(m_ArtifactCross);
  CreatePage(m_MarkTrigger);
  tab.InsertString(kTabFftIndex, res::LoadString(kTabFft));
  m_Fft.m_pDoc = m_pDoc;
  CreatePage(m_Fft);
  tab.SetCurSel(kTabArtifact);
  shownTab_ = kTabArtifact;
  ShowPage(kTabArtifact);
  return true;
}

void LyrRawDlgOther::ShowPage(int index) {
  if (index < 0 || index > kTabFftIndex) index = kTabArtifact;
  m_ArtifactCross.ShowWindow(index == kTabArtifact ? ui::SW_SHOW : ui::SW_HIDE);
  m_MarkTrigger.ShowWindow(index == kTabMarkIndex ? ui::SW_SHOW : ui::SW_HIDE);
  m_Fft.ShowWindow(index == kTabFftIndex ? ui::SW_SHOW : ui::SW_HIDE);
}

void LyrRawDlgOther::OnSelchangeTab() {
  ui::Control tab = Item(IDC_OTHER_TAB);
  const int next = tab.GetCurSel();
  if (shownTab_ == kTabMarkIndex && next != kTabMarkIndex && m_MarkTrigger.CheckSettings() == 0) {
    tab.SetCurSel(kTabMarkIndex);
    ShowPage(kTabMarkIndex);
    return;
  }
  shownTab_ = next;
  ShowPage(next);
}

void LyrRawDlgOther::TakeChangedFlags() {
  m_ArtifactCrossChanged = m_ArtifactCross.m_Changed;
  m_MarkChanged = m_MarkTrigger.m_Changed;
  m_FftChanged = m_Fft.m_Changed;
}

void LyrRawDlgOther::OnOK() {
  m_ArtifactCross.CheckChanged();
  const bool fftOk = m_Fft.ApplySettings() != 0;
  bool markOk = m_MarkTrigger.CheckSettings() != 0;
  if (markOk) markOk = m_MarkTrigger.ApplySettings() != 0;
  TakeChangedFlags();
  if (fftOk && markOk) EndDialog(ui::IDOK);
}

void LyrRawDlgOther::OnCancel() {
  m_ArtifactCross.RestoreSettings();
  m_Fft.RestoreSettings();
  EndDialog(ui::IDCANCEL);
}
