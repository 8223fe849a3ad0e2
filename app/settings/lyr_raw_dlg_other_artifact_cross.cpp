#include "app/settings/lyr_raw_dlg_other_artifact_cross.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/res/resource_store.h"

namespace {

constexpr std::uint32_t kColNo = 64110;
constexpr std::uint32_t kColCh = 64111;
constexpr std::uint32_t kColCheck = 64112;
constexpr std::uint32_t kColType = 64113;
constexpr std::uint32_t kColLevel = 64114;
constexpr std::uint32_t kTextNone = 64115;
constexpr std::uint32_t kTextUpDown = 64116;
constexpr std::uint32_t kTextDownUp = 64117;

constexpr std::uint32_t kLowWord = 0xFFFFu;

std::string Format(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

// The flag and mode words are 16-bit values followed by two filler bytes, kept as they are.
std::uint32_t LowOf(std::uint32_t word) { return word & kLowWord; }
std::uint32_t WithLow(std::uint32_t word, std::uint32_t low) { return (word & ~kLowWord) | (low & kLowWord); }

float CrossLevelOf(const ChDispModeParam::Entry& e) { return std::bit_cast<float>(e.value); }

float ReadNumber(const std::string& text) { return static_cast<float>(std::atof(text.c_str())); }

}  // namespace

LyrRawDlgOtherArtifactCross::LyrRawDlgOtherArtifactCross(ui::Window* parent)
    : ui::Dialog(IDD_OTHER_ARTIFACT_CROSS, parent) {
  MapCommand(IDC_OAC_APPLY_ARTIFACT, [this] { OnApplyArtifact(); });
  MapCommand(IDC_OAC_APPLY_CROSS, [this] { OnApplyCross(); });
  for (int id : {IDC_OAC_ARTIFACT_CHECK, IDC_OAC_CROSS_UP_DOWN, IDC_OAC_CROSS_DOWN_UP, IDC_OAC_CROSS_NONE})
    MapCommand(static_cast<std::uint32_t>(id), [this] { UpdateEditStates(); });
  MapNotify(IDC_OAC_CHANNEL_LIST, ui::NM_CLICK, [this] { OnClickChannelList(); });
}

int LyrRawDlgOtherArtifactCross::ChannelCount() const {
  if (m_pDoc == nullptr) return 0;
  return std::clamp(m_pDoc->RecordInfo.channelCount, 0, 32);
}

bool LyrRawDlgOtherArtifactCross::OnInitDialog() {
  m_Changed = 0;
  if (m_pDoc != nullptr) {
    savedScale_ = m_pDoc->Params.chDispScale;
    savedMode_ = m_pDoc->Params.chDispMode;
  }
  ui::Control list = Item(IDC_OAC_CHANNEL_LIST);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  list.InsertColumn(0, res::LoadString(kColNo), 40);
  list.InsertColumn(1, res::LoadString(kColCh), 100);
  list.InsertColumn(2, res::LoadString(kColCheck), 100);
  list.InsertColumn(3, res::LoadString(kColType), 100);
  list.InsertColumn(4, res::LoadString(kColLevel), 100);
  FillChannelList();
  if (list.GetCount() > 0) list.SetSelected(0, true);
  ShowSelectedChannel();
  return true;
}

void LyrRawDlgOtherArtifactCross::FillChannelList() {
  ui::Control list = Item(IDC_OAC_CHANNEL_LIST);
  list.DeleteAllItems();
  if (m_pDoc == nullptr) return;
  const std::string none = res::LoadString(kTextNone);
  for (int i = 0; i < ChannelCount(); ++i) {
    const auto& scale = m_pDoc->Params.chDispScale.entries[static_cast<std::size_t>(i)];
    const auto& mode = m_pDoc->Params.chDispMode.entries[static_cast<std::size_t>(i)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, m_pDoc->ChInfo[static_cast<std::size_t>(i)].name);
    list.SetItemText(row, 2, LowOf(scale.word) != 0 ? Format("%.3f", std::fabs(scale.value)) : none);
    const std::uint32_t m = LowOf(mode.mode);
    list.SetItemText(row, 3, m == 0 ? res::LoadString(kTextUpDown) : m == 1 ? res::LoadString(kTextDownUp) : none);
    list.SetItemText(row, 4, m != 2 ? Format("%.3f", CrossLevelOf(mode)) : std::string());
  }
}

void LyrRawDlgOtherArtifactCross::ShowSelectedChannel() {
  CheckDlgButton(IDC_OAC_ARTIFACT_CHECK, 0);
  SetDlgItemText(IDC_OAC_ARTIFACT_LEVEL, "");
  CheckDlgButton(IDC_OAC_CROSS_UP_DOWN, 0);
  CheckDlgButton(IDC_OAC_CROSS_DOWN_UP, 0);
  CheckDlgButton(IDC_OAC_CROSS_NONE, 0);
  const std::vector<int> selected = Item(IDC_OAC_CHANNEL_LIST).GetSelectedIndexes();
  if (selected.empty() || m_pDoc == nullptr) return;
  const int ch = *std::min_element(selected.begin(), selected.end());
  if (ch >= ChannelCount()) return;
  const auto& scale = m_pDoc->Params.chDispScale.entries[static_cast<std::size_t>(ch)];
  const auto& mode = m_pDoc->Params.chDispMode.entries[static_cast<std::size_t>(ch)];
  if (LowOf(scale.word) != 0) {
    CheckDlgButton(IDC_OAC_ARTIFACT_CHECK, 1);
    SetDlgItemText(IDC_OAC_ARTIFACT_LEVEL, Format("%.2f", scale.value));
  }
  const std::uint32_t m = LowOf(mode.mode);
  CheckRadioButton(IDC_OAC_CROSS_UP_DOWN, IDC_OAC_CROSS_NONE,
                   m == 0 ? IDC_OAC_CROSS_UP_DOWN : m == 1 ? IDC_OAC_CROSS_DOWN_UP : IDC_OAC_CROSS_NONE);
  if (m != 2) SetDlgItemText(IDC_OAC_CROSS_LEVEL, Format("%.2f", CrossLevelOf(mode)));
  UpdateEditStates();
}

void LyrRawDlgOtherArtifactCross::UpdateEditStates() {
  EnableItem(IDC_OAC_ARTIFACT_LEVEL, IsDlgButtonChecked(IDC_OAC_ARTIFACT_CHECK) != 0);
  EnableItem(IDC_OAC_CROSS_LEVEL, IsDlgButtonChecked(IDC_OAC_CROSS_NONE) == 0);
}

void LyrRawDlgOtherArtifactCross::OnApplyArtifact() {
  const std::uint32_t flag = IsDlgButtonChecked(IDC_OAC_ARTIFACT_CHECK) != 0 ? 1u : 0u;
  const float level = ReadNumber(GetDlgItemText(IDC_OAC_ARTIFACT_LEVEL));
  if (m_pDoc != nullptr) {
    for (int row : Item(IDC_OAC_CHANNEL_LIST).GetSelectedIndexes()) {
      if (row < 0 || row >= ChannelCount()) continue;
      auto& e = m_pDoc->Params.chDispScale.entries[static_cast<std::size_t>(row)];
      e.word = WithLow(e.word, flag);
      e.value = level;
    }
  }
  SetDlgItemText(IDC_OAC_ARTIFACT_LEVEL, "");
  FillChannelList();
}

void LyrRawDlgOtherArtifactCross::OnApplyCross() {
  std::uint32_t mode = 2;
  if (IsDlgButtonChecked(IDC_OAC_CROSS_UP_DOWN) != 0) mode = 0;
  else if (IsDlgButtonChecked(IDC_OAC_CROSS_DOWN_UP) != 0) mode = 1;
  const float level = ReadNumber(GetDlgItemText(IDC_OAC_CROSS_LEVEL));
  if (m_pDoc != nullptr) {
    for (int row : Item(IDC_OAC_CHANNEL_LIST).GetSelectedIndexes()) {
      if (row < 0 || row >= ChannelCount()) continue;
      auto& e = m_pDoc->Params.chDispMode.entries[static_cast<std::size_t>(row)];
      e.mode = WithLow(e.mode, mode);
      e.value = std::bit_cast<std::uint32_t>(level);
    }
  }
  SetDlgItemText(IDC_OAC_CROSS_LEVEL, "");
  FillChannelList();
}

void LyrRawDlgOtherArtifactCross::OnClickChannelList() { ShowSelectedChannel(); }

void LyrRawDlgOtherArtifactCross::CheckChanged() {
  if (m_pDoc == nullptr) return;
  for (int i = 0; i < ChannelCount(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    const auto& s = m_pDoc->Params.chDispScale.entries[k];
    const auto& s0 = savedScale_.entries[k];
    const auto& m = m_pDoc->Params.chDispMode.entries[k];
    const auto& m0 = savedMode_.entries[k];
    const bool scaleDiffers = LowOf(s.word) != LowOf(s0.word) || s.value != s0.value;
    const bool modeDiffers = LowOf(m.mode) != LowOf(m0.mode) || CrossLevelOf(m) != CrossLevelOf(m0);
    if (scaleDiffers || modeDiffers) {
      m_Changed = 1;
      return;
    }
  }
}

void LyrRawDlgOtherArtifactCross::RestoreSettings() {
  if (m_pDoc == nullptr) return;
  m_pDoc->Params.chDispScale = savedScale_;
  m_pDoc->Params.chDispMode = savedMode_;
}
