#include "app/raw/lyr_raw_display_dialogs.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/raw/lyr_raw_dlg_epoch.h"
#include "app/raw/raw_display_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kStrPageNotSelected = 2037;
constexpr int kRowModes[3] = {1, 3, 5};
}  // namespace

LyrRawDlgPage::LyrRawDlgPage(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), doc_(doc) {}

bool LyrRawDlgPage::OnInitDialog() {
  ui::Control rows = Item(kRowList);
  rows.ResetContent();
  for (const int r : kRowModes) rows.AddString(std::to_string(r));
  const int mode = doc_ != nullptr ? doc_->PageRows : 5;
  rows.SetCurSel(mode == 1 ? 0 : mode == 3 ? 1 : 2);

  ui::Control pages = Item(kPageList);
  pages.ResetContent();
  const std::vector<PageChoice> choices = PageChoicesForEpoch(EpochSeconds);
  for (std::size_t i = 0; i < choices.size(); ++i) {
    pages.AddString(choices[i].seconds == -1 ? res::LoadString(IDS_RDD_FREE) : choices[i].label);
    if (choices[i].seconds == PageSeconds) pages.SetCurSel(static_cast<int>(i));
  }
  // An epoch length without a table still offers a free length.
  if (choices.empty()) pages.AddString(res::LoadString(IDS_RDD_FREE));
  ChosenPage = PageSeconds;
  MapNotify(kPageList, ui::LBN_SELCHANGE, [this] { OnPageSelected(); });
  return true;
}

void LyrRawDlgPage::OnPageSelected() {
  const std::vector<PageChoice> choices = PageChoicesForEpoch(EpochSeconds);
  const int sel = Item(kPageList).GetCurSel();
  if (sel >= 0 && sel < static_cast<int>(choices.size()) && choices[static_cast<std::size_t>(sel)].seconds != -1) {
    ChosenPage = choices[static_cast<std::size_t>(sel)].seconds;
    return;
  }
  // "Free", or an epoch length without a table: a free length, or none.
  ChosenPage = -1;
  LyrRawDlgFreePage free(doc_, this);
  if (free.DoModal() == ui::IDOK) ChosenPage = free.PageSecondsResult;
}

void LyrRawDlgPage::OnOK() {
  if (ChosenPage == -1) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrPageNotSelected);
    return;
  }
  bool changed = false;
  const int sel = Item(kRowList).GetCurSel();
  if (doc_ != nullptr && sel >= 0 && sel < 3 && doc_->PageRows != kRowModes[sel]) {
    doc_->PageRows = static_cast<decltype(doc_->PageRows)>(kRowModes[sel]);
    changed = true;
  }
  if (PageSeconds != ChosenPage) {
    PageSeconds = ChosenPage;
    changed = true;
  }
  EndDialog(changed ? ui::IDOK : ui::IDCANCEL);
}

LyrRawChannelDialog::LyrRawChannelDialog(int templateId, CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(templateId, parent), doc_(doc) {}

void LyrRawChannelDialog::SetUpChannelList(ui::Control list, int noShare, int chShare, std::uint32_t valueTitle,
                                           int valueShare) {
  // Width of a vertical scroll bar, kept free so that a long list does not need a horizontal one.
  constexpr int kScrollBarWidth = 17;
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  if (list.GetColumnCount() > 0) return;
  const int width = std::max(list.GetClientRect().Width() - kScrollBarWidth, 60);
  list.InsertColumn(0, res::LoadString(IDS_SD_COL_NO), width * noShare / 100);
  list.InsertColumn(1, res::LoadString(IDS_SD_COL_CH), width * chShare / 100);
  if (valueTitle != 0) list.InsertColumn(2, res::LoadString(valueTitle), width * valueShare / 100);
}

std::vector<int> LyrRawChannelDialog::MarkedChannels(int count) const {
  std::vector<int> marked;
  for (int c = 0; c < count && c < static_cast<int>(ChangeMarks.size()); ++c)
    if (ChangeMarks[static_cast<std::size_t>(c)] != 0) marked.push_back(c);
  return marked;
}
