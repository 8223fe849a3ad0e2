#include "app/frame/lyr_dlg_analysis_range.h"

#include <algorithm>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_rules.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

LyrDlgAnalysisRange::LyrDlgAnalysisRange(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_ANALYSIS_RANGE, parent), m_pDoc(doc) {
  MapCommand(IDC_AR_START_CURSOR, [this] { OnCursor(0); });
  MapCommand(IDC_AR_END_CURSOR, [this] { OnCursor(1); });
  MapCommand(IDC_AR_RESET, [this] { OnReset(); });
}

LyrDlgAnalysisRange::~LyrDlgAnalysisRange() = default;

bool LyrDlgAnalysisRange::OnInitDialog() {
  start_ = std::make_unique<LyrDlgTimePointCompact>(this);
  end_ = std::make_unique<LyrDlgTimePointCompact>(this);
  start_->CreatePanel(this, IDC_AR_START_FRAME);
  end_->CreatePanel(this, IDC_AR_END_FRAME);
  const ChannelRate first{m_pDoc && m_pDoc->ChInfo[0].rate > 0 ? static_cast<std::uint32_t>(m_pDoc->ChInfo[0].rate) : 0u, 0};
  for (LyrDlgTimePointCompact* p : {start_.get(), end_.get()}) {
    p->m_pDoc = m_pDoc;
    p->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
  }
  start_->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  end_->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  start_->SetSeconds(first.rate > 0 ? m_pDoc->ChInfo[0].startOffset / static_cast<std::int32_t>(first.rate) : 0);
  end_->SetSeconds(m_pDoc ? m_pDoc->GetRecordSec() : 0);
  m_Picking = -1;
  m_Shown = 1;
  return true;
}

void LyrDlgAnalysisRange::OnCursor(std::int16_t which) {
  RawPreviewMode = 3;
  m_Picking = which;
  ShowWindow(ui::SW_HIDE);
  m_Shown = 0;
}

void LyrDlgAnalysisRange::SetPickedSeconds(std::int32_t seconds) {
  if (m_Picking == 0 && start_) start_->SetSeconds(seconds);
  if (m_Picking == 1 && end_) end_->SetSeconds(seconds);
  RawPreviewMode = 0;
  m_Picking = -1;
  ShowWindow(ui::SW_SHOW);
  m_Shown = 1;
}

void LyrDlgAnalysisRange::OnReset() {
  if (!m_pDoc) return;
  for (LyrChInfo& ch : m_pDoc->ChInfo) ch.startOffset = 0;
  start_->SetSeconds(0);
  end_->SetSeconds(m_pDoc->GetRecordSec());
}

void LyrDlgAnalysisRange::OnOK() {
  if (!m_pDoc || !start_ || !end_) return;
  std::int32_t a = start_->GetSeconds();
  std::int32_t b = end_->GetSeconds();
  if (a > b) std::swap(a, b);
  const std::int32_t length = b - a;
  if (length < kMinAnalysisSeconds) {
    char text[160];
    std::snprintf(text, sizeof text, res::LoadString(IDS_SD_DATA_TOO_SHORT).c_str(), kMinAnalysisSeconds);
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  if (ResultModifiedState == 2 || m_pDoc->ScreeningMarker != -1) {
    ui::MessageBeep(ui::MB_ICONQUESTION);
    if (ui::MessageBox(res::LoadString(IDS_SD_CONDITION_CHANGED), ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) {
      OnCancel();
      return;
    }
    const int epochs = m_pDoc->GetDivNum(EpochSeconds);
    if (m_pDoc->Init4ChangeEpochTime(epochs, EpochSeconds, m_pDoc->RecordInfo.channelCount, 1) == 0 ||
        m_pDoc->AllocateMark() == 0) {
      OnCancel();
      return;
    }
  }
  m_pDoc->ScreeningMarker = -1;
  ResultModifiedState = 0;
  for (LyrChInfo& ch : m_pDoc->ChInfo) ch.startOffset = ch.rate * a;
  const std::int32_t e = std::max<std::int32_t>(EpochSeconds, 1);
  m_pDoc->RecordSeconds = length / e * e;
  EndDialog(1);
}

void LyrDlgAnalysisRange::OnCancel() {
  if (m_pDoc) {
    for (std::size_t i = 0; i < m_pDoc->ChInfo.size(); ++i) m_pDoc->ChInfo[i].startOffset = m_SavedStart[i];
    m_pDoc->RecordSeconds = m_SavedLength;
  }
  EndDialog(2);
}

// ---- Wait time ------------------------------------------------------------------------------

LyrDlgWaitTime::LyrDlgWaitTime(ui::Window* parent) : ui::Dialog(IDD_WAIT_TIME, parent) {
  for (int id : {IDC_WAIT_NONSTOP, IDC_WAIT_1SEC, IDC_WAIT_2SEC, IDC_WAIT_5SEC, IDC_WAIT_FREE}) {
    MapCommand(static_cast<std::uint32_t>(id), [this, id] { Item(IDC_WAIT_EDIT).SetReadOnly(id != IDC_WAIT_FREE); });
  }
}

bool LyrDlgWaitTime::OnInitDialog() {
  const int radio = WaitTimeRadioOf(WaitingTime);
  CheckRadioButton(IDC_WAIT_5SEC, IDC_WAIT_FREE, radio);
  SetDlgItemInt(IDC_WAIT_EDIT, WaitingTime);
  Item(IDC_WAIT_EDIT).SetReadOnly(radio != IDC_WAIT_FREE);
  return true;
}

void LyrDlgWaitTime::OnOK() {
  WaitingTime = WaitTimeOf(GetCheckedRadioButton(IDC_WAIT_5SEC, IDC_WAIT_FREE), GetDlgItemInt(IDC_WAIT_EDIT));
  EndDialog(ui::IDOK);
}
