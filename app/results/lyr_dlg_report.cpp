// The "Human report" dialog and its "Time" dialog: the options, the four time markers and the
// tests before the report is written.
#include "app/results/lyr_dlg_report.h"

#include <cerrno>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/results/human_report_format.h"
#include "app/results/human_report_strings.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

// An integer typed into an edit: leading blanks, sign and digits; nothing else after them.
bool ReadInt(const std::string& text, long& value) {
  const char* s = text.c_str();
  char* end = nullptr;
  errno = 0;
  value = std::strtol(s, &end, 10);
  return end != s && errno == 0;
}

bool ReadDouble(const std::string& text, double& value) {
  const char* s = text.c_str();
  char* end = nullptr;
  value = std::strtod(s, &end);
  return end != s;
}

bool Valid(std::int32_t channel, int channels) { return channel >= 0 && channel < channels; }

}  // namespace

LyrDlgReport::LyrDlgReport(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_HUMAN_REPORT, parent), m_pDoc(doc) {
  MapCommand(kBedIn, [this] { OnBBi(); });
  MapCommand(kSleepOnset, [this] { OnBSo(); });
  MapCommand(kLastSleep, [this] { OnBLs(); });
  MapCommand(kBedOut, [this] { OnBBo(); });
  MapCommand(kPath, [this] { OnBPath(); });
  MapCommand(kFile, [this] { OnDestination(false); });
  MapCommand(kClipboard, [this] { OnDestination(true); });
  MapCommand(kComma, [] { OnDelimiterComma(); });
  MapCommand(kTab, [] { OnDelimiterTab(); });
}

void LyrDlgReport::OnDelimiterComma() { OutputDelimiterIsTab = 0; }
void LyrDlgReport::OnDelimiterTab() { OutputDelimiterIsTab = 1; }

LyrDlgReport::~LyrDlgReport() {
  if (time_ != nullptr && time_->IsWindow()) time_->DestroyWindow();
}

void LyrDlgReport::SetObjectEnables() {
  m_Offered.fill(0);
  m_Offered[kInformation] = m_Offered[kAnalysis] = m_Offered[kStages] = 1;
  if (m_pDoc == nullptr) return;
  const int c = m_pDoc->RecordInfo.channelCount;
  const SleepDstrbParam& p = m_pDoc->Params.sleepDstrb;
  const bool respiration =
      Valid(p.airFlow.channel, c) && (Valid(p.chest.channel, c) || Valid(p.abdomen.channel, c));
  m_Offered[kRespiration] = respiration;
  m_Offered[kHeartRate] = Valid(p.ecgChannel, c);
  m_Offered[kOximetry] = Valid(p.spo2Channel, c);
  m_Offered[kPosition] = Valid(p.positionChannel, c) && respiration;
  m_Offered[kArousal] = Valid(p.arousal.channel, c);
  m_Offered[kCpap] = Valid(p.cpapChannel, c);
  m_Offered[kOthers] = Valid(p.snore.channel, c) || Valid(p.legLeft.channel, c) || Valid(p.legRight.channel, c);
}

bool LyrDlgReport::OnInitDialog() {
  time_.reset();
  m_ReplaceConfirmed = 0;
  SetObjectEnables();
  SetDlgItemText(kRemCycle, report::Format("%ld", static_cast<long>(HumanReportSettings.first)));
  SetDlgItemText(kWakeDuration, report::Format("%ld", static_cast<long>(HumanReportSettings.second)));
  SetDlgItemText(kSpO2Level, report::Format("%.1f", HumanReportSettings.value));
  for (int i = 0; i < 10; ++i) {
    CheckDlgButton(kFirstSection + i, HumanReportSettings.words[static_cast<std::size_t>(i)] != 0 ? 1 : 0);
    EnableItem(kFirstSection + i, m_Offered[static_cast<std::size_t>(i)] != 0);
  }
  CheckRadioButton(kFile, kClipboard, OutputToClipboard != 0 ? kClipboard : kFile);
  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  m_OutputPath.clear();
  SetDlgItemText(kPathText, m_OutputPath);
  EnableItem(kPath, OutputToClipboard == 0);
  SetDefaultTimes();
  return true;
}

void LyrDlgReport::ShowTimes() {
  SetDlgItemText(kBedInText, EpochTime(BedInEpoch));
  SetDlgItemText(kSleepOnsetText, EpochTime(SleepOnsetEpoch));
  SetDlgItemText(kLastSleepText, EpochTime(LastSleepPageEpoch));
  SetDlgItemText(kBedOutText, EpochTime(BedOutEpoch));
}

void LyrDlgReport::OnDestination(bool clipboard) {
  OutputToClipboard = clipboard ? 1 : 0;
  EnableItem(kPath, !clipboard);
}

void LyrDlgReport::OnBPath() {
  m_ReplaceConfirmed = 0;
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!LastFolderPath.empty()) dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return;
  m_OutputPath = dlg.GetPathName();
  SetDlgItemText(kPathText, m_OutputPath);
  // The file dialog has asked about replacing it already.
  if (sys::FileExists(m_OutputPath)) m_ReplaceConfirmed = 1;
}

void LyrDlgReport::OpenTime(int kind) {
  if (time_ != nullptr) return;
  const std::int32_t epoch = kind == 1   ? BedInEpoch
                             : kind == 2 ? SleepOnsetEpoch
                             : kind == 3 ? LastSleepPageEpoch
                                         : BedOutEpoch;
  auto dlg = std::make_unique<LyrDlgReportTime>(m_pDoc, this, kind, epoch);
  if (!dlg->CreateModeless(GetParent())) {
    static constexpr const char* kNames[] = {"LyrDlgReport::OnBBi", "LyrDlgReport::OnBSo", "LyrDlgReport::OnBLs",
                                             "LyrDlgReport::OnBBo"};
    ui::MessageBox(kNames[(kind - 1) & 3]);
    return;
  }
  time_ = std::move(dlg);
  ShowWindow(ui::SW_HIDE);
}

void LyrDlgReport::OnTimeDecided(std::int32_t epoch) {
  if (time_ != nullptr) {
    if (epoch != -1) {
      switch (time_->m_Kind) {
        case 1: BedInEpoch = epoch; break;
        case 2: SleepOnsetEpoch = epoch; break;
        case 3: LastSleepPageEpoch = epoch; break;
        default: BedOutEpoch = epoch; break;
      }
    }
    // Destroyed after the Time dialog's own handler has returned.
    LyrDlgReportTime* dlg = time_.release();
    if (dlg->IsWindow()) dlg->ShowWindow(ui::SW_HIDE);
    ui::PostTask([dlg] {
      if (dlg->IsWindow()) dlg->DestroyWindow();
      delete dlg;
    });
  }
  ShowWindow(ui::SW_SHOW);
  ShowTimes();
}

LyrDlgTimePoint* LyrDlgReport::TimePanel() const { return time_ != nullptr ? time_->Picker() : nullptr; }

int LyrDlgReport::CheckOutputSettings() {
  auto refuse = [this](int id) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kIdsNotSpecified, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    Item(id).SetFocus();
    return 0;
  };
  long value = 0;
  if (!ReadInt(GetDlgItemText(kRemCycle), value) || value < 1 || value > INT32_MAX) return refuse(kRemCycle);
  HumanReportSettings.first = static_cast<std::int32_t>(value);
  if (!ReadInt(GetDlgItemText(kWakeDuration), value) || value < 1 || value > INT32_MAX) return refuse(kWakeDuration);
  HumanReportSettings.second = static_cast<std::int32_t>(value);
  double level = 0.0;
  if (!ReadDouble(GetDlgItemText(kSpO2Level), level) || !(level > 0.0)) return refuse(kSpO2Level);
  HumanReportSettings.value = level;

  if (OutputToClipboard == 0) {
    if (m_OutputPath.empty()) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(kIdsFileNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      OnBPath();
      return 0;
    }
    if (m_ReplaceConfirmed == 0 && sys::FileExists(m_OutputPath)) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      const std::string text =
          report::Format(res::LoadString(kIdsAlreadyExistsReplace).c_str(), m_OutputPath.c_str());
      if (ui::MessageBox(text, ui::MB_OKCANCEL | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2) != ui::IDOK) return 0;
    }
  }
  for (int i = 0; i < 10; ++i)
    HumanReportSettings.words[static_cast<std::size_t>(i)] = IsDlgButtonChecked(kFirstSection + i) != 0 ? 1 : 0;
  m_ReplaceConfirmed = 0;
  return 1;
}

void LyrDlgReport::OnOK() {
  if (CheckTimes() == 0 || CheckOutputSettings() == 0) return;
  if (time_ != nullptr) OnTimeDecided(-1);
  OutputReport();
}

void LyrDlgReport::OnCancel() {
  if (time_ != nullptr) OnTimeDecided(-1);
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  LyrWorkspaceDummyView* ws = frame != nullptr ? frame->WorkspaceView() : nullptr;
  if (ws != nullptr && ws->Frame() != nullptr && ws->Frame()->ReportDlg() == this) {
    ws->Frame()->CloseReportDlg();  // destroys this dialog
    return;
  }
  EndDialog(ui::IDCANCEL);
}

// ---- Time -------------------------------------------------------------------------------------

LyrDlgReportTime::LyrDlgReportTime(CQLM2_AnalyzerDoc* doc, LyrDlgReport* report, int kind, std::int32_t epoch)
    : ui::Dialog(kTemplateId, nullptr), m_Kind(kind), m_Epoch(epoch), m_pDoc(doc), report_(report) {}

LyrDlgReportTime::~LyrDlgReportTime() {
  if (picker_ != nullptr && picker_->IsWindow()) picker_->DestroyWindow();
}

bool LyrDlgReportTime::OnInitDialog() {
  picker_ = std::make_unique<LyrDlgTimePoint>(this);
  picker_->m_pDoc = m_pDoc;
  picker_->CreatePanel(this, kPickerHolder);
  picker_->SetCaption(res::LoadString(kIdsStartLessEqual));
  picker_->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
  const std::int32_t epochs = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->GetDivNum(EpochSeconds) : 0;
  picker_->SetRange(0, std::max(epochs - 1, 0));
  picker_->SetEpoch(m_Epoch);
  return true;
}

void LyrDlgReportTime::OnOK() {
  m_Epoch = picker_ != nullptr ? picker_->GetEpoch() : m_Epoch;
  if (report_ != nullptr) report_->OnTimeDecided(m_Epoch);  // destroys this dialog
}

void LyrDlgReportTime::OnCancel() {
  if (report_ != nullptr) report_->OnTimeDecided(-1);  // destroys this dialog
}
