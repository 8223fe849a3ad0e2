#include "app/frame/lyr_dlg_detect_list.h"

#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/seizure_finding.h"
#include "app/frame/detect_list_scan.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"

std::int32_t TimeDivisionMinutes = 60;

LyrDlgDetectList::LyrDlgDetectList(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_DETECT_LIST, parent), m_pDoc(doc) {
  MapCommand(IDC_DL_FIND, [this] { OnFind(); });
  MapCommand(IDC_DL_OUTPUT, [this] { OnOutput(); });
  MapNotify(IDC_DL_LIST, ui::NM_CLICK, [this] { OnListClick(); });
}

LyrDlgDetectList::~LyrDlgDetectList() = default;

bool LyrDlgDetectList::OnInitDialog() {
  ui::Control list = Item(IDC_DL_LIST);
  list.SetFullRowSelect(true);
  list.InsertColumn(0, res::LoadString(IDS_SD_COL_TIME), 100);
  list.InsertColumn(1, res::LoadString(IDS_SD_COL_EPOCH), 40);
  list.InsertColumn(2, res::LoadString(IDS_SD_COL_LATENCY), 40);
  list.InsertColumn(3, res::LoadString(IDS_SD_COL_DURATION), 40);
  start_ = std::make_unique<LyrDlgTimePointCompact>(this);
  end_ = std::make_unique<LyrDlgTimePointCompact>(this);
  start_->CreatePanel(this);
  end_->CreatePanel(this);
  for (LyrDlgTimePointCompact* p : {start_.get(), end_.get()}) {
    p->m_pDoc = m_pDoc;
    p->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
  }
  start_->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  end_->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  start_->SetSeconds(0);
  end_->SetSeconds(m_pDoc ? m_pDoc->GetRecordSec() : 0);
  SetDlgItemInt(IDC_DL_DIVISION, TimeDivisionMinutes);
  return true;
}

void LyrDlgDetectList::ReadDivision() {
  long long v = GetDlgItemInt(IDC_DL_DIVISION);
  if (v < 1) v = 1;
  if (v > 1000000) v = 1000000;
  TimeDivisionMinutes = static_cast<std::int32_t>(v);
  SetDlgItemInt(IDC_DL_DIVISION, TimeDivisionMinutes);
}

namespace {

std::vector<DetectScanEntry> Scan(const CQLM2_AnalyzerDoc* doc, std::int32_t a, std::int32_t b) {
  if (!doc) return {};
  DetectScanInput in{SeizureMarks.data(), static_cast<std::int64_t>(SeizureMarks.size()), a, b,
                     TimeDivisionMinutes};
  return ScanDetectedWaves(in);
}

std::function<std::string(std::int64_t)> TimeLabel(const CQLM2_AnalyzerDoc* doc) {
  return [doc](std::int64_t ms) {
    std::string s;
    doc->GetMSecTimeString(ClockTimeDisplay, ms, &s);
    return s;
  };
}

}  // namespace

void LyrDlgDetectList::OnFind() {
  ReadDivision();
  ui::Control list = Item(IDC_DL_LIST);
  list.DeleteAllItems();
  if (!m_pDoc) return;
  for (const DetectScanEntry& e : Scan(m_pDoc, start_->GetSeconds(), end_->GetSeconds())) {
    if (e.divisionMark) {
      list.InsertItem(-1, "*****");
      continue;
    }
    const DetectRowTexts r = DetectRowOf(e, EpochSeconds, TimeLabel(m_pDoc));
    const int row = list.InsertItem(-1, r.time);
    list.SetItemText(row, 1, r.epoch);
    list.SetItemText(row, 2, r.latency);
    list.SetItemText(row, 3, r.duration);
  }
}

void LyrDlgDetectList::OnListClick() {
  ui::Control list = Item(IDC_DL_LIST);
  for (int row : list.GetSelectedIndexes()) {
    const std::string text = list.GetItemText(row, 1);
    // A division row has no epoch: nothing to jump to.
    if (text.empty() || !m_JumpToEpoch) continue;
    m_JumpToEpoch(static_cast<std::int32_t>(std::atol(text.c_str())));
  }
}

bool LyrDlgDetectList::WriteList(const std::string& path) {
  ReadDivision();
  if (!m_pDoc) return false;
  const std::string text = DetectListText(Scan(m_pDoc, start_->GetSeconds(), end_->GetSeconds()), TimeDivisionMinutes,
                                          EpochSeconds, TimeLabel(m_pDoc));
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

void LyrDlgDetectList::OnOutput() {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK) return;
  WriteList(dlg.GetPathName());
}
