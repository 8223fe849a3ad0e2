#include "app/trend/lyr_trend_text_dialogs.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_settings.h"
#include "app/trend/trend_text_output.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

std::int32_t TextOutputLimitMagnitude(std::int32_t v) { return v == INT32_MIN ? INT32_MAX : (v < 0 ? -v : v); }

LyrDlgTextOutputRange::LyrDlgTextOutputRange(int templateId, ui::Window* parent) : ui::Dialog(templateId, parent) {
  MapCommand(kFile, [this] { OnDestination(false); });
  MapCommand(kClipboard, [this] { OnDestination(true); });
  MapCommand(kComma, [] { OutputDelimiterIsTab = 0; });
  MapCommand(kTab, [] { OutputDelimiterIsTab = 1; });
}

LyrDlgTextOutputRange::~LyrDlgTextOutputRange() {
  DestroyEpochRangePanels(start_.get(), end_.get());
}

bool LyrDlgTextOutputRange::OnInitDialog() {
  const std::int32_t last = CreateEpochRangePanels(*this, m_pDoc, kStartFrame, kEndFrame, &start_, &end_);
  start_->SetEpoch(std::clamp(m_StartEpoch, 0, last));
  end_->SetEpoch(std::clamp(m_EndEpoch, 0, last));
  m_Path.clear();
  SetDlgItemText(kPathText, m_Path);

  CheckRadioButton(kFile, kClipboard, OutputToClipboard == 1 ? kClipboard : kFile);
  EnableItem(kPath, OutputToClipboard != 1);
  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  const std::int32_t limit = OutputMaxLines;
  SetDlgItemText(kMaxLineEdit, std::to_string(TextOutputLimitMagnitude(limit)));
  CheckDlgButton(kMaxLineCheck, limit >= 1 ? 1 : 0);
  EnableItem(kMaxLineEdit, limit >= 1);
  return true;
}

void LyrDlgTextOutputRange::OnDestination(bool clipboard) {
  OutputToClipboard = clipboard ? 1 : 0;
  EnableItem(kPath, !clipboard);
}

void LyrDlgTextOutputRange::OnPath(const std::string& initialFolder) {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!initialFolder.empty()) dlg.SetInitialFolder(initialFolder);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return;
  m_Path = dlg.GetPathName();
  SetDlgItemText(kPathText, m_Path);
}

bool LyrDlgTextOutputRange::TakeCommonValues() {
  if (m_Path.empty() && OutputToClipboard != 1) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrFileNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnPath(LastFolderPath);
    return false;
  }
  const long long typed = std::llabs(std::strtoll(GetDlgItemText(kMaxLineEdit).c_str(), nullptr, 10));
  const std::int32_t size = static_cast<std::int32_t>(std::min<long long>(typed, INT32_MAX));
  OutputMaxLines = IsDlgButtonChecked(kMaxLineCheck) != 0 ? size : -size;
  m_StartEpoch = start_ ? start_->GetEpoch() : 0;
  m_EndEpoch = end_ ? end_->GetEpoch() : 0;
  if (m_StartEpoch > m_EndEpoch) std::swap(m_StartEpoch, m_EndEpoch);
  return true;
}

// ---- Dialog 209 --------------------------------------------------------------------------

LyrDlgTrendTextOutput::LyrDlgTrendTextOutput(ui::Window* parent) : LyrDlgTextOutputRange(kTemplateId, parent) {
  MapCommand(kPath, [this] { OnPath(LastFolderPath); });
  MapCommand(kMaxLineCheck, [this] { EnableItem(kMaxLineEdit, IsDlgButtonChecked(kMaxLineCheck) != 0); });
}

bool LyrDlgTrendTextOutput::OnInitDialog() {
  LyrDlgTextOutputRange::OnInitDialog();
  ui::Control list = Item(kList);
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(kStrNo), 30);
  list.InsertColumn(1, res::LoadString(kStrType), 200);
  if (m_pDoc != nullptr && DocumentLoaded != 0) {
    const TrendItemSource src = TrendItemSourceOf(*m_pDoc);
    for (int g = 0; g < TrendGraphCountHeld(); ++g) {
      const TrendItemKey item = TrendItemOfGraph(g);
      char no[16];
      std::snprintf(no, sizeof no, "%2d", g + 1);
      std::string text = GetTrendItemName(src, item.category);
      const std::string sub = GetTrendItemFullName(src, item.category, item.sub);
      if (!sub.empty()) text += "  " + sub;
      const std::string third = GetTrendSubItemName(src, item.category, item.sub, item.third);
      if (!third.empty()) text += "  " + third;
      const int row = list.InsertItem(-1, no);
      list.SetItemText(row, 1, text);
    }
    list.AutoSizeColumns();
  }
  CheckDlgButton(kArtifactExcludes, WorkspaceOutputSetting != 0 ? 1 : 0);
  return true;
}

void LyrDlgTrendTextOutput::OnOK() {
  if (!TakeCommonValues()) return;
  WorkspaceOutputSetting = IsDlgButtonChecked(kArtifactExcludes) != 0 ? 1 : 0;
  OutputDelimiterIsTab = IsDlgButtonChecked(kTab) != 0 ? 1 : 0;
  EndDialog(ui::IDOK);
}

// ---- Dialog 492 --------------------------------------------------------------------------

LyrDlgEcgRrTextOutput::LyrDlgEcgRrTextOutput(ui::Window* parent) : LyrDlgTextOutputRange(kTemplateId, parent) {
  MapCommand(kPath, [this] { OnPath(LastFolderPath); });
  MapCommand(kMaxLineCheck, [this] {
    const std::int32_t size = TextOutputLimitMagnitude(OutputMaxLines);
    OutputMaxLines = IsDlgButtonChecked(kMaxLineCheck) != 0 ? size : -size;
    EnableItem(kMaxLineEdit, OutputMaxLines >= 1);
  });
}

void LyrDlgEcgRrTextOutput::OnOK() {
  if (!TakeCommonValues()) return;
  WriteEcgRr(m_StartEpoch, m_EndEpoch);
  EndDialog(ui::IDOK);
}

int LyrDlgEcgRrTextOutput::WriteEcgRr(std::int32_t start, std::int32_t end) {
  if (m_pDoc == nullptr) return 0;
  return WriteEcgRrText(*m_pDoc, m_Path, start, end, this);
}
