#include "app/raw/lyr_raw_dlg_text_output.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kStrFileNotSelected = 2253;
constexpr std::uint32_t kStrChannelNotSelected = 63471;
constexpr std::uint32_t kStrBadMaxLines = 63472;

// The limit's size whatever its sign (the sign only switches it on and off).
std::int32_t Magnitude(std::int32_t v) { return v == INT32_MIN ? INT32_MAX : (v < 0 ? -v : v); }

int ChannelCount(const CQLM2_AnalyzerDoc* doc) {
  return doc != nullptr ? std::clamp<int>(doc->RecordInfo.channelCount, 0, 32) : 0;
}
}  // namespace

std::optional<std::int32_t> ParseTextOutputMaxLines(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const auto last = text.find_last_not_of(" \t");
  const std::string digits = text.substr(first, last - first + 1);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(digits.c_str(), nullptr, 10);
  if (errno == ERANGE || v < 1 || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

LyrRawDlgTextOutput::LyrRawDlgTextOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), m_pDoc(doc) {
  MapCommand(kPath, [this] { OnPath(); });
  MapCommand(kComma, [] { OutputDelimiterIsTab = 0; });
  MapCommand(kTab, [] { OutputDelimiterIsTab = 1; });
  MapCommand(kMaxLineCheck, [this] { OnMaxLine(); });
  MapCommand(kSelectChannels, [this] { OnSelectChannels(); });
}

LyrRawDlgTextOutput::~LyrRawDlgTextOutput() {
  DestroyEpochRangePanels(start_.get(), end_.get());
}

bool LyrRawDlgTextOutput::OnInitDialog() {
  m_Path.clear();
  ShowPath();
  m_Flags.fill(0);
  const int count = ChannelCount(m_pDoc);
  for (int i = 0; i < count; ++i)
    m_Flags[static_cast<std::size_t>(i)] = m_pDoc->ChInfo[static_cast<std::size_t>(i)].rate == m_pDoc->ChInfo[0].rate ? 1 : 0;

  ui::Control list = Item(kChannelList);
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(IDS_SD_COL_NO), 40);
  list.InsertColumn(1, res::LoadString(IDS_SD_COL_CH), 100);
  list.InsertColumn(2, res::LoadString(IDS_SD_COL_SAMPLING), 100);
  FillList();

  const std::int32_t last = CreateEpochRangePanels(*this, m_pDoc, kStartFrame, kEndFrame, &start_, &end_);
  start_->SetEpoch(0);
  end_->SetEpoch(last);

  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  const std::int32_t limit = OutputMaxLines;
  SetDlgItemText(kMaxLineEdit, std::to_string(Magnitude(limit)));
  CheckDlgButton(kMaxLineCheck, limit > 0 ? 1 : 0);
  EnableItem(kMaxLineEdit, limit > 0);
  return true;
}

void LyrRawDlgTextOutput::ShowPath() { SetDlgItemText(kPathText, m_Path); }

void LyrRawDlgTextOutput::FillList() {
  ui::Control list = Item(kChannelList);
  list.DeleteAllItems();
  const int count = ChannelCount(m_pDoc);
  for (int i = 0; i < count; ++i) {
    if (m_Flags[static_cast<std::size_t>(i)] == 0) continue;
    const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(i)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, std::to_string(static_cast<unsigned long>(ch.rate)));
  }
}

void LyrRawDlgTextOutput::OnPath() {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!LastFolderPath.empty()) dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return;
  m_Path = dlg.GetPathName();
  ShowPath();
}

void LyrRawDlgTextOutput::OnMaxLine() {
  const std::int32_t size = Magnitude(OutputMaxLines);
  const bool on = IsDlgButtonChecked(kMaxLineCheck) != 0;
  OutputMaxLines = on ? size : -size;
  EnableItem(kMaxLineEdit, on);
}

void LyrRawDlgTextOutput::OnSelectChannels() {
  LyrDlgSelectChannels dlg(m_pDoc, this);
  dlg.m_Flags = m_Flags;
  if (dlg.DoModal() != ui::IDOK) return;
  m_Flags = dlg.m_Flags;
  FillList();
}

void LyrRawDlgTextOutput::OnOK() {
  if (m_Path.empty()) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrFileNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnPath();
    return;
  }
  if (std::none_of(m_Flags.begin(), m_Flags.end(), [](std::uint16_t f) { return f != 0; })) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrChannelNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnSelectChannels();
    return;
  }
  if (IsDlgButtonChecked(kMaxLineCheck) != 0) {
    const std::optional<std::int32_t> typed = ParseTextOutputMaxLines(GetDlgItemText(kMaxLineEdit));
    if (!typed) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(kStrBadMaxLines, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      Item(kMaxLineEdit).SetFocus();
      return;
    }
    OutputMaxLines = *typed;
  }
  m_StartEpoch = start_ ? start_->GetEpoch() : 0;
  m_EndEpoch = end_ ? end_->GetEpoch() : 0;
  EndDialog(ui::IDOK);
}
