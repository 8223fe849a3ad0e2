#include "app/raw/lyr_raw_dlg_epoch.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/program_settings.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::int32_t kEpochLengths[] = {4, 5, 8, 10, 12, 15, 20, 30, 60};
constexpr int kEpochRadios[] = {1028, 1032, 1063, 1038, 1066, 1071, 1042, 1046, 1050};
constexpr std::uint32_t kStrPageNotSelected = 2037;
constexpr std::uint32_t kStrResultsWillBeCleared = 2348;
constexpr std::int32_t kLongestPage = 86400;

}  // namespace

// ---- Free page -----------------------------------------------------------------

LyrRawDlgFreePage::LyrRawDlgFreePage(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), doc_(doc) {}

std::int32_t LyrRawDlgFreePage::FreePageSeconds(double hours, std::int32_t recordSeconds, std::int32_t epochSeconds) {
  if (!(hours >= 0.5)) return -1;
  double raw = std::trunc(hours * 3600.0 * 1.000001);
  if (raw > kLongestPage) raw = kLongestPage;
  auto seconds = static_cast<std::int32_t>(raw);
  if (seconds > recordSeconds) seconds = recordSeconds;
  if (seconds > kLongestPage) seconds = kLongestPage;
  if (epochSeconds > 0) seconds = epochSeconds * (seconds / epochSeconds);
  return seconds;
}

void LyrRawDlgFreePage::OnOK() {
  const std::string text = GetDlgItemText(kHoursEdit);
  char* end = nullptr;
  const double hours = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return;
  const std::int32_t seconds = FreePageSeconds(hours, doc_ != nullptr ? doc_->RecordSeconds : 0, EpochSeconds);
  if (seconds < 0) return;  // below half an hour the dialog stays open
  PageSecondsResult = seconds;
  EndDialog(ui::IDOK);
}

// ---- Epoch ------------------------------------------------------------------------

LyrRawDlgEpoch::LyrRawDlgEpoch(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), doc_(doc) {}

int LyrRawDlgEpoch::RadioOfEpoch(std::int32_t seconds) {
  for (std::size_t i = 0; i < std::size(kEpochLengths); ++i)
    if (kEpochLengths[i] == seconds) return kEpochRadios[i];
  return 0;
}

bool LyrRawDlgEpoch::OnInitDialog() {
  for (std::size_t i = 0; i < std::size(kEpochLengths); ++i) {
    const std::int32_t seconds = kEpochLengths[i];
    MapCommand(static_cast<std::uint32_t>(kEpochRadios[i]), [this, seconds] { ChooseEpoch(seconds); });
  }
  MapNotify(kPageList, ui::LBN_SELCHANGE, [this] { OnPageSelected(); });
  ChosenEpoch = EpochSeconds;
  ChosenPage = PageSeconds;
  for (int radio : kEpochRadios) CheckDlgButton(radio, radio == RadioOfEpoch(EpochSeconds) ? 1 : 0);
  FillPageList();
  return true;
}

void LyrRawDlgEpoch::FillPageList() {
  ui::Control list = Item(kPageList);
  list.ResetContent();
  int selected = -1;
  const std::vector<PageChoice> rows = PageChoicesForEpoch(ChosenEpoch);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    list.AddString(rows[i].label);
    if (rows[i].seconds == ChosenPage && ChosenPage != -1) selected = static_cast<int>(i);
  }
  list.SetCurSel(selected);
}

void LyrRawDlgEpoch::ChooseEpoch(std::int32_t seconds) {
  ChosenEpoch = seconds;
  FillPageList();
  if (Item(kPageList).GetCurSel() < 0) ChosenPage = -1;
}

void LyrRawDlgEpoch::OnPageSelected() {
  const int sel = Item(kPageList).GetCurSel();
  const std::vector<PageChoice> rows = PageChoicesForEpoch(ChosenEpoch);
  ChosenPage = (sel >= 0 && sel < static_cast<int>(rows.size())) ? rows[static_cast<std::size_t>(sel)].seconds : -1;
  if (ChosenPage != -1) return;
  // The free length is asked at once; it is taken under the chosen epoch length.
  const std::int32_t saved = EpochSeconds;
  EpochSeconds = ChosenEpoch;
  LyrRawDlgFreePage free(doc_, this);
  if (free.DoModal() == ui::IDOK) ChosenPage = free.PageSecondsResult;
  EpochSeconds = saved;
}

void LyrRawDlgEpoch::OnOK() {
  if (ChosenPage == -1) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrPageNotSelected);
    return;
  }
  const bool resultsExist = doc_ != nullptr && (doc_->ScreeningMarker != -1 || doc_->Marks.MarksPresent() == 1);
  if (ChosenEpoch != EpochSeconds && resultsExist) {
    ui::MessageBeep(ui::MB_ICONQUESTION);
    if (ui::MessageBoxId(kStrResultsWillBeCleared, ui::MB_OKCANCEL) != ui::IDOK) return;
  }
  PageSeconds = ChosenPage;
  EpochSeconds = ChosenEpoch;
  EndDialog(ui::IDOK);
}
